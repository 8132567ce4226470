#include "OLP_Logic_ConverterSaturation.h"

#include <QCoreApplication>

OLP_Logic_ConverterSaturation::OLP_Logic_ConverterSaturation(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterSaturation::init()
{
    clear();
    add(QCoreApplication::translate("Saturation", "Low"), 0);
    add(QCoreApplication::translate("Saturation", "Standard"), 1);
    add(QCoreApplication::translate("Saturation", "High"), 2);
}
