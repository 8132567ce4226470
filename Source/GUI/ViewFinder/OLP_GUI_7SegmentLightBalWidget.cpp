#include "OLP_GUI_7SegmentLightBalWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

namespace {
const QString kScalePlain = QStringLiteral("LightBal/LightBal.png");
const QString kScaleLeft = QStringLiteral("LightBal/LightBal-(0.0-Left).png");
const QString kScaleRight = QStringLiteral("LightBal/LightBal-(0.0-Right).png");
const QString kFlashOn = QStringLiteral("LightBal/FlashSymbol_on.png");
const QString kFlashOff = QStringLiteral("LightBal/FlashSymbol_off.png");
}  // namespace

OLP_GUI_7SegmentLightBalWidget::OLP_GUI_7SegmentLightBalWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scale = new QLabel(this);
    m_scale->setObjectName(QStringLiteral("lblLightBal"));
    m_scale->setFixedSize(kScaleWidth, kHeight);
    m_flash = new QLabel(this);
    m_flash->setObjectName(QStringLiteral("lblFlashSymbol"));
    m_flash->setFixedSize(kFlashWidth, kHeight);
    m_flashX = new QLabel(this);
    m_flashX->setObjectName(QStringLiteral("lblFlashXSymbol"));
    m_flashX->setFixedSize(kFlashXWidth, kHeight);
    layout->addWidget(m_scale);
    layout->addWidget(m_flash);
    layout->addWidget(m_flashX);

    m_leftBlinkTimer = new QTimer(this);
    m_leftBlinkTimer->setObjectName(QStringLiteral("tmrLeftBlink"));
    m_leftBlinkTimer->setInterval(kArrowBlinkMs);
    m_rightBlinkTimer = new QTimer(this);
    m_rightBlinkTimer->setObjectName(QStringLiteral("tmrRightBlink"));
    m_rightBlinkTimer->setInterval(kArrowBlinkMs);
    m_flashBlinkTimer = new QTimer(this);
    m_flashBlinkTimer->setObjectName(QStringLiteral("tmrFlashBlink"));
    m_flashBlinkTimer->setInterval(kFlashBlinkMs);
    connect(m_leftBlinkTimer, &QTimer::timeout, this, &OLP_GUI_7SegmentLightBalWidget::catchLeftBlinkTimer);
    connect(m_rightBlinkTimer, &QTimer::timeout, this, &OLP_GUI_7SegmentLightBalWidget::catchRightBlinkTimer);
    connect(m_flashBlinkTimer, &QTimer::timeout, this, &OLP_GUI_7SegmentLightBalWidget::catchFlashBlinkTimer);

    redrawScale();
    showFlash(false);
    setFlashXSymbol(false);
}

QString OLP_GUI_7SegmentLightBalWidget::imageOf(int lightBalance)
{
    if (lightBalance < -6) {
        return kScaleLeft;
    }
    if (lightBalance > 6) {
        return kScaleRight;
    }
    if (lightBalance == 0) {
        return kScalePlain;
    }
    const QString stops = QString::number(lightBalance / 2.0, 'f', 1);
    return QStringLiteral("LightBal/LightBal-(%1%2).png")
        .arg(lightBalance > 0 ? QStringLiteral("+") : QString(), stops);
}

void OLP_GUI_7SegmentLightBalWidget::setLightBalance(int lightBalance)
{
    m_lightBalance = lightBalance;
    redrawScale();
}

void OLP_GUI_7SegmentLightBalWidget::setIsActive(bool isActive)
{
    m_isActive = isActive;
    redrawScale();
}

void OLP_GUI_7SegmentLightBalWidget::redrawScale()
{
    m_leftBlinkTimer->stop();
    m_rightBlinkTimer->stop();
    m_arrowPhase = true;
    if (!m_isActive) {
        OLP_GUI_LabelImage::show(m_scale, QStringLiteral("LightBal/LightBal-inactive.png"));
        return;
    }
    OLP_GUI_LabelImage::show(m_scale, imageOf(m_lightBalance));
    if (m_lightBalance < -6) {
        m_leftBlinkTimer->start();
    } else if (m_lightBalance > 6) {
        m_rightBlinkTimer->start();
    }
}

void OLP_GUI_7SegmentLightBalWidget::catchLeftBlinkTimer()
{
    if (!m_leftBlinkTimer->isActive()) {
        return;  // a tick left over from before the last redraw
    }
    m_arrowPhase = !m_arrowPhase;
    OLP_GUI_LabelImage::show(m_scale, m_arrowPhase ? kScaleLeft : kScalePlain);
}

void OLP_GUI_7SegmentLightBalWidget::catchRightBlinkTimer()
{
    if (!m_rightBlinkTimer->isActive()) {
        return;  // a tick left over from before the last redraw
    }
    m_arrowPhase = !m_arrowPhase;
    OLP_GUI_LabelImage::show(m_scale, m_arrowPhase ? kScaleRight : kScalePlain);
}

void OLP_GUI_7SegmentLightBalWidget::setHasFlashStatus(bool hasFlashStatus)
{
    m_flash->setVisible(hasFlashStatus);
}

void OLP_GUI_7SegmentLightBalWidget::setFlashStatus(int flashStatus)
{
    m_flashBlinkTimer->stop();
    m_flashPhase = true;
    if (flashStatus == 1) {
        showFlash(true);
        m_flashBlinkTimer->start();
    } else {
        showFlash(flashStatus == 2);
    }
}

void OLP_GUI_7SegmentLightBalWidget::catchFlashBlinkTimer()
{
    if (!m_flashBlinkTimer->isActive()) {
        return;
    }
    m_flashPhase = !m_flashPhase;
    showFlash(m_flashPhase);
}

void OLP_GUI_7SegmentLightBalWidget::showFlash(bool on)
{
    OLP_GUI_LabelImage::show(m_flash, on ? kFlashOn : kFlashOff);
}

void OLP_GUI_7SegmentLightBalWidget::setFlashXSymbol(bool on)
{
    OLP_GUI_LabelImage::show(m_flashX, on ? QStringLiteral("LightBal/FlashXSymbol_on.png")
                                          : QStringLiteral("LightBal/FlashXSymbol_off.png"));
}
