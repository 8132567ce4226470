#include "OLP_Logic_ConverterIntervalFrames.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterIntervalFrames::OLP_Logic_ConverterIntervalFrames(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterIntervalFrames::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC ||
        productId == ProductIdKestaE) {
        add(QCoreApplication::translate("Interval Frames", "5 Frames"), 5);
        add(QCoreApplication::translate("Interval Frames", "10 Frames"), 10);
        add(QCoreApplication::translate("Interval Frames", "50 Frames"), 50);
        add(QCoreApplication::translate("Interval Frames", "100 Frames"), 100);
        add(QCoreApplication::translate("Interval Frames", "500 Frames"), 500);
        add(QCoreApplication::translate("Interval Frames", "1000 Frames"), 1000);
        add(QCoreApplication::translate("Interval Frames", "2500 Frames"), 2500);
        add(QCoreApplication::translate("Interval Frames", "5000 Frames"), 5000);
        add(QCoreApplication::translate("Interval Frames", "10000 Frames"), 10000);
    } else if (productId == ProductIdKestaD || productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Interval Frames", "1 Frame"), 1);
        add(QCoreApplication::translate("Interval Frames", "2 Frames"), 2);
        add(QCoreApplication::translate("Interval Frames", "5 Frames"), 5);
        add(QCoreApplication::translate("Interval Frames", "10 Frames"), 10);
        add(QCoreApplication::translate("Interval Frames", "50 Frames"), 50);
        add(QCoreApplication::translate("Interval Frames", "100 Frames"), 100);
        add(QCoreApplication::translate("Interval Frames", "500 Frames"), 500);
        add(QCoreApplication::translate("Interval Frames", "1000 Frames"), 1000);
        add(QCoreApplication::translate("Interval Frames", "2500 Frames"), 2500);
        add(QCoreApplication::translate("Interval Frames", "5000 Frames"), 5000);
        add(QCoreApplication::translate("Interval Frames", "9999 Frames"), 9999);
    } else {
        logUnknownProduct("OLP_Logic_ConverterIntervalFrames::init", productId);
    }
}
