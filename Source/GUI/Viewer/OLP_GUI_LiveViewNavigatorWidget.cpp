#include "OLP_GUI_LiveViewNavigatorWidget.h"

#include <QPainter>

OLP_GUI_LiveViewNavigatorWidget::OLP_GUI_LiveViewNavigatorWidget(QWidget* parent) : QWidget(parent)
{
    setFixedSize(96, 64);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OLP_GUI_LiveViewNavigatorWidget::setZoomRect(double x, double y, double width, double height)
{
    m_zoomRect = QRectF(x, y, width, height);
    update();
}

void OLP_GUI_LiveViewNavigatorWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = contentsRect();
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const QRect zoom(frame.left() + qRound(m_zoomRect.x() * frame.width()),
                     frame.top() + qRound(m_zoomRect.y() * frame.height()), qRound(m_zoomRect.width() * frame.width()),
                     qRound(m_zoomRect.height() * frame.height()));
    painter.fillRect(zoom.intersected(frame), QColor(255, 255, 255, 50));
}
