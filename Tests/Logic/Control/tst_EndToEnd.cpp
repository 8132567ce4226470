// The whole tethering path the way the application drives it, without
// widgets: the controller in its worker thread, an emulated camera plugged
// into the process-wide USB hub and found by the controller's device poll,
// the folder settings handed over from the GUI thread, and the capture button
// pressed and released from the GUI thread as the TCP "R" command does. The
// pictures must arrive on disk under the right names and numbers, with the
// quick view and the GUI-facing signals in order.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <memory>

#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_ControllerRig.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;
using Offsets = OLP_Commu_EmuSettingsStruct;

namespace {

enum eShot
{
    Single,
    Bracketing,
    Interval
};

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The controller thread with the transfer signals the GUI shows recorded.
class Rig : public OLP_Test_ControllerRig
{
public:
    Rig()
    {
        if (!controller) {
            return;
        }
        Controller* c = controller;
        recorder.record(c, &Controller::signalLoading, QStringLiteral("loading"));
        recorder.record(c, &Controller::signalRemainingToLoad, QStringLiteral("remaining"));
        recorder.record(c, &Controller::signalPictureName, QStringLiteral("pictureName"));
        recorder.record(c, &Controller::signalPictureIndex, QStringLiteral("pictureIndex"));
        recorder.record(c, &Controller::signalQuickView, QStringLiteral("quickView"));
        recorder.record(c, &Controller::signalNoQuickView, QStringLiteral("noQuickView"));
        recorder.record(c, &Controller::signalWarning, QStringLiteral("warning"));
    }
};

}  // namespace

Q_DECLARE_METATYPE(eShot)

class tst_EndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        olpTestInit();
        olpRegisterMetaTypes();
    }

    void releaseCommand_data()
    {
        QTest::addColumn<quint16>("product");
        QTest::addColumn<eShot>("shot");
        QTest::addColumn<int>("fileFormat");  // the camera's own code
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("releases");
        QTest::addColumn<int>("nextIndex");  // the picture number after the shot

        QTest::newRow("Kesta D, DNG") << quint16(ProductIdKestaD) << Single << 0 << QStringList{"raw/Shot00042.DNG"}
                                      << 1 << 43;
        QTest::newRow("Kesta D, DNG + JPG") << quint16(ProductIdKestaD) << Single << 1
                                            << QStringList{"raw/Shot00042.DNG", "jpg/Shot00042.JPG"} << 1 << 43;
        QTest::newRow("Kesta A, JPG") << quint16(ProductIdKestaA) << Single << 3 << QStringList{"jpg/Shot00042.JPG"}
                                      << 1 << 43;
        QTest::newRow("Kesta A, bracketing 3")
            << quint16(ProductIdKestaA) << Bracketing << 3
            << QStringList{"jpg/Shot00042.JPG", "jpg/Shot00043.JPG", "jpg/Shot00044.JPG"} << 1 << 45;
        QTest::newRow("Kesta A, controller interval 2 frames")
            << quint16(ProductIdKestaA) << Interval << 3 << QStringList{"jpg/Shot00042.JPG", "jpg/Shot00043.JPG"} << 2
            << 44;
    }
    void releaseCommand()
    {
        QFETCH(quint16, product);
        QFETCH(eShot, shot);
        QFETCH(int, fileFormat);
        QFETCH(QStringList, expected);
        QFETCH(int, releases);
        QFETCH(int, nextIndex);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir().mkpath(folder.path() + "/raw") && QDir().mkpath(folder.path() + "/jpg"));

        auto camera = std::make_shared<OLP_Commu_EmuCamera>(product);
        OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options::forProduct(product);
        options.enabled = true;
        options.pictureSize = 64 * 1024;
        camera->setCaptureOptions(options);
        if (camera->profile().hasSettingsStructure) {
            camera->changeSettings(Offsets::FileFormat, QByteArray(1, char(fileFormat)));
            camera->changeSettings(Offsets::Bracketing, QByteArray(1, char(shot == Bracketing ? 1 : 0)));
        } else {
            camera->setPropertyValue(0xD004, fileFormat);
        }

        Rig rig;
        QVERIFY(rig.controller != nullptr);
        QVERIFY(rig.plug(camera) && rig.settle());
        // The application hands the folder settings over from the GUI thread.
        rig.controller->setFolderSettings(
            OLP_Logic_FolderSettingsRecord{folder.path() + "/raw", folder.path() + "/jpg", QStringLiteral("Shot"), 42});
        rig.controller->setWantQuickView(true);
        if (shot == Interval) {
            rig.run([](Controller* c) {
                c->setIntervalUnitMs(100);
                c->setDriveMode(QStringLiteral("Interval"));
                c->setIntervalFrames(2);
                c->setIntervalTime(1);
            });
        }
        QVERIFY(rig.settle());
        rig.recorder.events.clear();

        // The TCP "R" command: press and release, called from the GUI thread.
        rig.controller->doCaptureBtnPressed();
        rig.controller->doCaptureBtnReleased();

        const int pictures = expected.size();
        QVERIFY(QTest::qWaitFor([&] { return camera->requestCount(EmuWire::ObjectTransferReady) >= pictures; },
                                olpTimeout(15000)));
        const OLP_Test_SignalRecorder& r = rig.recorder;
        QVERIFY(QTest::qWaitFor([&] { return r.find("pictureIndex", nextIndex) >= 0; }, olpTimeout(10000)));
        QVERIFY(QTest::qWaitFor([&] { return r.findLast("loading", false) > r.find("quickView"); }, olpTimeout(10000)));
        QVERIFY(rig.runAndWait([](Controller* c) { c->camera()->waitForTransferThreads(5000); }));

        // The files, with the camera's bytes.
        const auto onDisk = [&folder] {
            QStringList files;
            for (const QString& sub : {QStringLiteral("raw"), QStringLiteral("jpg")}) {
                for (const QString& name : QDir(folder.path() + "/" + sub).entryList(QDir::Files, QDir::Name)) {
                    files << sub + "/" + name;
                }
            }
            return files;
        };
        QTRY_COMPARE_WITH_TIMEOUT(onDisk(), expected, olpTimeout(5000));
        const QList<OLP_Commu_EmuCapture::Picture> taken = camera->capturedPictures();
        QCOMPARE(taken.size(), pictures);
        QSet<QByteArray> written;
        for (const QString& file : expected) {
            written.insert(contents(folder.path() + "/" + file));
        }
        for (const OLP_Commu_EmuCapture::Picture& picture : taken) {
            QVERIFY2(written.contains(picture.bytes()), qPrintable(picture.fileName));
        }

        // The GUI-facing signals, in order: loading starts once per job, the
        // name and number are shown, the number advances as each picture is
        // named, the quick view comes with the picture, loading ends after the
        // last quick view.
        const int loadingOn = r.find("loading", true);
        const int quickView = r.find("quickView");
        QVERIFY(loadingOn >= 0);
        QVERIFY(quickView > loadingOn);
        QVERIFY(r.find("pictureName", QStringLiteral("Shot"), loadingOn) > loadingOn);
        QVERIFY(r.find("pictureIndex", nextIndex) > loadingOn);
        QCOMPARE(r.events.at(r.findLast("pictureIndex")).args.value(0).toInt(), nextIndex);
        QVERIFY(r.findLast("loading", false) > r.findLast("quickView"));
        int loadingOnCount = 0;
        for (const OLP_Test_SignalRecorder::Event& e : r.events) {
            loadingOnCount += e.name == "loading" && e.args.value(0).toBool() ? 1 : 0;
        }
        // A bracketing series is one job; every other picture is its own.
        QCOMPARE(loadingOnCount, shot == Bracketing ? 1 : pictures);
        // The numbers shown: the first picture's number at the announcement, then on.
        QVERIFY(r.find("pictureIndex", 42) >= 0);
        QVERIFY(r.find("pictureIndex", 42) < r.find("pictureIndex", nextIndex));
        // Every quick view names a picture written, and carries its preview.
        for (const OLP_Test_SignalRecorder::Event& e : r.events) {
            if (e.name == "quickView") {
                const QString name = QFileInfo(e.args.value(1).toString()).fileName();
                bool written = false;
                for (const QString& file : expected) {
                    written |= QFileInfo(file).fileName() == name;
                }
                QVERIFY2(written, qPrintable(name));
                QVERIFY(e.args.value(0).toByteArray().startsWith("\xFF\xD8"));
            }
        }
        QCOMPARE(r.count("quickView"), shot == Single ? 1 : pictures);
        QCOMPARE(r.count("warning"), 0);

        int stages = 0;
        for (const OLP_Commu_EmuCamera::Request& request : camera->releases()) {
            stages += (request.code == EmuWire::Release && request.params.value(0) == 0) ||
                              request.code == EmuWire::InitiateCapture
                          ? 1
                          : 0;
        }
        QCOMPARE(stages, releases);
        QVERIFY2(camera->protocolErrors().isEmpty(), qPrintable(camera->protocolErrors().join("; ")));
        QVERIFY(rig.finish());
    }

    // The controller thread stops while an interval series runs: the series'
    // timer goes with the controller and nothing fires afterwards.
    void stopDuringIntervalSeries()
    {
        auto camera = std::make_shared<OLP_Commu_EmuCamera>(ProductIdKestaA);
        Rig rig;
        QVERIFY(rig.plug(camera) && rig.settle());
        rig.run([](Controller* c) {
            c->setIntervalUnitMs(30);
            c->setDriveMode(5);
            c->setIntervalFrames(100);
        });
        QVERIFY(rig.settle());
        rig.controller->doCaptureBtnPressed();
        auto running = std::make_shared<std::atomic<bool>>(false);
        QVERIFY(QTest::qWaitFor(
            [&] {
                rig.run([running](Controller* c) { running->store(c->intervalRunning()); });
                QTest::qWait(5);
                return running->load();
            },
            olpTimeout(5000)));
        QVERIFY(rig.finish());
        // The controller is gone with its timer: the camera was closed, and no
        // release reaches it any more (several intervals later).
        const int after = camera->requestCount(EmuWire::Release);
        QVERIFY(!camera->isSessionOpen());
        QTest::qWait(100);
        QCOMPARE(camera->requestCount(EmuWire::Release), after);
        QVERIFY(camera->protocolErrors().isEmpty());
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(tst_EndToEnd)
#include "tst_EndToEnd.moc"
