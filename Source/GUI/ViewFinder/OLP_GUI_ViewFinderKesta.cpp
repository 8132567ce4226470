#include "OLP_GUI_ViewFinderKesta.h"

#include <QHBoxLayout>
#include <QTimer>

#include "OLP_GUI_3DAxisDataWidget.h"
#include "OLP_GUI_7SegmentApertureWidget.h"
#include "OLP_GUI_7SegmentExpCompensWidget.h"
#include "OLP_GUI_7SegmentExpMeterWidget.h"
#include "OLP_GUI_7SegmentExpModeWidget.h"
#include "OLP_GUI_7SegmentFocusConfirmWidget.h"
#include "OLP_GUI_7SegmentLightBalWidget.h"
#include "OLP_GUI_7SegmentShutTimeWidget.h"

OLP_GUI_ViewFinderKesta::OLP_GUI_ViewFinderKesta(QWidget* parent) : OLP_GUI_ViewFinderBase(parent)
{
    setObjectName(QStringLiteral("OLP_GUI_ViewFinderKesta"));
    auto* layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("hlyViewFinder"));
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);

    m_3DAxisData = new OLP_GUI_3DAxisDataWidget(this);
    m_3DAxisData->setObjectName(QStringLiteral("wgt3DAxisData"));
    m_shutTime = new OLP_GUI_7SegmentShutTimeWidget(this);
    m_shutTime->setObjectName(QStringLiteral("wgt7SegShutTime"));
    m_expMode = new OLP_GUI_7SegmentExpModeWidget(this);
    m_expMode->setObjectName(QStringLiteral("wgt7SegExpMode"));
    m_aperture = new OLP_GUI_7SegmentApertureWidget(this);
    m_aperture->setObjectName(QStringLiteral("wgt7SegAperture"));
    m_lightBal = new OLP_GUI_7SegmentLightBalWidget(this);
    m_lightBal->setObjectName(QStringLiteral("wgt7SegLightBal"));
    m_focusConfirm = new OLP_GUI_7SegmentFocusConfirmWidget(this);
    m_focusConfirm->setObjectName(QStringLiteral("wgt7SegFocusConfirm"));
    m_expCompens = new OLP_GUI_7SegmentExpCompensWidget(this);
    m_expCompens->setObjectName(QStringLiteral("wgt7SegExpCompens"));
    m_expMeter = new OLP_GUI_7SegmentExpMeterWidget(this);
    m_expMeter->setObjectName(QStringLiteral("wgt7SegExpMeter"));

    layout->addStretch(1);
    layout->addWidget(m_3DAxisData);
    layout->addWidget(m_shutTime);
    layout->addWidget(m_expMode);
    layout->addWidget(m_aperture);
    layout->addWidget(m_lightBal);
    layout->addWidget(m_focusConfirm);
    layout->addWidget(m_expCompens);
    layout->addWidget(m_expMeter);
    layout->addStretch(1);

    m_selfTimerFallback = new QTimer(this);
    m_selfTimerFallback->setObjectName(QStringLiteral("tmrSelfTimerFallback"));
    m_selfTimerFallback->setSingleShot(true);
    m_selfTimerFallback->setInterval(kSelfTimerFallbackMs);
    connect(m_selfTimerFallback, &QTimer::timeout, this, &OLP_GUI_ViewFinderKesta::catchSelfTimerFallback);
}

void OLP_GUI_ViewFinderKesta::set3DAxisAngles(double rollAngle, double pitchAngle)
{
    m_3DAxisData->set3DAxisAngles(rollAngle, pitchAngle);
}

void OLP_GUI_ViewFinderKesta::set3DAxisVisible(bool visible)
{
    m_3DAxisData->setVisible(visible);
}

void OLP_GUI_ViewFinderKesta::setHasAperture(bool hasAperture)
{
    m_aperture->setVisible(hasAperture);
}

void OLP_GUI_ViewFinderKesta::setAperture(const QString& aperture)
{
    m_aperture->setAperture(aperture);
}

void OLP_GUI_ViewFinderKesta::setBulbCounter(int count)
{
    if (count >= 0) {
        m_shutTime->showCounter(QStringLiteral("b%1").arg(count, 3));
    }
}

void OLP_GUI_ViewFinderKesta::setSelfTimerCounter(int count)
{
    m_shutTime->showCounter(QStringLiteral("S%1").arg(count, 3));
    m_shutterTimeShown = count <= 1;
    if (m_shutterTimeShown) {
        m_selfTimerFallback->stop();
    } else {
        m_selfTimerFallback->start();
    }
}

void OLP_GUI_ViewFinderKesta::catchSelfTimerFallback()
{
    m_shutterTimeShown = true;
    m_shutTime->setShutterTime(m_shutterTime);
}

void OLP_GUI_ViewFinderKesta::setShutterTime(const QString& shutterTime)
{
    m_shutterTime = shutterTime;
    if (m_shutterTimeShown) {
        m_shutTime->setShutterTime(shutterTime);
    }
}

void OLP_GUI_ViewFinderKesta::setExposCompens(int exposCompens)
{
    m_expCompens->setValue(exposCompens);
}

void OLP_GUI_ViewFinderKesta::setExposMetering(int exposMetering)
{
    m_expMeter->setValue(exposMetering);
}

void OLP_GUI_ViewFinderKesta::setExposureMode(int exposureMode)
{
    m_lightBal->setIsActive(exposureMode == 0);
    m_expMode->setValue(exposureMode);
}

void OLP_GUI_ViewFinderKesta::setHasFlashStatus(bool hasFlashStatus)
{
    m_lightBal->setHasFlashStatus(hasFlashStatus);
}

void OLP_GUI_ViewFinderKesta::setFlashStatus(int flashStatus)
{
    m_lightBal->setFlashStatus(flashStatus);
}

void OLP_GUI_ViewFinderKesta::setFlashXSymbol(bool on)
{
    m_lightBal->setFlashXSymbol(on);
}

void OLP_GUI_ViewFinderKesta::setLightBalance(int lightBalance)
{
    m_lightBal->setLightBalance(lightBalance);
}

void OLP_GUI_ViewFinderKesta::setLightBalIsActive(bool isActive)
{
    m_lightBal->setIsActive(isActive);
}

void OLP_GUI_ViewFinderKesta::setHasFocusConfirmation(bool hasFocusConfirmation)
{
    m_focusConfirm->setVisible(hasFocusConfirmation);
}

void OLP_GUI_ViewFinderKesta::setFocusConfirmation(int focusConfirmation)
{
    m_focusConfirm->setFocusConfirmation(focusConfirmation);
}

void OLP_GUI_ViewFinderKesta::setFocusConfirmBadSig(bool badSignal)
{
    m_focusConfirm->setBadSignal(badSignal);
}

void OLP_GUI_ViewFinderKesta::setNoFocusConfirmation()
{
    m_focusConfirm->setNone();
}
