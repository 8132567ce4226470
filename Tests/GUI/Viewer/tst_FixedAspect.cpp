#include <QDialog>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QtTest>

#include "OLP_GUI_FixedAspectGeometry.h"
#include "OLP_GUI_FixedAspectWidgetT.h"
#include "OLP_Test_Support.h"

using AspectDialog = OLP_GUI_FixedAspectWidgetT<QDialog>;

namespace {

// A resize of a window that is not shown, as the window system reports it:
// the geometry is already the new one when the event arrives.
void resizeBySystem(QWidget& window, const QRect& geometry, Qt::WindowStates state = Qt::WindowNoState)
{
    const QSize old = window.size();
    window.setGeometry(geometry);
    // After the geometry: setting one ends a maximised state.
    window.setWindowState(state);
    QResizeEvent event(geometry.size(), old);
    QApplication::sendEvent(&window, &event);
}

QRect usable()
{
    return QGuiApplication::primaryScreen()->availableGeometry().adjusted(0, 44, 0, 0);
}

}  // namespace

class tst_FixedAspect : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void geometry_data();
    void geometry();
    void windowStates_data();
    void windowStates();
    void pictureTurns();
    void otherAnswerAskedOnceMore();
    void shownWindowSettles();
};

void tst_FixedAspect::initTestCase()
{
    olpTestInit();
}

void tst_FixedAspect::geometry_data()
{
    QTest::addColumn<QRect>("g");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("oldRatio");
    QTest::addColumn<int>("extraHeight");
    QTest::addColumn<int>("margins");
    QTest::addColumn<QRect>("expected");
    const QRect big(0, 44, 1920, 1036);
    QTest::newRow("height follows the mean width")
        << QRect(100, 100, 900, 440) << big << 1.5 << 0.0 << 40 << -1 << QRect(100, 100, 750, 540);
    QTest::newRow("already right") << QRect(100, 100, 750, 540) << big << 1.5 << 0.0 << 40 << 11
                                   << QRect(100, 100, 750, 540);
    QTest::newRow("landscape turns portrait")
        << QRect(100, 100, 620, 440) << big << 0.667 << 1.5 << 40 << 20 << QRect(100, 100, 420, 640);
    QTest::newRow("portrait turns back") << QRect(100, 100, 420, 640) << big << 1.5 << 0.667 << 40 << 20
                                         << QRect(100, 100, 620, 440);
    QTest::newRow("turn without a layout follows the height")
        << QRect(100, 100, 620, 440) << big << 0.667 << 1.5 << 40 << -1 << QRect(100, 100, 443, 704);
    QTest::newRow("moved back into the area")
        << QRect(1500, 900, 900, 440) << big << 1.5 << 0.0 << 40 << -1 << QRect(1170, 540, 750, 540);
    QTest::newRow("moved below the title-bar room")
        << QRect(-300, 0, 900, 440) << big << 1.5 << 0.0 << 40 << -1 << QRect(0, 44, 750, 540);
    QTest::newRow("limited to the area's size")
        << QRect(0, 44, 900, 440) << QRect(0, 44, 800, 556) << 3.0 << 0.0 << 40 << -1 << QRect(0, 44, 800, 390);
    QTest::newRow("no ratio") << QRect(100, 100, 900, 440) << big << 0.0 << 0.0 << 40 << -1
                              << QRect(100, 100, 900, 440);
}

void tst_FixedAspect::geometry()
{
    QFETCH(QRect, g);
    QFETCH(QRect, area);
    QFETCH(double, ratio);
    QFETCH(double, oldRatio);
    QFETCH(int, extraHeight);
    QFETCH(int, margins);
    QFETCH(QRect, expected);
    QCOMPARE(OLP_GUI_FixedAspectGeometry::adjusted(g, area, ratio, oldRatio, extraHeight, margins), expected);
}

// A maximised or full-screen window is left alone; a window above every
// screen still finds one and comes back into it.
void tst_FixedAspect::windowStates_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QRect>("requested");
    QTest::addColumn<QRect>("expected");
    const QRect area = usable();
    QTest::newRow("normal") << int(Qt::WindowNoState) << QRect(100, 100, 500, 340) << QRect(100, 100, 475, 357);
    QTest::newRow("above every screen") << int(Qt::WindowNoState) << QRect(100, -5000, 500, 340)
                                        << QRect(100, area.top(), 475, 357);
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << QRect(100, 100, 500, 340) << QRect(100, 100, 500, 340);
    QTest::newRow("full screen") << int(Qt::WindowFullScreen) << QRect(100, 100, 500, 340) << QRect(100, 100, 500, 340);
}

void tst_FixedAspect::windowStates()
{
    QFETCH(int, state);
    QFETCH(QRect, requested);
    QFETCH(QRect, expected);
    AspectDialog window;
    window.setExtraHeight(40);
    window.setAspectRatio(1.5);
    // The first adjustment answers the geometry the window was built with.
    resizeBySystem(window, window.geometry());
    resizeBySystem(window, requested, Qt::WindowStates(state));
    QCOMPARE(window.geometry(), expected);
}

// The old picture width becomes the new picture height.
void tst_FixedAspect::pictureTurns()
{
    AspectDialog window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(10, 10, 10, 10);
    resizeBySystem(window, QRect(100, 100, 330, 220));
    window.setAspectRatio(1.5);
    QCOMPARE(window.geometry(), QRect(100, 100, 330, 220));
    window.setAspectRatio(0.667);
    QCOMPARE(window.geometry(), QRect(100, 100, 227, 323));
}

// A window system that grants another size than requested is asked once
// more, then taken at its word; the next resize by the user adjusts again.
void tst_FixedAspect::otherAnswerAskedOnceMore()
{
    AspectDialog window;
    window.setExtraHeight(40);
    window.setGeometry(100, 100, 700, 400);
    window.setAspectRatio(1.5);
    QCOMPARE(window.geometry(), QRect(100, 100, 620, 453));
    resizeBySystem(window, QRect(100, 100, 600, 420));
    QCOMPARE(window.geometry(), QRect(100, 100, 585, 430));
    resizeBySystem(window, QRect(100, 100, 600, 420));
    QCOMPARE(window.geometry(), QRect(100, 100, 600, 420));
    resizeBySystem(window, QRect(100, 100, 700, 400));
    QCOMPARE(window.geometry(), QRect(100, 100, 620, 453));
}

// A shown window answers the user's resize once and then rests.
void tst_FixedAspect::shownWindowSettles()
{
    AspectDialog window;
    window.setExtraHeight(40);
    window.setGeometry(100, 100, 600, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setAspectRatio(1.5);
    QTRY_COMPARE_WITH_TIMEOUT(window.geometry(), QRect(100, 100, 570, 420), olpTimeout(5000));
    int resizes = 0;
    struct Counter : QObject
    {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            *count += event->type() == QEvent::Resize;
            return false;
        }
    } counter(&resizes);
    window.installEventFilter(&counter);
    window.resize(700, 400);
    QTRY_COMPARE_WITH_TIMEOUT(window.geometry(), QRect(100, 100, 620, 453), olpTimeout(5000));
    QCoreApplication::processEvents();
    QCOMPARE(resizes, 2);
    QCOMPARE(window.geometry(), QRect(100, 100, 620, 453));
}

QTEST_MAIN(tst_FixedAspect)
#include "tst_FixedAspect.moc"
