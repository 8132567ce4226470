#include "OLP_GUI_VFPelvo_ExpModeWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_VFPelvo_Style.h"

OLP_GUI_VFPelvo_ExpModeWidget::OLP_GUI_VFPelvo_ExpModeWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblExpMode"));
    m_label->setFixedSize(OLP_GUI_VFPelvo_Style::kModeSize, OLP_GUI_VFPelvo_Style::kModeSize);
    layout->addWidget(m_label);
    setFixedSize(OLP_GUI_VFPelvo_Style::kModeSize, OLP_GUI_VFPelvo_Style::kModeSize);
    setExposureMode(-1);
}

QString OLP_GUI_VFPelvo_ExpModeWidget::imageOf(int exposureMode)
{
    switch (exposureMode) {
        case 0:
        case 4:
            return QStringLiteral("ViewFinderPelvo/expMode/VFPelvo_expMode_M.png");
        case 1:
            return QStringLiteral("ViewFinderPelvo/expMode/VFPelvo_expMode_S.png");
        case 2:
            return QStringLiteral("ViewFinderPelvo/expMode/VFPelvo_expMode_A.png");
        case 3:
            return QStringLiteral("ViewFinderPelvo/expMode/VFPelvo_expMode_P.png");
        case 5:
            return QStringLiteral("ViewFinderPelvo/expMode/VFPelvo_expMode_Pstar.png");
        default:
            return QString();
    }
}

void OLP_GUI_VFPelvo_ExpModeWidget::setExposureMode(int exposureMode)
{
    OLP_GUI_LabelImage::show(m_label, imageOf(exposureMode));
}
