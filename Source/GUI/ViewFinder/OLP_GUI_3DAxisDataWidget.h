#pragma once

#include <QWidget>

class QLabel;

// The level gauge of the viewfinder status line: a horizontal scale for the
// roll and a vertical one for the pitch, each in bands of 0.5, 2.5, 5 and 10
// degrees; beyond 10 degrees the end mark blinks with the rate of the incoming
// angle updates (the gauge has no timer). A roll beyond +-135 degrees (camera
// upside down) or an angle that is not a number keeps the previous drawing.
//
// It takes the two values of the controller's level signal in their order, so
// the level dataset's first angle field is shown as roll. GUI thread only.
class OLP_GUI_3DAxisDataWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kScaleLength = 30;
    static constexpr int kScaleThickness = 8;
    static constexpr int kWidth = kScaleLength + 2 + kScaleThickness;
    static constexpr int kHeight = kScaleLength;

    explicit OLP_GUI_3DAxisDataWidget(QWidget* parent = nullptr);

    // The two images (relative to the image root) for a pair of angles and a
    // blink phase.
    static QString horizontalImageOf(double roll, bool blinkOn);
    static QString verticalImageOf(double pitch, bool rollNearLevel, bool blinkOn);
    static bool isRollNearLevel(double roll);

public slots:
    void set3DAxisAngles(double rollAngle, double pitchAngle);

private:
    QLabel* m_horizontal = nullptr;
    QLabel* m_vertical = nullptr;
    double m_lastRoll = 0.0;
    double m_lastPitch = 0.0;
    bool m_blinkOn = true;
};
