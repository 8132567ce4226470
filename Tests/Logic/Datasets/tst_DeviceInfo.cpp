#include <QtTest>

#include "OLP_Commu_CameraAccess_Dummy.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Debug.h"
#include "OLP_Logic_DeviceInfo.h"
#include "OLP_Test_ScriptedAccess.h"
#include "OLP_Test_Support.h"

namespace {

// Builds DeviceInfo answers byte by byte, including ones a sane camera would
// never send.
class DatasetBuilder
{
public:
    DatasetBuilder& u8(quint8 value)
    {
        m_data.append(char(value));
        return *this;
    }
    DatasetBuilder& u16(quint16 value) { return u8(quint8(value & 0xFF)).u8(quint8(value >> 8)); }
    DatasetBuilder& u32(quint32 value) { return u16(quint16(value & 0xFFFF)).u16(quint16(value >> 16)); }
    DatasetBuilder& string(const QString& text)
    {
        u8(quint8(text.size() + 1));
        for (const QChar c : text) {
            u16(c.unicode());
        }
        return u16(0);
    }
    DatasetBuilder& array(const QVector<quint16>& codes)
    {
        u32(quint32(codes.size()));
        for (const quint16 code : codes) {
            u16(code);
        }
        return *this;
    }
    // StandardVersion, vendor fields and the given VendorExtensionDesc, FunctionalMode.
    DatasetBuilder& header(const QString& vendorDesc = QString(), quint16 functionalMode = 0)
    {
        u16(100).u32(6).u16(110);
        if (vendorDesc.isEmpty()) {
            u8(0);
        } else {
            string(vendorDesc);
        }
        return u16(functionalMode);
    }
    DatasetBuilder& padTo(int size)
    {
        m_data.append(QByteArray(size - m_data.size(), '\0'));
        return *this;
    }
    int size() const { return m_data.size(); }
    QByteArray bytes() const { return m_data; }

private:
    QByteArray m_data;
};

QByteArray regularDataset(const QString& vendorDesc = QString())
{
    return DatasetBuilder()
        .header(vendorDesc, 0x8001)
        .array({0x1001, 0x1014, 0x9003})
        .array({0x4009, 0xC00A})
        .array({0x5005, 0x500A, 0xD65F})
        .array({0x3801})
        .array({0x3801, 0x3000})
        .string(QStringLiteral("Orvane Camera AG"))
        .string(QStringLiteral("Kesta D"))
        .string(QStringLiteral("2.0.1"))
        .string(QStringLiteral("0000000012345"))
        .bytes();
}

}  // namespace

// Device information: the strings and lists read from the simulated camera and
// from hand-built answers, the walk's bounds against hostile counts, and the dump.
class tst_DeviceInfo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fromSimulatedCamera();
    void regularAnswer();
    void vendorDescriptionIsSkipped();
    void failedReadLeavesNothing();
    void emptyStrings();
    void hostileCounts_data();
    void hostileCounts();
    void datasetFillingTheBufferExactly();
    void reReadForgetsOldAnswer();
    void dumpLines();
    void dumpAfterReadOnlyWithFlag();
    void dumpShowsPrintableAscii();
};

void tst_DeviceInfo::initTestCase()
{
    olpTestInit();
    setDebugFlags(0xFFFFFFFF, false);
}

void tst_DeviceInfo::fromSimulatedCamera()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    OLP_Logic_DeviceInfo info(&dummy);
    QCOMPARE(info.manufacturer(), QStringLiteral("Orvane Dummy AG"));
    QCOMPARE(info.model(), QStringLiteral("Kesta2 Digital SLR Dummy"));
    QCOMPARE(info.deviceVersion(), QStringLiteral("01.02.03.04"));
    QCOMPARE(info.serialNumber(), QStringLiteral("0000000001200345"));
    QVERIFY(info.isDevicePropSupported(0));
    QVERIFY(!info.isDevicePropSupported(0x5005));
    QCOMPARE(info.operationsSupported(), QVector<quint16>(24, 0));
    QCOMPARE(info.eventsSupported(), QVector<quint16>(12, 0));
    QCOMPARE(info.captureFormats(), QVector<quint16>(3, 0));
    QCOMPARE(info.imageFormats(), QVector<quint16>(3, 0));
}

void tst_DeviceInfo::regularAnswer()
{
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetDeviceInfo, regularDataset());
    OLP_Logic_DeviceInfo info(&access);
    // The dataset is read with the whole 2048-byte buffer.
    QCOMPARE(access.lastCall(PTP::OpGetDeviceInfo).dataSize, 2048u);
    QCOMPARE(info.model(), QStringLiteral("Kesta D"));
    QCOMPARE(info.serialNumber(), QStringLiteral("0000000012345"));
    QVERIFY(info.isDevicePropSupported(0xD65F));
    QVERIFY(info.isDevicePropSupported(0x5005));
    QVERIFY(!info.isDevicePropSupported(0x5013));
    QVERIFY(info.isOperationSupported(0x9003));
    QVERIFY(!info.isOperationSupported(0x9004));
    QVERIFY(info.isEventSupported(0xC00A));
    QVERIFY(!info.isEventSupported(0xC002));
    QCOMPARE(info.imageFormats(), QVector<quint16>({0x3801, 0x3000}));
}

// A description walked over as if it were empty would shift every field after it.
void tst_DeviceInfo::vendorDescriptionIsSkipped()
{
    OLP_Test_LogCapture log;
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetDeviceInfo, regularDataset(QStringLiteral("orvane.com: 1.0")));
    OLP_Logic_DeviceInfo info(&access);
    QCOMPARE(info.manufacturer(), QStringLiteral("Orvane Camera AG"));
    QCOMPARE(info.model(), QStringLiteral("Kesta D"));
    QVERIFY(info.isOperationSupported(0x1014));
    QVERIFY(info.isDevicePropSupported(0xD65F));

    info.dump("tst");
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_DeviceInfo::dump - vendorExtensionDescSize = 16")));
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_DeviceInfo::dump - functionalMode          = 32769")));
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_DeviceInfo::dump - operationsSupported     = # 3")));
}

void tst_DeviceInfo::failedReadLeavesNothing()
{
    OLP_Test_ScriptedAccess access;
    access.setFailure(PTP::OpGetDeviceInfo);
    OLP_Logic_DeviceInfo info(&access);
    QVERIFY(info.model().isEmpty());
    QVERIFY(info.manufacturer().isEmpty());
    QVERIFY(info.serialNumber().isEmpty());
    QVERIFY(info.deviceVersion().isEmpty());
    // The zeroed buffer must not read as "property 0 supported".
    QVERIFY(!info.isDevicePropSupported(0));
    QVERIFY(!info.isOperationSupported(0));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(info.buffer()), 2048), QByteArray(2048, '\0'));
}

// Count byte 1 is the terminator alone; count byte 0 is the empty string too.
void tst_DeviceInfo::emptyStrings()
{
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetDeviceInfo, DatasetBuilder()
                                               .header()
                                               .array({})
                                               .array({})
                                               .array({})
                                               .array({})
                                               .array({})
                                               .u8(1)
                                               .u16(0)
                                               .u8(0)
                                               .string(QStringLiteral("v"))
                                               .u8(1)
                                               .u16(0)
                                               .bytes());
    OLP_Logic_DeviceInfo info(&access);
    QVERIFY(!info.manufacturer().isNull());
    QVERIFY(info.manufacturer().isEmpty());
    QVERIFY(!info.model().isNull());
    QVERIFY(info.model().isEmpty());
    QCOMPARE(info.deviceVersion(), QStringLiteral("v"));
    QVERIFY(info.serialNumber().isEmpty());
    QVERIFY(!info.isDevicePropSupported(0));
}

void tst_DeviceInfo::hostileCounts_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("presentLists");    // leading lists that are present
    QTest::addColumn<int>("presentStrings");  // leading strings that are present

    QTest::newRow("operations count 0xFFFFFFFF") << DatasetBuilder().header().u32(0xFFFFFFFF).bytes() << 0 << 0;
    QTest::newRow("property count 0xFFFFFFFF")
        << DatasetBuilder().header().array({1}).array({2}).u32(0xFFFFFFFF).u16(0x5005).bytes() << 2 << 0;
    QTest::newRow("image formats one past the end")
        << DatasetBuilder().header().array({}).array({}).array({}).array({}).u32((2048 - 11 - 16 - 4) / 2 + 1).bytes()
        << 4 << 0;
    QTest::newRow("operations count as large as 2048") << DatasetBuilder().header().u32(2048).bytes() << 0 << 0;
    QTest::newRow("vendor description longer than the lists")
        << DatasetBuilder().header().bytes().replace(8, 1, QByteArray(1, char(0xFF))) << 5 << 4;

    // Lists that end 3 bytes before the end: the first string's count byte fits
    // but its units run past the buffer.
    DatasetBuilder longString;
    longString.header().array({}).array({}).array({}).array({});
    longString.u32((2048 - longString.size() - 4 - 3) / 2);
    longString.padTo(2045).u8(200).u16('A');
    QTest::newRow("manufacturer runs past the end") << longString.bytes() << 5 << 0;

    DatasetBuilder lastString;
    lastString.header().array({}).array({}).array({}).array({});
    lastString.u32((2048 - lastString.size() - 4 - 100) / 2);
    lastString.padTo(1947).string(QStringLiteral("Orvane")).string(QStringLiteral("Kesta"));
    lastString.string(QStringLiteral("1"));
    lastString.u8(0xFF);
    QTest::newRow("serial number runs past the end") << lastString.bytes() << 5 << 3;
}

// No count sent by the camera may take the walk outside the 2048-byte buffer;
// the field that does not fit and every field after it stay absent (null).
void tst_DeviceInfo::hostileCounts()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, presentLists);
    QFETCH(int, presentStrings);
    QVERIFY(answer.size() <= 2048);

    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetDeviceInfo, answer);
    OLP_Logic_DeviceInfo info(&access);

    const QVector<QVector<quint16>> lists = {info.operationsSupported(), info.eventsSupported(),
                                             info.devicePropertiesSupported(), info.captureFormats(),
                                             info.imageFormats()};
    for (int i = presentLists; i < lists.size(); ++i) {
        QVERIFY2(lists.at(i).isEmpty(), qPrintable(QStringLiteral("list %1 should be absent").arg(i)));
    }
    const QStringList strings = {info.manufacturer(), info.model(), info.deviceVersion(), info.serialNumber()};
    for (int i = 0; i < strings.size(); ++i) {
        QCOMPARE(strings.at(i).isNull(), i >= presentStrings);
    }
    if (presentLists <= 2) {
        QVERIFY(!info.isDevicePropSupported(0x5005));
        QVERIFY(!info.isDevicePropSupported(0));
    }
    // Walking the same buffer in the dump must stay inside it as well.
    OLP_Test_LogCapture log;
    info.dump("tst");
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_DeviceInfo::dump - standardVersion         = 100")));
}

// A well-formed DeviceInfo always has an odd length, so the longest one that
// fits ends at byte 2047. Its last string is present; one unit more is not.
void tst_DeviceInfo::datasetFillingTheBufferExactly()
{
    DatasetBuilder builder;
    builder.header().array({0x1001}).array({}).array({0xD65F});
    builder.array(QVector<quint16>(992, 0x3801)).array({});
    builder.string(QStringLiteral("M")).string(QStringLiteral("K")).string(QStringLiteral("1"));
    const int serialOffset = builder.size();
    builder.string(QStringLiteral("77777"));
    QCOMPARE(builder.size(), 2047);

    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetDeviceInfo, builder.bytes());
    OLP_Logic_DeviceInfo info(&access);
    QCOMPARE(info.serialNumber(), QStringLiteral("77777"));
    QCOMPARE(info.captureFormats().size(), 992);
    QVERIFY(info.isDevicePropSupported(0xD65F));

    QByteArray longer = builder.bytes();
    longer[serialOffset] = char(7);
    access.setAnswer(PTP::OpGetDeviceInfo, longer);
    info.recvFromCamera();
    QCOMPARE(info.deviceVersion(), QStringLiteral("1"));
    QVERIFY(info.serialNumber().isNull());
}

void tst_DeviceInfo::reReadForgetsOldAnswer()
{
    OLP_Test_ScriptedAccess access;
    access.setAnswer(PTP::OpGetDeviceInfo, regularDataset());
    OLP_Logic_DeviceInfo info(&access);
    QCOMPARE(info.model(), QStringLiteral("Kesta D"));
    access.setFailure(PTP::OpGetDeviceInfo);
    info.recvFromCamera();
    QVERIFY(info.model().isNull());
    QVERIFY(!info.isDevicePropSupported(0xD65F));
}

void tst_DeviceInfo::dumpLines()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    OLP_Logic_DeviceInfo info(&dummy);
    OLP_Test_LogCapture log;
    info.dump("OLP_Logic_Camera::init");
    const QStringList lines = log.lines();

    QCOMPARE(lines.value(0), QStringLiteral("OLP_Logic_DeviceInfo::dump for OLP_Logic_Camera::init:"));
    QCOMPARE(lines.value(1), QStringLiteral("deviceInfo[000000000000]: 64 00 00 00 00 00 00 00 00 00 00 18 00 00 "
                                            "00 00 d..............."));
    QCOMPARE(lines.value(16), QStringLiteral("deviceInfo[0000000000F0]: 00 30 00 30 00 31 00 32 00 30 00 30 00 "
                                             "33 00 34 .0.0.1.2.0.0.3.4"));
    QCOMPARE(lines.value(17), QStringLiteral("deviceInfo[000000000100]: ..."));
    const QStringList expected = {
        QStringLiteral("OLP_Logic_DeviceInfo::dump - standardVersion         = 100"),
        QStringLiteral("OLP_Logic_DeviceInfo::dump - vendorExtensionID       = 0"),
        QStringLiteral("OLP_Logic_DeviceInfo::dump - vendorExtensionVersion  = 0"),
        QStringLiteral("OLP_Logic_DeviceInfo::dump - vendorExtensionDescSize = 0"),
        QStringLiteral("OLP_Logic_DeviceInfo::dump - functionalMode          = 0"),
        QStringLiteral("OLP_Logic_DeviceInfo::dump - operationsSupported     = #24"),
    };
    QCOMPARE(lines.mid(18, expected.size()), expected);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - operationsSupported     : 0x0000")), 24);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - eventsSupported         = #12")), 1);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - devicePropsSupported    = # 1")), 1);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - devicePropsSupported    : 0x0000")), 1);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - captureFormats          = # 3")), 1);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - imageFormats            : 0x0000")), 3);
    QCOMPARE(lines.mid(lines.size() - 4),
             QStringList(
                 {QStringLiteral("OLP_Logic_DeviceInfo::dump - manufacturer            = \"Orvane Dummy AG\""),
                  QStringLiteral("OLP_Logic_DeviceInfo::dump - model                   = \"Kesta2 Digital SLR Dummy\""),
                  QStringLiteral("OLP_Logic_DeviceInfo::dump - deviceVersion           = \"01.02.03.04\""),
                  QStringLiteral("OLP_Logic_DeviceInfo::dump - serialNumber            = \"0000000001200345\"")}));
    // 18 dump lines, 5 header lines, 5 counts, 24 + 12 + 1 + 3 + 3 codes, 4 strings.
    QCOMPARE(lines.size(), 18 + 5 + 5 + 43 + 4);
}

void tst_DeviceInfo::dumpAfterReadOnlyWithFlag()
{
    OLP_Commu_CameraAccess_Dummy dummy;
    OLP_Test_LogCapture log;
    {
        OLP_Logic_DeviceInfo info(&dummy);
        QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump")), 0);
    }
    setDebugFlags(0x200, true);
    OLP_Logic_DeviceInfo info(&dummy);
    setDebugFlags(0x200, false);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump for OLP_Logic_DeviceInfo::recvFromCamera:")), 1);
    QCOMPARE(log.count(QStringLiteral("OLP_Logic_DeviceInfo::dump - model                   = ")), 1);
}

// Camera strings reach the log as printable ASCII only: a control character
// or a byte beyond ASCII must not end up raw in the log file.
void tst_DeviceInfo::dumpShowsPrintableAscii()
{
    OLP_Test_ScriptedAccess access;
    QString model = QStringLiteral("K\nD");
    model.append(QChar(0x00E9)).append(QChar(0x4E2D)).append(QChar(0x1B));
    access.setAnswer(PTP::OpGetDeviceInfo, DatasetBuilder()
                                               .header()
                                               .array({})
                                               .array({})
                                               .array({})
                                               .array({})
                                               .array({})
                                               .string(QStringLiteral("M"))
                                               .string(model)
                                               .bytes());
    OLP_Logic_DeviceInfo info(&access);
    QCOMPARE(info.model(), model);
    OLP_Test_LogCapture log;
    info.dump("tst");
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_DeviceInfo::dump - model                   = \"K.D.?.\"")));
}

QTEST_GUILESS_MAIN(tst_DeviceInfo)
#include "tst_DeviceInfo.moc"
