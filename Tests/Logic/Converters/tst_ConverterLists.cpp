#include <QTranslator>
#include <QtTest>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_ConverterAudioLevel.h"
#include "OLP_Logic_ConverterAutoPowerOff.h"
#include "OLP_Logic_ConverterAutoreviewDuration.h"
#include "OLP_Logic_ConverterBracketDeltaEV.h"
#include "OLP_Logic_ConverterBracketImgNum.h"
#include "OLP_Logic_ConverterContrast.h"
#include "OLP_Logic_ConverterDngCompression.h"
#include "OLP_Logic_ConverterDriveMode.h"
#include "OLP_Logic_ConverterExposCompens.h"
#include "OLP_Logic_ConverterExposMetering.h"
#include "OLP_Logic_ConverterFileFormat.h"
#include "OLP_Logic_ConverterIntervalFrames.h"
#include "OLP_Logic_ConverterIntervalTime.h"
#include "OLP_Logic_ConverterJpgColorSpace.h"
#include "OLP_Logic_ConverterJpgResolution.h"
#include "OLP_Logic_ConverterMonochrome.h"
#include "OLP_Logic_ConverterOrientation.h"
#include "OLP_Logic_ConverterPhotoAspectRatio.h"
#include "OLP_Logic_ConverterSaturation.h"
#include "OLP_Logic_ConverterSensitivity.h"
#include "OLP_Logic_ConverterSensorFormat.h"
#include "OLP_Logic_ConverterSharpness.h"
#include "OLP_Logic_ConverterVideoFileFormat.h"
#include "OLP_Logic_ConverterVideoFormatResol.h"
#include "OLP_Logic_ConverterVideoResAndFrRate.h"
#include "OLP_Logic_ConverterWarning.h"
#include "OLP_Logic_ConverterWhiteBalTemp.h"
#include "OLP_Logic_ConverterWhiteBalance.h"
#include "OLP_Test_Support.h"

namespace {

// Tags every translated text with its context, so a test sees which context a
// converter asked for.
class ContextTagger : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* = nullptr, int = -1) const override
    {
        if (!sourceText || !*sourceText) {
            return QString();
        }
        return QString::fromUtf8(context) + QLatin1Char('|') + QString::fromUtf8(sourceText);
    }
};

std::unique_ptr<OLP_Logic_ConverterBase> makeConverter(const QString& name, quint32 productId)
{
    using P = std::unique_ptr<OLP_Logic_ConverterBase>;
    if (name == "Monochrome")
        return P(new OLP_Logic_ConverterMonochrome);
    if (name == "Saturation")
        return P(new OLP_Logic_ConverterSaturation);
    if (name == "Sharpness")
        return P(new OLP_Logic_ConverterSharpness);
    if (name == "Contrast")
        return P(new OLP_Logic_ConverterContrast);
    if (name == "Orientation")
        return P(new OLP_Logic_ConverterOrientation);
    if (name == "ExposMetering")
        return P(new OLP_Logic_ConverterExposMetering);
    if (name == "DngCompression")
        return P(new OLP_Logic_ConverterDngCompression);
    if (name == "JpgColorSpace")
        return P(new OLP_Logic_ConverterJpgColorSpace);
    if (name == "AudioLevel")
        return P(new OLP_Logic_ConverterAudioLevel);
    if (name == "BracketImgNum")
        return P(new OLP_Logic_ConverterBracketImgNum);
    if (name == "AutoPowerOff")
        return P(new OLP_Logic_ConverterAutoPowerOff);
    if (name == "AutoreviewDuration")
        return P(new OLP_Logic_ConverterAutoreviewDuration);
    if (name == "DriveMode")
        return P(new OLP_Logic_ConverterDriveMode(productId));
    if (name == "BracketDeltaEV")
        return P(new OLP_Logic_ConverterBracketDeltaEV(productId));
    if (name == "WhiteBalance")
        return P(new OLP_Logic_ConverterWhiteBalance(productId));
    if (name == "WhiteBalTemp")
        return P(new OLP_Logic_ConverterWhiteBalTemp(productId));
    if (name == "Sensitivity")
        return P(new OLP_Logic_ConverterSensitivity(productId));
    if (name == "ExposCompens")
        return P(new OLP_Logic_ConverterExposCompens(productId));
    if (name == "FileFormat")
        return P(new OLP_Logic_ConverterFileFormat(productId));
    if (name == "JpgResolution")
        return P(new OLP_Logic_ConverterJpgResolution(productId));
    if (name == "IntervalTime")
        return P(new OLP_Logic_ConverterIntervalTime(productId));
    if (name == "IntervalFrames")
        return P(new OLP_Logic_ConverterIntervalFrames(productId));
    if (name == "Warning")
        return P(new OLP_Logic_ConverterWarning(productId));
    if (name == "VideoResAndFrRate")
        return P(new OLP_Logic_ConverterVideoResAndFrRate(productId));
    if (name == "VideoFormatResol")
        return P(new OLP_Logic_ConverterVideoFormatResol(productId));
    if (name == "VideoFileFormat")
        return P(new OLP_Logic_ConverterVideoFileFormat(productId));
    if (name == "PhotoAspectRatio")
        return P(new OLP_Logic_ConverterPhotoAspectRatio(productId));
    if (name == "SensorFormat")
        return P(new OLP_Logic_ConverterSensorFormat(productId));
    return nullptr;
}

QString productName(quint32 productId)
{
    switch (productId) {
        case ProductIdKestaA:
            return "KestaA";
        case ProductIdKestaB:
            return "KestaB";
        case ProductIdKestaC:
            return "KestaC";
        case ProductIdKestaD:
            return "KestaD";
        case ProductIdPelvo:
            return "Pelvo";
        case ProductIdKestaE:
            return "KestaE";
        case ProductIdSeventh:
            return "Seventh";
        default:
            return QString::number(productId, 16);
    }
}

QVector<double> positions(int n)
{
    QVector<double> v;
    for (int i = 0; i < n; ++i) {
        v.append(i);
    }
    return v;
}

struct Table
{
    QStringList texts;
    QVector<double> values;
};

}  // namespace

class tst_ConverterLists : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }

    void lists_data();
    void lists();
    void translationContexts_data() { lists_data(); }
    void translationContexts();
    void unknownProduct_data();
    void unknownProduct();

    void valueOfReportsMissingText();
    void firstAndLastValue_data();
    void firstAndLastValue();
    void fileFormatLookups();
    void whiteBalanceHmi();

    void exposCompensByStep_data();
    void exposCompensByStep();
    void exposCompensFollowsStepChanges();

private:
    // One row for the listed products with the given table.
    static void addRows(const char* name, const char* context, std::initializer_list<quint32> products,
                        const Table& table);
};

void tst_ConverterLists::addRows(const char* name, const char* context, std::initializer_list<quint32> products,
                                 const Table& table)
{
    QCOMPARE(table.texts.size(), table.values.size());
    for (quint32 productId : products) {
        QTest::addRow("%s/%s", name, qPrintable(productName(productId)))
            << QString(name) << productId << QString(context) << table.texts << table.values;
    }
}

// Every list of every product, transcribed entry by entry. A missing, extra,
// misspelt or misplaced entry, or a wrong value, fails its row.
void tst_ConverterLists::lists_data()
{
    QTest::addColumn<QString>("converter");
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVector<double>>("values");

    // Lists that do not depend on the product.
    addRows("Monochrome", "Monochrome", {0}, {{"Off", "On"}, {0, 1}});
    addRows("Saturation", "Saturation", {0}, {{"Low", "Standard", "High"}, {0, 1, 2}});
    addRows("Sharpness", "Sharpness", {0}, {{"Low", "Standard", "High"}, {0, 1, 2}});
    addRows("Contrast", "Contrast", {0}, {{"Low", "Standard", "High"}, {0, 1, 2}});
    addRows("Orientation", "Contrast", {0}, {{"Top", "Right", "Bottom", "Left"}, {0, 90, 180, -90}});
    addRows("ExposMetering", "Exposure Metering Mode", {0}, {{"Spot", "Center-weighted", "Multi-field"}, {0, 1, 2}});
    addRows("DngCompression", "DNG Compressed", {0}, {{"Off", "On"}, positions(2)});
    addRows("JpgColorSpace", "JPG Color Space", {0}, {{"sRGB", "Adobe RGB", "ECI-RGB 2.0"}, positions(3)});
    addRows("AudioLevel", "Audio Level", {0}, {{"Auto", "Manual"}, positions(2)});
    addRows("BracketImgNum", "Bracketing Image Number", {0}, {{"3 Images", "5 Images"}, {3, 5}});
    addRows("AutoPowerOff", "Auto Power Saving", {0}, {{"Off", "2 minutes", "5 minutes", "10 minutes"}, {0, 1, 2, 3}});
    addRows("AutoreviewDuration", "Autoreview Duration", {0}, {{"Off", "1 s", "3 s", "5 s", "Hold"}, {0, 1, 3, 5, -1}});

    // Drive mode.
    addRows("DriveMode", "Drive Mode", {ProductIdPelvo},
            {{"Single", "Continuous S", "Continuous M", "Continuous F", "Self Timer 2s", "Self Timer 12s", "Interval",
              "Bracketing"},
             {0, 6, 7, 8, 2, 3, 5, 4}});
    addRows(
        "DriveMode", "Drive Mode",
        {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh},
        {{"Single", "Continuous", "Interval", "Self Timer 2s", "Self Timer 12s", "Bracketing"}, {0, 1, 5, 2, 3, 4}});

    // Bracketing delta EV.
    addRows("BracketDeltaEV", "Bracketing Delta EV", {ProductIdPelvo}, {{"1 EV", "2 EV", "3 EV"}, {1000, 2000, 3000}});
    addRows("BracketDeltaEV", "Bracketing Delta EV",
            {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh},
            {{"0.5 EV", "1 EV", "2 EV", "3 EV"}, {500, 1000, 2000, 3000}});

    // White balance.
    addRows("WhiteBalance", "White Balance", {ProductIdKestaA, ProductIdKestaB},
            {{"Auto", "Daylight", "Cloudy", "Shadow", "Tungsten", "HMI", "Fluorescent warm", "Fluorescent cool",
              "Flash", "Greycard", "Color Temperature"},
             {0, 1, 2, 3, 4, 10, 5, 6, 7, 8, 9}});
    addRows("WhiteBalance", "White Balance", {ProductIdKestaC},
            {{"Auto", "Daylight", "Cloudy", "Shadow", "Tungsten", "Fluorescent warm", "Fluorescent cool", "Flash",
              "Greycard", "Color Temperature"},
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}});
    addRows("WhiteBalance", "White Balance", {ProductIdKestaD, ProductIdPelvo},
            {{"Auto", "Daylight", "Cloudy", "Shadow", "Tungsten", "HMI", "Fluorescent warm", "Fluorescent cool",
              "Flash", "Greycard LiveView", "Color Temperature"},
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11}});

    // White balance colour temperature: 63 temperatures.
    const QStringList kelvinTexts = {
        "2000 K",  "2100 K",  "2200 K",  "2300 K",  "2400 K",  "2500 K",  "2600 K",  "2700 K",  "2800 K",
        "2900 K",  "3000 K",  "3100 K",  "3200 K",  "3300 K",  "3400 K",  "3500 K",  "3600 K",  "3700 K",
        "3800 K",  "3900 K",  "4000 K",  "4100 K",  "4200 K",  "4300 K",  "4400 K",  "4500 K",  "4600 K",
        "4700 K",  "4800 K",  "4900 K",  "5000 K",  "5200 K",  "5400 K",  "5600 K",  "5800 K",  "6000 K",
        "6200 K",  "6400 K",  "6600 K",  "6800 K",  "7000 K",  "7200 K",  "7400 K",  "7600 K",  "7800 K",
        "8000 K",  "8300 K",  "8600 K",  "8900 K",  "9200 K",  "9500 K",  "9800 K",  "10100 K", "10400 K",
        "10700 K", "11000 K", "11300 K", "11600 K", "11900 K", "12200 K", "12500 K", "12800 K", "13100 K"};
    const QVector<double> kelvins = {
        2000, 2100, 2200, 2300, 2400,  2500,  2600,  2700,  2800,  2900,  3000,  3100,  3200,  3300,  3400, 3500,
        3600, 3700, 3800, 3900, 4000,  4100,  4200,  4300,  4400,  4500,  4600,  4700,  4800,  4900,  5000, 5200,
        5400, 5600, 5800, 6000, 6200,  6400,  6600,  6800,  7000,  7200,  7400,  7600,  7800,  8000,  8300, 8600,
        8900, 9200, 9500, 9800, 10100, 10400, 10700, 11000, 11300, 11600, 11900, 12200, 12500, 12800, 13100};
    addRows("WhiteBalTemp", "", {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC}, {kelvinTexts, positions(63)});
    addRows("WhiteBalTemp", "", {ProductIdKestaD}, {kelvinTexts, kelvins});
    addRows("WhiteBalTemp", "", {ProductIdPelvo},
            {{"2000 K", "2200 K", "2400 K", "2700 K", "3000 K", "3300 K", "3600 K", "3900 K", "4200 K",  "4600 K",
              "5000 K", "5500 K", "6000 K", "6600 K", "7200 K", "8000 K", "8700 K", "9500 K", "10300 K", "11500 K"},
             {2000, 2200, 2400, 2700, 3000, 3300, 3600, 3900, 4200,  4600,
              5000, 5500, 6000, 6600, 7200, 8000, 8700, 9500, 10300, 11500}});

    // Sensitivity.
    addRows("Sensitivity", "", {ProductIdKestaA},
            {{"Auto", "Pull 80", "160", "320", "640", "1250"}, {0, 80, 160, 320, 640, 1250}});
    addRows("Sensitivity", "", {ProductIdKestaB},
            {{"Auto", "50", "100", "200", "400", "800", "1600"}, {0, 50, 100, 200, 400, 800, 1600}});
    addRows("Sensitivity", "", {ProductIdKestaC},
            {{"Auto", "50",   "100",  "125",  "160",  "200",  "250",  "320",  "400",  "500", "640",
              "800",  "1000", "1280", "1600", "2000", "2500", "3200", "4000", "5000", "6400"},
             {0,   50,   100,  125,  160,  200,  250,  320,  400,  500, 640,
              800, 1000, 1280, 1600, 2000, 2500, 3200, 4000, 5000, 6400}});
    addRows("Sensitivity", "", {ProductIdKestaD},
            {{"Auto", "100", "200", "400", "800", "1600", "3200", "6400", "12500"},
             {0, 100, 200, 400, 800, 1600, 3200, 6400, 12500}});
    addRows("Sensitivity", "", {ProductIdPelvo},
            {{"Auto", "50", "100", "200", "400", "800", "1600", "3200", "6400", "12500", "25000", "50000"},
             {0, 50, 100, 200, 400, 800, 1600, 3200, 6400, 12500, 25000, 50000}});
    addRows("Sensitivity", "", {ProductIdKestaE},
            {{"Auto", "320", "400", "500", "640", "800", "1000", "1280", "1600", "2000", "2500", "3200", "4000", "5000",
              "6400", "8000", "10000", "12500", "PUSH 25000"},
             {0, 320, 400, 500, 640, 800, 1000, 1280, 1600, 2000, 2500, 3200, 4000, 5000, 6400, 8000, 10000, 12500,
              25000}});

    // Exposure compensation at the initial step size (500).
    const Table halfStops = {{"-3 EV", "-2.5 EV", "-2 EV", "-1.5 EV", "-1 EV", "-0.5 EV", "0 EV", "+0.5 EV", "+1 EV",
                              "+1.5 EV", "+2 EV", "+2.5 EV", "+3 EV"},
                             {-3000, -2500, -2000, -1500, -1000, -500, 0, 500, 1000, 1500, 2000, 2500, 3000}};
    const Table thirdStops = {
        {"-3 EV", "-2.7 EV", "-2.3 EV", "-2 EV", "-1.7 EV", "-1.3 EV", "-1 EV", "-0.7 EV", "-0.3 EV", "0 EV", "+0.3 EV",
         "+0.7 EV", "+1 EV", "+1.3 EV", "+1.7 EV", "+2 EV", "+2.3 EV", "+2.7 EV", "+3 EV"},
        {-3000, -2667, -2333, -2000, -1667, -1333, -1000, -667, -333, 0, 333, 667, 1000, 1333, 1667, 2000, 2333, 2667,
         3000}};
    addRows("ExposCompens", "", {ProductIdKestaA, ProductIdKestaB, ProductIdKestaD, ProductIdPelvo}, halfStops);
    addRows("ExposCompens", "", {ProductIdKestaC, ProductIdKestaE}, thirdStops);

    // File format.
    addRows("FileFormat", "File Format", {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC},
            {{"DNG", "DNG + JPG (fine)", "DNG + JPG (basic)", "JPG (fine)", "JPG (basic)"}, positions(5)});
    addRows("FileFormat", "File Format", {ProductIdKestaD, ProductIdPelvo, ProductIdKestaE},
            {{"DNG", "DNG + JPG", "JPG"}, {0, 1, 3}});

    // JPG resolution.
    addRows("JpgResolution", "JPG Resolution", {ProductIdKestaB, ProductIdKestaD},
            {{"37.5 MP", "9.3 MP", "2.3 MP"}, {0, 1, 2}});
    addRows("JpgResolution", "JPG Resolution", {ProductIdKestaC, ProductIdKestaE},
            {{"24 MP", "12 MP", "6 MP", "1.7 MP"}, positions(4)});
    addRows("JpgResolution", "JPG Resolution", {ProductIdPelvo}, {{"L-JPG", "M-JPG", "S-JPG"}, {3, 4, 5}});

    // Interval time.
    addRows("IntervalTime", "Interval Time", {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaE},
            {{"2s", "3s", "4s", "5s", "1Min", "1.5Min", "2Min", "10Min", "30Min", "1h"},
             {2, 3, 4, 5, 60, 90, 120, 600, 1800, 3600}});
    addRows("IntervalTime", "Interval Time", {ProductIdKestaD},
            {{"1s", "2s", "3s", "4s", "5s", "1Min", "1.5Min", "2Min", "10Min", "15Min", "999s"},
             {1, 2, 3, 4, 5, 60, 90, 120, 600, 900, 999}});
    addRows("IntervalTime", "Interval Time", {ProductIdPelvo},
            {{"1s", "2s", "3s", "4s", "5s", "1Min", "1.5Min", "2Min", "10Min", "15Min", "89999s"},
             {1, 2, 3, 4, 5, 60, 90, 120, 600, 900, 89999}});

    // Interval frames.
    addRows("IntervalFrames", "Interval Frames", {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaE},
            {{"5 Frames", "10 Frames", "50 Frames", "100 Frames", "500 Frames", "1000 Frames", "2500 Frames",
              "5000 Frames", "10000 Frames"},
             {5, 10, 50, 100, 500, 1000, 2500, 5000, 10000}});
    addRows("IntervalFrames", "Interval Frames", {ProductIdKestaD, ProductIdPelvo},
            {{"1 Frame", "2 Frames", "5 Frames", "10 Frames", "50 Frames", "100 Frames", "500 Frames", "1000 Frames",
              "2500 Frames", "5000 Frames", "9999 Frames"},
             {1, 2, 5, 10, 50, 100, 500, 1000, 2500, 5000, 9999}});

    // Warnings.
    addRows("Warning", "Warning", {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaE},
            {{"", "Undefined Error", "Overheating", "USB Error", "Lens Error", "Shutter Error", "Card Open Error",
              "Bulb mode and Self timer"},
             positions(8)});

    // Video resolution and frame rate.
    addRows("VideoResAndFrRate", "Video Resolution", {ProductIdKestaC},
            {{"1920x1080p @ 25fps", "1920x1080p @ 24fps", "1280x720p @ 25fps", "1280x720p @ 24fps", "640x480 @ 30fps",
              "640x480 @ 25fps"},
             {8, 9, 15, 16, 17, 18}});
    addRows("VideoResAndFrRate", "Video Resolution", {ProductIdKestaD},
            {{"4096x2160p @ 24fps", "1920x1080p @ 30fps", "1920x1080p @ 25fps", "1920x1080p @ 24fps"}, {0, 7, 8, 9}});
    addRows("VideoResAndFrRate", "Video Resolution", {ProductIdPelvo},
            {{"4096x2160p @ 24fps", "3840x2160p @ 30fps", "3840x2160p @ 25fps", "1920x1080p @ 120fps",
              "1920x1080p @ 100fps", "1920x1080p @ 60fps", "1920x1080p @ 50fps", "1920x1080p @ 30fps",
              "1920x1080p @ 25fps", "1920x1080p @ 24fps", "1280x720p @ 120fps", "1280x720p @ 100fps",
              "1280x720p @ 60fps", "1280x720p @ 50fps", "1280x720p @ 30fps", "1280x720p @ 25fps"},
             {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}});
    addRows("VideoResAndFrRate", "Video Resolution", {ProductIdKestaE},
            {{"1920x1080p @ 25fps", "1920x1080p @ 24fps", "1280x720p @ 25fps", "1280x720p @ 24fps"}, {8, 9, 15, 16}});

    // Video container, size and frame rate.
    addRows("VideoFormatResol", "Video Resolution", {ProductIdPelvo},
            {{"MOV 4096x2160p @ 24fps",  "MP4 4096x2160p @ 24fps",  "MOV 3840x2160p @ 30fps", "MP4 3840x2160p @ 30fps",
              "MOV 3840x2160p @ 25fps",  "MP4 3840x2160p @ 25fps",  "MOV 3840x2160p @ 24fps", "MP4 3840x2160p @ 24fps",
              "MP4 1920x1080p @ 120fps", "MP4 1920x1080p @ 100fps", "MOV 1920x1080p @ 60fps", "MP4 1920x1080p @ 60fps",
              "MOV 1920x1080p @ 50fps",  "MP4 1920x1080p @ 50fps",  "MOV 1920x1080p @ 30fps", "MP4 1920x1080p @ 30fps",
              "MOV 1920x1080p @ 25fps",  "MP4 1920x1080p @ 25fps",  "MOV 1920x1080p @ 24fps", "MP4 1920x1080p @ 24fps",
              "MP4 1280x720p @ 120fps",  "MP4 1280x720p @ 100fps",  "MOV 1280x720p @ 60fps",  "MP4 1280x720p @ 60fps",
              "MOV 1280x720p @ 50fps",   "MP4 1280x720p @ 50fps",   "MOV 1280x720p @ 30fps",  "MP4 1280x720p @ 30fps",
              "MOV 1280x720p @ 25fps",   "MP4 1280x720p @ 25fps"},
             {0,  1,  2,  3,  4,  5,  28, 29, 6,  7,  8,  9,  10, 11, 12,
              13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}});

    addRows("VideoFileFormat", "Video File Format", {ProductIdPelvo}, {{"MOV", "MP4"}, {0, 1}});
    addRows("PhotoAspectRatio", "Photo Aspect Ratio", {ProductIdPelvo},
            {{"3:2", "7:5", "4:3", "1:1", "3:1", "16:9"}, {0, 1, 2, 3, 4, 5}});
    addRows("SensorFormat", "Sensor Format", {ProductIdPelvo}, {{"35 mm", "APS-C"}, {0, 1}});
}

void tst_ConverterLists::lists()
{
    QFETCH(QString, converter);
    QFETCH(quint32, productId);
    QFETCH(QStringList, texts);
    QFETCH(QVector<double>, values);

    OLP_Test_LogCapture log;
    const auto conv = makeConverter(converter, productId);
    QVERIFY(conv);
    QCOMPARE(conv->list(), texts);
    QCOMPARE(conv->count(), texts.size());
    QCOMPARE(log.count("unknown ProductId"), 0);

    for (int i = 0; i < texts.size(); ++i) {
        // text -> value
        bool ok = false;
        QCOMPARE(conv->valueOf(texts.at(i), &ok), values.at(i));
        QVERIFY(ok);
        // value -> text, and the whole round trip text -> value -> text
        QCOMPARE(conv->textOf(values.at(i)), texts.at(i));
        QCOMPARE(conv->textOf(conv->valueOf(texts.at(i))), texts.at(i));
    }
    QCOMPARE(conv->firstValue(), values.first());
    QCOMPARE(conv->lastValue(), values.last());
}

// The translation context of every list: a catalogue keyed by the wrong
// context would never translate the texts. Untranslated lists stay as they are.
void tst_ConverterLists::translationContexts()
{
    QFETCH(QString, converter);
    QFETCH(quint32, productId);
    QFETCH(QString, context);
    QFETCH(QStringList, texts);
    QFETCH(QVector<double>, values);

    ContextTagger tagger;
    QCoreApplication::installTranslator(&tagger);
    const auto conv = makeConverter(converter, productId);
    QCoreApplication::removeTranslator(&tagger);
    QVERIFY(conv);

    QStringList expected;
    for (const QString& text : texts) {
        expected.append(context.isEmpty() || text.isEmpty() ? text : context + '|' + text);
    }
    QCOMPARE(conv->list(), expected);
    // Lookups work on the translated texts the GUI shows.
    QCOMPARE(conv->valueOf(expected.last()), values.last());
    QCOMPARE(conv->textOf(values.last()), expected.last());
}

// Products a list does not know: one log line naming the converter, an empty
// list, and lookups that answer "nothing" instead of failing.
void tst_ConverterLists::unknownProduct_data()
{
    QTest::addColumn<QString>("converter");
    QTest::addColumn<quint32>("productId");

    const struct
    {
        const char* name;
        std::initializer_list<quint32> unknown;
    } rows[] = {
        {"WhiteBalance", {ProductIdKestaE, ProductIdSeventh}},
        {"WhiteBalTemp", {ProductIdKestaE, ProductIdSeventh}},
        {"Sensitivity", {ProductIdSeventh}},
        {"ExposCompens", {ProductIdSeventh}},
        {"FileFormat", {ProductIdSeventh}},
        {"JpgResolution", {ProductIdKestaA, ProductIdSeventh}},
        {"IntervalTime", {ProductIdSeventh}},
        {"IntervalFrames", {ProductIdSeventh}},
        {"Warning", {ProductIdKestaD, ProductIdPelvo, ProductIdSeventh}},
        {"VideoResAndFrRate", {ProductIdKestaA, ProductIdKestaB, ProductIdSeventh}},
        {"VideoFormatResol",
         {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh}},
        {"VideoFileFormat",
         {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh}},
        {"PhotoAspectRatio",
         {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh}},
        {"SensorFormat",
         {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh}},
        {"DriveMode", {0x9999}},
    };
    for (const auto& row : rows) {
        for (quint32 productId : row.unknown) {
            QTest::addRow("%s/%s", row.name, qPrintable(productName(productId))) << QString(row.name) << productId;
        }
    }
}

void tst_ConverterLists::unknownProduct()
{
    QFETCH(QString, converter);
    QFETCH(quint32, productId);

    OLP_Test_LogCapture log;
    const auto conv = makeConverter(converter, productId);
    QVERIFY(conv);
    if (converter == "DriveMode") {
        // Drive mode has a list for every product: no complaint, the common list.
        QCOMPARE(log.count("unknown ProductId"), 0);
        QCOMPARE(conv->count(), 6);
        return;
    }
    const QString line = QStringLiteral("OLP_Logic_Converter%1::init - unknown ProductId 0x%2")
                             .arg(converter)
                             .arg(QString::number(productId, 16).toUpper());
    QCOMPARE(log.count(line), 1);
    QVERIFY(conv->list().isEmpty());
    bool ok = true;
    QCOMPARE(conv->valueOf("Auto", &ok), -1.0);
    QVERIFY(!ok);
    QCOMPARE(conv->textOf(0), QString());
    QCOMPARE(conv->firstValue(), 0.0);
    QCOMPARE(conv->lastValue(), 0.0);
}

// "Hold" is a real entry with the value -1; ok tells it from a missing text.
void tst_ConverterLists::valueOfReportsMissingText()
{
    OLP_Logic_ConverterAutoreviewDuration conv;
    bool ok = false;
    QCOMPARE(conv.valueOf("Hold", &ok), -1.0);
    QVERIFY(ok);
    QCOMPARE(conv.valueOf("Forever", &ok), -1.0);
    QVERIFY(!ok);
    QCOMPARE(conv.valueOf("hold", &ok), -1.0);
    QVERIFY(!ok);
    QCOMPARE(conv.valueOf(QString(), &ok), -1.0);
    QVERIFY(!ok);
    QCOMPARE(conv.textOf(2), QString());
    QCOMPARE(conv.textOf(0.5), QString());
}

void tst_ConverterLists::firstAndLastValue_data()
{
    QTest::addColumn<QString>("converter");
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");

    // Lists of positions: the last position.
    QTest::newRow("DngCompression") << "DngCompression" << quint32(0) << 0.0 << 1.0;
    QTest::newRow("FileFormat/KestaA") << "FileFormat" << quint32(ProductIdKestaA) << 0.0 << 4.0;
    QTest::newRow("JpgResolution/KestaC") << "JpgResolution" << quint32(ProductIdKestaC) << 0.0 << 3.0;
    // Explicit values: the value itself, wherever the list ends.
    QTest::newRow("AutoreviewDuration") << "AutoreviewDuration" << quint32(0) << 0.0 << -1.0;
    QTest::newRow("JpgResolution/Pelvo") << "JpgResolution" << quint32(ProductIdPelvo) << 3.0 << 5.0;
    QTest::newRow("IntervalTime/KestaA") << "IntervalTime" << quint32(ProductIdKestaA) << 2.0 << 3600.0;
}

void tst_ConverterLists::firstAndLastValue()
{
    QFETCH(QString, converter);
    QFETCH(quint32, productId);
    QFETCH(double, first);
    QFETCH(double, last);
    const auto conv = makeConverter(converter, productId);
    QCOMPARE(conv->firstValue(), first);
    QCOMPARE(conv->lastValue(), last);
}

// The file-format codes 2 and 4 do not exist on these cameras.
void tst_ConverterLists::fileFormatLookups()
{
    OLP_Logic_ConverterFileFormat pelvo(ProductIdPelvo);
    QCOMPARE(pelvo.textOf(3), QString("JPG"));
    QCOMPARE(pelvo.textOf(2), QString());
    QCOMPARE(pelvo.textOf(4), QString());
    QCOMPARE(pelvo.valueOf("JPG"), 3.0);

    OLP_Logic_ConverterFileFormat kestaA(ProductIdKestaA);
    QCOMPARE(kestaA.textOf(2), QString("DNG + JPG (basic)"));
    QCOMPARE(kestaA.valueOf("JPG"), -1.0);
}

void tst_ConverterLists::whiteBalanceHmi()
{
    QCOMPARE(OLP_Logic_ConverterWhiteBalance(ProductIdKestaA).valueOf("HMI"), 10.0);
    QCOMPARE(OLP_Logic_ConverterWhiteBalance(ProductIdPelvo).valueOf("HMI"), 5.0);
    QCOMPARE(OLP_Logic_ConverterWhiteBalance(ProductIdKestaC).valueOf("HMI"), -1.0);
}

void tst_ConverterLists::exposCompensByStep_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("logLine");

    const QString none;
    QTest::newRow("Pelvo/333") << quint32(ProductIdPelvo) << 333 << 19 << none;
    QTest::newRow("Pelvo/500") << quint32(ProductIdPelvo) << 500 << 13 << none;
    QTest::newRow("Pelvo/1000") << quint32(ProductIdPelvo) << 1000 << 0
                                << "OLP_Logic_ConverterExposCompens::init - unknown step size 1000";
    // The other cameras keep their own grid whatever the step size.
    QTest::newRow("KestaA/333") << quint32(ProductIdKestaA) << 333 << 13 << none;
    QTest::newRow("KestaD/333") << quint32(ProductIdKestaD) << 333 << 13 << none;
    QTest::newRow("KestaC/500") << quint32(ProductIdKestaC) << 500 << 19 << none;
    QTest::newRow("KestaE/333") << quint32(ProductIdKestaE) << 333 << 19 << none;
}

void tst_ConverterLists::exposCompensByStep()
{
    QFETCH(quint32, productId);
    QFETCH(int, step);
    QFETCH(int, count);
    QFETCH(QString, logLine);

    OLP_Logic_ConverterExposCompens conv(productId);
    OLP_Test_LogCapture log;
    conv.setStepSize(step);
    QCOMPARE(conv.stepSize(), step);
    QCOMPARE(conv.count(), count);
    if (!logLine.isEmpty()) {
        QCOMPARE(log.count(logLine), 1);
        QCOMPARE(conv.valueOf("0 EV"), -1.0);
        QCOMPARE(conv.textOf(0), QString());
    } else {
        QCOMPARE(log.count("unknown step size"), 0);
        QCOMPARE(conv.valueOf("0 EV"), 0.0);
        QCOMPARE(conv.textOf(count == 19 ? -667 : -500), QString(count == 19 ? "-0.7 EV" : "-0.5 EV"));
    }
}

// A camera switching between half and third stops gets the matching list
// each time, and an unchanged step does not rebuild (nor log) anything.
void tst_ConverterLists::exposCompensFollowsStepChanges()
{
    OLP_Logic_ConverterExposCompens conv(ProductIdPelvo);
    QCOMPARE(conv.stepSize(), 500);
    QCOMPARE(conv.textOf(2500), QString("+2.5 EV"));

    conv.setStepSize(333);
    QCOMPARE(conv.textOf(2500), QString());
    QCOMPARE(conv.textOf(2667), QString("+2.7 EV"));
    QCOMPARE(conv.valueOf("-1.3 EV"), -1333.0);

    OLP_Test_LogCapture log;
    conv.setStepSize(250);
    QVERIFY(conv.list().isEmpty());
    conv.setStepSize(250);
    QCOMPARE(log.count("OLP_Logic_ConverterExposCompens::init - unknown step size 250"), 1);

    conv.setStepSize(500);
    QCOMPARE(conv.count(), 13);
    QCOMPARE(conv.list().first(), QString("-3 EV"));
    QCOMPARE(conv.list().last(), QString("+3 EV"));
}

QTEST_GUILESS_MAIN(tst_ConverterLists)
#include "tst_ConverterLists.moc"
