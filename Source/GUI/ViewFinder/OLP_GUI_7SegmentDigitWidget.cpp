#include "OLP_GUI_7SegmentDigitWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

OLP_GUI_7SegmentDigitWidget::OLP_GUI_7SegmentDigitWidget(QWidget* parent) : QWidget(parent)
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

QString OLP_GUI_7SegmentDigitWidget::imageOf(QChar character)
{
    const char c = character.toLatin1();
    QString name;
    if (c == '"') {
        name = QStringLiteral("Digit_inch.png");
    } else if (c >= '0' && c <= '9') {
        name = QStringLiteral("Digit_%1.png").arg(QLatin1Char(c));
    } else if (c == 'B' || c == 'b') {
        name = QStringLiteral("Digit_b.png");
    } else if (c == 'C' || c == 'c') {
        name = QStringLiteral("Digit_C.png");
    } else if (c == 'H' || c == 'h') {
        name = QStringLiteral("Digit_H.png");
    } else if (c == 'L') {
        name = QStringLiteral("Digit_L_Capital.png");
    } else if (c == 'l') {
        name = QStringLiteral("Digit_l.png");
    } else if (c == 'S' || c == 's') {
        // An S looks like a 5 on seven segments.
        name = QStringLiteral("Digit_5.png");
    } else if (c == 'u') {
        name = QStringLiteral("Digit_u.png");
    } else {
        name = QStringLiteral("Digit_null.png");
    }
    return QStringLiteral("7Segment/") + name;
}

void OLP_GUI_7SegmentDigitWidget::setCharacter(QChar character)
{
    m_character = character;
    OLP_GUI_LabelImage::show(m_label, imageOf(character));
}
