#include "OLP_Test_ControllerRig.h"

#include <QTest>
#include <atomic>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_ControllerWorker.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

OLP_Test_ControllerRig::OLP_Test_ControllerRig(Start when) : port(std::make_shared<OLP_Commu_EmuUsbPort>())
{
    worker = new OLP_Logic_ControllerWorker;
    worker->moveToThread(&thread);
    QObject::connect(&thread, &QThread::started, worker, &OLP_Logic_ControllerWorker::process);
    QObject::connect(worker, &OLP_Logic_ControllerWorker::signalFinished, &thread, &QThread::quit);
    QObject::connect(worker, &OLP_Logic_ControllerWorker::signalFinished, worker, &QObject::deleteLater);
    if (when == Start::Now) {
        start();
    }
}

OLP_Test_ControllerRig::~OLP_Test_ControllerRig()
{
    if (!finish()) {
        qWarning("the controller thread did not finish");
        // The worker's quit() reaches the thread through this thread's events,
        // which do not run while it waits here: quit it directly.
        while (!thread.wait(10)) {
            thread.quit();
        }
    }
    // A thread that never started leaves its worker behind.
    delete worker.data();
    OLP_Commu_UsbPortHub::system()->removePort(port);
}

bool OLP_Test_ControllerRig::start()
{
    thread.start();
    controller = worker->waitForController(olpTimeout(5000));
    if (!controller) {
        return false;
    }
    recorder.record(controller, &Controller::signalCameraConnected, QStringLiteral("signalCameraConnected"));
    recorder.record(controller, &Controller::signalCameraDisconnected, QStringLiteral("signalCameraDisconnected"));
    return runAndWait([](Controller* c) {
        if (auto* usb = qobject_cast<OLP_Commu_CameraAccess_Linux_PTP*>(c->usbAccess())) {
            usb->setTimeouts(OLP_Test_EmuRig::fastTimeouts());
        }
    });
}

void OLP_Test_ControllerRig::run(std::function<void(Controller*)> f)
{
    Controller* c = controller;
    QMetaObject::invokeMethod(
        controller, [c, f]() { f(c); }, Qt::QueuedConnection);
}

bool OLP_Test_ControllerRig::runAndWait(std::function<void(Controller*)> f)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    run([f, done](Controller* c) {
        f(c);
        done->store(true);
    });
    return QTest::qWaitFor([done]() { return done->load(); }, olpTimeout(5000));
}

void OLP_Test_ControllerRig::poll()
{
    run([](Controller* c) { c->usbAccess()->checkDeviceAvailable(); });
}

bool OLP_Test_ControllerRig::plug(const Camera& emulated)
{
    camera = emulated;
    port->plug(camera);
    OLP_Commu_UsbPortHub::system()->addPort(port);
    const int before = recorder.count(QStringLiteral("signalCameraConnected"));
    poll();
    if (!recorder.wait(QStringLiteral("signalCameraConnected"), before + 1)) {
        return false;
    }
    OLP_Test_SignalRecorder* r = &recorder;
    return runAndWait([r](Controller* c) {
        if (c->camera()) {
            QObject::connect(
                c->camera(), &QObject::destroyed, r, [r]() { r->append(QStringLiteral("cameraDestroyed")); },
                Qt::QueuedConnection);
        }
    });
}

bool OLP_Test_ControllerRig::plug(quint16 productId)
{
    return plug(std::make_shared<OLP_Commu_EmuCamera>(productId));
}

bool OLP_Test_ControllerRig::settle()
{
    for (int round = 0; round < 2; ++round) {
        auto quiet = std::make_shared<std::atomic<bool>>(false);
        const bool ok = QTest::qWaitFor(
            [&] {
                if (camera->pendingEvents() != 0) {
                    return false;
                }
                run([quiet](Controller* c) { quiet->store(c->usbAccess()->pendingPropertyCodes().isEmpty()); });
                QTest::qWait(5);
                return quiet->load();
            },
            olpTimeout(5000));
        if (!ok) {
            return false;
        }
    }
    return runAndWait([](Controller*) {});
}

bool OLP_Test_ControllerRig::finish()
{
    if (!thread.isRunning()) {
        return true;
    }
    if (worker) {
        worker->requestFinish();
    }
    return QTest::qWaitFor([this]() { return thread.isFinished(); }, olpTimeout(10000));
}
