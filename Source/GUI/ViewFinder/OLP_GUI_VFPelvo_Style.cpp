#include "OLP_GUI_VFPelvo_Style.h"

#include <QApplication>
#include <QFont>
#include <QLabel>

#include "OLP_GUI_Application.h"

void OLP_GUI_VFPelvo_Style::applyTextStyle(QLabel* label, int minimumWidth)
{
    label->setFixedHeight(kTextHeight);
    label->setMinimumWidth(minimumWidth);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = label->font();
    // The segment-display font when the application has loaded it.
    if (auto* application = qobject_cast<OLP_GUI_Application*>(QCoreApplication::instance())) {
        if (!application->fontFamily().isEmpty()) {
            font.setFamily(application->fontFamily());
        }
    }
    font.setPixelSize(kTextHeight - 6);
    label->setFont(font);
}
