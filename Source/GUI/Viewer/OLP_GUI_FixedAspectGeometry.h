#pragma once

#include <QPoint>
#include <QRect>

class QScreen;
class QWidget;

// The geometry rules of the windows that keep their picture's aspect ratio
// (OLP_GUI_FixedAspectWidgetT), as plain functions of rectangles and numbers.
class OLP_GUI_FixedAspectGeometry
{
public:
    // Room left for the window's title bar above the client area.
    static constexpr int TitleBarHeight = 44;

    // The geometry a window of geometry g should take on the usable area of its
    // screen (the available area less the title-bar room at its top) for a
    // picture of aspect ratio (width / height) ratio.
    // With oldRatio > 0 and layoutMargins >= 0 (the sum of the layout's left
    // and right margins) the picture turned: the old picture width becomes the
    // new picture height. Otherwise the width becomes the mean of the current
    // width and the width that the picture height (g's height less
    // extraHeight) asks for, and the height follows from it. The result is
    // limited to the area's size and moved into it.
    static QRect adjusted(const QRect& g, const QRect& area, double ratio, double oldRatio, int extraHeight,
                          int layoutMargins);

    // The screen holding point, else the window's screen, else the primary
    // screen; null only when the application has no screen at all.
    static QScreen* screenFor(const QPoint& point, const QWidget* window);

    // The usable area for a window of geometry g: the available area of the
    // screen above its title bar, less the title-bar room.
    static QRect usableArea(const QRect& g, const QWidget* window);

    // Whether a and b differ by at most one pixel on every edge and size.
    static bool withinOnePixel(const QRect& a, const QRect& b);
};
