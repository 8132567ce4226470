#include "OLP_Logic_ConverterWhiteBalTemp.h"

#include "OLP_Commu_ProductIds.h"

namespace {

QString kelvinText(int kelvin)
{
    return QStringLiteral("%1 K").arg(kelvin);
}

// The 63 temperatures from 2000 K to 13100 K: finer steps where the eye notices
// them more.
QVector<int> fullScale()
{
    QVector<int> kelvins;
    for (int k = 2000; k <= 5000; k += 100) {
        kelvins.append(k);
    }
    for (int k = 5200; k <= 8000; k += 200) {
        kelvins.append(k);
    }
    for (int k = 8300; k <= 13100; k += 300) {
        kelvins.append(k);
    }
    return kelvins;
}

}  // namespace

OLP_Logic_ConverterWhiteBalTemp::OLP_Logic_ConverterWhiteBalTemp(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterWhiteBalTemp::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC) {
        for (int kelvin : fullScale()) {
            add(kelvinText(kelvin));
        }
    } else if (productId == ProductIdKestaD) {
        for (int kelvin : fullScale()) {
            add(kelvinText(kelvin), kelvin);
        }
    } else if (productId == ProductIdPelvo) {
        static const int kPelvo[] = {2000, 2200, 2400, 2700, 3000, 3300, 3600, 3900, 4200,  4600,
                                     5000, 5500, 6000, 6600, 7200, 8000, 8700, 9500, 10300, 11500};
        for (int kelvin : kPelvo) {
            add(kelvinText(kelvin), kelvin);
        }
    } else {
        logUnknownProduct("OLP_Logic_ConverterWhiteBalTemp::init", productId);
    }
}
