#include "OLP_Logic_ConverterSensorFormat.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterSensorFormat::OLP_Logic_ConverterSensorFormat(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterSensorFormat::init(quint32 productId)
{
    clear();
    if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Sensor Format", "35 mm"), 0);
        add(QCoreApplication::translate("Sensor Format", "APS-C"), 1);
    } else {
        logUnknownProduct("OLP_Logic_ConverterSensorFormat::init", productId);
    }
}
