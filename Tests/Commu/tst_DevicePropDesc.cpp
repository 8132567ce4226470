#include <QtEndian>
#include <QtTest>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_DevicePropDesc.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Test_RecordingAccess.h"
#include "OLP_Test_Support.h"

namespace {

int widthOf(quint16 type)
{
    return type <= 2 ? 1 : type <= 4 ? 2 : 4;
}

void put(QByteArray& out, qint64 value, int width)
{
    for (int i = 0; i < width; ++i) {
        out.append(char((quint64(value) >> (8 * i)) & 0xFF));
    }
}

QByteArray header(quint16 type, qint64 current)
{
    QByteArray d;
    put(d, 0x5013, 2);
    put(d, type, 2);
    d.append(char(1));
    put(d, current, widthOf(type));
    put(d, current, widthOf(type));
    return d;
}

QByteArray rangeDesc(quint16 type, qint64 min, qint64 max, qint64 step)
{
    QByteArray d = header(type, min);
    d.append(char(1));
    put(d, min, widthOf(type));
    put(d, max, widthOf(type));
    put(d, step, widthOf(type));
    return d;
}

QByteArray enumDesc(quint16 type, const QList<qint64>& values, int claimedCount = -1)
{
    QByteArray d = header(type, values.isEmpty() ? 0 : values.first());
    d.append(char(2));
    put(d, claimedCount < 0 ? values.size() : claimedCount, 2);
    for (qint64 v : values) {
        put(d, v, widthOf(type));
    }
    return d;
}

QByteArray noneDesc(quint16 type, qint64 current)
{
    QByteArray d = header(type, current);
    d.append(char(0));
    return d;
}

}  // namespace

class tst_DevicePropDesc : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void checks_data();
    void checks();
    void unknownTypeAndForm();
    void countsPastTheReceivedBytes();
    void readFailureIsFalse();
    void stillCaptureMode7();
    void objectProps_data();
    void objectProps();
};

// Every data type and form, with the signedness each checker applies.
void tst_DevicePropDesc::checks_data()
{
    QTest::addColumn<QByteArray>("desc");
    QTest::addColumn<qint32>("value");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("none never, not even current") << noneDesc(0x0004, 7) << 7 << false;
    // INT8 range -10..10 step 5
    const QByteArray i8 = rangeDesc(0x0001, -10, 10, 5);
    QTest::newRow("int8 -5") << i8 << -5 << true;
    QTest::newRow("int8 10") << i8 << 10 << true;
    QTest::newRow("int8 -10") << i8 << -10 << true;
    QTest::newRow("int8 3") << i8 << 3 << false;
    QTest::newRow("int8 11") << i8 << 11 << false;
    QTest::newRow("int8 -15") << i8 << -15 << false;
    // UINT8 range 200..250 step 10: bytes read unsigned
    const QByteArray u8 = rangeDesc(0x0002, 200, 250, 10);
    QTest::newRow("uint8 220") << u8 << 220 << true;
    QTest::newRow("uint8 -36 is not 220") << u8 << -36 << false;
    QTest::newRow("uint8 225") << u8 << 225 << false;
    // INT16 and UINT16
    const QByteArray i16 = rangeDesc(0x0003, -1000, 1000, 250);
    QTest::newRow("int16 -750") << i16 << -750 << true;
    QTest::newRow("int16 1001") << i16 << 1001 << false;
    const QByteArray u16 = rangeDesc(0x0004, 40000, 60000, 10000);
    QTest::newRow("uint16 50000") << u16 << 50000 << true;
    QTest::newRow("uint16 -15536") << u16 << -15536 << false;
    // UINT32 is compared as signed 32-bit, like INT32: 0xFFFFFFF0..0x10 is -16..16
    const QByteArray u32 = rangeDesc(0x0006, qint64(0xFFFFFFF0), 0x10, 8);
    QTest::newRow("uint32 as signed -8") << u32 << -8 << true;
    QTest::newRow("uint32 as signed 16") << u32 << 16 << true;
    QTest::newRow("uint32 as signed 4") << u32 << 4 << false;
    const QByteArray i32 = rangeDesc(0x0005, -2147483647 - 1, 2147483647, 1);
    QTest::newRow("int32 full range, no overflow") << i32 << 2147483647 << true;
    const QByteArray i32m1 = rangeDesc(0x0005, -2147483647 - 1, 2147483647, -1);
    QTest::newRow("int32 step -1 no trap") << i32m1 << (-2147483647 - 1) << true;
    // step 0 accepts only the minimum
    const QByteArray step0 = rangeDesc(0x0004, 5, 9, 0);
    QTest::newRow("step 0 min") << step0 << 5 << true;
    QTest::newRow("step 0 other") << step0 << 6 << false;
    // enumerations
    QTest::newRow("enum empty") << enumDesc(0x0004, {}) << 0 << false;
    QTest::newRow("enum uint16 hit") << enumDesc(0x0004, {1, 2, 7}) << 7 << true;
    QTest::newRow("enum uint16 miss") << enumDesc(0x0004, {1, 2, 7}) << 3 << false;
    QTest::newRow("enum int8 negative") << enumDesc(0x0001, {-3, 0, 3}) << -3 << true;
    QTest::newRow("enum uint8 255 not -1") << enumDesc(0x0002, {255}) << -1 << false;
    QTest::newRow("enum uint8 255") << enumDesc(0x0002, {255}) << 255 << true;
    QTest::newRow("enum uint32 as signed") << enumDesc(0x0006, {qint64(0xFFFFFFFF)}) << -1 << true;
    QTest::newRow("enum int16") << enumDesc(0x0003, {-300}) << -300 << true;
}

void tst_DevicePropDesc::checks()
{
    QFETCH(QByteArray, desc);
    QFETCH(qint32, value);
    QFETCH(bool, accepted);
    OLP_Test_RecordingAccess a;
    a.setAnswer(0x1014, desc);
    QCOMPARE(a.supportsDevicePropValue(0x5013, value), accepted);
    QCOMPARE(a.calls.size(), 1);
    QCOMPARE(a.calls[0].dataSize, 1024u);
}

void tst_DevicePropDesc::unknownTypeAndForm()
{
    OLP_Test_LogCapture log;
    OLP_Test_RecordingAccess a;
    QByteArray d = rangeDesc(0x0004, 0, 10, 1);
    d[2] = char(0x0A);  // UINT64 is not handled
    a.setAnswer(0x1014, d);
    QVERIFY(!a.supportsDevicePropValue(0x5013, 0));
    QVERIFY(log.contains("- Device Property Desc: unknown dataType 0x000A"));
    QByteArray f = enumDesc(0x0004, {1});
    f[9] = char(3);
    a.setAnswer(0x1014, f);
    QVERIFY(!a.supportsDevicePropValue(0x5013, 1));
    QVERIFY(log.contains("- Device Property Desc: unknown formFlag 0x03 with dataType 0x0004"));
}

// The camera claims more values than it sent: only received bytes are data,
// so the zeros behind them never match and nothing is read beyond the buffer.
void tst_DevicePropDesc::countsPastTheReceivedBytes()
{
    OLP_Test_RecordingAccess a;
    a.setAnswer(0x1014, enumDesc(0x0006, {5, 6}, 0xFFFF));
    QVERIFY(a.supportsDevicePropValue(0x5013, 6));
    QVERIFY(!a.supportsDevicePropValue(0x5013, 0));
    // A range form cut off after its minimum accepts nothing.
    a.setAnswer(0x1014, rangeDesc(0x0006, 0, 100, 1).left(18));
    QVERIFY(!a.supportsDevicePropValue(0x5013, 0));
    // Directly on a buffer of exactly the claimed bytes (ASan guards the end).
    const QByteArray big = enumDesc(0x0004, {1, 2}, 60000);
    QScopedArrayPointer<quint8> exact(new quint8[big.size()]);
    memcpy(exact.data(), big.constData(), size_t(big.size()));
    OLP_Commu_DevicePropDesc desc(exact.data(), quint32(big.size()));
    QVERIFY(desc.acceptsValue(2, "test"));
    QVERIFY(!desc.acceptsValue(3, "test"));
    OLP_Commu_DevicePropDesc empty(exact.data(), 3);
    QVERIFY(!empty.acceptsValue(0, "test"));
}

void tst_DevicePropDesc::readFailureIsFalse()
{
    OLP_Test_RecordingAccess a;
    a.setAnswer(0x1014, enumDesc(0x0004, {7}));
    a.queueResponse(0x1014, 0x2002);
    QVERIFY(!a.supportsDevicePropValue(0x5013, 7));
    QVERIFY(a.supportsDevicePropValue(0x5013, 7));
}

void tst_DevicePropDesc::stillCaptureMode7()
{
    OLP_Test_RecordingAccess a;
    a.setAnswer(0x1014, enumDesc(0x0004, {1, 2, 7}));
    a.connectProduct(ProductIdKestaD);
    a.updateStillCaptureModeSupport();
    QVERIFY(a.hasStillCaptureMode7());
    QCOMPARE(a.calls[0].params.value(0), 0x5013u);

    a.setAnswer(0x1014, enumDesc(0x0004, {1, 2}));
    a.updateStillCaptureModeSupport();
    QVERIFY(!a.hasStillCaptureMode7());

    // Other products never ask and never have it.
    OLP_Test_RecordingAccess other;
    other.setAnswer(0x1014, enumDesc(0x0004, {7}));
    other.connectProduct(ProductIdPelvo);
    other.updateStillCaptureModeSupport();
    QVERIFY(!other.hasStillCaptureMode7());
    QVERIFY(other.calls.isEmpty());
}

void tst_DevicePropDesc::objectProps_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<quint32>("code");
    QTest::addColumn<bool>("found");
    auto list = [](quint32 count, int entries, quint16 first) {
        QByteArray d;
        put(d, count, 4);
        for (int i = 0; i < entries; ++i) {
            put(d, first + i, 2);
        }
        return d;
    };
    QTest::newRow("count 0") << list(0, 3, 0xD800) << 0xD800u << false;
    QTest::newRow("found") << list(3, 3, 0xD7FE) << 0xD800u << true;
    QTest::newRow("absent") << list(3, 3, 0xD7FE) << 0xD900u << false;
    // 500 claimed codes: only the first 100 are searched.
    QTest::newRow("500 codes, entry 99") << list(500, 100, 0x1000) << quint32(0x1000 + 99) << true;
    QTest::newRow("500 codes, entry 100") << list(500, 101, 0x1000) << quint32(0x1000 + 100) << false;
    // A short answer leaves zeros that are read as codes (as the camera's count says).
    QTest::newRow("short answer zeros") << list(5, 2, 0x1000) << 0u << true;
}

void tst_DevicePropDesc::objectProps()
{
    QFETCH(QByteArray, answer);
    QFETCH(quint32, code);
    QFETCH(bool, found);
    OLP_Test_RecordingAccess a;
    a.setAnswer(0x9801, answer);
    QCOMPARE(a.supportsObjectProp(0x3801, code), found);
    QCOMPARE(a.calls[0].dataSize, 204u);
    QCOMPARE(a.calls[0].params.value(0), 0x3801u);
}

QTEST_GUILESS_MAIN(tst_DevicePropDesc)
#include "tst_DevicePropDesc.moc"
