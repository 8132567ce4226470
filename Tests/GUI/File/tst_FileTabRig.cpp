// The file tab as the user meets it: the whole application with its
// controller thread finds an emulated camera, the camera window opens, and
// what the user does in the " File Settings" tab travels through the
// controller and the real USB transport to the emulated camera, into the
// folder settings that name the transferred pictures and into the GUI
// settings; what the camera reports comes back into the tab.

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_DirPathWidget.h"
#include "OLP_GUI_File.h"
#include "OLP_GUI_Settings.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiActions.h"
#include "OLP_Test_GuiModalDriver.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

const QString kQuestion = QStringLiteral("Path does not exist!\nCreate this path?");
const QString kCannotCreate = QStringLiteral("Cannot create this path!");

const QStringList kComboStems{"FileFormat",      "PhotoAspectRatio",  "SensorFormat",
                              "DngCompression",  "JpgColorSpace",     "JpgResolution",
                              "VideoFileFormat", "VideoResAndFrRate", "VideoFormatResol"};

OLP_Test_GuiRig* rig()
{
    return OLP_Test_GuiRig::instance();
}

// The operation that carries a setting to the camera: the structure cameras
// write their whole settings block, the others one property.
quint16 writeOperation(quint16 product)
{
    return OLP_Commu_EmuSettingsStruct::isStructureCamera(product) ? EmuWire::WriteSettings
                                                                   : EmuWire::SetDevicePropValue;
}

}  // namespace

class tst_FileTabRig : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rowsPerProduct_data();
    void rowsPerProduct();
    void userChoiceReachesCamera_data();
    void userChoiceReachesCamera();
    void cameraChangeSelects_data();
    void cameraChangeSelects();
    void directSetters();
    void pictureName_data();
    void pictureName();
    void unsafeNameFromSettingsFile();
    void pictureIndex_data();
    void pictureIndex();
    void folderFieldEffects_data();
    void folderFieldEffects();
    void unplugWhileModal_data();
    void unplugWhileModal();
    void lookOfTheTab_data();
    void lookOfTheTab();

private:
    // Stores this product's folders and name in the GUI settings (the
    // settings file), as a previous session would have left them.
    void storeFolderSettings(quint32 product, const QString& name, int number);
    bool plug(quint32 product);
    // Switches to the file tab with the mouse, as a user would.
    void showFileTab();
    QComboBox* combo(const QString& stem) const { return rig()->find<QComboBox>("cbb" + stem); }
    OLP_GUI_File* tab() const { return rig()->find<OLP_GUI_File>("tabFile"); }
    QLineEdit* pathField(const char* widgetName) const;
    // Picks an entry from the combo box's popup with the mouse.
    void choose(QComboBox* box, const QString& text);
    template <typename T>
    T fromController(const std::function<T(OLP_Logic_Controller*)>& read)
    {
        T value{};
        rig()->runAndWait([&](OLP_Logic_Controller* c) { value = read(c); });
        return value;
    }
    QString controllerPictureName()
    {
        return fromController<QString>([](OLP_Logic_Controller* c) { return c->camera()->pictureName(); });
    }
    int controllerPictureIndex()
    {
        return fromController<int>([](OLP_Logic_Controller* c) { return c->camera()->pictureIndex(); });
    }
    // One shot of the emulated camera; waits until the file is on disk.
    bool pictureLands(const QString& path);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dng;
    QString m_jpg;
};

void tst_FileTabRig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dng = m_dir->path() + "/dng";
    m_jpg = m_dir->path() + "/jpg";
    QVERIFY(QDir().mkpath(m_dng));
    QVERIFY(QDir().mkpath(m_jpg));
}

void tst_FileTabRig::cleanup()
{
    QVERIFY(rig()->unplug());
}

void tst_FileTabRig::storeFolderSettings(quint32 product, const QString& name, int number)
{
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(int(product));
    settings->setFolderSettings({m_dng, m_jpg, name, number});
}

bool tst_FileTabRig::plug(quint32 product)
{
    storeFolderSettings(product, "Picture", 1);
    if (!rig()->plug(quint16(product))) {
        return false;
    }
    showFileTab();
    return true;
}

void tst_FileTabRig::showFileTab()
{
    auto* tabs = rig()->find<QTabWidget>("tabWidget");
    QVERIFY(tabs);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tabs->indexOf(tab())).center());
    QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(tab()));
    QCOMPARE(tabs->tabText(tabs->indexOf(tab())), QStringLiteral(" File Settings"));
}

QLineEdit* tst_FileTabRig::pathField(const char* widgetName) const
{
    auto* widget = rig()->find<OLP_GUI_DirPathWidget>(QString::fromLatin1(widgetName));
    return widget ? widget->findChild<QLineEdit*>("ledPath") : nullptr;
}

void tst_FileTabRig::choose(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F4);
    QAbstractItemView* view = box->view();
    QTRY_VERIFY_WITH_TIMEOUT(view->isVisible(), olpTimeout(5000));
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    QTRY_VERIFY_WITH_TIMEOUT(!view->isVisible(), olpTimeout(5000));
}

bool tst_FileTabRig::pictureLands(const QString& path)
{
    rig()->camera()->capture(1);
    return QTest::qWaitFor([&] { return QFile::exists(path); }, olpTimeout(15000));
}

// Rows the product lacks are hidden; the others show the camera's lists.
void tst_FileTabRig::rowsPerProduct_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("KestaA") << ProductIdKestaA << QStringList{"FileFormat", "JpgColorSpace"};
    QTest::newRow("KestaC") << ProductIdKestaC
                            << QStringList{"FileFormat", "DngCompression", "JpgColorSpace", "JpgResolution",
                                           "VideoResAndFrRate"};
    QTest::newRow("Pelvo") << ProductIdPelvo << QStringList{"FileFormat",    "PhotoAspectRatio", "SensorFormat",
                                                            "JpgColorSpace", "JpgResolution",    "VideoFormatResol"};
}

void tst_FileTabRig::rowsPerProduct()
{
    QFETCH(quint32, product);
    QFETCH(QStringList, rows);
    QVERIFY(plug(product));
    for (const QString& stem : kComboStems) {
        QComboBox* box = combo(stem);
        QVERIFY2(box, qPrintable(stem));
        const bool has = rows.contains(stem);
        QVERIFY2(box->isVisible() == has, qPrintable(stem));
        QVERIFY2(rig()->find<QLabel>("lbl" + stem)->isVisible() == has, qPrintable(stem));
        if (has) {
            QVERIFY2(box->count() > 1 && box->currentIndex() >= 0, qPrintable(stem));
        }
    }
    // Both folders and the name come from the GUI settings through the controller.
    QCOMPARE(pathField("wgtDngPath")->text(), QDir::toNativeSeparators(m_dng));
    QCOMPARE(pathField("wgtJpgPath")->text(), QDir::toNativeSeparators(m_jpg));
    QCOMPARE(rig()->find<QLineEdit>("ledPictureName")->text(), QStringLiteral("Picture"));
    QCOMPARE(rig()->find<QLineEdit>("ledPictureIndex")->text(), QStringLiteral("1"));
}

// A choice from the popup reaches the emulated camera: the camera takes the
// write, and after unplugging and plugging it in again the fresh window reads
// the same entry back from the camera. The file format also decides which
// folders apply.
void tst_FileTabRig::userChoiceReachesCamera_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("folders");  // after the choice: "dng", "jpg", "both", or "" when it does not matter
    QTest::addColumn<bool>("keyboard");    // arrow keys in the popup instead of a click

    QTest::newRow("KestaA JPG (fine)") << ProductIdKestaA << "FileFormat"
                                       << "JPG (fine)"
                                       << "jpg" << false;
    QTest::newRow("KestaA DNG") << ProductIdKestaA << "FileFormat"
                                << "DNG"
                                << "dng" << true;
    QTest::newRow("KestaA colour space") << ProductIdKestaA << "JpgColorSpace"
                                         << "Adobe RGB"
                                         << "" << false;
    QTest::newRow("KestaC DNG compression") << ProductIdKestaC << "DngCompression"
                                            << "Off"
                                            << "" << true;
    QTest::newRow("KestaC colour space") << ProductIdKestaC << "JpgColorSpace"
                                         << "ECI-RGB 2.0"
                                         << "" << false;
    QTest::newRow("KestaC JPG resolution") << ProductIdKestaC << "JpgResolution"
                                           << "6 MP"
                                           << "" << true;
    QTest::newRow("KestaC video resolution") << ProductIdKestaC << "VideoResAndFrRate"
                                             << "1280x720p @ 25fps"
                                             << "" << false;
    QTest::newRow("Pelvo DNG + JPG") << ProductIdPelvo << "FileFormat"
                                     << "DNG + JPG"
                                     << "both" << true;
    QTest::newRow("Pelvo aspect ratio") << ProductIdPelvo << "PhotoAspectRatio"
                                        << "16:9"
                                        << "" << false;
    QTest::newRow("Pelvo sensor format") << ProductIdPelvo << "SensorFormat"
                                         << "APS-C"
                                         << "" << true;
    QTest::newRow("Pelvo JPG resolution") << ProductIdPelvo << "JpgResolution"
                                          << "S-JPG"
                                          << "" << false;
    QTest::newRow("Pelvo video format") << ProductIdPelvo << "VideoFormatResol"
                                        << "MOV 1920x1080p @ 60fps"
                                        << "" << true;
}

void tst_FileTabRig::userChoiceReachesCamera()
{
    QFETCH(quint32, product);
    QFETCH(QString, stem);
    QFETCH(QString, choice);
    QFETCH(QString, folders);
    QFETCH(bool, keyboard);

    QVERIFY(plug(product));
    if (product == ProductIdPelvo && stem == "FileFormat") {
        // Start from a single-file format so that both folders have to come on.
        choose(combo(stem), "JPG");
        QVERIFY(rig()->settle());
        QVERIFY(!rig()->find<QWidget>("wgtDngPath")->isEnabled());
    }
    QComboBox* box = combo(stem);
    QVERIFY(box->currentText() != choice);
    const int writes = rig()->camera()->requestCount(writeOperation(quint16(product)));
    if (keyboard) {
        box->setFocus();
        QVERIFY(olpChooseEntry(box, choice));
    } else {
        choose(box, choice);
    }
    QVERIFY(rig()->settle());
    QCOMPARE(box->currentText(), choice);
    QCOMPARE(rig()->camera()->requestCount(writeOperation(quint16(product))), writes + 1);

    if (!folders.isEmpty()) {
        const bool dng = folders != "jpg";
        const bool jpg = folders != "dng";
        QCOMPARE(rig()->find<QWidget>("wgtDngPath")->isEnabled(), dng);
        QCOMPARE(rig()->find<QWidget>("wgtJpgPath")->isEnabled(), jpg);
        // DNG compression applies to formats with a DNG only.
        QCOMPARE(combo("DngCompression")->isEnabled(), dng);
    }

    const std::shared_ptr<OLP_Commu_EmuCamera> camera = rig()->camera();
    QVERIFY(rig()->unplug());
    camera->replug();
    QVERIFY(rig()->plug(camera));
    showFileTab();
    QCOMPARE(combo(stem)->currentText(), choice);
    QVERIFY2(camera->protocolErrors().isEmpty(), qPrintable(camera->protocolErrors().join('\n')));
}

// A change made on the camera selects the entry and writes nothing back.
void tst_FileTabRig::cameraChangeSelects_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<int>("where");  // settings structure offset, or property code
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("folders");

    QTest::newRow("KestaA to JPG fine") << ProductIdKestaA << int(OLP_Commu_EmuSettingsStruct::FileFormat) << 3
                                        << "FileFormat"
                                        << "JPG (fine)"
                                        << "jpg";
    QTest::newRow("KestaC colour space") << ProductIdKestaC << int(OLP_Commu_EmuSettingsStruct::JpgColourSpace) << 1
                                         << "JpgColorSpace"
                                         << "Adobe RGB"
                                         << "";
    // The camera's file format property: 0 DNG, 1 DNG + JPG, 2 JPG.
    QTest::newRow("Pelvo to DNG") << ProductIdPelvo << 0xD004 << 0 << "FileFormat"
                                  << "DNG"
                                  << "dng";
}

void tst_FileTabRig::cameraChangeSelects()
{
    QFETCH(quint32, product);
    QFETCH(int, where);
    QFETCH(int, value);
    QFETCH(QString, stem);
    QFETCH(QString, shown);
    QFETCH(QString, folders);

    QVERIFY(plug(product));
    QSignalSpy choices(rig()->window(), SIGNAL(signalFileFormat(QString)));
    const std::shared_ptr<OLP_Commu_EmuCamera> camera = rig()->camera();
    const int writes = camera->requestCount(writeOperation(quint16(product)));
    if (OLP_Commu_EmuSettingsStruct::isStructureCamera(quint16(product))) {
        camera->changeSettings(where, QByteArray(1, char(value)));
    } else {
        QVERIFY(camera->setPropertyValue(quint16(where), value));
    }
    QTRY_COMPARE_WITH_TIMEOUT(combo(stem)->currentText(), shown, olpTimeout(10000));
    QVERIFY(rig()->settle());
    QCOMPARE(camera->requestCount(writeOperation(quint16(product))), writes);
    QCOMPARE(choices.count(), 0);
    if (!folders.isEmpty()) {
        QCOMPARE(rig()->find<QWidget>("wgtDngPath")->isEnabled(), folders != "jpg");
        QCOMPARE(rig()->find<QWidget>("wgtJpgPath")->isEnabled(), folders != "dng");
    }
}

// The window's setters as the controller calls them.
void tst_FileTabRig::directSetters()
{
    QVERIFY(plug(ProductIdKestaC));
    OLP_GUI_CameraBase* window = rig()->window();
    window->setFileFormat(5);
    QVERIFY(!rig()->find<QWidget>("wgtDngPath")->isEnabled());
    QVERIFY(!rig()->find<QWidget>("wgtJpgPath")->isEnabled());
    window->setLiveViewMode(1);
    QVERIFY(!combo("VideoResAndFrRate")->isEnabled());
    window->setLiveViewMode(2);
    QVERIFY(combo("VideoResAndFrRate")->isEnabled());
}

// Every keystroke of the name reaches the controller; the example comes back
// and the GUI settings keep the name. Separators never get through.
void tst_FileTabRig::pictureName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("name");
    QTest::newRow("typed") << "Shot"
                           << ""
                           << "Shot";
    QTest::newRow("slash typed") << "a/b"
                                 << ""
                                 << "ab";
    QTest::newRow("backslash pasted") << "Z"
                                      << "x\\y"
                                      << "Z";
}

void tst_FileTabRig::pictureName()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, name);

    QVERIFY(plug(ProductIdKestaA));
    QSignalSpy names(rig()->window(), &OLP_GUI_CameraBase::signalPictureName);
    auto* field = rig()->find<QLineEdit>("ledPictureName");
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, typed);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(field->text(), name);
    // The cleared field, then each accepted keystroke.
    QCOMPARE(names.count(), name.size() + 1);
    QVERIFY(rig()->settle());

    QCOMPARE(controllerPictureName(), name);
    const QString example =
        fromController<QString>([](OLP_Logic_Controller* c) { return c->camera()->pictureExampleFileName(); });
    QVERIFY2(example.endsWith(name + "00001.DNG"), qPrintable(example));
    QCOMPARE(tab()->pictureExample(), example);
    QCOMPARE(OLP_GUI_Settings::instance()->folderSettings().pictureName, name);
}

// A hand-edited settings file cannot send pictures out of the chosen folder.
void tst_FileTabRig::unsafeNameFromSettingsFile()
{
    storeFolderSettings(ProductIdKestaA, "../x", 1);
    QVERIFY(rig()->plug(quint16(ProductIdKestaA)));
    showFileTab();
    QCOMPARE(rig()->find<QLineEdit>("ledPictureName")->text(), QStringLiteral("Picture"));
    QVERIFY(pictureLands(m_jpg + "/Picture00001.JPG"));
    QVERIFY(!QFile::exists(m_dir->path() + "/x00001.JPG"));
    QVERIFY(QDir(m_dir->path()).entryList({"*.JPG", "*.DNG"}, QDir::Files).isEmpty());
    QCOMPARE(OLP_GUI_Settings::instance()->folderSettings().pictureName, QStringLiteral("Picture"));
}

// The index field sends whole numbers of 1 and above only.
void tst_FileTabRig::pictureIndex_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("index");
    QTest::newRow("42") << "42" << 42;
    QTest::newRow("-1") << "-1" << 12;
    QTest::newRow("abc") << "abc" << 12;
    QTest::newRow("0") << "0" << 12;
}

void tst_FileTabRig::pictureIndex()
{
    QFETCH(QString, typed);
    QFETCH(int, index);

    QVERIFY(plug(ProductIdKestaA));
    auto* field = rig()->find<QLineEdit>("ledPictureIndex");
    rig()->window()->setPictureIndex(12);
    QCOMPARE(field->text(), QStringLiteral("12"));
    rig()->runAndWait([](OLP_Logic_Controller* c) { c->camera()->setPictureIndex(12); });

    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, typed);
    QVERIFY(rig()->settle());
    QCOMPARE(controllerPictureIndex(), index);
    if (index == 42) {
        QCOMPARE(OLP_GUI_Settings::instance()->folderSettings().pictureNumber, 42);
        QVERIFY(pictureLands(m_jpg + "/Picture00042.JPG"));
        QTRY_COMPARE_WITH_TIMEOUT(field->text(), QStringLiteral("43"), olpTimeout(10000));
    }
}

// The folder field's answers and what they do to the settings and to the
// next picture (the boxes themselves are checked in the widget's own test).
void tst_FileTabRig::folderFieldEffects_data()
{
    QTest::addColumn<QString>("typed");  // below the temporary folder; "" browses
    QTest::addColumn<QList<int>>("replies");
    QTest::addColumn<QString>("landsIn");  // folder of the next JPG, below the temporary folder

    const int yes = QMessageBox::Yes;
    const int no = QMessageBox::No;
    const int cancel = QMessageBox::Cancel;
    QTest::newRow("existing folder typed") << "dng" << QList<int>{} << "dng";
    QTest::newRow("Yes creates it") << "dng/new" << QList<int>{yes} << "dng/new";
    QTest::newRow("No, asked again, Yes") << "dng/new" << QList<int>{no, yes} << "dng/new";
    QTest::newRow("Cancel keeps the parent taken while typing") << "dng/new" << QList<int>{cancel} << "dng";
    QTest::newRow("cannot create keeps the folder") << "jpg/x.JPG/new" << QList<int>{yes, cancel} << "jpg";
    QTest::newRow("browse") << "" << QList<int>{} << "dng";
}

void tst_FileTabRig::folderFieldEffects()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, replies);
    QFETCH(QString, landsIn);

    QVERIFY(plug(ProductIdKestaA));
    // A regular file where a folder would have to be made.
    QFile blocker(m_jpg + "/x.JPG");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QLineEdit* field = pathField("wgtJpgPath");
    auto* widget = rig()->find<OLP_GUI_DirPathWidget>("wgtJpgPath");
    const QString target = QDir::toNativeSeparators(m_dir->path() + '/' + typed);

    OLP_Test_GuiModalDriver driver;
    for (const int reply : replies) {
        driver.addAction(OLP_Test_GuiModalDriver::press(QMessageBox::StandardButton(reply)));
    }
    if (typed.isEmpty()) {
        driver.addAction([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setFocus();
            name->selectAll();
            QTest::keyClicks(name, m_dng);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(widget->findChild<QToolButton*>("tbnBrowse"), Qt::LeftButton);
    } else {
        // The user adds to the folder shown: its existing parent counts while typing.
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, target);
        QVERIFY(rig()->settle());
        const QString parent = QDir::toNativeSeparators(m_dir->path() + '/' + typed.section('/', 0, 0));
        QCOMPARE(OLP_GUI_Settings::instance()->folderSettings().jpgFolder, parent);
        for (int i = 0; i < replies.size(); ++i) {
            QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, olpTimeout(10000)));
            if (i == 0 || replies.at(i - 1) == QMessageBox::No) {
                QVERIFY(QMetaObject::invokeMethod(widget, "catchTextDirtyFired"));
            }
            QVERIFY(QTest::qWaitFor([&] { return driver.seen().size() > i; }, olpTimeout(10000)));
        }
    }
    QVERIFY(
        QTest::qWaitFor([&] { return driver.pendingActions() == 0 && QApplication::activeModalWidget() == nullptr; },
                        olpTimeout(10000)));
    QVERIFY(rig()->settle());

    const QString folder = QDir::toNativeSeparators(m_dir->path() + '/' + landsIn);
    QCOMPARE(OLP_GUI_Settings::instance()->folderSettings().jpgFolder, folder);
    QVERIFY(pictureLands(folder + "/Picture00001.JPG"));
    if (replies.contains(QMessageBox::Yes) && landsIn.endsWith("new")) {
        QCOMPARE(driver.seen().first().text, kQuestion);
        QCOMPARE(field->text(), target);
    }
    if (typed.contains("x.JPG")) {
        QCOMPARE(driver.seen().at(1).text, kCannotCreate);
    }
}

// The camera is unplugged while the question or the browse dialog is open:
// the window goes, nothing is emitted and the GUI settings keep the folder.
// Under ASan a touch of the deleted widget fails the run.
void tst_FileTabRig::unplugWhileModal_data()
{
    QTest::addColumn<bool>("browse");
    QTest::newRow("question open") << false;
    QTest::newRow("browse dialog open") << true;
}

void tst_FileTabRig::unplugWhileModal()
{
    QFETCH(bool, browse);

    QVERIFY(plug(ProductIdPelvo));
    QPointer<OLP_GUI_DirPathWidget> widget = rig()->find<OLP_GUI_DirPathWidget>("wgtDngPath");
    QPointer<QWidget> window = rig()->window();
    int emissions = 0;
    QObject counter;
    const QString target = m_dng + "/new";

    bool unplugged = false;
    OLP_Test_GuiModalDriver driver;
    driver.addAction([&](QWidget*) { unplugged = rig()->unplug(); });
    if (browse) {
        connect(widget, &OLP_GUI_DirPathWidget::signalPath, &counter, [&] { ++emissions; });
        QTest::mouseClick(widget->findChild<QToolButton*>("tbnBrowse"), Qt::LeftButton);
    } else {
        QLineEdit* field = widget->findChild<QLineEdit*>("ledPath");
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, "/new");
        connect(widget, &OLP_GUI_DirPathWidget::signalPath, &counter, [&] { ++emissions; });
        QVERIFY(QMetaObject::invokeMethod(widget, "catchTextDirtyFired"));
    }
    QVERIFY(QTest::qWaitFor([&] { return driver.seen().size() == 1 && window.isNull(); }, olpTimeout(15000)));
    QCoreApplication::processEvents();
    QVERIFY(unplugged);
    QCOMPARE(driver.seen().at(0).className, browse ? QStringLiteral("QFileDialog") : QStringLiteral("QMessageBox"));
    QVERIFY(widget.isNull());
    QCOMPARE(rig()->window(), nullptr);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(emissions, 0);
    QVERIFY(!QDir(target).exists());
    OLP_GUI_Settings::instance()->setLastProductId(int(ProductIdPelvo));
    QCOMPARE(OLP_GUI_Settings::instance()->folderSettings().dngFolder, m_dng);
}

// The tab as it looks: a disabled row is drawn in the style sheet's disabled
// colours, and a long example is elided in the middle. With
// OLP_SCREENSHOT_DIR set, the tab of each product is saved there as a PNG.
void tst_FileTabRig::lookOfTheTab_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<bool>("longExample");
    QTest::newRow("KestaA") << ProductIdKestaA << false;
    QTest::newRow("KestaC") << ProductIdKestaC << true;
    QTest::newRow("Pelvo") << ProductIdPelvo << false;
}

void tst_FileTabRig::lookOfTheTab()
{
    QFETCH(quint32, product);
    QFETCH(bool, longExample);

    if (longExample) {
        m_jpg = m_dir->path() + "/Studio sessions 2026/December/Client with a rather long name/Selects";
        QVERIFY(QDir().mkpath(m_jpg));
    }
    QVERIFY(plug(product));
    // JPG only: the DNG folder and DNG compression are greyed.
    choose(combo("FileFormat"), combo("FileFormat")->itemText(combo("FileFormat")->count() - 1));
    QVERIFY(rig()->settle());
    auto* dngField = pathField("wgtDngPath");
    QVERIFY(!dngField->isEnabled());

    const QImage image = rig()->window()->grab().toImage();
    const auto colourAt = [&](QWidget* w) {
        // Right and below the text, inside the frame.
        const QPoint p = w->mapTo(rig()->window(), QPoint(w->width() - 4, w->height() - 3));
        return image.pixelColor(p).name();
    };
    // Style sheet: line edits #797979, disabled #333333.
    QCOMPARE(colourAt(pathField("wgtJpgPath")), QStringLiteral("#797979"));
    QCOMPARE(colourAt(dngField), QStringLiteral("#333333"));

    // The example fits the label; when it must be shortened, the middle goes
    // and both the folder's start and the file name stay readable.
    auto* example = rig()->find<QLabel>("stxExampleName");
    const QString full = tab()->pictureExample();
    const QString shown = example->text();
    QVERIFY(full.endsWith("Picture00001.JPG"));
    QVERIFY(QFontMetrics(example->font()).horizontalAdvance(shown) <= example->width());
    QVERIFY(example->width() > tab()->width() / 2);
    if (longExample || shown != full) {
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY2(shown.endsWith("Picture00001.JPG"), qPrintable(shown));
        QVERIFY2(shown.startsWith(full.left(5)), qPrintable(shown));
    }
    QCOMPARE(example->toolTip(), full);

    const QString dir = qEnvironmentVariable("OLP_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        const QString name = QStringLiteral("FileTab_%1.png").arg(QTest::currentDataTag());
        QVERIFY(rig()->window()->grab().save(dir + '/' + name));
    }
}

OLP_TEST_GUI_MAIN(tst_FileTabRig)
#include "tst_FileTabRig.moc"
