// Build probe: the emulator speaks from the camera's side with its own constants, never the client's.
// It must not compile for the one include below; with OLP_PROBE_CONTROL set the
// same file compiles, so a failure can only come from that include.
#include "OLP_Commu_EmuCamera.h"
#ifndef OLP_PROBE_CONTROL
#include "OLP_Commu_PtpCodes.h"
#endif

int olpProbe_emulator_includes_ptpcodes()
{
    return 0;
}
