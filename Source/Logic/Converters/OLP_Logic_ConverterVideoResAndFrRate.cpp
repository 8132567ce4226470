#include "OLP_Logic_ConverterVideoResAndFrRate.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterVideoResAndFrRate::OLP_Logic_ConverterVideoResAndFrRate(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterVideoResAndFrRate::init(quint32 productId)
{
    clear();
    if (productId == ProductIdKestaC) {
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 25fps"), 8);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 24fps"), 9);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 25fps"), 15);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 24fps"), 16);
        add(QCoreApplication::translate("Video Resolution", "640x480 @ 30fps"), 17);
        add(QCoreApplication::translate("Video Resolution", "640x480 @ 25fps"), 18);
    } else if (productId == ProductIdKestaD) {
        add(QCoreApplication::translate("Video Resolution", "4096x2160p @ 24fps"), 0);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 30fps"), 7);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 25fps"), 8);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 24fps"), 9);
    } else if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Video Resolution", "4096x2160p @ 24fps"), 0);
        add(QCoreApplication::translate("Video Resolution", "3840x2160p @ 30fps"), 1);
        add(QCoreApplication::translate("Video Resolution", "3840x2160p @ 25fps"), 2);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 120fps"), 3);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 100fps"), 4);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 60fps"), 5);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 50fps"), 6);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 30fps"), 7);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 25fps"), 8);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 24fps"), 9);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 120fps"), 10);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 100fps"), 11);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 60fps"), 12);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 50fps"), 13);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 30fps"), 14);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 25fps"), 15);
    } else if (productId == ProductIdKestaE) {
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 25fps"), 8);
        add(QCoreApplication::translate("Video Resolution", "1920x1080p @ 24fps"), 9);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 25fps"), 15);
        add(QCoreApplication::translate("Video Resolution", "1280x720p @ 24fps"), 16);
    } else {
        logUnknownProduct("OLP_Logic_ConverterVideoResAndFrRate::init", productId);
    }
}
