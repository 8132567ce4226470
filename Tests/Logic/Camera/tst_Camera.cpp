#include <QSignalSpy>
#include <QtTest>

#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_CameraSettingsByDevProps.h"
#include "OLP_Logic_CameraSettingsByStruct.h"
#include "OLP_Logic_CameraSettingsByStructM.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

// Records the names of a sender's signals in the order they are emitted.
class SignalOrder : public QObject
{
    Q_OBJECT
public:
    explicit SignalOrder(QObject* sender)
    {
        const QMetaObject* meta = sender->metaObject();
        const QMetaMethod hitSlot = metaObject()->method(metaObject()->indexOfSlot("hit()"));
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            if (meta->method(i).methodType() == QMetaMethod::Signal) {
                connect(sender, meta->method(i), this, hitSlot);
            }
        }
    }
    QStringList names;

public slots:
    void hit() { names.append(QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name())); }
};

class tst_Camera : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void construction_data();
    void construction();
    void axisDataNeedsEventOrOperation();
    void axisReadOncePerEvent();
    void changeEmissionOrder();
    void noFocusConfirmationOnlyWhenDisabled();
    void keepAlive();
    void keepAliveSkippedWhileBusyAndWatchdog();
    void keepAliveTimerFires();
    void imageDatabase();
    void imageDatabaseHoldOffTimer();
    void focusDistanceMoves_data();
    void focusDistanceMoves();
    void facadeRules();
    void serialNumbers_data();
    void serialNumbers();
    void releasePrimitives();
    void unreadSettingsAreNotSavedForRestore();
    void videoToggleFlipsOnlyOnSuccess();
    void deviceEventsRefresh();
};

namespace {
QList<OLP_Commu_EmuCamera::Request> releasesOf(const OLP_Test_EmuRig& rig, quint16 code)
{
    QList<OLP_Commu_EmuCamera::Request> matching;
    for (const auto& r : rig.camera->releases()) {
        if (r.code == code) {
            matching.append(r);
        }
    }
    return matching;
}
}  // namespace

// Each product family gets its settings variant; storage type and auto power
// off are saved and set only where the camera keeps them.
void tst_Camera::construction_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("savesAutoPowerOff");
    QTest::newRow("KestaA") << ProductIdKestaA << "struct" << true;
    QTest::newRow("KestaB") << ProductIdKestaB << "struct" << true;
    QTest::newRow("KestaC") << ProductIdKestaC << "structM" << true;
    QTest::newRow("KestaE") << ProductIdKestaE << "structM" << true;
    QTest::newRow("KestaD") << ProductIdKestaD << "devprops" << false;
    QTest::newRow("Pelvo") << ProductIdPelvo << "devprops" << false;
    QTest::newRow("Seventh") << ProductIdSeventh << "devprops" << false;
}

void tst_Camera::construction()
{
    QFETCH(quint32, product);
    QFETCH(QString, variant);
    QFETCH(bool, savesAutoPowerOff);
    OLP_Test_EmuRig rig{quint16(product)};
    QVERIFY(rig.open());
    {
        OLP_Logic_Camera camera(rig.access.get());
        OLP_Logic_CameraSettingsBase* settings = camera.cameraSettings();
        QVERIFY(settings);
        if (variant == "struct") {
            QVERIFY(dynamic_cast<OLP_Logic_CameraSettingsByStruct*>(settings));
            QVERIFY(!dynamic_cast<OLP_Logic_CameraSettingsByStructM*>(settings));
        } else if (variant == "structM") {
            QVERIFY(dynamic_cast<OLP_Logic_CameraSettingsByStructM*>(settings));
        } else {
            QVERIFY(dynamic_cast<OLP_Logic_CameraSettingsByDevProps*>(settings));
        }
        QVERIFY(camera.deviceInfo());
        QVERIFY(camera.lens());
        QVERIFY(camera.hasGeotackingData());
        QVERIFY(camera.has3DAxisData());
        QVERIFY(camera.keepAliveTimer()->isActive());
        QCOMPARE(camera.keepAliveTimer()->interval(), 5000);
        QCOMPARE(camera.productName(), rig.camera->profile().model);
        // Auto power off is switched off only on the four structure cameras, and
        // the value found is kept for the restore.
        if (savesAutoPowerOff) {
            QVERIFY(camera.savedAutoPowerOff() >= 0);
            QCOMPARE(camera.autoPowerOff(), 0);
        } else {
            QCOMPARE(camera.savedAutoPowerOff(), -1);
        }
        if (camera.hasStorageType()) {
            QVERIFY(camera.savedStorageType() >= 0);
        }
    }
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// Without event 0xC00C and operation 0x9020 there is no 3D-axis dataset and no
// timer; with only the operation the data are polled every 300 ms.
void tst_Camera::axisDataNeedsEventOrOperation()
{
    OLP_Commu_EmuProfile neither = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    neither.events.removeAll(0xC00C);
    neither.missingOperations.append(0x9020);
    OLP_Test_EmuRig rig(neither);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QVERIFY(!camera.has3DAxisData());
    QVERIFY(!camera.axisTimer()->isActive());
    QSignalSpy angles(&camera, &OLP_Logic_Camera::signal3DAxisAngles);
    QMetaObject::invokeMethod(&camera, "catchRefresh3DAxisData");
    QCOMPARE(angles.size(), 0);
    QCOMPARE(rig.camera->requestCount(0x9020), 0);

    OLP_Commu_EmuProfile operationOnly = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    operationOnly.events.removeAll(0xC00C);
    OLP_Test_EmuRig polled(operationOnly);
    QVERIFY(polled.open());
    OLP_Logic_Camera polledCamera(polled.access.get());
    QVERIFY(polledCamera.has3DAxisData());
    QVERIFY(polledCamera.axisTimer()->isActive());
    QVERIFY(!polledCamera.axisTimer()->isSingleShot());
    QCOMPARE(polledCamera.axisTimer()->interval(), 300);
    QSignalSpy polledAngles(&polledCamera, &OLP_Logic_Camera::signal3DAxisAngles);
    QVERIFY(polledAngles.wait(olpTimeout(2000)));
    QCOMPARE(polledAngles[0][0].toDouble(), 1.5);
    QCOMPARE(polledAngles[0][1].toDouble(), -2.25);
}

// With the event, each event causes exactly one read, and none happen otherwise.
void tst_Camera::axisReadOncePerEvent()
{
    OLP_Test_EmuRig rig(ProductIdKestaA);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QVERIFY(camera.axisTimer()->isSingleShot());
    QVERIFY(!camera.axisTimer()->isActive());
    const int before = rig.camera->requestCount(0x9020);
    QSignalSpy angles(&camera, &OLP_Logic_Camera::signal3DAxisAngles);
    rig.camera->queueEvent(0xC00C);
    QVERIFY(angles.wait(olpTimeout(3000)));
    rig.camera->queueEvent(0xC00C);
    QTRY_COMPARE_WITH_TIMEOUT(angles.size(), 2, olpTimeout(3000));
    QTest::qWait(400);  // a repeating timer would have read again by now
    QCOMPARE(angles.size(), 2);
    QCOMPARE(rig.camera->requestCount(0x9020) - before, 2);

    // Busy: the read steps aside.
    camera.setBusy(true);
    QMetaObject::invokeMethod(&camera, "catchRefresh3DAxisData");
    QCOMPARE(angles.size(), 2);
}

// The change record is turned into signals in the camera's fixed order.
void tst_Camera::changeEmissionOrder()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    SignalOrder order(&camera);
    SettingsChangeFlags changes;
    changes.shutterTime = true;
    changes.exposureMode = true;
    changes.sensitivity = true;
    changes.driveMode = true;
    changes.batteryInfo = true;
    changes.storageType = true;          // emits nothing
    changes.language = true;             // emits nothing
    changes.bracketingAutomatic = true;  // emits nothing
    camera.emitChanged(changes);
    const QStringList expected = {"signalBatteryInfo", "signalDriveMode",    "signalSensitivityAuto",
                                  "signalSensitivity", "signalExposureMode", "signalAperture",
                                  "signalShutterTime", "signalShutterTime"};
    QStringList got = order.names;
    got.removeAll("signalPictureExampleName");
    QCOMPARE(got, expected);
}

void tst_Camera::noFocusConfirmationOnlyWhenDisabled()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy none(&camera, &OLP_Logic_Camera::signalNoFocusConfirmation);
    SettingsChangeFlags changes;
    changes.focusConfirmationEnabled = true;
    camera.emitChanged(changes);
    QCOMPARE(none.size(), camera.focusConfirmationEnabled() ? 0 : 1);
}

// Keep-alive sends stage 14; nothing without a product.
void tst_Camera::keepAlive()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy alive(&camera, &OLP_Logic_Camera::signalIsAlive);
    QMetaObject::invokeMethod(&camera, "catchKeepAlive");
    QCOMPARE(alive.size(), 1);
    QCOMPARE(alive[0][0].toBool(), true);
    const auto releases = releasesOf(rig, 0x9004);
    QCOMPARE(releases.size(), 1);
    QCOMPARE(releases[0].params, QVector<quint32>{14});

    // A camera without the release operation gets the keep-alive operation.
    OLP_Test_EmuRig seventh(ProductIdSeventh);
    QVERIFY(seventh.open());
    OLP_Logic_Camera other(seventh.access.get());
    QMetaObject::invokeMethod(&other, "catchKeepAlive");
    QCOMPARE(releasesOf(seventh, 0x901D).size(), 1);

    // Closed connection: product 0, nothing is sent.
    QVERIFY(rig.access->closeConnection());
    QMetaObject::invokeMethod(&camera, "catchKeepAlive");
    QCOMPARE(alive.size(), 1);
}

// Busy skips keep-alive; a busy flag with nothing pending is dropped after
// three ticks so the camera is kept awake again.
void tst_Camera::keepAliveSkippedWhileBusyAndWatchdog()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy alive(&camera, &OLP_Logic_Camera::signalIsAlive);
    camera.setBusy(true);
    camera.incrementActiveTransfers();  // a transfer is pending: busy stays
    for (int i = 0; i < 5; ++i) {
        QMetaObject::invokeMethod(&camera, "catchKeepAlive");
    }
    QCOMPARE(alive.size(), 0);
    QVERIFY(camera.isBusy());
    camera.decrementActiveTransfers();
    camera.decrementActiveTransfers();  // never below 0
    QCOMPARE(camera.activeTransfers(), 0);
    OLP_Test_LogCapture log;
    QMetaObject::invokeMethod(&camera, "catchKeepAlive");
    QMetaObject::invokeMethod(&camera, "catchKeepAlive");
    QCOMPARE(alive.size(), 0);
    QMetaObject::invokeMethod(&camera, "catchKeepAlive");
    QCOMPARE(alive.size(), 1);
    QVERIFY(!camera.isBusy());
    QCOMPARE(log.count("OLP_Logic_Camera::catchKeepAlive - busy for 3 keep-alive ticks with nothing pending"), 1);
}

void tst_Camera::keepAliveTimerFires()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy alive(&camera, &OLP_Logic_Camera::signalIsAlive);
    QVERIFY(alive.wait(olpTimeout(7000)));
}

// Pictures on the card: handles of kinds 1, 2 and 6 only; one rebuild at once,
// requests during the hold-off give one trailing rebuild.
void tst_Camera::imageDatabase()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    rig.camera->addObject(0x00010001, QByteArray(600, 'j'));
    rig.camera->addObject(0x00010012, QByteArray(600, 'd'));
    rig.camera->addObject(0x00010023, QByteArray(600, 'x'));
    rig.camera->addObject(0x00010036, QByteArray(600, 'm'));
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy begin(&camera, &OLP_Logic_Camera::signalImageDBChangeBegin);
    QSignalSpy end(&camera, &OLP_Logic_Camera::signalImageDBChangeEnd);
    camera.slotRebuildImageDB();
    QCOMPARE(begin.size(), 1);
    QCOMPARE(end.size(), 1);
    QCOMPARE(camera.imageDBCount(), 3);
    QCOMPARE(camera.imageDBHandle(0), 0x00010001u);
    QCOMPARE(camera.imageDBHandle(1), 0x00010012u);
    QCOMPARE(camera.imageDBHandle(2), 0x00010036u);
    QCOMPARE(camera.imageDB()[0].name, QStringLiteral("index 1"));
    QVERIFY(camera.imageDB()[0].notDng);
    QVERIFY(!camera.imageDB()[1].notDng);
    QCOMPARE(camera.imageDB()[1].rotation, 360);
    QVERIFY(camera.imageDB()[0].thumbnail.startsWith("\x89PNG"));
    QCOMPARE(camera.imageDBIndexOf(0x00010036), 2);
    QCOMPARE(camera.imageDBIndexOf(0x00010023), -1);
    QCOMPARE(camera.imageDBHandle(7), 0u);
    QCOMPARE(rig.camera->requestCount(0x1004), 1);
    QCOMPARE(rig.camera->requestCount(0x1007), 1);
    QVERIFY(camera.isImageDBHoldOffActive());

    // Three requests inside the hold-off: nothing now, one rebuild when it ends.
    rig.camera->addObject(0x00010042, QByteArray(600, 'n'));
    camera.slotRebuildImageDB();
    camera.slotRebuildImageDB();
    camera.slotRebuildImageDB();
    QCOMPARE(rig.camera->requestCount(0x1007), 1);
    QCOMPARE(begin.size(), 1);
    QMetaObject::invokeMethod(&camera, "slotDelayedRebuildImageDB");
    QCOMPARE(rig.camera->requestCount(0x1007), 2);
    QCOMPARE(camera.imageDBCount(), 4);
    QCOMPARE(camera.imageDB()[3].name, QStringLiteral("index 4"));
    // Nothing was pending any more: the next end of the hold-off does nothing.
    QMetaObject::invokeMethod(&camera, "slotDelayedRebuildImageDB");
    QCOMPARE(rig.camera->requestCount(0x1007), 2);

    camera.removeImageDBEntry(0x00010012);
    QCOMPARE(camera.imageDBCount(), 3);
    camera.setImageDBRotation(0, 90);
    camera.setImageDBRotation(99, 90);
    QCOMPARE(camera.imageDBRotation(0), 90);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_Camera::imageDatabaseHoldOffTimer()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy end(&camera, &OLP_Logic_Camera::signalImageDBChangeEnd);
    camera.slotRebuildImageDB();
    QTest::qWait(1000);
    camera.slotRebuildImageDB();
    QCOMPARE(end.size(), 1);
    // The trailing rebuild comes when the 3000 ms hold-off ends.
    QTRY_COMPARE_WITH_TIMEOUT(end.size(), 2, olpTimeout(4000));
}

void tst_Camera::focusDistanceMoves_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<bool>("increase");
    QTest::addColumn<quint32>("stage");
    QTest::newRow("KestaD inc") << ProductIdKestaD << true << 10u;
    QTest::newRow("KestaD dec") << ProductIdKestaD << false << 9u;
    QTest::newRow("Pelvo inc swapped") << ProductIdPelvo << true << 9u;
    QTest::newRow("Pelvo dec swapped") << ProductIdPelvo << false << 10u;
}

void tst_Camera::focusDistanceMoves()
{
    QFETCH(quint32, product);
    QFETCH(bool, increase);
    QFETCH(quint32, stage);
    OLP_Test_EmuRig rig{quint16(product)};
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    if (increase) {
        camera.setFocusDistanceInc();
    } else {
        camera.setFocusDistanceDec();
    }
    const auto releases = releasesOf(rig, 0x9004);
    QVERIFY(!releases.isEmpty());
    QCOMPARE(releases.last().params, (QVector<quint32>{stage, 5}));
    // The lens moves in manual focus: the mode was switched first.
    QCOMPARE(camera.focusMode(), 2);

    OLP_Test_LogCapture log;
    const int before = rig.camera->releases().size();
    camera.setFocusDistance(0xFFFFFFFFu);
    QVERIFY(log.contains("OLP_Logic_Camera::setFocusDistance - illegal position 0xffffffff"));
    QCOMPARE(rig.camera->releases().size(), before);
    camera.setFocusDistance(1234);
    QCOMPARE(releasesOf(rig, 0x9004).last().params, (QVector<quint32>{11, 1234}));
}

void tst_Camera::facadeRules()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    camera.setBracketImgNum(7);
    QCOMPARE(camera.bracketingImageNumbers(), 3);
    camera.setBracketImgNum(5);
    QCOMPARE(camera.bracketingImageNumbers(), 5);

    OLP_Test_LogCapture log;
    camera.setExposureMode(6);
    QVERIFY(log.contains("OLP_Logic_Camera::setExposureMode - illegal exposure mode 6"));
    camera.setFocusMode(3);
    QVERIFY(log.contains("OLP_Logic_Camera::setFocusMode - illegal focus mode 3"));

    camera.setExposureMode(4);
    QCOMPARE(camera.exposureMode(), 4);
    QCOMPARE(camera.shutterTime(), -1.0);
    camera.setExposureMode(0);
    QVERIFY(camera.shutterTime() != -1.0);

    // The example name follows the file format: DNG for 0..2, JPG otherwise.
    camera.setPictureExampleFileFormat(0);
    QVERIFY(camera.pictureExampleFileName().endsWith(".DNG", Qt::CaseInsensitive));
    camera.setPictureExampleFileFormat(3);
    QVERIFY(camera.pictureExampleFileName().endsWith(".JPG", Qt::CaseInsensitive));
}

void tst_Camera::serialNumbers_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("shown");
    QTest::newRow("three leading zeros") << "000123405"
                                         << "123405";
    QTest::newRow("no zeros") << "987"
                              << "987";
    QTest::newRow("only zeros") << "0000"
                                << "";
}

void tst_Camera::serialNumbers()
{
    QFETCH(QString, serial);
    QFETCH(QString, shown);
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    profile.serialNumber = serial;
    OLP_Test_EmuRig rig(profile);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QCOMPARE(camera.serialNumber(), shown);
}

// Releases set busy; a failed bulb close keeps the bulb open for a retry.
void tst_Camera::releasePrimitives()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QVERIFY(camera.releaseCam(0));
    QVERIFY(camera.isBusy());
    camera.setBusy(false);

    QVERIFY(camera.startBulb());
    QVERIFY(camera.isBulbActive());
    rig.camera->failNextOperations(0x2002, 1, 0x9004);
    OLP_Test_LogCapture log;
    QVERIFY(!camera.stopBulb());
    QVERIFY(camera.isBulbActive());
    QVERIFY(log.contains("OLP_Logic_Camera::releaseCam - releaseMode 8 failed"));
    QVERIFY(camera.stopBulb());
    QVERIFY(!camera.isBulbActive());
    QVERIFY(!camera.isBusy());

    rig.camera->failNextOperations(0x2002, 1, 0x9004);
    QVERIFY(!camera.startBulb());
    QVERIFY(!camera.isBulbActive());
    QVERIFY(!camera.isBusy());

    QVERIFY(camera.stopContinuous());
    QVERIFY(camera.continuousStopPending());
    QCOMPARE(releasesOf(rig, 0x9004).last().params, QVector<quint32>{13});

    camera.transferRequest();
    QVERIFY(camera.isBusy());
}

// A structure that never arrived is not taken as the values to restore later.
void tst_Camera::unreadSettingsAreNotSavedForRestore()
{
    OLP_Test_EmuRig rig(ProductIdKestaA);
    QVERIFY(rig.open());
    rig.camera->failNextOperations(0x2002, 1, 0x9002);
    OLP_Logic_Camera camera(rig.access.get());
    QCOMPARE(camera.savedAutoPowerOff(), -1);
    QCOMPARE(camera.savedStorageType(), -1);
    const int writes = rig.camera->requestCount(0x9001);
    camera.restoreAutoPowerOff();
    camera.restoreStorageType();
    QCOMPARE(rig.camera->requestCount(0x9001), writes);
}

void tst_Camera::videoToggleFlipsOnlyOnSuccess()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QVERIFY(camera.hasStorageType());
    const qint64 storageBefore = camera.storageType();
    rig.camera->failNextOperations(0x2002, 1, 0x9004);
    camera.toggleVideoCapture();
    QVERIFY(!camera.isVideoRecording());
    // The start failed: the storage type is back at once.
    QCOMPARE(camera.storageType(), storageBefore);

    camera.toggleVideoCapture();
    QVERIFY(camera.isVideoRecording());
    QCOMPARE(camera.storageType(), 0);
    QCOMPARE(releasesOf(rig, 0x9004).last().params, QVector<quint32>{15});
    camera.toggleVideoCapture();
    QVERIFY(!camera.isVideoRecording());
    QCOMPARE(releasesOf(rig, 0x9004).last().params, QVector<quint32>{16});
    QCOMPARE(camera.storageType(), storageBefore);
}

// Property events reach the settings; 0xD603 is ignored.
void tst_Camera::deviceEventsRefresh()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy metering(&camera, &OLP_Logic_Camera::signalExposMetering);
    SignalOrder order(&camera);
    const int meteringNow = camera.exposMetering();
    const qint64 raw = rig.camera->propertyValue(0x500B);
    QVERIFY(rig.camera->setPropertyValue(0x500B, raw == 2 ? 3 : 2));
    QVERIFY(metering.wait(olpTimeout(3000)));
    QVERIFY(camera.exposMetering() != meteringNow);

    order.names.clear();
    QMetaObject::invokeMethod(&camera, "catchDevicePropertyChanged", Q_ARG(ushort, 0xD603));
    QVERIFY(order.names.isEmpty());
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Camera)
#include "tst_Camera.moc"
