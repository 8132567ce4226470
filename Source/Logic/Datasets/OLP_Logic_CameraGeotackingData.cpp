#include "OLP_Logic_CameraGeotackingData.h"

#include <cstring>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"

namespace {
constexpr eDebugFlag DumpFlag = 0x8000;

constexpr quint64 OffsetFlags = 0;
constexpr quint64 OffsetLongitudeDegrees = 23;
constexpr quint64 OffsetLongitudeMinutes = 24;
constexpr quint64 OffsetLongitudeSeconds = 25;
constexpr quint64 OffsetLatitudeDegrees = 29;
constexpr quint64 OffsetLatitudeMinutes = 30;
constexpr quint64 OffsetLatitudeSeconds = 31;
constexpr quint64 OffsetNumberOfUsedSattelites = 59;

constexpr quint8 FlagMeanFieldDataValid = 0x01;
constexpr quint8 FlagTimeValid = 0x02;
constexpr quint8 FlagDateValid = 0x04;
constexpr quint8 FlagGPSEnabled = 0x08;

const char* yesNo(bool value)
{
    return value ? "Yes" : "No";
}
}  // namespace

OLP_Logic_CameraGeotackingData::OLP_Logic_CameraGeotackingData(OLP_Commu_CameraAccess_Base* access) : m_access(access)
{
    recvFromCamera();
}

void OLP_Logic_CameraGeotackingData::recvFromCamera()
{
    if (m_access == nullptr || !m_access->getGeotackingData(m_image.data(), ImageSize)) {
        m_image.fill(0);
    }
    if (isDebugEnabled(DumpFlag)) {
        dump("OLP_Logic_CameraGeotackingData::recvFromCamera");
    }
}

quint8 OLP_Logic_CameraGeotackingData::u8(quint64 offset) const
{
    return OLP_Commu_PtpReader::readU8(m_image.data(), ImageSize, offset);
}

double OLP_Logic_CameraGeotackingData::floatAt(quint64 offset) const
{
    const quint32 bits = OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, offset);
    float value;
    memcpy(&value, &bits, sizeof(value));
    return double(value);
}

bool OLP_Logic_CameraGeotackingData::isMeanFieldDataValid() const
{
    return (u8(OffsetFlags) & FlagMeanFieldDataValid) != 0;
}

bool OLP_Logic_CameraGeotackingData::isTimeValid() const
{
    return (u8(OffsetFlags) & FlagTimeValid) != 0;
}

bool OLP_Logic_CameraGeotackingData::isDateValid() const
{
    return (u8(OffsetFlags) & FlagDateValid) != 0;
}

bool OLP_Logic_CameraGeotackingData::isGPSEnabled() const
{
    return (u8(OffsetFlags) & FlagGPSEnabled) != 0;
}

int OLP_Logic_CameraGeotackingData::longitudeDegrees() const
{
    return u8(OffsetLongitudeDegrees);
}

int OLP_Logic_CameraGeotackingData::longitudeMinutes() const
{
    return u8(OffsetLongitudeMinutes);
}

double OLP_Logic_CameraGeotackingData::longitudeSeconds() const
{
    return floatAt(OffsetLongitudeSeconds);
}

int OLP_Logic_CameraGeotackingData::latitudeDegrees() const
{
    return u8(OffsetLatitudeDegrees);
}

int OLP_Logic_CameraGeotackingData::latitudeMinutes() const
{
    return u8(OffsetLatitudeMinutes);
}

double OLP_Logic_CameraGeotackingData::latitudeSeconds() const
{
    return floatAt(OffsetLatitudeSeconds);
}

int OLP_Logic_CameraGeotackingData::numberOfUsedSattelites() const
{
    return u8(OffsetNumberOfUsedSattelites);
}

void OLP_Logic_CameraGeotackingData::dump(const char* callerName) const
{
    static const char* const name = "OLP_Logic_CameraGeotackingData::dump";
    dumpBuffer(QStringLiteral("%1 for %2:").arg(QLatin1String(name), QLatin1String(callerName ? callerName : "")),
               QStringLiteral("geotackingData"), m_image.data(), ImageSize, 0, 16);
    debugPrintf(0, "%s - isMeanFieldDataValid    = %s", name, yesNo(isMeanFieldDataValid()));
    debugPrintf(0, "%s - isTimeValid             = %s", name, yesNo(isTimeValid()));
    debugPrintf(0, "%s - isDateValid             = %s", name, yesNo(isDateValid()));
    debugPrintf(0, "%s - isGPSEnabled            = %s", name, yesNo(isGPSEnabled()));
    debugPrintf(0, "%s - longitude               = %d %d' %f\"", name, longitudeDegrees(), longitudeMinutes(),
                longitudeSeconds());
    debugPrintf(0, "%s - latitude                = %d %d' %f\"", name, latitudeDegrees(), latitudeMinutes(),
                latitudeSeconds());
    debugPrintf(0, "%s - numberOfUsedSattelites  = %d", name, numberOfUsedSattelites());
}
