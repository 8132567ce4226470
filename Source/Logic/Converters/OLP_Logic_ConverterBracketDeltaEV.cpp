#include "OLP_Logic_ConverterBracketDeltaEV.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterBracketDeltaEV::OLP_Logic_ConverterBracketDeltaEV(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterBracketDeltaEV::init(quint32 productId)
{
    clear();
    if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Bracketing Delta EV", "1 EV"), 1000);
        add(QCoreApplication::translate("Bracketing Delta EV", "2 EV"), 2000);
        add(QCoreApplication::translate("Bracketing Delta EV", "3 EV"), 3000);
    } else {
        add(QCoreApplication::translate("Bracketing Delta EV", "0.5 EV"), 500);
        add(QCoreApplication::translate("Bracketing Delta EV", "1 EV"), 1000);
        add(QCoreApplication::translate("Bracketing Delta EV", "2 EV"), 2000);
        add(QCoreApplication::translate("Bracketing Delta EV", "3 EV"), 3000);
    }
}
