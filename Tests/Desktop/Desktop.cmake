# The program on the desktop: the staged install validates, and the built
# executable works end to end under a real X server.
if(TARGET OrvaneLumaport)
    add_test(NAME Desktop.Install COMMAND ${CMAKE_CURRENT_LIST_DIR}/install.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(Desktop.Install PROPERTIES TIMEOUT 120 LABELS unit)
    add_test(NAME Desktop.Acceptance
        COMMAND ${CMAKE_CURRENT_LIST_DIR}/acceptance.sh ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/Tests/Desktop/acceptance)
    # The program listens on the TCP port 1234 like the server tests do.
    set_tests_properties(Desktop.Acceptance PROPERTIES TIMEOUT 300 LABELS "gui;slow" RESOURCE_LOCK tcp_port_1234)
endif()
