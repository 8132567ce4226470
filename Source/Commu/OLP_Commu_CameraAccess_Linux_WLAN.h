#pragma once

#include "OLP_Commu_CameraAccess_Base.h"

// Camera access over wireless LAN (connection type 2). There is no transport
// yet: nothing is found, nothing opens, and every transaction fails with a log
// line. Lives in the controller thread like every access object.
class OLP_Commu_CameraAccess_Linux_WLAN : public OLP_Commu_CameraAccess_Base
{
    Q_OBJECT
public:
    explicit OLP_Commu_CameraAccess_Linux_WLAN(QObject* parent = nullptr);

    bool openConnection(quint64 cameraId, int productId, const QString& deviceId) override;
    bool closeConnection() override;
    bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                  const char* callerName, quint32* received = nullptr) override;
    bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params, const char* callerName) override;
    bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                  quint32 dataSize, const char* callerName) override;

public slots:
    bool checkDeviceAvailable() override;
};
