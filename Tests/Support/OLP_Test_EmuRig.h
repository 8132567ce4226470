#pragma once

#include <memory>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"

// One emulated camera of a product on its own virtual USB bus and a USB access
// object over it, running the real transport. open() connects like the
// controller would; the camera stays reachable for faults and observation.
class OLP_Test_EmuRig
{
public:
    explicit OLP_Test_EmuRig(quint16 productId);
    explicit OLP_Test_EmuRig(const OLP_Commu_EmuProfile& profile);
    ~OLP_Test_EmuRig();

    bool open();
    QString deviceId() const;

    // Short transfer time-outs so fault tests do not wait seconds.
    static OLP_Commu_PtpTransport::Timeouts fastTimeouts();

    std::shared_ptr<OLP_Commu_EmuUsbPort> port;
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<OLP_Commu_CameraAccess_Linux_PTP> access;
};
