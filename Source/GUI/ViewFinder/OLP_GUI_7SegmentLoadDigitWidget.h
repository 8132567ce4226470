#pragma once

#include <QChar>
#include <QWidget>

class QLabel;

// One digit of the transfer counter; a blank shows the unlit (grey) eight.
// GUI thread only; owns its label.
class OLP_GUI_7SegmentLoadDigitWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 9;
    static constexpr int kHeight = 16;

    explicit OLP_GUI_7SegmentLoadDigitWidget(QWidget* parent = nullptr);

    static QString imageOf(QChar character);

public slots:
    void setCharacter(QChar character);

private:
    QLabel* m_label = nullptr;
};
