#include <QtTest>
#include <cmath>
#include <limits>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_APEXConverterAperture.h"
#include "OLP_Test_Support.h"

using Aperture = OLP_Logic_APEXConverterAperture;

namespace {

struct Mark
{
    int code;
    double fNumber;
};

// The grids a ProductIdPelvo camera marks, transcribed entry by entry.
const QVector<Mark> kPelvoThirds = {
    {0, 1.0},    {86, 1.1},   {171, 1.2},  {256, 1.4},  {342, 1.6},  {427, 1.8},  {512, 2.0},  {598, 2.2},
    {683, 2.5},  {768, 2.8},  {854, 3.2},  {938, 3.5},  {1024, 4.0}, {1110, 4.5}, {1195, 5.0}, {1280, 5.6},
    {1366, 6.3}, {1451, 7.1}, {1536, 8.0}, {1622, 9.0}, {1707, 10},  {1792, 11},  {1878, 13},  {1963, 14},
    {2048, 16},  {2134, 18},  {2219, 20},  {2304, 22},  {2390, 25},  {2475, 28},  {2560, 32}};
const QVector<Mark> kPelvoHalves = {{0, 1.0},    {128, 1.2},  {256, 1.4},  {384, 1.7},  {512, 2.0},  {640, 2.4},
                                    {768, 2.8},  {924, 3.5},  {1024, 4.0}, {1152, 4.8}, {1280, 5.6}, {1408, 6.8},
                                    {1536, 8.0}, {1664, 9.5}, {1792, 11},  {1920, 13},  {2048, 16},  {2176, 19},
                                    {2304, 22},  {2432, 27},  {2560, 32}};

}  // namespace

Q_DECLARE_METATYPE(QVector<Mark>)

class tst_ConverterAperture : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    // The map is process-wide: every test starts from a camera without one.
    void init()
    {
        Aperture::setStepSize(500);
        Aperture::setProductId(ProductIdSeventh);
    }
    void cleanupTestCase() { init(); }

    void pelvoMaps_data();
    void pelvoMaps();
    void noMapForOtherProducts_data();
    void noMapForOtherProducts();
    void unknownStepSize();
    void rebuildOnlyOnChange();

    void formula_data();
    void formula();
    void nearestCode_data();
    void nearestCode();
    void farAv();
    void nearestInLogDistance();
    void invalidFNumber_data();
    void invalidFNumber();

    void toString_data();
    void toString();
    void fromString_data();
    void fromString();
    void formulaTextRoundTrip_data();
    void formulaTextRoundTrip();
};

void tst_ConverterAperture::pelvoMaps_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QVector<Mark>>("marks");
    QTest::newRow("third stops") << 333 << kPelvoThirds;
    QTest::newRow("half stops") << 500 << kPelvoHalves;
}

// Every mark of each grid: code -> f-number, f-number -> code, and the text
// round trip text -> f-number -> text.
void tst_ConverterAperture::pelvoMaps()
{
    QFETCH(int, step);
    QFETCH(QVector<Mark>, marks);

    Aperture::setProductId(ProductIdPelvo);
    Aperture::setStepSize(step);
    const QMap<int, double> map = Aperture::convertMap();
    QCOMPARE(map.size(), marks.size());
    int i = 0;
    for (auto it = map.cbegin(); it != map.cend(); ++it, ++i) {
        QCOMPARE(it.key(), marks.at(i).code);
        QCOMPARE(it.value(), marks.at(i).fNumber);
    }
    for (const Mark& mark : marks) {
        QCOMPARE(Aperture::toFNumber(mark.code), mark.fNumber);
        QCOMPARE(Aperture::toCode(mark.fNumber).value_or(-1), qint16(mark.code));
        QCOMPARE(Aperture::avFromFNumber(mark.fNumber).value_or(-1), mark.code / 256.0);
        const QString text = Aperture::toString(mark.fNumber);
        QCOMPARE(Aperture::toString(Aperture::fromString(text)), text);
        QCOMPARE(Aperture::toCode(Aperture::fromString(text)).value_or(-1), qint16(mark.code));
    }
}

void tst_ConverterAperture::noMapForOtherProducts_data()
{
    QTest::addColumn<quint32>("productId");
    QTest::newRow("KestaA") << quint32(ProductIdKestaA);
    QTest::newRow("KestaB") << quint32(ProductIdKestaB);
    QTest::newRow("KestaC") << quint32(ProductIdKestaC);
    QTest::newRow("KestaD") << quint32(ProductIdKestaD);
    QTest::newRow("KestaE") << quint32(ProductIdKestaE);
    QTest::newRow("Seventh") << quint32(ProductIdSeventh);
}

void tst_ConverterAperture::noMapForOtherProducts()
{
    QFETCH(quint32, productId);
    Aperture::setProductId(ProductIdPelvo);
    QVERIFY(!Aperture::convertMap().isEmpty());

    OLP_Test_LogCapture log;
    Aperture::setProductId(productId);
    Aperture::setStepSize(333);
    QVERIFY(Aperture::convertMap().isEmpty());
    QCOMPARE(log.count("unknown step size"), 0);
    // The formula applies: 1200 would be f/5.0 on the grid.
    QCOMPARE(Aperture::toFNumber(1200), 5.1);
}

void tst_ConverterAperture::unknownStepSize()
{
    Aperture::setProductId(ProductIdPelvo);
    OLP_Test_LogCapture log;
    Aperture::setStepSize(1000);
    QCOMPARE(log.count("OLP_Logic_APEXConverterAperture::initConvertMap - unknown step size 1000"), 1);
    QVERIFY(Aperture::convertMap().isEmpty());
    // Without a map the formula answers.
    QCOMPARE(Aperture::toFNumber(1280), 5.6);
    QCOMPARE(Aperture::toCode(8.0).value_or(-1), qint16(1536));
}

void tst_ConverterAperture::rebuildOnlyOnChange()
{
    OLP_Test_LogCapture log;
    Aperture::setProductId(ProductIdPelvo);
    Aperture::setStepSize(1000);
    Aperture::setStepSize(1000);
    Aperture::setProductId(ProductIdPelvo);
    QCOMPARE(log.count("unknown step size 1000"), 1);
    QCOMPARE(Aperture::productId(), quint32(ProductIdPelvo));
    QCOMPARE(Aperture::stepSize(), 1000);

    Aperture::setStepSize(333);
    QCOMPARE(Aperture::convertMap().size(), 31);
    Aperture::setProductId(ProductIdKestaD);
    QVERIFY(Aperture::convertMap().isEmpty());
    Aperture::setProductId(ProductIdPelvo);
    QCOMPARE(Aperture::convertMap().size(), 31);
}

// Without a map: f = 2^(Av/2), rounded to 0.1 and then to the marked f-numbers.
void tst_ConverterAperture::formula_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("fNumber");

    QTest::newRow("Av 0") << 0 << 1.0;
    QTest::newRow("Av 0.5") << 128 << 1.2;
    QTest::newRow("Av 1") << 256 << 1.4;
    QTest::newRow("Av 1.5") << 384 << 1.7;
    QTest::newRow("Av 2") << 512 << 2.0;
    QTest::newRow("Av 3") << 768 << 2.8;
    QTest::newRow("Av 3.5 (3.36 -> 3.4)") << 896 << 3.4;
    QTest::newRow("Av 4") << 1024 << 4.0;
    QTest::newRow("Av 4.5") << 1152 << 4.8;
    QTest::newRow("Av 5 (5.7 -> 5.6)") << 1280 << 5.6;
    QTest::newRow("third stop 6.3") << 1365 << 6.3;
    QTest::newRow("6.4 -> 6.3") << 1371 << 6.3;
    QTest::newRow("6.7 -> 6.8") << 1408 << 6.8;
    QTest::newRow("7.1") << 1451 << 7.1;
    QTest::newRow("Av 6") << 1536 << 8.0;
    QTest::newRow("9.5") << 1664 << 9.5;
    QTest::newRow("10.1 -> 10") << 1707 << 10.0;
    QTest::newRow("11.3 -> 11") << 1792 << 11.0;
    QTest::newRow("12.5 -> 13") << 1866 << 13.0;
    QTest::newRow("13.5 -> 13") << 1920 << 13.0;
    QTest::newRow("Av 8") << 2048 << 16.0;
    QTest::newRow("22.6 -> 22") << 2304 << 22.0;
    QTest::newRow("26.9 -> 27") << 2432 << 27.0;
    QTest::newRow("Av 10") << 2560 << 32.0;
    QTest::newRow("Av -1") << -256 << 0.7;
}

void tst_ConverterAperture::formula()
{
    QFETCH(int, code);
    QFETCH(double, fNumber);
    QCOMPARE(Aperture::toFNumber(code), fNumber);
    QCOMPARE(Aperture::fNumberFromAv(code / 256.0), fNumber);
}

// With a map the nearest code wins, the lower one on a tie, also for codes
// far outside the grid (a 16-bit difference would wrap around there).
void tst_ConverterAperture::nearestCode_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("fNumber");

    QTest::newRow("1200 -> 1195") << 333 << 1200 << 5.0;
    QTest::newRow("tie 43 -> 0") << 333 << 43 << 1.0;
    QTest::newRow("44 -> 86") << 333 << 44 << 1.1;
    QTest::newRow("896 -> 924") << 500 << 896 << 3.5;
    QTest::newRow("tie 846 -> 768") << 500 << 846 << 2.8;
    QTest::newRow("847 -> 924") << 500 << 847 << 3.5;
    QTest::newRow("32767") << 333 << 32767 << 32.0;
    QTest::newRow("-32768") << 333 << -32768 << 1.0;
    QTest::newRow("-32768 half") << 500 << -32768 << 1.0;
    QTest::newRow("int max") << 500 << std::numeric_limits<int>::max() << 32.0;
    QTest::newRow("int min") << 500 << std::numeric_limits<int>::min() << 1.0;
}

// Aperture values from arithmetic (the list builder steps Av) may lie far off.
void tst_ConverterAperture::farAv()
{
    Aperture::setProductId(ProductIdPelvo);
    QCOMPARE(Aperture::fNumberFromAv(1e300), 32.0);
    QCOMPARE(Aperture::fNumberFromAv(-1e300), 1.0);
    QCOMPARE(Aperture::fNumberFromAv(std::numeric_limits<double>::quiet_NaN()), 0.0);
    Aperture::setProductId(ProductIdSeventh);
    QCOMPARE(Aperture::fNumberFromAv(1e300), 0.0);
    QCOMPARE(Aperture::fNumberFromAv(-1e300), 0.0);
    QCOMPARE(Aperture::fNumberFromAv(std::numeric_limits<double>::infinity()), 0.0);
}

void tst_ConverterAperture::nearestCode()
{
    QFETCH(int, step);
    QFETCH(int, code);
    QFETCH(double, fNumber);
    Aperture::setProductId(ProductIdPelvo);
    Aperture::setStepSize(step);
    QCOMPARE(Aperture::toFNumber(code), fNumber);
}

// f/5.3 lies nearer to f/5.6 than to f/5.0 in stops, though not in plain numbers.
void tst_ConverterAperture::nearestInLogDistance()
{
    Aperture::setProductId(ProductIdPelvo);
    Aperture::setStepSize(333);
    QCOMPARE(Aperture::toCode(5.3).value_or(-1), qint16(1280));
    QCOMPARE(Aperture::toCode(5.2).value_or(-1), qint16(1195));
    QCOMPARE(Aperture::toCode(0.5).value_or(-1), qint16(0));
    QCOMPARE(Aperture::toCode(90.0).value_or(-1), qint16(2560));
}

// An f-number of 0 or less has no aperture value: 2 x log2(0) is minus
// infinity, and a code made from it would be garbage sent to the camera.
void tst_ConverterAperture::invalidFNumber_data()
{
    QTest::addColumn<bool>("withMap");
    QTest::addColumn<double>("fNumber");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (bool withMap : {false, true}) {
        const char* m = withMap ? "map" : "formula";
        QTest::addRow("%s 0", m) << withMap << 0.0;
        QTest::addRow("%s -0", m) << withMap << -0.0;
        QTest::addRow("%s -2.8", m) << withMap << -2.8;
        QTest::addRow("%s NaN", m) << withMap << nan;
        QTest::addRow("%s inf", m) << withMap << inf;
        QTest::addRow("%s -inf", m) << withMap << -inf;
    }
    // Codes beyond the 16-bit field.
    QTest::newRow("formula 1e30") << false << 1e30;
    QTest::newRow("formula 1e-30") << false << 1e-30;
}

void tst_ConverterAperture::invalidFNumber()
{
    QFETCH(bool, withMap);
    QFETCH(double, fNumber);
    if (withMap) {
        Aperture::setProductId(ProductIdPelvo);
    }
    QCOMPARE(Aperture::convertMap().isEmpty(), !withMap);
    QVERIFY(!Aperture::toCode(fNumber).has_value());
    if (!(fNumber > 0.0) || std::isinf(fNumber)) {
        QVERIFY(!Aperture::avFromFNumber(fNumber).has_value());
        QCOMPARE(Aperture::toString(fNumber), QString());
    }
}

void tst_ConverterAperture::toString_data()
{
    QTest::addColumn<double>("fNumber");
    QTest::addColumn<QString>("text");
    QTest::newRow("8") << 8.0 << "f 8";
    QTest::newRow("5.6") << 5.6 << "f 5.6";
    QTest::newRow("1") << 1.0 << "f 1";
    QTest::newRow("11") << 11.0 << "f 11";
    QTest::newRow("22.6") << 22.6 << "f 22.6";
    QTest::newRow("3.46 one decimal") << 3.46 << "f 3.5";
    QTest::newRow("0.7") << 0.7 << "f 0.7";
}

void tst_ConverterAperture::toString()
{
    QFETCH(double, fNumber);
    QFETCH(QString, text);
    QCOMPARE(Aperture::toString(fNumber), text);
}

// Whatever the user or a settings file hands in reads as a number or as 0.
void tst_ConverterAperture::fromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("fNumber");
    QTest::newRow("f 5.6") << "f 5.6" << 5.6;
    QTest::newRow("f 8") << "f 8" << 8.0;
    QTest::newRow("bare 11") << "11" << 11.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("f only") << "f " << 0.0;
    QTest::newRow("f without blank") << "f5.6" << 0.0;
    QTest::newRow("capital F") << "F 5.6" << 0.0;
    QTest::newRow("letters") << "f abc" << 0.0;
    QTest::newRow("negative") << "f -2.8" << 0.0;
    QTest::newRow("zero") << "f 0" << 0.0;
    QTest::newRow("overflow") << "f 1e400" << 0.0;
    QTest::newRow("nan") << "f nan" << 0.0;
    QTest::newRow("inf") << "inf" << 0.0;
    QTest::newRow("full-width digits") << QString::fromUtf8("f \xef\xbc\x95.\xef\xbc\x96") << 0.0;
    QTest::newRow("non-ASCII") << QString::fromUtf8("\xc6\x92 5.6") << 0.0;
    QTest::newRow("huge") << "f 1e300" << 1e300;
}

void tst_ConverterAperture::fromString()
{
    QFETCH(QString, text);
    QFETCH(double, fNumber);
    const double f = Aperture::fromString(text);
    QCOMPARE(f, fNumber);
    // Whatever came out converts without a bogus code: 0 has none.
    QCOMPARE(Aperture::toCode(f).has_value(), f > 0.0 && f < 1e19);
}

void tst_ConverterAperture::formulaTextRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::newRow("f 1") << "f 1" << 0;
    QTest::newRow("f 1.4") << "f 1.4" << 249;
    QTest::newRow("f 2.8") << "f 2.8" << 761;
    QTest::newRow("f 5.6") << "f 5.6" << 1273;
    QTest::newRow("f 8") << "f 8" << 1536;
    QTest::newRow("f 11") << "f 11" << 1771;
}

// Without a map a text turns into a code and back into the same text.
void tst_ConverterAperture::formulaTextRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    const std::optional<qint16> c = Aperture::toCode(Aperture::fromString(text));
    QVERIFY(c.has_value());
    QCOMPARE(int(*c), code);
    QCOMPARE(Aperture::toString(Aperture::toFNumber(*c)), text);
}

QTEST_GUILESS_MAIN(tst_ConverterAperture)
#include "tst_ConverterAperture.moc"
