// A picture that can be written neither in its folder nor in the default
// picture folder is not skipped silently: the user is warned and the failure
// is logged. The whole process runs with a home (and so a default picture
// folder) where nobody can create files.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

class tst_TransferUnwritable : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void nowhereToWrite_data();
    void nowhereToWrite();
};

void tst_TransferUnwritable::initTestCase()
{
    // Nobody, not even root, creates files in /proc: the default picture
    // folder falls back to the home folder, and that is /proc too.
    qputenv("HOME", "/proc");
    qunsetenv("XDG_CONFIG_HOME");
    olpTestInit();
    QCOMPARE(OLP_Logic_FolderSettings::defaultPictureFolder(), QStringLiteral("/proc"));
}

void tst_TransferUnwritable::nowhereToWrite_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("unwritable folder") << "/proc/self";
    QTest::newRow("missing folder") << "/proc/no such folder";
}

void tst_TransferUnwritable::nowhereToWrite()
{
    QFETCH(QString, folder);
    OLP_Test_EmuRig rig(ProductIdKestaD);
    rig.camera->setPropertyValue(0xD004, 2);  // JPG only
    OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options::forProduct(ProductIdKestaD);
    options.enabled = true;
    rig.camera->setCaptureOptions(options);
    QVERIFY(rig.open());
    auto camera = std::make_unique<OLP_Logic_Camera>(rig.access.get());
    connect(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalTransferRequest, camera.get(),
            &OLP_Logic_Camera::transferRequest, Qt::QueuedConnection);
    QStringList warnings;
    connect(
        camera.get(), &OLP_Logic_Camera::signalTransferWarning, this,
        [&warnings](const QString& text) { warnings << text; }, Qt::QueuedConnection);
    camera->setFolderSettings(OLP_Logic_FolderSettingsRecord{folder, folder, QStringLiteral("Picture"), 1});
    OLP_Test_LogCapture log;

    QVERIFY(camera->releaseCam(0));
    QTRY_COMPARE_WITH_TIMEOUT(rig.camera->requestCount(EmuWire::ObjectTransferReady), 1, olpTimeout(10000));
    QVERIFY(camera->waitForTransferThreads(olpTimeout(10000)));
    QCoreApplication::processEvents();

    QCOMPARE(warnings.size(), 1);
    QVERIFY(warnings.first().startsWith("The picture "));
    QVERIFY(warnings.first().contains("Picture00001.JPG could not be saved"));
    QVERIFY(log.contains("OLP_Logic_TransferThread::run - Error! Picture "));
    QVERIFY(log.contains("Picture00001.JPG was not saved"));
    // Nothing is read when there is no place for it; the camera is still acknowledged.
    QCOMPARE(rig.camera->requestCount(EmuWire::GetPartialObject), 0);
    QCOMPARE(rig.camera->requestCount(EmuWire::ObjectTransferReady), 1);
    camera.reset();
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

QTEST_GUILESS_MAIN(tst_TransferUnwritable)
#include "tst_TransferUnwritable.moc"
