#include "OLP_Logic_Controller.h"

#include <QDebug>
#include <QThread>
#include <array>
#include <cmath>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Logic_APEXConverterShutterTime.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_CameraProblem.h"
#include "OLP_Logic_ConverterAudioLevel.h"
#include "OLP_Logic_ConverterAutoPowerOff.h"
#include "OLP_Logic_ConverterAutoreviewDuration.h"
#include "OLP_Logic_ConverterBracketDeltaEV.h"
#include "OLP_Logic_ConverterBracketImgNum.h"
#include "OLP_Logic_ConverterContrast.h"
#include "OLP_Logic_ConverterDngCompression.h"
#include "OLP_Logic_ConverterDriveMode.h"
#include "OLP_Logic_ConverterExposCompens.h"
#include "OLP_Logic_ConverterExposMetering.h"
#include "OLP_Logic_ConverterFileFormat.h"
#include "OLP_Logic_ConverterFocusDistance.h"
#include "OLP_Logic_ConverterIntervalFrames.h"
#include "OLP_Logic_ConverterIntervalTime.h"
#include "OLP_Logic_ConverterJpgColorSpace.h"
#include "OLP_Logic_ConverterJpgResolution.h"
#include "OLP_Logic_ConverterMonochrome.h"
#include "OLP_Logic_ConverterOrientation.h"
#include "OLP_Logic_ConverterPhotoAspectRatio.h"
#include "OLP_Logic_ConverterSaturation.h"
#include "OLP_Logic_ConverterSensitivity.h"
#include "OLP_Logic_ConverterSensorFormat.h"
#include "OLP_Logic_ConverterSharpness.h"
#include "OLP_Logic_ConverterVideoFileFormat.h"
#include "OLP_Logic_ConverterVideoFormatResol.h"
#include "OLP_Logic_ConverterVideoResAndFrRate.h"
#include "OLP_Logic_ConverterWarning.h"
#include "OLP_Logic_ConverterWhiteBalTemp.h"
#include "OLP_Logic_ConverterWhiteBalance.h"

const QString kOLP_BulbText = QStringLiteral("B");
const QString kOLP_NoValueText = QStringLiteral("--");
const QString kOLP_ErrorText = QStringLiteral("Error");
const QString kOLP_InfinityText = QStringLiteral("Infinity");

#define OLP_CTRL(method) "OLP_Logic_Controller::" #method

namespace {
// Consecutive list steps that may land on the same grid entry before a list
// is taken as unable to reach its bound: a third-stop step on a half-stop grid
// repeats an entry at most once in a row.
constexpr int kMaxStalls = 6;
// The ObjectInfo dataset and its fields.
constexpr quint32 kObjectInfoSize = 154;
constexpr quint64 kObjectFormatOffset = 4;
constexpr quint64 kObjectSizeOffset = 8;
constexpr quint64 kThumbSizeOffset = 14;
constexpr quint64 kFileNameOffset = 52;
constexpr quint16 kFormatDng = 0x3802;
// The first bytes of a picture read for its Exif orientation and width.
constexpr int kExifPrefixBytes = 1024;

quint8* bytes(QByteArray& data)
{
    return reinterpret_cast<quint8*>(data.data());
}

int findPattern(const QByteArray& data, const char* pattern, int patternSize, int needAfter)
{
    const int index = data.indexOf(QByteArray::fromRawData(pattern, patternSize));
    return index >= 0 && index + needAfter < data.size() ? index : -1;
}

bool isBigEndianExif(const QByteArray& prefix)
{
    const auto at = [&prefix](int i) { return i < prefix.size() ? prefix.at(i) : '\0'; };
    return (at(0) == 'M' && at(1) == 'M') || (at(12) == 'M' && at(13) == 'M');
}
}  // namespace

// ---- construction ------------------------------------------------------------------------------

OLP_Logic_Controller::OLP_Logic_Controller(QObject* parent) : OLP_Logic_Controller(createCameraAccess(1), parent) {}

OLP_Logic_Controller::OLP_Logic_Controller(OLP_Commu_CameraAccess_Base* usbAccess, QObject* parent)
    : QObject(parent), m_usbAccess(usbAccess)
{
    debugPrintf(256, "%s - created in thread 0x%012lX", OLP_CTRL(OLP_Logic_Controller), currentThreadIdForLog());
    if (m_usbAccess) {
        connect(m_usbAccess, &OLP_Commu_CameraAccess_Base::signalDeviceAvailable, this,
                &OLP_Logic_Controller::catchDeviceAvailable, Qt::QueuedConnection);
        connect(m_usbAccess, &OLP_Commu_CameraAccess_Base::signalConnectionOpened, this,
                &OLP_Logic_Controller::catchConnectionOpened, Qt::QueuedConnection);
        connect(m_usbAccess, &OLP_Commu_CameraAccess_Base::signalConnectionClosed, this,
                &OLP_Logic_Controller::catchConnectionClosed, Qt::QueuedConnection);
        connect(m_usbAccess, &OLP_Commu_CameraAccess_Base::signalOpenProblem, this,
                &OLP_Logic_Controller::catchOpenProblem, Qt::QueuedConnection);
        const bool found = m_usbAccess->checkDeviceAvailable();
        if (!found && m_secondAccess) {
            m_secondAccess->checkDeviceAvailable();
        }
        connect(&m_devicePollTimer, &QTimer::timeout, m_usbAccess, &OLP_Commu_CameraAccess_Base::checkDeviceAvailable);
        m_devicePollTimer.setSingleShot(false);
        m_devicePollTimer.start(1000);
    } else {
        debugPrintf(0, "%s - no camera access for USB", OLP_CTRL(OLP_Logic_Controller));
    }
}

OLP_Logic_Controller::~OLP_Logic_Controller()
{
    m_devicePollTimer.stop();
    if (m_camera) {
        // Leave the camera as it was found, and let running transfers finish
        // before the device is closed under them.
        if (!m_camera->waitForTransferThreads(kTransferWaitMs)) {
            debugPrintf(0, "%s - picture transfers still running after %d ms", OLP_CTRL(~OLP_Logic_Controller),
                        kTransferWaitMs);
        }
        m_camera->restoreAutoPowerOff();
        m_camera->restoreStorageType();
        OLP_Commu_CameraAccess_Base* access = m_currentAccess;
        releaseCamera();
        if (access) {
            access->closeConnection();
        }
    }
    delete m_secondAccess;
    m_secondAccess = nullptr;
    delete m_usbAccess;
    m_usbAccess = nullptr;
    debugPrintf(256, "%s - deleted in thread 0x%012lX", OLP_CTRL(~OLP_Logic_Controller), currentThreadIdForLog());
}

// ---- queries for the GUI -----------------------------------------------------------------------

quint32 OLP_Logic_Controller::productId() const
{
    QMutexLocker lock(&m_stateLock);
    return m_cachedProductId;
}

QString OLP_Logic_Controller::productName() const
{
    QMutexLocker lock(&m_stateLock);
    return m_cachedProductId != 0 ? m_cachedProductName : QStringLiteral("not connected");
}

int OLP_Logic_Controller::liveViewMode() const
{
    QMutexLocker lock(&m_stateLock);
    return m_cachedLiveViewMode;
}

bool OLP_Logic_Controller::has3DAxisData() const
{
    QMutexLocker lock(&m_stateLock);
    return m_cachedHas3DAxis;
}

void OLP_Logic_Controller::updateCachedState()
{
    const quint32 product = m_camera ? m_camera->productId() : 0;
    const QString name = m_camera ? m_camera->productName() : QString();
    const bool axis = m_camera && m_camera->has3DAxisData();
    QMutexLocker lock(&m_stateLock);
    m_cachedProductId = product;
    m_cachedProductName = name;
    m_cachedHas3DAxis = axis;
    if (!m_camera) {
        m_cachedLiveViewMode = 0;
    }
}

bool OLP_Logic_Controller::inOwnThread() const
{
    return QThread::currentThread() == thread();
}

// ---- helpers -----------------------------------------------------------------------------------

bool OLP_Logic_Controller::noCamera(const char* method) const
{
    if (m_camera) {
        return false;
    }
    debugPrintf(0, "%s - no camera", method);
    return true;
}

bool OLP_Logic_Controller::canConvert(const char* method, bool haveConverter, const char* setting) const
{
    if (noCamera(method)) {
        return false;
    }
    if (!haveConverter) {
        debugPrintf(0, "%s - no converter for %s", method, setting);
        return false;
    }
    return true;
}

bool OLP_Logic_Controller::valueOfText(const char* method, const OLP_Logic_ConverterBase* converter,
                                       const char* setting, const QString& text, int* value) const
{
    if (!canConvert(method, converter != nullptr, setting)) {
        return false;
    }
    // A text that is not offered ("--", an empty combo box, the list of another
    // product) has no value; -1 must not reach the camera as if it were one.
    bool ok = false;
    const double v = converter->valueOf(text, &ok);
    if (!ok) {
        debugPrintf(0, "%s - \"%s\" is not in the list of %s", method, qPrintable(text), setting);
        return false;
    }
    *value = qRound(v);
    return true;
}

// ---- connecting --------------------------------------------------------------------------------

void OLP_Logic_Controller::catchDeviceAvailable(int connectionType, qulonglong cameraId, int productId,
                                                QString deviceId)
{
    catchConnectToCamera(connectionType, cameraId, productId, deviceId);
}

void OLP_Logic_Controller::catchConnectToCamera(int connectionType, qulonglong cameraId, int productId,
                                                QString deviceId)
{
    if (m_camera) {
        return;
    }
    OLP_Commu_CameraAccess_Base* access = nullptr;
    if (connectionType == 1) {
        access = m_usbAccess;
    } else if (connectionType == 2) {
        access = m_secondAccess;
    }
    if (!access) {
        return;
    }
    // An open connection whose opened signal is still on its way: a second
    // announcement must not open the device again.
    if (access->productId() != 0) {
        return;
    }
    debugPrintf(256, "%s - connecting to %s", OLP_CTRL(catchConnectToCamera), qPrintable(deviceId));
    access->openConnection(cameraId, productId, deviceId);
}

void OLP_Logic_Controller::catchConnectionOpened(int connectionType)
{
    if (m_camera) {
        debugPrintf(0, "%s - a camera is connected already", OLP_CTRL(catchConnectionOpened));
        return;
    }
    if (connectionType == 1) {
        m_currentAccess = m_usbAccess;
    } else if (connectionType == 2) {
        m_currentAccess = m_secondAccess;
    } else {
        m_currentAccess = nullptr;
    }
    if (!m_currentAccess) {
        return;
    }
    m_camera = new OLP_Logic_Camera(m_currentAccess);
    m_camera->setLiveViewDisplaySize(m_liveViewDisplaySize);
    const quint32 product = m_camera->productId();
    m_shutterTimeConverter.reset(new OLP_Logic_APEXConverterShutterTime(product));
    if (m_camera->hasExposCompensStep()) {
        m_shutterTimeConverter->setStepSize(m_camera->exposCompensStep());
    }
    updateApertureConversion();
    createConverters();
    connectCamera();
    updateCachedState();
    reportCameraProblem(int(eCameraProblem::None));
    debugPrintf(256, "%s - camera 0x%X connected", OLP_CTRL(catchConnectionOpened), product);
    emit signalCameraConnected();
}

void OLP_Logic_Controller::catchOpenProblem(int connectionType, int problem, QString deviceId)
{
    if (m_camera) {
        // The no-camera window is not shown; another device's trouble is no news.
        return;
    }
    eCameraProblem cause = eCameraProblem::None;
    switch (problem) {
        case OLP_Commu_CameraAccess_Base::OpenProblemInUse:
            cause = eCameraProblem::InUse;
            break;
        case OLP_Commu_CameraAccess_Base::OpenProblemNoPermission:
            cause = eCameraProblem::NoPermission;
            break;
        case OLP_Commu_CameraAccess_Base::OpenProblemNotPtp:
            cause = eCameraProblem::NotPtpMode;
            break;
        default:
            // Gone, opened, or a failure the user cannot mend: no line.
            break;
    }
    debugPrintf(256, "%s - connection type %d, device %s: open problem %d", OLP_CTRL(catchOpenProblem), connectionType,
                qPrintable(deviceId), problem);
    reportCameraProblem(int(cause));
}

void OLP_Logic_Controller::reportCameraProblem(int problem)
{
    if (problem == m_cameraProblem) {
        return;
    }
    m_cameraProblem = problem;
    emit signalCameraProblem(problem);
}

void OLP_Logic_Controller::createConverters()
{
    OLP_Logic_Camera* c = m_camera;
    const quint32 product = c->productId();
    if (c->hasAudioLevel()) {
        m_audioLevelConverter.reset(new OLP_Logic_ConverterAudioLevel);
    }
    if (c->hasAutoPowerOff()) {
        m_autoPowerOffConverter.reset(new OLP_Logic_ConverterAutoPowerOff);
    }
    if (c->hasAutoreviewDuration()) {
        m_autoreviewDurationConverter.reset(new OLP_Logic_ConverterAutoreviewDuration);
    }
    m_bracketDeltaEVConverter.reset(new OLP_Logic_ConverterBracketDeltaEV(product));
    m_bracketImgNumConverter.reset(new OLP_Logic_ConverterBracketImgNum);
    if (c->hasContrast()) {
        m_contrastConverter.reset(new OLP_Logic_ConverterContrast);
    }
    if (c->hasDngCompression()) {
        m_dngCompressionConverter.reset(new OLP_Logic_ConverterDngCompression);
    }
    m_driveModeConverter.reset(new OLP_Logic_ConverterDriveMode(product));
    m_exposCompensConverter.reset(new OLP_Logic_ConverterExposCompens(product));
    if (c->hasExposCompensStep()) {
        m_exposCompensConverter->setStepSize(c->exposCompensStep());
    }
    m_exposMeteringConverter.reset(new OLP_Logic_ConverterExposMetering);
    m_fileFormatConverter.reset(new OLP_Logic_ConverterFileFormat(product));
    if (c->hasFocusDistance()) {
        m_focusDistanceConverter.reset(new OLP_Logic_ConverterFocusDistance);
    }
    m_intervalFramesConverter.reset(new OLP_Logic_ConverterIntervalFrames(product));
    m_intervalTimeConverter.reset(new OLP_Logic_ConverterIntervalTime(product));
    if (c->hasJpgColorSpace()) {
        m_jpgColorSpaceConverter.reset(new OLP_Logic_ConverterJpgColorSpace);
    }
    if (c->hasJpgResolution()) {
        m_jpgResolutionConverter.reset(new OLP_Logic_ConverterJpgResolution(product));
    }
    if (c->hasSensorFormat()) {
        m_sensorFormatConverter.reset(new OLP_Logic_ConverterSensorFormat(product));
    }
    if (c->hasPhotoAspectRatio()) {
        m_photoAspectRatioConverter.reset(new OLP_Logic_ConverterPhotoAspectRatio(product));
    }
    if (c->hasVideoFileFormat()) {
        m_videoFileFormatConverter.reset(new OLP_Logic_ConverterVideoFileFormat(product));
    }
    if (c->hasVideoResAndFrRate()) {
        m_videoResAndFrRateConverter.reset(new OLP_Logic_ConverterVideoResAndFrRate(product));
    }
    if (c->hasVideoFormatResol()) {
        m_videoFormatResolConverter.reset(new OLP_Logic_ConverterVideoFormatResol(product));
    }
    if (c->hasSharpness()) {
        m_sharpnessConverter.reset(new OLP_Logic_ConverterSharpness);
    }
    if (c->hasSaturation()) {
        m_saturationConverter.reset(new OLP_Logic_ConverterSaturation);
    }
    if (c->hasMonochrome()) {
        m_monochromeConverter.reset(new OLP_Logic_ConverterMonochrome);
    }
    if (c->hasOrientation()) {
        m_orientationConverter.reset(new OLP_Logic_ConverterOrientation);
    }
    m_sensitivityConverter.reset(new OLP_Logic_ConverterSensitivity(product));
    if (c->hasWarnings()) {
        m_warningConverter.reset(new OLP_Logic_ConverterWarning(product));
    }
    if (c->hasWhiteBalance()) {
        m_whiteBalanceConverter.reset(new OLP_Logic_ConverterWhiteBalance(product));
    }
    m_whiteBalTempConverter.reset(new OLP_Logic_ConverterWhiteBalTemp(product));
}

void OLP_Logic_Controller::deleteConverters()
{
    m_shutterTimeConverter.reset();
    m_audioLevelConverter.reset();
    m_autoPowerOffConverter.reset();
    m_autoreviewDurationConverter.reset();
    m_bracketDeltaEVConverter.reset();
    m_bracketImgNumConverter.reset();
    m_contrastConverter.reset();
    m_dngCompressionConverter.reset();
    m_driveModeConverter.reset();
    m_exposCompensConverter.reset();
    m_exposMeteringConverter.reset();
    m_fileFormatConverter.reset();
    m_focusDistanceConverter.reset();
    m_intervalFramesConverter.reset();
    m_intervalTimeConverter.reset();
    m_jpgColorSpaceConverter.reset();
    m_jpgResolutionConverter.reset();
    m_monochromeConverter.reset();
    m_orientationConverter.reset();
    m_photoAspectRatioConverter.reset();
    m_saturationConverter.reset();
    m_sensitivityConverter.reset();
    m_sensorFormatConverter.reset();
    m_sharpnessConverter.reset();
    m_videoFileFormatConverter.reset();
    m_videoFormatResolConverter.reset();
    m_videoResAndFrRateConverter.reset();
    m_warningConverter.reset();
    m_whiteBalTempConverter.reset();
    m_whiteBalanceConverter.reset();
}

void OLP_Logic_Controller::connectCamera()
{
    typedef OLP_Commu_CameraAccess_Base A;
    typedef OLP_Logic_Camera C;
    typedef OLP_Logic_Controller L;
    OLP_Logic_Camera* c = m_camera;

    // Events of the access object arrive from its event thread.
    m_accessConnections.append(
        connect(m_currentAccess, &A::signalTransferRequest, this, &L::catchTransferRequest, Qt::QueuedConnection));
    m_accessConnections.append(connect(m_currentAccess, &A::signalObjectDeleted, this, &L::signalObjectDeleted));

    // The camera object lives in this thread; transfer threads emit some of its
    // signals, and those arrive queued by the automatic connection.
    connect(c, &C::signalLensChanged, this, &L::catchLensChanged);
    connect(c, &C::signalElectronicShutter, this, &L::catchElectronicShutter);
    connect(c, &C::signalExposCompensStep, this, &L::catchExposCompensStep);
    connect(c, &C::signalLiveViewMode, this, &L::catchLiveViewMode);
    connect(c, &C::signalMaxShutterTime, this, &L::catchMaxShutterTime);

    connect(c, &C::signal3DAxisAngles, this, &L::emit3DAxisAngles);
    connect(c, &C::signalBatteryInfo, this, &L::emitBatteryInfo);
    connect(c, &C::signalBatteryLevelIntern, this, &L::emitBatteryLevelIntern);
    connect(c, &C::signalBatteryLevelExtern, this, &L::emitBatteryLevelExtern);
    connect(c, &C::signalLensConnectionType, this, &L::emitLensConnectionType);
    connect(c, &C::signalPowerSwitch, this, &L::emitPowerSwitch);
    connect(c, &C::signalFlashStatus, this, &L::emitFlashStatus);
    connect(c, &C::signalFlashXSymbol, this, &L::emitFlashXSymbol);
    connect(c, &C::signalLightBalance, this, &L::emitLightBalance);
    connect(c, &C::signalKeyLock, this, &L::emitKeyLock);
    connect(c, &C::signalMirrorUpMode, this, &L::emitMirrorUpMode);
    connect(c, &C::signalFileFormat, this, &L::emitFileFormat);
    connect(c, &C::signalDngCompression, this, &L::emitDngCompression);
    connect(c, &C::signalJpgColorSpace, this, &L::emitJpgColorSpace);
    connect(c, &C::signalJpgResolution, this, &L::emitJpgResolution);
    connect(c, &C::signalAutoreviewDuration, this, &L::emitAutoreviewDuration);
    connect(c, &C::signalAutoPowerOff, this, &L::emitAutoPowerOff);
    connect(c, &C::signalSensorFormat, this, &L::emitSensorFormat);
    connect(c, &C::signalPhotoAspectRatio, this, &L::emitPhotoAspectRatio);
    connect(c, &C::signalVideoFileFormat, this, &L::emitVideoFileFormat);
    connect(c, &C::signalVideoResAndFrRate, this, &L::emitVideoResAndFrRate);
    connect(c, &C::signalVideoFormatResol, this, &L::emitVideoFormatResol);
    connect(c, &C::signalContrast, this, &L::emitContrast);
    connect(c, &C::signalSharpness, this, &L::emitSharpness);
    connect(c, &C::signalSaturation, this, &L::emitSaturation);
    connect(c, &C::signalMonochrome, this, &L::emitMonochrome);
    connect(c, &C::signalOrientation, this, &L::emitOrientation);
    connect(c, &C::signalAudioLevel, this, &L::emitAudioLevel);
    connect(c, &C::signalAudioWindElim, this, &L::emitAudioWindElim);
    connect(c, &C::signalAudioVolSpeaker, this, &L::emitAudioVolSpeaker);
    connect(c, &C::signalAudioVolHeadphone, this, &L::emitAudioVolHeadphone);
    connect(c, &C::signalAudioVolMicrophone, this, &L::emitAudioVolMicrophone);
    connect(c, &C::signalExposureSimulation, this, &L::emitExposureSimulation);
    connect(c, &C::signalExposureMode, this, &L::emitExposureMode);
    connect(c, &C::signalExposMetering, this, &L::emitExposMetering);
    connect(c, &C::signalAperture, this, &L::emitAperture);
    connect(c, &C::signalShutterTime, this, &L::emitShutterTime);
    connect(c, &C::signalExposCompens, this, &L::emitExposCompens);
    connect(c, &C::signalSensitivity, this, &L::emitSensitivity);
    connect(c, &C::signalSensitivityAuto, this, &L::emitSensitivityAuto);
    connect(c, &C::signalWhiteBalance, this, &L::emitWhiteBalance);
    connect(c, &C::signalWhiteBalTemp, this, &L::emitWhiteBalTemp);
    connect(c, &C::signalDriveMode, this, &L::emitDriveMode);
    connect(c, &C::signalBracketEnabled, this, &L::emitBracketEnabled);
    connect(c, &C::signalBracketImgNum, this, &L::emitBracketImgNum);
    connect(c, &C::signalBracketDeltaEV, this, &L::emitBracketDeltaEV);
    connect(c, &C::signalFocusMode, this, &L::emitFocusMode);
    connect(c, &C::signalFocusDistance, this, &L::emitFocusDistance);
    connect(c, &C::signalFocusConfirmation, this, &L::emitFocusConfirmation);
    connect(c, &C::signalFocusConfirmBadSig, this, &L::emitFocusConfirmBadSig);
    connect(c, &C::signalNoFocusConfirmation, this, &L::emitNoFocusConfirmation);
    connect(c, &C::signalAutoFocusLimit, this, &L::emitAutoFocusLimit);
    connect(c, &C::signalAutoFocusLimitDist, this, &L::emitAutoFocusLimitDist);
    connect(c, &C::signalWarnings, this, &L::emitWarning);
    connect(c, &C::signalIntervalFrames, this, &L::emitIntervalFrames);
    connect(c, &C::signalIntervalTime, this, &L::emitIntervalTime);
    connect(c, &C::signalFileNameAndNumber, this, &L::emitFileNameAndNumber);
    connect(c, &C::signalPictureExampleName, this, &L::emitPictureExampleName);

    connect(c, &C::signalIsAlive, this, &L::signalIsAlive);
    connect(c, &C::signalTransferWarning, this, &L::signalWarning);
    connect(c, &C::signalLoading, this, &L::signalLoading);
    connect(c, &C::signalRemainingToLoad, this, &L::signalRemainingToLoad);
    connect(c, &C::signalLiveAudioLevel, this, &L::signalLiveAudioLevel);
    connect(c, &C::signalLiveTimeCode, this, &L::signalLiveTimeCode);
    connect(c, &C::signalLiveZoomInfo, this, &L::signalLiveZoomInfo);
    connect(c, &C::signalLiveZoomRect, this, &L::signalLiveZoomRect);
    connect(c, &C::signalLiveViewPhoto, this, &L::signalLiveViewPhoto);
    connect(c, &C::signalLiveViewVideo, this, &L::signalLiveViewVideo);
    connect(c, &C::signalLiveView, this, &L::signalLiveView);
    connect(c, &C::signalNoLiveView, this, &L::signalNoLiveView);
    connect(c, &C::signalQuickView, this, &L::signalQuickView);
    connect(c, &C::signalNoQuickView, this, &L::signalNoQuickView);
    connect(c, &C::signalImageDBChangeBegin, this, &L::signalImageDBChangeBegin);
    connect(c, &C::signalImageDBChangeEnd, this, &L::signalImageDBChangeEnd);

    // Capture sequences: counters from the camera's tick events and settings,
    // and the transfer threads' report that a picture has arrived.
    m_accessConnections.append(
        connect(m_currentAccess, &A::signalBulbCounter, this, &L::emitBulbCounter, Qt::QueuedConnection));
    m_accessConnections.append(
        connect(m_currentAccess, &A::signalSelfTimerCounter, this, &L::emitSelfTimerCounter, Qt::QueuedConnection));
    connect(c, &C::signalBulbModeTime, this, &L::emitBulbCounter);
    connect(c, &C::signalSelfTimerRestTime, this, &L::emitSelfTimerCounter);
    connect(c, &C::signalDngTransferDone, this, &L::catchDngTransferDone, Qt::QueuedConnection);
    m_bulbResetTimer.setSingleShot(true);
    m_selfTimerResetTimer.setSingleShot(true);
    connect(&m_bulbResetTimer, &QTimer::timeout, this, &L::catchBulbResetTimerFired, Qt::UniqueConnection);
    connect(&m_selfTimerResetTimer, &QTimer::timeout, this, &L::catchSelfResetTimerFired, Qt::UniqueConnection);
}

void OLP_Logic_Controller::releaseCamera()
{
    for (const QMetaObject::Connection& connection : qAsConst(m_accessConnections)) {
        disconnect(connection);
    }
    m_accessConnections.clear();
    if (m_camera) {
        disconnect(m_camera, nullptr, this, nullptr);
    }
    deleteConverters();
    // The camera object's destructor waits for its transfer threads.
    delete m_camera;
    m_camera = nullptr;
    m_currentAccess = nullptr;
    updateCachedState();
}

void OLP_Logic_Controller::catchConnectionClosed(int connectionType)
{
    if (!m_camera) {
        return;
    }
    if (m_currentAccess && m_currentAccess->connectionType() != connectionType) {
        return;
    }
    // A series must not tick on without its camera, nor outlive it.
    endIntervalSeries();
    m_intervalEnabled = false;
    m_bulbState = 0;
    m_bracketCount = 0;
    m_bulbResetTimer.stop();
    m_selfTimerResetTimer.stop();
    // The camera's own "loading off" cannot reach the GUI once its signals are
    // disconnected: a burst cut short by the unplug ends here.
    const bool wasLoading = m_camera->isTransferInProgress() || m_camera->activeTransfers() > 0;
    releaseCamera();
    if (wasLoading) {
        emit signalLoading(false);
    }
    debugPrintf(256, "%s - camera disconnected", OLP_CTRL(catchConnectionClosed));
    emit signalCameraDisconnected();
}

void OLP_Logic_Controller::catchCameraGUIClosed()
{
    if (m_camera) {
        // Transfers waiting on the transfer lock would otherwise read from a
        // closed device.
        if (!m_camera->waitForTransferThreads(kTransferWaitMs)) {
            debugPrintf(0, "%s - picture transfers still running after %d ms", OLP_CTRL(catchCameraGUIClosed),
                        kTransferWaitMs);
        }
        m_camera->restoreAutoPowerOff();
        m_camera->restoreStorageType();
    }
    if (m_currentAccess) {
        m_currentAccess->closeConnection();
    }
}

void OLP_Logic_Controller::updateApertureConversion()
{
    if (!m_camera) {
        return;
    }
    OLP_Logic_APEXConverterAperture::setProductId(m_camera->productId());
    // The camera's own step setting decides; without one, the lens's steps.
    int step = 0;
    if (m_camera->hasExposCompensStep()) {
        step = m_camera->exposCompensStep();
    } else {
        switch (m_camera->apertureSteps()) {
            case 2:
                step = 500;
                break;
            case 3:
                step = 333;
                break;
            default:
                break;
        }
    }
    if (step == 333 || step == 500) {
        OLP_Logic_APEXConverterAperture::setStepSize(step);
    }
}

// ---- direct calls from the GUI thread ----------------------------------------------------------

void OLP_Logic_Controller::setFolderSettings(const OLP_Logic_FolderSettingsRecord& record)
{
    if (!inOwnThread()) {
        QMetaObject::invokeMethod(
            this, [this, record]() { setFolderSettings(record); }, Qt::QueuedConnection);
        return;
    }
    if (noCamera(OLP_CTRL(setFolderSettings))) {
        return;
    }
    m_camera->setFolderSettings(record);
}

void OLP_Logic_Controller::setIsUnitFeet(bool feet)
{
    if (!inOwnThread()) {
        QMetaObject::invokeMethod(
            this, [this, feet]() { setIsUnitFeet(feet); }, Qt::QueuedConnection);
        return;
    }
    if (feet == m_isUnitFeet) {
        return;
    }
    m_isUnitFeet = feet;
    emit signalFocusIsUnitFeet(feet);
    if (!m_camera) {
        return;
    }
    if (m_focusDistanceConverter) {
        emitFocusMaxDistance(int(m_camera->focusPositionMax()));
        emitFocusMinDistance(int(m_camera->focusPositionMin()));
        emitFocusDistance(m_camera->focusDistance());
    }
    if (m_camera->hasAutoFocusLimit()) {
        emitAutoFocusLimitDist(m_camera->autoFocusLimitDist());
    }
}

void OLP_Logic_Controller::setWantQuickView(bool want)
{
    if (!inOwnThread()) {
        QMetaObject::invokeMethod(
            this, [this, want]() { setWantQuickView(want); }, Qt::QueuedConnection);
        return;
    }
    if (noCamera(OLP_CTRL(setWantQuickView))) {
        return;
    }
    m_camera->setWantQuickView(want);
    emit signalWantQuickView(want);
}

// ---- plain forwards ----------------------------------------------------------------------------

void OLP_Logic_Controller::setFlashXSymbol(bool on)
{
    if (!noCamera(OLP_CTRL(setFlashXSymbol))) {
        m_camera->setFlashXSymbol(on);
    }
}

void OLP_Logic_Controller::setKeyLock(bool on)
{
    if (!noCamera(OLP_CTRL(setKeyLock))) {
        m_camera->setKeyLock(on);
    }
}

void OLP_Logic_Controller::setMirrorUpMode(bool on)
{
    if (!noCamera(OLP_CTRL(setMirrorUpMode))) {
        m_camera->setMirrorUpMode(on);
    }
}

void OLP_Logic_Controller::setLiveViewCrossPos(double x, double y)
{
    if (!noCamera(OLP_CTRL(setLiveViewCrossPos))) {
        m_camera->setLiveViewCrossPos(x, y);
    }
}

void OLP_Logic_Controller::setLiveViewCrossPosGlobal(double x, double y)
{
    if (!noCamera(OLP_CTRL(setLiveViewCrossPosGlobal))) {
        m_camera->setLiveViewCrossPosGlobal(x, y);
    }
}

void OLP_Logic_Controller::setLiveViewGCPipActive(bool on)
{
    if (!noCamera(OLP_CTRL(setLiveViewGCPipActive))) {
        m_camera->setLiveViewGCPipActive(on);
    }
}

void OLP_Logic_Controller::setLiveViewGCPipPos(double x, double y)
{
    if (!noCamera(OLP_CTRL(setLiveViewGCPipPos))) {
        m_camera->setLiveViewCrossPos(x, y);
        m_camera->doLiveViewGCPipPreview();
    }
}

void OLP_Logic_Controller::doLiveViewGCPipSave()
{
    if (!noCamera(OLP_CTRL(doLiveViewGCPipSave))) {
        m_camera->doLiveViewGCPipSave();
    }
}

void OLP_Logic_Controller::doLiveViewAFExec()
{
    if (!noCamera(OLP_CTRL(doLiveViewAFExec))) {
        m_camera->doLiveViewAFExec();
    }
}

void OLP_Logic_Controller::doLiveViewAFPressed()
{
    if (!noCamera(OLP_CTRL(doLiveViewAFPressed))) {
        m_camera->doLiveViewAFPressed();
    }
}

void OLP_Logic_Controller::doLiveViewAFReleased()
{
    if (!noCamera(OLP_CTRL(doLiveViewAFReleased))) {
        m_camera->doLiveViewAFReleased();
    }
}

void OLP_Logic_Controller::toggleLiveViewZoom()
{
    if (!noCamera(OLP_CTRL(toggleLiveViewZoom))) {
        m_camera->toggleLiveViewZoom();
    }
}

void OLP_Logic_Controller::setLiveViewPhoto(bool on)
{
    if (!noCamera(OLP_CTRL(setLiveViewPhoto))) {
        m_camera->setLiveViewPhoto(on);
    }
}

void OLP_Logic_Controller::setLiveViewVideo(bool on)
{
    if (!noCamera(OLP_CTRL(setLiveViewVideo))) {
        m_camera->setLiveViewVideo(on);
    }
}

void OLP_Logic_Controller::setWantLiveView(bool want)
{
    if (!noCamera(OLP_CTRL(setWantLiveView))) {
        m_camera->setWantLiveView(want);
    }
}

void OLP_Logic_Controller::setElectronicShutter(bool on)
{
    if (!noCamera(OLP_CTRL(setElectronicShutter))) {
        m_camera->setElectronicShutter(on ? 1 : 0);
    }
}

void OLP_Logic_Controller::setAudioLevelIsManual(bool manual)
{
    setAudioLevel(manual ? 1 : 0);
}

void OLP_Logic_Controller::setAudioLevel(int value)
{
    if (!noCamera(OLP_CTRL(setAudioLevel))) {
        m_camera->setAudioLevel(value);
    }
}

void OLP_Logic_Controller::setAudioWindElim(bool on)
{
    if (!noCamera(OLP_CTRL(setAudioWindElim))) {
        m_camera->setAudioWindElim(on ? 1 : 0);
    }
}

void OLP_Logic_Controller::setAudioVolSpeaker(int value)
{
    if (!noCamera(OLP_CTRL(setAudioVolSpeaker))) {
        m_camera->setAudioVolSpeaker(value);
    }
}

void OLP_Logic_Controller::setAudioVolHeadphone(int value)
{
    if (!noCamera(OLP_CTRL(setAudioVolHeadphone))) {
        m_camera->setAudioVolHeadphone(value);
    }
}

void OLP_Logic_Controller::setAudioVolMicrophone(double value)
{
    if (noCamera(OLP_CTRL(setAudioVolMicrophone))) {
        return;
    }
    const quint32 product = m_camera->productId();
    if (product == ProductIdKestaD) {
        setAudioVolMicrophone(qRound(value * 63.0));
    } else if (product == ProductIdPelvo) {
        setAudioVolMicrophone(qRound(value * 4.0));
    }
}

void OLP_Logic_Controller::setAudioVolMicrophone(int value)
{
    if (!noCamera(OLP_CTRL(setAudioVolMicrophone))) {
        m_camera->setAudioVolMicrophone(value);
    }
}

void OLP_Logic_Controller::setExposureSimulation(bool on)
{
    setExposureSimulation(on ? 1 : 0);
}

void OLP_Logic_Controller::setExposureSimulation(int value)
{
    if (noCamera(OLP_CTRL(setExposureSimulation))) {
        return;
    }
    m_camera->setExposureSimulation(value);
    const int now = m_camera->exposureSimulation();
    emit signalExposureSimulation(now != 0);
    emit signalExposureSimulation(now);
}

void OLP_Logic_Controller::setDngPath(QString path)
{
    if (!noCamera(OLP_CTRL(setDngPath))) {
        m_camera->setDngPath(path);
    }
}

void OLP_Logic_Controller::setJpgPath(QString path)
{
    if (!noCamera(OLP_CTRL(setJpgPath))) {
        m_camera->setJpgPath(path);
    }
}

void OLP_Logic_Controller::setPictureName(QString name)
{
    if (!noCamera(OLP_CTRL(setPictureName))) {
        m_camera->setPictureName(name);
    }
}

void OLP_Logic_Controller::setPictureIndex(int index)
{
    if (!noCamera(OLP_CTRL(setPictureIndex))) {
        m_camera->setPictureIndex(index);
    }
}

void OLP_Logic_Controller::setExposureMode(int mode)
{
    if (!noCamera(OLP_CTRL(setExposureMode))) {
        m_camera->setExposureMode(mode);
    }
}

void OLP_Logic_Controller::setExposMetering(int value)
{
    if (!noCamera(OLP_CTRL(setExposMetering))) {
        m_camera->setExposMetering(value);
    }
}

void OLP_Logic_Controller::setExposCompens(int milliEv)
{
    if (!noCamera(OLP_CTRL(setExposCompens))) {
        m_camera->setExposCompens(milliEv);
    }
}

void OLP_Logic_Controller::setExposCompensStep(int step)
{
    if (!noCamera(OLP_CTRL(setExposCompensStep))) {
        m_camera->setExposCompensStep(step);
    }
}

void OLP_Logic_Controller::setSensitivity(int value)
{
    if (!noCamera(OLP_CTRL(setSensitivity))) {
        m_camera->setSensitivity(value);
    }
}

void OLP_Logic_Controller::setWhiteBalance(int index)
{
    if (noCamera(OLP_CTRL(setWhiteBalance))) {
        return;
    }
    if (index < 0 || index > 255) {
        debugPrintf(0, "%s - illegal white balance %d", OLP_CTRL(setWhiteBalance), index);
        return;
    }
    m_camera->setWhiteBalanceIndex(uchar(index));
    // The camera does not report back a change the program made itself: tell
    // the GUI the value the camera now has, so that the colour temperature box
    // follows the choice, and a refused choice goes back to the camera's entry.
    if (m_whiteBalanceConverter) {
        emitWhiteBalance(m_camera->whiteBalanceIndex());
    }
}

bool OLP_Logic_Controller::isColorTemperature(int whiteBalanceIndex) const
{
    // "Color Temperature" is the last entry of every white-balance list.
    return m_whiteBalanceConverter && m_whiteBalanceConverter->count() > 0 &&
           whiteBalanceIndex == qRound(m_whiteBalanceConverter->lastValue());
}

void OLP_Logic_Controller::setWhiteBalTemp(int value)
{
    if (noCamera(OLP_CTRL(setWhiteBalTemp))) {
        return;
    }
    if (value < 0) {
        debugPrintf(0, "%s - illegal white balance temperature %d", OLP_CTRL(setWhiteBalTemp), value);
        return;
    }
    m_camera->setWhiteBalanceColorTemp(uint(value));
}

void OLP_Logic_Controller::setBracketEnabled(bool enabled)
{
    if (!noCamera(OLP_CTRL(setBracketEnabled))) {
        m_camera->setBracketEnabled(enabled);
    }
}

void OLP_Logic_Controller::setBracketImgNum(int number)
{
    if (!noCamera(OLP_CTRL(setBracketImgNum))) {
        m_camera->setBracketImgNum(number);
    }
}

void OLP_Logic_Controller::setBracketDeltaEV(int milliEv)
{
    if (!noCamera(OLP_CTRL(setBracketDeltaEV))) {
        m_camera->setBracketDeltaEV(milliEv);
    }
}

void OLP_Logic_Controller::setIntervalFrames(int frames)
{
    if (noCamera(OLP_CTRL(setIntervalFrames))) {
        return;
    }
    if (m_camera->hasInterval()) {
        m_camera->setIntervalFrames(frames);
    } else {
        m_intervalFrames = frames;
    }
}

void OLP_Logic_Controller::setIntervalTime(int seconds)
{
    if (noCamera(OLP_CTRL(setIntervalTime))) {
        return;
    }
    if (m_camera->hasInterval()) {
        m_camera->setIntervalTime(seconds);
    } else {
        m_intervalTime = seconds;
    }
}

void OLP_Logic_Controller::setFocusMode(int mode)
{
    if (!noCamera(OLP_CTRL(setFocusMode))) {
        m_camera->setFocusMode(mode);
    }
}

void OLP_Logic_Controller::setFocusDistanceDec()
{
    if (!noCamera(OLP_CTRL(setFocusDistanceDec))) {
        m_camera->setFocusDistanceDec();
    }
}

void OLP_Logic_Controller::setFocusDistanceInc()
{
    if (!noCamera(OLP_CTRL(setFocusDistanceInc))) {
        m_camera->setFocusDistanceInc();
    }
}

void OLP_Logic_Controller::setAutoFocusLimit(bool on)
{
    if (!noCamera(OLP_CTRL(setAutoFocusLimit))) {
        m_camera->setAutoFocusLimit(on);
    }
}

// ---- setters with rules of their own -----------------------------------------------------------

void OLP_Logic_Controller::setFileFormat(int fileFormat)
{
    if (noCamera(OLP_CTRL(setFileFormat))) {
        return;
    }
    if (fileFormat < 0) {
        debugPrintf(0, "%s - illegal file format %d", OLP_CTRL(setFileFormat), fileFormat);
        return;
    }
    m_camera->setFileFormat(fileFormat);
    emit signalFileFormat(fileFormat);
    emit signalUseDngCompression(fileFormat <= 2);
    emit signalUseJpgColorSpace(fileFormat >= 1 && fileFormat <= 4);
    emit signalUseJpgResolution(fileFormat >= 1 && fileFormat <= 4);
}

void OLP_Logic_Controller::setFileFormat(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setFileFormat), m_fileFormatConverter.get(), "file format", text, &value)) {
        setFileFormat(value);
    }
}

void OLP_Logic_Controller::setShutterTime(double seconds)
{
    if (noCamera(OLP_CTRL(setShutterTime))) {
        return;
    }
    if (m_camera->exposureMode() == 4) {
        m_camera->setExposureMode(0);
    }
    m_camera->setShutterTime(seconds);
}

void OLP_Logic_Controller::setShutterTime(QString text)
{
    if (noCamera(OLP_CTRL(setShutterTime))) {
        return;
    }
    if (text == kOLP_BulbText) {
        m_camera->setExposureMode(4);
    } else {
        const double seconds = OLP_Logic_APEXConverterShutterTime::fromString(text);
        if (seconds <= 0.0) {
            debugPrintf(0, "%s - \"%s\" is not a shutter time", OLP_CTRL(setShutterTime), qPrintable(text));
            return;
        }
        setShutterTime(seconds);
    }
    emit signalExposureMode(m_camera->exposureMode());
}

void OLP_Logic_Controller::setAperture(double fNumber)
{
    if (noCamera(OLP_CTRL(setAperture))) {
        return;
    }
    if (!(fNumber > 0.0) || !std::isfinite(fNumber)) {
        debugPrintf(0, "%s - illegal aperture %f", OLP_CTRL(setAperture), fNumber);
        return;
    }
    updateApertureConversion();
    m_camera->setAperture(fNumber);
}

void OLP_Logic_Controller::setAperture(QString text)
{
    if (noCamera(OLP_CTRL(setAperture))) {
        return;
    }
    const double fNumber = OLP_Logic_APEXConverterAperture::fromString(text);
    if (fNumber <= 0.0) {
        debugPrintf(0, "%s - \"%s\" is not an aperture", OLP_CTRL(setAperture), qPrintable(text));
        return;
    }
    setAperture(fNumber);
}

void OLP_Logic_Controller::setFocusDistance(double distance)
{
    if (!canConvert(OLP_CTRL(setFocusDistance), m_focusDistanceConverter != nullptr, "focus distance")) {
        return;
    }
    const int millimetres = OLP_Logic_ConverterFocusDistance::fromMetres(m_isUnitFeet ? distance * 0.3048 : distance);
    if (millimetres == OLP_Logic_ConverterFocusDistance::kDistanceInvalid) {
        debugPrintf(0, "%s - illegal focus distance %f", OLP_CTRL(setFocusDistance), distance);
        return;
    }
    m_camera->setFocusDistance(uint(millimetres));
}

void OLP_Logic_Controller::setFocusDistance(QString text)
{
    if (!canConvert(OLP_CTRL(setFocusDistance), m_focusDistanceConverter != nullptr, "focus distance")) {
        return;
    }
    const int millimetres = OLP_Logic_ConverterFocusDistance::fromString(text, m_isUnitFeet);
    if (millimetres == OLP_Logic_ConverterFocusDistance::kDistanceInvalid) {
        debugPrintf(0, "%s - \"%s\" is not a focus distance", OLP_CTRL(setFocusDistance), qPrintable(text));
        return;
    }
    m_camera->setFocusDistance(uint(millimetres));
}

// ---- text setters ------------------------------------------------------------------------------

void OLP_Logic_Controller::setDngCompression(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setDngCompression), m_dngCompressionConverter.get(), "DNG compression", text, &value)) {
        m_camera->setDngCompression(value != 0);
    }
}

void OLP_Logic_Controller::setJpgColorSpace(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setJpgColorSpace), m_jpgColorSpaceConverter.get(), "JPG color space", text, &value)) {
        m_camera->setJpgColorSpace(value);
    }
}

void OLP_Logic_Controller::setJpgResolution(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setJpgResolution), m_jpgResolutionConverter.get(), "JPG resolution", text, &value)) {
        m_camera->setJpgResolution(value);
    }
}

void OLP_Logic_Controller::setAutoreviewDuration(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setAutoreviewDuration), m_autoreviewDurationConverter.get(), "autoreview duration", text,
                    &value)) {
        m_camera->setAutoreviewDuration(value);
    }
}

void OLP_Logic_Controller::setAutoPowerOff(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setAutoPowerOff), m_autoPowerOffConverter.get(), "auto power off", text, &value)) {
        m_camera->setAutoPowerOff(value);
    }
}

void OLP_Logic_Controller::setSensorFormat(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setSensorFormat), m_sensorFormatConverter.get(), "sensor format", text, &value)) {
        m_camera->setSensorFormat(value);
    }
}

void OLP_Logic_Controller::setPhotoAspectRatio(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setPhotoAspectRatio), m_photoAspectRatioConverter.get(), "photo aspect ratio", text,
                    &value)) {
        m_camera->setPhotoAspectRatio(value);
    }
}

void OLP_Logic_Controller::setVideoFileFormat(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setVideoFileFormat), m_videoFileFormatConverter.get(), "video file format", text,
                    &value)) {
        m_camera->setVideoFileFormat(value);
    }
}

void OLP_Logic_Controller::setVideoResAndFrRate(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setVideoResAndFrRate), m_videoResAndFrRateConverter.get(),
                    "video resolution and frame rate", text, &value)) {
        m_camera->setVideoResAndFrRate(value);
    }
}

void OLP_Logic_Controller::setVideoFormatResol(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setVideoFormatResol), m_videoFormatResolConverter.get(), "video format resolution", text,
                    &value)) {
        m_camera->setVideoFormatResol(value);
    }
}

void OLP_Logic_Controller::setContrast(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setContrast), m_contrastConverter.get(), "contrast", text, &value)) {
        m_camera->setContrast(value);
    }
}

void OLP_Logic_Controller::setSharpness(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setSharpness), m_sharpnessConverter.get(), "sharpness", text, &value)) {
        m_camera->setSharpness(value);
    }
}

void OLP_Logic_Controller::setSaturation(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setSaturation), m_saturationConverter.get(), "saturation", text, &value)) {
        m_camera->setSaturation(value);
    }
}

void OLP_Logic_Controller::setMonochrome(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setMonochrome), m_monochromeConverter.get(), "monochrome", text, &value)) {
        m_camera->setMonochrome(value);
    }
}

void OLP_Logic_Controller::setAudioLevel(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setAudioLevel), m_audioLevelConverter.get(), "audio level", text, &value)) {
        m_camera->setAudioLevel(value);
    }
}

void OLP_Logic_Controller::setExposMetering(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setExposMetering), m_exposMeteringConverter.get(), "exposure metering", text, &value)) {
        m_camera->setExposMetering(value);
    }
}

void OLP_Logic_Controller::setExposCompens(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setExposCompens), m_exposCompensConverter.get(), "exposure compensation", text, &value)) {
        m_camera->setExposCompens(value);
    }
}

void OLP_Logic_Controller::setSensitivity(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setSensitivity), m_sensitivityConverter.get(), "sensitivity", text, &value)) {
        m_camera->setSensitivity(value);
    }
}

void OLP_Logic_Controller::setWhiteBalance(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setWhiteBalance), m_whiteBalanceConverter.get(), "white balance", text, &value)) {
        setWhiteBalance(value);
    }
}

void OLP_Logic_Controller::setWhiteBalTemp(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setWhiteBalTemp), m_whiteBalTempConverter.get(), "white balance temperature", text,
                    &value)) {
        setWhiteBalTemp(value);
    }
}

void OLP_Logic_Controller::setDriveMode(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setDriveMode), m_driveModeConverter.get(), "drive mode", text, &value)) {
        setDriveMode(value);
    }
}

void OLP_Logic_Controller::setBracketImgNum(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setBracketImgNum), m_bracketImgNumConverter.get(), "bracketing image numbers", text,
                    &value)) {
        m_camera->setBracketImgNum(value);
    }
}

void OLP_Logic_Controller::setBracketDeltaEV(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setBracketDeltaEV), m_bracketDeltaEVConverter.get(), "bracketing delta EV", text,
                    &value)) {
        m_camera->setBracketDeltaEV(value);
    }
}

void OLP_Logic_Controller::setIntervalFrames(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setIntervalFrames), m_intervalFramesConverter.get(), "interval frames", text, &value)) {
        setIntervalFrames(value);
    }
}

void OLP_Logic_Controller::setIntervalTime(QString text)
{
    int value = 0;
    if (valueOfText(OLP_CTRL(setIntervalTime), m_intervalTimeConverter.get(), "interval time", text, &value)) {
        setIntervalTime(value);
    }
}

// ---- value slots -------------------------------------------------------------------------------

void OLP_Logic_Controller::emit3DAxisAngles(double pitch, double roll)
{
    emit signal3DAxisAngles(pitch, roll);
}

void OLP_Logic_Controller::emitBatteryInfo(int value)
{
    emit signalBatteryInfo(value);
}

void OLP_Logic_Controller::emitBatteryLevelIntern(int value)
{
    emit signalBatteryLevelIntern(value);
}

void OLP_Logic_Controller::emitBatteryLevelExtern(int value)
{
    emit signalBatteryLevelExtern(value);
}

void OLP_Logic_Controller::emitCameraSerialNumber(QString serialNumber)
{
    emit signalCameraSerialNumber(serialNumber);
}

void OLP_Logic_Controller::emitLensTypeString(QString lensType)
{
    emit signalLensTypeString(lensType);
}

void OLP_Logic_Controller::emitLensConnectionType(int value)
{
    emit signalLensConnectionType(value);
}

void OLP_Logic_Controller::emitPowerSwitch(int value)
{
    emit signalPowerSwitch(value);
}

void OLP_Logic_Controller::emitFlashStatus(int value)
{
    emit signalFlashStatus(value);
}

void OLP_Logic_Controller::emitFlashXSymbol(bool on)
{
    emit signalFlashXSymbol(on);
}

void OLP_Logic_Controller::emitLightBalance(int value)
{
    emit signalLightBalance(value);
}

void OLP_Logic_Controller::emitKeyLock(bool on)
{
    emit signalKeyLock(on);
}

void OLP_Logic_Controller::emitMirrorUpMode(bool on)
{
    emit signalMirrorUpMode(on);
}

void OLP_Logic_Controller::emitFileFormat(int fileFormat)
{
    if (!canConvert(OLP_CTRL(emitFileFormat), m_fileFormatConverter != nullptr, "file format")) {
        return;
    }
    emit signalFileFormat(fileFormat);
    emit signalFileFormat(m_fileFormatConverter->textOf(fileFormat));
    emitUseDngCompression(fileFormat);
    emitUseJpgColorSpace(fileFormat);
    emitUseJpgResolution(fileFormat);
}

void OLP_Logic_Controller::emitUseDngCompression(int fileFormat)
{
    emit signalUseDngCompression(fileFormat >= 0 && fileFormat <= 2);
}

void OLP_Logic_Controller::emitDngCompression(bool on)
{
    if (canConvert(OLP_CTRL(emitDngCompression), m_dngCompressionConverter != nullptr, "DNG compression")) {
        emit signalDngCompression(m_dngCompressionConverter->textOf(on ? 1 : 0));
    }
}

void OLP_Logic_Controller::emitUseJpgColorSpace(int fileFormat)
{
    emit signalUseJpgColorSpace(fileFormat >= 1 && fileFormat <= 4);
}

void OLP_Logic_Controller::emitJpgColorSpace(int value)
{
    if (canConvert(OLP_CTRL(emitJpgColorSpace), m_jpgColorSpaceConverter != nullptr, "JPG color space")) {
        emit signalJpgColorSpace(m_jpgColorSpaceConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitUseJpgResolution(int fileFormat)
{
    emit signalUseJpgResolution(fileFormat >= 1 && fileFormat <= 4);
}

void OLP_Logic_Controller::emitJpgResolution(int value)
{
    if (canConvert(OLP_CTRL(emitJpgResolution), m_jpgResolutionConverter != nullptr, "JPG resolution")) {
        emit signalJpgResolution(m_jpgResolutionConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitAutoreviewDuration(int value)
{
    if (canConvert(OLP_CTRL(emitAutoreviewDuration), m_autoreviewDurationConverter != nullptr, "autoreview duration")) {
        emit signalAutoreviewDuration(m_autoreviewDurationConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitAutoPowerOff(int value)
{
    if (canConvert(OLP_CTRL(emitAutoPowerOff), m_autoPowerOffConverter != nullptr, "auto power off")) {
        emit signalAutoPowerOff(m_autoPowerOffConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitSensorFormat(int value)
{
    if (canConvert(OLP_CTRL(emitSensorFormat), m_sensorFormatConverter != nullptr, "sensor format")) {
        emit signalSensorFormat(m_sensorFormatConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitPhotoAspectRatio(int value)
{
    if (canConvert(OLP_CTRL(emitPhotoAspectRatio), m_photoAspectRatioConverter != nullptr, "photo aspect ratio")) {
        emit signalPhotoAspectRatio(m_photoAspectRatioConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitVideoFileFormat(int value)
{
    if (canConvert(OLP_CTRL(emitVideoFileFormat), m_videoFileFormatConverter != nullptr, "video file format")) {
        emit signalVideoFileFormat(m_videoFileFormatConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitVideoResAndFrRate(int value)
{
    if (canConvert(OLP_CTRL(emitVideoResAndFrRate), m_videoResAndFrRateConverter != nullptr,
                   "video resolution and frame rate")) {
        emit signalVideoResAndFrRate(m_videoResAndFrRateConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitVideoFormatResol(int value)
{
    if (canConvert(OLP_CTRL(emitVideoFormatResol), m_videoFormatResolConverter != nullptr, "video format resolution")) {
        emit signalVideoFormatResol(m_videoFormatResolConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitContrast(int value)
{
    if (canConvert(OLP_CTRL(emitContrast), m_contrastConverter != nullptr, "contrast")) {
        emit signalContrast(m_contrastConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitSharpness(int value)
{
    if (canConvert(OLP_CTRL(emitSharpness), m_sharpnessConverter != nullptr, "sharpness")) {
        emit signalSharpness(m_sharpnessConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitSaturation(int value)
{
    if (canConvert(OLP_CTRL(emitSaturation), m_saturationConverter != nullptr, "saturation")) {
        emit signalSaturation(m_saturationConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitMonochrome(int value)
{
    if (canConvert(OLP_CTRL(emitMonochrome), m_monochromeConverter != nullptr, "monochrome")) {
        emit signalMonochrome(m_monochromeConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitOrientation(int value)
{
    if (canConvert(OLP_CTRL(emitOrientation), m_orientationConverter != nullptr, "orientation")) {
        emit signalOrientation(value);
    }
}

void OLP_Logic_Controller::emitAudioLevel(int value)
{
    if (canConvert(OLP_CTRL(emitAudioLevel), m_audioLevelConverter != nullptr, "audio level")) {
        emit signalAudioLevel(m_audioLevelConverter->textOf(value));
        emit signalAudioLevelIsManual(value == 1);
    }
}

void OLP_Logic_Controller::emitAudioWindElim(int value)
{
    emit signalAudioWindElim(value != 0);
}

void OLP_Logic_Controller::emitAudioVolSpeaker(int value)
{
    emit signalAudioVolSpeaker(value);
}

void OLP_Logic_Controller::emitAudioVolHeadphone(int value)
{
    emit signalAudioVolHeadphone(value);
}

void OLP_Logic_Controller::emitAudioVolMicrophone(int value)
{
    emit signalAudioVolMicrophone(value);
    // The fraction the GUI's level control shows, on the scale of setAudioVolMicrophone(double).
    const quint32 product = m_camera ? m_camera->productId() : 0;
    if (product == ProductIdKestaD) {
        emit signalAudioVolMicrophone(value / 63.0);
    } else if (product == ProductIdPelvo) {
        emit signalAudioVolMicrophone(value / 4.0);
    }
}

void OLP_Logic_Controller::emitExposureSimulation(int value)
{
    emit signalExposureSimulation(value != 0);
    emit signalExposureSimulation(value);
}

void OLP_Logic_Controller::emitExposureMode(int mode)
{
    emit signalExposureMode(mode);
}

void OLP_Logic_Controller::emitExposMetering(int value)
{
    if (canConvert(OLP_CTRL(emitExposMetering), m_exposMeteringConverter != nullptr, "exposure metering")) {
        emit signalExposMetering(value);
        emit signalExposMetering(m_exposMeteringConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitAperture(double fNumber)
{
    if (!noCamera(OLP_CTRL(emitAperture))) {
        emit signalAperture(OLP_Logic_APEXConverterAperture::toString(fNumber));
    }
}

void OLP_Logic_Controller::emitShutterTime(double seconds)
{
    if (noCamera(OLP_CTRL(emitShutterTime)) || !m_shutterTimeConverter) {
        return;
    }
    // The camera reports a negative time in bulb mode.
    emit signalShutterTime(seconds < 0.0 ? kOLP_BulbText : m_shutterTimeConverter->toString(seconds));
}

void OLP_Logic_Controller::emitExposCompens(int milliEv)
{
    if (canConvert(OLP_CTRL(emitExposCompens), m_exposCompensConverter != nullptr, "exposure compensation")) {
        emit signalExposCompens(milliEv);
        emit signalExposCompens(m_exposCompensConverter->textOf(milliEv));
    }
}

void OLP_Logic_Controller::emitExposCompensStep(int step)
{
    emit signalExposCompensStep(step);
}

void OLP_Logic_Controller::emitSensitivity(int value)
{
    if (canConvert(OLP_CTRL(emitSensitivity), m_sensitivityConverter != nullptr, "sensitivity")) {
        emit signalSensitivity(value);
        emit signalSensitivity(m_sensitivityConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitSensitivityAuto(bool automatic)
{
    emit signalSensitivityAuto(automatic);
}

void OLP_Logic_Controller::emitWhiteBalance(int index)
{
    if (canConvert(OLP_CTRL(emitWhiteBalance), m_whiteBalanceConverter != nullptr, "white balance")) {
        emit signalWhiteBalance(index);
        emit signalWhiteBalance(m_whiteBalanceConverter->textOf(index));
        emit signalIsWhiteBalTemp(isColorTemperature(index));
    }
}

void OLP_Logic_Controller::emitWhiteBalTemp(int value)
{
    if (canConvert(OLP_CTRL(emitWhiteBalTemp), m_whiteBalTempConverter != nullptr, "white balance temperature")) {
        emit signalWhiteBalTemp(m_whiteBalTempConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitBracketEnabled(bool enabled)
{
    emit signalBracketEnabled(enabled);
}

void OLP_Logic_Controller::emitBracketImgNum(int number)
{
    if (canConvert(OLP_CTRL(emitBracketImgNum), m_bracketImgNumConverter != nullptr, "bracketing image numbers")) {
        emit signalBracketImgNum(m_bracketImgNumConverter->textOf(number));
    }
}

void OLP_Logic_Controller::emitBracketDeltaEV(int milliEv)
{
    if (canConvert(OLP_CTRL(emitBracketDeltaEV), m_bracketDeltaEVConverter != nullptr, "bracketing delta EV")) {
        emit signalBracketDeltaEV(m_bracketDeltaEVConverter->textOf(milliEv));
    }
}

void OLP_Logic_Controller::emitIntervalFrames(int frames)
{
    if (canConvert(OLP_CTRL(emitIntervalFrames), m_intervalFramesConverter != nullptr, "interval frames")) {
        emit signalIntervalFrames(frames);
        emit signalIntervalFrames(m_intervalFramesConverter->textOf(frames));
    }
}

void OLP_Logic_Controller::emitIntervalTime(int seconds)
{
    if (canConvert(OLP_CTRL(emitIntervalTime), m_intervalTimeConverter != nullptr, "interval time")) {
        emit signalIntervalTime(seconds);
        emit signalIntervalTime(m_intervalTimeConverter->textOf(seconds));
    }
}

void OLP_Logic_Controller::emitFocusMode(int mode)
{
    emit signalFocusMode(mode);
}

void OLP_Logic_Controller::emitFocusIsUnitFeet()
{
    emit signalFocusIsUnitFeet(m_isUnitFeet);
}

void OLP_Logic_Controller::emitFocusDistance(int millimetres)
{
    if (canConvert(OLP_CTRL(emitFocusDistance), m_focusDistanceConverter != nullptr, "focus distance")) {
        emit signalFocusDistance(OLP_Logic_ConverterFocusDistance::toString(millimetres, m_isUnitFeet));
    }
}

void OLP_Logic_Controller::emitFocusMaxDistance(int millimetres)
{
    if (canConvert(OLP_CTRL(emitFocusMaxDistance), m_focusDistanceConverter != nullptr, "focus distance")) {
        m_focusDistanceConverter->setMaxDistance(millimetres);
        emit signalFocusMaxDistance(OLP_Logic_ConverterFocusDistance::toString(millimetres, m_isUnitFeet));
    }
}

void OLP_Logic_Controller::emitFocusMinDistance(int millimetres)
{
    if (canConvert(OLP_CTRL(emitFocusMinDistance), m_focusDistanceConverter != nullptr, "focus distance")) {
        m_focusDistanceConverter->setMinDistance(millimetres);
        emit signalFocusMinDistance(OLP_Logic_ConverterFocusDistance::toString(millimetres, m_isUnitFeet));
    }
}

void OLP_Logic_Controller::emitFocusConfirmation(int value)
{
    emit signalFocusConfirmation(value);
}

void OLP_Logic_Controller::emitFocusConfirmBadSig(bool bad)
{
    emit signalFocusConfirmBadSig(bad);
}

void OLP_Logic_Controller::emitNoFocusConfirmation()
{
    emit signalNoFocusConfirmation();
}

void OLP_Logic_Controller::emitAutoFocusLimit(bool on)
{
    emit signalAutoFocusLimit(on);
}

void OLP_Logic_Controller::emitAutoFocusLimitDist(int millimetres)
{
    emit signalAutoFocusLimitDist(OLP_Logic_ConverterFocusDistance::toString(millimetres, m_isUnitFeet));
}

void OLP_Logic_Controller::emitWarning(int value)
{
    if (canConvert(OLP_CTRL(emitWarning), m_warningConverter != nullptr, "warnings")) {
        emit signalWarning(m_warningConverter->textOf(value));
    }
}

void OLP_Logic_Controller::emitFileNameAndNumber()
{
    if (noCamera(OLP_CTRL(emitFileNameAndNumber))) {
        return;
    }
    emit signalPictureName(m_camera->pictureName());
    emit signalPictureIndex(m_camera->pictureIndex());
    emit signalPictureExample(m_camera->pictureExampleFileName());
}

void OLP_Logic_Controller::emitPictureExampleName()
{
    if (!noCamera(OLP_CTRL(emitPictureExampleName))) {
        emit signalPictureExample(m_camera->pictureExampleFileName());
    }
}

// ---- list slots --------------------------------------------------------------------------------

void OLP_Logic_Controller::emitFileFormatList()
{
    if (canConvert(OLP_CTRL(emitFileFormatList), m_fileFormatConverter != nullptr, "file format")) {
        emit signalFileFormatList(m_fileFormatConverter->list());
    }
}

void OLP_Logic_Controller::emitDngCompressionList()
{
    if (canConvert(OLP_CTRL(emitDngCompressionList), m_dngCompressionConverter != nullptr, "DNG compression")) {
        emit signalDngCompressionList(m_dngCompressionConverter->list());
    }
}

void OLP_Logic_Controller::emitJpgColorSpaceList()
{
    if (canConvert(OLP_CTRL(emitJpgColorSpaceList), m_jpgColorSpaceConverter != nullptr, "JPG color space")) {
        emit signalJpgColorSpaceList(m_jpgColorSpaceConverter->list());
    }
}

void OLP_Logic_Controller::emitJpgResolutionList()
{
    if (canConvert(OLP_CTRL(emitJpgResolutionList), m_jpgResolutionConverter != nullptr, "JPG resolution")) {
        emit signalJpgResolutionList(m_jpgResolutionConverter->list());
    }
}

void OLP_Logic_Controller::emitAutoreviewDurationList()
{
    if (canConvert(OLP_CTRL(emitAutoreviewDurationList), m_autoreviewDurationConverter != nullptr,
                   "autoreview duration")) {
        emit signalAutoreviewDurationList(m_autoreviewDurationConverter->list());
    }
}

void OLP_Logic_Controller::emitAutoPowerOffList()
{
    if (canConvert(OLP_CTRL(emitAutoPowerOffList), m_autoPowerOffConverter != nullptr, "auto power off")) {
        emit signalAutoPowerOffList(m_autoPowerOffConverter->list());
    }
}

void OLP_Logic_Controller::emitSensorFormatList()
{
    if (canConvert(OLP_CTRL(emitSensorFormatList), m_sensorFormatConverter != nullptr, "sensor format")) {
        emit signalSensorFormatList(m_sensorFormatConverter->list());
    }
}

void OLP_Logic_Controller::emitPhotoAspectRatioList()
{
    if (canConvert(OLP_CTRL(emitPhotoAspectRatioList), m_photoAspectRatioConverter != nullptr, "photo aspect ratio")) {
        emit signalPhotoAspectRatioList(m_photoAspectRatioConverter->list());
    }
}

void OLP_Logic_Controller::emitVideoFileFormatList()
{
    if (canConvert(OLP_CTRL(emitVideoFileFormatList), m_videoFileFormatConverter != nullptr, "video file format")) {
        emit signalVideoFileFormatList(m_videoFileFormatConverter->list());
    }
}

void OLP_Logic_Controller::emitVideoResAndFrRateList()
{
    if (canConvert(OLP_CTRL(emitVideoResAndFrRateList), m_videoResAndFrRateConverter != nullptr,
                   "video resolution and frame rate")) {
        emit signalVideoResAndFrRateList(m_videoResAndFrRateConverter->list());
    }
}

void OLP_Logic_Controller::emitVideoFormatResolList()
{
    if (canConvert(OLP_CTRL(emitVideoFormatResolList), m_videoFormatResolConverter != nullptr,
                   "video format resolution")) {
        emit signalVideoFormatResolList(m_videoFormatResolConverter->list());
    }
}

void OLP_Logic_Controller::emitContrastList()
{
    if (canConvert(OLP_CTRL(emitContrastList), m_contrastConverter != nullptr, "contrast")) {
        emit signalContrastList(m_contrastConverter->list());
    }
}

void OLP_Logic_Controller::emitSharpnessList()
{
    if (canConvert(OLP_CTRL(emitSharpnessList), m_sharpnessConverter != nullptr, "sharpness")) {
        emit signalSharpnessList(m_sharpnessConverter->list());
    }
}

void OLP_Logic_Controller::emitSaturationList()
{
    if (canConvert(OLP_CTRL(emitSaturationList), m_saturationConverter != nullptr, "saturation")) {
        emit signalSaturationList(m_saturationConverter->list());
    }
}

void OLP_Logic_Controller::emitMonochromeList()
{
    if (canConvert(OLP_CTRL(emitMonochromeList), m_monochromeConverter != nullptr, "monochrome")) {
        emit signalMonochromeList(m_monochromeConverter->list());
    }
}

void OLP_Logic_Controller::emitOrientationList()
{
    if (canConvert(OLP_CTRL(emitOrientationList), m_orientationConverter != nullptr, "orientation")) {
        emit signalOrientationList(m_orientationConverter->list());
    }
}

void OLP_Logic_Controller::emitAudioLevelList()
{
    if (canConvert(OLP_CTRL(emitAudioLevelList), m_audioLevelConverter != nullptr, "audio level")) {
        emit signalAudioLevelList(m_audioLevelConverter->list());
    }
}

void OLP_Logic_Controller::emitExposureSimulationList()
{
    if (noCamera(OLP_CTRL(emitExposureSimulationList))) {
        return;
    }
    emit signalExposureSimulationList(m_camera->productId() == ProductIdPelvo ? QVector<int>{0, 2, 3}
                                                                              : QVector<int>{0, 1});
}

void OLP_Logic_Controller::emitExposMeteringList()
{
    if (canConvert(OLP_CTRL(emitExposMeteringList), m_exposMeteringConverter != nullptr, "exposure metering")) {
        emit signalExposMeteringList(m_exposMeteringConverter->list());
    }
}

void OLP_Logic_Controller::emitExposCompensList()
{
    if (canConvert(OLP_CTRL(emitExposCompensList), m_exposCompensConverter != nullptr, "exposure compensation")) {
        emit signalExposCompensList(m_exposCompensConverter->list());
    }
}

void OLP_Logic_Controller::emitSensitivityList()
{
    if (canConvert(OLP_CTRL(emitSensitivityList), m_sensitivityConverter != nullptr, "sensitivity")) {
        emit signalSensitivityList(m_sensitivityConverter->list());
    }
}

void OLP_Logic_Controller::emitWhiteBalanceList()
{
    if (canConvert(OLP_CTRL(emitWhiteBalanceList), m_whiteBalanceConverter != nullptr, "white balance")) {
        emit signalWhiteBalanceList(m_whiteBalanceConverter->list());
    }
}

void OLP_Logic_Controller::emitWhiteBalTempList()
{
    if (canConvert(OLP_CTRL(emitWhiteBalTempList), m_whiteBalTempConverter != nullptr, "white balance temperature")) {
        emit signalWhiteBalTempList(m_whiteBalTempConverter->list());
    }
}

void OLP_Logic_Controller::emitDriveModeList()
{
    if (canConvert(OLP_CTRL(emitDriveModeList), m_driveModeConverter != nullptr, "drive mode")) {
        emit signalDriveModeList(m_driveModeConverter->list());
    }
}

void OLP_Logic_Controller::emitBracketImgNumList()
{
    if (canConvert(OLP_CTRL(emitBracketImgNumList), m_bracketImgNumConverter != nullptr, "bracketing image numbers")) {
        emit signalBracketImgNumList(m_bracketImgNumConverter->list());
    }
}

void OLP_Logic_Controller::emitBracketDeltaEVList()
{
    if (canConvert(OLP_CTRL(emitBracketDeltaEVList), m_bracketDeltaEVConverter != nullptr, "bracketing delta EV")) {
        emit signalBracketDeltaEVList(m_bracketDeltaEVConverter->list());
    }
}

void OLP_Logic_Controller::emitIntervalFramesList()
{
    if (canConvert(OLP_CTRL(emitIntervalFramesList), m_intervalFramesConverter != nullptr, "interval frames")) {
        emit signalIntervalFramesList(m_intervalFramesConverter->list());
        emit signalIntervalFramesRange(qRound(m_intervalFramesConverter->firstValue()),
                                       qRound(m_intervalFramesConverter->lastValue()));
    }
}

void OLP_Logic_Controller::emitIntervalTimeList()
{
    if (canConvert(OLP_CTRL(emitIntervalTimeList), m_intervalTimeConverter != nullptr, "interval time")) {
        emit signalIntervalTimeList(m_intervalTimeConverter->list());
        emit signalIntervalTimeRange(qRound(m_intervalTimeConverter->firstValue()),
                                     qRound(m_intervalTimeConverter->lastValue()));
    }
}

// ---- shutter-time and aperture lists -----------------------------------------------------------

double OLP_Logic_Controller::listStepEv(bool forShutterTime) const
{
    if (m_camera->hasExposCompensStep()) {
        switch (m_camera->exposCompensStep()) {
            case 333:
                return 1.0 / 3.0;
            case 500:
                return 0.5;
            case 1000:
                return 1.0;
            default:
                return 0.0;
        }
    }
    if (forShutterTime && !m_camera->hasAperture()) {
        return 0.5;
    }
    switch (m_camera->apertureSteps()) {
        case 1:
            return 1.0;
        case 2:
            return 0.5;
        case 3:
            return 1.0 / 3.0;
        default:
            return 0.0;
    }
}

QStringList OLP_Logic_Controller::shutterTimeTexts(const OLP_Logic_APEXConverterShutterTime& converter,
                                                   double fastestSeconds, double longestSeconds, double stepEv)
{
    QStringList texts;
    double tv = -std::log2(fastestSeconds);
    double t = converter.toSecondsFromTv(tv);
    double previous = 0.0;
    int stalls = 0;
    // A grid that stops short of the longest time (or is empty) stops moving;
    // the list then ends where the grid ends.
    while (t < longestSeconds && texts.size() < kMaxListEntries) {
        if (t > previous) {
            texts.append(converter.toString(t));
            previous = t;
            stalls = 0;
        } else if (++stalls >= kMaxStalls) {
            break;
        }
        tv -= stepEv;
        t = converter.toSecondsFromTv(tv);
    }
    texts.append(converter.toString(longestSeconds));
    texts.append(kOLP_BulbText);
    return texts;
}

QStringList OLP_Logic_Controller::apertureTexts(double openFNumber, double closeFNumber, double stepEv)
{
    typedef OLP_Logic_APEXConverterAperture Aperture;
    QStringList texts;
    texts.append(Aperture::toString(openFNumber));
    double av = 0.0;
    for (int i = 0; i < kMaxListEntries * 4 && Aperture::fNumberFromAv(av) <= openFNumber; ++i) {
        av += stepEv;
    }
    double previous = openFNumber;
    int stalls = 0;
    double f = Aperture::fNumberFromAv(av);
    while (f < closeFNumber && texts.size() < kMaxListEntries) {
        if (f > previous) {
            texts.append(Aperture::toString(f));
            previous = f;
            stalls = 0;
        } else if (++stalls >= kMaxStalls) {
            break;
        }
        av += stepEv;
        f = Aperture::fNumberFromAv(av);
    }
    texts.append(Aperture::toString(closeFNumber));
    return texts;
}

void OLP_Logic_Controller::emitShutterTimeList()
{
    if (noCamera(OLP_CTRL(emitShutterTimeList)) || !m_shutterTimeConverter) {
        return;
    }
    const double step = listStepEv(true);
    if (step <= 0.0) {
        debugPrintf(0, "%s - illegal shutter time step", OLP_CTRL(emitShutterTimeList));
        return;
    }
    double fastest = 0.00025;
    if (m_camera->productId() == ProductIdPelvo) {
        const bool electronic = m_camera->hasElectronicShutter() && m_camera->electronicShutter() == 1;
        fastest = electronic ? 0.0000625 : 0.000125;
    }
    emit signalShutterTimeList(shutterTimeTexts(*m_shutterTimeConverter, fastest, m_camera->maxShutterTime(), step));
}

void OLP_Logic_Controller::emitApertureList()
{
    if (noCamera(OLP_CTRL(emitApertureList))) {
        return;
    }
    const double step = listStepEv(false);
    if (step <= 0.0) {
        emit signalApertureList(QStringList{kOLP_NoValueText});
        return;
    }
    emit signalApertureList(apertureTexts(m_camera->openApertureValue(), m_camera->closeApertureValue(), step));
}

// ---- camera-side events ------------------------------------------------------------------------

void OLP_Logic_Controller::catchTransferRequest()
{
    if (noCamera(OLP_CTRL(catchTransferRequest))) {
        return;
    }
    // A bracketing series is one job for the GUI's loading display.
    const bool bracketing = m_camera->bracketingEnabled();
    const int images = m_camera->bracketingImageNumbers();
    if (bracketing) {
        ++m_bracketCount;
        if (m_bracketCount == 1) {
            emit signalLoading(true);
        }
    } else {
        emit signalLoading(true);
    }
    // The number the picture is going to get, read before its transfer
    // thread starts and can move it on.
    emitFileNameAndNumber();
    m_camera->transferRequest();
    if (!bracketing || m_bracketCount >= images) {
        m_bracketCount = 0;
    }
}

void OLP_Logic_Controller::catchLensChanged()
{
    if (noCamera(OLP_CTRL(catchLensChanged))) {
        return;
    }
    updateApertureConversion();
    if (m_camera->hasAperture()) {
        emitApertureList();
    }
    if (m_focusDistanceConverter) {
        emitFocusMaxDistance(int(m_camera->focusPositionMax()));
        emitFocusMinDistance(int(m_camera->focusPositionMin()));
    }
    if (m_camera->hasFocusDistance()) {
        emitFocusDistance(m_camera->focusDistance());
    }
}

void OLP_Logic_Controller::catchElectronicShutter(int value)
{
    Q_UNUSED(value);
    if (noCamera(OLP_CTRL(catchElectronicShutter))) {
        return;
    }
    emitShutterTimeList();
    emitShutterTime(m_camera->shutterTime());
}

void OLP_Logic_Controller::catchMaxShutterTime(double seconds)
{
    Q_UNUSED(seconds);
    if (noCamera(OLP_CTRL(catchMaxShutterTime))) {
        return;
    }
    emitShutterTimeList();
    emitShutterTime(m_camera->shutterTime());
}

void OLP_Logic_Controller::catchExposCompensStep(int step)
{
    if (noCamera(OLP_CTRL(catchExposCompensStep))) {
        return;
    }
    if (m_exposCompensConverter) {
        m_exposCompensConverter->setStepSize(step);
    }
    if (m_shutterTimeConverter) {
        m_shutterTimeConverter->setStepSize(step);
    }
    updateApertureConversion();
    emit signalExposCompensStep(step);
    emitExposCompensList();
    emitExposCompens(m_camera->exposCompens());
    emitShutterTimeList();
    emitShutterTime(m_camera->shutterTime());
    if (m_camera->hasAperture()) {
        emitApertureList();
        emitAperture(m_camera->aperture());
    }
}

void OLP_Logic_Controller::catchLiveViewMode(int liveViewMode)
{
    {
        QMutexLocker lock(&m_stateLock);
        if (liveViewMode == m_cachedLiveViewMode) {
            return;
        }
        m_cachedLiveViewMode = liveViewMode;
    }
    emit signalLiveViewMode(liveViewMode);
}

// ---- GUI life ----------------------------------------------------------------------------------

void OLP_Logic_Controller::catchCameraGUIOpened()
{
    if (noCamera(OLP_CTRL(catchCameraGUIOpened))) {
        return;
    }
    OLP_Logic_Camera* c = m_camera;

    emitCameraSerialNumber(c->serialNumber());
    emitLensTypeString(c->lensTypeString());
    emitBatteryInfo(c->batteryInfo());
    emitBatteryLevelIntern(c->batteryLevelIntern());
    emitBatteryLevelExtern(c->batteryLevelExtern());
    emit signalHasLensConnectionType(c->hasLensConnectionType());
    emitLensConnectionType(c->lensConnectionType());
    emit signalHasPowerSwitch(c->hasPowerSwitch());
    emitPowerSwitch(c->powerSwitch());
    emit signalHasVideoRecording(c->hasVideoRecording());
    const bool liveView = c->hasLiveView();
    emit signalHasLiveView(liveView);
    if (liveView) {
        // The window starts from "no mode"; the camera's next report must then
        // reach it even when it repeats the mode last seen.
        {
            QMutexLocker lock(&m_stateLock);
            m_cachedLiveViewMode = 0;
        }
        emit signalLiveViewMode(0);
        if (c->wantLiveView()) {
            c->checkIfLiveViewIsActive();
        }
    }
    emit signalHasFlashStatus(c->hasFlashStatus());
    emitFlashStatus(c->flashStatus());
    emit signalHasFlashXSymbol(c->hasFlashXSymbol());
    emitFlashXSymbol(c->flashXSymbol());
    emitLightBalance(c->lightBalance());
    emit signalHasKeyLock(c->hasKeyLock());
    emitKeyLock(c->keyLock());
    emitFileFormatList();
    emitFileFormat(c->fileFormat());

    // Each of these settings: has-signal, then (when the camera has it) list and value.
    const bool dngCompression = c->hasDngCompression();
    emit signalHasDngCompression(dngCompression);
    if (dngCompression) {
        emitDngCompressionList();
        emitDngCompression(c->dngCompression());
    }
    const bool jpgColorSpace = c->hasJpgColorSpace();
    emit signalHasJpgColorSpace(jpgColorSpace);
    if (jpgColorSpace) {
        emitJpgColorSpaceList();
        emitJpgColorSpace(c->jpgColorSpace());
    }
    const bool jpgResolution = c->hasJpgResolution();
    emit signalHasJpgResolution(jpgResolution);
    if (jpgResolution) {
        emitJpgResolutionList();
        emitJpgResolution(c->jpgResolution());
    }
    const bool autoreview = c->hasAutoreviewDuration();
    emit signalHasAutoreviewDuration(autoreview);
    if (autoreview) {
        emitAutoreviewDurationList();
        emitAutoreviewDuration(c->autoreviewDuration());
    }
    const bool autoPowerOff = c->hasAutoPowerOff();
    emit signalHasAutoPowerOff(autoPowerOff);
    if (autoPowerOff) {
        emitAutoPowerOffList();
        emitAutoPowerOff(c->autoPowerOff());
    }
    const bool sensorFormat = c->hasSensorFormat();
    emit signalHasSensorFormat(sensorFormat);
    if (sensorFormat) {
        emitSensorFormatList();
        emitSensorFormat(c->sensorFormat());
    }
    const bool aspectRatio = c->hasPhotoAspectRatio();
    emit signalHasPhotoAspectRatio(aspectRatio);
    if (aspectRatio) {
        emitPhotoAspectRatioList();
        emitPhotoAspectRatio(c->photoAspectRatio());
    }
    const bool videoFileFormat = c->hasVideoFileFormat();
    emit signalHasVideoFileFormat(videoFileFormat);
    if (videoFileFormat) {
        emitVideoFileFormatList();
        emitVideoFileFormat(c->videoFileFormat());
    }
    const bool videoResAndFrRate = c->hasVideoResAndFrRate();
    emit signalHasVideoResAndFrRate(videoResAndFrRate);
    if (videoResAndFrRate) {
        emitVideoResAndFrRateList();
        emitVideoResAndFrRate(c->videoResAndFrRate());
    }
    const bool videoFormatResol = c->hasVideoFormatResol();
    emit signalHasVideoFormatResol(videoFormatResol);
    if (videoFormatResol) {
        emitVideoFormatResolList();
        emitVideoFormatResol(c->videoFormatResol());
    }
    const bool contrast = c->hasContrast();
    emit signalHasContrast(contrast);
    if (contrast) {
        emitContrastList();
        emitContrast(c->contrast());
    }
    const bool sharpness = c->hasSharpness();
    emit signalHasSharpness(sharpness);
    if (sharpness) {
        emitSharpnessList();
        emitSharpness(c->sharpness());
    }
    const bool saturation = c->hasSaturation();
    emit signalHasSaturation(saturation);
    if (saturation) {
        emitSaturationList();
        emitSaturation(c->saturation());
    }
    const bool monochrome = c->hasMonochrome();
    emit signalHasMonochrome(monochrome);
    if (monochrome) {
        emitMonochromeList();
        emitMonochrome(c->monochrome());
    }
    const bool orientation = c->hasOrientation();
    emit signalHasOrientation(orientation);
    if (orientation) {
        emitOrientationList();
        emitOrientation(c->orientation());
    }
    const bool audioLevel = c->hasAudioLevel();
    emit signalHasAudioLevel(audioLevel);
    if (audioLevel) {
        emitAudioLevelList();
        emitAudioLevel(c->audioLevel());
    }

    emit signalHasAudioWindElim(c->hasAudioWindElim());
    emitAudioWindElim(c->audioWindElim());
    emit signalHasAudioVolSpeaker(c->hasAudioVolSpeaker());
    emitAudioVolSpeaker(c->audioVolSpeaker());
    emit signalHasAudioVolHeadphone(c->hasAudioVolHeadphone());
    emitAudioVolHeadphone(c->audioVolHeadphone());
    emit signalHasAudioVolMicrophone(c->hasAudioVolMicrophone());
    emitAudioVolMicrophone(c->audioVolMicrophone());

    if (c->hasExposCompensStep()) {
        const int step = c->exposCompensStep();
        if (m_exposCompensConverter) {
            m_exposCompensConverter->setStepSize(step);
        }
        if (m_shutterTimeConverter) {
            m_shutterTimeConverter->setStepSize(step);
        }
        updateApertureConversion();
    }

    emit signalHasExposureSimulation(c->hasExposureSimulation());
    emitExposureSimulationList();
    emitExposureSimulation(c->exposureSimulation());
    emit signalDngPath(c->dngPath());
    emit signalJpgPath(c->jpgPath());
    emitFileNameAndNumber();
    emit signalHasWhiteBalance(c->hasWhiteBalance());

    emitDriveModeList();
    emitExposMeteringList();
    emitExposCompensList();
    emitBracketImgNumList();
    emitBracketDeltaEVList();
    emitIntervalFramesList();
    emitIntervalTimeList();
    emitSensitivityList();
    if (m_whiteBalanceConverter) {
        emitWhiteBalanceList();
    }
    emitWhiteBalTempList();
    emitShutterTimeList();
    catchLensChanged();
    emit signalFocusIsUnitFeet(m_isUnitFeet);

    emitDriveMode(c->driveMode());
    emit signalHasFocusMode(c->hasFocusMode());
    emitFocusMode(c->focusMode());
    emitExposMetering(c->exposMetering());
    emitExposCompens(c->exposCompens());
    emitBracketEnabled(c->bracketingEnabled());
    emitBracketImgNum(c->bracketingImageNumbers());
    emitBracketDeltaEV(c->bracketingDeltaEV());
    if (c->hasInterval()) {
        emitIntervalFrames(c->intervalFrames());
        emitIntervalTime(c->intervalTime());
    } else {
        emitIntervalFrames(m_intervalFrames);
        emitIntervalTime(m_intervalTime);
    }
    emit signalHasAutoFocusLimit(c->hasAutoFocusLimit());
    emitAutoFocusLimit(c->autoFocusLimit());
    emitAutoFocusLimitDist(c->autoFocusLimitDist());
    emit signalHasMirrorUpMode(c->hasMirrorUpMode());
    emitMirrorUpMode(c->mirrorUpMode());
    emitSensitivityAuto(c->sensitivityAuto());
    emitSensitivity(c->sensitivity());
    if (m_whiteBalanceConverter) {
        emitWhiteBalance(c->whiteBalanceIndex());
    }
    emitWhiteBalTemp(c->whiteBalanceColorTemp());
    if (c->productId() == ProductIdPelvo) {
        emit signalExposureModeList(
            QStringList{QStringLiteral("P"), QStringLiteral("M"), QStringLiteral("A"), QStringLiteral("S")});
    }
    emitExposureMode(c->exposureMode());
    const bool aperture = c->hasAperture();
    emit signalHasAperture(aperture);
    if (aperture) {
        emitAperture(c->aperture());
    }
    emitShutterTime(c->shutterTime());
    const bool focusDistance = c->hasFocusDistance();
    emit signalHasFocusDistance(focusDistance);
    if (focusDistance) {
        emitFocusDistance(c->focusDistance());
    }
    emit signalHasFocusConfirmation(c->hasFocusConfirmation());
    emitFocusConfirmBadSig(c->focusConfirmationBadSignal());
    emitFocusConfirmation(c->focusConfirmation());
    if (!c->focusConfirmationEnabled()) {
        emitNoFocusConfirmation();
    }
}

void OLP_Logic_Controller::catchLiveViewGUIOpened()
{
    if (noCamera(OLP_CTRL(catchLiveViewGUIOpened))) {
        return;
    }
    m_camera->setWaitLiveViewConsumed(true);
    emit signalHasExposureSimulation(m_camera->hasExposureSimulation());
    emitExposureSimulationList();
    const int value = m_camera->exposureSimulation();
    emit signalExposureSimulation(value != 0);
    emit signalExposureSimulation(value);
}

void OLP_Logic_Controller::catchLiveViewConsumed()
{
    if (!noCamera(OLP_CTRL(catchLiveViewConsumed))) {
        m_camera->catchLiveViewConsumed();
    }
}

void OLP_Logic_Controller::catchLiveViewGUIClosed()
{
    m_liveViewDisplaySize = QSize();
    if (!noCamera(OLP_CTRL(catchLiveViewGUIClosed))) {
        m_camera->setWaitLiveViewConsumed(false);
        m_camera->setLiveViewDisplaySize(m_liveViewDisplaySize);
    }
}

void OLP_Logic_Controller::setLiveViewDisplaySize(const QSize& size)
{
    m_liveViewDisplaySize = size;
    if (m_camera) {
        m_camera->setLiveViewDisplaySize(size);
    }
}

// ---- picture store -----------------------------------------------------------------------------

int OLP_Logic_Controller::exifOrientation(const QByteArray& prefix)
{
    static const char bigEndian[] = {0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01};
    static const char littleEndian[] = {0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00};
    const bool big = isBigEndianExif(prefix);
    const int valueAt = big ? 9 : 8;
    const int index = findPattern(prefix, big ? bigEndian : littleEndian, 8, valueAt);
    return index < 0 ? 0 : int(qint8(prefix.at(index + valueAt)));
}

int OLP_Logic_Controller::exifPixelWidth(const QByteArray& prefix)
{
    static const char bigEndian[] = {char(0xA0), 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01};
    static const char littleEndian[] = {0x02, char(0xA0), 0x03, 0x00, 0x01, 0x00, 0x00, 0x00};
    const bool big = isBigEndianExif(prefix);
    const int index = findPattern(prefix, big ? bigEndian : littleEndian, 8, 9);
    if (index < 0) {
        return 0;
    }
    const int first = quint8(prefix.at(index + 8));
    const int second = quint8(prefix.at(index + 9));
    return big ? (first << 8) | second : (second << 8) | first;
}

int OLP_Logic_Controller::rotationOfOrientation(int orientation)
{
    switch (orientation) {
        case 3:
            return 180;
        case 6:
            return 90;
        case 8:
            return 270;
        default:
            return 0;
    }
}

int OLP_Logic_Controller::sizeClassOf(quint32 productId, int pixelWidth)
{
    if (productId == ProductIdKestaD) {
        return pixelWidth > 4000 ? 2 : pixelWidth > 2000 ? 1 : 0;
    }
    if (productId == ProductIdSeventh) {
        return pixelWidth > 5000 ? 2 : pixelWidth > 3500 ? 1 : 0;
    }
    return 0;
}

QByteArray OLP_Logic_Controller::readPreview(const char* method, quint32 handle, qint32 thumbType, quint32 size)
{
    if (size == 0 || size > kMaxPreviewBytes) {
        debugPrintf(0, "%s - preview size %u of object 0x%08X refused", method, size, handle);
        return QByteArray();
    }
    QByteArray data(int(size), '\0');
    quint32 received = 0;
    if (!m_currentAccess->getThumbnail(bytes(data), size, thumbType, handle, &received) || received != size) {
        debugPrintf(0, "%s - preview of object 0x%08X not read (%u of %u bytes)", method, handle, received, size);
        return QByteArray();
    }
    return data;
}

QByteArray OLP_Logic_Controller::readWholeObject(const char* method, quint32 handle, quint32 size)
{
    QByteArray data(int(size), '\0');
    quint32 received = 0;
    if (size <= kChunkBytes) {
        if (!m_currentAccess->getObject(bytes(data), size, handle, &received) || received != size) {
            debugPrintf(0, "%s - object 0x%08X not read (%u of %u bytes)", method, handle, received, size);
            return QByteArray();
        }
        return data;
    }
    quint32 offset = 0;
    while (offset < size) {
        // The last chunk is only as long as what remains of the object.
        const quint32 chunk = qMin(kChunkBytes, size - offset);
        received = 0;
        if (!m_currentAccess->getPartialObject(bytes(data) + offset, chunk, offset, handle, &received) ||
            received != chunk) {
            debugPrintf(0, "%s - object 0x%08X not read at offset %u (%u of %u bytes)", method, handle, offset,
                        received, chunk);
            return QByteArray();
        }
        offset += chunk;
    }
    return data;
}

void OLP_Logic_Controller::loadThumb(uint handle, bool isBig)
{
    const char* name = OLP_CTRL(loadThumb);
    if (noCamera(name) || !m_currentAccess) {
        return;
    }
    QByteArray data;
    QString entryName;
    {
        debugPrintf(256, "%s - waiting for the transfer lock", name);
        QMutexLocker lock(m_camera->transferLock());
        // The flags are taken inside the lock: a transfer that ends while this
        // load waits clears them, and a copy from before would set them again.
        const bool wasBusy = m_camera->isBusy();
        const bool wasInProgress = m_camera->isTransferInProgress();
        m_camera->setBusy(true);
        m_camera->setTransferInProgress(true);
        const int index = m_camera->imageDBIndexOf(handle);
        if (index < 0) {
            debugPrintf(0, "%s - no picture with handle 0x%08X", name, handle);
        } else {
            entryName = m_camera->imageDB().at(index).name;
            if (m_camera->imageDBRotation(index) == 360) {
                QByteArray prefix(kExifPrefixBytes, 'X');
                quint32 received = 0;
                if (m_currentAccess->getPartialObject(bytes(prefix), quint32(prefix.size()), 0, handle, &received)) {
                    prefix.truncate(int(received));
                    m_camera->setImageDBRotation(index, rotationOfOrientation(exifOrientation(prefix)));
                    m_camera->setImageDBSizeClass(index, sizeClassOf(m_camera->productId(), exifPixelWidth(prefix)));
                } else {
                    // Left undetermined, so the next load tries again.
                    debugPrintf(0, "%s - first bytes of object 0x%08X not read", name, handle);
                }
            }
            std::array<quint8, kObjectInfoSize> info{};
            const qint32 thumbType = isBig ? 1 : 0;
            if (m_currentAccess->getObjectInfo(info.data(), kObjectInfoSize, thumbType, handle)) {
                const quint32 size = OLP_Commu_PtpReader::readU32(info.data(), kObjectInfoSize, kThumbSizeOffset);
                data = readPreview(name, handle, thumbType, size);
            } else {
                debugPrintf(0, "%s - object info of 0x%08X not read", name, handle);
            }
        }
        m_camera->setTransferInProgress(wasInProgress);
        m_camera->setBusy(wasBusy);
    }
    if (!data.isEmpty()) {
        emit signalThumbReceived(data, entryName, handle, isBig);
    }
}

void OLP_Logic_Controller::loadImageForSharing(int index, bool fullRes, bool forceDNG)
{
    const char* name = OLP_CTRL(loadImageForSharing);
    if (noCamera(name) || !m_currentAccess) {
        return;
    }
    QByteArray data;
    bool isDng = false;
    const quint32 handle = m_camera->imageDBHandle(index);
    if (index < 0 || index >= m_camera->imageDBCount()) {
        debugPrintf(0, "%s - no picture at index %d", name, index);
    } else {
        {
            debugPrintf(256, "%s - waiting for the transfer lock", name);
            QMutexLocker lock(m_camera->transferLock());
            // Taken inside the lock, as for thumbnails.
            const bool wasBusy = m_camera->isBusy();
            const bool wasInProgress = m_camera->isTransferInProgress();
            m_camera->setBusy(true);
            m_camera->setTransferInProgress(true);
            std::array<quint8, kObjectInfoSize> info{};
            if (!m_currentAccess->getObjectInfo(info.data(), kObjectInfoSize, 1, handle)) {
                debugPrintf(0, "%s - object info of 0x%08X not read", name, handle);
            } else {
                const quint32 size = OLP_Commu_PtpReader::readU32(info.data(), kObjectInfoSize, kObjectSizeOffset);
                const quint16 format = OLP_Commu_PtpReader::readU16(info.data(), kObjectInfoSize, kObjectFormatOffset);
                const quint32 thumbSize = OLP_Commu_PtpReader::readU32(info.data(), kObjectInfoSize, kThumbSizeOffset);
                OLP_Commu_PtpReader reader(info.data(), kObjectInfoSize, kFileNameOffset);
                const QString fileName = reader.string();
                const bool dngObject = format == kFormatDng;
                if (size < kMinObjectBytes || size > kMaxObjectBytes) {
                    debugPrintf(0, "%s - object 0x%08X of %u bytes not loaded", name, handle, size);
                } else if (!fullRes && !(dngObject && forceDNG)) {
                    data = readPreview(name, handle, 1, thumbSize);
                } else if (fullRes && dngObject && !forceDNG) {
                    std::array<quint8, kObjectInfoSize> info2{};
                    if (m_currentAccess->getObjectInfo(info2.data(), kObjectInfoSize, 2, handle)) {
                        data =
                            readPreview(name, handle, 2,
                                        OLP_Commu_PtpReader::readU32(info2.data(), kObjectInfoSize, kThumbSizeOffset));
                    } else {
                        debugPrintf(0, "%s - object info of 0x%08X not read", name, handle);
                    }
                } else {
                    data = readWholeObject(name, handle, size);
                    isDng = dngObject && !data.isEmpty();
                    if (data.size() >= 100 && data.left(100).count('\0') == 100) {
                        qDebug("--- corrupt (nulled) image transfered for image %s", qPrintable(fileName));
                    }
                }
            }
            m_camera->setTransferInProgress(wasInProgress);
            m_camera->setBusy(wasBusy);
        }
    }
    // An empty array: the picture could not be loaded.
    emit signalImageForSharingReceived(data, isDng);
}

void OLP_Logic_Controller::deleteObjectFromImageDB(uint handle)
{
    if (!noCamera(OLP_CTRL(deleteObjectFromImageDB))) {
        m_camera->removeImageDBEntry(handle);
    }
}

bool OLP_Logic_Controller::deleteObject(uint handle)
{
    if (!m_currentAccess) {
        debugPrintf(0, "%s - no camera", OLP_CTRL(deleteObject));
        return false;
    }
    return m_currentAccess->deleteObject(handle);
}

// ---- capture sequences -------------------------------------------------------------------------

namespace {
bool isContinuousDrive(int drive)
{
    return drive == 1 || (drive >= 6 && drive <= 8);
}
}  // namespace

void OLP_Logic_Controller::setDriveMode(int mode)
{
    if (noCamera(OLP_CTRL(setDriveMode))) {
        return;
    }
    // Bracketing is an entry of the program's drive-mode list: the camera
    // shoots single frames with its bracketing switched on.
    setBracketEnabled(mode == 4);
    int cameraMode = mode;
    if (mode == 4) {
        cameraMode = 0;
        m_intervalEnabled = false;
    } else if (!m_camera->hasInterval()) {
        m_intervalEnabled = mode == 5;
        cameraMode = mode == 5 ? 0 : mode;
    }
    m_camera->setDriveMode(cameraMode);
    emitDriveMode(m_intervalEnabled ? 5 : m_camera->driveMode());
}

void OLP_Logic_Controller::emitDriveMode(int mode)
{
    if (!canConvert(OLP_CTRL(emitDriveMode), m_driveModeConverter != nullptr, "drive mode")) {
        return;
    }
    int shown = mode;
    if (m_intervalEnabled && (mode == 5 || mode == 0)) {
        // The camera reports the single-frame mode the controller's interval
        // series shoots with; that report must not end interval mode.
        shown = 5;
    } else {
        m_intervalEnabled = false;
        if (m_camera->bracketingEnabled()) {
            shown = 4;
        }
    }
    emit signalDriveMode(shown);
    emit signalDriveMode(m_driveModeConverter->textOf(shown));
}

void OLP_Logic_Controller::catchDngTransferDone()
{
    m_readyForNextFrame = true;
}

void OLP_Logic_Controller::emitBulbCounter(int count)
{
    if (noCamera(OLP_CTRL(emitBulbCounter))) {
        return;
    }
    if (m_camera->exposureMode() != 4) {
        return;
    }
    if (count < 0) {
        emit signalBulbCounter(-1);
        emitShutterTime(m_camera->shutterTime());
        return;
    }
    emit signalBulbCounter(count);
    m_bulbResetTimer.start(kCounterResetMs);
}

void OLP_Logic_Controller::emitSelfTimerCounter(int count)
{
    if (noCamera(OLP_CTRL(emitSelfTimerCounter))) {
        return;
    }
    if (count > 0) {
        emit signalSelfTimerCounter(count);
        m_selfTimerResetTimer.start(kCounterResetMs);
    } else {
        emitShutterTime(m_camera->shutterTime());
    }
}

void OLP_Logic_Controller::catchBulbResetTimerFired()
{
    if (noCamera(OLP_CTRL(catchBulbResetTimerFired))) {
        return;
    }
    // These cameras send no final count when the bulb closes.
    const quint32 product = m_camera->productId();
    const bool noFinalCount = product == ProductIdKestaA || product == ProductIdKestaB || product == ProductIdKestaC ||
                              product == ProductIdPelvo || product == ProductIdKestaE;
    if (noFinalCount && m_camera->exposureMode() == 4) {
        emit signalBulbCounter(-1);
        emitShutterTime(m_camera->shutterTime());
    }
}

void OLP_Logic_Controller::catchSelfResetTimerFired()
{
    if (noCamera(OLP_CTRL(catchSelfResetTimerFired))) {
        return;
    }
    const quint32 product = m_camera->productId();
    if (product == ProductIdKestaC || product == ProductIdKestaE) {
        emitShutterTime(m_camera->shutterTime());
    }
}

void OLP_Logic_Controller::doCaptureBtnPressed()
{
    if (!inOwnThread()) {
        // The TCP release command: the interval timer must be created in the
        // thread that owns and deletes it.
        QMetaObject::invokeMethod(this, &OLP_Logic_Controller::doCaptureBtnPressed, Qt::QueuedConnection);
        return;
    }
    if (noCamera(OLP_CTRL(doCaptureBtnPressed))) {
        return;
    }
    OLP_Logic_Camera* c = m_camera;
    if (c->hasWarnings() && c->warning() == 6) {
        return;
    }
    if (m_intervalRunning) {
        return;
    }
    int drive = c->driveMode();
    const int mode = c->exposureMode();
    const bool mirrorUp = c->mirrorUpMode();
    if (c->hasInterval() && drive == 5) {
        drive = 0;
    }

    if (mode == 4) {
        const bool bulbActive = c->isBulbActive();
        if (mirrorUp && !bulbActive && m_bulbState < 1) {
            c->startBulbMirrorUp();
            m_bulbState = 1;
            return;
        }
        if (!bulbActive && ((m_bulbState == 1 && mirrorUp) || !mirrorUp)) {
            c->startBulb();
            m_bulbState = 2;
            return;
        }
        if (bulbActive && m_bulbState == 2) {
            // A close that failed leaves the shutter open: the next press
            // closes again instead of opening.
            if (c->stopBulb()) {
                m_bulbState = 0;
            }
            return;
        }
    }

    if (m_intervalEnabled) {
        m_intervalRemaining = mirrorUp ? 2 * m_intervalFrames : m_intervalFrames;
        m_bulbState = 0;
        if (c->isBulbActive()) {
            c->setBulbActive(false);
        }
        m_intervalRunning = true;
        m_readyForNextFrame = true;
        m_intervalTimer = new QTimer(this);
        connect(m_intervalTimer, &QTimer::timeout, this, &OLP_Logic_Controller::tickInterval);
        m_intervalTimer->start(0);
        return;
    }

    if (isContinuousDrive(drive) && !mirrorUp) {
        if (c->isBulbActive()) {
            c->setBulbActive(false);
        }
        c->releaseCam(12);
        m_bulbState = 0;
    } else {
        c->releaseCam(0);
        if (c->isBulbActive()) {
            c->setBulbActive(false);
        }
        m_bulbState = 0;
    }
}

void OLP_Logic_Controller::doCaptureBtnReleased()
{
    if (!inOwnThread()) {
        QMetaObject::invokeMethod(this, &OLP_Logic_Controller::doCaptureBtnReleased, Qt::QueuedConnection);
        return;
    }
    if (noCamera(OLP_CTRL(doCaptureBtnReleased))) {
        return;
    }
    if (isContinuousDrive(m_camera->driveMode())) {
        m_camera->stopContinuous();
    }
}

void OLP_Logic_Controller::doVidCaptBtnPressed() {}

void OLP_Logic_Controller::doVidCaptBtnReleased()
{
    if (noCamera(OLP_CTRL(doVidCaptBtnReleased))) {
        return;
    }
    m_camera->toggleVideoCapture();
}

void OLP_Logic_Controller::tickInterval()
{
    if (noCamera(OLP_CTRL(tickInterval))) {
        endIntervalSeries();
        return;
    }
    if (!m_intervalEnabled || !m_intervalTimer) {
        endIntervalSeries();
        return;
    }
    if (!m_readyForNextFrame) {
        // JPG-only pictures of a shutter time of 0.0 or less come too fast to wait for.
        const int format = m_camera->fileFormat();
        if (!((format == 3 || format == 4) && m_camera->shutterTime() <= 0.0)) {
            return;
        }
    }
    if (m_intervalRemaining <= 0) {
        endIntervalSeries();
        return;
    }
    const bool mirrorUp = m_camera->mirrorUpMode();
    m_intervalTimer->setInterval(m_intervalTime * m_intervalUnitMs);
    const bool released = m_camera->releaseCam(0);
    --m_intervalRemaining;
    const bool mirrorRelease = mirrorUp && m_intervalRemaining > 0 && (m_intervalRemaining % 2) == 1;
    // A failed release takes no picture, so the series must not wait for one;
    // the frame counts all the same. The mirror release takes none either.
    if (released && !mirrorRelease) {
        m_readyForNextFrame = false;
    }
    if (mirrorRelease) {
        m_intervalTimer->stop();
        QTimer::singleShot(kMirrorUpDelayMs, this, &OLP_Logic_Controller::tickIntervalReleaseInMirrorUpMode);
    }
}

void OLP_Logic_Controller::tickIntervalReleaseInMirrorUpMode()
{
    if (noCamera(OLP_CTRL(tickIntervalReleaseInMirrorUpMode))) {
        return;
    }
    if (!m_intervalRunning || !m_intervalTimer) {
        // The series ended while the mirror was up.
        return;
    }
    if (m_camera->releaseCam(0)) {
        m_readyForNextFrame = false;
    }
    --m_intervalRemaining;
    m_intervalTimer->start();
}

void OLP_Logic_Controller::endIntervalSeries()
{
    m_intervalRunning = false;
    m_intervalRemaining = 0;
    if (m_intervalTimer) {
        QTimer* timer = m_intervalTimer;
        m_intervalTimer = nullptr;
        timer->stop();
        disconnect(timer, nullptr, this, nullptr);
        // Possibly inside the timer's own timeout: delete it when control
        // returns to the event loop (it is a child, so never leaked).
        timer->deleteLater();
    }
}
