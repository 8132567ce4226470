#include "OLP_Logic_Camera.h"

#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera3DAxisData.h"
#include "OLP_Logic_CameraGeotackingData.h"
#include "OLP_Logic_CameraLens.h"
#include "OLP_Logic_DeviceInfo.h"
#include "OLP_Logic_FolderSettings.h"

static void initCoreResources()
{
    Q_INIT_RESOURCE(olp_core);
}

namespace {
// The keep-alive ticks after which a busy flag with nothing pending is dropped.
constexpr int kBusyWatchdogTicks = 3;
// GetObjectHandles answers are read into a buffer of this many bytes.
constexpr quint32 kHandlesBufferSize = 4 + 4 * 20000;
}  // namespace

OLP_Logic_Camera::OLP_Logic_Camera(OLP_Commu_CameraAccess_Base* cameraAccess) : m_cameraAccess(cameraAccess)
{
    debugPrintf(256, "%s - created in thread 0x%012lX", "OLP_Logic_Camera::OLP_Logic_Camera", currentThreadIdForLog());
    initCoreResources();
    m_folderSettings = new OLP_Logic_FolderSettings;
    connect(m_folderSettings, &OLP_Logic_FolderSettings::signalPictureExampleChanged, this,
            &OLP_Logic_Camera::signalPictureExampleName, Qt::DirectConnection);

    if (m_cameraAccess) {
        m_cameraAccess->updateStillCaptureModeSupport();
    }
    m_deviceInfo = new OLP_Logic_DeviceInfo(m_cameraAccess);
    m_settings = OLP_Logic_CameraSettingsBase::create(m_cameraAccess, m_deviceInfo);
    m_settings->initialize();

    // Storage type and auto power off are saved only from values the camera
    // really reported; otherwise nothing would be restored but zeros.
    const bool settingsRead = m_settings->valuesValid();
    if (settingsRead && hasStorageType()) {
        m_savedStorageType = m_settings->storageType();
        if (m_savedStorageType != 2) {
            m_settings->setStorageType(2);
        }
    }
    const quint32 product = productId();
    if (settingsRead && (product == ProductIdKestaA || product == ProductIdKestaB || product == ProductIdKestaC ||
                         product == ProductIdKestaE)) {
        m_savedAutoPowerOff = m_settings->autoPowerOff();
        m_settings->setAutoPowerOff(0);
    }
    m_settings->sendToCameraIfDirty();

    m_lens = new OLP_Logic_CameraLens(m_cameraAccess);
    if (m_deviceInfo->isOperationSupported(PTP::OpGetGeotackingData)) {
        m_geotackingData = new OLP_Logic_CameraGeotackingData(m_cameraAccess);
    }
    const bool axisEvent = m_deviceInfo->isEventSupported(PTP::kQx3DAxisDataChanged);
    const bool axisOperation = m_deviceInfo->isOperationSupported(PTP::OpGet3DAxisData);
    if (axisEvent || axisOperation) {
        m_axisData = new OLP_Logic_Camera3DAxisData(m_cameraAccess);
    }

    if (m_cameraAccess) {
        connect(m_cameraAccess, &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged, this,
                &OLP_Logic_Camera::catchDevicePropertyChanged, Qt::QueuedConnection);
        connect(m_cameraAccess, &OLP_Commu_CameraAccess_Base::signal3DAxisDataChanged, this,
                &OLP_Logic_Camera::catch3DAxisDataChanged, Qt::QueuedConnection);
        connect(m_cameraAccess, &OLP_Commu_CameraAccess_Base::signalGeotackingChanged, this,
                &OLP_Logic_Camera::catchGeotackingChanged, Qt::QueuedConnection);
        connect(m_cameraAccess, &OLP_Commu_CameraAccess_Base::signalLensChanged, this,
                &OLP_Logic_Camera::catchLensChanged, Qt::QueuedConnection);
        connect(m_cameraAccess, &OLP_Commu_CameraAccess_Base::signalSettingsChanged, this,
                &OLP_Logic_Camera::catchSettingsChanged, Qt::QueuedConnection);
        connect(m_cameraAccess, &OLP_Commu_CameraAccess_Base::signalUpdateImageDB, this,
                &OLP_Logic_Camera::slotRebuildImageDB, Qt::QueuedConnection);
    }
    connect(&m_timerKeepAlive, &QTimer::timeout, this, &OLP_Logic_Camera::catchKeepAlive);
    connect(&m_timer3DAxis, &QTimer::timeout, this, &OLP_Logic_Camera::catchRefresh3DAxisData);
    connect(&m_timerImageDB, &QTimer::timeout, this, &OLP_Logic_Camera::slotDelayedRebuildImageDB);

    m_timerKeepAlive.start(5000);
    if (axisEvent) {
        m_timer3DAxis.setSingleShot(true);
    } else if (axisOperation) {
        m_timer3DAxis.setSingleShot(false);
        m_timer3DAxis.start(300);
    }
    m_timerImageDB.setSingleShot(true);
}

OLP_Logic_Camera::~OLP_Logic_Camera()
{
    // Timers and connections go first, so nothing new starts while the
    // transfer threads finish; each thread is then waited for directly.
    m_timerKeepAlive.stop();
    m_timer3DAxis.stop();
    m_timerImageDB.stop();
    disconnect(&m_timerKeepAlive, nullptr, this, nullptr);
    disconnect(&m_timer3DAxis, nullptr, this, nullptr);
    disconnect(&m_timerImageDB, nullptr, this, nullptr);
    if (m_cameraAccess) {
        disconnect(m_cameraAccess, nullptr, this, nullptr);
    }
    for (QThread* thread : qAsConst(m_transferThreads)) {
        thread->wait();
        delete thread;
    }
    m_transferThreads.clear();
    if (isTransferInProgress()) {
        emit signalLoading(false);
    }
    delete m_axisData;
    m_axisData = nullptr;
    delete m_geotackingData;
    m_geotackingData = nullptr;
    delete m_lens;
    m_lens = nullptr;
    if (m_settings) {
        m_settings->terminate();
    }
    delete m_settings;
    m_settings = nullptr;
    delete m_deviceInfo;
    m_deviceInfo = nullptr;
    delete m_folderSettings;
    m_folderSettings = nullptr;
}

// ---- settings facade ---------------------------------------------------------------------------

template <typename R>
R OLP_Logic_Camera::query(const char* name, R (Settings::*getter)())
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", name);
        return R();
    }
    return (m_settings->*getter)();
}

template <typename A>
void OLP_Logic_Camera::change(const char* name, void (Settings::*setter)(A), A value)
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", name);
        return;
    }
    (m_settings->*setter)(value);
    m_settings->sendToCameraIfDirty();
}

bool OLP_Logic_Camera::hasAperture()
{
    return query("OLP_Logic_Camera::hasAperture", &Settings::featureAperture);
}

bool OLP_Logic_Camera::hasDngCompression()
{
    return query("OLP_Logic_Camera::hasDngCompression", &Settings::featureDngCompression);
}

bool OLP_Logic_Camera::hasFocusConfirmation()
{
    return query("OLP_Logic_Camera::hasFocusConfirmation", &Settings::featureFocusConfirmation);
}

bool OLP_Logic_Camera::hasFocusMode()
{
    return query("OLP_Logic_Camera::hasFocusMode", &Settings::featureFocusMode);
}

bool OLP_Logic_Camera::hasJpgColorSpace()
{
    return query("OLP_Logic_Camera::hasJpgColorSpace", &Settings::featureJpgColorSpace);
}

bool OLP_Logic_Camera::hasJpgResolution()
{
    return query("OLP_Logic_Camera::hasJpgResolution", &Settings::featureJpgResSelection);
}

bool OLP_Logic_Camera::hasStorageType()
{
    return query("OLP_Logic_Camera::hasStorageType", &Settings::featureStorageType);
}

bool OLP_Logic_Camera::hasAutoreviewDuration()
{
    return query("OLP_Logic_Camera::hasAutoreviewDuration", &Settings::featureAutoreviewDuration);
}

bool OLP_Logic_Camera::hasAutoPowerOff()
{
    return query("OLP_Logic_Camera::hasAutoPowerOff", &Settings::featurePowerSave);
}

bool OLP_Logic_Camera::hasSensorFormat()
{
    return query("OLP_Logic_Camera::hasSensorFormat", &Settings::featureSensorFormat);
}

bool OLP_Logic_Camera::hasPhotoAspectRatio()
{
    return query("OLP_Logic_Camera::hasPhotoAspectRatio", &Settings::featurePhotoAspectRatio);
}

bool OLP_Logic_Camera::hasVideoFileFormat()
{
    return query("OLP_Logic_Camera::hasVideoFileFormat", &Settings::featureVideoFileFormat);
}

bool OLP_Logic_Camera::hasVideoResAndFrRate()
{
    return query("OLP_Logic_Camera::hasVideoResAndFrRate", &Settings::featureVideoResAndFrRate);
}

bool OLP_Logic_Camera::hasVideoFormatResol()
{
    return query("OLP_Logic_Camera::hasVideoFormatResol", &Settings::featureVideoFormatResol);
}

bool OLP_Logic_Camera::hasContrast()
{
    return query("OLP_Logic_Camera::hasContrast", &Settings::featureContrast);
}

bool OLP_Logic_Camera::hasSharpness()
{
    return query("OLP_Logic_Camera::hasSharpness", &Settings::featureSharpness);
}

bool OLP_Logic_Camera::hasSaturation()
{
    return query("OLP_Logic_Camera::hasSaturation", &Settings::featureSaturation);
}

bool OLP_Logic_Camera::hasMonochrome()
{
    return query("OLP_Logic_Camera::hasMonochrome", &Settings::featureMonochrome);
}

bool OLP_Logic_Camera::hasAutoFocusLimit()
{
    return query("OLP_Logic_Camera::hasAutoFocusLimit", &Settings::featureAutoFocusLimit);
}

bool OLP_Logic_Camera::hasElectronicShutter()
{
    return query("OLP_Logic_Camera::hasElectronicShutter", &Settings::featureElectronicShutter);
}

bool OLP_Logic_Camera::hasOrientation()
{
    return query("OLP_Logic_Camera::hasOrientation", &Settings::featureOrientation);
}

bool OLP_Logic_Camera::hasAudioLevel()
{
    return query("OLP_Logic_Camera::hasAudioLevel", &Settings::featureAudioLevel);
}

bool OLP_Logic_Camera::hasAudioWindElim()
{
    return query("OLP_Logic_Camera::hasAudioWindElim", &Settings::featureAudioWindElim);
}

bool OLP_Logic_Camera::hasAudioVolSpeaker()
{
    return query("OLP_Logic_Camera::hasAudioVolSpeaker", &Settings::featureAudioVolSpeaker);
}

bool OLP_Logic_Camera::hasAudioVolHeadphone()
{
    return query("OLP_Logic_Camera::hasAudioVolHeadphone", &Settings::featureAudioVolHeadphone);
}

bool OLP_Logic_Camera::hasAudioVolMicrophone()
{
    return query("OLP_Logic_Camera::hasAudioVolMicrophone", &Settings::featureAudioVolMicrophone);
}

bool OLP_Logic_Camera::hasExposCompensStep()
{
    return query("OLP_Logic_Camera::hasExposCompensStep", &Settings::featureExposCompensStep);
}

bool OLP_Logic_Camera::hasExposureSimulation()
{
    return query("OLP_Logic_Camera::hasExposureSimulation", &Settings::featureExposureSimulation);
}

bool OLP_Logic_Camera::hasFlashStatus()
{
    return query("OLP_Logic_Camera::hasFlashStatus", &Settings::featureFlashStatus);
}

bool OLP_Logic_Camera::hasFlashXSymbol()
{
    return query("OLP_Logic_Camera::hasFlashXSymbol", &Settings::featureFlashXSymbol);
}

bool OLP_Logic_Camera::hasInterval()
{
    return query("OLP_Logic_Camera::hasInterval", &Settings::featureInterval);
}

bool OLP_Logic_Camera::hasKeyLock()
{
    return query("OLP_Logic_Camera::hasKeyLock", &Settings::featureKeyLock);
}

bool OLP_Logic_Camera::hasLiveView()
{
    return query("OLP_Logic_Camera::hasLiveView", &Settings::featureLiveView);
}

bool OLP_Logic_Camera::hasMirrorUpMode()
{
    return query("OLP_Logic_Camera::hasMirrorUpMode", &Settings::featureMirrorUpMode);
}

bool OLP_Logic_Camera::hasLensConnectionType()
{
    return query("OLP_Logic_Camera::hasLensConnectionType", &Settings::featureLensConnectionType);
}

bool OLP_Logic_Camera::hasPowerSwitch()
{
    return query("OLP_Logic_Camera::hasPowerSwitch", &Settings::featureShutterMode);
}

bool OLP_Logic_Camera::hasVideoRecording()
{
    return query("OLP_Logic_Camera::hasVideoRecording", &Settings::featureVideoRecording);
}

bool OLP_Logic_Camera::hasWhiteBalance()
{
    return query("OLP_Logic_Camera::hasWhiteBalance", &Settings::featureWhiteBalance);
}

bool OLP_Logic_Camera::hasWarnings()
{
    return query("OLP_Logic_Camera::hasWarnings", &Settings::featureWarnings);
}

double OLP_Logic_Camera::aperture()
{
    return query("OLP_Logic_Camera::aperture", &Settings::aperture);
}

bool OLP_Logic_Camera::dngCompression()
{
    return query("OLP_Logic_Camera::dngCompression", &Settings::dngCompression);
}

int OLP_Logic_Camera::focusConfirmation()
{
    return query("OLP_Logic_Camera::focusConfirmation", &Settings::focusConfirmation);
}

bool OLP_Logic_Camera::focusConfirmationBadSignal()
{
    return query("OLP_Logic_Camera::focusConfirmationBadSignal", &Settings::focusConfirmationBadSignal);
}

bool OLP_Logic_Camera::focusConfirmationEnabled()
{
    return query("OLP_Logic_Camera::focusConfirmationEnabled", &Settings::focusConfirmationEnabled);
}

int OLP_Logic_Camera::focusDistance()
{
    return query("OLP_Logic_Camera::focusDistance", &Settings::focusDistance);
}

int OLP_Logic_Camera::focusMode()
{
    return query("OLP_Logic_Camera::focusMode", &Settings::focusMode);
}

int OLP_Logic_Camera::jpgColorSpace()
{
    return query("OLP_Logic_Camera::jpgColorSpace", &Settings::jpgColorSpace);
}

int OLP_Logic_Camera::jpgResolution()
{
    return query("OLP_Logic_Camera::jpgResolution", &Settings::jpgResolution);
}

int OLP_Logic_Camera::storageType()
{
    return query("OLP_Logic_Camera::storageType", &Settings::storageType);
}

int OLP_Logic_Camera::autoreviewDuration()
{
    return query("OLP_Logic_Camera::autoreviewDuration", &Settings::autoreviewDuration);
}

int OLP_Logic_Camera::autoPowerOff()
{
    return query("OLP_Logic_Camera::autoPowerOff", &Settings::autoPowerOff);
}

int OLP_Logic_Camera::sensorFormat()
{
    return query("OLP_Logic_Camera::sensorFormat", &Settings::sensorFormat);
}

int OLP_Logic_Camera::photoAspectRatio()
{
    return query("OLP_Logic_Camera::photoAspectRatio", &Settings::photoAspectRatio);
}

int OLP_Logic_Camera::videoFileFormat()
{
    return query("OLP_Logic_Camera::videoFileFormat", &Settings::videoFileFormat);
}

int OLP_Logic_Camera::videoResAndFrRate()
{
    return query("OLP_Logic_Camera::videoResAndFrRate", &Settings::videoResAndFrRate);
}

int OLP_Logic_Camera::videoFormatResol()
{
    return query("OLP_Logic_Camera::videoFormatResol", &Settings::videoFormatResol);
}

int OLP_Logic_Camera::contrast()
{
    return query("OLP_Logic_Camera::contrast", &Settings::contrast);
}

int OLP_Logic_Camera::sharpness()
{
    return query("OLP_Logic_Camera::sharpness", &Settings::sharpness);
}

int OLP_Logic_Camera::saturation()
{
    return query("OLP_Logic_Camera::saturation", &Settings::saturation);
}

int OLP_Logic_Camera::monochrome()
{
    return query("OLP_Logic_Camera::monochrome", &Settings::monochrome);
}

bool OLP_Logic_Camera::autoFocusLimit()
{
    return query("OLP_Logic_Camera::autoFocusLimit", &Settings::autoFocusLimit);
}

int OLP_Logic_Camera::autoFocusLimitDist()
{
    return query("OLP_Logic_Camera::autoFocusLimitDist", &Settings::autoFocusLimitDistance);
}

int OLP_Logic_Camera::electronicShutter()
{
    return query("OLP_Logic_Camera::electronicShutter", &Settings::electronicShutter);
}

int OLP_Logic_Camera::orientation()
{
    return query("OLP_Logic_Camera::orientation", &Settings::orientation);
}

int OLP_Logic_Camera::audioLevel()
{
    return query("OLP_Logic_Camera::audioLevel", &Settings::audioLevel);
}

int OLP_Logic_Camera::audioWindElim()
{
    return query("OLP_Logic_Camera::audioWindElim", &Settings::audioWindElim);
}

int OLP_Logic_Camera::audioVolSpeaker()
{
    return query("OLP_Logic_Camera::audioVolSpeaker", &Settings::audioVolSpeaker);
}

int OLP_Logic_Camera::audioVolHeadphone()
{
    return query("OLP_Logic_Camera::audioVolHeadphone", &Settings::audioVolHeadphone);
}

int OLP_Logic_Camera::audioVolMicrophone()
{
    return query("OLP_Logic_Camera::audioVolMicrophone", &Settings::audioVolMicrophone);
}

int OLP_Logic_Camera::exposCompens()
{
    return query("OLP_Logic_Camera::exposCompens", &Settings::exposCompens);
}

int OLP_Logic_Camera::exposCompensStep()
{
    return query("OLP_Logic_Camera::exposCompensStep", &Settings::exposCompensStep);
}

int OLP_Logic_Camera::exposureSimulation()
{
    return query("OLP_Logic_Camera::exposureSimulation", &Settings::exposureSimulation);
}

int OLP_Logic_Camera::flashStatus()
{
    return query("OLP_Logic_Camera::flashStatus", &Settings::flashStatus);
}

bool OLP_Logic_Camera::flashXSymbol()
{
    return query("OLP_Logic_Camera::flashXSymbol", &Settings::flashXSymbol);
}

int OLP_Logic_Camera::intervalFrames()
{
    return query("OLP_Logic_Camera::intervalFrames", &Settings::intervalFrames);
}

int OLP_Logic_Camera::intervalTime()
{
    return query("OLP_Logic_Camera::intervalTime", &Settings::intervalTime);
}

bool OLP_Logic_Camera::keyLock()
{
    return query("OLP_Logic_Camera::keyLock", &Settings::keyLock);
}

int OLP_Logic_Camera::lensConnectionType()
{
    return query("OLP_Logic_Camera::lensConnectionType", &Settings::lensConnectionType);
}

int OLP_Logic_Camera::powerSwitch()
{
    return query("OLP_Logic_Camera::powerSwitch", &Settings::powerSwitch);
}

int OLP_Logic_Camera::warning()
{
    return query("OLP_Logic_Camera::warning", &Settings::warnings);
}

int OLP_Logic_Camera::exposureMode()
{
    return query("OLP_Logic_Camera::exposureMode", &Settings::exposureMode);
}

int OLP_Logic_Camera::exposMetering()
{
    return query("OLP_Logic_Camera::exposMetering", &Settings::exposMetering);
}

int OLP_Logic_Camera::sensitivity()
{
    return query("OLP_Logic_Camera::sensitivity", &Settings::sensitivity);
}

bool OLP_Logic_Camera::sensitivityAuto()
{
    return query("OLP_Logic_Camera::sensitivityAuto", &Settings::sensitivityAuto);
}

int OLP_Logic_Camera::driveMode()
{
    return query("OLP_Logic_Camera::driveMode", &Settings::driveMode);
}

bool OLP_Logic_Camera::bracketingEnabled()
{
    return query("OLP_Logic_Camera::bracketingEnabled", &Settings::bracketingEnabled);
}

int OLP_Logic_Camera::bracketingImageNumbers()
{
    return query("OLP_Logic_Camera::bracketingImageNumbers", &Settings::bracketingImageNumbers);
}

int OLP_Logic_Camera::bracketingDeltaEV()
{
    return query("OLP_Logic_Camera::bracketingDeltaEV", &Settings::bracketingDeltaEV);
}

double OLP_Logic_Camera::maxShutterTime()
{
    return query("OLP_Logic_Camera::maxShutterTime", &Settings::maxShutterTime);
}

int OLP_Logic_Camera::batteryInfo()
{
    return query("OLP_Logic_Camera::batteryInfo", &Settings::batteryInfo);
}

int OLP_Logic_Camera::batteryLevelIntern()
{
    return query("OLP_Logic_Camera::batteryLevelIntern", &Settings::batteryLevelIntern);
}

int OLP_Logic_Camera::batteryLevelExtern()
{
    return query("OLP_Logic_Camera::batteryLevelExtern", &Settings::batteryLevelExtern);
}

int OLP_Logic_Camera::selfTimerRestTime()
{
    return query("OLP_Logic_Camera::selfTimerRestTime", &Settings::selfTimerRestTime);
}

int OLP_Logic_Camera::bulbModeTime()
{
    return query("OLP_Logic_Camera::bulbModeTime", &Settings::bulbModeTime);
}

int OLP_Logic_Camera::lightBalance()
{
    return query("OLP_Logic_Camera::lightBalance", &Settings::lightBalance);
}

void OLP_Logic_Camera::setAperture(double value)
{
    change("OLP_Logic_Camera::setAperture", &Settings::setAperture, value);
}

void OLP_Logic_Camera::setDngCompression(bool value)
{
    change("OLP_Logic_Camera::setDngCompression", &Settings::setDngCompression, value);
}

void OLP_Logic_Camera::setJpgColorSpace(int value)
{
    change("OLP_Logic_Camera::setJpgColorSpace", &Settings::setJpgColorSpace, value);
}

void OLP_Logic_Camera::setJpgResolution(int value)
{
    change("OLP_Logic_Camera::setJpgResolution", &Settings::setJpgResolution, value);
}

void OLP_Logic_Camera::setAutoreviewDuration(int value)
{
    change("OLP_Logic_Camera::setAutoreviewDuration", &Settings::setAutoreviewDuration, value);
}

void OLP_Logic_Camera::setAutoPowerOff(int value)
{
    change("OLP_Logic_Camera::setAutoPowerOff", &Settings::setAutoPowerOff, value);
}

void OLP_Logic_Camera::setSensorFormat(int value)
{
    change("OLP_Logic_Camera::setSensorFormat", &Settings::setSensorFormat, value);
}

void OLP_Logic_Camera::setPhotoAspectRatio(int value)
{
    change("OLP_Logic_Camera::setPhotoAspectRatio", &Settings::setPhotoAspectRatio, value);
}

void OLP_Logic_Camera::setVideoFileFormat(int value)
{
    change("OLP_Logic_Camera::setVideoFileFormat", &Settings::setVideoFileFormat, value);
}

void OLP_Logic_Camera::setVideoResAndFrRate(int value)
{
    change("OLP_Logic_Camera::setVideoResAndFrRate", &Settings::setVideoResAndFrRate, value);
}

void OLP_Logic_Camera::setVideoFormatResol(int value)
{
    change("OLP_Logic_Camera::setVideoFormatResol", &Settings::setVideoFormatResol, value);
}

void OLP_Logic_Camera::setContrast(int value)
{
    change("OLP_Logic_Camera::setContrast", &Settings::setContrast, value);
}

void OLP_Logic_Camera::setSharpness(int value)
{
    change("OLP_Logic_Camera::setSharpness", &Settings::setSharpness, value);
}

void OLP_Logic_Camera::setSaturation(int value)
{
    change("OLP_Logic_Camera::setSaturation", &Settings::setSaturation, value);
}

void OLP_Logic_Camera::setMonochrome(int value)
{
    change("OLP_Logic_Camera::setMonochrome", &Settings::setMonochrome, value);
}

void OLP_Logic_Camera::setAutoFocusLimit(bool value)
{
    change("OLP_Logic_Camera::setAutoFocusLimit", &Settings::setAutoFocusLimit, value);
}

void OLP_Logic_Camera::setElectronicShutter(int value)
{
    change("OLP_Logic_Camera::setElectronicShutter", &Settings::setElectronicShutter, value);
}

void OLP_Logic_Camera::setAudioLevel(int value)
{
    change("OLP_Logic_Camera::setAudioLevel", &Settings::setAudioLevel, value);
}

void OLP_Logic_Camera::setAudioWindElim(int value)
{
    change("OLP_Logic_Camera::setAudioWindElim", &Settings::setAudioWindElim, value);
}

void OLP_Logic_Camera::setAudioVolSpeaker(int value)
{
    change("OLP_Logic_Camera::setAudioVolSpeaker", &Settings::setAudioVolSpeaker, value);
}

void OLP_Logic_Camera::setAudioVolHeadphone(int value)
{
    change("OLP_Logic_Camera::setAudioVolHeadphone", &Settings::setAudioVolHeadphone, value);
}

void OLP_Logic_Camera::setAudioVolMicrophone(int value)
{
    change("OLP_Logic_Camera::setAudioVolMicrophone", &Settings::setAudioVolMicrophone, value);
}

void OLP_Logic_Camera::setExposCompens(int value)
{
    change("OLP_Logic_Camera::setExposCompens", &Settings::setExposCompens, value);
}

void OLP_Logic_Camera::setExposCompensStep(int value)
{
    change("OLP_Logic_Camera::setExposCompensStep", &Settings::setExposCompensStepSize, value);
}

void OLP_Logic_Camera::setExposureSimulation(int value)
{
    change("OLP_Logic_Camera::setExposureSimulation", &Settings::setExposureSimulation, value);
}

void OLP_Logic_Camera::setFlashXSymbol(bool value)
{
    change("OLP_Logic_Camera::setFlashXSymbol", &Settings::setFlashXSymbol, value);
}

void OLP_Logic_Camera::setIntervalFrames(int value)
{
    change("OLP_Logic_Camera::setIntervalFrames", &Settings::setIntervalFrames, value);
}

void OLP_Logic_Camera::setIntervalTime(int value)
{
    change("OLP_Logic_Camera::setIntervalTime", &Settings::setIntervalTime, value);
}

void OLP_Logic_Camera::setKeyLock(bool value)
{
    change("OLP_Logic_Camera::setKeyLock", &Settings::setKeyLock, value);
}

void OLP_Logic_Camera::setExposMetering(int value)
{
    change("OLP_Logic_Camera::setExposMetering", &Settings::setExposMetering, value);
}

void OLP_Logic_Camera::setSensitivity(int value)
{
    change("OLP_Logic_Camera::setSensitivity", &Settings::setSensitivity, value);
}

void OLP_Logic_Camera::setDriveMode(int value)
{
    change("OLP_Logic_Camera::setDriveMode", &Settings::setDriveMode, value);
}

void OLP_Logic_Camera::setBracketDeltaEV(int value)
{
    change("OLP_Logic_Camera::setBracketDeltaEV", &Settings::setBracketDeltaEV, value);
}

void OLP_Logic_Camera::setStorageType(int value)
{
    change("OLP_Logic_Camera::setStorageType", &Settings::setStorageType, value);
}

bool OLP_Logic_Camera::hasFocusDistance()
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::hasFocusDistance");
        return false;
    }
    return m_settings->featureFocusDistance() && m_settings->featureMoveLensToPos() &&
           m_settings->featureMoveLensRightLeft();
}

bool OLP_Logic_Camera::mirrorUpMode()
{
    return query("OLP_Logic_Camera::mirrorUpMode", &Settings::mirrorUpMode) != 0;
}

void OLP_Logic_Camera::setMirrorUpMode(bool on)
{
    change("OLP_Logic_Camera::setMirrorUpMode", &Settings::setMirrorUpMode, on ? 1 : 0);
}

int OLP_Logic_Camera::fileFormat()
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::fileFormat");
        return 0;
    }
    const int format = m_settings->fileFormat();
    setPictureExampleFileFormat(format);
    return format;
}

void OLP_Logic_Camera::setFileFormat(int fileFormat)
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::setFileFormat");
        return;
    }
    setPictureExampleFileFormat(fileFormat);
    m_settings->setFileFormat(fileFormat);
    m_settings->sendToCameraIfDirty();
}

double OLP_Logic_Camera::shutterTime()
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::shutterTime");
        return 0.0;
    }
    if (m_settings->exposureMode() == 4) {
        return -1.0;
    }
    return m_settings->shutterTime();
}

void OLP_Logic_Camera::setPictureExampleFileFormat(int fileFormat)
{
    if (noFolderSettings("OLP_Logic_Camera::setPictureExampleFileFormat")) {
        return;
    }
    m_folderSettings->setExampleIsDng(fileFormat >= 0 && fileFormat < 3);
}

void OLP_Logic_Camera::setExposureMode(int mode)
{
    if (mode < 0 || mode > 5) {
        debugPrintf(0, "%s - illegal exposure mode %d", "OLP_Logic_Camera::setExposureMode", mode);
        return;
    }
    change("OLP_Logic_Camera::setExposureMode", &Settings::setExposureMode, mode);
}

void OLP_Logic_Camera::setBracketImgNum(int number)
{
    change("OLP_Logic_Camera::setBracketImgNum", &Settings::setBracketImgNum, number == 5 ? 5 : 3);
}

void OLP_Logic_Camera::setBracketEnabled(bool enabled)
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::setBracketEnabled");
        return;
    }
    if (m_settings->featureBracketing()) {
        m_settings->setBracketingAutomatic(enabled ? 1 : 0);
    }
    m_settings->setBracketEnabled(enabled);
    m_settings->sendToCameraIfDirty();
}

void OLP_Logic_Camera::setShutterTime(double seconds)
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::setShutterTime");
        return;
    }
    m_settings->setShutterTime(seconds);
    m_settings->sendToCameraIfDirty();
    SettingsChangeFlags changes;
    m_settings->recvFromCamera(0xD60C, &changes);
    emitChanged(changes);
}

void OLP_Logic_Camera::setWhiteBalanceIndex(uchar index)
{
    change("OLP_Logic_Camera::setWhiteBalanceIndex", &Settings::setWhiteBalanceIndex, int(index));
}

void OLP_Logic_Camera::setWhiteBalanceColorTemp(uint kelvin)
{
    change("OLP_Logic_Camera::setWhiteBalanceColorTemp", &Settings::setWhiteBalanceColorTemp, int(kelvin));
}

// ---- device info, lens and folder settings -----------------------------------------------------

QString OLP_Logic_Camera::productName() const
{
    if (!m_deviceInfo) {
        debugPrintf(0, "%s - no DeviceInfo", "OLP_Logic_Camera::productName");
        return QString();
    }
    return m_deviceInfo->model();
}

QString OLP_Logic_Camera::serialNumber() const
{
    if (!m_deviceInfo) {
        debugPrintf(0, "%s - no DeviceInfo", "OLP_Logic_Camera::serialNumber");
        return QString();
    }
    QString serial = m_deviceInfo->serialNumber();
    serial.remove(QRegularExpression(QStringLiteral("^[0]*")));
    return serial;
}

bool OLP_Logic_Camera::noLens(const char* name) const
{
    if (!m_lens) {
        debugPrintf(0, "%s - no lens data", name);
        return true;
    }
    return false;
}

QString OLP_Logic_Camera::lensTypeString() const
{
    return noLens("OLP_Logic_Camera::lensTypeString") ? QString() : m_lens->lensTypeString();
}

double OLP_Logic_Camera::openApertureValue() const
{
    return noLens("OLP_Logic_Camera::openApertureValue") ? 0.0 : m_lens->openApertureValue();
}

double OLP_Logic_Camera::closeApertureValue() const
{
    return noLens("OLP_Logic_Camera::closeApertureValue") ? 0.0 : m_lens->closeApertureValue();
}

int OLP_Logic_Camera::apertureSteps() const
{
    return noLens("OLP_Logic_Camera::apertureSteps") ? 0 : m_lens->apertureSteps();
}

quint32 OLP_Logic_Camera::focusPositionMax() const
{
    return noLens("OLP_Logic_Camera::focusPositionMax") ? 0 : m_lens->focusPositionMax();
}

quint32 OLP_Logic_Camera::focusPositionMin() const
{
    return noLens("OLP_Logic_Camera::focusPositionMin") ? 0 : m_lens->focusPositionMin();
}

bool OLP_Logic_Camera::noFolderSettings(const char* name) const
{
    if (!m_folderSettings) {
        debugPrintf(0, "%s - no folder settings", name);
        return true;
    }
    return false;
}

QString OLP_Logic_Camera::dngPath() const
{
    return noFolderSettings("OLP_Logic_Camera::dngPath") ? QString() : m_folderSettings->dngPath();
}

QString OLP_Logic_Camera::jpgPath() const
{
    return noFolderSettings("OLP_Logic_Camera::jpgPath") ? QString() : m_folderSettings->jpgPath();
}

QString OLP_Logic_Camera::pictureExampleFileName() const
{
    return noFolderSettings("OLP_Logic_Camera::pictureExampleFileName") ? QString()
                                                                        : m_folderSettings->pictureExampleFileName();
}

QString OLP_Logic_Camera::pictureName() const
{
    return noFolderSettings("OLP_Logic_Camera::pictureName") ? QString() : m_folderSettings->pictureName();
}

int OLP_Logic_Camera::pictureIndex() const
{
    return noFolderSettings("OLP_Logic_Camera::pictureIndex") ? 0 : m_folderSettings->pictureIndex();
}

void OLP_Logic_Camera::setDngPath(const QString& path)
{
    if (!noFolderSettings("OLP_Logic_Camera::setDngPath")) {
        m_folderSettings->setDngPath(path);
    }
}

void OLP_Logic_Camera::setJpgPath(const QString& path)
{
    if (!noFolderSettings("OLP_Logic_Camera::setJpgPath")) {
        m_folderSettings->setJpgPath(path);
    }
}

void OLP_Logic_Camera::setPictureName(const QString& name)
{
    if (!noFolderSettings("OLP_Logic_Camera::setPictureName")) {
        m_folderSettings->setPictureName(name);
    }
}

void OLP_Logic_Camera::setPictureIndex(int index)
{
    if (!noFolderSettings("OLP_Logic_Camera::setPictureIndex")) {
        m_folderSettings->setPictureIndex(index);
    }
}

void OLP_Logic_Camera::setFolderSettings(const OLP_Logic_FolderSettingsRecord& record)
{
    if (!noFolderSettings("OLP_Logic_Camera::setFolderSettings")) {
        m_folderSettings->load(record);
    }
}

// ---- state for the controller and the transfer threads ------------------------------------------

quint32 OLP_Logic_Camera::productId() const
{
    return m_cameraAccess ? m_cameraAccess->productId() : 0;
}

void OLP_Logic_Camera::setBusy(bool busy)
{
    m_busy.store(busy);
}

bool OLP_Logic_Camera::isTransferInProgress()
{
    QMutexLocker lock(&m_transferFlagLock);
    return m_transferInProgress;
}

void OLP_Logic_Camera::setTransferInProgress(bool inProgress)
{
    QMutexLocker lock(&m_transferFlagLock);
    m_transferInProgress = inProgress;
}

void OLP_Logic_Camera::incrementActiveTransfers()
{
    ++m_activeTransfers;
}

void OLP_Logic_Camera::decrementActiveTransfers()
{
    int current = m_activeTransfers.load();
    while (current > 0 && !m_activeTransfers.compare_exchange_weak(current, current - 1)) {
    }
}

bool OLP_Logic_Camera::wantLiveView()
{
    QMutexLocker lock(&m_liveViewLock);
    return m_wantLiveView;
}

void OLP_Logic_Camera::setWantQuickView(bool want)
{
    m_wantQuickView.store(want);
}

void OLP_Logic_Camera::emitQuickView(const QByteArray& data, const QString& fileName, int orientation)
{
    m_quickViewData = data;
    m_quickViewFileName = fileName;
    emit signalQuickView(m_quickViewData, m_quickViewFileName, orientation);
}

void OLP_Logic_Camera::emitDngTransferDone()
{
    emit signalDngTransferDone();
}

void OLP_Logic_Camera::emitFileNameAndNumber()
{
    emit signalFileNameAndNumber();
}

// ---- change emission ---------------------------------------------------------------------------

void OLP_Logic_Camera::emitChanged(const SettingsChangeFlags& c)
{
    if (c.batteryInfo)
        emit signalBatteryInfo(batteryInfo());
    if (c.batteryLevelIntern)
        emit signalBatteryLevelIntern(batteryLevelIntern());
    if (c.batteryLevelExtern)
        emit signalBatteryLevelExtern(batteryLevelExtern());
    if (c.maxShutterTime)
        emit signalMaxShutterTime(maxShutterTime());
    if (c.lensConnectionType)
        emit signalLensConnectionType(lensConnectionType());
    if (c.powerSwitch)
        emit signalPowerSwitch(powerSwitch());
    if (c.selfTimerRestTime)
        emit signalSelfTimerRestTime(selfTimerRestTime());
    if (c.bulbModeTime)
        emit signalBulbModeTime(bulbModeTime());
    if (c.driveMode)
        emit signalDriveMode(driveMode());
    if (c.focusMode)
        emit signalFocusMode(focusMode());
    if (c.exposMetering)
        emit signalExposMetering(exposMetering());
    if (c.exposCompens)
        emit signalExposCompens(exposCompens());
    if (c.exposCompensStep)
        emit signalExposCompensStep(exposCompensStep());
    if (c.bracketingEnabled)
        emit signalBracketEnabled(bracketingEnabled());
    if (c.bracketingImageNumbers)
        emit signalBracketImgNum(bracketingImageNumbers());
    if (c.bracketingDeltaEV)
        emit signalBracketDeltaEV(bracketingDeltaEV());
    if (c.mirrorUpMode)
        emit signalMirrorUpMode(mirrorUpMode());
    if (c.sensitivity) {
        emit signalSensitivityAuto(sensitivityAuto());
        emit signalSensitivity(sensitivity());
    }
    if (c.keyLock)
        emit signalKeyLock(keyLock());
    if (c.jpgResolution)
        emit signalJpgResolution(jpgResolution());
    if (c.autoreviewDuration)
        emit signalAutoreviewDuration(autoreviewDuration());
    if (c.autoPowerOff)
        emit signalAutoPowerOff(autoPowerOff());
    if (c.sensorFormat)
        emit signalSensorFormat(sensorFormat());
    if (c.photoAspectRatio)
        emit signalPhotoAspectRatio(photoAspectRatio());
    if (c.videoFileFormat)
        emit signalVideoFileFormat(videoFileFormat());
    if (c.videoResAndFrRate)
        emit signalVideoResAndFrRate(videoResAndFrRate());
    if (c.videoFormatResol)
        emit signalVideoFormatResol(videoFormatResol());
    if (c.contrast)
        emit signalContrast(contrast());
    if (c.sharpness)
        emit signalSharpness(sharpness());
    if (c.saturation)
        emit signalSaturation(saturation());
    if (c.monochrome)
        emit signalMonochrome(monochrome());
    if (c.electronicShutter)
        emit signalElectronicShutter(electronicShutter());
    if (c.orientation)
        emit signalOrientation(orientation());
    if (c.audioLevel)
        emit signalAudioLevel(audioLevel());
    if (c.audioWindElim)
        emit signalAudioWindElim(audioWindElim());
    if (c.audioVolSpeaker)
        emit signalAudioVolSpeaker(audioVolSpeaker());
    if (c.audioVolHeadphone)
        emit signalAudioVolHeadphone(audioVolHeadphone());
    if (c.audioVolMicrophone)
        emit signalAudioVolMicrophone(audioVolMicrophone());
    if (c.exposureSimulation)
        emit signalExposureSimulation(exposureSimulation());
    if (c.dngCompression)
        emit signalDngCompression(dngCompression());
    if (c.flashStatus)
        emit signalFlashStatus(flashStatus());
    if (c.flashXSymbol)
        emit signalFlashXSymbol(flashXSymbol());
    if (c.lightMeter)
        emit signalLightBalance(lightBalance());
    if (c.fileFormat)
        emit signalFileFormat(fileFormat());
    if (c.whiteBalanceIndex)
        emit signalWhiteBalance(whiteBalanceIndex());
    if (c.whiteBalanceColorTemp)
        emit signalWhiteBalTemp(whiteBalanceColorTemp());
    if (c.jpgColorSpace)
        emit signalJpgColorSpace(jpgColorSpace());
    if (c.exposureMode) {
        emit signalExposureMode(exposureMode());
        if (hasAperture()) {
            emit signalAperture(aperture());
        }
        emit signalShutterTime(shutterTime());
    }
    if (c.aperture)
        emit signalAperture(aperture());
    if (c.shutterTime)
        emit signalShutterTime(shutterTime());
    if (c.focusDistance)
        emit signalFocusDistance(focusDistance());
    if (c.focusConfirmation)
        emit signalFocusConfirmation(focusConfirmation());
    if (c.focusConfirmationBadSignal)
        emit signalFocusConfirmBadSig(focusConfirmationBadSignal());
    if (c.focusConfirmationEnabled && !focusConfirmationEnabled())
        emit signalNoFocusConfirmation();
    if (c.autoFocusLimit)
        emit signalAutoFocusLimit(autoFocusLimit());
    if (c.autoFocusLimitDistance)
        emit signalAutoFocusLimitDist(autoFocusLimitDist());
    if (c.warnings)
        emit signalWarnings(warning());
    if (c.intervalFrames)
        emit signalIntervalFrames(intervalFrames());
    if (c.intervalTime)
        emit signalIntervalTime(intervalTime());
}

// ---- device events -----------------------------------------------------------------------------

void OLP_Logic_Camera::catchDevicePropertyChanged(ushort propertyCode)
{
    if (propertyCode >= 0xD601 && propertyCode <= 0xD607) {
        return;
    }
    if (propertyCode == 0x5020 || propertyCode == 0x5021) {
        return;
    }
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::catchDevicePropertyChanged");
        return;
    }
    SettingsChangeFlags changes;
    m_settings->recvFromCamera(propertyCode, &changes);
    emitChanged(changes);
}

void OLP_Logic_Camera::catchSettingsChanged()
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::catchSettingsChanged");
        return;
    }
    SettingsChangeFlags changes;
    m_settings->recvFromCamera(&changes);
    emitChanged(changes);
}

void OLP_Logic_Camera::catchLensChanged()
{
    if (noLens("OLP_Logic_Camera::catchLensChanged")) {
        return;
    }
    m_lens->recvFromCamera();
    emit signalLensChanged();
}

void OLP_Logic_Camera::catchGeotackingChanged()
{
    if (!m_geotackingData) {
        debugPrintf(0, "%s - no geotacking data", "OLP_Logic_Camera::catchGeotackingChanged");
        return;
    }
    m_geotackingData->recvFromCamera();
    emit signalGeotackingChanged();
}

void OLP_Logic_Camera::catch3DAxisDataChanged()
{
    m_timer3DAxis.start(0);
}

// ---- keep-alive and 3D axis --------------------------------------------------------------------

void OLP_Logic_Camera::catchKeepAlive()
{
    const char* name = "OLP_Logic_Camera::catchKeepAlive";
    if (productId() == 0) {
        return;
    }
    if (m_busy.load()) {
        // A release that never produced a picture would keep the camera from
        // ever being kept awake again: drop busy when nothing is pending.
        if (m_activeTransfers.load() == 0 && !isTransferInProgress() && !m_bulbActive.load()) {
            if (++m_busyTicks >= kBusyWatchdogTicks) {
                debugPrintf(0, "%s - busy for %d keep-alive ticks with nothing pending, cleared", name, m_busyTicks);
                m_busy.store(false);
                m_busyTicks = 0;
            }
        } else {
            m_busyTicks = 0;
        }
        if (m_busy.load()) {
            debugPrintf(256, "%s - KeepAlive skipped", name);
            return;
        }
    }
    m_busyTicks = 0;
    QMutexLocker lock(&m_commandLock);
    if (m_busy.load()) {
        debugPrintf(256, "%s - KeepAlive skipped", name);
        return;
    }
    debugPrintf(256, "%s - KeepAlive sending...", name);
    const bool result = m_cameraAccess->releaseCam(PTP::StageKeepAlive);
    emit signalIsAlive(result);
    if (result) {
        m_busy.store(false);
    }
    debugPrintf(256, "%s - KeepAlive done", name);
}

void OLP_Logic_Camera::catchRefresh3DAxisData()
{
    const char* name = "OLP_Logic_Camera::catchRefresh3DAxisData";
    if (isTransferInProgress()) {
        debugPrintf(16384, "%s - isTransferInProgress", name);
        return;
    }
    if (!m_axisData) {
        return;
    }
    if (m_busy.load()) {
        debugPrintf(16384, "%s - Getting 3DAxis data skipped", name);
        return;
    }
    QMutexLocker lock(&m_commandLock);
    if (m_busy.load()) {
        debugPrintf(16384, "%s - Getting 3DAxis data skipped", name);
        return;
    }
    debugPrintf(16384, "%s - Getting 3DAxis data...", name);
    m_axisData->recvFromCamera();
    emit signal3DAxisAngles(m_axisData->cameraPitchAngle(), m_axisData->cameraRollAngle());
    debugPrintf(16384, "%s - 3DAxis Data up-to-date", name);
}

// ---- release primitives ------------------------------------------------------------------------

bool OLP_Logic_Camera::releaseCam(int releaseMode)
{
    const bool result = m_cameraAccess && m_cameraAccess->releaseCam(releaseMode);
    if (result) {
        m_busy.store(true);
    } else {
        debugPrintf(0, "%s - releaseMode %d failed", "OLP_Logic_Camera::releaseCam", releaseMode);
    }
    return result;
}

bool OLP_Logic_Camera::startBulbMirrorUp()
{
    return releaseCam(PTP::StageBulbOpen);
}

bool OLP_Logic_Camera::startBulb()
{
    const bool result = releaseCam(PTP::StageBulbOpen);
    m_busy.store(result);
    m_bulbActive.store(result);
    return result;
}

bool OLP_Logic_Camera::stopBulb()
{
    // A failed close leaves the bulb open, so the next press retries the close.
    const bool result = releaseCam(PTP::StageBulbClose);
    if (result) {
        m_busy.store(false);
        m_bulbActive.store(false);
    }
    return result;
}

bool OLP_Logic_Camera::stopContinuous()
{
    const bool result = releaseCam(PTP::StageContinuousStop);
    m_continuousStopPending.store(true);
    if (result) {
        m_busy.store(false);
    }
    return result;
}

void OLP_Logic_Camera::toggleVideoCapture()
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::toggleVideoCapture");
        return;
    }
    const bool recording = m_videoRecording.load();
    if (!recording && m_settings->featureStorageType()) {
        m_storageTypeBeforeVideo = m_settings->storageType();
        m_settings->setStorageType(0);
        m_settings->sendToCameraIfDirty();
    }
    const bool result = releaseCam(recording ? PTP::StageVideoStop : PTP::StageVideoStart);
    if (result) {
        m_videoRecording.store(!recording);
    }
    // Restore the storage type when recording has ended, or at once when it
    // never started.
    const bool restore = result ? recording : !recording;
    if (restore && m_storageTypeBeforeVideo >= 0) {
        if (m_settings->featureStorageType()) {
            m_settings->setStorageType(m_storageTypeBeforeVideo);
            m_settings->sendToCameraIfDirty();
        }
        m_storageTypeBeforeVideo = -1;
    }
}

void OLP_Logic_Camera::restoreAutoPowerOff()
{
    if (m_settings && m_savedAutoPowerOff >= 0) {
        m_settings->setAutoPowerOff(m_savedAutoPowerOff);
        m_settings->sendToCameraIfDirty();
    }
}

void OLP_Logic_Camera::restoreStorageType()
{
    if (m_settings && m_savedStorageType >= 0 && hasStorageType()) {
        m_settings->setStorageType(m_savedStorageType);
        m_settings->sendToCameraIfDirty();
    }
}

void OLP_Logic_Camera::transferRequest()
{
    debugPrintf(8192, "%s - TransferRequest received in thread 0x%lx", "OLP_Logic_Camera::transferRequest",
                currentThreadIdForLog());
    m_busy.store(true);
    deleteFinishedTransferThreads();
    ++m_transferRequests;
}

void OLP_Logic_Camera::deleteFinishedTransferThreads()
{
    for (int i = m_transferThreads.size() - 1; i >= 0; --i) {
        QThread* thread = m_transferThreads.at(i);
        if (thread->isFinished()) {
            m_transferThreads.removeAt(i);
            delete thread;
        }
    }
}

void OLP_Logic_Camera::transferDone()
{
    // Called on a transfer thread: the settings are written in the camera's own thread.
    QMetaObject::invokeMethod(this, "sendSettingsIfDirty", Qt::QueuedConnection);
}

void OLP_Logic_Camera::sendSettingsIfDirty()
{
    if (!m_settings) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::transferDone");
        return;
    }
    m_settings->sendToCameraIfDirty();
}

// ---- focus -------------------------------------------------------------------------------------

void OLP_Logic_Camera::setFocusMode(int mode)
{
    switch (mode) {
        case 0:
            changeToAutoFocusSingle();
            break;
        case 1:
            changeToAutoFocusContinuous();
            break;
        case 2:
            changeToManualFocus();
            break;
        default:
            debugPrintf(0, "%s - illegal focus mode %d", "OLP_Logic_Camera::setFocusMode", mode);
            break;
    }
}

namespace {
// Live view is running on a camera that must not get an autofocus start then.
bool liveViewBlocksAutoFocus(OLP_Commu_CameraAccess_Base* access)
{
    if (!access || access->productId() != ProductIdPelvo) {
        return false;
    }
    quint8 value[4];
    if (!access->getDevicePropValue(0x5020, value, sizeof(value))) {
        return false;
    }
    const quint32 state = OLP_Commu_PtpReader::readU32(value, sizeof(value), 0);
    return (state & 0xFFFF) == 1 && state > 0xFFFF;
}
}  // namespace

void OLP_Logic_Camera::changeToAutoFocusSingle()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::changeToAutoFocusSingle");
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    m_settings->setFocusMode(0);
    m_settings->sendToCameraIfDirty();
    if (!liveViewBlocksAutoFocus(m_cameraAccess)) {
        m_cameraAccess->releaseCamAutoFocusStart();
    }
}

void OLP_Logic_Camera::changeToAutoFocusContinuous()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::changeToAutoFocusContinuous");
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    m_settings->setFocusMode(1);
    m_settings->sendToCameraIfDirty();
    if (!liveViewBlocksAutoFocus(m_cameraAccess)) {
        m_cameraAccess->releaseCamAutoFocusStart();
    }
}

void OLP_Logic_Camera::changeToManualFocus()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::changeToManualFocus");
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    m_settings->setFocusMode(2);
    m_settings->sendToCameraIfDirty();
}

void OLP_Logic_Camera::switchToMFMode()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::switchToMFMode");
        return;
    }
    if (m_settings->focusMode() == 2) {
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    m_settings->setFocusMode(2);
    m_settings->sendToCameraIfDirty();
    emit signalFocusMode(focusMode());
}

void OLP_Logic_Camera::setFocusDistance(uint position)
{
    const char* name = "OLP_Logic_Camera::setFocusDistance";
    if (!m_settings || !m_settings->featureMoveLensToPos()) {
        debugPrintf(0, "%s - feature MoveLensToPosition is not available", name);
        return;
    }
    if (position == 0xFFFFFFFFu) {
        debugPrintf(0, "%s - illegal position 0x%lx", name, static_cast<unsigned long>(position));
        return;
    }
    switchToMFMode();
    m_cameraAccess->releaseCamAutoFocusStart();
    m_cameraAccess->releaseCam(PTP::StageLensAbsolute, int(position));
}

void OLP_Logic_Camera::setFocusDistanceDec()
{
    if (!m_settings || !m_settings->featureMoveLensRightLeft()) {
        debugPrintf(0, "%s - feature MoveLensRightLeft is not available", "OLP_Logic_Camera::setFocusDistanceDec");
        return;
    }
    switchToMFMode();
    m_cameraAccess->releaseCamAutoFocusStart();
    m_cameraAccess->releaseCam(productId() == ProductIdPelvo ? PTP::StageLensStepBack : PTP::StageLensStep, 5);
}

void OLP_Logic_Camera::setFocusDistanceInc()
{
    if (!m_settings || !m_settings->featureMoveLensRightLeft()) {
        debugPrintf(0, "%s - feature MoveLensRightLeft is not available", "OLP_Logic_Camera::setFocusDistanceInc");
        return;
    }
    switchToMFMode();
    m_cameraAccess->releaseCamAutoFocusStart();
    m_cameraAccess->releaseCam(productId() == ProductIdPelvo ? PTP::StageLensStep : PTP::StageLensStepBack, 5);
}

// ---- image database ----------------------------------------------------------------------------

void OLP_Logic_Camera::slotRebuildImageDB()
{
    const char* name = "OLP_Logic_Camera::slotRebuildImageDB";
    if (m_timerImageDB.isActive()) {
        m_imageDBRebuildPending = true;
        return;
    }
    m_imageDBRebuildPending = false;
    emit signalImageDBChangeBegin();

    QList<quint32> handles;
    if (m_cameraAccess) {
        quint8 storage[4 + 4 * 16];
        m_cameraAccess->transaction(PTP::OpGetStorageIDs, 0, nullptr, storage, sizeof(storage), name);
        QByteArray buffer(int(kHandlesBufferSize), Qt::Uninitialized);
        quint32 received = 0;
        const quint32 all = 0xFFFFFFFF;
        if (m_cameraAccess->transaction(PTP::OpGetObjectHandles, 1, &all, reinterpret_cast<quint8*>(buffer.data()),
                                        kHandlesBufferSize, name, &received)) {
            // The count is bounded by the bytes that arrived.
            OLP_Commu_PtpReader reader(reinterpret_cast<const quint8*>(buffer.constData()), received);
            quint32 count = reader.u32();
            count = qMin<quint32>(count, quint32(reader.remaining() / 4));
            for (quint32 i = 0; i < count; ++i) {
                const quint32 handle = reader.u32();
                const quint32 kind = handle & 0xF;
                if (kind == 1 || kind == 2 || kind == 6) {
                    handles.append(handle);
                }
            }
        }
    }

    static QByteArray placeholder;
    if (placeholder.isEmpty()) {
        QFile file(QStringLiteral(":/images/download.png"));
        if (file.open(QIODevice::ReadOnly)) {
            placeholder = file.readAll();
        }
    }
    for (int i = m_imageDB.size() - 1; i >= 0; --i) {
        if (!handles.contains(m_imageDB.at(i).handle)) {
            m_imageDB.removeAt(i);
        }
    }
    for (quint32 handle : qAsConst(handles)) {
        if (imageDBIndexOf(handle) >= 0) {
            continue;
        }
        ImageDBEntry entry;
        entry.thumbnail = placeholder;
        entry.name = QStringLiteral("index %1").arg(m_imageDB.size() + 1);
        entry.handle = handle;
        entry.notDng = (handle & 0xF) != 2;
        m_imageDB.append(entry);
    }
    emit signalImageDBChangeEnd();
    m_timerImageDB.start(3000);
}

void OLP_Logic_Camera::slotDelayedRebuildImageDB()
{
    if (m_imageDBRebuildPending) {
        slotRebuildImageDB();
    }
}

quint32 OLP_Logic_Camera::imageDBHandle(int index) const
{
    return index >= 0 && index < m_imageDB.size() ? m_imageDB.at(index).handle : 0;
}

int OLP_Logic_Camera::imageDBRotation(int index) const
{
    return index >= 0 && index < m_imageDB.size() ? m_imageDB.at(index).rotation : 0;
}

int OLP_Logic_Camera::imageDBIndexOf(quint32 handle) const
{
    for (int i = 0; i < m_imageDB.size(); ++i) {
        if (m_imageDB.at(i).handle == handle) {
            return i;
        }
    }
    return -1;
}

void OLP_Logic_Camera::setImageDBRotation(int index, int rotation)
{
    if (index >= 0 && index < m_imageDB.size()) {
        m_imageDB[index].rotation = rotation;
    }
}

void OLP_Logic_Camera::setImageDBSizeClass(int index, int sizeClass)
{
    if (index >= 0 && index < m_imageDB.size()) {
        m_imageDB[index].sizeClass = sizeClass;
    }
}

void OLP_Logic_Camera::removeImageDBEntry(quint32 handle)
{
    const int index = imageDBIndexOf(handle);
    if (index >= 0) {
        m_imageDB.removeAt(index);
    }
}
