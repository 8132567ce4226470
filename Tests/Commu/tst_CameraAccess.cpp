#include <QSignalSpy>
#include <QtTest>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Test_RecordingAccess.h"
#include "OLP_Test_Support.h"

typedef QVector<quint32> Params;
Q_DECLARE_METATYPE(Params)

class tst_CameraAccess : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        olpTestInit();
        qRegisterMetaType<Params>();
    }

    void releaseOnReleaseProduct_data();
    void releaseOnReleaseProduct();
    void releaseOnOtherProduct_data();
    void releaseOnOtherProduct();
    void releaseErrors_data();
    void releaseErrors();
    void autoFocusStartFollowsFocusMode_data();
    void autoFocusStartFollowsFocusMode();
    void operationsSendTheirCodes_data();
    void operationsSendTheirCodes();
    void entryLogLines();
    void thumbnailWithoutBufferSendsNothing();
    void genericTransaction();
    void pacingOnePerTickInArrivalOrder();
    void pacingLensCodeAndZero();
    void closingForgetsPendingCodes();
    void propertyTimerRuns();
    void countersOnlyForTickProducts();
    void wlanHasNoTransport();
    void factory();
};

// A release product takes every stage, even unknown ones, unchanged in 0x9004.
void tst_CameraAccess::releaseOnReleaseProduct_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("p1");
    QTest::addColumn<int>("p2");
    QTest::addColumn<Params>("expected");
    const quint32 products[] = {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC,
                                ProductIdKestaD, ProductIdPelvo,  ProductIdKestaE};
    for (quint32 p : products) {
        const QByteArray tag = QByteArray::number(p, 16);
        QTest::newRow(tag + " single release") << p << 1 << 0 << 0 << 0 << Params{0};
        QTest::newRow(tag + " live view video") << p << 2 << 17 << 1 << 0 << Params{17, 1};
        QTest::newRow(tag + " unknown stage 5") << p << 1 << 5 << 0 << 0 << Params{5};
        QTest::newRow(tag + " lens step") << p << 2 << 9 << 5 << 0 << Params{9, 5};
        QTest::newRow(tag + " focus cross") << p << 3 << 21 << 2000 << 1250 << Params{21, 2000, 1250};
        QTest::newRow(tag + " keep-alive ignores its param") << p << 2 << 14 << 7 << 0 << Params{14};
        QTest::newRow(tag + " grey card 4 not checked") << p << 2 << 22 << 4 << 0 << Params{22, 4};
    }
}

void tst_CameraAccess::releaseOnReleaseProduct()
{
    QFETCH(quint32, product);
    QFETCH(int, count);
    QFETCH(int, stage);
    QFETCH(int, p1);
    QFETCH(int, p2);
    QFETCH(Params, expected);
    OLP_Test_RecordingAccess access;
    access.connectProduct(product);
    const bool ok = count == 3   ? access.releaseCam(stage, p1, p2)
                    : count == 2 ? access.releaseCam(stage, p1)
                                 : access.releaseCam(stage);
    QVERIFY(ok);
    QCOMPARE(access.calls.size(), 1);
    QCOMPARE(access.calls[0].operationCode, 0x9004u);
    QCOMPARE(access.calls[0].params, expected);
}

// Any other product (and no product) maps each stage to its own operation.
void tst_CameraAccess::releaseOnOtherProduct_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("p1");
    QTest::addColumn<int>("p2");
    QTest::addColumn<quint32>("opcode");
    QTest::addColumn<Params>("expected");
    const quint32 products[] = {ProductIdSeventh, 0};
    for (quint32 p : products) {
        const QByteArray tag = p ? "seventh " : "none ";
        QTest::newRow(tag + "0 capture") << p << 1 << 0 << 0 << 0 << 0x100Eu << Params{};
        QTest::newRow(tag + "2 af stop") << p << 1 << 2 << 0 << 0 << 0x9016u << Params{1};
        QTest::newRow(tag + "7 bulb open") << p << 1 << 7 << 0 << 0 << 0x9019u << Params{0};
        QTest::newRow(tag + "8 bulb close") << p << 1 << 8 << 0 << 0 << 0x9019u << Params{1};
        QTest::newRow(tag + "9 lens") << p << 2 << 9 << 5 << 0 << 0x901Eu << Params{1, 5};
        QTest::newRow(tag + "10 lens back") << p << 2 << 10 << 5 << 0 << 0x901Eu << Params{0, 5};
        QTest::newRow(tag + "11 lens absolute") << p << 2 << 11 << -3 << 0 << 0x901Eu << Params{2, 0xFFFFFFFDu};
        QTest::newRow(tag + "12 continuous start") << p << 1 << 12 << 0 << 0 << 0x901Au << Params{0};
        QTest::newRow(tag + "13 continuous stop") << p << 1 << 13 << 0 << 0 << 0x901Au << Params{1};
        QTest::newRow(tag + "14 keep-alive") << p << 1 << 14 << 0 << 0 << 0x901Du << Params{};
        QTest::newRow(tag + "15 video start") << p << 1 << 15 << 0 << 0 << 0x901Bu << Params{0};
        QTest::newRow(tag + "16 video stop") << p << 1 << 16 << 0 << 0 << 0x901Bu << Params{1};
        QTest::newRow(tag + "17 photo lv on") << p << 2 << 17 << 0 << 0 << 0x901Cu << Params{0};
        QTest::newRow(tag + "17 video lv on") << p << 2 << 17 << 1 << 0 << 0x901Bu << Params{2};
        QTest::newRow(tag + "18 photo lv off") << p << 2 << 18 << 0 << 0 << 0x901Cu << Params{1};
        QTest::newRow(tag + "18 video lv off") << p << 2 << 18 << 1 << 0 << 0x901Bu << Params{3};
        QTest::newRow(tag + "20 zoom") << p << 1 << 20 << 0 << 0 << 0x9021u << Params{1};
        QTest::newRow(tag + "21 cross") << p << 3 << 21 << 2000 << 1250 << 0x9022u << Params{2000, 1250};
        QTest::newRow(tag + "22 grey card 3") << p << 2 << 22 << 3 << 0 << 0x9023u << Params{3};
        QTest::newRow(tag + "22 grey card 0") << p << 2 << 22 << 0 << 0 << 0x9023u << Params{0};
    }
}

void tst_CameraAccess::releaseOnOtherProduct()
{
    QFETCH(quint32, product);
    QFETCH(int, count);
    QFETCH(int, stage);
    QFETCH(int, p1);
    QFETCH(int, p2);
    QFETCH(quint32, opcode);
    QFETCH(Params, expected);
    OLP_Test_RecordingAccess access;
    access.connectProduct(product);
    const bool ok = count == 3   ? access.releaseCam(stage, p1, p2)
                    : count == 2 ? access.releaseCam(stage, p1)
                                 : access.releaseCam(stage);
    QVERIFY(ok);
    QCOMPARE(access.calls.size(), 1);
    QCOMPARE(access.calls[0].operationCode, opcode);
    QCOMPARE(access.calls[0].params, expected);
}

// Argument errors of the dispatcher: nothing is sent and the exact line is logged.
void tst_CameraAccess::releaseErrors_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("p1");
    QTest::addColumn<QString>("message");
    const QString prefix = QStringLiteral("OLP_Commu_CameraAccess_Base::releaseCamImpl - Error: ");
    QTest::newRow("stage 5") << 1 << 5 << 0 << prefix + "unknown releaseStage 5";
    QTest::newRow("stage 3") << 1 << 3 << 0 << prefix + "unknown releaseStage 3";
    QTest::newRow("stage 19") << 1 << 19 << 0 << prefix + "unknown releaseStage 19";
    QTest::newRow("stage 23") << 1 << 23 << 0 << prefix + "unknown releaseStage 23";
    QTest::newRow("stage -1") << 1 << -1 << 0 << prefix + "unknown releaseStage -1";
    QTest::newRow("21 with one param") << 2 << 21 << 10 << prefix + "missing additional parameters for releaseStage 21";
    QTest::newRow("22 param 4") << 2 << 22 << 4 << prefix + "unknown additional parameter 4 for releaseStage 22";
    QTest::newRow("22 param -1") << 2 << 22 << -1 << prefix + "unknown additional parameter -1 for releaseStage 22";
    QTest::newRow("17 param 2") << 2 << 17 << 2 << prefix + "unknown additional parameter 2 for releaseStage 17";
    QTest::newRow("18 param -1") << 2 << 18 << -1 << prefix + "unknown additional parameter -1 for releaseStage 18";
}

void tst_CameraAccess::releaseErrors()
{
    QFETCH(int, count);
    QFETCH(int, stage);
    QFETCH(int, p1);
    QFETCH(QString, message);
    OLP_Test_RecordingAccess access;
    access.connectProduct(ProductIdSeventh);
    OLP_Test_LogCapture log;
    const bool ok = count == 2 ? access.releaseCam(stage, p1) : access.releaseCam(stage);
    QVERIFY(!ok);
    QVERIFY(access.calls.isEmpty());
    QCOMPARE(log.count(message), 1);
}

void tst_CameraAccess::autoFocusStartFollowsFocusMode_data()
{
    QTest::addColumn<int>("focusMode");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<quint32>("mode");
    QTest::newRow("AFS") << 0 << true << 2u;
    QTest::newRow("AFC") << 1 << true << 1u;
    QTest::newRow("MF") << 2 << true << 0u;
    QTest::newRow("unknown") << 7 << false << 0u;
}

void tst_CameraAccess::autoFocusStartFollowsFocusMode()
{
    QFETCH(int, focusMode);
    QFETCH(bool, sent);
    QFETCH(quint32, mode);
    OLP_Test_RecordingAccess access;
    access.connectProduct(ProductIdSeventh);
    access.setFocusModeCache(quint16(focusMode));
    OLP_Test_LogCapture log;
    setDebugFlags(1, true);
    QCOMPARE(access.releaseCamAutoFocusStart(), sent);
    setDebugFlags(1, false);
    QVERIFY(log.contains("OLP_Commu_CameraAccess_Base::releaseCam - release start - releaseStage 1 - param 0"));
    if (sent) {
        QCOMPARE(access.calls.size(), 1);
        QCOMPARE(access.calls[0].operationCode, 0x9016u);
        QCOMPARE(access.calls[0].params, (Params{0, mode}));
    } else {
        QVERIFY(access.calls.isEmpty());
        QVERIFY(log.contains("OLP_Commu_CameraAccess_Base::releaseCamImpl - Error: unknown focusMode 7"));
    }
    // A release product gets stage 1 alone in the vendor release.
    OLP_Test_RecordingAccess release;
    release.connectProduct(ProductIdKestaA);
    QVERIFY(release.releaseCamAutoFocusStop());
    QCOMPARE(release.calls[0].params, Params{2});
}

// Each operation sends its code and parameters in the documented order and
// kind of data phase; a wrong code or order would fail here.
void tst_CameraAccess::operationsSendTheirCodes_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("opcode");
    QTest::addColumn<Params>("params");
    const int in = OLP_Test_RecordingAccess::DataIn, out = OLP_Test_RecordingAccess::DataOut,
              cmd = OLP_Test_RecordingAccess::Command;
    QTest::newRow("getDeviceInfo") << 0 << in << 0x1001u << Params{};
    QTest::newRow("getObjectInfo") << 1 << in << 0x1008u << Params{0x12345678, 1};
    QTest::newRow("getObject") << 2 << in << 0x1009u << Params{0x12345678};
    QTest::newRow("getThumbnail") << 3 << in << 0x100Au << Params{0x12345678, 0};
    QTest::newRow("deleteObject") << 4 << cmd << 0x100Bu << Params{0x42};
    QTest::newRow("initiateCapture") << 5 << cmd << 0x100Eu << Params{};
    QTest::newRow("getDevicePropDesc") << 6 << in << 0x1014u << Params{0x5013};
    QTest::newRow("getDevicePropValue") << 7 << in << 0x1015u << Params{0x500A};
    QTest::newRow("setDevicePropValue") << 8 << out << 0x1016u << Params{0xD03B};
    QTest::newRow("getPartialObject") << 9 << in << 0x101Bu << Params{0x12345678, 0, 64};
    QTest::newRow("getStreamInfo") << 10 << in << 0x1024u << Params{0};
    QTest::newRow("getObjectPropsSupported") << 11 << in << 0x9801u << Params{0x3801};
    QTest::newRow("getObjectPropValue") << 12 << in << 0x9803u << Params{0x12345678, 0xD800};
    QTest::newRow("setCameraSettings") << 13 << out << 0x9001u << Params{};
    QTest::newRow("getCameraSettings") << 14 << in << 0x9002u << Params{};
    QTest::newRow("getLensData") << 15 << in << 0x9003u << Params{};
    QTest::newRow("transferObjectReady") << 16 << cmd << 0x9007u << Params{};
    QTest::newRow("getGeotackingData") << 17 << in << 0x9008u << Params{};
    QTest::newRow("controlAutoFocus 2 args") << 18 << cmd << 0x9016u << Params{0, 2};
    QTest::newRow("keepCameraActive") << 19 << cmd << 0x901Du << Params{};
    QTest::newRow("moveLens") << 20 << cmd << 0x901Eu << Params{2, 0xFFFFFFFBu};
    QTest::newRow("get3DAxisData") << 21 << in << 0x9020u << Params{};
    QTest::newRow("toggleZoomMode") << 22 << cmd << 0x9021u << Params{1};
    QTest::newRow("setFocusCrossPosition") << 23 << cmd << 0x9022u << Params{0xFFFFFFFFu, 7};
    QTest::newRow("getStreamData") << 24 << in << 0x9025u << Params{};
    QTest::newRow("openQxSession") << 25 << cmd << 0x9005u << Params{0x3C5A};
    QTest::newRow("closeQxSession") << 26 << cmd << 0x9006u << Params{0x3C5A};
}

void tst_CameraAccess::operationsSendTheirCodes()
{
    QFETCH(int, which);
    QFETCH(int, kind);
    QFETCH(quint32, opcode);
    QFETCH(Params, params);
    OLP_Test_RecordingAccess a;
    quint8 buffer[64];
    const quint8 value[4] = {1, 2, 3, 4};
    switch (which) {
        case 0:
            a.getDeviceInfo(buffer, 64);
            break;
        case 1:
            a.getObjectInfo(buffer, 64, 1, 0x12345678);
            break;
        case 2:
            a.getObject(buffer, 64, 0x12345678);
            break;
        case 3:
            a.getThumbnail(buffer, 64, 0, 0x12345678);
            break;
        case 4:
            a.deleteObject(0x42);
            break;
        case 5:
            a.initiateCapture();
            break;
        case 6:
            a.getDevicePropDesc(0x5013, buffer, 64);
            break;
        case 7:
            a.getDevicePropValue(0x500A, buffer, 4);
            break;
        case 8:
            a.setDevicePropValue(0xD03B, value, 4);
            break;
        case 9:
            a.getPartialObject(buffer, 64, 0, 0x12345678);
            break;
        case 10:
            a.getStreamInfo(buffer, 64);
            break;
        case 11:
            a.getObjectPropsSupported(buffer, 64, 0x3801);
            break;
        case 12:
            a.getObjectPropValue(buffer, 4, 0xD800, 0x12345678);
            break;
        case 13:
            a.setCameraSettings(value, 4);
            break;
        case 14:
            a.getCameraSettings(buffer, 64);
            break;
        case 15:
            a.getLensData(buffer, 64);
            break;
        case 16:
            a.transferObjectReady();
            break;
        case 17:
            a.getGeotackingData(buffer, 64);
            break;
        case 18:
            a.controlAutoFocus(0, 2);
            break;
        case 19:
            a.keepCameraActive();
            break;
        case 20:
            a.moveLens(2, -5);
            break;
        case 21:
            a.get3DAxisData(buffer, 64);
            break;
        case 22:
            a.toggleZoomMode();
            break;
        case 23:
            a.setFocusCrossPosition(-1, 7);
            break;
        case 24:
            a.getStreamData(buffer, 64);
            break;
        case 25:
            a.openQxSession();
            break;
        case 26:
            a.closeQxSession();
            break;
    }
    QCOMPARE(a.calls.size(), 1);
    QCOMPARE(int(a.calls[0].kind), kind);
    QCOMPARE(a.calls[0].operationCode, opcode);
    QCOMPARE(a.calls[0].params, params);
    QVERIFY(a.calls[0].callerName.startsWith("OLP_Commu_CameraAccess_Base::"));
    if (kind == OLP_Test_RecordingAccess::DataOut) {
        QCOMPARE(a.calls[0].dataOut, QByteArray("\x01\x02\x03\x04", 4));
    }
}

void tst_CameraAccess::entryLogLines()
{
    setDebugFlags(1, true);
    OLP_Test_RecordingAccess a;
    OLP_Test_LogCapture log;
    quint8 buffer[0x9A];
    a.getObjectInfo(buffer, 0x9A, 1, 0x12345678);
    a.getPartialObject(buffer, 16, 0x400, 0x12345678);
    a.getDevicePropValue(0xD60C, buffer, 4);
    a.controlBulbExposure(1);
    a.setFocusCrossPosition(2000, 1250);
    a.releaseCam(21, 1, 2);
    setDebugFlags(1, false);
    QVERIFY(log.contains(
        "OLP_Commu_CameraAccess_Base::getObjectInfo - dataSize 0x0000009A thumbType 1 objectHandle 0x12345678"));
    QVERIFY(
        log.contains("OLP_Commu_CameraAccess_Base::getPartialObject - dataSize 0x00000010 offset 0x00000400 "
                     "objectHandle 0x12345678"));
    QVERIFY(
        log.contains("OLP_Commu_CameraAccess_Base::getDevicePropValue - propertyCode 0x0000D60C dataSize 0x00000004"));
    QVERIFY(log.contains("OLP_Commu_CameraAccess_Base::controlBulbExposure - command 1"));
    QVERIFY(log.contains("OLP_Commu_CameraAccess_Base::setFocusCrossPosition - positionX 2000 positionY 1250"));
    QVERIFY(log.contains(
        "OLP_Commu_CameraAccess_Base::releaseCam - release start - releaseStage 21 - param1 1 - param2 2"));
    // With the flag off, nothing of this is written.
    log.clear();
    a.controlBulbExposure(0);
    QCOMPARE(log.count("controlBulbExposure"), 0);
}

void tst_CameraAccess::thumbnailWithoutBufferSendsNothing()
{
    OLP_Test_RecordingAccess a;
    quint8 buffer[4];
    QVERIFY(!a.getThumbnail(buffer, 0, 0, 1));
    QVERIFY(!a.getThumbnail(nullptr, 4, 0, 1));
    QVERIFY(a.calls.isEmpty());
}

void tst_CameraAccess::genericTransaction()
{
    OLP_Test_RecordingAccess a;
    a.setAnswer(0x1007, QByteArray("\x02\0\0\0\x01\0\0\0\x02\0\0\0", 12));
    setDebugFlags(1, true);
    OLP_Test_LogCapture log;
    quint8 buffer[64];
    quint32 received = 0;
    const quint32 all = 0xFFFFFFFF;
    QVERIFY(a.transaction(0x1007, 1, &all, buffer, sizeof(buffer), "OLP_Logic_Camera::slotRebuildImageDB", &received));
    QCOMPARE(received, 12u);
    QVERIFY(a.transaction(0x1004, 0, nullptr, nullptr, 0, "OLP_Logic_Camera::slotRebuildImageDB", &received));
    setDebugFlags(1, false);
    QCOMPARE(received, 0u);
    QCOMPARE(a.calls.size(), 2);
    QCOMPARE(int(a.calls[0].kind), int(OLP_Test_RecordingAccess::DataIn));
    QCOMPARE(a.calls[0].params, Params{0xFFFFFFFF});
    QCOMPARE(a.calls[0].callerName, QStringLiteral("OLP_Logic_Camera::slotRebuildImageDB"));
    QCOMPARE(int(a.calls[1].kind), int(OLP_Test_RecordingAccess::Command));
    QCOMPARE(a.calls[1].operationCode, 0x1004u);
    QVERIFY(log.contains("OLP_Logic_Camera::slotRebuildImageDB - operationCode 0x00001007 dataSize 0x00000040"));
}

// Codes drain one per tick, oldest first; a code already waiting is not queued twice.
void tst_CameraAccess::pacingOnePerTickInArrivalOrder()
{
    OLP_Test_RecordingAccess a;
    QSignalSpy spy(&a, &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged);
    a.queueDevicePropertyChanged(0x5005);
    a.queueDevicePropertyChanged(0x5008);
    a.queueDevicePropertyChanged(0x5005);
    QCOMPARE(a.pendingPropertyCodes(), (QList<quint16>{0x5005, 0x5008}));
    a.tick();
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].value<ushort>(), ushort(0x5005));
    // 0x5005 has left the queue, so a new change is announced again after 0x5008.
    a.queueDevicePropertyChanged(0x5005);
    a.tick();
    a.tick();
    a.tick();
    QCOMPARE(spy.size(), 3);
    QCOMPARE(spy[1][0].value<ushort>(), ushort(0x5008));
    QCOMPARE(spy[2][0].value<ushort>(), ushort(0x5005));
}

void tst_CameraAccess::pacingLensCodeAndZero()
{
    OLP_Test_RecordingAccess a;
    QSignalSpy props(&a, &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged);
    QSignalSpy lens(&a, &OLP_Commu_CameraAccess_Base::signalLensChanged);
    a.queueDevicePropertyChanged(0xD620);
    a.queueDevicePropertyChanged(0);
    a.queueDevicePropertyChanged(0x500A);
    a.tick();
    QCOMPARE(lens.size(), 1);
    QCOMPARE(props.size(), 0);
    a.tick();  // code 0: nothing
    QCOMPARE(lens.size() + props.size(), 1);
    a.tick();
    QCOMPARE(props.size(), 1);
}

// A new camera must not be told about the last camera's changes.
void tst_CameraAccess::closingForgetsPendingCodes()
{
    OLP_Test_RecordingAccess a;
    QVERIFY(a.openConnection(0x2F1A, ProductIdKestaD, "x"));
    a.queueDevicePropertyChanged(0x5005);
    QVERIFY(a.closeConnection());
    QVERIFY(a.pendingPropertyCodes().isEmpty());
    QCOMPARE(a.productId(), 0u);
    QVERIFY(!a.closeConnection());
}

void tst_CameraAccess::propertyTimerRuns()
{
    OLP_Test_RecordingAccess a;
    QSignalSpy spy(&a, &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged);
    a.queueDevicePropertyChanged(0x5007);
    a.queueDevicePropertyChanged(0x5008);
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, olpTimeout(2000));
    QCOMPARE(spy[0][0].value<ushort>(), ushort(0x5007));
}

namespace {
class CounterAccess : public OLP_Test_RecordingAccess
{
public:
    using OLP_Test_RecordingAccess::emitBulbCounter;
    using OLP_Test_RecordingAccess::emitSelfTimerCounter;
};
}  // namespace

void tst_CameraAccess::countersOnlyForTickProducts()
{
    const quint32 products[] = {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD,
                                ProductIdPelvo,  ProductIdKestaE, ProductIdSeventh};
    for (quint32 p : products) {
        CounterAccess a;
        a.connectProduct(p);
        QSignalSpy bulb(&a, &OLP_Commu_CameraAccess_Base::signalBulbCounter);
        QSignalSpy timer(&a, &OLP_Commu_CameraAccess_Base::signalSelfTimerCounter);
        a.emitBulbCounter(3);
        a.emitSelfTimerCounter(-2);
        const bool expected = p != ProductIdKestaD && p != ProductIdPelvo && p != ProductIdSeventh;
        QCOMPARE(bulb.size(), expected ? 1 : 0);
        QCOMPARE(timer.size(), expected ? 1 : 0);
        if (expected) {
            QCOMPARE(bulb[0][0].toInt(), 3);
            QCOMPARE(timer[0][0].toInt(), -2);
        }
    }
}

void tst_CameraAccess::wlanHasNoTransport()
{
    QScopedPointer<OLP_Commu_CameraAccess_Base> wlan(createCameraAccess(2));
    QVERIFY(wlan);
    QCOMPARE(wlan->connectionType(), 2);
    QVERIFY(!wlan->checkDeviceAvailable());
    QVERIFY(!wlan->openConnection(1, 2, "x"));
    QVERIFY(!wlan->closeConnection());
    OLP_Test_LogCapture log;
    quint8 buffer[8];
    memset(buffer, 0xAA, sizeof(buffer));
    QVERIFY(!wlan->getDeviceInfo(buffer, 8));
    QVERIFY(!wlan->keepCameraActive());
    QVERIFY(!wlan->setCameraSettings(buffer, 8));
    QCOMPARE(buffer[0], quint8(0));
    QVERIFY(log.contains("OLP_Commu_CameraAccess_Linux_WLAN::recvData - Error: no device connected"));
    QVERIFY(log.contains("OLP_Commu_CameraAccess_Linux_WLAN::sendCommand - Error: no device connected"));
    QVERIFY(log.contains("OLP_Commu_CameraAccess_Linux_WLAN::sendData - Error: no device connected"));
}

void tst_CameraAccess::factory()
{
    QVERIFY(createCameraAccess(0) == nullptr);
    QVERIFY(createCameraAccess(3) == nullptr);
    QScopedPointer<OLP_Commu_CameraAccess_Base> dummy(createCameraAccess(256));
    QVERIFY(dummy);
    QCOMPARE(dummy->connectionType(), 256);
    QScopedPointer<OLP_Commu_CameraAccess_Base> wlan(createCameraAccess(2));
    QCOMPARE(wlan->productId(), 0u);
    QCOMPARE(wlan->focusMode(), quint16(2));
    QVERIFY(!wlan->hasStillCaptureMode7());
}

QTEST_GUILESS_MAIN(tst_CameraAccess)
#include "tst_CameraAccess.moc"
