#include "OLP_GUI_VFPelvo_ApertureWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_VFPelvo_Style.h"

OLP_GUI_VFPelvo_ApertureWidget::OLP_GUI_VFPelvo_ApertureWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_expSim = new QLabel(this);
    m_expSim->setObjectName(QStringLiteral("lblExpSim"));
    m_expSim->setFixedSize(OLP_GUI_VFPelvo_Style::kMarkWidth, OLP_GUI_VFPelvo_Style::kMarkHeight);
    m_aperture = new QLabel(this);
    m_aperture->setObjectName(QStringLiteral("lblAperture"));
    OLP_GUI_VFPelvo_Style::applyTextStyle(m_aperture, 34);
    layout->addWidget(m_expSim, 0, Qt::AlignTop);
    layout->addWidget(m_aperture);
    setExpSim(false);
}

QString OLP_GUI_VFPelvo_ApertureWidget::textOf(const QString& aperture)
{
    QString text = aperture;
    text.remove(QLatin1Char('f'));
    text.remove(QLatin1Char(' '));
    if (text.size() == 1) {
        text += QLatin1String(".0");
    }
    return text;
}

void OLP_GUI_VFPelvo_ApertureWidget::setExpSim(bool on)
{
    OLP_GUI_LabelImage::show(m_expSim, on ? QStringLiteral("ViewFinderPelvo/expSim/VFPelvo_F_expSim_on.png")
                                          : QStringLiteral("ViewFinderPelvo/expSim/VFPelvo_F_expSim_off.png"));
}

void OLP_GUI_VFPelvo_ApertureWidget::setAperture(const QString& aperture)
{
    m_aperture->setText(textOf(aperture));
}
