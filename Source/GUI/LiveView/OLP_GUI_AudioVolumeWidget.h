#pragma once

#include <QWidget>

// The microphone volume, drawn like the level meter: a bar from x = 3 over
// volume x (width - 6). While the camera's audio level is manual, a left press
// or a drag sets the volume from the mouse position and emits signalVolume();
// while it is automatic the widget ignores the mouse.
//
// Thread: GUI thread only.
class OLP_GUI_AudioVolumeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_AudioVolumeWidget(QWidget* parent = nullptr);

    bool isManual() const { return m_isManual; }
    double volume() const { return m_volume; }

signals:
    void signalVolume(double volume);

public slots:
    void setIsManual(bool isManual);
    void setVolume(double value);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setVolumeFromMouse(int x);

    bool m_isManual = false;
    double m_volume = 1.0;
};
