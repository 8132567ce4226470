#include "OLP_Test_FakeLibusb.h"

#include <libusb.h>

#include <cstring>
#include <mutex>

struct libusb_context
{
    int unused = 0;
};

struct libusb_device
{
    std::shared_ptr<OLP_Commu_EmuCamera> camera;  // null for another device
    int vendorId = 0;
    int productId = 0;
    int bus = 0;
    std::vector<int> ports;
    int address = 0;
};

struct libusb_device_handle
{
    libusb_device* device = nullptr;
    quint64 token = 0;
};

namespace {

constexpr unsigned char EndpointBulkIn = 0x81;
constexpr unsigned char EndpointBulkOut = 0x02;
constexpr unsigned char EndpointInterrupt = 0x83;

// Guards everything below; the port calls libusb from several threads.
std::mutex g_mutex;
std::vector<std::unique_ptr<libusb_device>> g_devices;
FakeLibusb::Counters g_counters;
int g_failNextClaim = 0;
int g_failNextOpen = 0;

OLP_Commu_EmuCamera::eEndpoint endpointOf(unsigned char address)
{
    if (address == EndpointBulkIn) {
        return OLP_Commu_EmuCamera::BulkIn;
    }
    if (address == EndpointBulkOut) {
        return OLP_Commu_EmuCamera::BulkOut;
    }
    return OLP_Commu_EmuCamera::Interrupt;
}

bool plugged(const libusb_device* device)
{
    return !device->camera || device->camera->isPlugged();
}

}  // namespace

namespace FakeLibusb {

void reset()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_devices.clear();
    g_counters = Counters();
    g_failNextClaim = 0;
    g_failNextOpen = 0;
}

void attachCamera(const std::shared_ptr<OLP_Commu_EmuCamera>& camera, int bus, const std::vector<int>& ports)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    auto device = std::make_unique<libusb_device>();
    device->camera = camera;
    device->vendorId = camera->vendorId();
    device->productId = camera->productId();
    device->bus = bus;
    device->ports = ports;
    g_devices.push_back(std::move(device));
}

void attachOther(int vendorId, int productId, int bus, const std::vector<int>& ports, int address)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    auto device = std::make_unique<libusb_device>();
    device->vendorId = vendorId;
    device->productId = productId;
    device->bus = bus;
    device->ports = ports;
    device->address = address;
    g_devices.push_back(std::move(device));
}

void failNextClaim(int libusbError)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_failNextClaim = libusbError;
}

void failNextOpen(int libusbError)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_failNextOpen = libusbError;
}

Counters counters()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_counters;
}

}  // namespace FakeLibusb

// ---- the libusb functions the port calls ---------------------------------------------------------

int libusb_init(libusb_context** context)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_counters.init;
    *context = new libusb_context;
    return LIBUSB_SUCCESS;
}

void libusb_exit(libusb_context* context)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_counters.exit;
    delete context;
}

ssize_t libusb_get_device_list(libusb_context*, libusb_device*** list)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_counters.deviceLists;
    std::vector<libusb_device*> present;
    for (const auto& device : g_devices) {
        if (plugged(device.get())) {
            present.push_back(device.get());
        }
    }
    *list = new libusb_device*[present.size() + 1];
    for (size_t i = 0; i < present.size(); ++i) {
        (*list)[i] = present[i];
    }
    (*list)[present.size()] = nullptr;
    g_counters.liveReferences += static_cast<int>(present.size());
    return static_cast<ssize_t>(present.size());
}

void libusb_free_device_list(libusb_device** list, int unrefDevices)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!list) {
        return;
    }
    if (unrefDevices) {
        for (libusb_device** d = list; *d; ++d) {
            --g_counters.liveReferences;
        }
    }
    delete[] list;
}

int libusb_get_device_descriptor(libusb_device* device, libusb_device_descriptor* descriptor)
{
    std::memset(descriptor, 0, sizeof *descriptor);
    descriptor->bLength = LIBUSB_DT_DEVICE_SIZE;
    descriptor->bDescriptorType = LIBUSB_DT_DEVICE;
    descriptor->bcdUSB = 0x0200;
    descriptor->bMaxPacketSize0 = 64;
    descriptor->idVendor = static_cast<uint16_t>(device->vendorId);
    descriptor->idProduct = static_cast<uint16_t>(device->productId);
    descriptor->bNumConfigurations = 1;
    return LIBUSB_SUCCESS;
}

uint8_t libusb_get_bus_number(libusb_device* device)
{
    return static_cast<uint8_t>(device->bus);
}

int libusb_get_port_numbers(libusb_device* device, uint8_t* ports, int length)
{
    const int count = static_cast<int>(device->ports.size());
    if (count > length) {
        return LIBUSB_ERROR_OVERFLOW;
    }
    for (int i = 0; i < count; ++i) {
        ports[i] = static_cast<uint8_t>(device->ports[static_cast<size_t>(i)]);
    }
    return count;
}

uint8_t libusb_get_device_address(libusb_device* device)
{
    return static_cast<uint8_t>(device->camera ? device->camera->address() : device->address);
}

int libusb_get_active_config_descriptor(libusb_device* device, libusb_config_descriptor** config)
{
    auto* endpoints = new libusb_endpoint_descriptor[3]();
    int count = 0;
    auto* alt = new libusb_interface_descriptor();
    if (device->camera) {
        const uint16_t packet = static_cast<uint16_t>(device->camera->bulkPacketSize());
        endpoints[0].bEndpointAddress = EndpointBulkIn;
        endpoints[0].bmAttributes = LIBUSB_TRANSFER_TYPE_BULK;
        endpoints[0].wMaxPacketSize = packet;
        endpoints[1].bEndpointAddress = EndpointBulkOut;
        endpoints[1].bmAttributes = LIBUSB_TRANSFER_TYPE_BULK;
        endpoints[1].wMaxPacketSize = packet;
        endpoints[2].bEndpointAddress = EndpointInterrupt;
        endpoints[2].bmAttributes = LIBUSB_TRANSFER_TYPE_INTERRUPT;
        endpoints[2].wMaxPacketSize = 64;
        count = 3;
        if (device->camera->hasStillImageInterface()) {
            alt->bInterfaceClass = LIBUSB_CLASS_IMAGE;
            alt->bInterfaceSubClass = 1;
            alt->bInterfaceProtocol = 1;
        } else {
            // The camera set to mass storage.
            alt->bInterfaceClass = LIBUSB_CLASS_MASS_STORAGE;
            alt->bInterfaceSubClass = 6;
            alt->bInterfaceProtocol = 0x50;
        }
    } else {
        endpoints[0].bEndpointAddress = 0x81;
        endpoints[0].bmAttributes = LIBUSB_TRANSFER_TYPE_INTERRUPT;
        endpoints[0].wMaxPacketSize = 8;
        count = 1;
        alt->bInterfaceClass = LIBUSB_CLASS_HID;
    }
    alt->bNumEndpoints = static_cast<uint8_t>(count);
    alt->endpoint = endpoints;
    auto* interface = new libusb_interface();
    interface->altsetting = alt;
    interface->num_altsetting = 1;
    auto* c = new libusb_config_descriptor();
    c->bNumInterfaces = 1;
    c->interface = interface;
    *config = c;
    return LIBUSB_SUCCESS;
}

void libusb_free_config_descriptor(libusb_config_descriptor* config)
{
    if (!config) {
        return;
    }
    delete[] config->interface->altsetting->endpoint;
    delete config->interface->altsetting;
    delete config->interface;
    delete config;
}

int libusb_open(libusb_device* device, libusb_device_handle** handle)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_counters.opens;
    if (g_failNextOpen != 0) {
        const int error = g_failNextOpen;
        g_failNextOpen = 0;
        return error;
    }
    if (!plugged(device)) {
        return LIBUSB_ERROR_NO_DEVICE;
    }
    if (device->camera && device->camera->isAccessDenied()) {
        // The device node belongs to root: no udev rule gave the user access.
        return LIBUSB_ERROR_ACCESS;
    }
    *handle = new libusb_device_handle;
    (*handle)->device = device;
    ++g_counters.liveHandles;
    ++g_counters.liveReferences;
    return LIBUSB_SUCCESS;
}

void libusb_close(libusb_device_handle* handle)
{
    if (!handle) {
        return;
    }
    if (handle->token != 0 && handle->device->camera) {
        handle->device->camera->release(handle->token);
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_counters.closes;
    --g_counters.liveHandles;
    --g_counters.liveReferences;
    delete handle;
}

int libusb_set_auto_detach_kernel_driver(libusb_device_handle*, int)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    ++g_counters.autoDetach;
    return LIBUSB_SUCCESS;
}

int libusb_set_interface_alt_setting(libusb_device_handle*, int, int)
{
    return LIBUSB_SUCCESS;
}

int libusb_claim_interface(libusb_device_handle* handle, int)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_counters.claims;
        if (g_failNextClaim != 0) {
            const int error = g_failNextClaim;
            g_failNextClaim = 0;
            return error;
        }
    }
    if (!handle->device->camera) {
        return LIBUSB_ERROR_NOT_FOUND;
    }
    return static_cast<int>(handle->device->camera->claim(&handle->token));
}

int libusb_release_interface(libusb_device_handle* handle, int)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_counters.releases;
    }
    if (handle->token != 0 && handle->device->camera) {
        handle->device->camera->release(handle->token);
        handle->token = 0;
    }
    return LIBUSB_SUCCESS;
}

int libusb_clear_halt(libusb_device_handle* handle, unsigned char endpoint)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_counters.clearHalts;
    }
    if (!handle->device->camera) {
        return LIBUSB_ERROR_NOT_FOUND;
    }
    return static_cast<int>(handle->device->camera->clearHalt(handle->token, endpointOf(endpoint)));
}

int libusb_bulk_transfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data, int length,
                         int* transferred, unsigned int timeout)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_counters.bulkTransfers;
        g_counters.lastBulkTimeout = timeout;
    }
    if (!handle->device->camera) {
        return LIBUSB_ERROR_NOT_FOUND;
    }
    quint32 done = 0;
    const quint32 size = static_cast<quint32>(length);
    const int ms = static_cast<int>(timeout);
    const eUsbError result = (endpoint & LIBUSB_ENDPOINT_IN)
                                 ? handle->device->camera->bulkIn(handle->token, data, size, &done, ms)
                                 : handle->device->camera->bulkOut(handle->token, data, size, &done, ms);
    *transferred = static_cast<int>(done);
    return static_cast<int>(result);
}

int libusb_interrupt_transfer(libusb_device_handle* handle, unsigned char, unsigned char* data, int length,
                              int* transferred, unsigned int timeout)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_counters.interruptTransfers;
        g_counters.lastInterruptTimeout = timeout;
    }
    if (!handle->device->camera) {
        return LIBUSB_ERROR_NOT_FOUND;
    }
    quint32 done = 0;
    const eUsbError result = handle->device->camera->interruptIn(handle->token, data, static_cast<quint32>(length),
                                                                 &done, static_cast<int>(timeout));
    *transferred = static_cast<int>(done);
    return static_cast<int>(result);
}

int libusb_control_transfer(libusb_device_handle* handle, uint8_t requestType, uint8_t request, uint16_t, uint16_t,
                            unsigned char* data, uint16_t length, unsigned int timeout)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_counters.lastControlTimeout = timeout;
    }
    const uint8_t classInterface = LIBUSB_REQUEST_TYPE_CLASS | LIBUSB_RECIPIENT_INTERFACE;
    if ((requestType & 0x7F) != classInterface || !handle->device->camera) {
        return LIBUSB_ERROR_PIPE;
    }
    OLP_Commu_EmuCamera& camera = *handle->device->camera;
    switch (request) {
        case 0x66: {
            {
                std::lock_guard<std::mutex> lock(g_mutex);
                ++g_counters.resets;
            }
            const eUsbError e = camera.classReset(handle->token);
            return e == eUsbError::Ok ? 0 : static_cast<int>(e);
        }
        case 0x64: {
            {
                std::lock_guard<std::mutex> lock(g_mutex);
                ++g_counters.cancels;
            }
            if (length < 6) {
                return LIBUSB_ERROR_PIPE;
            }
            const quint32 tid = data[2] | (data[3] << 8) | (data[4] << 16) | (quint32(data[5]) << 24);
            const eUsbError e = camera.classCancel(handle->token, tid);
            return e == eUsbError::Ok ? 6 : static_cast<int>(e);
        }
        case 0x67: {
            quint16 code = 0;
            const eUsbError e = camera.classDeviceStatus(handle->token, &code);
            if (e != eUsbError::Ok) {
                return static_cast<int>(e);
            }
            if (length < 4) {
                return LIBUSB_ERROR_OVERFLOW;
            }
            data[0] = 4;
            data[1] = 0;
            data[2] = static_cast<unsigned char>(code & 0xFF);
            data[3] = static_cast<unsigned char>(code >> 8);
            return 4;
        }
        default:
            return LIBUSB_ERROR_PIPE;
    }
}
