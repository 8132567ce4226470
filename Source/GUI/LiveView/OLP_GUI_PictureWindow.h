#pragma once

#include <QDialog>

#include "OLP_GUI_FixedAspectWidgetT.h"
#include "OLP_GUI_SettingsAwareWidgetT.h"

// The live view and quick view windows: a dialog that keeps the picture's
// aspect ratio and saves its geometry when it closes. It shows without taking
// the keyboard focus from the camera window, where the space bar releases the
// shutter. The live view window ignores Escape: the user cannot close it (it
// closes when live view ends), and a dialog closed by Escape would reopen with
// the next frame.
//
// Thread: GUI thread only.
class OLP_GUI_PictureWindow : public OLP_GUI_SettingsAwareWidgetT<OLP_GUI_FixedAspectWidgetT<QDialog>>
{
    Q_OBJECT
public:
    explicit OLP_GUI_PictureWindow(QWidget* parent, bool ignoreEscape);

    bool ignoresEscape() const { return m_ignoreEscape; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_ignoreEscape;
};
