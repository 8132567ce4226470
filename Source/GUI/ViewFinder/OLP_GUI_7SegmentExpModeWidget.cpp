#include "OLP_GUI_7SegmentExpModeWidget.h"

#include <QHBoxLayout>
#include <QLabel>

#include "OLP_GUI_LabelImage.h"

OLP_GUI_7SegmentExpModeWidget::OLP_GUI_7SegmentExpModeWidget(QWidget* parent) : QWidget(parent)
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

QString OLP_GUI_7SegmentExpModeWidget::imageOf(int value)
{
    switch (value) {
        case 0:
            return QStringLiteral("7Segment/A-m.png");
        case 1:
            return QStringLiteral("7Segment/A-T.png");
        case 2:
            return QStringLiteral("7Segment/A-A.png");
        case 3:
        case 5:
            return QStringLiteral("7Segment/A-P.png");
        default:
            return QStringLiteral("7Segment/A-null.png");
    }
}

void OLP_GUI_7SegmentExpModeWidget::setValue(int value)
{
    OLP_GUI_LabelImage::show(m_label, imageOf(value));
}
