#include "OLP_Logic_ConverterMonochrome.h"

#include <QCoreApplication>

OLP_Logic_ConverterMonochrome::OLP_Logic_ConverterMonochrome(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterMonochrome::init()
{
    clear();
    add(QCoreApplication::translate("Monochrome", "Off"), 0);
    add(QCoreApplication::translate("Monochrome", "On"), 1);
}
