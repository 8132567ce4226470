#include "OLP_Test_EmuRig.h"

#include "OLP_Test_Support.h"

OLP_Test_EmuRig::OLP_Test_EmuRig(quint16 productId)
    : port(std::make_shared<OLP_Commu_EmuUsbPort>()), camera(std::make_shared<OLP_Commu_EmuCamera>(productId))
{
    port->plug(camera);
    access = std::make_unique<OLP_Commu_CameraAccess_Linux_PTP>(port);
    access->setTimeouts(fastTimeouts());
}

OLP_Test_EmuRig::OLP_Test_EmuRig(const OLP_Commu_EmuProfile& profile)
    : port(std::make_shared<OLP_Commu_EmuUsbPort>()), camera(std::make_shared<OLP_Commu_EmuCamera>(profile))
{
    port->plug(camera);
    access = std::make_unique<OLP_Commu_CameraAccess_Linux_PTP>(port);
    access->setTimeouts(fastTimeouts());
}

OLP_Test_EmuRig::~OLP_Test_EmuRig()
{
    access.reset();
}

bool OLP_Test_EmuRig::open()
{
    return access->openConnection(camera->vendorId(), camera->productId(), deviceId());
}

QString OLP_Test_EmuRig::deviceId() const
{
    return port->deviceIdOf(camera);
}

OLP_Commu_PtpTransport::Timeouts OLP_Test_EmuRig::fastTimeouts()
{
    OLP_Commu_PtpTransport::Timeouts t;
    t.commandMs = olpTimeout(1000);
    t.dataChunkMs = olpTimeout(1000);
    t.responseMs = olpTimeout(1000);
    t.eventPollMs = 20;
    return t;
}
