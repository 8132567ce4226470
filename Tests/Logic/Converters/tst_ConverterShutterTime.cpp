#include <QtTest>
#include <cmath>
#include <limits>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_APEXConverterShutterTime.h"
#include "OLP_Test_Support.h"

using ShutterTime = OLP_Logic_APEXConverterShutterTime;

namespace {

struct Tick
{
    int code;
    double seconds;
};

// The grids of nominal times, transcribed entry by entry.
const QVector<Tick> kPelvoThirds = {
    {-2816, 1800},      {-2730, 1440},
    {-2645, 1200},      {-2560, 900},
    {-2474, 720},       {-2389, 600},
    {-2304, 480},       {-2218, 360},
    {-2133, 300},       {-2048, 240},
    {-1962, 200},       {-1877, 150},
    {-1792, 120},       {-1706, 90},
    {-1621, 75},        {-1536, 60},
    {-1450, 48},        {-1365, 36},
    {-1280, 30},        {-1194, 24},
    {-1109, 20},        {-1024, 15},
    {-938, 12},         {-853, 10},
    {-768, 8},          {-682, 6},
    {-597, 5},          {-512, 4},
    {-426, 3},          {-341, 2.5},
    {-256, 2},          {-170, 1.6},
    {-85, 1.3},         {0, 1},
    {86, 0.8},          {171, 0.6},
    {256, 0.5},         {342, 0.4},
    {427, 0.3},         {512, 1.0 / 4},
    {598, 1.0 / 5},     {683, 1.0 / 6},
    {768, 1.0 / 8},     {854, 1.0 / 10},
    {939, 1.0 / 13},    {1024, 1.0 / 15},
    {1110, 1.0 / 20},   {1195, 1.0 / 25},
    {1280, 1.0 / 30},   {1366, 1.0 / 40},
    {1451, 1.0 / 50},   {1536, 1.0 / 60},
    {1622, 1.0 / 80},   {1707, 1.0 / 100},
    {1792, 1.0 / 125},  {1878, 1.0 / 160},
    {1963, 1.0 / 200},  {2048, 1.0 / 250},
    {2134, 1.0 / 320},  {2219, 1.0 / 400},
    {2304, 1.0 / 500},  {2390, 1.0 / 640},
    {2475, 1.0 / 800},  {2560, 1.0 / 1000},
    {2646, 1.0 / 1250}, {2731, 1.0 / 1600},
    {2816, 1.0 / 2000}, {2902, 1.0 / 2500},
    {2987, 1.0 / 3200}, {3072, 1.0 / 4000},
    {3158, 1.0 / 5000}, {3243, 1.0 / 6400},
    {3328, 1.0 / 8000}, {3414, 1.0 / 10000},
};
const QVector<Tick> kPelvoHalves = {
    {-2816, 1800},
    {-2688, 1320},
    {-2560, 900},
    {-2432, 660},
    {-2304, 480},
    {-2176, 360},
    {-2048, 240},
    {-1920, 180},
    {-1792, 120},
    {-1664, 90},
    {-1536, 60},
    {-1408, 45},
    {-1280, 32},
    {-1152, 24},
    {-1024, 16},
    {-896, 12},
    {-768, 8},
    {-640, 6},
    {-512, 4},
    {-384, 3},
    {-256, 2},
    {-128, 1.5},
    {0, 1},
    {128, 0.7},
    {256, 0.5},
    {384, 1.0 / 3},
    {512, 1.0 / 4},
    {640, 1.0 / 6},
    {768, 1.0 / 8},
    {896, 1.0 / 12},
    {1024, 1.0 / 15},
    {1152, 1.0 / 24},
    {1280, 1.0 / 30},
    {1408, 1.0 / 45},
    {1536, 1.0 / 60},
    {1664, 1.0 / 90},
    {1792, 1.0 / 125},
    {1920, 1.0 / 180},
    {2048, 1.0 / 250},
    {2176, 1.0 / 360},
    {2304, 1.0 / 500},
    {2432, 1.0 / 750},
    {2560, 1.0 / 1000},
    {2688, 1.0 / 1500},
    {2816, 1.0 / 2000},
    {2944, 1.0 / 3000},
    {3072, 1.0 / 4000},
    {3200, 1.0 / 6000},
    {3328, 1.0 / 8000},
    {3456, 1.0 / 12500},
};
const QVector<Tick> kOtherHalves = {
    {-1792, 125},       {-1664, 90},        {-1536, 60},        {-1408, 45},        {-1280, 32},
    {-1152, 24},        {-1024, 16},        {-896, 12},         {-768, 8},          {-640, 6},
    {-512, 4},          {-384, 3},          {-256, 2},          {-128, 1.5},        {0, 1},
    {128, 0.7},         {256, 0.5},         {384, 1.0 / 3},     {512, 1.0 / 4},     {640, 1.0 / 6},
    {768, 1.0 / 8},     {896, 1.0 / 12},    {1024, 1.0 / 15},   {1152, 1.0 / 24},   {1280, 1.0 / 30},
    {1408, 1.0 / 45},   {1536, 1.0 / 60},   {1664, 1.0 / 90},   {1792, 1.0 / 125},  {1920, 1.0 / 180},
    {2048, 1.0 / 250},  {2176, 1.0 / 360},  {2304, 1.0 / 500},  {2432, 1.0 / 750},  {2560, 1.0 / 1000},
    {2688, 1.0 / 1500}, {2816, 1.0 / 2000}, {2944, 1.0 / 3000}, {3072, 1.0 / 4000},
};

const int kOther = 0;  // any step: the step size only matters for ProductIdPelvo

}  // namespace

Q_DECLARE_METATYPE(QVector<Tick>)

class tst_ConverterShutterTime : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }

    void grids_data();
    void grids();
    void stepChanges();
    void unknownStepSize();

    void nearestCode_data();
    void nearestCode();
    void fromTv();
    void toCodeNearestInStops();
    void invalidTimes_data();
    void invalidTimes();
    void signedCodes();

    void toString_data();
    void toString();
    void fromString_data();
    void fromString();
};

void tst_ConverterShutterTime::grids_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("step");
    QTest::addColumn<QVector<Tick>>("ticks");

    QTest::newRow("Pelvo/333") << quint32(ProductIdPelvo) << 333 << kPelvoThirds;
    QTest::newRow("Pelvo/500") << quint32(ProductIdPelvo) << 500 << kPelvoHalves;
    for (quint32 productId :
         {ProductIdKestaA, ProductIdKestaB, ProductIdKestaC, ProductIdKestaD, ProductIdKestaE, ProductIdSeventh}) {
        for (int step : {333, 500}) {
            QTest::addRow("0x%X/%d", productId, step) << productId << step << kOtherHalves;
        }
    }
}

// Every entry of every grid: the map itself, code -> seconds, seconds -> code,
// and the text round trips seconds -> text -> seconds and text -> seconds -> text.
void tst_ConverterShutterTime::grids()
{
    QFETCH(quint32, productId);
    QFETCH(int, step);
    QFETCH(QVector<Tick>, ticks);

    ShutterTime conv(productId);
    conv.setStepSize(step);
    const QMap<int, double> map = conv.convertMap();
    QCOMPARE(map.size(), ticks.size());
    int i = 0;
    for (auto it = map.cbegin(); it != map.cend(); ++it, ++i) {
        QCOMPARE(it.key(), ticks.at(i).code);
        QCOMPARE(it.value(), ticks.at(i).seconds);
    }
    for (const Tick& tick : ticks) {
        QCOMPARE(conv.toSeconds(tick.code), tick.seconds);
        QCOMPARE(conv.toCode(tick.seconds).value_or(-32768), qint16(tick.code));
        const QString text = conv.toString(tick.seconds);
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(tick.code)));
        const double back = ShutterTime::fromString(text);
        QCOMPARE(conv.toCode(back).value_or(-32768), qint16(tick.code));
        QCOMPARE(conv.toString(back), text);
    }
}

// The settings object starts at half stops and switches grids with the step.
void tst_ConverterShutterTime::stepChanges()
{
    ShutterTime conv(ProductIdPelvo);
    QCOMPARE(conv.stepSize(), 500);
    QCOMPARE(conv.productId(), quint32(ProductIdPelvo));
    QCOMPARE(conv.convertMap().size(), 50);
    conv.setStepSize(333);
    QCOMPARE(conv.convertMap().size(), 74);
    QCOMPARE(conv.toSeconds(-341), 2.5);
    conv.setStepSize(500);
    QCOMPARE(conv.convertMap().size(), 50);
    QCOMPARE(conv.toSeconds(-341), 3.0);
}

// An unknown step size: one log line per rebuild and per text asked for; no
// time, no code, no text.
void tst_ConverterShutterTime::unknownStepSize()
{
    ShutterTime conv(ProductIdPelvo);
    OLP_Test_LogCapture log;
    conv.setStepSize(1000);
    conv.setStepSize(1000);
    QCOMPARE(log.count("OLP_Logic_APEXConverterShutterTime::initConvertMap - unknown step size 1000"), 1);
    QVERIFY(conv.convertMap().isEmpty());
    QCOMPARE(conv.toSeconds(0), 0.0);
    QCOMPARE(conv.toSecondsFromTv(7.0), 0.0);
    QVERIFY(!conv.toCode(1.0).has_value());
    QCOMPARE(conv.toString(1.0), QString());
    QCOMPARE(log.count("OLP_Logic_APEXConverterShutterTime::toString - unknown step size 1000"), 1);

    // Other cameras have one grid whatever the step size.
    ShutterTime other(ProductIdKestaD);
    other.setStepSize(1000);
    QCOMPARE(other.convertMap().size(), 39);
    QCOMPARE(other.toString(1.0), QString("1s"));
    QCOMPARE(log.count("unknown step size"), 2);
}

// Nearest code, the lower one on a tie; codes far outside the grid pick its
// nearer end (as 16-bit differences they would wrap around).
void tst_ConverterShutterTime::nearestCode_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("seconds");

    QTest::newRow("tie 64 -> 0") << quint32(ProductIdPelvo) << 500 << 64 << 1.0;
    QTest::newRow("65 -> 128") << quint32(ProductIdPelvo) << 500 << 65 << 0.7;
    QTest::newRow("tie -2773 -> -2816") << quint32(ProductIdPelvo) << 333 << -2773 << 1800.0;
    QTest::newRow("1800 -> 1792") << quint32(ProductIdKestaA) << kOther << 1800 << 1.0 / 125;
    QTest::newRow("32767 third") << quint32(ProductIdPelvo) << 333 << 32767 << 1.0 / 10000;
    QTest::newRow("-32768 third") << quint32(ProductIdPelvo) << 333 << -32768 << 1800.0;
    QTest::newRow("32767 half") << quint32(ProductIdPelvo) << 500 << 32767 << 1.0 / 12500;
    QTest::newRow("-32768 half") << quint32(ProductIdPelvo) << 500 << -32768 << 1800.0;
    QTest::newRow("32767 other") << quint32(ProductIdKestaC) << kOther << 32767 << 1.0 / 4000;
    QTest::newRow("-32768 other") << quint32(ProductIdKestaC) << kOther << -32768 << 125.0;
    QTest::newRow("int max") << quint32(ProductIdKestaC) << kOther << std::numeric_limits<int>::max() << 1.0 / 4000;
    QTest::newRow("int min") << quint32(ProductIdKestaC) << kOther << std::numeric_limits<int>::min() << 125.0;
}

void tst_ConverterShutterTime::nearestCode()
{
    QFETCH(quint32, productId);
    QFETCH(int, step);
    QFETCH(int, code);
    QFETCH(double, seconds);
    ShutterTime conv(productId);
    conv.setStepSize(step == kOther ? 500 : step);
    QCOMPARE(conv.toSeconds(code), seconds);
}

// The list of times is built by stepping Tv from the fastest time.
void tst_ConverterShutterTime::fromTv()
{
    ShutterTime other(ProductIdKestaB);
    QCOMPARE(other.toSecondsFromTv(-std::log2(1.0 / 4000)), 1.0 / 4000);
    QCOMPARE(other.toSecondsFromTv(7.0), 1.0 / 125);
    QCOMPARE(other.toSecondsFromTv(-7.0), 125.0);
    QCOMPARE(other.toSecondsFromTv(std::numeric_limits<double>::quiet_NaN()), 0.0);
    QCOMPARE(other.toSecondsFromTv(std::numeric_limits<double>::infinity()), 0.0);
    QCOMPARE(other.toSecondsFromTv(1e300), 1.0 / 4000);

    ShutterTime pelvo(ProductIdPelvo);
    pelvo.setStepSize(333);
    // 1/16000 s lies beyond the grid: its nearest time is 1/10000 s.
    QCOMPARE(pelvo.toSecondsFromTv(-std::log2(1.0 / 16000)), 1.0 / 10000);
    QCOMPARE(pelvo.toSecondsFromTv(-std::log2(1.0 / 8000)), 1.0 / 8000);
    QCOMPARE(pelvo.toSecondsFromTv(-1.0 / 3), 1.3);
}

// Times between grid entries go to the entry nearest in stops.
void tst_ConverterShutterTime::toCodeNearestInStops()
{
    ShutterTime conv(ProductIdKestaA);
    // 1/105.5 s is nearer to 1/125 s in seconds but nearer to 1/90 s in stops.
    QCOMPARE(conv.toCode(1.0 / 105.5).value_or(0), qint16(1664));
    QCOMPARE(conv.toCode(1.0 / 107).value_or(0), qint16(1792));
    QCOMPARE(conv.toCode(0.85).value_or(0), qint16(0));
    QCOMPARE(conv.toCode(0.8).value_or(0), qint16(128));
    QCOMPARE(conv.toCode(10000.0).value_or(0), qint16(-1792));
    QCOMPARE(conv.toCode(1e-9).value_or(0), qint16(3072));
}

// Times of 0 or less have no code: every entry is infinitely far from them in
// stops, and the tie would pick the longest exposure.
void tst_ConverterShutterTime::invalidTimes_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("seconds");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* name;
        quint32 productId;
        int step;
    } cameras[] = {
        {"Pelvo/333", ProductIdPelvo, 333}, {"Pelvo/500", ProductIdPelvo, 500}, {"KestaA", ProductIdKestaA, 500}};
    for (const auto& camera : cameras) {
        for (double seconds : {0.0, -0.0, -1.0 / 125, -240.0, nan, inf, -inf}) {
            QTest::addRow("%s/%g", camera.name, seconds) << camera.productId << camera.step << seconds;
        }
    }
}

void tst_ConverterShutterTime::invalidTimes()
{
    QFETCH(quint32, productId);
    QFETCH(int, step);
    QFETCH(double, seconds);
    ShutterTime conv(productId);
    conv.setStepSize(step);
    QVERIFY(!conv.toCode(seconds).has_value());
    QCOMPARE(conv.toString(seconds), QString());
}

// Times longer than 1 s have negative codes; a 4-byte property carries them
// sign-extended.
void tst_ConverterShutterTime::signedCodes()
{
    ShutterTime pelvo(ProductIdPelvo);
    const std::optional<qint16> code = pelvo.toCode(1800.0);
    QVERIFY(code.has_value());
    QCOMPARE(*code, qint16(-2816));
    QCOMPARE(ShutterTime::signExtended(*code), quint32(0xFFFFF500));
    QCOMPARE(ShutterTime::signExtended(3456), quint32(3456));
    QCOMPARE(ShutterTime::signExtended(-1), quint32(0xFFFFFFFF));
    // A camera's sign-extended report reads back as the same time.
    QCOMPARE(pelvo.toSeconds(qint32(ShutterTime::signExtended(*code))), 1800.0);
}

void tst_ConverterShutterTime::toString_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::addColumn<int>("step");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");

    const quint32 pelvo = ProductIdPelvo;
    const quint32 kestaA = ProductIdKestaA;
    const quint32 kestaD = ProductIdKestaD;
    const quint32 kestaE = ProductIdKestaE;

    // Fractions.
    QTest::newRow("1/125 third") << pelvo << 333 << 1.0 / 125 << "1/125s";
    QTest::newRow("1/125 half") << pelvo << 500 << 1.0 / 125 << "1/125s";
    QTest::newRow("1/125 other") << kestaA << kOther << 1.0 / 125 << "1/125s";
    QTest::newRow("1/10000 third") << pelvo << 333 << 1.0 / 10000 << "1/10000s";
    QTest::newRow("1/3 third") << pelvo << 333 << 1.0 / 3 << "1/3s";
    QTest::newRow("1/4 third") << pelvo << 333 << 0.25 << "1/4s";
    // Minutes only on ProductIdPelvo, from different limits per step.
    QTest::newRow("240 third") << pelvo << 333 << 240.0 << "4m";
    QTest::newRow("240 half") << pelvo << 500 << 240.0 << "4m";
    QTest::newRow("240 KestaA") << kestaA << kOther << 240.0 << "240s";
    QTest::newRow("240 KestaD") << kestaD << kOther << 240.0 << "240s";
    QTest::newRow("1800 third") << pelvo << 333 << 1800.0 << "30m";
    QTest::newRow("220 third") << pelvo << 333 << 220.0 << "220s";
    QTest::newRow("221 third") << pelvo << 333 << 221.0 << "4m";
    QTest::newRow("200 third") << pelvo << 333 << 200.0 << "200s";
    QTest::newRow("105 half") << pelvo << 500 << 105.0 << "105s";
    QTest::newRow("106 half") << pelvo << 500 << 106.0 << "2m";
    QTest::newRow("90 half") << pelvo << 500 << 90.0 << "90s";
    QTest::newRow("125 other") << kestaA << kOther << 125.0 << "125s";
    // Decimal times.
    QTest::newRow("2.5 third") << pelvo << 333 << 2.5 << "2.5s";
    QTest::newRow("2.5 half") << pelvo << 500 << 2.5 << "3s";
    QTest::newRow("2.5 other") << kestaE << kOther << 2.5 << "3s";
    QTest::newRow("1.5 third") << pelvo << 333 << 1.5 << "1.5s";
    QTest::newRow("1.5 half") << pelvo << 500 << 1.5 << "1.5s";
    QTest::newRow("1.5 other") << kestaA << kOther << 1.5 << "1.5s";
    QTest::newRow("1.6 third") << pelvo << 333 << 1.6 << "1.6s";
    QTest::newRow("1.6 other") << kestaA << kOther << 1.6 << "2s";
    QTest::newRow("1.3 third") << pelvo << 333 << 1.3 << "1.3s";
    QTest::newRow("1.3 half") << pelvo << 500 << 1.3 << "1s";
    QTest::newRow("0.7 half") << pelvo << 500 << 0.7 << "0.7s";
    QTest::newRow("0.7 other") << kestaA << kOther << 0.7 << "0.7s";
    QTest::newRow("0.68 other") << kestaA << kOther << 0.68 << "0.7s";
    QTest::newRow("0.8 third") << pelvo << 333 << 0.8 << "0.8s";
    QTest::newRow("0.6 third") << pelvo << 333 << 0.6 << "0.6s";
    QTest::newRow("0.5 third") << pelvo << 333 << 0.5 << "0.5s";
    QTest::newRow("0.5 half") << pelvo << 500 << 0.5 << "1/2s";
    QTest::newRow("0.5 other") << kestaA << kOther << 0.5 << "1/2s";
    QTest::newRow("0.4 third") << pelvo << 333 << 0.4 << "0.4s";
    QTest::newRow("0.3 third") << pelvo << 333 << 0.3 << "0.3s";
    QTest::newRow("0.31 third") << pelvo << 333 << 0.31 << "0.3s";
    QTest::newRow("0.3 half") << pelvo << 500 << 0.3 << "1/3s";
    QTest::newRow("1 other") << kestaA << kOther << 1.0 << "1s";
    // Too short to write as a fraction.
    QTest::newRow("denormal") << kestaA << kOther << 1e-320 << "";
}

void tst_ConverterShutterTime::toString()
{
    QFETCH(quint32, productId);
    QFETCH(int, step);
    QFETCH(double, seconds);
    QFETCH(QString, text);
    ShutterTime conv(productId);
    conv.setStepSize(step == kOther ? 500 : step);
    QCOMPARE(conv.toString(seconds), text);
}

// Texts from the GUI, a TCP client or a settings file: every one reads as a
// time above 0 or as 0, and none divides by zero.
void tst_ConverterShutterTime::fromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("seconds");

    QTest::newRow("1/125s") << "1/125s" << 1.0 / 125;
    QTest::newRow("4m") << "4m" << 240.0;
    QTest::newRow("2.5s") << "2.5s" << 2.5;
    QTest::newRow("0.3s") << "0.3s" << 0.3;
    QTest::newRow("240s") << "240s" << 240.0;
    QTest::newRow("bare 30") << "30" << 30.0;
    QTest::newRow("bare 1/2") << "1/2" << 0.5;
    QTest::newRow("1.5m") << "1.5m" << 90.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("s") << "s" << 0.0;
    QTest::newRow("m") << "m" << 0.0;
    QTest::newRow("ms") << "ms" << 0.0;
    QTest::newRow("1/") << "1/" << 0.0;
    QTest::newRow("1/s") << "1/s" << 0.0;
    QTest::newRow("1/0") << "1/0" << 0.0;
    QTest::newRow("1/0s") << "1/0s" << 0.0;
    QTest::newRow("1/-5s") << "1/-5s" << 0.0;
    QTest::newRow("1/1e-400") << "1/1e-400" << 0.0;
    QTest::newRow("f ") << "f " << 0.0;
    QTest::newRow("B") << "B" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("4ms") << "4ms" << 0.0;
    QTest::newRow("negative") << "-5s" << 0.0;
    QTest::newRow("zero") << "0s" << 0.0;
    QTest::newRow("overflow") << "1e400" << 0.0;
    QTest::newRow("overflow in minutes") << "1e308m" << 0.0;
    QTest::newRow("nan") << "nan" << 0.0;
    QTest::newRow("inf") << "infs" << 0.0;
    QTest::newRow("huge") << "1e300s" << 1e300;
    QTest::newRow("huge fraction") << "1/1e300" << 1e-300;
    QTest::newRow("non-ASCII") << QString::fromUtf8("\xc2\xbd\x73") << 0.0;
    QTest::newRow("full-width") << QString::fromUtf8("\xef\xbc\x91/\xef\xbc\x91\xef\xbc\x92\xef\xbc\x95s") << 0.0;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << 0.0;
}

void tst_ConverterShutterTime::fromString()
{
    QFETCH(QString, text);
    QFETCH(double, seconds);
    const double read = ShutterTime::fromString(text);
    QCOMPARE(read, seconds);
    // What comes out is safe to convert: 0 has no code and no text.
    ShutterTime conv(ProductIdPelvo);
    QCOMPARE(conv.toCode(read).has_value(), seconds > 0.0);
    QCOMPARE(conv.toString(read).isEmpty(), !(seconds > 0.0));
}

QTEST_GUILESS_MAIN(tst_ConverterShutterTime)
#include "tst_ConverterShutterTime.moc"
