#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_CameraSettingsByDevProps.h"
#include "OLP_Logic_DeviceInfo.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

// The device-property settings through the real USB transport against the
// emulated Kesta D, Pelvo and Seventh: every property changed on the camera
// reaches its getter with exactly its change flag, and every setter writes
// the property the camera expects with bytes the camera accepts.

using Settings = OLP_Logic_CameraSettingsBase;
using Flags = QList<int>;
using Codes = QList<quint16>;
// Camera values to start from: code, value, code, value, ...
using Start = QVector<qint64>;

Q_DECLARE_METATYPE(Codes)
Q_DECLARE_METATYPE(Start)

namespace {

constexpr quint16 OpGetValue = 0x1015;
constexpr quint16 OpSetValue = 0x1016;
constexpr quint16 GeneralError = 0x2002;
constexpr eDebugFlag kLogSettings = 1024;

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

OLP_Commu_EmuProfile profileFor(quint32 product, const Start& start)
{
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(quint16(product));
    for (int i = 0; i + 1 < start.size(); i += 2) {
        for (OLP_Commu_EmuProfile::Property& p : profile.properties) {
            if (p.code == start.at(i)) {
                p.current = start.at(i + 1);
            }
        }
    }
    return profile;
}

double getterValue(Settings& s, const QString& name)
{
#define OLP_GETTER(getter)                \
    if (name == QLatin1String(#getter)) { \
        return double(s.getter());        \
    }
    OLP_GETTER(driveMode)
    OLP_GETTER(focusMode)
    OLP_GETTER(exposMetering)
    OLP_GETTER(exposCompens)
    OLP_GETTER(exposCompensStep)
    OLP_GETTER(bracketingEnabled)
    OLP_GETTER(bracketingImageNumbers)
    OLP_GETTER(bracketingDeltaEV)
    OLP_GETTER(bracketingAutomatic)
    OLP_GETTER(shutterMode)
    OLP_GETTER(mirrorUpMode)
    OLP_GETTER(sensitivity)
    OLP_GETTER(sensitivityAuto)
    OLP_GETTER(keyLock)
    OLP_GETTER(flashXSymbol)
    OLP_GETTER(fileFormat)
    OLP_GETTER(maxShutterTime)
    OLP_GETTER(whiteBalanceIndex)
    OLP_GETTER(whiteBalanceColorTemp)
    OLP_GETTER(jpgColorSpace)
    OLP_GETTER(storageType)
    OLP_GETTER(lightMeter)
    OLP_GETTER(autoreviewDuration)
    OLP_GETTER(autoPowerOff)
    OLP_GETTER(sensorFormat)
    OLP_GETTER(photoAspectRatio)
    OLP_GETTER(jpgResolution)
    OLP_GETTER(videoFileFormat)
    OLP_GETTER(videoResAndFrRate)
    OLP_GETTER(videoFormatResol)
    OLP_GETTER(contrast)
    OLP_GETTER(sharpness)
    OLP_GETTER(saturation)
    OLP_GETTER(monochrome)
    OLP_GETTER(electronicShutter)
    OLP_GETTER(exposTimeBulbPreset)
    OLP_GETTER(lensConnectionType)
    OLP_GETTER(orientation)
    OLP_GETTER(audioLevel)
    OLP_GETTER(audioWindElim)
    OLP_GETTER(audioVolSpeaker)
    OLP_GETTER(audioVolHeadphone)
    OLP_GETTER(audioVolMicrophone)
    OLP_GETTER(exposureSimulation)
    OLP_GETTER(language)
    OLP_GETTER(batteryInfo)
    OLP_GETTER(batteryLevelIntern)
    OLP_GETTER(batteryLevelExtern)
    OLP_GETTER(powerSwitch)
    OLP_GETTER(selfTimerRestTime)
    OLP_GETTER(bulbModeTime)
    OLP_GETTER(exposureMode)
    OLP_GETTER(aperture)
    OLP_GETTER(shutterTime)
    OLP_GETTER(focusDistance)
    OLP_GETTER(focusConfirmation)
    OLP_GETTER(focusConfirmationBadSignal)
    OLP_GETTER(focusConfirmationEnabled)
    OLP_GETTER(autoFocusLimit)
    OLP_GETTER(autoFocusLimitDistance)
    OLP_GETTER(intervalFrames)
    OLP_GETTER(intervalTime)
    OLP_GETTER(flashStatus)
#undef OLP_GETTER
    return qQNaN();  // not a getter of the table
}

bool callSetter(Settings& s, const QString& name, double v)
{
#define OLP_SETTER(setter, type)          \
    if (name == QLatin1String(#setter)) { \
        s.setter(type(v));                \
        return true;                      \
    }
    OLP_SETTER(setDriveMode, int)
    OLP_SETTER(setFocusMode, int)
    OLP_SETTER(setExposMetering, int)
    OLP_SETTER(setExposCompens, int)
    OLP_SETTER(setExposCompensStepSize, int)
    OLP_SETTER(setBracketEnabled, bool)
    OLP_SETTER(setBracketImgNum, int)
    OLP_SETTER(setBracketDeltaEV, int)
    OLP_SETTER(setBracketingAutomatic, int)
    OLP_SETTER(setMirrorUpMode, int)
    OLP_SETTER(setSensitivity, int)
    OLP_SETTER(setKeyLock, bool)
    OLP_SETTER(setFileFormat, int)
    OLP_SETTER(setWhiteBalanceIndex, int)
    OLP_SETTER(setWhiteBalanceColorTemp, int)
    OLP_SETTER(setJpgColorSpace, int)
    OLP_SETTER(setStorageType, int)
    OLP_SETTER(setAutoreviewDuration, int)
    OLP_SETTER(setAutoPowerOff, int)
    OLP_SETTER(setSensorFormat, int)
    OLP_SETTER(setPhotoAspectRatio, int)
    OLP_SETTER(setJpgResolution, int)
    OLP_SETTER(setVideoFileFormat, int)
    OLP_SETTER(setVideoResAndFrRate, int)
    OLP_SETTER(setVideoFormatResol, int)
    OLP_SETTER(setContrast, int)
    OLP_SETTER(setSharpness, int)
    OLP_SETTER(setSaturation, int)
    OLP_SETTER(setMonochrome, int)
    OLP_SETTER(setElectronicShutter, int)
    OLP_SETTER(setExposTimeBulbPreset, int)
    OLP_SETTER(setAudioLevel, int)
    OLP_SETTER(setAudioWindElim, int)
    OLP_SETTER(setAudioVolSpeaker, int)
    OLP_SETTER(setAudioVolHeadphone, int)
    OLP_SETTER(setAudioVolMicrophone, int)
    OLP_SETTER(setExposureSimulation, int)
    OLP_SETTER(setLanguage, int)
    OLP_SETTER(setExposureMode, int)
    OLP_SETTER(setAperture, double)
    OLP_SETTER(setShutterTime, double)
    OLP_SETTER(setAutoFocusLimit, bool)
    OLP_SETTER(setIntervalFrames, int)
    OLP_SETTER(setIntervalTime, int)
#undef OLP_SETTER
    return false;
}

// An emulated camera on its own bus, the real USB transport and the settings
// object. Property reports reach the settings as they would through the
// camera object: each one is read into the current change record.
struct EmuSettings
{
    explicit EmuSettings(quint32 product, const Start& start = {})
        : rig(profileFor(product, start)),
          reports(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged)
    {}
    ~EmuSettings()
    {
        settings.reset();
        rig.access->closeConnection();
    }

    bool open() { return rig.open(); }
    void create(OLP_Logic_DeviceInfo* info = nullptr)
    {
        settings = std::make_unique<OLP_Logic_CameraSettingsByDevProps>(rig.access.get(), info);
        QObject::connect(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged, &receiver,
                         [this](ushort code) { settings->recvFromCamera(code, &changes); });
    }
    // Every code has been reported (and read) since the last clear.
    bool waitReported(const Codes& codes)
    {
        return QTest::qWaitFor(
            [&] {
                QSet<quint16> seen;
                for (const QList<QVariant>& args : reports) {
                    seen.insert(args.at(0).value<ushort>());
                }
                for (const quint16 code : codes) {
                    if (!seen.contains(code)) {
                        return false;
                    }
                }
                return true;
            },
            olpTimeout(3000));
    }
    void clear()
    {
        reports.clear();
        changes = SettingsChangeFlags();
    }
    // The camera's property changed on its own, and its report was read.
    bool cameraChanges(quint16 code, qint64 value)
    {
        clear();
        return rig.camera->setPropertyValue(code, value) && waitReported({code});
    }

    OLP_Test_EmuRig rig;
    QSignalSpy reports;
    QObject receiver;
    std::unique_ptr<OLP_Logic_CameraSettingsByDevProps> settings;
    SettingsChangeFlags changes;
};

}  // namespace

class tst_SettingsDevPropsEmu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        olpTestInit();
        OLP_Logic_APEXConverterAperture::setProductId(ProductIdKestaD);
        OLP_Logic_APEXConverterAperture::setStepSize(500);
    }

    // Catches a wrong code, width, signedness, conversion or flag for every
    // property: the camera changes it, reports it, and the getter and the
    // change record show exactly that change. Values of 4-byte properties
    // reach beyond 16 bits where the getter passes them through.
    void cameraChangeReachesGetter_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QString>("getter");
        QTest::addColumn<double>("expected");
        QTest::addColumn<Flags>("flags");

        auto row = [](const char* name, quint16 code, qint64 value, const char* getter, double expected,
                      const Flags& flags, quint32 product = ProductIdKestaD) {
            QTest::newRow(name) << product << code << value << QString::fromLatin1(getter) << expected << flags;
        };
        row("0x5001 battery level", 0x5001, 75, "batteryLevelIntern", 75, {1});
        row("0x5005 white balance", 0x5005, 4, "whiteBalanceIndex", 4, {45});
        row("0x500A focus mode", 0x500A, 2, "focusMode", 2, {8});
        row("0x500B metering", 0x500B, 0, "exposMetering", 0, {9});
        row("0x500E bulb", 0x500E, 0x200, "exposureMode", 4, {51});
        row("0x500E shutter priority", 0x500E, 4, "exposureMode", 1, {51});
        row("0x500F fixed sensitivity", 0x500F, 400, "sensitivityAuto", 0, {17});
        row("0xD610 sensitivity", 0xD610, 65936, "sensitivity", 65936, {17});
        row("0x5010 compensation", 0x5010, -1000, "exposCompens", -1000, {10});
        row("0x5013 drive mode", 0x5013, 3, "driveMode", 2, {7});
        row("0x5014 contrast", 0x5014, 2, "contrast", 2, {25});
        row("0x5015 sharpness", 0x5015, 3, "sharpness", 3, {26});
        row("0xD000 interval frames", 0xD000, 70000, "intervalFrames", 70000, {61});
        row("0xD001 interval time", 0xD001, 89999, "intervalTime", 89999, {62});
        row("0xD004 file format", 0xD004, 2, "fileFormat", 3, {44});
        row("0xD005 bracketing", 0xD005, 0x10000, "bracketingEnabled", 1, {12});
        row("0xD006 bracketing frames", 0xD006, 65541, "bracketingImageNumbers", 65541, {13});
        row("0xD007 bracketing delta", 0xD007, 67536, "bracketingDeltaEV", 67536, {14});
        row("0xD008 automatic bracketing", 0xD008, 65537, "bracketingAutomatic", 65537, {15});
        row("0xD00A mirror up", 0xD00A, 65537, "mirrorUpMode", 65537, {16});
        row("0xD00F jpg resolution", 0xD00F, 65538, "jpgResolution", 65538, {21});
        row("0xD012 audio level", 0xD012, 65537, "audioLevel", 65537, {33});
        row("0xD013 wind elimination", 0xD013, 65537, "audioWindElim", 65537, {34});
        row("0xD014 colour temperature", 0xD014, 72136, "whiteBalanceColorTemp", 72136, {46});
        row("0xD015 colour space", 0xD015, 65538, "jpgColorSpace", 65538, {47});
        row("0xD016 saturation", 0xD016, 65538, "saturation", 65538, {27});
        row("0xD018 external shooting", 0xD018, 0x10000, "storageType", 2, {48});
        row("0xD01A review hold", 0xD01A, -1, "autoreviewDuration", -1, {49});
        row("0xD024 power off 7 minutes", 0xD024, 7, "autoPowerOff", 1, {50});
        row("0xD024 power off 10 minutes", 0xD024, 10, "autoPowerOff", 3, {50});
        row("0xD02D key lock", 0xD02D, 0x10000, "keyLock", 1, {18});
        row("0xD036 language", 0xD036, 65539, "language", 65539, {39});
        row("0xD03F video file format", 0xD03F, 65537, "videoFileFormat", 65537, {22});
        row("0xD040 step size", 0xD040, 333, "exposCompensStep", 333, {11});
        row("0xD04E focus limit", 0xD04E, 1, "autoFocusLimit", 1, {58});
        row("0xD04F aspect ratio", 0xD04F, 65541, "photoAspectRatio", 65541, {20});
        row("0xD050 sensor format", 0xD050, 65537, "sensorFormat", 65537, {19});
        row("0xD06F focus limit distance", 0xD06F, 75536, "autoFocusLimitDistance", 75536, {59});
        row("0xD079 bulb preset", 0xD079, 65568, "exposTimeBulbPreset", 65568, {30});
        row("0xD080 electronic shutter", 0xD080, 0, "electronicShutter", 1, {29});
        row("0xD082 video format", 0xD082, 65565, "videoFormatResol", 65565, {24});
        row("0xD115 exposure simulation", 0xD115, 65537, "exposureSimulation", 65537, {38});
        row("0xD121 speaker volume", 0xD121, 0x100C8, "audioVolSpeaker", 200, {35});
        row("0xD122 headphone volume", 0xD122, 0x10011, "audioVolHeadphone", 17, {36});
        row("0xD123 microphone volume", 0xD123, 0x100FF, "audioVolMicrophone", 255, {37});
        row("0xD125 video resolution", 0xD125, 65543, "videoResAndFrRate", 65543, {23});
        row("0xD13B monochrome", 0xD13B, 65537, "monochrome", 65537, {28});
        row("0xD608 external battery", 0xD608, 65616, "batteryLevelExtern", 65616, {2});
        row("0xD60C exposure time", 0xD60C, -1280, "shutterTime", 32, {53});
        row("0xD60E aperture", 0xD60E, 1536, "aperture", 8, {52});
        row("0xD615 light meter", 0xD615, 0x1FF00, "lightMeter", -256, {43});
        row("0xD616 battery info", 0xD616, 65537, "batteryInfo", 65537, {0});
        row("0xD618 flash status", 0xD618, 65537, "flashStatus", 65537, {41});
        row("0xD619 flash sync", 0xD619, 0x10000, "flashXSymbol", 1, {42});
        row("0xD621 focus confirmation", 0xD621, 77, "focusConfirmation", 77, {55});
        row("0xD622 bad signal", 0xD622, 1, "focusConfirmationBadSignal", 1, {57});
        row("0xD623 confirmation off", 0xD623, 0, "focusConfirmationEnabled", 0, {56});
        row("0xD625 longest time", 0xD625, -1280, "maxShutterTime", 32, {3});
        row("0xD626 power switch", 0xD626, 3, "shutterMode", 1, {4});
        row("0xD627 self timer", 0xD627, 65545, "selfTimerRestTime", 65545, {5});
        row("0xD628 bulb time", 0xD628, 65545, "bulbModeTime", 65545, {6});
        row("0xD62B focus distance", 0xD62B, 77881, "focusDistance", 77881, {54});
        row("0xD643 lens connection", 0xD643, 65538, "lensConnectionType", 65538, {31});
        row("0xD65F orientation", 0xD65F, -90, "orientation", -90, {32});
        row("Pelvo 0x5013 bracketing", 0x5013, 8, "driveMode", 4, {7, 12}, ProductIdPelvo);
        row("Pelvo 0x5010 third stop", 0x5010, -1333, "exposCompens", -1333, {10}, ProductIdPelvo);
        row("Seventh 0xD079 preset 32", 0xD079, 32, "shutterTime", 32, {30, 53}, ProductIdSeventh);
        row("Seventh 0xD079 preset 30", 0xD079, 30 + 0x10000, "exposTimeBulbPreset", 30 + 0x10000, {30},
            ProductIdSeventh);
    }

    void cameraChangeReachesGetter()
    {
        QFETCH(quint32, product);
        QFETCH(quint16, code);
        QFETCH(qint64, value);
        QFETCH(QString, getter);
        QFETCH(double, expected);
        QFETCH(Flags, flags);

        EmuSettings emu(product);
        QVERIFY(emu.open());
        emu.create();
        QVERIFY(emu.cameraChanges(code, value));
        const double shown = getterValue(*emu.settings, getter);
        QVERIFY2(!qIsNaN(shown), "unknown getter");
        QCOMPARE(shown, expected);
        QCOMPARE(flagsSet(emu.changes), flags);
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }

    // Catches a setter writing the wrong property, width, byte order or
    // conversion (the camera refuses sizes and values it does not take), or
    // writing what the camera already has. The camera's own reports of the
    // new value then change nothing more.
    void setterWritesCamera_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<Start>("start");
        QTest::addColumn<QString>("setter");
        QTest::addColumn<double>("value");
        QTest::addColumn<quint16>("code");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<qint64>("cameraValue");
        QTest::addColumn<Codes>("reported");
        QTest::addColumn<Flags>("flagsAfter");

        auto row = [](const char* name, const char* setter, double value, quint16 code, const QByteArray& written,
                      qint64 cameraValue, quint32 product = ProductIdKestaD, const Start& start = {}) {
            QTest::newRow(name) << product << start << QString::fromLatin1(setter) << value << code << written
                                << cameraValue << Codes{code} << Flags();
        };
        row("drive mode", "setDriveMode", 2, 0x5013, bytes({3, 0}), 3);
        row("Pelvo drive mode 8", "setDriveMode", 8, 0x5013, bytes({7, 0}), 7, ProductIdPelvo);
        row("focus mode", "setFocusMode", 1, 0x500A, bytes({1, 0}), 1);
        row("metering", "setExposMetering", 0, 0x500B, bytes({0, 0}), 0);
        row("compensation", "setExposCompens", -1000, 0x5010, bytes({0x18, 0xFC}), -1000);
        row("Pelvo compensation", "setExposCompens", -1333, 0x5010, bytes({0xCB, 0xFA}), -1333, ProductIdPelvo);
        row("step size", "setExposCompensStepSize", 333, 0xD040, bytes({0x4D, 0x01, 0, 0}), 333);
        row("bracketing", "setBracketEnabled", 1, 0xD005, bytes({1, 0, 0, 0}), 1);
        row("bracketing frames", "setBracketImgNum", 5, 0xD006, bytes({5, 0, 0, 0}), 5);
        row("bracketing delta", "setBracketDeltaEV", 2000, 0xD007, bytes({0xD0, 0x07, 0, 0}), 2000);
        row("bracketing automatic", "setBracketingAutomatic", 1, 0xD008, bytes({1, 0, 0, 0}), 1);
        row("mirror up", "setMirrorUpMode", 1, 0xD00A, bytes({1, 0, 0, 0}), 1);
        row("key lock", "setKeyLock", 1, 0xD02D, bytes({1, 0, 0, 0}), 1);
        row("file format JPG", "setFileFormat", 3, 0xD004, bytes({2, 0, 0, 0}), 2);
        row("white balance", "setWhiteBalanceIndex", 4, 0x5005, bytes({4, 0}), 4);
        row("colour temperature", "setWhiteBalanceColorTemp", 6600, 0xD014, bytes({0xC8, 0x19, 0, 0}), 6600);
        row("colour space", "setJpgColorSpace", 2, 0xD015, bytes({2, 0, 0, 0}), 2);
        row("storage external", "setStorageType", 2, 0xD018, bytes({1, 0, 0, 0}), 1);
        row("review hold", "setAutoreviewDuration", -1, 0xD01A, bytes({0xFF, 0xFF, 0xFF, 0xFF}), -1);
        row("power off 10 minutes", "setAutoPowerOff", 3, 0xD024, bytes({10, 0, 0, 0}), 10);
        row("power off 2 minutes", "setAutoPowerOff", 1, 0xD024, bytes({2, 0, 0, 0}), 2, ProductIdKestaD, {0xD024, 5});
        row("sensor format", "setSensorFormat", 1, 0xD050, bytes({1, 0, 0, 0}), 1);
        row("aspect ratio", "setPhotoAspectRatio", 5, 0xD04F, bytes({5, 0, 0, 0}), 5);
        row("jpg resolution", "setJpgResolution", 2, 0xD00F, bytes({2, 0, 0, 0}), 2);
        row("video file format", "setVideoFileFormat", 1, 0xD03F, bytes({1, 0, 0, 0}), 1);
        row("video resolution", "setVideoResAndFrRate", 7, 0xD125, bytes({7, 0, 0, 0}), 7);
        row("video format", "setVideoFormatResol", 29, 0xD082, bytes({29, 0, 0, 0}), 29);
        row("contrast", "setContrast", 2, 0x5014, bytes({2}), 2);
        row("sharpness", "setSharpness", 2, 0x5015, bytes({2}), 2);
        row("saturation", "setSaturation", 2, 0xD016, bytes({2, 0, 0, 0}), 2);
        row("monochrome", "setMonochrome", 1, 0xD13B, bytes({1, 0, 0, 0}), 1);
        row("electronic shutter", "setElectronicShutter", 1, 0xD080, bytes({1, 0, 0, 0}), 1, ProductIdKestaD,
            {0xD080, 0});
        row("bulb preset", "setExposTimeBulbPreset", 32, 0xD079, bytes({32, 0, 0, 0}), 32);
        row("audio level", "setAudioLevel", 1, 0xD012, bytes({1, 0, 0, 0}), 1);
        row("wind elimination", "setAudioWindElim", 1, 0xD013, bytes({1, 0, 0, 0}), 1);
        row("speaker", "setAudioVolSpeaker", 200, 0xD121, bytes({200, 0, 0, 0}), 200);
        row("headphone", "setAudioVolHeadphone", 17, 0xD122, bytes({17, 0, 0, 0}), 17);
        row("microphone", "setAudioVolMicrophone", 40, 0xD123, bytes({40, 0, 0, 0}), 40);
        row("exposure simulation", "setExposureSimulation", 1, 0xD115, bytes({1, 0, 0, 0}), 1);
        row("language", "setLanguage", 3, 0xD036, bytes({3, 0, 0, 0}), 3);
        row("exposure T", "setExposureMode", 1, 0x500E, bytes({4, 0}), 4);
        row("exposure bulb", "setExposureMode", 4, 0x500E, bytes({0x00, 0x02}), 0x200);
        row("focus limit", "setAutoFocusLimit", 1, 0xD04E, bytes({1, 0, 0, 0}), 1);
        row("interval frames", "setIntervalFrames", 9999, 0xD000, bytes({0x0F, 0x27, 0, 0}), 9999);
        row("interval time", "setIntervalTime", 89999, 0xD001, bytes({0x8F, 0x5F, 0x01, 0}), 89999);

        // Written and read back under different codes.
        auto moved = [](const char* name, const char* setter, double value, quint16 code, const QByteArray& written,
                        qint64 cameraValue, quint16 readBack, const Flags& flagsAfter = {}) {
            QTest::newRow(name) << ProductIdKestaD << Start() << QString::fromLatin1(setter) << value << code << written
                                << cameraValue << Codes{code, readBack} << flagsAfter;
        };
        moved("aperture f 8", "setAperture", 8, 0xD03C, bytes({0x00, 0x06, 0, 0}), 1536, 0xD60E);
        moved("aperture f 0.7", "setAperture", 0.7, 0xD03C, bytes({0xF9, 0xFE, 0xFF, 0xFF}), -263, 0xD60E);
        moved("time 32 s", "setShutterTime", 32, 0xD03B, bytes({0x00, 0xFB, 0xFF, 0xFF}), -1280, 0xD60C);
        moved("time 1/1000", "setShutterTime", 1.0 / 1000, 0xD03B, bytes({0x00, 0x0A, 0, 0}), 2560, 0xD60C);
        // The camera leaves automatic sensitivity: its report is the change.
        moved("sensitivity 400", "setSensitivity", 400, 0x500F, bytes({0x90, 0x01, 0, 0}), 400, 0xD610, {17});
    }

    void setterWritesCamera()
    {
        QFETCH(quint32, product);
        QFETCH(Start, start);
        QFETCH(QString, setter);
        QFETCH(double, value);
        QFETCH(quint16, code);
        QFETCH(QByteArray, written);
        QFETCH(qint64, cameraValue);
        QFETCH(Codes, reported);
        QFETCH(Flags, flagsAfter);

        EmuSettings emu(product, start);
        QVERIFY(emu.open());
        emu.create();
        emu.clear();
        const int writesBefore = emu.rig.camera->requestCount(OpSetValue);

        QVERIFY(callSetter(*emu.settings, setter, value));
        QCOMPARE(emu.rig.camera->requestCount(OpSetValue), writesBefore + 1);
        const OLP_Commu_EmuCamera::Request request = emu.rig.camera->lastRequest();
        QCOMPARE(request.code, OpSetValue);
        QCOMPARE(QString::number(request.params.value(0), 16), QString::number(code, 16));
        QCOMPARE(request.data.toHex(' '), written.toHex(' '));
        QCOMPARE(emu.rig.camera->propertyValue(code), cameraValue);

        QVERIFY(emu.waitReported(reported));
        QCOMPARE(flagsSet(emu.changes), flagsAfter);

        callSetter(*emu.settings, setter, value);
        QCOMPARE(emu.rig.camera->requestCount(OpSetValue), writesBefore + 1);
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }

    void pelvoBracketingAndDriveMode()
    {
        EmuSettings emu(ProductIdPelvo, {0x5013, 1});
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->driveMode(), 1);
        QCOMPARE(emu.settings->bracketingEnabled(), false);
        const int writesBefore = emu.rig.camera->requestCount(OpSetValue);

        emu.settings->setBracketEnabled(true);
        QCOMPARE(emu.rig.camera->propertyValue(0x5013), qint64(8));
        QCOMPARE(emu.rig.camera->lastRequest().params.value(0), 0x5013u);
        emu.settings->setDriveMode(1);
        QCOMPARE(emu.rig.camera->requestCount(OpSetValue), writesBefore + 2);
        QCOMPARE(emu.rig.camera->lastRequest().data, bytes({8, 0}));

        // The camera's report shows the bracketing drive mode.
        QVERIFY(emu.waitReported({0x5013}));
        QCOMPARE(emu.settings->driveMode(), 4);
        QCOMPARE(emu.settings->bracketingEnabled(), true);

        emu.settings->setBracketEnabled(false);
        QCOMPARE(emu.rig.camera->requestCount(OpSetValue), writesBefore + 2);
        emu.settings->setDriveMode(1);
        QCOMPARE(emu.rig.camera->requestCount(OpSetValue), writesBefore + 3);
        QCOMPARE(emu.rig.camera->propertyValue(0x5013), qint64(1));
        // This camera has no bracketing switch of its own.
        QCOMPARE(emu.rig.camera->propertyValue(0xD005), qint64(0));
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }

    // A Kesta D whose StillCaptureMode offers 7 takes single shots as 7.
    void stillCaptureMode7_data()
    {
        QTest::addColumn<bool>("offers7");
        QTest::newRow("offers 7") << true;
        QTest::newRow("does not offer 7") << false;
    }

    void stillCaptureMode7()
    {
        QFETCH(bool, offers7);
        OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(quint16(ProductIdKestaD));
        for (OLP_Commu_EmuProfile::Property& p : profile.properties) {
            if (p.code == 0x5013 && !offers7) {
                p.values.removeAll(7);
            }
        }
        OLP_Test_EmuRig rig(profile);
        QVERIFY(rig.open());
        rig.access->updateStillCaptureModeSupport();
        QCOMPARE(rig.access->hasStillCaptureMode7(), offers7);

        OLP_Logic_CameraSettingsByDevProps settings(rig.access.get(), nullptr);
        settings.setDriveMode(1);
        QCOMPARE(rig.camera->propertyValue(0x5013), qint64(offers7 ? 7 : 1));
        QCOMPARE(settings.driveMode(), 1);
        QCOMPARE(rig.camera->protocolErrors(), QStringList());
    }

    void apertureReportReadsCurrentAperture()
    {
        EmuSettings emu(ProductIdKestaD);
        QVERIFY(emu.open());
        emu.create();
        QVERIFY(emu.cameraChanges(0xD60E, 1536));
        const int readsBefore = emu.rig.camera->requestCount(OpGetValue);
        emu.rig.camera->setPropertyValue(0xD60E, 2048);

        SettingsChangeFlags changes;
        emu.settings->recvFromCamera(0xD03C, &changes);
        QCOMPARE(emu.rig.camera->requestCount(OpGetValue), readsBefore + 1);
        QCOMPARE(emu.rig.camera->lastRequest().params.value(0), 0xD60Eu);
        QCOMPARE(emu.settings->aperture(), 16.0);
        QCOMPARE(flagsSet(changes), Flags({52}));
    }

    // The external battery level is part of a full refresh only while the
    // camera runs on it; its own report is always read.
    void externalBattery()
    {
        EmuSettings emu(ProductIdKestaD, {0xD616, 1, 0xD608, 60});
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->batteryLevelExtern(), 255);

        QVERIFY(emu.cameraChanges(0xD608, 55));
        QCOMPARE(emu.settings->batteryLevelExtern(), 55);
        QCOMPARE(flagsSet(emu.changes), Flags({2}));

        QVERIFY(emu.cameraChanges(0xD616, 2));
        emu.rig.camera->setPropertyValue(0xD608, 50);
        SettingsChangeFlags changes;
        emu.settings->recvFromCamera(&changes);
        QCOMPARE(emu.settings->batteryLevelExtern(), 50);
        QCOMPARE(flagsSet(changes), Flags({2}));
    }

    void focusConfirmationWhileOff()
    {
        EmuSettings emu(ProductIdKestaD, {0xD623, 0, 0xD621, 35});
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->focusConfirmation(), 0);
        const int readsBefore = emu.rig.camera->requestCount(OpGetValue);
        emu.rig.camera->setPropertyValue(0xD621, 77);

        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        setDebugFlags(kLogSettings, true);
        emu.settings->recvFromCamera(0xD621, &changes);
        setDebugFlags(kLogSettings, false);
        QCOMPARE(emu.rig.camera->requestCount(OpGetValue), readsBefore + 1);
        QCOMPARE(emu.rig.camera->lastRequest().params.value(0), 0xD623u);
        QCOMPARE(emu.settings->focusConfirmation(), 0);
        QCOMPARE(flagsSet(changes), Flags());
        QVERIFY(!log.contains(QStringLiteral("OLP_Logic_CameraSettingsByDevProps::recvFromCamera")));
    }

    void setSensitivityAutomaticTwiceWritesOnce()
    {
        EmuSettings emu(ProductIdKestaD, {0x500F, 400, 0xD610, 400});
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->sensitivityAuto(), false);
        const int writesBefore = emu.rig.camera->requestCount(OpSetValue);
        emu.settings->setSensitivity(0);
        emu.settings->setSensitivity(0);
        QCOMPARE(emu.rig.camera->requestCount(OpSetValue), writesBefore + 1);
        QCOMPARE(emu.rig.camera->propertyValue(0x500F), qint64(0));
        QCOMPARE(emu.rig.camera->propertyValue(0xD610), qint64(400));
    }

    void autoPowerOffFromCamera()
    {
        EmuSettings emu(ProductIdKestaD, {0xD024, 5});
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->autoPowerOff(), 2);
        QVERIFY(emu.cameraChanges(0xD024, 7));
        QCOMPARE(emu.settings->autoPowerOff(), 1);
        emu.settings->setAutoPowerOff(1);
        QCOMPARE(emu.rig.camera->propertyValue(0xD024), qint64(2));
    }

    // Any product but the structure cameras keeps its settings in properties.
    void variantForProduct_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::newRow("Kesta D") << ProductIdKestaD;
        QTest::newRow("Pelvo") << ProductIdPelvo;
        QTest::newRow("Seventh") << ProductIdSeventh;
        QTest::newRow("unknown product") << quint32(0x0777);
    }

    void variantForProduct()
    {
        QFETCH(quint32, product);
        OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(quint16(ProductIdKestaD));
        profile.productId = quint16(product);
        OLP_Test_EmuRig rig(profile);
        QVERIFY(rig.open());
        rig.camera->setPropertyValue(0xD014, 6600);
        std::unique_ptr<Settings> settings(Settings::create(rig.access.get(), nullptr));
        QVERIFY(dynamic_cast<OLP_Logic_CameraSettingsByDevProps*>(settings.get()));
        QCOMPARE(settings->whiteBalanceColorTemp(), 6600);
        QCOMPARE(rig.camera->protocolErrors(), QStringList());
    }

    // A refused read keeps the value and shows "No"; the refresh reads on.
    void failedReadKeepsValue()
    {
        EmuSettings emu(ProductIdKestaD, {0xD616, 1});
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->batteryInfo(), 1);
        emu.rig.camera->setPropertyValue(0xD616, 2);
        emu.rig.camera->setPropertyValue(0xD60E, 1536);

        // The first read of a full refresh is the battery information.
        emu.rig.camera->failNextOperations(GeneralError, 1, OpGetValue);
        OLP_Test_LogCapture log;
        SettingsChangeFlags changes;
        setDebugFlags(kLogSettings, true);
        emu.settings->recvFromCamera(&changes);
        setDebugFlags(kLogSettings, false);
        QCOMPARE(emu.settings->batteryInfo(), 1);
        QVERIFY(!changes.batteryInfo);
        QVERIFY(log.contains(QStringLiteral(
            "OLP_Logic_CameraSettingsByDevProps::recvFromCamera - batteryInfo           = 0   (ok = No)")));
        QCOMPARE(emu.settings->aperture(), 8.0);
        QVERIFY(changes.aperture);
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }

    // A refused write keeps the camera's value on show, and the same choice
    // again is sent again.
    void failedWriteKeepsValue()
    {
        EmuSettings emu(ProductIdKestaD);
        QVERIFY(emu.open());
        emu.create();
        QCOMPARE(emu.settings->bracketingImageNumbers(), 3);

        emu.rig.camera->failNextOperations(GeneralError, 1, OpSetValue);
        OLP_Test_LogCapture log;
        emu.settings->setBracketImgNum(5);
        QCOMPARE(emu.settings->bracketingImageNumbers(), 3);
        QCOMPARE(emu.rig.camera->propertyValue(0xD006), qint64(3));
        QVERIFY(log.contains(QStringLiteral(
            "OLP_Logic_CameraSettingsByDevProps::setBracketImgNum - writing device property 0xD006 failed")));

        emu.settings->setBracketImgNum(5);
        QCOMPARE(emu.rig.camera->propertyValue(0xD006), qint64(5));
        QCOMPARE(emu.settings->bracketingImageNumbers(), 5);
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }

    // A value the camera does not offer is refused and not kept.
    void refusedValueNotKept()
    {
        EmuSettings emu(ProductIdKestaD);
        QVERIFY(emu.open());
        emu.create();
        emu.settings->setBracketImgNum(4);
        QCOMPARE(emu.settings->bracketingImageNumbers(), 3);
        QCOMPARE(emu.rig.camera->propertyValue(0xD006), qint64(3));
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }

    void savedOnlyWhatWasRead_data()
    {
        QTest::addColumn<qint64>("refused");  // the property whose read the camera refuses
        QTest::addColumn<bool>("valid");
        QTest::newRow("both read") << qint64(-1) << true;
        QTest::newRow("storage type refused") << qint64(0xD018) << false;
        QTest::newRow("auto power-off refused") << qint64(0xD024) << false;
    }

    // The camera object saves the storage type at connection and writes it
    // back at disconnection only when it was read (catches the cached initial
    // value written back to a camera whose settings could not be read).
    void savedOnlyWhatWasRead()
    {
        QFETCH(qint64, refused);
        QFETCH(bool, valid);
        OLP_Test_EmuRig rig(ProductIdKestaD);
        QVERIFY(rig.open());
        if (refused >= 0) {
            rig.camera->failNextOperations(GeneralError, 1, OpGetValue, refused);
        }
        {
            OLP_Logic_Camera camera(rig.access.get());
            QCOMPARE(camera.cameraSettings()->valuesValid(), valid);
            QCOMPARE(camera.savedStorageType(), valid ? 0 : -1);
            // Saved: the camera stores on the card while connected.
            QCOMPARE(rig.camera->propertyValue(0xD018), qint64(valid ? 1 : 0));
            camera.restoreStorageType();
            QCOMPARE(rig.camera->propertyValue(0xD018), qint64(0));
        }
        QCOMPARE(rig.camera->requestCount(OpSetValue), valid ? 2 : 0);
        QCOMPARE(rig.camera->protocolErrors(), QStringList());
    }

    // The camera's properties at connection reach every getter in one refresh.
    void constructionReadsCamera()
    {
        EmuSettings emu(ProductIdPelvo,
                        {0xD040, 500, 0xD60C, -1280, 0xD60E, 1536, 0x500F, 800, 0xD610, 800, 0x5013, 8});
        QVERIFY(emu.open());
        OLP_Logic_DeviceInfo info(emu.rig.access.get());
        emu.create(&info);
        QCOMPARE(emu.settings->featureOrientation(), true);
        QCOMPARE(emu.settings->shutterTime(), 32.0);
        QCOMPARE(emu.settings->aperture(), 8.0);
        QCOMPARE(emu.settings->sensitivity(), 800);
        QCOMPARE(emu.settings->sensitivityAuto(), false);
        QCOMPARE(emu.settings->bracketingEnabled(), true);
        QCOMPARE(emu.settings->batteryLevelIntern(), 80);
        QCOMPARE(emu.rig.access->focusMode(), quint16(emu.rig.camera->propertyValue(0x500A)));
        QCOMPARE(emu.rig.camera->protocolErrors(), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_SettingsDevPropsEmu)
#include "tst_SettingsDevPropsEmu.moc"
