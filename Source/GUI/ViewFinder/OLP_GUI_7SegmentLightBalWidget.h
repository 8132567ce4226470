#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// The light balance (exposure scale) of the viewfinder status line with the
// flash and flash-X symbols. The balance is in half stops, -6 (-3.0 EV) to +6
// (+3.0 EV); beyond the scale an arrow blinks at its end. Outside manual
// exposure the scale is shown inactive.
//
// GUI thread only; owns its labels and its three blink timers, which run in the
// GUI thread's event loop.
class OLP_GUI_7SegmentLightBalWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kScaleWidth = 84;
    static constexpr int kFlashWidth = 10;
    static constexpr int kFlashXWidth = 13;
    static constexpr int kHeight = 20;
    static constexpr int kArrowBlinkMs = 100;
    static constexpr int kFlashBlinkMs = 250;

    explicit OLP_GUI_7SegmentLightBalWidget(QWidget* parent = nullptr);

    // The scale image (relative to the image root) for an active balance.
    static QString imageOf(int lightBalance);

    int lightBalance() const { return m_lightBalance; }
    bool isActive() const { return m_isActive; }

public slots:
    void setLightBalance(int lightBalance);
    void setIsActive(bool isActive);
    void setHasFlashStatus(bool hasFlashStatus);
    void setFlashStatus(int flashStatus);
    void setFlashXSymbol(bool on);

private slots:
    void catchLeftBlinkTimer();
    void catchRightBlinkTimer();
    void catchFlashBlinkTimer();

private:
    // Draws the scale from the value and the active state, stopping any arrow
    // blink first so that an arrow never blinks over another image.
    void redrawScale();
    void showFlash(bool on);

    QLabel* m_scale = nullptr;
    QLabel* m_flash = nullptr;
    QLabel* m_flashX = nullptr;
    QTimer* m_leftBlinkTimer = nullptr;
    QTimer* m_rightBlinkTimer = nullptr;
    QTimer* m_flashBlinkTimer = nullptr;
    int m_lightBalance = 0;
    bool m_isActive = false;
    // The arrow of a blinking end is shown (else the plain scale).
    bool m_arrowPhase = true;
    bool m_flashPhase = true;
};
