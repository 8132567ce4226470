#include "OLP_Logic_Camera3DAxisData.h"

#include <cstring>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"

namespace {
constexpr eDebugFlag DumpFlag = 0x4000;

constexpr quint64 StandardPitchOffset = 12;
constexpr quint64 StandardRollOffset = 16;
constexpr quint64 StandardTemperatureOffset = 189;
constexpr quint64 ExtendedPitchOffset = 12;
constexpr quint64 ExtendedRollOffset = 20;
constexpr quint64 ExtendedTemperatureOffset = 205;

bool usesExtendedLayout(const OLP_Commu_CameraAccess_Base* access)
{
    if (access == nullptr) {
        return false;
    }
    const quint32 productId = access->productId();
    return productId == ProductIdKestaD || productId == ProductIdPelvo;
}
}  // namespace

OLP_Logic_Camera3DAxisData::OLP_Logic_Camera3DAxisData(OLP_Commu_CameraAccess_Base* access)
    : m_access(access), m_isExtendedLayout(usesExtendedLayout(access))
{
    recvFromCamera();
}

void OLP_Logic_Camera3DAxisData::recvFromCamera()
{
    if (m_isExtendedLayout) {
        if (m_access == nullptr || !m_access->get3DAxisData(m_extendedImage.data(), ExtendedImageSize)) {
            m_extendedImage.fill(0);
        }
    } else {
        if (m_access == nullptr || !m_access->get3DAxisData(m_standardImage.data(), StandardImageSize)) {
            m_standardImage.fill(0);
        }
    }
    if (isDebugEnabled(DumpFlag)) {
        dump("OLP_Logic_Camera3DAxisData::recvFromCamera");
    }
}

const quint8* OLP_Logic_Camera3DAxisData::image() const
{
    return m_isExtendedLayout ? m_extendedImage.data() : m_standardImage.data();
}

quint32 OLP_Logic_Camera3DAxisData::imageSize() const
{
    return m_isExtendedLayout ? ExtendedImageSize : StandardImageSize;
}

double OLP_Logic_Camera3DAxisData::floatAt(quint64 offset) const
{
    const quint32 bits = OLP_Commu_PtpReader::readU32(m_standardImage.data(), StandardImageSize, offset);
    float value;
    memcpy(&value, &bits, sizeof(value));
    return double(value);
}

double OLP_Logic_Camera3DAxisData::doubleAt(quint64 offset) const
{
    const quint64 bits = OLP_Commu_PtpReader::readU64(m_extendedImage.data(), ExtendedImageSize, offset);
    double value;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

double OLP_Logic_Camera3DAxisData::cameraPitchAngle() const
{
    return m_isExtendedLayout ? doubleAt(ExtendedPitchOffset) : floatAt(StandardPitchOffset);
}

double OLP_Logic_Camera3DAxisData::cameraRollAngle() const
{
    return m_isExtendedLayout ? doubleAt(ExtendedRollOffset) : floatAt(StandardRollOffset);
}

double OLP_Logic_Camera3DAxisData::temperature() const
{
    return m_isExtendedLayout ? doubleAt(ExtendedTemperatureOffset) : floatAt(StandardTemperatureOffset);
}

void OLP_Logic_Camera3DAxisData::dump(const char* callerName) const
{
    static const char* const name = "OLP_Logic_Camera3DAxisData::dump";
    dumpBuffer(QStringLiteral("%1 for %2:").arg(QLatin1String(name), QLatin1String(callerName ? callerName : "")),
               QStringLiteral("3DAxisData"), image(), imageSize(), 0, 16);
    debugPrintf(0, "%s - cameraPitchAngle = %lf", name, cameraPitchAngle());
    debugPrintf(0, "%s - cameraRollAngle  = %lf", name, cameraRollAngle());
    debugPrintf(0, "%s - temperature      = %lf", name, temperature());
}
