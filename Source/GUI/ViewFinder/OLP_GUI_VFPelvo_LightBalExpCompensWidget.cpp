#include "OLP_GUI_VFPelvo_LightBalExpCompensWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_VFPelvo_Style.h"

namespace {
const QString kFlashOn = QStringLiteral("ViewFinderPelvo/flashStatus/VFPelvo_flashOn.png");
constexpr double kScaleEnd = 3.0;
}  // namespace

OLP_GUI_VFPelvo_LightBalExpCompensWidget::OLP_GUI_VFPelvo_LightBalExpCompensWidget(QWidget* parent) : QWidget(parent)
{
    // The compensation mark runs above the light balance scale.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* scales = new QVBoxLayout;
    scales->setContentsMargins(0, 0, 0, 0);
    scales->setSpacing(2);
    m_exposCompens = new QLabel(this);
    m_exposCompens->setObjectName(QStringLiteral("lblExpComp"));
    m_exposCompens->setFixedSize(OLP_GUI_VFPelvo_Style::kScaleWidth, OLP_GUI_VFPelvo_Style::kExpCompHeight);
    m_lightBalance = new QLabel(this);
    m_lightBalance->setObjectName(QStringLiteral("lblLightBal"));
    m_lightBalance->setFixedSize(OLP_GUI_VFPelvo_Style::kScaleWidth, OLP_GUI_VFPelvo_Style::kLightBalHeight);
    m_flash = new QLabel(this);
    m_flash->setObjectName(QStringLiteral("lblFlash"));
    m_flash->setFixedSize(OLP_GUI_VFPelvo_Style::kFlashWidth, OLP_GUI_VFPelvo_Style::kFlashHeight);
    scales->addWidget(m_exposCompens);
    scales->addWidget(m_lightBalance);
    layout->addLayout(scales);
    layout->addWidget(m_flash, 0, Qt::AlignBottom);

    m_flashBlinkTimer = new QTimer(this);
    m_flashBlinkTimer->setObjectName(QStringLiteral("tmrFlashBlink"));
    m_flashBlinkTimer->setInterval(kFlashBlinkMs);
    connect(m_flashBlinkTimer, &QTimer::timeout, this, &OLP_GUI_VFPelvo_LightBalExpCompensWidget::catchFlashBlinkTimer);

    redrawExposCompens();
    redrawLightBalance();
    setFlashStatus(kQxFlashOff);
}

QString OLP_GUI_VFPelvo_LightBalExpCompensWidget::exposCompensImageOf(int exposCompens, int exposCompensStep)
{
    const QString value =
        (exposCompens > 0 ? QStringLiteral("+") : QString()) + QString::number(exposCompens / 1000.0, 'f', 1);
    return QStringLiteral("ViewFinderPelvo/ExpComp/VFPelvo_ExpComp_%1_(%2).png").arg(value).arg(exposCompensStep);
}

QString OLP_GUI_VFPelvo_LightBalExpCompensWidget::lightBalanceImageOf(int lightBalance, int exposCompensStep,
                                                                      bool isActive)
{
    QString text;
    const double stops = exposCompensStep == 333 ? lightBalance / 3.0 : lightBalance / 2.0;
    if (!isActive) {
        text = QStringLiteral("inact");
    } else if (stops > kScaleEnd) {
        text = QStringLiteral("over");
    } else if (stops < -kScaleEnd) {
        text = QStringLiteral("under");
    } else {
        text = (stops > 0.0 ? QStringLiteral("+") : QString()) + QString::number(stops, 'f', 1);
    }
    return QStringLiteral("ViewFinderPelvo/LightBal/VFPelvo_LightBal_%1_(%2).png").arg(text).arg(exposCompensStep);
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::setExposCompens(int exposCompens)
{
    m_exposCompensValue = exposCompens;
    redrawExposCompens();
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::setExposCompensStep(int exposCompensStep)
{
    m_exposCompensStep = exposCompensStep;
    redrawExposCompens();
    redrawLightBalance();
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::setLightBalance(int lightBalance)
{
    m_lightBalanceValue = lightBalance;
    redrawLightBalance();
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::setLightBalIsActive(bool isActive)
{
    m_isActive = isActive;
    redrawLightBalance();
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::setFlashStatus(eQxFlashStatus status)
{
    m_flashBlinkTimer->stop();
    m_flashPhase = true;
    OLP_GUI_LabelImage::show(m_flash, status == kQxFlashCharging || status == kQxFlashReady ? kFlashOn : QString());
    if (status == kQxFlashCharging) {
        m_flashBlinkTimer->start();
    }
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::catchFlashBlinkTimer()
{
    if (!m_flashBlinkTimer->isActive()) {
        return;
    }
    m_flashPhase = !m_flashPhase;
    OLP_GUI_LabelImage::show(m_flash, m_flashPhase ? kFlashOn : QString());
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::redrawExposCompens()
{
    OLP_GUI_LabelImage::show(m_exposCompens, exposCompensImageOf(m_exposCompensValue, m_exposCompensStep));
}

void OLP_GUI_VFPelvo_LightBalExpCompensWidget::redrawLightBalance()
{
    OLP_GUI_LabelImage::show(m_lightBalance, lightBalanceImageOf(m_lightBalanceValue, m_exposCompensStep, m_isActive));
}
