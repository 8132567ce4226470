#include "OLP_Logic_ConverterJpgResolution.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterJpgResolution::OLP_Logic_ConverterJpgResolution(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterJpgResolution::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaB || productId == ProductIdKestaD) {
        add(QCoreApplication::translate("JPG Resolution", "37.5 MP"), 0);
        add(QCoreApplication::translate("JPG Resolution", "9.3 MP"), 1);
        add(QCoreApplication::translate("JPG Resolution", "2.3 MP"), 2);
    } else if (productId == ProductIdKestaC || productId == ProductIdKestaE) {
        add(QCoreApplication::translate("JPG Resolution", "24 MP"));
        add(QCoreApplication::translate("JPG Resolution", "12 MP"));
        add(QCoreApplication::translate("JPG Resolution", "6 MP"));
        add(QCoreApplication::translate("JPG Resolution", "1.7 MP"));
    } else if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("JPG Resolution", "L-JPG"), 3);
        add(QCoreApplication::translate("JPG Resolution", "M-JPG"), 4);
        add(QCoreApplication::translate("JPG Resolution", "S-JPG"), 5);
    } else {
        logUnknownProduct("OLP_Logic_ConverterJpgResolution::init", productId);
    }
}
