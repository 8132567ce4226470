#pragma once

#include "OLP_GUI_CameraBase.h"

class QLabel;
class QTabWidget;
class QTimer;
class QToolButton;
class QPushButton;
class QWidget;
class OLP_GUI_LoadIndicatorWidget;
class OLP_GUI_7SegmentLoadCounterWidget;
class OLP_GUI_Capture;
class OLP_GUI_File;
class OLP_GUI_PushButton;
class OLP_GUI_ViewFinderBase;

// The camera window of every recognised camera: the viewfinder-style status
// line (the Pelvo camera has its own), the transfer indicator and counter, the
// battery state, the tool buttons (minimal window, key lock, quick view, live
// view photo and video, mirror-up), the video and shutter buttons, and the
// capture and file settings tabs.
//
// The space bar is a shutter button everywhere in the application except in
// text fields: the window filters the application's key events.
//
// Thread: GUI thread only; owns its form and the focus timer.
class OLP_GUI_CameraKesta2 : public OLP_GUI_CameraBase
{
    Q_OBJECT
public:
    static constexpr int kWidth = 360;
    static constexpr int kFullHeight = 490;
    static constexpr int kMinimalHeight = 140;
    static constexpr int kFocusReturnMs = 5000;

    OLP_GUI_CameraKesta2(OLP_GUI_Application* application, const OLP_Logic_Controller* controller,
                         QWidget* parent = nullptr);
    ~OLP_GUI_CameraKesta2() override;

    OLP_GUI_ViewFinderBase* viewFinder() const { return m_viewFinder; }
    bool isSpacePressed() const { return m_spacePressed; }
    bool isOnExternalPower() const { return m_onExternalPower; }

    // The battery image (relative to the image root) for a level in percent.
    static QString batteryImageOf(int level, bool onExternalPower);

public slots:
    void setLoading(bool loading) override;
    void setRemainingToLoad(int remaining) override;
    void set3DAxisAngles(double rollAngle, double pitchAngle) override;
    void setBatteryInfo(int info) override;
    void setBatteryLevelIntern(int level) override;
    void setBatteryLevelExtern(int level) override;
    void setHasPowerSwitch(bool has) override;
    void setPowerSwitch(int position) override;
    void setBulbCounter(int count) override;
    void setSelfTimerCounter(int count) override;
    void setHasFlashStatus(bool has) override;
    void setFlashStatus(int status) override;
    void setHasFlashXSymbol(bool has) override;
    void setFlashXSymbol(bool on) override;
    void setLightBalance(int lightBalance) override;
    void setHasKeyLock(bool has) override;
    void setKeyLock(bool on) override;
    void setHasVideoRecording(bool has) override;
    void setHasLiveView(bool has) override;
    void setLiveViewPhoto(bool on) override;
    void setLiveViewVideo(bool on) override;
    void setWantQuickView(bool want) override;
    void setHasMirrorUpMode(bool has) override;
    void setMirrorUpMode(bool on) override;

    // ---- file settings: the File tab's rows ----
    void setFileFormatList(const QStringList& list) override;
    void setFileFormat(int fileFormat) override;
    void setFileFormat(const QString& text) override;
    void setHasDngCompression(bool has) override;
    void setUseDngCompression(bool use) override;
    void setDngCompressionList(const QStringList& list) override;
    void setDngCompression(const QString& text) override;
    void setHasJpgColorSpace(bool has) override;
    void setUseJpgColorSpace(bool use) override;
    void setJpgColorSpaceList(const QStringList& list) override;
    void setJpgColorSpace(const QString& text) override;
    void setHasJpgResolution(bool has) override;
    void setUseJpgResolution(bool use) override;
    void setJpgResolutionList(const QStringList& list) override;
    void setJpgResolution(const QString& text) override;
    void setHasSensorFormat(bool has) override;
    void setSensorFormatList(const QStringList& list) override;
    void setSensorFormat(const QString& text) override;
    void setHasPhotoAspectRatio(bool has) override;
    void setPhotoAspectRatioList(const QStringList& list) override;
    void setPhotoAspectRatio(const QString& text) override;
    void setHasVideoFileFormat(bool has) override;
    void setVideoFileFormatList(const QStringList& list) override;
    void setVideoFileFormat(const QString& text) override;
    void setHasVideoResAndFrRate(bool has) override;
    void setVideoResAndFrRateList(const QStringList& list) override;
    void setVideoResAndFrRate(const QString& text) override;
    void setHasVideoFormatResol(bool has) override;
    void setVideoFormatResolList(const QStringList& list) override;
    void setVideoFormatResol(const QString& text) override;
    void setDngPath(const QString& path) override;
    void setJpgPath(const QString& path) override;
    void setPictureExample(const QString& fileName) override;
    void setPictureName(const QString& name) override;
    void setPictureIndex(int index) override;

    // ---- capture settings shown in the viewfinder ----
    // Each goes to the viewfinder; the Capture tab's row follows it.
    void setExposureMode(int mode) override;
    void setHasAperture(bool has) override;
    void setAperture(const QString& text) override;
    void setShutterTime(const QString& text) override;
    void setSensitivityAuto(bool automatic) override;
    // Viewfinder only.
    void setExposureSimulation(int value) override;
    void setExposMetering(int value) override;
    void setExposCompens(int milliEv) override;
    void setExposCompensStep(int step) override;
    void setSensitivity(int value) override;
    void setHasFocusConfirmation(bool has) override;
    void setFocusConfirmation(int value) override;
    void setFocusConfirmBadSig(bool bad) override;
    void setNoFocusConfirmation() override;

    // ---- capture settings: the Capture tab's rows ----
    void setLiveViewMode(int mode) override;
    void setExposureModeList(const QStringList& list) override;
    void setExposMeteringList(const QStringList& list) override;
    void setExposMetering(const QString& text) override;
    void setApertureList(const QStringList& list) override;
    void setShutterTimeList(const QStringList& list) override;
    void setExposCompensList(const QStringList& list) override;
    void setExposCompens(const QString& text) override;
    void setSensitivityList(const QStringList& list) override;
    void setSensitivity(const QString& text) override;
    void setHasWhiteBalance(bool has) override;
    void setWhiteBalanceList(const QStringList& list) override;
    void setWhiteBalance(const QString& text) override;
    void setIsWhiteBalTemp(bool isTemperature) override;
    void setWhiteBalTempList(const QStringList& list) override;
    void setWhiteBalTemp(const QString& text) override;
    void setDriveModeList(const QStringList& list) override;
    void setDriveMode(int mode) override;
    void setDriveMode(const QString& text) override;
    void setBracketImgNumList(const QStringList& list) override;
    void setBracketImgNum(const QString& text) override;
    void setBracketDeltaEVList(const QStringList& list) override;
    void setBracketDeltaEV(const QString& text) override;
    void setIsIntervalMode(bool on) override;
    void setIntervalFramesRange(int first, int last) override;
    void setIntervalFramesList(const QStringList& list) override;
    void setIntervalFrames(int frames) override;
    void setIntervalFrames(const QString& text) override;
    void setIntervalTimeRange(int first, int last) override;
    void setIntervalTimeList(const QStringList& list) override;
    void setIntervalTime(int seconds) override;
    void setIntervalTime(const QString& text) override;
    void setHasFocusMode(bool has) override;
    void setFocusMode(int mode) override;
    void setHasFocusDistance(bool has) override;
    void setFocusDistance(const QString& text) override;
    void setFocusIsUnitFeet(bool feet) override;
    void setFocusMaxDistance(const QString& text) override;
    void setFocusMinDistance(const QString& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void catchMinGUIClicked(bool checked);

private:
    void buildForm();
    void connectCaptureTab();
    void applyMinimalMode(bool minimal);
    void updateLiveViewButtons();
    void drawBattery(QLabel* symbol, int level);
    // Lets go of the space-bar shutter: emits the release once.
    void releaseSpace();

    // The form.
    QWidget* m_viewFinderContainer = nullptr;
    QLabel* m_cameraBody = nullptr;
    QLabel* m_cameraHandle = nullptr;
    OLP_GUI_LoadIndicatorWidget* m_loadIndicator = nullptr;
    OLP_GUI_7SegmentLoadCounterWidget* m_loadCounter = nullptr;
    QLabel* m_battIntText = nullptr;
    QLabel* m_battIntSymbol = nullptr;
    QLabel* m_battExtText = nullptr;
    QLabel* m_battExtSymbol = nullptr;
    QToolButton* m_minGUI = nullptr;
    QToolButton* m_keyLock = nullptr;
    QToolButton* m_quickView = nullptr;
    QToolButton* m_lvPhoto = nullptr;
    QToolButton* m_lvVideo = nullptr;
    QToolButton* m_mirrorUp = nullptr;
    QPushButton* m_videoCapture = nullptr;
    OLP_GUI_PushButton* m_capture = nullptr;
    QTabWidget* m_tabWidget = nullptr;
    OLP_GUI_Capture* m_tabCamera = nullptr;
    OLP_GUI_File* m_tabFile = nullptr;

    OLP_GUI_ViewFinderBase* m_viewFinder = nullptr;
    QTimer* m_focusTimer = nullptr;
    bool m_hasLiveView = false;
    bool m_hasPowerSwitch = false;
    bool m_hasVideoRecording = false;
    bool m_onExternalPower = false;
    bool m_spacePressed = false;
};
