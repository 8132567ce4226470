# The ways the program ends, one process each, and the executable's log file.
set(OLP_TEST_LIBS olp_gui)
set(OLP_TEST_LABELS gui emulator slow)
set(OLP_TEST_TIMEOUT 900)
set(OLP_TEST_EXTRA_SOURCES ${dir}/OLP_Test_Shell.cpp)
# The test starts the executable and the settings tool, so they are built first.
cmake_language(DEFER CALL add_dependencies tst_GUI_Shell OrvaneLumaport olp_settings)
