#include "OLP_Logic_ConverterOrientation.h"

#include <QCoreApplication>

OLP_Logic_ConverterOrientation::OLP_Logic_ConverterOrientation(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterOrientation::init()
{
    clear();
    add(QCoreApplication::translate("Contrast", "Top"), 0);
    add(QCoreApplication::translate("Contrast", "Right"), 90);
    add(QCoreApplication::translate("Contrast", "Bottom"), 180);
    add(QCoreApplication::translate("Contrast", "Left"), -90);
}
