#pragma once

#include <QVector>
#include <QWidget>

class QGridLayout;
class QLabel;
class QToolButton;
class OLP_GUI_AudioMeterWidget;
class OLP_GUI_AudioVolumeWidget;
class OLP_GUI_MultiStateToolButton;

// The info bar below the live view picture: the controls that belong to the
// live view mode (zoom, grey-card field and its save button, exposure
// simulation, autofocus) and, while video runs, the time code, the audio
// meters and the microphone volume. It turns the user's clicks into the
// signals below; the application wires them to the controller.
//
// Thread: GUI thread only. Owns its child widgets; created and deleted with
// the live view window.
class OLP_GUI_LiveViewInfoWidget : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_LiveViewInfoWidget(QWidget* parent = nullptr);

    int liveViewMode() const { return m_liveViewMode; }
    bool isGCPipActive() const { return m_gcPipActive; }

signals:
    void signalAFPressed();
    void signalAFReleased();
    void signalAudioVolume(double volume);
    void signalExposureSimulation(int value);
    void signalGCPipIsActive(bool active);
    void signalGCPipSave();
    void signalZoomLevelClicked();

public slots:
    void setAudioVolumeIsManual(bool isManual);
    void setAudioVolume(double volume);
    void setExposureSimulationList(const QVector<int>& values);
    void setExposureSimulation(int value);
    void setGCPipIsActive(bool active);
    void setGCPipNeedsSave(double x, double y);
    void setLiveViewMode(int mode);
    void setAudioLevel(double levelLeft, double levelRight, double peakLeft, double peakRight);
    void setTimeCode(int hours, int minutes, int seconds, int frames);
    void setZoomInfo(int selectedStripe, int zoomLevel, double x, double y);

private slots:
    void catchExpSimClicked();
    void catchGCPipIsActive(bool active);
    void catchZoomLevelReleased();

private:
    void applyLiveViewMode();

    QToolButton* m_tbnZoom = nullptr;
    QToolButton* m_tbnGCPip = nullptr;
    OLP_GUI_MultiStateToolButton* m_tbnExpSim = nullptr;
    QLabel* m_lblTimeCode = nullptr;
    QToolButton* m_tbnAFon = nullptr;
    QToolButton* m_tbnGCSave = nullptr;
    QGridLayout* m_glyAudioMeter = nullptr;
    QLabel* m_lblMic = nullptr;
    QLabel* m_lblMicSpacer = nullptr;
    QLabel* m_lblLR = nullptr;
    OLP_GUI_AudioMeterWidget* m_wgtAudioMeterL = nullptr;
    OLP_GUI_AudioMeterWidget* m_wgtAudioMeterR = nullptr;
    OLP_GUI_AudioVolumeWidget* m_wgtAudioVolume = nullptr;

    int m_liveViewMode = 0;
    bool m_gcPipActive = false;
};
