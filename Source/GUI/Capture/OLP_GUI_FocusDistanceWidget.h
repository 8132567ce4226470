#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QSlider;
class QTimer;
class QToolButton;

// Manual focus distance of the capture tab: a slider between the lens's
// shortest and longest distance, a field for typing a distance, and buttons for
// one focus step nearer or farther.
//
// The slider maps its position t (0 to 1) to d = t^k × (max − min) + min, so
// that the near range gets most of the travel; k = log2((max / min − 1) / 0.6).
// While dragging at most one distance is sent per 100 ms, and the last one on
// release; the far end sends "Infinity". A typed distance is sent 1 s after the
// last keystroke; a text that is no positive number puts the current distance
// back. Distances are texts in metres or feet as the controller writes them;
// "Error" and "Infinity" are the converter's texts for no and endless distance.
//
// Thread: GUI thread only.
class OLP_GUI_FocusDistanceWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_FocusDistanceWidget(QWidget* parent = nullptr);

    // The slider's curve exponent for the current range.
    double exponent() const { return m_exponent; }

public slots:
    void setCurrDistance(const QString& text);
    void setMaxDistance(const QString& text);
    void setMinDistance(const QString& text);
    void setIsUnitFeet(bool isUnitFeet);

signals:
    void signalChosen(const QString& distance);
    void signalDecrease();
    void signalIncrease();

private slots:
    void catchCurrDistanceSliderPressed();
    void catchCurrDistanceSliderMoved(int value);
    void catchCurrDistanceSliderReleased();
    void catchCurrDistanceValueChanged(int value);
    void catchCurrDistanceTextEdited(const QString& text);
    void catchTimerSliderMovedTimeout();
    void catchTimerTextEditedTimeout();

private:
    void updateExponent();
    // Puts the slider where the current distance is, without reporting it.
    void moveSliderToCurrent();
    void refreshText();
    void emitChosen(double distance);
    bool hasRange() const { return m_maxDistance > m_minDistance; }

    QToolButton* m_tbnCurrDistDec = nullptr;
    QSlider* m_hslCurrDistance = nullptr;
    QToolButton* m_tbnCurrDistInc = nullptr;
    QLabel* m_stxMinDistance = nullptr;
    QLineEdit* m_ledCurrDistance = nullptr;
    QLabel* m_stxUnit = nullptr;
    QLabel* m_stxMaxDistance = nullptr;

    QString m_currDistance;
    double m_maxDistance = 0.0;
    double m_minDistance = 0.0;
    bool m_sliderPressed = false;
    bool m_textEditing = false;
    bool m_isUnitFeet = false;
    double m_exponent = 1.0;
    QTimer* m_sliderTimer = nullptr;
    QTimer* m_textTimer = nullptr;
};
