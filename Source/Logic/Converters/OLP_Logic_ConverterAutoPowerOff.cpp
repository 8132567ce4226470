#include "OLP_Logic_ConverterAutoPowerOff.h"

#include <QCoreApplication>

OLP_Logic_ConverterAutoPowerOff::OLP_Logic_ConverterAutoPowerOff(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterAutoPowerOff::init()
{
    clear();
    add(QCoreApplication::translate("Auto Power Saving", "Off"), 0);
    add(QCoreApplication::translate("Auto Power Saving", "2 minutes"), 1);
    add(QCoreApplication::translate("Auto Power Saving", "5 minutes"), 2);
    add(QCoreApplication::translate("Auto Power Saving", "10 minutes"), 3);
}
