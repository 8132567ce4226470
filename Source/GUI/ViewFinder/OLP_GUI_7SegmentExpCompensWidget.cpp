#include "OLP_GUI_7SegmentExpCompensWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

OLP_GUI_7SegmentExpCompensWidget::OLP_GUI_7SegmentExpCompensWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblImage"));
    m_label->setFixedSize(kWidth, kHeight);
    layout->addWidget(m_label);
    setFixedSize(kWidth, kHeight);
    setValue(0);
}

QString OLP_GUI_7SegmentExpCompensWidget::imageOf(int value)
{
    return value != 0 ? QStringLiteral("ExposCompensation/ExposCompensation_on.png")
                      : QStringLiteral("ExposCompensation/ExposCompensation_off.png");
}

void OLP_GUI_7SegmentExpCompensWidget::setValue(int value)
{
    OLP_GUI_LabelImage::show(m_label, imageOf(value));
}
