#include <QtTest>
#include <limits>

#include "OLP_Logic_ConverterFocusDistance.h"
#include "OLP_Test_Support.h"

using FocusDistance = OLP_Logic_ConverterFocusDistance;

class tst_ConverterFocusDistance : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void toString_data();
    void toString();
    void fromString_data();
    void fromString();
    void textRoundTrip_data();
    void textRoundTrip();
    void fromMetres_data();
    void fromMetres();
    void lensLimits();
};

void tst_ConverterFocusDistance::toString_data()
{
    QTest::addColumn<int>("millimetres");
    QTest::addColumn<bool>("feet");
    QTest::addColumn<QString>("text");

    QTest::newRow("12345 mm") << 12345 << false << "12.3";
    QTest::newRow("2500 mm in feet") << 2500 << true << "8.20";
    QTest::newRow("1 m") << 1000 << false << "1.00";
    QTest::newRow("9.99 m") << 9990 << false << "9.99";
    QTest::newRow("10 m") << 10000 << false << "10.0";
    QTest::newRow("10 ft") << 3048 << true << "10.0";
    QTest::newRow("0 mm") << 0 << false << "0.00";
    QTest::newRow("error") << -1 << false << "Error";
    QTest::newRow("error in feet") << -1 << true << "Error";
    QTest::newRow("infinity") << 2147483647 << false << "Infinity";
    QTest::newRow("infinity in feet") << 2147483647 << true << "Infinity";
    QTest::newRow("just below infinity") << 2147483646 << false << "2147483.6";
}

void tst_ConverterFocusDistance::toString()
{
    QFETCH(int, millimetres);
    QFETCH(bool, feet);
    QFETCH(QString, text);
    QCOMPARE(FocusDistance::toString(millimetres, feet), text);
}

// Typed distances: anything that is not a distance above 0 that fits is
// "Error" (-1), never a bogus lens position.
void tst_ConverterFocusDistance::fromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("feet");
    QTest::addColumn<int>("millimetres");

    QTest::newRow("Infinity") << "Infinity" << false << 2147483647;
    QTest::newRow("Infinity in feet") << "Infinity" << true << 2147483647;
    QTest::newRow("Error") << "Error" << false << -1;
    QTest::newRow("12.3 m") << "12.3" << false << 12300;
    QTest::newRow("8.20 ft") << "8.20" << true << 2499;
    QTest::newRow("1 ft") << "1" << true << 305;
    QTest::newRow("0.25 m") << "0.25" << false << 250;
    QTest::newRow("zero") << "0" << false << -1;
    QTest::newRow("negative") << "-3" << false << -1;
    QTest::newRow("empty") << "" << false << -1;
    QTest::newRow("letters") << "far" << false << -1;
    QTest::newRow("lowercase infinity") << "infinity" << false << -1;
    QTest::newRow("inf") << "inf" << false << -1;
    QTest::newRow("nan") << "nan" << false << -1;
    QTest::newRow("overflow") << "1e400" << false << -1;
    QTest::newRow("too far") << "3e6" << false << -1;
    QTest::newRow("too far in feet") << "8e6" << true << -1;
    QTest::newRow("just fits") << "2147483.646" << false << 2147483646;
    QTest::newRow("non-ASCII") << QString::fromUtf8("\xe2\x88\x9e") << false << -1;
}

void tst_ConverterFocusDistance::fromString()
{
    QFETCH(QString, text);
    QFETCH(bool, feet);
    QFETCH(int, millimetres);
    QCOMPARE(FocusDistance::fromString(text, feet), millimetres);
}

void tst_ConverterFocusDistance::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("feet");
    for (const char* text : {"12.3", "1.00", "0.50", "9.99", "25.0", "Infinity", "Error"}) {
        QTest::addRow("%s m", text) << QString(text) << false;
    }
    for (const char* text : {"8.20", "1.00", "3.30", "33.0", "Infinity", "Error"}) {
        QTest::addRow("%s ft", text) << QString(text) << true;
    }
}

// A text shown to the user reads back as a distance that shows as the same text.
void tst_ConverterFocusDistance::textRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(bool, feet);
    QCOMPARE(FocusDistance::toString(FocusDistance::fromString(text, feet), feet), text);
}

void tst_ConverterFocusDistance::fromMetres_data()
{
    QTest::addColumn<double>("metres");
    QTest::addColumn<int>("millimetres");
    QTest::newRow("12.3") << 12.3 << 12300;
    QTest::newRow("0.25") << 0.25 << 250;
    QTest::newRow("0.0004 rounds to 0") << 0.0004 << 0;
    QTest::newRow("999999.999") << 999999.999 << 999999999;
    QTest::newRow("1000 km") << 1000000.0 << 2147483647;
    QTest::newRow("0") << 0.0 << -1;
    QTest::newRow("negative") << -2.0 << -1;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << -1;
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << 2147483647;
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << -1;
}

void tst_ConverterFocusDistance::fromMetres()
{
    QFETCH(double, metres);
    QFETCH(int, millimetres);
    QCOMPARE(FocusDistance::fromMetres(metres), millimetres);
}

void tst_ConverterFocusDistance::lensLimits()
{
    FocusDistance conv;
    conv.setMaxDistance(FocusDistance::kDistanceInfinity);
    conv.setMinDistance(700);
    QCOMPARE(conv.maximumDistance(), 2147483647);
    QCOMPARE(conv.minimumDistance(), 700);
    // The limits do not clamp conversions.
    QCOMPARE(FocusDistance::fromString("0.5", false), 500);
}

QTEST_GUILESS_MAIN(tst_ConverterFocusDistance)
#include "tst_ConverterFocusDistance.moc"
