#include "OLP_Logic_ConverterAutoreviewDuration.h"

#include <QCoreApplication>

OLP_Logic_ConverterAutoreviewDuration::OLP_Logic_ConverterAutoreviewDuration(QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterAutoreviewDuration::init()
{
    clear();
    add(QCoreApplication::translate("Autoreview Duration", "Off"), 0);
    add(QCoreApplication::translate("Autoreview Duration", "1 s"), 1);
    add(QCoreApplication::translate("Autoreview Duration", "3 s"), 3);
    add(QCoreApplication::translate("Autoreview Duration", "5 s"), 5);
    add(QCoreApplication::translate("Autoreview Duration", "Hold"), -1);
}
