#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// Flash states the camera reports: 1 charging (the symbol blinks), 2 ready.
enum eQxFlashStatus
{
    kQxFlashOff = 0,
    kQxFlashCharging = 1,
    kQxFlashReady = 2
};

// The middle of the Pelvo viewfinder line: the exposure compensation, the
// light balance scale (in thirds or halves of a stop, as the camera's
// compensation step says) and the flash symbol. GUI thread only; owns its
// labels and the flash blink timer.
class OLP_GUI_VFPelvo_LightBalExpCompensWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kFlashBlinkMs = 250;

    explicit OLP_GUI_VFPelvo_LightBalExpCompensWidget(QWidget* parent = nullptr);

    // Image names (relative to the image root) for a compensation in
    // thousandths of a stop, and for a light balance in steps, with the step.
    static QString exposCompensImageOf(int exposCompens, int exposCompensStep);
    static QString lightBalanceImageOf(int lightBalance, int exposCompensStep, bool isActive);

public slots:
    void setExposCompens(int exposCompens);
    void setExposCompensStep(int exposCompensStep);
    void setLightBalance(int lightBalance);
    void setLightBalIsActive(bool isActive);
    void setFlashStatus(eQxFlashStatus status);

private slots:
    void catchFlashBlinkTimer();

private:
    void redrawExposCompens();
    void redrawLightBalance();

    QLabel* m_exposCompens = nullptr;
    QLabel* m_lightBalance = nullptr;
    QLabel* m_flash = nullptr;
    QTimer* m_flashBlinkTimer = nullptr;
    int m_exposCompensValue = 0;
    // Thousandths of a stop: 333 thirds, anything else halves.
    int m_exposCompensStep = 333;
    int m_lightBalanceValue = 0;
    bool m_isActive = false;
    bool m_flashPhase = true;
};
