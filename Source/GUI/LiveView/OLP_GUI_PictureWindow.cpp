#include "OLP_GUI_PictureWindow.h"

#include <QKeyEvent>

OLP_GUI_PictureWindow::OLP_GUI_PictureWindow(QWidget* parent, bool ignoreEscape)
    : OLP_GUI_SettingsAwareWidgetT<OLP_GUI_FixedAspectWidgetT<QDialog>>(parent), m_ignoreEscape(ignoreEscape)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void OLP_GUI_PictureWindow::keyPressEvent(QKeyEvent* event)
{
    if (m_ignoreEscape && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    OLP_GUI_SettingsAwareWidgetT<OLP_GUI_FixedAspectWidgetT<QDialog>>::keyPressEvent(event);
}
