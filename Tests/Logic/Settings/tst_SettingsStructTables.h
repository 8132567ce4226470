#pragma once

// Tables of the two settings-structure layouts, shared by the test against the
// scripted transport and the one against the camera emulator. Every row is
// written from the layout descriptions (offset, width, encoding, change flag),
// not from the code under test.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVector>
#include <QtTest>
#include <functional>
#include <initializer_list>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_CameraSettingsBase.h"

namespace StructTables {

struct Patch
{
    int offset;
    QByteArray bytes;
};
using Patches = QVector<Patch>;
using Flags = QList<int>;

inline QByteArray b(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values) {
        out.append(char(quint8(v)));
    }
    return out;
}

inline Patches p(int offset, std::initializer_list<int> values)
{
    return Patches{Patch{offset, b(values)}};
}

inline Patches p2(int offset1, std::initializer_list<int> values1, int offset2, std::initializer_list<int> values2)
{
    return Patches{Patch{offset1, b(values1)}, Patch{offset2, b(values2)}};
}

inline QByteArray applied(QByteArray structure, const Patches& patches)
{
    for (const Patch& patch : patches) {
        structure.replace(patch.offset, patch.bytes.size(), patch.bytes);
    }
    return structure;
}

// Bytes no layout interprets get a recognisable pattern, so that a write that
// loses or moves them shows.
inline QByteArray pattern()
{
    QByteArray s(100, '\0');
    for (int i = 0; i < 100; ++i) {
        s[i] = char(quint8(i * 7 + 3));
    }
    return s;
}

// A ProductIdKestaB camera in a plausible state (first layout).
inline QByteArray baselineStruct()
{
    QByteArray s = pattern();
    s[0] = char(0xA5);
    s[1] = 0;  // drive mode single
    s[2] = 1;  // focus mode
    s[3] = 2;  // multi-field metering
    s[4] = 6;  // 0 EV
    s[5] = 0;  // bracketing off
    s[6] = 1;  // 1 EV
    s[7] = 1;  // shutter mode
    s[8] = 0x5A;
    s[9] = 0;                                       // mirror-up off
    s[10] = 2;                                      // ISO 100 on KestaB, 160 on KestaA
    s[11] = 2;                                      // USB speed
    s[12] = 9;                                      // free captures
    s[13] = 35;                                     // sensor board temperature
    s[14] = 0x02;                                   // DNG compression on
    s[15] = 1;                                      // DNG + JPG fine
    s.replace(16, 2, b({0x00, 0xF9}));              // -1792: 125 s
    s[18] = 0;                                      // auto white balance
    s[19] = 30;                                     // 5000 K
    s[20] = 0;                                      // sRGB
    s[26] = 1;                                      // storage type
    s[47] = 2;                                      // 5 minutes
    s[60] = 0;                                      // AE/AF lock
    s[61] = 0;                                      // JPG resolution
    s[64] = 1;                                      // language
    s[65] = 1;                                      // battery source
    s[66] = 80;                                     // internal level
    s[67] = 255;                                    // no external battery
    s[68] = 0;                                      // no warning
    s.replace(69, 2, b({100, 0}));                  // ISO 100
    s[71] = 3;                                      // exposure mode
    s.replace(72, 2, b({0x00, 0x05}));              // 1280: f/5.6
    s.replace(74, 2, b({0x00, 0x07}));              // 1792: 1/125 s
    s.replace(76, 4, b({0xC4, 0x09, 0x00, 0x00}));  // 2500 mm
    s[80] = 0;                                      // focus confirmation
    s[81] = char(0xFE);                             // light balance -2
    s.replace(82, 2, b({0xFD, 0xFF}));              // flash compensation -3
    s[84] = 0;                                      // flash status
    s[98] = 0x35;
    s[99] = 0x01;
    return s;
}

// A ProductIdKestaC camera in a plausible state (second layout).
inline QByteArray baselineStructM()
{
    QByteArray s = baselineStruct();
    s[2] = 1;                           // 1920x1080p @ 24fps
    s[4] = 9;                           // 0 EV in third stops
    s.replace(27, 2, b({0x00, 0x01}));  // light meter 256 (1 EV)
    s[65] = 0;                          // battery source raw 0 (reads 1)
    s.replace(69, 2, b({0x90, 0x01}));  // ISO 400
    return s;
}

// Flags a failed read reports after the baselines: every field that was not zero.
inline Flags zeroedFlagsStruct()
{
    return {0, 1, 2, 3, 4, 8, 9, 10, 14, 17, 39, 40, 43, 44, 46, 48, 50, 51, 52, 53, 54};
}

inline Flags zeroedFlagsStructM()
{
    return {0, 1, 3, 9, 10, 14, 17, 23, 39, 40, 43, 44, 46, 48, 50, 51, 53};
}

using Getter = std::function<double(OLP_Logic_CameraSettingsBase*)>;
using Setter = std::function<void(OLP_Logic_CameraSettingsBase*, double)>;

#define OLP_GETTER(name)                                                                         \
    {                                                                                            \
        QStringLiteral(#name), [](OLP_Logic_CameraSettingsBase* s) { return double(s->name()); } \
    }
inline const QHash<QString, Getter>& getters()
{
    static const QHash<QString, Getter> table = {
        OLP_GETTER(driveMode),
        OLP_GETTER(focusMode),
        OLP_GETTER(exposMetering),
        OLP_GETTER(exposCompens),
        OLP_GETTER(bracketingEnabled),
        OLP_GETTER(bracketingImageNumbers),
        OLP_GETTER(bracketingDeltaEV),
        OLP_GETTER(shutterMode),
        OLP_GETTER(powerSwitch),
        OLP_GETTER(mirrorUpMode),
        OLP_GETTER(sensitivity),
        OLP_GETTER(sensitivityAuto),
        OLP_GETTER(USBspeed),
        OLP_GETTER(RAMBufferFreeCaptures),
        OLP_GETTER(sensorBoardTemperature),
        OLP_GETTER(keyLock),
        OLP_GETTER(dngCompression),
        OLP_GETTER(flashXSymbol),
        OLP_GETTER(fileFormat),
        OLP_GETTER(maxShutterTime),
        OLP_GETTER(whiteBalanceIndex),
        OLP_GETTER(whiteBalanceColorTemp),
        OLP_GETTER(jpgColorSpace),
        OLP_GETTER(storageType),
        OLP_GETTER(lightMeter),
        OLP_GETTER(autoPowerOff),
        OLP_GETTER(lockAEAF),
        OLP_GETTER(jpgResolution),
        OLP_GETTER(videoResAndFrRate),
        OLP_GETTER(language),
        OLP_GETTER(batterySource),
        OLP_GETTER(batteryInfo),
        OLP_GETTER(batteryLevelIntern),
        OLP_GETTER(batteryLevelExtern),
        OLP_GETTER(warnings),
        OLP_GETTER(iSOValue),
        OLP_GETTER(exposureMode),
        OLP_GETTER(aperture),
        OLP_GETTER(shutterTime),
        OLP_GETTER(focusDistance),
        OLP_GETTER(focusConfirmation),
        OLP_GETTER(lightBalance),
        OLP_GETTER(flashCompensation),
        OLP_GETTER(flashStatus),
    };
    return table;
}
#undef OLP_GETTER

#define OLP_SETTER(name, type)                                                                     \
    {                                                                                              \
        QStringLiteral(#name), [](OLP_Logic_CameraSettingsBase* s, double v) { s->name(type(v)); } \
    }
inline const QHash<QString, Setter>& setters()
{
    static const QHash<QString, Setter> table = {
        OLP_SETTER(setDriveMode, int),
        OLP_SETTER(setFocusMode, int),
        OLP_SETTER(setExposMetering, int),
        OLP_SETTER(setExposCompens, int),
        OLP_SETTER(setBracketEnabled, bool),
        OLP_SETTER(setBracketImgNum, int),
        OLP_SETTER(setBracketDeltaEV, int),
        OLP_SETTER(setMirrorUpMode, int),
        OLP_SETTER(setSensitivity, int),
        OLP_SETTER(setKeyLock, bool),
        OLP_SETTER(setDngCompression, bool),
        OLP_SETTER(setFlashXSymbol, bool),
        OLP_SETTER(setFileFormat, int),
        OLP_SETTER(setWhiteBalanceIndex, int),
        OLP_SETTER(setWhiteBalanceColorTemp, int),
        OLP_SETTER(setJpgColorSpace, int),
        OLP_SETTER(setStorageType, int),
        OLP_SETTER(setAutoPowerOff, int),
        OLP_SETTER(setLockAEAF, bool),
        OLP_SETTER(setJpgResolution, int),
        OLP_SETTER(setVideoResAndFrRate, int),
        OLP_SETTER(setLanguage, int),
        OLP_SETTER(setExposureMode, int),
        OLP_SETTER(setAperture, double),
        OLP_SETTER(setShutterTime, double),
    };
    return table;
}
#undef OLP_SETTER

// Columns: layoutM, product, before, after, getter, expected, flags.
// The camera starts from the layout's baseline with `before` applied, then
// reports the baseline with `after` applied.
inline void addFieldColumns()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<quint32>("product");
    QTest::addColumn<Patches>("before");
    QTest::addColumn<Patches>("after");
    QTest::addColumn<QString>("getter");
    QTest::addColumn<double>("expected");
    QTest::addColumn<Flags>("flags");
}

inline void fieldRow(const char* name, bool layoutM, quint32 product, const Patches& before, const Patches& after,
                     const char* getter, double expected, const Flags& flags)
{
    QTest::newRow(name) << layoutM << product << before << after << QString::fromLatin1(getter) << expected << flags;
}

inline void addFieldRows()
{
    const quint32 B = ProductIdKestaB;
    const quint32 A = ProductIdKestaA;
    const quint32 C = ProductIdKestaC;
    const quint32 E = ProductIdKestaE;
    const Patches none;

    // First layout.
    fieldRow("S driveMode", false, B, none, p(1, {4}), "driveMode", 4, {7});
    fieldRow("S focusMode", false, B, none, p(2, {2}), "focusMode", 2, {8});
    fieldRow("S exposMetering", false, B, none, p(3, {0}), "exposMetering", 0, {9});
    fieldRow("S exposCompens +2", false, B, none, p(4, {10}), "exposCompens", 2000, {10});
    fieldRow("S exposCompens -3", false, B, none, p(4, {0}), "exposCompens", -3000, {10});
    fieldRow("S exposCompens index 13", false, B, none, p(4, {13}), "exposCompens", 3000, {10});
    fieldRow("S exposCompens index 200", false, B, none, p(4, {200}), "exposCompens", 3000, {10});
    fieldRow("S bracketing on 3", false, B, none, p(5, {1}), "bracketingEnabled", 1, {12, 13});
    fieldRow("S bracketing images 3", false, B, none, p(5, {1}), "bracketingImageNumbers", 3, {12, 13});
    fieldRow("S bracketing images 5", false, B, none, p(5, {2}), "bracketingImageNumbers", 5, {12, 13});
    fieldRow("S bracketing 3 to 5", false, B, p(5, {1}), p(5, {2}), "bracketingImageNumbers", 5, {13});
    fieldRow("S bracketing off", false, B, p(5, {2}), none, "bracketingEnabled", 0, {12, 13});
    fieldRow("S bracketing code 7", false, B, none, p(5, {7}), "bracketingImageNumbers", 3, {12, 13});
    fieldRow("S deltaEV 3000", false, B, none, p(6, {3}), "bracketingDeltaEV", 3000, {14});
    fieldRow("S deltaEV 500", false, B, none, p(6, {0}), "bracketingDeltaEV", 500, {14});
    fieldRow("S deltaEV 2000", false, B, none, p(6, {2}), "bracketingDeltaEV", 2000, {14});
    fieldRow("S deltaEV unknown", false, B, none, p(6, {9}), "bracketingDeltaEV", 1000, {14});
    fieldRow("S shutterMode", false, B, none, p(7, {0}), "shutterMode", 0, {4});
    fieldRow("S powerSwitch 0", false, B, none, p(7, {0}), "powerSwitch", 2, {4});
    fieldRow("S powerSwitch 1", false, B, p(7, {0}), none, "powerSwitch", 3, {4});
    fieldRow("S powerSwitch other", false, B, none, p(7, {5}), "powerSwitch", 0, {4});
    fieldRow("S mirrorUpMode", false, B, none, p(9, {1}), "mirrorUpMode", 1, {16});
    fieldRow("S sensitivity B", false, B, none, p(10, {5}), "sensitivity", 800, {17});
    fieldRow("S sensitivity A", false, A, none, p(10, {5}), "sensitivity", 1250, {17});
    fieldRow("S sensitivity A index 1", false, A, none, p(10, {1}), "sensitivity", 80, {17});
    fieldRow("S sensitivity auto", false, B, none, p(10, {0}), "sensitivityAuto", 1, {17});
    fieldRow("S sensitivity not auto", false, B, p(10, {0}), none, "sensitivityAuto", 0, {17});
    fieldRow("S sensitivity out of range", false, B, none, p(10, {7}), "sensitivity", 0, {17});
    fieldRow("S USBspeed", false, B, none, p(11, {3}), "USBspeed", 3, {});
    fieldRow("S RAMBufferFreeCaptures", false, B, none, p(12, {1}), "RAMBufferFreeCaptures", 1, {});
    fieldRow("S sensorBoardTemperature", false, B, none, p(13, {80}), "sensorBoardTemperature", 80, {});
    fieldRow("S keyLock", false, B, none, p(14, {0x03}), "keyLock", 1, {18});
    fieldRow("S dngCompression", false, B, none, p(14, {0x00}), "dngCompression", 0, {40});
    fieldRow("S flashXSymbol", false, B, none, p(14, {0x06}), "flashXSymbol", 1, {42});
    fieldRow("S flags bit 3", false, B, none, p(14, {0x0A}), "dngCompression", 1, {});
    fieldRow("S fileFormat", false, B, none, p(15, {4}), "fileFormat", 4, {44});
    fieldRow("S maxShutterTime", false, B, none, p(16, {0x00, 0xFD}), "maxShutterTime", 8, {3});
    fieldRow("S maxShutterTime high byte", false, B, none, p(17, {0x00}), "maxShutterTime", 1, {3});
    fieldRow("S whiteBalance", false, B, none, p(18, {10}), "whiteBalanceIndex", 10, {45});
    fieldRow("S whiteBalanceColorTemp", false, B, none, p(19, {62}), "whiteBalanceColorTemp", 62, {46});
    fieldRow("S jpgColorSpace", false, B, none, p(20, {2}), "jpgColorSpace", 2, {47});
    fieldRow("S storageType", false, B, none, p(26, {2}), "storageType", 2, {48});
    fieldRow("S autoPowerOff", false, B, none, p(47, {3}), "autoPowerOff", 3, {50});
    fieldRow("S lockAEAF", false, B, none, p(60, {1}), "lockAEAF", 1, {});
    fieldRow("S jpgResolution", false, B, none, p(61, {2}), "jpgResolution", 2, {21});
    fieldRow("S language", false, B, none, p(64, {5}), "language", 5, {39});
    fieldRow("S batterySource", false, B, none, p(65, {0}), "batterySource", 0, {0});
    fieldRow("S batteryInfo on mains", false, B, none, p(65, {0}), "batteryInfo", 3, {0});
    fieldRow("S batteryLevelIntern", false, B, none, p(66, {40}), "batteryLevelIntern", 40, {0, 1});
    fieldRow("S batteryInfo no battery", false, B, none, p(66, {255}), "batteryInfo", 4, {0, 1});
    fieldRow("S batteryInfo intern only", false, B, none, p(66, {40}), "batteryInfo", 1, {0, 1});
    fieldRow("S batteryLevelExtern", false, B, none, p(67, {64}), "batteryLevelExtern", 64, {0, 2});
    fieldRow("S batteryInfo both", false, B, none, p(67, {64}), "batteryInfo", 2, {0, 2});
    fieldRow("S batteryInfo extern only", false, B, none, p2(66, {255}, 67, {64}), "batteryInfo", 0, {0, 1, 2});
    fieldRow("S warnings 0 to 3", false, B, none, p(68, {3}), "warnings", 3, {60});
    fieldRow("S warnings 3 to 0", false, B, p(68, {3}), none, "warnings", 0, {});
    fieldRow("S warnings 3 to 5", false, B, p(68, {3}), p(68, {5}), "warnings", 5, {60});
    fieldRow("S iSOValue", false, B, none, p(69, {0x90, 0x01}), "iSOValue", 400, {});
    fieldRow("S exposureMode", false, B, none, p(71, {1}), "exposureMode", 1, {51});
    fieldRow("S aperture", false, B, none, p(72, {0x00, 0x06}), "aperture", 8, {52});
    fieldRow("S aperture low byte", false, B, none, p(72, {0x80}), "aperture", 6.8, {52});
    fieldRow("S shutterTime", false, B, none, p(74, {0x00, 0x08}), "shutterTime", 1.0 / 250, {53});
    fieldRow("S shutterTime long", false, B, none, p(75, {0xFD}), "shutterTime", 8, {53});
    fieldRow("S focusDistance", false, B, none, p(76, {0x40, 0x42, 0x0F, 0x00}), "focusDistance", 1000000, {54});
    fieldRow("S focusDistance top byte", false, B, none, p(79, {0x80}), "focusDistance", -2147481148.0, {54});
    fieldRow("S focusConfirmation", false, B, none, p(80, {1}), "focusConfirmation", 1, {55});
    fieldRow("S lightBalance", false, B, none, p(81, {3}), "lightBalance", 3, {43});
    fieldRow("S lightMeter", false, B, none, p(81, {3}), "lightMeter", 384, {43});
    fieldRow("S lightMeter negative", false, B, none, none, "lightMeter", -256, {});
    fieldRow("S flashCompensation", false, B, none, p(82, {5, 0}), "flashCompensation", 5, {});
    fieldRow("S flashCompensation high", false, B, none, p(83, {0x80}), "flashCompensation", -32515, {});
    fieldRow("S flashStatus", false, B, none, p(84, {2}), "flashStatus", 2, {41});
    fieldRow("S layout M light meter ignored", false, B, none, p(27, {0x40, 0x05}), "lightMeter", -256, {});
    for (const int offset : {0, 8, 21, 25, 30, 46, 48, 59, 62, 63, 85, 97}) {
        const QByteArray name = "S uninterpreted " + QByteArray::number(offset);
        fieldRow(name.constData(), false, B, none, p(offset, {0xEE}), "driveMode", 0, {});
    }

    // Second layout.
    fieldRow("M driveMode", true, C, none, p(1, {1}), "driveMode", 1, {7});
    fieldRow("M videoResAndFrRate 3", true, C, none, p(2, {3}), "videoResAndFrRate", 16, {23});
    fieldRow("M videoResAndFrRate 2", true, C, none, p(2, {2}), "videoResAndFrRate", 15, {23});
    fieldRow("M videoResAndFrRate 4", true, C, none, p(2, {4}), "videoResAndFrRate", 17, {23});
    fieldRow("M videoResAndFrRate 5", true, C, none, p(2, {5}), "videoResAndFrRate", 18, {23});
    fieldRow("M videoResAndFrRate 0", true, C, none, p(2, {0}), "videoResAndFrRate", 8, {23});
    fieldRow("M videoResAndFrRate 7", true, C, none, p(2, {7}), "videoResAndFrRate", 8, {23});
    fieldRow("M videoResAndFrRate 1", true, C, p(2, {0}), none, "videoResAndFrRate", 9, {23});
    fieldRow("M focusMode fixed", true, C, none, p(2, {0}), "focusMode", 2, {23});
    fieldRow("M exposMetering", true, C, none, p(3, {1}), "exposMetering", 1, {9});
    fieldRow("M exposCompens index 1", true, C, none, p(4, {1}), "exposCompens", -2667, {10});
    fieldRow("M exposCompens index 17", true, C, none, p(4, {17}), "exposCompens", 2667, {10});
    fieldRow("M exposCompens index 0", true, C, none, p(4, {0}), "exposCompens", -3000, {10});
    fieldRow("M exposCompens index 12", true, C, none, p(4, {12}), "exposCompens", 1000, {10});
    fieldRow("M exposCompens index 13", true, C, none, p(4, {13}), "exposCompens", 1333, {10});
    fieldRow("M exposCompens index 19", true, C, none, p(4, {19}), "exposCompens", 3000, {10});
    fieldRow("M bracketing", true, C, none, p(5, {2}), "bracketingImageNumbers", 5, {12, 13});
    fieldRow("M deltaEV", true, C, none, p(6, {2}), "bracketingDeltaEV", 2000, {14});
    fieldRow("M shutterMode fixed", true, C, none, p(7, {0}), "shutterMode", 1, {});
    fieldRow("M mirrorUpMode fixed", true, C, none, p(9, {1}), "mirrorUpMode", 0, {});
    fieldRow("M sensitivity index ignored", true, C, none, p(10, {5}), "sensitivity", 400, {});
    fieldRow("M sensitivity", true, C, none, p(69, {0x20, 0x03}), "sensitivity", 800, {17});
    fieldRow("M sensitivity high byte", true, C, none, p(70, {0x02}), "sensitivity", 656, {17});
    fieldRow("M sensitivity auto", true, C, none, p(69, {0, 0}), "sensitivityAuto", 1, {17});
    fieldRow("M sensitivity not auto", true, C, p(69, {0, 0}), none, "sensitivityAuto", 0, {17});
    fieldRow("M iSOValue", true, C, none, p(69, {0x20, 0x03}), "iSOValue", 800, {17});
    fieldRow("M sensitivity E", true, E, none, p(69, {0xA8, 0x61}), "sensitivity", 25000, {17});
    fieldRow("M USBspeed", true, C, none, p(11, {1}), "USBspeed", 1, {});
    fieldRow("M dngCompression", true, C, none, p(14, {0x00}), "dngCompression", 0, {40});
    fieldRow("M keyLock ignored", true, C, none, p(14, {0x03}), "keyLock", 0, {});
    fieldRow("M flashXSymbol ignored", true, C, none, p(14, {0x06}), "flashXSymbol", 0, {});
    fieldRow("M fileFormat", true, C, none, p(15, {3}), "fileFormat", 3, {44});
    fieldRow("M maxShutterTime", true, C, none, p(16, {0x00, 0xFD}), "maxShutterTime", 8, {3});
    fieldRow("M whiteBalance", true, C, none, p(18, {4}), "whiteBalanceIndex", 4, {45});
    fieldRow("M whiteBalanceColorTemp", true, C, none, p(19, {0}), "whiteBalanceColorTemp", 0, {46});
    fieldRow("M jpgColorSpace", true, C, none, p(20, {1}), "jpgColorSpace", 1, {47});
    fieldRow("M storageType", true, C, none, p(26, {0}), "storageType", 0, {48});
    fieldRow("M lightMeter", true, C, none, p(27, {0x80, 0xFF}), "lightMeter", -128, {43});
    fieldRow("M lightMeter high byte", true, C, none, p(28, {0x03}), "lightMeter", 768, {43});
    fieldRow("M lightBalance -128", true, C, none, p(27, {0x80, 0xFF}), "lightBalance", -1, {43});
    fieldRow("M lightBalance 2.5", true, C, none, p(27, {0x40, 0x01}), "lightBalance", 3, {43});
    fieldRow("M lightBalance -1.25", true, C, none, p(27, {0x60, 0xFF}), "lightBalance", -1, {43});
    fieldRow("M lightBalance -2.5", true, C, none, p(27, {0xC0, 0xFE}), "lightBalance", -2, {43});
    fieldRow("M lightBalance byte ignored", true, C, none, p(81, {5}), "lightBalance", 2, {});
    fieldRow("M autoPowerOff", true, C, none, p(47, {0}), "autoPowerOff", 0, {50});
    fieldRow("M jpgResolution", true, C, none, p(61, {3}), "jpgResolution", 3, {21});
    fieldRow("M language", true, C, none, p(64, {2}), "language", 2, {39});
    fieldRow("M batterySource raw 0", true, C, none, none, "batterySource", 1, {});
    fieldRow("M batterySource raw 1", true, C, none, p(65, {1}), "batterySource", 0, {0});
    fieldRow("M batterySource raw 2", true, C, none, p(65, {2}), "batterySource", 2, {0});
    fieldRow("M batteryInfo mains", true, C, none, p(65, {1}), "batteryInfo", 3, {0});
    fieldRow("M batteryInfo battery", true, C, none, p(66, {20}), "batteryInfo", 1, {0, 1});
    fieldRow("M batteryInfo no battery", true, C, none, p(66, {255}), "batteryInfo", 4, {0, 1});
    fieldRow("M batteryLevelIntern", true, C, none, p(66, {20}), "batteryLevelIntern", 20, {0, 1});
    fieldRow("M batteryLevelExtern ignored", true, C, none, p(67, {64}), "batteryLevelExtern", -1, {});
    fieldRow("M warnings bit 0", true, C, none, p(68, {0x01}), "warnings", 1, {60});
    fieldRow("M warnings bit 1", true, C, none, p(68, {0x02}), "warnings", 2, {60});
    fieldRow("M warnings bit 2", true, C, none, p(68, {0x04}), "warnings", 3, {60});
    fieldRow("M warnings bit 3", true, C, none, p(68, {0x08}), "warnings", 6, {60});
    fieldRow("M warnings bit 4 no self timer", true, C, none, p(68, {0x10}), "warnings", 7, {});
    fieldRow("M warnings bit 4 self timer 2s", true, C, none, p2(1, {2}, 68, {0x10}), "warnings", 7, {7, 60});
    fieldRow("M warnings bit 4 self timer 12s", true, C, none, p2(1, {3}, 68, {0x10}), "warnings", 7, {7, 60});
    fieldRow("M warnings bit 5", true, C, none, p(68, {0x20}), "warnings", 4, {60});
    fieldRow("M warnings 0x30", true, C, none, p(68, {0x30}), "warnings", 7, {60});
    fieldRow("M warnings 0x06", true, C, none, p(68, {0x06}), "warnings", 2, {60});
    fieldRow("M warnings 0x40", true, C, none, p(68, {0x40}), "warnings", 1, {});
    fieldRow("M warnings cleared", true, C, p(68, {0x04}), none, "warnings", 1, {});
    fieldRow("M warnings one more", true, C, p(68, {0x01}), p(68, {0x03}), "warnings", 1, {60});
    fieldRow("M warnings swapped", true, C, p(68, {0x01}), p(68, {0x02}), "warnings", 2, {60});
    fieldRow("M exposureMode 1", true, C, none, p(71, {1}), "exposureMode", 2, {51});
    fieldRow("M exposureMode 0", true, C, none, p(71, {0}), "exposureMode", 0, {51});
    fieldRow("M exposureMode 3", true, C, p(71, {0}), none, "exposureMode", 4, {51});
    fieldRow("M exposureMode 2", true, C, none, p(71, {2}), "exposureMode", 0, {51});
    fieldRow("M aperture ignored", true, C, none, p(72, {0x00, 0x06}), "aperture", 0, {});
    fieldRow("M shutterTime", true, C, none, p(74, {0x00, 0x08}), "shutterTime", 1.0 / 250, {53});
    fieldRow("M focusDistance ignored", true, C, none, p(76, {1, 2, 3, 4}), "focusDistance", 0, {});
    fieldRow("M focusConfirmation", true, C, none, p(80, {1}), "focusConfirmation", 1, {});
    fieldRow("M flashCompensation", true, C, none, p(82, {7, 0}), "flashCompensation", 7, {});
    fieldRow("M flashStatus", true, C, none, p(84, {1}), "flashStatus", 1, {41});
    for (const int offset : {0, 7, 8, 9, 10, 21, 29, 46, 60, 62, 67, 72, 76, 81, 85, 97}) {
        const QByteArray name = "M uninterpreted " + QByteArray::number(offset);
        fieldRow(name.constData(), true, C, none, p(offset, {0xEE}), "driveMode", 0, {});
    }
}

// Columns: layoutM, product, setter, value, written. The camera starts from
// the layout's baseline; `written` is the patch the written structure must
// carry, empty when nothing may be written.
inline void addSetterColumns()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<quint32>("product");
    QTest::addColumn<QString>("setter");
    QTest::addColumn<double>("value");
    QTest::addColumn<Patches>("written");
}

inline void setterRow(const char* name, bool layoutM, quint32 product, const char* setter, double value,
                      const Patches& written)
{
    QTest::newRow(name) << layoutM << product << QString::fromLatin1(setter) << value << written;
}

inline void addSetterRows()
{
    const quint32 B = ProductIdKestaB;
    const quint32 A = ProductIdKestaA;
    const quint32 C = ProductIdKestaC;
    const quint32 E = ProductIdKestaE;
    const Patches none;

    setterRow("S setDriveMode", false, B, "setDriveMode", 4, p(1, {4}));
    setterRow("S setDriveMode same", false, B, "setDriveMode", 0, none);
    setterRow("S setFocusMode", false, B, "setFocusMode", 2, p(2, {2}));
    setterRow("S setFocusMode same", false, B, "setFocusMode", 1, none);
    setterRow("S setExposMetering", false, B, "setExposMetering", 0, p(3, {0}));
    setterRow("S setExposCompens +2", false, B, "setExposCompens", 2000, p(4, {10}));
    setterRow("S setExposCompens -3500", false, B, "setExposCompens", -3500, p(4, {0}));
    setterRow("S setExposCompens 1750", false, B, "setExposCompens", 1750, p(4, {10}));
    setterRow("S setExposCompens 9000", false, B, "setExposCompens", 9000, p(4, {12}));
    setterRow("S setExposCompens -251", false, B, "setExposCompens", -251, p(4, {5}));
    setterRow("S setExposCompens -250 same", false, B, "setExposCompens", -250, none);
    setterRow("S setExposCompens 0 same", false, B, "setExposCompens", 0, none);
    setterRow("S setBracketEnabled", false, B, "setBracketEnabled", 1, p(5, {1}));
    setterRow("S setBracketEnabled off same", false, B, "setBracketEnabled", 0, none);
    setterRow("S setBracketImgNum 5", false, B, "setBracketImgNum", 5, p(5, {2}));
    setterRow("S setBracketImgNum 3", false, B, "setBracketImgNum", 3, p(5, {1}));
    setterRow("S setBracketImgNum 4", false, B, "setBracketImgNum", 4, p(5, {1}));
    setterRow("S setBracketDeltaEV 500", false, B, "setBracketDeltaEV", 500, p(6, {0}));
    setterRow("S setBracketDeltaEV 2000", false, B, "setBracketDeltaEV", 2000, p(6, {2}));
    setterRow("S setBracketDeltaEV 3000", false, B, "setBracketDeltaEV", 3000, p(6, {3}));
    setterRow("S setBracketDeltaEV 1500 same", false, B, "setBracketDeltaEV", 1500, none);
    setterRow("S setMirrorUpMode", false, B, "setMirrorUpMode", 1, p(9, {1}));
    setterRow("S setSensitivity B 400", false, B, "setSensitivity", 400, p(10, {4}));
    setterRow("S setSensitivity B 1600", false, B, "setSensitivity", 1600, p(10, {6}));
    setterRow("S setSensitivity B auto", false, B, "setSensitivity", 0, p(10, {0}));
    setterRow("S setSensitivity B unknown", false, B, "setSensitivity", 123, p(10, {0}));
    setterRow("S setSensitivity A 100", false, A, "setSensitivity", 100, p(10, {0}));
    setterRow("S setSensitivity A 1250", false, A, "setSensitivity", 1250, p(10, {5}));
    setterRow("S setSensitivity A 160 same", false, A, "setSensitivity", 160, none);
    setterRow("S setKeyLock", false, B, "setKeyLock", 1, p(14, {0x03}));
    setterRow("S setDngCompression off", false, B, "setDngCompression", 0, p(14, {0x00}));
    setterRow("S setDngCompression same", false, B, "setDngCompression", 1, none);
    setterRow("S setFlashXSymbol", false, B, "setFlashXSymbol", 1, p(14, {0x06}));
    setterRow("S setFileFormat", false, B, "setFileFormat", 3, p(15, {3}));
    setterRow("S setWhiteBalanceIndex", false, B, "setWhiteBalanceIndex", 9, p(18, {9}));
    setterRow("S setWhiteBalanceColorTemp", false, B, "setWhiteBalanceColorTemp", 62, p(19, {62}));
    setterRow("S setJpgColorSpace", false, B, "setJpgColorSpace", 1, p(20, {1}));
    setterRow("S setStorageType", false, B, "setStorageType", 0, p(26, {0}));
    setterRow("S setAutoPowerOff", false, B, "setAutoPowerOff", 0, p(47, {0}));
    setterRow("S setAutoPowerOff same", false, B, "setAutoPowerOff", 2, none);
    setterRow("S setLockAEAF", false, B, "setLockAEAF", 1, p(60, {1}));
    setterRow("S setJpgResolution", false, B, "setJpgResolution", 2, p(61, {2}));
    setterRow("S setLanguage", false, B, "setLanguage", 7, p(64, {7}));
    setterRow("S setExposureMode", false, B, "setExposureMode", 2, p(71, {2}));
    setterRow("S setAperture 8", false, B, "setAperture", 8.0, p(72, {0x00, 0x06}));
    // f/5.6 is marked on the dial, the code is that of 2 x log2(5.6) = 4.97 EV.
    setterRow("S setAperture 5.6", false, B, "setAperture", 5.6, p(72, {0xF9, 0x04}));
    setterRow("S setAperture same", false, B, "setAperture", 5.656854, none);
    setterRow("S setShutterTime 1/250", false, B, "setShutterTime", 1.0 / 250, p(74, {0x00, 0x08}));
    setterRow("S setShutterTime 8 s", false, B, "setShutterTime", 8.0, p(74, {0x00, 0xFD}));
    setterRow("S setShutterTime same", false, B, "setShutterTime", 1.0 / 125, none);
    setterRow("S setVideoResAndFrRate not here", false, B, "setVideoResAndFrRate", 16, none);

    setterRow("M setDriveMode", true, C, "setDriveMode", 5, p(1, {5}));
    setterRow("M setVideoResAndFrRate 16", true, C, "setVideoResAndFrRate", 16, p(2, {3}));
    setterRow("M setVideoResAndFrRate 15", true, C, "setVideoResAndFrRate", 15, p(2, {2}));
    setterRow("M setVideoResAndFrRate 17", true, C, "setVideoResAndFrRate", 17, p(2, {4}));
    setterRow("M setVideoResAndFrRate 18", true, C, "setVideoResAndFrRate", 18, p(2, {5}));
    setterRow("M setVideoResAndFrRate 8", true, C, "setVideoResAndFrRate", 8, p(2, {0}));
    setterRow("M setVideoResAndFrRate 3", true, C, "setVideoResAndFrRate", 3, p(2, {0}));
    setterRow("M setVideoResAndFrRate 9 same", true, C, "setVideoResAndFrRate", 9, none);
    setterRow("M setFocusMode not here", true, C, "setFocusMode", 0, none);
    setterRow("M setExposMetering", true, C, "setExposMetering", 1, p(3, {1}));
    setterRow("M setExposCompens -2600", true, C, "setExposCompens", -2600, p(4, {1}));
    setterRow("M setExposCompens -3500", true, C, "setExposCompens", -3500, p(4, {0}));
    setterRow("M setExposCompens 3500", true, C, "setExposCompens", 3500, p(4, {18}));
    setterRow("M setExposCompens 1750", true, C, "setExposCompens", 1750, p(4, {14}));
    setterRow("M setExposCompens 2667", true, C, "setExposCompens", 2667, p(4, {17}));
    setterRow("M setExposCompens 167", true, C, "setExposCompens", 167, p(4, {10}));
    setterRow("M setExposCompens 166 same", true, C, "setExposCompens", 166, none);
    setterRow("M setBracketImgNum 5", true, C, "setBracketImgNum", 5, p(5, {2}));
    setterRow("M setBracketDeltaEV", true, C, "setBracketDeltaEV", 3000, p(6, {3}));
    setterRow("M setMirrorUpMode not here", true, C, "setMirrorUpMode", 1, none);
    setterRow("M setSensitivity 800", true, C, "setSensitivity", 800, p(69, {0x20, 0x03}));
    setterRow("M setSensitivity auto", true, C, "setSensitivity", 0, p(69, {0, 0}));
    setterRow("M setSensitivity same", true, C, "setSensitivity", 400, none);
    setterRow("M setSensitivity E 25000", true, E, "setSensitivity", 25000, p(69, {0xA8, 0x61}));
    setterRow("M setKeyLock not here", true, C, "setKeyLock", 1, none);
    setterRow("M setFlashXSymbol not here", true, C, "setFlashXSymbol", 1, none);
    setterRow("M setDngCompression", true, C, "setDngCompression", 0, p(14, {0x00}));
    setterRow("M setFileFormat", true, C, "setFileFormat", 4, p(15, {4}));
    setterRow("M setWhiteBalanceIndex", true, C, "setWhiteBalanceIndex", 2, p(18, {2}));
    setterRow("M setWhiteBalanceIndex E", true, E, "setWhiteBalanceIndex", 2, p(18, {2}));
    setterRow("M setWhiteBalanceColorTemp", true, C, "setWhiteBalanceColorTemp", 10, p(19, {10}));
    setterRow("M setJpgColorSpace", true, C, "setJpgColorSpace", 2, p(20, {2}));
    setterRow("M setStorageType", true, C, "setStorageType", 3, p(26, {3}));
    setterRow("M setAutoPowerOff", true, C, "setAutoPowerOff", 1, p(47, {1}));
    setterRow("M setLockAEAF not here", true, C, "setLockAEAF", 1, none);
    setterRow("M setJpgResolution", true, C, "setJpgResolution", 3, p(61, {3}));
    setterRow("M setLanguage", true, C, "setLanguage", 4, p(64, {4}));
    setterRow("M setExposureMode A", true, C, "setExposureMode", 2, p(71, {1}));
    setterRow("M setExposureMode M", true, C, "setExposureMode", 0, p(71, {0}));
    setterRow("M setExposureMode P", true, C, "setExposureMode", 3, p(71, {0}));
    setterRow("M setExposureMode bulb same", true, C, "setExposureMode", 4, none);
    setterRow("M setAperture not here", true, C, "setAperture", 8.0, none);
    setterRow("M setShutterTime", true, C, "setShutterTime", 1.0 / 250, p(74, {0x00, 0x08}));
}

}  // namespace StructTables

Q_DECLARE_METATYPE(StructTables::Patches)
