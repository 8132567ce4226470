#pragma once

#include <QCloseEvent>
#include <utility>

#include "OLP_GUI_WindowGeometry.h"

// A window of class T whose close event first saves its geometry under its
// object name (the per-product window positions of the GUI settings), then
// runs T's own close handling. Used for the no-camera window and for the live
// view and quick view windows.
//
// GUI thread only, like every widget.
template <typename T>
class OLP_GUI_SettingsAwareWidgetT : public T
{
public:
    template <typename... Args>
    explicit OLP_GUI_SettingsAwareWidgetT(Args&&... args) : T(std::forward<Args>(args)...)
    {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        OLP_GUI_WindowGeometry::save(this);
        T::closeEvent(event);
    }
};
