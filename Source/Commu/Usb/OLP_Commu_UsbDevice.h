#pragma once

#include <QtGlobal>

// Results of the USB seam. The numbers are libusb's, so a log line shows the
// same code for a real camera and for the emulated one.
enum class eUsbError : int
{
    Ok = 0,
    Io = -1,
    Access = -3,
    NoDevice = -4,
    NotFound = -5,
    Busy = -6,
    Timeout = -7,
    Overflow = -8,
    Stall = -9,
    NotSupported = -12,  // the device has no still image interface (another USB mode)
    Other = -99,
};

// "LIBUSB_ERROR_TIMEOUT" and so on; "LIBUSB_SUCCESS" for Ok.
const char* usbErrorName(eUsbError error);

// One opened camera: its still image interface is claimed, its endpoints are
// known. This is the endpoint-level seam under the PTP transport; libusb
// implements it for real cameras, the emulator in process.
//
// Threads: bulk calls come from the thread that holds the access object's
// device mutex, interruptRead from the event reader, both at the same time.
// The object is destroyed (interface released, device closed) only when no
// call is running.
class OLP_Commu_UsbDevice
{
public:
    enum eEndpoint
    {
        EndpointBulkIn,
        EndpointBulkOut,
        EndpointInterrupt
    };

    virtual ~OLP_Commu_UsbDevice() = default;

    // wMaxPacketSize of the bulk endpoints and of the interrupt endpoint.
    virtual quint32 bulkPacketSize() const = 0;
    virtual quint32 interruptPacketSize() const = 0;

    // One bulk transfer each. A write whose size is not a multiple of the
    // packet size (or 0: a zero-length packet) ends the device's transfer; a
    // read ends when size bytes arrived or a short packet came.
    virtual eUsbError bulkWrite(const quint8* data, quint32 size, quint32* written, int timeoutMs) = 0;
    virtual eUsbError bulkRead(quint8* data, quint32 size, quint32* received, int timeoutMs) = 0;
    virtual eUsbError interruptRead(quint8* data, quint32 size, quint32* received, int timeoutMs) = 0;
    virtual eUsbError clearHalt(eEndpoint endpoint) = 0;

    // Class requests of the still image class.
    virtual eUsbError cancelTransaction(quint32 transactionId, int timeoutMs) = 0;
    virtual eUsbError deviceStatus(quint16* responseCode, int timeoutMs) = 0;
    virtual eUsbError resetDevice(int timeoutMs) = 0;
};
