#pragma once

#include "OLP_Logic_CameraSettingsByStruct.h"

// The settings of ProductIdKestaC and ProductIdKestaE cameras: the same
// 100-byte structure, read and written whole, in a second layout. The video
// mode replaces the focus mode, exposure compensation counts third stops, the
// sensitivity is the ISO number itself, the camera delivers a light-meter
// reading instead of the light balance, the battery source is coded the other
// way round and the warnings are a bit mask. Shutter mode, mirror-up mode,
// AE/AF lock, aperture and focus distance are not part of this layout; their
// bytes are carried unchanged.
//
// Thread and ownership as OLP_Logic_CameraSettingsByStruct.
class OLP_Logic_CameraSettingsByStructM : public OLP_Logic_CameraSettingsByStruct
{
public:
    // Reads the structure from the camera at once.
    OLP_Logic_CameraSettingsByStructM(OLP_Commu_CameraAccess_Base* cameraAccess, OLP_Logic_DeviceInfo* deviceInfo);
    ~OLP_Logic_CameraSettingsByStructM() override;

    void dump(const QString& title) override;

    void setFocusMode(int value) override;
    void setExposCompens(int value) override;
    void setMirrorUpMode(int value) override;
    void setSensitivity(int value) override;
    void setKeyLock(bool value) override;
    void setFlashXSymbol(bool value) override;
    void setLockAEAF(bool value) override;
    void setVideoResAndFrRate(int value) override;
    void setVideoFormatResol(int value) override;
    void setExposureMode(int value) override;
    void setAperture(double value) override;

    int focusMode() override;
    int exposCompens() override;
    int shutterMode() override;
    int mirrorUpMode() override;
    int sensitivity() override;
    bool sensitivityAuto() override;
    bool keyLock() override;
    bool flashXSymbol() override;
    int lightMeter() override;
    int lockAEAF() override;
    int videoResAndFrRate() override;
    int batterySource() override;
    int batteryInfo() override;
    int batteryLevelExtern() override;
    int powerSwitch() override;
    int warnings() override;
    int exposureMode() override;
    double aperture() override;
    int focusDistance() override;
    int focusConfirmation() override;
    bool focusConfirmationBadSignal() override;
    bool focusConfirmationEnabled() override;
    int lightBalance() override;

    bool featureFocusMode() override;
    bool featureVideoResAndFrRate() override;
    bool featureFocusConfirmation() override;
    bool featureFocusDistance() override;
    bool featureMirrorUpMode() override;
    bool featureShutterMode() override;
    bool featureWhiteBalance() override;
    bool featureAperture() override;
    bool featureJpgColorSpace() override;

protected:
    void reportChanges(const Structure& before, SettingsChangeFlags* changes) const override;
    const char* modeName() const override { return "struct mode M"; }

private:
    // Warning bits: 0 undefined error, 1 overheating, 2 USB error, 3 card open
    // error, 4 bulb mode with self timer, 5 lens error.
    enum WarningBit
    {
        WarnSelfTimerBulb = 0x10,
        WarnLensError = 0x20
    };
};
