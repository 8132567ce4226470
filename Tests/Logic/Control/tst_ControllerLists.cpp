#include <QtTest>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Logic_APEXConverterShutterTime.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;

namespace {
// Every time of the half-stop grid of the cameras other than ProductIdPelvo,
// from 1/4000 s up to 60 s, as the list shows them.
const QStringList kHalfStopsTo45 = {"1/4000s", "1/3000s", "1/2000s", "1/1500s", "1/1000s", "1/750s", "1/500s", "1/360s",
                                    "1/250s",  "1/180s",  "1/125s",  "1/90s",   "1/60s",   "1/45s",  "1/30s",  "1/24s",
                                    "1/15s",   "1/12s",   "1/8s",    "1/6s",    "1/4s",    "1/3s",   "1/2s",   "0.7s",
                                    "1s",      "1.5s",    "2s",      "3s",      "4s",      "6s",     "8s",     "12s",
                                    "16s",     "24s",     "32s",     "45s"};

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray data;
    for (int v : values) {
        data.append(char(v));
    }
    return data;
}

// A TIFF prefix of the given byte order with entry at offset 40.
QByteArray exifPrefix(bool bigEndian, const QByteArray& entry, int offset = 40)
{
    QByteArray data(offset, '\0');
    data[0] = bigEndian ? 'M' : 'I';
    data[1] = bigEndian ? 'M' : 'I';
    data.append(entry);
    data.append(QByteArray(64, '\0'));
    return data;
}
}  // namespace

class tst_ControllerLists : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void cleanup()
    {
        OLP_Logic_APEXConverterAperture::setProductId(ProductIdKestaA);
        OLP_Logic_APEXConverterAperture::setStepSize(500);
    }

    // The shutter-time list runs from the fastest time of the product through
    // the converter's grid to the longest time, then "B".
    void shutterTimeList_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<int>("converterStep");
        QTest::addColumn<double>("fastest");
        QTest::addColumn<double>("longest");
        QTest::addColumn<double>("stepEv");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("other product, half stops, 60 s")
            << ProductIdKestaA << 500 << 0.00025 << 60.0 << 0.5 << (kHalfStopsTo45 + QStringList{"60s", "B"});
        // A third-stop step on a half-stop grid lands on an entry twice in a
        // row now and then: each time appears once, none is skipped.
        QTest::newRow("other product, third step on half grid")
            << ProductIdKestaB << 500 << 0.00025 << 60.0 << 1.0 / 3.0 << (kHalfStopsTo45 + QStringList{"60s", "B"});
        QTest::newRow("other product, whole stops")
            << ProductIdKestaC << 500 << 0.00025 << 30.0 << 1.0
            << QStringList{"1/4000s", "1/2000s", "1/1000s", "1/500s", "1/250s", "1/125s", "1/60s",
                           "1/30s",   "1/15s",   "1/8s",    "1/4s",   "1/2s",   "1s",     "2s",
                           "4s",      "8s",      "16s",     "30s",    "B"};
        QTest::newRow("longest time off the grid stands at the end as it is")
            << ProductIdKestaA << 500 << 0.00025 << 5.0 << 0.5
            << QStringList{"1/4000s", "1/3000s", "1/2000s", "1/1500s", "1/1000s", "1/750s", "1/500s", "1/360s",
                           "1/250s",  "1/180s",  "1/125s",  "1/90s",   "1/60s",   "1/45s",  "1/30s",  "1/24s",
                           "1/15s",   "1/12s",   "1/8s",    "1/6s",    "1/4s",    "1/3s",   "1/2s",   "0.7s",
                           "1s",      "1.5s",    "2s",      "3s",      "4s",      "5s",     "B"};
    }
    void shutterTimeList()
    {
        QFETCH(quint32, product);
        QFETCH(int, converterStep);
        QFETCH(double, fastest);
        QFETCH(double, longest);
        QFETCH(double, stepEv);
        QFETCH(QStringList, expected);
        OLP_Logic_APEXConverterShutterTime converter(product);
        converter.setStepSize(converterStep);
        QCOMPARE(Controller::shutterTimeTexts(converter, fastest, longest, stepEv), expected);
    }

    // ProductIdPelvo: 1/16000 s with the electronic shutter is shown as the
    // grid's nearest time, 1/8000 s is the mechanical limit.
    void pelvoShutterTimeList_data()
    {
        QTest::addColumn<int>("converterStep");
        QTest::addColumn<double>("fastest");
        QTest::addColumn<double>("stepEv");
        QTest::addColumn<QStringList>("head");
        QTest::addColumn<QStringList>("tail");

        QTest::newRow("thirds, electronic")
            << 333 << 0.0000625 << 1.0 / 3.0 << QStringList{"1/10000s", "1/8000s", "1/6400s", "1/5000s"}
            << QStringList{"20m", "24m", "30m", "B"};
        QTest::newRow("thirds, mechanical")
            << 333 << 0.000125 << 1.0 / 3.0 << QStringList{"1/8000s", "1/6400s", "1/5000s", "1/4000s"}
            << QStringList{"20m", "24m", "30m", "B"};
        QTest::newRow("halves, electronic")
            << 500 << 0.0000625 << 0.5 << QStringList{"1/12500s", "1/8000s", "1/6000s", "1/4000s"}
            << QStringList{"15m", "22m", "30m", "B"};
        QTest::newRow("halves, mechanical")
            << 500 << 0.000125 << 0.5 << QStringList{"1/8000s", "1/6000s", "1/4000s", "1/3000s"}
            << QStringList{"15m", "22m", "30m", "B"};
    }
    void pelvoShutterTimeList()
    {
        QFETCH(int, converterStep);
        QFETCH(double, fastest);
        QFETCH(double, stepEv);
        QFETCH(QStringList, head);
        QFETCH(QStringList, tail);
        OLP_Logic_APEXConverterShutterTime converter(ProductIdPelvo);
        converter.setStepSize(converterStep);
        QStringList list = Controller::shutterTimeTexts(converter, fastest, 1800.0, stepEv);
        QCOMPARE(list.mid(0, head.size()), head);
        QCOMPARE(list.mid(list.size() - tail.size()), tail);
        QCOMPARE(list.removeDuplicates(), 0);
    }

    // Lists whose grid cannot reach the longest time still end (catches an
    // endless loop and an unbounded list).
    void shutterTimeListEnds_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<int>("converterStep");
        QTest::addColumn<double>("longest");
        QTest::addColumn<double>("stepEv");
        QTest::addColumn<QStringList>("tail");
        QTest::addColumn<int>("size");

        // Unknown step size: the grid is empty and every lookup gives 0 s.
        QTest::newRow("empty grid") << ProductIdPelvo << 250 << 60.0 << 0.5 << QStringList{"", "B"} << 2;
        QTest::newRow("grid stops at 125 s")
            << ProductIdKestaA << 500 << 1800.0 << 0.5 << QStringList{"90s", "125s", "1800s", "B"} << 41;
        QTest::newRow("zero step") << ProductIdKestaA << 500 << 60.0 << 0.0 << QStringList{"1/4000s", "60s", "B"} << 3;
    }
    void shutterTimeListEnds()
    {
        QFETCH(quint32, product);
        QFETCH(int, converterStep);
        QFETCH(double, longest);
        QFETCH(double, stepEv);
        QFETCH(QStringList, tail);
        QFETCH(int, size);
        OLP_Test_LogCapture log;
        OLP_Logic_APEXConverterShutterTime converter(product);
        converter.setStepSize(converterStep);
        const QStringList list = Controller::shutterTimeTexts(converter, 0.00025, longest, stepEv);
        QCOMPARE(list.size(), size);
        QCOMPARE(list.mid(list.size() - tail.size()), tail);
    }

    // The aperture list: the open aperture as it is, the grid values strictly
    // between open and close, then the close aperture as it is.
    void apertureList_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<int>("converterStep");
        QTest::addColumn<double>("open");
        QTest::addColumn<double>("close");
        QTest::addColumn<double>("stepEv");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("open between grid values, half stops")
            << ProductIdKestaA << 500 << 3.5 << 11.0 << 0.5
            << QStringList{"f 3.5", "f 4", "f 4.8", "f 5.6", "f 6.8", "f 8", "f 9.5", "f 11"};
        QTest::newRow("open equal to close")
            << ProductIdKestaA << 500 << 2.8 << 2.8 << 0.5 << QStringList{"f 2.8", "f 2.8"};
        QTest::newRow("whole stops") << ProductIdKestaD << 500 << 2.0 << 5.6 << 1.0
                                     << QStringList{"f 2", "f 2.8", "f 4", "f 5.6"};
        QTest::newRow("third stops") << ProductIdKestaA << 500 << 1.4 << 2.8 << 1.0 / 3.0
                                     << QStringList{"f 1.4", "f 1.6", "f 1.8", "f 2", "f 2.2", "f 2.5", "f 2.8"};
        QTest::newRow("Pelvo grid, open between grid values")
            << ProductIdPelvo << 333 << 1.7 << 2.8 << 1.0 / 3.0
            << QStringList{"f 1.7", "f 1.8", "f 2", "f 2.2", "f 2.5", "f 2.8"};
        // The grid ends at f/32: the list must still end.
        QTest::newRow("close beyond the grid")
            << ProductIdPelvo << 500 << 19.0 << 45.0 << 0.5 << QStringList{"f 19", "f 22", "f 27", "f 32", "f 45"};
        QTest::newRow("open beyond the grid")
            << ProductIdPelvo << 500 << 40.0 << 45.0 << 0.5 << QStringList{"f 40", "f 45"};
    }
    void apertureList()
    {
        QFETCH(quint32, product);
        QFETCH(int, converterStep);
        QFETCH(double, open);
        QFETCH(double, close);
        QFETCH(double, stepEv);
        QFETCH(QStringList, expected);
        OLP_Logic_APEXConverterAperture::setProductId(product);
        OLP_Logic_APEXConverterAperture::setStepSize(converterStep);
        QCOMPARE(Controller::apertureTexts(open, close, stepEv), expected);
    }

    // The Exif orientation and width entries of the first bytes of a picture.
    void exif_data()
    {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<int>("width");

        QTest::newRow("little-endian orientation 6")
            << exifPrefix(false, bytesOf({0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x06, 0x00})) << 6 << 90 << 0;
        QTest::newRow("big-endian orientation 8")
            << exifPrefix(true, bytesOf({0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x08})) << 8 << 270 << 0;
        QTest::newRow("big-endian orientation 3")
            << exifPrefix(true, bytesOf({0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03})) << 3 << 180 << 0;
        QTest::newRow("orientation 1 is upright")
            << exifPrefix(false, bytesOf({0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00})) << 1 << 0 << 0;
        QTest::newRow("little-endian width 6000")
            << exifPrefix(false, bytesOf({0x02, 0xA0, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x70, 0x17})) << 0 << 0
            << 6000;
        QTest::newRow("big-endian width 4000")
            << exifPrefix(true, bytesOf({0xA0, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x0F, 0xA0})) << 0 << 0
            << 4000;
        // A JPEG: the TIFF header follows the APP1 "Exif" header at byte 12.
        QByteArray jpeg = exifPrefix(false, bytesOf({0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x06}));
        jpeg[0] = char(0xFF);
        jpeg[1] = char(0xD8);
        jpeg[12] = 'M';
        jpeg[13] = 'M';
        QTest::newRow("big-endian TIFF after the Exif header") << jpeg << 6 << 90 << 0;
        // The byte order decides the pattern: a big-endian entry in a
        // little-endian file is not an orientation entry.
        QTest::newRow("pattern of the other byte order")
            << exifPrefix(false, bytesOf({0x01, 0x12, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x06})) << 0 << 0 << 0;
        QTest::newRow("entry cut off by the end of the prefix")
            << bytesOf({'I', 'I', 0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00}) << 0 << 0 << 0;
        QTest::newRow("empty") << QByteArray() << 0 << 0 << 0;
    }
    void exif()
    {
        QFETCH(QByteArray, prefix);
        QFETCH(int, orientation);
        QFETCH(int, rotation);
        QFETCH(int, width);
        QCOMPARE(Controller::exifOrientation(prefix), orientation);
        QCOMPARE(Controller::rotationOfOrientation(Controller::exifOrientation(prefix)), rotation);
        QCOMPARE(Controller::exifPixelWidth(prefix), width);
    }

    void sizeClass_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("sizeClass");
        QTest::newRow("KestaD 4001") << ProductIdKestaD << 4001 << 2;
        QTest::newRow("KestaD 4000") << ProductIdKestaD << 4000 << 1;
        QTest::newRow("KestaD 2001") << ProductIdKestaD << 2001 << 1;
        QTest::newRow("KestaD 2000") << ProductIdKestaD << 2000 << 0;
        QTest::newRow("Seventh 5001") << ProductIdSeventh << 5001 << 2;
        QTest::newRow("Seventh 5000") << ProductIdSeventh << 5000 << 1;
        QTest::newRow("Seventh 3501") << ProductIdSeventh << 3501 << 1;
        QTest::newRow("Seventh 3500") << ProductIdSeventh << 3500 << 0;
        QTest::newRow("Pelvo 9000") << ProductIdPelvo << 9000 << 0;
    }
    void sizeClass()
    {
        QFETCH(quint32, product);
        QFETCH(int, width);
        QFETCH(int, sizeClass);
        QCOMPARE(Controller::sizeClassOf(product, width), sizeClass);
    }
};

QTEST_GUILESS_MAIN(tst_ControllerLists)
#include "tst_ControllerLists.moc"
