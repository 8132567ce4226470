#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include "OLP_GUI_DirPathWidget.h"
#include "OLP_GUI_File.h"
#include "OLP_Test_Support.h"

// The file tab on its own: the controller's texts in, the user's choices out.
class tst_FileTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsAndValues_data();
    void listsAndValues();
    void fileFormatEnablesFolders_data();
    void fileFormatEnablesFolders();
    void pictureName_data();
    void pictureName();
    void exampleElidedInTheMiddle_data();
    void exampleElidedInTheMiddle();

private:
    template <typename T>
    T* find(const char* name) const
    {
        T* widget = m_tab->findChild<T*>(QString::fromLatin1(name));
        if (!widget) {
            qWarning("no widget %s", name);
        }
        return widget;
    }

    OLP_GUI_File* m_tab = nullptr;
};

void tst_FileTab::initTestCase()
{
    olpTestInit();
}

void tst_FileTab::init()
{
    m_tab = new OLP_GUI_File;
    m_tab->resize(340, 420);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab));
}

void tst_FileTab::cleanup()
{
    delete m_tab;
    m_tab = nullptr;
}

// Every camera setting of the tab follows one list rule and one value rule,
// each with its own messages; a user's choice leaves as the setting's signal,
// a value from the controller never does.
void tst_FileTab::listsAndValues_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("setting");  // the words of the messages
    QTest::addColumn<bool>("hasUse");      // a setUse... slot enables and disables the box

    QTest::newRow("file format") << "FileFormat"
                                 << "file format" << false;
    QTest::newRow("DNG compression") << "DngCompression"
                                     << "DNG compression" << true;
    QTest::newRow("JPG colour space") << "JpgColorSpace"
                                      << "JPG color space" << true;
    QTest::newRow("JPG resolution") << "JpgResolution"
                                    << "JPG resolution" << true;
    QTest::newRow("sensor format") << "SensorFormat"
                                   << "sensor format" << false;
    QTest::newRow("photo aspect ratio") << "PhotoAspectRatio"
                                        << "photo aspect ratio" << false;
    QTest::newRow("video file format") << "VideoFileFormat"
                                       << "video file format" << false;
    QTest::newRow("video resolution") << "VideoResAndFrRate"
                                      << "video resolution" << false;
    // The video format shares the video resolution's messages.
    QTest::newRow("video format") << "VideoFormatResol"
                                  << "video resolution" << false;
}

void tst_FileTab::listsAndValues()
{
    QFETCH(QString, stem);
    QFETCH(QString, setting);
    QFETCH(bool, hasUse);

    const QByteArray setList = ("set" + stem + "List").toLatin1();
    const QByteArray setValue = ("set" + stem).toLatin1();
    auto* box = find<QComboBox>(qPrintable("cbb" + stem));
    auto* label = find<QLabel>(qPrintable("lbl" + stem));
    QVERIFY(box && label);
    const QByteArray signal = "2signal" + stem.toLatin1() + "(QString)";
    QSignalSpy spy(m_tab, signal.constData());
    OLP_Test_LogCapture log;

    const QStringList list{"First", "Second", "Third"};
    QVERIFY(QMetaObject::invokeMethod(m_tab, setList, Q_ARG(QStringList, list)));
    QVERIFY(QMetaObject::invokeMethod(m_tab, setValue, Q_ARG(QString, "Second")));
    QCOMPARE(box->currentText(), QStringLiteral("Second"));

    // Unknown (also by case) and empty: logged, the display stays.
    QVERIFY(QMetaObject::invokeMethod(m_tab, setValue, Q_ARG(QString, "second")));
    QVERIFY(QMetaObject::invokeMethod(m_tab, setList, Q_ARG(QStringList, QStringList())));
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->currentText(), QStringLiteral("Second"));
    QCOMPARE(log.lines(), (QStringList{
                              QStringLiteral("OLP_GUI_File::set%1 - illegal %2 second").arg(stem, setting),
                              QStringLiteral("OLP_GUI_File::set%1List - empty %2 list").arg(stem, setting),
                          }));
    QCOMPARE(spy.count(), 0);

    // The user picks the next entry with the keyboard.
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Third"));

    if (stem != "FileFormat") {
        const QByteArray setHas = ("setHas" + stem).toLatin1();
        QVERIFY(QMetaObject::invokeMethod(m_tab, setHas, Q_ARG(bool, false)));
        QVERIFY(!box->isVisible());
        QVERIFY(!label->isVisible());
        QVERIFY(QMetaObject::invokeMethod(m_tab, setHas, Q_ARG(bool, true)));
        QVERIFY(box->isVisible());
        QVERIFY(label->isVisible());
    }
    if (hasUse) {
        const QByteArray setUse = ("setUse" + stem).toLatin1();
        QVERIFY(QMetaObject::invokeMethod(m_tab, setUse, Q_ARG(bool, false)));
        QVERIFY(!box->isEnabled());
        QVERIFY(box->isVisible());
        QVERIFY(QMetaObject::invokeMethod(m_tab, setUse, Q_ARG(bool, true)));
        QVERIFY(box->isEnabled());
    }
}

// Codes 0 to 2 write a DNG, 1 to 4 a JPG; other codes neither.
void tst_FileTab::fileFormatEnablesFolders_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("dng");
    QTest::addColumn<bool>("jpg");
    QTest::newRow("-1") << -1 << false << false;
    QTest::newRow("0 DNG") << 0 << true << false;
    QTest::newRow("1 DNG+JPG") << 1 << true << true;
    QTest::newRow("2 DNG+JPG") << 2 << true << true;
    QTest::newRow("3 JPG") << 3 << false << true;
    QTest::newRow("4 JPG") << 4 << false << true;
    QTest::newRow("5") << 5 << false << false;
}

void tst_FileTab::fileFormatEnablesFolders()
{
    QFETCH(int, code);
    QFETCH(bool, dng);
    QFETCH(bool, jpg);
    m_tab->setFileFormat(5);
    m_tab->setFileFormat(code);
    QCOMPARE(find<QWidget>("wgtDngPath")->isEnabled(), dng);
    QCOMPARE(find<QWidget>("wgtJpgPath")->isEnabled(), jpg);
    m_tab->setFileFormat(1);
    QVERIFY(find<QWidget>("wgtDngPath")->isEnabled());

    // While a video records, its resolution cannot change.
    auto* video = find<QWidget>("cbbVideoResAndFrRate");
    m_tab->setLiveViewMode(1);
    QVERIFY(!video->isEnabled());
    m_tab->setLiveViewMode(code < 0 ? 0 : code);
    QCOMPARE(video->isEnabled(), code != 1);
}

// Each keystroke of the base name is sent; a separator or control character,
// typed or pasted, is refused before it reaches anything.
void tst_FileTab::pictureName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("shown");

    QTest::newRow("typed") << "Shot"
                           << "" << QStringList{"S", "Sh", "Sho", "Shot"} << "Shot";
    QTest::newRow("slash typed") << "a/b"
                                 << "" << QStringList{"a", "ab"} << "ab";
    QTest::newRow("backslash pasted") << ""
                                      << "x\\y" << QStringList{} << "";
    QTest::newRow("line break pasted") << ""
                                       << "x\ny" << QStringList{} << "";
    QTest::newRow("plain paste") << ""
                                 << "Studio A " << QStringList{"Studio A "} << "Studio A ";
}

void tst_FileTab::pictureName()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QStringList, sent);
    QFETCH(QString, shown);

    auto* name = find<QLineEdit>("ledPictureName");
    QSignalSpy spy(m_tab, &OLP_GUI_File::signalPictureName);
    name->setFocus();
    if (!typed.isEmpty()) {
        QTest::keyClicks(name, typed);
    } else {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    }
    QStringList texts;
    for (const QList<QVariant>& arguments : spy) {
        texts << arguments.at(0).toString();
    }
    QCOMPARE(texts, sent);
    QCOMPARE(name->text(), shown);

    // The controller's name is shown as it is, and not sent back.
    m_tab->setPictureName("from/camera");
    QCOMPARE(name->text(), QStringLiteral("from/camera"));
    QCOMPARE(spy.count(), sent.size());
}

void tst_FileTab::exampleElidedInTheMiddle_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<bool>("elided");
    QTest::newRow("short") << "/p/Picture00001.JPG" << false;
    QTest::newRow("long")
        << "/home/photographer/Pictures/Studio sessions/2026/December/client with a long name/Picture00012.JPG" << true;
}

void tst_FileTab::exampleElidedInTheMiddle()
{
    QFETCH(QString, example);
    QFETCH(bool, elided);

    auto* label = find<QLabel>("stxExampleName");
    m_tab->setPictureExample(example);
    const QFontMetrics metrics(label->font());
    QVERIFY(metrics.horizontalAdvance(label->text()) <= label->width());
    QCOMPARE(m_tab->pictureExample(), example);
    if (!elided) {
        QCOMPARE(label->text(), example);
        return;
    }
    // Both ends stay readable: the folder's start and the file name.
    const QString shown = label->text();
    QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
    QVERIFY(shown.startsWith(QStringLiteral("/home/")));
    QVERIFY(shown.endsWith(QStringLiteral("Picture00012.JPG")));
    // The tab never grew to the text's width.
    QCOMPARE(m_tab->width(), 340);

    // A wider tab shows more of it, the whole text once it fits.
    m_tab->resize(2000, 420);
    QTRY_COMPARE_WITH_TIMEOUT(label->text(), example, olpTimeout(5000));
}

QTEST_MAIN(tst_FileTab)
#include "tst_FileTab.moc"
