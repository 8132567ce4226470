#include "OLP_Logic_CameraSettingsByStructM.h"

#include <algorithm>
#include <cmath>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"

namespace {

bool isKestaE(OLP_Commu_CameraAccess_Base* access)
{
    return access && access->productId() == ProductIdKestaE;
}

}  // namespace

OLP_Logic_CameraSettingsByStructM::OLP_Logic_CameraSettingsByStructM(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                                     OLP_Logic_DeviceInfo* deviceInfo)
    : OLP_Logic_CameraSettingsByStruct(cameraAccess, deviceInfo, "OLP_Logic_CameraSettingsByStructM")
{
    recvFromCamera(nullptr);
}

OLP_Logic_CameraSettingsByStructM::~OLP_Logic_CameraSettingsByStructM() = default;

void OLP_Logic_CameraSettingsByStructM::reportChanges(const Structure& before, SettingsChangeFlags* changes) const
{
    reportSharedChanges(before, changes);

    auto now8 = [&](int offset) { return u8(offset); };
    auto byteChanged = [&](int offset) { return u8At(before, offset) != now8(offset); };
    auto wordChanged = [&](int offset) { return u16At(before, offset) != u16(offset); };

    changes->videoResAndFrRate |= byteChanged(OffFocusMode);
    changes->sensitivity |= wordChanged(OffISOValue);
    changes->lightMeter |= wordChanged(OffLightMeter);

    const bool internChanged = byteChanged(OffBatteryLevelIntern);
    changes->batteryInfo |= byteChanged(OffBatterySource) || internChanged;
    changes->batteryLevelIntern |= internChanged;

    // Only warnings that appear are reported; the bulb-with-self-timer warning
    // only while a self-timer drive mode is set.
    const quint8 raised = quint8(~u8At(before, OffWarnings) & now8(OffWarnings));
    const int drive = now8(OffDriveMode);
    const bool selfTimer = drive == 2 || drive == 3;
    changes->warnings |=
        (raised & 0x0F) != 0 || ((raised & WarnSelfTimerBulb) && selfTimer) || (raised & WarnLensError) != 0;
}

void OLP_Logic_CameraSettingsByStructM::dump(const QString& title)
{
    dumpHex(title);
    dumpInt("driveMode", driveMode());
    dumpInt("videoResAndFrRate", videoResAndFrRate());
    dumpInt("exposureMeteringMode", exposMetering());
    dumpInt("exposureCompensation", exposCompens());
    dumpInt("bracketingImageNumbers", bracketingImageNumbers());
    dumpInt("bracketingDeltaEV", bracketingDeltaEV());
    dumpInt("sensitivity", sensitivity());
    dumpInt("USBspeed", USBspeed());
    dumpInt("RAMBufferFreeCaptures", RAMBufferFreeCaptures());
    dumpInt("sensorBoardTemperature", sensorBoardTemperature());
    dumpYesNo("dngCompression", dngCompression());
    dumpInt("fileFormat", fileFormat());
    dumpMaxShutterTime();
    dumpInt("whiteBalance", whiteBalanceIndex());
    dumpInt("whiteBalanceColorTemp", whiteBalanceColorTemp());
    dumpInt("jpgColorSpace", jpgColorSpace());
    dumpInt("storageType", storageType());
    dumpInt("lightMeter", lightMeter());
    dumpInt("autoPowerOff", autoPowerOff());
    dumpInt("jpgResolution", jpgResolution());
    dumpInt("language", language());
    dumpInt("batterySource", batterySource());
    dumpInt("batteryInfo", batteryInfo());
    dumpInt("batteryLevelIntern", batteryLevelIntern());
    dumpInt("warnings", warnings());
    dumpInt("iSOValue", iSOValue());
    dumpInt("exposureMode", exposureMode());
    dumpShutterTime();
    dumpInt("lightBalance", lightBalance());
    dumpInt("flashCompensation", flashCompensation());
    dumpInt("flashStatus", flashStatus());
    dumpFeatures();
}

// ---------------------------------------------------------------------------
// Setters

void OLP_Logic_CameraSettingsByStructM::setFocusMode(int)
{
    logNotAvailableInMode("setFocusMode");
}

void OLP_Logic_CameraSettingsByStructM::setExposCompens(int value)
{
    // Third-stop index 0..18, rounded half up.
    const int clamped = std::clamp(value, -3000, 3000);
    storeU8(OffExposureCompensation, quint8(((clamped + 3000) * 3 + 500) / 1000));
}

void OLP_Logic_CameraSettingsByStructM::setMirrorUpMode(int)
{
    logNotAvailableInMode("setMirrorUpMode");
}

void OLP_Logic_CameraSettingsByStructM::setSensitivity(int value)
{
    storeU16(OffISOValue, quint16(value));
}

void OLP_Logic_CameraSettingsByStructM::setKeyLock(bool)
{
    logNotAvailableInMode("setKeyLock");
}

void OLP_Logic_CameraSettingsByStructM::setFlashXSymbol(bool)
{
    logNotAvailableInMode("setFlashXSymbol");
}

void OLP_Logic_CameraSettingsByStructM::setLockAEAF(bool)
{
    logNotAvailableInMode("setLockAEAF");
}

void OLP_Logic_CameraSettingsByStructM::setVideoResAndFrRate(int value)
{
    quint8 code = 0;
    switch (value) {
        case 9:
            code = 1;
            break;
        case 15:
            code = 2;
            break;
        case 16:
            code = 3;
            break;
        case 17:
            code = 4;
            break;
        case 18:
            code = 5;
            break;
        default:
            code = 0;
            break;
    }
    storeU8(OffFocusMode, code);
}

void OLP_Logic_CameraSettingsByStructM::setVideoFormatResol(int)
{
    logNotAvailableInMode("setVideoFormatResol");
}

void OLP_Logic_CameraSettingsByStructM::setExposureMode(int value)
{
    quint8 code = 0;
    if (value == 2) {
        code = 1;
    } else if (value == 4) {
        code = 3;
    }
    storeU8(OffExposureMode, code);
}

void OLP_Logic_CameraSettingsByStructM::setAperture(double)
{
    logNotAvailableInMode("setAperture");
}

// ---------------------------------------------------------------------------
// Getters

int OLP_Logic_CameraSettingsByStructM::focusMode()
{
    return 2;
}

int OLP_Logic_CameraSettingsByStructM::exposCompens()
{
    const int index = std::min<int>(u8(OffExposureCompensation), 18);
    return (index * 1000 + 1) / 3 - 3000;
}

int OLP_Logic_CameraSettingsByStructM::shutterMode()
{
    return 1;
}

int OLP_Logic_CameraSettingsByStructM::mirrorUpMode()
{
    return 0;
}

int OLP_Logic_CameraSettingsByStructM::sensitivity()
{
    return u16(OffISOValue);
}

bool OLP_Logic_CameraSettingsByStructM::sensitivityAuto()
{
    return u16(OffISOValue) == 0;
}

bool OLP_Logic_CameraSettingsByStructM::keyLock()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::flashXSymbol()
{
    return false;
}

int OLP_Logic_CameraSettingsByStructM::lightMeter()
{
    return s16(OffLightMeter);
}

int OLP_Logic_CameraSettingsByStructM::lockAEAF()
{
    logNotAvailableReturningDefault("lockAEAF");
    return 0;
}

int OLP_Logic_CameraSettingsByStructM::videoResAndFrRate()
{
    switch (u8(OffFocusMode)) {
        case 1:
            return 9;
        case 2:
            return 15;
        case 3:
            return 16;
        case 4:
            return 17;
        case 5:
            return 18;
        default:
            return 8;
    }
}

int OLP_Logic_CameraSettingsByStructM::batterySource()
{
    const quint8 raw = u8(OffBatterySource);
    if (raw == 0) {
        return 1;
    }
    if (raw == 1) {
        return 0;
    }
    return raw;
}

int OLP_Logic_CameraSettingsByStructM::batteryInfo()
{
    if (batterySource() == 0) {
        return 3;
    }
    return u8(OffBatteryLevelIntern) < 255 ? 1 : 4;
}

int OLP_Logic_CameraSettingsByStructM::batteryLevelExtern()
{
    return -1;
}

int OLP_Logic_CameraSettingsByStructM::powerSwitch()
{
    logNotAvailable("powerSwitch");
    return 0;
}

int OLP_Logic_CameraSettingsByStructM::warnings()
{
    // Positions in the warning list, in the order the camera ranks its bits.
    static constexpr struct
    {
        quint8 bit;
        int warning;
    } kOrder[] = {{0x01, 1}, {0x02, 2}, {0x04, 3}, {0x08, 6}, {0x10, 7}, {0x20, 4}};
    const quint8 bits = u8(OffWarnings);
    for (const auto& entry : kOrder) {
        if (bits & entry.bit) {
            return entry.warning;
        }
    }
    return 1;
}

int OLP_Logic_CameraSettingsByStructM::exposureMode()
{
    switch (u8(OffExposureMode)) {
        case 1:
            return 2;
        case 3:
            return 4;
        default:
            return 0;
    }
}

double OLP_Logic_CameraSettingsByStructM::aperture()
{
    logNotAvailable("aperture");
    return 0.0;
}

int OLP_Logic_CameraSettingsByStructM::focusDistance()
{
    logNotAvailable("focusDistance");
    return 0;
}

int OLP_Logic_CameraSettingsByStructM::focusConfirmation()
{
    logNotAvailable("focusConfirmation");
    return u8(OffFocusConfirmation);
}

bool OLP_Logic_CameraSettingsByStructM::focusConfirmationBadSignal()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStructM::focusConfirmationEnabled()
{
    return false;
}

int OLP_Logic_CameraSettingsByStructM::lightBalance()
{
    return int(std::floor(lightMeter() / 128.0 + 0.5));
}

// ---------------------------------------------------------------------------
// Feature queries

bool OLP_Logic_CameraSettingsByStructM::featureFocusMode()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::featureVideoResAndFrRate()
{
    return true;
}

bool OLP_Logic_CameraSettingsByStructM::featureFocusConfirmation()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::featureFocusDistance()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::featureMirrorUpMode()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::featureShutterMode()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::featureWhiteBalance()
{
    return !isKestaE(cameraAccess());
}

bool OLP_Logic_CameraSettingsByStructM::featureAperture()
{
    return false;
}

bool OLP_Logic_CameraSettingsByStructM::featureJpgColorSpace()
{
    return !isKestaE(cameraAccess());
}
