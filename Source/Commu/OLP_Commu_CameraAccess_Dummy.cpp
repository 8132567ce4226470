#include "OLP_Commu_CameraAccess_Dummy.h"

#include <cstring>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Debug.h"

namespace {

void appendU8(QByteArray& data, quint8 value)
{
    data.append(char(value));
}

void appendU16(QByteArray& data, quint16 value)
{
    appendU8(data, quint8(value & 0xFF));
    appendU8(data, quint8(value >> 8));
}

void appendU32(QByteArray& data, quint32 value)
{
    appendU16(data, quint16(value & 0xFFFF));
    appendU16(data, quint16(value >> 16));
}

// PTP string: count byte (characters + terminator), UTF-16LE units, zero unit.
void appendString(QByteArray& data, const QString& text)
{
    appendU8(data, quint8(text.size() + 1));
    for (const QChar c : text) {
        appendU16(data, c.unicode());
    }
    appendU16(data, 0);
}

// A PTP array of count 16-bit codes, all zero.
void appendZeroCodes(QByteArray& data, quint32 count)
{
    appendU32(data, count);
    for (quint32 i = 0; i < count; ++i) {
        appendU16(data, 0);
    }
}

void putU16(QByteArray& data, int offset, quint16 value)
{
    data[offset] = char(value & 0xFF);
    data[offset + 1] = char(value >> 8);
}

void putU32(QByteArray& data, int offset, quint32 value)
{
    putU16(data, offset, quint16(value & 0xFFFF));
    putU16(data, offset + 2, quint16(value >> 16));
}

// Zero-fills the caller's buffer: every answer, accepted or not, leaves no
// stale bytes behind.
void clearBuffer(quint8* buffer, quint32 dataSize)
{
    if (buffer != nullptr && dataSize != 0) {
        memset(buffer, 0, dataSize);
    }
}

}  // namespace

OLP_Commu_CameraAccess_Dummy::OLP_Commu_CameraAccess_Dummy(QObject* parent)
    : OLP_Commu_CameraAccess_Base(ConnectionTypeDummy, parent),
      m_deviceInfoImage(buildDeviceInfoImage()),
      m_cameraSettingsImage(buildCameraSettingsImage()),
      m_lensImage(buildLensImage())
{}

OLP_Commu_CameraAccess_Dummy::~OLP_Commu_CameraAccess_Dummy() = default;

QByteArray OLP_Commu_CameraAccess_Dummy::buildDeviceInfoImage()
{
    QByteArray data;
    appendU16(data, 100);       // StandardVersion
    appendU32(data, 0);         // VendorExtensionID
    appendU16(data, 0);         // VendorExtensionVersion
    appendU8(data, 0);          // VendorExtensionDesc: empty
    appendU16(data, 0);         // FunctionalMode
    appendZeroCodes(data, 24);  // OperationsSupported
    appendZeroCodes(data, 12);  // EventsSupported
    appendZeroCodes(data, 1);   // DevicePropertiesSupported
    appendZeroCodes(data, 3);   // CaptureFormats
    appendZeroCodes(data, 3);   // ImageFormats
    appendString(data, QStringLiteral("Orvane Dummy AG"));
    appendString(data, QStringLiteral("Kesta2 Digital SLR Dummy"));
    appendString(data, QStringLiteral("01.02.03.04"));
    appendString(data, QStringLiteral("0000000001200345"));
    if (data.size() < 256) {
        data.append(QByteArray(256 - data.size(), '\0'));
    }
    return data;
}

QByteArray OLP_Commu_CameraAccess_Dummy::buildCameraSettingsImage()
{
    QByteArray data(int(CameraSettingsImageSize), '\0');
    putU16(data, 3, 0x0602);
    data[6] = char(1);
    data[10] = char(1);
    data[15] = char(2);
    putU16(data, 16, 0xF908);
    data[19] = char(30);
    putU16(data, 65, 0x3D01);
    data[67] = char(0xFF);
    putU16(data, 69, 80);
    data[71] = char(3);
    putU32(data, 72, 0x07670480);
    putU32(data, 76, 0x000031B3);
    data[80] = char(1);
    return data;
}

QByteArray OLP_Commu_CameraAccess_Dummy::buildLensImage()
{
    QByteArray data(int(LensImageSize), '\0');
    data[0] = char(1);
    const QByteArray name = QByteArray("Varion-Kesta 70").leftJustified(59, ' ');
    memcpy(data.data() + 1, name.constData(), 59);
    data[60] = '\0';
    data[61] = char(0x84);
    putU32(data, 62, 1234567);
    putU32(data, 66, 0x02A41D19);
    putU16(data, 70, 0x0900);
    data[72] = char(2);
    putU32(data, 73, 0x00460046);
    putU32(data, 77, 500);
    putU32(data, 81, 70000);
    return data;
}

bool OLP_Commu_CameraAccess_Dummy::checkDeviceAvailable()
{
    emitDeviceAvailable(0, int(ProductIdKestaD), QStringLiteral("DummyID"));
    return true;
}

bool OLP_Commu_CameraAccess_Dummy::openConnection(quint64 cameraId, int productId, const QString& deviceId)
{
    Q_UNUSED(cameraId);
    Q_UNUSED(deviceId);
    if (this->productId() != 0) {
        return false;
    }
    debugPrintf(8, "%s - ProductId = 0x%X", "OLP_Commu_CameraAccess_Dummy::openConnection", unsigned(productId));
    setProductId(quint32(productId));
    emit signalConnectionOpened(connectionType());
    return true;
}

bool OLP_Commu_CameraAccess_Dummy::closeConnection()
{
    const quint32 id = productId();
    if (id == 0) {
        return false;
    }
    debugPrintf(8, "%s - ProductId = 0x%X", "OLP_Commu_CameraAccess_Dummy::closeConnection", unsigned(id));
    clearConnectionState();
    emit signalConnectionClosed(connectionType());
    return true;
}

bool OLP_Commu_CameraAccess_Dummy::recvData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                            quint8* buffer, quint32 dataSize, const char* callerName, quint32* received)
{
    Q_UNUSED(paramCount);
    Q_UNUSED(params);
    Q_UNUSED(callerName);
    static const char* const name = "OLP_Commu_CameraAccess_Dummy::recvData";
    if (received != nullptr) {
        *received = 0;
    }
    clearBuffer(buffer, dataSize);

    const QByteArray* image = nullptr;
    const char* label = nullptr;
    switch (operationCode) {
        case PTP::OpGetDeviceInfo:
            image = &m_deviceInfoImage;
            label = "Device Info";
            break;
        case PTP::OpGetCameraSettings:
            image = &m_cameraSettingsImage;
            label = "Camera Settings";
            break;
        case PTP::OpGetLensData:
            image = &m_lensImage;
            label = "Lens Parameter";
            break;
        default:
            debugPrintf(0, "%s - Error: command code 0x%08X not implemented", name, operationCode);
            return false;
    }

    const quint32 imageSize = quint32(image->size());
    if (buffer == nullptr || dataSize == 0 || dataSize < imageSize) {
        debugPrintf(0, "%s - Error: command code 0x%08X (%s)", name, operationCode, label);
        return false;
    }
    memcpy(buffer, image->constData(), imageSize);
    if (received != nullptr) {
        *received = imageSize;
    }
    return true;
}

bool OLP_Commu_CameraAccess_Dummy::sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params,
                                               const char* callerName)
{
    Q_UNUSED(operationCode);
    Q_UNUSED(paramCount);
    Q_UNUSED(params);
    Q_UNUSED(callerName);
    debugPrintf(0, "%s - Error: no device connected", "OLP_Commu_CameraAccess_Dummy::sendCommand");
    return false;
}

bool OLP_Commu_CameraAccess_Dummy::sendData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                            const quint8* buffer, quint32 dataSize, const char* callerName)
{
    Q_UNUSED(operationCode);
    Q_UNUSED(paramCount);
    Q_UNUSED(params);
    Q_UNUSED(buffer);
    Q_UNUSED(dataSize);
    Q_UNUSED(callerName);
    debugPrintf(0, "%s - Error: no device connected", "OLP_Commu_CameraAccess_Dummy::sendData");
    return false;
}
