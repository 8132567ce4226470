// Picture transfer as the application drives it: the controller thread, the
// capture button, the camera's transfer requests through the controller's
// catchTransferRequest(), and the controller's signals to the GUI.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_ControllerRig.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;

namespace {

// The controller thread with the loading signals recorded: events() reads
// them as "loading on", "loading off" and "remaining <n>", in order.
class ControllerRig : public OLP_Test_ControllerRig
{
public:
    ControllerRig()
    {
        if (controller) {
            recorder.record(controller, &Controller::signalLoading, QStringLiteral("loading"));
            recorder.record(controller, &Controller::signalRemainingToLoad, QStringLiteral("remaining"));
            recorder.record(controller, &Controller::signalPictureIndex, QStringLiteral("pictureIndex"));
        }
    }
    QStringList events() const
    {
        QStringList out;
        for (const OLP_Test_SignalRecorder::Event& e : recorder.events) {
            if (e.name == "loading") {
                out << (e.args.value(0).toBool() ? "loading on" : "loading off");
            } else if (e.name == "remaining") {
                out << QStringLiteral("remaining %1").arg(e.args.value(0).toInt());
            }
        }
        return out;
    }
    int pictureIndex() const { return recorder.last("pictureIndex").toInt(); }
    int disconnected() const { return recorder.count("signalCameraDisconnected"); }
};

std::shared_ptr<OLP_Commu_EmuCamera> kestaD(int fileFormat, bool bracketing, qint64 holdDataAfter = -1)
{
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    for (OLP_Commu_EmuProfile::Property& p : profile.properties) {
        if (p.code == 0xD004) {
            p.current = fileFormat;
        } else if (p.code == 0xD005) {
            p.current = bracketing ? 1 : 0;
        } else if (p.code == 0xD006) {
            p.current = 3;
        }
    }
    auto camera = std::make_shared<OLP_Commu_EmuCamera>(profile);
    OLP_Commu_EmuCapture::Options options = camera->captureOptions();
    options.enabled = true;
    options.holdDataAfter = holdDataAfter;
    options.pictureSize = 6000000;
    camera->setCaptureOptions(options);
    return camera;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

}  // namespace

class tst_TransferController : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void bracketingSeries();
    void disconnectDuringBurst();

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_TransferController::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    olpTestInit();
    olpRegisterMetaTypes();
}

void tst_TransferController::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// One press in bracketing mode: three pictures, loading shown once from the
// first announcement to the last picture, every picture on disk as taken.
void tst_TransferController::bracketingSeries()
{
    ControllerRig rig;
    QVERIFY(rig.controller);
    QVERIFY(rig.plug(kestaD(2, true)));
    rig.controller->setFolderSettings(OLP_Logic_FolderSettingsRecord{m_dir->path(), m_dir->path(), "Shot", 41});

    rig.controller->doCaptureBtnPressed();
    rig.controller->doCaptureBtnReleased();
    QTRY_VERIFY_WITH_TIMEOUT(rig.events().contains("loading off"), olpTimeout(10000));
    QTRY_COMPARE_WITH_TIMEOUT(rig.pictureIndex(), 44, olpTimeout(5000));

    QCOMPARE(rig.events().count("loading on"), 1);
    QCOMPARE(rig.events().count("loading off"), 1);
    QCOMPARE(rig.events().first(), QStringLiteral("loading on"));
    QCOMPARE(rig.events().mid(rig.events().size() - 2), QStringList({"loading off", "remaining 0"}));
    QCOMPARE(filesIn(m_dir->path()), QStringList({"Shot00041.JPG", "Shot00042.JPG", "Shot00043.JPG"}));
    const QList<OLP_Commu_EmuCapture::Picture> taken = rig.camera->capturedPictures();
    QCOMPARE(taken.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QFile file(m_dir->path() + QStringLiteral("/Shot0004%1.JPG").arg(41 + i - 40));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), taken.at(i).bytes());
    }
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// The camera goes away in the middle of a burst: the controller deletes the
// camera object while one transfer hangs in its picture and the others wait
// for the transfer lock. No picture is left half written, nothing temporary.
void tst_TransferController::disconnectDuringBurst()
{
    ControllerRig rig;
    QVERIFY(rig.controller);
    QVERIFY(rig.plug(kestaD(2, true, 5000000)));
    rig.controller->setFolderSettings(OLP_Logic_FolderSettingsRecord{m_dir->path(), m_dir->path(), "Shot", 1});
    OLP_Commu_EmuCamera* emu = rig.camera.get();

    rig.controller->doCaptureBtnPressed();
    rig.controller->doCaptureBtnReleased();
    // The first picture hangs in its third part (after 256 KiB and 4 MiB).
    QTRY_VERIFY_WITH_TIMEOUT(
        emu->requestCount(EmuWire::GetPartialObject) == 3 && emu->waitingReads(OLP_Commu_EmuCamera::BulkIn) > 0,
        olpTimeout(5000));
    emu->unplug();

    QTRY_COMPARE_WITH_TIMEOUT(rig.disconnected(), 1, olpTimeout(10000));
    QCOMPARE(filesIn(m_dir->path()), QStringList());
    QCOMPARE(rig.events().first(), QStringLiteral("loading on"));
}

QTEST_GUILESS_MAIN(tst_TransferController)
#include "tst_TransferController.moc"
