#pragma once

#include <QWidget>

class QLabel;

// The shutter time of the Pelvo viewfinder line: the time as text ("125",
// "0.3", "2", "4" for four minutes, "B") followed by its unit mark (seconds or
// minutes, lit with exposure simulation); while a bulb exposure runs, its
// seconds so far. GUI thread only; owns its labels.
class OLP_GUI_VFPelvo_ShutTimeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_VFPelvo_ShutTimeWidget(QWidget* parent = nullptr);

    // The text shown for a shutter time: every "s" and "m" removed.
    static QString textOf(const QString& shutterTime);

public slots:
    void setExpSim(bool on);
    // The seconds of a running bulb exposure; negative when none runs.
    void setBulbModeTime(int seconds);
    void setShutterTime(const QString& shutterTime);

private:
    void redrawText();
    void redrawUnit();

    QLabel* m_text = nullptr;
    QLabel* m_unit = nullptr;
    QString m_shutterTime;
    int m_bulbTime = -1;
    bool m_isBulb = false;
    bool m_isMinutes = false;
    bool m_expSim = false;
};
