// Mouse events go through the window system, so a drag carries its buttons.
#define QTEST_QPA_MOUSE_HANDLING
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "OLP_GUI_FocusDistanceWidget.h"
#include "OLP_Test_Support.h"

// The manual focus distance widget on its own: where the slider puts a
// distance, what a drag and a typed text send, and what the field shows.
// Timers are stepped by invoking their slots; each test checks the interval
// the timer was started with.
class tst_FocusDistance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { olpTestInit(); }
    void init();
    void cleanup();

    void sliderCurve_data();
    void sliderCurve();
    void dragSendsAtMostOnePerTick();
    void dragToTheEndSendsInfinity();
    void grooveClickJumps();
    void reportedDistance_data();
    void reportedDistance();
    void typedDistance_data();
    void typedDistance();
    void unit();

private:
    QSlider* slider() const { return m_widget->findChild<QSlider*>("hslCurrDistance"); }
    QLineEdit* field() const { return m_widget->findChild<QLineEdit*>("ledCurrDistance"); }
    QTimer* sliderTimer() const { return m_widget->findChild<QTimer*>("timSliderMoved"); }
    QTimer* textTimer() const { return m_widget->findChild<QTimer*>("timTextEdited"); }
    QPoint handleCentre() const;
    // Fires a timer by hand: checks it runs with the expected interval, stops it
    // and calls its slot.
    void fire(QTimer* timer, int interval, const char* slot);

    OLP_GUI_FocusDistanceWidget* m_widget = nullptr;
};

void tst_FocusDistance::init()
{
    m_widget = new OLP_GUI_FocusDistanceWidget();
    m_widget->resize(300, 60);
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget, olpTimeout(5000)));
}

void tst_FocusDistance::cleanup()
{
    delete m_widget;
    m_widget = nullptr;
}

QPoint tst_FocusDistance::handleCentre() const
{
    QSlider* s = slider();
    const double t = double(s->value() - s->minimum()) / (s->maximum() - s->minimum());
    // Fusion's handle is about 11 px wide; its centre runs from half a handle
    // in from the left to half a handle in from the right.
    const int half = 6;
    return QPoint(half + qRound(t * (s->width() - 2 * half)), s->height() / 2);
}

void tst_FocusDistance::fire(QTimer* timer, int interval, const char* slot)
{
    QCOMPARE(timer->interval(), interval);
    // A 0 ms timer may already have fired inside the event that started it.
    if (interval == 0 && !timer->isActive()) {
        return;
    }
    QVERIFY(timer->isActive());
    timer->stop();
    QVERIFY(QMetaObject::invokeMethod(m_widget, slot));
}

// Catches an exponent of zero or below for short lenses (every position at
// max, or the slider running backwards), and a wrong curve for long ones.
void tst_FocusDistance::sliderCurve_data()
{
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<double>("exponent");
    QTest::addColumn<double>("middle");
    QTest::newRow("0.7 to 1000 m") << "0.70"
                                   << "1000.0" << 11.2163 << 1.1197;
    QTest::newRow("1.0 to 1.5 m, formula negative") << "1.00"
                                                    << "1.50" << 1.0 << 1.25;
    QTest::newRow("1.0 to 1.6 m, formula zero") << "1.00"
                                                << "1.60" << 1.0 << 1.3;
}

void tst_FocusDistance::sliderCurve()
{
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(double, exponent);
    QFETCH(double, middle);
    m_widget->setMinDistance(minimum);
    m_widget->setMaxDistance(maximum);
    QVERIFY(qAbs(m_widget->exponent() - exponent) < 0.001);

    QSignalSpy chosen(m_widget, &OLP_GUI_FocusDistanceWidget::signalChosen);
    // Five page steps from the start: the middle of the 0 to 1000 range.
    QCOMPARE(slider()->value(), 0);
    slider()->setFocus();
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(slider(), Qt::Key_PageUp);
    }
    QCOMPARE(slider()->value(), 500);
    chosen.clear();
    fire(sliderTimer(), 100, "catchTimerSliderMovedTimeout");
    QCOMPARE(chosen.count(), 1);
    QVERIFY2(qAbs(chosen.at(0).at(0).toString().toDouble() - middle) < 0.001,
             qPrintable(chosen.at(0).at(0).toString()));

    // The way back: the middle distance reported by the camera puts the
    // handle back in the middle, and the near end at the start.
    m_widget->setCurrDistance(QString::number(middle, 'f', 4));
    QVERIFY(qAbs(slider()->value() - 500) <= 1);
    m_widget->setCurrDistance(minimum);
    QCOMPARE(slider()->value(), 0);
}

void tst_FocusDistance::dragSendsAtMostOnePerTick()
{
    m_widget->setMinDistance("0.70");
    m_widget->setMaxDistance("1000.0");
    m_widget->setCurrDistance("0.70");
    QSignalSpy chosen(m_widget, &OLP_GUI_FocusDistanceWidget::signalChosen);

    QTest::mousePress(slider(), Qt::LeftButton, {}, handleCentre());
    QVERIFY(slider()->isSliderDown());
    QCOMPARE(sliderTimer()->interval(), 100);
    const QPoint start = handleCentre();
    for (int dx = 10; dx <= 60; dx += 10) {
        QTest::mouseMove(slider(), start + QPoint(dx, 0));
    }
    QVERIFY(slider()->value() > 0);
    QCOMPARE(chosen.count(), 0);
    fire(sliderTimer(), 100, "catchTimerSliderMovedTimeout");
    QCOMPARE(chosen.count(), 1);

    // A focus report in the middle of a drag leaves the handle alone.
    const int held = slider()->value();
    m_widget->setCurrDistance("Infinity");
    QCOMPARE(slider()->value(), held);

    QTest::mouseMove(slider(), start + QPoint(80, 0));
    QTest::mouseRelease(slider(), Qt::LeftButton, {}, start + QPoint(80, 0));
    fire(sliderTimer(), 0, "catchTimerSliderMovedTimeout");
    QCOMPARE(chosen.count(), 2);
    QVERIFY(chosen.at(1).at(0).toString().toDouble() > chosen.at(0).at(0).toString().toDouble());
}

void tst_FocusDistance::dragToTheEndSendsInfinity()
{
    m_widget->setMinDistance("0.70");
    m_widget->setMaxDistance("1000.0");
    m_widget->setCurrDistance("2.00");
    QSignalSpy chosen(m_widget, &OLP_GUI_FocusDistanceWidget::signalChosen);
    QTest::mousePress(slider(), Qt::LeftButton, {}, handleCentre());
    const QPoint end(slider()->width() - 1, slider()->height() / 2);
    QTest::mouseMove(slider(), end);
    QTest::mouseRelease(slider(), Qt::LeftButton, {}, end);
    QCOMPARE(slider()->value(), slider()->maximum());
    fire(sliderTimer(), 0, "catchTimerSliderMovedTimeout");
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), QString("Infinity"));
}

// A press beside the handle puts it there at once (no paging, no repeat while
// held) and sends that distance like a drag would.
void tst_FocusDistance::grooveClickJumps()
{
    m_widget->setMinDistance("0.70");
    m_widget->setMaxDistance("1000.0");
    m_widget->setCurrDistance("0.70");
    QSignalSpy chosen(m_widget, &OLP_GUI_FocusDistanceWidget::signalChosen);
    const QPoint threeQuarters(6 + qRound(0.75 * (slider()->width() - 12)), slider()->height() / 2);
    QTest::mousePress(slider(), Qt::LeftButton, {}, threeQuarters);
    QVERIFY2(qAbs(slider()->value() - 750) <= 10, qPrintable(QString::number(slider()->value())));
    const int jumped = slider()->value();
    QTest::mouseRelease(slider(), Qt::LeftButton, {}, threeQuarters);
    QCOMPARE(slider()->value(), jumped);
    QCOMPARE(chosen.count(), 0);
    fire(sliderTimer(), 100, "catchTimerSliderMovedTimeout");
    QCOMPARE(chosen.count(), 1);
}

void tst_FocusDistance::reportedDistance_data()
{
    QTest::addColumn<QString>("reported");
    QTest::addColumn<int>("sliderValue");  // -1: stays where it was
    QTest::addColumn<QString>("shown");
    QTest::newRow("Infinity") << "Infinity" << 1000 << "Infinity";
    QTest::newRow("at max") << "1000.0" << 1000 << "Infinity";
    QTest::newRow("beyond max") << "1234.5" << 1000 << "Infinity";
    QTest::newRow("at min") << "0.70" << 0 << "0.70";
    QTest::newRow("Error") << "Error" << -1 << "";
    QTest::newRow("within") << "3.00" << 582 << "3.00";
}

void tst_FocusDistance::reportedDistance()
{
    QFETCH(QString, reported);
    QFETCH(int, sliderValue);
    QFETCH(QString, shown);
    m_widget->setMinDistance("0.70");
    m_widget->setMaxDistance("1000.0");
    m_widget->setCurrDistance("1.50");
    const int before = slider()->value();
    QSignalSpy chosen(m_widget, &OLP_GUI_FocusDistanceWidget::signalChosen);

    m_widget->setCurrDistance(reported);
    QCOMPARE(slider()->value(), sliderValue < 0 ? before : sliderValue);
    QCOMPARE(field()->text(), shown);
    // A report is shown, never sent back.
    QVERIFY(!sliderTimer()->isActive());
    QCOMPARE(chosen.count(), 0);
}

void tst_FocusDistance::typedDistance_data()
{
    QTest::addColumn<double>("maximum");  // 0: no lens range known yet
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sent");  // empty: nothing sent
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("number") << 1000.0 << "2.5"
                            << "2.500000"
                            << "2.5";
    QTest::newRow("beyond max") << 1000.0 << "2000"
                                << "Infinity"
                                << "2000";
    QTest::newRow("letters") << 1000.0 << "abc"
                             << ""
                             << "1.50";
    QTest::newRow("zero") << 1000.0 << "0"
                          << ""
                          << "1.50";
    QTest::newRow("number without lens range") << 0.0 << "2.5"
                                               << "2.500000"
                                               << "2.5";
}

void tst_FocusDistance::typedDistance()
{
    QFETCH(double, maximum);
    QFETCH(QString, typed);
    QFETCH(QString, sent);
    QFETCH(QString, shownAfter);
    if (maximum > 0) {
        m_widget->setMinDistance("0.70");
        m_widget->setMaxDistance(QString::number(maximum, 'f', 1));
    }
    m_widget->setCurrDistance("1.50");
    const int before = slider()->value();
    QSignalSpy chosen(m_widget, &OLP_GUI_FocusDistanceWidget::signalChosen);

    field()->setFocus();
    field()->selectAll();
    QTest::keyClicks(field(), typed);
    // While typing, a focus report does not overwrite the field.
    m_widget->setCurrDistance("1.50");
    QCOMPARE(field()->text(), typed);
    QCOMPARE(chosen.count(), 0);

    fire(textTimer(), 1000, "catchTimerTextEditedTimeout");
    QCOMPARE(chosen.count(), sent.isEmpty() ? 0 : 1);
    if (!sent.isEmpty()) {
        QCOMPARE(chosen.at(0).at(0).toString(), sent);
    }
    QCOMPARE(field()->text(), shownAfter);
    QCOMPARE(slider()->value(), before);
}

void tst_FocusDistance::unit()
{
    QLabel* unit = m_widget->findChild<QLabel*>("stxUnit");
    QCOMPARE(unit->text(), QString("m"));
    m_widget->setIsUnitFeet(true);
    QCOMPARE(unit->text(), QString("ft"));
    m_widget->setIsUnitFeet(false);
    QCOMPARE(unit->text(), QString("m"));
}

QTEST_MAIN(tst_FocusDistance)
#include "tst_FocusDistance.moc"
