#include "OLP_GUI_VFPelvo_SensitivityWidget.h"

#include <QLabel>
#include <QVBoxLayout>

#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_VFPelvo_Style.h"

OLP_GUI_VFPelvo_SensitivityWidget::OLP_GUI_VFPelvo_SensitivityWidget(QWidget* parent) : QWidget(parent)
{
    // The "AUTO" mark above the number, as in the camera's display.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_isoAuto = new QLabel(this);
    m_isoAuto->setObjectName(QStringLiteral("lblIsoAuto"));
    m_isoAuto->setFixedSize(OLP_GUI_VFPelvo_Style::kAutoWidth, OLP_GUI_VFPelvo_Style::kAutoHeight);
    m_sensitivity = new QLabel(this);
    m_sensitivity->setObjectName(QStringLiteral("lblSensitivity"));
    OLP_GUI_VFPelvo_Style::applyTextStyle(m_sensitivity, 48);
    layout->addWidget(m_isoAuto, 0, Qt::AlignRight);
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
