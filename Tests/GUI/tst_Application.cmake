# The application object with its windows and menus; the demo camera through the controller thread.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS gui emulator)
set(OLP_TEST_TIMEOUT 300)
set(OLP_TEST_EXTRA_SOURCES ${dir}/OLP_Test_Shell.cpp)
