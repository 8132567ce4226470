// Build probe: the USB port seam does not see the PTP transport above it.
// It must not compile for the one include below; with OLP_PROBE_CONTROL set the
// same file compiles, so a failure can only come from that include.
#include "OLP_Commu_UsbPort.h"
#ifndef OLP_PROBE_CONTROL
#include "OLP_Commu_PtpTransport.h"
#endif

int olpProbe_usb_includes_commu()
{
    return 0;
}
