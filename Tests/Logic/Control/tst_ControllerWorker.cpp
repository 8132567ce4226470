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
        QSignalSpy finished(t.worker.data(), &OLP_Logic_ControllerWorker::signalFinished);
        t.thread.start();
        OLP_Logic_Controller* controller = t.worker->waitForController(olpTimeout(5000));
        QVERIFY(controller != nullptr);
        QCOMPARE(controller->thread(), &t.thread);
        QPointer<OLP_Logic_Controller> guard(controller);
        QVERIFY(log.contains("OLP_Logic_ControllerWorker::process - started in thread 0x"));

        QElapsedTimer clock;
        clock.start();
        t.finishQueued();
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1, olpTimeout(2000));
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

        // Connected before the spy, so it has run when the spy sees the signal.
        std::atomic<QThread*> emittedIn{nullptr};
        connect(
            controller, &OLP_Logic_Controller::signalFocusIsUnitFeet, controller,
            [&emittedIn](bool) { emittedIn = QThread::currentThread(); }, Qt::DirectConnection);
        QSignalSpy feet(controller, &OLP_Logic_Controller::signalFocusIsUnitFeet);
        controller->setIsUnitFeet(true);
        QVERIFY(feet.wait(olpTimeout(2000)));
        QCOMPARE(feet.takeFirst().at(0).toBool(), true);
        QCOMPARE(emittedIn.load(), &t.thread);

        // Without a camera the queries answer from the controller's own values.
        QCOMPARE(controller->productId(), quint32(0));
        QCOMPARE(controller->productName(), QStringLiteral("not connected"));
        QCOMPARE(controller->liveViewMode(), 0);
        QCOMPARE(controller->has3DAxisData(), false);

        bool ran = false;
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
        QSignalSpy finished(t.worker.data(), &OLP_Logic_ControllerWorker::signalFinished);
        t.worker->requestFinish();
        t.thread.start();
        QTRY_VERIFY_WITH_TIMEOUT(t.thread.isFinished(), olpTimeout(2000));
        QCOMPARE(finished.count(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_ControllerWorker)
#include "tst_ControllerWorker.moc"
