#include "OLP_Logic_ConverterSharpness.h"

#include <QCoreApplication>

OLP_Logic_ConverterSharpness::OLP_Logic_ConverterSharpness(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterSharpness::init()
{
    clear();
    add(QCoreApplication::translate("Sharpness", "Low"), 0);
    add(QCoreApplication::translate("Sharpness", "Standard"), 1);
    add(QCoreApplication::translate("Sharpness", "High"), 2);
}
