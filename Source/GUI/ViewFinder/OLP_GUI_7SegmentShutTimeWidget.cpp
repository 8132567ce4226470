#include "OLP_GUI_7SegmentShutTimeWidget.h"

#include <QHBoxLayout>

#include "OLP_GUI_7SegmentDigitWidget.h"

OLP_GUI_7SegmentShutTimeWidget::OLP_GUI_7SegmentShutTimeWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int k = 0; k < kDigits; ++k) {
        m_digits[k] = new OLP_GUI_7SegmentDigitWidget(this);
        m_digits[k]->setObjectName(QStringLiteral("wgtDigit%1").arg(k + 1));
        layout->addWidget(m_digits[k]);
    }
    setFixedSize(kDigits * OLP_GUI_7SegmentDigitWidget::kWidth, OLP_GUI_7SegmentDigitWidget::kHeight);
}

QString OLP_GUI_7SegmentShutTimeWidget::displayTextOf(const QString& text, bool* leftAligned)
{
    bool left = false;
    QString shown;
    if (text == QLatin1String("B")) {
        shown = QStringLiteral("bulb");
        left = true;
    } else if (text.startsWith(QLatin1String("0.")) || text.startsWith(QLatin1String("1."))) {
        shown = text.left(1) + QLatin1Char('"') + text.mid(2);
    } else if (text.startsWith(QLatin1String("1/"))) {
        shown = text.mid(2);
    } else {
        shown = text + QLatin1Char('"');
    }
    shown.remove(QLatin1Char('s'));
    shown.remove(QLatin1Char(' '));
    if (leftAligned) {
        *leftAligned = left;
    }
    return shown;
}

QString OLP_GUI_7SegmentShutTimeWidget::digitsOf(const QString& displayText, bool leftAligned)
{
    QString digits(kDigits, QLatin1Char(' '));
    if (leftAligned) {
        for (int k = 0; k < kDigits && k < displayText.size(); ++k) {
            digits[k] = displayText.at(k);
        }
        return digits;
    }
    const int n = qMin(int(displayText.size()), int(kDigits));
    for (int k = 1; k <= kDigits; ++k) {
        const int index = n - (5 - k);
        if (index >= 0) {
            digits[k - 1] = displayText.at(index);
        }
    }
    return digits;
}

QString OLP_GUI_7SegmentShutTimeWidget::shownDigits() const
{
    QString shown;
    for (const OLP_GUI_7SegmentDigitWidget* digit : m_digits) {
        shown += digit->character();
    }
    return shown;
}

void OLP_GUI_7SegmentShutTimeWidget::setShutterTime(const QString& text)
{
    bool left = false;
    const QString shown = displayTextOf(text, &left);
    showDigits(digitsOf(shown, left));
}

void OLP_GUI_7SegmentShutTimeWidget::showCounter(const QString& text)
{
    showDigits(digitsOf(text, true));
}

void OLP_GUI_7SegmentShutTimeWidget::showDigits(const QString& digits)
{
    for (int k = 0; k < kDigits; ++k) {
        m_digits[k]->setCharacter(digits.at(k));
    }
}
