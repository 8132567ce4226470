#include "OLP_Logic_ConverterDngCompression.h"

#include <QCoreApplication>

OLP_Logic_ConverterDngCompression::OLP_Logic_ConverterDngCompression(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterDngCompression::init()
{
    clear();
    add(QCoreApplication::translate("DNG Compressed", "Off"));
    add(QCoreApplication::translate("DNG Compressed", "On"));
}
