#include "OLP_Logic_ConverterWhiteBalance.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterWhiteBalance::OLP_Logic_ConverterWhiteBalance(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterWhiteBalance::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB) {
        add(QCoreApplication::translate("White Balance", "Auto"), 0);
        add(QCoreApplication::translate("White Balance", "Daylight"), 1);
        add(QCoreApplication::translate("White Balance", "Cloudy"), 2);
        add(QCoreApplication::translate("White Balance", "Shadow"), 3);
        add(QCoreApplication::translate("White Balance", "Tungsten"), 4);
        add(QCoreApplication::translate("White Balance", "HMI"), 10);
        add(QCoreApplication::translate("White Balance", "Fluorescent warm"), 5);
        add(QCoreApplication::translate("White Balance", "Fluorescent cool"), 6);
        add(QCoreApplication::translate("White Balance", "Flash"), 7);
        add(QCoreApplication::translate("White Balance", "Greycard"), 8);
        add(QCoreApplication::translate("White Balance", "Color Temperature"), 9);
    } else if (productId == ProductIdKestaC) {
        add(QCoreApplication::translate("White Balance", "Auto"), 0);
        add(QCoreApplication::translate("White Balance", "Daylight"), 1);
        add(QCoreApplication::translate("White Balance", "Cloudy"), 2);
        add(QCoreApplication::translate("White Balance", "Shadow"), 3);
        add(QCoreApplication::translate("White Balance", "Tungsten"), 4);
        add(QCoreApplication::translate("White Balance", "Fluorescent warm"), 5);
        add(QCoreApplication::translate("White Balance", "Fluorescent cool"), 6);
        add(QCoreApplication::translate("White Balance", "Flash"), 7);
        add(QCoreApplication::translate("White Balance", "Greycard"), 8);
        add(QCoreApplication::translate("White Balance", "Color Temperature"), 9);
    } else if (productId == ProductIdKestaD || productId == ProductIdPelvo) {
        add(QCoreApplication::translate("White Balance", "Auto"), 0);
        add(QCoreApplication::translate("White Balance", "Daylight"), 1);
        add(QCoreApplication::translate("White Balance", "Cloudy"), 2);
        add(QCoreApplication::translate("White Balance", "Shadow"), 3);
        add(QCoreApplication::translate("White Balance", "Tungsten"), 4);
        add(QCoreApplication::translate("White Balance", "HMI"), 5);
        add(QCoreApplication::translate("White Balance", "Fluorescent warm"), 6);
        add(QCoreApplication::translate("White Balance", "Fluorescent cool"), 7);
        add(QCoreApplication::translate("White Balance", "Flash"), 8);
        add(QCoreApplication::translate("White Balance", "Greycard LiveView"), 9);
        add(QCoreApplication::translate("White Balance", "Color Temperature"), 11);
    } else {
        logUnknownProduct("OLP_Logic_ConverterWhiteBalance::init", productId);
    }
}
