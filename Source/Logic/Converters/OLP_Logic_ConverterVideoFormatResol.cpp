#include "OLP_Logic_ConverterVideoFormatResol.h"

#include <QCoreApplication>

#include "OLP_Commu_ProductIds.h"

OLP_Logic_ConverterVideoFormatResol::OLP_Logic_ConverterVideoFormatResol(quint32 productId, QObject* parent)
    : OLP_Logic_ConverterBase(parent)
{
    init(productId);
}

void OLP_Logic_ConverterVideoFormatResol::init(quint32 productId)
{
    clear();
    if (productId == ProductIdPelvo) {
        add(QCoreApplication::translate("Video Resolution", "MOV 4096x2160p @ 24fps"), 0);
        add(QCoreApplication::translate("Video Resolution", "MP4 4096x2160p @ 24fps"), 1);
        add(QCoreApplication::translate("Video Resolution", "MOV 3840x2160p @ 30fps"), 2);
        add(QCoreApplication::translate("Video Resolution", "MP4 3840x2160p @ 30fps"), 3);
        add(QCoreApplication::translate("Video Resolution", "MOV 3840x2160p @ 25fps"), 4);
        add(QCoreApplication::translate("Video Resolution", "MP4 3840x2160p @ 25fps"), 5);
        add(QCoreApplication::translate("Video Resolution", "MOV 3840x2160p @ 24fps"), 28);
        add(QCoreApplication::translate("Video Resolution", "MP4 3840x2160p @ 24fps"), 29);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 120fps"), 6);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 100fps"), 7);
        add(QCoreApplication::translate("Video Resolution", "MOV 1920x1080p @ 60fps"), 8);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 60fps"), 9);
        add(QCoreApplication::translate("Video Resolution", "MOV 1920x1080p @ 50fps"), 10);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 50fps"), 11);
        add(QCoreApplication::translate("Video Resolution", "MOV 1920x1080p @ 30fps"), 12);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 30fps"), 13);
        add(QCoreApplication::translate("Video Resolution", "MOV 1920x1080p @ 25fps"), 14);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 25fps"), 15);
        add(QCoreApplication::translate("Video Resolution", "MOV 1920x1080p @ 24fps"), 16);
        add(QCoreApplication::translate("Video Resolution", "MP4 1920x1080p @ 24fps"), 17);
        add(QCoreApplication::translate("Video Resolution", "MP4 1280x720p @ 120fps"), 18);
        add(QCoreApplication::translate("Video Resolution", "MP4 1280x720p @ 100fps"), 19);
        add(QCoreApplication::translate("Video Resolution", "MOV 1280x720p @ 60fps"), 20);
        add(QCoreApplication::translate("Video Resolution", "MP4 1280x720p @ 60fps"), 21);
        add(QCoreApplication::translate("Video Resolution", "MOV 1280x720p @ 50fps"), 22);
        add(QCoreApplication::translate("Video Resolution", "MP4 1280x720p @ 50fps"), 23);
        add(QCoreApplication::translate("Video Resolution", "MOV 1280x720p @ 30fps"), 24);
        add(QCoreApplication::translate("Video Resolution", "MP4 1280x720p @ 30fps"), 25);
        add(QCoreApplication::translate("Video Resolution", "MOV 1280x720p @ 25fps"), 26);
        add(QCoreApplication::translate("Video Resolution", "MP4 1280x720p @ 25fps"), 27);
    } else {
        logUnknownProduct("OLP_Logic_ConverterVideoFormatResol::init", productId);
    }
}
