#include "OLP_Test_GuiRig.h"

#include <QFile>
#include <atomic>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Debug.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_Settings.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

namespace {
OLP_Test_GuiRig* g_rig = nullptr;
}

OLP_Test_GuiRig::OLP_Test_GuiRig(int& argc, char** argv) : m_argc(argc)
{
    // Before anything asks for a standard path or the settings file.
    qputenv("APPDATA", m_home.path().toUtf8());
    qputenv("HOME", m_home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CACHE_HOME");
    olpTestInit();
    OLP_GUI_Settings::instance()->setLastProductId(OLP_GUI_Settings::instance()->lastProductId());
    m_application = std::make_unique<OLP_GUI_Application>(m_argc, argv);
    m_port = std::make_shared<OLP_Commu_EmuUsbPort>();
    g_rig = this;
    runAndWait([](OLP_Logic_Controller* c) {
        if (auto* usb = qobject_cast<OLP_Commu_CameraAccess_Linux_PTP*>(c->usbAccess())) {
            usb->setTimeouts(OLP_Test_EmuRig::fastTimeouts());
        }
    });
}

OLP_Test_GuiRig::~OLP_Test_GuiRig()
{
    g_rig = nullptr;
    m_application.reset();
    OLP_Commu_UsbPortHub::system()->removePort(m_port);
    OLP_GUI_Settings::destroyInstance();
}

OLP_Test_GuiRig* OLP_Test_GuiRig::instance()
{
    return g_rig;
}

OLP_Logic_Controller* OLP_Test_GuiRig::controller() const
{
    // The application hands out the controller for its thread-safe queries;
    // the rig also queues work into the controller's thread.
    return m_application ? const_cast<OLP_Logic_Controller*>(m_application->controller()) : nullptr;
}

OLP_GUI_CameraBase* OLP_Test_GuiRig::window() const
{
    return m_application ? m_application->cameraWindow() : nullptr;
}

QObject* OLP_Test_GuiRig::findObject(const QString& objectName) const
{
    OLP_GUI_CameraBase* w = window();
    return w ? w->findChild<QObject*>(objectName) : nullptr;
}

void OLP_Test_GuiRig::run(const std::function<void(OLP_Logic_Controller*)>& f)
{
    OLP_Logic_Controller* c = controller();
    if (!c) {
        return;
    }
    QMetaObject::invokeMethod(
        c, [c, f]() { f(c); }, Qt::QueuedConnection);
}

bool OLP_Test_GuiRig::runAndWait(const std::function<void(OLP_Logic_Controller*)>& f)
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    run([f, done](OLP_Logic_Controller* c) {
        f(c);
        done->store(true);
    });
    return QTest::qWaitFor([done]() { return done->load(); }, olpTimeout(5000));
}

bool OLP_Test_GuiRig::drainController()
{
    // A call queued from the controller thread back to the GUI thread arrives
    // after every signal the controller emitted before it.
    auto arrived = std::make_shared<std::atomic<bool>>(false);
    QObject* gui = m_application.get();
    run([gui, arrived](OLP_Logic_Controller*) {
        QMetaObject::invokeMethod(
            gui, [arrived]() { arrived->store(true); }, Qt::QueuedConnection);
    });
    return QTest::qWaitFor([arrived]() { return arrived->load(); }, olpTimeout(5000));
}

bool OLP_Test_GuiRig::plug(quint16 productId)
{
    return plug(std::make_shared<OLP_Commu_EmuCamera>(productId));
}

bool OLP_Test_GuiRig::plug(const OLP_Commu_EmuProfile& profile)
{
    return plug(std::make_shared<OLP_Commu_EmuCamera>(profile));
}

bool OLP_Test_GuiRig::plug(const std::shared_ptr<OLP_Commu_EmuCamera>& camera)
{
    return insert(camera) && settle();
}

bool OLP_Test_GuiRig::insert(const std::shared_ptr<OLP_Commu_EmuCamera>& camera)
{
    if (m_camera) {
        qWarning("OLP_Test_GuiRig::insert - a camera is still plugged");
        return false;
    }
    m_camera = camera;
    m_port->plug(m_camera);
    if (!m_portAdded) {
        OLP_Commu_UsbPortHub::system()->addPort(m_port);
        m_portAdded = true;
    }
    // Do not wait for the next device poll.
    poll();
    return true;
}

void OLP_Test_GuiRig::poll()
{
    run([](OLP_Logic_Controller* c) { c->usbAccess()->checkDeviceAvailable(); });
}

bool OLP_Test_GuiRig::unplug()
{
    if (!m_camera) {
        return true;
    }
    m_camera->unplug();
    m_port->remove(m_camera);
    m_camera.reset();
    poll();
    OLP_GUI_Application* app = m_application.get();
    return QTest::qWaitFor(
        [app]() {
            return app->cameraWindow() == nullptr && app->controller()->productId() == 0 && app->noCameraWindow() &&
                   app->noCameraWindow()->isVisible();
        },
        olpTimeout(10000));
}

bool OLP_Test_GuiRig::settle()
{
    OLP_GUI_Application* app = m_application.get();
    if (!QTest::qWaitFor([app]() { return app->cameraWindow() && app->cameraWindow()->isVisible(); },
                         olpTimeout(10000))) {
        qWarning("OLP_Test_GuiRig::settle - no camera window");
        return false;
    }
    for (int round = 0; round < 2; ++round) {
        auto quiet = std::make_shared<std::atomic<bool>>(false);
        const std::shared_ptr<OLP_Commu_EmuCamera> camera = m_camera;
        const bool ok = QTest::qWaitFor(
            [&]() {
                if (camera && camera->pendingEvents() != 0) {
                    return false;
                }
                run([quiet](OLP_Logic_Controller* c) {
                    quiet->store(c->usbAccess()->pendingPropertyCodes().isEmpty());
                });
                return drainController() && quiet->load();
            },
            olpTimeout(10000));
        if (!ok) {
            qWarning("OLP_Test_GuiRig::settle - the camera's events do not settle");
            return false;
        }
    }
    return drainController() && app->cameraWindow() != nullptr;
}

int olpExecWithDemoApplication(int argc, char** argv, const std::function<int(OLP_GUI_Application*)>& run)
{
    QTemporaryDir home;
    olpUseTemporaryHome(home.path());
    initApplicationIdentity();
    qInstallMessageHandler(messageHandler);
    OLP_GUI_Settings::instance()->setDemoCamera(true);
    OLP_GUI_Application::TestOverrides overrides;
    overrides.tcpPort = 0;
    OLP_GUI_Application::setTestOverrides(overrides);
    int result = 0;
    {
        OLP_GUI_Application app(argc, argv);
        result = run(&app);
    }
    OLP_GUI_Settings::destroyInstance();
    return result;
}
