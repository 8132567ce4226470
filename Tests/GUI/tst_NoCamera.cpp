// The no-camera window when a camera is found but cannot be opened: the
// controller in its thread finds the emulated camera through the real USB
// transport, and the window tells the user why and what to do.

#include <QLabel>
#include <QtTest>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_Logic_CameraProblem.h"
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
    // The texts themselves are pinned by the controller's test.
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("problem");
    QTest::addColumn<bool>("unplug");
    const int busy = int(eCameraProblem::InUse);
    const int denied = int(eCameraProblem::NoPermission);
    const int storage = int(eCameraProblem::NotPtpMode);
    QTest::newRow("in use, then free") << "busy" << busy << false;
    QTest::newRow("in use, then unplugged") << "busy" << busy << true;
    QTest::newRow("no permission, then granted") << "denied" << denied << false;
    QTest::newRow("no permission, then unplugged") << "denied" << denied << true;
    QTest::newRow("mass storage, then PTP") << "storage" << storage << false;
    QTest::newRow("mass storage, then unplugged") << "storage" << storage << true;
}

// Catches: a cause that never reaches the window, a wrong or truncated text,
// and a line that stays after the camera opened or left.
void tst_NoCamera::causeLine()
{
    QFETCH(QString, state);
    QFETCH(int, problem);
    QFETCH(bool, unplug);
    const QString text = OLP_Logic_CameraProblem::text(problem);
    QVERIFY(!text.isEmpty());
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
