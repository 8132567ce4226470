#pragma once

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <memory>

#include "OLP_Logic_FolderSettingsRecord.h"

class OLP_Commu_CameraAccess_Base;
class OLP_Logic_APEXConverterShutterTime;
class OLP_Logic_Camera;
class OLP_Logic_ConverterAudioLevel;
class OLP_Logic_ConverterAutoPowerOff;
class OLP_Logic_ConverterAutoreviewDuration;
class OLP_Logic_ConverterBase;
class OLP_Logic_ConverterBracketDeltaEV;
class OLP_Logic_ConverterBracketImgNum;
class OLP_Logic_ConverterContrast;
class OLP_Logic_ConverterDngCompression;
class OLP_Logic_ConverterDriveMode;
class OLP_Logic_ConverterExposCompens;
class OLP_Logic_ConverterExposMetering;
class OLP_Logic_ConverterFileFormat;
class OLP_Logic_ConverterFocusDistance;
class OLP_Logic_ConverterIntervalFrames;
class OLP_Logic_ConverterIntervalTime;
class OLP_Logic_ConverterJpgColorSpace;
class OLP_Logic_ConverterJpgResolution;
class OLP_Logic_ConverterMonochrome;
class OLP_Logic_ConverterOrientation;
class OLP_Logic_ConverterPhotoAspectRatio;
class OLP_Logic_ConverterSaturation;
class OLP_Logic_ConverterSensitivity;
class OLP_Logic_ConverterSensorFormat;
class OLP_Logic_ConverterSharpness;
class OLP_Logic_ConverterVideoFileFormat;
class OLP_Logic_ConverterVideoFormatResol;
class OLP_Logic_ConverterVideoResAndFrRate;
class OLP_Logic_ConverterWarning;
class OLP_Logic_ConverterWhiteBalTemp;
class OLP_Logic_ConverterWhiteBalance;

// Texts shared by the controller and the GUI.
extern const QString kOLP_BulbText;      // "B", the bulb entry of the shutter-time list
extern const QString kOLP_NoValueText;   // "--"
extern const QString kOLP_ErrorText;     // "Error"
extern const QString kOLP_InfinityText;  // "Infinity"

// The one object between the GUI and the camera. It owns the USB camera access,
// polls for cameras once per second, connects to every camera announced, creates
// the camera object when the connection opens and deletes it when it closes, and
// translates in both directions through one value converter per setting: texts
// chosen in the GUI become camera values, camera values become texts and text
// lists for the GUI.
//
// Thread: created, used and deleted in the controller thread (the worker's loop,
// OLP_Logic_ControllerWorker), where the access object, the camera object, the
// converters and the timers live too. Owns the access objects, the camera object
// and the converters.
//
// Safe to call from any thread: productId(), productName(), liveViewMode() and
// has3DAxisData() answer from values the controller thread keeps up to date
// under m_stateLock; setFolderSettings(), setIsUnitFeet(), setWantQuickView(),
// doCaptureBtnPressed() and doCaptureBtnReleased() called from another thread
// are handed to the controller thread as queued calls.
// Everything else is reached through queued connections.
class OLP_Logic_Controller : public QObject
{
    Q_OBJECT
public:
    // Creates the USB access (connection type 1) with the access factory.
    explicit OLP_Logic_Controller(QObject* parent = nullptr);
    // Uses the given access object as the USB access and owns it (null: none).
    explicit OLP_Logic_Controller(OLP_Commu_CameraAccess_Base* usbAccess, QObject* parent = nullptr);
    ~OLP_Logic_Controller() override;

    // Queries for the GUI; any thread.
    quint32 productId() const;
    QString productName() const;
    int liveViewMode() const;
    bool has3DAxisData() const;

    // Controller thread.
    bool hasCamera() const { return m_camera != nullptr; }
    OLP_Logic_Camera* camera() const { return m_camera; }
    OLP_Commu_CameraAccess_Base* usbAccess() const { return m_usbAccess; }
    QTimer* devicePollTimer() { return &m_devicePollTimer; }
    bool isUnitFeet() const { return m_isUnitFeet; }

    // The longest a closing camera window waits for running picture transfers
    // before the connection is closed under them.
    static constexpr int kTransferWaitMs = 30000;
    // The largest thumbnail or preview the picture store accepts from the camera.
    static constexpr quint32 kMaxPreviewBytes = 64u * 1024u * 1024u;
    // Pictures are read in chunks of this size; smaller or larger objects than
    // the two limits are not loaded.
    static constexpr quint32 kChunkBytes = 6000000;
    static constexpr quint32 kMinObjectBytes = 501;
    static constexpr quint32 kMaxObjectBytes = 199999999;
    // The longest list the shutter-time and aperture lists may grow to.
    static constexpr int kMaxListEntries = 200;

    // The list algorithms, for the slots and for tests. Step in EV.
    // Shutter times from the fastest time up to (not including) the longest, one
    // text per step as far as the converter's grid moves, then the longest time
    // and "B". A grid that stops short or is empty ends the list.
    static QStringList shutterTimeTexts(const OLP_Logic_APEXConverterShutterTime& converter, double fastestSeconds,
                                        double longestSeconds, double stepEv);
    // The open aperture, the grid values strictly between open and close, then
    // the close aperture.
    static QStringList apertureTexts(double openFNumber, double closeFNumber, double stepEv);

    // Exif helpers of the picture store: the orientation entry (tag 0x0112) and
    // the pixel width (tag 0xA002, SHORT) found in the first bytes of a picture;
    // 0 when the entry is not there.
    static int exifOrientation(const QByteArray& prefix);
    static int exifPixelWidth(const QByteArray& prefix);
    static int rotationOfOrientation(int orientation);
    static int sizeClassOf(quint32 productId, int pixelWidth);

signals:
    void signalCameraConnected();
    void signalCameraDisconnected();
    void signalIsAlive(bool alive);
    void signalLoading(bool loading);
    void signalRemainingToLoad(int remaining);
    void signalObjectDeleted(uint handle);
    void signal3DAxisAngles(double pitch, double roll);
    void signalBatteryInfo(int value);
    void signalBatteryLevelIntern(int value);
    void signalBatteryLevelExtern(int value);
    void signalCameraSerialNumber(QString serialNumber);
    void signalLensTypeString(QString lensType);
    void signalBulbCounter(int count);
    void signalSelfTimerCounter(int count);
    void signalLightBalance(int value);
    void signalWantQuickView(bool want);
    void signalFileFormatList(QStringList list);
    void signalFileFormat(int fileFormat);
    void signalFileFormat(QString text);
    void signalUseDngCompression(bool use);
    void signalUseJpgColorSpace(bool use);
    void signalUseJpgResolution(bool use);
    void signalAudioLevelIsManual(bool manual);
    void signalExposureSimulationList(QVector<int> list);
    void signalExposureSimulation(bool on);
    void signalExposureSimulation(int value);
    void signalDngPath(QString path);
    void signalJpgPath(QString path);
    void signalPictureExample(QString fileName);
    void signalPictureName(QString name);
    void signalPictureIndex(int index);
    void signalExposureModeList(QStringList list);
    void signalExposureMode(int mode);
    void signalExposureModeSilent(int mode);
    void signalShutterTimeSilent(QString text);
    void signalExposCompensStep(int step);
    void signalSensitivityAuto(bool automatic);
    void signalIsWhiteBalTemp(bool isTemperature);
    void signalIntervalFramesRange(int first, int last);
    void signalIntervalTimeRange(int first, int last);
    void signalFocusIsUnitFeet(bool feet);
    void signalFocusMaxDistance(QString text);
    void signalFocusMinDistance(QString text);
    void signalNoFocusConfirmation();
    void signalHasVideoRecording(bool has);
    void signalHasLiveView(bool has);
    void signalLiveAudioLevel(double left, double right, double leftPeak, double rightPeak);
    void signalLiveTimeCode(int hours, int minutes, int seconds, int frames);
    void signalLiveZoomInfo(int selectedStripe, int zoomLevel, double x, double y);
    void signalLiveZoomRect(double x, double y, double width, double height);
    void signalLiveViewMode(int mode);
    void signalLiveViewPhoto(bool on);
    void signalLiveViewVideo(bool on);
    void signalLiveView(QImage image);
    void signalNoLiveView();
    void signalWarning(QString text);
    void signalQuickView(QByteArray data, QString fileName, int orientation);
    void signalNoQuickView();
    // Sent only with data.
    void signalThumbReceived(QByteArray data, QString name, uint handle, bool isBig);
    // An empty array when the picture could not be loaded.
    void signalImageForSharingReceived(QByteArray data, bool isDng);
    // Why the camera that was found cannot be opened (eCameraProblem, text by
    // OLP_Logic_CameraProblem::text), and eCameraProblem::None when it opened
    // or left the bus. Sent when the problem changes.
    void signalCameraProblem(int problem);
    void signalImageDBChangeBegin();
    void signalImageDBChangeEnd();

    // Has-signals, lists and values of the settings.
    void signalHasLensConnectionType(bool has);
    void signalLensConnectionType(int value);
    void signalHasPowerSwitch(bool has);
    void signalPowerSwitch(int value);
    void signalHasFlashStatus(bool has);
    void signalFlashStatus(int value);
    void signalHasFlashXSymbol(bool has);
    void signalFlashXSymbol(bool on);
    void signalHasKeyLock(bool has);
    void signalKeyLock(bool on);
    void signalHasMirrorUpMode(bool has);
    void signalMirrorUpMode(bool on);
    void signalHasDngCompression(bool has);
    void signalDngCompressionList(QStringList list);
    void signalDngCompression(QString text);
    void signalHasJpgColorSpace(bool has);
    void signalJpgColorSpaceList(QStringList list);
    void signalJpgColorSpace(QString text);
    void signalHasJpgResolution(bool has);
    void signalJpgResolutionList(QStringList list);
    void signalJpgResolution(QString text);
    void signalHasAutoreviewDuration(bool has);
    void signalAutoreviewDurationList(QStringList list);
    void signalAutoreviewDuration(QString text);
    void signalHasAutoPowerOff(bool has);
    void signalAutoPowerOffList(QStringList list);
    void signalAutoPowerOff(QString text);
    void signalHasSensorFormat(bool has);
    void signalSensorFormatList(QStringList list);
    void signalSensorFormat(QString text);
    void signalHasPhotoAspectRatio(bool has);
    void signalPhotoAspectRatioList(QStringList list);
    void signalPhotoAspectRatio(QString text);
    void signalHasVideoFileFormat(bool has);
    void signalVideoFileFormatList(QStringList list);
    void signalVideoFileFormat(QString text);
    void signalHasVideoResAndFrRate(bool has);
    void signalVideoResAndFrRateList(QStringList list);
    void signalVideoResAndFrRate(QString text);
    void signalHasVideoFormatResol(bool has);
    void signalVideoFormatResolList(QStringList list);
    void signalVideoFormatResol(QString text);
    void signalHasContrast(bool has);
    void signalContrastList(QStringList list);
    void signalContrast(QString text);
    void signalHasSharpness(bool has);
    void signalSharpnessList(QStringList list);
    void signalSharpness(QString text);
    void signalHasSaturation(bool has);
    void signalSaturationList(QStringList list);
    void signalSaturation(QString text);
    void signalHasMonochrome(bool has);
    void signalMonochromeList(QStringList list);
    void signalMonochrome(QString text);
    void signalHasOrientation(bool has);
    void signalOrientationList(QStringList list);
    void signalOrientation(int value);
    void signalHasAudioLevel(bool has);
    void signalAudioLevelList(QStringList list);
    void signalAudioLevel(QString text);
    void signalHasAudioWindElim(bool has);
    void signalAudioWindElim(bool on);
    void signalHasAudioVolSpeaker(bool has);
    void signalAudioVolSpeaker(int value);
    void signalHasAudioVolHeadphone(bool has);
    void signalAudioVolHeadphone(int value);
    void signalHasAudioVolMicrophone(bool has);
    void signalAudioVolMicrophone(int value);
    void signalAudioVolMicrophone(double value);
    void signalHasExposureSimulation(bool has);
    void signalExposMeteringList(QStringList list);
    void signalExposMetering(int value);
    void signalExposMetering(QString text);
    void signalHasAperture(bool has);
    void signalApertureList(QStringList list);
    void signalAperture(QString text);
    void signalShutterTimeList(QStringList list);
    void signalShutterTime(QString text);
    void signalExposCompensList(QStringList list);
    void signalExposCompens(int value);
    void signalExposCompens(QString text);
    void signalSensitivityList(QStringList list);
    void signalSensitivity(int value);
    void signalSensitivity(QString text);
    void signalHasWhiteBalance(bool has);
    void signalWhiteBalanceList(QStringList list);
    void signalWhiteBalance(int value);
    void signalWhiteBalance(QString text);
    void signalWhiteBalTempList(QStringList list);
    void signalWhiteBalTemp(QString text);
    void signalDriveModeList(QStringList list);
    void signalDriveMode(int value);
    void signalDriveMode(QString text);
    void signalBracketEnabled(bool enabled);
    void signalBracketImgNumList(QStringList list);
    void signalBracketImgNum(QString text);
    void signalBracketDeltaEVList(QStringList list);
    void signalBracketDeltaEV(QString text);
    void signalIntervalFramesList(QStringList list);
    void signalIntervalFrames(int value);
    void signalIntervalFrames(QString text);
    void signalIntervalTimeList(QStringList list);
    void signalIntervalTime(int value);
    void signalIntervalTime(QString text);
    void signalHasFocusMode(bool has);
    void signalFocusMode(int mode);
    void signalHasFocusDistance(bool has);
    void signalFocusDistance(QString text);
    void signalHasFocusConfirmation(bool has);
    void signalFocusConfirmation(int value);
    void signalFocusConfirmBadSig(bool bad);
    void signalHasAutoFocusLimit(bool has);
    void signalAutoFocusLimit(bool on);
    void signalAutoFocusLimitDist(QString text);

public slots:
    // GUI requests.
    void setIsUnitFeet(bool feet);
    void setFlashXSymbol(bool on);
    void setKeyLock(bool on);
    void setWantQuickView(bool want);
    void setMirrorUpMode(bool on);
    // Live view, forwarded to the camera object.
    void setLiveViewCrossPos(double x, double y);
    void setLiveViewCrossPosGlobal(double x, double y);
    void setLiveViewGCPipActive(bool on);
    // Moves the grey-card field (the focus cross) and previews its white balance.
    void setLiveViewGCPipPos(double x, double y);
    void doLiveViewGCPipSave();
    void doLiveViewAFExec();
    void doLiveViewAFPressed();
    void doLiveViewAFReleased();
    void toggleLiveViewZoom();
    void setLiveViewPhoto(bool on);
    void setLiveViewVideo(bool on);
    void setWantLiveView(bool want);
    void setFileFormat(int fileFormat);
    void setFileFormat(QString text);
    void setDngCompression(QString text);
    void setJpgColorSpace(QString text);
    void setJpgResolution(QString text);
    void setAutoreviewDuration(QString text);
    void setAutoPowerOff(QString text);
    void setSensorFormat(QString text);
    void setPhotoAspectRatio(QString text);
    void setVideoFileFormat(QString text);
    void setVideoResAndFrRate(QString text);
    void setVideoFormatResol(QString text);
    void setContrast(QString text);
    void setSharpness(QString text);
    void setSaturation(QString text);
    void setMonochrome(QString text);
    void setElectronicShutter(bool on);
    void setAudioLevelIsManual(bool manual);
    void setAudioLevel(int value);
    void setAudioLevel(QString text);
    void setAudioWindElim(bool on);
    void setAudioVolSpeaker(int value);
    void setAudioVolHeadphone(int value);
    void setAudioVolMicrophone(double value);
    void setAudioVolMicrophone(int value);
    void setExposureSimulation(bool on);
    void setExposureSimulation(int value);
    void setDngPath(QString path);
    void setJpgPath(QString path);
    void setPictureName(QString name);
    void setPictureIndex(int index);
    void setExposureMode(int mode);
    void setExposMetering(int value);
    void setExposMetering(QString text);
    void setAperture(double fNumber);
    void setAperture(QString text);
    void setShutterTime(double seconds);
    void setShutterTime(QString text);
    void setExposCompens(int milliEv);
    void setExposCompens(QString text);
    void setExposCompensStep(int step);
    void setSensitivity(int value);
    void setSensitivity(QString text);
    void setWhiteBalance(int index);
    void setWhiteBalance(QString text);
    void setWhiteBalTemp(int value);
    void setWhiteBalTemp(QString text);
    void setDriveMode(int mode);
    void setDriveMode(QString text);
    void setBracketEnabled(bool enabled);
    void setBracketImgNum(int number);
    void setBracketImgNum(QString text);
    void setBracketDeltaEV(int milliEv);
    void setBracketDeltaEV(QString text);
    void setIntervalFrames(int frames);
    void setIntervalFrames(QString text);
    void setIntervalTime(int seconds);
    void setIntervalTime(QString text);
    void setFocusMode(int mode);
    void setFocusDistance(double distance);
    void setFocusDistance(QString text);
    void setFocusDistanceDec();
    void setFocusDistanceInc();
    void setAutoFocusLimit(bool on);

    // Picture store.
    void loadThumb(uint handle, bool isBig);
    void loadImageForSharing(int index, bool fullRes, bool forceDNG);
    void deleteObjectFromImageDB(uint handle);
    bool deleteObject(uint handle);

    // GUI life.
    void catchCameraGUIOpened();
    void catchLiveViewGUIOpened();
    // The live-view window has shown a frame: the camera may poll the next one.
    void catchLiveViewConsumed();
    void catchLiveViewGUIClosed();
    // The pixel size the live view window shows frames at, in the frame's own
    // orientation: the camera decodes no more pixels than that needs.
    void setLiveViewDisplaySize(const QSize& size);
    void catchCameraGUIClosed();
    void catchConnectToCamera(int connectionType, qulonglong cameraId, int productId, QString deviceId);

    // Values from the camera object.
    void emit3DAxisAngles(double pitch, double roll);
    void emitBatteryInfo(int value);
    void emitBatteryLevelIntern(int value);
    void emitBatteryLevelExtern(int value);
    void emitCameraSerialNumber(QString serialNumber);
    void emitLensTypeString(QString lensType);
    void emitLensConnectionType(int value);
    void emitPowerSwitch(int value);
    void emitFlashStatus(int value);
    void emitFlashXSymbol(bool on);
    void emitLightBalance(int value);
    void emitKeyLock(bool on);
    void emitMirrorUpMode(bool on);
    void emitFileFormat(int fileFormat);
    void emitUseDngCompression(int fileFormat);
    void emitDngCompression(bool on);
    void emitUseJpgColorSpace(int fileFormat);
    void emitJpgColorSpace(int value);
    void emitUseJpgResolution(int fileFormat);
    void emitJpgResolution(int value);
    void emitAutoreviewDuration(int value);
    void emitAutoPowerOff(int value);
    void emitSensorFormat(int value);
    void emitPhotoAspectRatio(int value);
    void emitVideoFileFormat(int value);
    void emitVideoResAndFrRate(int value);
    void emitVideoFormatResol(int value);
    void emitContrast(int value);
    void emitSharpness(int value);
    void emitSaturation(int value);
    void emitMonochrome(int value);
    void emitOrientation(int value);
    void emitAudioLevel(int value);
    void emitAudioWindElim(int value);
    void emitAudioVolSpeaker(int value);
    void emitAudioVolHeadphone(int value);
    void emitAudioVolMicrophone(int value);
    void emitExposureSimulation(int value);
    void emitExposureMode(int mode);
    void emitExposMetering(int value);
    void emitAperture(double fNumber);
    void emitShutterTime(double seconds);
    void emitExposCompens(int milliEv);
    void emitExposCompensStep(int step);
    void emitSensitivity(int value);
    void emitSensitivityAuto(bool automatic);
    void emitWhiteBalance(int index);
    void emitWhiteBalTemp(int value);
    void emitDriveMode(int mode);
    void emitBracketEnabled(bool enabled);
    void emitBracketImgNum(int number);
    void emitBracketDeltaEV(int milliEv);
    void emitIntervalFrames(int frames);
    void emitIntervalTime(int seconds);
    void emitFocusMode(int mode);
    void emitFocusIsUnitFeet();
    void emitFocusDistance(int millimetres);
    void emitFocusMaxDistance(int millimetres);
    void emitFocusMinDistance(int millimetres);
    void emitFocusConfirmation(int value);
    void emitFocusConfirmBadSig(bool bad);
    void emitNoFocusConfirmation();
    void emitAutoFocusLimit(bool on);
    void emitAutoFocusLimitDist(int millimetres);
    void emitWarning(int value);
    void emitFileNameAndNumber();
    void emitPictureExampleName();

    // Lists.
    void emitFileFormatList();
    void emitDngCompressionList();
    void emitJpgColorSpaceList();
    void emitJpgResolutionList();
    void emitAutoreviewDurationList();
    void emitAutoPowerOffList();
    void emitSensorFormatList();
    void emitPhotoAspectRatioList();
    void emitVideoFileFormatList();
    void emitVideoResAndFrRateList();
    void emitVideoFormatResolList();
    void emitContrastList();
    void emitSharpnessList();
    void emitSaturationList();
    void emitMonochromeList();
    void emitOrientationList();
    void emitAudioLevelList();
    void emitExposureSimulationList();
    void emitExposMeteringList();
    void emitApertureList();
    void emitShutterTimeList();
    void emitExposCompensList();
    void emitSensitivityList();
    void emitWhiteBalanceList();
    void emitWhiteBalTempList();
    void emitDriveModeList();
    void emitBracketImgNumList();
    void emitBracketDeltaEVList();
    void emitIntervalFramesList();
    void emitIntervalTimeList();

    // ---- capture sequences ----
public slots:
    // Capture button of the camera window; called from another thread (the TCP
    // release command) they are handed to the controller thread as queued calls.
    void doCaptureBtnPressed();
    void doCaptureBtnReleased();
    void doVidCaptBtnPressed();
    void doVidCaptBtnReleased();
    void tickInterval();
    void tickIntervalReleaseInMirrorUpMode();
    void emitBulbCounter(int count);
    void emitSelfTimerCounter(int count);

public:
    // The counter display falls back to the shutter time this long after the
    // last counter event.
    static constexpr int kCounterResetMs = 2000;
    // Between the mirror and the shutter release of one interval frame.
    static constexpr int kMirrorUpDelayMs = 300;
    // State of the capture sequences, for the GUI-less tests; controller thread.
    bool intervalEnabled() const { return m_intervalEnabled; }
    bool intervalRunning() const { return m_intervalRunning; }
    int intervalRemaining() const { return m_intervalRemaining; }
    bool readyForNextFrame() const { return m_readyForNextFrame; }
    int bracketCount() const { return m_bracketCount; }
    int bulbState() const { return m_bulbState; }
    QTimer* intervalTimer() const { return m_intervalTimer; }
    // Frames and seconds of the series the controller runs itself (controller thread).
    int intervalFrames() const { return m_intervalFrames; }
    int intervalTime() const { return m_intervalTime; }
    QTimer* bulbResetTimer() { return &m_bulbResetTimer; }
    QTimer* selfTimerResetTimer() { return &m_selfTimerResetTimer; }
    // Milliseconds per unit of the interval time (a second); tests shorten it.
    void setIntervalUnitMs(int ms) { m_intervalUnitMs = ms; }
    // ---- end of capture sequences ----

public:
    // Hands the four folder values to the camera's folder settings; any thread.
    void setFolderSettings(const OLP_Logic_FolderSettingsRecord& record);

private slots:
    void catchDeviceAvailable(int connectionType, qulonglong cameraId, int productId, QString deviceId);
    void catchConnectionOpened(int connectionType);
    void catchConnectionClosed(int connectionType);
    void catchOpenProblem(int connectionType, int problem, QString deviceId);
    void catchTransferRequest();
    void catchLensChanged();
    void catchElectronicShutter(int value);
    void catchExposCompensStep(int step);
    void catchLiveViewMode(int liveViewMode);
    void catchMaxShutterTime(double seconds);
    // Capture sequences.
    void catchDngTransferDone();
    void catchBulbResetTimerFired();
    void catchSelfResetTimerFired();

private:
    bool noCamera(const char* method) const;
    // Without camera or converter: logs one line and returns false.
    bool canConvert(const char* method, bool haveConverter, const char* setting) const;
    // The value of a text chosen from the converter's list; false (and one log
    // line) when there is no camera, no converter or the text is not in the list.
    bool valueOfText(const char* method, const OLP_Logic_ConverterBase* converter, const char* setting,
                     const QString& text, int* value) const;
    // Whether the white balance index is the colour temperature entry.
    bool isColorTemperature(int whiteBalanceIndex) const;
    // EV step of the shutter-time or aperture list; 0.0 when the step value is unknown.
    double listStepEv(bool forShutterTime) const;
    // Keeps the process-wide aperture conversion on this camera's product and step.
    void updateApertureConversion();
    void createConverters();
    void deleteConverters();
    void connectCamera();
    // Takes the camera down without waiting for the closed signal: connections,
    // converters, camera object, cached state.
    void releaseCamera();
    void updateCachedState();
    // Sends signalCameraProblem when the problem changed.
    void reportCameraProblem(int problem);
    bool inOwnThread() const;
    // Empty on a failed or short read.
    QByteArray readWholeObject(const char* method, quint32 handle, quint32 size);
    QByteArray readPreview(const char* method, quint32 handle, qint32 thumbType, quint32 size);

    OLP_Commu_CameraAccess_Base* m_usbAccess = nullptr;
    OLP_Commu_CameraAccess_Base* m_secondAccess = nullptr;  // never created in this version
    OLP_Logic_Camera* m_camera = nullptr;
    QSize m_liveViewDisplaySize;
    OLP_Commu_CameraAccess_Base* m_currentAccess = nullptr;
    QList<QMetaObject::Connection> m_accessConnections;

    std::unique_ptr<OLP_Logic_APEXConverterShutterTime> m_shutterTimeConverter;
    std::unique_ptr<OLP_Logic_ConverterAudioLevel> m_audioLevelConverter;
    std::unique_ptr<OLP_Logic_ConverterAutoPowerOff> m_autoPowerOffConverter;
    std::unique_ptr<OLP_Logic_ConverterAutoreviewDuration> m_autoreviewDurationConverter;
    std::unique_ptr<OLP_Logic_ConverterBracketDeltaEV> m_bracketDeltaEVConverter;
    std::unique_ptr<OLP_Logic_ConverterBracketImgNum> m_bracketImgNumConverter;
    std::unique_ptr<OLP_Logic_ConverterContrast> m_contrastConverter;
    std::unique_ptr<OLP_Logic_ConverterDngCompression> m_dngCompressionConverter;
    std::unique_ptr<OLP_Logic_ConverterDriveMode> m_driveModeConverter;
    std::unique_ptr<OLP_Logic_ConverterExposCompens> m_exposCompensConverter;
    std::unique_ptr<OLP_Logic_ConverterExposMetering> m_exposMeteringConverter;
    std::unique_ptr<OLP_Logic_ConverterFileFormat> m_fileFormatConverter;
    std::unique_ptr<OLP_Logic_ConverterFocusDistance> m_focusDistanceConverter;
    std::unique_ptr<OLP_Logic_ConverterIntervalFrames> m_intervalFramesConverter;
    std::unique_ptr<OLP_Logic_ConverterIntervalTime> m_intervalTimeConverter;
    std::unique_ptr<OLP_Logic_ConverterJpgColorSpace> m_jpgColorSpaceConverter;
    std::unique_ptr<OLP_Logic_ConverterJpgResolution> m_jpgResolutionConverter;
    std::unique_ptr<OLP_Logic_ConverterMonochrome> m_monochromeConverter;
    std::unique_ptr<OLP_Logic_ConverterOrientation> m_orientationConverter;
    std::unique_ptr<OLP_Logic_ConverterPhotoAspectRatio> m_photoAspectRatioConverter;
    std::unique_ptr<OLP_Logic_ConverterSaturation> m_saturationConverter;
    std::unique_ptr<OLP_Logic_ConverterSensitivity> m_sensitivityConverter;
    std::unique_ptr<OLP_Logic_ConverterSensorFormat> m_sensorFormatConverter;
    std::unique_ptr<OLP_Logic_ConverterSharpness> m_sharpnessConverter;
    std::unique_ptr<OLP_Logic_ConverterVideoFileFormat> m_videoFileFormatConverter;
    std::unique_ptr<OLP_Logic_ConverterVideoFormatResol> m_videoFormatResolConverter;
    std::unique_ptr<OLP_Logic_ConverterVideoResAndFrRate> m_videoResAndFrRateConverter;
    std::unique_ptr<OLP_Logic_ConverterWarning> m_warningConverter;
    std::unique_ptr<OLP_Logic_ConverterWhiteBalTemp> m_whiteBalTempConverter;
    std::unique_ptr<OLP_Logic_ConverterWhiteBalance> m_whiteBalanceConverter;

    bool m_isUnitFeet = false;
    // Interval values of cameras without their own interval feature.
    int m_intervalFrames = 5;
    int m_intervalTime = 2;
    QTimer m_devicePollTimer;
    // The problem last sent with signalCameraProblem.
    int m_cameraProblem = 0;

    // Guards the answers of the queries that other threads may call:
    // m_cachedProductId, m_cachedProductName, m_cachedLiveViewMode, m_cachedHas3DAxis.
    mutable QMutex m_stateLock;
    quint32 m_cachedProductId = 0;
    QString m_cachedProductName;
    int m_cachedLiveViewMode = 0;
    bool m_cachedHas3DAxis = false;

    // ---- capture sequences (controller thread) ----
    void endIntervalSeries();
    // Drive mode 5 run by the controller.
    bool m_intervalEnabled = false;
    // Releases still to do in the running series.
    int m_intervalRemaining = 0;
    // A series runs; capture presses are ignored.
    bool m_intervalRunning = false;
    // The previous picture of the series has been transferred.
    bool m_readyForNextFrame = true;
    // A child; exists while a series runs.
    QTimer* m_intervalTimer = nullptr;
    int m_intervalUnitMs = 1000;
    int m_bracketCount = 0;  // pictures of the running bracketing series announced so far
    int m_bulbState = 0;     // 0 idle, 1 mirror raised for bulb, 2 bulb open
    QTimer m_bulbResetTimer;
    QTimer m_selfTimerResetTimer;
    // ---- end of capture sequences ----
};
