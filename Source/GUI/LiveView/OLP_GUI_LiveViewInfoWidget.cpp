#include "OLP_GUI_LiveViewInfoWidget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "OLP_GUI_AudioMeterWidget.h"
#include "OLP_GUI_AudioVolumeWidget.h"
#include "OLP_GUI_MultiStateToolButton.h"

namespace {

constexpr int kButtonSize = 32;

QToolButton* makeButton(QToolButton* button, const char* objectName, bool checkable, QWidget* parent)
{
    button->setParent(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setCheckable(checkable);
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

OLP_GUI_LiveViewInfoWidget::OLP_GUI_LiveViewInfoWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("LiveViewInfoWidget"));
    m_tbnZoom = makeButton(new QToolButton, "tbnZoom", true, this);
    m_tbnGCPip = makeButton(new QToolButton, "tbnGCPip", true, this);
    m_tbnExpSim = new OLP_GUI_MultiStateToolButton;
    makeButton(m_tbnExpSim, "tbnExpSim", true, this);
    m_tbnAFon = makeButton(new QToolButton, "tbnAFon", false, this);
    m_tbnGCSave = makeButton(new QToolButton, "tbnGCSave", false, this);
    m_tbnZoom->setToolTip(tr("Zoom"));
    m_tbnGCPip->setToolTip(tr("Grey card field"));
    m_tbnExpSim->setToolTip(tr("Exposure simulation"));
    m_tbnAFon->setToolTip(tr("Autofocus"));
    m_tbnGCSave->setToolTip(tr("Save the grey card field"));

    m_lblTimeCode = new QLabel(QStringLiteral("00:00:00.00"), this);
    m_lblTimeCode->setObjectName(QStringLiteral("lblTimeCode"));

    m_glyAudioMeter = new QGridLayout;
    m_glyAudioMeter->setObjectName(QStringLiteral("glyAudioMeter"));
    m_glyAudioMeter->setContentsMargins(0, 0, 0, 0);
    m_glyAudioMeter->setHorizontalSpacing(4);
    m_glyAudioMeter->setVerticalSpacing(2);
    m_lblMic = new QLabel(tr("Mic"), this);
    m_lblMic->setObjectName(QStringLiteral("lblMic"));
    m_lblMicSpacer = new QLabel(this);
    m_lblMicSpacer->setObjectName(QStringLiteral("lblMicSpacer"));
    m_lblLR = new QLabel(tr("L\nR"), this);
    m_lblLR->setObjectName(QStringLiteral("lblLR"));
    m_wgtAudioMeterL = new OLP_GUI_AudioMeterWidget(this);
    m_wgtAudioMeterL->setObjectName(QStringLiteral("wgtAudioMeterL"));
    m_wgtAudioMeterR = new OLP_GUI_AudioMeterWidget(this);
    m_wgtAudioMeterR->setObjectName(QStringLiteral("wgtAudioMeterR"));
    m_wgtAudioVolume = new OLP_GUI_AudioVolumeWidget(this);
    m_wgtAudioVolume->setObjectName(QStringLiteral("wgtAudioVolume"));
    m_glyAudioMeter->addWidget(m_lblMic, 0, 0);
    m_glyAudioMeter->addWidget(m_wgtAudioVolume, 0, 1);
    m_glyAudioMeter->addWidget(m_lblLR, 1, 0, 2, 1);
    m_glyAudioMeter->addWidget(m_wgtAudioMeterL, 1, 1);
    m_glyAudioMeter->addWidget(m_wgtAudioMeterR, 2, 1);
    m_glyAudioMeter->addWidget(m_lblMicSpacer, 0, 2, 3, 1);

    QHBoxLayout* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_tbnZoom);
    layout->addWidget(m_tbnGCPip);
    layout->addWidget(m_tbnExpSim);
    layout->addWidget(m_lblTimeCode);
    layout->addLayout(m_glyAudioMeter, 1);
    layout->addStretch(1);
    layout->addWidget(m_tbnGCSave);
    layout->addWidget(m_tbnAFon);

    connect(m_tbnExpSim, &QToolButton::clicked, this, &OLP_GUI_LiveViewInfoWidget::catchExpSimClicked);
    connect(m_tbnGCPip, &QToolButton::clicked, this, &OLP_GUI_LiveViewInfoWidget::signalGCPipIsActive);
    connect(m_tbnGCPip, &QToolButton::clicked, this, &OLP_GUI_LiveViewInfoWidget::catchGCPipIsActive);
    connect(m_tbnZoom, &QToolButton::clicked, this, &OLP_GUI_LiveViewInfoWidget::signalZoomLevelClicked);
    connect(m_tbnZoom, &QToolButton::released, this, &OLP_GUI_LiveViewInfoWidget::catchZoomLevelReleased);
    connect(m_tbnAFon, &QToolButton::pressed, this, &OLP_GUI_LiveViewInfoWidget::signalAFPressed);
    connect(m_tbnAFon, &QToolButton::released, this, &OLP_GUI_LiveViewInfoWidget::signalAFReleased);
    connect(m_tbnGCSave, &QToolButton::clicked, this, &OLP_GUI_LiveViewInfoWidget::signalGCPipSave);
    connect(m_wgtAudioVolume, &OLP_GUI_AudioVolumeWidget::signalVolume, this,
            &OLP_GUI_LiveViewInfoWidget::signalAudioVolume);

    m_tbnGCSave->hide();
    applyLiveViewMode();
}

void OLP_GUI_LiveViewInfoWidget::setAudioVolumeIsManual(bool isManual)
{
    m_wgtAudioVolume->setIsManual(isManual);
}

void OLP_GUI_LiveViewInfoWidget::setAudioVolume(double volume)
{
    m_wgtAudioVolume->setVolume(volume);
}

void OLP_GUI_LiveViewInfoWidget::setExposureSimulationList(const QVector<int>& values)
{
    m_tbnExpSim->setStateValues(values);
}

void OLP_GUI_LiveViewInfoWidget::setExposureSimulation(int value)
{
    m_tbnExpSim->setStateByValue(value);
}

void OLP_GUI_LiveViewInfoWidget::catchExpSimClicked()
{
    emit signalExposureSimulation(m_tbnExpSim->currentValue());
}

void OLP_GUI_LiveViewInfoWidget::setGCPipIsActive(bool active)
{
    m_gcPipActive = active;
    if (active) {
        m_tbnAFon->hide();
    } else {
        m_tbnGCSave->hide();
    }
    const QSignalBlocker blocker(m_tbnGCPip);
    m_tbnGCPip->setChecked(active);
}

void OLP_GUI_LiveViewInfoWidget::catchGCPipIsActive(bool active)
{
    m_gcPipActive = active;
    if (active) {
        m_tbnAFon->hide();
    } else {
        m_tbnGCSave->hide();
    }
}

void OLP_GUI_LiveViewInfoWidget::setGCPipNeedsSave(double, double)
{
    m_tbnGCSave->show();
}

void OLP_GUI_LiveViewInfoWidget::setZoomInfo(int, int, double, double)
{
    // The autofocus button goes while the grey-card field is measured; the
    // zoom info of each frame brings it back afterwards.
    m_tbnAFon->setVisible(!m_gcPipActive && m_liveViewMode != 1);
}

void OLP_GUI_LiveViewInfoWidget::catchZoomLevelReleased()
{
    // The camera's zoom info shows the level; the button only starts a step.
    m_tbnZoom->setChecked(false);
}

void OLP_GUI_LiveViewInfoWidget::setLiveViewMode(int mode)
{
    if (mode == m_liveViewMode) {
        return;
    }
    m_liveViewMode = mode;
    applyLiveViewMode();
}

void OLP_GUI_LiveViewInfoWidget::applyLiveViewMode()
{
    const int m = m_liveViewMode;
    m_tbnZoom->setVisible(m == 2 || m == 3);
    m_tbnGCPip->setVisible(m == 2 || m == 3 || m == 4);
    m_tbnExpSim->setVisible(m == 2);
    m_lblTimeCode->setVisible(m == 1);
    const bool audio = m == 1 || m == 3;
    m_wgtAudioMeterL->setVisible(audio);
    m_wgtAudioMeterR->setVisible(audio);
    m_wgtAudioVolume->setVisible(audio);
    m_lblMic->setVisible(audio);
    m_lblLR->setVisible(audio);
    m_lblMicSpacer->setVisible(false);
    if (m == 1) {
        m_tbnAFon->hide();
        m_tbnGCSave->hide();
    }
}

void OLP_GUI_LiveViewInfoWidget::setAudioLevel(double levelLeft, double levelRight, double peakLeft, double peakRight)
{
    m_wgtAudioMeterL->setAudioLevel(levelLeft, peakLeft);
    m_wgtAudioMeterR->setAudioLevel(levelRight, peakRight);
}

void OLP_GUI_LiveViewInfoWidget::setTimeCode(int hours, int minutes, int seconds, int frames)
{
    m_lblTimeCode->setText(QString::asprintf("%02d:%02d:%02d.%02d", hours, minutes, seconds, frames));
}
