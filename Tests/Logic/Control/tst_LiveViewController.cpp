#include <QSignalSpy>
#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;
typedef std::function<void(Controller*)> Request;
Q_DECLARE_METATYPE(Request)

namespace {

constexpr quint16 OpRelease = 0x9004;

QList<QVector<quint32>> releaseParams(const OLP_Commu_EmuCamera& camera, int from)
{
    QList<QVector<quint32>> result;
    const auto all = camera.releases();
    for (int i = from; i < all.size(); ++i) {
        if (all.at(i).code == OpRelease) {
            result.append(all.at(i).params);
        }
    }
    return result;
}

// A controller in the test thread whose USB access sees one emulated camera
// (or none) on its own virtual bus.
struct ControllerRig
{
    explicit ControllerRig(quint16 product)
    {
        port = std::make_shared<OLP_Commu_EmuUsbPort>();
        if (product != 0) {
            camera = std::make_shared<OLP_Commu_EmuCamera>(product);
            port->plug(camera);
        }
        auto* access = new OLP_Commu_CameraAccess_Linux_PTP(port);
        access->setTimeouts(OLP_Test_EmuRig::fastTimeouts());
        controller = std::make_unique<Controller>(access);
    }
    bool connected()
    {
        return QTest::qWaitFor([this] { return controller->camera() != nullptr; }, olpTimeout(5000));
    }

    std::shared_ptr<OLP_Commu_EmuUsbPort> port;
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<Controller> controller;
};

}  // namespace

// The controller's live-view requests and window events reach the camera
// object, and the camera's live-view signals reach the GUI through it.
class tst_LiveViewController : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void requestsWithoutCamera_data();
    void requestsWithoutCamera();
    void liveViewThroughController();
    void greyCardAndFocusRequests();
    void windowPacesTheStream();
    void cameraWindowAsksForTheState();
};

void tst_LiveViewController::initTestCase()
{
    olpTestInit();
    olpRegisterMetaTypes();
}

void tst_LiveViewController::requestsWithoutCamera_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Request>("request");
    QTest::newRow("setLiveViewCrossPos") << "setLiveViewCrossPos"
                                         << Request([](Controller* c) { c->setLiveViewCrossPos(0.5, 0.5); });
    QTest::newRow("setLiveViewCrossPosGlobal")
        << "setLiveViewCrossPosGlobal" << Request([](Controller* c) { c->setLiveViewCrossPosGlobal(0.5, 0.5); });
    QTest::newRow("setLiveViewGCPipActive")
        << "setLiveViewGCPipActive" << Request([](Controller* c) { c->setLiveViewGCPipActive(true); });
    QTest::newRow("setLiveViewGCPipPos") << "setLiveViewGCPipPos"
                                         << Request([](Controller* c) { c->setLiveViewGCPipPos(0.5, 0.5); });
    QTest::newRow("doLiveViewGCPipSave") << "doLiveViewGCPipSave"
                                         << Request([](Controller* c) { c->doLiveViewGCPipSave(); });
    QTest::newRow("doLiveViewAFExec") << "doLiveViewAFExec" << Request([](Controller* c) { c->doLiveViewAFExec(); });
    QTest::newRow("doLiveViewAFPressed") << "doLiveViewAFPressed"
                                         << Request([](Controller* c) { c->doLiveViewAFPressed(); });
    QTest::newRow("doLiveViewAFReleased")
        << "doLiveViewAFReleased" << Request([](Controller* c) { c->doLiveViewAFReleased(); });
    QTest::newRow("toggleLiveViewZoom") << "toggleLiveViewZoom"
                                        << Request([](Controller* c) { c->toggleLiveViewZoom(); });
    QTest::newRow("setLiveViewPhoto") << "setLiveViewPhoto"
                                      << Request([](Controller* c) { c->setLiveViewPhoto(true); });
    QTest::newRow("setLiveViewVideo") << "setLiveViewVideo"
                                      << Request([](Controller* c) { c->setLiveViewVideo(true); });
    QTest::newRow("setWantLiveView") << "setWantLiveView" << Request([](Controller* c) { c->setWantLiveView(false); });
    QTest::newRow("catchLiveViewConsumed")
        << "catchLiveViewConsumed" << Request([](Controller* c) { c->catchLiveViewConsumed(); });
    QTest::newRow("catchLiveViewGUIClosed")
        << "catchLiveViewGUIClosed" << Request([](Controller* c) { c->catchLiveViewGUIClosed(); });
}

void tst_LiveViewController::requestsWithoutCamera()
{
    QFETCH(QString, name);
    QFETCH(Request, request);
    ControllerRig rig(0);
    OLP_Test_LogCapture log;
    request(rig.controller.get());
    QCOMPARE(log.count("OLP_Logic_Controller::" + name + " - no camera"), 1);
}

void tst_LiveViewController::liveViewThroughController()
{
    ControllerRig rig(ProductIdKestaD);
    QVERIFY(rig.connected());
    Controller* c = rig.controller.get();
    QSignalSpy modes(c, &Controller::signalLiveViewMode);
    QSignalSpy frames(c, &Controller::signalLiveView);
    QSignalSpy video(c, &Controller::signalLiveViewVideo);
    QSignalSpy zoomInfo(c, &Controller::signalLiveZoomInfo);
    QSignalSpy zoomRect(c, &Controller::signalLiveZoomRect);
    QSignalSpy audio(c, &Controller::signalLiveAudioLevel);
    QSignalSpy timeCode(c, &Controller::signalLiveTimeCode);
    QSignalSpy noLiveView(c, &Controller::signalNoLiveView);

    c->setLiveViewPhoto(true);
    QCOMPARE(video.size(), 1);
    QCOMPARE(video.at(0).at(0).toBool(), false);
    QVERIFY(QTest::qWaitFor([&] { return frames.size() >= 2; }, olpTimeout(5000)));
    QCOMPARE(modes.size(), 1);
    QCOMPARE(modes.at(0).at(0).toInt(), 2);
    QCOMPARE(c->liveViewMode(), 2);
    QCOMPARE(frames.at(0).at(0).value<QImage>().size(), QSize(1280, 720));
    QVERIFY(zoomInfo.size() >= 2);
    QVERIFY(zoomRect.size() >= 2);

    // Video live view carries the audio levels and the time code.
    c->setLiveViewVideo(true);
    QVERIFY(QTest::qWaitFor([&] { return audio.size() >= 1 && timeCode.size() >= 1; }, olpTimeout(5000)));
    QVERIFY(QTest::qWaitFor([&] { return c->liveViewMode() == 3; }, olpTimeout(5000)));
    QCOMPARE(modes.last().at(0).toInt(), 3);

    c->setWantLiveView(false);
    QCOMPARE(noLiveView.size(), 1);
    QVERIFY(!c->camera()->isLiveViewStreamingPrepared());
    c->setWantLiveView(true);
    QVERIFY(c->camera()->isLiveViewStreamingPrepared());
    c->setLiveViewVideo(false);
    QVERIFY(QTest::qWaitFor([&] { return modes.last().at(0).toInt() == 0; }, olpTimeout(5000)));
    QCOMPARE(noLiveView.size(), 2);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveViewController::greyCardAndFocusRequests()
{
    ControllerRig rig(ProductIdKestaD);
    QVERIFY(rig.connected());
    Controller* c = rig.controller.get();
    QSignalSpy frames(c, &Controller::signalLiveView);
    c->setLiveViewPhoto(true);
    QVERIFY(QTest::qWaitFor([&] { return frames.size() >= 1; }, olpTimeout(5000)));

    int before = rig.camera->releases().size();
    c->setLiveViewGCPipActive(true);
    c->setLiveViewGCPipPos(0.5, 0.25);
    c->setLiveViewCrossPosGlobal(0.25, 0.5);
    c->toggleLiveViewZoom();
    c->doLiveViewAFPressed();  // nothing on this camera: it focuses on release
    c->doLiveViewAFReleased();
    QCOMPARE(releaseParams(*rig.camera, before),
             (QList<QVector<quint32>>{{22, 0}, {2}, {21, 3000, 1000}, {22, 1}, {2}, {21, 1500, 2000}, {20}, {2}, {1}}));
    QVERIFY(QTest::qWaitFor([&] { return c->liveViewMode() == 4; }, olpTimeout(5000)));

    // Saving the grey card makes the camera leave live view; the controller's
    // camera starts it again.
    QSignalSpy modes(c, &Controller::signalLiveViewMode);
    before = rig.camera->releases().size();
    c->doLiveViewGCPipSave();
    QVERIFY(QTest::qWaitFor(
        [&] { return modes.size() >= 2 && modes.last().at(0).toInt() == 2 && rig.camera->liveViewState() == 2; },
        olpTimeout(5000)));
    QCOMPARE(modes.at(0).at(0).toInt(), 0);
    QCOMPARE(releaseParams(*rig.camera, before), (QList<QVector<quint32>>{{22, 3}, {17, 0}}));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// The live-view window acknowledges every frame while it is open.
void tst_LiveViewController::windowPacesTheStream()
{
    ControllerRig rig(ProductIdKestaD);
    QVERIFY(rig.connected());
    Controller* c = rig.controller.get();
    QSignalSpy frames(c, &Controller::signalLiveView);
    QSignalSpy simulation(c, &Controller::signalExposureSimulationList);
    c->catchLiveViewGUIOpened();
    QVERIFY(c->camera()->waitLiveViewConsumed());
    QCOMPARE(simulation.size(), 1);
    c->camera()->setLiveViewAckTimeout(60000);
    c->setLiveViewPhoto(true);
    QVERIFY(frames.wait(olpTimeout(5000)));
    QVERIFY(!frames.wait(300));
    QCOMPARE(frames.size(), 1);
    c->catchLiveViewConsumed();
    QVERIFY(frames.wait(olpTimeout(3000)));
    QCOMPARE(frames.size(), 2);

    c->catchLiveViewGUIClosed();
    QVERIFY(!c->camera()->waitLiveViewConsumed());
    QVERIFY(QTest::qWaitFor([&] { return frames.size() >= 5; }, olpTimeout(5000)));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// Opening the camera window resets the mode shown and asks the camera whether
// live view already runs.
void tst_LiveViewController::cameraWindowAsksForTheState()
{
    ControllerRig rig(ProductIdPelvo);
    QVERIFY(rig.connected());
    Controller* c = rig.controller.get();
    QSignalSpy frames(c, &Controller::signalLiveView);
    QSignalSpy modes(c, &Controller::signalLiveViewMode);
    c->setLiveViewVideo(true);
    QVERIFY(frames.wait(olpTimeout(5000)));
    modes.clear();
    c->catchCameraGUIOpened();
    QCOMPARE(modes.size(), 2);
    QCOMPARE(modes.at(0).at(0).toInt(), 0);
    QCOMPARE(modes.at(1).at(0).toInt(), 3);

    c->setWantLiveView(false);
    modes.clear();
    c->catchCameraGUIOpened();
    QCOMPARE(modes.size(), 1);
    QCOMPARE(modes.at(0).at(0).toInt(), 0);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

QTEST_GUILESS_MAIN(tst_LiveViewController)
#include "tst_LiveViewController.moc"
