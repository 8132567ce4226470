#include "OLP_Logic_ConverterDriveMode.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterDriveMode::OLP_Logic_ConverterDriveMode(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterDriveMode::init(quint32 productId)
{
    clear();
    if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Drive Mode", "Single"), 0);
        add(QCoreApplication::translate("Drive Mode", "Continuous S"), 6);
        add(QCoreApplication::translate("Drive Mode", "Continuous M"), 7);
        add(QCoreApplication::translate("Drive Mode", "Continuous F"), 8);
        add(QCoreApplication::translate("Drive Mode", "Self Timer 2s"), 2);
        add(QCoreApplication::translate("Drive Mode", "Self Timer 12s"), 3);
        add(QCoreApplication::translate("Drive Mode", "Interval"), 5);
        add(QCoreApplication::translate("Drive Mode", "Bracketing"), 4);
    } else {
        add(QCoreApplication::translate("Drive Mode", "Single"), 0);
        add(QCoreApplication::translate("Drive Mode", "Continuous"), 1);
        add(QCoreApplication::translate("Drive Mode", "Interval"), 5);
        add(QCoreApplication::translate("Drive Mode", "Self Timer 2s"), 2);
        add(QCoreApplication::translate("Drive Mode", "Self Timer 12s"), 3);
        add(QCoreApplication::translate("Drive Mode", "Bracketing"), 4);
    }
}
