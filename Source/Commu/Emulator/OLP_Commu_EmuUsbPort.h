#pragma once

#include <QList>
#include <QMutex>
#include <atomic>
#include <memory>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_UsbPort.h"

// The USB port of emulated cameras: a virtual bus "emu" whose ports hold
// OLP_Commu_EmuCamera objects. Discovery lists the plugged ones with device
// IDs of the same form as real cameras; opening claims the camera's interface
// and gives the transport an OLP_Commu_UsbDevice over its USB function. The
// demo camera is one of these ports added to the process-wide hub.
//
// Threads: any; the port list is guarded, the cameras guard themselves.
class OLP_Commu_EmuUsbPort : public OLP_Commu_UsbPort
{
public:
    OLP_Commu_EmuUsbPort();

    // Puts the camera on the next free port of the virtual bus.
    void plug(const std::shared_ptr<OLP_Commu_EmuCamera>& camera);
    void remove(const std::shared_ptr<OLP_Commu_EmuCamera>& camera);
    QString deviceIdOf(const std::shared_ptr<OLP_Commu_EmuCamera>& camera) const;
    // Devices opened through this port and not yet released.
    int openDevices() const { return m_openDevices->load(); }

    QList<OLP_Commu_UsbDeviceEntry> listDevices() override;
    std::unique_ptr<OLP_Commu_UsbDevice> open(const QString& deviceId, eUsbError* error) override;

    // Plugs an emulated camera of the product into the process-wide USB hub,
    // where the USB camera access discovers it like a real one.
    static std::shared_ptr<OLP_Commu_EmuCamera> installDemoCamera(quint16 productId);

private:
    struct Slot
    {
        std::shared_ptr<OLP_Commu_EmuCamera> camera;
        int port = 0;
    };
    static QString idOf(const Slot& slot);

    // Guards m_slots and m_nextPort.
    mutable QMutex m_mutex;
    QList<Slot> m_slots;
    int m_nextPort = 1;
    std::shared_ptr<std::atomic<int>> m_openDevices;
};
