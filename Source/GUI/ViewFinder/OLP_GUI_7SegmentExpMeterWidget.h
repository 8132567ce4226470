#pragma once

#include <QWidget>

class QLabel;

// The metering symbol of the viewfinder status line: spot, centre-weighted or multi-field; anything else shows the
// empty symbol. GUI thread only; owns its label.
class OLP_GUI_7SegmentExpMeterWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 22;
    static constexpr int kHeight = 20;

    explicit OLP_GUI_7SegmentExpMeterWidget(QWidget* parent = nullptr);

    // The image (relative to the image root) for a value.
    static QString imageOf(int value);

public slots:
    void setValue(int value);

private:
    QLabel* m_label = nullptr;
};
