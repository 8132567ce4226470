#include "OLP_Logic_Camera.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QFile>
#include <QImageReader>
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
#include "OLP_Logic_CameraStreamInfo.h"
#include "OLP_Logic_DeviceInfo.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Logic_LiveViewPacket.h"
#include "OLP_Logic_TransferThread.h"

static void initCoreResources()
{
    Q_INIT_RESOURCE(olp_logic_images);
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
    connect(&m_timerLiveView, &QTimer::timeout, this, &OLP_Logic_Camera::catchLiveViewTimerFired);

    m_timerKeepAlive.start(5000);
    if (axisEvent) {
        m_timer3DAxis.setSingleShot(true);
    } else if (axisOperation) {
        m_timer3DAxis.setSingleShot(false);
        m_timer3DAxis.start(300);
    }
    m_timerImageDB.setSingleShot(true);
    m_timerLiveView.setSingleShot(true);
    m_timerLiveView.setTimerType(Qt::PreciseTimer);
}

OLP_Logic_Camera::~OLP_Logic_Camera()
{
    // Timers and connections go first, so nothing new starts while the
    // transfer threads finish; each thread is then waited for directly.
    m_timerKeepAlive.stop();
    m_timer3DAxis.stop();
    m_timerImageDB.stop();
    m_timerLiveView.stop();
    disconnect(&m_timerLiveView, nullptr, this, nullptr);
    disconnect(&m_timerKeepAlive, nullptr, this, nullptr);
    disconnect(&m_timer3DAxis, nullptr, this, nullptr);
    disconnect(&m_timerImageDB, nullptr, this, nullptr);
    if (m_cameraAccess) {
        disconnect(m_cameraAccess, nullptr, this, nullptr);
    }
    for (OLP_Logic_TransferThread* thread : qAsConst(m_transferThreads)) {
        thread->wait();
        // Reading the done flag orders the thread's work before the deletion
        // in a way every tool sees: QThread::wait() works under Qt's own locks.
        static_cast<void>(thread->isDone());
    }
    qDeleteAll(m_transferThreads);
    m_transferThreads.clear();
    if (isTransferInProgress()) {
        emit signalLoading(false);
    }
    if (m_streamInfo) {
        finishLiveViewStreaming();
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

int OLP_Logic_Camera::whiteBalanceIndex()
{
    return query("OLP_Logic_Camera::whiteBalanceIndex", &Settings::whiteBalanceIndex);
}

int OLP_Logic_Camera::whiteBalanceColorTemp()
{
    return query("OLP_Logic_Camera::whiteBalanceColorTemp", &Settings::whiteBalanceColorTemp);
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
    const int before = m_settings ? m_settings->whiteBalanceIndex() : int(index);
    change("OLP_Logic_Camera::setWhiteBalanceIndex", &Settings::setWhiteBalanceIndex, int(index));
    if (m_settings && before != int(index)) {
        restartLiveViewAfterWhiteBalance();
    }
}

void OLP_Logic_Camera::setWhiteBalanceColorTemp(uint kelvin)
{
    const int before = m_settings ? m_settings->whiteBalanceColorTemp() : int(kelvin);
    change("OLP_Logic_Camera::setWhiteBalanceColorTemp", &Settings::setWhiteBalanceColorTemp, int(kelvin));
    if (m_settings && before != int(kelvin)) {
        restartLiveViewAfterWhiteBalance();
    }
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
    // A refused name leaves the previous one; telling the GUI again puts its
    // field and its stored settings back in step with the name files get.
    if (!noFolderSettings("OLP_Logic_Camera::setPictureName") && !m_folderSettings->setPictureName(name)) {
        emit signalFileNameAndNumber();
    }
}

void OLP_Logic_Camera::setPictureIndex(int index)
{
    if (!noFolderSettings("OLP_Logic_Camera::setPictureIndex") && !m_folderSettings->setPictureIndex(index)) {
        emit signalFileNameAndNumber();
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

void OLP_Logic_Camera::emitTransferWarning(const QString& text)
{
    emit signalTransferWarning(text);
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
        catchLiveViewPropertyChanged(propertyCode);
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
    if (m_cameraAccess) {
        // The camera answers a release after the exposure: the transport waits
        // that long (-1, unknown, in bulb mode).
        m_cameraAccess->setExposureTime(shutterTime());
    }
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
    const bool objectProps = m_deviceInfo && m_deviceInfo->isOperationSupported(PTP::OpGetObjectPropsSupported) &&
                             m_deviceInfo->isOperationSupported(PTP::OpGetObjectPropValue);
    // The file format of the picture is the one set now; a change while the
    // transfer waits for its turn belongs to later pictures.
    const int fileFormat = m_settings ? m_settings->fileFormat() : 0;
    OLP_Logic_TransferThread* thread = new OLP_Logic_TransferThread(this, objectProps, fileFormat);
    m_transferThreads.append(thread);
    thread->start(QThread::InheritPriority);
}

bool OLP_Logic_Camera::waitForTransferThreads(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (QThread* thread : qAsConst(m_transferThreads)) {
        if (!thread->wait(deadline)) {
            return false;
        }
    }
    return true;
}

void OLP_Logic_Camera::deleteFinishedTransferThreads()
{
    for (int i = m_transferThreads.size() - 1; i >= 0; --i) {
        OLP_Logic_TransferThread* thread = m_transferThreads.at(i);
        if (thread->isDone() && thread->isFinished()) {
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

void OLP_Logic_Camera::changeFocusMode(const char* name, int mode, bool startAutoFocus)
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", name);
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    m_settings->setFocusMode(mode);
    m_settings->sendToCameraIfDirty();
    if (startAutoFocus && !liveViewBlocksAutoFocus(m_cameraAccess)) {
        m_cameraAccess->releaseCamAutoFocusStart();
    }
}

void OLP_Logic_Camera::changeToAutoFocusSingle()
{
    changeFocusMode("OLP_Logic_Camera::changeToAutoFocusSingle", 0, true);
}

void OLP_Logic_Camera::changeToAutoFocusContinuous()
{
    changeFocusMode("OLP_Logic_Camera::changeToAutoFocusContinuous", 1, true);
}

void OLP_Logic_Camera::changeToManualFocus()
{
    changeFocusMode("OLP_Logic_Camera::changeToManualFocus", 2, false);
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
        m_timerImageDB.stop();
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

// ---- live view ---------------------------------------------------------------------------------
//
// The camera reports its live-view state in property 0x5020; while live view
// runs the stream is enabled (0x5021) and the single-shot timerLiveView polls
// one stream-data packet per frame. The packet buffer is allocated once per
// streaming session, its size checked against a cap: the size comes from the
// camera.

namespace {

constexpr quint16 kPropSupportedStreams = 0x5020;
constexpr quint16 kPropEnabledStreams = 0x5021;
constexpr quint16 kPropStreamVideoFormat = 0x5022;
constexpr quint16 kPropStreamVideoFrameRate = 0x5025;
constexpr quint16 kPropStreamVideoResolution = 0xD632;

constexpr eDebugFlag kLiveViewFlag = 65536;
constexpr int kDefaultFrameIntervalMs = 40;
constexpr int kMinPollDelayMs = 5;
constexpr quint32 kMaxStreamPacketSize = 32u * 1024u * 1024u;
// Dumps of a packet show its header and tag list, not a whole picture.
constexpr quint64 kPacketDumpLines = 64;
// A packet full of unknown tags must not flood the log at the frame rate.
constexpr int kMaxUnknownTagLines = 32;
constexpr unsigned long kAutoFocusPulseMs = 1000;

// The time until the next poll: the rest of the frame interval measured from
// the start of the last poll (elapsedNs), at least 5 ms and at most one frame
// interval. Rounded, not truncated: truncation would stretch every frame by up
// to 1 ms.
int pollDelay(int frameInterval, qint64 elapsedNs)
{
    const qint64 upper = qMax(frameInterval, kMinPollDelayMs);
    const qint64 elapsed = (qMax<qint64>(elapsedNs, 0) + 500000) / 1000000;
    return int(qBound<qint64>(kMinPollDelayMs, qint64(frameInterval) - elapsed, upper));
}

char fourCCChar(quint32 value, int index)
{
    const char c = char((value >> (8 * index)) & 0xFF);
    return c >= 0x20 && c <= 0x7E ? c : '.';
}

}  // namespace

bool OLP_Logic_Camera::readLiveViewProperty(quint16 code, quint32* value)
{
    quint8 bytes[4] = {0, 0, 0, 0};
    if (!m_cameraAccess || !m_cameraAccess->getDevicePropValue(code, bytes, sizeof(bytes))) {
        return false;
    }
    *value = OLP_Commu_PtpReader::readU32(bytes, sizeof(bytes), 0);
    return true;
}

bool OLP_Logic_Camera::writeEnabledStreams(quint32 value)
{
    const quint8 bytes[4] = {quint8(value), quint8(value >> 8), quint8(value >> 16), quint8(value >> 24)};
    return m_cameraAccess && m_cameraAccess->setDevicePropValue(kPropEnabledStreams, bytes, sizeof(bytes));
}

bool OLP_Logic_Camera::readSupportedStreams(const char* name, quint32* value)
{
    if (!readLiveViewProperty(kPropSupportedStreams, value)) {
        debugPrintf(0, "%s - getDevicePropSupportedStreams failed!", name);
        return false;
    }
    debugPrintf(kLiveViewFlag, "%s - supportedStreams = 0x%08x", name, *value);
    return true;
}

void OLP_Logic_Camera::checkIfLiveViewIsActive()
{
    const char* name = "OLP_Logic_Camera::checkIfLiveViewIsActive";
    quint32 value = 0;
    if (!readSupportedStreams(name, &value)) {
        return;
    }
    const int state = OLP_Logic_LiveViewPacket::stateFromSupportedStreams(value);
    emit signalLiveViewMode(state);
    if (state != 0) {
        if (!m_streamInfo) {
            prepareLiveViewStreaming();
        }
        if (state == 2 || state == 3) {
            m_liveViewType = state;
        }
    } else if (m_streamInfo) {
        finishLiveViewStreaming();
    }
}

void OLP_Logic_Camera::catchLiveViewPropertyChanged(quint16 propertyCode)
{
    const char* name = "OLP_Logic_Camera::catchDevicePropertyChanged";
    if (propertyCode == kPropEnabledStreams) {
        quint32 enabled = 0;
        if (readLiveViewProperty(kPropEnabledStreams, &enabled)) {
            debugPrintf(kLiveViewFlag, "%s - enabledStreams   = 0x%08x", name, enabled);
        } else {
            debugPrintf(0, "%s - getDevicePropEnabledStreams failed!", name);
        }
        return;
    }
    if (!wantLiveView()) {
        return;
    }
    quint32 value = 0;
    if (!readSupportedStreams(name, &value)) {
        return;
    }
    const int state = OLP_Logic_LiveViewPacket::stateFromSupportedStreams(value);
    emit signalLiveViewMode(state);
    if (state != 0) {
        prepareLiveViewStreaming();
        if (state == 2 || state == 3) {
            m_liveViewType = state;
        } else if (state == 1) {
            m_videoRecording.store(true);
        }
        return;
    }
    finishLiveViewStreaming();
    // The camera left live view after a grey-card operation: start the live
    // view that ran before it again.
    if (m_liveViewRestartType == 2) {
        emit signalLiveViewVideo(false);
        liveViewRelease(name, PTP::StageLiveViewOn, 0);
    } else if (m_liveViewRestartType == 3) {
        emit signalLiveViewPhoto(false);
        liveViewRelease(name, PTP::StageLiveViewOn, 1);
    }
    m_liveViewRestartType = 0;
    m_videoRecording.store(false);
}

void OLP_Logic_Camera::prepareLiveViewStreaming()
{
    const char* name = "OLP_Logic_Camera::prepareLiveViewStreaming";
    if (m_streamInfo) {
        debugPrintf(0, "%s - live view streaming still active", name);
        return;
    }
    if (!writeEnabledStreams(1)) {
        debugPrintf(0, "%s - setDevicePropEnabledStreams failed!", name);
        return;
    }
    quint32 format = 0;
    if (!readLiveViewProperty(kPropStreamVideoFormat, &format)) {
        debugPrintf(0, "%s - getDevicePropStreamVideoFormat failed!", name);
        return;
    }
    debugPrintf(kLiveViewFlag, "%s - streamVideoFormat = %d (%c%c%c%c)", name, int(format), fourCCChar(format, 0),
                fourCCChar(format, 1), fourCCChar(format, 2), fourCCChar(format, 3));
    quint32 frameRate = 0;
    if (!readLiveViewProperty(kPropStreamVideoFrameRate, &frameRate)) {
        debugPrintf(0, "%s - getDevicePropStreamVideoFrameRate failed!", name);
        return;
    }
    debugPrintf(kLiveViewFlag, "%s - streamVideoFrameRate = %d", name, int(frameRate));
    // Frames per 1000 s: 25000 is 25 frames per second, 40 ms apart.
    const int interval = frameRate != 0 ? int(1000000u / frameRate) : kDefaultFrameIntervalMs;
    quint32 resolution = 0;
    if (!readLiveViewProperty(kPropStreamVideoResolution, &resolution)) {
        debugPrintf(0, "%s - getDevicePropStreamVideoResolution failed!", name);
        return;
    }
    debugPrintf(kLiveViewFlag, "%s - streamVideoResolution = %d", name, int(resolution));

    m_streamInfo = new OLP_Logic_CameraStreamInfo(m_cameraAccess);
    // The packet size comes from the camera: 0 (a failed StreamInfo read)
    // would make the header reads run past the buffer, a huge value would
    // allocate gigabytes.
    const quint32 packetSize = m_streamInfo->packetMaxSize();
    if (packetSize < OLP_Logic_LiveViewPacket::MinImageOffset || packetSize > kMaxStreamPacketSize) {
        debugPrintf(0, "%s - stream packet size %u out of range (%u to %u), live view not started", name,
                    unsigned(packetSize), unsigned(OLP_Logic_LiveViewPacket::MinImageOffset),
                    unsigned(kMaxStreamPacketSize));
        releaseStreamBuffers();
        return;
    }
    m_streamPacket.reset(new (std::nothrow) quint8[packetSize]);
    if (!m_streamPacket) {
        debugPrintf(0, "%s - cannot allocate stream data packet!", name);
        releaseStreamBuffers();
        return;
    }
    m_streamPacketSize = packetSize;
    m_frameInterval = interval;
    m_liveViewAwaitingAck = false;
    m_zoomGeometryLogged = false;
    m_frameClock.start();
    m_pollStartNs = 0;
    m_pollDueNs = qint64(qMax(interval, kMinPollDelayMs)) * 1000000;
    m_timerLiveView.start(qMax(interval, kMinPollDelayMs));
}

// Undoes a preparation that failed after the stream was enabled.
void OLP_Logic_Camera::releaseStreamBuffers()
{
    delete m_streamInfo;
    m_streamInfo = nullptr;
    m_streamPacket.reset();
    m_streamPacketSize = 0;
    if (!writeEnabledStreams(0)) {
        debugPrintf(0, "%s - setDevicePropEnabledStreams failed!", "OLP_Logic_Camera::prepareLiveViewStreaming");
    }
}

void OLP_Logic_Camera::finishLiveViewStreaming()
{
    const char* name = "OLP_Logic_Camera::finishLiveViewStreaming";
    m_timerLiveView.stop();
    m_liveViewAwaitingAck = false;
    if (m_streamInfo) {
        if (!writeEnabledStreams(0)) {
            debugPrintf(0, "%s - setDevicePropEnabledStreams failed!", name);
        }
        delete m_streamInfo;
        m_streamInfo = nullptr;
        m_streamPacket.reset();
        m_streamPacketSize = 0;
    } else {
        debugPrintf(0, "%s - live view streaming not active", name);
    }
    emit signalNoLiveView();
    m_zoomInfo.reset();
}

void OLP_Logic_Camera::catchLiveViewTimerFired()
{
    const char* name = "OLP_Logic_Camera::catchLiveViewTimerFired";
    if (!m_streamInfo || !m_streamPacket) {
        return;
    }
    // The frame clock counts from when the poll was due: a timer that wakes a
    // little late must not stretch every frame (the camera's frame rate is
    // kept on average). A poll more than a frame late starts a new schedule.
    const qint64 now = m_frameClock.nsecsElapsed();
    const qint64 late = now - m_pollDueNs;
    m_pollStartNs = m_pollDueNs >= 0 && late >= 0 && late < qint64(m_frameInterval) * 1000000 ? m_pollDueNs : now;
    m_pollDueNs = -1;
    m_liveViewAwaitingAck = false;
    bool frameDelivered = false;

    quint8* buffer = m_streamPacket.get();
    const quint32 size = m_streamPacketSize;
    // The access object zero-fills the buffer behind the bytes that arrived.
    if (!m_cameraAccess || !m_cameraAccess->getStreamData(buffer, size)) {
        debugPrintf(0, "%s - getStreamData failed!", name);
    } else {
        OLP_Logic_LiveViewPacket packet;
        const bool valid = packet.parse(buffer, size);
        const QVector<quint32>& unknown = packet.unknownTags();
        for (int i = 0; i < unknown.size() && i < kMaxUnknownTagLines; ++i) {
            debugPrintf(0, "%s - unknown tag 0x%08lx in live view stream!", name,
                        static_cast<unsigned long>(unknown[i]));
        }
        if (unknown.size() > kMaxUnknownTagLines) {
            debugPrintf(0, "%s - %d more unknown tags in live view stream!", name,
                        unknown.size() - kMaxUnknownTagLines);
        }
        if (!valid) {
            debugPrintf(0, "%s - error in stream data!", name);
            dumpBuffer(QLatin1String(name), QStringLiteral("streamData"), buffer, size, kPacketDumpLines, 16);
        } else {
            if (isDebugEnabled(kLiveViewFlag)) {
                logLiveViewPacket(packet, name);
            }
            const QImage image = decodeLiveViewFrame(
                QByteArray::fromRawData(reinterpret_cast<const char*>(packet.image()), int(packet.imageSize())),
                m_liveViewDisplaySize);
            emit signalLiveView(image);
            frameDelivered = true;

            if (packet.hasAudio()) {
                emit signalLiveAudioLevel(packet.audioRmsLeft() / 1000.0, packet.audioRmsRight() / 1000.0,
                                          packet.audioPeakLeft() / 1000.0, packet.audioPeakRight() / 1000.0);
            }
            if (packet.hasTimeCode()) {
                emit signalLiveTimeCode(packet.timeCodeHours(), packet.timeCodeMinutes(), packet.timeCodeSeconds(),
                                        packet.timeCodeFrames());
            }
            if (packet.hasZoomInfo()) {
                if (!m_zoomInfo) {
                    m_zoomInfo.reset(new OLP_Logic_LiveViewZoomInfo);
                }
                *m_zoomInfo = packet.zoomInfo();
                double crossX = 0, crossY = 0, x = 0, y = 0, w = 0, h = 0;
                // Positions relative to an empty area would be infinite.
                if (m_zoomInfo->crossPosition(&crossX, &crossY) && m_zoomInfo->sourceRect(&x, &y, &w, &h)) {
                    emit signalLiveZoomInfo(int(m_zoomInfo->selectedStripe), int(m_zoomInfo->zoomLevel), crossX,
                                            crossY);
                    emit signalLiveZoomRect(x, y, w, h);
                } else if (!m_zoomGeometryLogged) {
                    m_zoomGeometryLogged = true;
                    debugPrintf(0, "%s - zoom info with an empty source area or outer bounds, zoom not shown", name);
                }
            }
        }
    }

    // A receiver of the frame may have finished streaming.
    if (!m_streamInfo) {
        return;
    }
    if (m_waitLiveViewConsumed && frameDelivered) {
        // The GUI's acknowledgement starts the next poll; should it never
        // come, the fallback runs it.
        m_liveViewAwaitingAck = true;
        m_timerLiveView.start(qMax(m_liveViewAckTimeoutMs, kMinPollDelayMs));
        return;
    }
    restartLiveViewTimer();
}

void OLP_Logic_Camera::setLiveViewDisplaySize(const QSize& size)
{
    m_liveViewDisplaySize = size;
}

QImage OLP_Logic_Camera::decodeLiveViewFrame(const QByteArray& jpeg, const QSize& display)
{
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (display.isEmpty()) {
        return reader.read();
    }
    const QSize full = reader.size();
    if (!full.isValid()) {
        return reader.read();
    }
    // The JPEG decoder scales by 1/2, 1/4 or 1/8 inside its inverse DCT, which
    // costs a fraction of a full decode; the rounding follows libjpeg's.
    for (int denominator : {8, 4, 2}) {
        const QSize scaled((full.width() + denominator - 1) / denominator,
                           (full.height() + denominator - 1) / denominator);
        if (scaled.width() >= display.width() && scaled.height() >= display.height()) {
            reader.setScaledSize(scaled);
            break;
        }
    }
    return reader.read();
}

void OLP_Logic_Camera::restartLiveViewTimer()
{
    m_liveViewAwaitingAck = false;
    const qint64 now = m_frameClock.nsecsElapsed();
    const int delay = pollDelay(m_frameInterval, now - m_pollStartNs);
    m_pollDueNs = now + qint64(delay) * 1000000;
    m_timerLiveView.start(delay);
}

void OLP_Logic_Camera::logLiveViewPacket(const OLP_Logic_LiveViewPacket& packet, const char* name)
{
    dumpBuffer(QLatin1String(name), QStringLiteral("streamData"), m_streamPacket.get(), m_streamPacketSize,
               kPacketDumpLines, 16);
    if (packet.hasIso()) {
        debugPrintf(0, "%s - ISO                        = %ld", name, long(packet.iso()));
    }
    if (packet.hasExposureMicroseconds()) {
        debugPrintf(0, "%s - Exposure            (usec) = %ld usec", name, long(packet.exposureMicroseconds()));
    }
    if (packet.hasExposureTv()) {
        debugPrintf(0, "%s - Exposure              (TV) = %lf", name, packet.exposureTv());
    }
    if (packet.hasZoomInfo()) {
        const OLP_Logic_LiveViewZoomInfo& z = packet.zoomInfo();
        debugPrintf(0, "%s - Selected Stripe            = 0x%08lx", name, static_cast<unsigned long>(z.selectedStripe));
        debugPrintf(0, "%s - Zoom Level                 = %ld", name, long(z.zoomLevel));
        debugPrintf(0, "%s - Outer Bounds  (x, y, w, h) = %ld, %ld, %ld, %ld", name, long(z.outerX), long(z.outerY),
                    long(z.outerW), long(z.outerH));
        debugPrintf(0, "%s - Active Sensor (x, y, w, h) = %ld, %ld, %ld, %ld", name, long(z.activeX), long(z.activeY),
                    long(z.activeW), long(z.activeH));
        debugPrintf(0, "%s - Image SrcArea (x, y, w, h) = %ld, %ld, %ld, %ld", name, long(z.sourceX), long(z.sourceY),
                    long(z.sourceW), long(z.sourceH));
        debugPrintf(0, "%s - AF Cross            (x, y) = %ld, %ld", name, long(z.crossX), long(z.crossY));
        double x = 0, y = 0;
        if (z.crossPosition(&x, &y)) {
            debugPrintf(0, "%s - --> rel. Focus Pos. (x, y) = %5.3lf, %5.3lf", name, x, y);
        }
    }
    if (packet.hasImageId()) {
        debugPrintf(0, "%s - Image ID                   = 0x%08lx", name, static_cast<unsigned long>(packet.imageId()));
    }
    if (packet.hasAudio()) {
        debugPrintf(0, "%s - Audio Peak Value     (L,R) = %ld, %ld", name, long(packet.audioPeakLeft()),
                    long(packet.audioPeakRight()));
        debugPrintf(0, "%s - Audio RMS Value      (L,R) = %ld, %ld", name, long(packet.audioRmsLeft()),
                    long(packet.audioRmsRight()));
    }
    if (packet.hasTimeCode()) {
        debugPrintf(0, "%s - Time Code    (HH:MM:SS.FF) = %02d:%02d:%02d.%02d", name, packet.timeCodeHours(),
                    packet.timeCodeMinutes(), packet.timeCodeSeconds(), packet.timeCodeFrames());
    }
}

void OLP_Logic_Camera::catchLiveViewConsumed()
{
    // Only a frame that waits starts the next poll: a late or repeated
    // acknowledgement must not add a second pending poll.
    if (!m_waitLiveViewConsumed || !m_streamInfo || !m_liveViewAwaitingAck) {
        return;
    }
    restartLiveViewTimer();
}

void OLP_Logic_Camera::setWaitLiveViewConsumed(bool wait)
{
    m_waitLiveViewConsumed = wait;
    // No acknowledgement will come any more for a frame that waits for one.
    if (!wait && m_streamInfo && (m_liveViewAwaitingAck || !m_timerLiveView.isActive())) {
        restartLiveViewTimer();
    }
}

void OLP_Logic_Camera::setWantLiveView(bool want)
{
    {
        // Released before anything is called: the lock is not recursive and
        // the calls below take it again (wantLiveView()).
        QMutexLocker lock(&m_liveViewLock);
        if (want != m_wantLiveView) {
            m_wantLiveView = want;
        }
    }
    if (!hasLiveView()) {
        return;
    }
    if (want) {
        checkIfLiveViewIsActive();
    } else if (m_streamInfo) {
        finishLiveViewStreaming();
    }
}

bool OLP_Logic_Camera::liveViewRelease(const char* name, int stage, int param)
{
    if (!m_cameraAccess || !m_cameraAccess->releaseCam(stage, param)) {
        debugPrintf(0, "%s - releaseMode %d failed", name, stage);
        return false;
    }
    return true;
}

void OLP_Logic_Camera::setLiveViewPhoto(bool on)
{
    const char* name = "OLP_Logic_Camera::setLiveViewPhoto";
    if (on) {
        emit signalLiveViewVideo(false);
        liveViewRelease(name, PTP::StageLiveViewOn, 0);
    } else {
        liveViewRelease(name, PTP::StageLiveViewOff, 0);
    }
}

void OLP_Logic_Camera::setLiveViewVideo(bool on)
{
    const char* name = "OLP_Logic_Camera::setLiveViewVideo";
    if (on) {
        emit signalLiveViewPhoto(false);
        liveViewRelease(name, PTP::StageLiveViewOn, 1);
    } else {
        liveViewRelease(name, PTP::StageLiveViewOff, 1);
    }
}

void OLP_Logic_Camera::setLiveViewGCPipActive(bool on)
{
    const char* name = "OLP_Logic_Camera::setLiveViewGCPipActive";
    if (on) {
        liveViewRelease(name, PTP::StageLVWhiteBalance, 0);
    } else {
        // The camera leaves live view; the state-0 report starts it again.
        m_liveViewRestartType = m_liveViewType;
        liveViewRelease(name, PTP::StageLVWhiteBalance, 2);
    }
}

void OLP_Logic_Camera::doLiveViewGCPipPreview()
{
    liveViewRelease("OLP_Logic_Camera::doLiveViewGCPipPreview", PTP::StageLVWhiteBalance, 1);
}

void OLP_Logic_Camera::doLiveViewGCPipSave()
{
    m_liveViewRestartType = m_liveViewType;
    liveViewRelease("OLP_Logic_Camera::doLiveViewGCPipSave", PTP::StageLVWhiteBalance, 3);
}

void OLP_Logic_Camera::toggleLiveViewZoom()
{
    const char* name = "OLP_Logic_Camera::toggleLiveViewZoom";
    if (!m_cameraAccess || !m_cameraAccess->releaseCam(PTP::StageZoomToggle)) {
        debugPrintf(0, "%s - releaseMode %d failed", name, int(PTP::StageZoomToggle));
    }
}

void OLP_Logic_Camera::setLiveViewCrossPos(double x, double y)
{
    const char* name = "OLP_Logic_Camera::setLiveViewCrossPos";
    if (!m_zoomInfo) {
        debugPrintf(0, "%s - no zoom info", name);
        return;
    }
    int px = 0;
    int py = 0;
    if (!m_zoomInfo->sensorPoint(x, y, false, &px, &py)) {
        debugPrintf(0, "%s - illegal position %lf, %lf", name, x, y);
        return;
    }
    if (!m_cameraAccess) {
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    if (!m_cameraAccess->releaseCam(PTP::StageFocusCross, px, py)) {
        debugPrintf(0, "%s - releaseMode %d failed", name, int(PTP::StageFocusCross));
    }
}

void OLP_Logic_Camera::setLiveViewCrossPosGlobal(double x, double y)
{
    const char* name = "OLP_Logic_Camera::setLiveViewCrossPosGlobal";
    if (!m_zoomInfo) {
        debugPrintf(0, "%s - no zoom info", name);
        return;
    }
    int px = 0;
    int py = 0;
    if (!m_zoomInfo->sensorPoint(x, y, true, &px, &py)) {
        debugPrintf(0, "%s - illegal position %lf, %lf", name, x, y);
        return;
    }
    if (!m_cameraAccess) {
        return;
    }
    m_cameraAccess->releaseCamAutoFocusStop();
    if (!m_cameraAccess->releaseCam(PTP::StageFocusCross, px, py)) {
        debugPrintf(0, "%s - releaseMode %d failed", name, int(PTP::StageFocusCross));
    }
}

// Manual focus: autofocus once in single-AF mode, then back to manual. The
// controller thread waits for the lens meanwhile.
void OLP_Logic_Camera::autoFocusPulseInManualMode()
{
    m_settings->setFocusMode(0);
    m_settings->sendToCameraIfDirty();
    m_cameraAccess->releaseCamAutoFocusStart();
    QThread::msleep(kAutoFocusPulseMs);
    m_cameraAccess->releaseCamAutoFocusStop();
    m_settings->setFocusMode(2);
    m_settings->sendToCameraIfDirty();
}

void OLP_Logic_Camera::doLiveViewAFExec()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::doLiveViewAFExec");
        return;
    }
    const int mode = m_settings->focusMode();
    if (mode == 0 || mode == 1) {
        m_cameraAccess->releaseCamAutoFocusStop();
        m_cameraAccess->releaseCamAutoFocusStart();
    } else if (mode == 2) {
        m_cameraAccess->releaseCamAutoFocusStop();
        autoFocusPulseInManualMode();
    }
}

void OLP_Logic_Camera::doLiveViewAFPressed()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::doLiveViewAFPressed");
        return;
    }
    // This camera focuses when the button is released.
    if (productId() == ProductIdKestaD) {
        return;
    }
    const int mode = m_settings->focusMode();
    if (mode == 0 || mode == 1) {
        m_cameraAccess->releaseCamAutoFocusStart();
    } else if (mode == 2) {
        autoFocusPulseInManualMode();
    }
}

void OLP_Logic_Camera::doLiveViewAFReleased()
{
    if (!m_settings || !m_cameraAccess) {
        debugPrintf(0, "%s - no camera settings", "OLP_Logic_Camera::doLiveViewAFReleased");
        return;
    }
    if (productId() == ProductIdKestaD) {
        doLiveViewAFExec();
        return;
    }
    const int mode = m_settings->focusMode();
    if (mode == 0 || mode == 1) {
        m_cameraAccess->releaseCamAutoFocusStop();
    }
}

// A new white balance shows in the stream only after live view restarts.
void OLP_Logic_Camera::restartLiveViewAfterWhiteBalance()
{
    const char* name = "OLP_Logic_Camera::restartLiveViewAfterWhiteBalance";
    if (!hasLiveView()) {
        return;
    }
    quint32 value = 0;
    if (!readLiveViewProperty(kPropSupportedStreams, &value)) {
        return;
    }
    const int state = OLP_Logic_LiveViewPacket::stateFromSupportedStreams(value);
    if (state == 3) {
        liveViewRelease(name, PTP::StageLiveViewOff, 1);
        emit signalLiveViewPhoto(false);
        liveViewRelease(name, PTP::StageLiveViewOn, 1);
    } else if (state == 2) {
        liveViewRelease(name, PTP::StageLiveViewOff, 0);
        emit signalLiveViewVideo(false);
        liveViewRelease(name, PTP::StageLiveViewOn, 0);
    }
}
