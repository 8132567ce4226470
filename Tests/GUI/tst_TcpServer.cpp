// The TCP command server of the application object, driven by real sockets:
// the greeting, the one-letter commands and their edge cases, one client at a
// time, hostile peers (floods, every byte value, connection storms, a peer
// that never reads), keep-alive, the listening address, and "R" taking a
// picture of the demo camera end to end. The address rows run the
// application in a child process each (one listening server per process).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <memory>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Debug.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_Settings.h"
#include "OLP_GUI_XmlSettingsFormat.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

const QByteArray kGreeting("Orvane Lumaport - TCP Server\r\n");
constexpr quint32 kTcpFlag = 0x20000000;

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

// A connected client that has read the greeting. The server serves one
// client at a time and closes others at once, so while the previous client
// is still being let go a new one is turned away: try again until served.
std::unique_ptr<QTcpSocket> greetedClient(quint16 port, const QString& host = QStringLiteral("127.0.0.1"))
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < olpTimeout(10000)) {
        std::unique_ptr<QTcpSocket> socket(new QTcpSocket);
        socket->connectToHost(host, port);
        if (!socket->waitForConnected(olpTimeout(5000))) {
            return nullptr;
        }
        QByteArray received;
        while (received.size() < kGreeting.size() && socket->state() == QAbstractSocket::ConnectedState &&
               clock.elapsed() < olpTimeout(10000)) {
            QTest::qWait(5);
            received += socket->readAll();
        }
        if (received == kGreeting) {
            return socket;
        }
        if (!received.isEmpty()) {
            return nullptr;
        }
    }
    return nullptr;
}

bool isPrintableLine(const QString& line)
{
    for (const QChar c : line) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            return false;
        }
    }
    return true;
}

}  // namespace

class tst_TcpServer : public QObject
{
    Q_OBJECT
public:
    explicit tst_TcpServer(OLP_GUI_Application* app) : m_app(app) {}

private:
    // JPGs the demo camera has taken so far: one per release (it saves a
    // DNG beside each).
    int releases() const
    {
        const auto camera = m_app->demoCamera();
        if (!camera) {
            return -1;
        }
        int jpgs = 0;
        for (const OLP_Commu_EmuCapture::Picture& picture : camera->capturedPictures()) {
            jpgs += picture.fileName.endsWith(QLatin1String(".JPG"), Qt::CaseInsensitive) ? 1 : 0;
        }
        return jpgs;
    }
    // The application's socket that serves client.
    QTcpSocket* servedSocket(const QTcpSocket* client) const
    {
        for (QTcpSocket* socket : m_app->findChildren<QTcpSocket*>()) {
            if (socket->peerPort() == client->localPort() && socket->state() == QAbstractSocket::ConnectedState) {
                return socket;
            }
        }
        return nullptr;
    }
    // Waits until everything client sent has been read by the application
    // (nothing in the client's send queue, in the served socket's kernel
    // buffer or in its Qt buffer): bytes sent after this form a new chunk,
    // interpreted after every earlier one.
    bool allRead(QTcpSocket* client)
    {
        QTcpSocket* served = servedSocket(client);
        if (!served) {
            return false;
        }
        return QTest::qWaitFor(
            [&]() {
                int queued = -1;
                int unread = -1;
                ioctl(int(client->socketDescriptor()), TIOCOUTQ, &queued);
                ioctl(int(served->socketDescriptor()), FIONREAD, &unread);
                return client->bytesToWrite() == 0 && queued == 0 && unread == 0 && served->bytesAvailable() == 0;
            },
            olpTimeout(20000));
    }
    int unknownLines() const
    {
        // Also counts "further unknown TCP commands are not logged".
        return m_log->count(QStringLiteral("unknown TCP command"));
    }
    // Waits until every chunk sent so far has been interpreted: an unknown
    // command queued behind them is logged.
    bool drained(QTcpSocket* client)
    {
        if (!allRead(client)) {
            return false;
        }
        const int before = m_log->count(QStringLiteral("unknown TCP command '~'"));
        client->write("~");
        client->flush();
        return QTest::qWaitFor([&]() { return m_log->count(QStringLiteral("unknown TCP command '~'")) > before; },
                               olpTimeout(5000));
    }
    // Runs the application in a child process with the given listening
    // address setting ("-" for none) and port; returns it once it listens.
    std::unique_ptr<QProcess> startChild(const QString& address, int port, QString* listening)
    {
        std::unique_ptr<QProcess> child(new QProcess);
        child->setProcessChannelMode(QProcess::SeparateChannels);
        child->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--child"), address, QString::number(port)});
        if (!child->waitForStarted(olpTimeout(10000))) {
            return nullptr;
        }
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains("\nready\n") && clock.elapsed() < olpTimeout(30000)) {
            child->waitForReadyRead(100);
            out += child->readAllStandardOutput();
        }
        *listening = QString::fromUtf8(out);
        return child;
    }
    bool stopChild(QProcess* child, QString* output)
    {
        child->closeWriteChannel();
        const bool ended = child->waitForFinished(olpTimeout(30000));
        *output += QString::fromUtf8(child->readAllStandardOutput());
        return ended && child->exitStatus() == QProcess::NormalExit && child->exitCode() == 0;
    }

private slots:
    void initTestCase()
    {
        // Installed here, over the test framework's own message handler.
        m_capture.reset(new OLP_Test_LogCapture);
        m_log = m_capture.get();
        QVERIFY(m_app->tcpServerPort() != 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_app->demoCamera() != nullptr && m_app->controller()->productId() != 0,
                                 olpTimeout(20000));
    }

    void cleanupTestCase() { m_capture.reset(); }

    void greeting() { QVERIFY(greetedClient(m_app->tcpServerPort()) != nullptr); }

    // One chunk per row on a fresh connection: how many releases it gives and
    // whether the server closes the connection.
    void commands_data()
    {
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<int>("releases");
        QTest::addColumn<bool>("closes");
        QTest::newRow("R") << QList<QByteArray>{"R"} << 1 << false;
        QTest::newRow("r acts like R") << QList<QByteArray>{"r"} << 1 << false;
        QTest::newRow("RQ releases once, stays open") << QList<QByteArray>{"RQ"} << 1 << false;
        QTest::newRow("R CR LF releases once") << QList<QByteArray>{"R\r\n"} << 1 << false;
        QTest::newRow("two writes in one chunk: the first letter") << QList<QByteArray>{"R", "Q"} << 1 << false;
        QTest::newRow("Q closes") << QList<QByteArray>{"Q"} << 0 << true;
        QTest::newRow("q closes") << QList<QByteArray>{"q"} << 0 << true;
        QTest::newRow("QR closes without a release") << QList<QByteArray>{"QR"} << 0 << true;
        QTest::newRow("unknown letter keeps the connection") << QList<QByteArray>{"X"} << 0 << false;
    }
    void commands()
    {
        QFETCH(QList<QByteArray>, writes);
        QFETCH(int, releases);
        QFETCH(bool, closes);
        auto client = greetedClient(m_app->tcpServerPort());
        QVERIFY(client);
        const int before = this->releases();
        for (const QByteArray& bytes : writes) {
            client->write(bytes);  // written together at the next flush
        }
        client->flush();
        if (closes) {
            QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, olpTimeout(5000));
        } else {
            QVERIFY(drained(client.get()));
            QCOMPARE(client->state(), QAbstractSocket::ConnectedState);
        }
        // Releases reach the camera through the controller's thread; a later
        // "R" on the same connection gives exactly one more.
        QTRY_COMPARE_WITH_TIMEOUT(this->releases(), before + releases, olpTimeout(10000));
        if (!closes) {
            QVERIFY(allRead(client.get()));
            client->write("R");
            client->flush();
            QTRY_COMPARE_WITH_TIMEOUT(this->releases(), before + releases + 1, olpTimeout(10000));
        }
    }

    // An empty chunk does nothing, not even an error line.
    void emptyChunk()
    {
        m_log->clear();
        const int before = releases();
        emit m_app->signalTcpCommand(QByteArray());
        emit m_app->signalTcpCommand(QByteArray("~"));
        QTRY_COMPARE_WITH_TIMEOUT(unknownLines(), 1, olpTimeout(5000));
        QCOMPARE(releases(), before);
    }

    // One client at a time: others are closed at once, unanswered, and the
    // next client after the first has gone is served.
    void oneClientAtATime()
    {
        auto first = greetedClient(m_app->tcpServerPort());
        QVERIFY(first);
        std::vector<std::unique_ptr<QTcpSocket>> others;
        for (int i = 0; i < 50; ++i) {
            others.emplace_back(new QTcpSocket);
            others.back()->connectToHost(QStringLiteral("127.0.0.1"), m_app->tcpServerPort());
        }
        auto allClosed = [&]() {
            for (const auto& other : others) {
                if (other->state() != QAbstractSocket::UnconnectedState) {
                    return false;
                }
            }
            return true;
        };
        QVERIFY(QTest::qWaitFor(allClosed, olpTimeout(1000)));
        for (const auto& other : others) {
            QCOMPARE(other->readAll(), QByteArray());
        }
        // The first client is still served.
        const int before = releases();
        first->write("R");
        first->flush();
        QTRY_VERIFY_WITH_TIMEOUT(releases() > before, olpTimeout(10000));

        first->write("Q");
        first->flush();
        QTRY_COMPARE_WITH_TIMEOUT(first->state(), QAbstractSocket::UnconnectedState, olpTimeout(5000));
        QVERIFY(greetedClient(m_app->tcpServerPort()) != nullptr);

        // A client that leaves makes room as well.
        auto leaving = greetedClient(m_app->tcpServerPort());
        QVERIFY(leaving);
        leaving->disconnectFromHost();
        leaving.reset();
        QTRY_VERIFY_WITH_TIMEOUT(greetedClient(m_app->tcpServerPort()) != nullptr, olpTimeout(5000));
    }

    // 64 MiB of 'x': no release, bounded memory, bounded log, the GUI thread
    // stays responsive, and the client's later "R" still releases.
    void flood()
    {
        auto client = greetedClient(m_app->tcpServerPort());
        QVERIFY(client);
        m_log->clear();
        int ticks = 0;
        QTimer timer;
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, [&]() { ++ticks; });
        timer.start();
        const int before = releases();
        const qint64 residentBefore = residentKiB();
        const QByteArray mebibyte(1024 * 1024, 'x');
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 64; ++i) {
            client->write(mebibyte);
            QVERIFY(QTest::qWaitFor([&]() { return client->bytesToWrite() == 0; }, olpTimeout(20000)));
        }
        QVERIFY(allRead(client.get()));
        const qint64 residentAfter = residentKiB();
        // Interpreted after every chunk of the flood.
        client->write("R");
        client->flush();
        QTRY_COMPARE_WITH_TIMEOUT(releases(), before + 1, olpTimeout(10000));
#if defined(__SANITIZE_ADDRESS__)
        // AddressSanitizer holds freed memory back in its quarantine, so the
        // resident size says nothing about what the server keeps.
        Q_UNUSED(residentAfter);
        Q_UNUSED(residentBefore);
#else
        QVERIFY2(residentAfter - residentBefore < 16 * 1024,
                 qPrintable(QStringLiteral("resident grew by %1 KiB").arg(residentAfter - residentBefore)));
#endif
        QVERIFY(unknownLines() <= 21);
        QCOMPARE(m_log->count(QStringLiteral("further unknown TCP commands are not logged")), 1);
        // The 50 ms timer kept firing while the flood was read.
        QVERIFY2(ticks >= int(clock.elapsed() / 50) / 4, qPrintable(QString::number(ticks)));
    }

    // Every byte value opening a chunk on a fresh connection: only R and r
    // release, only Q and q close, and every logged line is printable.
    void everyByteValue()
    {
        m_log->clear();
        int released = 0;
        for (int value = 0; value < 256; ++value) {
            auto client = greetedClient(m_app->tcpServerPort());
            QVERIFY2(client, qPrintable(QString::number(value)));
            const char byte = char(value);
            const int before = releases();
            const int linesBefore = m_log->lines().size();
            client->write(&byte, 1);
            client->flush();
            const int upper = std::toupper(value);
            if (upper == 'Q') {
                QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, olpTimeout(5000));
                QCOMPARE(releases(), before);
                continue;
            }
            if (upper == 'R') {
                QTRY_VERIFY_WITH_TIMEOUT(releases() > before, olpTimeout(10000));
                ++released;
            } else {
                QTRY_VERIFY_WITH_TIMEOUT(m_log->lines().size() > linesBefore, olpTimeout(5000));
                QCOMPARE(releases(), before);
            }
            QCOMPARE(client->state(), QAbstractSocket::ConnectedState);
            client->write("Q");
            client->flush();
            QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, olpTimeout(5000));
        }
        QCOMPARE(released, 2);
        for (const QString& line : m_log->lines()) {
            QVERIFY2(isPrintableLine(line), qPrintable(line.toUtf8().toPercentEncoding()));
        }
        // 161 bytes outside 0x20..0x7E, and '.' itself.
        QCOMPARE(m_log->count(QStringLiteral("unknown TCP command '.'")), 161 + 1);
    }

    // A peer that never reads holds nothing up: the GUI thread runs on and
    // its "R" releases.
    void clientThatNeverReads()
    {
        // The previous test's client is let go first: this one is served.
        auto idle = [this]() {
            for (QTcpSocket* socket : m_app->findChildren<QTcpSocket*>()) {
                if (socket->state() == QAbstractSocket::ConnectedState) {
                    return false;
                }
            }
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(idle(), olpTimeout(5000));
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        const int small = 1;
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof(small));
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(m_app->tcpServerPort());
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        const int before = releases();
        QCOMPARE(::write(fd, "R", 1), ssize_t(1));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&]() { ++ticks; });
        timer.start(50);
        QTRY_VERIFY_WITH_TIMEOUT(releases() > before, olpTimeout(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, olpTimeout(5000));
        ::close(fd);
    }

    // A peer gone without closing is noticed: keep-alive on the served socket.
    void keepAlive()
    {
        auto client = greetedClient(m_app->tcpServerPort());
        QVERIFY(client);
        QTcpSocket* served = servedSocket(client.get());
        QVERIFY(served);
        const int fd = int(served->socketDescriptor());
        auto option = [fd](int level, int name) {
            int value = -1;
            socklen_t size = sizeof(value);
            return getsockopt(fd, level, name, &value, &size) == 0 ? value : -1;
        };
        QCOMPARE(option(SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPIDLE), 60);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPINTVL), 10);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPCNT), 3);
    }

    // "R" takes one picture of the demo camera and it lands with the camera's bytes.
    void releaseTakesOnePicture()
    {
        auto client = greetedClient(m_app->tcpServerPort());
        QVERIFY(client);
        const auto camera = m_app->demoCamera();
        const int taken = releases();
        auto jpgs = []() {
            QStringList files;
            QDirIterator it(QDir::homePath(), {QStringLiteral("*.JPG")}, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                files << it.next();
            }
            files.sort();
            return files;
        };
        const int onDisk = jpgs().size();
        client->write("R");
        client->flush();
        QTRY_COMPARE_WITH_TIMEOUT(jpgs().size(), onDisk + 1, olpTimeout(20000));
        QCOMPARE(releases(), taken + 1);
        const QString landed = jpgs().constLast();
        QFile file(landed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray lastJpg;
        for (const OLP_Commu_EmuCapture::Picture& picture : camera->capturedPictures()) {
            if (picture.fileName.endsWith(QLatin1String(".JPG"), Qt::CaseInsensitive)) {
                lastJpg = picture.bytes();
            }
        }
        QCOMPARE(file.readAll(), lastJpg);
        if (onDisk == 0) {
            QVERIFY2(landed.endsWith(QLatin1String("/Picture00001.JPG")), qPrintable(landed));
        }
    }

    // The listening address, each in a process of its own.
    void listeningAddress_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("loopbackServed");
        QTest::addColumn<bool>("otherLocalServed");
        QTest::addColumn<bool>("warned");
        QTest::newRow("default: every interface") << "-" << true << true << false;
        QTest::newRow("127.0.0.1: loopback only") << "127.0.0.1" << true << false << false;
        QTest::newRow("not an address: loopback only, one line") << "nonsense" << true << false << true;
    }
    void listeningAddress()
    {
        QFETCH(QString, setting);
        QFETCH(bool, loopbackServed);
        QFETCH(bool, otherLocalServed);
        QFETCH(bool, warned);
        QString output;
        auto child = startChild(setting, 0, &output);
        QVERIFY(child);
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^port (\\d+) address"), QRegularExpression::MultilineOption)
                .match(output);
        QVERIFY2(match.hasMatch(), qPrintable(output));
        const quint16 port = quint16(match.captured(1).toUInt());
        QVERIFY(port != 0);
        QCOMPARE(greetedClient(port) != nullptr, loopbackServed);
        // 127.0.0.2 is a local address outside 127.0.0.1 itself.
        QTcpSocket other;
        other.connectToHost(QStringLiteral("127.0.0.2"), port);
        const bool connected = other.waitForConnected(olpTimeout(5000));
        QCOMPARE(connected, otherLocalServed);
        if (!connected) {
            QCOMPARE(other.error(), QAbstractSocket::ConnectionRefusedError);
        }
        other.abort();
        QVERIFY(stopChild(child.get(), &output));
        QCOMPARE(output.contains(QLatin1String("\"nonsense\" in TcpServerAddress is not an address")), warned);
    }

    // Without overrides the server listens on every interface, port 1234.
    void defaultAddressAndPort()
    {
        QString output;
        auto child = startChild(QStringLiteral("-"), -1, &output);
        QVERIFY(child);
        QVERIFY2(output.contains(QLatin1String("port 1234 address ") + QHostAddress(QHostAddress::Any).toString()),
                 qPrintable(output));
        QVERIFY(greetedClient(1234) != nullptr);
        QVERIFY(stopChild(child.get(), &output));
    }

    // A taken port: the log line, and the application runs on without a server.
    void portTaken()
    {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::Any, 0));
        QString output;
        auto child = startChild(QStringLiteral("-"), holder.serverPort(), &output);
        QVERIFY(child);
        QVERIFY2(output.contains(QLatin1String("port 0 ")), qPrintable(output));
        QVERIFY(output.contains(QLatin1String("TCP Server - could not start!")));
        QCOMPARE(child->state(), QProcess::Running);
        QVERIFY(stopChild(child.get(), &output));
    }

private:
    OLP_GUI_Application* m_app;
    std::unique_ptr<OLP_Test_LogCapture> m_capture;
    OLP_Test_LogCapture* m_log = nullptr;
};

namespace {

void childMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    messageHandler(type, context, message);
    std::fprintf(stdout, "log %s\n", qUtf8Printable(message));
    std::fflush(stdout);
}

// The application with a listening-address setting and a port, until its
// standard input closes: prints "port <n> address <a>", then "ready".
int runChild(int argc, char** argv, const QString& address, int port)
{
    QTemporaryDir home;
    olpUseTemporaryHome(home.path());
    initApplicationIdentity();
    setDebugFlags(kTcpFlag, true);
    qInstallMessageHandler(childMessageHandler);
    if (address != QLatin1String("-")) {
        QSettings file(OLP_GUI_Settings::settingsFilePath(), OLP_GUI_XmlSettingsFormat::format());
        file.setValue(QStringLiteral("OrvaneLumaport/TcpServerAddress"), address);
        file.sync();
    }
    if (port >= 0) {
        OLP_GUI_Application::TestOverrides overrides;
        overrides.tcpPort = port;
        OLP_GUI_Application::setTestOverrides(overrides);
    }
    int result = 0;
    {
        OLP_GUI_Application app(argc, argv);
        QString listening = QStringLiteral("port %1 address ").arg(app.tcpServerPort());
        for (QTcpServer* server : app.findChildren<QTcpServer*>()) {
            listening += server->serverAddress().toString();
        }
        std::fprintf(stdout, "%s\nready\n", qUtf8Printable(listening));
        std::fflush(stdout);
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, [&]() {
            char buffer[64];
            if (::read(STDIN_FILENO, buffer, sizeof(buffer)) <= 0) {
                input.setEnabled(false);
                app.quit();
            }
        });
        result = app.exec();
    }
    OLP_GUI_Settings::destroyInstance();
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--child") {
        int childArgc = 1;
        return runChild(childArgc, argv, QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    }
    return olpExecWithDemoApplication(argc, argv, [&](OLP_GUI_Application* app) {
        tst_TcpServer test(app);
        return QTest::qExec(&test, argc, argv);
    });
}

#include "tst_TcpServer.moc"
