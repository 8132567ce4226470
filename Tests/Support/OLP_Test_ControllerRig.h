#pragma once

#include <QPointer>
#include <QThread>
#include <functional>
#include <memory>

#include "OLP_Test_SignalRecorder.h"

class OLP_Commu_EmuCamera;
class OLP_Commu_EmuUsbPort;
class OLP_Logic_Controller;
class OLP_Logic_ControllerWorker;

// The controller thread as the application builds it, without widgets: a
// QThread running OLP_Logic_ControllerWorker (started() -> process(),
// signalFinished() -> quit() and deleteLater()), the controller's USB access
// on short time-outs, and an emulated USB port of the rig's own on the
// process-wide USB hub. A plugged camera is found by the controller's device
// poll and opened through the real transport, like a real camera.
//
// Threads: the rig lives in the test's thread, the controller (and the worker)
// in `thread`. run() and runAndWait() carry code into the controller thread;
// the controller's signals reach `recorder` queued. The rig records
// "signalCameraConnected" and "signalCameraDisconnected", and after plug()
// "cameraDestroyed" when the controller deletes the camera object; a test
// records any other signal it reads with recorder.record(controller, ...).
//
// Owns the thread and the worker (which deletes itself when its loop ends), the
// port (taken off the hub again) and the recorder; shares the camera with the
// test. The destructor finishes the controller thread.
class OLP_Test_ControllerRig
{
public:
    using Controller = OLP_Logic_Controller;
    using Camera = std::shared_ptr<OLP_Commu_EmuCamera>;

    // Later leaves the thread to the test: only the worker and its connections are set up.
    enum class Start
    {
        Now,
        Later
    };
    explicit OLP_Test_ControllerRig(Start when = Start::Now);
    ~OLP_Test_ControllerRig();
    OLP_Test_ControllerRig(const OLP_Test_ControllerRig&) = delete;
    OLP_Test_ControllerRig& operator=(const OLP_Test_ControllerRig&) = delete;

    // Starts the thread and waits for the controller; false when none came.
    bool start();

    // Runs f in the controller thread, as a queued call from the GUI would.
    void run(std::function<void(Controller*)> f);
    // The same, and waits until it has run.
    bool runAndWait(std::function<void(Controller*)> f);
    // Device discovery now instead of at the next 1000 ms tick.
    void poll();
    // Plugs the camera into the rig's port and waits until the controller has
    // connected to it.
    bool plug(const Camera& emulated);
    bool plug(quint16 productId);
    // Waits until the camera's events have been read and handled in the
    // controller thread.
    bool settle();
    // Asks the worker to finish (safe from any thread) and waits for the thread to end.
    bool finish();

    QThread thread;
    QPointer<OLP_Logic_ControllerWorker> worker;
    Controller* controller = nullptr;
    OLP_Test_SignalRecorder recorder;
    std::shared_ptr<OLP_Commu_EmuUsbPort> port;
    Camera camera;
};
