#include "OLP_Logic_ConverterExposMetering.h"

#include <QCoreApplication>

OLP_Logic_ConverterExposMetering::OLP_Logic_ConverterExposMetering(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterExposMetering::init()
{
    clear();
    add(QCoreApplication::translate("Exposure Metering Mode", "Spot"), 0);
    add(QCoreApplication::translate("Exposure Metering Mode", "Center-weighted"), 1);
    add(QCoreApplication::translate("Exposure Metering Mode", "Multi-field"), 2);
}
