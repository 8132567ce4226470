#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "OLP_GUI_Capture.h"
#include "OLP_Test_GuiActions.h"
#include "OLP_Test_Support.h"

// The capture tab on its own, as the camera window's setters feed it and as a
// user clicks and types: which entries the boxes keep, which controls are
// usable, what leaves the tab. Timers are stepped by invoking their slots.
class tst_CaptureTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { olpTestInit(); }
    void init();
    void cleanup();

    void listAndValueRules_data();
    void listAndValueRules();
    void exposureMode_data();
    void exposureMode();
    void exposureModeCaptionsAndAperture();
    void driveModeFields_data();
    void driveModeFields();
    void intervalEntry_data();
    void intervalEntry();
    void sensitivityAuto();

private:
    template <typename T>
    T* child(const char* name) const
    {
        T* found = m_tab->findChild<T*>(QString::fromLatin1(name));
        if (!found) {
            qWarning("no child %s", name);
        }
        return found;
    }
    OLP_GUI_Capture* m_tab = nullptr;
};

void tst_CaptureTab::init()
{
    m_tab = new OLP_GUI_Capture();
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab, olpTimeout(5000)));
}

void tst_CaptureTab::cleanup()
{
    delete m_tab;
    m_tab = nullptr;
}

// One rule for all twelve settings: an empty list keeps the entries, an unknown
// text keeps the entry, both say so in the log; programmatic changes are never
// sent back as user choices.
void tst_CaptureTab::listAndValueRules_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("emptyMessage");
    QTest::addColumn<QString>("illegalMessage");  // empty: selected silently
    QTest::newRow("metering") << "ExposMetering"
                              << "cbbExposMetering"
                              << "empty expos metering list"
                              << "illegal expos metering";
    QTest::newRow("aperture") << "Aperture"
                              << "cbbAperture"
                              << "empty aperture list"
                              << "illegal aperture";
    QTest::newRow("shutter time") << "ShutterTime"
                                  << "cbbShutterTime"
                                  << "empty shutter time list"
                                  << "illegal shutter time";
    QTest::newRow("compensation") << "ExposCompens"
                                  << "cbbExposCompens"
                                  << "empty exposure compensation list"
                                  << "illegal exposure compensation";
    QTest::newRow("ISO") << "Sensitivity"
                         << "cbbSensitivity"
                         << "empty sensitivity list"
                         << "illegal sensitivity";
    QTest::newRow("white balance") << "WhiteBalance"
                                   << "cbbWhiteBalance"
                                   << "empty white balance list"
                                   << "illegal white balance";
    QTest::newRow("colour temperature") << "WhiteBalTemp"
                                        << "cbbWhiteBalTemp"
                                        << "empty white balance temperature list"
                                        << "illegal white balance temperature";
    QTest::newRow("drive mode") << "DriveMode"
                                << "cbbDriveMode"
                                << "empty drive mode list"
                                << "illegal drive mode";
    QTest::newRow("bracketing pictures") << "BracketImgNum"
                                         << "cbbBracketImgNum"
                                         << "empty bracket image numbers list"
                                         << "illegal bracket image numbers";
    QTest::newRow("bracketing step") << "BracketDeltaEV"
                                     << "cbbBracketDeltaEV"
                                     << "empty bracketing Delta EV list"
                                     << "illegal bracketing Delta EV";
    QTest::newRow("interval frames") << "IntervalFrames"
                                     << "cbbIntervalFrames"
                                     << "empty interval frames list"
                                     << "";
    QTest::newRow("interval time") << "IntervalTime"
                                   << "cbbIntervalTime"
                                   << "empty interval time list"
                                   << "";
}

void tst_CaptureTab::listAndValueRules()
{
    QFETCH(QString, setting);
    QFETCH(QString, box);
    QFETCH(QString, emptyMessage);
    QFETCH(QString, illegalMessage);
    auto* combo = child<QComboBox>(box.toLatin1().constData());
    QVERIFY(combo);
    const QByteArray listSlot = ("set" + setting + "List").toLatin1();
    const QByteArray valueSlot = ("set" + setting).toLatin1();
    QSignalSpy userChoice(m_tab, ("2signal" + setting.toLatin1() + "(QString)").constData());
    QVERIFY(userChoice.isValid());
    OLP_Test_LogCapture log;

    const QStringList list{"Alpha", "Beta", "Gamma"};
    QVERIFY(QMetaObject::invokeMethod(m_tab, listSlot.constData(), Q_ARG(QStringList, list)));
    QVERIFY(QMetaObject::invokeMethod(m_tab, valueSlot.constData(), Q_ARG(QString, QString("Beta"))));
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QString("Beta"));

    QVERIFY(QMetaObject::invokeMethod(m_tab, listSlot.constData(), Q_ARG(QStringList, QStringList())));
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QString("Beta"));
    QVERIFY2(log.contains("OLP_GUI_Capture::" + listSlot + " - " + emptyMessage), qPrintable(log.lines().join('\n')));

    // Exact and case-sensitive: "beta" is not "Beta".
    for (const QString& unknown : {QString("beta"), QString("Delta")}) {
        QVERIFY(QMetaObject::invokeMethod(m_tab, valueSlot.constData(), Q_ARG(QString, unknown)));
        QCOMPARE(combo->currentText(), QString("Beta"));
        if (!illegalMessage.isEmpty()) {
            QVERIFY(log.contains("OLP_GUI_Capture::" + valueSlot + " - " + illegalMessage + " " + unknown));
        }
    }
    if (illegalMessage.isEmpty()) {
        QCOMPARE(log.count("OLP_GUI_Capture::" + valueSlot + " - "), 0);
    }
    QCOMPARE(userChoice.count(), 0);
}

// A camera report checks the mode's button and greys out what the camera
// decides; an unknown code changes nothing and is logged by both.
void tst_CaptureTab::exposureMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("aperture");
    QTest::addColumn<bool>("shutterTime");
    QTest::newRow("0 manual") << 0 << "btnM" << true << true;
    QTest::newRow("1 shutter priority") << 1 << "btnT" << false << true;
    QTest::newRow("2 aperture priority") << 2 << "btnA" << true << false;
    QTest::newRow("3 program") << 3 << "btnP" << false << false;
    QTest::newRow("4 bulb") << 4 << "btnM" << true << true;
    QTest::newRow("5 vendor program") << 5 << "btnP" << false << false;
    QTest::newRow("6 unknown") << 6 << "btnA" << true << false;
}

void tst_CaptureTab::exposureMode()
{
    QFETCH(int, mode);
    QFETCH(QString, checked);
    QFETCH(bool, aperture);
    QFETCH(bool, shutterTime);
    m_tab->setExposureMode(2);
    QSignalSpy chosen(m_tab, &OLP_GUI_Capture::signalExposureMode);
    OLP_Test_LogCapture log;
    m_tab->setExposureMode(mode);
    for (const char* name : {"btnP", "btnM", "btnA", "btnT"}) {
        QCOMPARE(child<QToolButton>(name)->isChecked(), checked == QLatin1String(name));
    }
    QCOMPARE(child<QComboBox>("cbbAperture")->isEnabled(), aperture);
    QCOMPARE(child<QComboBox>("cbbShutterTime")->isEnabled(), shutterTime);
    const bool illegal = mode > 5;
    QCOMPARE(log.contains("OLP_GUI_ExposureModeWidget::setExposureMode - illegal exposure mode 6"), illegal);
    QCOMPARE(log.contains("OLP_GUI_Capture::enableExposureControls - illegal exposure mode 6"), illegal);
    QCOMPARE(chosen.count(), 0);
}

void tst_CaptureTab::exposureModeCaptionsAndAperture()
{
    m_tab->setExposureModeList({"P", "M", "A", "S"});
    QCOMPARE(child<QToolButton>("btnT")->text(), QString("S"));
    m_tab->setExposureModeList({"X"});
    QCOMPARE(child<QToolButton>("btnP")->text(), QString("X"));
    QCOMPARE(child<QToolButton>("btnM")->text(), QString("M"));

    m_tab->setHasAperture(false);
    for (const char* name : {"btnP", "btnT", "lblAperture", "cbbAperture"}) {
        QVERIFY2(!child<QWidget>(name)->isVisible(), name);
    }
    QVERIFY(child<QWidget>("btnM")->isVisible());
    QVERIFY(child<QWidget>("btnA")->isVisible());

    // A click checks only its button and leaves as the mode code.
    QSignalSpy mode(m_tab, &OLP_GUI_Capture::signalExposureMode);
    QSignalSpy manual(m_tab, &OLP_GUI_Capture::signalIsExpModeManual);
    m_tab->setExposureMode(2);
    QTest::mouseClick(child<QToolButton>("btnA"), Qt::LeftButton);
    QVERIFY(child<QToolButton>("btnA")->isChecked());
    QTest::mouseClick(child<QToolButton>("btnM"), Qt::LeftButton);
    QVERIFY(child<QToolButton>("btnM")->isChecked());
    QVERIFY(!child<QToolButton>("btnA")->isChecked());
    QCOMPARE(mode.count(), 2);
    QCOMPARE(mode.at(0).at(0).toInt(), 2);
    QCOMPARE(mode.at(1).at(0).toInt(), 0);
    QCOMPARE(manual.at(0).at(0).toBool(), false);
    QCOMPARE(manual.at(1).at(0).toBool(), true);
}

void tst_CaptureTab::driveModeFields_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("shown");
    const QStringList bracketing{"cbbBracketImgNum", "cbbBracketDeltaEV"};
    const QStringList interval{"ledIntervalFrames", "lblIntervalFrames", "ledIntervalTime", "lblIntervalTime"};
    const QStringList placeholders{"cbbEmpty1", "cbbEmpty2"};
    QTest::newRow("0 single") << 0 << placeholders;
    QTest::newRow("1 continuous") << 1 << placeholders;
    QTest::newRow("4 bracketing") << 4 << bracketing;
    QTest::newRow("5 interval") << 5 << interval;
    QTest::newRow("8 continuous F") << 8 << placeholders;
}

// The drive mode's row shows exactly one set of fields and keeps its height.
void tst_CaptureTab::driveModeFields()
{
    QFETCH(int, mode);
    QFETCH(QStringList, shown);
    const QStringList all{"cbbBracketImgNum",  "cbbBracketDeltaEV", "ledIntervalFrames", "lblIntervalFrames",
                          "ledIntervalTime",   "lblIntervalTime",   "cbbEmpty1",         "cbbEmpty2",
                          "cbbIntervalFrames", "cbbIntervalTime"};
    m_tab->setDriveMode(4);
    QApplication::processEvents();
    const int rowTop = child<QWidget>("cbbBracketImgNum")->geometry().top();
    const int focusTop = child<QWidget>("lblFocusMode")->geometry().top();
    m_tab->setDriveMode(mode);
    QApplication::processEvents();
    for (const QString& name : all) {
        QCOMPARE(child<QWidget>(name.toLatin1().constData())->isVisible(), shown.contains(name));
    }
    QCOMPARE(child<QWidget>(shown.first().toLatin1().constData())->geometry().top(), rowTop);
    QCOMPARE(child<QWidget>("lblFocusMode")->geometry().top(), focusTop);
}

// Typed interval values: only what the range accepts is sent; a bad entry is
// replaced by the last valid value 3 s later, if there ever was one.
void tst_CaptureTab::intervalEntry_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("timer");
    QTest::addColumn<QString>("dirtySlot");
    QTest::addColumn<int>("lastValid");  // 0: never set
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("sent");  // 0: nothing sent
    QTest::addColumn<QString>("shownAfter");
    for (const QString& which : {QString("Frames"), QString("Time")}) {
        const QString field = "ledInterval" + which;
        const QString timer = "timInterval" + which + "Dirty";
        const QString slot = "catchInterval" + which + "DirtyFired";
        const QByteArray row = which.toLatin1();
        QTest::newRow(row + ": 25 sent") << field << timer << slot << 10 << "25" << 25 << "25";
        QTest::newRow(row + ": 0 restored") << field << timer << slot << 10 << "0" << 0 << "10";
        QTest::newRow(row + ": 0 with nothing to restore") << field << timer << slot << 0 << "0" << 0 << "0";
        QTest::newRow(row + ": 100 refused by the field") << field << timer << slot << 10 << "100" << 10 << "10";
    }
}

void tst_CaptureTab::intervalEntry()
{
    QFETCH(QString, field);
    QFETCH(QString, timer);
    QFETCH(QString, dirtySlot);
    QFETCH(int, lastValid);
    QFETCH(QString, typed);
    QFETCH(int, sent);
    QFETCH(QString, shownAfter);
    m_tab->setIntervalFramesRange(1, 99);
    m_tab->setIntervalTimeRange(1, 99);
    m_tab->setDriveMode(5);
    auto* edit = child<QLineEdit>(field.toLatin1().constData());
    auto* dirty = child<QTimer>(timer.toLatin1().constData());
    if (lastValid > 0) {
        QVERIFY(QMetaObject::invokeMethod(m_tab, field == "ledIntervalFrames" ? "setIntervalFrames" : "setIntervalTime",
                                          Q_ARG(int, lastValid)));
    }
    const char* signal =
        field == "ledIntervalFrames" ? SIGNAL(signalIntervalFrames(int)) : SIGNAL(signalIntervalTime(int));
    QSignalSpy values(m_tab, signal);

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    if (sent > 0) {
        QVERIFY(values.count() >= 1);
        QCOMPARE(values.last().at(0).toInt(), sent);
        QVERIFY(!dirty->isActive());
    } else {
        QCOMPARE(values.count(), 0);
        QVERIFY(dirty->isActive());
        QCOMPARE(dirty->interval(), 3000);
        dirty->stop();
        QVERIFY(QMetaObject::invokeMethod(m_tab, dirtySlot.toLatin1().constData()));
    }
    QCOMPARE(edit->text(), shownAfter);
}

// With ISO auto the box stays on its first entry whatever ISO the camera
// reports; the user's choice decides auto and leaves once.
void tst_CaptureTab::sensitivityAuto()
{
    auto* box = child<QComboBox>("cbbSensitivity");
    m_tab->setSensitivityList({"Auto", "Pull 80", "160", "320"});
    m_tab->setSensitivity("320");
    OLP_Test_LogCapture log;
    m_tab->setSensitivityAuto(true);
    QCOMPARE(box->currentIndex(), 0);
    m_tab->setSensitivity("160");
    m_tab->setSensitivity("nonsense");
    QCOMPARE(box->currentIndex(), 0);
    QCOMPARE(log.count("OLP_GUI_Capture::setSensitivity"), 0);

    QSignalSpy sent(m_tab, &OLP_GUI_Capture::signalSensitivity);
    QVERIFY(olpChooseEntry(box, "160"));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QString("160"));
    m_tab->setSensitivity("320");
    QCOMPARE(box->currentText(), QString("320"));
    QVERIFY(olpChooseEntry(box, "Auto"));
    QCOMPARE(sent.count(), 2);
    QCOMPARE(sent.at(1).at(0).toString(), QString("Auto"));
    m_tab->setSensitivity("160");
    QCOMPARE(box->currentIndex(), 0);
}

QTEST_MAIN(tst_CaptureTab)
#include "tst_CaptureTab.moc"
