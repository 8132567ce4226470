#pragma once

#include <QWidget>

class QLabel;
class OLP_GUI_7SegmentDigitWidget;

// The aperture of the viewfinder status line: two seven-segment digits with a
// decimal point between them ("f 5.6" shows 5.6, "f 11" shows 11, "f 8" shows
// 8.0). GUI thread only; owns its digits and labels.
class OLP_GUI_7SegmentApertureWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_7SegmentApertureWidget(QWidget* parent = nullptr);

    // The two characters and the point shown for an aperture text.
    struct Display
    {
        QChar first;
        QChar second;
        bool point = false;
    };
    static Display displayOf(const QString& text);

public slots:
    void setAperture(const QString& text);

private:
    OLP_GUI_7SegmentDigitWidget* m_digit1 = nullptr;
    OLP_GUI_7SegmentDigitWidget* m_digit2 = nullptr;
    QLabel* m_point = nullptr;
};
