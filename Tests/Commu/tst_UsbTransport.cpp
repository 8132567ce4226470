// The USB camera access (connection type 1) driven through its real PTP
// transport against the emulated camera: discovery, sessions, the three
// primitives, Device Busy, faults, malformed answers, events and removal.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>
#include <atomic>
#include <thread>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_DevicePropDesc.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_EmuPipe.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"
#include "OLP_Test_Support.h"

// The access object's signals, received in the test thread whichever thread
// emitted them (the event reader emits from its own).
class SignalRelay : public QObject
{
    Q_OBJECT
public:
    explicit SignalRelay(OLP_Commu_CameraAccess_Base* access)
    {
        using A = OLP_Commu_CameraAccess_Base;
        const auto q = Qt::QueuedConnection;
        connect(access, &A::signalDeviceAvailable, this, &SignalRelay::deviceAvailable, q);
        connect(access, &A::signalConnectionOpened, this, &SignalRelay::connectionOpened, q);
        connect(access, &A::signalConnectionClosed, this, &SignalRelay::connectionClosed, q);
        connect(access, &A::signal3DAxisDataChanged, this, &SignalRelay::axisChanged, q);
        connect(access, &A::signalBulbCounter, this, &SignalRelay::bulbCounter, q);
        connect(access, &A::signalDevicePropertyChanged, this, &SignalRelay::propertyChanged, q);
        connect(access, &A::signalGeotackingChanged, this, &SignalRelay::geotaggingChanged, q);
        connect(access, &A::signalLensChanged, this, &SignalRelay::lensChanged, q);
        connect(access, &A::signalSelfTimerCounter, this, &SignalRelay::selfTimerCounter, q);
        connect(access, &A::signalSettingsChanged, this, &SignalRelay::settingsChanged, q);
        connect(access, &A::signalTransferRequest, this, &SignalRelay::transferRequest, q);
    }

signals:
    void deviceAvailable(int connectionType, qulonglong cameraId, int productId, QString deviceId);
    void connectionOpened(int connectionType);
    void connectionClosed(int connectionType);
    void axisChanged();
    void bulbCounter(int count);
    void propertyChanged(ushort code);
    void geotaggingChanged();
    void lensChanged();
    void selfTimerCounter(int count);
    void settingsChanged();
    void transferRequest();
};

namespace {

OLP_Commu_PtpTransport::Timeouts fastTimeouts()
{
    OLP_Commu_PtpTransport::Timeouts t;
    t.commandMs = olpTimeout(1000);
    t.dataChunkMs = olpTimeout(1000);
    t.responseMs = olpTimeout(300);
    t.eventPollMs = 20;
    t.statusPollMs = 5;
    return t;
}

// One emulated camera on its own virtual bus and an access object over it.
struct Rig
{
    explicit Rig(quint16 product = ProductIdKestaA)
    {
        camera = std::make_shared<OLP_Commu_EmuCamera>(product);
        port->plug(camera);
        access = std::make_unique<OLP_Commu_CameraAccess_Linux_PTP>(port);
        access->setTimeouts(fastTimeouts());
        access->setRetryPauses(OLP_Commu_CameraAccess_Linux_PTP::RetryPauses{20, 80});
        relay = std::make_unique<SignalRelay>(access.get());
    }
    ~Rig()
    {
        relay.reset();
        access.reset();
    }
    QString id() const { return port->deviceIdOf(camera); }
    bool open() { return access->openConnection(camera->vendorId(), camera->productId(), id()); }

    std::shared_ptr<OLP_Commu_EmuUsbPort> port = std::make_shared<OLP_Commu_EmuUsbPort>();
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<OLP_Commu_CameraAccess_Linux_PTP> access;
    std::unique_ptr<SignalRelay> relay;
};

// A port that lists fixed device IDs and opens none of them.
class ListPort : public OLP_Commu_UsbPort
{
public:
    explicit ListPort(const QStringList& ids) : m_ids(ids) {}
    QList<OLP_Commu_UsbDeviceEntry> listDevices() override
    {
        QList<OLP_Commu_UsbDeviceEntry> entries;
        for (const QString& id : m_ids) {
            entries.append(OLP_Commu_UsbDeviceEntry{0, 0, id});
        }
        return entries;
    }
    std::unique_ptr<OLP_Commu_UsbDevice> open(const QString&, eUsbError* error) override
    {
        *error = eUsbError::NotFound;
        return nullptr;
    }

private:
    QStringList m_ids;
};

QByteArray containerBytes(quint16 type, quint16 code, quint32 transactionId, const QVector<quint32>& params,
                          qint64 lengthField = -1)
{
    QByteArray b(12 + 4 * params.size(), '\0');
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<quint32>(lengthField >= 0 ? quint32(lengthField) : quint32(b.size()), p);
    qToLittleEndian<quint16>(type, p + 4);
    qToLittleEndian<quint16>(code, p + 6);
    qToLittleEndian<quint32>(transactionId, p + 8);
    for (int i = 0; i < params.size(); ++i) {
        qToLittleEndian<quint32>(params[i], p + 12 + 4 * i);
    }
    return b;
}

bool matchesPattern(const QByteArray& data, quint32 seed)
{
    for (int i = 0; i < data.size(); ++i) {
        if (quint8(data[i]) != OLP_Commu_EmuObject::patternByte(quint64(i), seed)) {
            return false;
        }
    }
    return true;
}

QString modelOf(const QByteArray& info)
{
    OLP_Commu_PtpReader r(reinterpret_cast<const quint8*>(info.constData()), quint64(info.size()));
    r.u16();
    r.u32();
    r.u16();
    r.string();
    r.u16();
    for (int i = 0; i < 5; ++i) {
        r.array16();
    }
    r.string();
    return r.string();
}

}  // namespace

class tst_UsbTransport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void discoveryAnnouncesEachPlugOnce();
    void discoveryAnnouncesOnlyTheFirstOfTwoNewCameras();
    void discoveryReadsDeviceIds_data();
    void discoveryReadsDeviceIds();

    void openRunsSessionsAndCloseEndsThem();
    void openFailsWhenAnotherProgramHoldsTheCamera();
    void openFailsWhenTheSessionIsRefused();

    void recvDataKeepsWhatFits_data();
    void recvDataKeepsWhatFits();
    void sendDataDeliversTheBytes_data();
    void sendDataDeliversTheBytes();
    void sendDataOfWrongSizeIsRefused();
    void releaseStagesReachTheCamera_data();
    void releaseStagesReachTheCamera();
    void devicePropertyRoundTrip();
    void datasetsInTheProductsLayout_data();
    void datasetsInTheProductsLayout();

    void busySixTimesFailsAfterFiveRepetitions();
    void busyThenOkSucceeds_data();
    void busyThenOkSucceeds();
    void busyRetriesKeepOtherCallersWaiting();

    void transferFaultsFailOnceAndRecover_data();
    void transferFaultsFailOnceAndRecover();
    void malformedAnswersStayInsideTheBuffer_data();
    void malformedAnswersStayInsideTheBuffer();
    void timeoutsReachEveryTransfer();
    void dataPhaseWithoutZeroLengthPacket_data();
    void dataPhaseWithoutZeroLengthPacket();
    void lostSessionIsOpenedAgain_data();
    void lostSessionIsOpenedAgain();
    void exposuresAreWaitedFor_data();
    void exposuresAreWaitedFor();
    void stallAsksTheStatusBeforeClearing();

    void eventsReachTheirSignals_data();
    void eventsReachTheirSignals();
    void malformedEventsAreDropped_data();
    void malformedEventsAreDropped();
    void standardEventsLeaveNoTrace();

    void unplugDuringTransactionClosesOnce();
    void unplugWhileIdleClosesOnce();
    void vanishingFromDiscoveryClosesOnce();
    void destroyWhileEventsFlow();
    void destroyRightAfterUnplug();

    void demoCameraIsFoundThroughTheSystemHub();
};

void tst_UsbTransport::initTestCase()
{
    olpTestInit();
    setDebugFlags(1, true);
}

// ---- discovery ----------------------------------------------------------------------------------

// Catches: a camera announced on every poll, or not again after a replug.
void tst_UsbTransport::discoveryAnnouncesEachPlugOnce()
{
    Rig rig;
    QSignalSpy available(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    QVERIFY(rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 1);
    QCOMPARE(available.at(0).at(0).toInt(), 1);
    QCOMPARE(available.at(0).at(1).toULongLong(), qulonglong(VendorIdPrimary));
    QCOMPARE(available.at(0).at(2).toInt(), int(ProductIdKestaA));
    const QString firstId = available.at(0).at(3).toString();
    QVERIFY(firstId.startsWith(QLatin1String("usb\\vid_2F1A&pid_0101\\emu-")));

    QVERIFY(!rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 1);

    rig.camera->unplug();
    QVERIFY(!rig.access->checkDeviceAvailable());
    rig.camera->replug();
    QVERIFY(rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 2);
    QVERIFY(available.at(1).at(3).toString() != firstId);
    QVERIFY(!rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 2);
}

// Catches: the second of two cameras plugged together announced later on.
void tst_UsbTransport::discoveryAnnouncesOnlyTheFirstOfTwoNewCameras()
{
    Rig rig;
    auto second = std::make_shared<OLP_Commu_EmuCamera>(ProductIdPelvo);
    rig.port->plug(second);
    QSignalSpy available(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    QVERIFY(rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 1);
    QCOMPARE(available.at(0).at(2).toInt(), int(ProductIdKestaA));
    QVERIFY(!rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 1);
    QCOMPARE(rig.access->knownDevices().size(), 2);

    // Replugging the second one makes it new again.
    second->unplug();
    QVERIFY(!rig.access->checkDeviceAvailable());
    second->replug();
    QVERIFY(rig.access->checkDeviceAvailable());
    QCOMPARE(available.count(), 2);
    QCOMPARE(available.at(1).at(2).toInt(), int(ProductIdPelvo));
}

void tst_UsbTransport::discoveryReadsDeviceIds_data()
{
    QTest::addColumn<QString>("deviceId");
    QTest::addColumn<bool>("announced");
    QTest::addColumn<int>("vendorId");
    QTest::addColumn<int>("productId");
    QTest::newRow("libusb form") << "usb\\vid_2F1A&pid_0104\\1-2.3:7" << true << 0x2F1A << 0x0104;
    QTest::newRow("markers in upper case") << "USB\\VID_2F1B&PID_0105\\3-1:2" << true << 0x2F1B << 0x0105;
    QTest::newRow("lower-case hex") << "usb\\vid_2f1a&pid_010a\\1-1:4" << true << 0x2F1A << 0x010A;
    QTest::newRow("no usb") << "hid\\vid_2F1A&pid_0101\\1-1:2" << false << 0 << 0;
    QTest::newRow("vid before usb") << "vid_2F1A&pid_0101\\usb" << false << 0 << 0;
    QTest::newRow("other vendor") << "usb\\vid_046D&pid_0101\\1-1:2" << false << 0 << 0;
    QTest::newRow("product 0000") << "usb\\vid_2F1A&pid_0000\\1-1:2" << false << 0 << 0;
    QTest::newRow("no product") << "usb\\vid_2F1A\\1-1:2" << false << 0 << 0;
    QTest::newRow("bad hex") << "usb\\vid_2G1A&pid_0101\\1-1:2" << false << 0 << 0;
    QTest::newRow("cut short") << "usb\\vid_2F1A&pid_01" << false << 0 << 0;
}

// Catches: device IDs read with case, order or hex mistakes.
void tst_UsbTransport::discoveryReadsDeviceIds()
{
    QFETCH(QString, deviceId);
    QFETCH(bool, announced);
    QFETCH(int, vendorId);
    QFETCH(int, productId);
    OLP_Commu_CameraAccess_Linux_PTP access(std::make_shared<ListPort>(QStringList{deviceId}));
    QSignalSpy available(&access, &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    OLP_Test_LogCapture log;
    QCOMPARE(access.checkDeviceAvailable(), announced);
    QVERIFY(log.contains(QStringLiteral("OLP_Commu_CameraAccess_Linux_PTP::checkDeviceAvailable - PnpDevice: ") +
                         deviceId));
    QCOMPARE(available.count(), announced ? 1 : 0);
    if (announced) {
        QCOMPARE(available.at(0).at(1).toULongLong(), qulonglong(vendorId));
        QCOMPARE(available.at(0).at(2).toInt(), productId);
        QCOMPARE(available.at(0).at(3).toString(), deviceId);
    }
}

// ---- connection ---------------------------------------------------------------------------------

// Catches: sessions not opened or not closed, a leaked device, a double close.
void tst_UsbTransport::openRunsSessionsAndCloseEndsThem()
{
    Rig rig;
    QSignalSpy opened(rig.relay.get(), &SignalRelay::connectionOpened);
    QSignalSpy closed(rig.relay.get(), &SignalRelay::connectionClosed);
    QVERIFY(rig.open());
    QVERIFY(opened.wait(olpTimeout(2000)));
    QCOMPARE(opened.at(0).at(0).toInt(), 1);
    QVERIFY(rig.camera->isSessionOpen());
    QVERIFY(rig.camera->isVendorSessionOpen());
    QCOMPARE(rig.camera->lastRequest().code, quint16(PTP::OpOpenQxSession));
    QCOMPARE(rig.camera->lastRequest().params, QVector<quint32>{PTP::QxSessionCode});
    QCOMPARE(rig.access->productId(), quint32(ProductIdKestaA));
    QCOMPARE(rig.access->cameraId(), quint32(VendorIdPrimary));
    QVERIFY(rig.access->isEventReaderRunning());
    QVERIFY(!rig.open());

    QByteArray info(2048, '\0');
    quint32 received = 0;
    QVERIFY(rig.access->getDeviceInfo(reinterpret_cast<quint8*>(info.data()), 2048, &received));
    QVERIFY(received > 100);
    QCOMPARE(modelOf(info), QStringLiteral("Kesta A"));

    QVERIFY(rig.access->closeConnection());
    QCOMPARE(rig.camera->requestCount(PTP::OpCloseQxSession), 1);
    QCOMPARE(rig.camera->requestCount(PTP::OpCloseSession), 1);
    QVERIFY(!rig.camera->isSessionOpen());
    QVERIFY(!rig.camera->isVendorSessionOpen());
    QCOMPARE(rig.port->openDevices(), 0);
    QVERIFY(!rig.access->isEventReaderRunning());
    QCOMPARE(rig.access->productId(), 0u);
    QVERIFY(!rig.access->closeConnection());
    QVERIFY(closed.wait(olpTimeout(2000)));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toInt(), 1);

    // The camera can be opened again, in a new session.
    QVERIFY(rig.open());
    QVERIFY(rig.access->closeConnection());
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: a camera that could not be opened reported as connected.
void tst_UsbTransport::openFailsWhenAnotherProgramHoldsTheCamera()
{
    Rig rig;
    QSignalSpy available(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    QSignalSpy opened(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionOpened);
    QSignalSpy closed(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionClosed);
    rig.camera->setInterfaceBusy(true);
    QVERIFY(rig.access->checkDeviceAvailable());
    {
        OLP_Test_LogCapture log;
        QVERIFY(!rig.open());
        QVERIFY(log.contains(QStringLiteral("OLP_Commu_CameraAccess_Linux_PTP::openConnection - Failed to open the "
                                            "device %1: -6 (LIBUSB_ERROR_BUSY) - the interface is busy: another "
                                            "program has claimed the camera")
                                 .arg(rig.id())));
    }
    QCOMPARE(rig.access->productId(), 0u);
    QVERIFY(rig.access->knownDevices().isEmpty());
    QCOMPARE(rig.port->openDevices(), 0);

    // A poll after the pause offers the camera again, and now it opens.
    rig.camera->setInterfaceBusy(false);
    QVERIFY(QTest::qWaitFor([&] { return rig.access->checkDeviceAvailable(); }, olpTimeout(2000)));
    QCOMPARE(available.count(), 2);
    QVERIFY(rig.open());
    QCOMPARE(opened.count(), 1);
    QCOMPARE(closed.count(), 0);
    QVERIFY(rig.access->closeConnection());
}

// Catches: a half-opened device kept after the PTP session failed.
void tst_UsbTransport::openFailsWhenTheSessionIsRefused()
{
    Rig rig;
    QSignalSpy opened(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionOpened);
    QVERIFY(rig.access->checkDeviceAvailable());
    rig.camera->failNextOperations(PTP::RespGeneralError, 1, PTP::OpOpenSession);
    OLP_Test_LogCapture log;
    QVERIFY(!rig.open());
    QVERIFY(
        log.contains(QStringLiteral("OLP_Commu_CameraAccess_Linux_PTP::openConnection - Failed to open the PTP "
                                    "session: MTP Response code: 0x00002002")));
    QCOMPARE(opened.count(), 0);
    QCOMPARE(rig.port->openDevices(), 0);
    QVERIFY(!rig.camera->isClaimed());
    QVERIFY(rig.access->knownDevices().isEmpty());
    QVERIFY(rig.open());
    QVERIFY(rig.access->closeConnection());
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// ---- primitives ---------------------------------------------------------------------------------

void tst_UsbTransport::recvDataKeepsWhatFits_data()
{
    QTest::addColumn<int>("packetSize");
    QTest::addColumn<int>("objectSize");
    QTest::addColumn<int>("bufferSize");
    QTest::newRow("36-byte buffer, 40-byte answer") << 512 << 40 << 36;
    QTest::newRow("36-byte buffer, 30-byte answer") << 512 << 30 << 36;
    QTest::newRow("empty answer") << 512 << 0 << 16;
    QTest::newRow("one packet, zero-length packet follows") << 512 << 500 << 500;
    QTest::newRow("two packets, larger buffer") << 512 << 1012 << 2048;
    QTest::newRow("stage exactly full") << 512 << 16372 << 16372;
    QTest::newRow("stage plus a short packet") << 512 << 16372 + 100 << 20000;
    QTest::newRow("1 MiB and a bit") << 512 << (1 << 20) + 7 << (1 << 20) + 7;
    QTest::newRow("3 MiB whole packets") << 512 << 3 * (1 << 20) - 12 << 3 * (1 << 20) - 12;
    QTest::newRow("3 MiB into 1 MiB") << 512 << 3 * (1 << 20) << (1 << 20);
    QTest::newRow("100 kB into 100 bytes") << 512 << 100000 << 100;
    QTest::newRow("buffer one short of a packet") << 512 << 100000 << 99999;
    QTest::newRow("64-byte packets, zero-length packet") << 64 << 52 << 64;
    QTest::newRow("64-byte packets, drain") << 64 << 5000 << 1000;
    QTest::newRow("1024-byte packets") << 1024 << 70000 << 70000;
}

// Catches: bytes lost, written past the buffer, not zero-filled, or a session
// out of step after a long or zero-length-packet data phase.
void tst_UsbTransport::recvDataKeepsWhatFits()
{
    QFETCH(int, packetSize);
    QFETCH(int, objectSize);
    QFETCH(int, bufferSize);
    Rig rig;
    rig.camera->setBulkPacketSize(quint32(packetSize));
    rig.camera->addGeneratedObject(0x12345678, quint64(objectSize), 17);
    QVERIFY(rig.open());

    QByteArray buffer(bufferSize, char(0xAA));
    quint32 received = 0xFFFFFFFF;
    QVERIFY(
        rig.access->getObject(reinterpret_cast<quint8*>(buffer.data()), quint32(bufferSize), 0x12345678, &received));
    const int kept = qMin(objectSize, bufferSize);
    QCOMPARE(int(received), kept);
    QVERIFY(matchesPattern(buffer.left(kept), 17));
    QCOMPARE(buffer.mid(kept), QByteArray(bufferSize - kept, '\0'));

    // The session is still in step.
    QByteArray lens(101, '\0');
    QVERIFY(rig.access->getLensData(reinterpret_cast<quint8*>(lens.data()), 101));
    QCOMPARE(lens.mid(1, 15), QByteArray("Varion-Kesta 70"));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::sendDataDeliversTheBytes_data()
{
    QTest::addColumn<int>("packetSize");
    QTest::newRow("512-byte packets") << 512;
    QTest::newRow("16-byte packets: container of whole packets") << 16;
    QTest::newRow("64-byte packets") << 64;
}

// Catches: a data-out phase without its zero-length packet, or cut short.
void tst_UsbTransport::sendDataDeliversTheBytes()
{
    QFETCH(int, packetSize);
    Rig rig;
    rig.camera->setBulkPacketSize(quint32(packetSize));
    QVERIFY(rig.open());
    QSignalSpy settingsChanged(rig.relay.get(), &SignalRelay::settingsChanged);
    QByteArray settings(100, '\0');
    for (int i = 0; i < settings.size(); ++i) {
        settings[i] = char(i * 7 + 1);
    }
    QVERIFY(rig.access->setCameraSettings(reinterpret_cast<const quint8*>(settings.constData()), 100));
    QCOMPARE(rig.camera->settings(), settings);
    QCOMPARE(rig.camera->lastRequest().data, settings);
    QVERIFY(settingsChanged.wait(olpTimeout(2000)));

    QByteArray back(100, '\0');
    QVERIFY(rig.access->getCameraSettings(reinterpret_cast<quint8*>(back.data()), 100));
    QCOMPARE(back, settings);
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: a refused write reported as success.
void tst_UsbTransport::sendDataOfWrongSizeIsRefused()
{
    Rig rig;
    QVERIFY(rig.open());
    const QByteArray before = rig.camera->settings();
    QByteArray settings(99, 'x');
    OLP_Test_LogCapture log;
    QVERIFY(!rig.access->setCameraSettings(reinterpret_cast<const quint8*>(settings.constData()), 99));
    QVERIFY(
        log.contains(QStringLiteral("OLP_Commu_CameraAccess_Base::setCameraSettings - MTP Response code: 0x0000201D")));
    QCOMPARE(rig.camera->settings(), before);
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::releaseStagesReachTheCamera_data()
{
    QTest::addColumn<int>("product");
    QTest::addColumn<QVector<int>>("stage");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QVector<quint32>>("params");
    QTest::newRow("KestaA stage 5") << int(ProductIdKestaA) << QVector<int>{5} << 0x9004 << QVector<quint32>{5};
    QTest::newRow("Pelvo focus cross") << int(ProductIdPelvo) << QVector<int>{21, 10, 20} << 0x9004
                                       << QVector<quint32>{21, 10, 20};
    QTest::newRow("Seventh live view video")
        << int(ProductIdSeventh) << QVector<int>{17, 1} << 0x901B << QVector<quint32>{2};
    QTest::newRow("Seventh single release") << int(ProductIdSeventh) << QVector<int>{0} << 0x100E << QVector<quint32>{};
    QTest::newRow("Seventh lens step back")
        << int(ProductIdSeventh) << QVector<int>{10, 5} << 0x901E << QVector<quint32>{0, 5};
}

// Catches: release stages lost or reshaped on the way to the camera.
void tst_UsbTransport::releaseStagesReachTheCamera()
{
    QFETCH(int, product);
    QFETCH(QVector<int>, stage);
    QFETCH(int, operation);
    QFETCH(QVector<quint32>, params);
    Rig rig(static_cast<quint16>(product));
    QVERIFY(rig.open());
    bool ok = false;
    if (stage.size() == 1) {
        ok = rig.access->releaseCam(stage[0]);
    } else if (stage.size() == 2) {
        ok = rig.access->releaseCam(stage[0], stage[1]);
    } else {
        ok = rig.access->releaseCam(stage[0], stage[1], stage[2]);
    }
    QVERIFY(ok);
    QCOMPARE(rig.camera->releases().size(), 1);
    QCOMPARE(int(rig.camera->releases().at(0).code), operation);
    QCOMPARE(rig.camera->releases().at(0).params, params);
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: property values mangled between descriptor, read and write.
void tst_UsbTransport::devicePropertyRoundTrip()
{
    Rig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    QSignalSpy changed(rig.relay.get(), &SignalRelay::propertyChanged);

    quint8 value[2] = {0xFF, 0xFF};
    QVERIFY(rig.access->getDevicePropValue(0x5005, value, 2));
    QCOMPARE(qFromLittleEndian<quint16>(value), quint16(2));

    QByteArray desc(1024, '\0');
    quint32 received = 0;
    QVERIFY(rig.access->getDevicePropDesc(0x5005, reinterpret_cast<quint8*>(desc.data()), 1024, &received));
    const OLP_Commu_DevicePropDesc parsed(reinterpret_cast<const quint8*>(desc.constData()), received);
    QCOMPARE(parsed.propertyCode(), quint16(0x5005));
    QVERIFY(parsed.acceptsValue(4, "test"));
    QVERIFY(!parsed.acceptsValue(3, "test"));
    QVERIFY(rig.access->supportsDevicePropValue(0x5013, 7));

    const quint8 four[2] = {4, 0};
    QVERIFY(rig.access->setDevicePropValue(0x5005, four, 2));
    QCOMPARE(rig.camera->propertyValue(0x5005), qint64(4));
    QVERIFY(changed.wait(olpTimeout(2000)));
    QCOMPARE(changed.at(0).at(0).value<ushort>(), ushort(0x5005));

    OLP_Test_LogCapture log;
    const quint8 three[2] = {3, 0};
    QVERIFY(!rig.access->setDevicePropValue(0x5005, three, 2));
    QVERIFY(log.contains(
        QStringLiteral("OLP_Commu_CameraAccess_Base::setDevicePropValue - MTP Response code: 0x0000201C")));
    QCOMPARE(rig.camera->propertyValue(0x5005), qint64(4));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::datasetsInTheProductsLayout_data()
{
    QTest::addColumn<int>("product");
    QTest::addColumn<int>("axisSize");
    QTest::newRow("KestaA standard 3D axis") << int(ProductIdKestaA) << 193;
    QTest::newRow("KestaD extended 3D axis") << int(ProductIdKestaD) << 213;
    QTest::newRow("Pelvo extended 3D axis") << int(ProductIdPelvo) << 213;
    QTest::newRow("Seventh standard 3D axis") << int(ProductIdSeventh) << 193;
}

// Catches: datasets in the wrong layout or size for the product.
void tst_UsbTransport::datasetsInTheProductsLayout()
{
    QFETCH(int, product);
    QFETCH(int, axisSize);
    Rig rig(static_cast<quint16>(product));
    QVERIFY(rig.open());

    QByteArray axis(300, '\0');
    quint32 received = 0;
    auto* a = reinterpret_cast<quint8*>(axis.data());
    QVERIFY(rig.access->get3DAxisData(a, 300, &received));
    QCOMPARE(int(received), axisSize);
    if (axisSize == 213) {
        double pitch = 0;
        double temperature = 0;
        memcpy(&pitch, a + 12, 8);
        memcpy(&temperature, a + 205, 8);
        QCOMPARE(pitch, 1.5);
        QCOMPARE(temperature, 31.5);
    } else {
        float pitch = 0;
        float roll = 0;
        memcpy(&pitch, a + 12, 4);
        memcpy(&roll, a + 16, 4);
        QCOMPARE(pitch, 1.5f);
        QCOMPARE(roll, -2.25f);
    }

    QByteArray geo(133, '\0');
    auto* g = reinterpret_cast<quint8*>(geo.data());
    QVERIFY(rig.access->getGeotackingData(g, 133, &received));
    QCOMPARE(received, 133u);
    QCOMPARE(int(g[0]), 0x0F);
    QCOMPARE(int(g[23]), 8);
    QCOMPARE(int(g[59]), 7);

    quint8 stream[36] = {};
    QVERIFY(rig.access->getStreamInfo(stream, 36, &received));
    QCOMPARE(received, 36u);
    QCOMPARE(qFromLittleEndian<quint64>(stream), quint64(36));
    QCOMPARE(rig.camera->lastRequest().params, QVector<quint32>{0});

    quint8 lens[101] = {};
    QVERIFY(rig.access->getLensData(lens, 101, &received));
    QCOMPARE(received, 101u);
    QCOMPARE(qFromLittleEndian<quint16>(lens + 68), quint16(0x02A4));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// ---- Device Busy --------------------------------------------------------------------------------

// Catches: more or fewer than five repetitions, or no 100 ms between them.
void tst_UsbTransport::busySixTimesFailsAfterFiveRepetitions()
{
    Rig rig;
    QVERIFY(rig.open());
    rig.camera->failNextOperations(PTP::RespDeviceBusy, 6);
    quint8 lens[101];
    OLP_Test_LogCapture log;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!rig.access->getLensData(lens, 101));
    QVERIFY(timer.elapsed() >= 500);
    QCOMPARE(rig.camera->requestCount(PTP::OpGetLensData), 6);
    QCOMPARE(log.count(QStringLiteral("OLP_Commu_CameraAccess_Base::getLensData - MTP Response code: 0x00002019")), 1);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(lens), 101), QByteArray(101, '\0'));
    QVERIFY(rig.access->getLensData(lens, 101));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::busyThenOkSucceeds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("busyCount");
    QTest::newRow("data in, once busy") << 0 << 1;
    QTest::newRow("data in, five times busy") << 0 << 5;
    QTest::newRow("command, twice busy") << 1 << 2;
    QTest::newRow("data out, once busy") << 2 << 1;
}

// Catches: a busy answer treated as failure, or a data phase lost on retry.
void tst_UsbTransport::busyThenOkSucceeds()
{
    QFETCH(int, kind);
    QFETCH(int, busyCount);
    Rig rig;
    QVERIFY(rig.open());
    rig.camera->failNextOperations(PTP::RespDeviceBusy, busyCount);
    if (kind == 0) {
        quint8 lens[101] = {};
        QVERIFY(rig.access->getLensData(lens, 101));
        QCOMPARE(QByteArray(reinterpret_cast<char*>(lens + 1), 15), QByteArray("Varion-Kesta 70"));
        QCOMPARE(rig.camera->requestCount(PTP::OpGetLensData), busyCount + 1);
    } else if (kind == 1) {
        QVERIFY(rig.access->keepCameraActive());
        QCOMPARE(rig.camera->requestCount(PTP::OpKeepCameraActive), busyCount + 1);
    } else {
        const QByteArray settings(100, char(0x5A));
        QVERIFY(rig.access->setCameraSettings(reinterpret_cast<const quint8*>(settings.constData()), 100));
        QCOMPARE(rig.camera->settings(), settings);
        QCOMPARE(rig.camera->requestCount(PTP::OpSetCameraSettings), busyCount + 1);
    }
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: another thread's transaction slipping in between busy repetitions.
void tst_UsbTransport::busyRetriesKeepOtherCallersWaiting()
{
    Rig rig;
    QVERIFY(rig.open());
    rig.camera->failNextOperations(PTP::RespDeviceBusy, 3, PTP::OpGetLensData);
    std::atomic<bool> lensOk{false};
    std::thread first([&] {
        quint8 lens[101];
        lensOk = rig.access->getLensData(lens, 101);
    });
    QTRY_VERIFY_WITH_TIMEOUT(rig.camera->requestCount(PTP::OpGetLensData) >= 1, olpTimeout(2000));
    quint8 settings[100];
    QVERIFY(rig.access->getCameraSettings(settings, 100));
    first.join();
    QVERIFY(lensOk);
    const QVector<quint16> sequence = rig.camera->requestSequence();
    QCOMPARE(sequence.mid(sequence.size() - 5),
             (QVector<quint16>{PTP::OpGetLensData, PTP::OpGetLensData, PTP::OpGetLensData, PTP::OpGetLensData,
                               PTP::OpGetCameraSettings}));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// ---- faults -------------------------------------------------------------------------------------

void tst_UsbTransport::transferFaultsFailOnceAndRecover_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("resets");
    QTest::addColumn<int>("inHalts");
    QTest::addColumn<int>("outHalts");
    QTest::newRow("stall during data in") << "stall in"
                                          << "OLP_Commu_CameraAccess_Base::getObject - Driver return code (reading "
                                             "data): -9 (LIBUSB_ERROR_PIPE)"
                                          << 0 << 1 << 0;
    QTest::newRow("response dropped") << "drop"
                                      << "OLP_Commu_CameraAccess_Base::getObject - Driver return code (ending "
                                         "transfer): -7 (LIBUSB_ERROR_TIMEOUT)"
                                      << 1 << 1 << 1;
    QTest::newRow("data phase cut short") << "truncate"
                                          << "OLP_Commu_CameraAccess_Base::getObject - Protocol error (reading "
                                             "data): data phase ended after 4088 of 100000 bytes"
                                          << 0 << 0 << 0;
    QTest::newRow("command stalled") << "stall out"
                                     << "OLP_Commu_CameraAccess_Base::getObject - Driver return code (initiating): "
                                        "-9 (LIBUSB_ERROR_PIPE)"
                                     << 0 << 0 << 1;
}

// Catches: a failed transfer reported as success, or a session left out of step.
void tst_UsbTransport::transferFaultsFailOnceAndRecover()
{
    QFETCH(QString, fault);
    QFETCH(QString, line);
    QFETCH(int, resets);
    QFETCH(int, inHalts);
    QFETCH(int, outHalts);
    Rig rig;
    rig.camera->addGeneratedObject(7, 100000, 3);
    QVERIFY(rig.open());
    if (fault == QLatin1String("stall in")) {
        rig.camera->stallNext(OLP_Commu_EmuCamera::BulkIn);
    } else if (fault == QLatin1String("drop")) {
        rig.camera->dropNextResponse();
    } else if (fault == QLatin1String("truncate")) {
        rig.camera->truncateNextDataPhase(4100);
    } else {
        rig.camera->stallNext(OLP_Commu_EmuCamera::BulkOut);
    }
    QByteArray buffer(100000, char(0x55));
    {
        OLP_Test_LogCapture log;
        QVERIFY(!rig.access->getObject(reinterpret_cast<quint8*>(buffer.data()), 100000, 7));
        QVERIFY2(log.contains(line), qPrintable(log.lines().join(QLatin1Char('\n'))));
    }
    QCOMPARE(buffer, QByteArray(100000, '\0'));
    QCOMPARE(rig.camera->resetCount(), resets);
    QCOMPARE(rig.camera->clearHaltCount(OLP_Commu_EmuCamera::BulkIn), inHalts);
    QCOMPARE(rig.camera->clearHaltCount(OLP_Commu_EmuCamera::BulkOut), outHalts);

    quint32 received = 0;
    QVERIFY(rig.access->getObject(reinterpret_cast<quint8*>(buffer.data()), 100000, 7, &received));
    QCOMPARE(received, 100000u);
    QVERIFY(matchesPattern(buffer, 3));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::malformedAnswersStayInsideTheBuffer_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QString>("line");
    QTest::newRow("truncated header") << "short"
                                      << "Protocol error (reading data): truncated container";
    QTest::newRow("length below the header") << "length 8"
                                             << "Protocol error (reading data): bad container length";
    QTest::newRow("length of gigabytes")
        << "huge"
        << "Protocol error (reading data): data phase ended after 100 of 4294967270 bytes";
    QTest::newRow("more bytes than the length") << "overlong"
                                                << "Protocol error (reading data): bytes beyond the container length";
    QTest::newRow("data of another operation") << "other code"
                                               << "Protocol error (reading data): unexpected container";
    QTest::newRow("response of another transaction")
        << "other transaction"
        << "Protocol error (ending transfer): response of another transaction";
    QTest::newRow("response with six parameters") << "long response"
                                                  << "Protocol error (ending transfer): response: bad container length";
    QTest::newRow("response cut short") << "short response"
                                        << "Protocol error (ending transfer): response: truncated container";
    QTest::newRow("no response") << "data only"
                                 << "Driver return code (ending transfer): -7 (LIBUSB_ERROR_TIMEOUT)";
}

// Catches: reads or writes outside the buffer on malformed containers, and a
// session that stays out of step afterwards (run under ASan).
void tst_UsbTransport::malformedAnswersStayInsideTheBuffer()
{
    QFETCH(QString, shape);
    QFETCH(QString, line);
    Rig rig;
    QVERIFY(rig.open());
    const quint32 tid = rig.camera->lastRequest().transactionId + 1;
    const quint16 op = PTP::OpGetLensData;
    const QByteArray ok = containerBytes(3, PTP::RespOK, tid, {});
    const QByteArray payload(100, 'p');
    QList<QByteArray> reply;
    if (shape == QLatin1String("short")) {
        reply = {QByteArray("\x10\x00\x00", 3)};
    } else if (shape == QLatin1String("length 8")) {
        reply = {containerBytes(2, op, tid, {}, 8) + payload, ok};
    } else if (shape == QLatin1String("huge")) {
        reply = {containerBytes(2, op, tid, {}, 0xFFFFFFF2) + payload, ok};
    } else if (shape == QLatin1String("overlong")) {
        reply = {containerBytes(2, op, tid, {}, 12 + 10) + payload, ok};
    } else if (shape == QLatin1String("other code")) {
        reply = {containerBytes(2, 0x1234, tid, {}, 112) + payload, ok};
    } else if (shape == QLatin1String("other transaction")) {
        reply = {containerBytes(2, op, tid, {}, 112) + payload, containerBytes(3, PTP::RespOK, tid + 5, {})};
    } else if (shape == QLatin1String("long response")) {
        reply = {containerBytes(2, op, tid, {}, 112) + payload,
                 containerBytes(3, PTP::RespOK, tid, {1, 2, 3, 4, 5, 6})};
    } else if (shape == QLatin1String("short response")) {
        reply = {containerBytes(2, op, tid, {}, 112) + payload, ok.left(9)};
    } else {
        reply = {containerBytes(2, op, tid, {}, 112) + payload};
    }
    rig.camera->replaceNextReply(reply);

    QByteArray buffer(101, char(0x33));
    {
        OLP_Test_LogCapture log;
        QVERIFY(!rig.access->getLensData(reinterpret_cast<quint8*>(buffer.data()), 101));
        QVERIFY2(log.contains(QStringLiteral("OLP_Commu_CameraAccess_Base::getLensData - ") + line),
                 qPrintable(log.lines().join(QLatin1Char('\n'))));
    }
    QCOMPARE(buffer, QByteArray(101, '\0'));
    QVERIFY(rig.access->getLensData(reinterpret_cast<quint8*>(buffer.data()), 101));
    QCOMPARE(buffer.mid(1, 15), QByteArray("Varion-Kesta 70"));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: transfers without a time-out, or production defaults lost.
void tst_UsbTransport::timeoutsReachEveryTransfer()
{
    const OLP_Commu_PtpTransport::Timeouts defaults;
    QCOMPARE(defaults.commandMs, 5000);
    QCOMPARE(defaults.responseMs, 5000);
    QCOMPARE(defaults.dataChunkMs, 10000);
    QCOMPARE(OLP_Commu_CameraAccess_Linux_PTP(std::make_shared<ListPort>(QStringList())).timeouts().dataChunkMs, 10000);

    Rig rig;
    OLP_Commu_PtpTransport::Timeouts t;
    t.commandMs = 1234;
    t.dataChunkMs = 2345;
    t.responseMs = 3456;
    t.eventPollMs = 45;
    rig.access->setTimeouts(t);
    QVERIFY(rig.open());
    QTRY_COMPARE_WITH_TIMEOUT(rig.camera->lastTimeoutMs(OLP_Commu_EmuCamera::Interrupt), 45, olpTimeout(2000));
    QVERIFY(rig.access->keepCameraActive());
    QCOMPARE(rig.camera->lastTimeoutMs(OLP_Commu_EmuCamera::BulkOut), 1234);
    QCOMPARE(rig.camera->lastTimeoutMs(OLP_Commu_EmuCamera::BulkIn), 3456);
    rig.camera->addGeneratedObject(1, 5 * 1024 * 1024, 0);
    QByteArray big(5 * 1024 * 1024, '\0');
    rig.camera->dropNextResponse();
    t.responseMs = 50;
    rig.access->setTimeouts(t);
    QVERIFY(!rig.access->getObject(reinterpret_cast<quint8*>(big.data()), quint32(big.size()), 1));
    QCOMPARE(rig.camera->lastTimeoutMs(OLP_Commu_EmuCamera::BulkIn), 50);
    QVERIFY(rig.camera->requestCount(PTP::OpGetObject) == 1);
    QCOMPARE(rig.camera->resetCount(), 1);
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// ---- cameras as they are ------------------------------------------------------------------------

void tst_UsbTransport::dataPhaseWithoutZeroLengthPacket_data()
{
    QTest::addColumn<int>("containerBytes");
    QTest::addColumn<int>("mode");
    const int joins = OLP_Commu_EmuPipe::ResponseJoinsData;
    const int next = OLP_Commu_EmuPipe::ResponseInNextRead;
    for (const int bytes : {512, 1024, 16384}) {
        QTest::addRow("%d bytes, response in the same read", bytes) << bytes << joins;
        QTest::addRow("%d bytes, response in the next read", bytes) << bytes << next;
    }
    QTest::newRow("16896 bytes, the first read full") << 16896 << joins;
}

// Catches: a camera without zero-length packets taken for a broken one: the
// response behind the data reported as extra bytes and the device reset.
void tst_UsbTransport::dataPhaseWithoutZeroLengthPacket()
{
    QFETCH(int, containerBytes);
    QFETCH(int, mode);
    Rig rig;
    const quint32 payload = quint32(containerBytes) - 12;
    rig.camera->addGeneratedObject(9, payload, 4);
    rig.camera->setZeroLengthPacket(OLP_Commu_EmuPipe::eZeroLengthPacket(mode));
    QVERIFY(rig.open());
    for (const quint32 bufferSize : {payload, payload + 100, payload / 2}) {
        QByteArray buffer(int(bufferSize), char(0x55));
        quint32 received = 0;
        OLP_Test_LogCapture log;
        QVERIFY2(rig.access->getObject(reinterpret_cast<quint8*>(buffer.data()), bufferSize, 9, &received),
                 qPrintable(log.lines().join(QLatin1Char('\n'))));
        const quint32 kept = qMin(payload, bufferSize);
        QCOMPARE(received, kept);
        QVERIFY(matchesPattern(buffer.left(int(kept)), 4));
        QCOMPARE(buffer.mid(int(kept)), QByteArray(int(bufferSize - kept), '\0'));
    }
    QVERIFY(rig.access->keepCameraActive());
    QCOMPARE(rig.camera->resetCount(), 0);
    QCOMPARE(rig.camera->clearHaltCount(OLP_Commu_EmuCamera::BulkIn), 0);
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::lostSessionIsOpenedAgain_data()
{
    QTest::addColumn<QString>("loss");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("sessionsOpened");
    QTest::newRow("camera fell asleep") << "sleep" << true << 2;
    QTest::newRow("camera reset after a time-out") << "reset" << true << 2;
    QTest::newRow("release timed out: never repeated") << "timeout" << false << 1;
}

// Catches: a release lost for good because the camera slept or was reset, and
// a release repeated when the camera may already have taken it.
void tst_UsbTransport::lostSessionIsOpenedAgain()
{
    QFETCH(QString, loss);
    QFETCH(bool, taken);
    QFETCH(int, sessionsOpened);
    Rig rig;
    QVERIFY(rig.open());
    if (loss == QLatin1String("sleep")) {
        rig.camera->sleep();
    } else if (loss == QLatin1String("reset")) {
        rig.camera->setSessionLostOnReset(true);
        rig.camera->dropNextResponse();
        QVERIFY(!rig.access->keepCameraActive());
        QCOMPARE(rig.camera->resetCount(), 1);
        QVERIFY(!rig.camera->isSessionOpen());
    } else {
        rig.camera->dropNextResponse();
    }
    OLP_Test_LogCapture log;
    QCOMPARE(rig.access->releaseCam(PTP::StageRelease), taken);
    int releases = 0;
    for (const OLP_Commu_EmuCamera::Request& r : rig.camera->releases()) {
        releases += r.code == PTP::OpReleaseCam && r.params.value(0) == 0 ? 1 : 0;
    }
    QCOMPARE(releases, 1);
    QCOMPARE(rig.camera->requestCount(PTP::OpOpenSession), sessionsOpened);
    QCOMPARE(rig.camera->requestCount(PTP::OpOpenQxSession), sessionsOpened);
    QCOMPARE(log.count(QStringLiteral("the camera has no open session: opening it again and repeating the "
                                      "operation once")),
             sessionsOpened - 1);
    if (taken) {
        QVERIFY(rig.camera->isSessionOpen());
        QVERIFY(rig.camera->isVendorSessionOpen());
        quint8 lens[101];
        QVERIFY(rig.access->getLensData(lens, 101));
    }
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

void tst_UsbTransport::exposuresAreWaitedFor_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<double>("shutterSeconds");
    QTest::addColumn<QString>("waited");
    QTest::newRow("release of a 12 s exposure") << int(PTP::StageRelease) << 12.0 << "exposure";
    QTest::newRow("release with the shutter time unknown") << int(PTP::StageRelease) << -1.0 << "unknown";
    QTest::newRow("bulb closed") << int(PTP::StageBulbClose) << 12.0 << "unknown";
    QTest::newRow("keep-alive") << int(PTP::StageKeepAlive) << 12.0 << "normal";
}

// Catches: the fixed response time-out that resets a camera in the middle of
// a long exposure. 12 s take 240 ms here, the time-outs shrunk alike.
void tst_UsbTransport::exposuresAreWaitedFor()
{
    QFETCH(int, stage);
    QFETCH(double, shutterSeconds);
    QFETCH(QString, waited);
    Rig rig(ProductIdKestaD);
    OLP_Commu_PtpTransport::Timeouts t = fastTimeouts();
    t.responseMs = 100;
    t.exposureMsPerSecond = 20;
    t.exposureMarginMs = olpTimeout(500);
    t.unknownExposureMs = olpTimeout(3000);
    rig.access->setTimeouts(t);
    // 0xD60C holds the shutter time as APEX Tv x 256: 12 s is -918.
    QVERIFY(rig.camera->setPropertyValue(0xD60C, -918));
    rig.camera->setExposureTimeScale(20);
    QVERIFY(rig.open());
    rig.access->setExposureTime(shutterSeconds);
    if (stage == PTP::StageBulbClose) {
        QVERIFY(rig.access->releaseCam(PTP::StageBulbOpen));
    }
    QElapsedTimer clock;
    clock.start();
    QVERIFY(rig.access->releaseCam(stage));
    const int expected = waited == QLatin1String("exposure")  ? int(12.0 * 20 + t.exposureMarginMs)
                         : waited == QLatin1String("unknown") ? t.unknownExposureMs
                                                              : t.responseMs;
    QCOMPARE(rig.camera->lastTimeoutMs(OLP_Commu_EmuCamera::BulkIn), expected);
    if (stage == PTP::StageRelease) {
        // The answer came only after the exposure, long after the normal time-out.
        QVERIFY2(clock.elapsed() >= 230, qPrintable(QString::number(clock.elapsed())));
    }
    QCOMPARE(rig.camera->resetCount(), 0);
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: a halt cleared while the camera still works on the stalled
// transaction, or a status loop without end.
void tst_UsbTransport::stallAsksTheStatusBeforeClearing()
{
    Rig rig;
    QVERIFY(rig.open());
    rig.camera->stallNext(OLP_Commu_EmuCamera::BulkIn);
    rig.camera->reportBusyStatus(3);
    quint8 lens[101];
    {
        OLP_Test_LogCapture log;
        QVERIFY(!rig.access->getLensData(lens, 101));
        QVERIFY(
            log.contains(QStringLiteral("getLensData - Driver return code (reading data): -9 (LIBUSB_ERROR_PIPE)")));
    }
    QCOMPARE(rig.camera->deviceStatusRequests(), 4);
    QCOMPARE(rig.camera->clearHaltCount(OLP_Commu_EmuCamera::BulkIn), 1);
    QCOMPARE(rig.camera->resetCount(), 0);
    QVERIFY(rig.access->getLensData(lens, 101));

    // A camera busy for good: the requests stop at the bound, the halt is cleared.
    rig.camera->stallNext(OLP_Commu_EmuCamera::BulkIn);
    rig.camera->reportBusyStatus(1000);
    QVERIFY(!rig.access->getLensData(lens, 101));
    QCOMPARE(rig.camera->deviceStatusRequests(), 4 + fastTimeouts().statusPolls);
    QCOMPARE(rig.camera->protocolErrors(), QStringList{QStringLiteral("halt cleared while the camera reports busy")});
}

// ---- events -------------------------------------------------------------------------------------

void tst_UsbTransport::eventsReachTheirSignals_data()
{
    QTest::addColumn<int>("product");
    QTest::addColumn<int>("code");
    QTest::addColumn<QVector<quint32>>("params");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("value");
    const QVector<quint32> none;
    QTest::newRow("settings changed") << int(ProductIdKestaA) << 0xC000 << none << "settings" << 0;
    QTest::newRow("lens on KestaA") << int(ProductIdKestaA) << 0xC002 << none << "lens" << 0;
    QTest::newRow("lens on KestaE") << int(ProductIdKestaE) << 0xC002 << none << "lens" << 0;
    QTest::newRow("lens ignored on KestaD") << int(ProductIdKestaD) << 0xC002 << none << "" << 0;
    QTest::newRow("lens ignored on Seventh") << int(ProductIdSeventh) << 0xC002 << none << "" << 0;
    QTest::newRow("bulb on KestaB") << int(ProductIdKestaB) << 0xC006 << QVector<quint32>{7} << "bulb" << 7;
    QTest::newRow("bulb ignored on Pelvo") << int(ProductIdPelvo) << 0xC006 << QVector<quint32>{7} << "" << 0;
    QTest::newRow("bulb without counter") << int(ProductIdKestaA) << 0xC006 << none << "" << 0;
    QTest::newRow("self-timer on KestaC") << int(ProductIdKestaC) << 0xC007 << QVector<quint32>{3} << "selftimer" << 3;
    QTest::newRow("self-timer ignored on KestaD") << int(ProductIdKestaD) << 0xC007 << QVector<quint32>{3} << "" << 0;
    QTest::newRow("geotagging") << int(ProductIdPelvo) << 0xC008 << none << "geotagging" << 0;
    QTest::newRow("3D axis") << int(ProductIdKestaD) << 0xC00C << none << "axis" << 0;
    QTest::newRow("property change") << int(ProductIdPelvo) << 0xC00A << QVector<quint32>{0x5005} << "property"
                                     << 0x5005;
    QTest::newRow("property code in the low 16 bits")
        << int(ProductIdKestaA) << 0xC00A << QVector<quint32>{0xABCD5010} << "property" << 0x5010;
    QTest::newRow("lens property on Pelvo") << int(ProductIdPelvo) << 0xC00A << QVector<quint32>{0xD620} << "lens" << 0;
    QTest::newRow("property change without code") << int(ProductIdKestaA) << 0xC00A << none << "" << 0;
    QTest::newRow("object transfer requested")
        << int(ProductIdSeventh) << 0x4009 << QVector<quint32>{0x12345678} << "transfer" << 0;
    QTest::newRow("unknown event") << int(ProductIdKestaA) << 0xC0FF << none << "" << 0;
    QTest::newRow("standard ObjectAdded") << int(ProductIdKestaD) << 0x4002 << QVector<quint32>{0x20000011} << "" << 0;
    QTest::newRow("standard CaptureComplete") << int(ProductIdKestaD) << 0x400D << QVector<quint32>{7} << "" << 0;
}

// Catches: an event reaching the wrong signal, or a product filter ignored.
void tst_UsbTransport::eventsReachTheirSignals()
{
    QFETCH(int, product);
    QFETCH(int, code);
    QFETCH(QVector<quint32>, params);
    QFETCH(QString, signal);
    QFETCH(int, value);
    Rig rig(static_cast<quint16>(product));
    QVERIFY(rig.open());
    SignalRelay* r = rig.relay.get();
    QSignalSpy settings(r, &SignalRelay::settingsChanged);
    QSignalSpy lens(r, &SignalRelay::lensChanged);
    QSignalSpy bulb(r, &SignalRelay::bulbCounter);
    QSignalSpy selftimer(r, &SignalRelay::selfTimerCounter);
    QSignalSpy geotagging(r, &SignalRelay::geotaggingChanged);
    QSignalSpy axis(r, &SignalRelay::axisChanged);
    QSignalSpy property(r, &SignalRelay::propertyChanged);
    QSignalSpy transfer(r, &SignalRelay::transferRequest);

    OLP_Test_LogCapture log;
    rig.camera->queueEvent(quint16(code), params);
    // Events are handled in order: when the marker arrives, the event before it was handled.
    rig.camera->queueEvent(0xC000);
    const int settingsExpected = signal == QLatin1String("settings") ? 2 : 1;
    QTRY_COMPARE_WITH_TIMEOUT(settings.count(), settingsExpected, olpTimeout(2000));
    if (signal == QLatin1String("property") || (signal == QLatin1String("lens") && code == 0xC00A)) {
        // Property codes leave through the 100 ms drain.
        QTRY_COMPARE_WITH_TIMEOUT(property.count() + lens.count(), 1, olpTimeout(2000));
    }
    QCoreApplication::sendPostedEvents();
    QCOMPARE(lens.count(), signal == QLatin1String("lens") ? 1 : 0);
    QCOMPARE(bulb.count(), signal == QLatin1String("bulb") ? 1 : 0);
    QCOMPARE(selftimer.count(), signal == QLatin1String("selftimer") ? 1 : 0);
    QCOMPARE(geotagging.count(), signal == QLatin1String("geotagging") ? 1 : 0);
    QCOMPARE(axis.count(), signal == QLatin1String("axis") ? 1 : 0);
    QCOMPARE(property.count(), signal == QLatin1String("property") ? 1 : 0);
    QCOMPARE(transfer.count(), signal == QLatin1String("transfer") ? 1 : 0);
    if (signal == QLatin1String("bulb")) {
        QCOMPARE(bulb.at(0).at(0).toInt(), value);
    } else if (signal == QLatin1String("selftimer")) {
        QCOMPARE(selftimer.at(0).at(0).toInt(), value);
    } else if (signal == QLatin1String("property")) {
        QCOMPARE(int(property.at(0).at(0).value<ushort>()), value);
    }
    QVERIFY(rig.access->pendingPropertyCodes().isEmpty());
    const QString hexCode = QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0'));
    QVERIFY2(log.contains(QStringLiteral("eventCode = 0x%1 is ").arg(hexCode)),
             qPrintable(log.lines().join(QLatin1Char('\n'))));
    if (code == 0xC0FF) {
        QVERIFY(log.contains(QStringLiteral("eventCode = 0xC0FF is unknown")));
    } else if (code < 0x5000 && code != 0x4009) {
        QVERIFY(log.contains(QStringLiteral("eventCode = 0x%1 is a standard event, not used").arg(hexCode)));
    }
}

void tst_UsbTransport::malformedEventsAreDropped_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<QString>("problem");
    QTest::newRow("shorter than a header")
        << QByteArray("\x08\x00\x00\x00\x04\x00\x02\xC0", 8) << "truncated container";
    QTest::newRow("length below the header") << containerBytes(4, 0xC002, 0, {}, 6) << "bad container length";
    QTest::newRow("length beyond the bytes") << containerBytes(4, 0xC006, 0, {5}, 24) << "truncated container";
    QTest::newRow("bytes beyond the length")
        << containerBytes(4, 0xC006, 0, {5, 6}, 16) << "bytes beyond the container length";
    QTest::newRow("four parameters") << containerBytes(4, 0xC006, 0, {1, 2, 3, 4}) << "bad container length";
    QTest::newRow("half a parameter") << containerBytes(4, 0xC006, 0, {5}, 14).left(14) << "bad container length";
    QTest::newRow("response on the event pipe") << containerBytes(3, 0x2001, 0, {}) << "unexpected container type";
    QTest::newRow("longer than the read") << QByteArray(80, '\x01') << "";
}

// Catches: an event container read beyond its bytes or trusted with a wrong length.
void tst_UsbTransport::malformedEventsAreDropped()
{
    QFETCH(QByteArray, event);
    QFETCH(QString, problem);
    Rig rig;
    QVERIFY(rig.open());
    QSignalSpy settings(rig.relay.get(), &SignalRelay::settingsChanged);
    QSignalSpy bulb(rig.relay.get(), &SignalRelay::bulbCounter);
    QSignalSpy lens(rig.relay.get(), &SignalRelay::lensChanged);
    OLP_Test_LogCapture log;
    rig.camera->queueRawEvent(event);
    rig.camera->queueEvent(0xC000);
    QTRY_COMPARE_WITH_TIMEOUT(settings.count(), 1, olpTimeout(2000));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(bulb.count(), 0);
    QCOMPARE(lens.count(), 0);
    if (!problem.isEmpty()) {
        QVERIFY2(log.contains(QStringLiteral("OLP_Commu_CameraAccess_Linux_PTP::eventLoop - malformed event "
                                             "container of %1 bytes: %2")
                                  .arg(qMin(event.size(), 64))
                                  .arg(problem)),
                 qPrintable(log.lines().join(QLatin1Char('\n'))));
    } else {
        QVERIFY(log.contains(QStringLiteral("eventLoop - Driver return code: -8 (LIBUSB_ERROR_OVERFLOW)")));
    }
    QVERIFY(rig.access->isEventReaderRunning());
}

// Catches: standard events of a camera disturbing a transfer, reaching a
// signal, or writing a log line each without the debug flag.
void tst_UsbTransport::standardEventsLeaveNoTrace()
{
    Rig rig;
    rig.camera->addGeneratedObject(3, 3 * 1024 * 1024, 8);
    QVERIFY(rig.open());
    SignalRelay* r = rig.relay.get();
    QSignalSpy settings(r, &SignalRelay::settingsChanged);
    QSignalSpy transfer(r, &SignalRelay::transferRequest);
    QSignalSpy property(r, &SignalRelay::propertyChanged);
    setDebugFlags(1, false);
    OLP_Test_LogCapture log;
    for (const quint16 code : {0x4002, 0x400D, 0x400A, 0x400C, 0x4006, 0x4002}) {
        rig.camera->queueEvent(code, {0x20000011});
    }
    QByteArray object(3 * 1024 * 1024, '\0');
    quint32 received = 0;
    QVERIFY(rig.access->getObject(reinterpret_cast<quint8*>(object.data()), quint32(object.size()), 3, &received));
    QCOMPARE(received, quint32(object.size()));
    QVERIFY(matchesPattern(object, 8));
    rig.camera->queueEvent(0xC000);
    QTRY_COMPARE_WITH_TIMEOUT(settings.count(), 1, olpTimeout(2000));
    setDebugFlags(1, true);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(transfer.count(), 0);
    QCOMPARE(property.count(), 0);
    QVERIFY(rig.access->pendingPropertyCodes().isEmpty());
    QCOMPARE(log.lines(), QStringList());
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// ---- removal ------------------------------------------------------------------------------------

// Catches: a hang, a crash, a leaked device or more than one close signal when
// the camera goes while another thread waits inside a transaction.
void tst_UsbTransport::unplugDuringTransactionClosesOnce()
{
    Rig rig;
    QSignalSpy closed(rig.relay.get(), &SignalRelay::connectionClosed);
    QVERIFY(rig.access->checkDeviceAvailable());
    QVERIFY(rig.open());
    OLP_Commu_PtpTransport::Timeouts t = fastTimeouts();
    t.responseMs = olpTimeout(20000);
    rig.access->setTimeouts(t);
    rig.camera->dropNextResponse();

    std::atomic<int> result{-1};
    std::thread transfer([&] {
        quint8 settings[100];
        result = rig.access->getCameraSettings(settings, 100) ? 1 : 0;
    });
    QTRY_VERIFY_WITH_TIMEOUT(rig.camera->waitingReads(OLP_Commu_EmuCamera::BulkIn) == 1, olpTimeout(2000));
    QElapsedTimer timer;
    timer.start();
    OLP_Test_LogCapture log;
    rig.camera->unplug();
    // Discovery sees it gone at the same time as the transaction and the event reader.
    rig.access->checkDeviceAvailable();
    transfer.join();
    QVERIFY(timer.elapsed() < olpTimeout(5000));
    QCOMPARE(result.load(), 0);
    QVERIFY(
        log.contains(QStringLiteral("OLP_Commu_CameraAccess_Base::getCameraSettings - Driver return code (ending "
                                    "transfer): -4 (LIBUSB_ERROR_NO_DEVICE)")));
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, olpTimeout(2000));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toInt(), 1);
    QCOMPARE(rig.port->openDevices(), 0);
    QVERIFY(!rig.access->isEventReaderRunning());
    QCOMPARE(rig.access->productId(), 0u);
    quint8 lens[101];
    QVERIFY(!rig.access->getLensData(lens, 101));

    // Plugged in again it is a new camera that opens cleanly.
    rig.camera->replug();
    QSignalSpy available(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    QVERIFY(rig.access->checkDeviceAvailable());
    QVERIFY(rig.access->openConnection(VendorIdPrimary, ProductIdKestaA, available.at(0).at(3).toString()));
    QVERIFY(rig.access->getLensData(lens, 101));
    QVERIFY(rig.access->closeConnection());
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// Catches: removal noticed by the event reader not ending the connection.
void tst_UsbTransport::unplugWhileIdleClosesOnce()
{
    Rig rig;
    QSignalSpy closed(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionClosed);
    QVERIFY(rig.open());
    rig.camera->unplug();
    QVERIFY(closed.wait(olpTimeout(2000)));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(rig.port->openDevices(), 0);
    QVERIFY(!rig.access->closeDevice());
    QVERIFY(!rig.access->closeConnection());
    QCOMPARE(closed.count(), 1);
}

// Catches: a camera gone from the bus kept as connected.
void tst_UsbTransport::vanishingFromDiscoveryClosesOnce()
{
    Rig rig;
    QSignalSpy closed(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalConnectionClosed);
    QVERIFY(rig.access->checkDeviceAvailable());
    QVERIFY(rig.open());
    // Taken off the virtual bus: the device itself still answers, only discovery notices.
    rig.port->remove(rig.camera);
    QVERIFY(!rig.access->checkDeviceAvailable());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(rig.port->openDevices(), 0);
    QVERIFY(!rig.camera->isClaimed());
    QVERIFY(!rig.access->checkDeviceAvailable());
    QCOMPARE(closed.count(), 1);
}

// Catches: the event reader outliving the access object (run under ASan).
void tst_UsbTransport::destroyWhileEventsFlow()
{
    Rig rig;
    QVERIFY(rig.open());
    for (int i = 0; i < 200; ++i) {
        rig.camera->queueEvent(0xC00A, {quint32(0x5000 + i % 20)}, i / 4);
        rig.camera->queueEvent(0xC006, {quint32(i)}, i / 4);
    }
    QTRY_VERIFY_WITH_TIMEOUT(rig.camera->pendingEvents() < 390, olpTimeout(2000));
    rig.relay.reset();
    rig.access.reset();
    QCOMPARE(rig.port->openDevices(), 0);
    QVERIFY(!rig.camera->isClaimed());
}

// Catches: a removal queued by the event reader reaching a deleted object.
void tst_UsbTransport::destroyRightAfterUnplug()
{
    Rig rig;
    QVERIFY(rig.open());
    rig.camera->unplug();
    QTRY_VERIFY_WITH_TIMEOUT(rig.camera->waitingReads(OLP_Commu_EmuCamera::Interrupt) == 0, olpTimeout(2000));
    rig.relay.reset();
    rig.access.reset();
    QCoreApplication::sendPostedEvents();
    QCOMPARE(rig.port->openDevices(), 0);
}

// ---- demo camera --------------------------------------------------------------------------------

// Catches: the demo camera not discoverable by the default USB access.
void tst_UsbTransport::demoCameraIsFoundThroughTheSystemHub()
{
    const auto camera = OLP_Commu_EmuUsbPort::installDemoCamera(ProductIdKestaB);
    OLP_Commu_CameraAccess_Linux_PTP access;
    QSignalSpy available(&access, &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    for (int i = 0; i < 3 && available.isEmpty(); ++i) {
        access.checkDeviceAvailable();
    }
    QString demoId;
    for (const QList<QVariant>& args : available) {
        if (args.at(3).toString().contains(QLatin1String("\\emu-"))) {
            demoId = args.at(3).toString();
            QCOMPARE(args.at(2).toInt(), int(ProductIdKestaB));
        }
    }
    QVERIFY(!demoId.isEmpty());
    QVERIFY(access.openConnection(VendorIdPrimary, ProductIdKestaB, demoId));
    QVERIFY(camera->isVendorSessionOpen());
    QVERIFY(access.closeConnection());
    QCOMPARE(camera->protocolErrors(), QStringList());
}

QTEST_GUILESS_MAIN(tst_UsbTransport)
#include "tst_UsbTransport.moc"
