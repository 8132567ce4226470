#include "OLP_Logic_ConverterVideoFileFormat.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterVideoFileFormat::OLP_Logic_ConverterVideoFileFormat(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterVideoFileFormat::init(quint32 productId)
{
    clear();
    if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Video File Format", "MOV"), 0);
        add(QCoreApplication::translate("Video File Format", "MP4"), 1);
    } else {
        logUnknownProduct("OLP_Logic_ConverterVideoFileFormat::init", productId);
    }
}
