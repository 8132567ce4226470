#include "OLP_GUI_PushButton.h"

#include <QFocusEvent>

OLP_GUI_PushButton::OLP_GUI_PushButton(QWidget* parent) : QPushButton(parent)
{
    connect(this, &QPushButton::pressed, this, &OLP_GUI_PushButton::catchIsPressed);
    connect(this, &QPushButton::released, this, &OLP_GUI_PushButton::catchIsReleased);
}

void OLP_GUI_PushButton::focusOutEvent(QFocusEvent* event)
{
    if (m_isPressed) {
        m_isPressed = false;
        // Let go first: a button still down would emit a second released() at
        // the later mouse release.
        setDown(false);
        emit released();
    }
    QPushButton::focusOutEvent(event);
}

void OLP_GUI_PushButton::catchIsPressed()
{
    m_isPressed = true;
}

void OLP_GUI_PushButton::catchIsReleased()
{
    m_isPressed = false;
}
