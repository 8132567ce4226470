#pragma once

#include <QChar>
#include <QWidget>

class QLabel;

// One seven-segment digit of the viewfinder status line; shows a character as
// the digit image under "7Segment/". GUI thread only; owns its label.
class OLP_GUI_7SegmentDigitWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 11;
    static constexpr int kHeight = 20;

    explicit OLP_GUI_7SegmentDigitWidget(QWidget* parent = nullptr);

    QChar character() const { return m_character; }
    QLabel* label() const { return m_label; }

    // The image (relative to the image root) of a character.
    static QString imageOf(QChar character);

public slots:
    void setCharacter(QChar character);

private:
    QLabel* m_label = nullptr;
    QChar m_character = QLatin1Char(' ');
};
