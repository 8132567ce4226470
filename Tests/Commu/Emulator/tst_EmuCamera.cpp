// The emulated camera as a protocol partner: what it presents for each
// product, how its endpoints behave like a bus, and that it catches a host
// that breaks the protocol (so an empty protocolErrors() elsewhere means
// something).

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtEndian>
#include <QtTest>
#include <thread>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_EmuPipe.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Commu_PtpTransport.h"
#include "OLP_Test_Support.h"

namespace {

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

// A host that speaks raw containers to one emulated camera.
struct Host
{
    explicit Host(quint16 product = 0x0101)
    {
        camera = std::make_shared<OLP_Commu_EmuCamera>(product);
        port->plug(camera);
        eUsbError error = eUsbError::Other;
        device = port->open(port->deviceIdOf(camera), &error);
    }
    void write(const QByteArray& bytes)
    {
        quint32 written = 0;
        QCOMPARE(
            device->bulkWrite(reinterpret_cast<const quint8*>(bytes.constData()), quint32(bytes.size()), &written, 100),
            eUsbError::Ok);
    }
    void command(quint16 code, quint32 tid, const QVector<quint32>& params = {})
    {
        write(containerBytes(1, code, tid, params));
    }
    // The response code of the next response container, skipping a data
    // phase; params receives the response's parameters.
    int response(QVector<quint32>* params = nullptr)
    {
        for (int i = 0; i < 3; ++i) {
            QByteArray b(16384, '\0');
            quint32 n = 0;
            if (device->bulkRead(reinterpret_cast<quint8*>(b.data()), 16384, &n, 100) != eUsbError::Ok) {
                return -1;
            }
            if (n >= 12 && qFromLittleEndian<quint16>(b.constData() + 4) == 3) {
                for (quint32 offset = 12; params && offset + 4 <= n; offset += 4) {
                    params->append(qFromLittleEndian<quint32>(b.constData() + offset));
                }
                return qFromLittleEndian<quint16>(b.constData() + 6);
            }
        }
        return -1;
    }
    // The code and first parameter of the next event.
    QPair<int, quint32> event()
    {
        quint8 bytes[64];
        quint32 n = 0;
        if (device->interruptRead(bytes, 64, &n, 1000) != eUsbError::Ok || n < 16) {
            return {-1, 0};
        }
        return {qFromLittleEndian<quint16>(bytes + 6), qFromLittleEndian<quint32>(bytes + 12)};
    }
    void openSessions()
    {
        command(0x1002, 0, {1});
        QCOMPARE(response(), 0x2001);
        command(0x9005, 1, {0x3C5A});
        QCOMPARE(response(), 0x2001);
    }

    std::shared_ptr<OLP_Commu_EmuUsbPort> port = std::make_shared<OLP_Commu_EmuUsbPort>();
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<OLP_Commu_UsbDevice> device;
};

}  // namespace

class tst_EmuCamera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void deviceInfoDescribesTheProduct_data();
    void deviceInfoDescribesTheProduct();
    void hostFaultsAreRecorded_data();
    void hostFaultsAreRecorded();
    void pipeBehavesLikeABus_data();
    void pipeBehavesLikeABus();
    void eventsArriveInTimeOrder();
    void unplugEndsWaitingReads();
    void replugIsANewDevice();
    void interfaceHeldElsewhere();
    void openRefusedAsTheCameraSays_data();
    void openRefusedAsTheCameraSays();
    void standardCameraAnswers();
    void propertyChangesRaiseOneEvent();
    void partialObjectReads_data();
    void partialObjectReads();
    void pacedDataPhase_data();
    void pacedDataPhase();
};

void tst_EmuCamera::initTestCase()
{
    olpTestInit();
}

void tst_EmuCamera::deviceInfoDescribesTheProduct_data()
{
    QTest::addColumn<int>("product");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("structure");
    QTest::addColumn<bool>("release");
    QTest::newRow("KestaA") << 0x0101 << "Kesta A" << true << true;
    QTest::newRow("KestaB") << 0x0102 << "Kesta B" << true << true;
    QTest::newRow("KestaC") << 0x0103 << "Kesta C" << true << true;
    QTest::newRow("KestaD") << 0x0104 << "Kesta D" << false << true;
    QTest::newRow("Pelvo") << 0x0105 << "Pelvo" << false << true;
    QTest::newRow("KestaE") << 0x0106 << "Kesta E" << true << true;
    QTest::newRow("Seventh") << 0x0107 << "Seventh" << false << false;
}

// Catches: a DeviceInfo that lists operations the camera does not answer, or
// the layout the program reads at fixed offsets.
void tst_EmuCamera::deviceInfoDescribesTheProduct()
{
    QFETCH(int, product);
    QFETCH(QString, model);
    QFETCH(bool, structure);
    QFETCH(bool, release);
    Host host(static_cast<quint16>(product));
    OLP_Commu_PtpTransport transport(host.device.get());
    QCOMPARE(transport.openSession(1).responseCode, quint16(0x2001));
    QByteArray info(2048, '\0');
    auto* data = reinterpret_cast<quint8*>(info.data());
    const OLP_Commu_PtpTransport::Result r = transport.dataIn(0x1001, nullptr, 0, data, 2048);
    QCOMPARE(r.responseCode, quint16(0x2001));
    QCOMPARE(int(data[8]), 0);  // empty vendor extension text: the operations sit at offset 11

    OLP_Commu_PtpReader reader(data, r.kept, 11);
    const QVector<quint16> operations = reader.array16();
    const QVector<quint16> events = reader.array16();
    const QVector<quint16> properties = reader.array16();
    reader.array16();
    reader.array16();
    QCOMPARE(reader.string(), QStringLiteral("Orvane Camera AG"));
    QCOMPARE(reader.string(), model);
    reader.string();
    QCOMPARE(reader.string().size(), 16);
    QVERIFY(reader.ok());

    QCOMPARE(operations, host.camera->supportedOperations());
    QCOMPARE(operations.contains(0x9001), structure);
    QCOMPARE(operations.contains(0x9002), structure);
    QCOMPARE(operations.contains(0x9004), release);
    QVERIFY(operations.contains(0x9020) && operations.contains(0x9008) && operations.contains(0x1024));
    QCOMPARE(events.contains(0xC002), structure);
    QVERIFY(properties.contains(0x5013));
    QCOMPARE(host.camera->protocolErrors(), QStringList());
}

void tst_EmuCamera::hostFaultsAreRecorded_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("response");
    QTest::addColumn<QString>("error");
    QTest::newRow("operation outside a session") << "no session" << 0x2003 << "operation 0x9002 outside a session";
    QTest::newRow("transaction ID skipped") << "skip" << 0x2001 << "operation 0x901D with transaction ID 4 after 1";
    QTest::newRow("OpenSession not transaction 0") << "open tid" << 0x2001 << "OpenSession with transaction ID 3";
    QTest::newRow("too many parameters") << "params" << 0x2006 << "operation 0x901D with 2 parameters";
    QTest::newRow("vendor operation before the vendor session")
        << "vendor" << 0x2003 << "vendor operation 0x9003 outside the vendor session";
    QTest::newRow("data where the camera sends data")
        << "data in" << 0x2001 << "data container for an operation without a host data phase";
    QTest::newRow("header sent alone") << "header alone" << 0x2007
                                       << "data phase of 0x9001 ended after 12 of 112 bytes";
    QTest::newRow("no zero-length packet")
        << "no zlp" << 0x2001 << "no zero-length packet after a data phase of whole packets";
    QTest::newRow("read during the host's data phase")
        << "read" << -1 << "host reads during its own data phase of operation 0x9001";
    QTest::newRow("wrong vendor session code") << "code" << 0x201D << "vendor session code 0x1234";
}

// Catches: an emulator that lets a faulty host pass unnoticed.
void tst_EmuCamera::hostFaultsAreRecorded()
{
    QFETCH(QString, fault);
    QFETCH(int, response);
    QFETCH(QString, error);
    Host host(0x0101);
    int answer = 0;
    if (fault == QLatin1String("no session")) {
        host.command(0x9002, 1);
        answer = host.response();
    } else if (fault == QLatin1String("skip")) {
        host.command(0x1002, 0, {1});
        host.response();
        host.command(0x9005, 1, {0x3C5A});
        host.response();
        host.command(0x901D, 4);
        answer = host.response();
    } else if (fault == QLatin1String("open tid")) {
        host.command(0x1002, 3, {1});
        answer = host.response();
    } else if (fault == QLatin1String("params")) {
        host.openSessions();
        host.command(0x901D, 2, {1, 2});
        answer = host.response();
    } else if (fault == QLatin1String("vendor")) {
        host.command(0x1002, 0, {1});
        host.response();
        host.command(0x9003, 1);
        answer = host.response();
    } else if (fault == QLatin1String("data in")) {
        host.openSessions();
        host.command(0x9003, 2);
        answer = host.response();
        host.write(containerBytes(2, 0x9003, 2, {}));
    } else if (fault == QLatin1String("header alone")) {
        host.openSessions();
        host.command(0x9001, 2);
        host.write(containerBytes(2, 0x9001, 2, {}, 112));
        answer = host.response();
    } else if (fault == QLatin1String("no zlp")) {
        host.camera->setBulkPacketSize(16);
        host.openSessions();
        host.command(0x9001, 2);
        host.write(containerBytes(2, 0x9001, 2, {}, 112) + QByteArray(100, 's'));
        answer = host.response();
        host.command(0x901D, 3);
    } else if (fault == QLatin1String("read")) {
        host.openSessions();
        host.command(0x9001, 2);
        answer = host.response();
    } else {
        host.command(0x1002, 0, {1});
        host.response();
        host.command(0x9005, 1, {0x1234});
        answer = host.response();
    }
    QCOMPARE(answer, response);
    QCOMPARE(host.camera->protocolErrors(), QStringList{error});
}

void tst_EmuCamera::pipeBehavesLikeABus_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QVector<int>>("transfers");
    QTest::addColumn<QVector<int>>("reads");
    QTest::addColumn<QVector<int>>("received");
    QTest::addColumn<QVector<int>>("errors");
    const int ok = int(eUsbError::Ok);
    const int timeout = int(eUsbError::Timeout);
    const int overflow = int(eUsbError::Overflow);
    const int zlp = OLP_Commu_EmuPipe::ZeroLengthPacketSent;
    const int joins = OLP_Commu_EmuPipe::ResponseJoinsData;
    const int next = OLP_Commu_EmuPipe::ResponseInNextRead;
    QTest::newRow("short transfer") << zlp << QVector<int>{100} << QVector<int>{512, 512} << QVector<int>{100, 0}
                                    << QVector<int>{ok, timeout};
    QTest::newRow("whole packet, exact read leaves the zero-length packet")
        << zlp << QVector<int>{512} << QVector<int>{512, 512, 512} << QVector<int>{512, 0, 0}
        << QVector<int>{ok, ok, timeout};
    QTest::newRow("whole packet, larger read takes the zero-length packet")
        << zlp << QVector<int>{512} << QVector<int>{1024, 512} << QVector<int>{512, 0} << QVector<int>{ok, timeout};
    QTest::newRow("packet larger than a partial read")
        << zlp << QVector<int>{1000} << QVector<int>{100} << QVector<int>{0} << QVector<int>{overflow};
    QTest::newRow("overflow after whole packets")
        << zlp << QVector<int>{2000} << QVector<int>{600, 2048} << QVector<int>{512, 976} << QVector<int>{overflow, ok};
    QTest::newRow("read in pieces") << zlp << QVector<int>{1300} << QVector<int>{512, 512, 512}
                                    << QVector<int>{512, 512, 276} << QVector<int>{ok, ok, ok};
    QTest::newRow("zero-length transfer")
        << zlp << QVector<int>{0} << QVector<int>{512, 512} << QVector<int>{0, 0} << QVector<int>{ok, timeout};
    QTest::newRow("no zero-length packet: the response runs on in the read")
        << joins << QVector<int>{1024, 12} << QVector<int>{2048, 512} << QVector<int>{1036, 0}
        << QVector<int>{ok, timeout};
    QTest::newRow("no zero-length packet: a read ending with the data leaves the response")
        << joins << QVector<int>{1024, 12} << QVector<int>{1024, 512} << QVector<int>{1024, 12} << QVector<int>{ok, ok};
    QTest::newRow("no zero-length packet: the response in the next read")
        << next << QVector<int>{512, 12} << QVector<int>{2048, 2048} << QVector<int>{512, 12} << QVector<int>{ok, ok};
    QTest::newRow("no zero-length packet, short data ends as always")
        << joins << QVector<int>{100, 12} << QVector<int>{512, 512} << QVector<int>{100, 12} << QVector<int>{ok, ok};
}

// Catches: an emulator that hides packet effects a real bus has.
void tst_EmuCamera::pipeBehavesLikeABus()
{
    QFETCH(int, mode);
    QFETCH(QVector<int>, transfers);
    QFETCH(QVector<int>, reads);
    QFETCH(QVector<int>, received);
    QFETCH(QVector<int>, errors);
    OLP_Commu_EmuPipe pipe(512);
    pipe.setZeroLengthPacket(OLP_Commu_EmuPipe::eZeroLengthPacket(mode));
    for (const int transfer : transfers) {
        pipe.push(QByteArray(transfer, 'x'));
    }
    for (int i = 0; i < reads.size(); ++i) {
        std::vector<quint8> buffer(size_t(reads[i]));
        quint32 n = 99;
        QCOMPARE(int(pipe.read(buffer.data(), quint32(reads[i]), &n)), errors[i]);
        QCOMPARE(int(n), received[i]);
    }
}

// Catches: delayed events overtaking or blocking later ones.
void tst_EmuCamera::eventsArriveInTimeOrder()
{
    Host host;
    host.camera->queueEvent(0xC006, {1}, 80);
    host.camera->queueEvent(0xC007, {2}, 0);
    quint8 event[64];
    quint32 n = 0;
    QCOMPARE(host.device->interruptRead(event, 64, &n, 200), eUsbError::Ok);
    QCOMPARE(qFromLittleEndian<quint16>(event + 6), quint16(0xC007));
    QCOMPARE(host.device->interruptRead(event, 64, &n, 5), eUsbError::Timeout);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(host.device->interruptRead(event, 64, &n, olpTimeout(2000)), eUsbError::Ok);
    QCOMPARE(n, 16u);
    QCOMPARE(qFromLittleEndian<quint16>(event + 6), quint16(0xC006));
    QCOMPARE(qFromLittleEndian<quint32>(event + 12), 1u);
    QVERIFY(timer.elapsed() >= 40);
}

// Catches: host reads that keep waiting after the camera is gone.
void tst_EmuCamera::unplugEndsWaitingReads()
{
    Host host;
    eUsbError bulk = eUsbError::Ok;
    eUsbError interrupt = eUsbError::Ok;
    std::thread reader([&] {
        quint8 b[512];
        quint32 n = 0;
        bulk = host.device->bulkRead(b, 512, &n, 60000);
    });
    std::thread events([&] {
        quint8 b[64];
        quint32 n = 0;
        interrupt = host.device->interruptRead(b, 64, &n, 60000);
    });
    QTRY_VERIFY_WITH_TIMEOUT(host.camera->waitingReads(OLP_Commu_EmuCamera::BulkIn) == 1 &&
                                 host.camera->waitingReads(OLP_Commu_EmuCamera::Interrupt) == 1,
                             olpTimeout(2000));
    QElapsedTimer timer;
    timer.start();
    host.camera->unplug();
    reader.join();
    events.join();
    QVERIFY(timer.elapsed() < olpTimeout(2000));
    QCOMPARE(bulk, eUsbError::NoDevice);
    QCOMPARE(interrupt, eUsbError::NoDevice);
    quint32 written = 0;
    const quint8 b[12] = {};
    QCOMPARE(host.device->bulkWrite(b, 12, &written, 100), eUsbError::NoDevice);
    QVERIFY(host.port->listDevices().isEmpty());
}

// Catches: a replugged camera that keeps its old session or bus address.
void tst_EmuCamera::replugIsANewDevice()
{
    Host host;
    host.openSessions();
    const QString before = host.port->deviceIdOf(host.camera);
    host.camera->unplug();
    host.camera->replug();
    QVERIFY(!host.camera->isSessionOpen());
    QVERIFY(host.port->deviceIdOf(host.camera) != before);
    QCOMPARE(host.port->listDevices().size(), 1);
    // The old handle stays dead; a new one works.
    quint32 written = 0;
    const quint8 b[12] = {};
    QCOMPARE(host.device->bulkWrite(b, 12, &written, 100), eUsbError::NoDevice);
    host.device.reset();
    eUsbError error = eUsbError::Other;
    host.device = host.port->open(host.port->deviceIdOf(host.camera), &error);
    QCOMPARE(error, eUsbError::Ok);
    host.openSessions();
    QCOMPARE(host.camera->protocolErrors(), QStringList());
}

// Catches: two hosts claiming one camera.
void tst_EmuCamera::interfaceHeldElsewhere()
{
    Host host;
    eUsbError error = eUsbError::Ok;
    QVERIFY(!host.port->open(host.port->deviceIdOf(host.camera), &error));
    QCOMPARE(error, eUsbError::Busy);
    host.device.reset();
    QCOMPARE(host.port->openDevices(), 0);
    host.camera->setInterfaceBusy(true);
    QVERIFY(!host.port->open(host.port->deviceIdOf(host.camera), &error));
    QCOMPARE(error, eUsbError::Busy);
    QVERIFY(!host.port->open(QStringLiteral("usb\\vid_2F1A&pid_0101\\emu-9:1"), &error));
    QCOMPARE(error, eUsbError::NotFound);
}

void tst_EmuCamera::openRefusedAsTheCameraSays_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("error");
    QTest::newRow("held by another program") << "busy" << int(eUsbError::Busy);
    QTest::newRow("no permission") << "denied" << int(eUsbError::Access);
    QTest::newRow("in mass storage mode") << "storage" << int(eUsbError::NotSupported);
}

// Catches: an emulated camera that opens whatever state it is in.
void tst_EmuCamera::openRefusedAsTheCameraSays()
{
    QFETCH(QString, state);
    QFETCH(int, error);
    Host host;
    host.device.reset();
    host.camera->setInterfaceBusy(state == QLatin1String("busy"));
    host.camera->setAccessDenied(state == QLatin1String("denied"));
    host.camera->setStillImageInterface(state != QLatin1String("storage"));
    eUsbError result = eUsbError::Ok;
    QVERIFY(!host.port->open(host.port->deviceIdOf(host.camera), &result));
    QCOMPARE(int(result), error);
    QVERIFY(!host.camera->isClaimed());
}

// Catches: a camera without the storage operations every PTP camera has, or
// whose card copy of a picture differs from what it announced.
void tst_EmuCamera::standardCameraAnswers()
{
    Host host(0x0104);
    OLP_Commu_EmuCapture::Options options = host.camera->captureOptions();
    options.enabled = true;
    options.standardEvents = true;
    options.pictureSize = 4000;
    host.camera->setCaptureOptions(options);
    host.camera->addObject(0x00020001, QByteArray(700, 'j'));
    OLP_Commu_PtpTransport transport(host.device.get());
    QCOMPARE(transport.openSession(1).responseCode, quint16(0x2001));
    const quint32 vendor = 0x3C5A;
    QCOMPARE(transport.command(0x9005, &vendor, 1).responseCode, quint16(0x2001));
    host.camera->setPropertyValue(0xD004, 2);  // one JPG per shot
    while (host.camera->pendingEvents() > 0) {
        host.event();
    }
    QCOMPARE(transport.command(0x100E, nullptr, 0).responseCode, quint16(0x2001));
    const quint32 handle = host.camera->capturedPictures().value(0).handle;
    QVERIFY(handle != 0);
    QCOMPARE(host.event(), qMakePair(0x4002, handle));
    QCOMPARE(host.event(), qMakePair(0x4009, handle));
    QCOMPARE(host.event().first, 0x400D);

    // The new picture and its copy on the card: the same name, size and date.
    QByteArray fresh(154, '\0');
    QByteArray card(154, '\0');
    const quint32 newObject[2] = {0x12345678, 0};
    const quint32 onCard[2] = {handle, 0};
    QCOMPARE(transport.dataIn(0x1008, newObject, 2, reinterpret_cast<quint8*>(fresh.data()), 154).responseCode,
             quint16(0x2001));
    QCOMPARE(transport.dataIn(0x1008, onCard, 2, reinterpret_cast<quint8*>(card.data()), 154).responseCode,
             quint16(0x2001));
    const auto describe = [](const QByteArray& info) {
        OLP_Commu_PtpReader r(reinterpret_cast<const quint8*>(info.constData()), quint64(info.size()), 8);
        const quint32 size = r.u32();
        OLP_Commu_PtpReader names(reinterpret_cast<const quint8*>(info.constData()), quint64(info.size()), 52);
        const QString name = names.string();
        return QStringList{QString::number(size), name, names.string()};
    };
    const QStringList described = describe(fresh);
    QCOMPARE(describe(card), described);
    QCOMPARE(described.at(0), QString::number(host.camera->capturedPictures().value(0).bytes().size()));
    QVERIFY2(QRegularExpression(QStringLiteral("^L\\d{7}\\.JPG$")).match(described.at(1)).hasMatch(),
             qPrintable(described.at(1)));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{8}T\\d{6}\\.\\d$")).match(described.at(2)).hasMatch(),
             qPrintable(described.at(2)));

    // Storage information and object counts, all and by format.
    QByteArray storage(200, '\0');
    const quint32 storageId = 0x00010001;
    const OLP_Commu_PtpTransport::Result info =
        transport.dataIn(0x1005, &storageId, 1, reinterpret_cast<quint8*>(storage.data()), 200);
    QCOMPARE(info.responseCode, quint16(0x2001));
    OLP_Commu_PtpReader reader(reinterpret_cast<const quint8*>(storage.constData()), info.kept);
    QCOMPARE(reader.u16(), quint16(0x0004));
    reader.u16();
    reader.u16();
    QCOMPARE(reader.u64(), quint64(64000000000ull));
    QCOMPARE(reader.u64(), quint64(48000000000ull));
    host.command(0x1006, transport.nextTransactionId(), {0xFFFFFFFF});
    QVector<quint32> count;
    QCOMPARE(host.response(&count), 0x2001);
    QCOMPARE(count, QVector<quint32>{2});
    host.command(0x1006, transport.nextTransactionId() + 1, {0x00010001, 0x3802});
    count.clear();
    QCOMPARE(host.response(&count), 0x2001);
    QCOMPARE(count, QVector<quint32>{0});
    QCOMPARE(host.camera->protocolErrors(), QStringList());
}

// Catches: property events for unchanged values, or none for changed ones.
void tst_EmuCamera::propertyChangesRaiseOneEvent()
{
    Host host(0x0104);
    QVERIFY(host.camera->setPropertyValue(0x5005, 2));
    QCOMPARE(host.camera->pendingEvents(), 0);
    QVERIFY(host.camera->setPropertyValue(0x5005, 4));
    QVERIFY(!host.camera->setPropertyValue(0x1234, 4));
    QCOMPARE(host.camera->pendingEvents(), 1);
    quint8 event[64];
    quint32 n = 0;
    QCOMPARE(host.device->interruptRead(event, 64, &n, 100), eUsbError::Ok);
    QCOMPARE(qFromLittleEndian<quint16>(event + 6), quint16(0xC00A));
    QCOMPARE(qFromLittleEndian<quint32>(event + 12), 0x5005u);

    host.openSessions();
    host.command(0x1016, 2, {0x5010});
    host.write(containerBytes(2, 0x1016, 2, {}, 14) + QByteArray::fromHex("0c02"));  // +524: not a 500 step
    QCOMPARE(host.response(), 0x201C);
    host.command(0x1016, 3, {0x5010});
    host.write(containerBytes(2, 0x1016, 3, {}, 14) + QByteArray::fromHex("0cfe"));  // -500
    QCOMPARE(host.response(), 0x2001);
    QCOMPARE(host.camera->propertyValue(0x5010), qint64(-500));
    host.command(0x1016, 4, {0x5001});
    host.write(containerBytes(2, 0x1016, 4, {}, 13) + QByteArray::fromHex("10"));
    QCOMPARE(host.response(), 0x200F);
    QCOMPARE(host.camera->protocolErrors(), QStringList());
}

void tst_EmuCamera::partialObjectReads_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("response");
    QTest::newRow("from the start") << 0 << 100 << 100 << 0x2001;
    QTest::newRow("the end") << 9950 << 100 << 50 << 0x2001;
    QTest::newRow("at the end") << 10000 << 100 << 0 << 0x2001;
    QTest::newRow("past the end") << 10001 << 100 << 0 << 0x201D;
}

// Catches: partial reads beyond the object.
void tst_EmuCamera::partialObjectReads()
{
    QFETCH(int, offset);
    QFETCH(int, maximum);
    QFETCH(int, expected);
    QFETCH(int, response);
    Host host;
    host.camera->addGeneratedObject(5, 10000, 9);
    OLP_Commu_PtpTransport transport(host.device.get());
    QCOMPARE(transport.openSession(1).responseCode, quint16(0x2001));
    std::vector<quint8> buffer(200);
    const quint32 params[3] = {5, quint32(offset), quint32(maximum)};
    const OLP_Commu_PtpTransport::Result r = transport.dataIn(0x101B, params, 3, buffer.data(), 200);
    QCOMPARE(int(r.responseCode), response);
    QCOMPARE(int(r.kept), expected);
    for (int i = 0; i < expected; ++i) {
        QCOMPARE(buffer[size_t(i)], OLP_Commu_EmuObject::patternByte(quint64(offset + i), 9));
    }
}

void tst_EmuCamera::pacedDataPhase_data()
{
    QTest::addColumn<int>("bytesPerSecond");
    QTest::addColumn<int>("chunkTimeoutMs");
    QTest::addColumn<bool>("unplugMidway");
    QTest::addColumn<int>("usbError");
    QTest::addColumn<int>("atLeastMs");
    // 1 MiB at 4 MiB/s: a quarter of a second on the wire.
    QTest::newRow("paced") << 4 * 1024 * 1024 << 10000 << false << int(eUsbError::Ok) << 240;
    // 1 MiB at 64 KiB/s would take 16 s.
    QTest::newRow("unplugged mid-phase") << 64 * 1024 << 60000 << true << int(eUsbError::NoDevice) << 0;
    QTest::newRow("slower than the time-out") << 64 * 1024 << 100 << false << int(eUsbError::Timeout) << 90;
}

// Catches: a slow link that delivers at once (so no test could ever stop a
// transfer half-way), a paced read that outlives the unplugged camera, and
// one that outlasts its time-out.
void tst_EmuCamera::pacedDataPhase()
{
    QFETCH(int, bytesPerSecond);
    QFETCH(int, chunkTimeoutMs);
    QFETCH(bool, unplugMidway);
    QFETCH(int, usbError);
    QFETCH(int, atLeastMs);
    constexpr quint32 size = 1024 * 1024;
    Host host;
    host.camera->addGeneratedObject(5, size, 3);
    OLP_Commu_PtpTransport transport(host.device.get());
    QCOMPARE(transport.openSession(1).responseCode, quint16(0x2001));
    OLP_Commu_PtpTransport::Timeouts timeouts;
    timeouts.dataChunkMs = chunkTimeoutMs;
    transport.setTimeouts(timeouts);
    host.camera->setBulkInRate(quint64(bytesPerSecond));

    std::thread unplugger;
    if (unplugMidway) {
        unplugger = std::thread([&host] {
            QElapsedTimer waited;
            waited.start();
            while (host.camera->waitingReads(OLP_Commu_EmuCamera::BulkIn) == 0 && waited.elapsed() < 5000) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            host.camera->unplug();
        });
    }
    std::vector<quint8> buffer(size);
    const quint32 handle = 5;
    QElapsedTimer timer;
    timer.start();
    const OLP_Commu_PtpTransport::Result r = transport.dataIn(0x1009, &handle, 1, buffer.data(), size);
    const qint64 elapsed = timer.elapsed();
    if (unplugger.joinable()) {
        unplugger.join();
    }
    QCOMPARE(int(r.usbError), usbError);
    QVERIFY2(elapsed >= atLeastMs, qPrintable(QString::number(elapsed)));
    if (usbError == int(eUsbError::Ok)) {
        QCOMPARE(r.responseCode, quint16(0x2001));
        QCOMPARE(r.kept, size);
        for (quint32 i : {0u, size / 2, size - 1}) {
            QCOMPARE(buffer[i], OLP_Commu_EmuObject::patternByte(i, 3));
        }
    } else {
        QVERIFY(r.kept < size);
        QVERIFY2(elapsed < olpTimeout(5000), qPrintable(QString::number(elapsed)));
    }
}

QTEST_GUILESS_MAIN(tst_EmuCamera)
#include "tst_EmuCamera.moc"
