#pragma once

#include <QWidget>

class QLabel;

// The exposure mode of the Pelvo viewfinder line: M (bulb included), S, A, P
// or P*. GUI thread only; owns its label.
class OLP_GUI_VFPelvo_ExpModeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_VFPelvo_ExpModeWidget(QWidget* parent = nullptr);

    // Empty for a mode without a symbol.
    static QString imageOf(int exposureMode);

public slots:
    void setExposureMode(int exposureMode);

private:
    QLabel* m_label = nullptr;
};
