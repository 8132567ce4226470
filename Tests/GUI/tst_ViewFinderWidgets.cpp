// The viewfinder status widgets on their own: which image each label shows
// for the camera's values (read from the path the drawing helper records on
// the label), how the blink timers run, and the shutter button letting go when
// it loses the focus. Blinks are stepped by invoking the widget's timer slot;
// one test lets a real timer fire.

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_GUI_3DAxisDataWidget.h"
#include "OLP_GUI_7SegmentApertureWidget.h"
#include "OLP_GUI_7SegmentFocusConfirmWidget.h"
#include "OLP_GUI_7SegmentLightBalWidget.h"
#include "OLP_GUI_7SegmentLoadCounterWidget.h"
#include "OLP_GUI_7SegmentShutTimeWidget.h"
#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_LoadIndicatorWidget.h"
#include "OLP_GUI_PushButton.h"
#include "OLP_GUI_VFPelvo_LightBalExpCompensWidget.h"
#include "OLP_GUI_ViewFinderKesta.h"
#include "OLP_GUI_ViewFinderPelvo.h"
#include "OLP_Test_Support.h"

namespace {

const QString kRoot = QStringLiteral(":/OLP_GUI/images/");

// The image shown by the label at a path of object names below root
// ("wgt7SegAperture/wgtDigit1/lblDigit"), relative to the image root.
QString imageAt(QObject* root, const QString& path)
{
    QObject* node = root;
    for (const QString& name : path.split(QLatin1Char('/'))) {
        node = node ? node->findChild<QObject*>(name) : nullptr;
    }
    auto* label = qobject_cast<QLabel*>(node);
    if (!label) {
        return QStringLiteral("<no label %1>").arg(path);
    }
    return OLP_GUI_LabelImage::shownPath(label).remove(0, kRoot.size());
}

QTimer* timerOf(QObject* root, const QString& name)
{
    return root->findChild<QTimer*>(name);
}

QString digit(const QString& name)
{
    return QStringLiteral("7Segment/Digit_%1.png").arg(name);
}

QString lightBal(const QString& name)
{
    return QStringLiteral("LightBal/%1.png").arg(name);
}

QString textAt(QObject* root, const QString& name)
{
    auto* label = root->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

// One call on the Kesta viewfinder, for scripted rows.
using Step = std::function<void(OLP_GUI_ViewFinderKesta*)>;
using PelvoStep = std::function<void(OLP_GUI_ViewFinderPelvo*)>;

}  // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(QList<PelvoStep>)

class tst_ViewFinderWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }

    void aperture_data();
    void aperture();
    void shutterTime_data();
    void shutterTime();
    void counters_data();
    void counters();
    void lightBalance_data();
    void lightBalance();
    void lightBalanceInactiveStopsBlink();
    void lightBalanceBlinkRunsOnItsTimer();
    void flash_data();
    void flash();
    void focusConfirmation_data();
    void focusConfirmation();
    void gauge_data();
    void gauge();
    void loadCounter_data();
    void loadCounter();
    void loadIndicator();
    void pelvoImages_data();
    void pelvoImages();
    void pelvoShutterTime_data();
    void pelvoShutterTime();
    void shutterButtonLetsGoOnFocusLoss();
};

void tst_ViewFinderWidgets::aperture_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("point");
    QTest::newRow("f 5.6") << "f 5.6" << digit("5") << digit("6") << "on";
    QTest::newRow("f 11") << "f 11" << digit("1") << digit("1") << "off";
    QTest::newRow("f 8") << "f 8" << digit("8") << digit("0") << "on";
    QTest::newRow("no value") << "--" << digit("null") << digit("null") << "off";
    QTest::newRow("empty") << "" << digit("null") << digit("null") << "off";
}

// Catches a wrong digit order, a lost decimal point and a one-digit f-number
// shown without its ".0".
void tst_ViewFinderWidgets::aperture()
{
    QFETCH(QString, text);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, point);
    OLP_GUI_ViewFinderKesta viewFinder;
    viewFinder.setAperture(text);
    QCOMPARE(imageAt(&viewFinder, "wgt7SegAperture/wgtDigit1/lblDigit"), first);
    QCOMPARE(imageAt(&viewFinder, "wgt7SegAperture/wgtDigit2/lblDigit"), second);
    QCOMPARE(imageAt(&viewFinder, "wgt7SegAperture/lblDot"), QStringLiteral("7Segment/Digit_dot_%1.png").arg(point));
}

void tst_ViewFinderWidgets::shutterTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QStringList>("images");
    QTest::newRow("1/4000s") << "1/4000s"
                             << "4000" << QStringList{digit("4"), digit("0"), digit("0"), digit("0")};
    QTest::newRow("1/125s") << "1/125s"
                            << " 125" << QStringList{digit("null"), digit("1"), digit("2"), digit("5")};
    QTest::newRow("0.3s") << "0.3s"
                          << " 0\"3" << QStringList{digit("null"), digit("0"), digit("inch"), digit("3")};
    QTest::newRow("1.5s") << "1.5s"
                          << " 1\"5" << QStringList{digit("null"), digit("1"), digit("inch"), digit("5")};
    QTest::newRow("30s") << "30s"
                         << " 30\"" << QStringList{digit("null"), digit("3"), digit("0"), digit("inch")};
    QTest::newRow("B") << "B"
                       << "bulb" << QStringList{digit("b"), digit("u"), digit("l"), digit("b")};
}

// Catches a wrong alignment or a notation the camera does not use (1/125 must
// not show its "1/", seconds need the inch sign).
void tst_ViewFinderWidgets::shutterTime()
{
    QFETCH(QString, text);
    QFETCH(QStringList, images);
    QFETCH(QString, digits);
    OLP_GUI_ViewFinderKesta viewFinder;
    viewFinder.setShutterTime(text);
    auto* widget = viewFinder.findChild<OLP_GUI_7SegmentShutTimeWidget*>("wgt7SegShutTime");
    QVERIFY(widget);
    QCOMPARE(widget->shownDigits(), digits);
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(imageAt(widget, QStringLiteral("wgtDigit%1/lblDigit").arg(k + 1)), images.at(k));
    }
}

void tst_ViewFinderWidgets::counters_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QString>("digits");
    auto shutter = [](const QString& t) { return Step([t](OLP_GUI_ViewFinderKesta* v) { v->setShutterTime(t); }); };
    auto bulb = [](int n) { return Step([n](OLP_GUI_ViewFinderKesta* v) { v->setBulbCounter(n); }); };
    auto self = [](int n) { return Step([n](OLP_GUI_ViewFinderKesta* v) { v->setSelfTimerCounter(n); }); };
    QTest::newRow("bulb 5") << QList<Step>{shutter("B"), bulb(5)} << "b  5";
    QTest::newRow("bulb 125") << QList<Step>{bulb(125)} << "b125";
    QTest::newRow("bulb ended keeps the count until the time") << QList<Step>{bulb(12), bulb(-1)} << "b 12";
    QTest::newRow("self-timer 10 hides the shutter time")
        << QList<Step>{shutter("1/60s"), self(10), shutter("1/125s")} << "S 10";
    QTest::newRow("self-timer 2 still hides it") << QList<Step>{self(10), self(2), shutter("1/125s")} << "S  2";
    QTest::newRow("self-timer 1 gives it back") << QList<Step>{self(10), self(1), shutter("1/125s")} << " 125";
}

// Catches a self-timer count overwritten by the next shutter time, and the
// counters shown right-aligned.
void tst_ViewFinderWidgets::counters()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QString, digits);
    OLP_GUI_ViewFinderKesta viewFinder;
    for (const Step& step : steps) {
        step(&viewFinder);
    }
    QCOMPARE(viewFinder.findChild<OLP_GUI_7SegmentShutTimeWidget*>("wgt7SegShutTime")->shownDigits(), digits);
}

void tst_ViewFinderWidgets::lightBalance_data()
{
    QTest::addColumn<int>("exposureMode");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("blinkTimer");
    QTest::addColumn<QString>("blinkImage");
    QTest::newRow("-7 blinks left") << 0 << -7 << lightBal("LightBal-(0.0-Left)") << "tmrLeftBlink"
                                    << lightBal("LightBal");
    QTest::newRow("-6 scale end") << 0 << -6 << lightBal("LightBal-(-3.0)") << ""
                                  << "";
    QTest::newRow("-1") << 0 << -1 << lightBal("LightBal-(-0.5)") << ""
                        << "";
    QTest::newRow("0") << 0 << 0 << lightBal("LightBal") << ""
                       << "";
    QTest::newRow("3") << 0 << 3 << lightBal("LightBal-(+1.5)") << ""
                       << "";
    QTest::newRow("6") << 0 << 6 << lightBal("LightBal-(+3.0)") << ""
                       << "";
    QTest::newRow("7 blinks right") << 0 << 7 << lightBal("LightBal-(0.0-Right)") << "tmrRightBlink"
                                    << lightBal("LightBal");
    QTest::newRow("aperture priority: inactive") << 2 << 7 << lightBal("LightBal-inactive") << ""
                                                 << "";
    QTest::newRow("bulb: inactive") << 4 << -3 << lightBal("LightBal-inactive") << ""
                                    << "";
}

// The scale image per value, and an arrow beyond the scale blinking at 100 ms
// with the plain scale.
void tst_ViewFinderWidgets::lightBalance()
{
    QFETCH(QString, image);
    QFETCH(QString, blinkTimer);
    QFETCH(int, exposureMode);
    QFETCH(int, value);
    QFETCH(QString, blinkImage);
    OLP_GUI_ViewFinderKesta viewFinder;
    viewFinder.setExposureMode(exposureMode);
    viewFinder.setLightBalance(value);
    auto* widget = viewFinder.findChild<OLP_GUI_7SegmentLightBalWidget*>("wgt7SegLightBal");
    QCOMPARE(imageAt(widget, "lblLightBal"), image);
    const QStringList timers{"tmrLeftBlink", "tmrRightBlink"};
    for (const QString& name : timers) {
        QCOMPARE(timerOf(widget, name)->isActive(), name == blinkTimer);
    }
    if (!blinkTimer.isEmpty()) {
        QCOMPARE(timerOf(widget, blinkTimer)->interval(), 100);
        const QByteArray slot = blinkTimer == "tmrLeftBlink" ? "catchLeftBlinkTimer" : "catchRightBlinkTimer";
        QVERIFY(QMetaObject::invokeMethod(widget, slot.constData()));
        QCOMPARE(imageAt(widget, "lblLightBal"), blinkImage);
        QVERIFY(QMetaObject::invokeMethod(widget, slot.constData()));
        QCOMPARE(imageAt(widget, "lblLightBal"), image);
    }
}

// Catches an arrow that keeps blinking over the inactive scale after the
// exposure mode leaves manual.
void tst_ViewFinderWidgets::lightBalanceInactiveStopsBlink()
{
    OLP_GUI_ViewFinderKesta viewFinder;
    auto* widget = viewFinder.findChild<OLP_GUI_7SegmentLightBalWidget*>("wgt7SegLightBal");
    viewFinder.setExposureMode(0);
    viewFinder.setLightBalance(-7);
    QVERIFY(timerOf(widget, "tmrLeftBlink")->isActive());
    viewFinder.setLightBalIsActive(false);
    QVERIFY(!timerOf(widget, "tmrLeftBlink")->isActive());
    QVERIFY(QMetaObject::invokeMethod(widget, "catchLeftBlinkTimer"));
    QCOMPARE(imageAt(widget, "lblLightBal"), lightBal("LightBal-inactive"));
    viewFinder.setLightBalIsActive(true);
    QCOMPARE(imageAt(widget, "lblLightBal"), lightBal("LightBal-(0.0-Left)"));
    QVERIFY(timerOf(widget, "tmrLeftBlink")->isActive());
}

// The one test on a running timer: the left arrow alternates by itself.
void tst_ViewFinderWidgets::lightBalanceBlinkRunsOnItsTimer()
{
    OLP_GUI_ViewFinderKesta viewFinder;
    auto* widget = viewFinder.findChild<OLP_GUI_7SegmentLightBalWidget*>("wgt7SegLightBal");
    viewFinder.setExposureMode(0);
    viewFinder.setLightBalance(-9);
    QTRY_COMPARE_WITH_TIMEOUT(imageAt(widget, "lblLightBal"), lightBal("LightBal"), olpTimeout(2000));
    QTRY_COMPARE_WITH_TIMEOUT(imageAt(widget, "lblLightBal"), lightBal("LightBal-(0.0-Left)"), olpTimeout(2000));
}

void tst_ViewFinderWidgets::flash_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("image");
    QTest::addColumn<bool>("blinks");
    QTest::newRow("charging blinks") << 1 << lightBal("FlashSymbol_on") << true;
    QTest::newRow("ready") << 2 << lightBal("FlashSymbol_on") << false;
    QTest::newRow("off") << 0 << lightBal("FlashSymbol_off") << false;
    QTest::newRow("unknown") << 9 << lightBal("FlashSymbol_off") << false;
}

void tst_ViewFinderWidgets::flash()
{
    QFETCH(QString, image);
    QFETCH(bool, blinks);
    QFETCH(int, status);
    OLP_GUI_ViewFinderKesta viewFinder;
    auto* widget = viewFinder.findChild<OLP_GUI_7SegmentLightBalWidget*>("wgt7SegLightBal");
    viewFinder.setFlashStatus(1);
    viewFinder.setFlashStatus(status);
    QCOMPARE(imageAt(widget, "lblFlashSymbol"), image);
    QCOMPARE(timerOf(widget, "tmrFlashBlink")->isActive(), blinks);
    QVERIFY(QMetaObject::invokeMethod(widget, "catchFlashBlinkTimer"));
    QCOMPARE(imageAt(widget, "lblFlashSymbol"), blinks ? lightBal("FlashSymbol_off") : image);
    if (blinks) {
        QCOMPARE(timerOf(widget, "tmrFlashBlink")->interval(), 250);
    }
}

void tst_ViewFinderWidgets::focusConfirmation_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("badSignal");
    QTest::addColumn<bool>("none");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("afterTick");
    const QString dir = QStringLiteral("FocusConfirmation/FocusConfirmation_%1.png");
    QTest::newRow("-5 right") << -5 << false << false << dir.arg("right") << dir.arg("right");
    QTest::newRow("-1") << -1 << false << false << dir.arg("rightCenter") << dir.arg("rightCenter");
    QTest::newRow("0") << 0 << false << false << dir.arg("center") << dir.arg("center");
    QTest::newRow("1") << 1 << false << false << dir.arg("leftCenter") << dir.arg("leftCenter");
    QTest::newRow("5 left") << 5 << false << false << dir.arg("left") << dir.arg("left");
    QTest::newRow("bad signal blinks") << 3 << true << false << dir.arg("center") << dir.arg("none");
    QTest::newRow("none wins") << 3 << true << true << dir.arg("none") << dir.arg("none");
}

void tst_ViewFinderWidgets::focusConfirmation()
{
    QFETCH(bool, badSignal);
    QFETCH(int, value);
    QFETCH(bool, none);
    QFETCH(QString, image);
    QFETCH(QString, afterTick);
    OLP_GUI_ViewFinderKesta viewFinder;
    auto* widget = viewFinder.findChild<OLP_GUI_7SegmentFocusConfirmWidget*>("wgt7SegFocusConfirm");
    viewFinder.setFocusConfirmation(value);
    viewFinder.setFocusConfirmBadSig(badSignal);
    if (none) {
        viewFinder.setNoFocusConfirmation();
    }
    QCOMPARE(imageAt(widget, "lblFocusConfirm"), image);
    QCOMPARE(timerOf(widget, "tmrBlink")->isActive(), badSignal);
    QCOMPARE(timerOf(widget, "tmrBlink")->interval(), 64);
    QVERIFY(QMetaObject::invokeMethod(widget, "catchBlinkTimer"));
    QCOMPARE(imageAt(widget, "lblFocusConfirm"), afterTick);
}

void tst_ViewFinderWidgets::gauge_data()
{
    QTest::addColumn<QList<QPointF>>("angles");  // (roll, pitch) in the order they arrive
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("vertical");
    const QString h = QStringLiteral("3DAxis/3DAxis_Horizontal_%1.png");
    const QString v = QStringLiteral("3DAxis/3DAxis_Vertikal_%1.png");
    QTest::newRow("level") << QList<QPointF>{{0.0, 0.0}} << h.arg(4) << v.arg(4);
    QTest::newRow("roll 0.5 is level") << QList<QPointF>{{0.5, 0.0}} << h.arg(4) << v.arg(4);
    QTest::newRow("roll 0.51") << QList<QPointF>{{0.51, 0.0}} << h.arg(3) << v.arg(4);
    QTest::newRow("roll 3") << QList<QPointF>{{3.0, 0.0}} << h.arg(2) << v.arg(4);
    QTest::newRow("roll -4") << QList<QPointF>{{-4.0, 1.0}} << h.arg(6) << v.arg(3);
    QTest::newRow("roll -7") << QList<QPointF>{{-7.0, -3.0}} << h.arg(7) << v.arg(6);
    QTest::newRow("pitch 7 near level") << QList<QPointF>{{1.0, 7.0}} << h.arg(3) << v.arg(8);
    QTest::newRow("pitch 7 tilted") << QList<QPointF>{{8.0, 7.0}} << h.arg(1) << v.arg(1);
    QTest::newRow("pitch -7 near level") << QList<QPointF>{{0.0, -7.0}} << h.arg(4) << v.arg(9);
    QTest::newRow("pitch -7 tilted") << QList<QPointF>{{-8.0, -7.0}} << h.arg(7) << v.arg(7);
    QTest::newRow("roll 12 second update blinks") << QList<QPointF>{{12.0, 0.0}, {12.0, 0.0}} << h.arg(10) << v.arg(4);
    QTest::newRow("pitch 12 second update blinks") << QList<QPointF>{{0.0, 12.0}, {0.0, 12.0}} << h.arg(4) << v.arg(4);
    QTest::newRow("roll 170 keeps the pair") << QList<QPointF>{{3.0, -1.0}, {170.0, 8.0}} << h.arg(2) << v.arg(5);
    QTest::newRow("not a number keeps the pair") << QList<QPointF>{{3.0, -1.0}, {qQNaN(), 0.0}} << h.arg(2) << v.arg(5);
}

// Catches bands off by one at their edges, the near-level choice of the
// vertical scale, and an upside-down camera drawn as a wild tilt.
void tst_ViewFinderWidgets::gauge()
{
    QFETCH(QList<QPointF>, angles);
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);
    OLP_GUI_ViewFinderKesta viewFinder;
    for (const QPointF& a : angles) {
        viewFinder.set3DAxisAngles(a.x(), a.y());
    }
    QCOMPARE(imageAt(&viewFinder, "wgt3DAxisData/lblHorizontal"), horizontal);
    QCOMPARE(imageAt(&viewFinder, "wgt3DAxisData/lblVertical"), vertical);
}

void tst_ViewFinderWidgets::loadCounter_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("tens");
    QTest::addColumn<QString>("ones");
    QTest::newRow("0") << 0 << "grey_eight"
                       << "grey_eight";
    QTest::newRow("-3") << -3 << "grey_eight"
                        << "grey_eight";
    QTest::newRow("5") << 5 << "0"
                       << "5";
    QTest::newRow("42") << 42 << "4"
                        << "2";
    QTest::newRow("150") << 150 << "9"
                         << "9";
}

void tst_ViewFinderWidgets::loadCounter()
{
    QFETCH(int, value);
    QFETCH(QString, tens);
    QFETCH(QString, ones);
    OLP_GUI_7SegmentLoadCounterWidget counter;
    counter.setValue(17);
    counter.setValue(value);
    QCOMPARE(imageAt(&counter, "wgtDigit1/lblDigit"), QStringLiteral("7SegmentLoad/%1.png").arg(tens));
    QCOMPARE(imageAt(&counter, "wgtDigit2/lblDigit"), QStringLiteral("7SegmentLoad/%1.png").arg(ones));
}

// Frames 1 to 5 and round again while loading, frame 0 when done.
void tst_ViewFinderWidgets::loadIndicator()
{
    OLP_GUI_LoadIndicatorWidget indicator;
    auto shown = [&] { return OLP_GUI_LabelImage::shownPath(&indicator).remove(0, kRoot.size()); };
    QCOMPARE(shown(), QStringLiteral("LoadEffect/LoadEffectDefault.png"));
    indicator.setLoading(true);
    QTimer* timer = timerOf(&indicator, "tmrLoadImage");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 100);
    QStringList frames;
    for (int i = 0; i < 6; ++i) {
        QVERIFY(QMetaObject::invokeMethod(&indicator, "catchLoadImageTimer"));
        frames << shown();
    }
    QCOMPARE(frames,
             (QStringList{"LoadEffect/LoadEffect1.png", "LoadEffect/LoadEffect2.png", "LoadEffect/LoadEffect3.png",
                          "LoadEffect/LoadEffect4.png", "LoadEffect/LoadEffect5.png", "LoadEffect/LoadEffect1.png"}));
    indicator.setLoading(false);
    QVERIFY(!timer->isActive());
    QCOMPARE(shown(), QStringLiteral("LoadEffect/LoadEffectDefault.png"));
}

void tst_ViewFinderWidgets::pelvoImages_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("exposureMode");
    QTest::addColumn<int>("exposCompens");
    QTest::addColumn<int>("lightBalance");
    QTest::addColumn<QString>("expComp");
    QTest::addColumn<QString>("lightBal");
    QTest::addColumn<QString>("mode");
    const QString ec = QStringLiteral("ViewFinderPelvo/ExpComp/VFPelvo_ExpComp_%1.png");
    const QString lb = QStringLiteral("ViewFinderPelvo/LightBal/VFPelvo_LightBal_%1.png");
    const QString md = QStringLiteral("ViewFinderPelvo/expMode/VFPelvo_expMode_%1.png");
    QTest::newRow("thirds +1/3") << 333 << 0 << 333 << 1 << ec.arg("+0.3_(333)") << lb.arg("+0.3_(333)") << md.arg("M");
    QTest::newRow("thirds -2/3") << 333 << 0 << -667 << -2 << ec.arg("-0.7_(333)") << lb.arg("-0.7_(333)")
                                 << md.arg("M");
    QTest::newRow("thirds end") << 333 << 0 << 3000 << 9 << ec.arg("+3.0_(333)") << lb.arg("+3.0_(333)") << md.arg("M");
    QTest::newRow("thirds over") << 333 << 0 << 0 << 10 << ec.arg("0.0_(333)") << lb.arg("over_(333)") << md.arg("M");
    QTest::newRow("thirds under") << 333 << 0 << 0 << -10 << ec.arg("0.0_(333)") << lb.arg("under_(333)")
                                  << md.arg("M");
    QTest::newRow("halves") << 500 << 0 << -1500 << 3 << ec.arg("-1.5_(500)") << lb.arg("+1.5_(500)") << md.arg("M");
    QTest::newRow("halves over") << 500 << 0 << 500 << 7 << ec.arg("+0.5_(500)") << lb.arg("over_(500)") << md.arg("M");
    QTest::newRow("halves under") << 500 << 0 << 0 << -7 << ec.arg("0.0_(500)") << lb.arg("under_(500)") << md.arg("M");
    QTest::newRow("bulb is M") << 333 << 4 << 0 << 2 << ec.arg("0.0_(333)") << lb.arg("inact_(333)") << md.arg("M");
    QTest::newRow("aperture priority inactive")
        << 500 << 2 << 0 << 2 << ec.arg("0.0_(500)") << lb.arg("inact_(500)") << md.arg("A");
    QTest::newRow("shutter priority") << 333 << 1 << 0 << 0 << ec.arg("0.0_(333)") << lb.arg("inact_(333)")
                                      << md.arg("S");
    QTest::newRow("program") << 333 << 3 << 0 << 0 << ec.arg("0.0_(333)") << lb.arg("inact_(333)") << md.arg("P");
    QTest::newRow("mode 5") << 333 << 5 << 0 << 0 << ec.arg("0.0_(333)") << lb.arg("inact_(333)") << md.arg("Pstar");
    QTest::newRow("unknown mode") << 333 << 9 << 0 << 0 << ec.arg("0.0_(333)") << lb.arg("inact_(333)") << "";
}

// Catches stops counted in the wrong unit (thirds against halves), a step
// change that does not redraw, and the scale left active outside manual.
void tst_ViewFinderWidgets::pelvoImages()
{
    QFETCH(int, exposCompens);
    QFETCH(int, lightBalance);
    QFETCH(int, exposureMode);
    QFETCH(int, step);
    QFETCH(QString, expComp);
    QFETCH(QString, lightBal);
    QFETCH(QString, mode);
    OLP_GUI_ViewFinderPelvo viewFinder;
    viewFinder.setExposCompens(exposCompens);
    viewFinder.setLightBalance(lightBalance);
    viewFinder.setExposureMode(exposureMode);
    viewFinder.setExposCompensStep(step);
    auto* middle = viewFinder.findChild<QWidget*>("wgtLightBalExpCompens");
    QCOMPARE(imageAt(middle, "lblExpComp"), expComp);
    QCOMPARE(imageAt(middle, "lblLightBal"), lightBal);
    QCOMPARE(imageAt(&viewFinder, "wgtExpMode/lblExpMode"), mode);
}

void tst_ViewFinderWidgets::pelvoShutterTime_data()
{
    QTest::addColumn<QList<PelvoStep>>("steps");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("unit");
    auto shutter = [](const QString& t) {
        return PelvoStep([t](OLP_GUI_ViewFinderPelvo* v) { v->setShutterTime(t); });
    };
    auto bulb = [](int n) { return PelvoStep([n](OLP_GUI_ViewFinderPelvo* v) { v->setBulbCounter(n); }); };
    auto sim = [](int n) { return PelvoStep([n](OLP_GUI_ViewFinderPelvo* v) { v->setExposureSimulation(n); }); };
    const QString u = QStringLiteral("ViewFinderPelvo/expSim/VFPelvo_%1_expSim_%2.png");
    QTest::newRow("seconds") << QList<PelvoStep>{shutter("1/250s")} << "1/250" << u.arg("S", "off");
    QTest::newRow("seconds, simulation") << QList<PelvoStep>{sim(2), shutter("0.3s")} << "0.3" << u.arg("S", "on");
    QTest::newRow("minutes") << QList<PelvoStep>{shutter("4m")} << "4" << u.arg("m", "off");
    QTest::newRow("minutes, simulation") << QList<PelvoStep>{shutter("4m"), sim(3)} << "4" << u.arg("m", "on");
    QTest::newRow("minutes back to seconds")
        << QList<PelvoStep>{shutter("4m"), shutter("30s")} << "30" << u.arg("S", "off");
    QTest::newRow("bulb") << QList<PelvoStep>{sim(2), shutter("B")} << "B"
                          << "";
    QTest::newRow("bulb running") << QList<PelvoStep>{shutter("B"), bulb(12)} << "12" << u.arg("S", "off");
    QTest::newRow("bulb running keeps its count")
        << QList<PelvoStep>{bulb(12), shutter("B")} << "12" << u.arg("S", "off");
    QTest::newRow("bulb ended") << QList<PelvoStep>{bulb(12), shutter("B"), bulb(-1)} << "B"
                                << "";
}

void tst_ViewFinderWidgets::pelvoShutterTime()
{
    QFETCH(QList<PelvoStep>, steps);
    QFETCH(QString, text);
    QFETCH(QString, unit);
    OLP_GUI_ViewFinderPelvo viewFinder;
    for (const auto& step : steps) {
        step(&viewFinder);
    }
    auto* widget = viewFinder.findChild<QWidget*>("wgtShutTime");
    QCOMPARE(textAt(widget, "lblShutTime"), text);
    QCOMPARE(imageAt(widget, "lblUnit"), unit);
}

// Catches a shutter left pressed when a window takes the focus while the
// button is held: exactly one released(), none more at the mouse release.
void tst_ViewFinderWidgets::shutterButtonLetsGoOnFocusLoss()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new OLP_GUI_PushButton(&window);
    button->setText(QStringLiteral("Release"));
    auto* edit = new QLineEdit(&window);
    layout->addWidget(button);
    layout->addWidget(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window, olpTimeout(5000)));
    button->setFocus();
    QSignalSpy pressed(button, &QPushButton::pressed);
    QSignalSpy released(button, &QPushButton::released);
    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
    QVERIFY(button->isPressed());
    edit->setFocus();
    QTRY_VERIFY_WITH_TIMEOUT(edit->hasFocus(), olpTimeout(2000));
    QCOMPARE(released.count(), 1);
    QVERIFY(!button->isDown());
    QTest::mouseRelease(button, Qt::LeftButton);
    QCOMPARE(released.count(), 1);
}

QTEST_MAIN(tst_ViewFinderWidgets)
#include "tst_ViewFinderWidgets.moc"
