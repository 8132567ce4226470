#include <QSignalSpy>
#include <QtTest>

#include "OLP_Commu_CameraAccess_Dummy.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Debug.h"
#include "OLP_Test_Support.h"

// The simulated camera: its announcement, open/close rules, the three reads it
// answers from fixed images and the error line of every read it refuses.
class tst_Dummy : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void announcesOnEveryPoll();
    void openAndCloseRules();
    void reads_data();
    void reads();
    void deviceInfoImageLayout();
    void cameraSettingsImageBytes();
    void lensImageBytes();
    void answerIsZeroPaddedAndCounted();
    void commandsAndSendsFail();
};

void tst_Dummy::initTestCase()
{
    olpTestInit();
    setDebugFlags(0xFFFFFFFF, false);
}

// A poll that announced only once would hide the camera from a controller that
// missed the first announcement.
void tst_Dummy::announcesOnEveryPoll()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    QSignalSpy spy(&dummy, &OLP_Commu_CameraAccess_Base::signalDeviceAvailable);
    QVERIFY(dummy.checkDeviceAvailable());
    QVERIFY(dummy.checkDeviceAvailable());
    QCOMPARE(spy.count(), 2);
    for (const QList<QVariant>& args : qAsConst(spy)) {
        QCOMPARE(args.at(0).toInt(), 256);
        QCOMPARE(args.at(1).toULongLong(), 0ULL);
        QCOMPARE(args.at(2).toInt(), int(ProductIdKestaD));
        QCOMPARE(args.at(3).toString(), QStringLiteral("DummyID"));
    }
}

void tst_Dummy::openAndCloseRules()
{
    OLP_Test_LogCapture log;
    setDebugFlags(8, true);
    OLP_Commu_CameraAccess_Dummy dummy;
    QSignalSpy opened(&dummy, &OLP_Commu_CameraAccess_Base::signalConnectionOpened);
    QSignalSpy closed(&dummy, &OLP_Commu_CameraAccess_Base::signalConnectionClosed);

    QVERIFY(!dummy.closeConnection());
    QCOMPARE(closed.count(), 0);

    QVERIFY(dummy.openConnection(7, int(ProductIdKestaD), QStringLiteral("DummyID")));
    QCOMPARE(dummy.productId(), ProductIdKestaD);
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toInt(), 256);
    QVERIFY(log.contains(QStringLiteral("OLP_Commu_CameraAccess_Dummy::openConnection - ProductId = 0x104")));

    // A second open without a close is refused and announces nothing.
    QVERIFY(!dummy.openConnection(7, int(ProductIdPelvo), QStringLiteral("DummyID")));
    QCOMPARE(dummy.productId(), ProductIdKestaD);
    QCOMPARE(opened.count(), 1);

    QVERIFY(dummy.closeConnection());
    QCOMPARE(dummy.productId(), 0u);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toInt(), 256);
    QVERIFY(log.contains(QStringLiteral("OLP_Commu_CameraAccess_Dummy::closeConnection - ProductId = 0x104")));
    QVERIFY(!dummy.closeConnection());
    QCOMPARE(closed.count(), 1);
    setDebugFlags(8, false);
}

void tst_Dummy::reads_data()
{
    QTest::addColumn<quint32>("operationCode");
    QTest::addColumn<quint32>("dataSize");
    QTest::addColumn<bool>("nullBuffer");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("errorLine");

    const QString deviceInfo =
        QStringLiteral("OLP_Commu_CameraAccess_Dummy::recvData - Error: command code 0x00001001 (Device Info)");
    const QString settings =
        QStringLiteral("OLP_Commu_CameraAccess_Dummy::recvData - Error: command code 0x00009002 (Camera Settings)");
    const QString lens =
        QStringLiteral("OLP_Commu_CameraAccess_Dummy::recvData - Error: command code 0x00009003 (Lens Parameter)");

    QTest::newRow("device info 2048") << quint32(0x1001) << 2048u << false << true << QString();
    QTest::newRow("device info exactly the image") << quint32(0x1001) << 261u << false << true << QString();
    QTest::newRow("device info one short") << quint32(0x1001) << 260u << false << false << deviceInfo;
    QTest::newRow("device info 100") << quint32(0x1001) << 100u << false << false << deviceInfo;
    QTest::newRow("device info size 0") << quint32(0x1001) << 0u << false << false << deviceInfo;
    QTest::newRow("device info no buffer") << quint32(0x1001) << 2048u << true << false << deviceInfo;
    QTest::newRow("settings 100") << quint32(0x9002) << 100u << false << true << QString();
    QTest::newRow("settings 99") << quint32(0x9002) << 99u << false << false << settings;
    QTest::newRow("settings no buffer") << quint32(0x9002) << 100u << true << false << settings;
    QTest::newRow("lens 101") << quint32(0x9003) << 101u << false << true << QString();
    QTest::newRow("lens 100") << quint32(0x9003) << 100u << false << false << lens;
    QTest::newRow("prop value") << quint32(0x1015) << 64u << false << false
                                << QStringLiteral(
                                       "OLP_Commu_CameraAccess_Dummy::recvData - Error: command code 0x00001015 not "
                                       "implemented");
    QTest::newRow("stream info") << quint32(0x1024) << 36u << false << false
                                 << QStringLiteral(
                                        "OLP_Commu_CameraAccess_Dummy::recvData - Error: command code 0x00001024 not "
                                        "implemented");
}

// Each accepted read goes through the camera operation a dataset would call.
void tst_Dummy::reads()
{
    QFETCH(quint32, operationCode);
    QFETCH(quint32, dataSize);
    QFETCH(bool, nullBuffer);
    QFETCH(bool, accepted);
    QFETCH(QString, errorLine);

    OLP_Test_LogCapture log;
    OLP_Commu_CameraAccess_Dummy dummy;
    QByteArray buffer(int(dataSize), char(0xAA));
    quint8* data = nullBuffer ? nullptr : reinterpret_cast<quint8*>(buffer.data());
    bool ok = false;
    switch (operationCode) {
        case PTP::OpGetDeviceInfo:
            ok = dummy.getDeviceInfo(data, dataSize);
            break;
        case PTP::OpGetCameraSettings:
            ok = dummy.getCameraSettings(data, dataSize);
            break;
        case PTP::OpGetLensData:
            ok = dummy.getLensData(data, dataSize);
            break;
        case PTP::OpGetDevicePropValue:
            ok = dummy.getDevicePropValue(0x5005, data, dataSize);
            break;
        case PTP::OpGetStreamInfo:
            ok = dummy.getStreamInfo(data, dataSize);
            break;
        default:
            QFAIL("unexpected operation in the table");
    }
    QCOMPARE(ok, accepted);
    if (accepted) {
        QCOMPARE(log.count(QStringLiteral("OLP_Commu_CameraAccess_Dummy::recvData - Error")), 0);
    } else {
        QCOMPARE(log.count(errorLine), 1);
        // A refused read still leaves no stale bytes in the caller's buffer.
        if (!nullBuffer) {
            QCOMPARE(buffer, QByteArray(int(dataSize), '\0'));
        }
    }
}

void tst_Dummy::deviceInfoImageLayout()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    const QByteArray image = dummy.deviceInfoImage();
    // 117 bytes of header and lists, then four strings of 33, 51, 25 and 35 bytes.
    QCOMPARE(image.size(), 261);
    const auto u8 = [&image](int offset) { return quint8(image.at(offset)); };
    QCOMPARE(u8(0) | (u8(1) << 8), 100);
    QCOMPARE(u8(8), quint8(0));
    QCOMPARE(u8(11), quint8(24));
    QCOMPARE(u8(63), quint8(12));
    QCOMPARE(u8(91), quint8(1));
    QCOMPARE(u8(97), quint8(3));
    QCOMPARE(u8(107), quint8(3));
    QCOMPARE(u8(117), quint8(16));  // "Orvane Dummy AG" + terminator
    QCOMPARE(u8(118), quint8('O'));
    QCOMPARE(u8(150), quint8(25));  // "Kesta2 Digital SLR Dummy" + terminator
    QCOMPARE(u8(201), quint8(12));  // "01.02.03.04" + terminator
    QCOMPARE(u8(226), quint8(17));  // "0000000001200345" + terminator
    QCOMPARE(u8(259), quint8(0));
    QCOMPARE(u8(260), quint8(0));
}

void tst_Dummy::cameraSettingsImageBytes()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    QByteArray expected(100, '\0');
    const QList<QPair<int, quint8>> bytes = {{3, 0x02},  {4, 0x06},  {6, 1},     {10, 1},    {15, 2},    {16, 0x08},
                                             {17, 0xF9}, {19, 30},   {65, 0x01}, {66, 0x3D}, {67, 0xFF}, {69, 80},
                                             {70, 0},    {71, 3},    {72, 0x80}, {73, 0x04}, {74, 0x67}, {75, 0x07},
                                             {76, 0xB3}, {77, 0x31}, {78, 0x00}, {79, 0x00}, {80, 1}};
    for (const auto& byte : bytes) {
        expected[byte.first] = char(byte.second);
    }
    QByteArray buffer(100, char(0xAA));
    QVERIFY(dummy.getCameraSettings(reinterpret_cast<quint8*>(buffer.data()), 100));
    QCOMPARE(buffer, expected);
}

void tst_Dummy::lensImageBytes()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    const QByteArray image = dummy.lensImage();
    QCOMPARE(image.size(), 101);
    QCOMPARE(image.mid(1, 60), QByteArray("Varion-Kesta 70").leftJustified(59, ' ') + QByteArray(1, '\0'));
    QCOMPARE(image.mid(61, 24).toHex(' '),
             QByteArray("84 87 d6 12 00 19 1d a4 02 00 09 02 46 00 46 00 f4 01 00 00 70 11 01 00"));
    QCOMPARE(image.mid(85), QByteArray(16, '\0'));
}

void tst_Dummy::answerIsZeroPaddedAndCounted()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    QByteArray buffer(300, char(0xAA));
    quint32 received = 0;
    QVERIFY(dummy.getLensData(reinterpret_cast<quint8*>(buffer.data()), 300, &received));
    QCOMPARE(received, 101u);
    QCOMPARE(buffer.left(101), dummy.lensImage());
    QCOMPARE(buffer.mid(101), QByteArray(199, '\0'));

    QVERIFY(!dummy.getLensData(reinterpret_cast<quint8*>(buffer.data()), 100, &received));
    QCOMPARE(received, 0u);
}

void tst_Dummy::commandsAndSendsFail()
{
    OLP_Test_LogCapture log;
    OLP_Commu_CameraAccess_Dummy dummy;
    QVERIFY(dummy.openConnection(0, int(ProductIdKestaD), QString()));
    QVERIFY(!dummy.initiateCapture());
    QVERIFY(!dummy.releaseCam(0));
    QCOMPARE(log.count(QStringLiteral("OLP_Commu_CameraAccess_Dummy::sendCommand - Error: no device connected")), 2);
    const quint8 settings[100] = {};
    QVERIFY(!dummy.setCameraSettings(settings, sizeof(settings)));
    QCOMPARE(log.count(QStringLiteral("OLP_Commu_CameraAccess_Dummy::sendData - Error: no device connected")), 1);
}

QTEST_GUILESS_MAIN(tst_Dummy)
#include "tst_Dummy.moc"
