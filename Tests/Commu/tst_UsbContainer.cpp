// The PTP container codec and the transport's handling of whatever a device
// sends back, including a seeded fuzz loop (run it under ASan: every buffer
// here is allocated to its exact size).

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <vector>

#include "OLP_Commu_EmuPipe.h"
#include "OLP_Commu_PtpContainer.h"
#include "OLP_Commu_PtpTransport.h"
#include "OLP_Test_Support.h"

namespace {

QByteArray bytes(quint32 length, quint16 type, quint16 code, quint32 transactionId, const QVector<quint32>& params)
{
    QByteArray b(12 + 4 * params.size(), '\0');
    auto* p = reinterpret_cast<uchar*>(b.data());
    qToLittleEndian<quint32>(length, p);
    qToLittleEndian<quint16>(type, p + 4);
    qToLittleEndian<quint16>(code, p + 6);
    qToLittleEndian<quint32>(transactionId, p + 8);
    for (int i = 0; i < params.size(); ++i) {
        qToLittleEndian<quint32>(params[i], p + 12 + 4 * i);
    }
    return b;
}

// A device whose bulk-in answers are scripted transfers with real packet
// behaviour; it never waits, an empty pipe times out at once.
class ScriptedDevice : public OLP_Commu_UsbDevice
{
public:
    explicit ScriptedDevice(quint32 packetSize) : m_pipe(packetSize), m_packetSize(packetSize) {}
    void push(const QByteArray& transfer) { m_pipe.push(transfer); }

    quint32 bulkPacketSize() const override { return m_packetSize; }
    quint32 interruptPacketSize() const override { return 64; }
    eUsbError bulkWrite(const quint8*, quint32 size, quint32* written, int) override
    {
        const bool cut = int(writes.size()) == shortWrite;
        *written = cut ? size / 2 : size;
        writes.push_back(size);
        return eUsbError::Ok;
    }
    eUsbError bulkRead(quint8* data, quint32 size, quint32* received, int) override
    {
        ++reads;
        return m_pipe.read(data, size, received);
    }
    eUsbError interruptRead(quint8*, quint32, quint32* received, int) override
    {
        *received = 0;
        return eUsbError::Timeout;
    }
    eUsbError clearHalt(eEndpoint) override { return eUsbError::Ok; }
    eUsbError cancelTransaction(quint32, int) override { return eUsbError::Ok; }
    eUsbError deviceStatus(quint16* code, int) override
    {
        *code = 0x2001;
        return eUsbError::Ok;
    }
    eUsbError resetDevice(int) override
    {
        ++resets;
        m_pipe.clear();
        return eUsbError::Ok;
    }

    std::vector<quint32> writes;
    int shortWrite = -1;  // this write sends only half its bytes
    int reads = 0;
    int resets = 0;

private:
    OLP_Commu_EmuPipe m_pipe;
    quint32 m_packetSize;
};

}  // namespace

class tst_UsbContainer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void encodesCommands_data();
    void encodesCommands();
    void refusesWhatDoesNotFit();
    void dataHeaderOfHugePayload();
    void decodesOnlyWholeContainers_data();
    void decodesOnlyWholeContainers();
    void dataOutEndsWithZeroLengthPacket_data();
    void dataOutEndsWithZeroLengthPacket();
    void shortWriteFailsTheAttempt_data();
    void shortWriteFailsTheAttempt();
    void fuzzDecoders();
    void fuzzTransportAnswers();
};

void tst_UsbContainer::initTestCase()
{
    olpTestInit();
}

void tst_UsbContainer::encodesCommands_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QVector<quint32>>("params");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no parameters") << 0x1001 << QVector<quint32>{}
                                   << QByteArray::fromHex("0c000000 0100 0110 07000000");
    QTest::newRow("vendor session") << 0x9005 << QVector<quint32>{0x3C5A}
                                    << QByteArray::fromHex("10000000 0100 0590 07000000 5a3c0000");
    QTest::newRow("five parameters") << 0x9004 << QVector<quint32>{1, 2, 3, 4, 0xFFFFFFFF}
                                     << QByteArray::fromHex(
                                            "20000000 0100 0490 07000000 01000000 02000000 "
                                            "03000000 04000000 ffffffff");
}

// Catches: wrong byte order or length in the command container.
void tst_UsbContainer::encodesCommands()
{
    QFETCH(int, code);
    QFETCH(QVector<quint32>, params);
    QFETCH(QByteArray, expected);
    quint8 out[32];
    const quint32 n = OLP_Commu_PtpContainer::encode(OLP_Commu_PtpContainer::TypeCommand, quint16(code), 7,
                                                     params.constData(), params.size(), out, sizeof out);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(out), int(n)), expected);
}

// Catches: writing past a small output buffer or more than five parameters.
void tst_UsbContainer::refusesWhatDoesNotFit()
{
    std::vector<quint8> small(15);
    const quint32 params[6] = {1, 2, 3, 4, 5, 6};
    QCOMPARE(OLP_Commu_PtpContainer::encode(OLP_Commu_PtpContainer::TypeCommand, 1, 1, params, 1, small.data(), 15),
             0u);
    quint8 out[64];
    QCOMPARE(OLP_Commu_PtpContainer::encode(OLP_Commu_PtpContainer::TypeCommand, 1, 1, params, 6, out, 64), 0u);
    QCOMPARE(OLP_Commu_PtpContainer::encode(OLP_Commu_PtpContainer::TypeCommand, 1, 1, nullptr, 2, out, 64), 20u);
    QCOMPARE(qFromLittleEndian<quint32>(out + 12), 0u);
}

// Catches: a payload near 4 GB wrapping the 32-bit length field.
void tst_UsbContainer::dataHeaderOfHugePayload()
{
    quint8 header[12];
    OLP_Commu_PtpContainer::encodeDataHeader(0xFFFFFFFFull, 0x1009, 3, header);
    QCOMPARE(qFromLittleEndian<quint32>(header), 0xFFFFFFFFu);
    OLP_Commu_PtpContainer::encodeDataHeader(100, 0x1009, 3, header);
    QCOMPARE(qFromLittleEndian<quint32>(header), 112u);
    QCOMPARE(qFromLittleEndian<quint16>(header + 4), quint16(2));
}

void tst_UsbContainer::decodesOnlyWholeContainers_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("paramCount");
    using C = OLP_Commu_PtpContainer;
    QTest::newRow("response, no parameters") << bytes(12, 3, 0x2001, 1, {}) << 3 << int(C::DecodeOk) << 0;
    QTest::newRow("response, five parameters")
        << bytes(32, 3, 0x2001, 1, {1, 2, 3, 4, 5}) << 3 << int(C::DecodeOk) << 5;
    QTest::newRow("response, six parameters")
        << bytes(36, 3, 0x2001, 1, {1, 2, 3, 4, 5, 6}) << 3 << int(C::DecodeBadLength) << 0;
    QTest::newRow("event, three parameters") << bytes(24, 4, 0xC00A, 0, {1, 2, 3}) << 4 << int(C::DecodeOk) << 3;
    QTest::newRow("event, four parameters")
        << bytes(28, 4, 0xC00A, 0, {1, 2, 3, 4}) << 4 << int(C::DecodeBadLength) << 0;
    QTest::newRow("empty") << QByteArray() << 3 << int(C::DecodeTruncated) << 0;
    QTest::newRow("eleven bytes") << bytes(12, 3, 0x2001, 1, {}).left(11) << 3 << int(C::DecodeTruncated) << 0;
    QTest::newRow("length smaller than header") << bytes(4, 3, 0x2001, 1, {}) << 3 << int(C::DecodeBadLength) << 0;
    QTest::newRow("length zero") << bytes(0, 4, 0xC000, 1, {}) << 4 << int(C::DecodeBadLength) << 0;
    QTest::newRow("length not whole parameters")
        << bytes(14, 3, 0x2001, 1, {1}).left(14) << 3 << int(C::DecodeBadLength) << 0;
    QTest::newRow("length beyond the bytes") << bytes(20, 3, 0x2001, 1, {1}) << 3 << int(C::DecodeTruncated) << 0;
    QTest::newRow("length of gigabytes") << bytes(0xFFFFFFF0, 3, 0x2001, 1, {}) << 3 << int(C::DecodeBadLength) << 0;
    QTest::newRow("bytes beyond the length") << bytes(12, 3, 0x2001, 1, {9}) << 3 << int(C::DecodeExtraBytes) << 0;
    QTest::newRow("data where a response belongs") << bytes(12, 2, 0x1001, 1, {}) << 3 << int(C::DecodeWrongType) << 0;
}

// Catches: a container trusted beyond the bytes that arrived.
void tst_UsbContainer::decodesOnlyWholeContainers()
{
    QFETCH(QByteArray, data);
    QFETCH(int, type);
    QFETCH(int, result);
    QFETCH(int, paramCount);
    // An exactly sized copy, so ASan sees any read past the end.
    std::vector<quint8> exact(data.begin(), data.end());
    OLP_Commu_PtpContainer c;
    QCOMPARE(int(OLP_Commu_PtpContainer::decodeParams(exact.data(), quint32(exact.size()),
                                                      OLP_Commu_PtpContainer::eType(type), &c)),
             result);
    if (result == OLP_Commu_PtpContainer::DecodeOk) {
        QCOMPARE(c.paramCount, paramCount);
        for (int i = 0; i < paramCount; ++i) {
            QCOMPARE(c.params[i], quint32(i + 1));
        }
    }
}

void tst_UsbContainer::dataOutEndsWithZeroLengthPacket_data()
{
    QTest::addColumn<int>("packetSize");
    QTest::addColumn<int>("payload");
    QTest::addColumn<QVector<quint32>>("writes");
    QTest::newRow("short container") << 512 << 100 << QVector<quint32>{16, 112};
    QTest::newRow("container of one packet") << 512 << 500 << QVector<quint32>{16, 512, 0};
    QTest::newRow("stage and a short rest") << 512 << 20000 << QVector<quint32>{16, 16384, 3628};
    QTest::newRow("stage and whole packets") << 512 << 16384 - 12 + 1024 << QVector<quint32>{16, 16384, 1024, 0};
    QTest::newRow("chunks of 1 MiB") << 512 << 3 * 1024 * 1024 - 12
                                     << QVector<quint32>{16, 16384, 1048576, 1048576, 1032192, 0};
}

// Catches: a header sent on its own (a short packet that ends the data phase),
// chunks that are not whole packets, or a missing zero-length packet.
void tst_UsbContainer::dataOutEndsWithZeroLengthPacket()
{
    QFETCH(int, packetSize);
    QFETCH(int, payload);
    QFETCH(QVector<quint32>, writes);
    ScriptedDevice device(static_cast<quint32>(packetSize));
    OLP_Commu_PtpTransport transport(&device);
    device.push(bytes(12, 3, 0x2001, 1, {}));
    std::vector<quint8> data(size_t(payload), 0x42);
    const quint32 param = 0x5005;
    const OLP_Commu_PtpTransport::Result r = transport.dataOut(0x1016, &param, 1, data.data(), quint32(payload));
    QVERIFY(r.transportOk());
    QCOMPARE(r.responseCode, quint16(0x2001));
    QCOMPARE(QVector<quint32>(device.writes.begin(), device.writes.end()), writes);
}

void tst_UsbContainer::shortWriteFailsTheAttempt_data()
{
    QTest::addColumn<int>("shortWrite");
    QTest::addColumn<int>("phase");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<quint32>("nextTransactionId");
    QTest::newRow("command container") << 0 << int(OLP_Commu_PtpTransport::PhaseCommand)
                                       << "command container: wrote 8 of 16 bytes" << 2u;
    QTest::newRow("first data transfer") << 1 << int(OLP_Commu_PtpTransport::PhaseData) << "wrote 8192 of 16384 bytes"
                                         << 2u;
    QTest::newRow("a later data chunk") << 2 << int(OLP_Commu_PtpTransport::PhaseData) << "wrote 1814 of 3628 bytes"
                                        << 2u;
}

// Catches: a data-out phase that wrote fewer bytes than asked counted as sent.
void tst_UsbContainer::shortWriteFailsTheAttempt()
{
    QFETCH(int, shortWrite);
    QFETCH(int, phase);
    QFETCH(QString, problem);
    QFETCH(quint32, nextTransactionId);
    ScriptedDevice device(512);
    device.shortWrite = shortWrite;
    OLP_Commu_PtpTransport transport(&device);
    device.push(bytes(12, 3, 0x2001, 1, {}));
    std::vector<quint8> data(20000, 0x42);
    const quint32 param = 0x5005;
    const OLP_Commu_PtpTransport::Result r = transport.dataOut(0x1016, &param, 1, data.data(), 20000);
    QVERIFY(!r.transportOk());
    QCOMPARE(int(r.phase), phase);
    QCOMPARE(QString::fromLatin1(r.problem), problem);
    QCOMPARE(device.resets, 1);
    QCOMPARE(int(device.writes.size()), shortWrite + 1);
    QCOMPARE(transport.nextTransactionId(), nextTransactionId);
}

// Catches: any decoder read outside the given bytes, or an inconsistent result.
void tst_UsbContainer::fuzzDecoders()
{
    QRandomGenerator random(20240611);
    const QByteArray seeds[] = {bytes(12, 3, 0x2001, 1, {}), bytes(24, 4, 0xC00A, 0, {0x5005, 2, 3}),
                                bytes(32, 3, 0x2019, 9, {1, 2, 3, 4, 5}), bytes(16, 2, 0x1009, 4, {7})};
    for (int i = 0; i < 200000; ++i) {
        QByteArray b = seeds[random.bounded(4)];
        const int mutations = random.bounded(4);
        for (int m = 0; m < mutations; ++m) {
            switch (random.bounded(4)) {
                case 0:
                    b[random.bounded(b.size())] = char(random.bounded(256));
                    break;
                case 1:
                    b.truncate(random.bounded(b.size() + 1));
                    break;
                case 2:
                    b.append(char(random.bounded(256)));
                    break;
                default:
                    if (b.size() >= 4) {
                        qToLittleEndian<quint32>(random.generate(), b.data());
                    }
                    break;
            }
            if (b.isEmpty()) {
                break;
            }
        }
        std::vector<quint8> exact(b.begin(), b.end());
        const quint32 size = quint32(exact.size());
        for (int type = 1; type <= 4; ++type) {
            OLP_Commu_PtpContainer c;
            const auto result =
                OLP_Commu_PtpContainer::decodeParams(exact.data(), size, OLP_Commu_PtpContainer::eType(type), &c);
            if (result == OLP_Commu_PtpContainer::DecodeOk) {
                QVERIFY2(c.length == size && c.type == type && c.paramCount == int(size - 12) / 4 &&
                             c.paramCount <= (type == 4 ? 3 : 5),
                         qPrintable(QStringLiteral("iteration %1: %2").arg(i).arg(QString::fromLatin1(b.toHex()))));
            }
        }
        OLP_Commu_PtpContainer header;
        if (OLP_Commu_PtpContainer::decodeHeader(exact.data(), size, &header) == OLP_Commu_PtpContainer::DecodeOk) {
            QVERIFY(size >= 12 && header.length >= 12);
        }
    }
}

// Catches: the transport writing outside the caller's buffer, reporting more
// than it kept, or hanging on whatever a broken device sends.
void tst_UsbContainer::fuzzTransportAnswers()
{
    QRandomGenerator random(77031);
    const quint32 packetSizes[] = {8, 64, 512, 1024};
    for (int i = 0; i < 20000; ++i) {
        const quint32 packet = packetSizes[random.bounded(4)];
        ScriptedDevice device(packet);
        OLP_Commu_PtpTransport transport(&device);
        const quint32 tid = transport.nextTransactionId();
        const quint32 payload = quint32(random.bounded(3000));
        QByteArray data = bytes(payload + 12, 2, 0x9002, tid, {}) + QByteArray(int(payload), char(0x7E));
        QByteArray response = bytes(12, 3, 0x2001, tid, {});
        const int mutations = random.bounded(4);
        for (int m = 0; m < mutations; ++m) {
            QByteArray& target = random.bounded(3) == 0 ? response : data;
            switch (random.bounded(5)) {
                case 0:
                    if (!target.isEmpty()) {
                        target[random.bounded(qMin(target.size(), 16))] = char(random.bounded(256));
                    }
                    break;
                case 1:
                    target.truncate(random.bounded(target.size() + 1));
                    break;
                case 2:
                    if (target.size() >= 4) {
                        qToLittleEndian<quint32>(random.bounded(2) ? random.generate() : random.bounded(40u),
                                                 target.data());
                    }
                    break;
                case 3:
                    target.append(QByteArray(random.bounded(600), char(0x11)));
                    break;
                default:
                    std::swap(data, response);
                    break;
            }
        }
        device.push(data);
        const bool withResponse = random.bounded(8) != 0;
        if (withResponse) {
            device.push(response);
        }
        const bool withStray = random.bounded(8) == 0;
        if (withStray) {
            device.push(bytes(12, 3, 0x2001, tid + 1, {}));
        }
        const quint32 size = quint32(random.bounded(3100));
        std::vector<quint8> buffer(size);
        const OLP_Commu_PtpTransport::Result r = transport.dataIn(0x9002, nullptr, 0, buffer.data(), size);
        const QString where = QStringLiteral("iteration %1").arg(i);
        QVERIFY2(r.kept <= size, qPrintable(where));
        QVERIFY2(device.reads < 1000, qPrintable(where + QStringLiteral(" keeps reading")));
        if (mutations == 0 && withResponse) {
            // An intact answer arrives whole, whatever the packet and buffer sizes.
            QVERIFY2(r.transportOk() && r.responseCode == 0x2001, qPrintable(where));
            QCOMPARE(r.kept, qMin(size, payload));
            QVERIFY(std::all_of(buffer.begin(), buffer.begin() + r.kept, [](quint8 b) { return b == 0x7E; }));
        }
    }
}

QTEST_GUILESS_MAIN(tst_UsbContainer)
#include "tst_UsbContainer.moc"
