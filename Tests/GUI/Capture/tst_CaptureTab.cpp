#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "OLP_GUI_Capture.h"
#include "OLP_Test_Support.h"

// The capture tab on its own, for what a connected camera never lets happen:
// interval fields that were never given a valid value. Everything else of the
// tab is tested through the whole application (GUI.CaptureRig). Timers are
// stepped by invoking their slots.
class tst_CaptureTab : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { olpTestInit(); }
    void init();
    void cleanup();

    void intervalEntry_data();
    void intervalEntry();

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

// Typed interval values the range does not take are not sent; the dirty timer
// puts back the last valid value only if there ever was one (the way through
// the controller to the camera is the rig test's).
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

QTEST_MAIN(tst_CaptureTab)
#include "tst_CaptureTab.moc"
