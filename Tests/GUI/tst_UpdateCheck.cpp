// The update check against a local HTTPS server with a certificate made for
// this run: which answers show the update dialog, which the up-to-date box
// and which nothing; versions compared as numbers; oversized, failed,
// redirected, untrusted and silent answers; no access manager or reply piling
// up; and a camera unplugged while the dialog is open.

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QPushButton>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_GUI_Application.h"
#include "OLP_GUI_UpdateDialog.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

const QString kUpdateMessage =
    QStringLiteral("Orvane Lumaport Update available!\nPlease download latest version from Orvane Owner's Area:");

QByteArray updateXml(const QByteArray& major, const QByteArray& minor, const QByteArray& build)
{
    return "<?xml version=\"1.0\"?>\n<Updates><UpdateInfo><MajorWin>" + major + "</MajorWin><MinorWin>" + minor +
           "</MinorWin><BuildWin>" + build + "</BuildWin><Note>ignored</Note></UpdateInfo></Updates>\n";
}

}  // namespace

// One HTTPS answer of the local server.
struct Answer
{
    int status = 200;
    QByteArray body;
    QByteArray headers;   // extra header lines, each ending in CRLF
    bool silent = false;  // never answers
};
Q_DECLARE_METATYPE(Answer)

namespace {

// An HTTPS server on 127.0.0.1 that answers every request with the current answer.
class HttpsServer : public QTcpServer
{
public:
    QSslCertificate certificate;
    QSslKey key;
    Answer answer;
    int requests = 0;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QSslSocket* socket = new QSslSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        socket->setLocalCertificate(certificate);
        socket->setPrivateKey(key);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QSslSocket::readyRead, socket, [this, socket, request]() {
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n")) {
                return;
            }
            ++requests;
            if (answer.silent) {
                return;
            }
            QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " X\r\n";
            reply += "Content-Type: text/xml\r\nContent-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
            reply += answer.headers + "Connection: close\r\n\r\n" + answer.body;
            socket->write(reply);
            socket->disconnectFromHost();
        });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        socket->startServerEncryption();
    }
};

// Receives the URLs the application hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void openUrl(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

}  // namespace

class tst_UpdateCheck : public QObject
{
    Q_OBJECT
public:
    explicit tst_UpdateCheck(OLP_GUI_Application* app) : m_app(app) {}

private:
    // What a check showed: "dialog", "up to date" or "" (nothing).
    struct Shown
    {
        QString kind;
        QString title;
        QString text;
        QString link;
        QWidget* parent = nullptr;
    };

    // Runs one check and reports what it showed. A modal box or dialog is
    // read and dismissed (with its link clicked when clickLink); the check is
    // over once the access manager has finished the request.
    Shown check(bool automatic, bool clickLink = false, const std::function<void(QWidget*)>& duringModal = {})
    {
        Shown shown;
        bool finished = false;
        QNetworkAccessManager* manager = nullptr;
        QTimer watcher;
        watcher.setInterval(10);
        connect(&watcher, &QTimer::timeout, [&]() {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                return;
            }
            watcher.stop();
            shown.title = modal->windowTitle();
            shown.parent = modal->parentWidget();
            if (auto* dialog = qobject_cast<OLP_GUI_UpdateDialog*>(modal)) {
                shown.kind = QStringLiteral("dialog");
                shown.text = dialog->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
                QPushButton* link = dialog->findChild<QPushButton*>(QStringLiteral("pbnLink"));
                shown.link = link->text();
                if (duringModal) {
                    duringModal(dialog);
                    return;
                }
                QTest::mouseClick(clickLink ? link : dialog->findChild<QPushButton*>(QStringLiteral("pbnCancel")),
                                  Qt::LeftButton);
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown.kind = QStringLiteral("up to date");
                shown.text = box->text();
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            }
        });
        watcher.start();
        m_app->requestUpdateCheck(automatic);
        manager = m_app->findChild<QNetworkAccessManager*>();
        if (manager) {
            // Connected after the application's own slot, so this runs once
            // the answer has been handled (and any box closed).
            connect(manager, &QNetworkAccessManager::finished, &watcher, [&]() { finished = true; });
        }
        if (!QTest::qWaitFor([&]() { return finished; }, olpTimeout(20000))) {
            shown.kind = QStringLiteral("no answer");
        }
        return shown;
    }

    void setTrusted(bool trusted, int timeoutMs = 30000)
    {
        OLP_GUI_Application::TestOverrides overrides;
        overrides.tcpPort = 0;
        overrides.updateUrl = QUrl(
            QStringLiteral("https://127.0.0.1:%1/ext/remote-control-update-marlow.xml").arg(m_server.serverPort()));
        overrides.replaceCaCertificates = trusted;
        if (trusted) {
            overrides.caCertificates = {m_server.certificate};
        }
        overrides.updateTimeoutMs = timeoutMs;
        OLP_GUI_Application::setTestOverrides(overrides);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_certDir.isValid());
        const QString cert = m_certDir.filePath(QStringLiteral("cert.pem"));
        const QString key = m_certDir.filePath(QStringLiteral("key.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert, "-days", "2",
                       "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
        QVERIFY2(openssl.waitForFinished(olpTimeout(60000)) && openssl.exitCode() == 0,
                 openssl.readAllStandardError().constData());
        QFile certFile(cert);
        QFile keyFile(key);
        QVERIFY(certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly));
        m_server.certificate = QSslCertificate(certFile.readAll());
        m_server.key = QSslKey(keyFile.readAll(), QSsl::Rsa);
        QVERIFY(!m_server.certificate.isNull() && !m_server.key.isNull());
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        setTrusted(true);
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_urls, "openUrl");
        QTRY_VERIFY_WITH_TIMEOUT(m_app->cameraWindow() != nullptr, olpTimeout(20000));
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    void init() { setTrusted(true); }

    void answers_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("shown");
        Answer newer;
        newer.body = updateXml("3", "6", "1");
        Answer same;
        same.body = updateXml("3", "6", "0");
        Answer ten;
        ten.body = updateXml("3", "10", "0");
        Answer four;
        four.body = updateXml("4", "0", "0");
        Answer older;
        older.body = updateXml("3", "5", "9");
        Answer spaced;
        spaced.body = updateXml(" 3 ", "6", " 2");
        QTest::newRow("3.6.1: dialog") << newer << false << "dialog";
        QTest::newRow("3.6.1 automatic: dialog") << newer << true << "dialog";
        QTest::newRow("3.6.0 from the menu: up to date") << same << false << "up to date";
        QTest::newRow("3.6.0 automatic: nothing") << same << true << "";
        QTest::newRow("3.10.0 is newer than 3.6.0") << ten << false << "dialog";
        QTest::newRow("4.0.0: dialog") << four << false << "dialog";
        QTest::newRow("3.5.9: up to date") << older << false << "up to date";
        QTest::newRow("spaces around numbers") << spaced << false << "dialog";

        Answer notXml;
        notXml.body = "3.7.0";
        Answer two;
        two.body =
            "<r><UpdateInfo><MajorWin>4</MajorWin><MinorWin>0</MinorWin><BuildWin>0</BuildWin></UpdateInfo>"
            "<UpdateInfo><MajorWin>4</MajorWin><MinorWin>0</MinorWin><BuildWin>0</BuildWin></UpdateInfo></r>";
        Answer noBuild;
        noBuild.body = "<UpdateInfo><MajorWin>4</MajorWin><MinorWin>0</MinorWin></UpdateInfo>";
        Answer letters;
        letters.body = updateXml("3", "x", "0");
        Answer doctype;
        doctype.body = "<!doctype UpdateInfo []>" + updateXml("4", "0", "0");
        Answer huge;
        huge.body = updateXml("4", "0", "0") + QByteArray(1024 * 1024, ' ');
        Answer serverError;
        serverError.status = 500;
        serverError.body = updateXml("4", "0", "0");
        Answer redirect;
        redirect.status = 302;
        redirect.headers = "Location: http://127.0.0.1:1/ext/remote-control-update-marlow.xml\r\n";
        QTest::newRow("not XML") << notXml << false << "";
        QTest::newRow("two UpdateInfo") << two << false << "";
        QTest::newRow("no BuildWin") << noBuild << false << "";
        QTest::newRow("3.x.0") << letters << false << "";
        QTest::newRow("DOCTYPE") << doctype << false << "";
        QTest::newRow("1 MiB body") << huge << false << "";
        QTest::newRow("HTTP 500 with a newer body") << serverError << false << "";
        QTest::newRow("redirect to http") << redirect << false << "";
    }
    void answers()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, automatic);
        QFETCH(QString, shown);
        m_server.answer = answer;
        const Shown result = check(automatic);
        QCOMPARE(result.kind, shown);
        if (shown == QLatin1String("dialog")) {
            QCOMPARE(result.title, QStringLiteral("Check Updates"));
            QCOMPARE(result.text, kUpdateMessage);
            QCOMPARE(result.link, OLP_GUI_Application::ownersAreaUrl().toString());
            QCOMPARE(result.parent, static_cast<QWidget*>(m_app->cameraWindow()));
        } else if (shown == QLatin1String("up to date")) {
            QCOMPARE(result.title, QStringLiteral("Check Updates"));
            QCOMPARE(result.text, QStringLiteral("Application is up to date."));
        }
    }

    // The link opens the owner's area in the desktop browser and closes the dialog.
    void linkOpensOwnersArea()
    {
        m_server.answer.body = updateXml("3", "7", "0");
        m_server.answer.status = 200;
        m_urls.urls.clear();
        const Shown result = check(false, true);
        QCOMPARE(result.kind, QStringLiteral("dialog"));
        QCOMPARE(m_urls.urls, QList<QUrl>{OLP_GUI_Application::ownersAreaUrl()});
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // A server that never answers, and one whose certificate is not trusted.
    void noTrustedAnswer_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("never answers") << true << true;
        QTest::newRow("test CA left out") << false << false;
    }
    void noTrustedAnswer()
    {
        QFETCH(bool, silent);
        QFETCH(bool, trusted);
        // A server of its own: the access manager would resume the TLS
        // session it made with the trusted one, without a new verification.
        HttpsServer server;
        server.certificate = m_server.certificate;
        server.key = m_server.key;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        setTrusted(trusted, 500);
        OLP_GUI_Application::TestOverrides overrides;
        overrides.tcpPort = 0;
        overrides.updateUrl =
            QUrl(QStringLiteral("https://127.0.0.1:%1/ext/remote-control-update-marlow.xml").arg(server.serverPort()));
        overrides.replaceCaCertificates = trusted;
        if (trusted) {
            overrides.caCertificates = {server.certificate};
        }
        overrides.updateTimeoutMs = 500;
        OLP_GUI_Application::setTestOverrides(overrides);
        server.answer.silent = silent;
        server.answer.body = updateXml("9", "0", "0");
        QCOMPARE(check(false).kind, QString());
        QVERIFY(server.requests <= 1);
    }

    // One access manager for every check, and no reply left behind.
    void nothingPilesUp()
    {
        m_server.answer = Answer();
        m_server.answer.body = updateXml("3", "6", "0");
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(check(true).kind, QString());
        }
        QCOMPARE(m_app->findChildren<QNetworkAccessManager*>().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_app->findChildren<QNetworkReply*>().size(), 0, olpTimeout(5000));
    }

    // The camera goes away while the dialog is open: the camera window and
    // the dialog on it are deleted inside exec(), and the application runs on.
    void cameraUnpluggedDuringDialog()
    {
        m_server.answer = Answer();
        m_server.answer.body = updateXml("3", "7", "0");
        QPointer<QWidget> window = m_app->cameraWindow();
        QVERIFY(window);
        const Shown result = check(false, false, [this](QWidget*) {
            // File > Demo Camera, checked: a trigger unchecks it and unplugs.
            for (QAction* action : m_app->cameraWindow()->findChildren<QAction*>()) {
                if (action->text() == QLatin1String("Demo Camera") && action->isChecked()) {
                    action->trigger();
                    break;
                }
            }
        });
        QCOMPARE(result.kind, QStringLiteral("dialog"));
        QTRY_VERIFY_WITH_TIMEOUT(window.isNull(), olpTimeout(10000));
        QTRY_VERIFY_WITH_TIMEOUT(m_app->noCameraWindow()->isVisible(), olpTimeout(10000));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

private:
    OLP_GUI_Application* m_app;
    QTemporaryDir m_certDir;
    HttpsServer m_server;
    UrlCatcher m_urls;
};

int main(int argc, char** argv)
{
    return olpExecWithDemoApplication(argc, argv, [&](OLP_GUI_Application* app) {
        tst_UpdateCheck test(app);
        return QTest::qExec(&test, argc, argv);
    });
}

#include "tst_UpdateCheck.moc"
