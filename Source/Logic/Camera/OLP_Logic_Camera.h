#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

#include "OLP_Logic_CameraSettingsBase.h"
#include "OLP_Logic_FolderSettingsRecord.h"

class OLP_Commu_CameraAccess_Base;
class OLP_Logic_Camera3DAxisData;
class OLP_Logic_CameraGeotackingData;
class OLP_Logic_CameraLens;
class OLP_Logic_CameraStreamInfo;
struct OLP_Logic_LiveViewZoomInfo;
class OLP_Logic_LiveViewPacket;
class OLP_Logic_DeviceInfo;
class OLP_Logic_FolderSettings;
class OLP_Logic_TransferThread;
class QThread;

// One picture on the camera's card, for the thumbnail browser and picture loads.
struct ImageDBEntry
{
    QByteArray thumbnail;
    QString name;
    quint32 handle = 0;
    bool notDng = false;
    int rotation = 360;  // 360: not yet determined
    int sizeClass = 0;
};

// The model of one connected camera: device info, settings, lens, 3D-axis and
// geotagging datasets and folder settings; one signal per changed setting; the
// release and focus primitives; keep-alive; the image database; the transfer
// threads of announced pictures.
//
// Thread: created, used and deleted in the controller thread; its timers and
// the queued connections from the access object run there. Transfer threads
// call, while holding transferLock(): setBusy, setTransferInProgress, the
// continuous-stop flag, releaseCam(13), remaining-to-load, the active-transfer
// counter, the quick-view flags, cameraSettings, productId, transferDone,
// folderSettings and the emit... operations. Those flags and counters are atomic.
// Owns everything it creates; does not own the access object.
class OLP_Logic_Camera : public QObject
{
    Q_OBJECT
public:
    explicit OLP_Logic_Camera(OLP_Commu_CameraAccess_Base* cameraAccess);
    ~OLP_Logic_Camera() override;

    // Feature queries
    bool hasAperture();
    bool hasDngCompression();
    bool hasFocusConfirmation();
    bool hasFocusMode();
    bool hasJpgColorSpace();
    bool hasJpgResolution();
    bool hasStorageType();
    bool hasAutoreviewDuration();
    bool hasAutoPowerOff();
    bool hasSensorFormat();
    bool hasPhotoAspectRatio();
    bool hasVideoFileFormat();
    bool hasVideoResAndFrRate();
    bool hasVideoFormatResol();
    bool hasContrast();
    bool hasSharpness();
    bool hasSaturation();
    bool hasMonochrome();
    bool hasAutoFocusLimit();
    bool hasElectronicShutter();
    bool hasOrientation();
    bool hasAudioLevel();
    bool hasAudioWindElim();
    bool hasAudioVolSpeaker();
    bool hasAudioVolHeadphone();
    bool hasAudioVolMicrophone();
    bool hasExposCompensStep();
    bool hasExposureSimulation();
    bool hasFlashStatus();
    bool hasFlashXSymbol();
    bool hasInterval();
    bool hasKeyLock();
    bool hasLiveView();
    bool hasMirrorUpMode();
    bool hasLensConnectionType();
    bool hasPowerSwitch();
    bool hasVideoRecording();
    bool hasWhiteBalance();
    bool hasWarnings();

    // Getters
    double aperture();
    bool dngCompression();
    int focusConfirmation();
    bool focusConfirmationBadSignal();
    bool focusConfirmationEnabled();
    int focusDistance();
    int focusMode();
    int jpgColorSpace();
    int jpgResolution();
    int storageType();
    int autoreviewDuration();
    int autoPowerOff();
    int sensorFormat();
    int photoAspectRatio();
    int videoFileFormat();
    int videoResAndFrRate();
    int videoFormatResol();
    int contrast();
    int sharpness();
    int saturation();
    int monochrome();
    bool autoFocusLimit();
    int autoFocusLimitDist();
    int electronicShutter();
    int orientation();
    int audioLevel();
    int audioWindElim();
    int audioVolSpeaker();
    int audioVolHeadphone();
    int audioVolMicrophone();
    int exposCompens();
    int exposCompensStep();
    int exposureSimulation();
    int flashStatus();
    bool flashXSymbol();
    int intervalFrames();
    int intervalTime();
    bool keyLock();
    int lensConnectionType();
    int powerSwitch();
    int warning();
    int exposureMode();
    int exposMetering();
    int sensitivity();
    bool sensitivityAuto();
    int driveMode();
    bool bracketingEnabled();
    int bracketingImageNumbers();
    int bracketingDeltaEV();
    double maxShutterTime();
    int batteryInfo();
    int batteryLevelIntern();
    int batteryLevelExtern();
    int selfTimerRestTime();
    int bulbModeTime();
    int lightBalance();
    int whiteBalanceIndex();
    int whiteBalanceColorTemp();
    bool hasFocusDistance();
    bool mirrorUpMode();
    int fileFormat();
    double shutterTime();

    QString productName() const;
    QString serialNumber() const;
    QString lensTypeString() const;
    double openApertureValue() const;
    double closeApertureValue() const;
    int apertureSteps() const;
    quint32 focusPositionMax() const;
    quint32 focusPositionMin() const;
    QString dngPath() const;
    QString jpgPath() const;
    QString pictureExampleFileName() const;
    QString pictureName() const;
    int pictureIndex() const;
    void setFolderSettings(const OLP_Logic_FolderSettingsRecord& record);

    // For the controller and the transfer threads
    OLP_Logic_CameraSettingsBase* cameraSettings() const { return m_settings; }
    OLP_Commu_CameraAccess_Base* cameraAccess() const { return m_cameraAccess; }
    OLP_Logic_DeviceInfo* deviceInfo() const { return m_deviceInfo; }
    OLP_Logic_CameraLens* lens() const { return m_lens; }
    OLP_Logic_FolderSettings* folderSettings() const { return m_folderSettings; }
    quint32 productId() const;
    QMutex* transferLock() { return &m_transferLock; }
    bool isBusy() const { return m_busy.load(); }
    void setBusy(bool busy);
    bool isTransferInProgress();
    void setTransferInProgress(bool inProgress);
    bool isBulbActive() const { return m_bulbActive.load(); }
    void setBulbActive(bool active) { m_bulbActive.store(active); }
    bool isVideoRecording() const { return m_videoRecording.load(); }
    bool continuousStopPending() const { return m_continuousStopPending.load(); }
    void setContinuousStopPending(bool pending) { m_continuousStopPending.store(pending); }
    int remainingToLoad() const { return m_remainingToLoad.load(); }
    void setRemainingToLoad(int remaining) { m_remainingToLoad.store(remaining); }
    void incrementActiveTransfers();
    void decrementActiveTransfers();
    int activeTransfers() const { return m_activeTransfers.load(); }
    bool quickViewSkipNext() const { return m_quickViewSkipNext.load(); }
    void setQuickViewSkipNext(bool skip) { m_quickViewSkipNext.store(skip); }
    bool wantQuickView() const { return m_wantQuickView.load(); }
    bool wantLiveView();
    bool has3DAxisData() const { return m_axisData != nullptr; }
    bool hasGeotackingData() const { return m_geotackingData != nullptr; }
    int savedStorageType() const { return m_savedStorageType; }
    int savedAutoPowerOff() const { return m_savedAutoPowerOff; }
    int transferRequestCount() const { return m_transferRequests; }

    void emitQuickView(const QByteArray& data, const QString& fileName, int orientation);
    void emitDngTransferDone();
    void emitFileNameAndNumber();
    // A transfer thread tells the user about a picture that went wrong.
    void emitTransferWarning(const QString& text);
    bool startBulbMirrorUp();
    bool startBulb();
    bool stopBulb();
    bool stopContinuous();
    void restoreAutoPowerOff();
    void restoreStorageType();
    void transferRequest();
    void transferDone();
    // Waits until every transfer thread has finished, at most timeoutMs in all;
    // true when none is left running. Controller thread.
    bool waitForTransferThreads(int timeoutMs);
    void switchToMFMode();
    void changeToAutoFocusSingle();
    void changeToAutoFocusContinuous();
    void changeToManualFocus();

    // Emits one signal per set flag, in the fixed order of the change record.
    void emitChanged(const SettingsChangeFlags& changes);

    // Image database
    int imageDBCount() const { return m_imageDB.size(); }
    quint32 imageDBHandle(int index) const;
    int imageDBRotation(int index) const;
    int imageDBIndexOf(quint32 handle) const;
    void setImageDBRotation(int index, int rotation);
    void setImageDBSizeClass(int index, int sizeClass);
    void removeImageDBEntry(quint32 handle);
    const QList<ImageDBEntry>& imageDB() const { return m_imageDB; }
    bool isImageDBHoldOffActive() const { return m_timerImageDB.isActive(); }

    // Timers, for tests that drive them by hand
    QTimer* keepAliveTimer() { return &m_timerKeepAlive; }
    QTimer* axisTimer() { return &m_timer3DAxis; }

    // ---- live view ----
    // Streaming is prepared while the stream is enabled at the camera and the
    // single-shot timer polls one packet per frame; at most one poll is
    // pending or running at a time.
    void prepareLiveViewStreaming();
    void finishLiveViewStreaming();
    void checkIfLiveViewIsActive();
    bool isLiveViewStreamingPrepared() const { return m_streamInfo != nullptr; }
    int liveViewFrameInterval() const { return m_frameInterval; }
    int liveViewType() const { return m_liveViewType; }
    int liveViewRestartType() const { return m_liveViewRestartType; }
    bool waitLiveViewConsumed() const { return m_waitLiveViewConsumed; }
    // A delivered frame waits for the GUI's acknowledgement at most this long
    // before the next poll runs all the same (a closed window or a dropped
    // frame must not freeze live view).
    void setLiveViewAckTimeout(int ms) { m_liveViewAckTimeoutMs = ms; }
    int liveViewAckTimeout() const { return m_liveViewAckTimeoutMs; }
    // True while a delivered frame waits for the acknowledgement.
    bool isLiveViewAwaitingAck() const { return m_liveViewAwaitingAck; }
    // The last zoom information of the stream; null before the first one.
    const OLP_Logic_LiveViewZoomInfo* liveViewZoomInfo() const { return m_zoomInfo.get(); }
    QSize liveViewDisplaySize() const { return m_liveViewDisplaySize; }
    // A JPEG frame decoded at the smallest scale 1/1, 1/2, 1/4 or 1/8 whose
    // size still covers display (full size for an empty display size).
    static QImage decodeLiveViewFrame(const QByteArray& jpeg, const QSize& display);
    QTimer* liveViewTimer() { return &m_timerLiveView; }

signals:
    void signalGeotackingChanged();
    void signalLensChanged();
    void signalDngTransferDone();
    void signalIsAlive(bool alive);
    void signalLoading(bool loading);
    void signalRemainingToLoad(int remaining);
    void signal3DAxisAngles(double pitch, double roll);
    void signalBatteryInfo(int value);
    void signalBatteryLevelIntern(int value);
    void signalBatteryLevelExtern(int value);
    void signalMaxShutterTime(double seconds);
    void signalLensConnectionType(int value);
    void signalPowerSwitch(int value);
    void signalSelfTimerRestTime(int value);
    void signalBulbModeTime(int value);
    void signalFlashStatus(int value);
    void signalFlashXSymbol(bool value);
    void signalLightBalance(int value);
    void signalKeyLock(bool value);
    void signalMirrorUpMode(bool value);
    void signalFileFormat(int value);
    void signalDngCompression(bool value);
    void signalJpgColorSpace(int value);
    void signalJpgResolution(int value);
    void signalAutoreviewDuration(int value);
    void signalAutoPowerOff(int value);
    void signalSensorFormat(int value);
    void signalPhotoAspectRatio(int value);
    void signalVideoFileFormat(int value);
    void signalVideoResAndFrRate(int value);
    void signalVideoFormatResol(int value);
    void signalContrast(int value);
    void signalSharpness(int value);
    void signalSaturation(int value);
    void signalMonochrome(int value);
    void signalElectronicShutter(int value);
    void signalOrientation(int value);
    void signalAudioLevel(int value);
    void signalAudioWindElim(int value);
    void signalAudioVolSpeaker(int value);
    void signalAudioVolHeadphone(int value);
    void signalAudioVolMicrophone(int value);
    void signalExposureSimulation(int value);
    void signalExposureMode(int value);
    void signalExposMetering(int value);
    void signalAperture(double value);
    void signalShutterTime(double value);
    void signalExposCompens(int value);
    void signalExposCompensStep(int value);
    void signalSensitivity(int value);
    void signalSensitivityAuto(bool value);
    void signalWhiteBalance(int value);
    void signalWhiteBalTemp(int value);
    void signalDriveMode(int value);
    void signalBracketEnabled(bool value);
    void signalBracketImgNum(int value);
    void signalBracketDeltaEV(int value);
    void signalFocusMode(int value);
    void signalFocusDistance(int value);
    void signalFocusConfirmation(int value);
    void signalFocusConfirmBadSig(bool value);
    void signalNoFocusConfirmation();
    void signalAutoFocusLimit(bool value);
    void signalAutoFocusLimitDist(int value);
    void signalWarnings(int value);
    void signalIntervalFrames(int value);
    void signalIntervalTime(int value);
    void signalLiveAudioLevel(double left, double right, double leftPeak, double rightPeak);
    void signalLiveTimeCode(int hours, int minutes, int seconds, int frames);
    void signalLiveZoomInfo(int selectedStripe, int zoomLevel, double x, double y);
    void signalLiveZoomRect(double x, double y, double width, double height);
    void signalLiveViewMode(int mode);
    void signalLiveViewPhoto(bool on);
    void signalLiveViewVideo(bool on);
    void signalLiveView(const QImage& image);
    void signalNoLiveView();
    void signalQuickView(const QByteArray& data, const QString& fileName, int orientation);
    void signalNoQuickView();
    void signalFileNameAndNumber();
    void signalPictureExampleName();
    void signalImageDBChangeBegin();
    void signalImageDBChangeEnd();
    // A picture could not be transferred or saved where it should have been.
    void signalTransferWarning(const QString& text);

public slots:
    void slotRebuildImageDB();
    void slotDelayedRebuildImageDB();
    void toggleVideoCapture();
    void setWantQuickView(bool want);
    void setMirrorUpMode(bool on);
    void setPictureExampleFileFormat(int fileFormat);
    void setAperture(double value);
    void setDngCompression(bool value);
    void setJpgColorSpace(int value);
    void setJpgResolution(int value);
    void setAutoreviewDuration(int value);
    void setAutoPowerOff(int value);
    void setSensorFormat(int value);
    void setPhotoAspectRatio(int value);
    void setVideoFileFormat(int value);
    void setVideoResAndFrRate(int value);
    void setVideoFormatResol(int value);
    void setContrast(int value);
    void setSharpness(int value);
    void setSaturation(int value);
    void setMonochrome(int value);
    void setAutoFocusLimit(bool value);
    void setElectronicShutter(int value);
    void setAudioLevel(int value);
    void setAudioWindElim(int value);
    void setAudioVolSpeaker(int value);
    void setAudioVolHeadphone(int value);
    void setAudioVolMicrophone(int value);
    void setExposCompens(int value);
    void setExposCompensStep(int value);
    void setExposureSimulation(int value);
    void setFlashXSymbol(bool value);
    void setIntervalFrames(int value);
    void setIntervalTime(int value);
    void setKeyLock(bool value);
    void setExposMetering(int value);
    void setSensitivity(int value);
    void setDriveMode(int value);
    void setBracketDeltaEV(int value);
    void setStorageType(int value);
    void setExposureMode(int mode);
    void setFocusMode(int mode);
    void setFocusDistance(uint position);
    void setFocusDistanceDec();
    void setFocusDistanceInc();
    void setBracketImgNum(int number);
    void setBracketEnabled(bool enabled);
    void setFileFormat(int fileFormat);
    void setShutterTime(double seconds);
    void setWhiteBalanceIndex(uchar index);
    void setWhiteBalanceColorTemp(uint kelvin);
    void setDngPath(const QString& path);
    void setJpgPath(const QString& path);
    void setPictureName(const QString& name);
    void setPictureIndex(int index);
    bool releaseCam(int releaseMode);

    // Live view
    void setLiveViewPhoto(bool on);
    void setLiveViewVideo(bool on);
    void setLiveViewCrossPos(double x, double y);
    void setLiveViewCrossPosGlobal(double x, double y);
    void setLiveViewGCPipActive(bool on);
    void doLiveViewGCPipPreview();
    void doLiveViewGCPipSave();
    void doLiveViewAFExec();
    void doLiveViewAFPressed();
    void doLiveViewAFReleased();
    void toggleLiveViewZoom();
    void setWantLiveView(bool want);
    void setWaitLiveViewConsumed(bool wait);
    void catchLiveViewConsumed();
    // The pixel size the live view window shows a frame at (in the frame's
    // own orientation); frames are decoded at the smallest JPEG scale (1/2,
    // 1/4, 1/8) that still covers it. An empty size decodes at full size.
    void setLiveViewDisplaySize(const QSize& size);

private slots:
    void catchKeepAlive();
    void catchRefresh3DAxisData();
    void catchDevicePropertyChanged(ushort propertyCode);
    void catch3DAxisDataChanged();
    void catchGeotackingChanged();
    void catchLensChanged();
    void catchSettingsChanged();
    void sendSettingsIfDirty();
    void catchLiveViewTimerFired();

private:
    typedef OLP_Logic_CameraSettingsBase Settings;
    template <typename R>
    R query(const char* name, R (Settings::*getter)());
    template <typename A>
    void change(const char* name, void (Settings::*setter)(A), A value);
    void changeFocusMode(const char* name, int mode, bool startAutoFocus);
    bool noFolderSettings(const char* name) const;
    bool noLens(const char* name) const;
    void deleteFinishedTransferThreads();

    // Live view
    void catchLiveViewPropertyChanged(quint16 propertyCode);
    bool readLiveViewProperty(quint16 code, quint32* value);
    bool writeEnabledStreams(quint32 value);
    bool readSupportedStreams(const char* name, quint32* value);
    void releaseStreamBuffers();
    void restartLiveViewTimer();
    void restartLiveViewAfterWhiteBalance();
    bool liveViewRelease(const char* name, int stage, int param);
    void autoFocusPulseInManualMode();
    void logLiveViewPacket(const OLP_Logic_LiveViewPacket& packet, const char* name);

    OLP_Commu_CameraAccess_Base* m_cameraAccess;
    OLP_Logic_CameraSettingsBase* m_settings = nullptr;
    OLP_Logic_CameraLens* m_lens = nullptr;
    OLP_Logic_CameraGeotackingData* m_geotackingData = nullptr;
    OLP_Logic_Camera3DAxisData* m_axisData = nullptr;
    OLP_Logic_DeviceInfo* m_deviceInfo = nullptr;
    OLP_Logic_FolderSettings* m_folderSettings = nullptr;
    QList<ImageDBEntry> m_imageDB;
    QList<OLP_Logic_TransferThread*> m_transferThreads;

    std::atomic<bool> m_busy{false};
    int m_busyTicks = 0;  // keep-alive ticks that found busy set with nothing pending
    bool m_transferInProgress = false;
    std::atomic<bool> m_bulbActive{false};
    std::atomic<bool> m_videoRecording{false};
    std::atomic<bool> m_continuousStopPending{false};
    std::atomic<int> m_remainingToLoad{0};
    std::atomic<int> m_activeTransfers{0};
    int m_savedAutoPowerOff = -1;
    int m_savedStorageType = -1;
    int m_storageTypeBeforeVideo = -1;
    bool m_wantLiveView = true;
    std::atomic<bool> m_wantQuickView{false};
    std::atomic<bool> m_quickViewSkipNext{false};
    bool m_imageDBRebuildPending = false;
    int m_transferRequests = 0;
    QByteArray m_quickViewData;
    QString m_quickViewFileName;

    // Live view (controller thread only, except m_wantLiveView above)
    OLP_Logic_CameraStreamInfo* m_streamInfo = nullptr;
    std::unique_ptr<OLP_Logic_LiveViewZoomInfo> m_zoomInfo;
    std::unique_ptr<quint8[]> m_streamPacket;  // one buffer per streaming session
    quint32 m_streamPacketSize = 0;
    int m_frameInterval = 0;
    QElapsedTimer m_frameClock;  // monotonic, started when streaming is prepared
    qint64 m_pollStartNs = 0;    // start of the last poll on m_frameClock
    qint64 m_pollDueNs = -1;     // when the pending poll is due; -1: not scheduled by the frame clock
    bool m_waitLiveViewConsumed = false;
    bool m_liveViewAwaitingAck = false;
    int m_liveViewAckTimeoutMs = 1000;
    int m_liveViewType = 0;
    QSize m_liveViewDisplaySize;
    int m_liveViewRestartType = 0;
    bool m_zoomGeometryLogged = false;
    QTimer m_timerLiveView;

    QTimer m_timerKeepAlive;
    QTimer m_timer3DAxis;
    QTimer m_timerImageDB;

    // Guards m_transferInProgress.
    QMutex m_transferFlagLock;
    // Guards m_wantLiveView.
    QMutex m_liveViewLock;
    // Serialises keep-alive and 3D-axis reads.
    QMutex m_commandLock;
    // Held by a transfer thread for its whole run, and by the controller while
    // it loads pictures from the card: one camera transfer at a time.
    QMutex m_transferLock;
};
