#pragma once

#include <QPushButton>

// The shutter button of the camera window. It remembers whether it is held;
// when it loses the focus while held (a window popping up, a click elsewhere)
// it lets go and emits released() itself, so that the camera never stays with
// a half-pressed or pressed shutter. GUI thread only.
class OLP_GUI_PushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit OLP_GUI_PushButton(QWidget* parent = nullptr);

    bool isPressed() const { return m_isPressed; }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private slots:
    void catchIsPressed();
    void catchIsReleased();

private:
    bool m_isPressed = false;
};
