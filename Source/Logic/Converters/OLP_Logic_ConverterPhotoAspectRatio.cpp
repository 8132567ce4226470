#include "OLP_Logic_ConverterPhotoAspectRatio.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterPhotoAspectRatio::OLP_Logic_ConverterPhotoAspectRatio(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterPhotoAspectRatio::init(quint32 productId)
{
    clear();
    if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Photo Aspect Ratio", "3:2"), 0);
        add(QCoreApplication::translate("Photo Aspect Ratio", "7:5"), 1);
        add(QCoreApplication::translate("Photo Aspect Ratio", "4:3"), 2);
        add(QCoreApplication::translate("Photo Aspect Ratio", "1:1"), 3);
        add(QCoreApplication::translate("Photo Aspect Ratio", "3:1"), 4);
        add(QCoreApplication::translate("Photo Aspect Ratio", "16:9"), 5);
    } else {
        logUnknownProduct("OLP_Logic_ConverterPhotoAspectRatio::init", productId);
    }
}
