#pragma once

#include <QWidget>

class OLP_GUI_7SegmentDigitWidget;

// The shutter time of the viewfinder status line: four seven-segment digits.
// A time is shown right-aligned in the camera's own notation (1/125 as 125,
// 0.5 s as 0"5, 2 s as 2", bulb as "bulb" from the left); a counter text (bulb
// or self-timer count) is shown left-aligned. GUI thread only.
class OLP_GUI_7SegmentShutTimeWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDigits = 4;

    explicit OLP_GUI_7SegmentShutTimeWidget(QWidget* parent = nullptr);

    // The converted text of a shutter time and whether it is shown from the left.
    static QString displayTextOf(const QString& text, bool* leftAligned);
    // The four characters the digits show for a text.
    static QString digitsOf(const QString& displayText, bool leftAligned);
    // What the four digits show now.
    QString shownDigits() const;

public slots:
    void setShutterTime(const QString& text);
    void showCounter(const QString& text);

private:
    void showDigits(const QString& digits);

    OLP_GUI_7SegmentDigitWidget* m_digits[kDigits] = {};
};
