#include "OLP_Logic_ConverterAudioLevel.h"

#include <QCoreApplication>

OLP_Logic_ConverterAudioLevel::OLP_Logic_ConverterAudioLevel(QObject* parent) : OLP_Logic_ConverterBase(parent)
{
    init();
}

void OLP_Logic_ConverterAudioLevel::init()
{
    clear();
    add(QCoreApplication::translate("Audio Level", "Auto"));
    add(QCoreApplication::translate("Audio Level", "Manual"));
}
