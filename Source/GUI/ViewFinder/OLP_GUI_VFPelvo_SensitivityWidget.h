#pragma once

#include <QWidget>

class QLabel;

// The ISO of the Pelvo viewfinder line: the "ISO AUTO" mark and the value as
// text. GUI thread only; owns its labels.
class OLP_GUI_VFPelvo_SensitivityWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_VFPelvo_SensitivityWidget(QWidget* parent = nullptr);

public slots:
    void setIsAuto(bool isAuto);
    // A value of 0 or less (not known) keeps the last one shown.
    void setSensitivity(int sensitivity);

private:
    QLabel* m_isoAuto = nullptr;
    QLabel* m_sensitivity = nullptr;
};
