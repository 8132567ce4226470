#include "OLP_GUI_VFPelvo_ShutTimeWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_VFPelvo_Style.h"

OLP_GUI_VFPelvo_ShutTimeWidget::OLP_GUI_VFPelvo_ShutTimeWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblShutTime"));
    OLP_GUI_VFPelvo_Style::applyTextStyle(m_text, 48);
    m_unit = new QLabel(this);
    m_unit->setObjectName(QStringLiteral("lblUnit"));
    m_unit->setFixedSize(OLP_GUI_VFPelvo_Style::kMarkWidth, OLP_GUI_VFPelvo_Style::kMarkHeight);
    layout->addWidget(m_text);
    layout->addWidget(m_unit, 0, Qt::AlignTop);
    redrawUnit();
}

QString OLP_GUI_VFPelvo_ShutTimeWidget::textOf(const QString& shutterTime)
{
    QString text = shutterTime;
    text.remove(QLatin1Char('s'));
    text.remove(QLatin1Char('m'));
    return text;
}

void OLP_GUI_VFPelvo_ShutTimeWidget::setExpSim(bool on)
{
    m_expSim = on;
    redrawUnit();
}

void OLP_GUI_VFPelvo_ShutTimeWidget::setBulbModeTime(int seconds)
{
    m_bulbTime = seconds;
    redrawText();
    redrawUnit();
}

void OLP_GUI_VFPelvo_ShutTimeWidget::setShutterTime(const QString& shutterTime)
{
    m_shutterTime = shutterTime;
    m_isBulb = shutterTime == QLatin1String("B");
    if (m_bulbTime < 0) {
        redrawText();
    }
    redrawUnit();
}

void OLP_GUI_VFPelvo_ShutTimeWidget::redrawText()
{
    if (m_bulbTime >= 0) {
        m_text->setText(QString::number(m_bulbTime));
        return;
    }
    m_text->setText(textOf(m_shutterTime));
    m_isMinutes = m_shutterTime.endsWith(QLatin1Char('m'));
}

void OLP_GUI_VFPelvo_ShutTimeWidget::redrawUnit()
{
    QString image;
    if (m_bulbTime >= 0) {
        image = QStringLiteral("ViewFinderPelvo/expSim/VFPelvo_S_expSim_off.png");
    } else if (m_isBulb) {
        image = QString();
    } else {
        image = QStringLiteral("ViewFinderPelvo/expSim/VFPelvo_%1_expSim_%2.png")
                    .arg(m_isMinutes ? QStringLiteral("m") : QStringLiteral("S"),
                         m_expSim ? QStringLiteral("on") : QStringLiteral("off"));
    }
    OLP_GUI_LabelImage::show(m_unit, image);
}
