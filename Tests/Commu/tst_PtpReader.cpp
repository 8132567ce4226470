#include <QtTest>

#include "OLP_Commu_PtpReader.h"
#include "OLP_Test_Support.h"

// Datasets come from the camera: every count and length is checked against the
// bytes that are there. ASan runs guard the exact ends of the buffers.
class tst_PtpReader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void integersAtOddOffsets();
    void strings_data();
    void strings();
    void arrays();
    void fixedOffsetReads();
    void randomInputStaysInside();
};

void tst_PtpReader::integersAtOddOffsets()
{
    const quint8 data[] = {0xAA, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFE};
    OLP_Commu_PtpReader r(data, sizeof(data), 1);
    QCOMPARE(r.u16(), quint16(0x1234));
    QCOMPARE(r.u32(), 0x12345678u);
    QCOMPARE(r.s8(), qint8(-2));
    QVERIFY(r.ok());
    QCOMPARE(r.u16(), quint16(0));  // past the end
    QVERIFY(!r.ok());
    QCOMPARE(r.remaining(), 0u);
}

void tst_PtpReader::strings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("consumed");
    QTest::newRow("empty") << QByteArray(1, '\0') << "" << true << 1;
    QTest::newRow("AB") << QByteArray(
                               "\x03"
                               "A\0B\0\0\0",
                               7)
                        << "AB" << true << 7;
    QTest::newRow("count past end") << QByteArray(
                                           "\x10"
                                           "A\0B\0",
                                           5)
                                    << QString() << false << 5;
    QTest::newRow("no count byte") << QByteArray() << QString() << false << 0;
    QTest::newRow("non-ASCII kept") << QByteArray("\x02\xe9\x00\0\0", 5) << QString(QChar(0xE9)) << true << 5;
}

void tst_PtpReader::strings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, consumed);
    QScopedArrayPointer<quint8> exact(new quint8[bytes.size() + 1]);
    memcpy(exact.data(), bytes.constData(), size_t(bytes.size()));
    OLP_Commu_PtpReader r(exact.data(), quint64(bytes.size()));
    const QString s = r.string();
    QCOMPARE(r.ok(), ok);
    QCOMPARE(s, text);
    QCOMPARE(s.isNull(), text.isNull());
    QCOMPARE(int(r.offset()), consumed);
}

void tst_PtpReader::arrays()
{
    const quint8 good[] = {2, 0, 0, 0, 0x01, 0x10, 0x02, 0x10, 0xFF};
    OLP_Commu_PtpReader r(good, sizeof(good));
    QCOMPARE(r.array16(), (QVector<quint16>{0x1001, 0x1002}));
    QCOMPARE(r.u8(), quint8(0xFF));
    // A count of 0xFFFFFFFF allocates nothing and reads nothing.
    const quint8 huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x10};
    OLP_Commu_PtpReader h(huge, sizeof(huge));
    QVERIFY(h.array16().isEmpty());
    QVERIFY(!h.ok());
    OLP_Commu_PtpReader h32(huge, sizeof(huge));
    QVERIFY(h32.array32().isEmpty());
    QVERIFY(!h32.ok());
}

void tst_PtpReader::fixedOffsetReads()
{
    const quint8 data[] = {1, 2, 3, 4, 5, 6, 7, 8};
    QCOMPARE(OLP_Commu_PtpReader::readU32(data, 8, 4), 0x08070605u);
    QCOMPARE(OLP_Commu_PtpReader::readU32(data, 8, 5), 0u);
    QCOMPARE(OLP_Commu_PtpReader::readU64(data, 8, 0), Q_UINT64_C(0x0807060504030201));
    QCOMPARE(OLP_Commu_PtpReader::readU16(data, 8, ~quint64(0)), quint16(0));
    QCOMPARE(OLP_Commu_PtpReader::readU8(nullptr, 8, 0), quint8(0));
}

void tst_PtpReader::randomInputStaysInside()
{
    QRandomGenerator rng(4711);
    for (int round = 0; round < 2000; ++round) {
        const int size = int(rng.bounded(64));
        QScopedArrayPointer<quint8> data(new quint8[size + 1]);
        for (int i = 0; i < size; ++i) {
            data[i] = quint8(rng.bounded(256));
        }
        OLP_Commu_PtpReader r(data.data(), quint64(size));
        for (int step = 0; step < 12; ++step) {
            switch (rng.bounded(5)) {
                case 0:
                    r.string();
                    break;
                case 1:
                    r.array16();
                    break;
                case 2:
                    r.array32();
                    break;
                case 3:
                    r.u32();
                    break;
                default:
                    r.skip(rng.bounded(8));
                    break;
            }
            QVERIFY(r.offset() <= quint64(size));
        }
    }
}

QTEST_GUILESS_MAIN(tst_PtpReader)
#include "tst_PtpReader.moc"
