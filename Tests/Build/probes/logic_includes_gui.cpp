// Build probe: the camera model does not see the GUI above it.
// It must not compile for the one include below; with OLP_PROBE_CONTROL set the
// same file compiles, so a failure can only come from that include.
#include "OLP_Logic_Controller.h"
#ifndef OLP_PROBE_CONTROL
#include "OLP_GUI_Settings.h"
#endif

int olpProbe_logic_includes_gui()
{
    return 0;
}
