#pragma once

#include <QWidget>

class QLabel;

// The exposure mode of the viewfinder status line: m, T, A or P beside the shutter time; bulb (4) and unknown modes
// show no letter. GUI thread only; owns its label.
class OLP_GUI_7SegmentExpModeWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 13;
    static constexpr int kHeight = 20;

    explicit OLP_GUI_7SegmentExpModeWidget(QWidget* parent = nullptr);

    // The image (relative to the image root) for a value.
    static QString imageOf(int value);

public slots:
    void setValue(int value);

private:
    QLabel* m_label = nullptr;
};
