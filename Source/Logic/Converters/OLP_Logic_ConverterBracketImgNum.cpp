#include "OLP_Logic_ConverterBracketImgNum.h"

#include <QCoreApplication>

OLP_Logic_ConverterBracketImgNum::OLP_Logic_ConverterBracketImgNum(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterBracketImgNum::init()
{
    clear();
    add(QCoreApplication::translate("Bracketing Image Number", "3 Images"), 3);
    add(QCoreApplication::translate("Bracketing Image Number", "5 Images"), 5);
}
