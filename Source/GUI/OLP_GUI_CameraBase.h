#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

class OLP_GUI_Application;
class OLP_Logic_Controller;

// The window of a connected camera: a thin layer between the controller and
// the widgets that show the camera. Every value the controller sends lands in
// one of the virtual setters below (a subclass forwards it to the widget that
// shows it; the base does nothing with it), and every user action leaves the
// window as one of the signals, which are wired to the controller's slots.
//
// The application creates one per connected camera of a recognised product
// and deletes it on close. This base installs the application's menu bar,
// makes the connections with the controller and the application, saves the
// window's geometry when it closes, and tells the application on its way out
// that the user may have closed it while the camera is still connected.
//
// Thread: GUI thread only. Owns its widgets; the application and the
// controller are not owned. The controller lives in its own thread: from here
// only its thread-safe queries (productId(), productName(), liveViewMode(),
// has3DAxisData()) are called, everything else crosses as queued signals.
class OLP_GUI_CameraBase : public QMainWindow
{
    Q_OBJECT
public:
    OLP_GUI_CameraBase(OLP_GUI_Application* application, const OLP_Logic_Controller* controller,
                       QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~OLP_GUI_CameraBase() override;

    // Set at the start of the destructor, while the window still exists as a
    // QObject; windows that outlive it check this before calling into it.
    bool isBeingDestroyed() const { return m_beingDestroyed; }

    OLP_GUI_Application* application() const { return m_application; }
    const OLP_Logic_Controller* controller() const { return m_controller; }

signals:
    void signalKeyLock(bool on);
    void signalLiveViewPhoto(bool on);
    void signalLiveViewVideo(bool on);
    void signalWantQuickView(bool want);
    void signalMirrorUpMode(bool on);
    void signalCaptureBtnPressed();
    void signalCaptureBtnReleased();
    void signalVidCaptBtnPressed();
    void signalVidCaptBtnReleased();
    void signalFileFormat(const QString& text);
    void signalDngCompression(const QString& text);
    void signalJpgColorSpace(const QString& text);
    void signalJpgResolution(const QString& text);
    void signalSensorFormat(const QString& text);
    void signalPhotoAspectRatio(const QString& text);
    void signalVideoFileFormat(const QString& text);
    void signalVideoResAndFrRate(const QString& text);
    void signalVideoFormatResol(const QString& text);
    void signalDngPath(const QString& path);
    void signalJpgPath(const QString& path);
    void signalPictureName(const QString& name);
    void signalPictureIndex(int index);
    void signalExposureMode(int mode);
    void signalExposMetering(const QString& text);
    void signalAperture(const QString& text);
    void signalShutterTime(const QString& text);
    void signalExposCompens(const QString& text);
    void signalSensitivity(const QString& text);
    void signalWhiteBalance(const QString& text);
    void signalWhiteBalTemp(const QString& text);
    void signalDriveMode(const QString& text);
    void signalBracketImgNum(const QString& text);
    void signalBracketDeltaEV(const QString& text);
    void signalIntervalFrames(int frames);
    void signalIntervalFrames(const QString& text);
    void signalIntervalTime(int seconds);
    void signalIntervalTime(const QString& text);
    void signalFocusMode(int mode);
    void signalFocusDistance(const QString& text);
    void signalFocusDistanceDec();
    void signalFocusDistanceInc();

public slots:
    // Status of the camera and the window's own buttons.
    virtual void setLoading(bool loading);
    virtual void setRemainingToLoad(int remaining);
    virtual void set3DAxisAngles(double rollAngle, double pitchAngle);
    virtual void setBatteryInfo(int info);
    virtual void setBatteryLevelIntern(int level);
    virtual void setBatteryLevelExtern(int level);
    virtual void setHasPowerSwitch(bool has);
    virtual void setPowerSwitch(int position);
    virtual void setBulbCounter(int count);
    virtual void setSelfTimerCounter(int count);
    virtual void setHasFlashStatus(bool has);
    virtual void setFlashStatus(int status);
    virtual void setHasFlashXSymbol(bool has);
    virtual void setFlashXSymbol(bool on);
    virtual void setLightBalance(int lightBalance);
    virtual void setHasKeyLock(bool has);
    virtual void setKeyLock(bool on);
    virtual void setHasVideoRecording(bool has);
    virtual void setHasLiveView(bool has);
    virtual void setLiveViewPhoto(bool on);
    virtual void setLiveViewVideo(bool on);
    virtual void setLiveViewMode(int mode);
    virtual void setWantQuickView(bool want);
    virtual void setHasMirrorUpMode(bool has);
    virtual void setMirrorUpMode(bool on);
    // File settings.
    virtual void setFileFormatList(const QStringList& list);
    virtual void setFileFormat(int fileFormat);
    virtual void setFileFormat(const QString& text);
    virtual void setHasDngCompression(bool has);
    virtual void setUseDngCompression(bool use);
    virtual void setDngCompressionList(const QStringList& list);
    virtual void setDngCompression(const QString& text);
    virtual void setHasJpgColorSpace(bool has);
    virtual void setUseJpgColorSpace(bool use);
    virtual void setJpgColorSpaceList(const QStringList& list);
    virtual void setJpgColorSpace(const QString& text);
    virtual void setHasJpgResolution(bool has);
    virtual void setUseJpgResolution(bool use);
    virtual void setJpgResolutionList(const QStringList& list);
    virtual void setJpgResolution(const QString& text);
    virtual void setHasSensorFormat(bool has);
    virtual void setSensorFormatList(const QStringList& list);
    virtual void setSensorFormat(const QString& text);
    virtual void setHasPhotoAspectRatio(bool has);
    virtual void setPhotoAspectRatioList(const QStringList& list);
    virtual void setPhotoAspectRatio(const QString& text);
    virtual void setHasVideoFileFormat(bool has);
    virtual void setVideoFileFormatList(const QStringList& list);
    virtual void setVideoFileFormat(const QString& text);
    virtual void setHasVideoResAndFrRate(bool has);
    virtual void setVideoResAndFrRateList(const QStringList& list);
    virtual void setVideoResAndFrRate(const QString& text);
    virtual void setHasVideoFormatResol(bool has);
    virtual void setVideoFormatResolList(const QStringList& list);
    virtual void setVideoFormatResol(const QString& text);
    virtual void setDngPath(const QString& path);
    virtual void setJpgPath(const QString& path);
    virtual void setPictureExample(const QString& fileName);
    virtual void setPictureName(const QString& name);
    virtual void setPictureIndex(int index);
    // Capture settings (some of them also shown in the viewfinder).
    virtual void setExposureModeList(const QStringList& list);
    virtual void setExposureMode(int mode);
    virtual void setExposureSimulation(int value);
    virtual void setExposMeteringList(const QStringList& list);
    virtual void setExposMetering(int value);
    virtual void setExposMetering(const QString& text);
    virtual void setHasAperture(bool has);
    virtual void setApertureList(const QStringList& list);
    virtual void setAperture(const QString& text);
    virtual void setShutterTimeList(const QStringList& list);
    virtual void setShutterTime(const QString& text);
    virtual void setExposCompensList(const QStringList& list);
    virtual void setExposCompens(int milliEv);
    virtual void setExposCompens(const QString& text);
    virtual void setExposCompensStep(int step);
    virtual void setSensitivityAuto(bool automatic);
    virtual void setSensitivityList(const QStringList& list);
    virtual void setSensitivity(int value);
    virtual void setSensitivity(const QString& text);
    virtual void setHasWhiteBalance(bool has);
    virtual void setWhiteBalanceList(const QStringList& list);
    virtual void setWhiteBalance(const QString& text);
    virtual void setIsWhiteBalTemp(bool isTemperature);
    virtual void setWhiteBalTempList(const QStringList& list);
    virtual void setWhiteBalTemp(const QString& text);
    virtual void setDriveModeList(const QStringList& list);
    virtual void setDriveMode(int mode);
    virtual void setDriveMode(const QString& text);
    virtual void setBracketImgNumList(const QStringList& list);
    virtual void setBracketImgNum(const QString& text);
    virtual void setBracketDeltaEVList(const QStringList& list);
    virtual void setBracketDeltaEV(const QString& text);
    virtual void setIsIntervalMode(bool on);
    virtual void setIntervalFramesRange(int first, int last);
    virtual void setIntervalFramesList(const QStringList& list);
    virtual void setIntervalFrames(int frames);
    virtual void setIntervalFrames(const QString& text);
    virtual void setIntervalTimeRange(int first, int last);
    virtual void setIntervalTimeList(const QStringList& list);
    virtual void setIntervalTime(int seconds);
    virtual void setIntervalTime(const QString& text);
    virtual void setHasFocusMode(bool has);
    virtual void setFocusMode(int mode);
    virtual void setHasFocusDistance(bool has);
    virtual void setFocusDistance(const QString& text);
    virtual void setFocusIsUnitFeet(bool feet);
    virtual void setFocusMaxDistance(const QString& text);
    virtual void setFocusMinDistance(const QString& text);
    virtual void setHasFocusConfirmation(bool has);
    virtual void setFocusConfirmation(int value);
    virtual void setFocusConfirmBadSig(bool bad);
    virtual void setNoFocusConfirmation();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectController();

    OLP_GUI_Application* m_application;
    const OLP_Logic_Controller* m_controller;
    bool m_beingDestroyed = false;
};
