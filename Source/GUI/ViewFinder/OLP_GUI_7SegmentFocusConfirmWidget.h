#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// The focus confirmation of the viewfinder status line: arrows towards the
// side the focus must move (value -2 or less: right, 2 or more: left), the
// centre mark when in focus; a bad signal blinks the centre mark. GUI thread
// only; owns its label and its blink timer.
class OLP_GUI_7SegmentFocusConfirmWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 32;
    static constexpr int kHeight = 20;
    static constexpr int kBlinkMs = 64;

    explicit OLP_GUI_7SegmentFocusConfirmWidget(QWidget* parent = nullptr);

    static QString imageOf(int value);

public slots:
    void setFocusConfirmation(int value);
    void setBadSignal(bool badSignal);
    void setNone();

private slots:
    void catchBlinkTimer();

private:
    void redraw();

    QLabel* m_label = nullptr;
    QTimer* m_blinkTimer = nullptr;
    int m_value = 0;
    bool m_badSignal = false;
    bool m_none = true;
    bool m_blinkPhase = true;
};
