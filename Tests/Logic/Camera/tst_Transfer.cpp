// Picture transfer through the camera object, the USB transport and the
// emulated camera: a release takes pictures, the camera announces them, one
// transfer thread per picture names, fetches, acknowledges and writes it.
// The controller is not involved: the access object's transfer request is
// connected to the camera object's transferRequest() as the controller does.

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <memory>
#include <thread>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_FolderSettings.h"
#include "OLP_Logic_TransferThread.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

using Options = OLP_Commu_EmuCapture::Options;
using Files = OLP_Commu_EmuCapture::eFiles;
Q_DECLARE_METATYPE(OLP_Commu_EmuCapture::eFiles)

namespace {

struct QuickView
{
    QByteArray data;
    QString path;
    int orientation;
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The camera's signals, received in the test thread the way the controller
// receives them (queued), in the order they arrived.
class Relay : public QObject
{
public:
    explicit Relay(OLP_Logic_Camera* camera)
    {
        using C = OLP_Logic_Camera;
        const auto q = Qt::QueuedConnection;
        connect(
            camera, &C::signalRemainingToLoad, this, [this](int n) { events << QStringLiteral("remaining %1").arg(n); },
            q);
        connect(
            camera, &C::signalLoading, this, [this](bool on) { events << (on ? "loading on" : "loading off"); }, q);
        connect(
            camera, &C::signalDngTransferDone, this, [this] { events << QStringLiteral("dng done"); }, q);
        connect(
            camera, &C::signalQuickView, this,
            [this](const QByteArray& data, const QString& path, int orientation) {
                events << QStringLiteral("quick view ") + QFileInfo(path).fileName();
                quickViews.append(QuickView{data, path, orientation});
            },
            q);
        connect(
            camera, &C::signalTransferWarning, this, [this](const QString& text) { warnings << text; }, q);
    }

    QStringList events;
    QList<QuickView> quickViews;
    QStringList warnings;
};

}  // namespace

class tst_Transfer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void singleShot_data();
    void singleShot();
    void burstOfThree();
    void pairPerShot_data();
    void pairPerShot();
    void pelvoPreviewRetry_data();
    void pelvoPreviewRetry();
    void orientation_data();
    void orientation();
    void existingFilesGetSuffix();
    void missingFolderFallsBack();
    void neitherJpgNorDng_data();
    void neitherJpgNorDng();
    void extensionDecidesOnce();
    void continuousStopIsRepeated();

    void failedPictureReadWritesNothing_data();
    void failedPictureReadWritesNothing();
    void unwritableFolderUsesDefault();
    void absurdSizeIsRefused();
    void failedObjectInfoWarns();
    void sequenceNumberZeroEndsLoading();

    void destroyWhileThreadsWait_data();
    void destroyWhileThreadsWait();

private:
    bool open(quint16 product, Files files, Options options, const OLP_Commu_EmuProfile* profile = nullptr);
    // Waits until no transfer is left and every queued signal has arrived.
    bool settle(int pictures);
    QStringList allFiles() const;

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dng;
    QString m_jpg;
    std::unique_ptr<OLP_Test_EmuRig> m_rig;
    std::unique_ptr<OLP_Logic_Camera> m_camera;
    std::unique_ptr<Relay> m_relay;
};

void tst_Transfer::initTestCase()
{
    QVERIFY(m_home.isValid());
    // The default picture folder lands in a throw-away home, not in the user's pictures.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    olpTestInit();
    QVERIFY(OLP_Logic_FolderSettings::defaultPictureFolder().startsWith(m_home.path()));
}

void tst_Transfer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dng = m_dir->path() + "/raw";
    m_jpg = m_dir->path() + "/jpg";
    QVERIFY(QDir().mkpath(m_dng) && QDir().mkpath(m_jpg));
    QDir(OLP_Logic_FolderSettings::defaultPictureFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(OLP_Logic_FolderSettings::defaultPictureFolder()));
}

void tst_Transfer::cleanup()
{
    m_camera.reset();
    if (m_rig) {
        QVERIFY2(m_rig->camera->protocolErrors().isEmpty(), qPrintable(m_rig->camera->protocolErrors().join("; ")));
    }
    m_relay.reset();
    m_rig.reset();
}

bool tst_Transfer::open(quint16 product, Files files, Options options, const OLP_Commu_EmuProfile* profile)
{
    m_rig = std::make_unique<OLP_Test_EmuRig>(profile ? *profile : OLP_Commu_EmuProfile::forProduct(product));
    OLP_Commu_EmuCamera& emu = *m_rig->camera;
    // The camera's file format: a byte of the settings structure or a property.
    if (emu.profile().hasSettingsStructure) {
        const char format = files == Files::DngOnly ? 0 : (files == Files::JpgOnly ? 3 : 1);
        emu.changeSettings(15, QByteArray(1, format));
    } else {
        emu.setPropertyValue(0xD004, files == Files::DngOnly ? 0 : (files == Files::JpgOnly ? 2 : 1));
    }
    options.enabled = true;
    emu.setCaptureOptions(options);
    if (!m_rig->open()) {
        return false;
    }
    m_camera = std::make_unique<OLP_Logic_Camera>(m_rig->access.get());
    connect(m_rig->access.get(), &OLP_Commu_CameraAccess_Base::signalTransferRequest, m_camera.get(),
            &OLP_Logic_Camera::transferRequest, Qt::QueuedConnection);
    m_relay = std::make_unique<Relay>(m_camera.get());
    m_camera->setFolderSettings(OLP_Logic_FolderSettingsRecord{m_dng, m_jpg, QStringLiteral("Picture"), 1});
    // The property changes of the set-up are read before any picture is taken,
    // so no refresh in this thread waits behind a transfer.
    const bool quiet = QTest::qWaitFor(
        [&] { return emu.pendingEvents() == 0 && m_rig->access->pendingPropertyCodes().isEmpty(); }, olpTimeout(5000));
    QCoreApplication::processEvents();
    return quiet;
}

bool tst_Transfer::settle(int pictures)
{
    const bool acknowledged = QTest::qWaitFor(
        [&] { return m_rig->camera->requestCount(EmuWire::ObjectTransferReady) >= pictures; }, olpTimeout(10000));
    const bool finished = m_camera->waitForTransferThreads(olpTimeout(10000));
    QCoreApplication::processEvents();
    return acknowledged && finished;
}

QStringList tst_Transfer::allFiles() const
{
    return filesIn(m_dng) + filesIn(m_jpg) + filesIn(OLP_Logic_FolderSettings::defaultPictureFolder());
}

// ---- the road of one picture --------------------------------------------------------------------

void tst_Transfer::singleShot_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Files>("files");
    QTest::addColumn<bool>("partialObject");
    QTest::addColumn<int>("pictureSize");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("reads");
    QTest::addColumn<bool>("standardEvents");

    const quint16 kestaD = ProductIdKestaD;
    const int small = 256 * 1024;
    QTest::newRow("Kesta D JPG") << kestaD << Files::JpgOnly << true << small << "jpg/Picture00001.JPG" << 1 << false;
    QTest::newRow("Kesta D DNG") << kestaD << Files::DngOnly << true << small << "raw/Picture00001.DNG" << 1 << false;
    QTest::newRow("Kesta A (structure) JPG")
        << quint16(ProductIdKestaA) << Files::JpgOnly << true << small << "jpg/Picture00001.JPG" << 1 << false;
    QTest::newRow("Kesta E (structure M) DNG")
        << quint16(ProductIdKestaE) << Files::DngOnly << true << small << "raw/Picture00001.DNG" << 1 << false;
    QTest::newRow("Seventh (InitiateCapture) DNG")
        << quint16(ProductIdSeventh) << Files::DngOnly << true << small << "raw/Picture00001.DNG" << 1 << false;
    // Read in parts of 4 MiB after a first one of 256 KiB, written as they arrive.
    QTest::newRow("DNG of 10 MB in four parts")
        << kestaD << Files::DngOnly << true << 10000000 << "raw/Picture00001.DNG" << 4 << false;
    // ObjectAdded and CaptureComplete as well, which the transfer leaves alone.
    QTest::newRow("Kesta D JPG, standard events too")
        << kestaD << Files::JpgOnly << true << small << "jpg/Picture00001.JPG" << 1 << true;
    // Without GetPartialObject the whole picture comes with one GetObject.
    QTest::newRow("DNG of 10 MB, one GetObject")
        << kestaD << Files::DngOnly << false << 10000000 << "raw/Picture00001.DNG" << 1 << false;
}

void tst_Transfer::singleShot()
{
    QFETCH(quint16, product);
    QFETCH(Files, files);
    QFETCH(bool, partialObject);
    QFETCH(int, pictureSize);
    QFETCH(QString, expected);
    QFETCH(int, reads);
    QFETCH(bool, standardEvents);
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(product);
    if (!partialObject) {
        profile.missingOperations << EmuWire::GetPartialObject;
    }
    Options options = Options::forProduct(product);
    options.pictureSize = quint64(pictureSize);
    options.standardEvents = standardEvents;
    QVERIFY(open(product, files, options, &profile));

    QVERIFY(m_camera->releaseCam(0));
    // The transport waits for the release's answer as long as this exposure.
    QCOMPARE(m_rig->access->exposureTime(), m_camera->shutterTime());
    QVERIFY(settle(1));

    const QList<OLP_Commu_EmuCapture::Picture> taken = m_rig->camera->capturedPictures();
    QCOMPARE(taken.size(), 1);
    QCOMPARE(contents(m_dir->path() + "/" + expected), taken.first().bytes());
    QCOMPARE(allFiles(), QStringList{QFileInfo(expected).fileName()});
    QCOMPARE(m_camera->pictureIndex(), 2);
    QCOMPARE(m_relay->events, QStringList({"remaining 1", "dng done", "loading off", "remaining 0"}));
    QVERIFY(m_relay->warnings.isEmpty());
    QCOMPARE(m_rig->camera->pendingNewObjects(), 0);
    QCOMPARE(m_rig->camera->requestCount(partialObject ? EmuWire::GetPartialObject : EmuWire::GetObject), reads);
    QCOMPARE(m_rig->camera->requestCount(partialObject ? EmuWire::GetObject : EmuWire::GetPartialObject), 0);
    QVERIFY(!m_camera->isBusy());
    QVERIFY(!m_camera->isTransferInProgress());
    QCOMPARE(m_camera->activeTransfers(), 0);
}

// Loading must end exactly once, after the last picture of the burst; busy
// stays set while pictures are still to come.
void tst_Transfer::burstOfThree()
{
    Options options = Options::forProduct(ProductIdKestaD);
    options.continuousShots = 3;
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, options));
    QMutex busyMutex;  // guards busyAtAnnouncement
    QList<bool> busyAtAnnouncement;
    connect(
        m_camera.get(), &OLP_Logic_Camera::signalRemainingToLoad, this,
        [&](int) {
            QMutexLocker lock(&busyMutex);
            busyAtAnnouncement << m_camera->isBusy();
        },
        Qt::DirectConnection);

    QVERIFY(m_camera->releaseCam(12));
    QVERIFY(settle(3));

    QCOMPARE(m_relay->events, QStringList({"remaining 3", "dng done", "remaining 2", "dng done", "remaining 1",
                                           "dng done", "loading off", "remaining 0"}));
    QCOMPARE(filesIn(m_jpg), QStringList({"Picture00001.JPG", "Picture00002.JPG", "Picture00003.JPG"}));
    const QList<OLP_Commu_EmuCapture::Picture> taken = m_rig->camera->capturedPictures();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(contents(m_jpg + QStringLiteral("/Picture0000%1.JPG").arg(i + 1)), taken.at(i).bytes());
    }
    QMutexLocker lock(&busyMutex);
    QCOMPARE(busyAtAnnouncement.mid(0, 3), QList<bool>({true, true, true}));
    QVERIFY(!m_camera->isBusy());
}

void tst_Transfer::pairPerShot_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("quickViewFiles");

    // The DNG comes first on most cameras and leaves the number alone; Pelvo sends the JPG first.
    QTest::newRow("Kesta D") << quint16(ProductIdKestaD)
                             << QStringList({"remaining 4", "quick view Picture00001.DNG", "dng done", "remaining 3",
                                             "remaining 2", "quick view Picture00002.DNG", "dng done", "remaining 1",
                                             "loading off", "remaining 0"})
                             << QStringList({"raw/Picture00001.DNG", "raw/Picture00002.DNG"});
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo)
                           << QStringList({"remaining 4", "quick view Picture00001.JPG", "remaining 3", "dng done",
                                           "remaining 2", "quick view Picture00002.JPG", "remaining 1", "dng done",
                                           "loading off", "remaining 0"})
                           << QStringList({"jpg/Picture00001.JPG", "jpg/Picture00002.JPG"});
}

void tst_Transfer::pairPerShot()
{
    QFETCH(quint16, product);
    QFETCH(QStringList, events);
    QFETCH(QStringList, quickViewFiles);
    Options options = Options::forProduct(product);
    options.continuousShots = 2;
    QVERIFY(open(product, Files::DngAndJpg, options));
    m_camera->setWantQuickView(true);

    QVERIFY(m_camera->releaseCam(12));
    QVERIFY(settle(4));

    QCOMPARE(m_relay->events, events);
    QCOMPARE(filesIn(m_dng), QStringList({"Picture00001.DNG", "Picture00002.DNG"}));
    QCOMPARE(filesIn(m_jpg), QStringList({"Picture00001.JPG", "Picture00002.JPG"}));
    QCOMPARE(m_camera->pictureIndex(), 3);
    QCOMPARE(m_relay->quickViews.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(m_relay->quickViews.at(i).path, m_dir->path() + "/" + quickViewFiles.at(i));
    }
    for (const OLP_Commu_EmuCapture::Picture& picture : m_rig->camera->capturedPictures()) {
        const bool dng = picture.fileName.endsWith(".DNG");
        const QString number = QString::number(picture.fileName.mid(1, 7).toInt() - 1000000).rightJustified(5, '0');
        QCOMPARE(contents((dng ? m_dng : m_jpg) + "/Picture" + number + (dng ? ".DNG" : ".JPG")), picture.bytes());
    }
}

// Pelvo asks for its preview (thumbnail type 1); when the camera has none yet
// the information is read again for the small thumbnail (type 0).
void tst_Transfer::pelvoPreviewRetry_data()
{
    QTest::addColumn<bool>("previewMissing");
    QTest::addColumn<int>("objectInfoReads");
    QTest::newRow("preview ready") << false << 1;
    QTest::newRow("preview size 0") << true << 2;
}

void tst_Transfer::pelvoPreviewRetry()
{
    QFETCH(bool, previewMissing);
    QFETCH(int, objectInfoReads);
    Options options = Options::forProduct(ProductIdPelvo);
    options.previewMissing = previewMissing;
    QVERIFY(open(ProductIdPelvo, Files::JpgOnly, options));
    m_camera->setWantQuickView(true);

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    const OLP_Commu_EmuCapture::Picture picture = m_rig->camera->capturedPictures().first();
    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetObjectInfo), objectInfoReads);
    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetThumb), 1);
    QCOMPARE(m_relay->quickViews.size(), 1);
    QCOMPARE(m_relay->quickViews.first().data, previewMissing ? picture.thumbnail : picture.preview);
    QCOMPARE(filesIn(m_jpg), QStringList{"Picture00001.JPG"});
}

void tst_Transfer::orientation_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Files>("files");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<bool>("property");
    QTest::addColumn<bool>("partialObject");
    QTest::addColumn<int>("expected");

    QTest::newRow("JPG little-endian 6") << quint16(ProductIdKestaD) << Files::JpgOnly << 6 << false << false << true
                                         << 6;
    QTest::newRow("JPG big-endian 8") << quint16(ProductIdKestaD) << Files::JpgOnly << 8 << true << false << true << 8;
    QTest::newRow("DNG big-endian 3") << quint16(ProductIdKestaD) << Files::DngOnly << 3 << true << false << true << 3;
    QTest::newRow("DNG little-endian 6") << quint16(ProductIdKestaA) << Files::DngOnly << 6 << false << false << true
                                         << 6;
    QTest::newRow("no orientation entry")
        << quint16(ProductIdKestaD) << Files::JpgOnly << 0 << false << false << true << 0;
    QTest::newRow("object property") << quint16(ProductIdSeventh) << Files::JpgOnly << 5 << false << true << true << 5;
    QTest::newRow("without GetPartialObject")
        << quint16(ProductIdKestaD) << Files::JpgOnly << 8 << false << false << false << 8;
}

void tst_Transfer::orientation()
{
    QFETCH(quint16, product);
    QFETCH(Files, files);
    QFETCH(int, orientation);
    QFETCH(bool, bigEndian);
    QFETCH(bool, property);
    QFETCH(bool, partialObject);
    QFETCH(int, expected);
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(product);
    if (!partialObject) {
        profile.missingOperations << EmuWire::GetPartialObject;
    }
    Options options = Options::forProduct(product);
    options.orientation = orientation;
    options.bigEndian = bigEndian;
    options.orientationProperty = property;
    QVERIFY(open(product, files, options, &profile));
    m_camera->setWantQuickView(true);

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    QCOMPARE(m_relay->quickViews.size(), 1);
    QCOMPARE(m_relay->quickViews.first().orientation, expected);
    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetObjectPropValue), property ? 1 : 0);
    // With GetPartialObject the 1024 bytes for the Exif search are one small
    // read; GetObject would send the whole picture a second time.
    const int prefixReads = property ? 0 : 1;
    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetPartialObject), partialObject ? prefixReads + 1 : 0);
    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetObject), partialObject ? 0 : prefixReads + 1);
    QCOMPARE(allFiles().size(), 1);
}

void tst_Transfer::existingFilesGetSuffix()
{
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, Options::forProduct(ProductIdKestaD)));
    for (const char* name : {"Picture00001.JPG", "Picture00001_1.JPG"}) {
        QFile file(m_jpg + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("earlier ") + name);
    }

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    QCOMPARE(filesIn(m_jpg), QStringList({"Picture00001.JPG", "Picture00001_1.JPG", "Picture00001_2.JPG"}));
    QCOMPARE(contents(m_jpg + "/Picture00001_2.JPG"), m_rig->camera->capturedPictures().first().bytes());
    QCOMPARE(contents(m_jpg + "/Picture00001.JPG"), QByteArray("earlier Picture00001.JPG"));
    QCOMPARE(contents(m_jpg + "/Picture00001_1.JPG"), QByteArray("earlier Picture00001_1.JPG"));
}

void tst_Transfer::missingFolderFallsBack()
{
    QVERIFY(open(ProductIdKestaD, Files::DngOnly, Options::forProduct(ProductIdKestaD)));
    QVERIFY(QDir(m_dng).removeRecursively());

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    const QString fallback = OLP_Logic_FolderSettings::defaultPictureFolder();
    QCOMPARE(contents(fallback + "/Picture00001.DNG"), m_rig->camera->capturedPictures().first().bytes());
    QCOMPARE(m_camera->dngPath(), QDir::toNativeSeparators(fallback));
    QCOMPARE(m_camera->jpgPath(), QDir::toNativeSeparators(m_jpg));
}

// Such an object is fetched and acknowledged like a picture but never written.
void tst_Transfer::neitherJpgNorDng_data()
{
    QTest::addColumn<QString>("cameraName");
    QTest::newRow("video") << "L1000001.MOV";
    QTest::newRow("no extension") << "L1000001";
}

void tst_Transfer::neitherJpgNorDng()
{
    QFETCH(QString, cameraName);
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, Options::forProduct(ProductIdKestaD)));
    OLP_Test_LogCapture log;

    m_rig->camera->announceObject(cameraName, QByteArray(4000, 'v'));
    QVERIFY(settle(1));

    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetPartialObject), 1);
    QVERIFY(allFiles().isEmpty());
    QVERIFY(log.contains("OLP_Logic_FolderSettings::nextPictureFile - Exception! File not JPG or DNG: " + cameraName));
    QCOMPARE(m_camera->pictureIndex(), 1);
    QVERIFY(m_relay->events.contains("loading off"));
}

// A camera that writes ".dng" still makes a DNG: named as one, and the interval
// series is told the DNG is done even when its name got a "_1" suffix.
void tst_Transfer::extensionDecidesOnce()
{
    QVERIFY(open(ProductIdKestaD, Files::DngAndJpg, Options::forProduct(ProductIdKestaD)));
    QFile existing(m_dng + "/Picture00001.DNG");
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    const QByteArray dng = OLP_Commu_EmuCapture::dngHead(4096, 1, false, "Kesta D", 1, nullptr);

    m_rig->camera->announceObject("L1000001.dng", dng, 2);
    QVERIFY(settle(1));

    QCOMPARE(filesIn(m_dng), QStringList({"Picture00001.DNG", "Picture00001_1.dng"}));
    QCOMPARE(contents(m_dng + "/Picture00001_1.dng"), dng);
    QCOMPARE(m_relay->events, QStringList({"remaining 2", "dng done"}));
    QVERIFY(m_camera->folderSettings()->exampleIsDng());
}

// A continuous stop that was pending is sent again before the transfer.
void tst_Transfer::continuousStopIsRepeated()
{
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, Options::forProduct(ProductIdKestaD)));
    m_camera->setContinuousStopPending(true);

    m_rig->camera->capture(1);
    QVERIFY(settle(1));

    const QList<OLP_Commu_EmuCamera::Request> releases = m_rig->camera->releases();
    QCOMPARE(releases.size(), 1);
    QCOMPARE(releases.first().params.value(0), 13u);
    QVERIFY(!m_camera->continuousStopPending());
    QCOMPARE(filesIn(m_jpg), QStringList{"Picture00001.JPG"});
}

// ---- faults -------------------------------------------------------------------------------------

// A failed read must not leave a zero-filled "picture": no file, a warning, and
// the camera still gets its acknowledgement.
void tst_Transfer::failedPictureReadWritesNothing_data()
{
    QTest::addColumn<bool>("partialObject");
    QTest::addColumn<bool>("answerError");
    QTest::addColumn<qint64>("stopAfter");

    QTest::newRow("GetPartialObject answers an error") << true << true << qint64(-1);
    QTest::newRow("GetObject answers an error") << false << true << qint64(-1);
    QTest::newRow("data phase ends early") << true << false << qint64(10000);
    // The first part is already in the temporary file when the second fails.
    QTest::newRow("second part ends early") << true << false << qint64(6000000);
    QTest::newRow("GetObject data phase ends early") << false << false << qint64(6000000);
}

void tst_Transfer::failedPictureReadWritesNothing()
{
    QFETCH(bool, partialObject);
    QFETCH(bool, answerError);
    QFETCH(qint64, stopAfter);
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    if (!partialObject) {
        profile.missingOperations << EmuWire::GetPartialObject;
    }
    Options options = Options::forProduct(ProductIdKestaD);
    options.pictureSize = 10000000;
    options.stopDataAfter = stopAfter;
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, options, &profile));
    if (answerError) {
        m_rig->camera->failNextOperations(EmuWire::GeneralError, 1,
                                          partialObject ? EmuWire::GetPartialObject : EmuWire::GetObject);
    }
    OLP_Test_LogCapture log;

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    QVERIFY2(allFiles().isEmpty(), qPrintable(allFiles().join(", ")));
    QCOMPARE(m_relay->warnings.size(), 1);
    QVERIFY(m_relay->warnings.first().contains("L1000001.JPG"));
    QVERIFY(log.contains("OLP_Logic_TransferThread::run - Error! Reading picture L1000001.JPG failed"));
    QCOMPARE(m_rig->camera->requestCount(EmuWire::ObjectTransferReady), 1);
    QCOMPARE(m_relay->events.mid(m_relay->events.size() - 2), QStringList({"loading off", "remaining 0"}));
}

void tst_Transfer::unwritableFolderUsesDefault()
{
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, Options::forProduct(ProductIdKestaD)));
    // Nobody, not even root, creates files in /proc.
    m_camera->setJpgPath(QStringLiteral("/proc"));

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    const QString fallback = OLP_Logic_FolderSettings::defaultPictureFolder();
    QCOMPARE(filesIn(fallback), QStringList{"Picture00001.JPG"});
    QCOMPARE(contents(fallback + "/Picture00001.JPG"), m_rig->camera->capturedPictures().first().bytes());
    QCOMPARE(m_relay->warnings.size(), 1);
    QVERIFY(m_relay->warnings.first().contains(QDir::toNativeSeparators(fallback + "/Picture00001.JPG")));
}

void tst_Transfer::absurdSizeIsRefused()
{
    Options options = Options::forProduct(ProductIdKestaD);
    options.reportedSize = 0xFFFFFFF0u;
    QVERIFY(open(ProductIdKestaD, Files::DngOnly, options));
    OLP_Test_LogCapture log;

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    QCOMPARE(m_rig->camera->requestCount(EmuWire::GetObject) + m_rig->camera->requestCount(EmuWire::GetPartialObject),
             0);
    QVERIFY(allFiles().isEmpty());
    QCOMPARE(m_relay->warnings.size(), 1);
    QVERIFY(
        log.contains("OLP_Logic_TransferThread::run - Error! Picture L1000001.DNG announced with 4294967280 bytes"));
    QCOMPARE(m_rig->camera->requestCount(EmuWire::ObjectTransferReady), 1);
}

// A picture whose information cannot be read is reported, ends the burst and
// is acknowledged, so the next picture comes through.
void tst_Transfer::failedObjectInfoWarns()
{
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, Options::forProduct(ProductIdKestaD)));
    m_rig->camera->failNextOperations(EmuWire::GeneralError, 1, EmuWire::GetObjectInfo);
    OLP_Test_LogCapture log;

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(1));

    QVERIFY(allFiles().isEmpty());
    QCOMPARE(m_relay->warnings.size(), 1);
    QVERIFY(log.contains("OLP_Logic_TransferThread::run - Error! The information of a new picture could not be read"));
    QCOMPARE(m_relay->events, QStringList({"remaining 0", "dng done", "loading off", "remaining 0"}));
    QCOMPARE(m_camera->pictureIndex(), 1);

    QVERIFY(m_camera->releaseCam(0));
    QVERIFY(settle(2));
    QCOMPARE(contents(m_jpg + "/Picture00001.JPG"), m_rig->camera->capturedPictures().at(1).bytes());
}

void tst_Transfer::sequenceNumberZeroEndsLoading()
{
    QVERIFY(open(ProductIdKestaD, Files::JpgOnly, Options::forProduct(ProductIdKestaD)));
    const QByteArray jpg = OLP_Commu_EmuCapture::jpegFile(OLP_Commu_EmuCapture::jpegImage(64, 48, 2), 1, false, "D");

    m_rig->camera->announceObject("L1000001.JPG", jpg, 0);
    QVERIFY(settle(1));

    QCOMPARE(m_relay->events, QStringList({"remaining 0", "dng done", "loading off", "remaining 0"}));
    QVERIFY(!m_camera->isBusy());
    QCOMPARE(contents(m_jpg + "/Picture00001.JPG"), jpg);
}

// ---- destroy while busy -------------------------------------------------------------------------

// The camera object goes away while the first transfer hangs in its picture
// data and two more threads wait for the transfer lock. Either the cable is
// pulled meanwhile, or the camera stays and the waiting threads finish their
// pictures inside the destructor. Never a half picture under its final name,
// never a temporary file.
void tst_Transfer::destroyWhileThreadsWait_data()
{
    QTest::addColumn<bool>("unplug");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<int>("warnings");
    QTest::newRow("cable pulled") << true << QStringList() << 3;
    // The lost first picture keeps its number: a gap shows where it is missing.
    QTest::newRow("camera stays") << false << QStringList({"Picture00002.DNG", "Picture00003.DNG"}) << 1;
}

void tst_Transfer::destroyWhileThreadsWait()
{
    QFETCH(bool, unplug);
    QFETCH(QStringList, written);
    QFETCH(int, warnings);
    Options options = Options::forProduct(ProductIdKestaD);
    options.pictureSize = 10000000;
    QVERIFY(open(ProductIdKestaD, Files::DngOnly, options));
    OLP_Commu_EmuCamera* emu = m_rig->camera.get();
    // Long enough for the test to see the first transfer hanging.
    OLP_Commu_PtpTransport::Timeouts timeouts = OLP_Test_EmuRig::fastTimeouts();
    timeouts.dataChunkMs = olpTimeout(3000);
    m_rig->access->setTimeouts(timeouts);
    options.enabled = true;
    // The first picture's third part never comes: the first two (256 KiB and
    // 4 MiB) are in the temporary file.
    options.holdDataAfter = 5000000;
    emu->setCaptureOptions(options);
    emu->capture(1);
    options.holdDataAfter = -1;
    emu->setCaptureOptions(options);
    emu->capture(2);

    {
        // Held as the controller's picture store holds it, until all three
        // threads wait; then the first one runs into the held picture data.
        QMutexLocker store(m_camera->transferLock());
        QTRY_COMPARE_WITH_TIMEOUT(m_camera->activeTransfers(), 3, olpTimeout(5000));
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        emu->requestCount(EmuWire::GetPartialObject) == 3 && emu->waitingReads(OLP_Commu_EmuCamera::BulkIn) > 0,
        olpTimeout(5000));

    std::atomic<bool> deleting{false};
    std::thread cable([&] {
        while (!deleting.load()) {
            std::this_thread::yield();
        }
        if (unplug) {
            emu->unplug();
        }
    });
    deleting = true;
    m_camera.reset();
    cable.join();
    QCoreApplication::processEvents();

    QCOMPARE(allFiles(), written);
    const QList<OLP_Commu_EmuCapture::Picture> taken = emu->capturedPictures();
    for (int i = 0; i < written.size(); ++i) {
        QCOMPARE(contents(m_dng + "/" + written.at(i)), taken.at(i + 1).bytes());
    }
    QCOMPARE(m_relay->warnings.size(), warnings);
}

QTEST_GUILESS_MAIN(tst_Transfer)
#include "tst_Transfer.moc"
