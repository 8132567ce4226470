#include <QtTest>
#include <memory>

#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_CameraSettingsByStruct.h"
#include "OLP_Logic_CameraSettingsByStructM.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"
#include "tst_SettingsStructTables.h"

using namespace StructTables;

namespace {

constexpr quint16 OpWrite = 0x9001;
constexpr quint16 OpRead = 0x9002;
constexpr quint16 GeneralError = 0x2002;
constexpr quint16 DeviceBusy = 0x2019;

// An emulated structure camera on its own bus, the real USB transport, and
// the settings object of the layout under test. The camera's
// settings-changed events are counted in the test thread.
struct EmuSettings
{
    explicit EmuSettings(quint32 product) : rig(quint16(product))
    {
        QObject::connect(
            rig.access.get(), &OLP_Commu_CameraAccess_Base::signalSettingsChanged, &relay, [this] { ++reports; },
            Qt::QueuedConnection);
    }
    ~EmuSettings()
    {
        settings.reset();
        rig.access->closeConnection();
    }

    bool open() { return rig.open(); }
    void create(bool layoutM)
    {
        if (layoutM) {
            settings = std::make_unique<OLP_Logic_CameraSettingsByStructM>(rig.access.get(), nullptr);
        } else {
            settings = std::make_unique<OLP_Logic_CameraSettingsByStruct>(rig.access.get(), nullptr);
        }
    }
    // The camera reported at least count changes since the last reset.
    bool waitReports(int count)
    {
        return QTest::qWaitFor([&] { return reports >= count; }, olpTimeout(3000));
    }
    // The camera holds the structure before the settings object exists.
    bool startWith(const QByteArray& structure)
    {
        rig.camera->setSettings(structure);
        const bool reported = waitReports(1);
        reports = 0;
        return reported;
    }
    // Someone turns the camera's dials until it holds target; the number of
    // changes the camera made.
    int turnDialsTo(const QByteArray& target)
    {
        const QByteArray now = rig.camera->settings();
        int dials = 0;
        for (int i = 0; i < target.size(); ++i) {
            if (now[i] == target[i]) {
                continue;
            }
            int end = i;
            while (end < target.size() && now[end] != target[end]) {
                ++end;
            }
            rig.camera->changeSettings(i, target.mid(i, end - i));
            ++dials;
            i = end;
        }
        return dials;
    }
    OLP_Logic_CameraSettingsByStruct* s() const { return settings.get(); }
    OLP_Commu_EmuCamera* camera() const { return rig.camera.get(); }

    OLP_Test_EmuRig rig;
    QObject relay;
    int reports = 0;
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

bool isLayoutM(quint32 product)
{
    return product == ProductIdKestaC || product == ProductIdKestaE;
}

using Feature = bool (OLP_Logic_CameraSettingsBase::*)();
const QHash<QString, Feature>& features()
{
    static const QHash<QString, Feature> table = {
        {"featureKeyLock", &OLP_Logic_CameraSettingsBase::featureKeyLock},
        {"featureJpgResSelection", &OLP_Logic_CameraSettingsBase::featureJpgResSelection},
        {"featureFlashXSymbol", &OLP_Logic_CameraSettingsBase::featureFlashXSymbol},
        {"featureMoveLensToPos", &OLP_Logic_CameraSettingsBase::featureMoveLensToPos},
        {"featurePowerSave", &OLP_Logic_CameraSettingsBase::featurePowerSave},
        {"featureDngCompression", &OLP_Logic_CameraSettingsBase::featureDngCompression},
        {"featureWhiteBalance", &OLP_Logic_CameraSettingsBase::featureWhiteBalance},
        {"featureVideoResAndFrRate", &OLP_Logic_CameraSettingsBase::featureVideoResAndFrRate},
    };
    return table;
}

}  // namespace

// The settings structure through the real USB transport against the camera
// emulator: each field changed on the camera as a user would, each setter's
// bytes as the camera receives them, the cameras' factory states, and what
// happens when the camera refuses or cuts short a read or a write.
class tst_SettingsStructEmu : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void fieldChangedOnCamera_data();
    void fieldChangedOnCamera();
    void setterReachesCamera_data();
    void setterReachesCamera();
    void factoryState_data();
    void factoryState();
    void writeKeepsTheCamerasOwnBytes_data();
    void writeKeepsTheCamerasOwnBytes();
    void refusedReadAtConnectionWritesNothing_data();
    void refusedReadAtConnectionWritesNothing();
    void truncatedReadWritesNothing_data();
    void truncatedReadWritesNothing();
    void refusedWriteIsRepeated_data();
    void refusedWriteIsRepeated();
};

void tst_SettingsStructEmu::initTestCase()
{
    olpTestInit();
    setDebugFlags(0xFFFFFFFF, false);
}

void tst_SettingsStructEmu::fieldChangedOnCamera_data()
{
    addFieldColumns();
    addFieldRows();
}

// Catches a wrong offset, width, sign, conversion or flag of any field, with
// the structure travelling through the USB transport.
void tst_SettingsStructEmu::fieldChangedOnCamera()
{
    QFETCH(bool, layoutM);
    QFETCH(quint32, product);
    QFETCH(Patches, before);
    QFETCH(Patches, after);
    QFETCH(QString, getter);
    QFETCH(double, expected);
    QFETCH(Flags, flags);

    EmuSettings emu(product);
    QVERIFY(emu.open());
    QVERIFY(emu.startWith(applied(baseline(layoutM), before)));
    emu.create(layoutM);
    QVERIFY(emu.s()->isValid());

    const int dials = emu.turnDialsTo(applied(baseline(layoutM), after));
    if (dials > 0) {
        QVERIFY(emu.waitReports(dials));
    }
    SettingsChangeFlags changes;
    emu.s()->recvFromCamera(&changes);
    QCOMPARE(setFlags(changes), flags);
    QCOMPARE(getters().value(getter)(emu.s()), expected);
    QCOMPARE(emu.camera()->requestCount(OpWrite), 0);
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

void tst_SettingsStructEmu::setterReachesCamera_data()
{
    addSetterColumns();
    addSetterRows();
}

// The camera receives exactly the setter's bytes, applies them and reports
// the change; a refresh then finds nothing new. An unchanged value reaches the
// camera not at all.
void tst_SettingsStructEmu::setterReachesCamera()
{
    QFETCH(bool, layoutM);
    QFETCH(quint32, product);
    QFETCH(QString, setter);
    QFETCH(double, value);
    QFETCH(Patches, written);

    EmuSettings emu(product);
    QVERIFY(emu.open());
    QVERIFY(emu.startWith(baseline(layoutM)));
    emu.create(layoutM);

    setters().value(setter)(emu.s(), value);
    emu.s()->sendToCameraIfDirty();
    QCOMPARE(emu.camera()->settings(), applied(baseline(layoutM), written));
    QCOMPARE(emu.camera()->requestCount(OpWrite), written.isEmpty() ? 0 : 1);
    if (!written.isEmpty()) {
        QVERIFY(emu.waitReports(1));
        SettingsChangeFlags changes;
        emu.s()->recvFromCamera(&changes);
        QCOMPARE(setFlags(changes), Flags());
    }
    QVERIFY(!emu.s()->isDirty());
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

void tst_SettingsStructEmu::factoryState_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<QString>("getter");
    QTest::addColumn<double>("expected");

    auto row = [](quint32 product, const char* name, const char* getter, double expected) {
        QTest::newRow(name) << product << QString::fromLatin1(getter) << expected;
    };
    const quint32 A = ProductIdKestaA;
    const quint32 B = ProductIdKestaB;
    const quint32 C = ProductIdKestaC;
    const quint32 E = ProductIdKestaE;
    row(A, "A sensitivity", "sensitivity", 80);
    row(A, "A exposCompens", "exposCompens", 0);
    row(A, "A bracketingDeltaEV", "bracketingDeltaEV", 1000);
    row(A, "A maxShutterTime", "maxShutterTime", 125);
    row(A, "A aperture", "aperture", 5.6);
    row(A, "A shutterTime", "shutterTime", 1.0 / 125);
    row(A, "A batteryInfo", "batteryInfo", 1);
    row(A, "A focusDistance", "focusDistance", 3000);
    row(A, "A lightMeter", "lightMeter", -128);
    row(A, "A featureKeyLock", "featureKeyLock", 1);
    row(A, "A featureJpgResSelection", "featureJpgResSelection", 0);
    row(A, "A featureFlashXSymbol", "featureFlashXSymbol", 0);
    row(B, "B sensitivity", "sensitivity", 100);
    row(B, "B dngCompression", "dngCompression", 1);
    row(B, "B featureMoveLensToPos", "featureMoveLensToPos", 1);
    row(B, "B featureFlashXSymbol", "featureFlashXSymbol", 1);
    row(C, "C videoResAndFrRate", "videoResAndFrRate", 9);
    row(C, "C exposCompens", "exposCompens", 0);
    row(C, "C sensitivity", "sensitivity", 200);
    row(C, "C exposureMode", "exposureMode", 2);
    row(C, "C lightMeter", "lightMeter", -64);
    row(C, "C lightBalance", "lightBalance", 0);
    row(C, "C batterySource", "batterySource", 1);
    row(C, "C batteryInfo", "batteryInfo", 1);
    row(C, "C featureWhiteBalance", "featureWhiteBalance", 1);
    row(C, "C featureJpgResSelection", "featureJpgResSelection", 1);
    row(C, "C featureVideoResAndFrRate", "featureVideoResAndFrRate", 1);
    row(E, "E videoResAndFrRate", "videoResAndFrRate", 8);
    row(E, "E sensitivity", "sensitivity", 320);
    row(E, "E featureWhiteBalance", "featureWhiteBalance", 0);
    row(E, "E featureJpgResSelection", "featureJpgResSelection", 0);
    row(E, "E featurePowerSave", "featurePowerSave", 1);
}

// A camera out of the box reads as that product would: its layout, its
// sensitivity, its feature bits.
void tst_SettingsStructEmu::factoryState()
{
    QFETCH(quint32, product);
    QFETCH(QString, getter);
    QFETCH(double, expected);

    EmuSettings emu(product);
    QVERIFY(emu.open());
    emu.create(isLayoutM(product));
    QVERIFY(emu.s()->isValid());
    QCOMPARE(emu.s()->cameraSettings(), OLP_Commu_EmuSettingsStruct::factoryState(quint16(product)));
    double actual = 0;
    if (features().contains(getter)) {
        actual = (emu.s()->*features().value(getter))() ? 1 : 0;
    } else {
        QVERIFY2(getters().contains(getter), qPrintable(getter));
        actual = getters().value(getter)(emu.s());
    }
    QCOMPARE(actual, expected);
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

void tst_SettingsStructEmu::writeKeepsTheCamerasOwnBytes_data()
{
    QTest::addColumn<quint32>("product");
    QTest::newRow("Kesta A") << ProductIdKestaA;
    QTest::newRow("Kesta B") << ProductIdKestaB;
    QTest::newRow("Kesta C") << ProductIdKestaC;
    QTest::newRow("Kesta E") << ProductIdKestaE;
}

// Two settings chosen one after the other reach the camera in one write, and
// every byte the program does not interpret goes back as the camera sent it.
void tst_SettingsStructEmu::writeKeepsTheCamerasOwnBytes()
{
    QFETCH(quint32, product);
    const bool layoutM = isLayoutM(product);
    const QByteArray factory = OLP_Commu_EmuSettingsStruct::factoryState(quint16(product));

    EmuSettings emu(product);
    QVERIFY(emu.open());
    emu.create(layoutM);
    emu.s()->setDriveMode(2);
    emu.s()->setLanguage(4);
    emu.s()->sendToCameraIfDirty();
    emu.s()->sendToCameraIfDirty();
    QCOMPARE(emu.camera()->requestCount(OpWrite), 1);
    QCOMPARE(emu.camera()->settings(), applied(factory, p2(1, {2}, 64, {4})));
    QVERIFY(emu.waitReports(1));
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

void tst_SettingsStructEmu::refusedReadAtConnectionWritesNothing_data()
{
    writeKeepsTheCamerasOwnBytes_data();
}

// The camera refuses the first read of the settings. What the camera
// object does at every connection (set storage type and auto power off, then
// write) must not reset the camera to zeros; the first good read heals it.
void tst_SettingsStructEmu::refusedReadAtConnectionWritesNothing()
{
    QFETCH(quint32, product);
    const bool layoutM = isLayoutM(product);
    const QByteArray factory = OLP_Commu_EmuSettingsStruct::factoryState(quint16(product));

    EmuSettings emu(product);
    QVERIFY(emu.open());
    emu.camera()->failNextOperations(GeneralError, 1, OpRead);
    emu.create(layoutM);
    QVERIFY(!emu.s()->isValid());
    QCOMPARE(emu.s()->cameraSettings(), QByteArray(100, '\0'));

    emu.s()->setStorageType(2);
    emu.s()->setAutoPowerOff(1);
    emu.s()->sendToCameraIfDirty();
    QCOMPARE(emu.camera()->requestCount(OpWrite), 0);
    QCOMPARE(emu.camera()->settings(), factory);

    // The user turns the drive-mode dial; the camera reports it.
    emu.camera()->changeSettings(1, b({3}));
    QVERIFY(emu.waitReports(1));
    SettingsChangeFlags changes;
    emu.s()->recvFromCamera(&changes);
    QVERIFY(emu.s()->isValid());
    QVERIFY(changes.driveMode);
    QCOMPARE(emu.s()->driveMode(), 3);
    QCOMPARE(emu.s()->cameraSettings(), applied(factory, p(1, {3})));

    emu.s()->setStorageType(2);
    emu.s()->sendToCameraIfDirty();
    QCOMPARE(emu.camera()->settings(), applied(factory, p2(1, {3}, 26, {2})));
    QCOMPARE(emu.camera()->requestCount(OpRead), 2);
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

void tst_SettingsStructEmu::truncatedReadWritesNothing_data()
{
    QTest::addColumn<quint32>("product");
    QTest::newRow("Kesta B") << ProductIdKestaB;
    QTest::newRow("Kesta C") << ProductIdKestaC;
}

// A data phase cut short leaves nothing that could be written back; the next
// complete read restores every field and flags them.
void tst_SettingsStructEmu::truncatedReadWritesNothing()
{
    QFETCH(quint32, product);
    const bool layoutM = isLayoutM(product);
    const QByteArray factory = OLP_Commu_EmuSettingsStruct::factoryState(quint16(product));

    EmuSettings emu(product);
    QVERIFY(emu.open());
    emu.create(layoutM);
    QVERIFY(emu.s()->isValid());

    emu.camera()->truncateNextDataPhase(12 + 40);
    SettingsChangeFlags zeroed;
    emu.s()->recvFromCamera(&zeroed);
    QVERIFY(!emu.s()->isValid());
    QCOMPARE(emu.s()->cameraSettings(), QByteArray(100, '\0'));
    QVERIFY(zeroed.driveMode == false && zeroed.language && zeroed.fileFormat && zeroed.shutterTime);

    emu.s()->setLanguage(6);
    emu.s()->sendToCameraIfDirty();
    QCOMPARE(emu.camera()->requestCount(OpWrite), 0);
    QCOMPARE(emu.camera()->settings(), factory);

    SettingsChangeFlags restored;
    emu.s()->recvFromCamera(&restored);
    QVERIFY(emu.s()->isValid());
    QCOMPARE(setFlags(restored), setFlags(zeroed));
    QCOMPARE(emu.s()->cameraSettings(), factory);
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

void tst_SettingsStructEmu::refusedWriteIsRepeated_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<quint16>("response");
    QTest::addColumn<int>("refusals");
    QTest::addColumn<int>("attempts");
    for (const quint32 product : {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaE}) {
        QTest::newRow(qPrintable(QStringLiteral("0x%1 general error").arg(product, 0, 16)))
            << product << GeneralError << 1 << 1;
    }
    // The transport repeats a busy answer five times, then gives up.
    QTest::newRow("Kesta B stays busy") << ProductIdKestaB << DeviceBusy << 6 << 6;
    QTest::newRow("Kesta C stays busy") << ProductIdKestaC << DeviceBusy << 6 << 6;
    QTest::newRow("Kesta C busy once") << ProductIdKestaC << DeviceBusy << 1 << -1;
}

// The camera refuses the write: the change stays pending and goes out
// with the next sendToCameraIfDirty.
void tst_SettingsStructEmu::refusedWriteIsRepeated()
{
    QFETCH(quint32, product);
    QFETCH(quint16, response);
    QFETCH(int, refusals);
    QFETCH(int, attempts);
    const bool layoutM = isLayoutM(product);
    const QByteArray factory = OLP_Commu_EmuSettingsStruct::factoryState(quint16(product));

    EmuSettings emu(product);
    QVERIFY(emu.open());
    emu.create(layoutM);
    emu.camera()->failNextOperations(response, refusals, OpWrite);
    emu.s()->setFileFormat(3);
    emu.s()->sendToCameraIfDirty();
    if (attempts < 0) {
        // A camera busy only for a moment takes the write on the transport's repetition.
        QCOMPARE(emu.camera()->requestCount(OpWrite), 2);
        QCOMPARE(emu.camera()->settings(), applied(factory, p(15, {3})));
        QVERIFY(!emu.s()->isDirty());
        return;
    }
    QCOMPARE(emu.camera()->requestCount(OpWrite), attempts);
    QCOMPARE(emu.camera()->settings(), factory);
    QVERIFY(emu.s()->isDirty());

    emu.s()->sendToCameraIfDirty();
    QCOMPARE(emu.camera()->requestCount(OpWrite), attempts + 1);
    QCOMPARE(emu.camera()->settings(), applied(factory, p(15, {3})));
    QVERIFY(!emu.s()->isDirty());
    QCOMPARE(emu.camera()->protocolErrors(), QStringList());
}

QTEST_GUILESS_MAIN(tst_SettingsStructEmu)
#include "tst_SettingsStructEmu.moc"
