#include <QDateTime>
#include <QFile>
#include <QThread>
#include <QtTest>
#include <memory>

#include "OLP_Debug.h"
#include "OLP_Debug_Logfile.h"
#include "OLP_Platform_Base.h"
#include "OLP_Test_Support.h"

class tst_Log : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { setDebugFlags(0xFFFFFFFF, false); }
    void flagFiltering();
    void setDebugFlagsKeepsOtherBits();
    void lineStamps_data();
    void lineStamps();
    void dumpLayout();
    void dumpMaxLines();
    void longTextIsTruncated();
    void printableAsciiOnly();
    void fileNameAndLines();
    void linesFromThreadsDoNotInterleave();
    void linesFromAThreadLeaveNothingQueuedHere();
    void picturesLocationExists();
};

void tst_Log::initTestCase()
{
    olpTestInit();
    qInstallMessageHandler(messageHandler);
}

void tst_Log::flagFiltering()
{
    OLP_Test_LogCapture log;
    debugPrintf(1, "%s - one", "X::y");
    debugPrintf(0, "%s - zero", "X::y");
    QCOMPARE(log.count("X::y - one"), 0);
    QCOMPARE(log.count("X::y - zero"), 1);
    QVERIFY(!isDebugEnabled(1));
    setDebugFlags(1, true);
    QVERIFY(isDebugEnabled(1));
    QVERIFY(isDebugEnabled(3));  // any bit is enough
    QVERIFY(!isDebugEnabled(2));
    debugPrintf(1, "%s - one", "X::y");
    QCOMPARE(log.count("X::y - one"), 1);
}

void tst_Log::setDebugFlagsKeepsOtherBits()
{
    setDebugFlags(0x80, true);
    setDebugFlags(0x3F01FF7F, false);
    QCOMPARE(debugFlags(), 0x80u);
    QVERIFY(isDebugEnabled(0x80));
    QVERIFY(isDebugEnabled(0));
}

void tst_Log::lineStamps_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("expected");
    QTest::newRow("debug") << int(QtDebugMsg) << "[06/12/2026 11:20:05] {Debug}    text";
    QTest::newRow("warning") << int(QtWarningMsg) << "[06/12/2026 11:20:05] {Warning}  text";
    QTest::newRow("critical") << int(QtCriticalMsg) << "[06/12/2026 11:20:05] {Critical} text";
    QTest::newRow("fatal") << int(QtFatalMsg) << "[06/12/2026 11:20:05] {Fatal}    text";
}

void tst_Log::lineStamps()
{
    QFETCH(int, type);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2026, 12, 6), QTime(11, 20, 5));
    QCOMPARE(formatLogLine(QtMsgType(type), QStringLiteral("text"), when), expected);
}

void tst_Log::dumpLayout()
{
    OLP_Test_LogCapture log;
    const quint8 three[3] = {0x01, 0x41, 0x00};
    dumpBuffer(QString(), QStringLiteral("Lens"), three, 3, 0, 16);
    QCOMPARE(log.lines().size(), 1);
    QCOMPARE(log.lines()[0], QStringLiteral("Lens[000000000000]: 01 41 00") + QString(13 * 3, ' ') + " .A.");

    log.clear();
    quint8 twenty[20];
    for (int i = 0; i < 20; ++i) {
        twenty[i] = quint8(0x30 + i);
    }
    dumpBuffer(QStringLiteral("Title"), QStringLiteral("P"), twenty, 20, 0, 0);  // 0 means 16 per line
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("Title"));
    QCOMPARE(lines[1],
             QStringLiteral("P[000000000000]: 30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F 0123456789:;<=>?"));
    QCOMPARE(lines[2], QStringLiteral("P[000000000010]: 40 41 42 43") + QString(12 * 3, ' ') + " @ABC");
}

void tst_Log::dumpMaxLines()
{
    OLP_Test_LogCapture log;
    quint8 twenty[20] = {};
    dumpBuffer(QString(), QStringLiteral("P"), twenty, 20, 1, 16);
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[1], QStringLiteral("P[000000000010]: ..."));
}

// Text longer than the format buffer is cut, never written past it.
void tst_Log::longTextIsTruncated()
{
    OLP_Test_LogCapture log;
    const QByteArray longText(5000, 'x');
    debugPrintf(0, "%s - %s", "X::long", longText.constData());
    QCOMPARE(log.lines().size(), 1);
    QCOMPARE(log.lines()[0].size(), 1023);
    QVERIFY(log.lines()[0].startsWith("X::long - xxx"));
}

void tst_Log::printableAsciiOnly()
{
    const char raw[] = {'R', '\n', '\x1b', 'a', '\x7f', '\xc3', ' ', '~'};
    QCOMPARE(printableAscii(raw, int(sizeof(raw))), QByteArray("R..a.. ~"));
    QCOMPARE(printableAscii(nullptr, 5), QByteArray());
}

void tst_Log::fileNameAndLines()
{
    const QString name = OLP_Debug_Logfile::fileName();
    QVERIFY(name.endsWith("/OrvaneLumaport3.log"));
    QVERIFY(name.startsWith(platform()->dataLocation()));
    debugPrintf(0, "%s - a line for the file", "tst_Log::fileNameAndLines");
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString content = QString::fromUtf8(file.readAll());
    QVERIFY(content.contains("{Debug}    tst_Log::fileNameAndLines - a line for the file\n"));
    // The file is closed between lines: deleting it is possible and the next line recreates it.
    file.close();
    QVERIFY(QFile::remove(name));
    qWarning("after removal");
    QVERIFY(QFile::exists(name));
}

void tst_Log::linesFromThreadsDoNotInterleave()
{
    OLP_Test_LogCapture log;
    QList<QThread*> threads;
    for (int t = 0; t < 4; ++t) {
        threads.append(QThread::create([t]() {
            for (int i = 0; i < 200; ++i) {
                debugPrintf(0, "%s - thread %d line %d end", "tst_Log::threads", t, i);
            }
        }));
        threads.last()->start();
    }
    // The event loop runs meanwhile, as in the application: nothing queued to
    // this thread may touch the file while the others write (it did, through
    // a text stream flushed from here after another thread closed the file).
    const bool finished = QTest::qWaitFor(
        [&] {
            for (QThread* thread : threads) {
                if (!thread->isFinished()) {
                    return false;
                }
            }
            return true;
        },
        olpTimeout(20000));
    for (QThread* thread : threads) {
        QVERIFY(thread->wait(olpTimeout(20000)));
        delete thread;
    }
    QVERIFY(finished);
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 800);
    for (const QString& line : lines) {
        QVERIFY2(line.startsWith("tst_Log::threads - thread ") && line.endsWith(" end"), qPrintable(line));
    }
    // Every line whole in the file too.
    QFile file(OLP_Debug_Logfile::instance()->path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    int inFile = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.contains("tst_Log::threads")) {
            QVERIFY2(line.contains("tst_Log::threads - thread ") && line.endsWith(" end"), line.constData());
            ++inFile;
        }
    }
    QCOMPARE(inFile, 800);
}

namespace {
// Counts the queued calls delivered to any object of this thread.
class QueuedCallCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall) {
            ++count;
        }
        return QObject::eventFilter(watched, event);
    }
};
}  // namespace

// A line written by another thread leaves no call queued to this one (a text
// stream of this thread was flushed from here, one queued call per line
// written so far, while other threads wrote through it: a use-after-free,
// and each line slower than the last).
void tst_Log::linesFromAThreadLeaveNothingQueuedHere()
{
    OLP_Test_LogCapture log;
    QCoreApplication::processEvents();
    QueuedCallCounter counter;
    QCoreApplication::instance()->installEventFilter(&counter);
    std::unique_ptr<QThread> writer(QThread::create([] {
        for (int i = 0; i < 50; ++i) {
            debugPrintf(0, "%s - line %d", "tst_Log::queued", i);
        }
    }));
    writer->start();
    QVERIFY(writer->wait(olpTimeout(20000)));
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&counter);
    QCOMPARE(log.lines().size(), 50);
    QCOMPARE(counter.count, 0);
}

void tst_Log::picturesLocationExists()
{
    const QString pictures = platform()->picturesLocation();
    QVERIFY(!pictures.isEmpty());
    QVERIFY(QDir(pictures).exists());
}

QTEST_GUILESS_MAIN(tst_Log)
#include "tst_Log.moc"
