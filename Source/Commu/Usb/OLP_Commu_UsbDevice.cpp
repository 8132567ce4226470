#include "OLP_Commu_UsbDevice.h"

const char* usbErrorName(eUsbError error)
{
    switch (error) {
        case eUsbError::Ok:
            return "LIBUSB_SUCCESS";
        case eUsbError::Io:
            return "LIBUSB_ERROR_IO";
        case eUsbError::Access:
            return "LIBUSB_ERROR_ACCESS";
        case eUsbError::NoDevice:
            return "LIBUSB_ERROR_NO_DEVICE";
        case eUsbError::NotFound:
            return "LIBUSB_ERROR_NOT_FOUND";
        case eUsbError::Busy:
            return "LIBUSB_ERROR_BUSY";
        case eUsbError::Timeout:
            return "LIBUSB_ERROR_TIMEOUT";
        case eUsbError::Overflow:
            return "LIBUSB_ERROR_OVERFLOW";
        case eUsbError::Stall:
            return "LIBUSB_ERROR_PIPE";
        case eUsbError::NotSupported:
            return "LIBUSB_ERROR_NOT_SUPPORTED";
        case eUsbError::Other:
            break;
    }
    return "LIBUSB_ERROR_OTHER";
}
