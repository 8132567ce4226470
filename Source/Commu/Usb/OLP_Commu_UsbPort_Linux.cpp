#include "OLP_Commu_UsbPort_Linux.h"

#include <libusb.h>

#include <QStringList>

#include "OLP_Debug.h"

namespace {

constexpr quint8 ClassImage = 6;
constexpr quint8 RequestCancel = 0x64;
constexpr quint8 RequestDeviceReset = 0x66;
constexpr quint8 RequestGetDeviceStatus = 0x67;
constexpr quint16 CancelCode = 0x4001;

QString deviceIdOf(libusb_device* device, const libusb_device_descriptor& descriptor)
{
    quint8 ports[8] = {};
    const int count = libusb_get_port_numbers(device, ports, sizeof ports);
    QStringList path;
    for (int i = 0; i < count; ++i) {
        path.append(QString::number(ports[i]));
    }
    if (path.isEmpty()) {
        path.append(QStringLiteral("0"));
    }
    return OLP_Commu_UsbPort::makeDeviceId(descriptor.idVendor, descriptor.idProduct,
                                           QString::number(libusb_get_bus_number(device)), path.join(QLatin1Char('.')),
                                           libusb_get_device_address(device));
}

// The still image interface of the active configuration and its endpoints.
struct InterfaceInfo
{
    int number = -1;
    int alternate = 0;
    quint8 bulkIn = 0;
    quint8 bulkOut = 0;
    quint8 interrupt = 0;
    quint32 bulkPacketSize = 512;
    quint32 interruptPacketSize = 64;
};

bool findStillImageInterface(libusb_device* device, InterfaceInfo* info)
{
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS || !config) {
        return false;
    }
    bool found = false;
    for (int i = 0; i < config->bNumInterfaces && !found; ++i) {
        const libusb_interface& interface = config->interface[i];
        for (int a = 0; a < interface.num_altsetting && !found; ++a) {
            const libusb_interface_descriptor& alt = interface.altsetting[a];
            if (alt.bInterfaceClass != ClassImage) {
                continue;
            }
            InterfaceInfo candidate;
            candidate.number = alt.bInterfaceNumber;
            candidate.alternate = alt.bAlternateSetting;
            for (int e = 0; e < alt.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor& ep = alt.endpoint[e];
                const int type = ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK;
                const bool in = (ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
                const quint32 packet = ep.wMaxPacketSize & 0x7FF;
                if (type == LIBUSB_TRANSFER_TYPE_BULK && in && !candidate.bulkIn) {
                    candidate.bulkIn = ep.bEndpointAddress;
                    if (packet) {
                        candidate.bulkPacketSize = packet;
                    }
                } else if (type == LIBUSB_TRANSFER_TYPE_BULK && !in && !candidate.bulkOut) {
                    candidate.bulkOut = ep.bEndpointAddress;
                } else if (type == LIBUSB_TRANSFER_TYPE_INTERRUPT && in && !candidate.interrupt) {
                    candidate.interrupt = ep.bEndpointAddress;
                    if (packet) {
                        candidate.interruptPacketSize = packet;
                    }
                }
            }
            if (candidate.bulkIn && candidate.bulkOut && candidate.interrupt) {
                *info = candidate;
                found = true;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

// An opened and claimed camera. Releases the interface (libusb gives the
// kernel driver back) and closes the handle when destroyed.
class LinuxDevice : public OLP_Commu_UsbDevice
{
public:
    LinuxDevice(libusb_device_handle* handle, const InterfaceInfo& info) : m_handle(handle), m_info(info) {}
    ~LinuxDevice() override
    {
        libusb_release_interface(m_handle, m_info.number);
        libusb_close(m_handle);
    }

    quint32 bulkPacketSize() const override { return m_info.bulkPacketSize; }
    quint32 interruptPacketSize() const override { return m_info.interruptPacketSize; }

    eUsbError bulkWrite(const quint8* data, quint32 size, quint32* written, int timeoutMs) override
    {
        return transfer(false, m_info.bulkOut, const_cast<quint8*>(data), size, written, timeoutMs);
    }
    eUsbError bulkRead(quint8* data, quint32 size, quint32* received, int timeoutMs) override
    {
        return transfer(false, m_info.bulkIn, data, size, received, timeoutMs);
    }
    eUsbError interruptRead(quint8* data, quint32 size, quint32* received, int timeoutMs) override
    {
        return transfer(true, m_info.interrupt, data, size, received, timeoutMs);
    }
    eUsbError clearHalt(eEndpoint endpoint) override
    {
        const quint8 address = endpoint == EndpointBulkIn    ? m_info.bulkIn
                               : endpoint == EndpointBulkOut ? m_info.bulkOut
                                                             : m_info.interrupt;
        return OLP_Commu_UsbPort_Linux::fromLibusb(libusb_clear_halt(m_handle, address));
    }
    eUsbError cancelTransaction(quint32 transactionId, int timeoutMs) override
    {
        quint8 data[6] = {quint8(CancelCode & 0xFF),
                          quint8(CancelCode >> 8),
                          quint8(transactionId & 0xFF),
                          quint8((transactionId >> 8) & 0xFF),
                          quint8((transactionId >> 16) & 0xFF),
                          quint8(transactionId >> 24)};
        const int rc = libusb_control_transfer(
            m_handle, LIBUSB_ENDPOINT_OUT | LIBUSB_REQUEST_TYPE_CLASS | LIBUSB_RECIPIENT_INTERFACE, RequestCancel, 0,
            static_cast<quint16>(m_info.number), data, sizeof data, static_cast<unsigned>(timeoutMs));
        return rc < 0 ? OLP_Commu_UsbPort_Linux::fromLibusb(rc) : eUsbError::Ok;
    }
    eUsbError deviceStatus(quint16* responseCode, int timeoutMs) override
    {
        quint8 data[32] = {};
        const int rc = libusb_control_transfer(
            m_handle, LIBUSB_ENDPOINT_IN | LIBUSB_REQUEST_TYPE_CLASS | LIBUSB_RECIPIENT_INTERFACE,
            RequestGetDeviceStatus, 0, static_cast<quint16>(m_info.number), data, sizeof data,
            static_cast<unsigned>(timeoutMs));
        if (rc < 0) {
            return OLP_Commu_UsbPort_Linux::fromLibusb(rc);
        }
        if (rc < 4) {
            return eUsbError::Io;
        }
        if (responseCode) {
            *responseCode = static_cast<quint16>(data[2] | (data[3] << 8));
        }
        return eUsbError::Ok;
    }
    eUsbError resetDevice(int timeoutMs) override
    {
        const int rc = libusb_control_transfer(
            m_handle, LIBUSB_ENDPOINT_OUT | LIBUSB_REQUEST_TYPE_CLASS | LIBUSB_RECIPIENT_INTERFACE, RequestDeviceReset,
            0, static_cast<quint16>(m_info.number), nullptr, 0, static_cast<unsigned>(timeoutMs));
        return rc < 0 ? OLP_Commu_UsbPort_Linux::fromLibusb(rc) : eUsbError::Ok;
    }

private:
    eUsbError transfer(bool interrupt, quint8 endpoint, quint8* data, quint32 size, quint32* done, int timeoutMs)
    {
        int transferred = 0;
        const int length = static_cast<int>(qMin<quint32>(size, 0x7FFFFFFF));
        const unsigned timeout = timeoutMs > 0 ? static_cast<unsigned>(timeoutMs) : 1;
        const int rc = interrupt ? libusb_interrupt_transfer(m_handle, endpoint, data, length, &transferred, timeout)
                                 : libusb_bulk_transfer(m_handle, endpoint, data, length, &transferred, timeout);
        if (done) {
            *done = transferred > 0 ? static_cast<quint32>(transferred) : 0;
        }
        return OLP_Commu_UsbPort_Linux::fromLibusb(rc);
    }

    libusb_device_handle* m_handle;
    InterfaceInfo m_info;
};

}  // namespace

OLP_Commu_UsbPort_Linux::OLP_Commu_UsbPort_Linux() = default;

OLP_Commu_UsbPort_Linux::~OLP_Commu_UsbPort_Linux()
{
    if (m_context) {
        libusb_exit(m_context);
    }
}

eUsbError OLP_Commu_UsbPort_Linux::fromLibusb(int code)
{
    switch (code) {
        case LIBUSB_SUCCESS:
            return eUsbError::Ok;
        case LIBUSB_ERROR_IO:
            return eUsbError::Io;
        case LIBUSB_ERROR_ACCESS:
            return eUsbError::Access;
        case LIBUSB_ERROR_NO_DEVICE:
            return eUsbError::NoDevice;
        case LIBUSB_ERROR_NOT_FOUND:
            return eUsbError::NotFound;
        case LIBUSB_ERROR_BUSY:
            return eUsbError::Busy;
        case LIBUSB_ERROR_TIMEOUT:
            return eUsbError::Timeout;
        case LIBUSB_ERROR_OVERFLOW:
            return eUsbError::Overflow;
        case LIBUSB_ERROR_PIPE:
            return eUsbError::Stall;
        case LIBUSB_ERROR_NOT_SUPPORTED:
            return eUsbError::NotSupported;
        default:
            return code > 0 ? eUsbError::Ok : eUsbError::Other;
    }
}

bool OLP_Commu_UsbPort_Linux::ensureContext()
{
    QMutexLocker lock(&m_contextMutex);
    if (m_context) {
        return true;
    }
    if (m_initFailed) {
        return false;
    }
    const int rc = libusb_init(&m_context);
    if (rc != LIBUSB_SUCCESS) {
        m_context = nullptr;
        m_initFailed = true;
        debugPrintf(0, "%s - libusb_init failed: %d (%s)", "OLP_Commu_UsbPort_Linux::ensureContext", rc,
                    usbErrorName(fromLibusb(rc)));
        return false;
    }
    return true;
}

QList<OLP_Commu_UsbDeviceEntry> OLP_Commu_UsbPort_Linux::listDevices()
{
    QList<OLP_Commu_UsbDeviceEntry> entries;
    if (!ensureContext()) {
        return entries;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &list);
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor;
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS) {
            continue;
        }
        OLP_Commu_UsbDeviceEntry entry;
        entry.vendorId = descriptor.idVendor;
        entry.productId = descriptor.idProduct;
        entry.deviceId = deviceIdOf(list[i], descriptor);
        entries.append(entry);
    }
    if (count >= 0) {
        libusb_free_device_list(list, 1);
    }
    return entries;
}

std::unique_ptr<OLP_Commu_UsbDevice> OLP_Commu_UsbPort_Linux::open(const QString& deviceId, eUsbError* error)
{
    const char* name = "OLP_Commu_UsbPort_Linux::open";
    eUsbError dummy;
    eUsbError& result = error ? *error : dummy;
    result = eUsbError::NotFound;
    if (!ensureContext()) {
        result = eUsbError::Other;
        return nullptr;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_context, &list);
    if (count < 0) {
        result = fromLibusb(static_cast<int>(count));
        return nullptr;
    }
    libusb_device_handle* handle = nullptr;
    InterfaceInfo info;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor;
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS ||
            deviceIdOf(list[i], descriptor) != deviceId) {
            continue;
        }
        if (!findStillImageInterface(list[i], &info)) {
            // A camera in another USB mode (mass storage, MTP) or no camera at all.
            debugPrintf(1, "%s - %s has no still image interface", name, qPrintable(deviceId));
            result = eUsbError::NotSupported;
            break;
        }
        const int rc = libusb_open(list[i], &handle);
        if (rc != LIBUSB_SUCCESS) {
            handle = nullptr;
            result = fromLibusb(rc);
            debugPrintf(1, "%s - libusb_open failed: %d (%s)", name, rc, usbErrorName(result));
        }
        break;
    }
    libusb_free_device_list(list, 1);
    if (!handle) {
        return nullptr;
    }

    // Lets libusb take the interface from a kernel driver and give it back on release.
    const int detach = libusb_set_auto_detach_kernel_driver(handle, 1);
    if (detach != LIBUSB_SUCCESS && detach != LIBUSB_ERROR_NOT_SUPPORTED) {
        debugPrintf(1, "%s - libusb_set_auto_detach_kernel_driver: %d", name, detach);
    }
    const int claim = libusb_claim_interface(handle, info.number);
    if (claim != LIBUSB_SUCCESS) {
        result = fromLibusb(claim);
        debugPrintf(1, "%s - libusb_claim_interface(%d) failed: %d (%s)", name, info.number, claim,
                    usbErrorName(result));
        libusb_close(handle);
        return nullptr;
    }
    if (info.alternate != 0) {
        libusb_set_interface_alt_setting(handle, info.number, info.alternate);
    }
    for (quint8 endpoint : {info.bulkIn, info.bulkOut, info.interrupt}) {
        const int rc = libusb_clear_halt(handle, endpoint);
        if (rc == LIBUSB_ERROR_NO_DEVICE) {
            result = eUsbError::NoDevice;
            libusb_release_interface(handle, info.number);
            libusb_close(handle);
            return nullptr;
        }
    }
    result = eUsbError::Ok;
    return std::make_unique<LinuxDevice>(handle, info);
}
