#include "OLP_Logic_CameraSettingsByDevProps.h"

#include <cmath>
#include <optional>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Logic_APEXConverterShutterTime.h"
#include "OLP_Logic_DeviceInfo.h"

#define OLP_NAME(method) "OLP_Logic_CameraSettingsByDevProps::" #method

namespace {

constexpr eDebugFlag kLogSettings = 1024;

const char* yesNo(bool value)
{
    return value ? "Yes" : "No";
}

// Bulb times in seconds that a ProductIdSeventh camera also takes as its
// exposure time when they are chosen as bulb preset.
bool isBulbPresetTime(qint32 preset)
{
    switch (preset) {
        case 8:
        case 12:
        case 16:
        case 24:
        case 32:
        case 45:
        case 60:
            return true;
        default:
            return false;
    }
}

}  // namespace

// clang-format off
const OLP_Logic_CameraSettingsByDevProps::FieldDesc
    OLP_Logic_CameraSettingsByDevProps::kFields[OLP_Logic_CameraSettingsByDevProps::FieldCount] = {
    // code    write   width kind           initial flag log name
    {0xD616, 0,      4, Int32,          0,     0,  "batteryInfo"},
    {0x5001, 0,      1, UInt8,          255,   1,  "batteryLevelIntern"},
    {0xD608, 0,      4, Int32,          255,   2,  "batteryLevelExtern"},
    {0xD625, 0,      4, Int32,          -1536, 3,  "exposureTimeMax"},
    {0xD626, 0,      4, Int32,          0,     4,  "powerSwitch"},
    {0xD627, 0,      4, Int32,          -1,    5,  "selfTimerRestTime"},
    {0xD628, 0,      4, Int32,          -1,    6,  "bulbModeTime"},
    {0xD618, 0,      4, Int32,          0,     41, "flashStatus"},
    {0xD619, 0,      4, Int32,          0,     42, "flashSyncStatus"},
    {0xD622, 0,      4, Int32,          0,     57, "focusConfirmBadSignal"},
    {0xD623, 0,      4, Int32,          0,     56, "focusConfirmEnabled"},
    {0xD621, 0,      4, Int32,          0,     55, "focusConfirmValue"},
    {0xD62B, 0,      4, Int32,          -1,    54, "focusDistance"},
    {0xD04E, 0,      4, Int32,          0,     58, "autoFocusLimit"},
    {0xD06F, 0,      4, Int32,          -1,    59, "autoFocusLimitDist"},
    {0xD080, 0,      4, Int32,          0,     29, "electronicShutter"},
    {0xD079, 0,      4, Int32,          0,     30, "exposTimeBulbPreset"},
    {0xD643, 0,      4, Int32,          0,     31, "lensConnectionType"},
    {0xD65F, 0,      4, Int32,          0,     32, "orientation"},
    {0xD610, 0,      4, Int32,          0,     17, "sensitivityASA"},
    {0x500F, 0,      4, ZeroMeansTrue,  1,     17, "sensitivityAuto"},
    {0x5013, 0,      2, UInt16,         0,     7,  "driveMode"},
    {0xD000, 0,      4, Int32,          1,     61, "intervalFrames"},
    {0xD001, 0,      4, Int32,          1,     62, "intervalTime"},
    {0x500A, 0,      2, UInt16,         0,     8,  "focusMode"},
    {0xD004, 0,      4, Int32,          0,     44, "fileFormat"},
    {0x500B, 0,      2, UInt16,         2,     9,  "exposureMeteringMode"},
    {0x500E, 0,      2, UInt16,         1,     51, "exposureProgram"},
    {0x5010, 0,      2, Int16,          0,     10, "exposureCompensation"},
    {0xD040, 0,      4, Int32,          500,   11, "exposCompensStepSize"},
    {0xD005, 0,      4, Bool,           0,     12, "bracketingEnabled"},
    {0xD006, 0,      4, Int32,          3,     13, "bracketingFrames"},
    {0xD007, 0,      4, Int32,          1000,  14, "bracketingAperture"},
    {0xD008, 0,      4, Int32,          0,     15, "bracketingAutomatic"},
    {0xD00A, 0,      4, Int32,          0,     16, "mirrorUpMode"},
    {0xD050, 0,      4, Int32,          0,     19, "sensorFormat"},
    {0xD04F, 0,      4, Int32,          0,     20, "photoAspectRatio"},
    {0xD00F, 0,      4, Int32,          0,     21, "photoResolutionJPG"},
    {0xD03F, 0,      4, Int32,          0,     22, "VideoFileFormat"},
    {0xD125, 0,      4, Int32,          8,     23, "VideoResAndFrRate"},
    {0xD082, 0,      4, Int32,          3,     24, "VideoFormatResol"},
    {0x5014, 0,      1, UInt8,          0,     25, "Contrast"},
    {0x5015, 0,      1, UInt8,          0,     26, "Sharpness"},
    {0xD016, 0,      4, Int32,          0,     27, "Saturation"},
    {0xD13B, 0,      4, Int32,          0,     28, "Monochrome"},
    {0xD012, 0,      4, Int32,          0,     33, "AudioLevel"},
    {0xD013, 0,      4, Int32,          0,     34, "AudioWindElim"},
    {0xD121, 0,      4, UInt8,          3,     35, "AudioVolSpeaker"},
    {0xD122, 0,      4, UInt8,          3,     36, "AudioVolHeadphone"},
    {0xD123, 0,      4, UInt8,          0,     37, "AudioVolMicrophone"},
    {0xD115, 0,      4, Int32,          0,     38, "ExposureSimulation"},
    {0x5005, 0,      2, UInt16,         0,     45, "whiteBalance"},
    {0xD014, 0,      4, Int32,          5000,  46, "whiteBalanceColorTemp"},
    {0xD015, 0,      4, Int32,          1,     47, "colorManagement"},
    {0xD018, 0,      4, Bool,           0,     48, "externalShooting"},
    {0xD01A, 0,      4, Int32,          0,     49, "autoreviewDuration"},
    {0xD024, 0,      4, Int32,          1,     50, "autoPowerOff"},
    {0xD02D, 0,      4, Bool,           0,     18, "keyLock"},
    {0xD036, 0,      4, Int32,          0,     39, "language"},
    {0xD615, 0,      4, Int16,          0,     43, "lightmeter"},
    // The camera reports its current exposure time and aperture in 0xD60C and
    // 0xD60E; new values are written to 0xD03B and 0xD03C.
    {0xD60C, 0xD03B, 4, Int32,          0,     53, "exposureTime"},
    {0xD60E, 0xD03C, 4, Int32,          0,     52, "aperture"},
};
// clang-format on

OLP_Logic_CameraSettingsByDevProps::OLP_Logic_CameraSettingsByDevProps(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                                       OLP_Logic_DeviceInfo* deviceInfo)
    : OLP_Logic_CameraSettingsBase(cameraAccess, deviceInfo),
      m_properties(cameraAccess),
      m_productId(cameraAccess ? cameraAccess->productId() : 0),
      m_shutterTime(new OLP_Logic_APEXConverterShutterTime(m_productId))
{
    for (int i = 0; i < FieldCount; ++i) {
        m_values[i] = kFields[i].initial;
        m_read[i] = false;
    }
    recvFromCamera(nullptr);
}

OLP_Logic_CameraSettingsByDevProps::~OLP_Logic_CameraSettingsByDevProps() = default;

// ---- reading ------------------------------------------------------------------------------------

int OLP_Logic_CameraSettingsByDevProps::fieldForCode(quint16 propertyCode)
{
    switch (propertyCode) {
        case 0xD60D:
        case 0xD03B:
            return ExposureTime;
        case 0xD60F:
        case 0xD03C:
            return Aperture;
        default:
            break;
    }
    for (int i = 0; i < FieldCount; ++i) {
        if (kFields[i].code == propertyCode) {
            return i;
        }
    }
    return -1;
}

qint32 OLP_Logic_CameraSettingsByDevProps::normalise(Kind kind, quint32 raw)
{
    switch (kind) {
        case UInt8:
            return qint32(raw & 0xFF);
        case UInt16:
            return qint32(raw & 0xFFFF);
        case Int16:
            return qint16(quint16(raw & 0xFFFF));
        case Bool:
            return raw != 0 ? 1 : 0;
        case ZeroMeansTrue:
            return raw == 0 ? 1 : 0;
        case Int32:
            break;
    }
    return qint32(raw);
}

bool OLP_Logic_CameraSettingsByDevProps::isPelvo() const
{
    return m_productId == ProductIdPelvo;
}

bool OLP_Logic_CameraSettingsByDevProps::isSeventh() const
{
    return m_productId == ProductIdSeventh;
}

bool OLP_Logic_CameraSettingsByDevProps::store(Field field, qint32 newValue, SettingsChangeFlags* changes)
{
    if (m_values[field] == newValue) {
        return false;
    }
    m_values[field] = newValue;
    if (changes) {
        changes->at(kFields[field].flag) = true;
    }
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::readField(Field field, SettingsChangeFlags* changes)
{
    const FieldDesc& desc = kFields[field];
    quint32 raw = 0;
    const bool ok = m_properties.read(desc.code, desc.width, &raw);
    const qint32 newValue = ok ? normalise(desc.kind, raw) : 0;
    debugPrintf(kLogSettings, "%s - %-21s = %d   (ok = %s)", OLP_NAME(recvFromCamera), desc.logName, newValue,
                yesNo(ok));
    if (!ok) {
        return false;
    }
    m_read[field] = true;
    return store(field, newValue, changes);
}

bool OLP_Logic_CameraSettingsByDevProps::valuesValid() const
{
    return m_read[ExternalShooting] && m_read[AutoPowerOff];
}

void OLP_Logic_CameraSettingsByDevProps::readSensitivity(SettingsChangeFlags* changes)
{
    readField(SensitivityASA, changes);
    readField(SensitivityAuto, changes);
}

void OLP_Logic_CameraSettingsByDevProps::readFocusConfirmation(SettingsChangeFlags* changes)
{
    // The value means something only while confirmation is on and the signal good.
    quint32 enabled = 0;
    if (!m_properties.read(kFields[FocusConfirmEnabled].code, kFields[FocusConfirmEnabled].width, &enabled) ||
        enabled != 1) {
        return;
    }
    quint32 badSignal = 0;
    if (!m_properties.read(kFields[FocusConfirmBadSignal].code, kFields[FocusConfirmBadSignal].width, &badSignal) ||
        badSignal != 0) {
        return;
    }
    readField(FocusConfirmValue, changes);
}

void OLP_Logic_CameraSettingsByDevProps::readElectronicShutter(SettingsChangeFlags* changes)
{
    // The camera cannot report this property; it is taken as switched on.
    debugPrintf(kLogSettings, "%s - %-21s = %d   (ok = %s)", OLP_NAME(recvFromCamera),
                kFields[ElectronicShutter].logName, 1, yesNo(true));
    store(ElectronicShutter, 1, changes);
}

void OLP_Logic_CameraSettingsByDevProps::applyBulbPreset(SettingsChangeFlags* changes)
{
    const qint32 preset = m_values[ExposTimeBulbPreset];
    if (!isBulbPresetTime(preset)) {
        return;
    }
    const std::optional<qint16> code = m_shutterTime->toCode(double(preset));
    if (code) {
        store(ExposureTime, qint32(*code), changes);
    }
}

void OLP_Logic_CameraSettingsByDevProps::readProperty(Field field, SettingsChangeFlags* changes)
{
    switch (field) {
        case SensitivityASA:
        case SensitivityAuto:
            readSensitivity(changes);
            return;
        case FocusConfirmValue:
            readFocusConfirmation(changes);
            return;
        case ElectronicShutter:
            readElectronicShutter(changes);
            return;
        default:
            break;
    }
    if (!readField(field, changes)) {
        return;
    }
    if (field == DriveMode && isPelvo()) {
        // This camera has no bracketing switch: bracketing is drive mode 8.
        store(BracketingEnabled, m_values[DriveMode] == 8 ? 1 : 0, changes);
    } else if (field == ExposTimeBulbPreset && isSeventh()) {
        applyBulbPreset(changes);
    } else if (field == ExposCompensStepSize) {
        m_shutterTime->setStepSize(m_values[ExposCompensStepSize]);
    }
}

void OLP_Logic_CameraSettingsByDevProps::recvFromCamera(quint16 propertyCode, SettingsChangeFlags* changes)
{
    const int field = fieldForCode(propertyCode);
    if (field < 0) {
        debugPrintf(kLogSettings, "%s - unknown device property 0x%4X", OLP_NAME(recvFromCamera),
                    unsigned(propertyCode));
        return;
    }
    readProperty(Field(field), changes);
}

void OLP_Logic_CameraSettingsByDevProps::recvFromCamera(SettingsChangeFlags* changes)
{
    readProperty(BatteryInfo, changes);
    readProperty(BatteryLevelIntern, changes);
    if (m_values[BatteryInfo] == 2) {
        readProperty(BatteryLevelExtern, changes);
    }
    readProperty(ExposureTimeMax, changes);

    if (featureShutterMode()) {
        readProperty(PowerSwitch, changes);
    }
    readProperty(SelfTimerRestTime, changes);
    readProperty(BulbModeTime, changes);

    if (featureFlashStatus()) {
        readProperty(FlashStatus, changes);
    }
    readProperty(FlashSyncStatus, changes);

    if (featureFocusConfirmation()) {
        readProperty(FocusConfirmEnabled, changes);
        readProperty(FocusConfirmBadSignal, changes);
        readProperty(FocusConfirmValue, changes);
    }
    if (featureFocusDistance()) {
        readProperty(FocusDistance, changes);
    }
    if (featureAutoFocusLimit()) {
        readProperty(AutoFocusLimit, changes);
        readProperty(AutoFocusLimitDist, changes);
    }

    if (featureElectronicShutter()) {
        readProperty(ElectronicShutter, changes);
    }
    if (featureExposTimeBulbPreset()) {
        readProperty(ExposTimeBulbPreset, changes);
    }
    if (featureLensConnectionType()) {
        readProperty(LensConnectionType, changes);
    }
    if (featureOrientation()) {
        readProperty(Orientation, changes);
    }

    readProperty(SensitivityASA, changes);
    readProperty(DriveMode, changes);

    if (featureInterval()) {
        readProperty(IntervalFrames, changes);
        readProperty(IntervalTime, changes);
    }

    if (featureFocusMode()) {
        readProperty(FocusMode, changes);
    }
    readProperty(FileFormat, changes);
    readProperty(ExposureMeteringMode, changes);
    readProperty(ExposureProgram, changes);
    readProperty(ExposureCompensation, changes);

    if (featureExposCompensStep()) {
        readProperty(ExposCompensStepSize, changes);
    }

    if (!isPelvo()) {
        readProperty(BracketingEnabled, changes);
    }
    readProperty(BracketingFrames, changes);
    readProperty(BracketingAperture, changes);
    readProperty(BracketingAutomatic, changes);

    if (featureMirrorUpMode()) {
        readProperty(MirrorUpMode, changes);
    }
    if (featureSensorFormat()) {
        readProperty(SensorFormat, changes);
    }
    if (featurePhotoAspectRatio()) {
        readProperty(PhotoAspectRatio, changes);
    }
    if (featureJpgResSelection()) {
        readProperty(PhotoResolutionJPG, changes);
    }
    if (featureVideoFileFormat()) {
        readProperty(VideoFileFormat, changes);
    }
    if (featureVideoResAndFrRate()) {
        readProperty(VideoResAndFrRate, changes);
    }
    if (featureVideoFormatResol()) {
        readProperty(VideoFormatResol, changes);
    }

    if (featureContrast()) {
        readProperty(Contrast, changes);
    }
    if (featureSharpness()) {
        readProperty(Sharpness, changes);
    }
    if (featureSaturation()) {
        readProperty(Saturation, changes);
    }
    if (featureMonochrome()) {
        readProperty(Monochrome, changes);
    }

    if (featureAudioLevel()) {
        readProperty(AudioLevel, changes);
    }
    if (featureAudioWindElim()) {
        readProperty(AudioWindElim, changes);
    }
    if (featureAudioVolSpeaker()) {
        readProperty(AudioVolSpeaker, changes);
    }
    if (featureAudioVolHeadphone()) {
        readProperty(AudioVolHeadphone, changes);
    }
    if (featureAudioVolMicrophone()) {
        readProperty(AudioVolMicrophone, changes);
    }
    if (featureExposureSimulation()) {
        readProperty(ExposureSimulation, changes);
    }

    readProperty(WhiteBalance, changes);
    readProperty(WhiteBalanceColorTemp, changes);
    if (featureJpgColorSpace()) {
        readProperty(ColorManagement, changes);
    }
    if (featureStorageType()) {
        readProperty(ExternalShooting, changes);
    }
    if (featureAutoreviewDuration()) {
        readProperty(AutoreviewDuration, changes);
    }
    if (featurePowerSave()) {
        readProperty(AutoPowerOff, changes);
    }
    if (featureKeyLock()) {
        readProperty(KeyLock, changes);
    }
    if (featureLanguage()) {
        readProperty(Language, changes);
    }

    readProperty(Lightmeter, changes);
    readProperty(ExposureTime, changes);
    if (featureAperture()) {
        readProperty(Aperture, changes);
    }

    if (isDebugEnabled(kLogSettings)) {
        dump(QStringLiteral(OLP_NAME(recvFromCamera)));
    }
}

void OLP_Logic_CameraSettingsByDevProps::sendToCamera()
{
    debugPrintf(0, "%s - functionality is not needed", OLP_NAME(sendToCamera));
}

// ---- writing ------------------------------------------------------------------------------------

bool OLP_Logic_CameraSettingsByDevProps::writeField(Field field, qint32 newValue, const char* callerName)
{
    const FieldDesc& desc = kFields[field];
    newValue = normalise(desc.kind, quint32(newValue));
    if (m_values[field] == newValue) {
        return false;
    }
    const quint16 code = desc.writeCode ? desc.writeCode : desc.code;
    // A camera that refused the value still has the old one: keep showing that.
    if (!m_properties.write(code, desc.width, quint32(newValue), callerName)) {
        return false;
    }
    m_values[field] = newValue;
    return true;
}

void OLP_Logic_CameraSettingsByDevProps::notAvailable(const char* callerName) const
{
    debugPrintf(0, "%s - functionality is not available", callerName);
}

void OLP_Logic_CameraSettingsByDevProps::setDriveMode(int value)
{
    quint16 raw;
    switch (value) {
        case 1:
            raw = 1;
            break;
        case 2:
            raw = 3;
            break;
        case 3:
            raw = 4;
            break;
        case 4:
            raw = 8;
            break;
        case 5:
            raw = 2;
            break;
        case 6:
            raw = 5;
            break;
        case 7:
            raw = 6;
            break;
        case 8:
            raw = 7;
            break;
        default:
            raw = 0;
            break;
    }
    if (isPelvo() && m_values[BracketingEnabled]) {
        raw = 8;
    }
    if (raw == 1 && cameraAccess() && cameraAccess()->hasStillCaptureMode7()) {
        raw = 7;
    }
    writeField(DriveMode, raw, OLP_NAME(setDriveMode));
}

void OLP_Logic_CameraSettingsByDevProps::setFocusMode(int value)
{
    writeField(FocusMode, value, OLP_NAME(setFocusMode));
}

void OLP_Logic_CameraSettingsByDevProps::setExposMetering(int value)
{
    writeField(ExposureMeteringMode, value, OLP_NAME(setExposMetering));
}

void OLP_Logic_CameraSettingsByDevProps::setExposCompens(int value)
{
    writeField(ExposureCompensation, value, OLP_NAME(setExposCompens));
}

void OLP_Logic_CameraSettingsByDevProps::setExposCompensStepSize(int value)
{
    if (writeField(ExposCompensStepSize, value, OLP_NAME(setExposCompensStepSize))) {
        m_shutterTime->setStepSize(m_values[ExposCompensStepSize]);
    }
}

void OLP_Logic_CameraSettingsByDevProps::setBracketEnabled(bool value)
{
    if (!isPelvo()) {
        writeField(BracketingEnabled, value ? 1 : 0, OLP_NAME(setBracketEnabled));
        return;
    }
    // This camera brackets in drive mode 8. Switching on selects that drive
    // mode; the drive-mode cache is left to the camera's change report, so the
    // new drive mode reaches the display. Switching off writes nothing: the
    // next drive mode chosen replaces 8.
    if (bool(m_values[BracketingEnabled]) == value) {
        return;
    }
    if (value &&
        !m_properties.write(kFields[DriveMode].code, kFields[DriveMode].width, 8, OLP_NAME(setBracketEnabled))) {
        return;
    }
    m_values[BracketingEnabled] = value ? 1 : 0;
}

void OLP_Logic_CameraSettingsByDevProps::setBracketImgNum(int value)
{
    writeField(BracketingFrames, value, OLP_NAME(setBracketImgNum));
}

void OLP_Logic_CameraSettingsByDevProps::setBracketDeltaEV(int value)
{
    writeField(BracketingAperture, value, OLP_NAME(setBracketDeltaEV));
}

void OLP_Logic_CameraSettingsByDevProps::setBracketingAutomatic(int value)
{
    writeField(BracketingAutomatic, value, OLP_NAME(setBracketingAutomatic));
}

void OLP_Logic_CameraSettingsByDevProps::setMirrorUpMode(int value)
{
    writeField(MirrorUpMode, value, OLP_NAME(setMirrorUpMode));
}

void OLP_Logic_CameraSettingsByDevProps::setSensitivity(int value)
{
    // Both the value and automatic sensitivity are chosen through ExposureIndex
    // (0x500F); the camera reports the value it then uses in 0xD610.
    const FieldDesc& exposureIndex = kFields[SensitivityAuto];
    if (value == 0) {
        if (m_values[SensitivityAuto]) {
            return;
        }
        if (m_properties.write(exposureIndex.code, exposureIndex.width, 0, OLP_NAME(setSensitivity))) {
            m_values[SensitivityAuto] = 1;
        }
        return;
    }
    if (value == m_values[SensitivityASA] && !m_values[SensitivityAuto]) {
        return;
    }
    if (m_properties.write(exposureIndex.code, exposureIndex.width, quint32(value), OLP_NAME(setSensitivity))) {
        m_values[SensitivityASA] = value;
    }
}

void OLP_Logic_CameraSettingsByDevProps::setKeyLock(bool value)
{
    writeField(KeyLock, value ? 1 : 0, OLP_NAME(setKeyLock));
}

void OLP_Logic_CameraSettingsByDevProps::setDngCompression(bool)
{
    notAvailable(OLP_NAME(setDngCompression));
}

void OLP_Logic_CameraSettingsByDevProps::setFlashXSymbol(bool)
{
    notAvailable(OLP_NAME(setFlashXSymbol));
}

void OLP_Logic_CameraSettingsByDevProps::setFileFormat(int value)
{
    qint32 raw = 0;
    if (value == 1 || value == 2) {
        raw = 1;
    } else if (value == 3 || value == 4) {
        raw = 2;
    }
    writeField(FileFormat, raw, OLP_NAME(setFileFormat));
}

void OLP_Logic_CameraSettingsByDevProps::setWhiteBalanceIndex(int value)
{
    writeField(WhiteBalance, value, OLP_NAME(setWhiteBalanceIndex));
}

void OLP_Logic_CameraSettingsByDevProps::setWhiteBalanceColorTemp(int value)
{
    writeField(WhiteBalanceColorTemp, value, OLP_NAME(setWhiteBalanceColorTemp));
}

void OLP_Logic_CameraSettingsByDevProps::setJpgColorSpace(int value)
{
    writeField(ColorManagement, value, OLP_NAME(setJpgColorSpace));
}

void OLP_Logic_CameraSettingsByDevProps::setStorageType(int value)
{
    writeField(ExternalShooting, value == 2 ? 1 : 0, OLP_NAME(setStorageType));
}

void OLP_Logic_CameraSettingsByDevProps::setAutoreviewDuration(int value)
{
    writeField(AutoreviewDuration, value, OLP_NAME(setAutoreviewDuration));
}

void OLP_Logic_CameraSettingsByDevProps::setAutoPowerOff(int value)
{
    qint32 minutes;
    switch (value) {
        case 0:
            minutes = 0;
            break;
        case 2:
            minutes = 5;
            break;
        case 3:
            minutes = 10;
            break;
        default:
            minutes = 2;
            break;
    }
    writeField(AutoPowerOff, minutes, OLP_NAME(setAutoPowerOff));
}

void OLP_Logic_CameraSettingsByDevProps::setLockAEAF(bool)
{
    notAvailable(OLP_NAME(setLockAEAF));
}

void OLP_Logic_CameraSettingsByDevProps::setSensorFormat(int value)
{
    writeField(SensorFormat, value, OLP_NAME(setSensorFormat));
}

void OLP_Logic_CameraSettingsByDevProps::setPhotoAspectRatio(int value)
{
    writeField(PhotoAspectRatio, value, OLP_NAME(setPhotoAspectRatio));
}

void OLP_Logic_CameraSettingsByDevProps::setJpgResolution(int value)
{
    writeField(PhotoResolutionJPG, value, OLP_NAME(setJpgResolution));
}

void OLP_Logic_CameraSettingsByDevProps::setVideoFileFormat(int value)
{
    writeField(VideoFileFormat, value, OLP_NAME(setVideoFileFormat));
}

void OLP_Logic_CameraSettingsByDevProps::setVideoResAndFrRate(int value)
{
    writeField(VideoResAndFrRate, value, OLP_NAME(setVideoResAndFrRate));
}

void OLP_Logic_CameraSettingsByDevProps::setVideoFormatResol(int value)
{
    writeField(VideoFormatResol, value, OLP_NAME(setVideoFormatResol));
}

void OLP_Logic_CameraSettingsByDevProps::setContrast(int value)
{
    writeField(Contrast, value, OLP_NAME(setContrast));
}

void OLP_Logic_CameraSettingsByDevProps::setSharpness(int value)
{
    writeField(Sharpness, value, OLP_NAME(setSharpness));
}

void OLP_Logic_CameraSettingsByDevProps::setSaturation(int value)
{
    writeField(Saturation, value, OLP_NAME(setSaturation));
}

void OLP_Logic_CameraSettingsByDevProps::setMonochrome(int value)
{
    writeField(Monochrome, value, OLP_NAME(setMonochrome));
}

void OLP_Logic_CameraSettingsByDevProps::setElectronicShutter(int value)
{
    writeField(ElectronicShutter, value, OLP_NAME(setElectronicShutter));
}

void OLP_Logic_CameraSettingsByDevProps::setExposTimeBulbPreset(int value)
{
    writeField(ExposTimeBulbPreset, value, OLP_NAME(setExposTimeBulbPreset));
}

void OLP_Logic_CameraSettingsByDevProps::setAudioLevel(int value)
{
    writeField(AudioLevel, value, OLP_NAME(setAudioLevel));
}

void OLP_Logic_CameraSettingsByDevProps::setAudioWindElim(int value)
{
    writeField(AudioWindElim, value, OLP_NAME(setAudioWindElim));
}

void OLP_Logic_CameraSettingsByDevProps::setAudioVolSpeaker(int value)
{
    writeField(AudioVolSpeaker, value, OLP_NAME(setAudioVolSpeaker));
}

void OLP_Logic_CameraSettingsByDevProps::setAudioVolHeadphone(int value)
{
    writeField(AudioVolHeadphone, value, OLP_NAME(setAudioVolHeadphone));
}

void OLP_Logic_CameraSettingsByDevProps::setAudioVolMicrophone(int value)
{
    writeField(AudioVolMicrophone, value, OLP_NAME(setAudioVolMicrophone));
}

void OLP_Logic_CameraSettingsByDevProps::setExposureSimulation(int value)
{
    writeField(ExposureSimulation, value, OLP_NAME(setExposureSimulation));
}

void OLP_Logic_CameraSettingsByDevProps::setLanguage(int value)
{
    writeField(Language, value, OLP_NAME(setLanguage));
}

void OLP_Logic_CameraSettingsByDevProps::setExposureMode(int value)
{
    qint32 raw;
    switch (value) {
        case 1:
            raw = 4;
            break;
        case 2:
            raw = 3;
            break;
        case 3:
            raw = 2;
            break;
        case 4:
            raw = 0x200;
            break;
        case 5:
            raw = 0x201;
            break;
        default:
            raw = 1;
            break;
    }
    writeField(ExposureProgram, raw, OLP_NAME(setExposureMode));
}

void OLP_Logic_CameraSettingsByDevProps::setAperture(double value)
{
    const std::optional<qint16> code = OLP_Logic_APEXConverterAperture::toCode(value);
    if (!code) {
        debugPrintf(0, "%s - no aperture code for f-number %lf", OLP_NAME(setAperture), value);
        return;
    }
    // Sign-extended, as the camera reports its aperture in 0xD60E.
    writeField(Aperture, qint32(*code), OLP_NAME(setAperture));
}

void OLP_Logic_CameraSettingsByDevProps::setShutterTime(double value)
{
    const std::optional<qint16> code = m_shutterTime->toCode(value);
    if (!code) {
        debugPrintf(0, "%s - no shutter code for %lf s", OLP_NAME(setShutterTime), value);
        return;
    }
    // Sign-extended, as the camera reports its exposure time in 0xD60C.
    writeField(ExposureTime, qint32(*code), OLP_NAME(setShutterTime));
}

void OLP_Logic_CameraSettingsByDevProps::setAutoFocusLimit(bool value)
{
    writeField(AutoFocusLimit, value ? 1 : 0, OLP_NAME(setAutoFocusLimit));
}

void OLP_Logic_CameraSettingsByDevProps::setIntervalFrames(int value)
{
    writeField(IntervalFrames, value, OLP_NAME(setIntervalFrames));
}

void OLP_Logic_CameraSettingsByDevProps::setIntervalTime(int value)
{
    writeField(IntervalTime, value, OLP_NAME(setIntervalTime));
}

// ---- getters ------------------------------------------------------------------------------------

int OLP_Logic_CameraSettingsByDevProps::driveMode()
{
    const qint32 raw = m_values[DriveMode];
    if (raw == 7 && cameraAccess() && cameraAccess()->hasStillCaptureMode7()) {
        // Such a camera takes single shots as drive mode 7.
        return 1;
    }
    switch (raw) {
        case 1:
            return 1;
        case 2:
            return 5;
        case 3:
            return 2;
        case 4:
            return 3;
        case 5:
            return 6;
        case 6:
            return 7;
        case 7:
            return 8;
        case 8:
            return 4;
        default:
            return 0;
    }
}

int OLP_Logic_CameraSettingsByDevProps::focusMode()
{
    return m_values[FocusMode];
}

int OLP_Logic_CameraSettingsByDevProps::exposMetering()
{
    return m_values[ExposureMeteringMode];
}

int OLP_Logic_CameraSettingsByDevProps::exposCompens()
{
    return m_values[ExposureCompensation];
}

int OLP_Logic_CameraSettingsByDevProps::exposCompensStep()
{
    return m_values[ExposCompensStepSize];
}

bool OLP_Logic_CameraSettingsByDevProps::bracketingEnabled()
{
    return m_values[BracketingEnabled] != 0;
}

int OLP_Logic_CameraSettingsByDevProps::bracketingImageNumbers()
{
    return m_values[BracketingFrames];
}

int OLP_Logic_CameraSettingsByDevProps::bracketingDeltaEV()
{
    return m_values[BracketingAperture];
}

int OLP_Logic_CameraSettingsByDevProps::bracketingAutomatic()
{
    return m_values[BracketingAutomatic];
}

int OLP_Logic_CameraSettingsByDevProps::shutterMode()
{
    return m_values[PowerSwitch] == 3 ? 1 : 0;
}

int OLP_Logic_CameraSettingsByDevProps::mirrorUpMode()
{
    return m_values[MirrorUpMode];
}

int OLP_Logic_CameraSettingsByDevProps::sensitivity()
{
    return m_values[SensitivityASA];
}

bool OLP_Logic_CameraSettingsByDevProps::sensitivityAuto()
{
    return m_values[SensitivityAuto] != 0;
}

int OLP_Logic_CameraSettingsByDevProps::USBspeed()
{
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::RAMBufferFreeCaptures()
{
    notAvailable(OLP_NAME(RAMBufferFreeCaptures));
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::sensorBoardTemperature()
{
    notAvailable(OLP_NAME(sensorBoardTemperature));
    return 0;
}

bool OLP_Logic_CameraSettingsByDevProps::keyLock()
{
    return m_values[KeyLock] != 0;
}

bool OLP_Logic_CameraSettingsByDevProps::dngCompression()
{
    notAvailable(OLP_NAME(dngCompression));
    return false;
}

bool OLP_Logic_CameraSettingsByDevProps::flashXSymbol()
{
    return m_values[FlashSyncStatus] != 0;
}

int OLP_Logic_CameraSettingsByDevProps::fileFormat()
{
    switch (m_values[FileFormat]) {
        case 1:
            return 1;
        case 2:
            return 3;
        default:
            return 0;
    }
}

double OLP_Logic_CameraSettingsByDevProps::maxShutterTime()
{
    return m_shutterTime->toSeconds(m_values[ExposureTimeMax]);
}

int OLP_Logic_CameraSettingsByDevProps::whiteBalanceIndex()
{
    return m_values[WhiteBalance];
}

int OLP_Logic_CameraSettingsByDevProps::whiteBalanceColorTemp()
{
    return m_values[WhiteBalanceColorTemp];
}

int OLP_Logic_CameraSettingsByDevProps::jpgColorSpace()
{
    return m_values[ColorManagement];
}

int OLP_Logic_CameraSettingsByDevProps::storageType()
{
    return m_values[ExternalShooting] ? 2 : 0;
}

int OLP_Logic_CameraSettingsByDevProps::lightMeter()
{
    return m_values[Lightmeter];
}

int OLP_Logic_CameraSettingsByDevProps::autoreviewDuration()
{
    return m_values[AutoreviewDuration];
}

int OLP_Logic_CameraSettingsByDevProps::autoPowerOff()
{
    switch (m_values[AutoPowerOff]) {
        case 0:
            return 0;
        case 5:
            return 2;
        case 10:
            return 3;
        default:
            return 1;
    }
}

int OLP_Logic_CameraSettingsByDevProps::lockAEAF()
{
    notAvailable(OLP_NAME(lockAEAF));
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::sensorFormat()
{
    return m_values[SensorFormat];
}

int OLP_Logic_CameraSettingsByDevProps::photoAspectRatio()
{
    return m_values[PhotoAspectRatio];
}

int OLP_Logic_CameraSettingsByDevProps::jpgResolution()
{
    return m_values[PhotoResolutionJPG];
}

int OLP_Logic_CameraSettingsByDevProps::videoFileFormat()
{
    return m_values[VideoFileFormat];
}

int OLP_Logic_CameraSettingsByDevProps::videoResAndFrRate()
{
    return m_values[VideoResAndFrRate];
}

int OLP_Logic_CameraSettingsByDevProps::videoFormatResol()
{
    return m_values[VideoFormatResol];
}

int OLP_Logic_CameraSettingsByDevProps::contrast()
{
    return m_values[Contrast];
}

int OLP_Logic_CameraSettingsByDevProps::sharpness()
{
    return m_values[Sharpness];
}

int OLP_Logic_CameraSettingsByDevProps::saturation()
{
    return m_values[Saturation];
}

int OLP_Logic_CameraSettingsByDevProps::monochrome()
{
    return m_values[Monochrome];
}

int OLP_Logic_CameraSettingsByDevProps::electronicShutter()
{
    return m_values[ElectronicShutter];
}

int OLP_Logic_CameraSettingsByDevProps::exposTimeBulbPreset()
{
    return m_values[ExposTimeBulbPreset];
}

int OLP_Logic_CameraSettingsByDevProps::lensConnectionType()
{
    return m_values[LensConnectionType];
}

int OLP_Logic_CameraSettingsByDevProps::orientation()
{
    return m_values[Orientation];
}

int OLP_Logic_CameraSettingsByDevProps::audioLevel()
{
    return m_values[AudioLevel];
}

int OLP_Logic_CameraSettingsByDevProps::audioWindElim()
{
    return m_values[AudioWindElim];
}

int OLP_Logic_CameraSettingsByDevProps::audioVolSpeaker()
{
    return m_values[AudioVolSpeaker];
}

int OLP_Logic_CameraSettingsByDevProps::audioVolHeadphone()
{
    return m_values[AudioVolHeadphone];
}

int OLP_Logic_CameraSettingsByDevProps::audioVolMicrophone()
{
    return m_values[AudioVolMicrophone];
}

int OLP_Logic_CameraSettingsByDevProps::exposureSimulation()
{
    return m_values[ExposureSimulation];
}

int OLP_Logic_CameraSettingsByDevProps::language()
{
    return m_values[Language];
}

int OLP_Logic_CameraSettingsByDevProps::batterySource()
{
    notAvailable(OLP_NAME(batterySource));
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::batteryInfo()
{
    return m_values[BatteryInfo];
}

int OLP_Logic_CameraSettingsByDevProps::batteryLevelIntern()
{
    return m_values[BatteryLevelIntern];
}

int OLP_Logic_CameraSettingsByDevProps::batteryLevelExtern()
{
    return m_values[BatteryLevelExtern];
}

int OLP_Logic_CameraSettingsByDevProps::powerSwitch()
{
    return m_values[PowerSwitch];
}

int OLP_Logic_CameraSettingsByDevProps::selfTimerRestTime()
{
    return m_values[SelfTimerRestTime];
}

int OLP_Logic_CameraSettingsByDevProps::bulbModeTime()
{
    return m_values[BulbModeTime];
}

int OLP_Logic_CameraSettingsByDevProps::warnings()
{
    notAvailable(OLP_NAME(warnings));
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::iSOValue()
{
    notAvailable(OLP_NAME(iSOValue));
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::exposureMode()
{
    switch (m_values[ExposureProgram]) {
        case 2:
            return 3;
        case 3:
            return 2;
        case 4:
            return 1;
        case 0x200:
            return 4;
        case 0x201:
            return 5;
        default:
            return 0;
    }
}

double OLP_Logic_CameraSettingsByDevProps::aperture()
{
    return OLP_Logic_APEXConverterAperture::toFNumber(m_values[Aperture]);
}

double OLP_Logic_CameraSettingsByDevProps::shutterTime()
{
    return m_shutterTime->toSeconds(m_values[ExposureTime]);
}

int OLP_Logic_CameraSettingsByDevProps::focusDistance()
{
    return m_values[FocusDistance];
}

int OLP_Logic_CameraSettingsByDevProps::focusConfirmation()
{
    return m_values[FocusConfirmValue];
}

bool OLP_Logic_CameraSettingsByDevProps::focusConfirmationBadSignal()
{
    return m_values[FocusConfirmBadSignal] == 1;
}

bool OLP_Logic_CameraSettingsByDevProps::focusConfirmationEnabled()
{
    return m_values[FocusConfirmEnabled] == 1;
}

bool OLP_Logic_CameraSettingsByDevProps::autoFocusLimit()
{
    return m_values[AutoFocusLimit] == 1;
}

int OLP_Logic_CameraSettingsByDevProps::autoFocusLimitDistance()
{
    return m_values[AutoFocusLimitDist];
}

int OLP_Logic_CameraSettingsByDevProps::lightBalance()
{
    // The reading in 1/256 EV expressed in exposure-compensation steps.
    const double perStep = m_values[ExposCompensStepSize] == 333 ? 3.0 / 256.0 : 1.0 / 128.0;
    return int(std::floor(double(m_values[Lightmeter]) * perStep + 0.5));
}

int OLP_Logic_CameraSettingsByDevProps::flashCompensation()
{
    notAvailable(OLP_NAME(flashCompensation));
    return 0;
}

int OLP_Logic_CameraSettingsByDevProps::flashStatus()
{
    return m_values[FlashStatus];
}

int OLP_Logic_CameraSettingsByDevProps::intervalFrames()
{
    return m_values[IntervalFrames];
}

int OLP_Logic_CameraSettingsByDevProps::intervalTime()
{
    return m_values[IntervalTime];
}

// ---- features -----------------------------------------------------------------------------------

bool OLP_Logic_CameraSettingsByDevProps::featureFocusMode()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureMoveLensToPos()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureMoveLensRightLeft()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureSensorFormat()
{
    return isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featurePhotoAspectRatio()
{
    return isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureJpgResSelection()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureVideoFileFormat()
{
    return false;
}

bool OLP_Logic_CameraSettingsByDevProps::featureVideoResAndFrRate()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureVideoFormatResol()
{
    return isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureContrast()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureSharpness()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureSaturation()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureMonochrome()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureAutoFocusLimit()
{
    return isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureElectronicShutter()
{
    return isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureExposTimeBulbPreset()
{
    return false;
}

bool OLP_Logic_CameraSettingsByDevProps::featureLensConnectionType()
{
    return false;
}

bool OLP_Logic_CameraSettingsByDevProps::featureOrientation()
{
    return deviceInfo() && deviceInfo()->isDevicePropSupported(0xD65F);
}

bool OLP_Logic_CameraSettingsByDevProps::featureAudioLevel()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureAudioWindElim()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureAudioVolSpeaker()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureAudioVolHeadphone()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureAudioVolMicrophone()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureExposCompensStep()
{
    return isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureExposureSimulation()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureFocusConfirmation()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureFocusDistance()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featurePowerSave()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureDngCompression()
{
    return false;
}

bool OLP_Logic_CameraSettingsByDevProps::featureInterval()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureKeyLock()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureLanguage()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureLiveView()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureMirrorUpMode()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureShutterMode()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureVideoRecording()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureWhiteBalance()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featurePreview()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureHMI()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureFlashStatus()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureFlashXSymbol()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureWarnings()
{
    return false;
}

bool OLP_Logic_CameraSettingsByDevProps::featureAperture()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureBracketing()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureJpgColorSpace()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureStorageType()
{
    return true;
}

bool OLP_Logic_CameraSettingsByDevProps::featureAutoreviewDuration()
{
    return !isPelvo();
}

bool OLP_Logic_CameraSettingsByDevProps::featureSpare()
{
    return true;
}

// ---- dump ---------------------------------------------------------------------------------------

void OLP_Logic_CameraSettingsByDevProps::dumpInt(const char* name, int value) const
{
    debugPrintf(kLogSettings, "%s - %-24s = %d", OLP_NAME(dump), name, value);
}

void OLP_Logic_CameraSettingsByDevProps::dumpBool(const char* name, bool value) const
{
    debugPrintf(kLogSettings, "%s - %-24s = %s", OLP_NAME(dump), name, yesNo(value));
}

void OLP_Logic_CameraSettingsByDevProps::dumpDouble(const char* name, double value) const
{
    debugPrintf(kLogSettings, "%s - %-24s = %lf", OLP_NAME(dump), name, value);
}

void OLP_Logic_CameraSettingsByDevProps::dump(const QString& title)
{
    Q_UNUSED(title)
    // The settings this camera does not have are shown as 0 without asking
    // their getters, which would log each as not available.
    dumpInt("driveMode", driveMode());
    dumpInt("focusMode", focusMode());
    dumpInt("exposureMeteringMode", exposMetering());
    dumpInt("exposureCompensation", exposCompens());
    dumpInt("bracketingImageNumbers", bracketingImageNumbers());
    dumpInt("bracketingDeltaEV", bracketingDeltaEV());
    dumpInt("bracketingAutomatic", bracketingAutomatic());
    if (featureShutterMode()) {
        dumpInt("shutterMode", shutterMode());
    }
    if (featureMirrorUpMode()) {
        dumpInt("mirrorUpMode", mirrorUpMode());
    }
    dumpInt("sensitivity", sensitivity());
    dumpInt("USBspeed", USBspeed());
    dumpInt("RAMBufferFreeCaptures", 0);
    dumpInt("sensorBoardTemperature", 0);
    if (featureKeyLock()) {
        dumpBool("keyLock", keyLock());
    }
    if (featureDngCompression()) {
        dumpBool("dngCompression", false);
    }
    dumpBool("flashXSymbol", flashXSymbol());
    dumpInt("fileFormat", fileFormat());
    dumpDouble("maxShutterTime", maxShutterTime());
    dumpInt("whiteBalance", whiteBalanceIndex());
    dumpInt("whiteBalanceColorTemp", whiteBalanceColorTemp());
    if (featureJpgColorSpace()) {
        dumpInt("jpgColorSpace", jpgColorSpace());
    }
    if (featureStorageType()) {
        dumpInt("storageType", storageType());
    }
    dumpInt("lightMeter", lightMeter());
    if (featurePowerSave()) {
        dumpInt("autoPowerOff", autoPowerOff());
    }
    dumpInt("lockAEAF", 0);
    if (featureJpgResSelection()) {
        dumpInt("jpgResolution", jpgResolution());
    }
    if (featureVideoFileFormat()) {
        dumpInt("videoFileFormat", videoFileFormat());
    }
    if (featureVideoResAndFrRate()) {
        dumpInt("videoResAndFrRate", videoResAndFrRate());
    }
    if (featureVideoFormatResol()) {
        dumpInt("videoFormatResol", videoFormatResol());
    }
    if (featureContrast()) {
        dumpInt("contrast", contrast());
    }
    if (featureSharpness()) {
        dumpInt("sharpness", sharpness());
    }
    if (featureSaturation()) {
        dumpInt("saturation", saturation());
    }
    if (featureMonochrome()) {
        dumpInt("monochrome", monochrome());
    }
    if (featureAudioLevel()) {
        dumpInt("audioLevel", audioLevel());
    }
    if (featureAudioWindElim()) {
        dumpInt("audioWindElim", audioWindElim());
    }
    if (featureAudioVolSpeaker()) {
        dumpInt("audioVolSpeaker", audioVolSpeaker());
    }
    if (featureAudioVolHeadphone()) {
        dumpInt("audioVolHeadphone", audioVolHeadphone());
    }
    if (featureAudioVolMicrophone()) {
        dumpInt("audioVolMicrophone", audioVolMicrophone());
    }
    if (featureExposureSimulation()) {
        dumpInt("exposureSimulation", exposureSimulation());
    }
    if (featureLanguage()) {
        dumpInt("language", language());
    }
    dumpInt("batterySource", 0);
    dumpInt("batteryLevelIntern", batteryLevelIntern());
    dumpInt("batteryLevelExtern", batteryLevelExtern());
    dumpInt("warnings", 0);
    dumpInt("iSOValue", 0);
    dumpInt("exposureMode", exposureMode());
    if (featureAperture()) {
        dumpDouble("aperture", aperture());
    }
    dumpDouble("shutterTime", shutterTime());
    if (featureFocusConfirmation()) {
        dumpInt("focusConfirmation", focusConfirmation());
    }
    if (featureFocusDistance()) {
        dumpInt("focusDistance", focusDistance());
    }
    dumpInt("lightBalance", lightBalance());
    dumpInt("flashCompensation", 0);
    dumpInt("flashStatus", flashStatus());

    dumpBool("featureFocusMode", featureFocusMode());
    dumpBool("featureMoveLensToPos", featureMoveLensToPos());
    dumpBool("featureMoveLensRightLeft", featureMoveLensRightLeft());
    dumpBool("featureSensorFormat", featureSensorFormat());
    dumpBool("featurePhotoAspectRatio", featurePhotoAspectRatio());
    dumpBool("featureJpgResSelection", featureJpgResSelection());
    dumpBool("featureVideoFileFormat", featureVideoFileFormat());
    dumpBool("featureVideoResAndFrRate", featureVideoResAndFrRate());
    dumpBool("featureVideoFormatResol", featureVideoFormatResol());
    dumpBool("featureContrast", featureContrast());
    dumpBool("featureSharpness", featureSharpness());
    dumpBool("featureSaturation", featureSaturation());
    dumpBool("featureMonochrome", featureMonochrome());
    dumpBool("featureAutoFocusLimit", featureAutoFocusLimit());
    dumpBool("featureElectronicShutter", featureElectronicShutter());
    dumpBool("featureExposTimeBulbPreset", featureExposTimeBulbPreset());
    dumpBool("featureLensConnectionType", featureLensConnectionType());
    dumpBool("featureOrientation", featureOrientation());
    dumpBool("featureAudioLevel", featureAudioLevel());
    dumpBool("featureAudioWindElim", featureAudioWindElim());
    dumpBool("featureAudioVolSpeaker", featureAudioVolSpeaker());
    dumpBool("featureAudioVolHeadphone", featureAudioVolHeadphone());
    dumpBool("featureAudioVolMicrophone", featureAudioVolMicrophone());
    dumpBool("featureExposCompensStep", featureExposCompensStep());
    dumpBool("featureExposureSimulation", featureExposureSimulation());
    dumpBool("featureFocusConfirmation", featureFocusConfirmation());
    dumpBool("featureFocusDistance", featureFocusDistance());
    dumpBool("featurePowerSave", featurePowerSave());
    dumpBool("featureDngCompression", featureDngCompression());
    dumpBool("featureInterval", featureInterval());
    dumpBool("featureKeyLock", featureKeyLock());
    dumpBool("featureLanguage", featureLanguage());
    dumpBool("featureLiveView", featureLiveView());
    dumpBool("featureMirrorUpMode", featureMirrorUpMode());
    dumpBool("featureShutterMode", featureShutterMode());
    dumpBool("featureVideoRecording", featureVideoRecording());
    dumpBool("featureWhiteBalance", featureWhiteBalance());
    dumpBool("featurePreview", featurePreview());
    dumpBool("featureHMI", featureHMI());
    dumpBool("featureFlashStatus", featureFlashStatus());
    dumpBool("featureFlashXSymbol", featureFlashXSymbol());
    dumpBool("featureWarnings", featureWarnings());
    dumpBool("featureAperture", featureAperture());
    dumpBool("featureBracketing", featureBracketing());
    dumpBool("featureJpgColorSpace", featureJpgColorSpace());
    dumpBool("featureStorageType", featureStorageType());
    dumpBool("featureAutoreviewDuration", featureAutoreviewDuration());
    dumpBool("featureSpare", featureSpare());
}
