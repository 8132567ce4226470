#include "OLP_Commu_EmuSettingsStruct.h"

#include "OLP_Commu_EmuDataset.h"
#include "OLP_Commu_EmuWire.h"

namespace {

using S = OLP_Commu_EmuSettingsStruct;

// The camera's private bytes: firmware state the host never interprets.
void privateBytes(OLP_Commu_EmuDataset& s, quint16 productId)
{
    const quint8 seed = quint8(productId);
    for (const int offset : {0, 8, 21, 22, 23, 24, 25, 48, 52, 56, 59, 62, 63, 85, 90, 97}) {
        s.putU8(offset, quint8(0x40 + offset + seed));
    }
    s.putU32(36, 0x5A000000u + productId);
}

// First layout (Kesta A and B).
QByteArray firstLayout(quint16 productId)
{
    const bool kestaB = productId == EmuWire::ProductKestaB;
    OLP_Commu_EmuDataset s(EmuWire::SettingsSize);
    privateBytes(s, productId);
    s.putU8(S::DriveMode, 0);             // single
    s.putU8(S::FocusMode, 0);             // AF-S
    s.putU8(S::Metering, 2);              // multi-field
    s.putU8(S::ExposureCompensation, 6);  // 0 EV in half stops
    s.putU8(S::Bracketing, 0);
    s.putU8(S::BracketingStep, 1);  // 1 EV
    s.putU8(S::ShutterMode, 1);
    s.putU8(S::MirrorUp, 0);
    s.putU8(S::SensitivityIndex, kestaB ? 2 : 1);  // ISO 100 / ISO 80
    s.putU8(S::UsbSpeed, 2);
    s.putU8(S::FreeCaptures, kestaB ? 12 : 8);
    s.putU8(S::BoardTemperature, 34);
    s.putU8(S::Flags, 0x02);  // DNG compression on
    s.putU8(S::FileFormat, 1);
    s.putU16(S::LongestTime, quint16(-1792));  // 125 s
    s.putU8(S::WhiteBalance, 0);
    s.putU8(S::ColourTemperature, 30);  // 5000 K
    s.putU8(S::JpgColourSpace, 0);
    s.putU8(S::StorageType, 1);
    s.putU8(S::AutoPowerOff, 2);
    s.putU8(S::LockAEAF, 0);
    s.putU8(S::JpgResolution, 0);
    s.putU8(S::Language, 1);
    s.putU8(S::BatterySource, 1);  // internal battery
    s.putU8(S::BatteryIntern, 85);
    s.putU8(S::BatteryExtern, 0xFF);  // no grip
    s.putU8(S::Warnings, 0);
    s.putU16(S::Iso, kestaB ? 100 : 80);
    s.putU8(S::ExposureMode, 3);
    s.putU16(S::Aperture, 1280);     // f/5.6
    s.putU16(S::ShutterTime, 1792);  // 1/125 s
    s.putU32(S::FocusDistance, 3000);
    s.putU8(S::FocusConfirmation, 0);
    s.putU8(S::LightBalance, quint8(-1));
    s.putU16(S::FlashCompensation, 0);
    s.putU8(S::FlashStatus, 0);
    // Kesta B: lens moves, JPG resolution, power save, DNG compression, key
    // lock, flash sync symbol. Kesta A: power save and key lock only.
    s.putU8(S::FeatureBits, kestaB ? 0x3F : 0x28);
    s.putU8(S::FeatureBits2, kestaB ? 0x01 : 0x00);
    return s.data();
}

// Second layout (Kesta C and E).
QByteArray secondLayout(quint16 productId)
{
    const bool kestaE = productId == EmuWire::ProductKestaE;
    OLP_Commu_EmuDataset s(EmuWire::SettingsSize);
    privateBytes(s, productId);
    s.putU8(7, 0x11);  // bytes of the first layout this camera keeps for itself
    s.putU8(9, 0x12);
    s.putU8(10, 0x13);
    s.putU8(S::DriveMode, 0);
    s.putU8(S::VideoMode, kestaE ? 0 : 1);  // 1920x1080p @ 25 / 24 fps
    s.putU8(S::Metering, 2);
    s.putU8(S::ExposureCompensation, 9);  // 0 EV in third stops
    s.putU8(S::Bracketing, 0);
    s.putU8(S::BracketingStep, 1);
    s.putU8(S::UsbSpeed, 2);
    s.putU8(S::FreeCaptures, 20);
    s.putU8(S::BoardTemperature, 38);
    s.putU8(S::Flags, 0x02);
    s.putU8(S::FileFormat, 1);
    s.putU16(S::LongestTime, quint16(-1792));
    s.putU8(S::WhiteBalance, 0);
    s.putU8(S::ColourTemperature, 30);
    s.putU8(S::JpgColourSpace, 0);
    s.putU8(S::StorageType, 1);
    s.putU16(S::LightMeter, quint16(-64));  // -1/4 EV
    s.putU8(S::AutoPowerOff, 2);
    s.putU8(S::LockAEAF, 0x14);
    s.putU8(S::JpgResolution, 0);
    s.putU8(S::Language, 1);
    s.putU8(S::BatterySource, 0);  // battery (this layout codes it the other way round)
    s.putU8(S::BatteryIntern, 70);
    s.putU8(S::BatteryExtern, 0x15);
    s.putU8(S::Warnings, 0);
    s.putU16(S::Iso, kestaE ? 320 : 200);
    s.putU8(S::ExposureMode, 1);  // aperture priority
    s.putU16(S::Aperture, 0x1617);
    s.putU16(S::ShutterTime, 1792);
    s.putU32(S::FocusDistance, 0x1A191817);
    s.putU8(S::FocusConfirmation, 0);
    s.putU8(S::LightBalance, 0x1B);
    s.putU16(S::FlashCompensation, 0);
    s.putU8(S::FlashStatus, 0);
    // JPG resolution, power save, DNG compression; Kesta E without JPG resolution.
    s.putU8(S::FeatureBits, kestaE ? 0x18 : 0x1C);
    s.putU8(S::FeatureBits2, 0);
    return s.data();
}

}  // namespace

bool OLP_Commu_EmuSettingsStruct::isStructureCamera(quint16 productId)
{
    return productId == EmuWire::ProductKestaA || productId == EmuWire::ProductKestaB || isSecondLayout(productId);
}

bool OLP_Commu_EmuSettingsStruct::isSecondLayout(quint16 productId)
{
    return productId == EmuWire::ProductKestaC || productId == EmuWire::ProductKestaE;
}

QByteArray OLP_Commu_EmuSettingsStruct::factoryState(quint16 productId)
{
    if (isSecondLayout(productId)) {
        return secondLayout(productId);
    }
    if (isStructureCamera(productId)) {
        return firstLayout(productId);
    }
    return QByteArray(EmuWire::SettingsSize, '\0');
}
