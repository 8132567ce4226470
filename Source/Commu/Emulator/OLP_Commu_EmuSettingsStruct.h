#pragma once

#include <QByteArray>
#include <QtGlobal>

// The 100-byte settings structure of the structure cameras (Kesta A, B, C
// and E), written from the camera's side: where the camera keeps each of its
// settings and what a camera straight out of the box holds there. Kesta A and
// B use the first layout, Kesta C and E the second one (video mode instead of
// focus mode, third-stop exposure compensation, ISO number, light meter,
// warning bits). Bytes the camera keeps for itself carry fixed contents so
// that a host which does not write them back unchanged is noticed.
class OLP_Commu_EmuSettingsStruct
{
public:
    OLP_Commu_EmuSettingsStruct() = delete;

    // Where the camera keeps its settings (byte offsets, little-endian).
    enum eOffset
    {
        DriveMode = 1,
        FocusMode = 2,  // first layout
        VideoMode = 2,  // second layout
        Metering = 3,
        ExposureCompensation = 4,
        Bracketing = 5,
        BracketingStep = 6,
        ShutterMode = 7,
        MirrorUp = 9,
        SensitivityIndex = 10,
        UsbSpeed = 11,
        FreeCaptures = 12,
        BoardTemperature = 13,
        Flags = 14,
        FileFormat = 15,
        LongestTime = 16,
        WhiteBalance = 18,
        ColourTemperature = 19,
        JpgColourSpace = 20,
        StorageType = 26,
        LightMeter = 27,  // second layout, 16 bits
        AutoPowerOff = 47,
        LockAEAF = 60,
        JpgResolution = 61,
        Language = 64,
        BatterySource = 65,
        BatteryIntern = 66,
        BatteryExtern = 67,
        Warnings = 68,
        Iso = 69,
        ExposureMode = 71,
        Aperture = 72,
        ShutterTime = 74,
        FocusDistance = 76,
        FocusConfirmation = 80,
        LightBalance = 81,  // first layout
        FlashCompensation = 82,
        FlashStatus = 84,
        FeatureBits = 98,
        FeatureBits2 = 99
    };

    // Whether the product keeps its settings in this structure at all.
    static bool isStructureCamera(quint16 productId);
    // Whether the product uses the second layout.
    static bool isSecondLayout(quint16 productId);
    // The structure of a camera out of the box; all zeros for other products.
    static QByteArray factoryState(quint16 productId);
};
