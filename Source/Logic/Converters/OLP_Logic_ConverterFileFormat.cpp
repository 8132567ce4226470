#include "OLP_Logic_ConverterFileFormat.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterFileFormat::OLP_Logic_ConverterFileFormat(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterFileFormat::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC) {
        add(QCoreApplication::translate("File Format", "DNG"));
        add(QCoreApplication::translate("File Format", "DNG + JPG (fine)"));
        add(QCoreApplication::translate("File Format", "DNG + JPG (basic)"));
        add(QCoreApplication::translate("File Format", "JPG (fine)"));
        add(QCoreApplication::translate("File Format", "JPG (basic)"));
    } else if (productId == ProductIdKestaD || productId == ProductIdPelvo || productId == ProductIdKestaE) {
        add(QCoreApplication::translate("File Format", "DNG"), 0);
        add(QCoreApplication::translate("File Format", "DNG + JPG"), 1);
        add(QCoreApplication::translate("File Format", "JPG"), 3);
    } else {
        logUnknownProduct("OLP_Logic_ConverterFileFormat::init", productId);
    }
}
