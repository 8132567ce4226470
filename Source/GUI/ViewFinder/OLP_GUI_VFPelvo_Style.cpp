#include "OLP_GUI_VFPelvo_Style.h"

#include <QFont>
#include <QLabel>

void OLP_GUI_VFPelvo_Style::applyTextStyle(QLabel* label, int minimumWidth)
{
    label->setFixedHeight(kHeight);
    label->setMinimumWidth(minimumWidth);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = label->font();
    font.setPixelSize(kHeight - 6);
    label->setFont(font);
}
