#include "OLP_GUI_Application.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScreen>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>
#include <QtMath>
#include <cctype>
#include <cmath>

#include "OLP_Artwork.h"
#include "OLP_Color_Factory.h"
#include "OLP_Color_Monitor.h"
#include "OLP_Color_ProfileIF.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_GUI_AboutDialog.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_CameraKesta2.h"
#include "OLP_GUI_DeleteProfilesDialog.h"
#include "OLP_GUI_ImageViewer.h"
#include "OLP_GUI_LiveViewInfoWidget.h"
#include "OLP_GUI_PictureWindow.h"
#include "OLP_GUI_SaveProfileDialog.h"
#include "OLP_GUI_Settings.h"
#include "OLP_GUI_UpdateDialog.h"
#include "OLP_GUI_WindowGeometry.h"
#include "OLP_Logic_CameraProblem.h"
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

constexpr eDebugFlag kTcpFlag = 0x20000000;
const char kTcpGreeting[] = "Orvane Lumaport - TCP Server\r\n";
// A peer cannot flood the log: after this many unknown commands one line says
// that further ones are not logged.
constexpr int kMaxUnknownTcpLines = 20;
// The socket buffers at most this much; beyond it TCP flow control holds the
// peer back, so a flood costs no memory.
constexpr qint64 kTcpReadBuffer = 64 * 1024;
// A peer gone without closing (asleep, cable pulled) is noticed after about
// 60 + 3 x 10 s.
constexpr int kKeepIdleS = 60;
constexpr int kKeepIntervalS = 10;
constexpr int kKeepCount = 3;
// The update file is a few hundred bytes.
constexpr qint64 kMaxUpdateInfoBytes = 64 * 1024;

OLP_GUI_Application::TestOverrides& testOverrides()
{
    static OLP_GUI_Application::TestOverrides overrides;
    return overrides;
}

// The live view and quick view windows.
constexpr int kLiveViewCloseDelayMs = 1000;
constexpr int kLiveViewExtraHeight = 40;
constexpr QSize kLiveViewSize(660, 446);
constexpr QSize kQuickViewSize(640, 426);
constexpr QSize kViewerMinimumSize(300, 200);
constexpr eDebugFlag kQuickViewDumpFlag = 0x10000000;

QPixmap rotated(const QPixmap& pixmap, int angle)
{
    if (angle == 0 || pixmap.isNull()) {
        return pixmap;
    }
    QTransform transform;
    transform.rotate(angle);
    return pixmap.transformed(transform, Qt::FastTransformation);
}

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
    Qt::WindowFlags flags = m_noCamera->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    flags &= ~Qt::WindowMaximizeButtonHint;
    m_noCamera->setWindowFlags(flags);
    // After the flags: setting them may place the window anew.
    OLP_GUI_WindowGeometry::restoreOnScreen(m_noCamera);
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
        connectPictureWindows();
        // A camera found by the controller's first poll may have connected
        // before the connections above existed; its signal is then lost.
        if (m_controller->productId() != 0) {
            QMetaObject::invokeMethod(this, &OLP_GUI_Application::catchCameraConnected, Qt::QueuedConnection);
        }
    }
    startTcpServer();
    m_noCamera->show();
}

OLP_GUI_Application::~OLP_GUI_Application()
{
    const char* name = "OLP_GUI_Application::~OLP_GUI_Application";
    m_shuttingDown = true;
    closeTcpConnection();
    if (m_tcpServer) {
        m_tcpServer->close();
    }
    delete m_about;
    deletePictureWindows();
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
    connect(c, &OLP_Logic_Controller::signalCameraProblem, this, &OLP_GUI_Application::catchCameraProblem);
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
    connect(options->addAction(tr("Check Updates")), &QAction::triggered, this,
            &OLP_GUI_Application::catchActionCheckUpdates);
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
    applyAlwaysOnTop(liveViewWindow(), on);
    applyAlwaysOnTop(quickViewWindow(), on);
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
    // A connection is handled once, also when the start-up check and the
    // controller's signal both report it.
    if (m_cameraWindow || m_cameraConnected || !m_controller) {
        return;
    }
    const quint32 productId = m_controller->productId();
    if (productId == 0) {
        // The camera went away before this queued call arrived.
        debugPrintf(kAppFlag, "%s - camera gone before its window opened", name);
        return;
    }
    m_cameraConnected = true;
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
    if (settings->isAutoUpdates()) {
        requestUpdateCheck(true);
    }
}

void OLP_GUI_Application::catchCameraDisconnected()
{
    m_cameraConnected = false;
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

void OLP_GUI_Application::catchCameraProblem(int problem)
{
    if (m_noCamera) {
        m_noCamera->setProblemText(OLP_Logic_CameraProblem::text(problem));
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
    closeLiveView();
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

void OLP_GUI_Application::setTestOverrides(const TestOverrides& overrides)
{
    testOverrides() = overrides;
}

QUrl OLP_GUI_Application::updateInfoUrl()
{
    if (!testOverrides().updateUrl.isEmpty()) {
        return testOverrides().updateUrl;
    }
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(ownerServerHost());
    url.setPath(QStringLiteral("/ext/remote-control-update-marlow.xml"));
    return url;
}

// ---------------------------------------------------------------- TCP server

void OLP_GUI_Application::startTcpServer()
{
    const char* name = "OLP_GUI_Application::startTcpServer";
    m_tcpServer = new QTcpServer(this);
    connect(m_tcpServer, &QTcpServer::newConnection, this, &OLP_GUI_Application::openTcpConnection);
    connect(this, &OLP_GUI_Application::signalTcpCommand, this, &OLP_GUI_Application::catchTcpCommand,
            Qt::QueuedConnection);

    QHostAddress address(QHostAddress::Any);
    const QString configured = OLP_GUI_Settings::instance()->tcpServerAddress().trimmed();
    if (!configured.isEmpty()) {
        if (!address.setAddress(configured)) {
            address = QHostAddress(QHostAddress::LocalHost);
            debugPrintf(0, "%s - \"%s\" in TcpServerAddress is not an address: the TCP server listens on 127.0.0.1",
                        name, printableAscii(configured.toUtf8()).constData());
        }
    }
    const quint16 port = quint16(qBound(0, testOverrides().tcpPort, 65535));
    if (m_tcpServer->listen(address, port)) {
        debugPrintf(kTcpFlag, "TCP Server - started");
    } else {
        debugPrintf(kTcpFlag, "TCP Server - could not start!");
    }
}

quint16 OLP_GUI_Application::tcpServerPort() const
{
    return m_tcpServer && m_tcpServer->isListening() ? m_tcpServer->serverPort() : 0;
}

void OLP_GUI_Application::openTcpConnection()
{
    if (m_tcpClient) {
        // One client at a time. Connections left pending would pile up until
        // the server stops accepting, so each is closed at once, unanswered.
        while (QTcpSocket* extra = m_tcpServer->nextPendingConnection()) {
            extra->abort();
            extra->deleteLater();
        }
        return;
    }
    QTcpSocket* client = m_tcpServer->nextPendingConnection();
    if (!client) {
        return;
    }
    m_tcpClient = client;
    m_unknownTcpCommands = 0;
    client->setReadBufferSize(kTcpReadBuffer);
    client->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const int fd = int(client->socketDescriptor());
    if (fd >= 0) {
        const int idle = kKeepIdleS;
        const int interval = kKeepIntervalS;
        const int count = kKeepCount;
        setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof(idle));
        setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof(interval));
        setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof(count));
    }
    connect(client, &QTcpSocket::readyRead, this, &OLP_GUI_Application::catchTcpReadyRead);
    connect(client, &QTcpSocket::disconnected, this, &OLP_GUI_Application::closeTcpConnection);
    client->write(kTcpGreeting);
    client->flush();
    client->waitForBytesWritten(3000);
    debugPrintf(kTcpFlag, "TCP Server - opened connection");
    // Others that connected together with this one get no service.
    openTcpConnection();
}

void OLP_GUI_Application::catchTcpReadyRead()
{
    while (m_tcpClient && m_tcpClient->bytesAvailable() > 0) {
        emit signalTcpCommand(m_tcpClient->readAll());
    }
}

void OLP_GUI_Application::closeTcpConnection()
{
    if (!m_tcpClient) {
        return;
    }
    QTcpSocket* client = m_tcpClient;
    disconnect(client, &QTcpSocket::readyRead, this, &OLP_GUI_Application::catchTcpReadyRead);
    disconnect(client, &QTcpSocket::disconnected, this, &OLP_GUI_Application::closeTcpConnection);
    client->deleteLater();
    m_tcpClient = nullptr;
    debugPrintf(kTcpFlag, "TCP Server - closed connection");
}

void OLP_GUI_Application::catchTcpCommand(const QByteArray& bytes)
{
    const char* name = "OLP_GUI_Application::catchTcpCommand";
    if (isDebugEnabled(kTcpFlag)) {
        dumpBuffer(QStringLiteral("tcpBuffer"), QStringLiteral("TCP Server - reading:"),
                   reinterpret_cast<const quint8*>(bytes.constData()), quint64(bytes.size()), 16, 16);
    }
    if (bytes.isEmpty()) {
        return;
    }
    const unsigned char first = static_cast<unsigned char>(bytes.at(0));
    switch (std::toupper(first)) {
        case 'Q':
            closeTcpConnection();
            break;
        case 'R':
            // The controller queues both to its own thread, in this order.
            if (m_controller) {
                m_controller->doCaptureBtnPressed();
                m_controller->doCaptureBtnReleased();
            }
            break;
        default:
            if (m_unknownTcpCommands < kMaxUnknownTcpLines) {
                debugPrintf(0, "%s - unknown TCP command '%c'", name, printableAscii(bytes.left(1)).at(0));
            } else if (m_unknownTcpCommands == kMaxUnknownTcpLines) {
                debugPrintf(0, "%s - further unknown TCP commands are not logged", name);
            }
            if (m_unknownTcpCommands <= kMaxUnknownTcpLines) {
                ++m_unknownTcpCommands;
            }
            break;
    }
}

// -------------------------------------------------------------- update check

void OLP_GUI_Application::catchActionCheckUpdates()
{
    requestUpdateCheck(false);
}

void OLP_GUI_Application::requestUpdateCheck(bool automatic)
{
    m_automaticUpdateCheck = automatic;
    if (!m_network) {
        m_network = new QNetworkAccessManager(this);
        connect(m_network, &QNetworkAccessManager::finished, this, &OLP_GUI_Application::catchDownloadUpdatesInfo);
        connect(this, &OLP_GUI_Application::signalUpdateVersion, this, &OLP_GUI_Application::catchUpdateVersion);
    }
    QNetworkRequest request(updateInfoUrl());
    // A redirect is never followed, so https never turns into http.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(testOverrides().updateTimeoutMs);
    if (testOverrides().replaceCaCertificates) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.setCaCertificates(testOverrides().caCertificates);
        request.setSslConfiguration(ssl);
    }
    limitUpdateReply(m_network->get(request));
}

void OLP_GUI_Application::limitUpdateReply(QNetworkReply* reply)
{
    reply->setReadBufferSize(kMaxUpdateInfoBytes + 1);
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply]() {
        bool ok = false;
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        if (ok && length > kMaxUpdateInfoBytes) {
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxUpdateInfoBytes) {
            reply->abort();
        }
    });
}

void OLP_GUI_Application::catchDownloadUpdatesInfo(QNetworkReply* reply)
{
    reply->deleteLater();
    // Errors, refused certificates, time-outs, redirects and oversized
    // answers show nothing, also for a check from the menu.
    if (reply->error() != QNetworkReply::NoError ||
        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200) {
        return;
    }
    const QByteArray body = reply->read(kMaxUpdateInfoBytes + 1);
    if (body.size() > kMaxUpdateInfoBytes || body.toUpper().contains("<!DOCTYPE")) {
        return;
    }
    QDomDocument document;
    document.setContent(body);
    const QDomNodeList infos = document.elementsByTagName(QStringLiteral("UpdateInfo"));
    if (infos.count() != 1) {
        return;
    }
    const QDomElement info = infos.at(0).toElement();
    const QDomElement major = info.firstChildElement(QStringLiteral("MajorWin"));
    const QDomElement minor = info.firstChildElement(QStringLiteral("MinorWin"));
    const QDomElement build = info.firstChildElement(QStringLiteral("BuildWin"));
    if (major.isNull() || minor.isNull() || build.isNull()) {
        return;
    }
    emit signalUpdateVersion(major.text() + QLatin1Char('.') + minor.text() + QLatin1Char('.') + build.text());
}

int OLP_GUI_Application::compareVersions(const QString& a, const QString& b, bool* valid)
{
    auto parse = [](const QString& text, QVector<quint64>* parts) {
        for (const QString& component : text.split(QLatin1Char('.'))) {
            const QString digits = component.trimmed();
            if (digits.isEmpty() || digits.size() > 9) {
                return false;
            }
            for (const QChar c : digits) {
                if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                    return false;
                }
            }
            parts->append(digits.toULongLong());
        }
        return true;
    };
    QVector<quint64> left;
    QVector<quint64> right;
    const bool ok = parse(a, &left) && parse(b, &right);
    if (valid) {
        *valid = ok;
    }
    if (!ok) {
        return 0;
    }
    const int count = qMax(left.size(), right.size());
    for (int i = 0; i < count; ++i) {
        const quint64 l = i < left.size() ? left.at(i) : 0;
        const quint64 r = i < right.size() ? right.at(i) : 0;
        if (l != r) {
            return l < r ? -1 : 1;
        }
    }
    return 0;
}

void OLP_GUI_Application::catchUpdateVersion(const QString& version)
{
    bool valid = false;
    const int order = compareVersions(applicationVersion(), version, &valid);
    if (!valid) {
        return;
    }
    QWidget* parent = m_cameraWindow ? static_cast<QWidget*>(m_cameraWindow) : m_noCamera.data();
    QPointer<OLP_GUI_Application> self(this);
    const QString title = tr("Check Updates", "Update Information dialog title");
    // On the heap under a guard: a disconnection handled inside exec() deletes
    // the camera window, and the box with it.
    if (order < 0) {
        QPointer<OLP_GUI_UpdateDialog> dialog = new OLP_GUI_UpdateDialog(
            parent, title,
            tr("Orvane Lumaport Update available!\nPlease download latest version from Orvane Owner's Area:"),
            ownersAreaUrl().toString());
        dialog->exec();
        if (self && dialog) {
            dialog->deleteLater();
        }
    } else if (!m_automaticUpdateCheck) {
        QPointer<QMessageBox> box =
            new QMessageBox(QMessageBox::Information, title, tr("Application is up to date."), QMessageBox::Ok, parent);
        box->setObjectName(QStringLiteral("UpToDateBox"));
        box->exec();
        if (self && box) {
            box->deleteLater();
        }
    }
}

// ---- the live view and quick view windows ------------------------------------

// ---- pure functions ----------------------------------------------------------

int OLP_GUI_Application::liveViewRotation(bool hasOrientation, int orientation, double firstLevelAngle)
{
    double angle = hasOrientation ? double(orientation) : -firstLevelAngle;
    angle = std::fmod(angle, 360.0);
    if (angle < 0.0) {
        angle += 360.0;
    }
    if (angle >= 45.0 && angle < 135.0) {
        return 90;
    }
    if (angle >= 135.0 && angle < 225.0) {
        return 180;
    }
    if (angle >= 225.0 && angle < 315.0) {
        return 270;
    }
    return 0;
}

QTransform OLP_GUI_Application::positionTransform(int angle)
{
    QTransform t;
    t.translate(0.5, 0.5);
    t.rotate(angle);
    t.translate(-0.5, -0.5);
    return t;
}

int OLP_GUI_Application::quickViewRotation(int exifOrientation)
{
    // The same turn the picture list gives the camera's pictures.
    return OLP_Logic_Controller::rotationOfOrientation(exifOrientation);
}

QDialog* OLP_GUI_Application::liveViewWindow() const
{
    return m_liveViewWindow;
}

QDialog* OLP_GUI_Application::quickViewWindow() const
{
    return m_quickViewWindow;
}

OLP_GUI_ImageViewer* OLP_GUI_Application::liveViewViewer() const
{
    return m_liveViewViewer;
}

OLP_GUI_LiveViewInfoWidget* OLP_GUI_Application::liveViewInfoWidget() const
{
    return m_liveViewInfo;
}

OLP_GUI_ImageViewer* OLP_GUI_Application::quickViewViewer() const
{
    return m_quickViewViewer;
}

// ---- connections ---------------------------------------------------------------

void OLP_GUI_Application::connectPictureWindows()
{
    using C = OLP_Logic_Controller;
    using A = OLP_GUI_Application;
    C* c = m_controller;
    const Qt::ConnectionType q = Qt::QueuedConnection;
    m_liveViewCloseTimer.setSingleShot(true);
    m_liveViewCloseTimer.setInterval(kLiveViewCloseDelayMs);
    connect(&m_liveViewCloseTimer, &QTimer::timeout, this, &A::catchLiveViewCloseTimedOut);
    connect(c, &C::signalHasOrientation, this, &A::catchHasOrientation, q);
    connect(c, &C::signalOrientation, this, &A::catchOrientation, q);
    connect(c, &C::signal3DAxisAngles, this, &A::catch3DAxisAngles, q);
    connect(c, &C::signalAudioLevelIsManual, this, &A::catchAudioVolIsManual, q);
    connect(c, qOverload<double>(&C::signalAudioVolMicrophone), this, &A::catchAudioVolMicrophone, q);
    connect(this, &A::signalAudioVolMicrophone, c, qOverload<double>(&C::setAudioVolMicrophone), q);
    connect(c, qOverload<int>(&C::signalExposMetering), this, &A::catchExposMetering, q);
    connect(c, &C::signalLiveView, this, &A::showLiveView, q);
    connect(c, &C::signalNoLiveView, this, &A::catchLiveViewCloseRequested, q);
    connect(c, &C::signalQuickView, this, &A::showQuickView, q);
    connect(c, &C::signalNoQuickView, this, &A::closeQuickView, q);
    connect(this, &A::signalLiveViewDisplaySize, c, &C::setLiveViewDisplaySize, q);
    // Positions between the controller and the live view window, rotated on
    // the way; nobody listens on this side while no window exists.
    connect(c, &C::signalLiveZoomInfo, this, &A::catchLiveZoomInfo, q);
    connect(c, &C::signalLiveZoomRect, this, &A::catchLiveZoomRect, q);
    connect(this, &A::signalCrossPosEdited, c, &C::setLiveViewCrossPos, q);
    connect(this, &A::signalGCPipPosEdited, c, &C::setLiveViewGCPipPos, q);
}

// ---- live view -------------------------------------------------------------------

void OLP_GUI_Application::placeCentred(QWidget* window, const QSize& size) const
{
    QScreen* screen = m_cameraWindow ? m_cameraWindow->screen() : nullptr;
    if (!screen) {
        screen = primaryScreen();
    }
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, size.width(), size.height());
    // The area's own top-left: a monitor right of or below the first one does
    // not start at 0,0.
    window->setGeometry(area.left() + (area.width() - size.width()) / 2,
                        area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void OLP_GUI_Application::createLiveViewWindow(int mode)
{
    using A = OLP_GUI_Application;
    using I = OLP_GUI_LiveViewInfoWidget;
    using V = OLP_GUI_ImageViewer;
    using C = OLP_Logic_Controller;
    C* c = m_controller;
    const Qt::ConnectionType q = Qt::QueuedConnection;

    m_gcPipActive = mode == 4;
    OLP_GUI_PictureWindow* window = new OLP_GUI_PictureWindow(m_cameraWindow, true);
    window->setExtraHeight(kLiveViewExtraHeight);
    Qt::WindowFlags flags =
        window->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint;
    flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setWindowFlags(flags);
    placeCentred(window, kLiveViewSize);
    window->setObjectName(QStringLiteral("LiveViewDialog"));
    OLP_GUI_WindowGeometry::restoreOnScreen(window);
    m_liveViewWindow = window;
    applyAlwaysOnTop();

    QVBoxLayout* layout = new QVBoxLayout(window);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(2);
    V* viewer = new V(window);
    viewer->setObjectName(QStringLiteral("LiveViewViewer"));
    viewer->setMinimumSize(kViewerMinimumSize);
    I* info = new I(window);
    layout->addWidget(viewer, 1);
    layout->addWidget(info);
    m_liveViewViewer = viewer;
    m_liveViewInfo = info;
    m_liveViewScreenCentre = QPoint(-1, -1);
    m_liveViewDisplaySize = QSize();

    viewer->setExpSpotIsActive(m_exposMetering == 0);
    viewer->setGCPipIsActive(m_gcPipActive);
    viewer->setWantColorMatch(true);
    viewer->setWantMoveInZoom(c && c->productId() == ProductIdKestaD);
    info->setAudioVolumeIsManual(m_audioVolIsManual);
    info->setAudioVolume(m_audioVolMicrophone);
    info->setGCPipIsActive(m_gcPipActive);

    connect(window, &QObject::destroyed, this, &A::catchLiveViewDestroyed);
    connect(this, &A::signalLiveViewPixmap, viewer, &V::setPixmap);
    connect(this, &A::signalLiveViewMode, viewer, &V::setLiveViewMode);
    connect(this, &A::signalLiveViewMode, info, &I::setLiveViewMode);
    connect(this, &A::signalLiveZoomInfo, viewer, &V::setZoomInfo);
    connect(this, &A::signalLiveZoomInfo, info, &I::setZoomInfo);
    connect(this, &A::signalLiveZoomRect, viewer, &V::setZoomRect);
    connect(viewer, &V::signalCrossPos, this, &A::catchCrossPosEdited);
    connect(viewer, &V::signalGCPipPos, info, &I::setGCPipNeedsSave);
    connect(viewer, &V::signalGCPipPos, this, &A::catchGCPipPosEdited);
    connect(info, &I::signalAudioVolume, this, &A::catchAudioVolume);
    connect(info, &I::signalGCPipIsActive, viewer, &V::setGCPipIsActive);
    connect(info, &I::signalGCPipIsActive, this, &A::catchGCPipIsActive);
    connect(info, &I::signalGCPipSave, this, &A::catchGCPipInactive);
    if (c) {
        // These die with the viewer or the info widget: a window that went
        // leaves no connection behind.
        connect(info, &I::signalAFPressed, c, &C::doLiveViewAFPressed, q);
        connect(info, &I::signalAFReleased, c, &C::doLiveViewAFReleased, q);
        connect(viewer, &V::signalPixmapConsumed, c, &C::catchLiveViewConsumed, q);
        connect(c, &C::signalExposureSimulationList, info, &I::setExposureSimulationList, q);
        connect(c, qOverload<int>(&C::signalExposureSimulation), info, &I::setExposureSimulation, q);
        connect(info, &I::signalExposureSimulation, c, qOverload<int>(&C::setExposureSimulation), q);
        connect(c, &C::signalLiveAudioLevel, info, &I::setAudioLevel, q);
        connect(c, &C::signalLiveTimeCode, info, &I::setTimeCode, q);
        connect(info, &I::signalZoomLevelClicked, c, &C::toggleLiveViewZoom, q);
        connect(info, &I::signalGCPipIsActive, c, &C::setLiveViewGCPipActive, q);
        connect(info, &I::signalGCPipSave, c, &C::doLiveViewGCPipSave, q);
    }
    emit signalLiveViewGUIOpened();
}

void OLP_GUI_Application::showLiveView(const QImage& frame)
{
    if (!m_cameraWindow || m_cameraWindow->isBeingDestroyed() || m_shuttingDown) {
        return;
    }
    m_liveViewCloseTimer.stop();
    const int mode = m_controller ? m_controller->liveViewMode() : 0;
    m_cameraWindow->setLiveViewPhoto(mode == 2);
    m_cameraWindow->setLiveViewVideo(mode == 3);
    if (!m_liveViewWindow) {
        createLiveViewWindow(mode);
    }
    // A receiver above may have closed the camera window, and the live view
    // window with it.
    if (!m_liveViewWindow || !m_liveViewViewer || !m_liveViewInfo) {
        return;
    }
    matchToScreen(m_liveViewWindow, m_liveViewViewer, &m_liveViewScreenCentre);
    emit signalLiveViewMode(mode);

    m_liveViewRotation = liveViewRotation(m_hasOrientation, m_orientation, m_levelAngleFirst);
    const QPixmap pixmap = rotated(QPixmap::fromImage(frame), m_liveViewRotation);
    emit signalLiveViewPixmap(pixmap);
    if (!m_liveViewWindow || !m_liveViewViewer || !m_liveViewInfo) {
        return;
    }
    m_liveViewViewer->setGCPipIsActive(m_gcPipActive);
    m_liveViewInfo->setGCPipIsActive(m_gcPipActive);

    if (mode == 4) {
        m_liveViewWindow->setWindowTitle(tr("Grey Card Live View", "Live View Window Title"));
    } else if (mode == 2) {
        m_liveViewWindow->setWindowTitle(tr("Live View Photo", "Live View Window Title"));
    } else {
        m_liveViewWindow->setWindowTitle(tr("Live View Video", "Live View Window Title"));
    }
    double ratio = 0.0;
    if (!frame.isNull()) {
        const bool turned = m_liveViewRotation == 90 || m_liveViewRotation == 270;
        ratio = turned ? double(frame.height()) / frame.width() : double(frame.width()) / frame.height();
    }
    m_liveViewWindow->setAspectRatio(ratio);
    // Shown without activating (the window's attribute); no activateWindow().
    if (!m_liveViewWindow->isVisible()) {
        m_liveViewWindow->show();
    }
    tellLiveViewDisplaySize(frame.size());
}

void OLP_GUI_Application::tellLiveViewDisplaySize(const QSize& frameSize)
{
    if (!m_liveViewViewer || frameSize.isEmpty()) {
        return;
    }
    // The frame as the viewer shows it: fitted into its contents, in device
    // pixels, then turned back into the frame's own orientation.
    const qreal dpr = m_liveViewViewer->devicePixelRatioF();
    QSize shown = m_liveViewViewer->contentsRect().size() * dpr;
    const bool turned = m_liveViewRotation == 90 || m_liveViewRotation == 270;
    if (turned) {
        shown.transpose();
    }
    const QSize fitted = frameSize.scaled(shown, Qt::KeepAspectRatio);
    if (fitted.isEmpty() || fitted == m_liveViewDisplaySize) {
        return;
    }
    m_liveViewDisplaySize = fitted;
    emit signalLiveViewDisplaySize(fitted);
}

void OLP_GUI_Application::matchToScreen(QWidget* window, OLP_GUI_ImageViewer* viewer, QPoint* screenCentre)
{
    QScreen* screen = window->screen();
    if (!screen || !viewer) {
        return;
    }
    const QPoint centre = screen->availableGeometry().center();
    if (centre == *screenCentre) {
        return;
    }
    *screenCentre = centre;
    std::unique_ptr<OLP_Color_ProfileIF> monitor = createMonitorProfile(centre);
    if (!monitor) {
        // Not the last screen's profile: a screen without one is taken as sRGB.
        monitor = createDefaultMonitorProfile();
    }
    if (!monitor) {
        return;
    }
    viewer->setInputProfile(defaultSourceProfilePath());
    viewer->setOutputProfile(*monitor);
    viewer->setRenderingIntent(OLP_Color_WorldIF::eIntentPerceptual);
}

void OLP_GUI_Application::catchLiveViewCloseRequested()
{
    m_liveViewCloseTimer.start(kLiveViewCloseDelayMs);
}

void OLP_GUI_Application::catchLiveViewCloseTimedOut()
{
    closeLiveView();
}

void OLP_GUI_Application::closeLiveView()
{
    m_liveViewCloseTimer.stop();
    if (m_liveViewWindow) {
        m_liveViewWindow->close();
    }
    if (m_cameraWindow && !m_cameraWindow->isBeingDestroyed()) {
        m_cameraWindow->setLiveViewPhoto(false);
        m_cameraWindow->setLiveViewVideo(false);
    }
}

void OLP_GUI_Application::catchLiveViewDestroyed()
{
    m_liveViewWindow = nullptr;
    m_liveViewViewer = nullptr;
    m_liveViewInfo = nullptr;
    m_liveViewDisplaySize = QSize();
    emit signalLiveViewGUIClosed();
}

// ---- values kept for the live view window -------------------------------------------

void OLP_GUI_Application::catchAudioVolIsManual(bool isManual)
{
    if (isManual != m_audioVolIsManual) {
        m_audioVolIsManual = isManual;
        if (m_liveViewInfo) {
            m_liveViewInfo->setAudioVolumeIsManual(isManual);
        }
    }
}

void OLP_GUI_Application::catchAudioVolMicrophone(double volume)
{
    if (volume != m_audioVolMicrophone) {
        m_audioVolMicrophone = volume;
        if (m_liveViewInfo) {
            m_liveViewInfo->setAudioVolume(volume);
        }
    }
}

void OLP_GUI_Application::catchAudioVolume(double volume)
{
    if (volume != m_audioVolMicrophone) {
        m_audioVolMicrophone = volume;
        emit signalAudioVolMicrophone(volume);
    }
}

void OLP_GUI_Application::catchExposMetering(int metering)
{
    if (metering != m_exposMetering) {
        m_exposMetering = metering;
        if (m_liveViewViewer) {
            m_liveViewViewer->setExpSpotIsActive(metering == 0);
        }
    }
}

void OLP_GUI_Application::catchGCPipIsActive(bool active)
{
    m_gcPipActive = active;
}

void OLP_GUI_Application::catchGCPipInactive()
{
    m_gcPipActive = false;
}

void OLP_GUI_Application::catchHasOrientation(bool has)
{
    m_hasOrientation = has;
}

void OLP_GUI_Application::catchOrientation(int orientation)
{
    m_orientation = orientation;
}

void OLP_GUI_Application::catch3DAxisAngles(double first, double second)
{
    m_levelAngleFirst = first;
    m_levelAngleSecond = second;
}

// ---- positions between the rotated picture and the camera -------------------------------

void OLP_GUI_Application::catchLiveZoomInfo(int selectedStripe, int zoomLevel, double x, double y)
{
    if (m_liveViewRotation != 0) {
        positionTransform(m_liveViewRotation).map(x, y, &x, &y);
    }
    emit signalLiveZoomInfo(selectedStripe, zoomLevel, x, y);
}

void OLP_GUI_Application::catchLiveZoomRect(double x, double y, double width, double height)
{
    if (m_liveViewRotation != 0) {
        const QRectF r = positionTransform(m_liveViewRotation).mapRect(QRectF(x, y, width, height));
        x = r.x();
        y = r.y();
        width = r.width();
        height = r.height();
    }
    emit signalLiveZoomRect(x, y, width, height);
}

void OLP_GUI_Application::catchCrossPosEdited(double x, double y)
{
    if (m_liveViewRotation != 0) {
        positionTransform(-m_liveViewRotation).map(x, y, &x, &y);
    }
    emit signalCrossPosEdited(x, y);
}

void OLP_GUI_Application::catchGCPipPosEdited(double x, double y)
{
    if (m_liveViewRotation != 0) {
        positionTransform(-m_liveViewRotation).map(x, y, &x, &y);
    }
    emit signalGCPipPosEdited(x, y);
}

// ---- quick view --------------------------------------------------------------------

void OLP_GUI_Application::createQuickViewWindow()
{
    OLP_GUI_PictureWindow* window = new OLP_GUI_PictureWindow(m_cameraWindow, false);
    placeCentred(window, kQuickViewSize);
    window->setObjectName(QStringLiteral("QuickViewDialog"));
    OLP_GUI_WindowGeometry::restoreOnScreen(window);
    m_quickViewWindow = window;
    applyAlwaysOnTop();
    QVBoxLayout* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    OLP_GUI_ImageViewer* viewer = new OLP_GUI_ImageViewer(window);
    viewer->setObjectName(QStringLiteral("QuickViewViewer"));
    viewer->setMinimumSize(kViewerMinimumSize);
    viewer->setWantColorMatch(true);
    layout->addWidget(viewer);
    m_quickViewViewer = viewer;
    m_quickViewScreenCentre = QPoint(-1, -1);
    connect(window, &QObject::destroyed, this, &OLP_GUI_Application::catchQuickViewDestroyed);
    connect(this, &OLP_GUI_Application::signalQuickViewPixmap, viewer, &OLP_GUI_ImageViewer::setPixmap);
}

void OLP_GUI_Application::showQuickView(const QByteArray& data, const QString& path, int orientation)
{
    const char* name = "OLP_GUI_Application::showQuickView";
    if (isDebugEnabled(kQuickViewDumpFlag)) {
        dumpBuffer(QStringLiteral("%1 with path \"%2\":").arg(QLatin1String(name), path),
                   QStringLiteral("quickViewBuffer"), reinterpret_cast<const quint8*>(data.constData()),
                   quint64(data.size()), 64, 16);
    }
    // Without a camera window (on the way out) a parentless window would keep
    // the application from quitting: the picture is dropped, as live view
    // frames are.
    if (!m_cameraWindow || m_cameraWindow->isBeingDestroyed() || m_shuttingDown) {
        debugPrintf(0, "%s - no camera window, quick view dropped", name);
        return;
    }
    if (!m_quickViewWindow) {
        createQuickViewWindow();
    }
    matchToScreen(m_quickViewWindow, m_quickViewViewer, &m_quickViewScreenCentre);
    QString title = tr("Quick View", "Quick View Window Title");
    if (!path.isEmpty()) {
        title.prepend(QFileInfo(path).baseName() + QLatin1Char(' '));
    }
    const QPixmap pixmap = rotated(QPixmap::fromImage(QImage::fromData(data)), quickViewRotation(orientation));
    emit signalQuickViewPixmap(pixmap);
    if (!m_quickViewWindow) {
        return;
    }
    m_quickViewWindow->setWindowTitle(title);
    m_quickViewWindow->setAspectRatio(pixmap.isNull() ? 0.0 : double(pixmap.width()) / pixmap.height());
    if (!m_quickViewWindow->isVisible()) {
        m_quickViewWindow->show();
    }
}

void OLP_GUI_Application::closeQuickView()
{
    if (m_quickViewWindow) {
        m_quickViewWindow->close();
    }
}

void OLP_GUI_Application::catchQuickViewDestroyed()
{
    m_quickViewWindow = nullptr;
    m_quickViewViewer = nullptr;
    if (m_controller) {
        m_controller->setWantQuickView(false);
    }
    if (m_cameraWindow && !m_cameraWindow->isBeingDestroyed()) {
        m_cameraWindow->setWantQuickView(false);
    }
}

void OLP_GUI_Application::deletePictureWindows()
{
    m_liveViewCloseTimer.stop();
    delete m_quickViewWindow;
    delete m_liveViewWindow;
}
