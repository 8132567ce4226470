#include "OLP_Logic_ConverterSensitivity.h"

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterSensitivity::OLP_Logic_ConverterSensitivity(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterSensitivity::addNumbers(std::initializer_list<int> isos)
{
    for (int iso : isos) {
        add(QString::number(iso), iso);
    }
}

void OLP_Logic_ConverterSensitivity::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA) {
        add(QStringLiteral("Auto"), 0);
        add(QStringLiteral("Pull 80"), 80);
        addNumbers({160, 320, 640, 1250});
    } else if (productId == ProductIdKestaB) {
        add(QStringLiteral("Auto"), 0);
        addNumbers({50, 100, 200, 400, 800, 1600});
    } else if (productId == ProductIdKestaC) {
        add(QStringLiteral("Auto"), 0);
        addNumbers({50,  100,  125,  160,  200,  250,  320,  400,  500,  640,
                    800, 1000, 1280, 1600, 2000, 2500, 3200, 4000, 5000, 6400});
    } else if (productId == ProductIdKestaD) {
        add(QStringLiteral("Auto"), 0);
        addNumbers({100, 200, 400, 800, 1600, 3200, 6400, 12500});
    } else if (productId == ProductIdPelvo) {
        add(QStringLiteral("Auto"), 0);
        addNumbers({50, 100, 200, 400, 800, 1600, 3200, 6400, 12500, 25000, 50000});
    } else if (productId == ProductIdKestaE) {
        add(QStringLiteral("Auto"), 0);
        addNumbers({320, 400, 500, 640, 800, 1000, 1280, 1600, 2000, 2500, 3200, 4000, 5000, 6400, 8000, 10000, 12500});
        add(QStringLiteral("PUSH 25000"), 25000);
    } else {
        logUnknownProduct("OLP_Logic_ConverterSensitivity::init", productId);
    }
}
