#include "OLP_Logic_CameraSettingsByStruct.h"

#include <QtEndian>
#include <algorithm>
#include <iterator>
#include <optional>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"

namespace {

constexpr const char* kClassName = "OLP_Logic_CameraSettingsByStruct";
constexpr eDebugFlag kDumpFlag = 1024;

quint32 productOf(OLP_Commu_CameraAccess_Base* access)
{
    return access ? access->productId() : 0;
}

const char* yesNo(bool value)
{
    return value ? "Yes" : "No";
}

// Index -> ISO of the cameras with a sensitivity index; index 0 is automatic.
constexpr int kSensitivityKestaA[] = {0, 80, 160, 320, 640, 1250};
constexpr int kSensitivityKestaB[] = {0, 50, 100, 200, 400, 800, 1600};

}  // namespace

OLP_Logic_CameraSettingsByStruct::OLP_Logic_CameraSettingsByStruct(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                                   OLP_Logic_DeviceInfo* deviceInfo)
    : OLP_Logic_CameraSettingsByStruct(cameraAccess, deviceInfo, kClassName)
{
    recvFromCamera(nullptr);
}

OLP_Logic_CameraSettingsByStruct::OLP_Logic_CameraSettingsByStruct(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                                   OLP_Logic_DeviceInfo* deviceInfo,
                                                                   const char* className)
    : OLP_Logic_CameraSettingsBase(cameraAccess, deviceInfo),
      m_shutterTimeConverter(productOf(cameraAccess)),
      m_className(className)
{}

OLP_Logic_CameraSettingsByStruct::~OLP_Logic_CameraSettingsByStruct() = default;

QByteArray OLP_Logic_CameraSettingsByStruct::cameraSettings() const
{
    return QByteArray(reinterpret_cast<const char*>(m_settings.data()), StructSize);
}

// ---------------------------------------------------------------------------
// Field access

qint16 OLP_Logic_CameraSettingsByStruct::s16(int offset) const
{
    return qint16(u16(offset));
}

quint16 OLP_Logic_CameraSettingsByStruct::u16(int offset) const
{
    return u16At(m_settings, offset);
}

qint32 OLP_Logic_CameraSettingsByStruct::s32(int offset) const
{
    return qFromLittleEndian<qint32>(m_settings.data() + offset);
}

quint16 OLP_Logic_CameraSettingsByStruct::u16At(const Structure& s, int offset)
{
    return qFromLittleEndian<quint16>(s.data() + offset);
}

void OLP_Logic_CameraSettingsByStruct::storeU8(int offset, quint8 value)
{
    if (m_settings[offset] != value) {
        m_settings[offset] = value;
        markDirty();
    }
}

void OLP_Logic_CameraSettingsByStruct::storeU16(int offset, quint16 value)
{
    if (u16(offset) != value) {
        qToLittleEndian<quint16>(value, m_settings.data() + offset);
        markDirty();
    }
}

void OLP_Logic_CameraSettingsByStruct::storeFlag(quint8 bit, bool on)
{
    const quint8 flags = u8(OffFlags);
    storeU8(OffFlags, on ? quint8(flags | bit) : quint8(flags & ~bit));
}

// ---------------------------------------------------------------------------
// Log helpers

QByteArray OLP_Logic_CameraSettingsByStruct::logName(const char* method) const
{
    return QByteArray(m_className) + "::" + method;
}

void OLP_Logic_CameraSettingsByStruct::logNotAvailable(const char* method) const
{
    debugPrintf(0, "%s - functionality is not available", logName(method).constData());
}

void OLP_Logic_CameraSettingsByStruct::logNotAvailableInMode(const char* method) const
{
    debugPrintf(0, "%s - functionality is not available in %s", logName(method).constData(), modeName());
}

void OLP_Logic_CameraSettingsByStruct::logNotAvailableReturningDefault(const char* method) const
{
    debugPrintf(0, "%s - functionality is not available in %s, returning default", logName(method).constData(),
                modeName());
}

void OLP_Logic_CameraSettingsByStruct::logOnlyExternally(const char* method) const
{
    debugPrintf(0, "%s - functionality is not available in camera, but only externally", logName(method).constData());
}

// ---------------------------------------------------------------------------
// Transfer

void OLP_Logic_CameraSettingsByStruct::recvFromCamera(quint16 propertyCode, SettingsChangeFlags*)
{
    debugPrintf(0, "%s - ignore changed device property 0x%4X", logName("recvFromCamera").constData(), propertyCode);
}

void OLP_Logic_CameraSettingsByStruct::recvFromCamera(SettingsChangeFlags* changes)
{
    const Structure before = m_settings;
    const QByteArray name = logName("recvFromCamera");

    Structure fresh{};
    quint32 received = 0;
    OLP_Commu_CameraAccess_Base* access = cameraAccess();
    const bool ok = access && access->getCameraSettings(fresh.data(), StructSize, &received);
    if (ok && received >= quint32(StructSize)) {
        m_settings = fresh;
        m_valid = true;
    } else {
        if (ok) {
            debugPrintf(0, "%s - settings structure too short: %u of %d bytes", name.constData(), received, StructSize);
        }
        m_settings.fill(0);
        m_valid = false;
    }
    clearDirty();

    if (u8(OffBracketing) == 1) {
        m_bracketingFiveImages = false;
    } else if (u8(OffBracketing) == 2) {
        m_bracketingFiveImages = true;
    }

    if (isDebugEnabled(kDumpFlag)) {
        dump(QString::fromLatin1(name));
    }
    if (changes) {
        reportChanges(before, changes);
    }
}

void OLP_Logic_CameraSettingsByStruct::sendToCamera()
{
    const QByteArray name = logName("sendToCamera");
    if (!m_valid) {
        // Writing an unread (all-zero) structure would reset the camera.
        debugPrintf(0, "%s - settings not read from the camera, nothing written", name.constData());
        return;
    }
    OLP_Commu_CameraAccess_Base* access = cameraAccess();
    if (!access || !access->setCameraSettings(m_settings.data(), StructSize)) {
        debugPrintf(0, "%s - writing the settings failed, they stay pending", name.constData());
        return;
    }
    clearDirty();
    if (isDebugEnabled(kDumpFlag)) {
        dump(QString::fromLatin1(name));
    }
}

void OLP_Logic_CameraSettingsByStruct::reportSharedChanges(const Structure& before, SettingsChangeFlags* changes) const
{
    const Structure& now = m_settings;
    auto byteChanged = [&](int offset) { return before[offset] != now[offset]; };
    auto wordChanged = [&](int offset) { return u16At(before, offset) != u16At(now, offset); };
    auto bitChanged = [&](quint8 bit) { return (before[OffFlags] & bit) != (now[OffFlags] & bit); };

    changes->driveMode |= byteChanged(OffDriveMode);
    changes->exposMetering |= byteChanged(OffExposureMetering);
    changes->exposCompens |= byteChanged(OffExposureCompensation);
    changes->bracketingEnabled |= (before[OffBracketing] != 0) != (now[OffBracketing] != 0);
    changes->bracketingImageNumbers |= byteChanged(OffBracketing);
    changes->bracketingDeltaEV |= byteChanged(OffBracketingDeltaEV);
    changes->dngCompression |= bitChanged(FlagDngCompression);
    changes->fileFormat |= byteChanged(OffFileFormat);
    changes->maxShutterTime |= wordChanged(OffMaxShutterTime);
    changes->whiteBalanceIndex |= byteChanged(OffWhiteBalance);
    changes->whiteBalanceColorTemp |= byteChanged(OffWhiteBalanceColorTemp);
    changes->jpgColorSpace |= byteChanged(OffJpgColorSpace);
    changes->storageType |= byteChanged(OffStorageType);
    changes->autoPowerOff |= byteChanged(OffAutoPowerOff);
    changes->jpgResolution |= byteChanged(OffJpgResolution);
    changes->language |= byteChanged(OffLanguage);
    changes->exposureMode |= byteChanged(OffExposureMode);
    changes->shutterTime |= wordChanged(OffShutterTime);
    changes->flashStatus |= byteChanged(OffFlashStatus);
}

void OLP_Logic_CameraSettingsByStruct::reportChanges(const Structure& before, SettingsChangeFlags* changes) const
{
    reportSharedChanges(before, changes);

    const Structure& now = m_settings;
    auto byteChanged = [&](int offset) { return before[offset] != now[offset]; };
    auto wordChanged = [&](int offset) { return u16At(before, offset) != u16At(now, offset); };
    auto bitChanged = [&](quint8 bit) { return (before[OffFlags] & bit) != (now[OffFlags] & bit); };

    changes->focusMode |= byteChanged(OffFocusMode);
    changes->powerSwitch |= byteChanged(OffShutterMode);
    changes->mirrorUpMode |= byteChanged(OffMirrorUpMode);
    changes->sensitivity |= byteChanged(OffSensitivityIndex);
    changes->keyLock |= bitChanged(FlagKeyLock);
    changes->flashXSymbol |= bitChanged(FlagFlashXSymbol);

    const bool sourceChanged = byteChanged(OffBatterySource);
    const bool internChanged = byteChanged(OffBatteryLevelIntern);
    const bool externChanged = byteChanged(OffBatteryLevelExtern);
    changes->batteryInfo |= sourceChanged || internChanged || externChanged;
    changes->batteryLevelIntern |= internChanged;
    changes->batteryLevelExtern |= externChanged;

    changes->warnings |= byteChanged(OffWarnings) && now[OffWarnings] != 0;
    changes->aperture |= wordChanged(OffAperture);
    changes->focusDistance |= wordChanged(OffFocusDistance) || wordChanged(OffFocusDistance + 2);
    changes->focusConfirmation |= byteChanged(OffFocusConfirmation);
    changes->lightMeter |= byteChanged(OffLightBalance);
}

// ---------------------------------------------------------------------------
// Dump

void OLP_Logic_CameraSettingsByStruct::dumpHex(const QString& title) const
{
    dumpBuffer(QString::fromLatin1(logName("dump")) + QStringLiteral(" for ") + title + QLatin1Char(':'),
               QStringLiteral("cameraSettings"), m_settings.data(), StructSize, 0, 16);
}

void OLP_Logic_CameraSettingsByStruct::dumpInt(const char* label, int value) const
{
    debugPrintf(kDumpFlag, "%s - %-24s = %d", logName("dump").constData(), label, value);
}

void OLP_Logic_CameraSettingsByStruct::dumpYesNo(const char* label, bool value) const
{
    debugPrintf(kDumpFlag, "%s - %-24s = %s", logName("dump").constData(), label, yesNo(value));
}

void OLP_Logic_CameraSettingsByStruct::dumpMaxShutterTime()
{
    debugPrintf(kDumpFlag, "%s - maxShutterTime           = 0x%04X = %d (%.3lfs)", logName("dump").constData(),
                unsigned(u16(OffMaxShutterTime)), int(s16(OffMaxShutterTime)), maxShutterTime());
}

void OLP_Logic_CameraSettingsByStruct::dumpAperture()
{
    debugPrintf(kDumpFlag, "%s - aperture                 = 0x%04X = %d (%.3lf)", logName("dump").constData(),
                unsigned(u16(OffAperture)), int(s16(OffAperture)), aperture());
}

void OLP_Logic_CameraSettingsByStruct::dumpShutterTime()
{
    const double seconds = shutterTime();
    const QByteArray name = logName("dump");
    if (seconds > 0.0 && seconds < 1.0) {
        debugPrintf(kDumpFlag, "%s - shutterTime              = 0x%04X = %d (1/%.3lfs)", name.constData(),
                    unsigned(u16(OffShutterTime)), int(s16(OffShutterTime)), 1.0 / seconds);
    } else {
        debugPrintf(kDumpFlag, "%s - shutterTime              = 0x%04X = %d (%.3lfs)", name.constData(),
                    unsigned(u16(OffShutterTime)), int(s16(OffShutterTime)), seconds);
    }
}

void OLP_Logic_CameraSettingsByStruct::dumpFeatures()
{
    dumpYesNo("featureFocusMode", featureFocusMode());
    dumpYesNo("featureMoveLensToPos", featureMoveLensToPos());
    dumpYesNo("featureMoveLensRightLeft", featureMoveLensRightLeft());
    dumpYesNo("featureSensorFormat", featureSensorFormat());
    dumpYesNo("featurePhotoAspectRatio", featurePhotoAspectRatio());
    dumpYesNo("featureJpgResSelection", featureJpgResSelection());
    dumpYesNo("featureVideoFileFormat", featureVideoFileFormat());
    dumpYesNo("featureVideoResAndFrRate", featureVideoResAndFrRate());
    dumpYesNo("featureVideoFormatResol", featureVideoFormatResol());
    dumpYesNo("featureContrast", featureContrast());
    dumpYesNo("featureSharpness", featureSharpness());
    dumpYesNo("featureSaturation", featureSaturation());
    dumpYesNo("featureMonochrome", featureMonochrome());
    dumpYesNo("featureAutoFocusLimit", featureAutoFocusLimit());
    dumpYesNo("featureElectronicShutter", featureElectronicShutter());
    dumpYesNo("featureExposTimeBulbPreset", featureExposTimeBulbPreset());
    dumpYesNo("featureLensConnectionType", featureLensConnectionType());
    dumpYesNo("featureOrientation", featureOrientation());
    dumpYesNo("featureAudioLevel", featureAudioLevel());
    dumpYesNo("featureAudioWindElim", featureAudioWindElim());
    dumpYesNo("featureAudioVolSpeaker", featureAudioVolSpeaker());
    dumpYesNo("featureAudioVolHeadphone", featureAudioVolHeadphone());
    dumpYesNo("featureAudioVolMicrophone", featureAudioVolMicrophone());
    dumpYesNo("featureExposCompensStep", featureExposCompensStep());
    dumpYesNo("featureExposureSimulation", featureExposureSimulation());
    dumpYesNo("featureFocusConfirmation", featureFocusConfirmation());
    dumpYesNo("featureFocusDistance", featureFocusDistance());
    dumpYesNo("featurePowerSave", featurePowerSave());
    dumpYesNo("featureDngCompression", featureDngCompression());
    dumpYesNo("featureInterval", featureInterval());
    dumpYesNo("featureKeyLock", featureKeyLock());
    dumpYesNo("featureLanguage", featureLanguage());
    dumpYesNo("featureLiveView", featureLiveView());
    dumpYesNo("featureMirrorUpMode", featureMirrorUpMode());
    dumpYesNo("featureShutterMode", featureShutterMode());
    dumpYesNo("featureVideoRecording", featureVideoRecording());
    dumpYesNo("featureWhiteBalance", featureWhiteBalance());
    dumpYesNo("featurePreview", featurePreview());
    dumpYesNo("featureHMI", featureHMI());
    dumpYesNo("featureFlashStatus", featureFlashStatus());
    dumpYesNo("featureFlashXSymbol", featureFlashXSymbol());
    dumpYesNo("featureWarnings", featureWarnings());
    dumpYesNo("featureAperture", featureAperture());
    dumpYesNo("featureBracketing", featureBracketing());
    dumpYesNo("featureJpgColorSpace", featureJpgColorSpace());
    dumpYesNo("featureStorageType", featureStorageType());
    dumpYesNo("featureAutoreviewDuration", featureAutoreviewDuration());
    dumpYesNo("featureSpare", featureSpare());
}

void OLP_Logic_CameraSettingsByStruct::dump(const QString& title)
{
    dumpHex(title);
    dumpInt("driveMode", driveMode());
    dumpInt("focusMode", focusMode());
    dumpInt("exposureMeteringMode", exposMetering());
    dumpInt("exposureCompensation", exposCompens());
    dumpInt("bracketingImageNumbers", bracketingImageNumbers());
    dumpInt("bracketingDeltaEV", bracketingDeltaEV());
    dumpInt("shutterMode", shutterMode());
    dumpInt("mirrorUpMode", mirrorUpMode());
    dumpInt("sensitivity", sensitivity());
    dumpInt("USBspeed", USBspeed());
    dumpInt("RAMBufferFreeCaptures", RAMBufferFreeCaptures());
    dumpInt("sensorBoardTemperature", sensorBoardTemperature());
    dumpYesNo("keyLock", keyLock());
    dumpYesNo("dngCompression", dngCompression());
    dumpYesNo("flashXSymbol", flashXSymbol());
    dumpInt("fileFormat", fileFormat());
    dumpMaxShutterTime();
    dumpInt("whiteBalance", whiteBalanceIndex());
    dumpInt("whiteBalanceColorTemp", whiteBalanceColorTemp());
    dumpInt("jpgColorSpace", jpgColorSpace());
    dumpInt("storageType", storageType());
    dumpInt("lightMeter", lightMeter());
    dumpInt("autoPowerOff", autoPowerOff());
    dumpInt("lockAEAF", lockAEAF());
    dumpInt("jpgResolution", jpgResolution());
    dumpInt("language", language());
    dumpInt("batterySource", batterySource());
    dumpInt("batteryInfo", batteryInfo());
    dumpInt("batteryLevelIntern", batteryLevelIntern());
    dumpInt("batteryLevelExtern", batteryLevelExtern());
    dumpInt("powerSwitch", powerSwitch());
    dumpInt("warnings", warnings());
    dumpInt("iSOValue", iSOValue());
    dumpInt("exposureMode", exposureMode());
    dumpAperture();
    dumpShutterTime();
    if (featureFocusConfirmation()) {
        dumpInt("focusConfirmation", focusConfirmation());
    }
    if (featureFocusDistance()) {
        dumpInt("focusDistance", focusDistance());
    }
    dumpInt("lightBalance", lightBalance());
    dumpInt("flashCompensation", flashCompensation());
    dumpInt("flashStatus", flashStatus());
    dumpFeatures();
}

// ---------------------------------------------------------------------------
// Sensitivity table

int OLP_Logic_CameraSettingsByStruct::sensitivityFromIndex(int index) const
{
    const quint32 product = productOf(cameraAccess());
    const int* begin = nullptr;
    const int* end = nullptr;
    if (product == ProductIdKestaA) {
        begin = std::begin(kSensitivityKestaA);
        end = std::end(kSensitivityKestaA);
    } else if (product == ProductIdKestaB) {
        begin = std::begin(kSensitivityKestaB);
        end = std::end(kSensitivityKestaB);
    } else {
        debugPrintf(0, "%s - unknown ProductId 0x%X", "OLP_Logic_CameraSettingsByStruct::sensitivityFromIndex",
                    product);
        return 0;
    }
    return index >= 0 && index < end - begin ? begin[index] : 0;
}

int OLP_Logic_CameraSettingsByStruct::sensitivityToIndex(int iso) const
{
    const quint32 product = productOf(cameraAccess());
    const int* begin = nullptr;
    const int* end = nullptr;
    if (product == ProductIdKestaA) {
        begin = std::begin(kSensitivityKestaA);
        end = std::end(kSensitivityKestaA);
    } else if (product == ProductIdKestaB) {
        begin = std::begin(kSensitivityKestaB);
        end = std::end(kSensitivityKestaB);
    } else {
        debugPrintf(0, "%s - unknown ProductId 0x%X", "OLP_Logic_CameraSettingsByStruct::sensitivityToIndex", product);
        return 0;
    }
    const int* found = std::find(begin, end, iso);
    return found == end ? 0 : int(found - begin);
}

// ---------------------------------------------------------------------------
// Setters

void OLP_Logic_CameraSettingsByStruct::setDriveMode(int value)
{
    storeU8(OffDriveMode, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setFocusMode(int value)
{
    storeU8(OffFocusMode, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setExposMetering(int value)
{
    storeU8(OffExposureMetering, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setExposCompens(int value)
{
    // Half-stop index 0..12, rounded half up.
    const int clamped = std::clamp(value, -3000, 3000);
    storeU8(OffExposureCompensation, quint8((clamped + 3000 + 250) / 500));
}

void OLP_Logic_CameraSettingsByStruct::setExposCompensStepSize(int)
{
    logNotAvailableInMode("setExposCompensStepSize");
}

void OLP_Logic_CameraSettingsByStruct::setBracketEnabled(bool value)
{
    const bool on = u8(OffBracketing) != 0;
    if (on == value) {
        return;
    }
    storeU8(OffBracketing, value ? (m_bracketingFiveImages ? 2 : 1) : 0);
}

void OLP_Logic_CameraSettingsByStruct::setBracketImgNum(int value)
{
    storeU8(OffBracketing, value == 5 ? 2 : 1);
    m_bracketingFiveImages = u8(OffBracketing) == 2;
}

void OLP_Logic_CameraSettingsByStruct::setBracketDeltaEV(int value)
{
    quint8 code = 1;
    if (value == 500) {
        code = 0;
    } else if (value == 2000) {
        code = 2;
    } else if (value == 3000) {
        code = 3;
    }
    storeU8(OffBracketingDeltaEV, code);
}

void OLP_Logic_CameraSettingsByStruct::setBracketingAutomatic(int)
{
    logNotAvailableInMode("setBracketingAutomatic");
}

void OLP_Logic_CameraSettingsByStruct::setMirrorUpMode(int value)
{
    storeU8(OffMirrorUpMode, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setSensitivity(int value)
{
    storeU8(OffSensitivityIndex, quint8(sensitivityToIndex(value)));
}

void OLP_Logic_CameraSettingsByStruct::setKeyLock(bool value)
{
    storeFlag(FlagKeyLock, value);
}

void OLP_Logic_CameraSettingsByStruct::setDngCompression(bool value)
{
    storeFlag(FlagDngCompression, value);
}

void OLP_Logic_CameraSettingsByStruct::setFlashXSymbol(bool value)
{
    storeFlag(FlagFlashXSymbol, value);
}

void OLP_Logic_CameraSettingsByStruct::setFileFormat(int value)
{
    storeU8(OffFileFormat, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setWhiteBalanceIndex(int value)
{
    storeU8(OffWhiteBalance, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setWhiteBalanceColorTemp(int value)
{
    storeU8(OffWhiteBalanceColorTemp, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setJpgColorSpace(int value)
{
    storeU8(OffJpgColorSpace, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setStorageType(int value)
{
    storeU8(OffStorageType, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setAutoreviewDuration(int)
{
    logNotAvailableInMode("setAutoreviewDuration");
}

void OLP_Logic_CameraSettingsByStruct::setAutoPowerOff(int value)
{
    storeU8(OffAutoPowerOff, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setLockAEAF(bool value)
{
    storeU8(OffLockAEAF, value ? 1 : 0);
}

void OLP_Logic_CameraSettingsByStruct::setSensorFormat(int)
{
    logNotAvailableInMode("setSensorFormat");
}

void OLP_Logic_CameraSettingsByStruct::setPhotoAspectRatio(int)
{
    logNotAvailableInMode("setPhotoAspectRatio");
}

void OLP_Logic_CameraSettingsByStruct::setJpgResolution(int value)
{
    storeU8(OffJpgResolution, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setVideoFileFormat(int)
{
    logNotAvailableInMode("setVideoFileFormat");
}

void OLP_Logic_CameraSettingsByStruct::setVideoResAndFrRate(int)
{
    logNotAvailableInMode("setVideoResAndFrRate");
}

void OLP_Logic_CameraSettingsByStruct::setVideoFormatResol(int)
{
    debugPrintf(0, "%s - functionality is not available in struct mode ", logName("setVideoFormatResol").constData());
}

void OLP_Logic_CameraSettingsByStruct::setContrast(int)
{
    logNotAvailableInMode("setContrast");
}

void OLP_Logic_CameraSettingsByStruct::setSharpness(int)
{
    logNotAvailableInMode("setSharpness");
}

void OLP_Logic_CameraSettingsByStruct::setSaturation(int)
{
    logNotAvailableInMode("setSaturation");
}

void OLP_Logic_CameraSettingsByStruct::setMonochrome(int)
{
    logNotAvailableInMode("setMonochrome");
}

void OLP_Logic_CameraSettingsByStruct::setElectronicShutter(int)
{
    logNotAvailableInMode("setElectronicShutter");
}

void OLP_Logic_CameraSettingsByStruct::setExposTimeBulbPreset(int)
{
    logNotAvailableInMode("setExposTimeBulbPreset");
}

void OLP_Logic_CameraSettingsByStruct::setAudioLevel(int)
{
    logNotAvailableInMode("setAudioLevel");
}

void OLP_Logic_CameraSettingsByStruct::setAudioWindElim(int)
{
    logNotAvailableInMode("setAudioWindElim");
}

void OLP_Logic_CameraSettingsByStruct::setAudioVolSpeaker(int)
{
    logNotAvailableInMode("setAudioVolSpeaker");
}

void OLP_Logic_CameraSettingsByStruct::setAudioVolHeadphone(int)
{
    logNotAvailableInMode("setAudioVolHeadphone");
}

void OLP_Logic_CameraSettingsByStruct::setAudioVolMicrophone(int)
{
    logNotAvailableInMode("setAudioVolMicrophone");
}

void OLP_Logic_CameraSettingsByStruct::setExposureSimulation(int)
{
    logNotAvailableInMode("setExposureSimulation");
}

void OLP_Logic_CameraSettingsByStruct::setLanguage(int value)
{
    storeU8(OffLanguage, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setExposureMode(int value)
{
    storeU8(OffExposureMode, quint8(value));
}

void OLP_Logic_CameraSettingsByStruct::setAperture(double value)
{
    const std::optional<qint16> code = OLP_Logic_APEXConverterAperture::toCode(value);
    if (!code) {
        debugPrintf(0, "%s - no aperture code for f/%.3lf", logName("setAperture").constData(), value);
        return;
    }
    storeU16(OffAperture, quint16(*code));
}

void OLP_Logic_CameraSettingsByStruct::setShutterTime(double value)
{
    const std::optional<qint16> code = m_shutterTimeConverter.toCode(value);
    if (!code) {
        debugPrintf(0, "%s - no shutter code for %.6lf s", logName("setShutterTime").constData(), value);
        return;
    }
    storeU16(OffShutterTime, quint16(*code));
}

void OLP_Logic_CameraSettingsByStruct::setAutoFocusLimit(bool)
{
    logNotAvailableInMode("setAutoFocusLimit");
}

void OLP_Logic_CameraSettingsByStruct::setIntervalFrames(int)
{
    logOnlyExternally("setIntervalFrames");
}

void OLP_Logic_CameraSettingsByStruct::setIntervalTime(int)
{
    logOnlyExternally("setIntervalTime");
}

// ---------------------------------------------------------------------------
// Getters

int OLP_Logic_CameraSettingsByStruct::driveMode()
{
    return u8(OffDriveMode);
}

int OLP_Logic_CameraSettingsByStruct::focusMode()
{
    return u8(OffFocusMode);
}

int OLP_Logic_CameraSettingsByStruct::exposMetering()
{
    return u8(OffExposureMetering);
}

int OLP_Logic_CameraSettingsByStruct::exposCompens()
{
    return (std::min<int>(u8(OffExposureCompensation), 12) - 6) * 500;
}

int OLP_Logic_CameraSettingsByStruct::exposCompensStep()
{
    return 500;
}

bool OLP_Logic_CameraSettingsByStruct::bracketingEnabled()
{
    return u8(OffBracketing) != 0;
}

int OLP_Logic_CameraSettingsByStruct::bracketingImageNumbers()
{
    return u8(OffBracketing) == 2 ? 5 : 3;
}

int OLP_Logic_CameraSettingsByStruct::bracketingDeltaEV()
{
    switch (u8(OffBracketingDeltaEV)) {
        case 0:
            return 500;
        case 2:
            return 2000;
        case 3:
            return 3000;
        default:
            return 1000;
    }
}

int OLP_Logic_CameraSettingsByStruct::bracketingAutomatic()
{
    return 1;
}

int OLP_Logic_CameraSettingsByStruct::shutterMode()
{
    return u8(OffShutterMode);
}

int OLP_Logic_CameraSettingsByStruct::mirrorUpMode()
{
    return u8(OffMirrorUpMode);
}

int OLP_Logic_CameraSettingsByStruct::sensitivity()
{
    return sensitivityFromIndex(u8(OffSensitivityIndex));
}

bool OLP_Logic_CameraSettingsByStruct::sensitivityAuto()
{
    return u8(OffSensitivityIndex) == 0;
}

int OLP_Logic_CameraSettingsByStruct::USBspeed()
{
    return u8(OffUSBspeed);
}

int OLP_Logic_CameraSettingsByStruct::RAMBufferFreeCaptures()
{
    return u8(OffRAMBufferFreeCaptures);
}

int OLP_Logic_CameraSettingsByStruct::sensorBoardTemperature()
{
    return u8(OffSensorBoardTemperature);
}

bool OLP_Logic_CameraSettingsByStruct::keyLock()
{
    return (u8(OffFlags) & FlagKeyLock) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::dngCompression()
{
    return (u8(OffFlags) & FlagDngCompression) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::flashXSymbol()
{
    return (u8(OffFlags) & FlagFlashXSymbol) != 0;
}

int OLP_Logic_CameraSettingsByStruct::fileFormat()
{
    return u8(OffFileFormat);
}

double OLP_Logic_CameraSettingsByStruct::maxShutterTime()
{
    return m_shutterTimeConverter.toSeconds(s16(OffMaxShutterTime));
}

int OLP_Logic_CameraSettingsByStruct::whiteBalanceIndex()
{
    return u8(OffWhiteBalance);
}

int OLP_Logic_CameraSettingsByStruct::whiteBalanceColorTemp()
{
    return u8(OffWhiteBalanceColorTemp);
}

int OLP_Logic_CameraSettingsByStruct::jpgColorSpace()
{
    return u8(OffJpgColorSpace);
}

int OLP_Logic_CameraSettingsByStruct::storageType()
{
    return u8(OffStorageType);
}

int OLP_Logic_CameraSettingsByStruct::lightMeter()
{
    return lightBalance() * 128;
}

int OLP_Logic_CameraSettingsByStruct::autoreviewDuration()
{
    logNotAvailableReturningDefault("autoreviewDuration");
    return 5;
}

int OLP_Logic_CameraSettingsByStruct::autoPowerOff()
{
    return u8(OffAutoPowerOff);
}

int OLP_Logic_CameraSettingsByStruct::lockAEAF()
{
    return u8(OffLockAEAF);
}

int OLP_Logic_CameraSettingsByStruct::sensorFormat()
{
    logNotAvailableReturningDefault("sensorFormat");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::photoAspectRatio()
{
    logNotAvailableReturningDefault("photoAspectRatio");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::jpgResolution()
{
    return u8(OffJpgResolution);
}

int OLP_Logic_CameraSettingsByStruct::videoFileFormat()
{
    logNotAvailableReturningDefault("videoFileFormat");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::videoResAndFrRate()
{
    logNotAvailableReturningDefault("videoResAndFrRate");
    return 8;
}

int OLP_Logic_CameraSettingsByStruct::videoFormatResol()
{
    logNotAvailableReturningDefault("videoFormatResol");
    return 3;
}

// Both layouts word these four without the layout's letter.
int OLP_Logic_CameraSettingsByStruct::contrast()
{
    debugPrintf(0, "%s - functionality is not available in struct mode, returning default",
                logName("contrast").constData());
    return 1;
}

int OLP_Logic_CameraSettingsByStruct::sharpness()
{
    debugPrintf(0, "%s - functionality is not available in struct mode, returning default",
                logName("sharpness").constData());
    return 1;
}

int OLP_Logic_CameraSettingsByStruct::saturation()
{
    debugPrintf(0, "%s - functionality is not available in struct mode, returning default",
                logName("saturation").constData());
    return 1;
}

int OLP_Logic_CameraSettingsByStruct::monochrome()
{
    debugPrintf(0, "%s - functionality is not available in struct mode, returning default",
                logName("monochrome").constData());
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::electronicShutter()
{
    logNotAvailableReturningDefault("electronicShutter");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::exposTimeBulbPreset()
{
    logNotAvailableReturningDefault("exposTimeBulbPreset");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::lensConnectionType()
{
    logNotAvailableReturningDefault("lensConnectionType");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::orientation()
{
    logNotAvailableReturningDefault("orientation");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::audioLevel()
{
    logNotAvailableReturningDefault("audioLevel");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::audioWindElim()
{
    logNotAvailableReturningDefault("audioWindElim");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::audioVolSpeaker()
{
    logNotAvailableReturningDefault("audioVolSpeaker");
    return 3;
}

int OLP_Logic_CameraSettingsByStruct::audioVolHeadphone()
{
    logNotAvailableReturningDefault("audioVolHeadphone");
    return 3;
}

int OLP_Logic_CameraSettingsByStruct::audioVolMicrophone()
{
    logNotAvailableReturningDefault("audioVolMicrophone");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::exposureSimulation()
{
    logNotAvailableReturningDefault("exposureSimulation");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::language()
{
    return u8(OffLanguage);
}

int OLP_Logic_CameraSettingsByStruct::batterySource()
{
    return u8(OffBatterySource);
}

int OLP_Logic_CameraSettingsByStruct::batteryInfo()
{
    if (u8(OffBatterySource) == 0) {
        return 3;
    }
    const bool hasExtern = u8(OffBatteryLevelExtern) < 255;
    if (u8(OffBatteryLevelIntern) == 255) {
        return hasExtern ? 0 : 4;
    }
    return hasExtern ? 2 : 1;
}

int OLP_Logic_CameraSettingsByStruct::batteryLevelIntern()
{
    return u8(OffBatteryLevelIntern);
}

int OLP_Logic_CameraSettingsByStruct::batteryLevelExtern()
{
    return u8(OffBatteryLevelExtern);
}

int OLP_Logic_CameraSettingsByStruct::powerSwitch()
{
    switch (u8(OffShutterMode)) {
        case 0:
            return 2;
        case 1:
            return 3;
        default:
            return 0;
    }
}

int OLP_Logic_CameraSettingsByStruct::selfTimerRestTime()
{
    logNotAvailable("selfTimerRestTime");
    return -1;
}

int OLP_Logic_CameraSettingsByStruct::bulbModeTime()
{
    logNotAvailable("bulbModeTime");
    return -1;
}

int OLP_Logic_CameraSettingsByStruct::warnings()
{
    return u8(OffWarnings);
}

int OLP_Logic_CameraSettingsByStruct::iSOValue()
{
    return u16(OffISOValue);
}

int OLP_Logic_CameraSettingsByStruct::exposureMode()
{
    return u8(OffExposureMode);
}

double OLP_Logic_CameraSettingsByStruct::aperture()
{
    return OLP_Logic_APEXConverterAperture::toFNumber(s16(OffAperture));
}

double OLP_Logic_CameraSettingsByStruct::shutterTime()
{
    return m_shutterTimeConverter.toSeconds(s16(OffShutterTime));
}

int OLP_Logic_CameraSettingsByStruct::focusDistance()
{
    return s32(OffFocusDistance);
}

int OLP_Logic_CameraSettingsByStruct::focusConfirmation()
{
    return u8(OffFocusConfirmation);
}

bool OLP_Logic_CameraSettingsByStruct::focusConfirmationBadSignal()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::focusConfirmationEnabled()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::autoFocusLimit()
{
    logNotAvailable("autoFocusLimit");
    return false;
}

int OLP_Logic_CameraSettingsByStruct::autoFocusLimitDistance()
{
    logNotAvailable("autoFocusLimitDistance");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::lightBalance()
{
    return qint8(u8(OffLightBalance));
}

int OLP_Logic_CameraSettingsByStruct::flashCompensation()
{
    return s16(OffFlashCompensation);
}

int OLP_Logic_CameraSettingsByStruct::flashStatus()
{
    return u8(OffFlashStatus);
}

// ---------------------------------------------------------------------------
// Feature queries

bool OLP_Logic_CameraSettingsByStruct::featureFocusMode()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureMoveLensToPos()
{
    return (u8(OffFeatureBits) & 0x01) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureMoveLensRightLeft()
{
    return (u8(OffFeatureBits) & 0x02) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureSensorFormat()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featurePhotoAspectRatio()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureJpgResSelection()
{
    return (u8(OffFeatureBits) & 0x04) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureVideoFileFormat()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureVideoResAndFrRate()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureVideoFormatResol()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureContrast()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureSharpness()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureSaturation()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureMonochrome()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureAutoFocusLimit()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureElectronicShutter()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureExposTimeBulbPreset()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureLensConnectionType()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureOrientation()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureAudioLevel()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureAudioWindElim()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureAudioVolSpeaker()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureAudioVolHeadphone()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureAudioVolMicrophone()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureExposCompensStep()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureExposureSimulation()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureFocusConfirmation()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureFocusDistance()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featurePowerSave()
{
    return (u8(OffFeatureBits) & 0x08) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureDngCompression()
{
    return (u8(OffFeatureBits) & 0x10) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureInterval()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureKeyLock()
{
    return (u8(OffFeatureBits) & 0x20) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureLanguage()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureLiveView()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureMirrorUpMode()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureShutterMode()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureVideoRecording()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureWhiteBalance()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featurePreview()
{
    return (u8(OffFeatureBits) & 0x40) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureHMI()
{
    return (u8(OffFeatureBits) & 0x80) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureFlashStatus()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureFlashXSymbol()
{
    return (u8(OffFeatureBits2) & 0x01) != 0;
}

bool OLP_Logic_CameraSettingsByStruct::featureWarnings()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureAperture()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureBracketing()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureJpgColorSpace()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureStorageType()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStruct::featureAutoreviewDuration()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStruct::featureSpare()
{
    return false;
}

int OLP_Logic_CameraSettingsByStruct::intervalFrames()
{
    logOnlyExternally("intervalFrames");
    return 0;
}

int OLP_Logic_CameraSettingsByStruct::intervalTime()
{
    logOnlyExternally("intervalTime");
    return 0;
}
