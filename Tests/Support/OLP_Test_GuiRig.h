#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"

class OLP_GUI_Application;
class OLP_GUI_CameraBase;
class OLP_Logic_Controller;

// The whole application for widget tests: temporary APPDATA and HOME (so the
// settings file and the log start empty), the GUI settings singleton and the
// application object as the test's QApplication, with its controller thread
// and the real USB transport. Emulated cameras are plugged into the
// process-wide USB hub, where the controller finds them like real ones; the
// camera window then opens as it does for a user.
//
// Use OLP_TEST_GUI_MAIN(TestClass) instead of QTEST_MAIN; the test reaches the
// rig through instance().
//
// Thread: GUI thread; run() hands work to the controller thread.
class OLP_Test_GuiRig
{
public:
    template <class TestObject>
    static int exec(int argc, char** argv)
    {
        OLP_Test_GuiRig rig(argc, argv);
        TestObject test;
        return QTest::qExec(&test, argc, argv);
    }
    static OLP_Test_GuiRig* instance();

    OLP_GUI_Application* application() const { return m_application.get(); }
    OLP_Logic_Controller* controller() const;
    // The open camera window, null while none is open.
    OLP_GUI_CameraBase* window() const;
    // A widget of the camera window by object name.
    QObject* findObject(const QString& objectName) const;
    template <class T>
    T* find(const QString& objectName) const
    {
        return qobject_cast<T*>(findObject(objectName));
    }
    // The folder that stands for the user's home and application data.
    QString homePath() const { return m_home.path(); }

    std::shared_ptr<OLP_Commu_EmuCamera> camera() const { return m_camera; }
    // Plugs an emulated camera of the product (or profile) in and waits until
    // its window is open and the controller's state push has arrived.
    bool plug(quint16 productId);
    bool plug(const OLP_Commu_EmuProfile& profile);
    bool plug(const std::shared_ptr<OLP_Commu_EmuCamera>& camera);
    // Plugs the camera in and has the controller look at once, without
    // waiting for a window (for a camera that cannot be opened).
    bool insert(const std::shared_ptr<OLP_Commu_EmuCamera>& camera);
    // Has the controller look at the bus now instead of at its next poll.
    void poll();
    // Unplugs the camera and waits until its window has gone and the no-camera
    // window shows again.
    bool unplug();
    // Waits until the camera's events have been handled in the controller
    // thread and everything the controller sent has reached the GUI thread,
    // with the camera window open.
    bool settle();

    // Runs f in the controller thread; runAndWait also waits for it to finish.
    void run(const std::function<void(OLP_Logic_Controller*)>& f);
    bool runAndWait(const std::function<void(OLP_Logic_Controller*)>& f);

    OLP_Test_GuiRig(const OLP_Test_GuiRig&) = delete;
    OLP_Test_GuiRig& operator=(const OLP_Test_GuiRig&) = delete;

private:
    OLP_Test_GuiRig(int& argc, char** argv);
    ~OLP_Test_GuiRig();
    // Everything the controller thread has sent so far has been delivered here.
    bool drainController();

    QTemporaryDir m_home;
    int m_argc = 0;
    std::unique_ptr<OLP_GUI_Application> m_application;
    std::shared_ptr<OLP_Commu_EmuUsbPort> m_port;
    std::shared_ptr<OLP_Commu_EmuCamera> m_camera;
    bool m_portAdded = false;
};

#define OLP_TEST_GUI_MAIN(TestObject)                         \
    int main(int argc, char** argv)                           \
    {                                                         \
        return OLP_Test_GuiRig::exec<TestObject>(argc, argv); \
    }

// The whole application as a user starts it with the demo camera switched
// on, in a temporary home and application-data folder, its TCP server on any
// free port: run(application) returns the test's result. For tests that
// need the application's own start-up rather than the rig's emulated port.
int olpExecWithDemoApplication(int argc, char** argv, const std::function<int(OLP_GUI_Application*)>& run);
