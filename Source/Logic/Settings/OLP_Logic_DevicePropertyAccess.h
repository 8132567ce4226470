#pragma once

#include <QtGlobal>

class OLP_Commu_CameraAccess_Base;

// Typed access to single PTP device properties over GetDevicePropValue and
// SetDevicePropValue: a value of 1, 2 or 4 bytes travels little-endian and is
// handed over zero-extended to 32 bits; callers that keep a signed value
// narrow it themselves.
//
// A successful read or write of FocusMode (0x500A) also updates the access
// object's focus mode, which the release dispatcher uses for autofocus.
//
// Thread: used in the thread of the settings object that owns it; the access
// object serialises the transactions. Holds the access object without owning it.
class OLP_Logic_DevicePropertyAccess
{
public:
    explicit OLP_Logic_DevicePropertyAccess(OLP_Commu_CameraAccess_Base* access);

    OLP_Commu_CameraAccess_Base* access() const { return m_access; }

    // Reads a property of the given width (1, 2 or 4 bytes). False when there
    // is no access object, the width is not one of these or the camera refuses;
    // *value is then 0.
    bool read(quint16 propertyCode, int width, quint32* value) const;
    // Writes the low width bytes of value. On failure logs
    // "%s - writing device property 0x%04X failed" with callerName (category 0).
    bool write(quint16 propertyCode, int width, quint32 value, const char* callerName) const;

private:
    static bool validWidth(int width) { return width == 1 || width == 2 || width == 4; }

    OLP_Commu_CameraAccess_Base* m_access;
};
