#include "OLP_GUI_7SegmentLoadCounterWidget.h"

#include <QHBoxLayout>

#include "OLP_GUI_7SegmentLoadDigitWidget.h"

OLP_GUI_7SegmentLoadCounterWidget::OLP_GUI_7SegmentLoadCounterWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    m_tens = new OLP_GUI_7SegmentLoadDigitWidget(this);
    m_tens->setObjectName(QStringLiteral("wgtDigit1"));
    m_ones = new OLP_GUI_7SegmentLoadDigitWidget(this);
    m_ones->setObjectName(QStringLiteral("wgtDigit2"));
    layout->addWidget(m_tens);
    layout->addWidget(m_ones);
    setFixedSize(2 * OLP_GUI_7SegmentLoadDigitWidget::kWidth + 1, OLP_GUI_7SegmentLoadDigitWidget::kHeight);
    setValue(0);
}

QString OLP_GUI_7SegmentLoadCounterWidget::digitsOf(int value)
{
    if (value < 1) {
        return QStringLiteral("  ");
    }
    return QStringLiteral("%1").arg(qMin(value, 99), 2, 10, QLatin1Char('0'));
}

void OLP_GUI_7SegmentLoadCounterWidget::setValue(int value)
{
    const QString digits = digitsOf(value);
    m_tens->setCharacter(digits.at(0));
    m_ones->setCharacter(digits.at(1));
}
