#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>

// The one object through which the program talks to a camera: connection
// state, every camera operation over three transport primitives, the release
// stage dispatcher and the paced queue of property-change notifications.
//
// Thread: lives in the controller thread, which runs its 100 ms property timer.
// Operations may be called from any thread (controller, transfer threads, live
// view); the transports serialise whole transactions with their device mutex.
// queueDevicePropertyChanged() and the emit...Counter() helpers may be called
// from the transport's event thread. productId, hasStillCaptureMode7,
// focusMode and exposureTime are atomic.
class OLP_Commu_CameraAccess_Base : public QObject
{
    Q_OBJECT
public:
    explicit OLP_Commu_CameraAccess_Base(int connectionType, QObject* parent = nullptr);
    ~OLP_Commu_CameraAccess_Base() override;

    // Why a camera that was found could not be opened (signalOpenProblem).
    enum eOpenProblem
    {
        OpenProblemNone = 0,          // opened, or gone from the bus
        OpenProblemInUse = 1,         // another program holds the camera's interface
        OpenProblemNoPermission = 2,  // the user may not open the device
        OpenProblemNotPtp = 3,        // no still image interface: the camera is in another USB mode
        OpenProblemOther = 4,         // the device or its session failed otherwise
    };

    int connectionType() const { return m_connectionType; }
    quint32 productId() const { return m_productId.load(); }
    bool hasStillCaptureMode7() const { return m_hasStillCaptureMode7.load(); }
    quint16 focusMode() const { return m_focusMode.load(); }
    // Set by the typed accessors of property 0x500A after a successful transfer.
    void setFocusModeCache(quint16 mode) { m_focusMode.store(mode); }
    // The shutter time of the next release in seconds, so that its answer,
    // which comes after the exposure, is waited for long enough; below 0
    // while unknown (bulb). Any thread.
    void setExposureTime(double seconds) { m_exposureTime.store(seconds); }
    double exposureTime() const { return m_exposureTime.load(); }

    // Connection operations of every transport.
    virtual bool openConnection(quint64 cameraId, int productId, const QString& deviceId) = 0;
    virtual bool closeConnection() = 0;

    // The three transport primitives. params points to paramCount values (null
    // sends zeros). recvData zero-fills the whole buffer and keeps
    // min(dataSize, received) bytes; received (optional) gets the number of
    // bytes kept, so callers can refuse short answers. callerName names the
    // calling operation in the transport's log lines. True only when the
    // transport succeeded and the camera answered OK.
    virtual bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer,
                          quint32 dataSize, const char* callerName, quint32* received = nullptr) = 0;
    virtual bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params,
                             const char* callerName) = 0;
    virtual bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                          quint32 dataSize, const char* callerName) = 0;

    // Camera operations. Each writes its entry log line (flag 1) and runs one
    // primitive. The optional received gives the number of bytes that arrived.
    bool getDeviceInfo(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool getStreamInfo(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool getCameraSettings(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool setCameraSettings(const quint8* buffer, quint32 dataSize);
    bool getLensData(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool get3DAxisData(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool getGeotackingData(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool getStreamData(quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool getObjectInfo(quint8* buffer, quint32 dataSize, qint32 thumbType, quint32 objectHandle,
                       quint32* received = nullptr);
    bool getThumbnail(quint8* buffer, quint32 dataSize, qint32 thumbType, quint32 objectHandle,
                      quint32* received = nullptr);
    bool getObjectPropsSupported(quint8* buffer, quint32 dataSize, quint32 objectFormatCode,
                                 quint32* received = nullptr);
    bool getObjectPropValue(quint8* buffer, quint32 dataSize, quint32 propertyCode, quint32 objectHandle,
                            quint32* received = nullptr);
    bool getObject(quint8* buffer, quint32 dataSize, quint32 objectHandle, quint32* received = nullptr);
    bool getPartialObject(quint8* buffer, quint32 dataSize, quint32 offset, quint32 objectHandle,
                          quint32* received = nullptr);
    bool getDevicePropDesc(quint32 propertyCode, quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool getDevicePropValue(quint32 propertyCode, quint8* buffer, quint32 dataSize, quint32* received = nullptr);
    bool setDevicePropValue(quint32 propertyCode, const quint8* buffer, quint32 dataSize);
    bool deleteObject(quint32 objectHandle);
    bool transferObjectReady();
    bool initiateCapture();
    bool keepCameraActive();
    bool toggleZoomMode();
    bool controlAutoFocus(qint32 command);
    bool controlAutoFocus(qint32 command, qint32 mode);
    bool controlBulbExposure(qint32 command);
    bool controlContinuousExposure(qint32 command);
    bool controlVideoRecording(qint32 command);
    bool controlPhotoLiveView(qint32 command);
    bool controlLVWhiteBalance(qint32 command);
    bool moveLens(qint32 command, qint32 value);
    bool setFocusCrossPosition(qint32 positionX, qint32 positionY);
    bool openQxSession();
    bool closeQxSession();

    // Any other transaction: with a buffer it reads a data phase into it, without
    // one it runs a command. Logged under callerName (flag 1).
    bool transaction(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                     const char* callerName, quint32* received = nullptr);

    // Release stages (vendor release operation or individual operations).
    bool releaseCam(int releaseStage);
    bool releaseCam(int releaseStage, int param);
    bool releaseCam(int releaseStage, int param1, int param2);
    bool releaseCamAutoFocusStart();
    bool releaseCamAutoFocusStop();

    bool supportsDevicePropValue(quint32 propertyCode, qint32 value);
    bool supportsObjectProp(quint32 objectFormatCode, quint32 propertyCode);
    void updateStillCaptureModeSupport();

    // Called on the event thread: remembers a changed property for the paced drain.
    void queueDevicePropertyChanged(quint16 propertyCode);
    QList<quint16> pendingPropertyCodes() const;

signals:
    void signalDeviceAvailable(int connectionType, qulonglong cameraId, int productId, QString deviceId);
    void signalConnectionOpened(int connectionType);
    void signalConnectionClosed(int connectionType);
    void signal3DAxisDataChanged();
    void signalBulbCounter(int count);
    void signalDevicePropertyChanged(ushort propertyCode);
    void signalGeotackingChanged();
    void signalLensChanged();
    void signalSelfTimerCounter(int count);
    void signalSettingsChanged();
    void signalTransferRequest();
    void signalUpdateImageDB();
    void signalObjectDeleted(uint objectHandle);
    // A camera that was found could not be opened (problem, eOpenProblem), or
    // the camera with a problem opened or left the bus (OpenProblemNone).
    void signalOpenProblem(int connectionType, int problem, QString deviceId);

protected slots:
    void timeoutDevicePropertyChanged();

public slots:
    // Looks for a camera; true when a new one was found and announced.
    virtual bool checkDeviceAvailable() = 0;

protected:
    void emitDeviceAvailable(quint64 cameraId, int productId, const QString& deviceId);
    // Emit only for the four products that report these ticks.
    void emitBulbCounter(int count);
    void emitSelfTimerCounter(int count);
    // Transports set the product ID on open and clear it on close; closing also
    // forgets the pending property codes of the camera that went away.
    void setProductId(quint32 productId);
    void clearConnectionState();

private:
    bool releaseCamImpl(quint32 count, const qint32* values);

    const int m_connectionType;
    std::atomic<quint32> m_productId{0};
    std::atomic<bool> m_hasStillCaptureMode7{false};
    std::atomic<quint16> m_focusMode{2};
    std::atomic<double> m_exposureTime{-1.0};
    QList<quint16> m_pendingPropertyCodes;
    // Guards m_pendingPropertyCodes (filled on the event thread, drained by the timer).
    mutable QMutex m_pendingMutex;
    QTimer m_propertyTimer;
};

// 1 = USB, 2 = wireless LAN, 256 = simulated camera; anything else gives null.
// The caller owns the object.
OLP_Commu_CameraAccess_Base* createCameraAccess(int connectionType);
