# Build.Layering: probe files that include a header of a layer they must not
# see. Each probe is an object library outside the default build, linked to the
# library of its layer so that it gets exactly that layer's include path. The
# test builds every probe twice: with the forbidden include (must fail, for that
# header) and without it (must compile).
set(OLP_LAYER_PROBES
    "commu_includes_logic|olp_commu|OLP_Logic_Camera.h"
    "usb_includes_commu|olp_usb|OLP_Commu_PtpTransport.h"
    "emulator_includes_ptpcodes|olp_emulator|OLP_Commu_PtpCodes.h"
    "logic_includes_widget|olp_logic|QWidget"
    "logic_includes_gui|olp_logic|OLP_GUI_Settings.h"
    "support_includes_usb|olp_support|OLP_Commu_UsbPort.h")
set(probe_args "")
foreach(probe ${OLP_LAYER_PROBES})
    string(REPLACE "|" ";" fields "${probe}")
    list(GET fields 0 name)
    list(GET fields 1 lib)
    foreach(variant probe control)
        set(target olp_${variant}_${name})
        add_library(${target} OBJECT EXCLUDE_FROM_ALL ${CMAKE_CURRENT_LIST_DIR}/probes/${name}.cpp)
        set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
        target_link_libraries(${target} PRIVATE ${lib})
        if(variant STREQUAL control)
            target_compile_definitions(${target} PRIVATE OLP_PROBE_CONTROL)
        endif()
    endforeach()
    list(APPEND probe_args "${probe}")
endforeach()
string(REPLACE ";" "," probe_list "${OLP_LAYER_PROBES}")
add_test(NAME Build.Layering
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} "-DPROBES=${probe_list}"
            -P ${CMAKE_CURRENT_LIST_DIR}/RunLayeringProbes.cmake)
set_tests_properties(Build.Layering PROPERTIES TIMEOUT 300 LABELS unit)
