#include "OLP_Logic_ConverterJpgColorSpace.h"

#include <QCoreApplication>

OLP_Logic_ConverterJpgColorSpace::OLP_Logic_ConverterJpgColorSpace(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterJpgColorSpace::init()
{
    clear();
    add(QCoreApplication::translate("JPG Color Space", "sRGB"));
    add(QCoreApplication::translate("JPG Color Space", "Adobe RGB"));
    add(QCoreApplication::translate("JPG Color Space", "ECI-RGB 2.0"));
}
