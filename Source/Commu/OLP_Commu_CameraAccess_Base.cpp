#include "OLP_Commu_CameraAccess_Base.h"

#include <QVector>

#include "OLP_Commu_DevicePropDesc.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"

#define OLP_NAME(method) "OLP_Commu_CameraAccess_Base::" #method

namespace {
quint32 u(qint32 v)
{
    return static_cast<quint32>(v);
}
}  // namespace

OLP_Commu_CameraAccess_Base::OLP_Commu_CameraAccess_Base(int connectionType, QObject* parent)
    : QObject(parent), m_connectionType(connectionType)
{
    m_propertyTimer.setInterval(100);
    connect(&m_propertyTimer, &QTimer::timeout, this, &OLP_Commu_CameraAccess_Base::timeoutDevicePropertyChanged);
    m_propertyTimer.start();
}

OLP_Commu_CameraAccess_Base::~OLP_Commu_CameraAccess_Base()
{
    m_propertyTimer.stop();
}

// ---- data-in operations -------------------------------------------------------------------------

#define OLP_RECV_SIMPLE(method, opcode)                                                           \
    bool OLP_Commu_CameraAccess_Base::method(quint8* buffer, quint32 dataSize, quint32* received) \
    {                                                                                             \
        debugPrintf(1, "%s - dataSize 0x%08X", OLP_NAME(method), dataSize);                       \
        return recvData(opcode, 0, nullptr, buffer, dataSize, OLP_NAME(method), received);        \
    }

OLP_RECV_SIMPLE(getDeviceInfo, PTP::OpGetDeviceInfo)
OLP_RECV_SIMPLE(getCameraSettings, PTP::OpGetCameraSettings)
OLP_RECV_SIMPLE(getLensData, PTP::OpGetLensData)
OLP_RECV_SIMPLE(get3DAxisData, PTP::OpGet3DAxisData)
OLP_RECV_SIMPLE(getGeotackingData, PTP::OpGetGeotackingData)
OLP_RECV_SIMPLE(getStreamData, PTP::OpGetStreamData)

#undef OLP_RECV_SIMPLE

bool OLP_Commu_CameraAccess_Base::getStreamInfo(quint8* buffer, quint32 dataSize, quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X", OLP_NAME(getStreamInfo), dataSize);
    const quint32 params[1] = {0};
    return recvData(PTP::OpGetStreamInfo, 1, params, buffer, dataSize, OLP_NAME(getStreamInfo), received);
}

bool OLP_Commu_CameraAccess_Base::setCameraSettings(const quint8* buffer, quint32 dataSize)
{
    debugPrintf(1, "%s - dataSize 0x%08X", OLP_NAME(setCameraSettings), dataSize);
    return sendData(PTP::OpSetCameraSettings, 0, nullptr, buffer, dataSize, OLP_NAME(setCameraSettings));
}

bool OLP_Commu_CameraAccess_Base::getObjectInfo(quint8* buffer, quint32 dataSize, qint32 thumbType,
                                                quint32 objectHandle, quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X thumbType %d objectHandle 0x%08X", OLP_NAME(getObjectInfo), dataSize,
                thumbType, objectHandle);
    const quint32 params[2] = {objectHandle, u(thumbType)};
    return recvData(PTP::OpGetObjectInfo, 2, params, buffer, dataSize, OLP_NAME(getObjectInfo), received);
}

bool OLP_Commu_CameraAccess_Base::getThumbnail(quint8* buffer, quint32 dataSize, qint32 thumbType, quint32 objectHandle,
                                               quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X thumbType %d objectHandle 0x%08X", OLP_NAME(getThumbnail), dataSize, thumbType,
                objectHandle);
    if (received) {
        *received = 0;
    }
    if (buffer == nullptr || dataSize == 0) {
        return false;
    }
    const quint32 params[2] = {objectHandle, u(thumbType)};
    return recvData(PTP::OpGetThumb, 2, params, buffer, dataSize, OLP_NAME(getThumbnail), received);
}

bool OLP_Commu_CameraAccess_Base::getObjectPropsSupported(quint8* buffer, quint32 dataSize, quint32 objectFormatCode,
                                                          quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X objectFormatCode 0x%08X", OLP_NAME(getObjectPropsSupported), dataSize,
                objectFormatCode);
    const quint32 params[1] = {objectFormatCode};
    return recvData(PTP::OpGetObjectPropsSupported, 1, params, buffer, dataSize, OLP_NAME(getObjectPropsSupported),
                    received);
}

bool OLP_Commu_CameraAccess_Base::getObjectPropValue(quint8* buffer, quint32 dataSize, quint32 propertyCode,
                                                     quint32 objectHandle, quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X propertyCode 0x%08X objectHandle 0x%08X", OLP_NAME(getObjectPropValue),
                dataSize, propertyCode, objectHandle);
    const quint32 params[2] = {objectHandle, propertyCode};
    return recvData(PTP::OpGetObjectPropValue, 2, params, buffer, dataSize, OLP_NAME(getObjectPropValue), received);
}

bool OLP_Commu_CameraAccess_Base::getObject(quint8* buffer, quint32 dataSize, quint32 objectHandle, quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X objectHandle 0x%08X", OLP_NAME(getObject), dataSize, objectHandle);
    const quint32 params[1] = {objectHandle};
    return recvData(PTP::OpGetObject, 1, params, buffer, dataSize, OLP_NAME(getObject), received);
}

bool OLP_Commu_CameraAccess_Base::getPartialObject(quint8* buffer, quint32 dataSize, quint32 offset,
                                                   quint32 objectHandle, quint32* received)
{
    debugPrintf(1, "%s - dataSize 0x%08X offset 0x%08X objectHandle 0x%08X", OLP_NAME(getPartialObject), dataSize,
                offset, objectHandle);
    const quint32 params[3] = {objectHandle, offset, dataSize};
    return recvData(PTP::OpGetPartialObject, 3, params, buffer, dataSize, OLP_NAME(getPartialObject), received);
}

bool OLP_Commu_CameraAccess_Base::getDevicePropDesc(quint32 propertyCode, quint8* buffer, quint32 dataSize,
                                                    quint32* received)
{
    debugPrintf(1, "%s - propertyCode 0x%08X dataSize 0x%08X", OLP_NAME(getDevicePropDesc), propertyCode, dataSize);
    const quint32 params[1] = {propertyCode};
    return recvData(PTP::OpGetDevicePropDesc, 1, params, buffer, dataSize, OLP_NAME(getDevicePropDesc), received);
}

bool OLP_Commu_CameraAccess_Base::getDevicePropValue(quint32 propertyCode, quint8* buffer, quint32 dataSize,
                                                     quint32* received)
{
    debugPrintf(1, "%s - propertyCode 0x%08X dataSize 0x%08X", OLP_NAME(getDevicePropValue), propertyCode, dataSize);
    const quint32 params[1] = {propertyCode};
    return recvData(PTP::OpGetDevicePropValue, 1, params, buffer, dataSize, OLP_NAME(getDevicePropValue), received);
}

bool OLP_Commu_CameraAccess_Base::setDevicePropValue(quint32 propertyCode, const quint8* buffer, quint32 dataSize)
{
    debugPrintf(1, "%s - propertyCode 0x%08X dataSize 0x%08X", OLP_NAME(setDevicePropValue), propertyCode, dataSize);
    const quint32 params[1] = {propertyCode};
    return sendData(PTP::OpSetDevicePropValue, 1, params, buffer, dataSize, OLP_NAME(setDevicePropValue));
}

// ---- operations without data ------------------------------------------------------------------

bool OLP_Commu_CameraAccess_Base::deleteObject(quint32 objectHandle)
{
    debugPrintf(1, "%s - objectHandle 0x%08X", OLP_NAME(deleteObject), objectHandle);
    const quint32 params[1] = {objectHandle};
    return sendCommand(PTP::OpDeleteObject, 1, params, OLP_NAME(deleteObject));
}

#define OLP_COMMAND_NO_ARGS(method, opcode)                       \
    bool OLP_Commu_CameraAccess_Base::method()                    \
    {                                                             \
        debugPrintf(1, "%s", OLP_NAME(method));                   \
        return sendCommand(opcode, 0, nullptr, OLP_NAME(method)); \
    }

OLP_COMMAND_NO_ARGS(transferObjectReady, PTP::OpTransferObjectReady)
OLP_COMMAND_NO_ARGS(initiateCapture, PTP::OpInitiateCapture)
OLP_COMMAND_NO_ARGS(keepCameraActive, PTP::OpKeepCameraActive)

#undef OLP_COMMAND_NO_ARGS

bool OLP_Commu_CameraAccess_Base::toggleZoomMode()
{
    debugPrintf(1, "%s", OLP_NAME(toggleZoomMode));
    const quint32 params[1] = {1};
    return sendCommand(PTP::OpToggleZoomMode, 1, params, OLP_NAME(toggleZoomMode));
}

#define OLP_COMMAND_ONE_ARG(method, opcode)                           \
    bool OLP_Commu_CameraAccess_Base::method(qint32 command)          \
    {                                                                 \
        debugPrintf(1, "%s - command %d", OLP_NAME(method), command); \
        const quint32 params[1] = {u(command)};                       \
        return sendCommand(opcode, 1, params, OLP_NAME(method));      \
    }

OLP_COMMAND_ONE_ARG(controlAutoFocus, PTP::OpControlAutoFocus)
OLP_COMMAND_ONE_ARG(controlBulbExposure, PTP::OpControlBulbExposure)
OLP_COMMAND_ONE_ARG(controlContinuousExposure, PTP::OpControlContinuousExposure)
OLP_COMMAND_ONE_ARG(controlVideoRecording, PTP::OpControlVideoRecording)
OLP_COMMAND_ONE_ARG(controlPhotoLiveView, PTP::OpControlPhotoLiveView)
OLP_COMMAND_ONE_ARG(controlLVWhiteBalance, PTP::OpControlLVWhiteBalance)

#undef OLP_COMMAND_ONE_ARG

bool OLP_Commu_CameraAccess_Base::controlAutoFocus(qint32 command, qint32 mode)
{
    debugPrintf(1, "%s - command %d mode %d", OLP_NAME(controlAutoFocus), command, mode);
    const quint32 params[2] = {u(command), u(mode)};
    return sendCommand(PTP::OpControlAutoFocus, 2, params, OLP_NAME(controlAutoFocus));
}

bool OLP_Commu_CameraAccess_Base::moveLens(qint32 command, qint32 value)
{
    debugPrintf(1, "%s - command %d value %d", OLP_NAME(moveLens), command, value);
    const quint32 params[2] = {u(command), u(value)};
    return sendCommand(PTP::OpMoveLens, 2, params, OLP_NAME(moveLens));
}

bool OLP_Commu_CameraAccess_Base::setFocusCrossPosition(qint32 positionX, qint32 positionY)
{
    debugPrintf(1, "%s - positionX %d positionY %d", OLP_NAME(setFocusCrossPosition), positionX, positionY);
    const quint32 params[2] = {u(positionX), u(positionY)};
    return sendCommand(PTP::OpSetFocusCrossPosition, 2, params, OLP_NAME(setFocusCrossPosition));
}

bool OLP_Commu_CameraAccess_Base::openQxSession()
{
    const quint32 params[1] = {PTP::QxSessionCode};
    return sendCommand(PTP::OpOpenQxSession, 1, params, OLP_NAME(openQxSession));
}

bool OLP_Commu_CameraAccess_Base::closeQxSession()
{
    const quint32 params[1] = {PTP::QxSessionCode};
    return sendCommand(PTP::OpCloseQxSession, 1, params, OLP_NAME(closeQxSession));
}

bool OLP_Commu_CameraAccess_Base::transaction(quint32 operationCode, quint32 paramCount, const quint32* params,
                                              quint8* buffer, quint32 dataSize, const char* callerName,
                                              quint32* received)
{
    const char* name = callerName ? callerName : OLP_NAME(transaction);
    debugPrintf(1, "%s - operationCode 0x%08X dataSize 0x%08X", name, operationCode, dataSize);
    if (buffer == nullptr || dataSize == 0) {
        if (received) {
            *received = 0;
        }
        return sendCommand(operationCode, paramCount, params, name);
    }
    return recvData(operationCode, paramCount, params, buffer, dataSize, name, received);
}

// ---- release stages ------------------------------------------------------------------------------

bool OLP_Commu_CameraAccess_Base::releaseCam(int releaseStage)
{
    return releaseCam(releaseStage, 0);
}

bool OLP_Commu_CameraAccess_Base::releaseCam(int releaseStage, int param)
{
    debugPrintf(1, "%s - release start - releaseStage %d - param %d", OLP_NAME(releaseCam), releaseStage, param);
    const qint32 values[2] = {releaseStage, param};
    switch (releaseStage) {
        case PTP::StageLensStep:
        case PTP::StageLensStepBack:
        case PTP::StageLensAbsolute:
        case PTP::StageLiveViewOn:
        case PTP::StageLiveViewOff:
        case PTP::StageLVWhiteBalance:
            return releaseCamImpl(2, values);
        default:
            return releaseCamImpl(1, values);
    }
}

bool OLP_Commu_CameraAccess_Base::releaseCam(int releaseStage, int param1, int param2)
{
    debugPrintf(1, "%s - release start - releaseStage %d - param1 %d - param2 %d", OLP_NAME(releaseCam), releaseStage,
                param1, param2);
    const qint32 values[3] = {releaseStage, param1, param2};
    return releaseCamImpl(3, values);
}

bool OLP_Commu_CameraAccess_Base::releaseCamAutoFocusStart()
{
    debugPrintf(1, "%s - release start - releaseStage %d - param %d", OLP_NAME(releaseCam), 1, 0);
    const qint32 values[1] = {PTP::StageAutoFocusStart};
    return releaseCamImpl(1, values);
}

bool OLP_Commu_CameraAccess_Base::releaseCamAutoFocusStop()
{
    debugPrintf(1, "%s - release start - releaseStage %d - param %d", OLP_NAME(releaseCam), 2, 0);
    const qint32 values[1] = {PTP::StageAutoFocusStop};
    return releaseCamImpl(1, values);
}

bool OLP_Commu_CameraAccess_Base::releaseCamImpl(quint32 count, const qint32* values)
{
    const char* name = OLP_NAME(releaseCamImpl);
    if (OLP::isReleaseProduct(productId())) {
        quint32 params[3] = {0, 0, 0};
        for (quint32 i = 0; i < count && i < 3; ++i) {
            params[i] = u(values[i]);
        }
        return sendCommand(PTP::OpReleaseCam, count, params, name);
    }
    if (count == 0) {
        debugPrintf(0, "%s - Error: no input parameters", name);
        return false;
    }
    const int stage = values[0];
    const auto needsParam = [&]() {
        if (count < 2) {
            debugPrintf(0, "%s - Error: missing additional parameter for releaseStage %d", name, stage);
            return false;
        }
        return true;
    };
    switch (stage) {
        case PTP::StageRelease:
            return initiateCapture();
        case PTP::StageAutoFocusStart:
            switch (focusMode()) {
                case 0:
                    return controlAutoFocus(0, 2);
                case 1:
                    return controlAutoFocus(0, 1);
                case 2:
                    return controlAutoFocus(0, 0);
                default:
                    debugPrintf(0, "%s - Error: unknown focusMode %d", name, int(focusMode()));
                    return false;
            }
        case PTP::StageAutoFocusStop:
            return controlAutoFocus(1);
        case PTP::StageBulbOpen:
            return controlBulbExposure(0);
        case PTP::StageBulbClose:
            return controlBulbExposure(1);
        case PTP::StageLensStep:
            return needsParam() && moveLens(1, values[1]);
        case PTP::StageLensStepBack:
            return needsParam() && moveLens(0, values[1]);
        case PTP::StageLensAbsolute:
            return needsParam() && moveLens(2, values[1]);
        case PTP::StageContinuousStart:
            return controlContinuousExposure(0);
        case PTP::StageContinuousStop:
            return controlContinuousExposure(1);
        case PTP::StageKeepAlive:
            return keepCameraActive();
        case PTP::StageVideoStart:
            return controlVideoRecording(0);
        case PTP::StageVideoStop:
            return controlVideoRecording(1);
        case PTP::StageLiveViewOn:
        case PTP::StageLiveViewOff: {
            if (!needsParam()) {
                return false;
            }
            const bool on = stage == PTP::StageLiveViewOn;
            if (values[1] == 0) {
                return controlPhotoLiveView(on ? 0 : 1);
            }
            if (values[1] == 1) {
                return controlVideoRecording(on ? 2 : 3);
            }
            debugPrintf(0, "%s - Error: unknown additional parameter %d for releaseStage %d", name, values[1], stage);
            return false;
        }
        case PTP::StageZoomToggle:
            return toggleZoomMode();
        case PTP::StageFocusCross:
            if (count < 3) {
                debugPrintf(0, "%s - Error: missing additional parameters for releaseStage %d", name, stage);
                return false;
            }
            return setFocusCrossPosition(values[1], values[2]);
        case PTP::StageLVWhiteBalance:
            if (!needsParam()) {
                return false;
            }
            if (u(values[1]) > 3) {
                debugPrintf(0, "%s - Error: unknown additional parameter %d for releaseStage %d", name, values[1],
                            stage);
                return false;
            }
            return controlLVWhiteBalance(values[1]);
        default:
            debugPrintf(0, "%s - Error: unknown releaseStage %d", name, stage);
            return false;
    }
}

// ---- descriptor checks --------------------------------------------------------------------------

bool OLP_Commu_CameraAccess_Base::supportsDevicePropValue(quint32 propertyCode, qint32 value)
{
    QVector<quint8> buffer(1024);
    quint32 received = 0;
    if (!getDevicePropDesc(propertyCode, buffer.data(), quint32(buffer.size()), &received)) {
        return false;
    }
    // Only the bytes that arrived are examined; zeros behind a short answer are not data.
    const OLP_Commu_DevicePropDesc desc(buffer.constData(), received);
    return desc.acceptsValue(value, OLP_NAME(supportsDevicePropValue));
}

bool OLP_Commu_CameraAccess_Base::supportsObjectProp(quint32 objectFormatCode, quint32 propertyCode)
{
    quint8 buffer[204];
    quint32 received = 0;
    if (!getObjectPropsSupported(buffer, sizeof(buffer), objectFormatCode, &received)) {
        return false;
    }
    quint32 count = OLP_Commu_PtpReader::readU32(buffer, sizeof(buffer), 0);
    if (count > 100) {
        count = 100;
    }
    for (quint32 i = 0; i < count; ++i) {
        if (OLP_Commu_PtpReader::readU16(buffer, sizeof(buffer), 4 + 2 * i) == propertyCode) {
            return true;
        }
    }
    return false;
}

void OLP_Commu_CameraAccess_Base::updateStillCaptureModeSupport()
{
    if (productId() == ProductIdKestaD) {
        m_hasStillCaptureMode7.store(supportsDevicePropValue(PTP::PropStillCaptureMode, 7));
    } else {
        m_hasStillCaptureMode7.store(false);
    }
}

// ---- property-change pacing ---------------------------------------------------------------------

void OLP_Commu_CameraAccess_Base::queueDevicePropertyChanged(quint16 propertyCode)
{
    QMutexLocker lock(&m_pendingMutex);
    for (int i = m_pendingPropertyCodes.size() - 1; i >= 0; --i) {
        if (m_pendingPropertyCodes.at(i) == propertyCode) {
            return;
        }
    }
    m_pendingPropertyCodes.append(propertyCode);
}

QList<quint16> OLP_Commu_CameraAccess_Base::pendingPropertyCodes() const
{
    QMutexLocker lock(&m_pendingMutex);
    return m_pendingPropertyCodes;
}

void OLP_Commu_CameraAccess_Base::timeoutDevicePropertyChanged()
{
    quint16 code = 0;
    {
        QMutexLocker lock(&m_pendingMutex);
        if (m_pendingPropertyCodes.isEmpty()) {
            return;
        }
        code = m_pendingPropertyCodes.takeFirst();
    }
    if (code == 0) {
        return;
    }
    if (code == PTP::PropLensChanged) {
        emit signalLensChanged();
    } else {
        emit signalDevicePropertyChanged(code);
    }
}

// ---- helpers for the transports -----------------------------------------------------------------

void OLP_Commu_CameraAccess_Base::emitDeviceAvailable(quint64 cameraId, int productId, const QString& deviceId)
{
    emit signalDeviceAvailable(m_connectionType, cameraId, productId, deviceId);
}

void OLP_Commu_CameraAccess_Base::emitBulbCounter(int count)
{
    if (OLP::isTickProduct(productId())) {
        emit signalBulbCounter(count);
    }
}

void OLP_Commu_CameraAccess_Base::emitSelfTimerCounter(int count)
{
    if (OLP::isTickProduct(productId())) {
        emit signalSelfTimerCounter(count);
    }
}

void OLP_Commu_CameraAccess_Base::setProductId(quint32 productId)
{
    m_productId.store(productId);
}

void OLP_Commu_CameraAccess_Base::clearConnectionState()
{
    m_productId.store(0);
    m_hasStillCaptureMode7.store(false);
    QMutexLocker lock(&m_pendingMutex);
    m_pendingPropertyCodes.clear();
}
