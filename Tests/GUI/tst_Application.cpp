// The application object in one process, as a user meets it: the no-camera
// window at start-up, the menus with and without a camera window (the demo
// camera connects through the real controller thread and USB transport), the
// About box, warnings (also when the camera goes away inside one), the style
// sheet, the display font and the profile dialogs. The paths that end the
// program run one process each in GUI.Shell.

#include <QComboBox>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Debug.h"
#include "OLP_GUI_AboutDialog.h"
#include "OLP_GUI_DeleteProfilesDialog.h"
#include "OLP_GUI_SaveProfileDialog.h"
#include "OLP_GUI_Settings.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_Shell.h"
#include "OLP_Test_Support.h"

namespace {

// Receives the URLs the application hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void openUrl(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

// Counts the hide events of a window.
class HideCounter : public QObject
{
public:
    int hides = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
};

bool isUniform(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = argb.pixel(0, 0);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (argb.pixel(x, y) != first) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

class tst_Application : public QObject
{
    Q_OBJECT
public:
    tst_Application(OLP_Test_ShellApp* app, std::unique_ptr<OLP_Test_LogCapture>* log) : m_app(app), m_logOwner(log) {}

private slots:
    void initTestCase();
    void cleanup();
    void startUp();
    void aboutBox_data();
    void aboutBox();
    void styleSheetParsesAndPaints();
    void styleSheetImagesExist();
    void displayFont();
    void demoCameraConnectsAndDisconnects();
    void optionsAndHelpOnlyWithACameraWindow();
    void unitsReachSettingsAndController_data();
    void unitsReachSettingsAndController();
    void transparency_data();
    void transparency();
    void alwaysOnTopKeepsTheWindowInPlace_data();
    void alwaysOnTopKeepsTheWindowInPlace();
    void helpOpensTheOwnersArea();
    void warnings_data();
    void warnings();
    void disconnectionInsideAWarning();
    void saveProfileDialog_data();
    void saveProfileDialog();
    void deleteProfilesDialog();
    void profileNamesStayWithTheApplication();

private:
    QMainWindow* noCamera() const { return m_app->noCameraWindow(); }
    QMainWindow* camera() const { return m_app->cameraWindow(); }
    bool connectDemoCamera();
    bool disconnectDemoCamera();
    QString styleSheetText() const;

    OLP_Test_ShellApp* m_app;
    std::unique_ptr<OLP_Test_LogCapture>* m_logOwner;
    OLP_Test_LogCapture* m_log = nullptr;
};

void tst_Application::initTestCase()
{
    // The test library has put its own message handler in front; the capture
    // (and behind it the log file) takes over again.
    m_logOwner->reset();
    m_logOwner->reset(new OLP_Test_LogCapture);
    m_log = m_logOwner->get();
}

bool tst_Application::connectDemoCamera()
{
    if (camera()) {
        return true;
    }
    QAction* demo = olpMenuAction(noCamera(), {"File", "Demo Camera"});
    if (!demo || demo->isChecked() || !olpClickMenu(noCamera(), {"File", "Demo Camera"})) {
        return false;
    }
    return QTest::qWaitFor([this] { return camera() && camera()->isVisible(); }, olpTimeout(15000));
}

bool tst_Application::disconnectDemoCamera()
{
    if (!camera()) {
        return true;
    }
    if (!olpClickMenu(camera(), {"File", "Demo Camera"})) {
        return false;
    }
    return QTest::qWaitFor([this] { return !camera() && noCamera()->isVisible(); }, olpTimeout(15000));
}

QString tst_Application::styleSheetText() const
{
    QFile file(QStringLiteral(":/OLP_GUI/Resources/style.css"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void tst_Application::cleanup()
{
    // Every test starts without a camera.
    QVERIFY(disconnectDemoCamera());
    QCOMPARE(m_app->controller()->productId(), 0u);
}

// Catches: a wrong title, missing texts, menus that show without a camera,
// a demo camera plugged in although nobody asked for it, a start line that
// does not name the version.
void tst_Application::startUp()
{
    QVERIFY(noCamera()->isVisible());
    QCOMPARE(noCamera()->objectName(), QStringLiteral("WinNoCamera"));
    QCOMPARE(noCamera()->windowTitle(), QStringLiteral("Orvane Lumaport 3"));
    QCOMPARE(noCamera()->findChild<QLabel*>("lblConnectCamera")->text(), QStringLiteral("Connect camera ..."));
    const QLabel* hint = noCamera()->findChild<QLabel*>("lblDemoCameraHint");
    QCOMPARE(hint->text(), QStringLiteral("No camera at hand? Choose File > Demo Camera."));
    QVERIFY(hint->font().pointSizeF() < noCamera()->findChild<QLabel*>("lblConnectCamera")->font().pointSizeF());
    QVERIFY(!noCamera()->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(olpVisibleMenus(noCamera()), QStringList{"File"});
    QVERIFY(!olpMenuAction(noCamera(), {"File", "Demo Camera"})->isChecked());
    const QList<OLP_Commu_UsbDeviceEntry> devices = OLP_Commu_UsbPortHub::system()->listDevices();
    for (const OLP_Commu_UsbDeviceEntry& device : devices) {
        QVERIFY2(!device.deviceId.contains("emu"), qPrintable(device.deviceId));
    }
    QVERIFY(m_app->controller());
    QCOMPARE(m_app->controller()->productId(), 0u);
    QCOMPARE(olpLogFileText().count("====== Orvane Lumaport 3.6.0 ======"), 1);
}

void tst_Application::aboutBox_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("third part 0") << "3.6.0"
                                  << "Version 3.6";
    QTest::newRow("third part shown") << "3.6.2"
                                      << "Version 3.6.2";
    QTest::newRow("major release") << "4.0.0"
                                   << "Version 4.0";
}

// Catches: a wrong name or version line, a logo that is not drawn, and a
// second About box for a second click.
void tst_Application::aboutBox()
{
    QFETCH(QString, version);
    QFETCH(QString, text);
    QCOMPARE(OLP_GUI_AboutDialog::versionText(version), text);

    QVERIFY(olpClickMenu(noCamera(), {"File", "About"}));
    QTRY_VERIFY(m_app->aboutDialog() && m_app->aboutDialog()->isVisible());
    QPointer<QDialog> about = m_app->aboutDialog();
    QCOMPARE(about->findChild<QLabel*>("lblApplicationName")->text(), QStringLiteral("Orvane Lumaport 3"));
    QVERIFY(about->findChild<QLabel*>("lblApplicationName")->font().bold());
    QCOMPARE(about->findChild<QLabel*>("lblApplicationVersion")->text(), QStringLiteral("Version 3.6"));
    const QLabel* logo = about->findChild<QLabel*>("lblCompanyLogo");
    QVERIFY(logo->text().contains(":/OLP_GUI/images/OrvaneLogo.png"));
    QVERIFY(!QImage(":/OLP_GUI/images/OrvaneLogo.png").isNull());
    QVERIFY(logo->sizeHint().height() > about->findChild<QLabel*>("lblApplicationVersion")->sizeHint().height());

    QVERIFY(olpClickMenu(noCamera(), {"File", "About"}));
    QCoreApplication::processEvents();
    QCOMPARE(m_app->aboutDialog(), about.data());
    about->close();
    QTRY_VERIFY(!about);
    QVERIFY(!m_app->aboutDialog());
}

// Catches: a sheet Qt cannot parse (it then styles nothing, with only a
// warning in the log) and a window that does not get the dark background.
void tst_Application::styleSheetParsesAndPaints()
{
    const QString sheet = styleSheetText();
    QVERIFY(!sheet.isEmpty());
    QCOMPARE(noCamera()->styleSheet(), sheet);

    // Every kind of widget the sheet styles, with the dynamic properties set.
    m_log->clear();
    QDialog probe;
    probe.setStyleSheet(sheet);
    QVBoxLayout* layout = new QVBoxLayout(&probe);
    QPushButton* capture = new QPushButton(&probe);
    capture->setObjectName("pbnCapture");
    capture->setProperty("PowerSwitch", 2);
    layout->addWidget(capture);
    QToolButton* expSim = new QToolButton(&probe);
    expSim->setObjectName("tbnExpSim");
    expSim->setCheckable(true);
    expSim->setChecked(true);
    expSim->setProperty("MappedState", 3);
    layout->addWidget(expSim);
    layout->addWidget(new QComboBox(&probe));
    layout->addWidget(new QLineEdit(&probe));
    layout->addWidget(new QSlider(Qt::Horizontal, &probe));
    QTabWidget* tabs = new QTabWidget(&probe);
    tabs->addTab(new QWidget, "A");
    layout->addWidget(tabs);
    probe.resize(300, 300);
    probe.grab();
    for (const QString& line : m_log->lines()) {
        QVERIFY2(!line.contains("parse", Qt::CaseInsensitive), qPrintable(line));
    }

    const QImage image = noCamera()->grab().toImage();
    QCOMPARE(QColor(image.pixel(3, image.height() - 3)), QColor("#333333"));
    const QLabel* label = noCamera()->findChild<QLabel*>("lblConnectCamera");
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor("#ffffff"));
}

// Catches: a style sheet image that was not drawn (a blank button instead of
// a failing build) and an image drawn as one flat colour.
void tst_Application::styleSheetImagesExist()
{
    const QRegularExpression url(QStringLiteral("url\\(([^)]+)\\)"));
    QStringList paths;
    QRegularExpressionMatchIterator it = url.globalMatch(styleSheetText());
    while (it.hasNext()) {
        paths.append(it.next().captured(1).trimmed());
    }
    paths.removeDuplicates();
    QVERIFY(paths.size() >= 50);
    QStringList missing;
    for (const QString& path : qAsConst(paths)) {
        QVERIFY2(path.startsWith(":/OLP_GUI/images/"), qPrintable(path));
        const QImage image(path);
        if (image.isNull() || isUniform(image)) {
            missing.append(path);
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

// Catches: the display font missing from the resources or renamed.
void tst_Application::displayFont()
{
    QCOMPARE(m_app->fontFamily(), QStringLiteral("DSEG14 Classic"));
    QVERIFY(QFontDatabase().families().contains("DSEG14 Classic"));
}

// Catches: a demo camera that is not found like a real one, that stays
// connected when unchecked, that cannot come back, and a setting that does
// not follow the menu.
void tst_Application::demoCameraConnectsAndDisconnects()
{
    m_log->clear();
    const int created = m_app->cameraWindowsCreated;
    QVERIFY(connectDemoCamera());
    QCOMPARE(camera()->objectName(), QStringLiteral("WinCamera"));
    QVERIFY(!noCamera()->isVisible());
    QCOMPARE(m_app->controller()->productId(), quint32(ProductIdKestaD));
    QCOMPARE(m_log->count("====== Connected to "), 1);
    QVERIFY(OLP_GUI_Settings::instance()->isDemoCamera());
    QVERIFY(olpMenuAction(camera(), {"File", "Demo Camera"})->isChecked());

    QVERIFY(disconnectDemoCamera());
    QCOMPARE(m_log->count("====== Disconnected ======"), 1);
    QVERIFY(!OLP_GUI_Settings::instance()->isDemoCamera());
    QVERIFY(!olpMenuAction(noCamera(), {"File", "Demo Camera"})->isChecked());
    QVERIFY(!m_app->isQuitWanted());

    QVERIFY(connectDemoCamera());
    QCOMPARE(m_log->count("====== Connected to "), 2);
    QCOMPARE(m_app->cameraWindowsCreated, created + 2);
}

// Catches: "Options" and "Help" showing without a camera window, or missing
// with one; a menu bar that loses them after a camera has come and gone.
void tst_Application::optionsAndHelpOnlyWithACameraWindow()
{
    QCOMPARE(olpVisibleMenus(noCamera()), QStringList{"File"});
    QVERIFY(connectDemoCamera());
    QCOMPARE(olpVisibleMenus(camera()), (QStringList{"File", "Options", "Help"}));
    QVERIFY(disconnectDemoCamera());
    QCOMPARE(olpVisibleMenus(noCamera()), QStringList{"File"});
    QVERIFY(connectDemoCamera());
    QCOMPARE(olpVisibleMenus(camera()), (QStringList{"File", "Options", "Help"}));
}

void tst_Application::unitsReachSettingsAndController_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("feet");
    QTest::newRow("feet") << "Meter"
                          << "Feet" << true;
    QTest::newRow("meter") << "Feet"
                           << "Meter" << false;
}

// Catches: a unit choice that is not stored or never reaches the controller.
void tst_Application::unitsReachSettingsAndController()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, feet);
    QVERIFY(connectDemoCamera());
    QSignalSpy spy(m_app->controller(), &OLP_Logic_Controller::signalFocusIsUnitFeet);
    QVERIFY(olpClickMenu(camera(), {"Options", "Meter/Feet", from}));
    QVERIFY(olpClickMenu(camera(), {"Options", "Meter/Feet", to}));
    QTRY_VERIFY(!spy.isEmpty() && spy.last().at(0).toBool() == feet);
    QCOMPARE(OLP_GUI_Settings::instance()->isUnitFeet(), feet);
    QVERIFY(olpMenuAction(camera(), {"Options", "Meter/Feet", to})->isChecked());
    QVERIFY(!olpMenuAction(camera(), {"Options", "Meter/Feet", from})->isChecked());
}

void tst_Application::transparency_data()
{
    QTest::addColumn<bool>("withCamera");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<double>("opacity");
    QTest::newRow("60%") << true << "60%" << 0.4;
    QTest::newRow("20%") << true << "20%" << 0.8;
    QTest::newRow("0%") << true << "0%" << 1.0;
    QTest::newRow("without camera window") << false << "60%" << 1.0;
}

// Catches: a wrong opacity, an opacity applied to the no-camera window, and
// a transparency that is remembered.
void tst_Application::transparency()
{
    QFETCH(bool, withCamera);
    QFETCH(QString, entry);
    QFETCH(double, opacity);
    if (withCamera) {
        QVERIFY(connectDemoCamera());
        QVERIFY(olpClickMenu(camera(), {"Options", "Transparency", entry}));
        QTRY_COMPARE(camera()->windowOpacity(), opacity);
    } else {
        // The entry is hidden without a camera; it does nothing even when
        // reached.
        QVERIFY(!olpMenuAction(noCamera(), {"Options"})->isVisible());
        QAction* action = olpMenuAction(noCamera(), {"Options", "Transparency", entry});
        QVERIFY(action);
        action->trigger();
    }
    QCOMPARE(noCamera()->windowOpacity(), 1.0);
    QVERIFY(OLP_GUI_Settings::instance()->sync());
    QFile file(OLP_GUI_Settings::instance()->fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(!text.contains("Transparen") && !text.contains("Opacity"));
}

void tst_Application::alwaysOnTopKeepsTheWindowInPlace_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("off") << false;
    QTest::newRow("on") << true;
}

// Catches: setWindowFlags() on a shown window, which re-creates it: the
// window is hidden (and may jump) and the native flags are not updated.
void tst_Application::alwaysOnTopKeepsTheWindowInPlace()
{
    QFETCH(bool, on);
    QVERIFY(connectDemoCamera());
    OLP_GUI_Settings::instance()->setAlwaysOnTop(!on);
    m_app->applyAlwaysOnTop();
    QMainWindow* window = camera();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint position = window->pos();
    HideCounter counter;
    window->installEventFilter(&counter);
    QAction* action = olpMenuAction(window, {"Options", "Always On Top"});
    action->setChecked(!on);
    QVERIFY(olpClickMenu(window, {"Options", "Always On Top"}));
    QTRY_COMPARE(OLP_GUI_Settings::instance()->isAlwaysOnTop(), on);
    QCOMPARE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
    QCOMPARE(window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), on);
    QCOMPARE(noCamera()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
    QCOMPARE(counter.hides, 0);
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), position);
    window->removeEventFilter(&counter);
}

// Catches: a Help entry that opens nothing or another address.
void tst_Application::helpOpensTheOwnersArea()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "openUrl");
    QVERIFY(connectDemoCamera());
    QVERIFY(olpClickMenu(camera(), {"Help", "Orvane Lumaport Help"}));
    QTRY_COMPARE(catcher.urls.size(), 1);
    QCOMPARE(catcher.urls.first(), QUrl("https://owners.orvane-camera.example/index.php/de/login"));
    QCOMPARE(catcher.urls.first().host(), OLP_GUI_Application::ownerServerHost());
    QDesktopServices::unsetUrlHandler("https");
}

void tst_Application::warnings_data()
{
    QTest::addColumn<bool>("withCamera");
    QTest::addColumn<QString>("text");
    QTest::newRow("no camera window") << false << "The card is full.";
    QTest::newRow("camera window") << true << "The lens is not attached.";
    QTest::newRow("empty text") << true << "";
}

// Catches: a wrong title, buttons other than Ok, and a box for no text.
void tst_Application::warnings()
{
    QFETCH(bool, withCamera);
    QFETCH(QString, text);
    if (withCamera) {
        QVERIFY(connectDemoCamera());
    }
    QString title;
    QString shown;
    QWidget* parent = nullptr;
    bool modal = false;
    QMessageBox::StandardButtons buttons;
    int buttonCount = 0;
    QPointer<QTimer> watcher = olpWhenModal([&](QWidget* widget) {
        modal = true;
        if (QMessageBox* box = qobject_cast<QMessageBox*>(widget)) {
            title = box->windowTitle();
            shown = box->text();
            parent = box->parentWidget();
            buttons = box->standardButtons();
            buttonCount = box->buttons().size();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    QVERIFY(QMetaObject::invokeMethod(m_app, "showWarning", Qt::QueuedConnection, Q_ARG(QString, text)));
    if (text.isEmpty()) {
        // Queued behind the warning: by the time it runs, a box would be open.
        auto noBox = std::make_shared<int>(-1);  // -1 until the call ran
        QVERIFY(QMetaObject::invokeMethod(
            m_app, [noBox] { *noBox = QApplication::activeModalWidget() ? 0 : 1; }, Qt::QueuedConnection));
        QTRY_VERIFY(*noBox != -1);
        QCOMPARE(*noBox, 1);
        QVERIFY(!modal);
        delete watcher;
        return;
    }
    QTRY_VERIFY(modal && !QApplication::activeModalWidget());
    QCOMPARE(title, QStringLiteral("Warning"));
    QCOMPARE(shown, text);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(buttonCount, 1);
    QCOMPARE(parent, withCamera ? static_cast<QWidget*>(camera()) : noCamera());
}

// Catches: the box dying with the camera window inside its exec() (a stack
// box destroyed twice), and the menu lists that still point at the dead
// camera window's menus afterwards (ASan finds both).
void tst_Application::disconnectionInsideAWarning()
{
    QVERIFY(connectDemoCamera());
    QPointer<QMainWindow> window = camera();
    QPointer<QWidget> seenBox;
    olpWhenModal([&](QWidget* box) {
        seenBox = box;
        // The cable is pulled while the box is open.
        olpMenuAction(window, {"File", "Demo Camera"})->trigger();
        const bool closed = QTest::qWaitFor([&] { return !window; }, olpTimeout(15000));
        Q_UNUSED(closed)  // checked below, outside the box
    });
    QVERIFY(QMetaObject::invokeMethod(m_app, "showWarning", Qt::QueuedConnection, Q_ARG(QString, "Battery low")));
    QTRY_VERIFY_WITH_TIMEOUT(!window && seenBox.isNull() && noCamera()->isVisible(), olpTimeout(20000));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!m_app->isQuitWanted());

    m_app->setUnitsMenuEnabled(false);
    m_app->setMenusVisible(true);
    QCOMPARE(olpVisibleMenus(noCamera()), QStringList{"File"});
    m_app->setMenusVisible(false);
}

void tst_Application::saveProfileDialog_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("selectRow");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("closed");
    const QStringList existing{"Studio", "Street"};
    QTest::newRow("create") << "Night"
                            << "pbnCreate" << -1 << QStringList{"Studio", "Street", "Night"} << true;
    QTest::newRow("create blank") << "  "
                                  << "pbnCreate" << -1 << existing << false;
    QTest::newRow("create existing") << "Studio"
                                     << "pbnCreate" << -1 << existing << false;
    QTest::newRow("choose selected") << ""
                                     << "pbnChoose" << 1 << existing << true;
    QTest::newRow("choose nothing") << ""
                                    << "pbnChoose" << -1 << existing << false;
}

// Catches: names lost or doubled, and a dialog that closes with nothing done.
void tst_Application::saveProfileDialog()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(int, selectRow);
    QFETCH(QStringList, names);
    QFETCH(bool, closed);
    QStringList profiles{"Studio", "Street"};
    OLP_GUI_SaveProfileDialog dialog(&profiles, noCamera());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.findChild<QLineEdit*>("ledProfileName"), typed);
    QListWidget* list = dialog.findChild<QListWidget*>("lwtProfiles");
    if (selectRow >= 0) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(selectRow)).center());
    }
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(profiles, names);
    QCOMPARE(dialog.isVisible(), !closed);
    QCOMPARE(list->count(), names.size());
    if (closed) {
        QCOMPARE(dialog.chosenName(), selectRow >= 0 ? profiles.at(selectRow) : typed);
    }
}

// Catches: a deleted name that stays in the application's list.
void tst_Application::deleteProfilesDialog()
{
    QStringList profiles{"A", "B", "C"};
    OLP_GUI_DeleteProfilesDialog dialog(&profiles, noCamera());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.findChild<QListWidget*>("lwtProfiles");
    QPushButton* remove = dialog.findChild<QPushButton*>("pbnDelete");
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(profiles.size(), 3);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(1)).center());
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(profiles, (QStringList{"A", "C"}));
    QCOMPARE(list->count(), 2);
}

// Catches: profile names that die with their dialog, and dialogs that are not
// children of the no-camera window.
void tst_Application::profileNamesStayWithTheApplication()
{
    QString parentName;
    olpWhenModal([&](QWidget* dialog) {
        parentName = dialog->parentWidget() ? dialog->parentWidget()->objectName() : QString();
        QTest::keyClicks(dialog->findChild<QLineEdit*>("ledProfileName"), "Night");
        QTest::mouseClick(dialog->findChild<QPushButton*>("pbnCreate"), Qt::LeftButton);
    });
    QVERIFY(QMetaObject::invokeMethod(m_app, "catchActionSaveProfile", Qt::QueuedConnection));
    QTRY_COMPARE(parentName, QStringLiteral("WinNoCamera"));
    QTRY_VERIFY(!QApplication::activeModalWidget());

    QStringList listed;
    olpWhenModal([&](QWidget* dialog) {
        const QListWidget* list = dialog->findChild<QListWidget*>("lwtProfiles");
        for (int i = 0; i < list->count(); ++i) {
            listed.append(list->item(i)->text());
        }
        dialog->close();
    });
    QVERIFY(QMetaObject::invokeMethod(m_app, "catchActionDeleteProfile", Qt::QueuedConnection));
    QTRY_COMPARE(listed, QStringList{"Night"});
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

int main(int argc, char** argv)
{
    // A home and an application-data folder of this run only.
    QTemporaryDir home;
    olpUseTemporaryHome(home.path());
    initApplicationIdentity();
    setDebugFlags(0x01000000, true);
    qInstallMessageHandler(messageHandler);
    std::unique_ptr<OLP_Test_LogCapture> log(new OLP_Test_LogCapture);
    int result = 0;
    {
        OLP_Test_ShellApp app(argc, argv);
        olpIgnoreOffscreenScreens();
        tst_Application test(&app, &log);
        result = QTest::qExec(&test, argc, argv);
        OLP_GUI_Settings::destroyInstance();
    }
    OLP_GUI_Settings::destroyInstance();
    return result;
}

#include "tst_Application.moc"
