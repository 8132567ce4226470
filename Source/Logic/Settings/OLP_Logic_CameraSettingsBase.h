#pragma once

#include <QString>

class OLP_Commu_CameraAccess_Base;
class OLP_Logic_APEXConverterShutterTime;
class OLP_Logic_DeviceInfo;

// Which settings changed in one refresh: 63 flags in a fixed order. The caller
// zero-fills the record; a refresh only ever sets flags.
struct SettingsChangeFlags
{
    bool batteryInfo = false;                 // 0
    bool batteryLevelIntern = false;          // 1
    bool batteryLevelExtern = false;          // 2
    bool maxShutterTime = false;              // 3
    bool powerSwitch = false;                 // 4
    bool selfTimerRestTime = false;           // 5
    bool bulbModeTime = false;                // 6
    bool driveMode = false;                   // 7
    bool focusMode = false;                   // 8
    bool exposMetering = false;               // 9
    bool exposCompens = false;                // 10
    bool exposCompensStep = false;            // 11
    bool bracketingEnabled = false;           // 12
    bool bracketingImageNumbers = false;      // 13
    bool bracketingDeltaEV = false;           // 14
    bool bracketingAutomatic = false;         // 15
    bool mirrorUpMode = false;                // 16
    bool sensitivity = false;                 // 17
    bool keyLock = false;                     // 18
    bool sensorFormat = false;                // 19
    bool photoAspectRatio = false;            // 20
    bool jpgResolution = false;               // 21
    bool videoFileFormat = false;             // 22
    bool videoResAndFrRate = false;           // 23
    bool videoFormatResol = false;            // 24
    bool contrast = false;                    // 25
    bool sharpness = false;                   // 26
    bool saturation = false;                  // 27
    bool monochrome = false;                  // 28
    bool electronicShutter = false;           // 29
    bool exposTimeBulbPreset = false;         // 30
    bool lensConnectionType = false;          // 31
    bool orientation = false;                 // 32
    bool audioLevel = false;                  // 33
    bool audioWindElim = false;               // 34
    bool audioVolSpeaker = false;             // 35
    bool audioVolHeadphone = false;           // 36
    bool audioVolMicrophone = false;          // 37
    bool exposureSimulation = false;          // 38
    bool language = false;                    // 39
    bool dngCompression = false;              // 40
    bool flashStatus = false;                 // 41
    bool flashXSymbol = false;                // 42
    bool lightMeter = false;                  // 43
    bool fileFormat = false;                  // 44
    bool whiteBalanceIndex = false;           // 45
    bool whiteBalanceColorTemp = false;       // 46
    bool jpgColorSpace = false;               // 47
    bool storageType = false;                 // 48
    bool autoreviewDuration = false;          // 49
    bool autoPowerOff = false;                // 50
    bool exposureMode = false;                // 51
    bool aperture = false;                    // 52
    bool shutterTime = false;                 // 53
    bool focusDistance = false;               // 54
    bool focusConfirmation = false;           // 55
    bool focusConfirmationEnabled = false;    // 56
    bool focusConfirmationBadSignal = false;  // 57
    bool autoFocusLimit = false;              // 58
    bool autoFocusLimitDistance = false;      // 59
    bool warnings = false;                    // 60
    bool intervalFrames = false;              // 61
    bool intervalTime = false;                // 62

    static constexpr int count = 63;
    // The flag at its index (0..62), for callers that walk the record in order.
    bool& at(int index);
    bool at(int index) const;
    bool any() const;
};

// The settings of one connected camera behind one interface, in the program's
// own units: f-numbers, seconds, milli-EV and converter values. Three variants
// keep them as device properties or in one of two settings structures.
//
// Thread: used from the controller thread; transfer threads reach it only
// through the camera object while they hold its transfer lock. No lock of its own.
class OLP_Logic_CameraSettingsBase
{
public:
    OLP_Logic_CameraSettingsBase(OLP_Commu_CameraAccess_Base* cameraAccess, OLP_Logic_DeviceInfo* deviceInfo);
    virtual ~OLP_Logic_CameraSettingsBase();

    // Creates the variant the product keeps its settings in (the caller owns it).
    static OLP_Logic_CameraSettingsBase* create(OLP_Commu_CameraAccess_Base* cameraAccess,
                                                OLP_Logic_DeviceInfo* deviceInfo);

    void markDirty() { m_settingsDirty = true; }
    void clearDirty() { m_settingsDirty = false; }
    bool isDirty() const { return m_settingsDirty; }
    void sendToCameraIfDirty();

    OLP_Commu_CameraAccess_Base* cameraAccess() const { return m_cameraAccess; }
    OLP_Logic_DeviceInfo* deviceInfo() const { return m_deviceInfo; }

    virtual void dump(const QString& title) = 0;
    virtual void initialize() {}
    virtual void terminate() {}
    virtual void recvFromCamera(quint16 propertyCode, SettingsChangeFlags* changes) = 0;
    virtual void recvFromCamera(SettingsChangeFlags* changes) = 0;
    virtual void sendToCamera() = 0;
    // False while the cached values do not come from a successful read of the
    // camera (a variant that cannot tell answers true).
    virtual bool valuesValid() const { return true; }

    virtual void setDriveMode(int value) = 0;
    virtual void setFocusMode(int value) = 0;
    virtual void setExposMetering(int value) = 0;
    virtual void setExposCompens(int value) = 0;
    virtual void setExposCompensStepSize(int value) = 0;
    virtual void setBracketEnabled(bool value) = 0;
    virtual void setBracketImgNum(int value) = 0;
    virtual void setBracketDeltaEV(int value) = 0;
    virtual void setBracketingAutomatic(int value) = 0;
    virtual void setMirrorUpMode(int value) = 0;
    virtual void setSensitivity(int value) = 0;
    virtual void setKeyLock(bool value) = 0;
    virtual void setDngCompression(bool value) = 0;
    virtual void setFlashXSymbol(bool value) = 0;
    virtual void setFileFormat(int value) = 0;
    virtual void setWhiteBalanceIndex(int value) = 0;
    virtual void setWhiteBalanceColorTemp(int value) = 0;
    virtual void setJpgColorSpace(int value) = 0;
    virtual void setStorageType(int value) = 0;
    virtual void setAutoreviewDuration(int value) = 0;
    virtual void setAutoPowerOff(int value) = 0;
    virtual void setLockAEAF(bool value) = 0;
    virtual void setSensorFormat(int value) = 0;
    virtual void setPhotoAspectRatio(int value) = 0;
    virtual void setJpgResolution(int value) = 0;
    virtual void setVideoFileFormat(int value) = 0;
    virtual void setVideoResAndFrRate(int value) = 0;
    virtual void setVideoFormatResol(int value) = 0;
    virtual void setContrast(int value) = 0;
    virtual void setSharpness(int value) = 0;
    virtual void setSaturation(int value) = 0;
    virtual void setMonochrome(int value) = 0;
    virtual void setElectronicShutter(int value) = 0;
    virtual void setExposTimeBulbPreset(int value) = 0;
    virtual void setAudioLevel(int value) = 0;
    virtual void setAudioWindElim(int value) = 0;
    virtual void setAudioVolSpeaker(int value) = 0;
    virtual void setAudioVolHeadphone(int value) = 0;
    virtual void setAudioVolMicrophone(int value) = 0;
    virtual void setExposureSimulation(int value) = 0;
    virtual void setLanguage(int value) = 0;
    virtual void setExposureMode(int value) = 0;
    virtual void setAperture(double value) = 0;
    virtual void setShutterTime(double value) = 0;
    virtual void setAutoFocusLimit(bool value) = 0;
    virtual void setIntervalFrames(int value) = 0;
    virtual void setIntervalTime(int value) = 0;

    virtual int driveMode() = 0;
    virtual int focusMode() = 0;
    virtual int exposMetering() = 0;
    virtual int exposCompens() = 0;
    virtual int exposCompensStep() = 0;
    virtual bool bracketingEnabled() = 0;
    virtual int bracketingImageNumbers() = 0;
    virtual int bracketingDeltaEV() = 0;
    virtual int bracketingAutomatic() = 0;
    virtual int shutterMode() = 0;
    virtual int mirrorUpMode() = 0;
    virtual int sensitivity() = 0;
    virtual bool sensitivityAuto() = 0;
    virtual int USBspeed() = 0;
    virtual int RAMBufferFreeCaptures() = 0;
    virtual int sensorBoardTemperature() = 0;
    virtual bool keyLock() = 0;
    virtual bool dngCompression() = 0;
    virtual bool flashXSymbol() = 0;
    virtual int fileFormat() = 0;
    virtual double maxShutterTime() = 0;
    virtual int whiteBalanceIndex() = 0;
    virtual int whiteBalanceColorTemp() = 0;
    virtual int jpgColorSpace() = 0;
    virtual int storageType() = 0;
    virtual int lightMeter() = 0;
    virtual int autoreviewDuration() = 0;
    virtual int autoPowerOff() = 0;
    virtual int lockAEAF() = 0;
    virtual int sensorFormat() = 0;
    virtual int photoAspectRatio() = 0;
    virtual int jpgResolution() = 0;
    virtual int videoFileFormat() = 0;
    virtual int videoResAndFrRate() = 0;
    virtual int videoFormatResol() = 0;
    virtual int contrast() = 0;
    virtual int sharpness() = 0;
    virtual int saturation() = 0;
    virtual int monochrome() = 0;
    virtual int electronicShutter() = 0;
    virtual int exposTimeBulbPreset() = 0;
    virtual int lensConnectionType() = 0;
    virtual int orientation() = 0;
    virtual int audioLevel() = 0;
    virtual int audioWindElim() = 0;
    virtual int audioVolSpeaker() = 0;
    virtual int audioVolHeadphone() = 0;
    virtual int audioVolMicrophone() = 0;
    virtual int exposureSimulation() = 0;
    virtual int language() = 0;
    virtual int batterySource() = 0;
    virtual int batteryInfo() = 0;
    virtual int batteryLevelIntern() = 0;
    virtual int batteryLevelExtern() = 0;
    virtual int powerSwitch() = 0;
    virtual int selfTimerRestTime() = 0;
    virtual int bulbModeTime() = 0;
    virtual int warnings() = 0;
    virtual int iSOValue() = 0;
    virtual int exposureMode() = 0;
    virtual double aperture() = 0;
    virtual double shutterTime() = 0;
    virtual int focusDistance() = 0;
    virtual int focusConfirmation() = 0;
    virtual bool focusConfirmationBadSignal() = 0;
    virtual bool focusConfirmationEnabled() = 0;
    virtual bool autoFocusLimit() = 0;
    virtual int autoFocusLimitDistance() = 0;
    virtual int lightBalance() = 0;
    virtual int flashCompensation() = 0;
    virtual int flashStatus() = 0;

    virtual bool featureFocusMode() = 0;
    virtual bool featureMoveLensToPos() = 0;
    virtual bool featureMoveLensRightLeft() = 0;
    virtual bool featureSensorFormat() = 0;
    virtual bool featurePhotoAspectRatio() = 0;
    virtual bool featureJpgResSelection() = 0;
    virtual bool featureVideoFileFormat() = 0;
    virtual bool featureVideoResAndFrRate() = 0;
    virtual bool featureVideoFormatResol() = 0;
    virtual bool featureContrast() = 0;
    virtual bool featureSharpness() = 0;
    virtual bool featureSaturation() = 0;
    virtual bool featureMonochrome() = 0;
    virtual bool featureAutoFocusLimit() = 0;
    virtual bool featureElectronicShutter() = 0;
    virtual bool featureExposTimeBulbPreset() = 0;
    virtual bool featureLensConnectionType() = 0;
    virtual bool featureOrientation() = 0;
    virtual bool featureAudioLevel() = 0;
    virtual bool featureAudioWindElim() = 0;
    virtual bool featureAudioVolSpeaker() = 0;
    virtual bool featureAudioVolHeadphone() = 0;
    virtual bool featureAudioVolMicrophone() = 0;
    virtual bool featureExposCompensStep() = 0;
    virtual bool featureExposureSimulation() = 0;
    virtual bool featureFocusConfirmation() = 0;
    virtual bool featureFocusDistance() = 0;
    virtual bool featurePowerSave() = 0;
    virtual bool featureDngCompression() = 0;
    virtual bool featureInterval() = 0;
    virtual bool featureKeyLock() = 0;
    virtual bool featureLanguage() = 0;
    virtual bool featureLiveView() = 0;
    virtual bool featureMirrorUpMode() = 0;
    virtual bool featureShutterMode() = 0;
    virtual bool featureVideoRecording() = 0;
    virtual bool featureWhiteBalance() = 0;
    virtual bool featurePreview() = 0;
    virtual bool featureHMI() = 0;
    virtual bool featureFlashStatus() = 0;
    virtual bool featureFlashXSymbol() = 0;
    virtual bool featureWarnings() = 0;
    virtual bool featureAperture() = 0;
    virtual bool featureBracketing() = 0;
    virtual bool featureJpgColorSpace() = 0;
    virtual bool featureStorageType() = 0;
    virtual bool featureAutoreviewDuration() = 0;
    virtual bool featureSpare() = 0;

    virtual int intervalFrames() = 0;
    virtual int intervalTime() = 0;

private:
    OLP_Commu_CameraAccess_Base* m_cameraAccess;
    OLP_Logic_DeviceInfo* m_deviceInfo;
    bool m_settingsDirty = false;
};
