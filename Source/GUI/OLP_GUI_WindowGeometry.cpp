#include "OLP_GUI_WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "OLP_GUI_Settings.h"

void OLP_GUI_WindowGeometry::save(const QWidget* window)
{
    if (!window || window->objectName().isEmpty()) {
        return;
    }
    OLP_GUI_Settings::instance()->setWindowPosition(window->objectName(), window->geometry());
}

bool OLP_GUI_WindowGeometry::restoreOnScreen(QWidget* window)
{
    if (!window || window->objectName().isEmpty()) {
        return false;
    }
    QList<QRect> areas;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        areas.append(screen->availableGeometry());
    }
    const std::optional<QRect> rect = OLP_GUI_Settings::instance()->restoredWindowPosition(window->objectName(), areas);
    if (!rect) {
        return false;
    }
    window->setGeometry(*rect);
    return true;
}

bool OLP_GUI_WindowGeometry::restoreAsStored(QWidget* window)
{
    if (!window || window->objectName().isEmpty()) {
        return false;
    }
    bool ok = false;
    const QRect rect = OLP_GUI_Settings::instance()->windowPosition(window->objectName(), &ok);
    if (!ok) {
        return false;
    }
    // As it was saved, but only where the user can still reach its title bar:
    // after a monitor change the default position is better than none at all.
    QList<QRect> areas;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        areas.append(screen->availableGeometry());
    }
    if (!OLP_GUI_Settings::restoredGeometry(rect, areas)) {
        return false;
    }
    window->setGeometry(rect);
    return true;
}
