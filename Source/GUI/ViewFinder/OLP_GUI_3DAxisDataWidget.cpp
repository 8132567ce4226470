#include "OLP_GUI_3DAxisDataWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <cmath>

#include "OLP_GUI_LabelImage.h"

namespace {
constexpr double kUpsideDown = 135.0;

QString horizontal(int band)
{
    return QStringLiteral("3DAxis/3DAxis_Horizontal_%1.png").arg(band);
}

QString vertical(int band)
{
    return QStringLiteral("3DAxis/3DAxis_Vertikal_%1.png").arg(band);
}
}  // namespace

OLP_GUI_3DAxisDataWidget::OLP_GUI_3DAxisDataWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_horizontal = new QLabel(this);
    m_horizontal->setObjectName(QStringLiteral("lblHorizontal"));
    m_horizontal->setFixedSize(kScaleLength, kScaleThickness);
    m_vertical = new QLabel(this);
    m_vertical->setObjectName(QStringLiteral("lblVertical"));
    m_vertical->setFixedSize(kScaleThickness, kScaleLength);
    layout->addWidget(m_horizontal, 0, Qt::AlignVCenter);
    layout->addWidget(m_vertical);
    setFixedSize(kWidth, kHeight);
    // Level until the first angles arrive; that update starts in the blink phase "on".
    OLP_GUI_LabelImage::show(m_horizontal, horizontalImageOf(0.0, true));
    OLP_GUI_LabelImage::show(m_vertical, verticalImageOf(0.0, true, true));
}

bool OLP_GUI_3DAxisDataWidget::isRollNearLevel(double r)
{
    return r >= -5.0 && r <= 5.0;
}

QString OLP_GUI_3DAxisDataWidget::horizontalImageOf(double r, bool blinkOn)
{
    if (r > 10.0) {
        return horizontal(blinkOn ? 1 : 10);
    }
    if (r > 5.0) {
        return horizontal(1);
    }
    if (r > 2.5) {
        return horizontal(2);
    }
    if (r > 0.5) {
        return horizontal(3);
    }
    if (r >= -0.5) {
        return horizontal(4);
    }
    if (r >= -2.5) {
        return horizontal(5);
    }
    if (r >= -5.0) {
        return horizontal(6);
    }
    if (r >= -10.0) {
        return horizontal(7);
    }
    return horizontal(blinkOn ? 7 : 10);
}

QString OLP_GUI_3DAxisDataWidget::verticalImageOf(double p, bool nearLevel, bool blinkOn)
{
    if (p > 10.0) {
        return blinkOn ? vertical(nearLevel ? 8 : 1) : vertical(nearLevel ? 4 : 11);
    }
    if (p > 5.0) {
        return vertical(nearLevel ? 8 : 1);
    }
    if (p > 2.5) {
        return vertical(2);
    }
    if (p > 0.5) {
        return vertical(3);
    }
    if (p >= -0.5) {
        return vertical(4);
    }
    if (p >= -2.5) {
        return vertical(5);
    }
    if (p >= -5.0) {
        return vertical(6);
    }
    if (p >= -10.0) {
        return vertical(nearLevel ? 9 : 7);
    }
    return blinkOn ? vertical(nearLevel ? 9 : 7) : vertical(nearLevel ? 4 : 11);
}

void OLP_GUI_3DAxisDataWidget::set3DAxisAngles(double rollAngle, double pitchAngle)
{
    double roll = rollAngle;
    double pitch = pitchAngle;
    if (!std::isfinite(roll) || !std::isfinite(pitch) || roll < -kUpsideDown || roll > kUpsideDown) {
        roll = m_lastRoll;
        pitch = m_lastPitch;
    }
    OLP_GUI_LabelImage::show(m_horizontal, horizontalImageOf(roll, m_blinkOn));
    OLP_GUI_LabelImage::show(m_vertical, verticalImageOf(pitch, isRollNearLevel(roll), m_blinkOn));
    m_lastRoll = roll;
    m_lastPitch = pitch;
    m_blinkOn = !m_blinkOn;
}
