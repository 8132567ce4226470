#include "OLP_GUI_VFPelvo_SensitivityWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_VFPelvo_Style.h"

OLP_GUI_VFPelvo_SensitivityWidget::OLP_GUI_VFPelvo_SensitivityWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_isoAuto = new QLabel(this);
    m_isoAuto->setObjectName(QStringLiteral("lblIsoAuto"));
    m_isoAuto->setFixedSize(OLP_GUI_VFPelvo_Style::kSymbolWidth, OLP_GUI_VFPelvo_Style::kHeight);
    m_sensitivity = new QLabel(this);
    m_sensitivity->setObjectName(QStringLiteral("lblSensitivity"));
    OLP_GUI_VFPelvo_Style::applyTextStyle(m_sensitivity, 52);
    layout->addWidget(m_isoAuto);
    layout->addWidget(m_sensitivity);
    setIsAuto(false);
}

void OLP_GUI_VFPelvo_SensitivityWidget::setIsAuto(bool isAuto)
{
    OLP_GUI_LabelImage::show(m_isoAuto, isAuto ? QStringLiteral("ViewFinderPelvo/isoAuto/VFPelvo_isoAuto_on.png")
                                               : QStringLiteral("ViewFinderPelvo/isoAuto/VFPelvo_isoAuto_off.png"));
}

void OLP_GUI_VFPelvo_SensitivityWidget::setSensitivity(int sensitivity)
{
    if (sensitivity > 0) {
        m_sensitivity->setText(QString::number(sensitivity));
    }
}
