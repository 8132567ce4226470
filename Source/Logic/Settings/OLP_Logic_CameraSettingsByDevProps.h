#pragma once

#include <memory>

#include "OLP_Logic_CameraSettingsBase.h"
#include "OLP_Logic_DevicePropertyAccess.h"

class OLP_Logic_APEXConverterShutterTime;

// The settings of a camera that keeps each setting in its own PTP device
// property (every product except the four structure cameras): one cached raw
// value per property, a single read when the camera reports a property as
// changed, a full read of all properties the product has, and an immediate
// write of one property when a setter changes its value.
//
// Values are cached raw (as the camera encodes them) in one array indexed by
// Field; the getters and setters convert to and from the program's units.
//
// Thread: the controller thread (see OLP_Logic_CameraSettingsBase). Owns its
// shutter-time converter; holds the access object and the device information
// without owning them.
class OLP_Logic_CameraSettingsByDevProps : public OLP_Logic_CameraSettingsBase
{
public:
    // Reads every property at once (a full refresh without a change record).
    OLP_Logic_CameraSettingsByDevProps(OLP_Commu_CameraAccess_Base* cameraAccess, OLP_Logic_DeviceInfo* deviceInfo);
    ~OLP_Logic_CameraSettingsByDevProps() override;

    OLP_Logic_CameraSettingsByDevProps(const OLP_Logic_CameraSettingsByDevProps&) = delete;
    OLP_Logic_CameraSettingsByDevProps& operator=(const OLP_Logic_CameraSettingsByDevProps&) = delete;

    void dump(const QString& title) override;
    void recvFromCamera(quint16 propertyCode, SettingsChangeFlags* changes) override;
    void recvFromCamera(SettingsChangeFlags* changes) override;
    void sendToCamera() override;
    // True once the storage type and the auto power-off, the values the
    // camera object saves at connection and writes back at disconnection,
    // were read from the camera; the initial values are no camera's.
    bool valuesValid() const override;

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

    // The shutter-time converter this object uses for its raw codes.
    const OLP_Logic_APEXConverterShutterTime& shutterTimeConverter() const { return *m_shutterTime; }

private:
    // One cached value per device property, in the order of the camera's
    // property list (see kFields in the .cpp).
    enum Field
    {
        BatteryInfo,
        BatteryLevelIntern,
        BatteryLevelExtern,
        ExposureTimeMax,
        PowerSwitch,
        SelfTimerRestTime,
        BulbModeTime,
        FlashStatus,
        FlashSyncStatus,
        FocusConfirmBadSignal,
        FocusConfirmEnabled,
        FocusConfirmValue,
        FocusDistance,
        AutoFocusLimit,
        AutoFocusLimitDist,
        ElectronicShutter,
        ExposTimeBulbPreset,
        LensConnectionType,
        Orientation,
        SensitivityASA,
        SensitivityAuto,
        DriveMode,
        IntervalFrames,
        IntervalTime,
        FocusMode,
        FileFormat,
        ExposureMeteringMode,
        ExposureProgram,
        ExposureCompensation,
        ExposCompensStepSize,
        BracketingEnabled,
        BracketingFrames,
        BracketingAperture,
        BracketingAutomatic,
        MirrorUpMode,
        SensorFormat,
        PhotoAspectRatio,
        PhotoResolutionJPG,
        VideoFileFormat,
        VideoResAndFrRate,
        VideoFormatResol,
        Contrast,
        Sharpness,
        Saturation,
        Monochrome,
        AudioLevel,
        AudioWindElim,
        AudioVolSpeaker,
        AudioVolHeadphone,
        AudioVolMicrophone,
        ExposureSimulation,
        WhiteBalance,
        WhiteBalanceColorTemp,
        ColorManagement,
        ExternalShooting,
        AutoreviewDuration,
        AutoPowerOff,
        KeyLock,
        Language,
        Lightmeter,
        ExposureTime,
        Aperture,
        FieldCount
    };

    // How the raw bits of a property become the cached value.
    enum Kind
    {
        Int32,          // 4 bytes, signed
        UInt8,          // low byte, unsigned
        UInt16,         // low 16 bits, unsigned
        Int16,          // low 16 bits, signed
        Bool,           // not 0
        ZeroMeansTrue,  // 0 (ExposureIndex 0: automatic sensitivity)
    };

    struct FieldDesc
    {
        quint16 code;       // property read (and written unless writeCode is set)
        quint16 writeCode;  // property written instead, 0 when it is code
        quint8 width;       // bytes read and written
        Kind kind;
        qint32 initial;  // cached value before the first read
        int flag;        // index in SettingsChangeFlags
        const char* logName;
    };
    static const FieldDesc kFields[FieldCount];

    // The field that answers a property-change report for this code, -1 for none.
    static int fieldForCode(quint16 propertyCode);
    static qint32 normalise(Kind kind, quint32 raw);

    bool isPelvo() const;
    bool isSeventh() const;

    // Stores a changed value and flags it; true when it changed.
    bool store(Field field, qint32 value, SettingsChangeFlags* changes);
    // Reads, logs and stores one field; true when the value changed.
    bool readField(Field field, SettingsChangeFlags* changes);
    void readProperty(Field field, SettingsChangeFlags* changes);
    void readSensitivity(SettingsChangeFlags* changes);
    void readFocusConfirmation(SettingsChangeFlags* changes);
    void readElectronicShutter(SettingsChangeFlags* changes);
    void applyBulbPreset(SettingsChangeFlags* changes);

    // The setter contract: nothing when the converted value equals the cache;
    // otherwise write it and keep it only when the camera took it. True when
    // the value was written.
    bool writeField(Field field, qint32 value, const char* callerName);

    void notAvailable(const char* callerName) const;
    void dumpInt(const char* name, int value) const;
    void dumpBool(const char* name, bool value) const;
    void dumpDouble(const char* name, double value) const;

    OLP_Logic_DevicePropertyAccess m_properties;
    const quint32 m_productId;
    std::unique_ptr<OLP_Logic_APEXConverterShutterTime> m_shutterTime;
    qint32 m_values[FieldCount];
    bool m_read[FieldCount];  // the field was read from the camera at least once
};
