#include "OLP_GUI_CameraBase.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "OLP_GUI_Application.h"
#include "OLP_GUI_WindowGeometry.h"
#include "OLP_Logic_Controller.h"

OLP_GUI_CameraBase::OLP_GUI_CameraBase(OLP_GUI_Application* application, const OLP_Logic_Controller* controller,
                                       QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), m_application(application), m_controller(controller)
{
    if (m_application) {
        setMenuBar(m_application->createMenuBar());
    }
    connectController();
}

OLP_GUI_CameraBase::~OLP_GUI_CameraBase()
{
    m_beingDestroyed = true;
    if (m_application) {
        m_application->setWantQuitIfStillConnected();
    }
}

void OLP_GUI_CameraBase::closeEvent(QCloseEvent* event)
{
    OLP_GUI_WindowGeometry::save(this);
    QMainWindow::closeEvent(event);
}

void OLP_GUI_CameraBase::connectController()
{
    using C = OLP_Logic_Controller;
    using W = OLP_GUI_CameraBase;
    using A = OLP_GUI_Application;
    const C* c = m_controller;
    A* a = m_application;
    if (!c) {
        return;
    }
    // The controller lives in its own thread: every connection with it is queued.
    const Qt::ConnectionType q = Qt::QueuedConnection;

    // The GUI settings follow the controller's folder values. These four
    // connections outlive the window (they are the application's); a second
    // window must not add another copy of them.
    if (a) {
        const auto unique = Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection);
        connect(c, &C::signalDngPath, a, &A::setDngPath, unique);
        connect(c, &C::signalJpgPath, a, &A::setJpgPath, unique);
        connect(c, &C::signalPictureName, a, &A::setPictureName, unique);
        connect(c, &C::signalPictureIndex, a, &A::setPictureIndex, unique);
        connect(this, &W::signalDngPath, a, &A::setDngPath);
        connect(this, &W::signalJpgPath, a, &A::setJpgPath);
        connect(this, &W::signalPictureName, a, &A::setPictureName);
        connect(this, &W::signalPictureIndex, a, &A::setPictureIndex);
    }

    // Every value of the controller to the setter of the same name.
    connect(c, &C::signalLoading, this, &W::setLoading, q);
    connect(c, &C::signalRemainingToLoad, this, &W::setRemainingToLoad, q);
    connect(c, &C::signal3DAxisAngles, this, &W::set3DAxisAngles, q);
    connect(c, &C::signalBatteryInfo, this, &W::setBatteryInfo, q);
    connect(c, &C::signalBatteryLevelIntern, this, &W::setBatteryLevelIntern, q);
    connect(c, &C::signalBatteryLevelExtern, this, &W::setBatteryLevelExtern, q);
    connect(c, &C::signalBulbCounter, this, &W::setBulbCounter, q);
    connect(c, &C::signalHasPowerSwitch, this, &W::setHasPowerSwitch, q);
    connect(c, &C::signalPowerSwitch, this, &W::setPowerSwitch, q);
    connect(c, &C::signalSelfTimerCounter, this, &W::setSelfTimerCounter, q);
    connect(c, &C::signalHasFlashStatus, this, &W::setHasFlashStatus, q);
    connect(c, &C::signalFlashStatus, this, &W::setFlashStatus, q);
    connect(c, &C::signalHasFlashXSymbol, this, &W::setHasFlashXSymbol, q);
    connect(c, &C::signalFlashXSymbol, this, &W::setFlashXSymbol, q);
    connect(c, &C::signalLightBalance, this, &W::setLightBalance, q);
    connect(c, &C::signalHasKeyLock, this, &W::setHasKeyLock, q);
    connect(c, &C::signalKeyLock, this, &W::setKeyLock, q);
    connect(c, &C::signalHasVideoRecording, this, &W::setHasVideoRecording, q);
    connect(c, &C::signalHasLiveView, this, &W::setHasLiveView, q);
    connect(c, &C::signalLiveViewPhoto, this, &W::setLiveViewPhoto, q);
    connect(c, &C::signalLiveViewVideo, this, &W::setLiveViewVideo, q);
    connect(c, &C::signalLiveViewMode, this, &W::setLiveViewMode, q);
    connect(c, &C::signalWantQuickView, this, &W::setWantQuickView, q);
    connect(c, &C::signalHasMirrorUpMode, this, &W::setHasMirrorUpMode, q);
    connect(c, &C::signalMirrorUpMode, this, &W::setMirrorUpMode, q);
    connect(c, &C::signalFileFormatList, this, &W::setFileFormatList, q);
    connect(c, qOverload<int>(&C::signalFileFormat), this, qOverload<int>(&W::setFileFormat), q);
    connect(c, qOverload<QString>(&C::signalFileFormat), this, qOverload<const QString&>(&W::setFileFormat), q);
    connect(c, &C::signalHasDngCompression, this, &W::setHasDngCompression, q);
    connect(c, &C::signalUseDngCompression, this, &W::setUseDngCompression, q);
    connect(c, &C::signalDngCompressionList, this, &W::setDngCompressionList, q);
    connect(c, &C::signalDngCompression, this, &W::setDngCompression, q);
    connect(c, &C::signalHasJpgColorSpace, this, &W::setHasJpgColorSpace, q);
    connect(c, &C::signalUseJpgColorSpace, this, &W::setUseJpgColorSpace, q);
    connect(c, &C::signalJpgColorSpaceList, this, &W::setJpgColorSpaceList, q);
    connect(c, &C::signalJpgColorSpace, this, &W::setJpgColorSpace, q);
    connect(c, &C::signalHasJpgResolution, this, &W::setHasJpgResolution, q);
    connect(c, &C::signalUseJpgResolution, this, &W::setUseJpgResolution, q);
    connect(c, &C::signalJpgResolutionList, this, &W::setJpgResolutionList, q);
    connect(c, &C::signalJpgResolution, this, &W::setJpgResolution, q);
    connect(c, &C::signalHasSensorFormat, this, &W::setHasSensorFormat, q);
    connect(c, &C::signalSensorFormatList, this, &W::setSensorFormatList, q);
    connect(c, &C::signalSensorFormat, this, &W::setSensorFormat, q);
    connect(c, &C::signalHasPhotoAspectRatio, this, &W::setHasPhotoAspectRatio, q);
    connect(c, &C::signalPhotoAspectRatioList, this, &W::setPhotoAspectRatioList, q);
    connect(c, &C::signalPhotoAspectRatio, this, &W::setPhotoAspectRatio, q);
    connect(c, &C::signalHasVideoFileFormat, this, &W::setHasVideoFileFormat, q);
    connect(c, &C::signalVideoFileFormatList, this, &W::setVideoFileFormatList, q);
    connect(c, &C::signalVideoFileFormat, this, &W::setVideoFileFormat, q);
    connect(c, &C::signalHasVideoResAndFrRate, this, &W::setHasVideoResAndFrRate, q);
    connect(c, &C::signalVideoResAndFrRateList, this, &W::setVideoResAndFrRateList, q);
    connect(c, &C::signalVideoResAndFrRate, this, &W::setVideoResAndFrRate, q);
    connect(c, &C::signalHasVideoFormatResol, this, &W::setHasVideoFormatResol, q);
    connect(c, &C::signalVideoFormatResolList, this, &W::setVideoFormatResolList, q);
    connect(c, &C::signalVideoFormatResol, this, &W::setVideoFormatResol, q);
    connect(c, &C::signalDngPath, this, &W::setDngPath, q);
    connect(c, &C::signalJpgPath, this, &W::setJpgPath, q);
    connect(c, &C::signalPictureExample, this, &W::setPictureExample, q);
    connect(c, &C::signalPictureName, this, &W::setPictureName, q);
    connect(c, &C::signalPictureIndex, this, &W::setPictureIndex, q);
    connect(c, &C::signalExposureModeList, this, &W::setExposureModeList, q);
    connect(c, &C::signalExposureMode, this, &W::setExposureMode, q);
    connect(c, qOverload<int>(&C::signalExposureSimulation), this, qOverload<int>(&W::setExposureSimulation), q);
    connect(c, &C::signalExposMeteringList, this, &W::setExposMeteringList, q);
    connect(c, qOverload<int>(&C::signalExposMetering), this, qOverload<int>(&W::setExposMetering), q);
    connect(c, qOverload<QString>(&C::signalExposMetering), this, qOverload<const QString&>(&W::setExposMetering), q);
    connect(c, &C::signalHasAperture, this, &W::setHasAperture, q);
    connect(c, &C::signalApertureList, this, &W::setApertureList, q);
    connect(c, &C::signalAperture, this, &W::setAperture, q);
    connect(c, &C::signalShutterTimeList, this, &W::setShutterTimeList, q);
    connect(c, &C::signalShutterTime, this, &W::setShutterTime, q);
    connect(c, &C::signalExposCompensList, this, &W::setExposCompensList, q);
    connect(c, qOverload<int>(&C::signalExposCompens), this, qOverload<int>(&W::setExposCompens), q);
    connect(c, qOverload<QString>(&C::signalExposCompens), this, qOverload<const QString&>(&W::setExposCompens), q);
    connect(c, &C::signalExposCompensStep, this, &W::setExposCompensStep, q);
    connect(c, &C::signalSensitivityAuto, this, &W::setSensitivityAuto, q);
    connect(c, &C::signalSensitivityList, this, &W::setSensitivityList, q);
    connect(c, qOverload<int>(&C::signalSensitivity), this, qOverload<int>(&W::setSensitivity), q);
    connect(c, qOverload<QString>(&C::signalSensitivity), this, qOverload<const QString&>(&W::setSensitivity), q);
    connect(c, &C::signalHasWhiteBalance, this, &W::setHasWhiteBalance, q);
    connect(c, &C::signalWhiteBalanceList, this, &W::setWhiteBalanceList, q);
    connect(c, qOverload<QString>(&C::signalWhiteBalance), this, qOverload<const QString&>(&W::setWhiteBalance), q);
    connect(c, &C::signalIsWhiteBalTemp, this, &W::setIsWhiteBalTemp, q);
    connect(c, &C::signalWhiteBalTempList, this, &W::setWhiteBalTempList, q);
    connect(c, &C::signalWhiteBalTemp, this, &W::setWhiteBalTemp, q);
    connect(c, &C::signalDriveModeList, this, &W::setDriveModeList, q);
    connect(c, qOverload<int>(&C::signalDriveMode), this, qOverload<int>(&W::setDriveMode), q);
    connect(c, qOverload<QString>(&C::signalDriveMode), this, qOverload<const QString&>(&W::setDriveMode), q);
    connect(c, &C::signalBracketImgNumList, this, &W::setBracketImgNumList, q);
    connect(c, &C::signalBracketImgNum, this, &W::setBracketImgNum, q);
    connect(c, &C::signalBracketDeltaEVList, this, &W::setBracketDeltaEVList, q);
    connect(c, &C::signalBracketDeltaEV, this, &W::setBracketDeltaEV, q);
    connect(c, &C::signalIntervalFramesRange, this, &W::setIntervalFramesRange, q);
    connect(c, &C::signalIntervalFramesList, this, &W::setIntervalFramesList, q);
    connect(c, qOverload<int>(&C::signalIntervalFrames), this, qOverload<int>(&W::setIntervalFrames), q);
    connect(c, qOverload<QString>(&C::signalIntervalFrames), this, qOverload<const QString&>(&W::setIntervalFrames), q);
    connect(c, &C::signalIntervalTimeRange, this, &W::setIntervalTimeRange, q);
    connect(c, &C::signalIntervalTimeList, this, &W::setIntervalTimeList, q);
    connect(c, qOverload<int>(&C::signalIntervalTime), this, qOverload<int>(&W::setIntervalTime), q);
    connect(c, qOverload<QString>(&C::signalIntervalTime), this, qOverload<const QString&>(&W::setIntervalTime), q);
    connect(c, &C::signalHasFocusMode, this, &W::setHasFocusMode, q);
    connect(c, &C::signalFocusMode, this, &W::setFocusMode, q);
    connect(c, &C::signalHasFocusDistance, this, &W::setHasFocusDistance, q);
    connect(c, &C::signalFocusDistance, this, &W::setFocusDistance, q);
    connect(c, &C::signalFocusMaxDistance, this, &W::setFocusMaxDistance, q);
    connect(c, &C::signalFocusMinDistance, this, &W::setFocusMinDistance, q);
    connect(c, &C::signalFocusIsUnitFeet, this, &W::setFocusIsUnitFeet, q);
    connect(c, &C::signalHasFocusConfirmation, this, &W::setHasFocusConfirmation, q);
    connect(c, &C::signalFocusConfirmation, this, &W::setFocusConfirmation, q);
    connect(c, &C::signalFocusConfirmBadSig, this, &W::setFocusConfirmBadSig, q);
    connect(c, &C::signalNoFocusConfirmation, this, &W::setNoFocusConfirmation, q);

    // Every user request to the controller slot of the same name.
    connect(this, &W::signalKeyLock, c, &C::setKeyLock, q);
    connect(this, &W::signalLiveViewPhoto, c, &C::setLiveViewPhoto, q);
    connect(this, &W::signalLiveViewVideo, c, &C::setLiveViewVideo, q);
    connect(this, &W::signalWantQuickView, c, &C::setWantQuickView, q);
    connect(this, &W::signalMirrorUpMode, c, &C::setMirrorUpMode, q);
    connect(this, qOverload<const QString&>(&W::signalFileFormat), c, qOverload<QString>(&C::setFileFormat), q);
    connect(this, &W::signalDngCompression, c, &C::setDngCompression, q);
    connect(this, &W::signalJpgColorSpace, c, &C::setJpgColorSpace, q);
    connect(this, &W::signalJpgResolution, c, &C::setJpgResolution, q);
    connect(this, &W::signalSensorFormat, c, &C::setSensorFormat, q);
    connect(this, &W::signalPhotoAspectRatio, c, &C::setPhotoAspectRatio, q);
    connect(this, &W::signalVideoFileFormat, c, &C::setVideoFileFormat, q);
    connect(this, &W::signalVideoResAndFrRate, c, &C::setVideoResAndFrRate, q);
    connect(this, &W::signalVideoFormatResol, c, &C::setVideoFormatResol, q);
    connect(this, &W::signalDngPath, c, &C::setDngPath, q);
    connect(this, &W::signalJpgPath, c, &C::setJpgPath, q);
    connect(this, &W::signalPictureName, c, &C::setPictureName, q);
    connect(this, &W::signalPictureIndex, c, &C::setPictureIndex, q);
    connect(this, qOverload<int>(&W::signalExposureMode), c, qOverload<int>(&C::setExposureMode), q);
    connect(this, qOverload<const QString&>(&W::signalExposMetering), c, qOverload<QString>(&C::setExposMetering), q);
    connect(this, qOverload<const QString&>(&W::signalAperture), c, qOverload<QString>(&C::setAperture), q);
    connect(this, qOverload<const QString&>(&W::signalShutterTime), c, qOverload<QString>(&C::setShutterTime), q);
    connect(this, qOverload<const QString&>(&W::signalExposCompens), c, qOverload<QString>(&C::setExposCompens), q);
    connect(this, qOverload<const QString&>(&W::signalSensitivity), c, qOverload<QString>(&C::setSensitivity), q);
    connect(this, qOverload<const QString&>(&W::signalWhiteBalance), c, qOverload<QString>(&C::setWhiteBalance), q);
    connect(this, qOverload<const QString&>(&W::signalWhiteBalTemp), c, qOverload<QString>(&C::setWhiteBalTemp), q);
    connect(this, qOverload<const QString&>(&W::signalDriveMode), c, qOverload<QString>(&C::setDriveMode), q);
    connect(this, qOverload<const QString&>(&W::signalBracketImgNum), c, qOverload<QString>(&C::setBracketImgNum), q);
    connect(this, qOverload<const QString&>(&W::signalBracketDeltaEV), c, qOverload<QString>(&C::setBracketDeltaEV), q);
    connect(this, qOverload<int>(&W::signalIntervalFrames), c, qOverload<int>(&C::setIntervalFrames), q);
    connect(this, qOverload<const QString&>(&W::signalIntervalFrames), c, qOverload<QString>(&C::setIntervalFrames), q);
    connect(this, qOverload<int>(&W::signalIntervalTime), c, qOverload<int>(&C::setIntervalTime), q);
    connect(this, qOverload<const QString&>(&W::signalIntervalTime), c, qOverload<QString>(&C::setIntervalTime), q);
    connect(this, &W::signalFocusMode, c, &C::setFocusMode, q);
    connect(this, qOverload<const QString&>(&W::signalFocusDistance), c, qOverload<QString>(&C::setFocusDistance), q);
    connect(this, &W::signalFocusDistanceDec, c, &C::setFocusDistanceDec, q);
    connect(this, &W::signalFocusDistanceInc, c, &C::setFocusDistanceInc, q);
    connect(this, &W::signalCaptureBtnPressed, c, &C::doCaptureBtnPressed, q);
    connect(this, &W::signalCaptureBtnReleased, c, &C::doCaptureBtnReleased, q);
    connect(this, &W::signalVidCaptBtnPressed, c, &C::doVidCaptBtnPressed, q);
    connect(this, &W::signalVidCaptBtnReleased, c, &C::doVidCaptBtnReleased, q);
}

// The base shows nothing: a window subclass forwards each value to its widgets.
void OLP_GUI_CameraBase::setLoading(bool) {}
void OLP_GUI_CameraBase::setRemainingToLoad(int) {}
void OLP_GUI_CameraBase::set3DAxisAngles(double, double) {}
void OLP_GUI_CameraBase::setBatteryInfo(int) {}
void OLP_GUI_CameraBase::setBatteryLevelIntern(int) {}
void OLP_GUI_CameraBase::setBatteryLevelExtern(int) {}
void OLP_GUI_CameraBase::setHasPowerSwitch(bool) {}
void OLP_GUI_CameraBase::setPowerSwitch(int) {}
void OLP_GUI_CameraBase::setBulbCounter(int) {}
void OLP_GUI_CameraBase::setSelfTimerCounter(int) {}
void OLP_GUI_CameraBase::setHasFlashStatus(bool) {}
void OLP_GUI_CameraBase::setFlashStatus(int) {}
void OLP_GUI_CameraBase::setHasFlashXSymbol(bool) {}
void OLP_GUI_CameraBase::setFlashXSymbol(bool) {}
void OLP_GUI_CameraBase::setLightBalance(int) {}
void OLP_GUI_CameraBase::setHasKeyLock(bool) {}
void OLP_GUI_CameraBase::setKeyLock(bool) {}
void OLP_GUI_CameraBase::setHasVideoRecording(bool) {}
void OLP_GUI_CameraBase::setHasLiveView(bool) {}
void OLP_GUI_CameraBase::setLiveViewPhoto(bool) {}
void OLP_GUI_CameraBase::setLiveViewVideo(bool) {}
void OLP_GUI_CameraBase::setLiveViewMode(int) {}
void OLP_GUI_CameraBase::setWantQuickView(bool) {}
void OLP_GUI_CameraBase::setHasMirrorUpMode(bool) {}
void OLP_GUI_CameraBase::setMirrorUpMode(bool) {}
void OLP_GUI_CameraBase::setFileFormatList(const QStringList&) {}
void OLP_GUI_CameraBase::setFileFormat(int) {}
void OLP_GUI_CameraBase::setFileFormat(const QString&) {}
void OLP_GUI_CameraBase::setHasDngCompression(bool) {}
void OLP_GUI_CameraBase::setUseDngCompression(bool) {}
void OLP_GUI_CameraBase::setDngCompressionList(const QStringList&) {}
void OLP_GUI_CameraBase::setDngCompression(const QString&) {}
void OLP_GUI_CameraBase::setHasJpgColorSpace(bool) {}
void OLP_GUI_CameraBase::setUseJpgColorSpace(bool) {}
void OLP_GUI_CameraBase::setJpgColorSpaceList(const QStringList&) {}
void OLP_GUI_CameraBase::setJpgColorSpace(const QString&) {}
void OLP_GUI_CameraBase::setHasJpgResolution(bool) {}
void OLP_GUI_CameraBase::setUseJpgResolution(bool) {}
void OLP_GUI_CameraBase::setJpgResolutionList(const QStringList&) {}
void OLP_GUI_CameraBase::setJpgResolution(const QString&) {}
void OLP_GUI_CameraBase::setHasSensorFormat(bool) {}
void OLP_GUI_CameraBase::setSensorFormatList(const QStringList&) {}
void OLP_GUI_CameraBase::setSensorFormat(const QString&) {}
void OLP_GUI_CameraBase::setHasPhotoAspectRatio(bool) {}
void OLP_GUI_CameraBase::setPhotoAspectRatioList(const QStringList&) {}
void OLP_GUI_CameraBase::setPhotoAspectRatio(const QString&) {}
void OLP_GUI_CameraBase::setHasVideoFileFormat(bool) {}
void OLP_GUI_CameraBase::setVideoFileFormatList(const QStringList&) {}
void OLP_GUI_CameraBase::setVideoFileFormat(const QString&) {}
void OLP_GUI_CameraBase::setHasVideoResAndFrRate(bool) {}
void OLP_GUI_CameraBase::setVideoResAndFrRateList(const QStringList&) {}
void OLP_GUI_CameraBase::setVideoResAndFrRate(const QString&) {}
void OLP_GUI_CameraBase::setHasVideoFormatResol(bool) {}
void OLP_GUI_CameraBase::setVideoFormatResolList(const QStringList&) {}
void OLP_GUI_CameraBase::setVideoFormatResol(const QString&) {}
void OLP_GUI_CameraBase::setDngPath(const QString&) {}
void OLP_GUI_CameraBase::setJpgPath(const QString&) {}
void OLP_GUI_CameraBase::setPictureExample(const QString&) {}
void OLP_GUI_CameraBase::setPictureName(const QString&) {}
void OLP_GUI_CameraBase::setPictureIndex(int) {}
void OLP_GUI_CameraBase::setExposureModeList(const QStringList&) {}
void OLP_GUI_CameraBase::setExposureMode(int) {}
void OLP_GUI_CameraBase::setExposureSimulation(int) {}
void OLP_GUI_CameraBase::setExposMeteringList(const QStringList&) {}
void OLP_GUI_CameraBase::setExposMetering(int) {}
void OLP_GUI_CameraBase::setExposMetering(const QString&) {}
void OLP_GUI_CameraBase::setHasAperture(bool) {}
void OLP_GUI_CameraBase::setApertureList(const QStringList&) {}
void OLP_GUI_CameraBase::setAperture(const QString&) {}
void OLP_GUI_CameraBase::setShutterTimeList(const QStringList&) {}
void OLP_GUI_CameraBase::setShutterTime(const QString&) {}
void OLP_GUI_CameraBase::setExposCompensList(const QStringList&) {}
void OLP_GUI_CameraBase::setExposCompens(int) {}
void OLP_GUI_CameraBase::setExposCompens(const QString&) {}
void OLP_GUI_CameraBase::setExposCompensStep(int) {}
void OLP_GUI_CameraBase::setSensitivityAuto(bool) {}
void OLP_GUI_CameraBase::setSensitivityList(const QStringList&) {}
void OLP_GUI_CameraBase::setSensitivity(int) {}
void OLP_GUI_CameraBase::setSensitivity(const QString&) {}
void OLP_GUI_CameraBase::setHasWhiteBalance(bool) {}
void OLP_GUI_CameraBase::setWhiteBalanceList(const QStringList&) {}
void OLP_GUI_CameraBase::setWhiteBalance(const QString&) {}
void OLP_GUI_CameraBase::setIsWhiteBalTemp(bool) {}
void OLP_GUI_CameraBase::setWhiteBalTempList(const QStringList&) {}
void OLP_GUI_CameraBase::setWhiteBalTemp(const QString&) {}
void OLP_GUI_CameraBase::setDriveModeList(const QStringList&) {}
void OLP_GUI_CameraBase::setDriveMode(int) {}
void OLP_GUI_CameraBase::setDriveMode(const QString&) {}
void OLP_GUI_CameraBase::setBracketImgNumList(const QStringList&) {}
void OLP_GUI_CameraBase::setBracketImgNum(const QString&) {}
void OLP_GUI_CameraBase::setBracketDeltaEVList(const QStringList&) {}
void OLP_GUI_CameraBase::setBracketDeltaEV(const QString&) {}
void OLP_GUI_CameraBase::setIsIntervalMode(bool) {}
void OLP_GUI_CameraBase::setIntervalFramesRange(int, int) {}
void OLP_GUI_CameraBase::setIntervalFramesList(const QStringList&) {}
void OLP_GUI_CameraBase::setIntervalFrames(int) {}
void OLP_GUI_CameraBase::setIntervalFrames(const QString&) {}
void OLP_GUI_CameraBase::setIntervalTimeRange(int, int) {}
void OLP_GUI_CameraBase::setIntervalTimeList(const QStringList&) {}
void OLP_GUI_CameraBase::setIntervalTime(int) {}
void OLP_GUI_CameraBase::setIntervalTime(const QString&) {}
void OLP_GUI_CameraBase::setHasFocusMode(bool) {}
void OLP_GUI_CameraBase::setFocusMode(int) {}
void OLP_GUI_CameraBase::setHasFocusDistance(bool) {}
void OLP_GUI_CameraBase::setFocusDistance(const QString&) {}
void OLP_GUI_CameraBase::setFocusIsUnitFeet(bool) {}
void OLP_GUI_CameraBase::setFocusMaxDistance(const QString&) {}
void OLP_GUI_CameraBase::setFocusMinDistance(const QString&) {}
void OLP_GUI_CameraBase::setHasFocusConfirmation(bool) {}
void OLP_GUI_CameraBase::setFocusConfirmation(int) {}
void OLP_GUI_CameraBase::setFocusConfirmBadSig(bool) {}
void OLP_GUI_CameraBase::setNoFocusConfirmation() {}
