#include "OLP_Commu_CameraAccess_Linux_WLAN.h"

#include <cstring>

#include "OLP_Debug.h"

OLP_Commu_CameraAccess_Linux_WLAN::OLP_Commu_CameraAccess_Linux_WLAN(QObject* parent)
    : OLP_Commu_CameraAccess_Base(2, parent)
{}

bool OLP_Commu_CameraAccess_Linux_WLAN::checkDeviceAvailable()
{
    return false;
}

bool OLP_Commu_CameraAccess_Linux_WLAN::openConnection(quint64, int, const QString&)
{
    return false;
}

bool OLP_Commu_CameraAccess_Linux_WLAN::closeConnection()
{
    return false;
}

bool OLP_Commu_CameraAccess_Linux_WLAN::recvData(quint32, quint32, const quint32*, quint8* buffer, quint32 dataSize,
                                                 const char*, quint32* received)
{
    if (buffer != nullptr && dataSize > 0) {
        memset(buffer, 0, dataSize);
    }
    if (received) {
        *received = 0;
    }
    debugPrintf(0, "%s - Error: no device connected", "OLP_Commu_CameraAccess_Linux_WLAN::recvData");
    return false;
}

bool OLP_Commu_CameraAccess_Linux_WLAN::sendCommand(quint32, quint32, const quint32*, const char*)
{
    debugPrintf(0, "%s - Error: no device connected", "OLP_Commu_CameraAccess_Linux_WLAN::sendCommand");
    return false;
}

bool OLP_Commu_CameraAccess_Linux_WLAN::sendData(quint32, quint32, const quint32*, const quint8*, quint32, const char*)
{
    debugPrintf(0, "%s - Error: no device connected", "OLP_Commu_CameraAccess_Linux_WLAN::sendData");
    return false;
}
