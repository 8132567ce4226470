#include "OLP_Logic_ConverterWarning.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterWarning::OLP_Logic_ConverterWarning(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterWarning::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC ||
        productId == ProductIdKestaE) {
        add(QCoreApplication::translate("Warning", ""));
        add(QCoreApplication::translate("Warning", "Undefined Error"));
        add(QCoreApplication::translate("Warning", "Overheating"));
        add(QCoreApplication::translate("Warning", "USB Error"));
        add(QCoreApplication::translate("Warning", "Lens Error"));
        add(QCoreApplication::translate("Warning", "Shutter Error"));
        add(QCoreApplication::translate("Warning", "Card Open Error"));
        add(QCoreApplication::translate("Warning", "Bulb mode and Self timer"));
    } else {
        logUnknownProduct("OLP_Logic_ConverterWarning::init", productId);
    }
}
