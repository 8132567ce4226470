#pragma once

#include "OLP_GUI_ViewFinderBase.h"

class QTimer;
class OLP_GUI_3DAxisDataWidget;
class OLP_GUI_7SegmentApertureWidget;
class OLP_GUI_7SegmentExpCompensWidget;
class OLP_GUI_7SegmentExpMeterWidget;
class OLP_GUI_7SegmentExpModeWidget;
class OLP_GUI_7SegmentFocusConfirmWidget;
class OLP_GUI_7SegmentLightBalWidget;
class OLP_GUI_7SegmentShutTimeWidget;

// The seven-segment viewfinder line of most cameras: level gauge, shutter time
// (or the bulb and self-timer counters), exposure mode, aperture, light balance
// with the flash symbols, focus confirmation, compensation sign and metering.
// GUI thread only; owns its widgets.
class OLP_GUI_ViewFinderKesta : public OLP_GUI_ViewFinderBase
{
    Q_OBJECT
public:
    // A self-timer count that stops before 1 (the timer cancelled on the
    // camera) gives the display back to the shutter time after this long.
    static constexpr int kSelfTimerFallbackMs = 3000;

    explicit OLP_GUI_ViewFinderKesta(QWidget* parent = nullptr);

    bool isShutterTimeShown() const { return m_shutterTimeShown; }

public slots:
    void set3DAxisAngles(double rollAngle, double pitchAngle) override;
    void set3DAxisVisible(bool visible) override;
    void setHasAperture(bool hasAperture) override;
    void setAperture(const QString& aperture) override;
    void setBulbCounter(int count) override;
    void setExposCompens(int exposCompens) override;
    void setExposMetering(int exposMetering) override;
    void setExposureMode(int exposureMode) override;
    void setHasFlashStatus(bool hasFlashStatus) override;
    void setFlashStatus(int flashStatus) override;
    void setFlashXSymbol(bool on) override;
    void setHasFocusConfirmation(bool hasFocusConfirmation) override;
    void setFocusConfirmation(int focusConfirmation) override;
    void setFocusConfirmBadSig(bool badSignal) override;
    void setNoFocusConfirmation() override;
    void setLightBalance(int lightBalance) override;
    void setLightBalIsActive(bool isActive) override;
    void setSelfTimerCounter(int count) override;
    void setShutterTime(const QString& shutterTime) override;

private slots:
    void catchSelfTimerFallback();

private:
    OLP_GUI_3DAxisDataWidget* m_3DAxisData = nullptr;
    OLP_GUI_7SegmentShutTimeWidget* m_shutTime = nullptr;
    OLP_GUI_7SegmentExpModeWidget* m_expMode = nullptr;
    OLP_GUI_7SegmentApertureWidget* m_aperture = nullptr;
    OLP_GUI_7SegmentLightBalWidget* m_lightBal = nullptr;
    OLP_GUI_7SegmentFocusConfirmWidget* m_focusConfirm = nullptr;
    OLP_GUI_7SegmentExpCompensWidget* m_expCompens = nullptr;
    OLP_GUI_7SegmentExpMeterWidget* m_expMeter = nullptr;
    // False while a self-timer count runs, so that shutter times do not
    // overwrite it.
    bool m_shutterTimeShown = true;
    QString m_shutterTime;
    QTimer* m_selfTimerFallback = nullptr;
};
