#include "OLP_GUI_7SegmentExpMeterWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

OLP_GUI_7SegmentExpMeterWidget::OLP_GUI_7SegmentExpMeterWidget(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblImage"));
    m_label->setFixedSize(kWidth, kHeight);
    layout->addWidget(m_label);
    setFixedSize(kWidth, kHeight);
    setValue(-1);
}

QString OLP_GUI_7SegmentExpMeterWidget::imageOf(int value)
{
    switch (value) {
        case 0:
            return QStringLiteral("ExposMetering/ExposMetering_spot.png");
        case 1:
            return QStringLiteral("ExposMetering/ExposMetering_centerWeighted.png");
        case 2:
            return QStringLiteral("ExposMetering/ExposMetering_multiField.png");
        default:
            return QStringLiteral("ExposMetering/ExposMetering_none.png");
    }
}

void OLP_GUI_7SegmentExpMeterWidget::setValue(int value)
{
    OLP_GUI_LabelImage::show(m_label, imageOf(value));
}
