// The libusb port itself, linked against a fake libusb whose devices are
// emulated cameras: device list, descriptors, claim, bulk and interrupt
// transfers with their time-outs, short packets, stalls and
// LIBUSB_ERROR_NO_DEVICE, exactly as the code meets a real camera.

#include <dlfcn.h>
#include <libusb.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <thread>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_UsbPort_Linux.h"
#include "OLP_Debug.h"
#include "OLP_Test_FakeLibusb.h"
#include "OLP_Test_Support.h"

namespace {

const QString CameraId = QStringLiteral("usb\\vid_2F1A&pid_0101\\1-2.3:1");
const QString KeyboardId = QStringLiteral("usb\\vid_046D&pid_C31C\\1-1:5");

OLP_Commu_PtpTransport::Timeouts fastTimeouts()
{
    OLP_Commu_PtpTransport::Timeouts t;
    t.commandMs = olpTimeout(1000);
    t.dataChunkMs = olpTimeout(1000);
    t.responseMs = olpTimeout(300);
    t.eventPollMs = 20;
    return t;
}

// A keyboard and one camera on bus 1, seen through the libusb port.
struct Bus
{
    explicit Bus(quint16 product = ProductIdKestaA)
    {
        FakeLibusb::reset();
        camera = std::make_shared<OLP_Commu_EmuCamera>(product);
        FakeLibusb::attachOther(0x046D, 0xC31C, 1, {1}, 5);
        FakeLibusb::attachCamera(camera, 1, {2, 3});
        access = std::make_unique<OLP_Commu_CameraAccess_Linux_PTP>(port);
        access->setTimeouts(fastTimeouts());
    }
    ~Bus() { access.reset(); }
    QString id() const
    {
        return QStringLiteral("usb\\vid_2F1A&pid_%1\\1-2.3:%2")
            .arg(camera->productId(), 4, 16, QLatin1Char('0'))
            .arg(camera->address());
    }
    bool open() { return access->openConnection(VendorIdPrimary, camera->productId(), id()); }

    std::shared_ptr<OLP_Commu_UsbPort_Linux> port = std::make_shared<OLP_Commu_UsbPort_Linux>();
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<OLP_Commu_CameraAccess_Linux_PTP> access;
};

bool matchesPattern(const QByteArray& data, quint32 seed)
{
    for (int i = 0; i < data.size(); ++i) {
        if (quint8(data[i]) != OLP_Commu_EmuObject::patternByte(quint64(i), seed)) {
            return false;
        }
    }
    return true;
}

}  // namespace

class tst_UsbLibusb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theLibusbFunctionsAreTheFakeOnes();
    void listsEveryDeviceWithItsPlace();
    void opensClaimsAndReleases();
    void answersOfEverySizeThroughBulkTransfers_data();
    void answersOfEverySizeThroughBulkTransfers();
    void settingsWrittenWithZeroLengthPacket();
    void busyAndErrorsMapToTheLogLines_data();
    void busyAndErrorsMapToTheLogLines();
    void eventsThroughTheInterruptEndpoint();
    void claimRefusedReleasesTheHandle_data();
    void claimRefusedReleasesTheHandle();
    void deviceWithoutStillImageInterfaceIsNotOpened();
    void failedOpenIsRetriedWithGrowingPause_data();
    void failedOpenIsRetriedWithGrowingPause();
    void unplugDuringTransferLeaksNothing();
};

void tst_UsbLibusb::initTestCase()
{
    olpTestInit();
    setDebugFlags(1, true);
}

// Catches: the test silently running against the system's libusb.
void tst_UsbLibusb::theLibusbFunctionsAreTheFakeOnes()
{
    Dl_info info;
    QVERIFY(dladdr(reinterpret_cast<void*>(&libusb_bulk_transfer), &info) != 0);
    QVERIFY2(!QString::fromLocal8Bit(info.dli_fname).contains(QLatin1String("libusb")), info.dli_fname);
    // No loaded library provides libusb (the executable's own symbols are not exported).
    for (const char* name : {"libusb_bulk_transfer", "libusb_open", "libusb_init"}) {
        void* found = dlsym(RTLD_DEFAULT, name);
        QVERIFY2(!found || dladdr(found, &info) == 0 || !QByteArray(info.dli_fname).contains("libusb"), name);
    }
    Bus bus;
    bus.port->listDevices();
    QCOMPARE(FakeLibusb::counters().init, 1);
    QCOMPARE(FakeLibusb::counters().deviceLists, 1);
}

// Catches: device IDs without bus, port path or address, or leaked device references.
void tst_UsbLibusb::listsEveryDeviceWithItsPlace()
{
    Bus bus;
    const QList<OLP_Commu_UsbDeviceEntry> devices = bus.port->listDevices();
    QCOMPARE(devices.size(), 2);
    QCOMPARE(devices.at(0).deviceId, KeyboardId);
    QCOMPARE(devices.at(1).deviceId, CameraId);
    QCOMPARE(devices.at(1).vendorId, quint16(0x2F1A));
    QCOMPARE(devices.at(1).productId, quint16(0x0101));
    QCOMPARE(FakeLibusb::counters().liveReferences, 0);

    QSignalSpy available(bus.access.get(), &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    QVERIFY(bus.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 1);
    QCOMPARE(available.at(0).at(3).toString(), CameraId);
    bus.camera->unplug();
    bus.camera->replug();
    QVERIFY(bus.access->checkDeviceAvailable());
    QCOMPARE(available.at(1).at(3).toString(), QStringLiteral("usb\\vid_2F1A&pid_0101\\1-2.3:2"));
}

// Catches: a claim without auto-detach, halts not cleared, or a handle left open.
void tst_UsbLibusb::opensClaimsAndReleases()
{
    Bus bus;
    QSignalSpy closed(bus.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionClosed);
    QVERIFY(bus.open());
    FakeLibusb::Counters c = FakeLibusb::counters();
    QCOMPARE(c.opens, 1);
    QCOMPARE(c.autoDetach, 1);
    QCOMPARE(c.claims, 1);
    QCOMPARE(c.clearHalts, 3);
    QCOMPARE(c.liveHandles, 1);
    QVERIFY(bus.camera->isSessionOpen());
    QVERIFY(bus.camera->isVendorSessionOpen());
    QTRY_VERIFY_WITH_TIMEOUT(FakeLibusb::counters().interruptTransfers > 0, olpTimeout(2000));
    QCOMPARE(FakeLibusb::counters().lastInterruptTimeout, 20u);
    QCOMPARE(FakeLibusb::counters().lastBulkTimeout, unsigned(fastTimeouts().responseMs));

    QVERIFY(bus.access->closeConnection());
    c = FakeLibusb::counters();
    QCOMPARE(c.releases, 1);
    QCOMPARE(c.closes, 1);
    QCOMPARE(c.liveHandles, 0);
    QCOMPARE(c.liveReferences, 0);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!bus.camera->isClaimed());
    QCOMPARE(bus.camera->protocolErrors(), QStringList());
}

void tst_UsbLibusb::answersOfEverySizeThroughBulkTransfers_data()
{
    QTest::addColumn<int>("objectSize");
    QTest::addColumn<int>("bufferSize");
    QTest::newRow("36-byte buffer, 40-byte answer") << 40 << 36;
    QTest::newRow("36-byte buffer, 30-byte answer") << 30 << 36;
    QTest::newRow("zero-length packet after one packet") << 500 << 600;
    QTest::newRow("several chunks") << 2 * 1024 * 1024 + 5 << 2 * 1024 * 1024 + 5;
    QTest::newRow("drained rest") << 300000 << 1000;
}

// Catches: libusb reads of a size that overflows, or answers cut or padded wrongly.
void tst_UsbLibusb::answersOfEverySizeThroughBulkTransfers()
{
    QFETCH(int, objectSize);
    QFETCH(int, bufferSize);
    Bus bus;
    bus.camera->addGeneratedObject(0x12345678, quint64(objectSize), 5);
    QVERIFY(bus.open());
    QByteArray buffer(bufferSize, char(0xAA));
    quint32 received = 0;
    QVERIFY(
        bus.access->getObject(reinterpret_cast<quint8*>(buffer.data()), quint32(bufferSize), 0x12345678, &received));
    const int kept = qMin(objectSize, bufferSize);
    QCOMPARE(int(received), kept);
    QVERIFY(matchesPattern(buffer.left(kept), 5));
    QCOMPARE(buffer.mid(kept), QByteArray(bufferSize - kept, '\0'));
    QCOMPARE(FakeLibusb::counters().lastBulkTimeout, unsigned(fastTimeouts().responseMs));
    quint8 lens[101];
    QVERIFY(bus.access->getLensData(lens, 101));
    QCOMPARE(bus.camera->protocolErrors(), QStringList());
}

// Catches: a data-out phase of whole packets without its zero-length packet.
void tst_UsbLibusb::settingsWrittenWithZeroLengthPacket()
{
    Bus bus;
    bus.camera->setBulkPacketSize(16);
    QVERIFY(bus.open());
    QByteArray settings(100, '\0');
    for (int i = 0; i < 100; ++i) {
        settings[i] = char(255 - i);
    }
    QVERIFY(bus.access->setCameraSettings(reinterpret_cast<const quint8*>(settings.constData()), 100));
    QCOMPARE(bus.camera->settings(), settings);
    QVERIFY(bus.access->keepCameraActive());
    QCOMPARE(bus.camera->protocolErrors(), QStringList());
}

void tst_UsbLibusb::busyAndErrorsMapToTheLogLines_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("line");
    QTest::newRow("busy six times") << "busy 6" << false
                                    << "OLP_Commu_CameraAccess_Base::getLensData - MTP Response code: 0x00002019";
    QTest::newRow("busy once") << "busy 1" << true << "OLP_Commu_CameraAccess_Base::getLensData - successful";
    QTest::newRow("stall") << "stall" << false
                           << "OLP_Commu_CameraAccess_Base::getLensData - Driver return code (reading data): -9 "
                              "(LIBUSB_ERROR_PIPE)";
    QTest::newRow("time-out") << "timeout" << false
                              << "OLP_Commu_CameraAccess_Base::getLensData - Driver return code (ending transfer): -7 "
                                 "(LIBUSB_ERROR_TIMEOUT)";
}

// Catches: libusb results lost or misnamed on their way into the log.
void tst_UsbLibusb::busyAndErrorsMapToTheLogLines()
{
    QFETCH(QString, fault);
    QFETCH(bool, result);
    QFETCH(QString, line);
    Bus bus;
    QVERIFY(bus.open());
    const FakeLibusb::Counters before = FakeLibusb::counters();
    if (fault == QLatin1String("busy 6")) {
        bus.camera->failNextOperations(PTP::RespDeviceBusy, 6);
    } else if (fault == QLatin1String("busy 1")) {
        bus.camera->failNextOperations(PTP::RespDeviceBusy, 1);
    } else if (fault == QLatin1String("stall")) {
        bus.camera->stallNext(OLP_Commu_EmuCamera::BulkIn);
    } else {
        bus.camera->dropNextResponse();
    }
    quint8 lens[101];
    {
        OLP_Test_LogCapture log;
        QCOMPARE(bus.access->getLensData(lens, 101), result);
        QVERIFY2(log.contains(line), qPrintable(log.lines().join(QLatin1Char('\n'))));
    }
    const FakeLibusb::Counters after = FakeLibusb::counters();
    if (fault == QLatin1String("stall")) {
        QCOMPARE(after.clearHalts - before.clearHalts, 1);
    } else if (fault == QLatin1String("timeout")) {
        QCOMPARE(after.resets - before.resets, 1);
        QCOMPARE(after.lastControlTimeout, unsigned(fastTimeouts().commandMs));
    }
    QVERIFY(bus.access->getLensData(lens, 101));
    QCOMPARE(bus.camera->protocolErrors(), QStringList());
}

// Catches: events lost between libusb_interrupt_transfer and the signals.
void tst_UsbLibusb::eventsThroughTheInterruptEndpoint()
{
    Bus bus;
    QVERIFY(bus.open());
    // Received in this thread: the event reader emits from its own.
    QList<int> bulb;
    int transfer = 0;
    connect(
        bus.access.get(), &OLP_Commu_CameraAccess_Base::signalBulbCounter, this,
        [&bulb](int count) { bulb.append(count); }, Qt::QueuedConnection);
    connect(
        bus.access.get(), &OLP_Commu_CameraAccess_Base::signalTransferRequest, this, [&transfer] { ++transfer; },
        Qt::QueuedConnection);
    bus.camera->queueEvent(0xC006, {12});
    bus.camera->queueEvent(0x4009, {0x12345678});
    QTRY_COMPARE_WITH_TIMEOUT(transfer, 1, olpTimeout(2000));
    QCOMPARE(bulb, QList<int>{12});
}

void tst_UsbLibusb::claimRefusedReleasesTheHandle_data()
{
    QTest::addColumn<bool>("atOpen");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("line");
    QTest::newRow("interface claimed elsewhere")
        << false << int(LIBUSB_ERROR_BUSY)
        << "-6 (LIBUSB_ERROR_BUSY) - the interface is busy: another program has claimed the camera";
    QTest::newRow("no permission") << true << int(LIBUSB_ERROR_ACCESS)
                                   << "-3 (LIBUSB_ERROR_ACCESS) - no permission: install the udev rule and plug the "
                                      "camera in again";
}

// Catches: a failed open reported as connected or leaving the handle open.
void tst_UsbLibusb::claimRefusedReleasesTheHandle()
{
    QFETCH(bool, atOpen);
    QFETCH(int, error);
    QFETCH(QString, line);
    Bus bus;
    QSignalSpy opened(bus.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionOpened);
    QSignalSpy closed(bus.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionClosed);
    if (atOpen) {
        FakeLibusb::failNextOpen(error);
    } else {
        FakeLibusb::failNextClaim(error);
    }
    {
        OLP_Test_LogCapture log;
        QVERIFY(!bus.open());
        QVERIFY2(log.contains(
                     QStringLiteral("OLP_Commu_CameraAccess_Linux_PTP::openConnection - Failed to open the device %1: ")
                         .arg(CameraId) +
                     line),
                 qPrintable(log.lines().join(QLatin1Char('\n'))));
    }
    QCOMPARE(opened.count(), 0);
    QCOMPARE(closed.count(), 0);
    QCOMPARE(bus.access->productId(), 0u);
    QCOMPARE(FakeLibusb::counters().liveHandles, 0);
    QCOMPARE(FakeLibusb::counters().liveReferences, 0);
    QVERIFY(bus.open());
    QVERIFY(bus.access->closeConnection());
}

// Catches: opening a device that is not a still image camera.
void tst_UsbLibusb::deviceWithoutStillImageInterfaceIsNotOpened()
{
    Bus bus;
    eUsbError error = eUsbError::Ok;
    OLP_Test_LogCapture log;
    QVERIFY(!bus.port->open(KeyboardId, &error));
    QCOMPARE(error, eUsbError::NotSupported);
    QVERIFY(log.contains(QStringLiteral("%1 has no still image interface").arg(KeyboardId)));
    QVERIFY(!bus.port->open(QStringLiteral("usb\\vid_2F1A&pid_0101\\9-9:9"), &error));
    QCOMPARE(error, eUsbError::NotFound);
    QCOMPARE(FakeLibusb::counters().opens, 0);
    QCOMPARE(FakeLibusb::counters().liveReferences, 0);
}

void tst_UsbLibusb::failedOpenIsRetriedWithGrowingPause_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("line");
    QTest::newRow("held by another program") << "busy" << int(OLP_Commu_CameraAccess_Base::OpenProblemInUse)
                                             << "-6 (LIBUSB_ERROR_BUSY) - the interface is busy";
    QTest::newRow("no permission") << "denied" << int(OLP_Commu_CameraAccess_Base::OpenProblemNoPermission)
                                   << "-3 (LIBUSB_ERROR_ACCESS) - no permission";
    QTest::newRow("not in PTP mode") << "storage" << int(OLP_Commu_CameraAccess_Base::OpenProblemNotPtp)
                                     << "-12 (LIBUSB_ERROR_NOT_SUPPORTED) - no still image interface";
}

// Catches: a camera that cannot be opened tried and logged every second for
// ever, its cause not reported, or its pause kept after it opened or left.
void tst_UsbLibusb::failedOpenIsRetriedWithGrowingPause()
{
    QFETCH(QString, state);
    QFETCH(int, problem);
    QFETCH(QString, line);
    Bus bus;
    bus.access->setRetryPauses(OLP_Commu_CameraAccess_Linux_PTP::RetryPauses{20, 80});
    const auto setCause = [&bus](const QString& s) {
        bus.camera->setInterfaceBusy(s == QLatin1String("busy"));
        bus.camera->setAccessDenied(s == QLatin1String("denied"));
        bus.camera->setStillImageInterface(s != QLatin1String("storage"));
    };
    setCause(state);
    QSignalSpy problems(bus.access.get(), &OLP_Commu_CameraAccess_Base::signalOpenProblem);
    OLP_Test_LogCapture log;
    QElapsedTimer sinceFailure;
    int pause = 0;
    for (const int expected : {20, 40, 80, 80, 80}) {
        // Offered only once the pause is over, then refused again.
        QVERIFY(QTest::qWaitFor([&] { return bus.access->checkDeviceAvailable(); }, olpTimeout(3000)));
        if (pause > 0) {
            QVERIFY2(sinceFailure.elapsed() >= pause, qPrintable(QString::number(sinceFailure.elapsed())));
        }
        QVERIFY(!bus.open());
        sinceFailure.start();
        pause = expected;
        QCOMPARE(bus.access->retryPauseMs(bus.id()), expected);
        QVERIFY(!bus.access->checkDeviceAvailable());
    }
    QCOMPARE(log.count(QStringLiteral("Failed to open the device ")), 1);
    QVERIFY2(log.contains(line), qPrintable(log.lines().join(QLatin1Char('\n'))));
    QCOMPARE(problems.count(), 1);
    QCOMPARE(problems.at(0).at(1).toInt(), problem);
    QCOMPARE(problems.at(0).at(2).toString(), bus.id());
    QCOMPARE(FakeLibusb::counters().liveHandles, 0);

    // Another cause: one more line and one more report, the pause goes on growing.
    setCause(state == QLatin1String("busy") ? QStringLiteral("denied") : QStringLiteral("busy"));
    QVERIFY(QTest::qWaitFor([&] { return bus.access->checkDeviceAvailable(); }, olpTimeout(3000)));
    QVERIFY(!bus.open());
    QCOMPARE(log.count(QStringLiteral("Failed to open the device ")), 2);
    QCOMPARE(problems.count(), 2);
    QCOMPARE(bus.access->retryPauseMs(bus.id()), 80);

    // The cause gone, the camera opens and its problem is over.
    setCause(QString());
    QVERIFY(QTest::qWaitFor([&] { return bus.access->checkDeviceAvailable(); }, olpTimeout(3000)));
    QVERIFY(bus.open());
    QCOMPARE(problems.count(), 3);
    QCOMPARE(problems.at(2).at(1).toInt(), int(OLP_Commu_CameraAccess_Base::OpenProblemNone));
    QCOMPARE(bus.access->retryPauseMs(bus.id()), 0);
    QVERIFY(bus.access->closeConnection());

    // Unplugged while refused: the report ends, and the replugged camera is offered at once.
    setCause(state);
    QVERIFY(!bus.open());
    QCOMPARE(problems.count(), 4);
    bus.camera->unplug();
    QVERIFY(!bus.access->checkDeviceAvailable());
    QCOMPARE(problems.count(), 5);
    QCOMPARE(problems.at(4).at(1).toInt(), int(OLP_Commu_CameraAccess_Base::OpenProblemNone));
    QCOMPARE(bus.access->retryPauseMs(bus.id()), 0);
    bus.camera->replug();
    QVERIFY(bus.access->checkDeviceAvailable());
    QCOMPARE(FakeLibusb::counters().liveHandles, 0);
    QCOMPARE(FakeLibusb::counters().liveReferences, 0);
}

// Catches: a handle leaked per unplug, a second close signal, or a hang when
// LIBUSB_ERROR_NO_DEVICE ends a transfer in another thread.
void tst_UsbLibusb::unplugDuringTransferLeaksNothing()
{
    Bus bus;
    // Counted in this thread: the close may come from the transfer's thread.
    int closed = 0;
    connect(
        bus.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionClosed, this, [&closed](int) { ++closed; },
        Qt::QueuedConnection);
    OLP_Commu_PtpTransport::Timeouts t = fastTimeouts();
    t.responseMs = olpTimeout(20000);
    bus.access->setTimeouts(t);
    for (int round = 1; round <= 3; ++round) {
        QVERIFY(bus.open());
        bus.camera->dropNextResponse();
        std::atomic<int> result{-1};
        std::thread transfer([&] {
            quint8 settings[100];
            result = bus.access->getCameraSettings(settings, 100) ? 1 : 0;
        });
        QTRY_VERIFY_WITH_TIMEOUT(bus.camera->waitingReads(OLP_Commu_EmuCamera::BulkIn) == 1, olpTimeout(2000));
        bus.camera->unplug();
        transfer.join();
        QCOMPARE(result.load(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(closed, round, olpTimeout(2000));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(closed, round);
        QCOMPARE(FakeLibusb::counters().liveHandles, 0);
        QCOMPARE(FakeLibusb::counters().liveReferences, 0);
        bus.camera->replug();
    }
    QCOMPARE(FakeLibusb::counters().claims, 3);
    QCOMPARE(FakeLibusb::counters().releases, 3);
    QCOMPARE(bus.camera->protocolErrors(), QStringList());
}

QTEST_GUILESS_MAIN(tst_UsbLibusb)
#include "tst_UsbLibusb.moc"
