#include "OLP_Commu_UsbPortHub.h"

#include "OLP_Commu_UsbPort_Linux.h"

std::shared_ptr<OLP_Commu_UsbPortHub> OLP_Commu_UsbPortHub::system()
{
    static const std::shared_ptr<OLP_Commu_UsbPortHub> hub = [] {
        auto h = std::make_shared<OLP_Commu_UsbPortHub>();
        h->addPort(std::make_shared<OLP_Commu_UsbPort_Linux>());
        return h;
    }();
    return hub;
}

void OLP_Commu_UsbPortHub::addPort(const std::shared_ptr<OLP_Commu_UsbPort>& port)
{
    QMutexLocker lock(&m_mutex);
    if (port && !m_ports.contains(port)) {
        m_ports.append(port);
    }
}

void OLP_Commu_UsbPortHub::removePort(const std::shared_ptr<OLP_Commu_UsbPort>& port)
{
    QMutexLocker lock(&m_mutex);
    m_ports.removeAll(port);
}

QList<std::shared_ptr<OLP_Commu_UsbPort>> OLP_Commu_UsbPortHub::ports() const
{
    QMutexLocker lock(&m_mutex);
    return m_ports;
}

QList<OLP_Commu_UsbDeviceEntry> OLP_Commu_UsbPortHub::listDevices()
{
    QList<OLP_Commu_UsbDeviceEntry> entries;
    for (const auto& port : ports()) {
        entries.append(port->listDevices());
    }
    return entries;
}

std::unique_ptr<OLP_Commu_UsbDevice> OLP_Commu_UsbPortHub::open(const QString& deviceId, eUsbError* error)
{
    eUsbError result = eUsbError::NotFound;
    for (const auto& port : ports()) {
        auto device = port->open(deviceId, &result);
        if (device || result != eUsbError::NotFound) {
            if (error) {
                *error = result;
            }
            return device;
        }
    }
    if (error) {
        *error = result;
    }
    return nullptr;
}
