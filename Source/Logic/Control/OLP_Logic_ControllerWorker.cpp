#include "OLP_Logic_ControllerWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include "OLP_Debug.h"
#include "OLP_Logic_Controller.h"

namespace {
// One pass: events for at most this long, then a sleep of this long.
constexpr int kEventPassMs = 5;
constexpr int kSleepMs = 10;
}  // namespace

OLP_Logic_ControllerWorker::OLP_Logic_ControllerWorker(QObject* parent) : QObject(parent) {}

OLP_Logic_ControllerWorker::~OLP_Logic_ControllerWorker() = default;

OLP_Logic_Controller* OLP_Logic_ControllerWorker::controller() const
{
    QMutexLocker lock(&m_controllerMutex);
    return m_controller;
}

OLP_Logic_Controller* OLP_Logic_ControllerWorker::waitForController(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    QMutexLocker lock(&m_controllerMutex);
    while (!m_controller && !m_finishRequested.load()) {
        if (!m_controllerChanged.wait(&m_controllerMutex, deadline)) {
            break;
        }
    }
    return m_controller;
}

void OLP_Logic_ControllerWorker::process()
{
    const char* name = "OLP_Logic_ControllerWorker::process";
    if (m_processed.exchange(true)) {
        debugPrintf(0, "%s - called again, ignored", name);
        return;
    }
    debugPrintf(256, "%s - started in thread 0x%012lX", name, currentThreadIdForLog());
    // The worker has no parent (it was moved to this thread), and so neither has the controller.
    OLP_Logic_Controller* controller = new OLP_Logic_Controller(parent());
    {
        QMutexLocker lock(&m_controllerMutex);
        m_controller = controller;
    }
    m_controllerChanged.wakeAll();

    while (!m_finishRequested.load()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kEventPassMs);
        QThread::msleep(kSleepMs);
    }

    {
        QMutexLocker lock(&m_controllerMutex);
        m_controller = nullptr;
    }
    m_controllerChanged.wakeAll();
    // Deleted here, in its own thread: the camera object's destructor waits for
    // running transfers, so no picture is cut off mid-file at shut-down.
    delete controller;
    debugPrintf(256, "%s - finished in thread 0x%012lX", name, currentThreadIdForLog());
    emit signalFinished();
}

void OLP_Logic_ControllerWorker::requestFinish()
{
    m_finishRequested.store(true);
    m_controllerChanged.wakeAll();
}
