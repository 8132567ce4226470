// The camera window as the user meets it: the application with its
// controller thread finds an emulated camera on the USB hub, opens the window,
// and the window shows what the camera reports and sends what the user does
// back through the controller to the camera.

#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_ViewFinderKesta.h"
#include "OLP_GUI_ViewFinderPelvo.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

class tst_CameraWindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(OLP_Test_GuiRig::instance()->unplug()); }

    void opening_data();
    void opening();
};

void tst_CameraWindow::opening_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<bool>("pelvo");
    QTest::addColumn<bool>("keyLock");
    QTest::addColumn<bool>("liveView");
    QTest::addColumn<bool>("video");
    QTest::addColumn<bool>("mirrorUp");
    // What the emulated products report.
    QTest::newRow("KestaA") << quint16(ProductIdKestaA) << false << true << false << false << true;
    QTest::newRow("KestaB") << quint16(ProductIdKestaB) << false << true << false << false << true;
    QTest::newRow("KestaC") << quint16(ProductIdKestaC) << false << false << false << false << false;
    QTest::newRow("KestaD") << quint16(ProductIdKestaD) << false << true << true << true << true;
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo) << true << true << true << true << false;
    QTest::newRow("KestaE") << quint16(ProductIdKestaE) << false << false << false << false << false;
}

void tst_CameraWindow::opening()
{
    QFETCH(quint16, product);
    QFETCH(bool, pelvo);
    OLP_Test_GuiRig* rig = OLP_Test_GuiRig::instance();
    QVERIFY(rig->plug(product));
    OLP_GUI_CameraBase* window = rig->window();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), rig->controller()->productName());
    QCOMPARE(window->findChild<OLP_GUI_ViewFinderPelvo*>() != nullptr, pelvo);
    QCOMPARE(window->findChild<OLP_GUI_ViewFinderKesta*>() != nullptr, !pelvo);
    QFETCH(bool, keyLock);
    QFETCH(bool, liveView);
    QFETCH(bool, video);
    QFETCH(bool, mirrorUp);
    if (!pelvo) {
        QCOMPARE(rig->find<QWidget>("wgt3DAxisData")->isVisibleTo(window), rig->controller()->has3DAxisData());
    }
    QCOMPARE(rig->find<QToolButton>("tbnKeyLock")->isVisibleTo(window), keyLock);
    QCOMPARE(rig->find<QToolButton>("tbnMirrorUp")->isVisibleTo(window), mirrorUp);
    QCOMPARE(rig->find<QToolButton>("tbnLVPhoto")->isVisibleTo(window), liveView);
    QCOMPARE(rig->find<QToolButton>("tbnLVVideo")->isVisibleTo(window), liveView && video);
    QCOMPARE(rig->find<QWidget>("pbnVideoCapt")->isVisibleTo(window), video);
}

OLP_TEST_GUI_MAIN(tst_CameraWindow)
#include "tst_CameraWindow.moc"
