#pragma once

#include <QWidget>

class OLP_GUI_7SegmentLoadDigitWidget;

// The number of pictures still to transfer, on two digits (05, 99 at most);
// nothing to transfer shows two unlit digits. GUI thread only.
class OLP_GUI_7SegmentLoadCounterWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_7SegmentLoadCounterWidget(QWidget* parent = nullptr);

    // The two characters shown for a count (blanks for none).
    static QString digitsOf(int value);

public slots:
    void setValue(int value);

private:
    OLP_GUI_7SegmentLoadDigitWidget* m_tens = nullptr;
    OLP_GUI_7SegmentLoadDigitWidget* m_ones = nullptr;
};
