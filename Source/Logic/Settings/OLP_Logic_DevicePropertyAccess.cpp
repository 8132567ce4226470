#include "OLP_Logic_DevicePropertyAccess.h"

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Debug.h"

OLP_Logic_DevicePropertyAccess::OLP_Logic_DevicePropertyAccess(OLP_Commu_CameraAccess_Base* access) : m_access(access)
{}

bool OLP_Logic_DevicePropertyAccess::read(quint16 propertyCode, int width, quint32* value) const
{
    *value = 0;
    if (!m_access || !validWidth(width)) {
        return false;
    }
    quint8 buffer[4] = {0, 0, 0, 0};
    if (!m_access->getDevicePropValue(propertyCode, buffer, quint32(width))) {
        return false;
    }
    quint32 result = 0;
    for (int i = width - 1; i >= 0; --i) {
        result = (result << 8) | buffer[i];
    }
    *value = result;
    if (propertyCode == PTP::PropFocusMode) {
        m_access->setFocusModeCache(quint16(result));
    }
    return true;
}

bool OLP_Logic_DevicePropertyAccess::write(quint16 propertyCode, int width, quint32 value, const char* callerName) const
{
    bool ok = false;
    if (m_access && validWidth(width)) {
        quint8 buffer[4];
        for (int i = 0; i < width; ++i) {
            buffer[i] = quint8(value >> (8 * i));
        }
        ok = m_access->setDevicePropValue(propertyCode, buffer, quint32(width));
    }
    if (!ok) {
        debugPrintf(0, "%s - writing device property 0x%04X failed", callerName, unsigned(propertyCode));
        return false;
    }
    if (propertyCode == PTP::PropFocusMode) {
        m_access->setFocusModeCache(quint16(value));
    }
    return true;
}
