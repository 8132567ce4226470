#pragma once

#include <QWidget>

class QLabel;

// The exposure compensation sign of the viewfinder status line: lit while a compensation other than 0 is set.
// GUI thread only; owns its label.
class OLP_GUI_7SegmentExpCompensWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 12;
    static constexpr int kHeight = 20;

    explicit OLP_GUI_7SegmentExpCompensWidget(QWidget* parent = nullptr);

    // The image (relative to the image root) for a value.
    static QString imageOf(int value);

public slots:
    void setValue(int value);

private:
    QLabel* m_label = nullptr;
};
