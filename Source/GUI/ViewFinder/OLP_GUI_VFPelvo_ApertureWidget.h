#pragma once

#include <QWidget>

class QLabel;

// The aperture of the Pelvo viewfinder line: the f-number as text with the
// exposure-simulation mark before it. GUI thread only; owns its labels.
class OLP_GUI_VFPelvo_ApertureWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_VFPelvo_ApertureWidget(QWidget* parent = nullptr);

    // "f 5.6" shows 5.6, "f 8" shows 8.0.
    static QString textOf(const QString& aperture);

public slots:
    void setExpSim(bool on);
    void setAperture(const QString& aperture);

private:
    QLabel* m_expSim = nullptr;
    QLabel* m_aperture = nullptr;
};
