// The no-camera window when a camera is found but cannot be opened: the
// controller in its thread finds the emulated camera through the real USB
// transport, and the window tells the user why and what to do.

#include <QLabel>
#include <QtTest>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

class tst_NoCamera : public QObject
{
    Q_OBJECT
private slots:
    void causeLine_data();
    void causeLine();

private:
    OLP_Test_GuiRig* rig() const { return OLP_Test_GuiRig::instance(); }
    QLabel* line() const { return rig()->application()->noCameraWindow()->findChild<QLabel*>("lblCameraProblem"); }
};

void tst_NoCamera::causeLine_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("unplug");
    const QString inUse = QStringLiteral(
        "The camera is in use by another program (a file manager or photo importer). Close it and reconnect the "
        "camera.");
    const QString permission = QStringLiteral(
        "No permission to open the camera: install the udev rule (see the README), then reconnect the camera.");
    const QString ptp = QStringLiteral(
        "The camera is not in PTP mode: set its USB mode to PTP in the camera's menu, then reconnect the camera.");
    QTest::newRow("in use, then free") << "busy" << inUse << false;
    QTest::newRow("in use, then unplugged") << "busy" << inUse << true;
    QTest::newRow("no permission, then granted") << "denied" << permission << false;
    QTest::newRow("no permission, then unplugged") << "denied" << permission << true;
    QTest::newRow("mass storage, then PTP") << "storage" << ptp << false;
    QTest::newRow("mass storage, then unplugged") << "storage" << ptp << true;
}

// Catches: a cause that never reaches the window, a wrong or truncated text,
// and a line that stays after the camera opened or left.
void tst_NoCamera::causeLine()
{
    QFETCH(QString, state);
    QFETCH(QString, text);
    QFETCH(bool, unplug);
    QVERIFY(line());
    QVERIFY(!line()->isVisible());
    auto camera = std::make_shared<OLP_Commu_EmuCamera>(ProductIdKestaD);
    camera->setInterfaceBusy(state == QLatin1String("busy"));
    camera->setAccessDenied(state == QLatin1String("denied"));
    camera->setStillImageInterface(state != QLatin1String("storage"));
    QVERIFY(rig()->insert(camera));

    QTRY_VERIFY_WITH_TIMEOUT(line()->isVisible(), olpTimeout(5000));
    QCOMPARE(line()->text(), text);
    QVERIFY(line()->wordWrap());
    QVERIFY(!rig()->application()->cameraWindow());
    QVERIFY(rig()->application()->noCameraWindow()->isVisible());

    if (unplug) {
        QVERIFY(rig()->unplug());
    } else {
        camera->setInterfaceBusy(false);
        camera->setAccessDenied(false);
        camera->setStillImageInterface(true);
        // The retry after the pause opens it; its window replaces this one.
        QVERIFY(QTest::qWaitFor(
            [&] {
                rig()->poll();
                return rig()->application()->cameraWindow() != nullptr;
            },
            olpTimeout(10000)));
        QVERIFY(rig()->settle());
    }
    // The line goes once the transport has seen the camera open or leave.
    QVERIFY(QTest::qWaitFor(
        [&] {
            rig()->poll();
            return line()->text().isEmpty() && !line()->isVisible();
        },
        olpTimeout(5000)));
    if (!unplug) {
        // Back to the no-camera window: the old cause does not come back.
        QVERIFY(rig()->unplug());
        QVERIFY(!line()->isVisible());
    }
}

OLP_TEST_GUI_MAIN(tst_NoCamera)
#include "tst_NoCamera.moc"
