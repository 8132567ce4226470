#pragma once

#include <QLayout>
#include <QResizeEvent>
#include <QWidget>

#include "OLP_GUI_FixedAspectGeometry.h"

// A window (T is QDialog or another QWidget) that keeps the aspect ratio of
// the picture it shows: dragging an edge lets the other dimension follow, and
// the window stays inside the usable screen area.
//
// The window leaves its geometry alone while maximised or full screen, and
// does not answer the resize event of its own request: when the window system
// grants another size than requested, the window asks at most once more.
//
// Thread: GUI thread.
template <class T>
class OLP_GUI_FixedAspectWidgetT : public T
{
public:
    using T::T;

    int extraHeight() const { return m_extraHeight; }
    double aspectRatio() const { return m_aspectRatio; }

    // Pixels of window height that do not show the picture.
    void setExtraHeight(int extraHeight)
    {
        if (extraHeight == m_extraHeight) {
            return;
        }
        m_extraHeight = extraHeight;
        requestGeometry(0.0);
    }

    // Width / height of the picture; 0 means no constraint. When the picture
    // turns between landscape and portrait its old width becomes its height.
    void setAspectRatio(double ratio)
    {
        if (ratio == m_aspectRatio) {
            return;
        }
        const double old = m_aspectRatio;
        m_aspectRatio = ratio;
        const bool turned = (old < 1.0 && ratio > 1.0) || (old > 1.0 && ratio < 1.0);
        requestGeometry(turned ? old : 0.0);
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        if (m_requested.isValid()) {
            const bool granted = OLP_GUI_FixedAspectGeometry::withinOnePixel(this->geometry(), m_requested);
            const bool askAgain = !granted && !m_askedAgain;
            m_requested = QRect();
            m_askedAgain = askAgain;
            if (askAgain) {
                requestGeometry(0.0);
            }
        } else {
            m_askedAgain = false;
            requestGeometry(0.0);
        }
        T::resizeEvent(event);
    }

private:
    void requestGeometry(double oldRatio)
    {
        if (m_aspectRatio <= 0.0 || (this->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            return;
        }
        const QRect current = this->geometry();
        const QRect area = OLP_GUI_FixedAspectGeometry::usableArea(current, this);
        if (area.isEmpty()) {
            return;
        }
        int margins = -1;
        if (const QLayout* layout = this->layout()) {
            const QMargins m = layout->contentsMargins();
            margins = m.left() + m.right();
        }
        const QRect target =
            OLP_GUI_FixedAspectGeometry::adjusted(current, area, m_aspectRatio, oldRatio, m_extraHeight, margins);
        if (target == current) {
            return;
        }
        m_requested = target;
        this->setGeometry(target);
    }

    int m_extraHeight = 0;
    double m_aspectRatio = 0.0;
    // The geometry asked for last, until its resize event arrives.
    QRect m_requested;
    // The window system answered a request with another size and was asked
    // once more; its next answer is taken as it is.
    bool m_askedAgain = false;
};
