#pragma once

#include <QStringList>
#include <functional>

#include "OLP_GUI_Application.h"
#include "OLP_GUI_CameraBase.h"

class QAction;
class QMainWindow;
class QTimer;

// The application as the tests run it: the real application object with a
// stand-in camera window (object name "WinCamera", a label with the product
// name) for every recognised product, until the real camera window exists.
class OLP_Test_ShellApp : public OLP_GUI_Application
{
public:
    using OLP_GUI_Application::OLP_GUI_Application;

    // False: no camera window, as the application itself does today.
    bool withCameraWindow = true;
    int cameraWindowsCreated = 0;

protected:
    OLP_GUI_CameraBase* createCameraWindow(quint32 productId) override;
};

// The stand-in camera window.
class OLP_Test_CameraWindow : public OLP_GUI_CameraBase
{
public:
    OLP_Test_CameraWindow(OLP_GUI_Application* application, const OLP_Logic_Controller* controller);
};

// The action reached through the menu bar of window by the menu texts of path
// ("File", "Quit"); null when there is none.
QAction* olpMenuAction(QMainWindow* window, const QStringList& path);
// Clicks through the menu bar and its pop-ups as a user would; false when an
// entry is missing or hidden.
bool olpClickMenu(QMainWindow* window, const QStringList& path);
// The texts of the menus the menu bar shows.
QStringList olpVisibleMenus(QMainWindow* window);
// Closes the window the way its close button does (a spontaneous close event).
void olpCloseByUser(QWidget* window);
// Runs action once a modal widget is up (from inside its exec()). The
// returned watcher deletes itself after the action; delete it to give up.
QTimer* olpWhenModal(const std::function<void(QWidget*)>& action);
// The log file every test run writes to.
QString olpLogFileText();
