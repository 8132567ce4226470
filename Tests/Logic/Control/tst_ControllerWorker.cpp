#include <QElapsedTimer>
#include <QThread>
#include <QtTest>
#include <atomic>

#include "OLP_Debug.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_ControllerWorker.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_ControllerRig.h"
#include "OLP_Test_Support.h"

namespace {
// The controller thread as the application builds it, left for the test to
// start: the tests here drive the worker themselves.
class ControllerThread : public OLP_Test_ControllerRig
{
public:
    ControllerThread() : OLP_Test_ControllerRig(Start::Later) {}
    // A finish request as the GUI's signal delivers it: queued into the controller thread.
    void finishQueued()
    {
        QMetaObject::invokeMethod(worker.data(), &OLP_Logic_ControllerWorker::requestFinish, Qt::QueuedConnection);
    }
};
}  // namespace

class tst_ControllerWorker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        olpTestInit();
        olpRegisterMetaTypes();
        setDebugFlags(256, true);
    }

    // The controller is created inside the controller thread, and a finish
    // request ends the loop, deletes the controller there and ends the thread
    // within a pass or two (catches a blocking event loop and a controller that
    // outlives the thread).
    void startAndFinish()
    {
        OLP_Test_LogCapture log;
        ControllerThread t;
        // Counted in this thread: the signal comes from the controller thread.
        int finished = 0;
        connect(
            t.worker.data(), &OLP_Logic_ControllerWorker::signalFinished, this, [&finished] { ++finished; },
            Qt::QueuedConnection);
        t.thread.start();
        OLP_Logic_Controller* controller = t.worker->waitForController(olpTimeout(5000));
        QVERIFY(controller != nullptr);
        QCOMPARE(controller->thread(), &t.thread);
        QPointer<OLP_Logic_Controller> guard(controller);
        QVERIFY(log.contains("OLP_Logic_ControllerWorker::process - started in thread 0x"));

        QElapsedTimer clock;
        clock.start();
        t.finishQueued();
        QTRY_VERIFY_WITH_TIMEOUT(finished == 1, olpTimeout(2000));
        QVERIFY2(clock.elapsed() < olpTimeout(500), qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(t.thread.isFinished(), olpTimeout(2000));
        QVERIFY(guard.isNull());
        QVERIFY(log.contains("OLP_Logic_ControllerWorker::process - finished in thread 0x"));
        // The worker goes with deleteLater() once the GUI thread runs its events.
        QTRY_VERIFY_WITH_TIMEOUT(t.worker.isNull(), olpTimeout(2000));
    }

    // requestFinish() called straight from another thread ends the loop too.
    void finishFromAnotherThread()
    {
        ControllerThread t;
        t.thread.start();
        QVERIFY(t.worker->waitForController(olpTimeout(5000)) != nullptr);
        t.worker->requestFinish();
        QTRY_VERIFY_WITH_TIMEOUT(t.thread.isFinished(), olpTimeout(2000));
    }

    // The loop keeps the thread's events flowing: queued calls and timers of
    // the controller run there, and the calls the GUI makes directly are
    // carried out in the controller thread.
    void eventsFlow()
    {
        ControllerThread t;
        t.thread.start();
        OLP_Logic_Controller* controller = t.worker->waitForController(olpTimeout(5000));
        QVERIFY(controller != nullptr);

        // Where the signal is emitted, and what arrives in this thread.
        std::atomic<QThread*> emittedIn{nullptr};
        connect(
            controller, &OLP_Logic_Controller::signalFocusIsUnitFeet, controller,
            [&emittedIn](bool) { emittedIn = QThread::currentThread(); }, Qt::DirectConnection);
        QList<bool> feet;
        connect(
            controller, &OLP_Logic_Controller::signalFocusIsUnitFeet, this, [&feet](bool on) { feet.append(on); },
            Qt::QueuedConnection);
        controller->setIsUnitFeet(true);
        QTRY_COMPARE_WITH_TIMEOUT(feet, QList<bool>{true}, olpTimeout(2000));
        QCOMPARE(emittedIn.load(), &t.thread);

        // Without a camera the queries answer from the controller's own values.
        QCOMPARE(controller->productId(), quint32(0));
        QCOMPARE(controller->productName(), QStringLiteral("not connected"));
        QCOMPARE(controller->liveViewMode(), 0);
        QCOMPARE(controller->has3DAxisData(), false);

        std::atomic<bool> ran{false};
        QMetaObject::invokeMethod(
            controller, [&ran]() { ran = true; }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(ran, olpTimeout(2000));
        t.finishQueued();
        QTRY_VERIFY_WITH_TIMEOUT(t.thread.isFinished(), olpTimeout(2000));
    }

    // A finish request before the loop has run still creates and deletes the
    // controller and ends.
    void finishBeforeStart()
    {
        ControllerThread t;
        int finished = 0;
        connect(
            t.worker.data(), &OLP_Logic_ControllerWorker::signalFinished, this, [&finished] { ++finished; },
            Qt::QueuedConnection);
        t.worker->requestFinish();
        t.thread.start();
        QTRY_VERIFY_WITH_TIMEOUT(t.thread.isFinished(), olpTimeout(2000));
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, olpTimeout(2000));
    }
};

QTEST_GUILESS_MAIN(tst_ControllerWorker)
#include "tst_ControllerWorker.moc"
