#include "OLP_GUI_Application.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QFile>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QThread>
#include <QWindow>

#include "OLP_Artwork.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_GUI_AboutDialog.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_CameraKesta2.h"
#include "OLP_GUI_DeleteProfilesDialog.h"
#include "OLP_GUI_SaveProfileDialog.h"
#include "OLP_GUI_Settings.h"
#include "OLP_GUI_WindowGeometry.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_ControllerWorker.h"
#include "OLP_Logic_MetaTypes.h"

// Resources of the static GUI libraries; outside any namespace, as Qt requires.
static void olpInitGuiResources()
{
    Q_INIT_RESOURCE(olp_gui_resources);
    Q_INIT_RESOURCE(olp_gui_fonts);
}

namespace {

constexpr eDebugFlag kAppFlag = 0x01000000;
// The controller exists within milliseconds; the limit only guards against a
// thread that never runs.
constexpr int kControllerStartMs = 30000;
// Shut-down waits this long for the controller thread, which waits for the
// running picture transfers.
constexpr int kControllerFinishMs = 60000;

const char kOwnerServerHost[] = "owners.orvane-camera.example";

}  // namespace

OLP_GUI_Application::OLP_GUI_Application(int& argc, char** argv) : QApplication(argc, argv)
{
    const char* name = "OLP_GUI_Application::OLP_GUI_Application";
    olpRegisterMetaTypes();
    olpInitGuiResources();
    olpInitArtwork();

    initApplicationIdentity();
    setApplicationDisplayName(QStringLiteral("Orvane Lumaport"));
    setAttribute(Qt::AA_UseHighDpiPixmaps);
    setStyle(QStringLiteral("fusion"));
    setQuitOnLastWindowClosed(false);

    loadDisplayFont();
    debugPrintf(0, "====== %s %s ======", qUtf8Printable(applicationDisplayName()),
                qUtf8Printable(applicationVersion()));

    m_noCamera = new OLP_GUI_SettingsAwareWidgetT<OLP_GUI_NoCamera>(this);
    m_noCamera->setObjectName(QStringLiteral("WinNoCamera"));
    OLP_GUI_WindowGeometry::restoreOnScreen(m_noCamera);
    Qt::WindowFlags flags = m_noCamera->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    flags &= ~Qt::WindowMaximizeButtonHint;
    m_noCamera->setWindowFlags(flags);
    connect(m_noCamera, &OLP_GUI_NoCamera::signalClosedByUser, this, &OLP_GUI_Application::catchActionQuit);
    loadStyleSheet();

    debugPrintf(kAppFlag, "%s - created in thread 0x%012lX", name, currentThreadIdForLog());

    // Plugged in before the controller's first device poll, which then finds it.
    if (OLP_GUI_Settings::instance()->isDemoCamera()) {
        setDemoCameraPlugged(true);
    }
    startController();

    applyAlwaysOnTop();
    if (m_controller) {
        m_controller->setIsUnitFeet(OLP_GUI_Settings::instance()->isUnitFeet());
        connectController();
    }
    m_noCamera->show();
}

OLP_GUI_Application::~OLP_GUI_Application()
{
    const char* name = "OLP_GUI_Application::~OLP_GUI_Application";
    m_shuttingDown = true;
    delete m_about;
    if (m_cameraWindow) {
        disconnect(m_cameraWindow, nullptr, this, nullptr);
        delete m_cameraWindow;
    }
    delete m_noCamera;
    m_folderSettings.reset();

    emit signalFinishController();
    // The worker's signalFinished() quits the thread directly, so this wait
    // does not depend on the GUI event loop, which has ended.
    if (m_controllerThread) {
        if (m_controllerThread->wait(kControllerFinishMs)) {
            delete m_controllerThread;
        } else {
            debugPrintf(0, "%s - the controller thread did not finish within %d s and is left running", name,
                        kControllerFinishMs / 1000);
        }
    }
    debugPrintf(0, "====== Quit ======");
}

void OLP_GUI_Application::loadDisplayFont()
{
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/OLP_GUI/fonts/Tavel_Regular.ttf"));
    const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
    if (families.isEmpty()) {
        debugPrintf(0, "%s - cannot load the display font", "OLP_GUI_Application::loadDisplayFont");
        return;
    }
    m_fontFamily = families.first();
}

void OLP_GUI_Application::loadStyleSheet()
{
    QFile file(QStringLiteral(":/OLP_GUI/Resources/style.css"));
    if (!file.open(QIODevice::ReadOnly)) {
        debugPrintf(0, "%s - cannot find style.css", "OLP_GUI_Application::OLP_GUI_Application");
        return;
    }
    QByteArray text = file.readAll();
    const int end = text.indexOf('\0');
    if (end >= 0) {
        text.truncate(end);
    }
    m_noCamera->setStyleSheet(QString::fromUtf8(text));
}

void OLP_GUI_Application::startController()
{
    QThread* thread = new QThread;
    thread->setObjectName(QStringLiteral("ControllerThread"));
    m_controllerThread = thread;
    OLP_Logic_ControllerWorker* worker = new OLP_Logic_ControllerWorker;
    worker->moveToThread(thread);
    connect(thread, &QThread::started, worker, &OLP_Logic_ControllerWorker::process);
    // requestFinish() only sets a flag and may be called from any thread.
    connect(this, &OLP_GUI_Application::signalFinishController, worker, &OLP_Logic_ControllerWorker::requestFinish,
            Qt::DirectConnection);
    // Direct: at shut-down the GUI event loop has ended and a queued quit()
    // would never arrive.
    connect(worker, &OLP_Logic_ControllerWorker::signalFinished, thread, &QThread::quit, Qt::DirectConnection);
    connect(worker, &OLP_Logic_ControllerWorker::signalFinished, worker, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);

    m_controller = worker->waitForController(kControllerStartMs);
    if (!m_controller) {
        debugPrintf(0, "%s - the controller did not start", "OLP_GUI_Application::startController");
    }
}

void OLP_GUI_Application::connectController()
{
    OLP_Logic_Controller* c = m_controller;
    connect(c, &OLP_Logic_Controller::signalCameraConnected, this, &OLP_GUI_Application::catchCameraConnected);
    connect(c, &OLP_Logic_Controller::signalCameraDisconnected, this, &OLP_GUI_Application::catchCameraDisconnected);
    connect(this, &OLP_GUI_Application::signalCameraGUIOpened, c, &OLP_Logic_Controller::catchCameraGUIOpened);
    connect(this, &OLP_GUI_Application::signalCameraGUIClosed, c, &OLP_Logic_Controller::catchCameraGUIClosed);
    connect(this, &OLP_GUI_Application::signalLiveViewGUIOpened, c, &OLP_Logic_Controller::catchLiveViewGUIOpened);
    connect(this, &OLP_GUI_Application::signalLiveViewGUIClosed, c, &OLP_Logic_Controller::catchLiveViewGUIClosed);
    connect(c, &OLP_Logic_Controller::signalHasFocusDistance, this, &OLP_GUI_Application::setUnitsMenuEnabled);
    connect(c, &OLP_Logic_Controller::signalWarning, this, &OLP_GUI_Application::showWarning);
}

QDialog* OLP_GUI_Application::aboutDialog() const
{
    return m_about;
}

bool OLP_GUI_Application::isRecognisedProduct(quint32 productId)
{
    switch (productId) {
        case ProductIdKestaA:
        case ProductIdKestaB:
        case ProductIdKestaC:
        case ProductIdKestaD:
        case ProductIdPelvo:
        case ProductIdKestaE:
            return true;
        default:
            return false;
    }
}

QString OLP_GUI_Application::ownerServerHost()
{
    return QLatin1String(kOwnerServerHost);
}

QUrl OLP_GUI_Application::ownersAreaUrl()
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(ownerServerHost());
    url.setPath(QStringLiteral("/index.php/de/login"));
    return url;
}

OLP_GUI_CameraBase* OLP_GUI_Application::createCameraWindow(quint32 productId)
{
    // One window serves every recognised camera; it adapts to the product.
    if (!isRecognisedProduct(productId)) {
        return nullptr;
    }
    return new OLP_GUI_CameraKesta2(this, m_controller);
}

// ---- menus -----------------------------------------------------------------

QMenuBar* OLP_GUI_Application::createMenuBar()
{
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    m_optionsMenus.clear();
    m_unitsMenus.clear();
    m_helpMenus.clear();
    m_demoCameraActions.removeAll(nullptr);

    QMenuBar* bar = new QMenuBar;
    QMenu* file = bar->addMenu(tr("File"));
    connect(file->addAction(tr("About")), &QAction::triggered, this, &OLP_GUI_Application::catchActionAbout);
    QAction* demo = file->addAction(tr("Demo Camera"));
    demo->setCheckable(true);
    demo->setChecked(settings->isDemoCamera());
    connect(demo, &QAction::triggered, this, &OLP_GUI_Application::catchActionDemoCamera);
    m_demoCameraActions.append(demo);
    connect(file->addAction(tr("Quit")), &QAction::triggered, this, &OLP_GUI_Application::catchActionQuit);

    QMenu* options = bar->addMenu(tr("Options"));
    QMenu* units = options->addMenu(tr("Meter/Feet"));
    QActionGroup* unitGroup = new QActionGroup(units);
    unitGroup->setExclusive(true);
    const bool feet = settings->isUnitFeet();
    QAction* meter = units->addAction(tr("Meter"));
    meter->setData(false);
    QAction* foot = units->addAction(tr("Feet"));
    foot->setData(true);
    for (QAction* unit : {meter, foot}) {
        unit->setCheckable(true);
        unit->setChecked(unit->data().toBool() == feet);
        unitGroup->addAction(unit);
        connect(unit, &QAction::triggered, this, &OLP_GUI_Application::catchActionUnits);
    }
    QAction* autoUpdates = options->addAction(tr("Automatic Updates"));
    autoUpdates->setCheckable(true);
    autoUpdates->setChecked(settings->isAutoUpdates());
    connect(autoUpdates, &QAction::triggered, this, &OLP_GUI_Application::catchActionAutoUpdates);
    QAction* onTop = options->addAction(tr("Always On Top"));
    onTop->setCheckable(true);
    onTop->setChecked(settings->isAlwaysOnTop());
    connect(onTop, &QAction::triggered, this, &OLP_GUI_Application::catchActionAlwaysOnTop);
    QMenu* transparency = options->addMenu(tr("Transparency"));
    for (int percent : {0, 20, 40, 60}) {
        QAction* action = transparency->addAction(tr("%1%").arg(percent));
        action->setData(percent);
        connect(action, &QAction::triggered, this, &OLP_GUI_Application::catchActionTransparency);
    }

    QMenu* help = bar->addMenu(tr("Help"));
    QAction* manual = help->addAction(tr("Orvane Lumaport Help"));
    manual->setShortcut(QKeySequence(tr("Ctrl+?")));
    connect(manual, &QAction::triggered, this, &OLP_GUI_Application::catchActionOpenManual);

    m_optionsMenus.append(options);
    m_unitsMenus.append(units);
    m_helpMenus.append(help);
    setMenusVisible(false);
    return bar;
}

void OLP_GUI_Application::setMenusVisible(bool visible)
{
    for (const QList<QPointer<QMenu>>* list : {&m_optionsMenus, &m_helpMenus}) {
        for (const QPointer<QMenu>& menu : *list) {
            if (menu) {
                menu->menuAction()->setVisible(visible);
            }
        }
    }
}

void OLP_GUI_Application::setUnitsMenuEnabled(bool enabled)
{
    for (const QPointer<QMenu>& menu : qAsConst(m_unitsMenus)) {
        if (menu) {
            menu->setEnabled(enabled);
        }
    }
}

void OLP_GUI_Application::catchActionAbout()
{
    setQuitOnLastWindowClosed(false);
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    m_about = new OLP_GUI_AboutDialog;
    // One style sheet styles every window.
    if (m_noCamera) {
        m_about->setStyleSheet(m_noCamera->styleSheet());
    }
    if (OLP_GUI_Settings::instance()->isAlwaysOnTop()) {
        applyAlwaysOnTop(m_about, true);
    }
    connect(m_about, &QObject::destroyed, this, &OLP_GUI_Application::catchAboutDestroyed);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->show();
}

void OLP_GUI_Application::catchAboutDestroyed() {}

void OLP_GUI_Application::catchActionQuit()
{
    debugPrintf(kAppFlag, "%s - quit requested", "OLP_GUI_Application::catchActionQuit");
    m_quitWanted = true;
    if (m_cameraWindow) {
        // The rest follows the camera window's destruction and the disconnection.
        m_cameraWindow->close();
        return;
    }
    quitApplication();
}

void OLP_GUI_Application::quitApplication()
{
    if (m_about) {
        m_about->close();
    }
    setQuitOnLastWindowClosed(true);
    if (m_noCamera) {
        m_noCamera->close();
    }
    // Whatever else may still be open, the user asked to quit.
    quit();
}

void OLP_GUI_Application::catchActionUnits()
{
    const QAction* action = qobject_cast<const QAction*>(sender());
    if (!action) {
        return;
    }
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    settings->setIsUnitFeet(action->data().toBool());
    if (m_controller) {
        m_controller->setIsUnitFeet(settings->isUnitFeet());
    }
}

void OLP_GUI_Application::catchActionAutoUpdates()
{
    if (const QAction* action = qobject_cast<const QAction*>(sender())) {
        OLP_GUI_Settings::instance()->setAutoUpdates(action->isChecked());
    }
}

void OLP_GUI_Application::catchActionAlwaysOnTop()
{
    if (const QAction* action = qobject_cast<const QAction*>(sender())) {
        OLP_GUI_Settings::instance()->setAlwaysOnTop(action->isChecked());
        applyAlwaysOnTop();
    }
}

void OLP_GUI_Application::catchActionTransparency()
{
    const QAction* action = qobject_cast<const QAction*>(sender());
    if (!action) {
        return;
    }
    bool ok = false;
    const int percent = action->data().toInt(&ok);
    if (ok && m_cameraWindow) {
        m_cameraWindow->setWindowOpacity(1.0 - percent / 100.0);
    }
}

void OLP_GUI_Application::catchActionDemoCamera()
{
    const QAction* action = qobject_cast<const QAction*>(sender());
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    const bool on = action ? action->isChecked() : !settings->isDemoCamera();
    settings->setDemoCamera(on);
    for (const QPointer<QAction>& other : qAsConst(m_demoCameraActions)) {
        if (other && other != action) {
            other->setChecked(on);
        }
    }
    setDemoCameraPlugged(on);
}

void OLP_GUI_Application::setDemoCameraPlugged(bool plugged)
{
    const char* name = "OLP_GUI_Application::setDemoCameraPlugged";
    if (plugged) {
        if (!m_demoCamera) {
            m_demoCamera = OLP_Commu_EmuUsbPort::installDemoCamera(ProductIdKestaD);
            debugPrintf(kAppFlag, "%s - demo camera plugged in", name);
        } else if (!m_demoCamera->isPlugged()) {
            m_demoCamera->replug();
            debugPrintf(kAppFlag, "%s - demo camera plugged in again", name);
        }
    } else if (m_demoCamera && m_demoCamera->isPlugged()) {
        m_demoCamera->unplug();
        debugPrintf(kAppFlag, "%s - demo camera unplugged", name);
    }
}

void OLP_GUI_Application::catchActionSaveProfile()
{
    QPointer<OLP_GUI_SaveProfileDialog> dialog = new OLP_GUI_SaveProfileDialog(&m_profileNames, m_noCamera);
    QPointer<OLP_GUI_Application> self(this);
    dialog->exec();
    if (self && dialog) {
        delete dialog;
    }
}

void OLP_GUI_Application::catchActionDeleteProfile()
{
    QPointer<OLP_GUI_DeleteProfilesDialog> dialog = new OLP_GUI_DeleteProfilesDialog(&m_profileNames, m_noCamera);
    QPointer<OLP_GUI_Application> self(this);
    dialog->exec();
    if (self && dialog) {
        delete dialog;
    }
}

void OLP_GUI_Application::catchActionOpenManual()
{
    if (!QDesktopServices::openUrl(ownersAreaUrl())) {
        debugPrintf(0, "%s - cannot open %s", "OLP_GUI_Application::catchActionOpenManual",
                    qUtf8Printable(ownersAreaUrl().toString()));
    }
}

// ---- always on top -----------------------------------------------------------

void OLP_GUI_Application::applyAlwaysOnTop()
{
    const bool on = OLP_GUI_Settings::instance()->isAlwaysOnTop();
    applyAlwaysOnTop(m_noCamera, on);
    applyAlwaysOnTop(m_cameraWindow, on);
}

void OLP_GUI_Application::applyAlwaysOnTop(QWidget* window, bool on)
{
    if (!window) {
        return;
    }
    Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == on) {
        return;
    }
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (QWindow* handle = window->windowHandle()) {
        // setWindowFlags() would re-create the native window: it hides the
        // window and may move it. The flags go to the native window instead.
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    }
}

// ---- camera connection -------------------------------------------------------

void OLP_GUI_Application::catchCameraConnected()
{
    const char* name = "OLP_GUI_Application::catchCameraConnected";
    if (m_cameraWindow || !m_controller) {
        return;
    }
    const quint32 productId = m_controller->productId();
    if (productId == 0) {
        // The camera went away before this queued call arrived; its
        // disconnection follows.
        debugPrintf(kAppFlag, "%s - camera gone before its window opened", name);
        return;
    }
    debugPrintf(kAppFlag, "====== Connected to %s ======", qUtf8Printable(m_controller->productName()));
    if (m_noCamera) {
        m_noCamera->showNormal();
        m_noCamera->hide();
    }
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(int(productId));
    if (!m_folderSettings) {
        m_folderSettings = std::make_unique<OLP_Logic_FolderSettingsRecord>(settings->folderSettings());
        m_controller->setFolderSettings(*m_folderSettings);
    }

    OLP_GUI_CameraBase* window = nullptr;
    if (isRecognisedProduct(productId)) {
        window = createCameraWindow(productId);
    } else {
        debugPrintf(0, "%s - unknown camera with ProductId 0x%X", name, productId);
    }
    if (!window) {
        // Without a camera window the no-camera window is the only way to
        // reach the menus (and to quit).
        showNoCameraWindow();
        return;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    window->setObjectName(QStringLiteral("WinCamera"));
    OLP_GUI_WindowGeometry::restoreAsStored(window);
    if (m_noCamera) {
        window->setStyleSheet(m_noCamera->styleSheet());
    }
    m_cameraWindow = window;
    applyAlwaysOnTop();
    connect(window, &QObject::destroyed, this, &OLP_GUI_Application::catchCameraGUIDestroyed);
    emit signalCameraGUIOpened();
    window->show();
    setMenusVisible(true);
}

void OLP_GUI_Application::catchCameraDisconnected()
{
    m_folderSettings.reset();
    debugPrintf(kAppFlag, "====== Disconnected ======");
    if (m_cameraWindow) {
        m_cameraWindow->close();
    } else if (!m_quitWanted) {
        showNoCameraWindow();
    }
    if (m_quitWanted) {
        quitApplication();
    }
}

void OLP_GUI_Application::catchCameraGUIDestroyed()
{
    m_cameraWindow = nullptr;
    if (m_shuttingDown) {
        return;
    }
    emit signalCameraGUIClosed();
    if (!m_quitWanted) {
        showNoCameraWindow();
    }
    setMenusVisible(false);
    // The camera went away while the window was closing: no disconnection
    // will come to end the program.
    if (m_quitWanted && (!m_controller || m_controller->productId() == 0)) {
        quitApplication();
    }
}

void OLP_GUI_Application::setWantQuitIfStillConnected()
{
    if (m_controller && m_controller->productId() != 0) {
        m_quitWanted = true;
    }
}

void OLP_GUI_Application::showNoCameraWindow()
{
    if (m_noCamera && !m_shuttingDown) {
        m_noCamera->show();
    }
}

// ---- folder settings ---------------------------------------------------------

void OLP_GUI_Application::storeFolderSettings()
{
    OLP_GUI_Settings::instance()->setFolderSettings(*m_folderSettings);
}

void OLP_GUI_Application::setDngPath(const QString& path)
{
    if (m_folderSettings) {
        m_folderSettings->dngFolder = path;
        storeFolderSettings();
    }
}

void OLP_GUI_Application::setJpgPath(const QString& path)
{
    if (m_folderSettings) {
        m_folderSettings->jpgFolder = path;
        storeFolderSettings();
    }
}

void OLP_GUI_Application::setPictureName(const QString& name)
{
    if (m_folderSettings) {
        m_folderSettings->pictureName = name;
        storeFolderSettings();
    }
}

void OLP_GUI_Application::setPictureIndex(int index)
{
    if (m_folderSettings) {
        m_folderSettings->pictureNumber = index;
        storeFolderSettings();
    }
}

// ---- warnings ----------------------------------------------------------------

void OLP_GUI_Application::showWarning(const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    QWidget* parent = m_cameraWindow ? static_cast<QWidget*>(m_cameraWindow) : m_noCamera.data();
    // On the heap: a disconnection handled inside exec() closes the camera
    // window, and the box dies with its parent.
    QPointer<QMessageBox> box =
        new QMessageBox(QMessageBox::Warning, tr("Warning", "Warning dialog title"), text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("WarningBox"));
    QPointer<OLP_GUI_Application> self(this);
    box->exec();
    if (!self || !box) {
        return;
    }
    delete box;
}
