#include "OLP_GUI_CameraBase.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "OLP_GUI_Application.h"
#include "OLP_GUI_WindowGeometry.h"

OLP_GUI_CameraBase::OLP_GUI_CameraBase(OLP_GUI_Application* application, const OLP_Logic_Controller* controller,
                                       QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), m_application(application), m_controller(controller)
{
    if (m_application) {
        setMenuBar(m_application->createMenuBar());
    }
}

OLP_GUI_CameraBase::~OLP_GUI_CameraBase()
{
    m_beingDestroyed = true;
    if (m_application) {
        m_application->setWantQuitIfStillConnected();
    }
}

void OLP_GUI_CameraBase::closeEvent(QCloseEvent* event)
{
    OLP_GUI_WindowGeometry::save(this);
    QMainWindow::closeEvent(event);
}
