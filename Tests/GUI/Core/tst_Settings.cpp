#include <sys/stat.h>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

#include "OLP_GUI_Settings.h"
#include "OLP_GUI_XmlSettingsFormat.h"
#include "OLP_Test_Support.h"

Q_DECLARE_METATYPE(std::optional<QRect>)

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// The keys a file holds, read with the format itself (QSettings would answer from its cache).
QSettings::SettingsMap parseFile(const QString& path, bool* ok)
{
    QSettings::SettingsMap map;
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly) && OLP_GUI_XmlSettingsFormat::readXmlFile(file, map);
    return map;
}

quint64 inodeOf(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? quint64(info.st_ino) : 0;
}

}  // namespace

class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void settingsFilePath_data();
    void settingsFilePath();
    void withoutAppDataTheConfigFolderIsUsed();
    void singleton();
    void firstStartDefaults();
    void valuesStoredUnderTheirKeys();
    void perProductGroups();
    void storedTextConversion_data();
    void storedTextConversion();
    void currentProductComesFromLastRun();
    void corruptFileKeptAndReplaced();
    void secondCorruptionKeepsFirstCopy();
    void savesReplaceTheFileAtomically();
    void windowPositionRoundTrip();
    void windowPositionNotStored_data();
    void windowPositionNotStored();
    void restoredGeometry_data();
    void restoredGeometry();
    void restoredWindowPosition();

private:
    QString filePath() const { return m_appData->path() + "/Orvane Camera AG/OrvaneLumaport3.xml"; }

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_appData;
};

void tst_Settings::initTestCase()
{
    QVERIFY(m_home.isValid());
    // The user's real configuration is never touched.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    olpTestInit();
}

void tst_Settings::init()
{
    m_appData = std::make_unique<QTemporaryDir>();
    QVERIFY(m_appData->isValid());
    qputenv("APPDATA", QFile::encodeName(m_appData->path()));
}

void tst_Settings::cleanup()
{
    OLP_GUI_Settings::destroyInstance();
    m_appData.reset();
}

void tst_Settings::settingsFilePath_data()
{
    QTest::addColumn<QByteArray>("appData");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QByteArray("/data/user") << "/data/user/Orvane Camera AG/OrvaneLumaport3.xml";
    QTest::newRow("trailing slash") << QByteArray("/data/user/") << "/data/user/Orvane Camera AG/OrvaneLumaport3.xml";
}

void tst_Settings::settingsFilePath()
{
    QFETCH(QByteArray, appData);
    QFETCH(QString, expected);
    qputenv("APPDATA", appData);
    QCOMPARE(OLP_GUI_Settings::settingsFilePath(), expected);
}

// Without APPDATA the file would be aimed at "/Orvane Camera AG", which cannot be written.
void tst_Settings::withoutAppDataTheConfigFolderIsUsed()
{
    qunsetenv("APPDATA");
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             "/Orvane Camera AG/OrvaneLumaport3.xml";
    QCOMPARE(OLP_GUI_Settings::settingsFilePath(), expected);
    QVERIFY(expected.startsWith(m_home.path() + '/'));

    OLP_GUI_Settings::instance()->setAutoUpdates(true);
    QCOMPARE(OLP_GUI_Settings::instance()->fileName(), expected);
    OLP_GUI_Settings::destroyInstance();
    bool ok = false;
    QCOMPARE(parseFile(expected, &ok).value("OrvaneLumaport/AutoUpdates").toString(), QStringLiteral("true"));
    QVERIFY(ok);
    QVERIFY(QFile::remove(expected));
}

void tst_Settings::singleton()
{
    QVERIFY(!OLP_GUI_Settings::exists());
    OLP_GUI_Settings* const first = OLP_GUI_Settings::instance();
    QVERIFY(OLP_GUI_Settings::exists());
    QCOMPARE(OLP_GUI_Settings::instance(), first);
    OLP_GUI_Settings::destroyInstance();
    QVERIFY(!OLP_GUI_Settings::exists());
}

void tst_Settings::firstStartDefaults()
{
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    QCOMPARE(settings->fileName(), filePath());
    QCOMPARE(settings->lastProductId(), 0);
    QCOMPARE(settings->isAlwaysOnTop(), true);
    QCOMPARE(settings->isAutoUpdates(), false);
    QCOMPARE(settings->isUnitFeet(), false);
    QCOMPARE(settings->isMinimalControlGUI(), false);
    const OLP_Logic_FolderSettingsRecord record = settings->folderSettings();
    QCOMPARE(record.dngFolder, QString());
    QCOMPARE(record.jpgFolder, QString());
    QCOMPARE(record.pictureName, QString());
    QCOMPARE(record.pictureNumber, 1);
    // Reading alone creates no file.
    QVERIFY(settings->sync());
    QVERIFY(!QFile::exists(filePath()));
}

void tst_Settings::valuesStoredUnderTheirKeys()
{
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(261);
    settings->setAlwaysOnTop(false);
    settings->setAutoUpdates(true);
    settings->setIsUnitFeet(true);
    settings->setIsMinimalControlGUI(true);
    settings->setFolderSettings({"/pictures/raw", "/pictures/jpg", "Shot", 12});
    settings->setWindowPosition("OLP_GUI_QuickView", QRect(10, 60, 640, 480));
    OLP_GUI_Settings::destroyInstance();

    bool ok = false;
    const QSettings::SettingsMap map = parseFile(filePath(), &ok);
    QVERIFY(ok);
    const QSettings::SettingsMap expected{
        {"OrvaneLumaport/LastProductId", "261"},
        {"OrvaneLumaport/AlwaysOnTop", "false"},
        {"OrvaneLumaport/AutoUpdates", "true"},
        {"OrvaneLumaport/IsUnitFeet", "true"},
        {"OrvaneLumaport/ProductId261/IsMinimalControlGUI", "true"},
        {"OrvaneLumaport/ProductId261/FolderSettings/DngPictureFolder", "/pictures/raw"},
        {"OrvaneLumaport/ProductId261/FolderSettings/JpgPictureFolder", "/pictures/jpg"},
        {"OrvaneLumaport/ProductId261/FolderSettings/PictureFileName", "Shot"},
        {"OrvaneLumaport/ProductId261/FolderSettings/PictureNumber", "12"},
        {"OrvaneLumaport/ProductId261/WindowPositions/OLP_GUI_QuickView/x", "10"},
        {"OrvaneLumaport/ProductId261/WindowPositions/OLP_GUI_QuickView/y", "60"},
        {"OrvaneLumaport/ProductId261/WindowPositions/OLP_GUI_QuickView/w", "640"},
        {"OrvaneLumaport/ProductId261/WindowPositions/OLP_GUI_QuickView/h", "480"},
    };
    QCOMPARE(map, expected);
    QVERIFY(readBytes(filePath()).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<OrvaneLumaport>"));

    OLP_GUI_Settings* const again = OLP_GUI_Settings::instance();
    QCOMPARE(again->lastProductId(), 261);
    QCOMPARE(again->isAlwaysOnTop(), false);
    QCOMPARE(again->folderSettings(), (OLP_Logic_FolderSettingsRecord{"/pictures/raw", "/pictures/jpg", "Shot", 12}));
}

void tst_Settings::perProductGroups()
{
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(261);
    settings->setFolderSettings({"/a", "/b", "First", 7});
    settings->setIsMinimalControlGUI(true);

    settings->setLastProductId(262);
    QCOMPARE(settings->currentProductId(), 262);
    QCOMPARE(settings->folderSettings(), OLP_Logic_FolderSettingsRecord());
    QCOMPARE(settings->isMinimalControlGUI(), false);
    settings->setFolderSettings({"/c", "/d", "Second", 99});

    settings->setLastProductId(261);
    QCOMPARE(settings->folderSettings(), (OLP_Logic_FolderSettingsRecord{"/a", "/b", "First", 7}));
    QCOMPARE(settings->isMinimalControlGUI(), true);
}

// Stored texts as a user or an older version may have left them.
void tst_Settings::storedTextConversion_data()
{
    QTest::addColumn<QByteArray>("inner");
    QTest::addColumn<int>("lastProductId");
    QTest::addColumn<bool>("alwaysOnTop");
    QTest::addColumn<int>("pictureNumber");

    QTest::newRow("numbers") << QByteArray(
                                    "<LastProductId>0</LastProductId><ProductId0><FolderSettings>"
                                    "<PictureNumber>42</PictureNumber></FolderSettings></ProductId0>")
                             << 0 << true << 42;
    QTest::newRow("product id not a number") << QByteArray("<LastProductId>abc</LastProductId>") << 0 << true << 1;
    QTest::newRow("picture number not a number")
        << QByteArray(
               "<LastProductId>5</LastProductId><ProductId5><FolderSettings><PictureNumber>x1</PictureNumber>"
               "</FolderSettings></ProductId5>")
        << 5 << true << 1;
    QTest::newRow("negative picture number")
        << QByteArray("<ProductId0><FolderSettings><PictureNumber>-5</PictureNumber></FolderSettings></ProductId0>")
        << 0 << true << 1;
    QTest::newRow("picture number zero")
        << QByteArray("<ProductId0><FolderSettings><PictureNumber>0</PictureNumber></FolderSettings></ProductId0>") << 0
        << true << 1;
    QTest::newRow("bool false") << QByteArray("<AlwaysOnTop>false</AlwaysOnTop>") << 0 << false << 1;
    QTest::newRow("bool 0") << QByteArray("<AlwaysOnTop>0</AlwaysOnTop>") << 0 << false << 1;
    QTest::newRow("bool true") << QByteArray("<AlwaysOnTop>true</AlwaysOnTop>") << 0 << true << 1;
}

void tst_Settings::storedTextConversion()
{
    QFETCH(QByteArray, inner);
    QFETCH(int, lastProductId);
    QFETCH(bool, alwaysOnTop);
    QFETCH(int, pictureNumber);

    writeBytes(filePath(), "<?xml version=\"1.0\"?>\n<OrvaneLumaport>" + inner + "</OrvaneLumaport>\n");
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    QCOMPARE(settings->lastProductId(), lastProductId);
    QCOMPARE(settings->isAlwaysOnTop(), alwaysOnTop);
    QCOMPARE(settings->folderSettings().pictureNumber, pictureNumber);
}

// Before a camera connects, the per-product keys are those of the previous run's camera.
void tst_Settings::currentProductComesFromLastRun()
{
    writeBytes(filePath(),
               "<?xml version=\"1.0\"?>\n<OrvaneLumaport><LastProductId>263</LastProductId>"
               "<ProductId263><IsMinimalControlGUI>true</IsMinimalControlGUI><FolderSettings>"
               "<PictureFileName>Last</PictureFileName></FolderSettings></ProductId263></OrvaneLumaport>");
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    QCOMPARE(settings->currentProductId(), 263);
    QCOMPARE(settings->isMinimalControlGUI(), true);
    QCOMPARE(settings->folderSettings().pictureName, QStringLiteral("Last"));
}

// A file that cannot be parsed must not be silently replaced by the next write.
void tst_Settings::corruptFileKeptAndReplaced()
{
    const QByteArray corrupt =
        "<?xml version=\"1.0\"?>\n<OrvaneLumaport>\n    <AlwaysOnTop>false</AlwaysOnTop>\n    <AutoUpd";
    writeBytes(filePath(), corrupt);

    OLP_Test_LogCapture log;
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    QCOMPARE(settings->isAlwaysOnTop(), true);
    QCOMPARE(settings->isAutoUpdates(), false);
    QCOMPARE(readBytes(filePath() + ".corrupt"), corrupt);
    QVERIFY2(log.contains("OLP_GUI_Settings::keepCorruptFile - settings file " + filePath() +
                          " cannot be read, defaults are used; the file is kept as " + filePath() + ".corrupt"),
             qPrintable(log.lines().join('\n')));

    settings->setAutoUpdates(true);
    QVERIFY(settings->sync());
    OLP_GUI_Settings::destroyInstance();
    bool ok = false;
    const QSettings::SettingsMap map = parseFile(filePath(), &ok);
    QVERIFY(ok);
    QCOMPARE(map, (QSettings::SettingsMap{{"OrvaneLumaport/AutoUpdates", "true"}}));
    QCOMPARE(readBytes(filePath() + ".corrupt"), corrupt);
}

void tst_Settings::secondCorruptionKeepsFirstCopy()
{
    writeBytes(filePath(), "first broken <");
    OLP_GUI_Settings::instance();
    OLP_GUI_Settings::destroyInstance();
    // Another size: QSettings reads a file again only when size or time differ.
    writeBytes(filePath(), "second broken file <<");

    OLP_GUI_Settings::instance();
    QCOMPARE(readBytes(filePath() + ".corrupt"), QByteArray("first broken <"));
    QCOMPARE(readBytes(filePath() + ".corrupt.2"), QByteArray("second broken file <<"));
}

// A new file takes the old one's place in one step, so a crash never leaves half a file.
void tst_Settings::savesReplaceTheFileAtomically()
{
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(261);
    QVERIFY(settings->sync());
    const quint64 before = inodeOf(filePath());
    QVERIFY(before != 0);
    settings->setAlwaysOnTop(false);
    QVERIFY(settings->sync());
    const quint64 after = inodeOf(filePath());
    QVERIFY(after != 0);
    QVERIFY(after != before);
    bool ok = false;
    QCOMPARE(parseFile(filePath(), &ok).value("OrvaneLumaport/AlwaysOnTop").toString(), QStringLiteral("false"));
    QVERIFY(ok);
    QCOMPARE(QDir(QFileInfo(filePath()).absolutePath()).entryList(QDir::Files), QStringList{"OrvaneLumaport3.xml"});
}

void tst_Settings::windowPositionRoundTrip()
{
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(261);
    settings->setWindowPosition("OLP_GUI_LiveView", QRect(-1800, 50, 1024, 768));
    bool ok = false;
    QCOMPARE(settings->windowPosition("OLP_GUI_LiveView", &ok), QRect(-1800, 50, 1024, 768));
    QVERIFY(ok);
    settings->setLastProductId(262);
    settings->windowPosition("OLP_GUI_LiveView", &ok);
    QVERIFY(!ok);
}

void tst_Settings::windowPositionNotStored_data()
{
    QTest::addColumn<QByteArray>("positions");
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("one value missing") << QByteArray("<Win><x>1</x><y>60</y><w>300</w></Win>");
    QTest::newRow("not a number") << QByteArray("<Win><x>1</x><y>sixty</y><w>300</w><h>200</h></Win>");
}

void tst_Settings::windowPositionNotStored()
{
    QFETCH(QByteArray, positions);
    writeBytes(filePath(), "<?xml version=\"1.0\"?>\n<OrvaneLumaport><ProductId0><WindowPositions>" + positions +
                               "</WindowPositions></ProductId0></OrvaneLumaport>");
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    bool ok = true;
    settings->windowPosition("Win", &ok);
    QVERIFY(!ok);
    QCOMPARE(settings->restoredWindowPosition("Win", {QRect(0, 0, 1920, 1080)}), std::optional<QRect>());

    // A window without an object name is neither stored nor read.
    settings->setWindowPosition(QString(), QRect(1, 60, 300, 200));
    settings->windowPosition(QString(), &ok);
    QVERIFY(!ok);
}

void tst_Settings::restoredGeometry_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<std::optional<QRect>>("expected");

    const QRect hd(0, 0, 1920, 1040);
    const QRect right(1920, 0, 1280, 1024);
    QTest::newRow("fits unchanged") << QRect(100, 100, 800, 600) << QList<QRect>{hd}
                                    << std::optional<QRect>(QRect(100, 100, 800, 600));
    QTest::newRow("saved at the right edge of a wider screen")
        << QRect(1700, 200, 800, 600) << QList<QRect>{hd} << std::optional<QRect>(QRect(1120, 200, 800, 600));
    QTest::newRow("bottom below the screen")
        << QRect(100, 700, 800, 600) << QList<QRect>{hd} << std::optional<QRect>(QRect(100, 440, 800, 600));
    QTest::newRow("larger than the screen")
        << QRect(100, 100, 2500, 2000) << QList<QRect>{hd} << std::optional<QRect>(QRect(0, 0, 1920, 1040));
    QTest::newRow("top 44 below the screen top")
        << QRect(100, 44, 800, 600) << QList<QRect>{hd} << std::optional<QRect>(QRect(100, 44, 800, 600));
    QTest::newRow("top within 44 of the screen top")
        << QRect(100, 43, 800, 600) << QList<QRect>{hd} << std::optional<QRect>();
    QTest::newRow("top within 44 of every screen top")
        << QRect(2000, 20, 800, 600) << QList<QRect>{hd, right} << std::optional<QRect>();
    QTest::newRow("panel at the top") << QRect(100, 60, 800, 600) << QList<QRect>{QRect(0, 30, 1920, 1050)}
                                      << std::optional<QRect>();
    QTest::newRow("on the second screen")
        << QRect(2000, 100, 800, 600) << QList<QRect>{hd, right} << std::optional<QRect>(QRect(2000, 100, 800, 600));
    QTest::newRow("moved left into the second screen")
        << QRect(2900, 100, 800, 600) << QList<QRect>{hd, right} << std::optional<QRect>(QRect(2400, 100, 800, 600));
    QTest::newRow("screen removed") << QRect(2500, 100, 800, 600) << QList<QRect>{hd} << std::optional<QRect>();
    QTest::newRow("left of every screen") << QRect(-300, 100, 800, 600) << QList<QRect>{hd} << std::optional<QRect>();
    QTest::newRow("below every screen") << QRect(100, 1100, 800, 600) << QList<QRect>{hd} << std::optional<QRect>();
    QTest::newRow("no screens") << QRect(100, 100, 800, 600) << QList<QRect>{} << std::optional<QRect>();
    QTest::newRow("empty rectangle") << QRect(100, 100, 0, 600) << QList<QRect>{hd} << std::optional<QRect>();
}

void tst_Settings::restoredGeometry()
{
    QFETCH(QRect, stored);
    QFETCH(QList<QRect>, screens);
    QFETCH(std::optional<QRect>, expected);
    QCOMPARE(OLP_GUI_Settings::restoredGeometry(stored, screens), expected);
}

void tst_Settings::restoredWindowPosition()
{
    OLP_GUI_Settings* const settings = OLP_GUI_Settings::instance();
    settings->setWindowPosition("OLP_GUI_NoCamera", QRect(1700, 200, 800, 600));
    QCOMPARE(settings->restoredWindowPosition("OLP_GUI_NoCamera", {QRect(0, 0, 1920, 1040)}),
             std::optional<QRect>(QRect(1120, 200, 800, 600)));
    QCOMPARE(settings->restoredWindowPosition("OLP_GUI_NoCamera", {QRect(0, 0, 1024, 768)}), std::optional<QRect>());
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
