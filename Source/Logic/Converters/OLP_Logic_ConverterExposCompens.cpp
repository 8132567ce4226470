#include "OLP_Logic_ConverterExposCompens.h"

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"

OLP_Logic_ConverterExposCompens::OLP_Logic_ConverterExposCompens(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent), productId(productId)
{
    init();
}

void OLP_Logic_ConverterExposCompens::setStepSize(int newStep)
{
    if (newStep != step) {
        step = newStep;
        init();
    }
}

void OLP_Logic_ConverterExposCompens::addHalfStops()
{
    add(QStringLiteral("-3 EV"), -3000);
    add(QStringLiteral("-2.5 EV"), -2500);
    add(QStringLiteral("-2 EV"), -2000);
    add(QStringLiteral("-1.5 EV"), -1500);
    add(QStringLiteral("-1 EV"), -1000);
    add(QStringLiteral("-0.5 EV"), -500);
    add(QStringLiteral("0 EV"), 0);
    add(QStringLiteral("+0.5 EV"), 500);
    add(QStringLiteral("+1 EV"), 1000);
    add(QStringLiteral("+1.5 EV"), 1500);
    add(QStringLiteral("+2 EV"), 2000);
    add(QStringLiteral("+2.5 EV"), 2500);
    add(QStringLiteral("+3 EV"), 3000);
}

void OLP_Logic_ConverterExposCompens::addThirdStops()
{
    add(QStringLiteral("-3 EV"), -3000);
    add(QStringLiteral("-2.7 EV"), -2667);
    add(QStringLiteral("-2.3 EV"), -2333);
    add(QStringLiteral("-2 EV"), -2000);
    add(QStringLiteral("-1.7 EV"), -1667);
    add(QStringLiteral("-1.3 EV"), -1333);
    add(QStringLiteral("-1 EV"), -1000);
    add(QStringLiteral("-0.7 EV"), -667);
    add(QStringLiteral("-0.3 EV"), -333);
    add(QStringLiteral("0 EV"), 0);
    add(QStringLiteral("+0.3 EV"), 333);
    add(QStringLiteral("+0.7 EV"), 667);
    add(QStringLiteral("+1 EV"), 1000);
    add(QStringLiteral("+1.3 EV"), 1333);
    add(QStringLiteral("+1.7 EV"), 1667);
    add(QStringLiteral("+2 EV"), 2000);
    add(QStringLiteral("+2.3 EV"), 2333);
    add(QStringLiteral("+2.7 EV"), 2667);
    add(QStringLiteral("+3 EV"), 3000);
}

void OLP_Logic_ConverterExposCompens::init()
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaD) {
        addHalfStops();
    } else if (productId == ProductIdKestaC || productId == ProductIdKestaE) {
        addThirdStops();
    } else if (productId == ProductIdPelvo) {
        if (step == 333) {
            addThirdStops();
        } else if (step == 500) {
            addHalfStops();
        } else {
            debugPrintf(0, "%s - unknown step size %d", "OLP_Logic_ConverterExposCompens::init", step);
        }
    } else {
        logUnknownProduct("OLP_Logic_ConverterExposCompens::init", productId);
    }
}
