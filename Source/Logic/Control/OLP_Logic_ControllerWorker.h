#pragma once

#include <QMutex>
#include <QObject>
#include <QWaitCondition>
#include <atomic>

class OLP_Logic_Controller;

// Keeps the controller thread running: process() creates the controller in
// that thread, then alternates a short event pass with a short sleep until
// requestFinish(), and finally deletes the controller in the same thread, so
// the camera object's destructor runs there and waits for its transfers.
//
// Thread: created without parent and moved to the controller thread, whose
// started() runs process(). requestFinish(), controller() and
// waitForController() may be called from any thread. Owns the controller
// while process() runs.
class OLP_Logic_ControllerWorker : public QObject
{
    Q_OBJECT
public:
    explicit OLP_Logic_ControllerWorker(QObject* parent = nullptr);
    ~OLP_Logic_ControllerWorker() override;

    // The controller while the loop runs; null before and after.
    OLP_Logic_Controller* controller() const;
    // Waits up to timeoutMs for the controller to exist.
    OLP_Logic_Controller* waitForController(int timeoutMs) const;
    bool isFinishRequested() const { return m_finishRequested.load(); }

public slots:
    void process();
    void requestFinish();

signals:
    void signalFinished();

private:
    std::atomic<bool> m_finishRequested{false};
    std::atomic<bool> m_processed{false};
    // Guards m_controller and pairs with m_controllerChanged.
    mutable QMutex m_controllerMutex;
    mutable QWaitCondition m_controllerChanged;
    OLP_Logic_Controller* m_controller = nullptr;
};
