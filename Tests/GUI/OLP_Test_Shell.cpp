#include "OLP_Test_Shell.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "OLP_Debug_Logfile.h"
#include "OLP_Logic_Controller.h"

OLP_GUI_CameraBase* OLP_Test_ShellApp::createCameraWindow(quint32)
{
    if (!withCameraWindow) {
        return nullptr;
    }
    ++cameraWindowsCreated;
    return new OLP_Test_CameraWindow(this, controller());
}

OLP_Test_CameraWindow::OLP_Test_CameraWindow(OLP_GUI_Application* application, const OLP_Logic_Controller* controller)
    : OLP_GUI_CameraBase(application, controller)
{
    QLabel* label = new QLabel(controller ? controller->productName() : QString(), this);
    label->setObjectName(QStringLiteral("lblProductName"));
    setCentralWidget(label);
    resize(360, 200);
}

namespace {

QAction* findAction(const QList<QAction*>& actions, const QString& text)
{
    for (QAction* action : actions) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

QAction* olpMenuAction(QMainWindow* window, const QStringList& path)
{
    if (!window || !window->menuBar() || path.isEmpty()) {
        return nullptr;
    }
    QAction* action = findAction(window->menuBar()->actions(), path.first());
    for (int i = 1; action && i < path.size(); ++i) {
        action = action->menu() ? findAction(action->menu()->actions(), path.at(i)) : nullptr;
    }
    return action;
}

bool olpClickMenu(QMainWindow* window, const QStringList& path)
{
    if (!window || !window->menuBar() || path.isEmpty()) {
        return false;
    }
    QMenuBar* bar = window->menuBar();
    QAction* action = findAction(bar->actions(), path.first());
    if (!action || !action->isVisible() || !action->menu()) {
        return false;
    }
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(action).center());
    QMenu* menu = action->menu();
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) {
        return false;
    }
    for (int i = 1; i < path.size(); ++i) {
        QAction* entry = findAction(menu->actions(), path.at(i));
        if (!entry || !entry->isVisible()) {
            menu->close();
            return false;
        }
        const QPoint centre = menu->actionGeometry(entry).center();
        if (entry->menu()) {
            QTest::mouseMove(menu, centre);
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, centre);
            menu = entry->menu();
            if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) {
                return false;
            }
        } else {
            QTest::mouseMove(menu, centre);
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, centre);
        }
    }
    return true;
}

QStringList olpVisibleMenus(QMainWindow* window)
{
    QStringList texts;
    if (window && window->menuBar()) {
        const QList<QAction*> actions = window->menuBar()->actions();
        for (const QAction* action : actions) {
            if (action->isVisible()) {
                texts.append(action->text());
            }
        }
    }
    return texts;
}

void olpCloseByUser(QWidget* window)
{
    // A close event sent to the native window reaches the widget as the
    // window system's own (spontaneous) close.
    QCloseEvent event;
    if (window->windowHandle()) {
        QCoreApplication::sendEvent(window->windowHandle(), &event);
    }
}

QTimer* olpWhenModal(const std::function<void(QWidget*)>& action)
{
    QTimer* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
    return timer;
}

QString olpLogFileText()
{
    QFile file(OLP_Debug_Logfile::fileName());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
