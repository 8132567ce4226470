// The emulated camera's release sequences as the host's access object sees
// them: bulb open and close with tick events, the mirror of mirror-up mode,
// the self-timer count-down before the picture, and the camera's own interval
// series. No controller and no camera object: the release stages go out
// through the access object, the camera's events come back on its signals.

#include <QSignalSpy>
#include <QtTest>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

using Offsets = OLP_Commu_EmuSettingsStruct;
using Sequences = OLP_Commu_EmuSequences;

Q_DECLARE_METATYPE(OLP_Commu_EmuProfile)

namespace {

constexpr quint16 kPropBulbTime = 0xD628;

OLP_Commu_EmuProfile profileWith(quint16 product, int structOffset, int structValue,
                                 const QList<QPair<quint16, qint64>>& properties = {})
{
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(product);
    if (structOffset >= 0) {
        profile.settings[structOffset] = char(structValue);
    }
    for (const auto& change : properties) {
        for (OLP_Commu_EmuProfile::Property& p : profile.properties) {
            if (p.code == change.first) {
                p.current = change.second;
            }
        }
    }
    return profile;
}

void enableCaptures(OLP_Commu_EmuCamera& camera)
{
    OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options::forProduct(camera.productId());
    options.enabled = true;
    options.pictureSize = 16 * 1024;
    camera.setCaptureOptions(options);
    // One file per picture: JPG.
    if (camera.profile().hasSettingsStructure) {
        camera.changeSettings(Offsets::FileFormat, QByteArray(1, char(3)));
    } else {
        camera.setPropertyValue(0xD004, 2);
    }
}

QVector<int> intsOf(const QSignalSpy& spy)
{
    QVector<int> values;
    for (const QList<QVariant>& args : spy) {
        values << args.value(0).toInt();
    }
    return values;
}

}  // namespace

class tst_CaptureEmulator : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }

    // The shutter sends a tick per interval while it is open, and a final
    // count of -1 when it closes if the camera is set up to.
    void bulbTicks_data()
    {
        QTest::addColumn<bool>("finalCount");
        QTest::addColumn<QVector<int>>("counts");
        QTest::newRow("without final count") << false << QVector<int>{1, 2, 3};
        QTest::newRow("with final count") << true << QVector<int>{1, 2, 3, -1};
    }
    void bulbTicks()
    {
        QFETCH(bool, finalCount);
        QFETCH(QVector<int>, counts);
        OLP_Test_EmuRig rig(ProductIdKestaA);
        Sequences::Options options;
        options.bulbTickMs = 20;
        options.finalBulbCount = finalCount;
        rig.camera->setSequenceOptions(options);
        enableCaptures(*rig.camera);
        QVERIFY(rig.open());
        QSignalSpy ticks(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalBulbCounter);
        QSignalSpy pictures(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalTransferRequest);

        QVERIFY(rig.access->releaseCam(7));
        QVERIFY(rig.camera->isBulbOpen());
        QTRY_COMPARE_WITH_TIMEOUT(ticks.size(), 3, olpTimeout(3000));
        QCOMPARE(pictures.size(), 0);
        QVERIFY(rig.access->releaseCam(8));
        QVERIFY(!rig.camera->isBulbOpen());
        QTRY_COMPARE_WITH_TIMEOUT(pictures.size(), 1, olpTimeout(3000));
        QTRY_COMPARE_WITH_TIMEOUT(intsOf(ticks), counts, olpTimeout(3000));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Ticks still to come when the shutter closes are not sent.
    void bulbCloseDropsPendingTicks()
    {
        OLP_Test_EmuRig rig(ProductIdKestaB);
        Sequences::Options options;
        options.bulbTickMs = 5000;
        rig.camera->setSequenceOptions(options);
        QVERIFY(rig.open());
        QVERIFY(rig.access->releaseCam(7));
        QCOMPARE(rig.camera->pendingEvents(), 3);
        QVERIFY(rig.access->releaseCam(8));
        QCOMPARE(rig.camera->pendingEvents(), 0);
    }

    // A camera without tick events reports the bulb time in its property.
    void bulbTimeProperty()
    {
        OLP_Test_EmuRig rig(ProductIdKestaD);
        QVERIFY(rig.open());
        QVERIFY(rig.access->releaseCam(7));
        QCOMPARE(rig.camera->propertyValue(kPropBulbTime), qint64(0));
        QVERIFY(rig.access->releaseCam(8));
        QCOMPARE(rig.camera->propertyValue(kPropBulbTime), qint64(-1));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Fault: a close without an open takes no picture.
    void closeWithoutOpen()
    {
        OLP_Test_EmuRig rig(ProductIdKestaA);
        enableCaptures(*rig.camera);
        QVERIFY(rig.open());
        QVERIFY(rig.access->releaseCam(8));
        QCOMPARE(rig.camera->capturedPictures().size(), 0);
        QVERIFY(!rig.camera->isBulbOpen());
    }

    // With mirror-up set in the camera, the first release lifts the mirror
    // and the second exposes; the same for the bulb open stage.
    void mirrorUp_data()
    {
        QTest::addColumn<OLP_Commu_EmuProfile>("profile");
        QTest::newRow("Kesta A (structure)") << profileWith(ProductIdKestaA, Offsets::MirrorUp, 1);
        QTest::newRow("Kesta D (property)") << profileWith(ProductIdKestaD, -1, 0, {{0xD00A, 1}});
    }
    void mirrorUp()
    {
        QFETCH(OLP_Commu_EmuProfile, profile);
        OLP_Test_EmuRig rig(profile);
        enableCaptures(*rig.camera);
        QVERIFY(rig.open());
        QVERIFY(rig.access->releaseCam(0));
        QVERIFY(rig.camera->isMirrorRaised());
        QCOMPARE(rig.camera->capturedPictures().size(), 0);
        QVERIFY(rig.access->releaseCam(0));
        QVERIFY(!rig.camera->isMirrorRaised());
        QCOMPARE(rig.camera->capturedPictures().size(), 1);

        QVERIFY(rig.access->releaseCam(7));
        QVERIFY(rig.camera->isMirrorRaised());
        QVERIFY(!rig.camera->isBulbOpen());
        QVERIFY(rig.access->releaseCam(7));
        QVERIFY(rig.camera->isBulbOpen());
        QVERIFY(rig.access->releaseCam(8));
        QCOMPARE(rig.camera->capturedPictures().size(), 2);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // The self-timer counts down with tick events, then the picture comes.
    void selfTimer_data()
    {
        QTest::addColumn<int>("drive");
        QTest::addColumn<QVector<int>>("counts");
        QTest::newRow("2 s") << 2 << QVector<int>{2, 1};
        QTest::newRow("12 s") << 3 << QVector<int>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    }
    void selfTimer()
    {
        QFETCH(int, drive);
        QFETCH(QVector<int>, counts);
        OLP_Test_EmuRig rig(profileWith(ProductIdKestaC, Offsets::DriveMode, drive));
        Sequences::Options options;
        options.selfTimerTickMs = 5;
        rig.camera->setSequenceOptions(options);
        enableCaptures(*rig.camera);
        QVERIFY(rig.open());
        QStringList order;
        connect(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalSelfTimerCounter, this,
                [&order](int count) { order << QString::number(count); });
        connect(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalTransferRequest, this,
                [&order] { order << QStringLiteral("picture"); });
        QVERIFY(rig.access->releaseCam(0));
        QTRY_VERIFY_WITH_TIMEOUT(order.contains(QStringLiteral("picture")), olpTimeout(3000));
        QStringList expected;
        for (int count : counts) {
            expected << QString::number(count);
        }
        expected << QStringLiteral("picture");
        QCOMPARE(order, expected);
    }

    // The camera's own interval series: one release, a picture per interval.
    void ownInterval()
    {
        OLP_Test_EmuRig rig(profileWith(ProductIdKestaD, -1, 0, {{0x5013, 2}, {0xD000, 3}, {0xD001, 2}}));
        Sequences::Options options;
        options.intervalUnitMs = 100;
        rig.camera->setSequenceOptions(options);
        enableCaptures(*rig.camera);
        QVERIFY(rig.open());
        QSignalSpy pictures(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalTransferRequest);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(rig.access->releaseCam(0));
        QCOMPARE(rig.camera->capturedPictures().size(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(pictures.size(), 3, olpTimeout(3000));
        // The last picture is announced two intervals after the first.
        QVERIFY(clock.elapsed() >= 380);
        QCOMPARE(rig.camera->releases().size(), 1);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_CaptureEmulator)
#include "tst_CaptureEmulator.moc"
