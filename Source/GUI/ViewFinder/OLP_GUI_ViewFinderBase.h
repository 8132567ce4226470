#pragma once

#include <QString>
#include <QWidget>

// The viewfinder-style status line at the top of the camera window. The camera
// window calls these slots with the camera's values; a layout that has no place
// for a value leaves the slot doing nothing. GUI thread only.
class OLP_GUI_ViewFinderBase : public QWidget
{
    Q_OBJECT
public:
    explicit OLP_GUI_ViewFinderBase(QWidget* parent = nullptr);

public slots:
    virtual void set3DAxisAngles(double rollAngle, double pitchAngle);
    virtual void set3DAxisVisible(bool visible);
    virtual void setHasAperture(bool hasAperture);
    virtual void setAperture(const QString& aperture);
    virtual void setBulbCounter(int count);
    virtual void setExposCompens(int exposCompens);
    virtual void setExposCompensStep(int exposCompensStep);
    virtual void setExposMetering(int exposMetering);
    virtual void setExposureMode(int exposureMode);
    virtual void setExposureSimulation(int exposureSimulation);
    virtual void setHasFlashStatus(bool hasFlashStatus);
    virtual void setFlashStatus(int flashStatus);
    virtual void setFlashXSymbol(bool on);
    virtual void setHasFocusConfirmation(bool hasFocusConfirmation);
    virtual void setFocusConfirmation(int focusConfirmation);
    virtual void setFocusConfirmBadSig(bool badSignal);
    virtual void setNoFocusConfirmation();
    virtual void setLightBalance(int lightBalance);
    virtual void setLightBalIsActive(bool isActive);
    virtual void setSelfTimerCounter(int count);
    virtual void setShutterTime(const QString& shutterTime);
    virtual void setSensitivity(int sensitivity);
    virtual void setSensitivityAuto(bool isAuto);
};
