#include <QBuffer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "OLP_GUI_XmlSettingsFormat.h"
#include "OLP_Test_Support.h"

namespace {

QByteArray writeToBytes(const QSettings::SettingsMap& map, bool* ok = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool written = OLP_GUI_XmlSettingsFormat::writeXmlFile(buffer, map);
    if (ok) {
        *ok = written;
    }
    return buffer.data();
}

bool readFromBytes(const QByteArray& bytes, QSettings::SettingsMap* map)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return OLP_GUI_XmlSettingsFormat::readXmlFile(buffer, *map);
}

// Accepts the first limit bytes and then refuses, like a full disk.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        if (m_written + size > m_limit) {
            return -1;
        }
        m_written += size;
        return size;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

}  // namespace

class tst_XmlSettingsFormat : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTrip_data();
    void roundTrip();
    void valuesComeBackAsText();
    void forbiddenCharactersDropped_data();
    void forbiddenCharactersDropped();
    void keysThatCannotBeElementsLeftOut_data();
    void keysThatCannotBeElementsLeftOut();
    void emptyMapWritesNothing();
    void writeErrorReported();
    void malformedRejected_data();
    void malformedRejected();
    void textInSeveralPiecesIsOneValue();
    void xmllintAcceptsWrittenFile();

private:
    bool m_registeredBeforeMain = false;
};

void tst_XmlSettingsFormat::initTestCase()
{
    // Nothing in this program has asked for the format yet: only the static
    // initialiser can have registered it.
    m_registeredBeforeMain = OLP_GUI_XmlSettingsFormat::isRegistered();
    olpTestInit();
    QVERIFY(m_registeredBeforeMain);
    QVERIFY(OLP_GUI_XmlSettingsFormat::format() != QSettings::InvalidFormat);
    QVERIFY(OLP_GUI_XmlSettingsFormat::format() >= QSettings::CustomFormat1);
}

// Written document (exact bytes after the declaration line) and the keys read back.
void tst_XmlSettingsFormat::roundTrip_data()
{
    QTest::addColumn<QVariantMap>("keys");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QVariantMap>("readBack");

    QTest::newRow("shared prefix") << QVariantMap{{"A/B", "1"}, {"A/D", "2"}}
                                   << "<A>\n    <B>1</B>\n    <D>2</D>\n</A>\n"
                                   << QVariantMap{{"A/B", "1"}, {"A/D", "2"}};
    QTest::newRow("integer component") << QVariantMap{{"A/0", "x"}, {"A/12/B", "y"}}
                                       << "<A>\n    <arrayElement_0>x</arrayElement_0>\n"
                                          "    <arrayElement_12>\n        <B>y</B>\n    </arrayElement_12>\n</A>\n"
                                       << QVariantMap{{"A/0", "x"}, {"A/12/B", "y"}};
    QTest::newRow("value and children") << QVariantMap{{"A", "1"}, {"A/B", "2"}} << "<A>1<B>2</B>\n</A>\n"
                                        << QVariantMap{{"A", "1"}, {"A/B", "2"}};
    QTest::newRow("whitespace-only value is lost")
        << QVariantMap{{"A/B", "  \t"}, {"A/C", "x"}} << "<A>\n    <B>  \t</B>\n    <C>x</C>\n</A>\n"
        << QVariantMap{{"A/C", "x"}};
    QTest::newRow("chains closed and reopened")
        << QVariantMap{{"A/B/C", "1"}, {"A/B/D", "2"}, {"A/E", "3"}, {"A/F/G", "4"}}
        << "<A>\n    <B>\n        <C>1</C>\n        <D>2</D>\n    </B>\n    <E>3</E>\n"
           "    <F>\n        <G>4</G>\n    </F>\n</A>\n"
        << QVariantMap{{"A/B/C", "1"}, {"A/B/D", "2"}, {"A/E", "3"}, {"A/F/G", "4"}};
    QTest::newRow("markup characters") << QVariantMap{{"A/B", "<a & b> \"c\""}}
                                       << "<A>\n    <B>&lt;a &amp; b&gt; &quot;c&quot;</B>\n</A>\n"
                                       << QVariantMap{{"A/B", "<a & b> \"c\""}};
    QTest::newRow("non-ASCII and surrogate pair")
        << QVariantMap{{"A/Ordner", QString::fromUtf8("/home/jø/Bilder \xF0\x9F\x93\xB7")}}
        << QString::fromUtf8("<A>\n    <Ordner>/home/jø/Bilder \xF0\x9F\x93\xB7</Ordner>\n</A>\n")
        << QVariantMap{{"A/Ordner", QString::fromUtf8("/home/jø/Bilder \xF0\x9F\x93\xB7")}};
}

void tst_XmlSettingsFormat::roundTrip()
{
    QFETCH(QVariantMap, keys);
    QFETCH(QString, body);
    QFETCH(QVariantMap, readBack);

    bool ok = false;
    const QByteArray bytes = writeToBytes(keys, &ok);
    QVERIFY(ok);
    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    QVERIFY2(bytes.startsWith(declaration), bytes.constData());
    QCOMPARE(QString::fromUtf8(bytes.mid(declaration.size())), body);

    QSettings::SettingsMap map;
    QVERIFY(readFromBytes(bytes, &map));
    QCOMPARE(map, readBack);
}

// Booleans and integers are stored as text and every value comes back as a QString.
void tst_XmlSettingsFormat::valuesComeBackAsText()
{
    const QSettings::SettingsMap keys{{"A/On", true}, {"A/Off", false}, {"A/Number", -42}, {"A/Big", 123456}};
    const QByteArray bytes = writeToBytes(keys);
    QVERIFY(bytes.contains("<On>true</On>"));
    QVERIFY(bytes.contains("<Off>false</Off>"));
    QVERIFY(bytes.contains("<Number>-42</Number>"));

    QSettings::SettingsMap map;
    QVERIFY(readFromBytes(bytes, &map));
    QCOMPARE(map.size(), 4);
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        QCOMPARE(int(it.value().userType()), int(QMetaType::QString));
    }
    QCOMPARE(map.value("A/On").toString(), QStringLiteral("true"));
    QCOMPARE(map.value("A/On").toBool(), true);
    QCOMPARE(map.value("A/Off").toBool(), false);
    QCOMPARE(map.value("A/Number").toInt(), -42);
    QCOMPARE(map.value("A/Big").toInt(), 123456);
}

// A control character from a pasted name would otherwise make the whole file unreadable.
void tst_XmlSettingsFormat::forbiddenCharactersDropped_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("escape") << QString("Pic\x1B[0mture") << QString("Pic[0mture");
    QTest::newRow("bell and NUL") << QString::fromUtf16(u"a\u0007b\u0000c", 5) << QString("abc");
    QTest::newRow("U+FFFE and U+FFFF") << QString::fromUtf16(u"x\uFFFEy\uFFFFz") << QString("xyz");
    QTest::newRow("lone high surrogate") << (QString("ab") + QChar(0xD83D) + QString("c")) << QString("abc");
    QTest::newRow("lone low surrogate") << (QChar(0xDCA9) + QString("abc")) << QString("abc");
    QTest::newRow("tab and line feed stay") << QString("a\tb\nc") << QString("a\tb\nc");
}

void tst_XmlSettingsFormat::forbiddenCharactersDropped()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);

    OLP_Test_LogCapture log;
    bool ok = false;
    const QByteArray bytes = writeToBytes({{"A/Name", value}, {"A/Other", "kept"}}, &ok);
    QVERIFY(ok);
    QSettings::SettingsMap map;
    QVERIFY2(readFromBytes(bytes, &map), bytes.constData());
    QCOMPARE(map.value("A/Name").toString(), expected);
    QCOMPARE(map.value("A/Other").toString(), QStringLiteral("kept"));
    QCOMPARE(log.count("OLP_GUI_XmlSettingsFormat::writeXmlFile - "), value == expected ? 0 : 1);
}

// Keys that cannot become well-formed elements are left out instead of breaking the file.
void tst_XmlSettingsFormat::keysThatCannotBeElementsLeftOut_data()
{
    QTest::addColumn<QString>("badKey");
    QTest::addColumn<QString>("logText");

    QTest::newRow("space in name") << "A/Main Window/x"
                                   << "left out: A/Main Window/x";
    QTest::newRow("digit first, not a number") << "A/3D/x"
                                               << "left out: A/3D/x";
    QTest::newRow("colon") << "A/x:y"
                           << "left out: A/x:y";
    QTest::newRow("plus sign number") << "A/+3"
                                      << "left out: A/+3";
    QTest::newRow("empty component") << "A//B"
                                     << "left out: A//B";
    QTest::newRow("second root") << "Z/Other"
                                 << "key outside the root element A, left out: Z/Other";
    QTest::newRow("lone root sorted first") << "0/B"
                                            << "key outside the root element A, left out: 0/B";
}

void tst_XmlSettingsFormat::keysThatCannotBeElementsLeftOut()
{
    QFETCH(QString, badKey);
    QFETCH(QString, logText);

    OLP_Test_LogCapture log;
    const QSettings::SettingsMap keys{{"A/B", "1"}, {"A/C/D", "2"}, {badKey, "bad"}};
    bool ok = false;
    const QByteArray bytes = writeToBytes(keys, &ok);
    QVERIFY(ok);
    QSettings::SettingsMap map;
    QVERIFY2(readFromBytes(bytes, &map), bytes.constData());
    QCOMPARE(map, (QSettings::SettingsMap{{"A/B", "1"}, {"A/C/D", "2"}}));
    QVERIFY2(log.contains(logText), qPrintable(log.lines().join('\n')));
}

// A document without a root element would be malformed; an empty file reads as empty settings.
void tst_XmlSettingsFormat::emptyMapWritesNothing()
{
    bool ok = false;
    QCOMPARE(writeToBytes({}, &ok), QByteArray());
    QVERIFY(ok);
    QCOMPARE(writeToBytes({{"A/B c", "1"}}, &ok), QByteArray());
    QVERIFY(ok);
}

// QSettings must not replace the file with a half-written one.
void tst_XmlSettingsFormat::writeErrorReported()
{
    OLP_Test_LogCapture log;
    FailingDevice device(20);
    QSettings::SettingsMap keys;
    for (int i = 0; i < 50; ++i) {
        keys.insert(QStringLiteral("A/Key%1").arg(i), i);
    }
    QVERIFY(!OLP_GUI_XmlSettingsFormat::writeXmlFile(device, keys));
    QVERIFY(log.contains("OLP_GUI_XmlSettingsFormat::writeXmlFile - writing the settings failed"));
}

void tst_XmlSettingsFormat::malformedRejected_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("truncated") << QByteArray("<?xml version=\"1.0\"?>\n<A>\n    <B>1</B>\n    <C>2</");
    QTest::newRow("mismatched tags") << QByteArray("<A><B>1</C></A>");
    QTest::newRow("two roots") << QByteArray("<A><B>1</B></A><Z><Y>2</Y></Z>");
    QTest::newRow("not XML") << QByteArray("[OrvaneLumaport]\nAlwaysOnTop=true\n");
    QTest::newRow("control character") << QByteArray("<A><B>a\x01b</B></A>");
}

void tst_XmlSettingsFormat::malformedRejected()
{
    QFETCH(QByteArray, bytes);
    OLP_Test_LogCapture log;
    QSettings::SettingsMap map;
    QVERIFY(!readFromBytes(bytes, &map));
    QCOMPARE(log.count("OLP_GUI_XmlSettingsFormat::readXmlFile - "), 1);
}

// Character data split by a CDATA section or a comment is still one value.
void tst_XmlSettingsFormat::textInSeveralPiecesIsOneValue()
{
    QSettings::SettingsMap map;
    QVERIFY(readFromBytes("<A><B>x<![CDATA[<y>]]>z</B><C>1<!-- note -->2</C></A>", &map));
    QCOMPARE(map, (QSettings::SettingsMap{{"A/B", "x<y>z"}, {"A/C", "12"}}));
}

// A file QSettings wrote through the format is well-formed for a standard XML tool too.
void tst_XmlSettingsFormat::xmllintAcceptsWrittenFile()
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty()) {
        QSKIP("xmllint (package libxml2-utils) is not installed");
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("settings.xml"));
    {
        QSettings settings(path, OLP_GUI_XmlSettingsFormat::format());
        settings.setValue("/OrvaneLumaport/LastProductId", 261);
        settings.setValue("/OrvaneLumaport/AlwaysOnTop", true);
        settings.setValue("/OrvaneLumaport/ProductId261/FolderSettings/DngPictureFolder",
                          QString("/home/user/Raw\x02 & <old>"));
        settings.setValue("/OrvaneLumaport/ProductId261/FolderSettings/PictureFileName", QString("Pic\x1F"));
        settings.setValue("/OrvaneLumaport/ProductId261/WindowPositions/OLP_GUI_LiveView/x", -1200);
        settings.setValue("/OrvaneLumaport/ProductId261/Profiles/0/Name", "first");
        settings.setValue("/OrvaneLumaport/ProductId261", "value beside children");
        settings.setValue("/OrvaneLumaport/Window Without Valid Name/x", 1);
        settings.sync();
        QCOMPARE(settings.status(), QSettings::NoError);
    }
    QProcess lint;
    lint.start(xmllint, {QStringLiteral("--noout"), path});
    QVERIFY(lint.waitForFinished(olpTimeout(30000)));
    QCOMPARE(lint.exitStatus(), QProcess::NormalExit);
    QVERIFY2(lint.exitCode() == 0, lint.readAllStandardError().constData());

    // Read the file itself: another QSettings in this process would answer from its cache.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QSettings::SettingsMap map;
    QVERIFY(OLP_GUI_XmlSettingsFormat::readXmlFile(file, map));
    QCOMPARE(map.value("OrvaneLumaport/LastProductId").toInt(), 261);
    QCOMPARE(map.value("OrvaneLumaport/ProductId261/FolderSettings/DngPictureFolder").toString(),
             QStringLiteral("/home/user/Raw & <old>"));
    QCOMPARE(map.value("OrvaneLumaport/ProductId261/FolderSettings/PictureFileName").toString(), QStringLiteral("Pic"));
    QCOMPARE(map.value("OrvaneLumaport/ProductId261/WindowPositions/OLP_GUI_LiveView/x").toInt(), -1200);
    QCOMPARE(map.value("OrvaneLumaport/ProductId261/Profiles/0/Name").toString(), QStringLiteral("first"));
    QCOMPARE(map.value("OrvaneLumaport/ProductId261").toString(), QStringLiteral("value beside children"));
    QVERIFY(!map.contains("OrvaneLumaport/Window Without Valid Name/x"));
}

QTEST_GUILESS_MAIN(tst_XmlSettingsFormat)
#include "tst_XmlSettingsFormat.moc"
