// Build probe: the support layer sees nothing above it.
// It must not compile for the one include below; with OLP_PROBE_CONTROL set the
// same file compiles, so a failure can only come from that include.
#include "OLP_Debug.h"
#ifndef OLP_PROBE_CONTROL
#include "OLP_Commu_UsbPort.h"
#endif

int olpProbe_support_includes_usb()
{
    return 0;
}
