#include "OLP_GUI_7SegmentFocusConfirmWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

namespace {
const QString kNone = QStringLiteral("FocusConfirmation/FocusConfirmation_none.png");
const QString kCenter = QStringLiteral("FocusConfirmation/FocusConfirmation_center.png");
}  // namespace

OLP_GUI_7SegmentFocusConfirmWidget::OLP_GUI_7SegmentFocusConfirmWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblFocusConfirm"));
    m_label->setFixedSize(kWidth, kHeight);
    layout->addWidget(m_label);
    setFixedSize(kWidth, kHeight);

    m_blinkTimer = new QTimer(this);
    m_blinkTimer->setObjectName(QStringLiteral("tmrBlink"));
    m_blinkTimer->setInterval(kBlinkMs);
    connect(m_blinkTimer, &QTimer::timeout, this, &OLP_GUI_7SegmentFocusConfirmWidget::catchBlinkTimer);
    redraw();
}

QString OLP_GUI_7SegmentFocusConfirmWidget::imageOf(int value)
{
    if (value <= -2) {
        return QStringLiteral("FocusConfirmation/FocusConfirmation_right.png");
    }
    if (value == -1) {
        return QStringLiteral("FocusConfirmation/FocusConfirmation_rightCenter.png");
    }
    if (value == 0) {
        return kCenter;
    }
    if (value == 1) {
        return QStringLiteral("FocusConfirmation/FocusConfirmation_leftCenter.png");
    }
    return QStringLiteral("FocusConfirmation/FocusConfirmation_left.png");
}

void OLP_GUI_7SegmentFocusConfirmWidget::setFocusConfirmation(int value)
{
    m_value = value;
    m_none = false;
    redraw();
}

void OLP_GUI_7SegmentFocusConfirmWidget::setBadSignal(bool badSignal)
{
    m_badSignal = badSignal;
    m_blinkPhase = true;
    if (badSignal) {
        m_blinkTimer->start();
    } else {
        m_blinkTimer->stop();
    }
    redraw();
}

void OLP_GUI_7SegmentFocusConfirmWidget::setNone()
{
    m_none = true;
    redraw();
}

void OLP_GUI_7SegmentFocusConfirmWidget::catchBlinkTimer()
{
    if (!m_badSignal) {
        return;
    }
    m_blinkPhase = !m_blinkPhase;
    redraw();
}

void OLP_GUI_7SegmentFocusConfirmWidget::redraw()
{
    if (m_none) {
        OLP_GUI_LabelImage::show(m_label, kNone);
    } else if (m_badSignal) {
        OLP_GUI_LabelImage::show(m_label, m_blinkPhase ? kCenter : kNone);
    } else {
        OLP_GUI_LabelImage::show(m_label, imageOf(m_value));
    }
}
