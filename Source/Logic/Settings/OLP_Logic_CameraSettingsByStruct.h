#pragma once

#include <QByteArray>
#include <array>

#include "OLP_Logic_APEXConverterShutterTime.h"
#include "OLP_Logic_CameraSettingsBase.h"

// The settings of ProductIdKestaA and ProductIdKestaB cameras, which keep every
// setting in one 100-byte vendor structure. The structure is read whole into a
// cache; getters read fields of the cache, setters change fields and mark it
// dirty, and sendToCamera() writes the whole cache back. Bytes this layout does
// not interpret are written back exactly as the camera sent them.
//
// The cache is only written to the camera after a complete structure has been
// read from it: after a failed or short read the cache is all zeros, and
// writing that back would reset the camera's drive mode, exposure, language
// and every byte the program does not understand.
//
// OLP_Logic_CameraSettingsByStructM derives from this class for the second
// layout of the same structure and overrides what that layout does differently.
//
// Thread: used in the controller thread (transfer threads only through the
// camera object under its transfer lock). Holds the access object and the
// device information without owning them; owns its shutter-time converter.
class OLP_Logic_CameraSettingsByStruct : public OLP_Logic_CameraSettingsBase
{
public:
    static constexpr int StructSize = 100;
    using Structure = std::array<quint8, StructSize>;

    // Reads the structure from the camera at once.
    OLP_Logic_CameraSettingsByStruct(OLP_Commu_CameraAccess_Base* cameraAccess, OLP_Logic_DeviceInfo* deviceInfo);
    ~OLP_Logic_CameraSettingsByStruct() override;

    // False until a complete structure has been read, and again after a failed
    // or short read; while false nothing is written to the camera.
    bool isValid() const { return m_valid; }
    bool valuesValid() const override { return m_valid; }
    // Whether the last bracketing setting seen on the camera used five images.
    bool bracketingFiveImages() const { return m_bracketingFiveImages; }
    // The cached structure as it would be written.
    QByteArray cameraSettings() const;

    void dump(const QString& title) override;
    void recvFromCamera(quint16 propertyCode, SettingsChangeFlags* changes) override;
    void recvFromCamera(SettingsChangeFlags* changes) override;
    void sendToCamera() override;

    void setDriveMode(int value) override;
    void setFocusMode(int value) override;
    void setExposMetering(int value) override;
    void setExposCompens(int value) override;
    void setExposCompensStepSize(int value) override;
    void setBracketEnabled(bool value) override;
    void setBracketImgNum(int value) override;
    void setBracketDeltaEV(int value) override;
    void setBracketingAutomatic(int value) override;
    void setMirrorUpMode(int value) override;
    void setSensitivity(int value) override;
    void setKeyLock(bool value) override;
    void setDngCompression(bool value) override;
    void setFlashXSymbol(bool value) override;
    void setFileFormat(int value) override;
    void setWhiteBalanceIndex(int value) override;
    void setWhiteBalanceColorTemp(int value) override;
    void setJpgColorSpace(int value) override;
    void setStorageType(int value) override;
    void setAutoreviewDuration(int value) override;
    void setAutoPowerOff(int value) override;
    void setLockAEAF(bool value) override;
    void setSensorFormat(int value) override;
    void setPhotoAspectRatio(int value) override;
    void setJpgResolution(int value) override;
    void setVideoFileFormat(int value) override;
    void setVideoResAndFrRate(int value) override;
    void setVideoFormatResol(int value) override;
    void setContrast(int value) override;
    void setSharpness(int value) override;
    void setSaturation(int value) override;
    void setMonochrome(int value) override;
    void setElectronicShutter(int value) override;
    void setExposTimeBulbPreset(int value) override;
    void setAudioLevel(int value) override;
    void setAudioWindElim(int value) override;
    void setAudioVolSpeaker(int value) override;
    void setAudioVolHeadphone(int value) override;
    void setAudioVolMicrophone(int value) override;
    void setExposureSimulation(int value) override;
    void setLanguage(int value) override;
    void setExposureMode(int value) override;
    void setAperture(double value) override;
    void setShutterTime(double value) override;
    void setAutoFocusLimit(bool value) override;
    void setIntervalFrames(int value) override;
    void setIntervalTime(int value) override;

    int driveMode() override;
    int focusMode() override;
    int exposMetering() override;
    int exposCompens() override;
    int exposCompensStep() override;
    bool bracketingEnabled() override;
    int bracketingImageNumbers() override;
    int bracketingDeltaEV() override;
    int bracketingAutomatic() override;
    int shutterMode() override;
    int mirrorUpMode() override;
    int sensitivity() override;
    bool sensitivityAuto() override;
    int USBspeed() override;
    int RAMBufferFreeCaptures() override;
    int sensorBoardTemperature() override;
    bool keyLock() override;
    bool dngCompression() override;
    bool flashXSymbol() override;
    int fileFormat() override;
    double maxShutterTime() override;
    int whiteBalanceIndex() override;
    int whiteBalanceColorTemp() override;
    int jpgColorSpace() override;
    int storageType() override;
    int lightMeter() override;
    int autoreviewDuration() override;
    int autoPowerOff() override;
    int lockAEAF() override;
    int sensorFormat() override;
    int photoAspectRatio() override;
    int jpgResolution() override;
    int videoFileFormat() override;
    int videoResAndFrRate() override;
    int videoFormatResol() override;
    int contrast() override;
    int sharpness() override;
    int saturation() override;
    int monochrome() override;
    int electronicShutter() override;
    int exposTimeBulbPreset() override;
    int lensConnectionType() override;
    int orientation() override;
    int audioLevel() override;
    int audioWindElim() override;
    int audioVolSpeaker() override;
    int audioVolHeadphone() override;
    int audioVolMicrophone() override;
    int exposureSimulation() override;
    int language() override;
    int batterySource() override;
    int batteryInfo() override;
    int batteryLevelIntern() override;
    int batteryLevelExtern() override;
    int powerSwitch() override;
    int selfTimerRestTime() override;
    int bulbModeTime() override;
    int warnings() override;
    int iSOValue() override;
    int exposureMode() override;
    double aperture() override;
    double shutterTime() override;
    int focusDistance() override;
    int focusConfirmation() override;
    bool focusConfirmationBadSignal() override;
    bool focusConfirmationEnabled() override;
    bool autoFocusLimit() override;
    int autoFocusLimitDistance() override;
    int lightBalance() override;
    int flashCompensation() override;
    int flashStatus() override;

    bool featureFocusMode() override;
    bool featureMoveLensToPos() override;
    bool featureMoveLensRightLeft() override;
    bool featureSensorFormat() override;
    bool featurePhotoAspectRatio() override;
    bool featureJpgResSelection() override;
    bool featureVideoFileFormat() override;
    bool featureVideoResAndFrRate() override;
    bool featureVideoFormatResol() override;
    bool featureContrast() override;
    bool featureSharpness() override;
    bool featureSaturation() override;
    bool featureMonochrome() override;
    bool featureAutoFocusLimit() override;
    bool featureElectronicShutter() override;
    bool featureExposTimeBulbPreset() override;
    bool featureLensConnectionType() override;
    bool featureOrientation() override;
    bool featureAudioLevel() override;
    bool featureAudioWindElim() override;
    bool featureAudioVolSpeaker() override;
    bool featureAudioVolHeadphone() override;
    bool featureAudioVolMicrophone() override;
    bool featureExposCompensStep() override;
    bool featureExposureSimulation() override;
    bool featureFocusConfirmation() override;
    bool featureFocusDistance() override;
    bool featurePowerSave() override;
    bool featureDngCompression() override;
    bool featureInterval() override;
    bool featureKeyLock() override;
    bool featureLanguage() override;
    bool featureLiveView() override;
    bool featureMirrorUpMode() override;
    bool featureShutterMode() override;
    bool featureVideoRecording() override;
    bool featureWhiteBalance() override;
    bool featurePreview() override;
    bool featureHMI() override;
    bool featureFlashStatus() override;
    bool featureFlashXSymbol() override;
    bool featureWarnings() override;
    bool featureAperture() override;
    bool featureBracketing() override;
    bool featureJpgColorSpace() override;
    bool featureStorageType() override;
    bool featureAutoreviewDuration() override;
    bool featureSpare() override;

    int intervalFrames() override;
    int intervalTime() override;

protected:
    // Byte offsets shared by both layouts.
    enum Offset
    {
        OffDriveMode = 1,
        OffFocusMode = 2,
        OffExposureMetering = 3,
        OffExposureCompensation = 4,
        OffBracketing = 5,
        OffBracketingDeltaEV = 6,
        OffShutterMode = 7,
        OffMirrorUpMode = 9,
        OffSensitivityIndex = 10,
        OffUSBspeed = 11,
        OffRAMBufferFreeCaptures = 12,
        OffSensorBoardTemperature = 13,
        OffFlags = 14,
        OffFileFormat = 15,
        OffMaxShutterTime = 16,
        OffWhiteBalance = 18,
        OffWhiteBalanceColorTemp = 19,
        OffJpgColorSpace = 20,
        OffStorageType = 26,
        OffLightMeter = 27,
        OffAutoPowerOff = 47,
        OffLockAEAF = 60,
        OffJpgResolution = 61,
        OffLanguage = 64,
        OffBatterySource = 65,
        OffBatteryLevelIntern = 66,
        OffBatteryLevelExtern = 67,
        OffWarnings = 68,
        OffISOValue = 69,
        OffExposureMode = 71,
        OffAperture = 72,
        OffShutterTime = 74,
        OffFocusDistance = 76,
        OffFocusConfirmation = 80,
        OffLightBalance = 81,
        OffFlashCompensation = 82,
        OffFlashStatus = 84,
        OffFeatureBits = 98,
        OffFeatureBits2 = 99
    };
    enum FlagBit
    {
        FlagKeyLock = 0x01,
        FlagDngCompression = 0x02,
        FlagFlashXSymbol = 0x04
    };

    // For the second layout: names its log lines after className and leaves
    // the first read to the derived constructor.
    OLP_Logic_CameraSettingsByStruct(OLP_Commu_CameraAccess_Base* cameraAccess, OLP_Logic_DeviceInfo* deviceInfo,
                                     const char* className);

    // Sets the flags of the fields that differ between before and the cache.
    virtual void reportChanges(const Structure& before, SettingsChangeFlags* changes) const;
    // The flags of the fields both layouts share.
    void reportSharedChanges(const Structure& before, SettingsChangeFlags* changes) const;
    // "struct mode" for this layout, "struct mode M" for the second.
    virtual const char* modeName() const { return "struct mode"; }

    // "<class>::<method>" for log lines.
    QByteArray logName(const char* method) const;
    void logNotAvailable(const char* method) const;
    void logNotAvailableInMode(const char* method) const;
    void logNotAvailableReturningDefault(const char* method) const;
    void logOnlyExternally(const char* method) const;

    quint8 u8(int offset) const { return m_settings[offset]; }
    qint16 s16(int offset) const;
    quint16 u16(int offset) const;
    qint32 s32(int offset) const;
    static quint8 u8At(const Structure& s, int offset) { return s[offset]; }
    static quint16 u16At(const Structure& s, int offset);
    // Store a field and mark the structure dirty when the value changes.
    void storeU8(int offset, quint8 value);
    void storeU16(int offset, quint16 value);
    void storeFlag(quint8 bit, bool on);

    // Dump helpers: one line per getter at category 1024.
    void dumpHex(const QString& title) const;
    void dumpInt(const char* label, int value) const;
    void dumpYesNo(const char* label, bool value) const;
    void dumpMaxShutterTime();
    void dumpAperture();
    void dumpShutterTime();
    void dumpFeatures();

    OLP_Logic_APEXConverterShutterTime m_shutterTimeConverter;

private:
    int sensitivityFromIndex(int index) const;
    int sensitivityToIndex(int iso) const;

    const char* const m_className;
    bool m_bracketingFiveImages = false;
    bool m_valid = false;
    Structure m_settings{};
};
