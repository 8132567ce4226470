# The libusb port is compiled into this test and linked against a fake libusb
# backed by the emulator (Tests/Commu/Usb/FakeLibusb), so its own code runs in CI.
# The port's copy in olp_usb is not pulled in (the test defines the same
# symbols first), and --as-needed keeps the real libusb out of the executable;
# the test checks at run time that the libusb functions are the fake ones.
set(OLP_TEST_LABELS unit emulator)
set(OLP_TEST_LIBS PkgConfig::LIBUSB)
set(OLP_TEST_EXTRA_SOURCES
    ${dir}/FakeLibusb/OLP_Test_FakeLibusb.cpp
    ${CMAKE_SOURCE_DIR}/Source/Commu/Usb/OLP_Commu_UsbPort_Linux.cpp)
cmake_language(EVAL CODE "
    cmake_language(DEFER CALL target_include_directories tst_Commu_UsbLibusb PRIVATE [[${dir}/FakeLibusb]])
    cmake_language(DEFER CALL target_link_options tst_Commu_UsbLibusb PRIVATE [[LINKER:--as-needed]])
")
