#include "OLP_GUI_FixedAspectGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtMath>
#include <algorithm>
#include <cstdlib>

QRect OLP_GUI_FixedAspectGeometry::adjusted(const QRect& g, const QRect& area, double ratio, double oldRatio,
                                            int extraHeight, int layoutMargins)
{
    if (ratio <= 0.0) {
        return g;
    }
    int width = 0;
    int height = 0;
    if (oldRatio > 0.0 && layoutMargins >= 0) {
        const int pictureWidth = g.width() - layoutMargins;
        const int oldPictureHeight = qRound(pictureWidth / oldRatio);
        const int nonPictureHeight = g.height() - oldPictureHeight;
        width = qRound(pictureWidth * ratio) + layoutMargins;
        height = nonPictureHeight + pictureWidth;
    } else {
        const int pictureHeight = std::max(g.height() - extraHeight, 0);
        width = qRound((pictureHeight * ratio + g.width()) / 2.0);
        height = qRound(extraHeight + std::max(width / ratio, 0.0));
    }
    width = std::min(width, area.width());
    height = std::min(height, area.height());
    const int left = std::max(std::min(g.left(), area.right() - width + 1), area.left());
    const int top = std::max(std::min(g.top(), area.bottom() - height + 1), area.top());
    return QRect(left, top, width, height);
}

QScreen* OLP_GUI_FixedAspectGeometry::screenFor(const QPoint& point, const QWidget* window)
{
    if (QScreen* screen = QGuiApplication::screenAt(point)) {
        return screen;
    }
    if (window && window->screen()) {
        return window->screen();
    }
    return QGuiApplication::primaryScreen();
}

QRect OLP_GUI_FixedAspectGeometry::usableArea(const QRect& g, const QWidget* window)
{
    const QScreen* screen = screenFor(QPoint(g.center().x(), g.top() - TitleBarHeight / 2), window);
    if (!screen) {
        return QRect();
    }
    return screen->availableGeometry().adjusted(0, TitleBarHeight, 0, 0);
}

bool OLP_GUI_FixedAspectGeometry::withinOnePixel(const QRect& a, const QRect& b)
{
    return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1 && std::abs(a.width() - b.width()) <= 1 &&
           std::abs(a.height() - b.height()) <= 1;
}
