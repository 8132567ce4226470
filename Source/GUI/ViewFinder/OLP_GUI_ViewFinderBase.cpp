#include "OLP_GUI_ViewFinderBase.h"

OLP_GUI_ViewFinderBase::OLP_GUI_ViewFinderBase(QWidget* parent) : QWidget(parent) {}

void OLP_GUI_ViewFinderBase::set3DAxisAngles(double, double) {}
void OLP_GUI_ViewFinderBase::set3DAxisVisible(bool) {}
void OLP_GUI_ViewFinderBase::setHasAperture(bool) {}
void OLP_GUI_ViewFinderBase::setAperture(const QString&) {}
void OLP_GUI_ViewFinderBase::setBulbCounter(int) {}
void OLP_GUI_ViewFinderBase::setExposCompens(int) {}
void OLP_GUI_ViewFinderBase::setExposCompensStep(int) {}
void OLP_GUI_ViewFinderBase::setExposMetering(int) {}
void OLP_GUI_ViewFinderBase::setExposureMode(int) {}
void OLP_GUI_ViewFinderBase::setExposureSimulation(int) {}
void OLP_GUI_ViewFinderBase::setHasFlashStatus(bool) {}
void OLP_GUI_ViewFinderBase::setFlashStatus(int) {}
void OLP_GUI_ViewFinderBase::setFlashXSymbol(bool) {}
void OLP_GUI_ViewFinderBase::setHasFocusConfirmation(bool) {}
void OLP_GUI_ViewFinderBase::setFocusConfirmation(int) {}
void OLP_GUI_ViewFinderBase::setFocusConfirmBadSig(bool) {}
void OLP_GUI_ViewFinderBase::setNoFocusConfirmation() {}
void OLP_GUI_ViewFinderBase::setLightBalance(int) {}
void OLP_GUI_ViewFinderBase::setLightBalIsActive(bool) {}
void OLP_GUI_ViewFinderBase::setSelfTimerCounter(int) {}
void OLP_GUI_ViewFinderBase::setShutterTime(const QString&) {}
void OLP_GUI_ViewFinderBase::setSensitivity(int) {}
void OLP_GUI_ViewFinderBase::setSensitivityAuto(bool) {}
