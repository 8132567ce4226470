#include "OLP_Logic_ConverterContrast.h"

#include <QCoreApplication>

OLP_Logic_ConverterContrast::OLP_Logic_ConverterContrast(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterContrast::init()
{
    clear();
    add(QCoreApplication::translate("Contrast", "Low"), 0);
    add(QCoreApplication::translate("Contrast", "Standard"), 1);
    add(QCoreApplication::translate("Contrast", "High"), 2);
}
