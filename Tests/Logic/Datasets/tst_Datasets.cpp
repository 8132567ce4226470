#include <QtTest>
#include <cstring>

#include "OLP_Commu_CameraAccess_Dummy.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Debug.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Logic_Camera3DAxisData.h"
#include "OLP_Logic_CameraGeotackingData.h"
#include "OLP_Logic_CameraLens.h"
#include "OLP_Logic_CameraStreamInfo.h"
#include "OLP_Test_ScriptedAccess.h"
#include "OLP_Test_Support.h"

namespace {

void putU16(QByteArray& data, int offset, quint16 value)
{
    data[offset] = char(value & 0xFF);
    data[offset + 1] = char(value >> 8);
}

void putU32(QByteArray& data, int offset, quint32 value)
{
    putU16(data, offset, quint16(value & 0xFFFF));
    putU16(data, offset + 2, quint16(value >> 16));
}

void putU64(QByteArray& data, int offset, quint64 value)
{
    putU32(data, offset, quint32(value & 0xFFFFFFFF));
    putU32(data, offset + 4, quint32(value >> 32));
}

void putFloat(QByteArray& data, int offset, float value)
{
    quint32 bits;
    memcpy(&bits, &value, sizeof(bits));
    putU32(data, offset, bits);
}

void putDouble(QByteArray& data, int offset, double value)
{
    quint64 bits;
    memcpy(&bits, &value, sizeof(bits));
    putU64(data, offset, bits);
}

QByteArray streamInfo(quint64 datasetSize, quint64 timeResolution)
{
    QByteArray data(36, '\0');
    putU64(data, 0, datasetSize);
    putU64(data, 8, timeResolution);
    putU32(data, 16, 12);
    putU32(data, 20, 0x00100000);
    putU32(data, 24, 8);
    putU32(data, 28, 0x00080000);
    putU32(data, 32, 4);
    return data;
}

}  // namespace

// The lens, 3D-axis, geotagging and stream-info datasets: fields read from the
// simulated camera and from hand-built answers, failed reads, and the dumps.
class tst_Datasets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void lensFromSimulatedCamera();
    void lensStatus_data();
    void lensStatus();
    void lensApertureSteps_data();
    void lensApertureSteps();
    void lensFieldsFromAnswer();
    void lensFailedRead();
    void lensDump();
    void lensDumpAfterReadOnlyWithFlag();

    void axisLayout_data();
    void axisLayout();
    void axisFailedRead();
    void axisDumpShowsOnlyItsLayout_data();
    void axisDumpShowsOnlyItsLayout();

    void geotackingFields();
    void geotackingDump();

    void streamInfoSize_data();
    void streamInfoSize();
    void streamInfoDump();
};

void tst_Datasets::initTestCase()
{
    olpTestInit();
    setDebugFlags(0xFFFFFFFF, false);
    // Nominal f-numbers by the formula (no per-product grid).
    OLP_Logic_APEXConverterAperture::setProductId(0);
}

void tst_Datasets::lensFromSimulatedCamera()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    OLP_Logic_CameraLens lens(&dummy);
    QVERIFY(lens.isLensConnected());
    QVERIFY(lens.isAutoLensSelectionEnabled());
    QCOMPARE(lens.lensTypeString(), QStringLiteral("Varion-Kesta 70"));
    QCOMPARE(lens.apertureSteps(), 2);
    QCOMPARE(lens.apertureStepsText(), QStringLiteral("1/2 EV"));
    QCOMPARE(lens.focalLengthMin(), 70);
    QCOMPARE(lens.focalLengthMax(), 70);
    QCOMPARE(lens.focusPositionMin(), 500u);
    QCOMPARE(lens.focusPositionMax(), 70000u);
    QCOMPARE(lens.openApertureCode(), qint16(676));
    QCOMPARE(lens.closeApertureCode(), qint16(2304));
    // 2^(676/512) = 2.497 and 2^4.5 = 22.63, shown as the marked f/2.5 and f/22.
    QCOMPARE(lens.openApertureValue(), 2.5);
    QCOMPARE(lens.closeApertureValue(), 22.0);
    QCOMPARE(lens.lensType(), 0x84);
    QCOMPARE(lens.lensSerialNumber(), 1234567);
    QCOMPARE(lens.lensFirmwareVersion(), 0x19);
    QCOMPARE(lens.correctionDataVersion(), 0x1D);
    QVERIFY(!lens.isCentralShutterAvailable());
    QCOMPARE(lens.lensFileVersion(), QStringLiteral("0.0.0.0"));
}

void tst_Datasets::lensStatus_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("autoSelection");
    QTest::newRow("0") << 0 << false << true;
    QTest::newRow("1") << 1 << true << true;
    QTest::newRow("2") << 2 << true << false;
    QTest::newRow("3") << 3 << false << false;
    QTest::newRow("255") << 255 << false << false;
}

void tst_Datasets::lensStatus()
{
    QFETCH(int, status);
    QFETCH(bool, connected);
    QFETCH(bool, autoSelection);
    QByteArray answer(101, '\0');
    answer[0] = char(status);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetLensData, answer);
    OLP_Logic_CameraLens lens(&access);
    QCOMPARE(access.lastCall(PTP::OpGetLensData).dataSize, 101u);
    QCOMPARE(lens.isLensConnected(), connected);
    QCOMPARE(lens.isAutoLensSelectionEnabled(), autoSelection);
}

void tst_Datasets::lensApertureSteps_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << QStringLiteral("undefined");
    QTest::newRow("1") << 1 << QStringLiteral("1 EV");
    QTest::newRow("2") << 2 << QStringLiteral("1/2 EV");
    QTest::newRow("3") << 3 << QStringLiteral("1/3 EV");
    QTest::newRow("4") << 4 << QStringLiteral("illegal");
    QTest::newRow("200") << 200 << QStringLiteral("illegal");
}

void tst_Datasets::lensApertureSteps()
{
    QFETCH(int, steps);
    QFETCH(QString, text);
    QByteArray answer(101, '\0');
    answer[72] = char(steps);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetLensData, answer);
    OLP_Logic_CameraLens lens(&access);
    QCOMPARE(lens.apertureStepsText(), text);
    OLP_Test_LogCapture log;
    lens.dump("tst");
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_CameraLens::dump - apertureSteps              = ") + text), 1);
}

// Fields past the simulated camera's image: signed values, the flag byte, the
// file version, and a name padded with zeros instead of spaces.
void tst_Datasets::lensFieldsFromAnswer()
{
    QByteArray answer(101, '\0');
    answer[0] = char(2);
    memcpy(answer.data() + 1, "  Macro 2.8/100  ", 17);
    putU32(answer, 62, quint32(-5));
    putU16(answer, 68, 0xFF00);  // Av -1: f/0.7
    putU16(answer, 70, 0x0800);  // Av 8: f/16
    answer[85] = char(0x03);
    putU32(answer, 89, quint32(-2));
    putU16(answer, 93, 100);
    answer[95] = char(1);
    answer[96] = char(2);
    answer[97] = char(30);
    answer[98] = char(255);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetLensData, answer);
    OLP_Logic_CameraLens lens(&access);
    QCOMPARE(lens.lensTypeString(), QStringLiteral("Macro 2.8/100"));
    QCOMPARE(lens.lensSerialNumber(), -5);
    QCOMPARE(lens.openApertureCode(), qint16(-256));
    QCOMPARE(lens.openApertureValue(), 0.7);
    QCOMPARE(lens.closeApertureValue(), 16.0);
    QVERIFY(lens.isCentralShutterAvailable());
    QCOMPARE(lens.lensID(), -2);
    QCOMPARE(lens.selectedFocalLength(), 100);
    QCOMPARE(lens.lensFileVersion(), QStringLiteral("1.2.30.255"));

    OLP_Test_LogCapture log;
    lens.dump("tst");
    QVERIFY(log.contains(
        QStringLiteral("OLP_Logic_CameraLens::dump - openApertureValue          = 0xFF00 = -256 (0.700)")));
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_CameraLens::dump - isCentralShutterAvailable  = true")));
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_CameraLens::dump - lensID                     = -2")));
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_CameraLens::dump - lensFileVersion            = 1.2.30.255")));
}

// A failed read must not keep the previous lens.
void tst_Datasets::lensFailedRead()
{
    OLP_Test_ScriptedAccess access;
    OLP_Commu_CameraAccess_Dummy dummy;
    access.setAnswer(PTP::OpGetLensData, dummy.lensImage());
    OLP_Logic_CameraLens lens(&access);
    QCOMPARE(lens.lensTypeString(), QStringLiteral("Varion-Kesta 70"));
    access.setFailure(PTP::OpGetLensData);
    lens.recvFromCamera();
    QVERIFY(!lens.isLensConnected());
    QVERIFY(lens.isAutoLensSelectionEnabled());
    QVERIFY(lens.lensTypeString().isEmpty());
    QCOMPARE(lens.focusPositionMax(), 0u);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(lens.image()), 101), QByteArray(101, '\0'));
}

void tst_Datasets::lensDump()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    OLP_Logic_CameraLens lens(&dummy);
    OLP_Test_LogCapture log;
    lens.dump("OLP_Logic_Camera::catchLensChanged");
    const QStringList lines = log.lines();
    const QString name = QStringLiteral("OLP_Logic_CameraLens::dump - ");
    const QStringList expected = {
        QStringLiteral("OLP_Logic_CameraLens::dump for OLP_Logic_Camera::catchLensChanged:"),
        QStringLiteral("lensData[000000000000]: 01 56 61 72 69 6F 6E 2D 4B 65 73 74 61 20 37 30 .Varion-Kesta 70"),
        QStringLiteral("lensData[000000000010]: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20                 "),
        QStringLiteral("lensData[000000000020]: 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 20                 "),
        QStringLiteral("lensData[000000000030]: 20 20 20 20 20 20 20 20 20 20 20 20 00 84 87 D6             ...."),
        QStringLiteral("lensData[000000000040]: 12 00 19 1D A4 02 00 09 02 46 00 46 00 F4 01 00 .........F.F...."),
        QStringLiteral("lensData[000000000050]: 00 70 11 01 00 00 00 00 00 00 00 00 00 00 00 00 .p.............."),
        QStringLiteral("lensData[000000000060]: 00 00 00 00 00") + QString(33, QLatin1Char(' ')) +
            QStringLiteral(" ....."),
        name + QStringLiteral("isLensConnected            = 1"),
        name + QStringLiteral("isAutoLensSelectionEnabled = 1"),
        name + QStringLiteral("lensTypeString             = \"Varion-Kesta 70\""),
        name + QStringLiteral("lensType                   = 132"),
        name + QStringLiteral("lensSerialNumber           = 1234567"),
        name + QStringLiteral("lensFirmwareVersion        = 25"),
        name + QStringLiteral("correctionDataVersion      = 29"),
        name + QStringLiteral("openApertureValue          = 0x02A4 = 676 (2.500)"),
        name + QStringLiteral("closeApertureValue         = 0x0900 = 2304 (22.000)"),
        name + QStringLiteral("apertureSteps              = 1/2 EV"),
        name + QStringLiteral("focalLengthMin             = 70 mm"),
        name + QStringLiteral("focalLengthMax             = 70 mm"),
        name + QStringLiteral("focusPositionMin           = 0.500 m"),
        name + QStringLiteral("focusPositionMax           = 70.000 m"),
        name + QStringLiteral("isCentralShutterAvailable  = false"),
        name + QStringLiteral("lensID                     = 0"),
        name + QStringLiteral("selectedFocalLength        = 0 mm"),
        name + QStringLiteral("lensFileVersion            = 0.0.0.0"),
    };
    QCOMPARE(lines, expected);
}

// The lens name reaches the log as printable ASCII.
void tst_Datasets::lensDumpAfterReadOnlyWithFlag()
{
    QByteArray answer(101, '\0');
    answer[0] = char(1);
    memcpy(answer.data() + 1, "Lens\x1b[2J\xe9", 9);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetLensData, answer);
    OLP_Test_LogCapture log;
    {
        OLP_Logic_CameraLens lens(&access);
        QCOMPARE(lens.lensTypeString(), QString::fromLatin1("Lens\x1b[2J\xe9"));
    }
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_CameraLens::dump")), 0);
    setDebugFlags(0x1000, true);
    OLP_Logic_CameraLens lens(&access);
    setDebugFlags(0x1000, false);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_CameraLens::dump for OLP_Logic_CameraLens::recvFromCamera:")), 1);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_CameraLens::dump - lensTypeString             = \"Lens.[2J.\"")), 1);
}

void tst_Datasets::axisLayout_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<bool>("extended");
    QTest::newRow("KestaA") << ProductIdKestaA << false;
    QTest::newRow("KestaD") << ProductIdKestaD << true;
    QTest::newRow("Pelvo") << ProductIdPelvo << true;
    QTest::newRow("Seventh") << ProductIdSeventh << false;
    QTest::newRow("no camera") << 0u << false;
}

// The layout follows the product: reading doubles where the camera sent floats
// (or the other way round) gives nonsense angles.
void tst_Datasets::axisLayout()
{
    QFETCH(quint32, productId);
    QFETCH(bool, extended);
    QByteArray answer(extended ? 213 : 193, '\0');
    if (extended) {
        putDouble(answer, 12, -3.25);
        putDouble(answer, 20, 12.5);
        putDouble(answer, 205, 31.75);
    } else {
        putFloat(answer, 12, -3.25f);
        putFloat(answer, 16, 12.5f);
        putFloat(answer, 189, 31.75f);
    }
    OLP_Test_ScriptedAccess access;
    access.setConnectedProduct(productId);
    access.setAnswer(PTP::OpGet3DAxisData, answer);
    OLP_Logic_Camera3DAxisData axis(&access);
    QCOMPARE(axis.isExtendedLayout(), extended);
    QCOMPARE(axis.imageSize(), extended ? 213u : 193u);
    QCOMPARE(access.lastCall(PTP::OpGet3DAxisData).dataSize, extended ? 213u : 193u);
    QCOMPARE(axis.cameraPitchAngle(), -3.25);
    QCOMPARE(axis.cameraRollAngle(), 12.5);
    QCOMPARE(axis.temperature(), 31.75);

    // A new read replaces the angles.
    if (extended) {
        putDouble(answer, 12, 1.5);
    } else {
        putFloat(answer, 12, 1.5f);
    }
    access.setAnswer(PTP::OpGet3DAxisData, answer);
    axis.recvFromCamera();
    QCOMPARE(axis.cameraPitchAngle(), 1.5);
    QCOMPARE(access.callCount(PTP::OpGet3DAxisData), 2);
}

void tst_Datasets::axisFailedRead()
{
    QByteArray answer(193, '\0');
    putFloat(answer, 16, 45.0f);
    OLP_Test_ScriptedAccess access;
    access.setConnectedProduct(ProductIdKestaB);
    access.setAnswer(PTP::OpGet3DAxisData, answer);
    OLP_Logic_Camera3DAxisData axis(&access);
    QCOMPARE(axis.cameraRollAngle(), 45.0);
    access.setFailure(PTP::OpGet3DAxisData);
    axis.recvFromCamera();
    QCOMPARE(axis.cameraRollAngle(), 0.0);
    QCOMPARE(axis.cameraPitchAngle(), 0.0);
}

void tst_Datasets::axisDumpShowsOnlyItsLayout_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("hexLines");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<QString>("temperature");
    QTest::newRow("standard") << ProductIdKestaA << 13
                              << QStringLiteral("3DAxisData[0000000000C0]: 42") + QString(45, QLatin1Char(' ')) +
                                     QStringLiteral(" B")
                              << QStringLiteral("32.000000");
    QTest::newRow("extended") << ProductIdPelvo << 14
                              << QStringLiteral("3DAxisData[0000000000D0]: 00 00 00 00 42") +
                                     QString(33, QLatin1Char(' ')) + QStringLiteral(" ....B")
                              << QStringLiteral("8589934592.000000");
}

void tst_Datasets::axisDumpShowsOnlyItsLayout()
{
    QFETCH(quint32, productId);
    QFETCH(int, hexLines);
    QFETCH(QString, lastLine);
    QFETCH(QString, temperature);
    const bool extended = productId == ProductIdPelvo;
    QByteArray answer(extended ? 213 : 193, '\0');
    // The last byte is the top byte of the temperature field.
    answer[answer.size() - 1] = 'B';
    if (extended) {
        putDouble(answer, 12, 2.5);
    } else {
        putFloat(answer, 12, 2.5f);
    }
    OLP_Test_ScriptedAccess access;
    access.setConnectedProduct(productId);
    access.setAnswer(PTP::OpGet3DAxisData, answer);
    OLP_Logic_Camera3DAxisData axis(&access);
    OLP_Test_LogCapture log;
    axis.dump("tst");
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 1 + hexLines + 3);
    QCOMPARE(lines.at(0), QStringLiteral("OLP_Logic_Camera3DAxisData::dump for tst:"));
    QCOMPARE(lines.at(hexLines), lastLine);
    QCOMPARE(lines.at(hexLines + 1), QStringLiteral("OLP_Logic_Camera3DAxisData::dump - cameraPitchAngle = 2.500000"));
    QCOMPARE(lines.at(hexLines + 2), QStringLiteral("OLP_Logic_Camera3DAxisData::dump - cameraRollAngle  = 0.000000"));
    QCOMPARE(lines.at(hexLines + 3),
             QStringLiteral("OLP_Logic_Camera3DAxisData::dump - temperature      = ") + temperature);
}

void tst_Datasets::geotackingFields()
{
    QByteArray answer(133, '\0');
    answer[0] = char(0x0A);
    answer[23] = char(11);
    answer[24] = char(35);
    putFloat(answer, 25, 12.5f);
    answer[29] = char(48);
    answer[30] = char(8);
    putFloat(answer, 31, 1.25f);
    answer[59] = char(7);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetGeotackingData, answer);
    OLP_Logic_CameraGeotackingData geo(&access);
    QCOMPARE(access.lastCall(PTP::OpGetGeotackingData).dataSize, 133u);
    QVERIFY(!geo.isMeanFieldDataValid());
    QVERIFY(geo.isTimeValid());
    QVERIFY(!geo.isDateValid());
    QVERIFY(geo.isGPSEnabled());
    QCOMPARE(geo.longitudeDegrees(), 11);
    QCOMPARE(geo.longitudeMinutes(), 35);
    QCOMPARE(geo.longitudeSeconds(), 12.5);
    QCOMPARE(geo.latitudeDegrees(), 48);
    QCOMPARE(geo.latitudeMinutes(), 8);
    QCOMPARE(geo.latitudeSeconds(), 1.25);
    QCOMPARE(geo.numberOfUsedSattelites(), 7);

    access.setFailure(PTP::OpGetGeotackingData);
    geo.recvFromCamera();
    QVERIFY(!geo.isTimeValid());
    QVERIFY(!geo.isGPSEnabled());
    QCOMPARE(geo.numberOfUsedSattelites(), 0);
}

void tst_Datasets::geotackingDump()
{
    QByteArray answer(133, '\0');
    answer[0] = char(0x05);
    answer[23] = char(11);
    answer[24] = char(35);
    putFloat(answer, 25, 12.5f);
    answer[29] = char(48);
    answer[30] = char(8);
    putFloat(answer, 31, 1.25f);
    answer[59] = char(9);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetGeotackingData, answer);
    OLP_Test_LogCapture log;
    setDebugFlags(0x8000, true);
    OLP_Logic_CameraGeotackingData geo(&access);
    setDebugFlags(0x8000, false);
    const QStringList lines = log.lines();
    // Title, 9 hex lines (133 bytes) and 7 field lines.
    QCOMPARE(lines.size(), 1 + 9 + 7);
    QCOMPARE(
        lines.at(0),
        QStringLiteral("OLP_Logic_CameraGeotackingData::dump for OLP_Logic_CameraGeotackingData::recvFromCamera:"));
    const QString name = QStringLiteral("OLP_Logic_CameraGeotackingData::dump - ");
    QCOMPARE(lines.mid(10), QStringList({name + QStringLiteral("isMeanFieldDataValid    = Yes"),
                                         name + QStringLiteral("isTimeValid             = No"),
                                         name + QStringLiteral("isDateValid             = Yes"),
                                         name + QStringLiteral("isGPSEnabled            = No"),
                                         name + QStringLiteral("longitude               = 11 35' 12.500000\""),
                                         name + QStringLiteral("latitude                = 48 8' 1.250000\""),
                                         name + QStringLiteral("numberOfUsedSattelites  = 9")}));
}

void tst_Datasets::streamInfoSize_data()
{
    QTest::addColumn<bool>("fail");
    QTest::addColumn<quint64>("datasetSize");
    QTest::addColumn<QString>("wrongSizeLine");
    QTest::addColumn<quint32>("packetMaxSize");
    const QString line =
        QStringLiteral("OLP_Logic_CameraStreamInfo::recvFromCamera - stream info structure has wrong size ");
    QTest::newRow("36") << false << quint64(36) << QString() << quint32(0x00080000);
    QTest::newRow("40: logged, still used")
        << false << quint64(40) << line + QStringLiteral("40") << quint32(0x00080000);
    // With a 32-bit conversion this size would have been logged as 36.
    QTest::newRow("2^32 + 36") << false << Q_UINT64_C(0x100000024) << line + QStringLiteral("4294967332")
                               << quint32(0x00080000);
    QTest::newRow("failed read") << true << quint64(0) << line + QStringLiteral("0") << quint32(0);
}

void tst_Datasets::streamInfoSize()
{
    QFETCH(bool, fail);
    QFETCH(quint64, datasetSize);
    QFETCH(QString, wrongSizeLine);
    QFETCH(quint32, packetMaxSize);
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetStreamInfo, streamInfo(datasetSize, 1000000));
    access.setFailure(PTP::OpGetStreamInfo, fail);
    OLP_Test_LogCapture log;
    OLP_Logic_CameraStreamInfo info(&access);
    QCOMPARE(access.lastCall(PTP::OpGetStreamInfo).dataSize, 36u);
    QCOMPARE(info.datasetSize(), datasetSize);
    QCOMPARE(info.packetMaxSize(), packetMaxSize);
    if (wrongSizeLine.isEmpty()) {
        QCOMPARE(log.count(QStringLiteral("stream info structure has wrong size")), 0);
    } else {
        QCOMPARE(log.lines().filter(QStringLiteral("wrong size")), QStringList({wrongSizeLine}));
    }
}

void tst_Datasets::streamInfoDump()
{
    OLP_Test_ScriptedAccess access;
    // A time resolution beyond 32 bits: the dump shows the whole 64-bit value.
    access.setAnswer(PTP::OpGetStreamInfo, streamInfo(36, Q_UINT64_C(5000000000)));
    OLP_Logic_CameraStreamInfo info(&access);
    QCOMPARE(info.timeResolution(), Q_UINT64_C(5000000000));
    QCOMPARE(info.frameHeaderSize(), 12u);
    QCOMPARE(info.frameMaxSize(), 0x00100000u);
    QCOMPARE(info.packetHeaderSize(), 8u);
    QCOMPARE(info.packetAlignment(), 4u);
    OLP_Test_LogCapture log;
    info.dump("OLP_Logic_Camera::prepareLiveView");
    const QString name = QStringLiteral("OLP_Logic_CameraStreamInfo::dump - ");
    const QStringList expected = {
        QStringLiteral("OLP_Logic_CameraStreamInfo::dump for OLP_Logic_Camera::prepareLiveView:"),
        QStringLiteral("streamInfo[000000000000]: 24 00 00 00 00 00 00 00 00 F2 05 2A 01 00 00 00 $..........*...."),
        QStringLiteral("streamInfo[000000000010]: 0C 00 00 00 00 00 10 00 08 00 00 00 00 00 08 00 ................"),
        QStringLiteral("streamInfo[000000000020]: 04 00 00 00") + QString(36, QLatin1Char(' ')) +
            QStringLiteral(" ...."),
        name + QStringLiteral("datasetSize      =         36 bytes"),
        name + QStringLiteral("timeResolution   = 5000000000 ns = 5.000000 sec"),
        name + QStringLiteral("frameHeaderSize  =         12 bytes"),
        name + QStringLiteral("frameMaxSize     =    1048576 bytes"),
        name + QStringLiteral("packetHeaderSize =          8 bytes"),
        name + QStringLiteral("packetMaxSize    =     524288 bytes"),
        name + QStringLiteral("packetAlignment  =          4 byte(s)"),
    };
    QCOMPARE(log.lines(), expected);
}

QTEST_GUILESS_MAIN(tst_Datasets)
#include "tst_Datasets.moc"
