#pragma once

#include <QByteArray>

#include "OLP_Commu_CameraAccess_Base.h"

// A camera-access object with no device behind it (connection type 256). It
// announces one camera on every poll, accepts open and close, and answers the
// three reads made when a camera connects (device information, camera
// settings, lens data) from fixed images; every other transaction fails.
//
// Thread: lives where its creator puts it (like every access object). The
// images are built in the constructor and never change, so recvData may be
// called from any thread.
class OLP_Commu_CameraAccess_Dummy : public OLP_Commu_CameraAccess_Base
{
    Q_OBJECT
public:
    static constexpr int ConnectionTypeDummy = 256;
    static constexpr quint32 CameraSettingsImageSize = 100;
    static constexpr quint32 LensImageSize = 101;

    explicit OLP_Commu_CameraAccess_Dummy(QObject* parent = nullptr);
    ~OLP_Commu_CameraAccess_Dummy() override;

    bool openConnection(quint64 cameraId, int productId, const QString& deviceId) override;
    bool closeConnection() override;

    bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                  const char* callerName, quint32* received = nullptr) override;
    bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params, const char* callerName) override;
    bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                  quint32 dataSize, const char* callerName) override;

    const QByteArray& deviceInfoImage() const { return m_deviceInfoImage; }
    const QByteArray& cameraSettingsImage() const { return m_cameraSettingsImage; }
    const QByteArray& lensImage() const { return m_lensImage; }

public slots:
    bool checkDeviceAvailable() override;

private:
    static QByteArray buildDeviceInfoImage();
    static QByteArray buildCameraSettingsImage();
    static QByteArray buildLensImage();

    const QByteArray m_deviceInfoImage;
    const QByteArray m_cameraSettingsImage;
    const QByteArray m_lensImage;
};
