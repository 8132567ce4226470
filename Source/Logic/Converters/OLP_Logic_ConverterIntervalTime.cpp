#include "OLP_Logic_ConverterIntervalTime.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterIntervalTime::OLP_Logic_ConverterIntervalTime(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterIntervalTime::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC ||
        productId == ProductIdKestaE) {
        add(QCoreApplication::translate("Interval Time", "2s"), 2);
        add(QCoreApplication::translate("Interval Time", "3s"), 3);
        add(QCoreApplication::translate("Interval Time", "4s"), 4);
        add(QCoreApplication::translate("Interval Time", "5s"), 5);
        add(QCoreApplication::translate("Interval Time", "1Min"), 60);
        add(QCoreApplication::translate("Interval Time", "1.5Min"), 90);
        add(QCoreApplication::translate("Interval Time", "2Min"), 120);
        add(QCoreApplication::translate("Interval Time", "10Min"), 600);
        add(QCoreApplication::translate("Interval Time", "30Min"), 1800);
        add(QCoreApplication::translate("Interval Time", "1h"), 3600);
    } else if (productId == ProductIdKestaD) {
        add(QCoreApplication::translate("Interval Time", "1s"), 1);
        add(QCoreApplication::translate("Interval Time", "2s"), 2);
        add(QCoreApplication::translate("Interval Time", "3s"), 3);
        add(QCoreApplication::translate("Interval Time", "4s"), 4);
        add(QCoreApplication::translate("Interval Time", "5s"), 5);
        add(QCoreApplication::translate("Interval Time", "1Min"), 60);
        add(QCoreApplication::translate("Interval Time", "1.5Min"), 90);
        add(QCoreApplication::translate("Interval Time", "2Min"), 120);
        add(QCoreApplication::translate("Interval Time", "10Min"), 600);
        add(QCoreApplication::translate("Interval Time", "15Min"), 900);
        add(QCoreApplication::translate("Interval Time", "999s"), 999);
    } else if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Interval Time", "1s"), 1);
        add(QCoreApplication::translate("Interval Time", "2s"), 2);
        add(QCoreApplication::translate("Interval Time", "3s"), 3);
        add(QCoreApplication::translate("Interval Time", "4s"), 4);
        add(QCoreApplication::translate("Interval Time", "5s"), 5);
        add(QCoreApplication::translate("Interval Time", "1Min"), 60);
        add(QCoreApplication::translate("Interval Time", "1.5Min"), 90);
        add(QCoreApplication::translate("Interval Time", "2Min"), 120);
        add(QCoreApplication::translate("Interval Time", "10Min"), 600);
        add(QCoreApplication::translate("Interval Time", "15Min"), 900);
        add(QCoreApplication::translate("Interval Time", "89999s"), 89999);
    } else {
        logUnknownProduct("OLP_Logic_ConverterIntervalTime::init", productId);
    }
}
