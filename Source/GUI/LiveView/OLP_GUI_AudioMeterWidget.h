#pragma once

#include <QWidget>

// One channel of the audio level meter: a bar green up to 80 % of the width,
// red beyond, and a peak marker. Level and peak are 0..1 (values above 1 fill
// the widget).
//
// Thread: GUI thread only.
class OLP_GUI_AudioMeterWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_AudioMeterWidget(QWidget* parent = nullptr);

    double level() const { return m_level; }
    double peak() const { return m_peak; }

    static QColor backgroundColor() { return QColor(93, 93, 93); }

public slots:
    void setAudioLevel(double level, double peak);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_level = 0.0;
    double m_peak = 0.0;
};
