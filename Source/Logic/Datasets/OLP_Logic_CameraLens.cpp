#include "OLP_Logic_CameraLens.h"

#include <QByteArray>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"

namespace {
constexpr eDebugFlag DumpFlag = 0x1000;

constexpr quint64 OffsetLensStatus = 0;
constexpr quint64 OffsetLensTypeString = 1;
constexpr quint64 OffsetLensType = 61;
constexpr quint64 OffsetLensSerialNumber = 62;
constexpr quint64 OffsetLensFirmwareVersion = 66;
constexpr quint64 OffsetCorrectionDataVersion = 67;
constexpr quint64 OffsetOpenApertureValue = 68;
constexpr quint64 OffsetCloseApertureValue = 70;
constexpr quint64 OffsetApertureSteps = 72;
constexpr quint64 OffsetFocalLengthMin = 73;
constexpr quint64 OffsetFocalLengthMax = 75;
constexpr quint64 OffsetFocusPositionMin = 77;
constexpr quint64 OffsetFocusPositionMax = 81;
constexpr quint64 OffsetFlags = 85;
constexpr quint64 OffsetLensID = 89;
constexpr quint64 OffsetSelectedFocalLength = 93;
constexpr quint64 OffsetLensFileVersion = 95;

double fNumberFromCode(qint16 code)
{
    return OLP_Logic_APEXConverterAperture::toFNumber(code);
}
}  // namespace

OLP_Logic_CameraLens::OLP_Logic_CameraLens(OLP_Commu_CameraAccess_Base* access) : m_access(access)
{
    recvFromCamera();
}

void OLP_Logic_CameraLens::recvFromCamera()
{
    if (m_access == nullptr || !m_access->getLensData(m_image.data(), ImageSize)) {
        m_image.fill(0);
    }
    if (isDebugEnabled(DumpFlag)) {
        dump("OLP_Logic_CameraLens::recvFromCamera");
    }
}

quint8 OLP_Logic_CameraLens::u8(quint64 offset) const
{
    return OLP_Commu_PtpReader::readU8(m_image.data(), ImageSize, offset);
}

quint16 OLP_Logic_CameraLens::u16(quint64 offset) const
{
    return OLP_Commu_PtpReader::readU16(m_image.data(), ImageSize, offset);
}

quint32 OLP_Logic_CameraLens::u32(quint64 offset) const
{
    return OLP_Commu_PtpReader::readU32(m_image.data(), ImageSize, offset);
}

bool OLP_Logic_CameraLens::isLensConnected() const
{
    const quint8 status = u8(OffsetLensStatus);
    return status == 1 || status == 2;
}

bool OLP_Logic_CameraLens::isAutoLensSelectionEnabled() const
{
    const quint8 status = u8(OffsetLensStatus);
    return status == 0 || status == 1;
}

QString OLP_Logic_CameraLens::lensTypeString() const
{
    const char* text = reinterpret_cast<const char*>(m_image.data() + OffsetLensTypeString);
    return QString::fromLatin1(text, int(qstrnlen(text, LensTypeStringLength))).trimmed();
}

int OLP_Logic_CameraLens::lensType() const
{
    return u8(OffsetLensType);
}

qint32 OLP_Logic_CameraLens::lensSerialNumber() const
{
    return qint32(u32(OffsetLensSerialNumber));
}

int OLP_Logic_CameraLens::lensFirmwareVersion() const
{
    return u8(OffsetLensFirmwareVersion);
}

int OLP_Logic_CameraLens::correctionDataVersion() const
{
    return u8(OffsetCorrectionDataVersion);
}

qint16 OLP_Logic_CameraLens::openApertureCode() const
{
    return qint16(u16(OffsetOpenApertureValue));
}

qint16 OLP_Logic_CameraLens::closeApertureCode() const
{
    return qint16(u16(OffsetCloseApertureValue));
}

double OLP_Logic_CameraLens::openApertureValue() const
{
    return fNumberFromCode(openApertureCode());
}

double OLP_Logic_CameraLens::closeApertureValue() const
{
    return fNumberFromCode(closeApertureCode());
}

int OLP_Logic_CameraLens::apertureSteps() const
{
    return u8(OffsetApertureSteps);
}

QString OLP_Logic_CameraLens::apertureStepsText() const
{
    switch (apertureSteps()) {
        case 0:
            return QStringLiteral("undefined");
        case 1:
            return QStringLiteral("1 EV");
        case 2:
            return QStringLiteral("1/2 EV");
        case 3:
            return QStringLiteral("1/3 EV");
        default:
            return QStringLiteral("illegal");
    }
}

int OLP_Logic_CameraLens::focalLengthMin() const
{
    return u16(OffsetFocalLengthMin);
}

int OLP_Logic_CameraLens::focalLengthMax() const
{
    return u16(OffsetFocalLengthMax);
}

quint32 OLP_Logic_CameraLens::focusPositionMin() const
{
    return u32(OffsetFocusPositionMin);
}

quint32 OLP_Logic_CameraLens::focusPositionMax() const
{
    return u32(OffsetFocusPositionMax);
}

bool OLP_Logic_CameraLens::isCentralShutterAvailable() const
{
    return (u8(OffsetFlags) & 0x01) != 0;
}

qint32 OLP_Logic_CameraLens::lensID() const
{
    return qint32(u32(OffsetLensID));
}

int OLP_Logic_CameraLens::selectedFocalLength() const
{
    return u16(OffsetSelectedFocalLength);
}

QString OLP_Logic_CameraLens::lensFileVersion() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(u8(OffsetLensFileVersion))
        .arg(u8(OffsetLensFileVersion + 1))
        .arg(u8(OffsetLensFileVersion + 2))
        .arg(u8(OffsetLensFileVersion + 3));
}

void OLP_Logic_CameraLens::dump(const char* callerName) const
{
    static const char* const name = "OLP_Logic_CameraLens::dump";
    dumpBuffer(QStringLiteral("%1 for %2:").arg(QLatin1String(name), QLatin1String(callerName ? callerName : "")),
               QStringLiteral("lensData"), m_image.data(), ImageSize, 0, 16);

    const QByteArray typeText = printableAscii(lensTypeString().toLatin1());
    const quint16 openRaw = u16(OffsetOpenApertureValue);
    const quint16 closeRaw = u16(OffsetCloseApertureValue);
    debugPrintf(0, "%s - isLensConnected            = %d", name, isLensConnected() ? 1 : 0);
    debugPrintf(0, "%s - isAutoLensSelectionEnabled = %d", name, isAutoLensSelectionEnabled() ? 1 : 0);
    debugPrintf(0, "%s - lensTypeString             = \"%s\"", name, typeText.constData());
    debugPrintf(0, "%s - lensType                   = %d", name, lensType());
    debugPrintf(0, "%s - lensSerialNumber           = %d", name, lensSerialNumber());
    debugPrintf(0, "%s - lensFirmwareVersion        = %d", name, lensFirmwareVersion());
    debugPrintf(0, "%s - correctionDataVersion      = %d", name, correctionDataVersion());
    debugPrintf(0, "%s - openApertureValue          = 0x%04X = %d (%.3lf)", name, unsigned(openRaw),
                int(qint16(openRaw)), openApertureValue());
    debugPrintf(0, "%s - closeApertureValue         = 0x%04X = %d (%.3lf)", name, unsigned(closeRaw),
                int(qint16(closeRaw)), closeApertureValue());
    debugPrintf(0, "%s - apertureSteps              = %s", name, apertureStepsText().toLatin1().constData());
    debugPrintf(0, "%s - focalLengthMin             = %d mm", name, focalLengthMin());
    debugPrintf(0, "%s - focalLengthMax             = %d mm", name, focalLengthMax());
    debugPrintf(0, "%s - focusPositionMin           = %.3lf m", name, double(focusPositionMin()) / 1000.0);
    debugPrintf(0, "%s - focusPositionMax           = %.3lf m", name, double(focusPositionMax()) / 1000.0);
    debugPrintf(0, "%s - isCentralShutterAvailable  = %s", name, isCentralShutterAvailable() ? "true" : "false");
    debugPrintf(0, "%s - lensID                     = %d", name, lensID());
    debugPrintf(0, "%s - selectedFocalLength        = %d mm", name, selectedFocalLength());
    debugPrintf(0, "%s - lensFileVersion            = %s", name, lensFileVersion().toLatin1().constData());
}
