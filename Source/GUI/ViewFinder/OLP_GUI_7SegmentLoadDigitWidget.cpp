#include "OLP_GUI_7SegmentLoadDigitWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

OLP_GUI_7SegmentLoadDigitWidget::OLP_GUI_7SegmentLoadDigitWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblDigit"));
    m_label->setFixedSize(kWidth, kHeight);
    layout->addWidget(m_label);
    setFixedSize(kWidth, kHeight);
    setCharacter(QLatin1Char(' '));
}

QString OLP_GUI_7SegmentLoadDigitWidget::imageOf(QChar character)
{
    if (character >= QLatin1Char('0') && character <= QLatin1Char('9')) {
        return QStringLiteral("7SegmentLoad/%1.png").arg(character);
    }
    return QStringLiteral("7SegmentLoad/grey_eight.png");
}

void OLP_GUI_7SegmentLoadDigitWidget::setCharacter(QChar character)
{
    OLP_GUI_LabelImage::show(m_label, imageOf(character));
}
