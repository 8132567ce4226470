#pragma once

#include <QMainWindow>

class OLP_GUI_Application;
class OLP_Logic_Controller;

// The window of a connected camera: the application creates one per connected
// camera of a recognised product (OLP_GUI_Application::createCameraWindow) and
// deletes it on close. This base installs the application's menu bar, saves
// the window's geometry when it closes, and tells the application on its way
// out that the user may have closed it while the camera is still connected
// (the application then quits once the controller has let the camera go).
//
// Thread: GUI thread only. Owns its widgets; the application and the
// controller are not owned. The controller pointer is const: from the GUI
// thread only its queries productId(), productName(), liveViewMode() and
// has3DAxisData() may be called; requests go to its slots through signal
// connections, which are queued across the threads.
class OLP_GUI_CameraBase : public QMainWindow
{
    Q_OBJECT
public:
    OLP_GUI_CameraBase(OLP_GUI_Application* application, const OLP_Logic_Controller* controller,
                       QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~OLP_GUI_CameraBase() override;

    // Set at the start of the destructor, while the window still exists as a
    // QObject; windows that outlive it check this before calling into it.
    bool isBeingDestroyed() const { return m_beingDestroyed; }

    OLP_GUI_Application* application() const { return m_application; }
    const OLP_Logic_Controller* controller() const { return m_controller; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    OLP_GUI_Application* m_application;
    const OLP_Logic_Controller* m_controller;
    bool m_beingDestroyed = false;
};
