#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_CameraAccess_Dummy.h"
#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_CameraAccess_Linux_WLAN.h"

OLP_Commu_CameraAccess_Base* createCameraAccess(int connectionType)
{
    switch (connectionType) {
        case 1:
            return new OLP_Commu_CameraAccess_Linux_PTP;
        case 2:
            return new OLP_Commu_CameraAccess_Linux_WLAN;
        case 256:
            return new OLP_Commu_CameraAccess_Dummy;
        default:
            return nullptr;
    }
}
