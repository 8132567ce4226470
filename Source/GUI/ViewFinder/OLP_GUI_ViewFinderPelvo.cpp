#include "OLP_GUI_ViewFinderPelvo.h"

#include <QHBoxLayout>

#include "OLP_GUI_VFPelvo_ApertureWidget.h"
#include "OLP_GUI_VFPelvo_ExpModeWidget.h"
#include "OLP_GUI_VFPelvo_LightBalExpCompensWidget.h"
#include "OLP_GUI_VFPelvo_SensitivityWidget.h"
#include "OLP_GUI_VFPelvo_ShutTimeWidget.h"

OLP_GUI_ViewFinderPelvo::OLP_GUI_ViewFinderPelvo(QWidget* parent) : OLP_GUI_ViewFinderBase(parent)
{
    setObjectName(QStringLiteral("OLP_GUI_ViewFinderPelvo"));
    auto* layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("hlyViewFinder"));
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(6);

    auto* expSens = new QHBoxLayout;
    expSens->setObjectName(QStringLiteral("hlyExpSens"));
    expSens->setSpacing(2);
    m_expMode = new OLP_GUI_VFPelvo_ExpModeWidget(this);
    m_expMode->setObjectName(QStringLiteral("wgtExpMode"));
    m_sensitivity = new OLP_GUI_VFPelvo_SensitivityWidget(this);
    m_sensitivity->setObjectName(QStringLiteral("wgtSensitivity"));
    expSens->addWidget(m_expMode);
    expSens->addWidget(m_sensitivity);

    m_lightBalExpCompens = new OLP_GUI_VFPelvo_LightBalExpCompensWidget(this);
    m_lightBalExpCompens->setObjectName(QStringLiteral("wgtLightBalExpCompens"));

    auto* aperShut = new QHBoxLayout;
    aperShut->setObjectName(QStringLiteral("hlyAperShut"));
    aperShut->setSpacing(2);
    m_aperture = new OLP_GUI_VFPelvo_ApertureWidget(this);
    m_aperture->setObjectName(QStringLiteral("wgtAperture"));
    m_shutTime = new OLP_GUI_VFPelvo_ShutTimeWidget(this);
    m_shutTime->setObjectName(QStringLiteral("wgtShutTime"));
    aperShut->addWidget(m_aperture);
    aperShut->addWidget(m_shutTime);

    layout->addStretch(1);
    layout->addLayout(expSens);
    layout->addWidget(m_lightBalExpCompens);
    layout->addLayout(aperShut);
    layout->addStretch(1);
}

void OLP_GUI_ViewFinderPelvo::setHasAperture(bool hasAperture)
{
    m_aperture->setVisible(hasAperture);
}

void OLP_GUI_ViewFinderPelvo::setAperture(const QString& aperture)
{
    m_aperture->setAperture(aperture);
}

void OLP_GUI_ViewFinderPelvo::setBulbCounter(int count)
{
    m_shutTime->setBulbModeTime(count);
}

void OLP_GUI_ViewFinderPelvo::setExposCompens(int exposCompens)
{
    m_lightBalExpCompens->setExposCompens(exposCompens);
}

void OLP_GUI_ViewFinderPelvo::setExposCompensStep(int exposCompensStep)
{
    m_lightBalExpCompens->setExposCompensStep(exposCompensStep);
}

void OLP_GUI_ViewFinderPelvo::setExposureMode(int exposureMode)
{
    m_expMode->setExposureMode(exposureMode);
    // The scale means something only in manual exposure; without this a mode
    // changed on the camera would leave the scale as the last click in the
    // capture tab had set it.
    m_lightBalExpCompens->setLightBalIsActive(exposureMode == 0);
}

void OLP_GUI_ViewFinderPelvo::setExposureSimulation(int exposureSimulation)
{
    m_aperture->setExpSim(exposureSimulation != 0);
    m_shutTime->setExpSim(exposureSimulation != 0);
}

void OLP_GUI_ViewFinderPelvo::setFlashStatus(int flashStatus)
{
    const eQxFlashStatus status = flashStatus == kQxFlashCharging ? kQxFlashCharging
                                  : flashStatus == kQxFlashReady  ? kQxFlashReady
                                                                  : kQxFlashOff;
    m_lightBalExpCompens->setFlashStatus(status);
}

void OLP_GUI_ViewFinderPelvo::setLightBalance(int lightBalance)
{
    m_lightBalExpCompens->setLightBalance(lightBalance);
}

void OLP_GUI_ViewFinderPelvo::setLightBalIsActive(bool isActive)
{
    m_lightBalExpCompens->setLightBalIsActive(isActive);
}

void OLP_GUI_ViewFinderPelvo::setShutterTime(const QString& shutterTime)
{
    m_shutTime->setShutterTime(shutterTime);
}

void OLP_GUI_ViewFinderPelvo::setSensitivity(int sensitivity)
{
    m_sensitivity->setSensitivity(sensitivity);
}

void OLP_GUI_ViewFinderPelvo::setSensitivityAuto(bool isAuto)
{
    m_sensitivity->setIsAuto(isAuto);
}
