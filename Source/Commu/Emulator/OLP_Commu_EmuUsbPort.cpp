#include "OLP_Commu_EmuUsbPort.h"

#include "OLP_Commu_UsbPortHub.h"

namespace {

// An opened emulated camera: the host's handle on its USB function.
class EmuUsbDevice : public OLP_Commu_UsbDevice
{
public:
    EmuUsbDevice(std::shared_ptr<OLP_Commu_EmuCamera> camera, quint64 token, std::shared_ptr<std::atomic<int>> count)
        : m_camera(std::move(camera)), m_token(token), m_count(std::move(count))
    {
        ++*m_count;
    }
    ~EmuUsbDevice() override
    {
        m_camera->release(m_token);
        --*m_count;
    }

    quint32 bulkPacketSize() const override { return m_camera->bulkPacketSize(); }
    quint32 interruptPacketSize() const override { return m_camera->interruptPacketSize(); }
    eUsbError bulkWrite(const quint8* data, quint32 size, quint32* written, int timeoutMs) override
    {
        return m_camera->bulkOut(m_token, data, size, written, timeoutMs);
    }
    eUsbError bulkRead(quint8* data, quint32 size, quint32* received, int timeoutMs) override
    {
        return m_camera->bulkIn(m_token, data, size, received, timeoutMs);
    }
    eUsbError interruptRead(quint8* data, quint32 size, quint32* received, int timeoutMs) override
    {
        return m_camera->interruptIn(m_token, data, size, received, timeoutMs);
    }
    eUsbError clearHalt(eEndpoint endpoint) override
    {
        return m_camera->clearHalt(m_token, endpoint == EndpointBulkIn    ? OLP_Commu_EmuCamera::BulkIn
                                            : endpoint == EndpointBulkOut ? OLP_Commu_EmuCamera::BulkOut
                                                                          : OLP_Commu_EmuCamera::Interrupt);
    }
    eUsbError cancelTransaction(quint32 transactionId, int) override
    {
        return m_camera->classCancel(m_token, transactionId);
    }
    eUsbError deviceStatus(quint16* responseCode, int) override
    {
        return m_camera->classDeviceStatus(m_token, responseCode);
    }
    eUsbError resetDevice(int) override { return m_camera->classReset(m_token); }

private:
    std::shared_ptr<OLP_Commu_EmuCamera> m_camera;
    quint64 m_token;
    std::shared_ptr<std::atomic<int>> m_count;
};

}  // namespace

OLP_Commu_EmuUsbPort::OLP_Commu_EmuUsbPort() : m_openDevices(std::make_shared<std::atomic<int>>(0)) {}

QString OLP_Commu_EmuUsbPort::idOf(const Slot& slot)
{
    return makeDeviceId(slot.camera->vendorId(), slot.camera->productId(), QStringLiteral("emu"),
                        QString::number(slot.port), slot.camera->address());
}

void OLP_Commu_EmuUsbPort::plug(const std::shared_ptr<OLP_Commu_EmuCamera>& camera)
{
    QMutexLocker lock(&m_mutex);
    for (const Slot& slot : m_slots) {
        if (slot.camera == camera) {
            return;
        }
    }
    m_slots.append(Slot{camera, m_nextPort++});
}

void OLP_Commu_EmuUsbPort::remove(const std::shared_ptr<OLP_Commu_EmuCamera>& camera)
{
    QMutexLocker lock(&m_mutex);
    for (int i = m_slots.size() - 1; i >= 0; --i) {
        if (m_slots.at(i).camera == camera) {
            m_slots.removeAt(i);
        }
    }
}

QString OLP_Commu_EmuUsbPort::deviceIdOf(const std::shared_ptr<OLP_Commu_EmuCamera>& camera) const
{
    QMutexLocker lock(&m_mutex);
    for (const Slot& slot : m_slots) {
        if (slot.camera == camera) {
            return idOf(slot);
        }
    }
    return QString();
}

QList<OLP_Commu_UsbDeviceEntry> OLP_Commu_EmuUsbPort::listDevices()
{
    QMutexLocker lock(&m_mutex);
    QList<OLP_Commu_UsbDeviceEntry> entries;
    for (const Slot& slot : m_slots) {
        if (slot.camera->isPlugged()) {
            entries.append(OLP_Commu_UsbDeviceEntry{slot.camera->vendorId(), slot.camera->productId(), idOf(slot)});
        }
    }
    return entries;
}

std::unique_ptr<OLP_Commu_UsbDevice> OLP_Commu_EmuUsbPort::open(const QString& deviceId, eUsbError* error)
{
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    {
        QMutexLocker lock(&m_mutex);
        for (const Slot& slot : m_slots) {
            if (slot.camera->isPlugged() && idOf(slot) == deviceId) {
                camera = slot.camera;
            }
        }
    }
    eUsbError result = eUsbError::NotFound;
    std::unique_ptr<OLP_Commu_UsbDevice> device;
    quint64 token = 0;
    if (camera) {
        result = camera->claim(&token);
        if (result == eUsbError::Ok) {
            device = std::make_unique<EmuUsbDevice>(camera, token, m_openDevices);
        }
    }
    if (error) {
        *error = result;
    }
    return device;
}

std::shared_ptr<OLP_Commu_EmuCamera> OLP_Commu_EmuUsbPort::installDemoCamera(quint16 productId)
{
    static const std::shared_ptr<OLP_Commu_EmuUsbPort> port = std::make_shared<OLP_Commu_EmuUsbPort>();
    auto camera = std::make_shared<OLP_Commu_EmuCamera>(productId);
    // The demo camera takes pictures when released.
    OLP_Commu_EmuCapture::Options pictures = camera->captureOptions();
    pictures.enabled = true;
    camera->setCaptureOptions(pictures);
    port->plug(camera);
    OLP_Commu_UsbPortHub::system()->addPort(port);
    return camera;
}
