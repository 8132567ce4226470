# The TCP command server with real sockets; the demo camera through the controller thread.
set(OLP_TEST_LIBS olp_testgui)
set(OLP_TEST_LABELS gui emulator)
set(OLP_TEST_TIMEOUT 300)
# The default row listens on port 1234, as the executable's own tests do.
cmake_language(EVAL CODE "cmake_language(DEFER CALL set_tests_properties GUI.TcpServer PROPERTIES RESOURCE_LOCK tcp_port_1234)")
