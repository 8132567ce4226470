#include "OLP_Logic_CameraSettingsBase.h"

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_CameraSettingsByDevProps.h"
#include "OLP_Logic_CameraSettingsByStruct.h"
#include "OLP_Logic_CameraSettingsByStructM.h"

namespace {
bool SettingsChangeFlags::*const kFlagMembers[SettingsChangeFlags::count] = {
    &SettingsChangeFlags::batteryInfo,
    &SettingsChangeFlags::batteryLevelIntern,
    &SettingsChangeFlags::batteryLevelExtern,
    &SettingsChangeFlags::maxShutterTime,
    &SettingsChangeFlags::powerSwitch,
    &SettingsChangeFlags::selfTimerRestTime,
    &SettingsChangeFlags::bulbModeTime,
    &SettingsChangeFlags::driveMode,
    &SettingsChangeFlags::focusMode,
    &SettingsChangeFlags::exposMetering,
    &SettingsChangeFlags::exposCompens,
    &SettingsChangeFlags::exposCompensStep,
    &SettingsChangeFlags::bracketingEnabled,
    &SettingsChangeFlags::bracketingImageNumbers,
    &SettingsChangeFlags::bracketingDeltaEV,
    &SettingsChangeFlags::bracketingAutomatic,
    &SettingsChangeFlags::mirrorUpMode,
    &SettingsChangeFlags::sensitivity,
    &SettingsChangeFlags::keyLock,
    &SettingsChangeFlags::sensorFormat,
    &SettingsChangeFlags::photoAspectRatio,
    &SettingsChangeFlags::jpgResolution,
    &SettingsChangeFlags::videoFileFormat,
    &SettingsChangeFlags::videoResAndFrRate,
    &SettingsChangeFlags::videoFormatResol,
    &SettingsChangeFlags::contrast,
    &SettingsChangeFlags::sharpness,
    &SettingsChangeFlags::saturation,
    &SettingsChangeFlags::monochrome,
    &SettingsChangeFlags::electronicShutter,
    &SettingsChangeFlags::exposTimeBulbPreset,
    &SettingsChangeFlags::lensConnectionType,
    &SettingsChangeFlags::orientation,
    &SettingsChangeFlags::audioLevel,
    &SettingsChangeFlags::audioWindElim,
    &SettingsChangeFlags::audioVolSpeaker,
    &SettingsChangeFlags::audioVolHeadphone,
    &SettingsChangeFlags::audioVolMicrophone,
    &SettingsChangeFlags::exposureSimulation,
    &SettingsChangeFlags::language,
    &SettingsChangeFlags::dngCompression,
    &SettingsChangeFlags::flashStatus,
    &SettingsChangeFlags::flashXSymbol,
    &SettingsChangeFlags::lightMeter,
    &SettingsChangeFlags::fileFormat,
    &SettingsChangeFlags::whiteBalanceIndex,
    &SettingsChangeFlags::whiteBalanceColorTemp,
    &SettingsChangeFlags::jpgColorSpace,
    &SettingsChangeFlags::storageType,
    &SettingsChangeFlags::autoreviewDuration,
    &SettingsChangeFlags::autoPowerOff,
    &SettingsChangeFlags::exposureMode,
    &SettingsChangeFlags::aperture,
    &SettingsChangeFlags::shutterTime,
    &SettingsChangeFlags::focusDistance,
    &SettingsChangeFlags::focusConfirmation,
    &SettingsChangeFlags::focusConfirmationEnabled,
    &SettingsChangeFlags::focusConfirmationBadSignal,
    &SettingsChangeFlags::autoFocusLimit,
    &SettingsChangeFlags::autoFocusLimitDistance,
    &SettingsChangeFlags::warnings,
    &SettingsChangeFlags::intervalFrames,
    &SettingsChangeFlags::intervalTime,
};
}  // namespace

bool& SettingsChangeFlags::at(int index)
{
    return this->*kFlagMembers[index];
}

bool SettingsChangeFlags::at(int index) const
{
    return this->*kFlagMembers[index];
}

bool SettingsChangeFlags::any() const
{
    for (int i = 0; i < count; ++i) {
        if (at(i)) {
            return true;
        }
    }
    return false;
}

OLP_Logic_CameraSettingsBase::OLP_Logic_CameraSettingsBase(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                           OLP_Logic_DeviceInfo* deviceInfo)
    : m_cameraAccess(cameraAccess), m_deviceInfo(deviceInfo)
{}

OLP_Logic_CameraSettingsBase::~OLP_Logic_CameraSettingsBase() = default;

void OLP_Logic_CameraSettingsBase::sendToCameraIfDirty()
{
    if (m_settingsDirty) {
        sendToCamera();
    }
}

OLP_Logic_CameraSettingsBase* OLP_Logic_CameraSettingsBase::create(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                                   OLP_Logic_DeviceInfo* deviceInfo)
{
    const quint32 product = cameraAccess ? cameraAccess->productId() : 0;
    if (product == ProductIdKestaA || product == ProductIdKestaB) {
        return new OLP_Logic_CameraSettingsByStruct(cameraAccess, deviceInfo);
    }
    if (product == ProductIdKestaC || product == ProductIdKestaE) {
        return new OLP_Logic_CameraSettingsByStructM(cameraAccess, deviceInfo);
    }
    return new OLP_Logic_CameraSettingsByDevProps(cameraAccess, deviceInfo);
}
