// Build probe: the camera link does not see the camera model.
// It must not compile for the one include below; with OLP_PROBE_CONTROL set the
// same file compiles, so a failure can only come from that include.
#include "OLP_Commu_PtpCodes.h"
#ifndef OLP_PROBE_CONTROL
#include "OLP_Logic_Camera.h"
#endif

int olpProbe_commu_includes_logic()
{
    return 0;
}
