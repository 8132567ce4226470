#pragma once

#include <QList>
#include <QString>
#include <memory>

#include "OLP_Commu_UsbDevice.h"

// One USB device as discovery sees it. deviceId carries "usb", "vid_XXXX" and
// "pid_XXXX" and the device's place on the bus, so that a replugged camera
// (new bus address) is a new entry.
struct OLP_Commu_UsbDeviceEntry
{
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString deviceId;
};

// Where USB devices come from: libusb for real cameras, the emulator for
// virtual ones. Listing and opening go through here, so enumeration and unplug
// look the same for both.
//
// Threads: implementations are safe to call from any thread.
class OLP_Commu_UsbPort
{
public:
    virtual ~OLP_Commu_UsbPort() = default;

    virtual QList<OLP_Commu_UsbDeviceEntry> listDevices() = 0;

    // Opens the device, claims its still image interface and clears the halts
    // of its endpoints. On failure returns null and sets error: NotFound means
    // this port has no device of that ID, NotSupported that the device has no
    // still image interface (a camera set to another USB mode), Busy that
    // another program holds the interface, Access that the user may not open it.
    virtual std::unique_ptr<OLP_Commu_UsbDevice> open(const QString& deviceId, eUsbError* error) = 0;

    // "usb\vid_2F1A&pid_0101\<bus>-<port path>:<address>", hexadecimal in upper case.
    static QString makeDeviceId(quint16 vendorId, quint16 productId, const QString& bus, const QString& portPath,
                                int address);
};
