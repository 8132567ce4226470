#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <memory>
#include <set>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Test_Support.h"

using Kind = OLP_Logic_FolderSettings::ePictureKind;
Q_DECLARE_METATYPE(OLP_Logic_FolderSettings::ePictureKind)

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class tst_FolderSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void defaultFolder();
    void constructedState();
    void example_data();
    void example();
    void sameValueEmitsNothing_data();
    void sameValueEmitsNothing();
    void backslashSeparators();
    void numberBelowOneRefused_data();
    void numberBelowOneRefused();
    void unsafeNameRefused_data();
    void unsafeNameRefused();
    void load_data();
    void load();
    void loadDumpsWithFlag2048();
    void incrementPictureNumber();

    void naming_data();
    void naming();
    void pairNumbering_data();
    void pairNumbering();
    void existingFilesGetSuffix_data();
    void existingFilesGetSuffix();
    void missingFolderFallsBack_data();
    void missingFolderFallsBack();
    void namingWhileSettingsChange();

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dng;
    QString m_jpg;
};

void tst_FolderSettings::initTestCase()
{
    QVERIFY(m_home.isValid());
    // The default picture folder lands in a throw-away home, not in the user's pictures.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    olpTestInit();
}

void tst_FolderSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dng = m_dir->path() + "/raw";
    m_jpg = m_dir->path() + "/jpg";
    QVERIFY(QDir().mkpath(m_dng));
    QVERIFY(QDir().mkpath(m_jpg));
}

void tst_FolderSettings::defaultFolder()
{
    const QString folder = OLP_Logic_FolderSettings::defaultPictureFolder();
    QVERIFY2(folder.startsWith(m_home.path() + '/'), qPrintable(folder));
    QVERIFY(QDir(folder).exists());
    // A platform without a pictures location must not send pictures to the root folder.
    QCOMPARE(OLP_Logic_FolderSettings::defaultFolderFor(QString()), QDir::homePath());
    QCOMPARE(OLP_Logic_FolderSettings::defaultFolderFor("/media/pictures"), QStringLiteral("/media/pictures"));
}

void tst_FolderSettings::constructedState()
{
    OLP_Logic_FolderSettings settings;
    const QString folder = QDir::toNativeSeparators(OLP_Logic_FolderSettings::defaultPictureFolder());
    QCOMPARE(settings.dngPath(), folder);
    QCOMPARE(settings.jpgPath(), folder);
    QCOMPARE(settings.pictureIndex(), 1);
    QCOMPARE(settings.pictureName(), QString());
    QCOMPARE(settings.pictureExampleFileName(), QString());
    QCOMPARE(settings.exampleIsDng(), false);
}

void tst_FolderSettings::example_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("isDng");
    QTest::addColumn<QString>("expected");

    QTest::newRow("JPG") << "Picture" << 7 << false << "/pictures/jpg/Picture00007.JPG";
    QTest::newRow("DNG") << "Picture" << 7 << true << "/pictures/raw/Picture00007.DNG";
    QTest::newRow("five digits") << "Picture" << 99999 << false << "/pictures/jpg/Picture99999.JPG";
    QTest::newRow("six digits shown in full") << "Picture" << 123456 << false << "/pictures/jpg/Picture123456.JPG";
    QTest::newRow("name with space") << "Studio A " << 42 << true << "/pictures/raw/Studio A 00042.DNG";
}

void tst_FolderSettings::example()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QFETCH(bool, isDng);
    QFETCH(QString, expected);

    OLP_Logic_FolderSettings settings;
    settings.setDngPath("/pictures/raw");
    settings.setJpgPath("/pictures/jpg");
    settings.setPictureName(name);
    QVERIFY(settings.setPictureIndex(number));
    settings.setExampleIsDng(isDng);
    QCOMPARE(settings.pictureExampleFileName(), QDir::toNativeSeparators(expected));
}

// Each setter recomputes and signals only when the value changes.
void tst_FolderSettings::sameValueEmitsNothing_data()
{
    QTest::addColumn<QString>("setter");
    QTest::newRow("dng folder") << "dng";
    QTest::newRow("jpg folder") << "jpg";
    QTest::newRow("name") << "name";
    QTest::newRow("number") << "number";
    QTest::newRow("example kind") << "kind";
}

void tst_FolderSettings::sameValueEmitsNothing()
{
    QFETCH(QString, setter);
    OLP_Logic_FolderSettings settings;
    settings.load({"/pictures/raw", "/pictures/jpg", "Picture", 5});
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    const auto set = [&](int variant) {
        if (setter == "dng") {
            settings.setDngPath(variant ? "/other" : "/pictures/raw");
        } else if (setter == "jpg") {
            settings.setJpgPath(variant ? "/other" : "/pictures/jpg");
        } else if (setter == "name") {
            settings.setPictureName(variant ? "Other" : "Picture");
        } else if (setter == "number") {
            settings.setPictureIndex(variant ? 6 : 5);
        } else {
            settings.setExampleIsDng(variant != 0);
        }
    };
    set(0);
    set(0);
    QCOMPARE(spy.count(), 0);
    set(1);
    QCOMPARE(spy.count(), 1);
    set(1);
    QCOMPARE(spy.count(), 1);
    settings.setPictureOrgFileName("IMG_0001.DNG");
    QCOMPARE(settings.pictureOrgFileName(), QStringLiteral("IMG_0001.DNG"));
    QCOMPARE(spy.count(), 1);
}

void tst_FolderSettings::backslashSeparators()
{
    OLP_Logic_FolderSettings settings;
    settings.setDngPath("C:\\Pictures\\Raw");
    settings.setJpgPath("D:\\Jpg\\");
    QCOMPARE(settings.record().dngFolder, QStringLiteral("C:/Pictures/Raw"));
    QCOMPARE(settings.record().jpgFolder, QStringLiteral("D:/Jpg/"));
    QCOMPARE(settings.dngPath(), QDir::toNativeSeparators("C:/Pictures/Raw"));
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    settings.setDngPath("C:/Pictures/Raw");
    QCOMPARE(spy.count(), 0);
    settings.setPictureName("Picture");
    settings.setExampleIsDng(true);
    QCOMPARE(settings.pictureExampleFileName(), QDir::toNativeSeparators("C:/Pictures/Raw/Picture00001.DNG"));
}

// A number below 1 would give names such as "Picture000-5.JPG".
void tst_FolderSettings::numberBelowOneRefused_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -5;
    QTest::newRow("most negative") << std::numeric_limits<int>::min();
}

void tst_FolderSettings::numberBelowOneRefused()
{
    QFETCH(int, number);
    OLP_Logic_FolderSettings settings;
    settings.load({"/p", "/p", "Picture", 8});
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    OLP_Test_LogCapture log;
    QVERIFY(!settings.setPictureIndex(number));
    QCOMPARE(settings.pictureIndex(), 8);
    QCOMPARE(settings.pictureExampleFileName(), QStringLiteral("/p/Picture00008.JPG"));
    QCOMPARE(spy.count(), 0);
    QVERIFY(
        log.contains(QStringLiteral("OLP_Logic_FolderSettings::setPictureIndex - picture number %1 refused, keeping 8")
                         .arg(number)));

    settings.load({"/p", "/p", "Picture", number});
    QCOMPARE(settings.pictureIndex(), 8);
    QVERIFY(log.contains(QStringLiteral("OLP_Logic_FolderSettings::load - picture number %1 refused").arg(number)));
}

// A base name such as "../x" or "a/b" would put pictures outside the chosen
// folder or into one that does not exist; control characters make names that
// file managers cannot show. Whatever the source, the previous name stays.
void tst_FolderSettings::unsafeNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("logged");
    QTest::newRow("parent folder") << "../x"
                                   << "../x";
    QTest::newRow("sub folder") << "a/b"
                                << "a/b";
    QTest::newRow("absolute") << "/etc/x"
                              << "/etc/x";
    QTest::newRow("backslash") << "x\\y"
                               << "x\\y";
    QTest::newRow("new line") << "a\nb"
                              << "a\\x0ab";
    QTest::newRow("tab") << "a\tb"
                         << "a\\x09b";
    QTest::newRow("delete") << QString("a") + QChar(0x7f) << "a\\x7f";
    QTest::newRow("C1 control") << QString("a") + QChar(0x85) << "a\\x85";
}

void tst_FolderSettings::unsafeNameRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, logged);

    // Through the setter (the controller): the previous name stays.
    OLP_Logic_FolderSettings settings;
    settings.load({m_dng, m_jpg, "Shot", 12});
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    OLP_Test_LogCapture log;
    QVERIFY(!settings.setPictureName(name));
    QCOMPARE(settings.pictureName(), QStringLiteral("Shot"));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(log.lines(),
             QStringList{QStringLiteral("OLP_Logic_FolderSettings::setPictureName - picture name \"%1\" refused, "
                                        "keeping \"Shot\"")
                             .arg(logged)});

    // Through load (a hand-edited settings file): the other values are taken,
    // the name stays; a fresh object falls back to the default name.
    log.clear();
    settings.load({m_dng, m_dng, name, 20});
    QCOMPARE(settings.record(), (OLP_Logic_FolderSettingsRecord{m_dng, m_dng, "Shot", 20}));
    QCOMPARE(log.count("OLP_Logic_FolderSettings::load - picture name"), 1);
    OLP_Logic_FolderSettings fresh;
    fresh.load({m_dng, m_jpg, name, 7});
    QCOMPARE(fresh.pictureName(), QStringLiteral("Picture"));

    // Every file name built afterwards stays inside its folder.
    const OLP_Logic_FolderSettings::PictureFile file = fresh.nextPictureFile("L1.JPG", 3, ProductIdKestaA);
    QCOMPARE(file.path, m_jpg + "/Picture00007.JPG");
    QCOMPARE(fresh.pictureExampleFileName(), QDir::toNativeSeparators(m_jpg + "/Picture00008.JPG"));
}

void tst_FolderSettings::load_data()
{
    QTest::addColumn<OLP_Logic_FolderSettingsRecord>("record");
    QTest::addColumn<OLP_Logic_FolderSettingsRecord>("expected");
    QTest::addColumn<QString>("example");

    const QString def = OLP_Logic_FolderSettings::defaultPictureFolder();
    QTest::newRow("values kept") << OLP_Logic_FolderSettingsRecord{"/r", "/j", "Shot", 12}
                                 << OLP_Logic_FolderSettingsRecord{"/r", "/j", "Shot", 12} << "/j/Shot00012.JPG";
    QTest::newRow("first start: defaults")
        << OLP_Logic_FolderSettingsRecord{"", "", "", 1} << OLP_Logic_FolderSettingsRecord{def, def, "Picture", 1}
        << def + "/Picture00001.JPG";
    QTest::newRow("only the name missing")
        << OLP_Logic_FolderSettingsRecord{"/r", "/j", "", 3} << OLP_Logic_FolderSettingsRecord{"/r", "/j", "Picture", 3}
        << "/j/Picture00003.JPG";
    QTest::newRow("windows separators") << OLP_Logic_FolderSettingsRecord{"C:\\r", "C:\\j", "P", 99999}
                                        << OLP_Logic_FolderSettingsRecord{"C:/r", "C:/j", "P", 99999}
                                        << "C:/j/P99999.JPG";
}

void tst_FolderSettings::load()
{
    QFETCH(OLP_Logic_FolderSettingsRecord, record);
    QFETCH(OLP_Logic_FolderSettingsRecord, expected);
    QFETCH(QString, example);

    OLP_Logic_FolderSettings settings;
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    settings.load(record);
    QCOMPARE(settings.record(), expected);
    QCOMPARE(settings.pictureExampleFileName(), QDir::toNativeSeparators(example));
    QCOMPARE(spy.count(), 1);
    // Loading the same values again changes nothing.
    settings.load(record);
    QCOMPARE(spy.count(), 1);
}

void tst_FolderSettings::loadDumpsWithFlag2048()
{
    OLP_Logic_FolderSettings settings;
    OLP_Test_LogCapture log;
    settings.load({"/r", "/j", "Shot", 4});
    QCOMPARE(log.count("OLP_Logic_FolderSettings::dump"), 0);

    setDebugFlags(0x800, true);
    settings.setPictureOrgFileName("L1000123.DNG");
    settings.load({"/r", "/j", "Shot", 5});
    setDebugFlags(0x800, false);
    const QStringList expected{
        "OLP_Logic_FolderSettings::dump for OLP_Logic_FolderSettings::load :",
        "OLP_Logic_FolderSettings::dump - dngPictureFolder       = \"/r\"",
        "OLP_Logic_FolderSettings::dump - jpgPictureFolder       = \"/j\"",
        "OLP_Logic_FolderSettings::dump - pictureOrgFileName     = \"L1000123.DNG\"",
        "OLP_Logic_FolderSettings::dump - pictureNewFileName     = \"Shot\"",
        "OLP_Logic_FolderSettings::dump - pictureExampleFileName = \"/j/Shot00005.JPG\"",
        "OLP_Logic_FolderSettings::dump - pictureNumber          = 5",
    };
    QCOMPARE(log.lines(), expected);
}

void tst_FolderSettings::incrementPictureNumber()
{
    OLP_Logic_FolderSettings settings;
    settings.load({"/r", "/j", "Picture", 99999});
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    settings.incrementPictureNumber();
    QCOMPARE(settings.pictureIndex(), 100000);
    QCOMPARE(settings.pictureExampleFileName(), QStringLiteral("/j/Picture100000.JPG"));
    QCOMPARE(spy.count(), 1);
}

// One picture: the camera's file name decides folder, extension and whether the number moves on.
void tst_FolderSettings::naming_data()
{
    QTest::addColumn<QString>("cameraName");
    QTest::addColumn<int>("fileFormat");
    QTest::addColumn<int>("number");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("folder");  // "dng", "jpg" or "default"
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("nextNumber");

    QTest::newRow("JPG") << "L1000001.JPG" << 3 << 12 << Kind::Jpg << "jpg"
                         << "Picture00012.JPG" << 13;
    QTest::newRow("jpg lower case") << "l1000001.jpg" << 3 << 12 << Kind::Jpg << "jpg"
                                    << "Picture00012.JPG" << 13;
    QTest::newRow("DNG") << "L1000001.DNG" << 0 << 12 << Kind::Dng << "dng"
                         << "Picture00012.DNG" << 13;
    QTest::newRow("Dng mixed case") << "L1000001.Dng" << 0 << 1 << Kind::Dng << "dng"
                                    << "Picture00001.DNG" << 2;
    QTest::newRow("99998 advances to 99999") << "L1.JPG" << 4 << 99998 << Kind::Jpg << "jpg"
                                             << "Picture99998.JPG" << 99999;
    QTest::newRow("99999 stays") << "L1.JPG" << 3 << 99999 << Kind::Jpg << "jpg"
                                 << "Picture99999.JPG" << 99999;
    QTest::newRow("123456 stays") << "L1.DNG" << 0 << 123456 << Kind::Dng << "dng"
                                  << "Picture123456.DNG" << 123456;
    QTest::newRow("no dot is broken data") << "L1000001" << 3 << 12 << Kind::Broken << "default"
                                           << "_Broken_Data_Image" << 12;
    QTest::newRow("JPEG is broken data") << "L1000001.JPEG" << 3 << 12 << Kind::Broken << "default"
                                         << "_Broken_Data_Image" << 12;
    QTest::newRow("movie is broken data") << "L1000001.MOV" << 3 << 12 << Kind::Broken << "default"
                                          << "_Broken_Data_Image" << 12;
    QTest::newRow("last dot counts") << "L1.DNG.JPG" << 3 << 12 << Kind::Jpg << "jpg"
                                     << "Picture00012.JPG" << 13;
}

void tst_FolderSettings::naming()
{
    QFETCH(QString, cameraName);
    QFETCH(int, fileFormat);
    QFETCH(int, number);
    QFETCH(Kind, kind);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QFETCH(int, nextNumber);

    OLP_Logic_FolderSettings settings;
    settings.load({m_dng, m_jpg, "Picture", number});
    OLP_Test_LogCapture log;
    const OLP_Logic_FolderSettings::PictureFile file =
        settings.nextPictureFile(cameraName, fileFormat, ProductIdKestaA);
    const QString dir = folder == "dng"   ? m_dng
                        : folder == "jpg" ? m_jpg
                                          : OLP_Logic_FolderSettings::defaultPictureFolder();
    QCOMPARE(file.kind, kind);
    QCOMPARE(file.path, dir + '/' + fileName);
    QCOMPARE(file.number, number);
    QCOMPARE(file.numberAdvanced, nextNumber != number);
    QCOMPARE(settings.pictureIndex(), nextNumber);
    QCOMPARE(settings.pictureOrgFileName(), cameraName);
    QCOMPARE(settings.exampleIsDng(), kind == Kind::Dng);
    QCOMPARE(log.count("OLP_Logic_FolderSettings::nextPictureFile - Exception! File not JPG or DNG: " + cameraName),
             kind == Kind::Broken ? 1 : 0);
    // Broken data never replaces the user's folders.
    QCOMPARE(settings.record().dngFolder, m_dng);
    QCOMPARE(settings.record().jpgFolder, m_jpg);
}

// Both files of a DNG+JPG shot carry one number; which file comes first depends on the camera.
void tst_FolderSettings::pairNumbering_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("fileFormat");
    QTest::addColumn<QStringList>("cameraNames");
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<int>("nextNumber");

    const QStringList dngFirst{"L1.DNG", "L1.JPG", "L2.DNG", "L2.JPG"};
    const QStringList jpgFirst{"L1.JPG", "L1.DNG", "L2.JPG", "L2.DNG"};
    const QStringList pairs{"Picture00012.DNG", "Picture00012.JPG", "Picture00013.DNG", "Picture00013.JPG"};
    const QStringList pairsJpgFirst{"Picture00012.JPG", "Picture00012.DNG", "Picture00013.JPG", "Picture00013.DNG"};

    QTest::newRow("KestaA format 1") << ProductIdKestaA << 1 << dngFirst << pairs << 14;
    QTest::newRow("KestaA format 2") << ProductIdKestaA << 2 << dngFirst << pairs << 14;
    QTest::newRow("KestaE format 1") << ProductIdKestaE << 1 << dngFirst << pairs << 14;
    QTest::newRow("Seventh format 2") << ProductIdSeventh << 2 << dngFirst << pairs << 14;
    QTest::newRow("Pelvo format 1") << ProductIdPelvo << 1 << jpgFirst << pairsJpgFirst << 14;
    QTest::newRow("Pelvo format 2") << ProductIdPelvo << 2 << jpgFirst << pairsJpgFirst << 14;
    QTest::newRow("KestaA DNG only") << ProductIdKestaA << 0 << QStringList{"L1.DNG", "L2.DNG"}
                                     << QStringList{"Picture00012.DNG", "Picture00013.DNG"} << 14;
    QTest::newRow("Pelvo DNG only") << ProductIdPelvo << 0 << QStringList{"L1.DNG", "L2.DNG"}
                                    << QStringList{"Picture00012.DNG", "Picture00013.DNG"} << 14;
    QTest::newRow("Pelvo JPG only") << ProductIdPelvo << 3 << QStringList{"L1.JPG", "L2.JPG"}
                                    << QStringList{"Picture00012.JPG", "Picture00013.JPG"} << 14;
    QTest::newRow("KestaB JPG only") << ProductIdKestaB << 4 << QStringList{"L1.JPG", "L2.JPG"}
                                     << QStringList{"Picture00012.JPG", "Picture00013.JPG"} << 14;
}

void tst_FolderSettings::pairNumbering()
{
    QFETCH(quint32, productId);
    QFETCH(int, fileFormat);
    QFETCH(QStringList, cameraNames);
    QFETCH(QStringList, fileNames);
    QFETCH(int, nextNumber);

    OLP_Logic_FolderSettings settings;
    settings.load({m_dng, m_jpg, "Picture", 12});
    QStringList names;
    for (const QString& cameraName : cameraNames) {
        names << QFileInfo(settings.nextPictureFile(cameraName, fileFormat, productId).path).fileName();
    }
    QCOMPARE(names, fileNames);
    QCOMPARE(settings.pictureIndex(), nextNumber);
}

void tst_FolderSettings::existingFilesGetSuffix_data()
{
    QTest::addColumn<QString>("cameraName");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");

    QTest::newRow("free name") << "L1.JPG" << QStringList{} << "Picture00012.JPG";
    QTest::newRow("_1") << "L1.JPG" << QStringList{"Picture00012.JPG"} << "Picture00012_1.JPG";
    QTest::newRow("_2") << "L1.JPG" << QStringList{"Picture00012.JPG", "Picture00012_1.JPG"} << "Picture00012_2.JPG";
    QTest::newRow("camera's lower-case extension")
        << "l1.jpg" << QStringList{"Picture00012.JPG"} << "Picture00012_1.jpg";
    QTest::newRow("DNG") << "L1.dng" << QStringList{"Picture00012.DNG", "Picture00012_1.dng"} << "Picture00012_2.dng";
    QTest::newRow("gap is used") << "L1.JPG" << QStringList{"Picture00012.JPG", "Picture00012_2.JPG"}
                                 << "Picture00012_1.JPG";
}

void tst_FolderSettings::existingFilesGetSuffix()
{
    QFETCH(QString, cameraName);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);

    // One folder for both kinds, as many users keep it.
    OLP_Logic_FolderSettings settings;
    settings.load({m_jpg, m_jpg, "Picture", 12});
    for (const QString& name : existing) {
        touch(m_jpg + '/' + name);
    }
    const OLP_Logic_FolderSettings::PictureFile file = settings.nextPictureFile(cameraName, 0, ProductIdKestaA);
    QCOMPARE(file.path, m_jpg + '/' + expected);
    QCOMPARE(file.cameraExtension, cameraName.section('.', -1));
    QCOMPARE(settings.pictureIndex(), 13);
}

// Pictures of a folder that went away (an unplugged disk) go to the default folder, which is stored.
void tst_FolderSettings::missingFolderFallsBack_data()
{
    QTest::addColumn<QString>("cameraName");
    QTest::addColumn<QString>("missing");
    QTest::newRow("DNG folder removed") << "L1.DNG"
                                        << "removed";
    QTest::newRow("JPG folder removed") << "L1.JPG"
                                        << "removed";
    QTest::newRow("JPG folder empty") << "L1.JPG"
                                      << "";
}

void tst_FolderSettings::missingFolderFallsBack()
{
    QFETCH(QString, cameraName);
    QFETCH(QString, missing);

    const bool isDng = cameraName.endsWith("DNG");
    const QString gone = missing.isEmpty() ? QString() : m_dir->path() + "/removed";
    OLP_Logic_FolderSettings settings;
    settings.load({m_dng, m_jpg, "Picture", 12});
    if (isDng) {
        settings.setDngPath(gone);
    } else {
        settings.setJpgPath(gone);
    }
    QSignalSpy spy(&settings, &OLP_Logic_FolderSettings::signalPictureExampleChanged);
    OLP_Test_LogCapture log;
    const OLP_Logic_FolderSettings::PictureFile file = settings.nextPictureFile(cameraName, 3, ProductIdKestaA);

    const QString fallback = OLP_Logic_FolderSettings::defaultPictureFolder();
    QCOMPARE(file.path, fallback + (isDng ? "/Picture00012.DNG" : "/Picture00012.JPG"));
    QVERIFY(file.folderReplaced);
    QCOMPARE(isDng ? settings.record().dngFolder : settings.record().jpgFolder, fallback);
    QCOMPARE(isDng ? settings.record().jpgFolder : settings.record().dngFolder, isDng ? m_jpg : m_dng);
    QCOMPARE(settings.pictureExampleFileName(),
             QDir::toNativeSeparators(fallback + (isDng ? "/Picture00013.DNG" : "/Picture00013.JPG")));
    QCOMPARE(spy.count(), 1);
    QVERIFY2(log.contains(QStringLiteral("OLP_Logic_FolderSettings::nextPictureFile - folder \"%1\" does not exist, "
                                         "pictures go to \"%2\" from now on")
                              .arg(gone, fallback)),
             qPrintable(log.lines().join('\n')));
    QVERIFY(!QDir(m_dir->path() + "/removed").exists());
}

// The transfer threads name files while the GUI changes names and folders: every
// picture still gets its own number and a name formed from one consistent state.
void tst_FolderSettings::namingWhileSettingsChange()
{
    constexpr int kPictures = 400;
    OLP_Logic_FolderSettings settings;
    settings.load({m_dng, m_jpg, "A", 1});
    QList<OLP_Logic_FolderSettings::PictureFile> files;
    std::unique_ptr<QThread> transfer(QThread::create([&] {
        for (int i = 0; i < kPictures; ++i) {
            files.append(settings.nextPictureFile("L.JPG", 3, ProductIdKestaA));
        }
    }));
    transfer->start();
    for (int i = 0; !transfer->isFinished(); ++i) {
        settings.setPictureName(i % 2 ? "A" : "B");
        settings.setJpgPath(i % 2 ? m_jpg : m_dng);
        settings.pictureExampleFileName();
    }
    QVERIFY(transfer->wait(olpTimeout(30000)));

    QCOMPARE(files.size(), kPictures);
    std::set<int> numbers;
    for (int i = 0; i < kPictures; ++i) {
        const OLP_Logic_FolderSettings::PictureFile& file = files.at(i);
        QCOMPARE(file.number, i + 1);
        numbers.insert(file.number);
        const QString name = QFileInfo(file.path).fileName();
        QVERIFY2(name == "A" + OLP_Logic_FolderSettings::numberText(i + 1) + ".JPG" ||
                     name == "B" + OLP_Logic_FolderSettings::numberText(i + 1) + ".JPG",
                 qPrintable(name));
    }
    QCOMPARE(int(numbers.size()), kPictures);
    QCOMPARE(settings.pictureIndex(), kPictures + 1);
}

QTEST_GUILESS_MAIN(tst_FolderSettings)
#include "tst_FolderSettings.moc"
