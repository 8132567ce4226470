// The ways the program ends, one process each: the test runs its own binary
// with "--scenario <name>", which builds the application (with a stand-in
// camera window), walks one path as a user would, lets exec() return and the
// application object go, and prints what it saw as "FACT key=value" lines.
// The test compares those, the exit code and the log file of the run, which
// lives in a home folder of its own. The real executable is started once to
// show where it logs.

#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Debug.h"
#include "OLP_GUI_Settings.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_Shell.h"
#include "OLP_Test_Support.h"

namespace {

const QString kLogPath = QStringLiteral("/.local/share/OrvaneCamera/OrvaneLumaport/OrvaneLumaport3.log");

// ---- the scenario side: one path through the program ------------------------------------------

void fact(const char* key, const QString& value)
{
    std::printf("FACT %s=%s\n", key, qUtf8Printable(value));
    std::fflush(stdout);
}

void fact(const char* key, bool value)
{
    fact(key, QString(value ? "true" : "false"));
}

// Counts the show events of a window.
class ShowCounter : public QObject
{
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

class Scenario
{
public:
    explicit Scenario(const QString& name) : name(name) {}

    // Before the application exists: settings, emulated cameras.
    void prepare();
    // Inside exec(), as the user.
    void run();
    // After exec() returned, with the application still there.
    void afterExec();
    // After the application object is gone.
    void afterDestruction();

    QString name;
    OLP_Test_ShellApp* app = nullptr;
    OLP_Test_LogCapture* log = nullptr;

private:
    // Waits for the condition; on time-out reports the step and ends exec().
    bool waitFor(const std::function<bool()>& condition, const char* step, int ms = 20000);
    bool waitForCameraWindow();
    // Waits until everything the controller thread has sent so far has been
    // handled here.
    bool drainController(const char* step);
    void plugCamera(quint16 productId);
    void watchNoCameraWindow();

    std::shared_ptr<OLP_Commu_EmuUsbPort> m_port;
    std::shared_ptr<OLP_Commu_EmuCamera> m_camera;
    std::unique_ptr<ShowCounter> m_shows;
    QPointer<QDialog> m_about;
    QString m_pictures;
};

bool Scenario::waitFor(const std::function<bool()>& condition, const char* step, int ms)
{
    if (QTest::qWaitFor(condition, olpTimeout(ms))) {
        return true;
    }
    fact("failedAt", QString(step));
    QCoreApplication::exit(3);
    return false;
}

bool Scenario::drainController(const char* step)
{
    // A call queued from the controller thread back to this one arrives after
    // every signal the controller emitted before it.
    auto* controller = const_cast<OLP_Logic_Controller*>(app->controller());
    auto arrived = std::make_shared<std::atomic<bool>>(false);
    QObject* gui = app;
    QMetaObject::invokeMethod(
        controller,
        [gui, arrived] {
            QMetaObject::invokeMethod(
                gui, [arrived] { arrived->store(true); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return waitFor([arrived] { return arrived->load(); }, step);
}

bool Scenario::waitForCameraWindow()
{
    return waitFor([this] { return app->cameraWindow() && app->cameraWindow()->isVisible(); }, "camera window");
}

void Scenario::plugCamera(quint16 productId)
{
    m_port = std::make_shared<OLP_Commu_EmuUsbPort>();
    m_camera = std::make_shared<OLP_Commu_EmuCamera>(productId);
    m_port->plug(m_camera);
    OLP_Commu_UsbPortHub::system()->addPort(m_port);
}

// From the moment the user quits, the no-camera window must not come back.
void Scenario::watchNoCameraWindow()
{
    m_shows.reset(new ShowCounter);
    app->noCameraWindow()->installEventFilter(m_shows.get());
}

void Scenario::prepare()
{
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    if (name == "quit-with-camera" || name == "close-camera-window") {
        settings->setDemoCamera(true);
    } else if (name == "unknown-product") {
        plugCamera(quint16(ProductIdSeventh));
    } else if (name == "quit-mid-transfer") {
        m_pictures = qEnvironmentVariable("OLP_TEST_PICTURES");
        QDir().mkpath(m_pictures);
        settings->setLastProductId(int(ProductIdKestaD));
        OLP_Logic_FolderSettingsRecord folders;
        folders.dngFolder = m_pictures;
        folders.jpgFolder = m_pictures;
        folders.pictureName = QStringLiteral("Shot");
        settings->setFolderSettings(folders);
        plugCamera(quint16(ProductIdKestaD));
        OLP_Commu_EmuCapture::Options pictures = m_camera->captureOptions();
        pictures.pictureSize = 3 * 1024 * 1024;
        m_camera->setCaptureOptions(pictures);
    }
}

void Scenario::run()
{
    QMainWindow* noCamera = app->noCameraWindow();
    if (name == "start") {
        // Only what start-up does.
        const QRect g = noCamera->geometry();
        const QRect f = noCamera->frameGeometry();
        fact("noCameraGeometry", QString("%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
        fact("noCameraFrame", QString("%1,%2").arg(f.x()).arg(f.y()));
        QCoreApplication::exit(0);
        return;
    }
    // With a camera at hand the window may already have gone again.
    if (!m_camera && !OLP_GUI_Settings::instance()->isDemoCamera() &&
        !waitFor([noCamera] { return noCamera->isVisible(); }, "no-camera window")) {
        return;
    }
    if (name == "quit-without-camera") {
        watchNoCameraWindow();
        fact("menus", olpVisibleMenus(noCamera).join(','));
        fact("clicked", olpClickMenu(noCamera, {"File", "Quit"}));
    } else if (name == "quit-with-camera") {
        if (!waitForCameraWindow()) {
            return;
        }
        watchNoCameraWindow();
        fact("clicked", olpClickMenu(app->cameraWindow(), {"File", "Quit"}));
    } else if (name == "close-camera-window") {
        if (!waitForCameraWindow()) {
            return;
        }
        watchNoCameraWindow();
        olpCloseByUser(app->cameraWindow());
    } else if (name == "close-no-camera-window") {
        noCamera->setGeometry(120, 140, 420, 260);
        // The window system's move and resize reach the window before it closes.
        QCoreApplication::processEvents();
        olpCloseByUser(noCamera);
    } else if (name == "unknown-product") {
        if (!waitFor([this] { return log->contains("unknown camera with ProductId 0x107"); }, "unknown product")) {
            return;
        }
        if (!drainController("controller after the unknown product")) {
            return;
        }
        fact("noCameraVisibleWithUnknown", noCamera->isVisible());
        fact("cameraWindows", QString::number(app->cameraWindowsCreated));
        // Unplugging it keeps the no-camera window.
        m_camera->unplug();
        if (!waitFor([this] { return log->contains("====== Disconnected ======"); }, "disconnection")) {
            return;
        }
        if (!drainController("controller after the disconnection")) {
            return;
        }
        fact("noCameraVisibleAfterUnplug", noCamera->isVisible());
        fact("clicked", olpClickMenu(noCamera, {"File", "Quit"}));
    } else if (name == "quit-with-about") {
        if (!olpClickMenu(noCamera, {"File", "About"}) ||
            !waitFor([this] { return app->aboutDialog() && app->aboutDialog()->isVisible(); }, "about")) {
            return;
        }
        m_about = app->aboutDialog();
        fact("clicked", olpClickMenu(noCamera, {"File", "Quit"}));
    } else if (name == "quit-mid-transfer") {
        if (!waitFor([this] { return app->controller()->productId() == ProductIdKestaD; }, "connection")) {
            return;
        }
        m_camera->setBulkInRate(3 * 1024 * 1024);
        m_camera->capture(1);
        // The first picture is on its way: its data phase is being read (not
        // the short read of its first bytes for the orientation).
        if (!waitFor(
                [this] {
                    const OLP_Commu_EmuCamera::Request last = m_camera->lastRequest();
                    const bool picture = last.code == 0x1009 ||
                                         (last.code == 0x101B && last.params.size() >= 3 && last.params[2] > 4096);
                    return picture && m_camera->waitingReads(OLP_Commu_EmuCamera::BulkIn) > 0;
                },
                "transfer")) {
            return;
        }
        fact("filesAtQuit", QString::number(QDir(m_pictures).entryList(QDir::Files).size()));
        fact("clicked", olpClickMenu(noCamera, {"File", "Quit"}));
        fact("readingAtQuit", m_camera->waitingReads(OLP_Commu_EmuCamera::BulkIn) > 0);
    }
}

void Scenario::afterExec()
{
    if (m_shows) {
        fact("noCameraShownAfterQuit", QString::number(m_shows->shows));
    }
    fact("noCameraVisible", app->noCameraWindow()->isVisible());
    fact("cameraWindowLeft", app->cameraWindow() != nullptr);
    fact("quitWanted", app->isQuitWanted());
    if (name == "quit-with-about") {
        fact("aboutVisible", m_about && m_about->isVisible());
    }
}

void Scenario::afterDestruction()
{
    if (name != "quit-mid-transfer") {
        return;
    }
    QList<QByteArray> taken;
    const QList<OLP_Commu_EmuCapture::Picture> pictures = m_camera->capturedPictures();
    for (const OLP_Commu_EmuCapture::Picture& picture : pictures) {
        taken.append(picture.bytes());
    }
    int files = 0;
    int whole = 0;
    QDirIterator it(m_pictures, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ++files;
        if (file.open(QIODevice::ReadOnly) && taken.contains(file.readAll())) {
            ++whole;
        }
    }
    fact("picturesTaken", QString::number(taken.size()));
    fact("filesLanded", files > 0);
    fact("everyFileWhole", files == whole);
}

int runScenario(const QString& name, int argc, char** argv)
{
    initApplicationIdentity();
    // The connection and quit lines, and the controller thread's start and end.
    setDebugFlags(0x01000000 | 0x00000100, true);
    qInstallMessageHandler(messageHandler);
    OLP_Test_LogCapture log;
    Scenario scenario(name);
    scenario.log = &log;
    scenario.prepare();
    QPointer<QThread> thread;
    int result = -1;
    {
        OLP_Test_ShellApp app(argc, argv);
        olpIgnoreOffscreenScreens();
        scenario.app = &app;
        // The shut-down path without a camera window.
        app.withCameraWindow = name != "quit-mid-transfer";
        thread = app.controllerThread();
        QTimer::singleShot(0, &app, [&scenario] { scenario.run(); });
        // Nothing of this kind may hang: a run that does not end says so.
        QTimer::singleShot(olpTimeout(60000), &app, [] {
            fact("watchdog", true);
            QCoreApplication::exit(99);
        });
        result = app.exec();
        fact("exec", QString::number(result));
        scenario.afterExec();
        OLP_GUI_Settings::destroyInstance();
    }
    fact("threadDeleted", thread.isNull());
    scenario.afterDestruction();
    return result;
}

}  // namespace

// ---- the test side: one process per path ------------------------------------------------------

class tst_Shell : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void quitPaths_data();
    void quitPaths();
    void executableLogsUnderItsOwnName();
    void noCameraWindowReturnsWhereItWasClosed();
    void settingsToolSetsTheDemoCamera_data();
    void settingsToolSetsTheDemoCamera();

private:
    static QProcessEnvironment environmentFor(const QTemporaryDir& home);
};

QProcessEnvironment tst_Shell::environmentFor(const QTemporaryDir& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("APPDATA", home.path() + "/AppData");
    env.insert("OLP_TEST_PICTURES", home.path() + "/Pictures");
    env.remove("XDG_DATA_HOME");
    env.remove("XDG_CONFIG_HOME");
    if (!env.contains("QT_QPA_PLATFORM")) {
        env.insert("QT_QPA_PLATFORM", "offscreen");
    }
    return env;
}

void tst_Shell::quitPaths_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QStringList>("facts");
    // In this order in the log file.
    QTest::addColumn<QStringList>("logLines");

    const QString start = "====== Orvane Lumaport 3.6.0 ======";
    const QString quit = "====== Quit ======";
    const QString quitRequested = "OLP_GUI_Application::catchActionQuit - quit requested";
    const QString connected = "====== Connected to ";
    const QString disconnected = "====== Disconnected ======";
    const QString workerDone = "OLP_Logic_ControllerWorker::process - finished in thread";

    // Catches: a program that keeps running (invisibly) or ends before its
    // controller thread, and a no-camera window that flashes up on the way out.
    QTest::newRow("Quit without camera") << "quit-without-camera" << QStringList{"menus=File",
                                                                                 "clicked=true",
                                                                                 "exec=0",
                                                                                 "noCameraShownAfterQuit=0",
                                                                                 "noCameraVisible=false",
                                                                                 "threadDeleted=true"}
                                         << QStringList{start, quitRequested, workerDone, quit};
    QTest::newRow("Quit with camera window")
        << "quit-with-camera"
        << QStringList{"clicked=true",           "exec=0",          "noCameraShownAfterQuit=0", "noCameraVisible=false",
                       "cameraWindowLeft=false", "quitWanted=true", "threadDeleted=true"}
        << QStringList{start, connected, quitRequested, disconnected, workerDone, quit};
    QTest::newRow("camera window closed by its button")
        << "close-camera-window"
        << QStringList{"exec=0", "noCameraShownAfterQuit=0", "noCameraVisible=false", "quitWanted=true",
                       "threadDeleted=true"}
        << QStringList{start, connected, disconnected, workerDone, quit};
    // Catches: an unknown camera that hides every window, leaving a program
    // nobody can see or quit.
    QTest::newRow("unknown product")
        << "unknown-product"
        << QStringList{"noCameraVisibleWithUnknown=true",
                       "cameraWindows=0",
                       "noCameraVisibleAfterUnplug=true",
                       "clicked=true",
                       "exec=0",
                       "threadDeleted=true"}
        << QStringList{start,
                       connected,
                       "OLP_GUI_Application::catchCameraConnected - unknown camera with ProductId 0x107",
                       disconnected,
                       quitRequested,
                       workerDone,
                       quit};
    // Catches: "Quit" that leaves the program running behind an open About box.
    QTest::newRow("Quit with About open")
        << "quit-with-about"
        << QStringList{"clicked=true", "exec=0", "aboutVisible=false", "noCameraVisible=false", "threadDeleted=true"}
        << QStringList{start, quitRequested, workerDone, quit};
    // Catches: the no-camera window's close button hiding the only window and
    // leaving the program running.
    QTest::newRow("no-camera window closed by its button")
        << "close-no-camera-window" << QStringList{"exec=0", "noCameraVisible=false", "threadDeleted=true"}
        << QStringList{start, quitRequested, workerDone, quit};
    // Catches: main() returning while the controller and transfer threads
    // still run: a crash at exit and a picture cut short.
    QTest::newRow("Quit without camera window mid-transfer")
        << "quit-mid-transfer" << QStringList{"filesAtQuit=0",      "clicked=true",     "readingAtQuit=true", "exec=0",
                                              "threadDeleted=true", "filesLanded=true", "everyFileWhole=true"}
        << QStringList{start, connected, quitRequested, workerDone, quit};
}

void tst_Shell::quitPaths()
{
    QFETCH(QString, scenario);
    QFETCH(QStringList, facts);
    QFETCH(QStringList, logLines);
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcess process;
    process.setProcessEnvironment(environmentFor(home));
    process.start(QCoreApplication::applicationFilePath(), {"--scenario", scenario});
    QVERIFY(process.waitForStarted());
    QVERIFY(process.waitForFinished(olpTimeout(120000)));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    QFile logFile(home.path() + kLogPath);
    QVERIFY2(logFile.open(QIODevice::ReadOnly), qPrintable(logFile.fileName()));
    const QString log = QString::fromUtf8(logFile.readAll());
    // The whole run stays on disk when a check fails.
    home.setAutoRemove(false);
    const QString details = out + QString::fromUtf8(process.readAllStandardError()) + "\nlog: " + logFile.fileName();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit, qPrintable(details));
    for (const QString& f : qAsConst(facts)) {
        QVERIFY2(out.contains("FACT " + f + "\n"), qPrintable(f + " missing in:\n" + details));
    }
    QCOMPARE(process.exitCode(), 0);

    int from = 0;
    for (const QString& line : qAsConst(logLines)) {
        const int at = log.indexOf(line, from);
        QVERIFY2(at >= 0, qPrintable("\"" + line + "\" missing or out of order in:\n" + log));
        from = at + line.size();
    }
    QCOMPARE(log.count("====== Quit ======"), 1);
    home.setAutoRemove(true);
}

// Catches: a log file named by whichever line came first (the executable's
// own name when Qt spoke before the names were set) or placed elsewhere.
void tst_Shell::executableLogsUnderItsOwnName()
{
    const QString executable = QStringLiteral(QT_TESTCASE_BUILDDIR "/Source/OrvaneLumaport");
    QVERIFY2(QFileInfo(executable).isExecutable(), qPrintable(executable));
    QTemporaryDir home;
    QProcess process;
    process.setProcessEnvironment(environmentFor(home));
    process.start(executable, QStringList());
    QVERIFY(process.waitForStarted());
    const QString logPath = home.path() + kLogPath;
    const auto started = [&logPath] {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("====== Orvane Lumaport 3.6.0 ======");
    };
    const bool ok = QTest::qWaitFor(started, olpTimeout(20000));
    process.terminate();
    process.waitForFinished(olpTimeout(10000));
    QVERIFY2(ok, qPrintable(QString::fromUtf8(process.readAllStandardError())));
    QStringList logs;
    QDirIterator it(home.path(), {"*.log"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        logs.append(it.next());
    }
    QCOMPARE(logs, QStringList{logPath});
}

// Catches: a no-camera window that forgets where the user put it (its close
// event does not save, or start-up does not restore, or the window flags set
// after the restore undo it).
void tst_Shell::noCameraWindowReturnsWhereItWasClosed()
{
    QTemporaryDir home;
    QStringList facts;
    for (const char* scenario : {"close-no-camera-window", "start"}) {
        QProcess process;
        process.setProcessEnvironment(environmentFor(home));
        process.start(QCoreApplication::applicationFilePath(), {"--scenario", scenario});
        QVERIFY(process.waitForFinished(olpTimeout(60000)));
        QCOMPARE(process.exitCode(), 0);
        facts.append(QString::fromUtf8(process.readAllStandardOutput()));
    }
    const QString& started = facts.last();
    QVERIFY2(started.contains(QRegularExpression("FACT noCameraGeometry=\\d+,\\d+,420,260\n")), qPrintable(started));
    // The window system decides whether the frame or the inside goes there
    // (the offscreen platform puts its 2-pixel frame at the spot).
    QVERIFY2(started.contains("FACT noCameraGeometry=120,140,") || started.contains("FACT noCameraFrame=120,140\n"),
             qPrintable(started));
}

void tst_Shell::settingsToolSetsTheDemoCamera_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<bool>("demoCameraAfter");
    QTest::newRow("set") << QStringList{"DemoCamera", "true"} << 0 << "true\n" << true;
    QTest::newRow("read") << QStringList{"DemoCamera"} << 0 << "false\n" << false;
    QTest::newRow("unknown key") << QStringList{"AlwaysOnTop", "true"} << 2 << "" << false;
    QTest::newRow("not a boolean") << QStringList{"DemoCamera", "yes"} << 2 << "" << false;
}

// Catches: scripts/run --demo writing a key the program does not read, or a
// tool that accepts what it cannot store.
void tst_Shell::settingsToolSetsTheDemoCamera()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, printed);
    QFETCH(bool, demoCameraAfter);
    QTemporaryDir home;
    QProcess tool;
    tool.setProcessEnvironment(environmentFor(home));
    tool.start(QStringLiteral(QT_TESTCASE_BUILDDIR "/tools/olp_settings/olp_settings"), arguments);
    QVERIFY(tool.waitForFinished(olpTimeout(20000)));
    QCOMPARE(tool.exitCode(), exitCode);
    QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), printed);

    // The program itself, started afterwards, plugs in the demo camera or not.
    QProcess program;
    program.setProcessEnvironment(environmentFor(home));
    program.start(QCoreApplication::applicationFilePath(), {"--scenario", "start"});
    QVERIFY(program.waitForFinished(olpTimeout(60000)));
    QFile log(home.path() + kLogPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().contains("demo camera plugged in"), demoCameraAfter);
}

int main(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--scenario") == 0) {
            return runScenario(QString::fromLocal8Bit(argv[i + 1]), argc, argv);
        }
    }
    QCoreApplication app(argc, argv);
    tst_Shell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Shell.moc"
