#include "OLP_GUI_7SegmentApertureWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_7SegmentDigitWidget.h"
#include "OLP_GUI_LabelImage.h"

namespace {
constexpr int kPointWidth = 4;
}

OLP_GUI_7SegmentApertureWidget::OLP_GUI_7SegmentApertureWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_digit1 = new OLP_GUI_7SegmentDigitWidget(this);
    m_digit1->setObjectName(QStringLiteral("wgtDigit1"));
    m_point = new QLabel(this);
    m_point->setObjectName(QStringLiteral("lblDot"));
    m_point->setFixedSize(kPointWidth, OLP_GUI_7SegmentDigitWidget::kHeight);
    m_digit2 = new OLP_GUI_7SegmentDigitWidget(this);
    m_digit2->setObjectName(QStringLiteral("wgtDigit2"));
    layout->addWidget(m_digit1);
    layout->addWidget(m_point);
    layout->addWidget(m_digit2);
    setFixedSize(2 * OLP_GUI_7SegmentDigitWidget::kWidth + kPointWidth, OLP_GUI_7SegmentDigitWidget::kHeight);
    OLP_GUI_LabelImage::show(m_point, QStringLiteral("7Segment/Digit_dot_off.png"));
}

OLP_GUI_7SegmentApertureWidget::Display OLP_GUI_7SegmentApertureWidget::displayOf(const QString& text)
{
    QString shown = text;
    shown.remove(QLatin1Char('f'));
    shown.remove(QLatin1Char(' '));
    if (shown.size() == 1) {
        shown += QLatin1String(".0");
    }
    Display display;
    if (shown.contains(QLatin1Char('.'))) {
        shown.remove(QLatin1Char('.'));
        display.point = true;
    }
    display.first = shown.size() > 0 ? shown.at(0) : QLatin1Char(' ');
    display.second = shown.size() > 1 ? shown.at(1) : QLatin1Char(' ');
    return display;
}

void OLP_GUI_7SegmentApertureWidget::setAperture(const QString& text)
{
    const Display display = displayOf(text);
    m_digit1->setCharacter(display.first);
    m_digit2->setCharacter(display.second);
    OLP_GUI_LabelImage::show(m_point, display.point ? QStringLiteral("7Segment/Digit_dot_on.png")
                                                    : QStringLiteral("7Segment/Digit_dot_off.png"));
}
