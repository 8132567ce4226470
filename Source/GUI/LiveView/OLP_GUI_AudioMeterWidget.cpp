#include "OLP_GUI_AudioMeterWidget.h"

#include <QPainter>
#include <QtMath>

namespace {

constexpr double kRedFrom = 0.8;
constexpr int kPeakWidth = 2;

}  // namespace

OLP_GUI_AudioMeterWidget::OLP_GUI_AudioMeterWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(60, 6);
}

void OLP_GUI_AudioMeterWidget::setAudioLevel(double level, double peak)
{
    if (qFuzzyCompare(level + 1.0, m_level + 1.0) && qFuzzyCompare(peak + 1.0, m_peak + 1.0)) {
        return;
    }
    m_level = level;
    m_peak = peak;
    update();
}

void OLP_GUI_AudioMeterWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = contentsRect();
    const double w = r.width();
    painter.fillRect(r, backgroundColor());
    const double level = qBound(0.0, m_level, 1.0);
    const int green = qRound(qMin(level, kRedFrom) * w);
    painter.fillRect(QRect(r.left(), r.top(), green, r.height()), Qt::green);
    if (level > kRedFrom) {
        const int red = qRound(level * w) - green;
        painter.fillRect(QRect(r.left() + green, r.top(), red, r.height()), Qt::red);
    }
    const double peak = qBound(0.0, m_peak, 1.0);
    const int peakX = qMin(r.left() + qRound(peak * w), r.right() - kPeakWidth + 1);
    painter.fillRect(QRect(peakX, r.top(), kPeakWidth, r.height()), peak > kRedFrom ? Qt::red : Qt::green);
}
