#pragma once

#include <QList>
#include <QMutex>
#include <memory>

#include "OLP_Commu_UsbPort.h"

// Several USB ports seen as one: discovery lists the devices of all of them,
// opening asks each in turn. The process-wide hub holds the libusb port, and
// the demo camera adds the emulator's port to it, so the emulated camera is
// discovered and opened exactly like a real one.
//
// Threads: any; the port list is guarded.
class OLP_Commu_UsbPortHub : public OLP_Commu_UsbPort
{
public:
    OLP_Commu_UsbPortHub() = default;

    // The hub the USB camera access uses by default: libusb plus added ports.
    static std::shared_ptr<OLP_Commu_UsbPortHub> system();

    void addPort(const std::shared_ptr<OLP_Commu_UsbPort>& port);
    void removePort(const std::shared_ptr<OLP_Commu_UsbPort>& port);

    QList<OLP_Commu_UsbDeviceEntry> listDevices() override;
    std::unique_ptr<OLP_Commu_UsbDevice> open(const QString& deviceId, eUsbError* error) override;

private:
    QList<std::shared_ptr<OLP_Commu_UsbPort>> ports() const;

    // Guards m_ports.
    mutable QMutex m_mutex;
    QList<std::shared_ptr<OLP_Commu_UsbPort>> m_ports;
};
