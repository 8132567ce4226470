#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Logic_APEXConverterShutterTime.h"
#include "OLP_Logic_CameraSettingsByDevProps.h"
#include "OLP_Logic_DeviceInfo.h"
#include "OLP_Test_PropertyAccess.h"
#include "OLP_Test_Support.h"

// The device-property settings against a camera that answers property by
// property. The tables below are the camera's property list: code, width,
// encoding, the getter that shows it and the change flag it raises.

using Settings = OLP_Logic_CameraSettingsBase;
using Codes = QList<quint16>;
using Flags = QList<int>;

Q_DECLARE_METATYPE(Codes)

namespace {

constexpr eDebugFlag kLogSettings = 1024;
const char* const kReadLog = "OLP_Logic_CameraSettingsByDevProps::recvFromCamera - ";

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int v : values) {
        result.append(char(quint8(v)));
    }
    return result;
}

Flags flagsSet(const SettingsChangeFlags& changes)
{
    Flags result;
    for (int i = 0; i < SettingsChangeFlags::count; ++i) {
        if (changes.at(i)) {
            result.append(i);
        }
    }
    return result;
}

// Getters by name, all widened to double.
const QHash<QString, std::function<double(Settings&)>>& getters()
{
#define OLP_GETTER(name)                                     \
    {                                                        \
#name, [](Settings & s) { return double(s.name()); } \
    }
    static const QHash<QString, std::function<double(Settings&)>> table = {
        OLP_GETTER(driveMode),
        OLP_GETTER(focusMode),
        OLP_GETTER(exposMetering),
        OLP_GETTER(exposCompens),
        OLP_GETTER(exposCompensStep),
        OLP_GETTER(bracketingEnabled),
        OLP_GETTER(bracketingImageNumbers),
        OLP_GETTER(bracketingDeltaEV),
        OLP_GETTER(bracketingAutomatic),
        OLP_GETTER(shutterMode),
        OLP_GETTER(mirrorUpMode),
        OLP_GETTER(sensitivity),
        OLP_GETTER(sensitivityAuto),
        OLP_GETTER(keyLock),
        OLP_GETTER(flashXSymbol),
        OLP_GETTER(fileFormat),
        OLP_GETTER(maxShutterTime),
        OLP_GETTER(whiteBalanceIndex),
        OLP_GETTER(whiteBalanceColorTemp),
        OLP_GETTER(jpgColorSpace),
        OLP_GETTER(storageType),
        OLP_GETTER(lightMeter),
        OLP_GETTER(autoreviewDuration),
        OLP_GETTER(autoPowerOff),
        OLP_GETTER(sensorFormat),
        OLP_GETTER(photoAspectRatio),
        OLP_GETTER(jpgResolution),
        OLP_GETTER(videoFileFormat),
        OLP_GETTER(videoResAndFrRate),
        OLP_GETTER(videoFormatResol),
        OLP_GETTER(contrast),
        OLP_GETTER(sharpness),
        OLP_GETTER(saturation),
        OLP_GETTER(monochrome),
        OLP_GETTER(electronicShutter),
        OLP_GETTER(exposTimeBulbPreset),
        OLP_GETTER(lensConnectionType),
        OLP_GETTER(orientation),
        OLP_GETTER(audioLevel),
        OLP_GETTER(audioWindElim),
        OLP_GETTER(audioVolSpeaker),
        OLP_GETTER(audioVolHeadphone),
        OLP_GETTER(audioVolMicrophone),
        OLP_GETTER(exposureSimulation),
        OLP_GETTER(language),
        OLP_GETTER(batteryInfo),
        OLP_GETTER(batteryLevelIntern),
        OLP_GETTER(batteryLevelExtern),
        OLP_GETTER(powerSwitch),
        OLP_GETTER(selfTimerRestTime),
        OLP_GETTER(bulbModeTime),
        OLP_GETTER(exposureMode),
        OLP_GETTER(aperture),
        OLP_GETTER(shutterTime),
        OLP_GETTER(focusDistance),
        OLP_GETTER(focusConfirmation),
        OLP_GETTER(focusConfirmationBadSignal),
        OLP_GETTER(focusConfirmationEnabled),
        OLP_GETTER(autoFocusLimit),
        OLP_GETTER(autoFocusLimitDistance),
        OLP_GETTER(lightBalance),
        OLP_GETTER(flashStatus),
        OLP_GETTER(intervalFrames),
        OLP_GETTER(intervalTime),
    };
#undef OLP_GETTER
    return table;
}

using Feature = bool (Settings::*)();

const QHash<QString, Feature>& features()
{
#define OLP_FEATURE(name)      \
    {                          \
#name, &Settings::name \
    }
    static const QHash<QString, Feature> table = {
        OLP_FEATURE(featureFocusMode),
        OLP_FEATURE(featureMoveLensToPos),
        OLP_FEATURE(featureMoveLensRightLeft),
        OLP_FEATURE(featureSensorFormat),
        OLP_FEATURE(featurePhotoAspectRatio),
        OLP_FEATURE(featureJpgResSelection),
        OLP_FEATURE(featureVideoFileFormat),
        OLP_FEATURE(featureVideoResAndFrRate),
        OLP_FEATURE(featureVideoFormatResol),
        OLP_FEATURE(featureContrast),
        OLP_FEATURE(featureSharpness),
        OLP_FEATURE(featureSaturation),
        OLP_FEATURE(featureMonochrome),
        OLP_FEATURE(featureAutoFocusLimit),
        OLP_FEATURE(featureElectronicShutter),
        OLP_FEATURE(featureExposTimeBulbPreset),
        OLP_FEATURE(featureLensConnectionType),
        OLP_FEATURE(featureAudioLevel),
        OLP_FEATURE(featureAudioWindElim),
        OLP_FEATURE(featureAudioVolSpeaker),
        OLP_FEATURE(featureAudioVolHeadphone),
        OLP_FEATURE(featureAudioVolMicrophone),
        OLP_FEATURE(featureExposCompensStep),
        OLP_FEATURE(featureExposureSimulation),
        OLP_FEATURE(featureFocusConfirmation),
        OLP_FEATURE(featureFocusDistance),
        OLP_FEATURE(featurePowerSave),
        OLP_FEATURE(featureDngCompression),
        OLP_FEATURE(featureInterval),
        OLP_FEATURE(featureKeyLock),
        OLP_FEATURE(featureLanguage),
        OLP_FEATURE(featureLiveView),
        OLP_FEATURE(featureMirrorUpMode),
        OLP_FEATURE(featureShutterMode),
        OLP_FEATURE(featureVideoRecording),
        OLP_FEATURE(featureWhiteBalance),
        OLP_FEATURE(featurePreview),
        OLP_FEATURE(featureHMI),
        OLP_FEATURE(featureFlashStatus),
        OLP_FEATURE(featureFlashXSymbol),
        OLP_FEATURE(featureWarnings),
        OLP_FEATURE(featureAperture),
        OLP_FEATURE(featureBracketing),
        OLP_FEATURE(featureJpgColorSpace),
        OLP_FEATURE(featureStorageType),
        OLP_FEATURE(featureAutoreviewDuration),
        OLP_FEATURE(featureSpare),
    };
#undef OLP_FEATURE
    return table;
}

// A DeviceInfo dataset whose property list holds the given codes.
QByteArray deviceInfoWithProperties(const QList<quint16>& properties)
{
    QByteArray data;
    auto u16 = [&data](quint16 v) { data.append(OLP_Test_PropertyAccess::littleEndian(v, 2)); };
    auto u32 = [&data](quint32 v) { data.append(OLP_Test_PropertyAccess::littleEndian(v, 4)); };
    auto array = [&](const QList<quint16>& codes) {
        u32(quint32(codes.size()));
        for (const quint16 c : codes) {
            u16(c);
        }
    };
    auto string = [&](const QString& text) {
        data.append(char(text.size() + 1));
        for (const QChar c : text) {
            u16(c.unicode());
        }
        u16(0);
    };
    u16(100);
    u32(6);
    u16(100);
    data.append(char(0));  // no vendor extension description
    u16(0);
    array({0x1001, 0x1014, 0x1015, 0x1016});
    array({0xC00A});
    array(properties);
    array({});
    array({0x3801});
    string(QStringLiteral("Maker"));
    string(QStringLiteral("Camera"));
    string(QStringLiteral("1.0"));
    string(QStringLiteral("42"));
    return data;
}

// Writes the settings log category while it lives.
class SettingsLog
{
public:
    SettingsLog() { setDebugFlags(kLogSettings, true); }
    ~SettingsLog() { setDebugFlags(kLogSettings, false); }
    SettingsLog(const SettingsLog&) = delete;
    SettingsLog& operator=(const SettingsLog&) = delete;
};

}  // namespace

class tst_SettingsDevProps : public QObject
{
    Q_OBJECT

    // A camera whose every property reads 0 until a test says otherwise,
    // except the exposure-compensation step size: half stops.
    static void baseline(OLP_Test_PropertyAccess& camera)
    {
        camera.setDefaultAnswer(QByteArray(4, '\0'));
        camera.setPropertyValue(0xD040, 500);
    }
    static std::unique_ptr<OLP_Logic_CameraSettingsByDevProps> settingsFor(OLP_Test_PropertyAccess& camera,
                                                                           OLP_Logic_DeviceInfo* info = nullptr)
    {
        return std::make_unique<OLP_Logic_CameraSettingsByDevProps>(&camera, info);
    }

private slots:
    void initTestCase()
    {
        olpTestInit();
        // A product without an aperture grid: f-numbers follow the APEX formula.
        OLP_Logic_APEXConverterAperture::setProductId(ProductIdKestaD);
        OLP_Logic_APEXConverterAperture::setStepSize(500);
    }

    // Catches a wrong width, code, encoding or flag for any property: the
    // answer carries bytes beyond the width, so a wider read sees other values.
    void readsEachProperty_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<quint16>("readCode");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("getter");
        QTest::addColumn<double>("expected");
        QTest::addColumn<Flags>("flags");

        auto row = [](const char* name, quint32 product, quint16 code, const QByteArray& answer, int width,
                      const char* getter, double expected, const Flags& flags) {
            QTest::newRow(name) << product << code << answer << code << width << QString::fromLatin1(getter) << expected
                                << flags;
        };
        const quint32 D = ProductIdKestaD;
        row("0x5001 battery level", D, 0x5001, bytes({75, 1, 1, 1}), 1, "batteryLevelIntern", 75, {1});
        row("0x5005 white balance", D, 0x5005, bytes({11, 0, 1, 1}), 2, "whiteBalanceIndex", 11, {45});
        row("0x500A focus mode", D, 0x500A, bytes({1, 0, 1, 1}), 2, "focusMode", 1, {8});
        row("0x500B metering", D, 0x500B, bytes({1, 0, 1, 1}), 2, "exposMetering", 1, {9});
        row("0x500E program 4 is T", D, 0x500E, bytes({4, 0, 1, 1}), 2, "exposureMode", 1, {51});
        row("0x500E program 3 is A", D, 0x500E, bytes({3, 0, 1, 1}), 2, "exposureMode", 2, {51});
        row("0x500E program 2 is P", D, 0x500E, bytes({2, 0, 1, 1}), 2, "exposureMode", 3, {51});
        row("0x500E program 0x200 is bulb", D, 0x500E, bytes({0x00, 0x02, 1, 1}), 2, "exposureMode", 4, {51});
        row("0x500E program 0x201", D, 0x500E, bytes({0x01, 0x02, 1, 1}), 2, "exposureMode", 5, {51});
        row("0x500E program 1 is M", D, 0x500E, bytes({1, 0, 1, 1}), 2, "exposureMode", 0, {51});
        row("0x5010 compensation -4/3", D, 0x5010, bytes({0xCB, 0xFA, 1, 1}), 2, "exposCompens", -1333, {10});
        row("0x5010 compensation +1", D, 0x5010, bytes({0xE8, 0x03, 1, 1}), 2, "exposCompens", 1000, {10});
        row("0x5013 drive raw 1", D, 0x5013, bytes({1, 0, 1, 1}), 2, "driveMode", 1, {7});
        row("0x5013 drive raw 2", D, 0x5013, bytes({2, 0, 1, 1}), 2, "driveMode", 5, {7});
        row("0x5013 drive raw 3", D, 0x5013, bytes({3, 0, 1, 1}), 2, "driveMode", 2, {7});
        row("0x5013 drive raw 4", D, 0x5013, bytes({4, 0, 1, 1}), 2, "driveMode", 3, {7});
        row("0x5013 drive raw 5", D, 0x5013, bytes({5, 0, 1, 1}), 2, "driveMode", 6, {7});
        row("0x5013 drive raw 6", D, 0x5013, bytes({6, 0, 1, 1}), 2, "driveMode", 7, {7});
        row("0x5013 drive raw 7", D, 0x5013, bytes({7, 0, 1, 1}), 2, "driveMode", 8, {7});
        row("0x5013 drive raw 8", D, 0x5013, bytes({8, 0, 1, 1}), 2, "driveMode", 4, {7});
        row("0x5013 drive raw 9", D, 0x5013, bytes({9, 0, 1, 1}), 2, "driveMode", 0, {7});
        row("0x5014 contrast", D, 0x5014, bytes({2, 1, 1, 1}), 1, "contrast", 2, {25});
        row("0x5015 sharpness", D, 0x5015, bytes({2, 1, 1, 1}), 1, "sharpness", 2, {26});
        row("0xD000 interval frames", D, 0xD000, bytes({0x8F, 0x5F, 0x01, 0}), 4, "intervalFrames", 89999, {61});
        row("0xD001 interval time", D, 0xD001, bytes({0x8F, 0x5F, 0x01, 0}), 4, "intervalTime", 89999, {62});
        row("0xD004 file format raw 2", D, 0xD004, bytes({2, 0, 0, 0}), 4, "fileFormat", 3, {44});
        row("0xD004 file format raw 1", D, 0xD004, bytes({1, 0, 0, 0}), 4, "fileFormat", 1, {44});
        row("0xD004 file format high bytes", D, 0xD004, bytes({1, 0, 1, 0}), 4, "fileFormat", 0, {44});
        row("0xD005 bracketing", D, 0xD005, bytes({0, 0, 1, 0}), 4, "bracketingEnabled", 1, {12});
        row("0xD006 bracketing frames", D, 0xD006, bytes({5, 0, 1, 0}), 4, "bracketingImageNumbers", 65541, {13});
        row("0xD007 bracketing delta", D, 0xD007, bytes({0xD0, 0x07, 1, 0}), 4, "bracketingDeltaEV", 67536, {14});
        row("0xD008 automatic bracketing", D, 0xD008, bytes({1, 0, 1, 0}), 4, "bracketingAutomatic", 65537, {15});
        row("0xD00A mirror up", D, 0xD00A, bytes({1, 0, 1, 0}), 4, "mirrorUpMode", 65537, {16});
        row("0xD00F jpg resolution", D, 0xD00F, bytes({2, 0, 1, 0}), 4, "jpgResolution", 65538, {21});
        row("0xD012 audio level", D, 0xD012, bytes({1, 0, 1, 0}), 4, "audioLevel", 65537, {33});
        row("0xD013 wind elimination", D, 0xD013, bytes({1, 0, 1, 0}), 4, "audioWindElim", 65537, {34});
        row("0xD014 colour temperature", D, 0xD014, bytes({0xC8, 0x19, 1, 0}), 4, "whiteBalanceColorTemp", 72136, {46});
        row("0xD015 colour space", D, 0xD015, bytes({2, 0, 1, 0}), 4, "jpgColorSpace", 65538, {47});
        row("0xD016 saturation", D, 0xD016, bytes({2, 0, 1, 0}), 4, "saturation", 65538, {27});
        row("0xD018 external shooting", D, 0xD018, bytes({0, 0, 1, 0}), 4, "storageType", 2, {48});
        row("0xD01A review hold", D, 0xD01A, bytes({0xFF, 0xFF, 0xFF, 0xFF}), 4, "autoreviewDuration", -1, {49});
        row("0xD024 power off 7 minutes", D, 0xD024, bytes({7, 0, 0, 0}), 4, "autoPowerOff", 1, {50});
        row("0xD024 power off 5 minutes", D, 0xD024, bytes({5, 0, 0, 0}), 4, "autoPowerOff", 2, {50});
        row("0xD024 power off 10 minutes", D, 0xD024, bytes({10, 0, 0, 0}), 4, "autoPowerOff", 3, {50});
        row("0xD02D key lock", D, 0xD02D, bytes({0, 0, 1, 0}), 4, "keyLock", 1, {18});
        row("0xD036 language", D, 0xD036, bytes({3, 0, 1, 0}), 4, "language", 65539, {39});
        row("0xD03F video file format", D, 0xD03F, bytes({1, 0, 1, 0}), 4, "videoFileFormat", 65537, {22});
        row("0xD040 step size", D, 0xD040, bytes({0x4D, 0x01, 0, 0}), 4, "exposCompensStep", 333, {11});
        row("0xD04E focus limit", D, 0xD04E, bytes({1, 0, 0, 0}), 4, "autoFocusLimit", 1, {58});
        row("0xD04E focus limit not 1", D, 0xD04E, bytes({1, 0, 1, 0}), 4, "autoFocusLimit", 0, {58});
        row("0xD04F aspect ratio", D, 0xD04F, bytes({5, 0, 1, 0}), 4, "photoAspectRatio", 65541, {20});
        row("0xD050 sensor format", D, 0xD050, bytes({1, 0, 1, 0}), 4, "sensorFormat", 65537, {19});
        row("0xD06F focus limit distance", D, 0xD06F, bytes({0x10, 0x27, 1, 0}), 4, "autoFocusLimitDistance", 75536,
            {59});
        row("0xD079 bulb preset", D, 0xD079, bytes({32, 0, 1, 0}), 4, "exposTimeBulbPreset", 65568, {30});
        row("0xD082 video format", D, 0xD082, bytes({29, 0, 1, 0}), 4, "videoFormatResol", 65565, {24});
        row("0xD115 exposure simulation", D, 0xD115, bytes({1, 0, 1, 0}), 4, "exposureSimulation", 65537, {38});
        row("0xD121 speaker volume", D, 0xD121, bytes({200, 0, 1, 0}), 4, "audioVolSpeaker", 200, {35});
        row("0xD122 headphone volume", D, 0xD122, bytes({17, 0, 1, 0}), 4, "audioVolHeadphone", 17, {36});
        row("0xD123 microphone volume", D, 0xD123, bytes({255, 0, 1, 0}), 4, "audioVolMicrophone", 255, {37});
        row("0xD125 video resolution", D, 0xD125, bytes({7, 0, 1, 0}), 4, "videoResAndFrRate", 65543, {23});
        row("0xD13B monochrome", D, 0xD13B, bytes({1, 0, 1, 0}), 4, "monochrome", 65537, {28});
        row("0xD608 external battery", D, 0xD608, bytes({80, 0, 1, 0}), 4, "batteryLevelExtern", 65616, {2});
        // Codes of the shutter grid of the other products: -1792 is 125 s, each 128 half a stop.
        row("0xD60C time 1/125", D, 0xD60C, bytes({0x00, 0x07, 0, 0}), 4, "shutterTime", 1.0 / 125, {53});
        row("0xD60C time 32 s", D, 0xD60C, bytes({0x00, 0xFB, 0xFF, 0xFF}), 4, "shutterTime", 32, {53});
        row("0xD60E aperture 5.6", D, 0xD60E, bytes({0x00, 0x05, 0, 0}), 4, "aperture", 5.6, {52});
        row("0xD60E aperture 8", D, 0xD60E, bytes({0x00, 0x06, 0, 0}), 4, "aperture", 8, {52});
        row("0xD615 light meter", D, 0xD615, bytes({0x00, 0xFF, 1, 0}), 4, "lightMeter", -256, {43});
        row("0xD616 battery info", D, 0xD616, bytes({1, 0, 1, 0}), 4, "batteryInfo", 65537, {0});
        row("0xD618 flash status", D, 0xD618, bytes({1, 0, 1, 0}), 4, "flashStatus", 65537, {41});
        row("0xD619 flash sync", D, 0xD619, bytes({0, 0, 1, 0}), 4, "flashXSymbol", 1, {42});
        row("0xD622 bad signal", D, 0xD622, bytes({1, 0, 0, 0}), 4, "focusConfirmationBadSignal", 1, {57});
        row("0xD622 bad signal not 1", D, 0xD622, bytes({1, 0, 1, 0}), 4, "focusConfirmationBadSignal", 0, {57});
        row("0xD623 confirmation on", D, 0xD623, bytes({1, 0, 0, 0}), 4, "focusConfirmationEnabled", 1, {56});
        row("0xD625 longest time", D, 0xD625, bytes({0x00, 0xF9, 0xFF, 0xFF}), 4, "maxShutterTime", 125, {3});
        row("0xD626 power switch", D, 0xD626, bytes({3, 0, 0, 0}), 4, "shutterMode", 1, {4});
        row("0xD626 power switch high", D, 0xD626, bytes({3, 0, 1, 0}), 4, "powerSwitch", 65539, {4});
        row("0xD627 self timer", D, 0xD627, bytes({9, 0, 1, 0}), 4, "selfTimerRestTime", 65545, {5});
        row("0xD628 bulb time", D, 0xD628, bytes({9, 0, 1, 0}), 4, "bulbModeTime", 65545, {6});
        row("0xD62B focus distance", D, 0xD62B, bytes({0x39, 0x30, 1, 0}), 4, "focusDistance", 77881, {54});
        row("0xD643 lens connection", D, 0xD643, bytes({2, 0, 1, 0}), 4, "lensConnectionType", 65538, {31});
        row("0xD65F orientation", D, 0xD65F, bytes({0xA6, 0xFF, 0xFF, 0xFF}), 4, "orientation", -90, {32});
        row("0xD610 sensitivity", D, 0xD610, bytes({0x90, 0x01, 1, 0}), 4, "sensitivity", 65936, {17});

        auto also = [](const char* name, quint16 code, quint16 readCode, const QByteArray& answer, const char* getter,
                       double expected, const Flags& flags) {
            QTest::newRow(name) << ProductIdKestaD << code << answer << readCode << 4 << QString::fromLatin1(getter)
                                << expected << flags;
        };
        also("0xD60D reads 0xD60C", 0xD60D, 0xD60C, bytes({0x00, 0x07, 0, 0}), "shutterTime", 1.0 / 125, {53});
        also("0xD03B reads 0xD60C", 0xD03B, 0xD60C, bytes({0x00, 0x07, 0, 0}), "shutterTime", 1.0 / 125, {53});
        also("0xD60F reads 0xD60E", 0xD60F, 0xD60E, bytes({0x00, 0x06, 0, 0}), "aperture", 8, {52});
        also("0xD03C reads 0xD60E", 0xD03C, 0xD60E, bytes({0x00, 0x06, 0, 0}), "aperture", 8, {52});
        also("0x500F reads 0x500F", 0x500F, 0x500F, bytes({0x90, 0x01, 0, 0}), "sensitivityAuto", 0, {17});
    }

    void readsEachProperty()
    {
        QFETCH(quint32, product);
        QFETCH(quint16, code);
        QFETCH(QByteArray, answer);
        QFETCH(quint16, readCode);
        QFETCH(int, width);
        QFETCH(QString, getter);
        QFETCH(double, expected);
        QFETCH(Flags, flags);

        OLP_Test_PropertyAccess camera(product);
        baseline(camera);
        auto settings = settingsFor(camera);
        camera.setProperty(readCode, answer);
        camera.clearRecord();

        SettingsChangeFlags changes;
        settings->recvFromCamera(code, &changes);

        QCOMPARE(getters().value(getter)(*settings), expected);
        QCOMPARE(flagsSet(changes), flags);
        bool found = false;
        for (const OLP_Test_PropertyAccess::Read& read : camera.reads()) {
            if (read.code == readCode) {
                QCOMPARE(int(read.dataSize), width);
                found = true;
            }
        }
        QVERIFY2(found, "the property was not read");

        // The same value again is no change.
        SettingsChangeFlags again;
        settings->recvFromCamera(code, &again);
        QCOMPARE(flagsSet(again), Flags());
    }

    // Catches a setter that writes the wrong property, width, conversion or
    // byte order, or that writes a value the camera already has.
    void writesEachSetter_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<QString>("setter");
        QTest::addColumn<double>("value");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<QByteArray>("written");

        auto row = [](const char* name, const char* setter, double value, quint16 code, const QByteArray& written,
                      quint32 product = ProductIdKestaD) {
            QTest::newRow(name) << product << QString::fromLatin1(setter) << value << code << written;
        };
        row("drive 1 single", "setDriveMode", 1, 0x5013, bytes({1, 0}));
        row("drive 2", "setDriveMode", 2, 0x5013, bytes({3, 0}));
        row("drive 3", "setDriveMode", 3, 0x5013, bytes({4, 0}));
        row("drive 4 bracketing", "setDriveMode", 4, 0x5013, bytes({8, 0}));
        row("drive 5", "setDriveMode", 5, 0x5013, bytes({2, 0}));
        row("drive 6", "setDriveMode", 6, 0x5013, bytes({5, 0}));
        row("drive 7", "setDriveMode", 7, 0x5013, bytes({6, 0}));
        row("drive 8", "setDriveMode", 8, 0x5013, bytes({7, 0}));
        row("focus mode", "setFocusMode", 1, 0x500A, bytes({1, 0}));
        row("metering", "setExposMetering", 1, 0x500B, bytes({1, 0}));
        row("compensation -4/3", "setExposCompens", -1333, 0x5010, bytes({0xCB, 0xFA}));
        row("step size", "setExposCompensStepSize", 333, 0xD040, bytes({0x4D, 0x01, 0, 0}));
        row("bracketing on", "setBracketEnabled", 1, 0xD005, bytes({1, 0, 0, 0}));
        row("bracketing frames", "setBracketImgNum", 5, 0xD006, bytes({5, 0, 0, 0}));
        row("bracketing delta", "setBracketDeltaEV", 2000, 0xD007, bytes({0xD0, 0x07, 0, 0}));
        row("bracketing automatic", "setBracketingAutomatic", 1, 0xD008, bytes({1, 0, 0, 0}));
        row("mirror up", "setMirrorUpMode", 1, 0xD00A, bytes({1, 0, 0, 0}));
        row("sensitivity 400", "setSensitivity", 400, 0x500F, bytes({0x90, 0x01, 0, 0}));
        row("key lock", "setKeyLock", 1, 0xD02D, bytes({1, 0, 0, 0}));
        row("file format 1", "setFileFormat", 1, 0xD004, bytes({1, 0, 0, 0}));
        row("file format 2", "setFileFormat", 2, 0xD004, bytes({1, 0, 0, 0}));
        row("file format 3", "setFileFormat", 3, 0xD004, bytes({2, 0, 0, 0}));
        row("file format 4", "setFileFormat", 4, 0xD004, bytes({2, 0, 0, 0}));
        row("white balance", "setWhiteBalanceIndex", 11, 0x5005, bytes({11, 0}));
        row("colour temperature", "setWhiteBalanceColorTemp", 6600, 0xD014, bytes({0xC8, 0x19, 0, 0}));
        row("colour space", "setJpgColorSpace", 2, 0xD015, bytes({2, 0, 0, 0}));
        row("storage external", "setStorageType", 2, 0xD018, bytes({1, 0, 0, 0}));
        row("review hold", "setAutoreviewDuration", -1, 0xD01A, bytes({0xFF, 0xFF, 0xFF, 0xFF}));
        row("power off 1 is 2 minutes", "setAutoPowerOff", 1, 0xD024, bytes({2, 0, 0, 0}));
        row("power off 2 is 5 minutes", "setAutoPowerOff", 2, 0xD024, bytes({5, 0, 0, 0}));
        row("power off 3 is 10 minutes", "setAutoPowerOff", 3, 0xD024, bytes({10, 0, 0, 0}));
        row("sensor format", "setSensorFormat", 1, 0xD050, bytes({1, 0, 0, 0}));
        row("aspect ratio", "setPhotoAspectRatio", 5, 0xD04F, bytes({5, 0, 0, 0}));
        row("jpg resolution", "setJpgResolution", 2, 0xD00F, bytes({2, 0, 0, 0}));
        row("video file format", "setVideoFileFormat", 1, 0xD03F, bytes({1, 0, 0, 0}));
        row("video resolution", "setVideoResAndFrRate", 7, 0xD125, bytes({7, 0, 0, 0}));
        row("video format", "setVideoFormatResol", 29, 0xD082, bytes({29, 0, 0, 0}));
        row("contrast", "setContrast", 2, 0x5014, bytes({2}));
        row("sharpness", "setSharpness", 2, 0x5015, bytes({2}));
        row("saturation", "setSaturation", 2, 0xD016, bytes({2, 0, 0, 0}));
        row("monochrome", "setMonochrome", 1, 0xD13B, bytes({1, 0, 0, 0}));
        row("electronic shutter", "setElectronicShutter", 1, 0xD080, bytes({1, 0, 0, 0}));
        row("bulb preset", "setExposTimeBulbPreset", 32, 0xD079, bytes({32, 0, 0, 0}));
        row("audio level", "setAudioLevel", 1, 0xD012, bytes({1, 0, 0, 0}));
        row("wind elimination", "setAudioWindElim", 1, 0xD013, bytes({1, 0, 0, 0}));
        row("speaker", "setAudioVolSpeaker", 200, 0xD121, bytes({200, 0, 0, 0}));
        row("headphone", "setAudioVolHeadphone", 17, 0xD122, bytes({17, 0, 0, 0}));
        row("microphone", "setAudioVolMicrophone", 255, 0xD123, bytes({255, 0, 0, 0}));
        row("exposure simulation", "setExposureSimulation", 1, 0xD115, bytes({1, 0, 0, 0}));
        row("language", "setLanguage", 3, 0xD036, bytes({3, 0, 0, 0}));
        row("exposure M", "setExposureMode", 0, 0x500E, bytes({1, 0}));
        row("exposure T", "setExposureMode", 1, 0x500E, bytes({4, 0}));
        row("exposure A", "setExposureMode", 2, 0x500E, bytes({3, 0}));
        row("exposure P", "setExposureMode", 3, 0x500E, bytes({2, 0}));
        row("exposure bulb", "setExposureMode", 4, 0x500E, bytes({0x00, 0x02}));
        row("exposure vendor", "setExposureMode", 5, 0x500E, bytes({0x01, 0x02}));
        row("aperture f 8", "setAperture", 8, 0xD03C, bytes({0x00, 0x06, 0, 0}));
        // Apertures wider than f/1 have negative codes: sign-extended like 0xD60E.
        row("aperture f 0.7", "setAperture", 0.7, 0xD03C, bytes({0xF9, 0xFE, 0xFF, 0xFF}));
        row("time 1/125", "setShutterTime", 1.0 / 125, 0xD03B, bytes({0x00, 0x07, 0, 0}));
        row("time 32 s", "setShutterTime", 32, 0xD03B, bytes({0x00, 0xFB, 0xFF, 0xFF}));
        row("focus limit", "setAutoFocusLimit", 1, 0xD04E, bytes({1, 0, 0, 0}));
        row("interval frames", "setIntervalFrames", 9999, 0xD000, bytes({0x0F, 0x27, 0, 0}));
        row("interval time", "setIntervalTime", 89999, 0xD001, bytes({0x8F, 0x5F, 0x01, 0}));
    }

    void writesEachSetter()
    {
        QFETCH(quint32, product);
        QFETCH(QString, setter);
        QFETCH(double, value);
        QFETCH(quint16, code);
        QFETCH(QByteArray, written);

        static const QHash<QString, std::function<void(Settings&, double)>> setters = {
#define OLP_SETTER(name, type)                                 \
    {                                                          \
#name, [](Settings & s, double v) { s.name(type(v)); } \
    }
            OLP_SETTER(setDriveMode, int),
            OLP_SETTER(setFocusMode, int),
            OLP_SETTER(setExposMetering, int),
            OLP_SETTER(setExposCompens, int),
            OLP_SETTER(setExposCompensStepSize, int),
            OLP_SETTER(setBracketEnabled, bool),
            OLP_SETTER(setBracketImgNum, int),
            OLP_SETTER(setBracketDeltaEV, int),
            OLP_SETTER(setBracketingAutomatic, int),
            OLP_SETTER(setMirrorUpMode, int),
            OLP_SETTER(setSensitivity, int),
            OLP_SETTER(setKeyLock, bool),
            OLP_SETTER(setFileFormat, int),
            OLP_SETTER(setWhiteBalanceIndex, int),
            OLP_SETTER(setWhiteBalanceColorTemp, int),
            OLP_SETTER(setJpgColorSpace, int),
            OLP_SETTER(setStorageType, int),
            OLP_SETTER(setAutoreviewDuration, int),
            OLP_SETTER(setAutoPowerOff, int),
            OLP_SETTER(setSensorFormat, int),
            OLP_SETTER(setPhotoAspectRatio, int),
            OLP_SETTER(setJpgResolution, int),
            OLP_SETTER(setVideoFileFormat, int),
            OLP_SETTER(setVideoResAndFrRate, int),
            OLP_SETTER(setVideoFormatResol, int),
            OLP_SETTER(setContrast, int),
            OLP_SETTER(setSharpness, int),
            OLP_SETTER(setSaturation, int),
            OLP_SETTER(setMonochrome, int),
            OLP_SETTER(setElectronicShutter, int),
            OLP_SETTER(setExposTimeBulbPreset, int),
            OLP_SETTER(setAudioLevel, int),
            OLP_SETTER(setAudioWindElim, int),
            OLP_SETTER(setAudioVolSpeaker, int),
            OLP_SETTER(setAudioVolHeadphone, int),
            OLP_SETTER(setAudioVolMicrophone, int),
            OLP_SETTER(setExposureSimulation, int),
            OLP_SETTER(setLanguage, int),
            OLP_SETTER(setExposureMode, int),
            OLP_SETTER(setAperture, double),
            OLP_SETTER(setShutterTime, double),
            OLP_SETTER(setAutoFocusLimit, bool),
            OLP_SETTER(setIntervalFrames, int),
            OLP_SETTER(setIntervalTime, int),
#undef OLP_SETTER
        };
        QVERIFY(setters.contains(setter));

        OLP_Test_PropertyAccess camera(product);
        baseline(camera);
        if (setter == QLatin1String("setSensitivity")) {
            // While the camera is automatic every value is written (it stays
            // automatic until the camera reports otherwise): start from ISO 100.
            camera.setPropertyValue(0x500F, 100);
            camera.setPropertyValue(0xD610, 100);
        }
        auto settings = settingsFor(camera);
        camera.clearRecord();

        setters.value(setter)(*settings, value);
        const QList<OLP_Test_PropertyAccess::Write> writes = camera.writes();
        QCOMPARE(writes.size(), 1);
        QCOMPARE(QString::number(writes.first().code, 16), QString::number(code, 16));
        QCOMPARE(writes.first().bytes.toHex(' '), written.toHex(' '));
        QVERIFY(camera.reads().isEmpty());

        // The camera has that value now: choosing it again sends nothing.
        setters.value(setter)(*settings, value);
        QCOMPARE(camera.writes().size(), 1);
    }

    // The camera refused the write: the old value stays, so the display keeps
    // the camera's value and choosing the new one again tries again.
    void failedWriteKeepsOldValue()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setPropertyValue(0xD006, 3);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->bracketingImageNumbers(), 3);

        camera.setWriteFailure(0xD006);
        OLP_Test_LogCapture log;
        settings->setBracketImgNum(5);
        QCOMPARE(settings->bracketingImageNumbers(), 3);
        QVERIFY(log.contains(QStringLiteral(
            "OLP_Logic_CameraSettingsByDevProps::setBracketImgNum - writing device property 0xD006 failed")));

        camera.setWriteFailure(0xD006, false);
        settings->setBracketImgNum(5);
        QCOMPARE(camera.writes().size(), 2);
        QCOMPARE(settings->bracketingImageNumbers(), 5);
    }

    void failedSensitivityWriteKeepsOldValue()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setPropertyValue(0xD610, 200);
        camera.setPropertyValue(0x500F, 200);
        auto settings = settingsFor(camera);
        camera.setWriteFailure(0x500F);

        settings->setSensitivity(0);
        QCOMPARE(settings->sensitivityAuto(), false);
        settings->setSensitivity(800);
        QCOMPARE(settings->sensitivity(), 200);
        QCOMPARE(camera.writes().size(), 2);
    }

    // A camera that fails one read keeps that value, logs "No" and the
    // refresh reads everything after it.
    void failedReadKeepsValueAndRefreshGoesOn()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setPropertyValue(0x5014, 2, 1);
        camera.setPropertyValue(0xD60E, 1536);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->contrast(), 2);

        camera.setPropertyValue(0x5014, 1, 1);
        camera.setReadFailure(0x5014);
        camera.setPropertyValue(0xD60E, 1280);
        camera.clearRecord();
        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        settings->recvFromCamera(&changes);

        QCOMPARE(settings->contrast(), 2);
        QVERIFY(!changes.contrast);
        QVERIFY(log.contains(QStringLiteral("%1Contrast              = 0   (ok = No)").arg(kReadLog)));
        QCOMPARE(settings->aperture(), 5.6);
        QCOMPARE(flagsSet(changes), Flags({52}));
        QCOMPARE(camera.readCodes().last(), quint16(0xD60E));
    }

    void readLogLine()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        camera.setPropertyValue(0x5014, 2, 1);
        camera.setPropertyValue(0xD60E, 1280);
        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        settings->recvFromCamera(0x5014, nullptr);
        settings->recvFromCamera(0xD60E, nullptr);
        QVERIFY(log.contains(QStringLiteral("%1Contrast              = 2   (ok = Yes)").arg(kReadLog)));
        QVERIFY(log.contains(QStringLiteral("%1aperture              = 1280   (ok = Yes)").arg(kReadLog)));
    }

    // The order of a full refresh, and which properties each product reads.
    void fullRefreshOrder_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<Codes>("expected");

        const Codes kesta = {0xD616, 0x5001, 0xD608, 0xD625, 0xD626, 0xD627, 0xD628, 0xD618, 0xD619, 0xD623, 0xD622,
                             0xD623, 0xD622, 0xD621, 0xD62B, 0xD610, 0x500F, 0x5013, 0xD000, 0xD001, 0x500A, 0xD004,
                             0x500B, 0x500E, 0x5010, 0xD005, 0xD006, 0xD007, 0xD008, 0xD00A, 0xD00F, 0xD125, 0x5014,
                             0x5015, 0xD016, 0xD13B, 0xD012, 0xD013, 0xD121, 0xD122, 0xD123, 0xD115, 0x5005, 0xD014,
                             0xD015, 0xD018, 0xD01A, 0xD024, 0xD02D, 0xD036, 0xD615, 0xD60C, 0xD60E};
        const Codes pelvo = {0xD616, 0x5001, 0xD608, 0xD625, 0xD627, 0xD628, 0xD618, 0xD619, 0xD62B, 0xD04E, 0xD06F,
                             0xD610, 0x500F, 0x5013, 0xD000, 0xD001, 0x500A, 0xD004, 0x500B, 0x500E, 0x5010, 0xD040,
                             0xD006, 0xD007, 0xD008, 0xD050, 0xD04F, 0xD00F, 0xD082, 0x5014, 0x5015, 0xD016, 0xD123,
                             0xD115, 0x5005, 0xD014, 0xD015, 0xD018, 0xD024, 0xD02D, 0xD615, 0xD60C, 0xD60E};
        QTest::newRow("KestaD") << ProductIdKestaD << kesta;
        QTest::newRow("Seventh") << ProductIdSeventh << kesta;
        QTest::newRow("unknown product") << quint32(0x0999) << kesta;
        QTest::newRow("Pelvo") << ProductIdPelvo << pelvo;
    }

    void fullRefreshOrder()
    {
        QFETCH(quint32, product);
        QFETCH(Codes, expected);

        OLP_Test_PropertyAccess camera(product);
        baseline(camera);
        camera.setPropertyValue(0xD616, 2);  // external battery: 0xD608 is read
        camera.setPropertyValue(0xD623, 1);  // focus confirmation on, good signal
        auto settings = settingsFor(camera);
        QCOMPARE(camera.readCodes(), expected);

        camera.clearRecord();
        SettingsChangeFlags changes;
        settings->recvFromCamera(&changes);
        QCOMPARE(camera.readCodes(), expected);
        QCOMPARE(flagsSet(changes), Flags());
    }

    void batteryExternOnlyWhenInfoIs2()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setPropertyValue(0xD616, 1);
        camera.setPropertyValue(0xD608, 60);
        auto settings = settingsFor(camera);
        QVERIFY(!camera.readCodes().contains(0xD608));
        QCOMPARE(settings->batteryLevelExtern(), 255);

        SettingsChangeFlags changes;
        settings->recvFromCamera(0xD608, &changes);
        QCOMPARE(settings->batteryLevelExtern(), 60);
        QCOMPARE(flagsSet(changes), Flags({2}));
    }

    void orientationFromDeviceInfo_data()
    {
        QTest::addColumn<Codes>("declared");
        QTest::addColumn<bool>("reads");
        QTest::newRow("declared") << Codes({0x5001, 0xD65F}) << true;
        QTest::newRow("not declared") << Codes({0x5001}) << false;
    }

    void orientationFromDeviceInfo()
    {
        QFETCH(Codes, declared);
        QFETCH(bool, reads);
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setDeviceInfo(deviceInfoWithProperties(declared));
        camera.setPropertyValue(0xD65F, 180);
        OLP_Logic_DeviceInfo info(&camera);
        auto settings = settingsFor(camera, &info);
        QCOMPARE(settings->featureOrientation(), reads);
        QCOMPARE(camera.readCodes().contains(0xD65F), reads);
        QCOMPARE(settings->orientation(), reads ? 180 : 0);
        const Codes order = camera.readCodes();
        if (reads) {
            // After the lens connection type slot, before the sensitivity.
            QCOMPARE(order.indexOf(0xD65F) + 1, order.indexOf(0xD610));
        }
    }

    void focusConfirmationPreconditions_data()
    {
        QTest::addColumn<int>("enabled");
        QTest::addColumn<int>("badSignal");
        QTest::addColumn<bool>("readsValue");
        QTest::newRow("off") << 0 << 0 << false;
        QTest::newRow("on, bad signal") << 1 << 1 << false;
        QTest::newRow("on, good signal") << 1 << 0 << true;
        QTest::newRow("enabled 2 is not on") << 2 << 0 << false;
    }

    void focusConfirmationPreconditions()
    {
        QFETCH(int, enabled);
        QFETCH(int, badSignal);
        QFETCH(bool, readsValue);
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        camera.setPropertyValue(0xD623, enabled);
        camera.setPropertyValue(0xD622, badSignal);
        camera.setPropertyValue(0xD621, 42);
        camera.clearRecord();

        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        settings->recvFromCamera(0xD621, &changes);
        QCOMPARE(settings->focusConfirmation(), readsValue ? 42 : 0);
        QCOMPARE(flagsSet(changes), readsValue ? Flags({55}) : Flags());
        QCOMPARE(log.contains(QStringLiteral("focusConfirmValue")), readsValue);
        // The preliminary reads are neither logged nor stored.
        QVERIFY(!log.contains(QStringLiteral("focusConfirmEnabled")));
        QCOMPARE(settings->focusConfirmationEnabled(), false);
        Codes expected = {0xD623};
        if (enabled == 1) {
            expected << 0xD622;
        }
        if (readsValue) {
            expected << 0xD621;
        }
        QCOMPARE(camera.readCodes(), expected);
    }

    void electronicShutterIsNotRead()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->electronicShutter(), 0);
        camera.clearRecord();

        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        settings->recvFromCamera(0xD080, &changes);
        QVERIFY(camera.reads().isEmpty());
        QCOMPARE(settings->electronicShutter(), 1);
        QCOMPARE(flagsSet(changes), Flags({29}));
        QVERIFY(log.contains(QStringLiteral("%1electronicShutter     = 1   (ok = Yes)").arg(kReadLog)));

        SettingsChangeFlags again;
        settings->recvFromCamera(0xD080, &again);
        QCOMPARE(flagsSet(again), Flags());
    }

    void sensitivityPair()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setPropertyValue(0xD610, 400);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->sensitivityAuto(), true);
        QCOMPARE(settings->sensitivity(), 400);

        camera.setPropertyValue(0x500F, 800);
        camera.setPropertyValue(0xD610, 800);
        camera.clearRecord();
        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        settings->recvFromCamera(0xD610, &changes);
        QCOMPARE(camera.readCodes(), Codes({0xD610, 0x500F}));
        QCOMPARE(settings->sensitivityAuto(), false);
        QCOMPARE(settings->sensitivity(), 800);
        QCOMPARE(flagsSet(changes), Flags({17}));
        QVERIFY(log.contains(QStringLiteral("%1sensitivityAuto       = 0   (ok = Yes)").arg(kReadLog)));

        camera.setPropertyValue(0x500F, 0);
        log.clear();
        settings->recvFromCamera(0x500F, nullptr);
        QCOMPARE(settings->sensitivityAuto(), true);
        QVERIFY(log.contains(QStringLiteral("%1sensitivityAuto       = 1   (ok = Yes)").arg(kReadLog)));
    }

    void setSensitivityAutoTwiceWritesOnce()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        camera.setPropertyValue(0xD610, 400);
        camera.setPropertyValue(0x500F, 400);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->sensitivityAuto(), false);

        settings->setSensitivity(0);
        settings->setSensitivity(0);
        QCOMPARE(camera.writes().size(), 1);
        QCOMPARE(camera.writes().first().code, quint16(0x500F));
        QCOMPARE(camera.writes().first().bytes, bytes({0, 0, 0, 0}));
        QCOMPARE(settings->sensitivityAuto(), true);

        // The value the camera used stays; choosing it again leaves automatic.
        settings->setSensitivity(400);
        QCOMPARE(camera.writes().size(), 2);
        QCOMPARE(camera.writes().last().bytes, bytes({0x90, 0x01, 0, 0}));
        // Automatic until the camera reports otherwise.
        QCOMPARE(settings->sensitivityAuto(), true);
    }

    void pelvoBracketingAndDriveMode()
    {
        OLP_Test_PropertyAccess camera(ProductIdPelvo);
        baseline(camera);
        camera.setPropertyValue(0x5013, 1, 2);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->driveMode(), 1);

        settings->setBracketEnabled(true);
        settings->setDriveMode(1);
        settings->setBracketEnabled(false);
        settings->setDriveMode(1);

        const QList<OLP_Test_PropertyAccess::Write> writes = camera.writes();
        QCOMPARE(writes.size(), 3);
        for (const OLP_Test_PropertyAccess::Write& write : writes) {
            QCOMPARE(write.code, quint16(0x5013));
        }
        QCOMPARE(writes.at(0).bytes, bytes({8, 0}));
        QCOMPARE(writes.at(1).bytes, bytes({8, 0}));
        QCOMPARE(writes.at(2).bytes, bytes({1, 0}));
    }

    void pelvoDriveModeDecidesBracketing()
    {
        OLP_Test_PropertyAccess camera(ProductIdPelvo);
        baseline(camera);
        camera.setPropertyValue(0xD005, 1);  // never read on this camera in a refresh
        auto settings = settingsFor(camera);
        QCOMPARE(settings->bracketingEnabled(), false);

        camera.setPropertyValue(0x5013, 8, 2);
        SettingsChangeFlags on;
        settings->recvFromCamera(0x5013, &on);
        QCOMPARE(settings->bracketingEnabled(), true);
        QCOMPARE(settings->driveMode(), 4);
        QCOMPARE(flagsSet(on), Flags({7, 12}));

        camera.setPropertyValue(0x5013, 3, 2);
        SettingsChangeFlags off;
        settings->recvFromCamera(0x5013, &off);
        QCOMPARE(settings->bracketingEnabled(), false);
        QCOMPARE(flagsSet(off), Flags({7, 12}));

        camera.setPropertyValue(0x5013, 4, 2);
        SettingsChangeFlags other;
        settings->recvFromCamera(0x5013, &other);
        QCOMPARE(flagsSet(other), Flags({7}));
    }

    void otherProductsWriteBracketingSwitch()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        settings->setBracketEnabled(true);
        settings->setDriveMode(1);
        QCOMPARE(camera.writes().size(), 2);
        QCOMPARE(camera.writes().at(0).code, quint16(0xD005));
        QCOMPARE(camera.writes().at(1).bytes, bytes({1, 0}));
    }

    // A camera whose StillCaptureMode offers 7 takes single shots as 7.
    void stillCaptureMode7_data()
    {
        QTest::addColumn<bool>("offers7");
        QTest::newRow("offers 7") << true;
        QTest::newRow("does not offer 7") << false;
    }

    void stillCaptureMode7()
    {
        QFETCH(bool, offers7);
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        // UINT16 enumeration: code, type, get/set, default, current, form 2, count, values.
        QByteArray desc = bytes({0x13, 0x50, 0x04, 0x00, 0x01, 1, 0, 1, 0, 2});
        const QList<int> values = offers7 ? QList<int>{1, 2, 3, 7} : QList<int>{1, 2, 3};
        desc += OLP_Test_PropertyAccess::littleEndian(values.size(), 2);
        for (const int v : values) {
            desc += OLP_Test_PropertyAccess::littleEndian(v, 2);
        }
        camera.setDescriptor(0x5013, desc);
        camera.updateStillCaptureModeSupport();
        QCOMPARE(camera.hasStillCaptureMode7(), offers7);

        auto settings = settingsFor(camera);
        settings->setDriveMode(1);
        QCOMPARE(camera.writes().first().bytes, offers7 ? bytes({7, 0}) : bytes({1, 0}));
        QCOMPARE(settings->driveMode(), 1);

        // The camera reporting drive mode 7 is a single shot only on such a camera.
        camera.setPropertyValue(0x5013, 7, 2);
        settings->recvFromCamera(0x5013, nullptr);
        QCOMPARE(settings->driveMode(), offers7 ? 1 : 8);
    }

    void seventhBulbPreset_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<int>("preset");
        QTest::addColumn<Flags>("flags");
        QTest::addColumn<double>("seconds");
        QTest::newRow("Seventh 30") << ProductIdSeventh << 30 << Flags({30}) << 1.0 / 125;
        QTest::newRow("Seventh 32") << ProductIdSeventh << 32 << Flags({30, 53}) << 32.0;
        QTest::newRow("Seventh 8") << ProductIdSeventh << 8 << Flags({30, 53}) << 8.0;
        QTest::newRow("Seventh 60") << ProductIdSeventh << 60 << Flags({30, 53}) << 60.0;
        QTest::newRow("KestaD 32") << ProductIdKestaD << 32 << Flags({30}) << 1.0 / 125;
    }

    void seventhBulbPreset()
    {
        QFETCH(quint32, product);
        QFETCH(int, preset);
        QFETCH(Flags, flags);
        QFETCH(double, seconds);
        OLP_Test_PropertyAccess camera(product);
        baseline(camera);
        camera.setPropertyValue(0xD60C, 1792);  // 1/125 s
        auto settings = settingsFor(camera);

        camera.setPropertyValue(0xD079, preset);
        SettingsChangeFlags changes;
        settings->recvFromCamera(0xD079, &changes);
        QCOMPARE(settings->exposTimeBulbPreset(), preset);
        QCOMPARE(flagsSet(changes), flags);
        QCOMPARE(settings->shutterTime(), seconds);
    }

    void unknownCodeLogs()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        camera.clearRecord();
        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        settings->recvFromCamera(0xD603, &changes);
        QVERIFY(camera.reads().isEmpty());
        QCOMPARE(flagsSet(changes), Flags());
        QVERIFY(log.contains(
            QStringLiteral("OLP_Logic_CameraSettingsByDevProps::recvFromCamera - unknown device property 0xD603")));
    }

    // Without a change record the cache still follows the camera.
    void nullChangeRecord()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        camera.setPropertyValue(0xD014, 6600);
        camera.setPropertyValue(0x5005, 11, 2);
        settings->recvFromCamera(0xD014, nullptr);
        settings->recvFromCamera(nullptr);
        QCOMPARE(settings->whiteBalanceColorTemp(), 6600);
        QCOMPARE(settings->whiteBalanceIndex(), 11);

        SettingsChangeFlags changes;
        settings->recvFromCamera(&changes);
        QCOMPARE(flagsSet(changes), Flags());
    }

    void initialValues()
    {
        // A camera that answers nothing: every value keeps its initial value.
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->batteryLevelIntern(), 255);
        QCOMPARE(settings->batteryLevelExtern(), 255);
        QCOMPARE(settings->maxShutterTime(), 60.0);  // code -1536
        QCOMPARE(settings->selfTimerRestTime(), -1);
        QCOMPARE(settings->bulbModeTime(), -1);
        QCOMPARE(settings->focusDistance(), -1);
        QCOMPARE(settings->autoFocusLimitDistance(), -1);
        QCOMPARE(settings->sensitivityAuto(), true);
        QCOMPARE(settings->intervalFrames(), 1);
        QCOMPARE(settings->intervalTime(), 1);
        QCOMPARE(settings->exposMetering(), 2);
        QCOMPARE(settings->exposureMode(), 0);  // program 1
        QCOMPARE(settings->exposCompensStep(), 500);
        QCOMPARE(settings->bracketingImageNumbers(), 3);
        QCOMPARE(settings->bracketingDeltaEV(), 1000);
        QCOMPARE(settings->videoResAndFrRate(), 8);
        QCOMPARE(settings->videoFormatResol(), 3);
        QCOMPARE(settings->audioVolSpeaker(), 3);
        QCOMPARE(settings->audioVolHeadphone(), 3);
        QCOMPARE(settings->whiteBalanceColorTemp(), 5000);
        QCOMPARE(settings->jpgColorSpace(), 1);
        QCOMPARE(settings->autoPowerOff(), 1);  // raw 1 minute
        QCOMPARE(settings->storageType(), 0);
        QCOMPARE(settings->isDirty(), false);
    }

    void featureTable_data()
    {
        QTest::addColumn<QString>("feature");
        QTest::addColumn<bool>("kestaD");
        QTest::addColumn<bool>("pelvo");
        QTest::addColumn<bool>("seventh");
        const char* always[] = {"featureFocusMode",
                                "featureMoveLensToPos",
                                "featureMoveLensRightLeft",
                                "featureJpgResSelection",
                                "featureContrast",
                                "featureSharpness",
                                "featureSaturation",
                                "featureAudioVolMicrophone",
                                "featureExposureSimulation",
                                "featureFocusDistance",
                                "featurePowerSave",
                                "featureInterval",
                                "featureKeyLock",
                                "featureLiveView",
                                "featureVideoRecording",
                                "featureWhiteBalance",
                                "featurePreview",
                                "featureHMI",
                                "featureFlashStatus",
                                "featureFlashXSymbol",
                                "featureAperture",
                                "featureBracketing",
                                "featureJpgColorSpace",
                                "featureStorageType",
                                "featureSpare"};
        const char* pelvoOnly[] = {"featureSensorFormat",   "featurePhotoAspectRatio",  "featureVideoFormatResol",
                                   "featureAutoFocusLimit", "featureElectronicShutter", "featureExposCompensStep"};
        const char* exceptPelvo[] = {"featureVideoResAndFrRate", "featureMonochrome",        "featureAudioLevel",
                                     "featureAudioWindElim",     "featureAudioVolSpeaker",   "featureAudioVolHeadphone",
                                     "featureFocusConfirmation", "featureLanguage",          "featureMirrorUpMode",
                                     "featureShutterMode",       "featureAutoreviewDuration"};
        const char* never[] = {"featureVideoFileFormat", "featureExposTimeBulbPreset", "featureLensConnectionType",
                               "featureDngCompression", "featureWarnings"};
        for (const char* f : always) {
            QTest::newRow(f) << QString::fromLatin1(f) << true << true << true;
        }
        for (const char* f : pelvoOnly) {
            QTest::newRow(f) << QString::fromLatin1(f) << false << true << false;
        }
        for (const char* f : exceptPelvo) {
            QTest::newRow(f) << QString::fromLatin1(f) << true << false << true;
        }
        for (const char* f : never) {
            QTest::newRow(f) << QString::fromLatin1(f) << false << false << false;
        }
    }

    void featureTable()
    {
        QFETCH(QString, feature);
        QFETCH(bool, kestaD);
        QFETCH(bool, pelvo);
        QFETCH(bool, seventh);
        QVERIFY(features().contains(feature));
        const Feature query = features().value(feature);
        const QList<QPair<quint32, bool>> cases = {
            {ProductIdKestaD, kestaD}, {ProductIdPelvo, pelvo}, {ProductIdSeventh, seventh}};
        for (const auto& c : cases) {
            OLP_Test_PropertyAccess camera(c.first);
            auto settings = settingsFor(camera);
            QCOMPARE((settings.get()->*query)(), c.second);
        }
    }

    void notAvailableOperations()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        camera.clearRecord();
        OLP_Test_LogCapture log;
        settings->setDngCompression(true);
        settings->setFlashXSymbol(true);
        settings->setLockAEAF(true);
        QCOMPARE(settings->RAMBufferFreeCaptures(), 0);
        QCOMPARE(settings->sensorBoardTemperature(), 0);
        QCOMPARE(settings->dngCompression(), false);
        QCOMPARE(settings->lockAEAF(), 0);
        QCOMPARE(settings->batterySource(), 0);
        QCOMPARE(settings->warnings(), 0);
        QCOMPARE(settings->iSOValue(), 0);
        QCOMPARE(settings->flashCompensation(), 0);
        QCOMPARE(settings->USBspeed(), 0);
        settings->sendToCamera();
        QVERIFY(camera.writes().isEmpty());
        for (const char* method :
             {"setDngCompression", "setFlashXSymbol", "setLockAEAF", "RAMBufferFreeCaptures", "sensorBoardTemperature",
              "dngCompression", "lockAEAF", "batterySource", "warnings", "iSOValue", "flashCompensation"}) {
            QCOMPARE(log.count(QStringLiteral("OLP_Logic_CameraSettingsByDevProps::%1 - functionality is not available")
                                   .arg(QLatin1String(method))),
                     1);
        }
        QVERIFY(!log.contains(QStringLiteral("USBspeed - functionality")));
        QVERIFY(log.contains(
            QStringLiteral("OLP_Logic_CameraSettingsByDevProps::sendToCamera - functionality is not needed")));
    }

    void focusModeReachesAccessObject()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        QCOMPARE(camera.focusMode(), quint16(2));
        auto settings = settingsFor(camera);
        QCOMPARE(camera.focusMode(), quint16(0));  // read in the refresh

        settings->setFocusMode(1);
        QCOMPARE(camera.focusMode(), quint16(1));
        camera.setWriteFailure(0x500A);
        settings->setFocusMode(2);
        QCOMPARE(camera.focusMode(), quint16(1));
        QCOMPARE(settings->focusMode(), 1);
    }

    // The step size read or written reaches the shutter grid and the light balance.
    void stepSize()
    {
        OLP_Test_PropertyAccess camera(ProductIdPelvo);
        baseline(camera);
        camera.setPropertyValue(0xD615, -256);
        auto settings = settingsFor(camera);
        auto* devProps = settings.get();
        QCOMPARE(devProps->shutterTimeConverter().stepSize(), 500);
        QCOMPARE(settings->lightBalance(), -2);

        camera.setPropertyValue(0xD040, 333);
        settings->recvFromCamera(0xD040, nullptr);
        QCOMPARE(devProps->shutterTimeConverter().stepSize(), 333);
        QCOMPARE(settings->lightBalance(), -3);

        settings->setExposCompensStepSize(500);
        QCOMPARE(devProps->shutterTimeConverter().stepSize(), 500);
        camera.setWriteFailure(0xD040);
        settings->setExposCompensStepSize(333);
        QCOMPARE(devProps->shutterTimeConverter().stepSize(), 500);
    }

    void lightBalance_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("balance");
        QTest::newRow("half stops +1 EV") << 500 << bytes({0x00, 0x01, 0, 0}) << 2;
        QTest::newRow("half stops -0.4 EV") << 500 << bytes({0x9A, 0xFF, 0, 0}) << -1;
        QTest::newRow("thirds +1 EV") << 333 << bytes({0x00, 0x01, 0, 0}) << 3;
        QTest::newRow("thirds high bytes ignored") << 333 << bytes({0x00, 0x01, 0x55, 0x55}) << 3;
    }

    void lightBalance()
    {
        QFETCH(int, step);
        QFETCH(QByteArray, answer);
        QFETCH(int, balance);
        OLP_Test_PropertyAccess camera(ProductIdPelvo);
        baseline(camera);
        camera.setPropertyValue(0xD040, step);
        camera.setProperty(0xD615, answer);
        auto settings = settingsFor(camera);
        QCOMPARE(settings->lightBalance(), balance);
    }

    void dumpLines()
    {
        OLP_Test_PropertyAccess kesta(ProductIdKestaD);
        baseline(kesta);
        kesta.setPropertyValue(0x5013, 3, 2);
        kesta.setPropertyValue(0xD60C, 1792);
        auto settings = settingsFor(kesta);
        const SettingsLog settingsLog;
        OLP_Test_LogCapture log;
        settings->dump(QStringLiteral("test"));
        const QString prefix = QStringLiteral("OLP_Logic_CameraSettingsByDevProps::dump - ");
        QVERIFY(log.contains(prefix + QStringLiteral("driveMode                = 2")));
        QVERIFY(log.contains(prefix + QStringLiteral("shutterMode              = 0")));
        QVERIFY(log.contains(prefix + QStringLiteral("flashXSymbol             = No")));
        QVERIFY(log.contains(prefix + QStringLiteral("shutterTime              = 0.008000")));
        QVERIFY(log.contains(prefix + QStringLiteral("featureAperture          = Yes")));
        QVERIFY(log.contains(prefix + QStringLiteral("featureWarnings          = No")));
        QVERIFY(!log.contains(prefix + QStringLiteral("dngCompression")));
        QVERIFY(!log.contains(QStringLiteral("functionality is not available")));
        QVERIFY(!log.contains(QStringLiteral("test")));
        QCOMPARE(log.count(prefix + QStringLiteral("feature")), 48);

        OLP_Test_PropertyAccess pelvo(ProductIdPelvo);
        baseline(pelvo);
        auto pelvoSettings = settingsFor(pelvo);
        log.clear();
        pelvoSettings->dump(QStringLiteral("test"));
        QVERIFY(!log.contains(prefix + QStringLiteral("shutterMode")));
        QVERIFY(!log.contains(prefix + QStringLiteral("mirrorUpMode")));
        QVERIFY(log.contains(prefix + QStringLiteral("videoFormatResol         = 0")));
    }

    // A full refresh ends with a dump only while the settings category is on.
    void refreshDumpsWhenLogged()
    {
        OLP_Test_PropertyAccess camera(ProductIdKestaD);
        baseline(camera);
        auto settings = settingsFor(camera);
        OLP_Test_LogCapture log;
        {
            const SettingsLog settingsLog;
            settings->recvFromCamera(nullptr);
        }
        QVERIFY(log.contains(QStringLiteral("OLP_Logic_CameraSettingsByDevProps::dump - driveMode")));
        log.clear();
        settings->recvFromCamera(nullptr);
        QVERIFY(!log.contains(QStringLiteral("OLP_Logic_CameraSettingsByDevProps::dump")));
    }
};

QTEST_GUILESS_MAIN(tst_SettingsDevProps)
#include "tst_SettingsDevProps.moc"
