#pragma once

#include "OLP_GUI_ViewFinderBase.h"

class OLP_GUI_VFPelvo_ApertureWidget;
class OLP_GUI_VFPelvo_ExpModeWidget;
class OLP_GUI_VFPelvo_LightBalExpCompensWidget;
class OLP_GUI_VFPelvo_SensitivityWidget;
class OLP_GUI_VFPelvo_ShutTimeWidget;

// The viewfinder line of the Pelvo camera: exposure mode and ISO, the
// compensation and light balance scale with the flash symbol, aperture and
// shutter time with their exposure-simulation marks. It has no level gauge,
// metering, flash-X, focus confirmation or self-timer display. GUI thread only;
// owns its widgets.
class OLP_GUI_ViewFinderPelvo : public OLP_GUI_ViewFinderBase
{
    Q_OBJECT
public:
    explicit OLP_GUI_ViewFinderPelvo(QWidget* parent = nullptr);

public slots:
    void setHasAperture(bool hasAperture) override;
    void setAperture(const QString& aperture) override;
    void setBulbCounter(int count) override;
    void setExposCompens(int exposCompens) override;
    void setExposCompensStep(int exposCompensStep) override;
    void setExposureMode(int exposureMode) override;
    void setExposureSimulation(int exposureSimulation) override;
    void setFlashStatus(int flashStatus) override;
    void setLightBalance(int lightBalance) override;
    void setLightBalIsActive(bool isActive) override;
    void setShutterTime(const QString& shutterTime) override;
    void setSensitivity(int sensitivity) override;
    void setSensitivityAuto(bool isAuto) override;

private:
    OLP_GUI_VFPelvo_ExpModeWidget* m_expMode = nullptr;
    OLP_GUI_VFPelvo_SensitivityWidget* m_sensitivity = nullptr;
    OLP_GUI_VFPelvo_LightBalExpCompensWidget* m_lightBalExpCompens = nullptr;
    OLP_GUI_VFPelvo_ApertureWidget* m_aperture = nullptr;
    OLP_GUI_VFPelvo_ShutTimeWidget* m_shutTime = nullptr;
};
