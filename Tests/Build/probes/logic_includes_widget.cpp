// Build probe: the camera model has no widgets.
// It must not compile for the one include below; with OLP_PROBE_CONTROL set the
// same file compiles, so a failure can only come from that include.
#include "OLP_Logic_Camera.h"
#ifndef OLP_PROBE_CONTROL
#include <QWidget>
#endif

int olpProbe_logic_includes_widget()
{
    return 0;
}
