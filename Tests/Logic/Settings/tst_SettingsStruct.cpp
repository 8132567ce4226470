#include <QtTest>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Debug.h"
#include "OLP_Logic_CameraSettingsByStruct.h"
#include "OLP_Logic_CameraSettingsByStructM.h"
#include "OLP_Test_RecordingAccess.h"
#include "OLP_Test_Support.h"
#include "tst_SettingsStructTables.h"

using namespace StructTables;

namespace {

constexpr quint32 OpGet = 0x9002;
constexpr quint32 OpSet = 0x9001;

// A camera that answers the settings structure from a script, and the
// settings object of one layout reading it.
struct Rig
{
    Rig(bool layoutM, quint32 product, const QByteArray& answer)
    {
        access.connectProduct(product);
        access.setAnswer(OpGet, answer);
        create(layoutM);
    }
    Rig(bool layoutM, quint32 product, const QByteArray& answer, quint16 firstResponse)
    {
        access.connectProduct(product);
        access.setAnswer(OpGet, answer);
        access.queueResponse(OpGet, firstResponse);
        create(layoutM);
    }
    void create(bool layoutM)
    {
        if (layoutM) {
            settings = std::make_unique<OLP_Logic_CameraSettingsByStructM>(&access, nullptr);
        } else {
            settings = std::make_unique<OLP_Logic_CameraSettingsByStruct>(&access, nullptr);
        }
    }
    // The camera reports a new structure and the settings refresh from it.
    SettingsChangeFlags refresh(const QByteArray& answer)
    {
        access.setAnswer(OpGet, answer);
        SettingsChangeFlags flags;
        settings->recvFromCamera(&flags);
        return flags;
    }
    QList<QByteArray> writes() const
    {
        QList<QByteArray> out;
        for (const auto& call : access.calls) {
            if (call.operationCode == OpSet) {
                out.append(call.dataOut);
            }
        }
        return out;
    }
    OLP_Logic_CameraSettingsByStruct* s() const { return settings.get(); }

    OLP_Test_RecordingAccess access;
    std::unique_ptr<OLP_Logic_CameraSettingsByStruct> settings;
};

Flags setFlags(const SettingsChangeFlags& flags)
{
    Flags out;
    for (int i = 0; i < SettingsChangeFlags::count; ++i) {
        if (flags.at(i)) {
            out.append(i);
        }
    }
    return out;
}

QByteArray baseline(bool layoutM)
{
    return layoutM ? baselineStructM() : baselineStruct();
}

using Feature = bool (OLP_Logic_CameraSettingsBase::*)();
struct NamedFeature
{
    const char* name;
    Feature feature;
};
#define OLP_FEATURE(name)                          \
    {                                              \
#name, &OLP_Logic_CameraSettingsBase::name \
    }
const NamedFeature kFeatures[] = {
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
    OLP_FEATURE(featureOrientation),
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

}  // namespace

// Both settings-structure layouts against a scripted transport: every field's
// offset, width, conversion and change flag, every setter's bytes, the
// operations a layout does not have, and the read and write failures.
class tst_SettingsStruct : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void constructionReadsTheStructureOnce_data();
    void constructionReadsTheStructureOnce();
    void fieldChange_data();
    void fieldChange();
    void setterWrites_data();
    void setterWrites();
    void notAvailable_data();
    void notAvailable();
    void features_data();
    void features();
    void bracketingFiveImages_data();
    void bracketingFiveImages();
    void twoSettersOneWrite_data();
    void twoSettersOneWrite();
    void nullChangeRecordStillRefreshes();
    void propertyChangeIsIgnored();
    void failedReadZeroFillsAndBlocksWrites_data();
    void failedReadZeroFillsAndBlocksWrites();
    void failedReadAtConstructionWritesNothing();
    void failedWriteStaysDirty_data();
    void failedWriteStaysDirty();
    void sensitivityOfUnknownProduct();
    void dump_data();
    void dump();
    void refreshAndWriteDumpOnlyWithFlag();
};

void tst_SettingsStruct::initTestCase()
{
    olpTestInit();
    setDebugFlags(0xFFFFFFFF, false);
}

void tst_SettingsStruct::init()
{
    setDebugFlags(0xFFFFFFFF, false);
}

void tst_SettingsStruct::constructionReadsTheStructureOnce_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::newRow("layout") << false;
    QTest::newRow("layout M") << true;
}

// Catches a constructor that does not read, reads twice or asks for the wrong size.
void tst_SettingsStruct::constructionReadsTheStructureOnce()
{
    QFETCH(bool, layoutM);
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, baseline(layoutM));
    QCOMPARE(rig.access.calls.size(), 1);
    QCOMPARE(rig.access.calls[0].operationCode, OpGet);
    QCOMPARE(rig.access.calls[0].dataSize, 100u);
    QCOMPARE(rig.s()->cameraSettings(), baseline(layoutM));
    QVERIFY(rig.s()->isValid());
    QVERIFY(!rig.s()->isDirty());
}

void tst_SettingsStruct::fieldChange_data()
{
    addFieldColumns();
    addFieldRows();
}

// The camera changes a field: the getter shows the new value and exactly the
// field's change flags are set. Catches a wrong offset, width, sign,
// conversion or flag of any field.
void tst_SettingsStruct::fieldChange()
{
    QFETCH(bool, layoutM);
    QFETCH(quint32, product);
    QFETCH(Patches, before);
    QFETCH(Patches, after);
    QFETCH(QString, getter);
    QFETCH(double, expected);
    QFETCH(Flags, flags);

    Rig rig(layoutM, product, applied(baseline(layoutM), before));
    const SettingsChangeFlags changes = rig.refresh(applied(baseline(layoutM), after));
    QCOMPARE(setFlags(changes), flags);
    QVERIFY2(getters().contains(getter), qPrintable(getter));
    QCOMPARE(getters().value(getter)(rig.s()), expected);
    // A refresh never writes.
    QVERIFY(rig.writes().isEmpty());
}

void tst_SettingsStruct::setterWrites_data()
{
    addSetterColumns();
    addSetterRows();
}

// A setter changes exactly its bytes; everything else, including the bytes
// no layout interprets, goes back as read. An unchanged value writes nothing.
void tst_SettingsStruct::setterWrites()
{
    QFETCH(bool, layoutM);
    QFETCH(quint32, product);
    QFETCH(QString, setter);
    QFETCH(double, value);
    QFETCH(Patches, written);

    Rig rig(layoutM, product, baseline(layoutM));
    QVERIFY2(setters().contains(setter), qPrintable(setter));
    setters().value(setter)(rig.s(), value);
    QCOMPARE(rig.s()->isDirty(), !written.isEmpty());
    rig.s()->sendToCameraIfDirty();
    if (written.isEmpty()) {
        QVERIFY(rig.writes().isEmpty());
    } else {
        QCOMPARE(rig.writes().size(), 1);
        QCOMPARE(rig.writes().first(), applied(baseline(layoutM), written));
        QVERIFY(!rig.s()->isDirty());
    }
}

void tst_SettingsStruct::notAvailable_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("line");

    const QString s = QStringLiteral("OLP_Logic_CameraSettingsByStruct::");
    const QString m = QStringLiteral("OLP_Logic_CameraSettingsByStructM::");
    const QString inStruct = QStringLiteral(" - functionality is not available in struct mode");
    const QString inStructM = QStringLiteral(" - functionality is not available in struct mode M");
    const QString def = QStringLiteral(", returning default");
    const QString plain = QStringLiteral(" - functionality is not available");
    const QString external = QStringLiteral(" - functionality is not available in camera, but only externally");

    auto row = [](bool layoutM, const char* op, int expected, const QString& line) {
        QTest::newRow((QByteArray(layoutM ? "M " : "S ") + op).constData())
            << layoutM << QString::fromLatin1(op) << expected << line;
    };
    // Setters: the expected value is unused (-999).
    for (const char* op : {"setExposCompensStepSize",
                           "setBracketingAutomatic",
                           "setAutoreviewDuration",
                           "setSensorFormat",
                           "setPhotoAspectRatio",
                           "setVideoFileFormat",
                           "setVideoResAndFrRate",
                           "setContrast",
                           "setSharpness",
                           "setSaturation",
                           "setMonochrome",
                           "setElectronicShutter",
                           "setExposTimeBulbPreset",
                           "setAudioLevel",
                           "setAudioWindElim",
                           "setAudioVolSpeaker",
                           "setAudioVolHeadphone",
                           "setAudioVolMicrophone",
                           "setExposureSimulation",
                           "setAutoFocusLimit"}) {
        row(false, op, -999, s + op + inStruct);
    }
    row(false, "setVideoFormatResol", -999, s + "setVideoFormatResol" + inStruct + " ");
    for (const char* op : {"setFocusMode",
                           "setExposCompensStepSize",
                           "setBracketingAutomatic",
                           "setMirrorUpMode",
                           "setKeyLock",
                           "setFlashXSymbol",
                           "setAutoreviewDuration",
                           "setLockAEAF",
                           "setSensorFormat",
                           "setPhotoAspectRatio",
                           "setVideoFileFormat",
                           "setVideoFormatResol",
                           "setContrast",
                           "setSharpness",
                           "setSaturation",
                           "setMonochrome",
                           "setElectronicShutter",
                           "setExposTimeBulbPreset",
                           "setAudioLevel",
                           "setAudioWindElim",
                           "setAudioVolSpeaker",
                           "setAudioVolHeadphone",
                           "setAudioVolMicrophone",
                           "setExposureSimulation",
                           "setAperture",
                           "setAutoFocusLimit"}) {
        row(true, op, -999, m + op + inStructM);
    }
    for (const bool layoutM : {false, true}) {
        const QString& cls = layoutM ? m : s;
        row(layoutM, "setIntervalFrames", -999, cls + "setIntervalFrames" + external);
        row(layoutM, "setIntervalTime", -999, cls + "setIntervalTime" + external);
        row(layoutM, "intervalFrames", 0, cls + "intervalFrames" + external);
        row(layoutM, "intervalTime", 0, cls + "intervalTime" + external);
        row(layoutM, "selfTimerRestTime", -1, cls + "selfTimerRestTime" + plain);
        row(layoutM, "bulbModeTime", -1, cls + "bulbModeTime" + plain);
        row(layoutM, "autoFocusLimit", 0, cls + "autoFocusLimit" + plain);
        row(layoutM, "autoFocusLimitDistance", 0, cls + "autoFocusLimitDistance" + plain);
        // Both layouts word these four without the layout letter.
        row(layoutM, "contrast", 1, cls + "contrast" + inStruct + def);
        row(layoutM, "sharpness", 1, cls + "sharpness" + inStruct + def);
        row(layoutM, "saturation", 1, cls + "saturation" + inStruct + def);
        row(layoutM, "monochrome", 0, cls + "monochrome" + inStruct + def);
        const QString mode = layoutM ? inStructM : inStruct;
        row(layoutM, "autoreviewDuration", 5, cls + "autoreviewDuration" + mode + def);
        row(layoutM, "sensorFormat", 0, cls + "sensorFormat" + mode + def);
        row(layoutM, "photoAspectRatio", 0, cls + "photoAspectRatio" + mode + def);
        row(layoutM, "videoFileFormat", 0, cls + "videoFileFormat" + mode + def);
        row(layoutM, "videoFormatResol", 3, cls + "videoFormatResol" + mode + def);
        row(layoutM, "electronicShutter", 0, cls + "electronicShutter" + mode + def);
        row(layoutM, "exposTimeBulbPreset", 0, cls + "exposTimeBulbPreset" + mode + def);
        row(layoutM, "lensConnectionType", 0, cls + "lensConnectionType" + mode + def);
        row(layoutM, "orientation", 0, cls + "orientation" + mode + def);
        row(layoutM, "audioLevel", 0, cls + "audioLevel" + mode + def);
        row(layoutM, "audioWindElim", 0, cls + "audioWindElim" + mode + def);
        row(layoutM, "audioVolSpeaker", 3, cls + "audioVolSpeaker" + mode + def);
        row(layoutM, "audioVolHeadphone", 3, cls + "audioVolHeadphone" + mode + def);
        row(layoutM, "audioVolMicrophone", 0, cls + "audioVolMicrophone" + mode + def);
        row(layoutM, "exposureSimulation", 0, cls + "exposureSimulation" + mode + def);
    }
    row(false, "videoResAndFrRate", 8, s + "videoResAndFrRate" + inStruct + def);
    row(true, "lockAEAF", 0, m + "lockAEAF" + inStructM + def);
    row(true, "powerSwitch", 0, m + "powerSwitch" + plain);
    row(true, "aperture", 0, m + "aperture" + plain);
    row(true, "focusDistance", 0, m + "focusDistance" + plain);
    // Layout M still answers the confirmation byte (0x21 in the row's camera).
    row(true, "focusConfirmation", 0x21, m + "focusConfirmation" + plain);
}

// Operations a layout does not have log their own name with the layout's
// wording, return their default and never touch the structure.
void tst_SettingsStruct::notAvailable()
{
    QFETCH(bool, layoutM);
    QFETCH(QString, operation);
    QFETCH(int, expected);
    QFETCH(QString, line);

    using Op = std::function<int(OLP_Logic_CameraSettingsBase*)>;
    const QHash<QString, Op> ops = {
        {"setExposCompensStepSize", [](auto* s) { return s->setExposCompensStepSize(333), -999; }},
        {"setBracketingAutomatic", [](auto* s) { return s->setBracketingAutomatic(0), -999; }},
        {"setAutoreviewDuration", [](auto* s) { return s->setAutoreviewDuration(3), -999; }},
        {"setSensorFormat", [](auto* s) { return s->setSensorFormat(1), -999; }},
        {"setPhotoAspectRatio", [](auto* s) { return s->setPhotoAspectRatio(1), -999; }},
        {"setVideoFileFormat", [](auto* s) { return s->setVideoFileFormat(1), -999; }},
        {"setVideoResAndFrRate", [](auto* s) { return s->setVideoResAndFrRate(16), -999; }},
        {"setVideoFormatResol", [](auto* s) { return s->setVideoFormatResol(3), -999; }},
        {"setContrast", [](auto* s) { return s->setContrast(2), -999; }},
        {"setSharpness", [](auto* s) { return s->setSharpness(2), -999; }},
        {"setSaturation", [](auto* s) { return s->setSaturation(2), -999; }},
        {"setMonochrome", [](auto* s) { return s->setMonochrome(1), -999; }},
        {"setElectronicShutter", [](auto* s) { return s->setElectronicShutter(1), -999; }},
        {"setExposTimeBulbPreset", [](auto* s) { return s->setExposTimeBulbPreset(1), -999; }},
        {"setAudioLevel", [](auto* s) { return s->setAudioLevel(1), -999; }},
        {"setAudioWindElim", [](auto* s) { return s->setAudioWindElim(1), -999; }},
        {"setAudioVolSpeaker", [](auto* s) { return s->setAudioVolSpeaker(100), -999; }},
        {"setAudioVolHeadphone", [](auto* s) { return s->setAudioVolHeadphone(100), -999; }},
        {"setAudioVolMicrophone", [](auto* s) { return s->setAudioVolMicrophone(100), -999; }},
        {"setExposureSimulation", [](auto* s) { return s->setExposureSimulation(1), -999; }},
        {"setAutoFocusLimit", [](auto* s) { return s->setAutoFocusLimit(true), -999; }},
        {"setFocusMode", [](auto* s) { return s->setFocusMode(0), -999; }},
        {"setMirrorUpMode", [](auto* s) { return s->setMirrorUpMode(1), -999; }},
        {"setKeyLock", [](auto* s) { return s->setKeyLock(true), -999; }},
        {"setFlashXSymbol", [](auto* s) { return s->setFlashXSymbol(true), -999; }},
        {"setLockAEAF", [](auto* s) { return s->setLockAEAF(true), -999; }},
        {"setAperture", [](auto* s) { return s->setAperture(8.0), -999; }},
        {"setIntervalFrames", [](auto* s) { return s->setIntervalFrames(10), -999; }},
        {"setIntervalTime", [](auto* s) { return s->setIntervalTime(60), -999; }},
        {"intervalFrames", [](auto* s) { return s->intervalFrames(); }},
        {"intervalTime", [](auto* s) { return s->intervalTime(); }},
        {"selfTimerRestTime", [](auto* s) { return s->selfTimerRestTime(); }},
        {"bulbModeTime", [](auto* s) { return s->bulbModeTime(); }},
        {"autoFocusLimit", [](auto* s) { return int(s->autoFocusLimit()); }},
        {"autoFocusLimitDistance", [](auto* s) { return s->autoFocusLimitDistance(); }},
        {"contrast", [](auto* s) { return s->contrast(); }},
        {"sharpness", [](auto* s) { return s->sharpness(); }},
        {"saturation", [](auto* s) { return s->saturation(); }},
        {"monochrome", [](auto* s) { return s->monochrome(); }},
        {"autoreviewDuration", [](auto* s) { return s->autoreviewDuration(); }},
        {"sensorFormat", [](auto* s) { return s->sensorFormat(); }},
        {"photoAspectRatio", [](auto* s) { return s->photoAspectRatio(); }},
        {"videoFileFormat", [](auto* s) { return s->videoFileFormat(); }},
        {"videoFormatResol", [](auto* s) { return s->videoFormatResol(); }},
        {"videoResAndFrRate", [](auto* s) { return s->videoResAndFrRate(); }},
        {"electronicShutter", [](auto* s) { return s->electronicShutter(); }},
        {"exposTimeBulbPreset", [](auto* s) { return s->exposTimeBulbPreset(); }},
        {"lensConnectionType", [](auto* s) { return s->lensConnectionType(); }},
        {"orientation", [](auto* s) { return s->orientation(); }},
        {"audioLevel", [](auto* s) { return s->audioLevel(); }},
        {"audioWindElim", [](auto* s) { return s->audioWindElim(); }},
        {"audioVolSpeaker", [](auto* s) { return s->audioVolSpeaker(); }},
        {"audioVolHeadphone", [](auto* s) { return s->audioVolHeadphone(); }},
        {"audioVolMicrophone", [](auto* s) { return s->audioVolMicrophone(); }},
        {"exposureSimulation", [](auto* s) { return s->exposureSimulation(); }},
        {"lockAEAF", [](auto* s) { return s->lockAEAF(); }},
        {"powerSwitch", [](auto* s) { return s->powerSwitch(); }},
        {"aperture", [](auto* s) { return int(s->aperture() * 1000); }},
        {"focusDistance", [](auto* s) { return s->focusDistance(); }},
        {"focusConfirmation", [](auto* s) { return s->focusConfirmation(); }},
    };
    QVERIFY2(ops.contains(operation), qPrintable(operation));

    QByteArray camera = baseline(layoutM);
    camera[80] = 0x21;
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, camera);
    OLP_Test_LogCapture log;
    const int result = ops.value(operation)(rig.s());
    if (expected != -999) {
        QCOMPARE(result, expected);
    }
    QCOMPARE(log.lines(), QStringList{line});
    QVERIFY(!rig.s()->isDirty());
    QCOMPARE(rig.s()->cameraSettings(), camera);
}

void tst_SettingsStruct::features_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<quint32>("product");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("bits2");
    QTest::addColumn<QStringList>("present");

    const QStringList fixedS = {"featureFocusMode",     "featureFocusConfirmation", "featureFocusDistance",
                                "featureLanguage",      "featureMirrorUpMode",      "featureShutterMode",
                                "featureWhiteBalance",  "featureWarnings",          "featureAperture",
                                "featureJpgColorSpace", "featureStorageType"};
    const QStringList fixedM = {"featureVideoResAndFrRate", "featureLanguage",     "featureWarnings",
                                "featureStorageType",       "featureWhiteBalance", "featureJpgColorSpace"};
    const QStringList fixedE = {"featureVideoResAndFrRate", "featureLanguage", "featureWarnings", "featureStorageType"};
    const char* bitNames[8] = {
        "featureMoveLensToPos",  "featureMoveLensRightLeft", "featureJpgResSelection", "featurePowerSave",
        "featureDngCompression", "featureKeyLock",           "featurePreview",         "featureHMI"};

    QTest::newRow("S none") << false << ProductIdKestaA << 0 << 0 << fixedS;
    QTest::newRow("M none") << true << ProductIdKestaC << 0 << 0 << fixedM;
    QTest::newRow("E none") << true << ProductIdKestaE << 0 << 0 << fixedE;
    for (int bit = 0; bit < 8; ++bit) {
        QTest::newRow(qPrintable(QStringLiteral("S bit %1").arg(bit)))
            << false << ProductIdKestaB << (1 << bit) << 0 << (QStringList(fixedS) << bitNames[bit]);
        QTest::newRow(qPrintable(QStringLiteral("M bit %1").arg(bit)))
            << true << ProductIdKestaC << (1 << bit) << 0 << (QStringList(fixedM) << bitNames[bit]);
    }
    QTest::newRow("S flash X") << false << ProductIdKestaA << 0 << 1 << (QStringList(fixedS) << "featureFlashXSymbol");
    QTest::newRow("E flash X") << true << ProductIdKestaE << 0 << 1 << (QStringList(fixedE) << "featureFlashXSymbol");
    QTest::newRow("S other bits of byte 99") << false << ProductIdKestaA << 0 << 0xFE << fixedS;
}

// Which settings a camera offers: fixed per layout and product, plus the
// camera's own feature bits.
void tst_SettingsStruct::features()
{
    QFETCH(bool, layoutM);
    QFETCH(quint32, product);
    QFETCH(int, bits);
    QFETCH(int, bits2);
    QFETCH(QStringList, present);

    QByteArray camera = baseline(layoutM);
    camera[98] = char(bits);
    camera[99] = char(bits2);
    Rig rig(layoutM, product, camera);
    OLP_Test_LogCapture log;
    QStringList actual;
    for (const NamedFeature& f : kFeatures) {
        if ((rig.s()->*f.feature)()) {
            actual.append(QString::fromLatin1(f.name));
        }
    }
    std::sort(actual.begin(), actual.end());
    std::sort(present.begin(), present.end());
    QCOMPARE(actual, present);
    QVERIFY(log.lines().isEmpty());
}

void tst_SettingsStruct::bracketingFiveImages_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<int>("initial");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<bool>("fiveImages");

    for (const bool layoutM : {false, true}) {
        const QByteArray prefix = layoutM ? "M " : "S ";
        auto l = [&](const char* name) -> QTestData& { return QTest::newRow((prefix + name).constData()); };
        l("five seen on refresh, off and on") << layoutM << 2 << QStringList{"off", "on"} << QList<int>{0, 2} << true;
        l("three seen on refresh, off and on") << layoutM << 1 << QStringList{"off", "on"} << QList<int>{0, 1} << false;
        l("five images while off") << layoutM << 0 << QStringList{"img5", "off", "on"} << QList<int>{2, 0, 2} << true;
        l("three images after five") << layoutM << 2 << QStringList{"img3", "off", "on"} << QList<int>{1, 0, 1}
                                     << false;
        l("camera switched off keeps five") << layoutM << 2 << QStringList{"read 0", "on"} << QList<int>{2} << true;
        l("camera set five, then off and on")
            << layoutM << 0 << QStringList{"read 2", "off", "on"} << QList<int>{0, 2} << true;
        l("camera set three after five") << layoutM << 2 << QStringList{"read 1", "off", "on"} << QList<int>{0, 1}
                                         << false;
        l("on while on") << layoutM << 1 << QStringList{"on"} << QList<int>{} << false;
        l("off while off") << layoutM << 0 << QStringList{"off"} << QList<int>{} << false;
        l("on from off without history") << layoutM << 0 << QStringList{"on"} << QList<int>{1} << false;
        l("five again while five") << layoutM << 2 << QStringList{"img5"} << QList<int>{} << true;
    }
}

// The bracketing byte: switching bracketing on again restores the image count
// last seen on the camera or last chosen.
void tst_SettingsStruct::bracketingFiveImages()
{
    QFETCH(bool, layoutM);
    QFETCH(int, initial);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, written);
    QFETCH(bool, fiveImages);

    QByteArray camera = baseline(layoutM);
    camera[5] = char(initial);
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, camera);
    for (const QString& step : steps) {
        if (step == "on" || step == "off") {
            rig.s()->setBracketEnabled(step == "on");
        } else if (step.startsWith("img")) {
            rig.s()->setBracketImgNum(step.mid(3).toInt());
        } else {
            camera = rig.s()->cameraSettings();
            camera[5] = char(step.mid(5).toInt());
            rig.refresh(camera);
            continue;
        }
        rig.s()->sendToCameraIfDirty();
    }
    QList<int> bytes;
    for (const QByteArray& w : rig.writes()) {
        bytes.append(quint8(w[5]));
    }
    QCOMPARE(bytes, written);
    QCOMPARE(rig.s()->bracketingFiveImages(), fiveImages);
}

void tst_SettingsStruct::twoSettersOneWrite_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::newRow("layout") << false;
    QTest::newRow("layout M") << true;
}

// Settings gathered between two writes travel together in one structure.
void tst_SettingsStruct::twoSettersOneWrite()
{
    QFETCH(bool, layoutM);
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, baseline(layoutM));
    rig.s()->setDriveMode(1);
    if (layoutM) {
        rig.s()->setVideoResAndFrRate(16);
    } else {
        rig.s()->setFocusMode(2);
    }
    rig.s()->sendToCameraIfDirty();
    rig.s()->sendToCameraIfDirty();
    QCOMPARE(rig.writes().size(), 1);
    QCOMPARE(rig.writes().first(), applied(baseline(layoutM), p2(1, {1}, 2, {layoutM ? 3 : 2})));
    QCOMPARE(rig.access.calls.last().dataSize, 100u);
}

// A refresh without a change record still takes the camera's values.
void tst_SettingsStruct::nullChangeRecordStillRefreshes()
{
    Rig rig(false, ProductIdKestaB, baselineStruct());
    rig.access.setAnswer(OpGet, applied(baselineStruct(), p(1, {3})));
    rig.s()->recvFromCamera(nullptr);
    QCOMPARE(rig.s()->driveMode(), 3);
}

// The structure cameras report no device property of interest.
void tst_SettingsStruct::propertyChangeIsIgnored()
{
    for (const bool layoutM : {false, true}) {
        Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, baseline(layoutM));
        rig.access.setAnswer(OpGet, applied(baseline(layoutM), p(1, {3})));
        OLP_Test_LogCapture log;
        SettingsChangeFlags flags;
        rig.s()->recvFromCamera(quint16(0xD603), &flags);
        QVERIFY(!flags.any());
        QCOMPARE(rig.access.calls.size(), 1);
        QCOMPARE(rig.s()->driveMode(), 0);
        const QString cls = layoutM ? "OLP_Logic_CameraSettingsByStructM" : "OLP_Logic_CameraSettingsByStruct";
        QCOMPARE(log.lines(), QStringList{cls + "::recvFromCamera - ignore changed device property 0xD603"});
    }
}

void tst_SettingsStruct::failedReadZeroFillsAndBlocksWrites_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<bool>("shortAnswer");
    QTest::addColumn<Flags>("zeroed");
    QTest::newRow("layout, camera refuses") << false << false << zeroedFlagsStruct();
    QTest::newRow("layout M, camera refuses") << true << false << zeroedFlagsStructM();
    QTest::newRow("layout, short answer") << false << true << zeroedFlagsStruct();
    QTest::newRow("layout M, short answer") << true << true << zeroedFlagsStructM();
}

// A failed or short read leaves an all-zero structure and reports every field
// that was not zero. That structure is never written back: it would reset the
// camera. The next good read restores everything.
void tst_SettingsStruct::failedReadZeroFillsAndBlocksWrites()
{
    QFETCH(bool, layoutM);
    QFETCH(bool, shortAnswer);
    QFETCH(Flags, zeroed);
    const QByteArray camera = baseline(layoutM);
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, camera);
    const QString cls = layoutM ? "OLP_Logic_CameraSettingsByStructM" : "OLP_Logic_CameraSettingsByStruct";

    OLP_Test_LogCapture log;
    SettingsChangeFlags flags;
    if (shortAnswer) {
        rig.access.setAnswer(OpGet, camera.left(60));
    } else {
        rig.access.queueResponse(OpGet, 0x2002);
    }
    rig.s()->recvFromCamera(&flags);
    QCOMPARE(setFlags(flags), zeroed);
    QCOMPARE(rig.s()->cameraSettings(), QByteArray(100, '\0'));
    QVERIFY(!rig.s()->isValid());
    QCOMPARE(log.contains(cls + "::recvFromCamera - settings structure too short: 60 of 100 bytes"), shortAnswer);

    // What the camera object does at every connection: two setters and a write.
    log.clear();
    rig.s()->setStorageType(2);
    rig.s()->setAutoPowerOff(1);
    rig.s()->sendToCameraIfDirty();
    QVERIFY(rig.writes().isEmpty());
    QVERIFY(rig.s()->isDirty());
    QCOMPARE(log.count(cls + "::sendToCamera - settings not read from the camera, nothing written"), 1);

    rig.access.setAnswer(OpGet, camera);
    const SettingsChangeFlags restored = rig.refresh(camera);
    QCOMPARE(setFlags(restored), zeroed);
    QCOMPARE(rig.s()->cameraSettings(), camera);
    QVERIFY(rig.s()->isValid());
    QVERIFY(!rig.s()->isDirty());

    rig.s()->setStorageType(2);
    rig.s()->sendToCameraIfDirty();
    QCOMPARE(rig.writes().size(), 1);
    QCOMPARE(rig.writes().first(), applied(camera, p(26, {2})));
}

// A camera that could not be read at connection gets nothing written.
void tst_SettingsStruct::failedReadAtConstructionWritesNothing()
{
    for (const bool layoutM : {false, true}) {
        Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, baseline(layoutM), 0x2019);
        QVERIFY(!rig.s()->isValid());
        QCOMPARE(rig.s()->cameraSettings(), QByteArray(100, '\0'));
        rig.s()->setLanguage(3);
        rig.s()->sendToCameraIfDirty();
        QVERIFY(rig.writes().isEmpty());
    }
}

void tst_SettingsStruct::failedWriteStaysDirty_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::newRow("layout") << false;
    QTest::newRow("layout M") << true;
}

// A refused write is not taken for success: the structure stays pending and
// goes out with the next sendToCameraIfDirty.
void tst_SettingsStruct::failedWriteStaysDirty()
{
    QFETCH(bool, layoutM);
    const QString cls = layoutM ? "OLP_Logic_CameraSettingsByStructM" : "OLP_Logic_CameraSettingsByStruct";
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, baseline(layoutM));
    rig.access.queueResponse(OpSet, 0x2019);
    OLP_Test_LogCapture log;
    rig.s()->setDriveMode(2);
    rig.s()->sendToCameraIfDirty();
    QCOMPARE(rig.writes().size(), 1);
    QVERIFY(rig.s()->isDirty());
    QCOMPARE(log.count(cls + "::sendToCamera - writing the settings failed, they stay pending"), 1);

    rig.s()->sendToCameraIfDirty();
    QCOMPARE(rig.writes().size(), 2);
    QCOMPARE(rig.writes().last(), applied(baseline(layoutM), p(1, {2})));
    QVERIFY(!rig.s()->isDirty());
    rig.s()->sendToCameraIfDirty();
    QCOMPARE(rig.writes().size(), 2);
}

// The first layout's sensitivity table exists only for its two products.
void tst_SettingsStruct::sensitivityOfUnknownProduct()
{
    Rig rig(false, ProductIdKestaC, baselineStruct());
    OLP_Test_LogCapture log;
    QCOMPARE(rig.s()->sensitivity(), 0);
    QVERIFY(log.contains("OLP_Logic_CameraSettingsByStruct::sensitivityFromIndex - unknown ProductId 0x103"));
    rig.s()->setSensitivity(400);
    QVERIFY(log.contains("OLP_Logic_CameraSettingsByStruct::sensitivityToIndex - unknown ProductId 0x103"));
    rig.s()->sendToCameraIfDirty();
    QCOMPARE(rig.writes().value(0), applied(baselineStruct(), p(10, {0})));
}

void tst_SettingsStruct::dump_data()
{
    QTest::addColumn<bool>("layoutM");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<int>("getterLines");

    const QString s = "OLP_Logic_CameraSettingsByStruct::dump - ";
    const QString m = "OLP_Logic_CameraSettingsByStructM::dump - ";
    QTest::newRow("layout") << false
                            << QStringList{
                                   "OLP_Logic_CameraSettingsByStruct::dump for test:",
                                   "cameraSettings[000000000000]: A5 00 01 02 06 00 01 01 5A 00 02 02 09 23 02 01 "
                                   "........Z....#..",
                                   s + "driveMode                = 0",
                                   s + "focusMode                = 1",
                                   s + "exposureMeteringMode     = 2",
                                   s + "exposureCompensation     = 0",
                                   s + "sensitivity              = 100",
                                   s + "keyLock                  = No",
                                   s + "dngCompression           = Yes",
                                   s + "maxShutterTime           = 0xF900 = -1792 (125.000s)",
                                   s + "lightMeter               = -256",
                                   s + "batteryInfo              = 1",
                                   s + "powerSwitch              = 3",
                                   s + "aperture                 = 0x0500 = 1280 (5.600)",
                                   s + "shutterTime              = 0x0700 = 1792 (1/125.000s)",
                                   s + "focusConfirmation        = 0",
                                   s + "focusDistance            = 2500",
                                   s + "flashCompensation        = -3",
                                   s + "featureFocusMode         = Yes",
                                   s + "featureMoveLensToPos     = Yes",
                                   s + "featureMoveLensRightLeft = No",
                                   s + "featureFlashXSymbol      = Yes",
                                   s + "featureBracketing        = No",
                               }
                            << QStringList{s + "videoResAndFrRate", "functionality is not available"} << 41 + 48;
    QTest::newRow("layout M") << true
                              << QStringList{
                                     "OLP_Logic_CameraSettingsByStructM::dump for test:",
                                     m + "driveMode                = 0",
                                     m + "videoResAndFrRate        = 9",
                                     m + "exposureCompensation     = 0",
                                     m + "sensitivity              = 400",
                                     m + "lightMeter               = 256",
                                     m + "lightBalance             = 2",
                                     m + "batterySource            = 1",
                                     m + "shutterTime              = 0x0700 = 1792 (1/125.000s)",
                                     m + "featureVideoResAndFrRate = Yes",
                                     m + "featureAperture          = No",
                                 }
                              << QStringList{m + "focusMode ",         m + "shutterMode ",   m + "mirrorUpMode ",
                                             m + "keyLock ",           m + "flashXSymbol ",  m + "lockAEAF ",
                                             m + "batteryLevelExtern", m + "powerSwitch ",   m + "aperture ",
                                             m + "focusConfirmation ", m + "focusDistance ", "functionality is not"}
                              << 31 + 48;
}

// The dump: a hex dump under the occasion's title, then one line per getter
// of the layout and one per feature query, without any not-available noise.
void tst_SettingsStruct::dump()
{
    QFETCH(bool, layoutM);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(int, getterLines);
    Rig rig(layoutM, layoutM ? ProductIdKestaC : ProductIdKestaB, baseline(layoutM));
    setDebugFlags(1024, true);
    OLP_Test_LogCapture log;
    rig.s()->dump("test");
    const QStringList lines = log.lines();
    for (const QString& line : present) {
        QVERIFY2(lines.contains(line), qPrintable(line));
    }
    for (const QString& text : absent) {
        QVERIFY2(log.count(text) == 0, qPrintable(text));
    }
    QCOMPARE(log.count("cameraSettings["), 7);
    QCOMPARE(log.count("::dump - "), getterLines);
    QCOMPARE(lines.value(0), present.value(0));
}

// Refresh and write dump the structure under their own names when category
// 1024 is on, and stay silent otherwise.
void tst_SettingsStruct::refreshAndWriteDumpOnlyWithFlag()
{
    Rig rig(false, ProductIdKestaB, baselineStruct());
    {
        OLP_Test_LogCapture log;
        rig.s()->recvFromCamera(nullptr);
        rig.s()->setDriveMode(1);
        rig.s()->sendToCameraIfDirty();
        QCOMPARE(log.count("::dump"), 0);
    }
    setDebugFlags(1024, true);
    OLP_Test_LogCapture log;
    rig.s()->recvFromCamera(nullptr);
    QVERIFY(
        log.contains("OLP_Logic_CameraSettingsByStruct::dump for OLP_Logic_CameraSettingsByStruct::recvFromCamera:"));
    rig.s()->setDriveMode(2);
    rig.s()->sendToCameraIfDirty();
    QVERIFY(log.contains("OLP_Logic_CameraSettingsByStruct::dump for OLP_Logic_CameraSettingsByStruct::sendToCamera:"));
    QVERIFY(log.contains("OLP_Logic_CameraSettingsByStruct::dump - driveMode                = 2"));
}

QTEST_GUILESS_MAIN(tst_SettingsStruct)
#include "tst_SettingsStruct.moc"
