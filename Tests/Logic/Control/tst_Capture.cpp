// The capture sequences of the controller against emulated cameras behind the
// USB transport: drive modes and the controller's own interval series, bulb
// with and without mirror-up, the bulb and self-timer counters, the warning
// that blocks the capture button, continuous shooting, the video button and
// bracketing announcements. The controller lives in the test thread here, so
// its state can be read between steps; tst_EndToEnd runs it in its thread.

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;
using Offsets = OLP_Commu_EmuSettingsStruct;

namespace {

constexpr quint16 kPropDriveMode = 0x5013;
constexpr quint16 kPropFileFormat = 0xD004;

// The release stages the camera received, in order.
QVector<quint32> stagesOf(const OLP_Commu_EmuCamera& camera)
{
    QVector<quint32> stages;
    for (const OLP_Commu_EmuCamera::Request& r : camera.releases()) {
        if (r.code == EmuWire::Release || r.code == EmuWire::InitiateCapture) {
            stages << (r.code == EmuWire::Release ? r.params.value(0) : 0u);
        }
    }
    return stages;
}

QVector<int> intsOf(const QSignalSpy& spy)
{
    QVector<int> values;
    for (const QList<QVariant>& args : spy) {
        values << args.value(0).toInt();
    }
    return values;
}

// One emulated camera on the process-wide USB hub and a controller in this
// thread that finds it by its normal device poll.
class Rig
{
public:
    explicit Rig(quint16 product) : Rig(OLP_Commu_EmuProfile::forProduct(product)) {}
    explicit Rig(const OLP_Commu_EmuProfile& profile) : camera(std::make_shared<OLP_Commu_EmuCamera>(profile))
    {
        port->plug(camera);
        OLP_Commu_UsbPortHub::system()->addPort(port);
    }
    ~Rig()
    {
        controller.reset();
        OLP_Commu_UsbPortHub::system()->removePort(port);
    }

    bool connect()
    {
        controller = std::make_unique<Controller>();
        if (auto* usb = qobject_cast<OLP_Commu_CameraAccess_Linux_PTP*>(controller->usbAccess())) {
            usb->setTimeouts(OLP_Test_EmuRig::fastTimeouts());
        }
        QSignalSpy connected(controller.get(), &Controller::signalCameraConnected);
        if (!connected.wait(olpTimeout(5000)) || !controller->camera()) {
            return false;
        }
        return settle();
    }
    // Waits until the camera's events have been read and handled.
    bool settle()
    {
        const bool quiet = QTest::qWaitFor(
            [this] {
                return camera->pendingEvents() == 0 && controller->usbAccess()->pendingPropertyCodes().isEmpty();
            },
            olpTimeout(5000));
        QTest::qWait(1);
        QCoreApplication::processEvents();
        return quiet;
    }
    // Pictures are taken and written into a temporary folder.
    bool enablePictures(OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options())
    {
        options.enabled = true;
        camera->setCaptureOptions(options);
        if (!folder.isValid()) {
            return false;
        }
        controller->setFolderSettings(
            OLP_Logic_FolderSettingsRecord{folder.path() + "/raw", folder.path() + "/jpg", QStringLiteral("Pic"), 1});
        QDir().mkpath(folder.path() + "/raw");
        QDir().mkpath(folder.path() + "/jpg");
        QCoreApplication::processEvents();
        return true;
    }
    QStringList files() const
    {
        return QDir(folder.path() + "/raw").entryList(QDir::Files, QDir::Name) +
               QDir(folder.path() + "/jpg").entryList(QDir::Files, QDir::Name);
    }
    bool waitAcknowledged(int pictures)
    {
        return QTest::qWaitFor([&] { return camera->requestCount(EmuWire::ObjectTransferReady) >= pictures; },
                               olpTimeout(10000)) &&
               controller->camera()->waitForTransferThreads(olpTimeout(10000));
    }
    // A setting changed at the camera; read by the host before it writes its
    // own copy of the settings back.
    bool setStructure(int offset, int value)
    {
        camera->changeSettings(offset, QByteArray(1, char(value)));
        return settle();
    }
    bool jpgOnly()
    {
        if (camera->profile().hasSettingsStructure) {
            return setStructure(Offsets::FileFormat, 3);
        }
        camera->setPropertyValue(kPropFileFormat, 2);
        return settle();
    }
    OLP_Logic_Camera* cam() const { return controller->camera(); }

    std::shared_ptr<OLP_Commu_EmuUsbPort> port = std::make_shared<OLP_Commu_EmuUsbPort>();
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<Controller> controller;
    QTemporaryDir folder;
};

// The moments the camera received each release, sampled by a thread of its
// own every millisecond while the event loop here runs the series.
QVector<qint64> releaseTimes(const OLP_Commu_EmuCamera& camera, const Controller& controller, int releases,
                             int timeoutMs)
{
    QVector<qint64> times;
    std::atomic<bool> stop(false);
    QElapsedTimer clock;
    clock.start();
    std::thread sampler([&] {
        int seen = 0;
        while (!stop.load()) {
            const int now = stagesOf(camera).size();
            while (seen < now) {
                times << clock.elapsed();
                ++seen;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const bool ended = QTest::qWaitFor(
        [&] { return stagesOf(camera).size() >= releases && !controller.intervalRunning(); }, timeoutMs);
    stop.store(true);
    sampler.join();
    // A series that did not end shows as one release too many.
    if (!ended) {
        times << -1;
    }
    return times;
}

}  // namespace

class tst_Capture : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        olpTestInit();
        olpRegisterMetaTypes();
    }

    // ---- drive mode and interval settings ----

    void driveMode_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("cameraDrive");
        QTest::addColumn<bool>("intervalEnabled");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("bracketing");

        // Kesta A has no interval feature: the controller runs the series and
        // the camera shoots single frames.
        QTest::newRow("Kesta A interval") << quint16(ProductIdKestaA) << 5 << 0 << true << 5 << false;
        QTest::newRow("Kesta D interval (own)") << quint16(ProductIdKestaD) << 5 << 5 << false << 5 << false;
        QTest::newRow("Kesta A bracketing") << quint16(ProductIdKestaA) << 4 << 0 << false << 4 << true;
        QTest::newRow("Kesta D bracketing") << quint16(ProductIdKestaD) << 4 << 0 << false << 4 << true;
        QTest::newRow("Kesta A continuous") << quint16(ProductIdKestaA) << 1 << 1 << false << 1 << false;
        QTest::newRow("Kesta D self timer") << quint16(ProductIdKestaD) << 2 << 2 << false << 2 << false;
    }
    void driveMode()
    {
        QFETCH(quint16, product);
        QFETCH(int, chosen);
        QFETCH(int, cameraDrive);
        QFETCH(bool, intervalEnabled);
        QFETCH(int, shown);
        QFETCH(bool, bracketing);
        Rig rig(product);
        QVERIFY(rig.connect());
        // Start from continuous, so that the camera really reports a change.
        rig.controller->setDriveMode(1);
        QVERIFY(rig.settle());
        QSignalSpy shownSpy(rig.controller.get(), QOverload<int>::of(&Controller::signalDriveMode));
        QSignalSpy textSpy(rig.controller.get(), QOverload<QString>::of(&Controller::signalDriveMode));

        rig.controller->setDriveMode(chosen);
        QVERIFY(rig.settle());

        QCOMPARE(rig.cam()->driveMode(), cameraDrive);
        QCOMPARE(rig.cam()->bracketingEnabled(), bracketing);
        QCOMPARE(rig.controller->intervalEnabled(), intervalEnabled);
        QVERIFY(!shownSpy.isEmpty());
        // The camera's own report of the mode it was given (0 for the
        // controller's interval) must not change what the GUI shows.
        for (const QList<QVariant>& args : shownSpy) {
            QCOMPARE(args.value(0).toInt(), shown);
        }
        QVERIFY(!textSpy.last().value(0).toString().isEmpty());
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // A mode the camera reports ends the controller's interval mode, except
    // the single-frame mode the interval series itself shoots with.
    void cameraReportEndsIntervalMode()
    {
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        rig.controller->setDriveMode(5);
        QVERIFY(rig.settle());
        QVERIFY(rig.controller->intervalEnabled());
        QSignalSpy shownSpy(rig.controller.get(), QOverload<int>::of(&Controller::signalDriveMode));

        rig.controller->emitDriveMode(0);
        QVERIFY(rig.controller->intervalEnabled());
        QCOMPARE(intsOf(shownSpy), QVector<int>{5});

        // The user turns the camera's drive dial to continuous.
        QVERIFY(rig.setStructure(Offsets::DriveMode, 1));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.controller->intervalEnabled(), olpTimeout(3000));
        QCOMPARE(shownSpy.last().value(0).toInt(), 1);
    }

    void intervalValues_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<bool>("toCamera");
        QTest::newRow("Kesta A keeps them") << quint16(ProductIdKestaA) << false;
        QTest::newRow("Kesta D sends them") << quint16(ProductIdKestaD) << true;
    }
    void intervalValues()
    {
        QFETCH(quint16, product);
        QFETCH(bool, toCamera);
        Rig rig(product);
        QVERIFY(rig.connect());
        rig.controller->setIntervalFrames(7);
        rig.controller->setIntervalTime(4);
        QVERIFY(rig.settle());
        QCOMPARE(rig.camera->propertyValue(0xD000) == 7, toCamera);
        QCOMPARE(rig.camera->propertyValue(0xD001) == 4, toCamera);
        if (!toCamera) {
            // The controller's own series uses them.
            rig.controller->setIntervalUnitMs(10);
            rig.controller->setDriveMode(5);
            rig.controller->doCaptureBtnPressed();
            QCOMPARE(rig.controller->intervalRemaining(), 7);
            QVERIFY(rig.controller->intervalTimer());
            rig.controller->catchCameraGUIClosed();
        }
    }

    // ---- bulb ----

    void bulb_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<bool>("mirrorUp");
        QTest::addColumn<QVector<quint32>>("stages");
        QTest::addColumn<QVector<int>>("states");
        QTest::addColumn<bool>("ticks");

        const QVector<quint32> withMirror{7, 7, 8};
        const QVector<quint32> plain{7, 8};
        QTest::newRow("Kesta A mirror-up")
            << quint16(ProductIdKestaA) << true << withMirror << QVector<int>{1, 2, 0} << true;
        QTest::newRow("Kesta A") << quint16(ProductIdKestaA) << false << plain << QVector<int>{2, 0} << true;
        QTest::newRow("Kesta D mirror-up")
            << quint16(ProductIdKestaD) << true << withMirror << QVector<int>{1, 2, 0} << false;
        QTest::newRow("Kesta D") << quint16(ProductIdKestaD) << false << plain << QVector<int>{2, 0} << false;
    }
    void bulb()
    {
        QFETCH(quint16, product);
        QFETCH(bool, mirrorUp);
        QFETCH(QVector<quint32>, stages);
        QFETCH(QVector<int>, states);
        QFETCH(bool, ticks);
        Rig rig(product);
        QVERIFY(rig.connect());
        QVERIFY(rig.enablePictures());
        QVERIFY(rig.jpgOnly());
        rig.controller->setMirrorUpMode(mirrorUp);
        rig.controller->setExposureMode(4);
        QVERIFY(rig.settle());
        QCOMPARE(rig.cam()->exposureMode(), 4);
        QCOMPARE(rig.cam()->mirrorUpMode(), mirrorUp);
        QSignalSpy counter(rig.controller.get(), &Controller::signalBulbCounter);

        for (int press = 0; press < states.size(); ++press) {
            rig.controller->doCaptureBtnPressed();
            QCOMPARE(rig.controller->bulbState(), states.at(press));
            if (states.at(press) == 2) {
                QVERIFY(rig.camera->isBulbOpen());
                QVERIFY(rig.cam()->isBulbActive());
                if (ticks) {
                    // The camera's tick events while the shutter is open.
                    QTRY_COMPARE_WITH_TIMEOUT(intsOf(counter), (QVector<int>{1, 2, 3}), olpTimeout(3000));
                    QVERIFY(rig.controller->bulbResetTimer()->isActive());
                }
            }
        }
        QCOMPARE(stagesOf(*rig.camera), stages);
        QVERIFY(!rig.camera->isBulbOpen());
        QVERIFY(!rig.cam()->isBulbActive());
        // One picture, when the shutter closed.
        QVERIFY(rig.waitAcknowledged(1));
        QCOMPARE(rig.files().size(), 1);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // A close the camera refused leaves the shutter open: the next press must
    // close it again instead of opening a new exposure.
    void bulbCloseFailsKeepsOpen()
    {
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        rig.controller->setExposureMode(4);
        QVERIFY(rig.settle());
        rig.controller->doCaptureBtnPressed();
        QCOMPARE(rig.controller->bulbState(), 2);
        rig.camera->failNextOperations(EmuWire::GeneralError, 1, EmuWire::Release);
        OLP_Test_LogCapture log;
        rig.controller->doCaptureBtnPressed();
        QVERIFY(log.contains("OLP_Logic_Camera::releaseCam - releaseMode 8 failed"));
        QCOMPARE(rig.controller->bulbState(), 2);
        QVERIFY(rig.cam()->isBulbActive());
        QVERIFY(rig.camera->isBulbOpen());
        rig.controller->doCaptureBtnPressed();
        QCOMPARE(rig.controller->bulbState(), 0);
        QVERIFY(!rig.camera->isBulbOpen());
        // The refused close never reached the camera's shutter.
        QCOMPARE(stagesOf(*rig.camera), (QVector<quint32>{7, 8}));
        QCOMPARE(rig.camera->requestCount(EmuWire::Release), 3);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // ---- counters ----

    void bulbCounter_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<int>("exposureMode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<int>>("counts");
        QTest::addColumn<int>("shutterTimes");
        QTest::addColumn<bool>("timerRuns");
        QTest::addColumn<QVector<int>>("afterReset");

        QTest::newRow("negative shows the time at once")
            << quint16(ProductIdKestaA) << 4 << -5 << QVector<int>{-1} << 1 << false << QVector<int>{-1, -1};
        QTest::newRow("positive, Kesta A falls back")
            << quint16(ProductIdKestaA) << 4 << 12 << QVector<int>{12} << 0 << true << QVector<int>{12, -1};
        QTest::newRow("positive, Kesta D waits for the camera")
            << quint16(ProductIdKestaD) << 4 << 12 << QVector<int>{12} << 0 << true << QVector<int>{12};
        QTest::newRow("not in bulb mode")
            << quint16(ProductIdKestaA) << 0 << 12 << QVector<int>{} << 0 << false << QVector<int>{};
    }
    void bulbCounter()
    {
        QFETCH(quint16, product);
        QFETCH(int, exposureMode);
        QFETCH(int, count);
        QFETCH(QVector<int>, counts);
        QFETCH(int, shutterTimes);
        QFETCH(bool, timerRuns);
        QFETCH(QVector<int>, afterReset);
        Rig rig(product);
        QVERIFY(rig.connect());
        rig.controller->setExposureMode(exposureMode);
        QVERIFY(rig.settle());
        QSignalSpy counter(rig.controller.get(), &Controller::signalBulbCounter);
        QSignalSpy shutter(rig.controller.get(), &Controller::signalShutterTime);

        rig.controller->emitBulbCounter(count);
        QCOMPARE(intsOf(counter), counts);
        QCOMPARE(shutter.size(), shutterTimes);
        QCOMPARE(rig.controller->bulbResetTimer()->isActive(), timerRuns);
        if (timerRuns) {
            QCOMPARE(rig.controller->bulbResetTimer()->interval(), 2000);
        }
        // The 2000 ms timer's slot, as the timer would call it.
        QVERIFY(QMetaObject::invokeMethod(rig.controller.get(), "catchBulbResetTimerFired"));
        QCOMPARE(intsOf(counter), afterReset);
        QCOMPARE(shutter.size(), shutterTimes + (afterReset.size() > counts.size() ? 1 : 0));
    }

    // The reset timer really fires, 2000 ms after the last event.
    void bulbCounterFallsBackAfter2000ms()
    {
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        rig.controller->setExposureMode(4);
        QVERIFY(rig.settle());
        QSignalSpy counter(rig.controller.get(), &Controller::signalBulbCounter);
        QSignalSpy shutter(rig.controller.get(), &Controller::signalShutterTime);
        QElapsedTimer clock;
        clock.start();
        rig.controller->emitBulbCounter(1);
        rig.controller->emitBulbCounter(2);
        QTRY_COMPARE_WITH_TIMEOUT(counter.size(), 3, olpTimeout(4000));
        // A coarse timer may fire up to 5 % early.
        QVERIFY(clock.elapsed() >= 1800);
        QCOMPARE(intsOf(counter), (QVector<int>{1, 2, -1}));
        QCOMPARE(shutter.size(), 1);
    }

    void selfTimerCounter_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("counters");
        QTest::addColumn<int>("shutterTimes");
        QTest::addColumn<int>("shutterTimesAfterReset");
        QTest::newRow("count shown") << quint16(ProductIdKestaC) << 2 << 1 << 0 << 1;
        QTest::newRow("zero shows the time") << quint16(ProductIdKestaC) << 0 << 0 << 1 << 2;
        QTest::newRow("Kesta A: no fall-back") << quint16(ProductIdKestaA) << 2 << 1 << 0 << 0;
    }
    void selfTimerCounter()
    {
        QFETCH(quint16, product);
        QFETCH(int, count);
        QFETCH(int, counters);
        QFETCH(int, shutterTimes);
        QFETCH(int, shutterTimesAfterReset);
        Rig rig(product);
        QVERIFY(rig.connect());
        QSignalSpy counter(rig.controller.get(), &Controller::signalSelfTimerCounter);
        QSignalSpy shutter(rig.controller.get(), &Controller::signalShutterTime);
        rig.controller->emitSelfTimerCounter(count);
        QCOMPARE(counter.size(), counters);
        QCOMPARE(shutter.size(), shutterTimes);
        QCOMPARE(rig.controller->selfTimerResetTimer()->isActive(), count > 0);
        QVERIFY(QMetaObject::invokeMethod(rig.controller.get(), "catchSelfResetTimerFired"));
        QCOMPARE(shutter.size(), shutterTimesAfterReset);
    }

    // The camera counts its self-timer down with tick events before the picture.
    void selfTimerTicksFromCamera()
    {
        Rig rig(ProductIdKestaC);
        QVERIFY(rig.connect());
        QVERIFY(rig.enablePictures());
        rig.controller->setDriveMode(2);
        QVERIFY(rig.settle());
        QCOMPARE(rig.cam()->driveMode(), 2);
        QSignalSpy counter(rig.controller.get(), &Controller::signalSelfTimerCounter);
        rig.controller->doCaptureBtnPressed();
        rig.controller->doCaptureBtnReleased();
        QVERIFY(rig.waitAcknowledged(1));
        QCOMPARE(intsOf(counter), (QVector<int>{2, 1}));
        QVERIFY(rig.controller->selfTimerResetTimer()->isActive());
        QCOMPARE(stagesOf(*rig.camera), QVector<quint32>{0});
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // ---- the capture button ----

    void warningBlocks_data()
    {
        QTest::addColumn<int>("warning");
        QTest::addColumn<int>("releases");
        QTest::newRow("warning 6 blocks") << 6 << 0;
        QTest::newRow("warning 5 does not") << 5 << 1;
        QTest::newRow("no warning") << 0 << 1;
    }
    void warningBlocks()
    {
        QFETCH(int, warning);
        QFETCH(int, releases);
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        QVERIFY(rig.setStructure(Offsets::Warnings, warning));
        QTRY_COMPARE_WITH_TIMEOUT(rig.cam()->warning(), warning, olpTimeout(3000));
        rig.controller->doCaptureBtnPressed();
        rig.controller->doCaptureBtnReleased();
        QCOMPARE(stagesOf(*rig.camera).size(), releases);
    }

    void singleAndContinuous_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<int>("drive");
        QTest::addColumn<bool>("mirrorUp");
        QTest::addColumn<QVector<quint32>>("stages");
        QTest::newRow("single") << quint16(ProductIdKestaD) << 0 << false << QVector<quint32>{0};
        QTest::newRow("continuous") << quint16(ProductIdKestaD) << 1 << false << QVector<quint32>{12, 13};
        // With mirror-up, continuous drive releases single frames; the stop still goes out.
        QTest::newRow("continuous, mirror-up") << quint16(ProductIdKestaD) << 1 << true << QVector<quint32>{0, 13};
        QTest::newRow("Pelvo continuous F") << quint16(ProductIdPelvo) << 8 << false << QVector<quint32>{12, 13};
        // A camera with its own interval feature: the camera runs the series.
        QTest::newRow("Kesta D interval") << quint16(ProductIdKestaD) << 5 << false << QVector<quint32>{0};
    }
    void singleAndContinuous()
    {
        QFETCH(quint16, product);
        QFETCH(int, drive);
        QFETCH(bool, mirrorUp);
        QFETCH(QVector<quint32>, stages);
        Rig rig(product);
        QVERIFY(rig.connect());
        rig.controller->setDriveMode(drive);
        if (mirrorUp) {
            rig.controller->setMirrorUpMode(true);
        }
        QVERIFY(rig.settle());
        rig.controller->doCaptureBtnPressed();
        rig.controller->doCaptureBtnReleased();
        QCOMPARE(stagesOf(*rig.camera), stages);
        QVERIFY(!rig.controller->intervalRunning());
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Continuous shooting takes pictures as long as the button is held.
    void continuousWhileHeld()
    {
        Rig rig(ProductIdKestaD);
        QVERIFY(rig.connect());
        OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options::forProduct(ProductIdKestaD);
        options.continuousShots = 1;
        QVERIFY(rig.enablePictures(options));
        OLP_Commu_EmuSequences::Options sequences;
        sequences.continuousWhileOpen = true;
        rig.camera->setSequenceOptions(sequences);
        QVERIFY(rig.jpgOnly());
        rig.controller->setDriveMode(1);
        QVERIFY(rig.settle());

        rig.controller->doCaptureBtnPressed();
        QVERIFY(rig.camera->isContinuousOpen());
        QVERIFY(rig.waitAcknowledged(4));
        rig.controller->doCaptureBtnReleased();
        QVERIFY(!rig.camera->isContinuousOpen());
        const int taken = rig.camera->capturedPictures().size();
        QVERIFY(rig.waitAcknowledged(taken));
        QCOMPARE(rig.files().size(), taken);
        QCOMPARE(rig.files().first(), QStringLiteral("Pic00001.JPG"));
        // The start, then the stop (a transfer that finds the stop pending
        // sends it once more).
        const QVector<quint32> stages = stagesOf(*rig.camera);
        QVERIFY(stages.size() >= 2);
        QCOMPARE(stages.first(), 12u);
        QCOMPARE(stages.mid(1), QVector<quint32>(stages.size() - 1, 13u));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    void videoButton()
    {
        Rig rig(ProductIdKestaD);
        QVERIFY(rig.connect());
        rig.controller->doVidCaptBtnPressed();
        QVERIFY(stagesOf(*rig.camera).isEmpty());
        rig.controller->doVidCaptBtnReleased();
        QVERIFY(rig.cam()->isVideoRecording());
        rig.controller->doVidCaptBtnPressed();
        rig.controller->doVidCaptBtnReleased();
        QVERIFY(!rig.cam()->isVideoRecording());
        QCOMPARE(stagesOf(*rig.camera), (QVector<quint32>{15, 16}));
    }

    void noCameraLogs()
    {
        Controller controller(static_cast<OLP_Commu_CameraAccess_Base*>(nullptr));
        OLP_Test_LogCapture log;
        controller.doCaptureBtnPressed();
        controller.doCaptureBtnReleased();
        controller.doVidCaptBtnReleased();
        controller.tickInterval();
        controller.emitBulbCounter(3);
        controller.emitSelfTimerCounter(3);
        for (const char* method : {"doCaptureBtnPressed", "doCaptureBtnReleased", "doVidCaptBtnReleased",
                                   "tickInterval", "emitBulbCounter", "emitSelfTimerCounter"}) {
            QVERIFY2(log.contains(QStringLiteral("OLP_Logic_Controller::%1 - no camera").arg(method)), method);
        }
    }

    // ---- bracketing ----

    void bracketingAnnouncements_data()
    {
        QTest::addColumn<int>("bracketing");  // settings byte: 0 off, 1 three, 2 five
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("loadingOn");
        QTest::newRow("three images") << 1 << 1 << 3 << 1;
        QTest::newRow("five images, twice") << 2 << 2 << 10 << 2;
        QTest::newRow("no bracketing") << 0 << 2 << 2 << 2;
    }
    void bracketingAnnouncements()
    {
        QFETCH(int, bracketing);
        QFETCH(int, presses);
        QFETCH(int, pictures);
        QFETCH(int, loadingOn);
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        QVERIFY(rig.enablePictures());
        QVERIFY(rig.setStructure(Offsets::FileFormat, 3));  // JPG
        QVERIFY(rig.setStructure(Offsets::Bracketing, bracketing));
        QTRY_COMPARE_WITH_TIMEOUT(rig.cam()->bracketingEnabled(), bracketing != 0, olpTimeout(3000));
        QVERIFY(rig.settle());
        QSignalSpy loading(rig.controller.get(), &Controller::signalLoading);
        for (int press = 0; press < presses; ++press) {
            rig.controller->doCaptureBtnPressed();
            rig.controller->doCaptureBtnReleased();
            QVERIFY(rig.waitAcknowledged((press + 1) * pictures / presses));
            QTRY_COMPARE_WITH_TIMEOUT(rig.files().size(), (press + 1) * pictures / presses, olpTimeout(5000));
            QCOMPARE(rig.controller->bracketCount(), 0);
        }
        int on = 0;
        for (const QList<QVariant>& args : loading) {
            on += args.value(0).toBool() ? 1 : 0;
        }
        QCOMPARE(on, loadingOn);
        QCOMPARE(rig.files().size(), pictures);
    }

    // ---- the controller's interval series ----

    void intervalSeries_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("unitMs");
        QTest::addColumn<bool>("mirrorUp");
        QTest::newRow("3 frames") << 3 << 1 << 200 << false;
        QTest::newRow("3 frames, mirror-up") << 3 << 1 << 200 << true;
        QTest::newRow("5 frames, 2 s, mirror-up") << 5 << 2 << 50 << true;
    }
    // Frames at the interval; with mirror-up two releases 300 ms apart per
    // frame. The interval's unit (a second) is shortened for the test.
    void intervalSeries()
    {
        QFETCH(int, frames);
        QFETCH(int, seconds);
        QFETCH(int, unitMs);
        QFETCH(bool, mirrorUp);
        const int intervalMs = seconds * unitMs;
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        QVERIFY(rig.enablePictures());
        QVERIFY(rig.setStructure(Offsets::FileFormat, 3));
        rig.controller->setMirrorUpMode(mirrorUp);
        rig.controller->setDriveMode(5);
        rig.controller->setIntervalFrames(frames);
        rig.controller->setIntervalTime(seconds);
        rig.controller->setIntervalUnitMs(unitMs);
        QVERIFY(rig.settle());
        QVERIFY(rig.controller->intervalEnabled());

        rig.controller->doCaptureBtnPressed();
        QVERIFY(rig.controller->intervalRunning());
        // Ignored while the series runs.
        rig.controller->doCaptureBtnPressed();
        const int releases = mirrorUp ? 2 * frames : frames;
        const QVector<qint64> times = releaseTimes(*rig.camera, *rig.controller, releases, olpTimeout(10000));
        QVERIFY(!rig.controller->intervalRunning());
        QVERIFY(rig.controller->intervalTimer() == nullptr);
        QCOMPARE(times.size(), releases);
        QCOMPARE(stagesOf(*rig.camera), QVector<quint32>(releases, 0));
        if (mirrorUp) {
            for (int frame = 0; frame < frames; ++frame) {
                const qint64 pair = times.at(2 * frame + 1) - times.at(2 * frame);
                // 300 ms; coarse timers and the sampling here blur it a little.
                QVERIFY2(pair >= 240, qPrintable(QString::number(pair)));
                if (frame > 0) {
                    // The next frame begins one interval after the shutter release.
                    QVERIFY(times.at(2 * frame) - times.at(2 * frame - 1) >= intervalMs * 3 / 4);
                }
            }
        } else {
            for (int frame = 1; frame < frames; ++frame) {
                QVERIFY(times.at(frame) - times.at(frame - 1) >= intervalMs * 3 / 4);
            }
        }
        QVERIFY(rig.waitAcknowledged(frames));
        QCOMPARE(rig.files().size(), frames);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    void readiness_data()
    {
        QTest::addColumn<int>("fileFormat");
        QTest::newRow("DNG") << 0;
        QTest::newRow("DNG + JPG") << 1;
        // JPG-only pictures go on without waiting only with a shutter time of
        // 0.0 s or less, which none of the cameras reports.
        QTest::newRow("JPG with a shutter time") << 3;
    }
    // No release while the previous picture has not arrived (here it never
    // does: the camera takes no pictures).
    void readiness()
    {
        QFETCH(int, fileFormat);
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        QVERIFY(rig.setStructure(Offsets::FileFormat, fileFormat));
        rig.controller->setDriveMode(5);
        rig.controller->setIntervalFrames(3);
        rig.controller->setIntervalTime(1);
        rig.controller->setIntervalUnitMs(20);
        QVERIFY(rig.settle());
        QCOMPARE(rig.cam()->fileFormat(), fileFormat);
        QVERIFY(rig.cam()->shutterTime() > 0.0);

        rig.controller->doCaptureBtnPressed();
        QVERIFY(rig.controller->intervalTimer());
        QSignalSpy ticks(rig.controller->intervalTimer(), &QTimer::timeout);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 5, olpTimeout(3000));
        QCOMPARE(stagesOf(*rig.camera).size(), 1);
        QVERIFY(rig.controller->intervalRunning());
        QVERIFY(!rig.controller->readyForNextFrame());
        // The picture has arrived.
        QVERIFY(QMetaObject::invokeMethod(rig.controller.get(), "catchDngTransferDone"));
        QTRY_COMPARE_WITH_TIMEOUT(stagesOf(*rig.camera).size(), 2, olpTimeout(3000));
        rig.controller->catchCameraGUIClosed();
    }

    // A release the camera refuses takes no picture: the series must not wait
    // for one, and the failed frame counts.
    void failedReleaseInSeries()
    {
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        QVERIFY(rig.enablePictures());
        QVERIFY(rig.setStructure(Offsets::FileFormat, 0));
        rig.controller->setDriveMode(5);
        rig.controller->setIntervalFrames(3);
        rig.controller->setIntervalTime(1);
        rig.controller->setIntervalUnitMs(50);
        QVERIFY(rig.settle());
        rig.camera->failNextOperations(EmuWire::GeneralError, 1, EmuWire::Release);
        rig.controller->doCaptureBtnPressed();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.controller->intervalRunning(), olpTimeout(5000));
        QCOMPARE(stagesOf(*rig.camera).size(), 2);
        QVERIFY(rig.waitAcknowledged(2));
        QCOMPARE(rig.files(), (QStringList{"Pic00001.DNG", "Pic00002.DNG"}));
    }

    // The camera goes away during a series: the series ends with it.
    void disconnectEndsSeries()
    {
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        rig.controller->setDriveMode(5);
        rig.controller->setIntervalFrames(50);
        rig.controller->setIntervalUnitMs(50);
        QVERIFY(rig.settle());
        rig.controller->doCaptureBtnPressed();
        QVERIFY(rig.controller->intervalRunning());
        QPointer<QTimer> timer = rig.controller->intervalTimer();
        QSignalSpy gone(rig.controller.get(), &Controller::signalCameraDisconnected);
        rig.camera->unplug();
        QVERIFY(gone.wait(olpTimeout(5000)));
        QVERIFY(!rig.controller->intervalRunning());
        QCOMPARE(rig.controller->intervalRemaining(), 0);
        QVERIFY(rig.controller->intervalTimer() == nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(timer.isNull(), olpTimeout(2000));
        QVERIFY(!rig.controller->intervalEnabled());
    }

    // The TCP release command calls from another thread; the series' timer
    // must still belong to the controller's thread.
    void pressFromAnotherThread()
    {
        Rig rig(ProductIdKestaA);
        QVERIFY(rig.connect());
        rig.controller->setDriveMode(5);
        rig.controller->setIntervalFrames(2);
        rig.controller->setIntervalUnitMs(50);
        QVERIFY(rig.settle());
        Controller* controller = rig.controller.get();
        std::thread gui([controller] {
            controller->doCaptureBtnPressed();
            controller->doCaptureBtnReleased();
        });
        gui.join();
        QVERIFY(!controller->intervalRunning());
        QTRY_VERIFY_WITH_TIMEOUT(controller->intervalTimer() != nullptr, olpTimeout(3000));
        QCOMPARE(controller->intervalTimer()->thread(), QThread::currentThread());
        QTRY_COMPARE_WITH_TIMEOUT(stagesOf(*rig.camera).size(), 1, olpTimeout(3000));
        rig.controller->catchCameraGUIClosed();
    }

    // The camera's own interval feature: one release, the camera takes the frames.
    void cameraIntervalFeature()
    {
        Rig rig(ProductIdKestaD);
        QVERIFY(rig.connect());
        QVERIFY(rig.enablePictures());
        OLP_Commu_EmuSequences::Options sequences;
        sequences.intervalUnitMs = 100;
        rig.camera->setSequenceOptions(sequences);
        QVERIFY(rig.jpgOnly());
        rig.controller->setDriveMode(5);
        rig.controller->setIntervalFrames(3);
        rig.controller->setIntervalTime(1);
        QVERIFY(rig.settle());
        QCOMPARE(rig.camera->propertyValue(kPropDriveMode), qint64(2));
        rig.controller->doCaptureBtnPressed();
        QVERIFY(!rig.controller->intervalRunning());
        QVERIFY(rig.waitAcknowledged(3));
        QCOMPARE(stagesOf(*rig.camera), QVector<quint32>{0});
        QCOMPARE(rig.files(), (QStringList{"Pic00001.JPG", "Pic00002.JPG", "Pic00003.JPG"}));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(tst_Capture)
#include "tst_Capture.moc"
