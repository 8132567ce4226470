#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMutex>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>

#include "OLP_Color_Factory.h"
#include "OLP_Color_Monitor.h"
#include "OLP_Test_Support.h"

extern char** environ;

namespace {

// A child process whose first line of standard output is its answer (the
// display number of Xvfb, the address of dbus-daemon).
struct Server
{
    pid_t pid = 0;
    QByteArray firstLine;

    bool start(const QList<QByteArray>& arguments)
    {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char*> argv;
        for (const QByteArray& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.constData()));
        }
        argv.push_back(nullptr);
        const int result = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (result != 0) {
            close(fds[0]);
            return false;
        }
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') {
            firstLine.append(c);
        }
        close(fds[0]);
        return !firstLine.isEmpty();
    }

    ~Server()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

// The colour daemon as far as the lookup uses it: one device with one
// profile. It lives in a thread of its own with a connection of its own, so
// the lookup's blocking calls really travel over the bus.
class FakeColord : public QDBusVirtualObject
{
public:
    enum Mode
    {
        Answer,
        NotFound,
        Silent
    };

    void setMode(Mode mode)
    {
        QMutexLocker lock(&m_mutex);
        m_mode = mode;
    }
    void setFilename(const QString& filename)
    {
        QMutexLocker lock(&m_mutex);
        m_filename = filename;
    }
    QVariantList lastLookup()
    {
        QMutexLocker lock(&m_mutex);
        return m_lastLookup;
    }

    QString introspect(const QString&) const override { return QString(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QMutexLocker lock(&m_mutex);
        if (message.member() == QLatin1String("FindDeviceByProperty")) {
            m_lastLookup = message.arguments();
        }
        if (m_mode == Silent) {
            return true;
        }
        if (m_mode == NotFound) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.ColorManager.NotFound"),
                                                     QStringLiteral("no such device")));
            return true;
        }
        QVariant answer;
        if (message.member() == QLatin1String("FindDeviceByProperty")) {
            answer =
                QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/freedesktop/ColorManager/devices/xrandr")));
        } else if (message.member() == QLatin1String("Get") && message.arguments().value(1) == "Profiles") {
            const QList<QDBusObjectPath> profiles{
                QDBusObjectPath(QStringLiteral("/org/freedesktop/ColorManager/profiles/first")),
                QDBusObjectPath(QStringLiteral("/org/freedesktop/ColorManager/profiles/second"))};
            answer = QVariant::fromValue(QDBusVariant(QVariant::fromValue(profiles)));
        } else if (message.member() == QLatin1String("Get") && message.arguments().value(1) == "Filename" &&
                   message.path().endsWith(QLatin1String("/first"))) {
            answer = QVariant::fromValue(QDBusVariant(m_filename));
        } else {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, QString()));
            return true;
        }
        connection.send(message.createReply(answer));
        return true;
    }

private:
    // Guards the fields below: the bus thread reads them, the test sets them.
    QMutex m_mutex;
    Mode m_mode = Answer;
    QString m_filename;
    QVariantList m_lastLookup;
};

QByteArray g_busAddress;

// An X connection of the test's own that sets the root window's properties.
class XRoot
{
public:
    XRoot() : m_connection(xcb_connect(nullptr, &m_screen)) {}
    ~XRoot() { xcb_disconnect(m_connection); }

    bool isOk() const { return !xcb_connection_has_error(m_connection); }

    // The bytes in chunks appended one after another, as a large property
    // does not fit in one request.
    bool set(const char* name, const QByteArray& bytes, quint8 format = 8)
    {
        const xcb_atom_t property = atom(name);
        const int unit = format / 8;
        const int chunk = 1 << 20;
        bool ok = true;
        for (int offset = 0; ok && (offset < bytes.size() || offset == 0); offset += chunk) {
            const int length = qMin(chunk, bytes.size() - offset);
            ok = !xcb_request_check(
                m_connection,
                xcb_change_property_checked(m_connection, offset == 0 ? XCB_PROP_MODE_REPLACE : XCB_PROP_MODE_APPEND,
                                            root(), property, XCB_ATOM_CARDINAL, format, quint32(length / unit),
                                            bytes.constData() + offset));
        }
        return ok;
    }

    bool remove(const char* name)
    {
        return !xcb_request_check(m_connection, xcb_delete_property_checked(m_connection, root(), atom(name)));
    }

private:
    xcb_window_t root() const
    {
        xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < m_screen; ++i) {
            xcb_screen_next(&roots);
        }
        return roots.data->root;
    }
    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, quint16(qstrlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    }

    int m_screen = 0;
    xcb_connection_t* m_connection;
};

}  // namespace

class tst_MonitorProfile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void rootProperty_data();
    void rootProperty();
    void unchangedBytesNotRewritten();
    void colord_data();
    void colord();
    void silentColordTimesOut();

private:
    QTemporaryDir m_dir;
    QThread m_busThread;
    FakeColord* m_colord = nullptr;
    QByteArray m_adobe;
    QString m_cachePath;
};

void tst_MonitorProfile::initTestCase()
{
    olpTestInit();
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QFile adobe(defaultSourceProfilePath());
    QVERIFY(adobe.open(QIODevice::ReadOnly));
    m_adobe = adobe.readAll();
    QVERIFY(m_adobe.size() > 128);
    m_cachePath = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/monitor-0.icc";

    m_colord = new FakeColord;
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(g_busAddress), QStringLiteral("colord"));
    QVERIFY(bus.isConnected());
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.ColorManager")));
    QVERIFY(
        bus.registerVirtualObject(QStringLiteral("/org/freedesktop/ColorManager"), m_colord, QDBusConnection::SubPath));
    m_colord->moveToThread(&m_busThread);
    m_busThread.start();
}

void tst_MonitorProfile::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("colord"));
    m_busThread.quit();
    m_busThread.wait();
    delete m_colord;
}

void tst_MonitorProfile::init()
{
    XRoot x;
    QVERIFY(x.isOk());
    QVERIFY(x.remove("_ICC_PROFILE"));
    QFile::remove(m_cachePath);
    m_colord->setMode(FakeColord::NotFound);
}

// The root window's property, copied to the cache exactly; nothing for a
// property that is too large, not made of bytes, or gone.
void tst_MonitorProfile::rootProperty_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("found");
    QTest::newRow("profile") << m_adobe << 8 << true;
    QTest::newRow("any bytes are copied") << QByteArray(1000, 'x') << 8 << true;
    QTest::newRow("at most 16 MiB") << m_adobe + QByteArray(int(MonitorProfileMaxBytes) - m_adobe.size(), '\0') << 8
                                    << true;
    QTest::newRow("over 16 MiB") << m_adobe + QByteArray(int(MonitorProfileMaxBytes) + 1 - m_adobe.size(), '\0') << 8
                                 << false;
    QTest::newRow("32-bit items") << m_adobe << 32 << false;
    QTest::newRow("removed") << QByteArray() << 8 << false;
}

void tst_MonitorProfile::rootProperty()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);
    QFETCH(bool, found);
    XRoot x;
    if (!bytes.isEmpty()) {
        QVERIFY(x.set("_ICC_PROFILE", bytes, quint8(format)));
    }
    const QString path = monitorProfilePath(0);
    QCOMPARE(path, found ? m_cachePath : QString());
    if (found) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == bytes);
    } else {
        QVERIFY(!QFileInfo::exists(m_cachePath));
    }
}

// The cache file is rewritten only when the property's bytes change, and the
// profile of a point on the screen is the property's.
void tst_MonitorProfile::unchangedBytesNotRewritten()
{
    XRoot x;
    QVERIFY(x.set("_ICC_PROFILE", m_adobe));
    QCOMPARE(monitorProfilePath(0), m_cachePath);
    const QDateTime old = QDateTime::currentDateTime().addYears(-2);
    {
        QFile file(m_cachePath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    QCOMPARE(monitorProfilePath(0), m_cachePath);
    QCOMPARE(QFileInfo(m_cachePath).lastModified(), old);
    const auto profile = createMonitorProfile(QGuiApplication::primaryScreen()->geometry().center());
    QVERIFY(profile);
    QCOMPARE(profile->description(), QStringLiteral("Adobe RGB (1998)"));

    const QByteArray other = m_adobe.left(m_adobe.size() - 1) + 'z';
    QVERIFY(x.set("_ICC_PROFILE", other));
    QCOMPARE(monitorProfilePath(0), m_cachePath);
    QVERIFY(QFileInfo(m_cachePath).lastModified() > old);
    QFile file(m_cachePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == other);
    QCOMPARE(monitorProfilePath(-1), QString());
    QCOMPARE(monitorProfilePath(QGuiApplication::screens().size()), QString());
}

// Without the property the colour daemon is asked for the screen's output.
void tst_MonitorProfile::colord_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("found");
    QTest::newRow("first profile") << int(FakeColord::Answer) << true;
    QTest::newRow("no such device") << int(FakeColord::NotFound) << false;
}

void tst_MonitorProfile::colord()
{
    QFETCH(int, mode);
    QFETCH(bool, found);
    const QString filename = m_dir.filePath("colord-monitor.icc");
    QFile file(filename);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(m_adobe);
    file.close();
    m_colord->setFilename(filename);
    m_colord->setMode(FakeColord::Mode(mode));
    QCOMPARE(monitorProfilePath(0), found ? filename : QString());
    const QVariantList lookup{QStringLiteral("XRANDR_name"), QGuiApplication::screens().at(0)->name()};
    QCOMPARE(m_colord->lastLookup(), lookup);
    QCOMPARE(bool(createMonitorProfile(QGuiApplication::primaryScreen()->geometry().center())), found);
}

// A daemon that never answers costs the time-out, not more.
void tst_MonitorProfile::silentColordTimesOut()
{
    m_colord->setMode(FakeColord::Silent);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(monitorProfilePath(0), QString());
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed >= MonitorProfileTimeoutMs - 50, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < MonitorProfileTimeoutMs + olpTimeout(400), qPrintable(QString::number(elapsed)));
}

// Starts Xvfb on a free display and a private bus, then runs the tests on
// the xcb platform with that bus as the system bus.
int main(int argc, char** argv)
{
    QTemporaryDir busDir;
    const QByteArray config =
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
        "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig><type>session</type><listen>unix:dir=" +
        QFile::encodeName(busDir.path()) +
        "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
        "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
        "<allow own=\"*\"/></policy></busconfig>\n";
    const QByteArray configPath = QFile::encodeName(busDir.filePath("bus.conf"));
    QFile configFile(QString::fromLocal8Bit(configPath));
    if (!busDir.isValid() || !configFile.open(QIODevice::WriteOnly) || configFile.write(config) != config.size()) {
        qCritical("cannot write the bus configuration");
        return 1;
    }
    configFile.close();

    Server xvfb;
    if (!xvfb.start({"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"})) {
        qCritical("Xvfb did not start (package xvfb)");
        return 1;
    }
    Server bus;
    if (!bus.start({"dbus-daemon", "--nofork", "--print-address=1", "--config-file=" + configPath})) {
        qCritical("dbus-daemon did not start (package dbus)");
        return 1;
    }
    g_busAddress = bus.firstLine.trimmed();
    qputenv("DISPLAY", ":" + xvfb.firstLine.trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", g_busAddress);

    QGuiApplication app(argc, argv);
    tst_MonitorProfile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_MonitorProfile.moc"
