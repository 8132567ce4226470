#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_ScriptedAccess.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;
typedef std::function<void(Controller*)> Request;
Q_DECLARE_METATYPE(Request)

namespace {
// A USB access whose discovery the test drives: it counts the polls and
// announces the cameras the test names.
class PolledAccess : public OLP_Test_ScriptedAccess
{
public:
    int checks = 0;
    QStringList opened;

    bool checkDeviceAvailable() override
    {
        ++checks;
        return false;
    }
    bool openConnection(quint64 cameraId, int productId, const QString& deviceId) override
    {
        opened.append(deviceId);
        return OLP_Test_ScriptedAccess::openConnection(cameraId, productId, deviceId);
    }
    void announce(int productId, const QString& deviceId) { emitDeviceAvailable(0x2F1A, productId, deviceId); }
};

// Spies on every signal of the controller.
class AllSignals
{
public:
    explicit AllSignals(Controller* controller)
    {
        const QMetaObject* mo = controller->metaObject();
        for (int i = QObject::staticMetaObject.methodCount(); i < mo->methodCount(); ++i) {
            const QMetaMethod method = mo->method(i);
            if (method.methodType() == QMetaMethod::Signal) {
                spies.emplace_back(new QSignalSpy(controller, ("2" + method.methodSignature()).constData()));
            }
        }
    }
    int total() const
    {
        int n = 0;
        for (const auto& spy : spies) {
            n += spy->count();
        }
        return n;
    }
    std::vector<std::unique_ptr<QSignalSpy>> spies;
};

void putU16(QByteArray* data, int offset, quint16 value)
{
    (*data)[offset] = char(value & 0xFF);
    (*data)[offset + 1] = char(value >> 8);
}

void putU32(QByteArray* data, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        (*data)[offset + i] = char((value >> (8 * i)) & 0xFF);
    }
}

// An ObjectInfo dataset with format, size, thumbnail size and file name.
QByteArray objectInfo(quint16 format, quint32 size, quint32 thumbSize, const QString& name)
{
    QByteArray data(52, '\0');
    putU32(&data, 0, 0x00010001);
    putU16(&data, 4, format);
    putU32(&data, 8, size);
    putU16(&data, 12, 0x3801);
    putU32(&data, 14, thumbSize);
    data.append(char(name.size() + 1));
    for (const QChar c : name) {
        data.append(char(c.unicode() & 0xFF));
        data.append(char(c.unicode() >> 8));
    }
    data.append(2, '\0');
    data.append(QByteArray(154 - data.size(), '\0'));
    return data;
}

QByteArray handles(const QVector<quint32>& list)
{
    QByteArray data(4 + 4 * list.size(), '\0');
    putU32(&data, 0, quint32(list.size()));
    for (int i = 0; i < list.size(); ++i) {
        putU32(&data, 4 + 4 * i, list.at(i));
    }
    return data;
}

QByteArray pattern(int size, int seed)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i) {
        data[i] = char((i * 7 + seed) & 0xFF);
    }
    return data;
}

const quint32 kJpgHandle = 0x00010001;  // bits 0-3 = 1: a JPG
const quint32 kDngHandle = 0x00010002;  // bits 0-3 = 2: a DNG
}  // namespace

class tst_ControllerScripted : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        olpTestInit();
        olpRegisterMetaTypes();
    }

    void init()
    {
        access = new PolledAccess;
        controller.reset(new Controller(access));
    }
    void cleanup()
    {
        controller.reset();
        access = nullptr;
    }

    // The access object is asked for cameras once at construction and then
    // every 1000 ms by the poll timer (waits for a real tick).
    void devicePoll()
    {
        QCOMPARE(access->checks, 1);
        QTimer* timer = controller->devicePollTimer();
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(!timer->isSingleShot());
        QTRY_VERIFY_WITH_TIMEOUT(access->checks >= 2, olpTimeout(3000));
    }

    // Without a camera every request logs "no camera" under its own name and
    // neither signals nor camera operations follow.
    void noCamera_data()
    {
        QTest::addColumn<Request>("request");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* name, Request request) {
            QTest::newRow(name) << request << QStringLiteral("OLP_Logic_Controller::%1 - no camera").arg(name);
        };
        row("setContrast", [](Controller* c) { c->setContrast(QStringLiteral("High")); });
        row("setFileFormat", [](Controller* c) { c->setFileFormat(2); });
        row("setShutterTime", [](Controller* c) { c->setShutterTime(QStringLiteral("B")); });
        row("setAperture", [](Controller* c) { c->setAperture(QStringLiteral("f 8")); });
        row("setAudioVolMicrophone", [](Controller* c) { c->setAudioVolMicrophone(0.5); });
        row("setExposureSimulation", [](Controller* c) { c->setExposureSimulation(true); });
        row("setFocusDistance", [](Controller* c) { c->setFocusDistance(QStringLiteral("1.50")); });
        row("setWhiteBalance", [](Controller* c) { c->setWhiteBalance(3); });
        row("setWantQuickView", [](Controller* c) { c->setWantQuickView(true); });
        row("setFolderSettings", [](Controller* c) { c->setFolderSettings(OLP_Logic_FolderSettingsRecord()); });
        row("emitShutterTimeList", [](Controller* c) { c->emitShutterTimeList(); });
        row("emitApertureList", [](Controller* c) { c->emitApertureList(); });
        row("emitContrastList", [](Controller* c) { c->emitContrastList(); });
        row("emitContrast", [](Controller* c) { c->emitContrast(1); });
        row("emitExposureSimulationList", [](Controller* c) { c->emitExposureSimulationList(); });
        row("emitFileNameAndNumber", [](Controller* c) { c->emitFileNameAndNumber(); });
        row("catchCameraGUIOpened", [](Controller* c) { c->catchCameraGUIOpened(); });
        row("catchLiveViewGUIOpened", [](Controller* c) { c->catchLiveViewGUIOpened(); });
        row("loadThumb", [](Controller* c) { c->loadThumb(kJpgHandle, false); });
        row("loadImageForSharing", [](Controller* c) { c->loadImageForSharing(0, true, false); });
        row("deleteObjectFromImageDB", [](Controller* c) { c->deleteObjectFromImageDB(kJpgHandle); });
        row("deleteObject", [](Controller* c) { QCOMPARE(c->deleteObject(kJpgHandle), false); });
    }
    void noCamera()
    {
        QFETCH(Request, request);
        QFETCH(QString, line);
        AllSignals signalSpies(controller.get());
        OLP_Test_LogCapture log;
        request(controller.get());
        QCOMPARE(log.count(line), 1);
        QCOMPARE(signalSpies.total(), 0);
        QVERIFY(access->calls().isEmpty());
        QCOMPARE(controller->productId(), quint32(0));
        QCOMPARE(controller->productName(), QStringLiteral("not connected"));
    }

    // A camera without a setting has no converter for it: each member of the
    // setting's family logs the no-converter message and sends and emits nothing.
    void noConverter_data()
    {
        QTest::addColumn<Request>("request");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* name, const char* setting, Request request) {
            QTest::newRow(name) << request
                                << QStringLiteral("OLP_Logic_Controller::%1 - no converter for %2").arg(name, setting);
        };
        // A Kesta D has no DNG compression, no video file format, no sensor format.
        row("setDngCompression", "DNG compression", [](Controller* c) { c->setDngCompression(QStringLiteral("On")); });
        row("emitDngCompressionList", "DNG compression", [](Controller* c) { c->emitDngCompressionList(); });
        row("emitDngCompression", "DNG compression", [](Controller* c) { c->emitDngCompression(true); });
        row("setVideoFileFormat", "video file format",
            [](Controller* c) { c->setVideoFileFormat(QStringLiteral("MOV")); });
        row("emitSensorFormat", "sensor format", [](Controller* c) { c->emitSensorFormat(1); });
    }
    void noConverter()
    {
        QFETCH(Request, request);
        QFETCH(QString, line);
        connectCamera(ProductIdKestaD, {});
        access->clearCalls();
        AllSignals signalSpies(controller.get());
        OLP_Test_LogCapture log;
        request(controller.get());
        QCOMPARE(log.count(line), 1);
        QCOMPARE(signalSpies.total(), 0);
        QVERIFY(access->calls().isEmpty());
    }

    // Every announced camera is connected; a second announcement while a
    // connection is open or a camera object exists opens nothing.
    void announcements()
    {
        QSignalSpy connected(controller.get(), &Controller::signalCameraConnected);
        access->announce(int(ProductIdKestaD), QStringLiteral("cam-1"));
        access->announce(int(ProductIdKestaD), QStringLiteral("cam-2"));
        QVERIFY(connected.wait(olpTimeout(2000)));
        QCOMPARE(access->opened, QStringList{QStringLiteral("cam-1")});
        QVERIFY(controller->hasCamera());
        access->announce(int(ProductIdKestaD), QStringLiteral("cam-3"));
        // A queued call behind the announcement: once it ran, so did the announcement.
        bool settled = false;
        QMetaObject::invokeMethod(
            controller.get(), [&settled]() { settled = true; }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(settled, olpTimeout(2000));
        QCOMPARE(access->opened, QStringList{QStringLiteral("cam-1")});
        QCOMPARE(connected.count(), 1);
    }

    // Opening creates the camera object and the queries follow it; closing the
    // camera window closes the connection, which deletes the camera object.
    void lifecycle()
    {
        QSignalSpy connected(controller.get(), &Controller::signalCameraConnected);
        QSignalSpy disconnected(controller.get(), &Controller::signalCameraDisconnected);
        access->announce(int(ProductIdKestaD), QStringLiteral("cam-1"));
        QVERIFY(connected.wait(olpTimeout(2000)));
        QPointer<OLP_Logic_Camera> camera(controller->camera());
        QVERIFY(!camera.isNull());
        QCOMPARE(controller->productId(), quint32(ProductIdKestaD));

        controller->catchCameraGUIClosed();
        QVERIFY(disconnected.wait(olpTimeout(2000)));
        QVERIFY(camera.isNull());
        QVERIFY(!controller->hasCamera());
        QCOMPARE(controller->productId(), quint32(0));
        QCOMPARE(controller->productName(), QStringLiteral("not connected"));
        // Polling goes on and the next announcement connects again.
        QVERIFY(controller->devicePollTimer()->isActive());
        access->announce(int(ProductIdKestaD), QStringLiteral("cam-2"));
        QVERIFY(connected.wait(olpTimeout(2000)));
        QCOMPARE(connected.count(), 2);
    }

    // loadImageForSharing: what is read for which request, in chunks of
    // 6000000 bytes with a last chunk only as long as what remains; a failed or
    // short read and objects outside the size limits deliver no data.
    void imageForSharing_data()
    {
        QTest::addColumn<quint32>("handle");
        QTest::addColumn<bool>("fullRes");
        QTest::addColumn<bool>("forceDng");
        QTest::addColumn<QByteArray>("info");
        QTest::addColumn<QByteArray>("info2");
        QTest::addColumn<QList<QByteArray>>("chunks");  // answers of GetPartialObject in order
        QTest::addColumn<QByteArray>("object");         // answer of GetObject
        QTest::addColumn<QByteArray>("thumb");          // answer of GetThumb
        QTest::addColumn<QByteArray>("expected");       // empty: null delivered
        QTest::addColumn<bool>("isDng");
        QTest::addColumn<QVector<quint32>>("partialParams");  // offset and size of each partial read

        const QByteArray small = pattern(4000, 3);
        const QByteArray preview = pattern(900, 5);
        const QList<QByteArray> chunks = {pattern(6000000, 1), pattern(6000000, 2), pattern(1000001, 9)};
        const QByteArray whole = chunks.at(0) + chunks.at(1) + chunks.at(2);
        QTest::newRow("JPG full size in three chunks")
            << kJpgHandle << true << false << objectInfo(0x3801, 13000001, 900, "L1000001.JPG") << QByteArray()
            << chunks << QByteArray() << QByteArray() << whole << false
            << QVector<quint32>{0, 6000000, 6000000, 6000000, 12000000, 1000001};
        QTest::newRow("exactly two chunks")
            << kJpgHandle << true << false << objectInfo(0x3801, 12000000, 900, "L1000001.JPG") << QByteArray()
            << chunks.mid(0, 2) << QByteArray() << QByteArray() << chunks.at(0) + chunks.at(1) << false
            << QVector<quint32>{0, 6000000, 6000000, 6000000};
        QTest::newRow("short chunk delivers nothing")
            << kJpgHandle << true << false << objectInfo(0x3801, 13000001, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>{chunks.at(0), pattern(5999999, 2)} << QByteArray() << QByteArray() << QByteArray()
            << false << QVector<quint32>{0, 6000000, 6000000, 6000000};
        QTest::newRow("small JPG in one read")
            << kJpgHandle << true << false << objectInfo(0x3801, 4000, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>() << small << QByteArray() << small << false << QVector<quint32>();
        QTest::newRow("short whole read delivers nothing")
            << kJpgHandle << true << false << objectInfo(0x3801, 4000, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>() << small.left(3000) << QByteArray() << QByteArray() << false << QVector<quint32>();
        QTest::newRow("DNG forced, not full size: the whole DNG")
            << kDngHandle << false << true << objectInfo(0x3802, 4000, 900, "L1000001.DNG") << QByteArray()
            << QList<QByteArray>() << small << QByteArray() << small << true << QVector<quint32>();
        QTest::newRow("not full size: the preview")
            << kJpgHandle << false << false << objectInfo(0x3801, 4000, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>() << QByteArray() << preview << preview << false << QVector<quint32>();
        QTest::newRow("DNG full size: the large preview")
            << kDngHandle << true << false << objectInfo(0x3802, 4000, 100, "L1000001.DNG")
            << objectInfo(0x3802, 4000, 900, "L1000001.DNG") << QList<QByteArray>() << QByteArray() << preview
            << preview << false << QVector<quint32>();
        QTest::newRow("preview size 0") << kJpgHandle << false << false << objectInfo(0x3801, 4000, 0, "L1000001.JPG")
                                        << QByteArray() << QList<QByteArray>() << QByteArray() << preview
                                        << QByteArray() << false << QVector<quint32>();
        QTest::newRow("preview size above the cap")
            << kJpgHandle << false << false << objectInfo(0x3801, 4000, 64u * 1024 * 1024 + 1, "L1000001.JPG")
            << QByteArray() << QList<QByteArray>() << QByteArray() << preview << QByteArray() << false
            << QVector<quint32>();
        QTest::newRow("500 bytes is too small")
            << kJpgHandle << true << false << objectInfo(0x3801, 500, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>() << pattern(500, 1) << QByteArray() << QByteArray() << false << QVector<quint32>();
        QTest::newRow("501 bytes is loaded")
            << kJpgHandle << true << false << objectInfo(0x3801, 501, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>() << pattern(501, 1) << QByteArray() << pattern(501, 1) << false << QVector<quint32>();
        QTest::newRow("200000000 bytes is too large")
            << kJpgHandle << true << false << objectInfo(0x3801, 200000000, 900, "L1000001.JPG") << QByteArray()
            << QList<QByteArray>() << QByteArray() << QByteArray() << QByteArray() << false << QVector<quint32>();
    }
    void imageForSharing()
    {
        QFETCH(quint32, handle);
        QFETCH(bool, fullRes);
        QFETCH(bool, forceDng);
        QFETCH(QByteArray, info);
        QFETCH(QByteArray, info2);
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QByteArray, object);
        QFETCH(QByteArray, thumb);
        QFETCH(QByteArray, expected);
        QFETCH(bool, isDng);
        QFETCH(QVector<quint32>, partialParams);

        connectCamera(ProductIdKestaD, {handle});
        access->clearCalls();
        access->queueAnswer(PTP::OpGetObjectInfo, info);
        if (!info2.isEmpty()) {
            access->queueAnswer(PTP::OpGetObjectInfo, info2);
        }
        for (const QByteArray& chunk : chunks) {
            access->queueAnswer(PTP::OpGetPartialObject, chunk);
        }
        if (!object.isEmpty()) {
            access->setAnswer(PTP::OpGetObject, object);
        }
        if (!thumb.isEmpty()) {
            access->setAnswer(PTP::OpGetThumb, thumb);
        }

        QSignalSpy received(controller.get(), &Controller::signalImageForSharingReceived);
        controller->loadImageForSharing(0, fullRes, forceDng);
        QCOMPARE(received.count(), 1);
        const QByteArray data = received.at(0).at(0).toByteArray();
        QCOMPARE(data.size(), expected.size());
        QVERIFY(data == expected);
        QCOMPARE(received.at(0).at(1).toBool(), isDng);

        QVector<quint32> seen;
        for (const OLP_Test_ScriptedAccess::Call& call : access->calls()) {
            if (call.operationCode == PTP::OpGetPartialObject) {
                QCOMPARE(call.params.value(0), handle);
                seen << call.params.value(1) << call.params.value(2);
            }
        }
        QCOMPARE(seen, partialParams);
        // The transfer lock is free again and the flags are as before.
        QVERIFY(controller->camera()->transferLock()->tryLock());
        controller->camera()->transferLock()->unlock();
        QCOMPARE(controller->camera()->isTransferInProgress(), false);
    }

    // A picture index outside the image DB delivers no data at once.
    void imageForSharingUnknownIndex()
    {
        connectCamera(ProductIdKestaD, {kJpgHandle});
        access->clearCalls();
        QSignalSpy received(controller.get(), &Controller::signalImageForSharingReceived);
        controller->loadImageForSharing(5, true, false);
        QCOMPARE(received.count(), 1);
        QVERIFY(received.at(0).at(0).toByteArray().isEmpty());
        QCOMPARE(access->callCount(PTP::OpGetObjectInfo), 0);
    }

    // loadThumb: the rotation and size class are read once from the first
    // 1024 bytes, the thumbnail of the requested type is delivered with the
    // entry's name.
    void thumb()
    {
        connectCamera(ProductIdKestaD, {kJpgHandle});
        access->clearCalls();
        QByteArray prefix(1024, '\0');
        prefix[0] = 'I';
        prefix[1] = 'I';
        const QByteArray orientation = QByteArray::fromHex("12010300010000000600");
        const QByteArray width = QByteArray::fromHex("02A00300010000007017");  // 6000
        prefix.replace(40, orientation.size(), orientation);
        prefix.replace(80, width.size(), width);
        access->setAnswer(PTP::OpGetPartialObject, prefix);
        access->setAnswer(PTP::OpGetObjectInfo, objectInfo(0x3801, 4000, 700, "L1000001.JPG"));
        const QByteArray thumbnail = pattern(700, 4);
        access->setAnswer(PTP::OpGetThumb, thumbnail);

        QSignalSpy received(controller.get(), &Controller::signalThumbReceived);
        controller->loadThumb(kJpgHandle, true);
        QCOMPARE(received.count(), 1);
        QVERIFY(received.at(0).at(0).toByteArray() == thumbnail);
        QCOMPARE(received.at(0).at(1).toString(), controller->camera()->imageDB().at(0).name);
        QCOMPARE(received.at(0).at(2).toUInt(), kJpgHandle);
        QCOMPARE(received.at(0).at(3).toBool(), true);
        QCOMPARE(controller->camera()->imageDBRotation(0), 90);
        QCOMPARE(controller->camera()->imageDB().at(0).sizeClass, 2);
        const OLP_Test_ScriptedAccess::Call partial = access->lastCall(PTP::OpGetPartialObject);
        QCOMPARE(partial.params, (QVector<quint32>{kJpgHandle, 0, 1024}));
        QCOMPARE(access->lastCall(PTP::OpGetThumb).params, (QVector<quint32>{kJpgHandle, 1}));
        QCOMPARE(access->lastCall(PTP::OpGetThumb).dataSize, quint32(700));

        // Determined once: the second load reads no prefix.
        controller->loadThumb(kJpgHandle, false);
        QCOMPARE(access->callCount(PTP::OpGetPartialObject), 1);
        QCOMPARE(access->lastCall(PTP::OpGetThumb).params, (QVector<quint32>{kJpgHandle, 0}));
        QCOMPARE(received.count(), 2);
    }

    // A failed thumbnail read delivers nothing, and a failed prefix read
    // leaves the rotation undetermined for the next try.
    void thumbReadFails()
    {
        connectCamera(ProductIdKestaD, {kJpgHandle});
        access->setFailure(PTP::OpGetPartialObject);
        access->setAnswer(PTP::OpGetObjectInfo, objectInfo(0x3801, 4000, 700, "L1000001.JPG"));
        access->setFailure(PTP::OpGetThumb);
        QSignalSpy received(controller.get(), &Controller::signalThumbReceived);
        OLP_Test_LogCapture log;
        controller->loadThumb(kJpgHandle, false);
        QCOMPARE(received.count(), 0);
        QCOMPARE(controller->camera()->imageDBRotation(0), 360);
        QVERIFY(log.contains("OLP_Logic_Controller::loadThumb - first bytes of object 0x00010001 not read"));
    }

    // deleteObject goes to the camera; deleteObjectFromImageDB only drops the entry.
    void deleteObjects()
    {
        connectCamera(ProductIdKestaD, {kJpgHandle, kDngHandle});
        access->clearCalls();
        controller->deleteObjectFromImageDB(kJpgHandle);
        QCOMPARE(controller->camera()->imageDBCount(), 1);
        QCOMPARE(access->callCount(PTP::OpDeleteObject), 0);
        QCOMPARE(controller->deleteObject(kDngHandle), true);
        QCOMPARE(access->lastCall(PTP::OpDeleteObject).params, QVector<quint32>{kDngHandle});
        access->setFailure(PTP::OpDeleteObject);
        QCOMPARE(controller->deleteObject(kDngHandle), false);
    }

private:
    void connectCamera(quint32 product, const QVector<quint32>& objects)
    {
        QSignalSpy connected(controller.get(), &Controller::signalCameraConnected);
        access->announce(int(product), QStringLiteral("cam-1"));
        QVERIFY(connected.wait(olpTimeout(2000)));
        access->setAnswer(PTP::OpGetObjectHandles, handles(objects));
        controller->camera()->slotRebuildImageDB();
        QCOMPARE(controller->camera()->imageDBCount(), objects.size());
    }

    PolledAccess* access = nullptr;
    std::unique_ptr<Controller> controller;
};

QTEST_GUILESS_MAIN(tst_ControllerScripted)
#include "tst_ControllerScripted.moc"
