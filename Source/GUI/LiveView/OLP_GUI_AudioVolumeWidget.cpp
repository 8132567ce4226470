#include "OLP_GUI_AudioVolumeWidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kInset = 3;

}  // namespace

OLP_GUI_AudioVolumeWidget::OLP_GUI_AudioVolumeWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(60, 10);
}

void OLP_GUI_AudioVolumeWidget::setIsManual(bool isManual)
{
    if (isManual != m_isManual) {
        m_isManual = isManual;
        update();
    }
}

void OLP_GUI_AudioVolumeWidget::setVolume(double value)
{
    if (!qFuzzyCompare(value + 1.0, m_volume + 1.0)) {
        m_volume = value;
        update();
    }
}

void OLP_GUI_AudioVolumeWidget::mousePressEvent(QMouseEvent* event)
{
    if (m_isManual && event->button() == Qt::LeftButton) {
        setVolumeFromMouse(event->pos().x());
    }
    QWidget::mousePressEvent(event);
}

void OLP_GUI_AudioVolumeWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_isManual && (event->buttons() & Qt::LeftButton)) {
        setVolumeFromMouse(event->pos().x());
    }
    QWidget::mouseMoveEvent(event);
}

void OLP_GUI_AudioVolumeWidget::setVolumeFromMouse(int x)
{
    const int span = contentsRect().width() - 2 * kInset;
    if (span <= 0) {
        return;
    }
    m_volume = qBound(0.0, double(x - contentsRect().left() - kInset) / span, 1.0);
    update();
    emit signalVolume(m_volume);
}

void OLP_GUI_AudioVolumeWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = contentsRect();
    painter.fillRect(r, QColor(93, 93, 93));
    const int span = qMax(r.width() - 2 * kInset, 0);
    const int bar = qRound(qBound(0.0, m_volume, 1.0) * span);
    // Grey while the camera sets the level itself: the bar cannot be moved.
    const QColor colour = m_isManual ? QColor(255, 255, 255) : QColor(160, 160, 160);
    painter.fillRect(QRect(r.left() + kInset, r.top() + kInset, bar, qMax(r.height() - 2 * kInset, 1)), colour);
}
