#pragma once

#include <QMutex>

#include "OLP_Commu_UsbPort.h"

struct libusb_context;

// The USB port for real cameras, over libusb-1.0. Discovery lists every device
// on the system's buses; opening finds the still image interface (class 6),
// lets libusb detach a kernel driver, claims the interface and clears the
// halts of its bulk and interrupt endpoints.
//
// Threads: any; libusb's synchronous calls are thread-safe. The libusb context
// lives as long as this object, so every device it opened must go first.
class OLP_Commu_UsbPort_Linux : public OLP_Commu_UsbPort
{
public:
    OLP_Commu_UsbPort_Linux();
    ~OLP_Commu_UsbPort_Linux() override;

    QList<OLP_Commu_UsbDeviceEntry> listDevices() override;
    std::unique_ptr<OLP_Commu_UsbDevice> open(const QString& deviceId, eUsbError* error) override;

    static eUsbError fromLibusb(int code);

private:
    bool ensureContext();

    // Guards m_context and m_initFailed (created on first use).
    QMutex m_contextMutex;
    libusb_context* m_context = nullptr;
    bool m_initFailed = false;
};
