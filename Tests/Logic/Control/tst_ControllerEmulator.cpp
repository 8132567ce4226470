#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <memory>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_CameraProblem.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_MetaTypes.h"
#include "OLP_Test_ControllerRig.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

using Controller = OLP_Logic_Controller;
typedef std::shared_ptr<OLP_Commu_EmuCamera> EmuCameraPtr;

namespace {
// Operation codes as the camera sees them.
constexpr quint16 kOpenSession = 0x1002;
constexpr quint16 kGetPartialObject = 0x101B;
constexpr quint16 kGetObject = 0x1009;
constexpr quint16 kSetDevicePropValue = 0x1016;
constexpr quint16 kGeneralError = 0x2002;
constexpr quint16 kObjectTransferReady = 0x9007;

// A Kesta D: 1/4000 s up to its longest time of 125 s, in half stops.
const QStringList kKestaDShutterTimes = {
    "1/4000s", "1/3000s", "1/2000s", "1/1500s", "1/1000s", "1/750s", "1/500s", "1/360s", "1/250s", "1/180s",
    "1/125s",  "1/90s",   "1/60s",   "1/45s",   "1/30s",   "1/24s",  "1/15s",  "1/12s",  "1/8s",   "1/6s",
    "1/4s",    "1/3s",    "1/2s",    "0.7s",    "1s",      "1.5s",   "2s",     "3s",     "4s",     "6s",
    "8s",      "12s",     "16s",     "24s",     "32s",     "45s",    "60s",    "90s",    "125s",   "B"};

// A camera of the product with some properties and the lens's apertures changed.
EmuCameraPtr emulatedCamera(quint16 product, const QList<QPair<quint16, qint64>>& properties = {}, int openCode = -1,
                            int closeCode = -1, int apertureSteps = -1)
{
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(product);
    for (const auto& change : properties) {
        for (OLP_Commu_EmuProfile::Property& p : profile.properties) {
            if (p.code == change.first) {
                p.current = change.second;
            }
        }
    }
    const auto putU16 = [&profile](int offset, int value) {
        profile.lens[offset] = char(value & 0xFF);
        profile.lens[offset + 1] = char((value >> 8) & 0xFF);
    };
    if (openCode >= 0) {
        putU16(68, openCode);
    }
    if (closeCode >= 0) {
        putU16(70, closeCode);
    }
    if (apertureSteps >= 0) {
        profile.lens[72] = char(apertureSteps);
    }
    return std::make_shared<OLP_Commu_EmuCamera>(profile);
}
}  // namespace

// The controller thread with every signal the camera window reads recorded
// under its own name.
class Rig : public OLP_Test_ControllerRig
{
public:
    Rig()
    {
        if (controller) {
            recordAll();
            run([](Controller* c) {
                if (auto* usb = qobject_cast<OLP_Commu_CameraAccess_Linux_PTP*>(c->usbAccess())) {
                    usb->setTimeouts(OLP_Test_EmuRig::fastTimeouts());
                    usb->setRetryPauses(OLP_Commu_CameraAccess_Linux_PTP::RetryPauses{20, 80});
                }
            });
        }
    }
    bool guiOpened()
    {
        const int before = recorder.count("signalHasFocusConfirmation");
        run([](Controller* c) { c->catchCameraGUIOpened(); });
        return recorder.wait("signalHasFocusConfirmation", before + 1);
    }

private:
    void recordAll()
    {
        Controller* c = controller;
        OLP_Test_SignalRecorder& r = recorder;
#define OLP_RECORD(signal) r.record(c, &Controller::signal, QStringLiteral(#signal))
#define OLP_RECORD_AS(type, signal) \
    r.record(c, QOverload<type>::of(&Controller::signal), QStringLiteral(#signal "(" #type ")"))
        OLP_RECORD(signalCameraSerialNumber);
        OLP_RECORD(signalLensTypeString);
        OLP_RECORD(signalBatteryInfo);
        OLP_RECORD(signalHasVideoRecording);
        OLP_RECORD(signalHasLiveView);
        OLP_RECORD(signalLiveViewMode);
        OLP_RECORD(signalFileFormatList);
        OLP_RECORD_AS(int, signalFileFormat);
        OLP_RECORD_AS(QString, signalFileFormat);
        OLP_RECORD(signalUseDngCompression);
        OLP_RECORD(signalUseJpgColorSpace);
        OLP_RECORD(signalUseJpgResolution);
        OLP_RECORD(signalHasDngCompression);
        OLP_RECORD(signalDngCompressionList);
        OLP_RECORD(signalHasContrast);
        OLP_RECORD(signalContrastList);
        OLP_RECORD(signalContrast);
        OLP_RECORD(signalHasSharpness);
        OLP_RECORD(signalSharpness);
        OLP_RECORD(signalHasVideoResAndFrRate);
        OLP_RECORD(signalVideoResAndFrRateList);
        OLP_RECORD(signalHasAudioVolMicrophone);
        OLP_RECORD_AS(int, signalAudioVolMicrophone);
        OLP_RECORD(signalHasExposureSimulation);
        OLP_RECORD(signalExposureSimulationList);
        OLP_RECORD_AS(bool, signalExposureSimulation);
        OLP_RECORD_AS(int, signalExposureSimulation);
        OLP_RECORD(signalDngPath);
        OLP_RECORD(signalPictureName);
        OLP_RECORD(signalPictureIndex);
        OLP_RECORD(signalHasWhiteBalance);
        OLP_RECORD(signalDriveModeList);
        OLP_RECORD(signalSensitivityList);
        OLP_RECORD_AS(QString, signalSensitivity);
        OLP_RECORD(signalShutterTimeList);
        OLP_RECORD(signalShutterTime);
        OLP_RECORD(signalApertureList);
        OLP_RECORD(signalHasAperture);
        OLP_RECORD(signalAperture);
        OLP_RECORD(signalFocusIsUnitFeet);
        OLP_RECORD_AS(QString, signalDriveMode);
        OLP_RECORD(signalExposureModeList);
        OLP_RECORD(signalExposureMode);
        OLP_RECORD(signalHasFocusDistance);
        OLP_RECORD(signalFocusDistance);
        OLP_RECORD(signalFocusMaxDistance);
        OLP_RECORD(signalFocusMinDistance);
        OLP_RECORD(signalHasFocusConfirmation);
        OLP_RECORD(signalImageForSharingReceived);
        OLP_RECORD(signalThumbReceived);
        OLP_RECORD(signalCameraProblem);
        OLP_RECORD(signalIsAlive);
#undef OLP_RECORD
#undef OLP_RECORD_AS
    }
};

class tst_ControllerEmulator : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        olpTestInit();
        olpRegisterMetaTypes();
    }

    // The announced camera is connected, the GUI-thread queries follow it, and
    // the camera window gets the whole state in the documented order.
    void connectAndPushState()
    {
        Rig rig;
        QVERIFY(rig.controller != nullptr);
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        QCOMPARE(rig.controller->productId(), quint32(ProductIdKestaD));
        QCOMPARE(rig.controller->productName(), QStringLiteral("Kesta D"));
        QVERIFY(rig.guiOpened());
        const OLP_Test_SignalRecorder& r = rig.recorder;

        QCOMPARE(r.last("signalCameraSerialNumber").toString(), QStringLiteral("3100260"));
        QVERIFY(r.last("signalLensTypeString").toString().startsWith(QStringLiteral("Varion-Kesta 70")));
        QCOMPARE(r.lastList("signalFileFormatList"), (QStringList{"DNG", "DNG + JPG", "JPG"}));
        QCOMPARE(r.last("signalFileFormat(QString)").toString(), QStringLiteral("DNG + JPG"));
        QCOMPARE(r.last("signalHasContrast").toBool(), true);
        QCOMPARE(r.lastList("signalContrastList"), (QStringList{"Low", "Standard", "High"}));
        QCOMPARE(r.last("signalContrast").toString(), QStringLiteral("Low"));
        // No converter, no list: the camera has no DNG compression.
        QCOMPARE(r.last("signalHasDngCompression").toBool(), false);
        QCOMPARE(r.count("signalDngCompressionList"), 0);
        QCOMPARE(r.lastList("signalVideoResAndFrRateList"),
                 (QStringList{"4096x2160p @ 24fps", "1920x1080p @ 30fps", "1920x1080p @ 25fps", "1920x1080p @ 24fps"}));
        QCOMPARE(r.last("signalExposureSimulationList").value<QVector<int>>(), (QVector<int>{0, 1}));
        QCOMPARE(r.lastList("signalShutterTimeList"), kKestaDShutterTimes);
        // The default lens: f/2.5 to f/22 in half stops.
        QCOMPARE(r.lastList("signalApertureList"),
                 (QStringList{"f 2.5", "f 2.8", "f 3.4", "f 4", "f 4.8", "f 5.6", "f 6.8", "f 8", "f 9.5", "f 11",
                              "f 13", "f 16", "f 19", "f 22"}));
        QCOMPARE(r.last("signalHasAperture").toBool(), true);
        QCOMPARE(r.count("signalExposureModeList"), 0);
        QCOMPARE(r.last("signalLiveViewMode").toInt(), 0);

        // The order of the push.
        const QStringList order = {"signalCameraSerialNumber",
                                   "signalBatteryInfo",
                                   "signalHasVideoRecording",
                                   "signalFileFormatList",
                                   "signalHasContrast",
                                   "signalContrastList",
                                   "signalContrast",
                                   "signalHasAudioVolMicrophone",
                                   "signalHasExposureSimulation",
                                   "signalExposureSimulationList",
                                   "signalDngPath",
                                   "signalPictureName",
                                   "signalHasWhiteBalance",
                                   "signalDriveModeList",
                                   "signalSensitivityList",
                                   "signalShutterTimeList",
                                   "signalApertureList",
                                   "signalFocusIsUnitFeet",
                                   "signalDriveMode(QString)",
                                   "signalSensitivity(QString)",
                                   "signalExposureMode",
                                   "signalHasAperture",
                                   "signalAperture",
                                   "signalShutterTime",
                                   "signalHasFocusDistance",
                                   "signalHasFocusConfirmation"};
        int previous = -1;
        for (const QString& name : order) {
            const int index = r.find(name);
            QVERIFY2(index > previous, qPrintable(name));
            previous = index;
        }
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // ProductIdPelvo: its exposure-mode list and its exposure-simulation values.
    void pelvoPush()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdPelvo)));
        QVERIFY(rig.guiOpened());
        QCOMPARE(rig.recorder.lastList("signalExposureModeList"), (QStringList{"P", "M", "A", "S"}));
        QCOMPARE(rig.recorder.last("signalExposureSimulationList").value<QVector<int>>(), (QVector<int>{0, 2, 3}));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Texts chosen in the GUI reach the camera as values; texts that are not
    // in the list (a placeholder, another product's list) send nothing.
    void textSetters()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        OLP_Test_LogCapture log;
        rig.run([](Controller* c) { c->setContrast(QStringLiteral("High")); });
        rig.run([](Controller* c) { c->setSharpness(QStringLiteral("Low")); });
        rig.run([](Controller* c) { c->setSensitivity(QStringLiteral("400")); });
        QTRY_COMPARE_WITH_TIMEOUT(rig.camera->propertyValue(0x500F), qint64(400), olpTimeout(3000));
        QCOMPARE(rig.camera->propertyValue(0x5014), qint64(2));
        QCOMPARE(rig.camera->propertyValue(0x5015), qint64(0));

        const int writes = rig.camera->requestCount(kSetDevicePropValue);
        rig.run([](Controller* c) { c->setContrast(QStringLiteral("--")); });
        rig.run([](Controller* c) { c->setContrast(QString()); });
        rig.run([](Controller* c) { c->setFileFormat(QStringLiteral("DNG + JPG (fine)")); });
        QTRY_COMPARE_WITH_TIMEOUT(log.count("is not in the list of"), 3, olpTimeout(3000));
        QVERIFY(log.contains("OLP_Logic_Controller::setContrast - \"--\" is not in the list of contrast"));
        QVERIFY(log.contains(
            "OLP_Logic_Controller::setFileFormat - \"DNG + JPG (fine)\" is not in the list of file format"));
        // A request queued behind them proves they were all carried out.
        rig.run([](Controller* c) { c->setContrast(QStringLiteral("Standard")); });
        QTRY_COMPARE_WITH_TIMEOUT(rig.camera->propertyValue(0x5014), qint64(1), olpTimeout(3000));
        QCOMPARE(rig.camera->requestCount(kSetDevicePropValue), writes + 1);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // setFileFormat: the camera's value and which JPG and DNG options apply.
    void fileFormat_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<bool>("dngCompression");
        QTest::addColumn<bool>("jpgOptions");
        QTest::newRow("2: DNG and JPG") << 2 << qint64(1) << true << true;
        QTest::newRow("0: DNG only") << 0 << qint64(0) << true << false;
        QTest::newRow("5: none") << 5 << qint64(0) << false << false;
        QTest::newRow("3: JPG only") << 3 << qint64(2) << false << true;
    }
    void fileFormat()
    {
        QFETCH(int, format);
        QFETCH(qint64, raw);
        QFETCH(bool, dngCompression);
        QFETCH(bool, jpgOptions);
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD, {{0xD004, 2}})));
        rig.run([format](Controller* c) { c->setFileFormat(format); });
        QVERIFY(rig.recorder.wait("signalUseJpgResolution"));
        QCOMPARE(rig.recorder.last("signalFileFormat(int)").toInt(), format);
        QCOMPARE(rig.recorder.last("signalUseDngCompression").toBool(), dngCompression);
        QCOMPARE(rig.recorder.last("signalUseJpgColorSpace").toBool(), jpgOptions);
        QCOMPARE(rig.recorder.last("signalUseJpgResolution").toBool(), jpgOptions);
        QTRY_COMPARE_WITH_TIMEOUT(rig.camera->propertyValue(0xD004), raw, olpTimeout(3000));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // "B" selects bulb; a time chosen while in bulb first returns to manual.
    void shutterTimeAndBulb()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD, {{0x500E, 1}})));
        rig.run([](Controller* c) { c->setShutterTime(QStringLiteral("B")); });
        QVERIFY(rig.recorder.wait("signalExposureMode"));
        QCOMPARE(rig.recorder.last("signalExposureMode").toInt(), 4);
        QCOMPARE(rig.camera->propertyValue(0x500E), qint64(0x200));

        // The camera reports the change too, later: wait for the values, not for a count.
        rig.run([](Controller* c) { c->setShutterTime(QStringLiteral("1/60s")); });
        QTRY_COMPARE_WITH_TIMEOUT(rig.camera->propertyValue(0xD03B), qint64(1536), olpTimeout(3000));  // 1/60 s
        QCOMPARE(rig.camera->propertyValue(0x500E), qint64(1));
        QTRY_COMPARE_WITH_TIMEOUT(rig.recorder.last("signalExposureMode").toInt(), 0, olpTimeout(3000));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // The microphone level of the GUI (0 to 1) on each camera's own scale.
    void microphone_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<bool>("written");
        QTest::newRow("KestaD 0.5 x 63") << ProductIdKestaD << qint64(32) << true;
        QTest::newRow("Pelvo 0.5 x 4") << ProductIdPelvo << qint64(2) << true;
        QTest::newRow("Seventh ignores it") << ProductIdSeventh << qint64(128) << false;
    }
    void microphone()
    {
        QFETCH(quint32, product);
        QFETCH(qint64, expected);
        QFETCH(bool, written);
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(quint16(product))));
        const int writes = rig.camera->requestCount(kSetDevicePropValue);
        rig.run([](Controller* c) { c->setAudioVolMicrophone(0.5); });
        // A marker request behind it: once it is done, so is the microphone request.
        rig.run([](Controller* c) { c->setContrast(QStringLiteral("High")); });
        QTRY_COMPARE_WITH_TIMEOUT(rig.camera->propertyValue(0x5014), qint64(2), olpTimeout(3000));
        QCOMPARE(rig.camera->propertyValue(0xD123), expected);
        QCOMPARE(rig.camera->requestCount(kSetDevicePropValue), writes + (written ? 2 : 1));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Shutter-time lists: ProductIdPelvo starts at its electronic or its
    // mechanical limit, and the camera's report of the electronic shutter
    // renews the list.
    void pelvoShutterTimeList()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdPelvo, {{0xD040, 333}})));
        // The camera always reports the electronic shutter as on.
        rig.run([](Controller* c) { c->emitShutterTimeList(); });
        QVERIFY(rig.recorder.wait("signalShutterTimeList"));
        QStringList list = rig.recorder.lastList("signalShutterTimeList");
        QCOMPARE(list.mid(0, 2).join(' '), QStringLiteral("1/10000s 1/8000s"));
        QCOMPARE(list.mid(list.size() - 3).join(' '), QStringLiteral("24m 30m B"));

        rig.run([](Controller* c) { c->setElectronicShutter(false); });
        rig.run([](Controller* c) { c->emitShutterTimeList(); });
        QVERIFY(rig.recorder.wait("signalShutterTimeList", 2));
        list = rig.recorder.lastList("signalShutterTimeList");
        QCOMPARE(list.mid(0, 2).join(' '), QStringLiteral("1/8000s 1/6400s"));
        QCOMPARE(list.last(), QStringLiteral("B"));
        QCOMPARE(rig.camera->propertyValue(0xD080), qint64(0));

        // A full refresh finds the shutter on again: the list follows by itself.
        rig.camera->queueEvent(0xC000);
        QVERIFY(rig.recorder.wait("signalShutterTimeList", 3));
        QCOMPARE(rig.recorder.lastList("signalShutterTimeList").mid(0, 2).join(' '),
                 QStringLiteral("1/10000s 1/8000s"));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // A step size the converter has no grid for: the list still ends.
    void shutterTimeListWithEmptyGrid()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdPelvo)));
        OLP_Test_LogCapture log;
        rig.run([](Controller* c) { c->catchCameraGUIOpened(); });
        QVERIFY(rig.recorder.wait("signalHasFocusConfirmation"));
        const int before = rig.recorder.count("signalShutterTimeList");
        // The camera switches to whole stops, for which there is no grid.
        rig.camera->setPropertyValue(0xD040, 1000);
        QVERIFY(rig.recorder.wait("signalShutterTimeList", before + 1));
        QCOMPARE(rig.recorder.lastList("signalShutterTimeList"), (QStringList{"", "B"}));
        QVERIFY(log.contains("unknown step size 1000"));
    }

    // Switching to feet re-sends every focus distance in feet; switching to
    // the same unit again sends nothing.
    void unitFeet()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        rig.run([](Controller* c) { c->setIsUnitFeet(true); });
        QVERIFY(rig.recorder.wait("signalFocusDistance"));
        QCOMPARE(rig.recorder.last("signalFocusIsUnitFeet").toBool(), true);
        QCOMPARE(rig.recorder.last("signalFocusDistance").toString(), QStringLiteral("8.20"));      // 2500 mm
        QCOMPARE(rig.recorder.last("signalFocusMaxDistance").toString(), QStringLiteral("229.7"));  // 70 m
        QCOMPARE(rig.recorder.last("signalFocusMinDistance").toString(), QStringLiteral("1.64"));   // 0.5 m
        rig.run([](Controller* c) { c->setIsUnitFeet(true); });
        rig.run([](Controller* c) { c->setIsUnitFeet(false); });
        QVERIFY(rig.recorder.wait("signalFocusDistance", 2));
        QCOMPARE(rig.recorder.count("signalFocusIsUnitFeet"), 2);
        QCOMPARE(rig.recorder.last("signalFocusDistance").toString(), QStringLiteral("2.50"));
    }

    // Exposure simulation: set on the camera, then both forms of the new value.
    void exposureSimulation()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        rig.run([](Controller* c) { c->setExposureSimulation(true); });
        QVERIFY(rig.recorder.wait("signalExposureSimulation(int)"));
        QCOMPARE(rig.recorder.last("signalExposureSimulation(int)").toInt(), 1);
        QCOMPARE(rig.recorder.last("signalExposureSimulation(bool)").toBool(), true);
        QCOMPARE(rig.camera->propertyValue(0xD115), qint64(1));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Aperture lists from the lens: the open aperture as it is, then the grid.
    void apertureList_data()
    {
        QTest::addColumn<int>("openCode");
        QTest::addColumn<int>("closeCode");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("open between grid values")
            << 925 << 1792 << QStringList{"f 3.5", "f 4", "f 4.8", "f 5.6", "f 6.8", "f 8", "f 9.5", "f 11"};
        QTest::newRow("open equal to close") << 768 << 768 << QStringList{"f 2.8", "f 2.8"};
    }
    void apertureList()
    {
        QFETCH(int, openCode);
        QFETCH(int, closeCode);
        QFETCH(QStringList, expected);
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD, {}, openCode, closeCode, 2)));
        rig.run([](Controller* c) { c->emitApertureList(); });
        QVERIFY(rig.recorder.wait("signalApertureList"));
        QCOMPARE(rig.recorder.lastList("signalApertureList"), expected);
    }

    // The live view window gets the exposure-simulation values of the product.
    void exposureSimulationList_data()
    {
        QTest::addColumn<quint32>("product");
        QTest::addColumn<QVector<int>>("expected");
        QTest::newRow("Pelvo") << ProductIdPelvo << QVector<int>{0, 2, 3};
        QTest::newRow("KestaD") << ProductIdKestaD << QVector<int>{0, 1};
    }
    void exposureSimulationList()
    {
        QFETCH(quint32, product);
        QFETCH(QVector<int>, expected);
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(quint16(product))));
        rig.run([](Controller* c) { c->catchLiveViewGUIOpened(); });
        QVERIFY(rig.recorder.wait("signalExposureSimulation(int)"));
        QCOMPARE(rig.recorder.last("signalExposureSimulationList").value<QVector<int>>(), expected);
        QCOMPARE(rig.recorder.last("signalHasExposureSimulation").toBool(), true);
    }

    // Unplugging ends the connection and deletes the camera object; plugging it
    // in again connects again; an announcement while connected does nothing.
    void unplugAndReplug()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        QCOMPARE(rig.camera->requestCount(kOpenSession), 1);

        // A second announcement of the connected camera.
        const QString deviceId = rig.port->deviceIdOf(rig.camera);
        rig.run([deviceId](Controller* c) { c->catchConnectToCamera(1, 0x2F1A, int(ProductIdKestaD), deviceId); });
        rig.run([](Controller* c) { c->usbAccess()->checkDeviceAvailable(); });
        std::atomic<bool> settled{false};
        rig.run([&settled](Controller*) { settled = true; });
        QTRY_VERIFY_WITH_TIMEOUT(settled, olpTimeout(3000));
        QCOMPARE(rig.camera->requestCount(kOpenSession), 1);
        QCOMPARE(rig.recorder.count("signalCameraConnected"), 1);

        rig.camera->unplug();
        QVERIFY(rig.recorder.wait("signalCameraDisconnected"));
        QVERIFY(rig.recorder.wait("cameraDestroyed"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.controller->productId(), quint32(0), olpTimeout(2000));
        QCOMPARE(rig.controller->productName(), QStringLiteral("not connected"));

        rig.camera->replug();
        rig.poll();
        QVERIFY(rig.recorder.wait("signalCameraConnected", 2));
        QCOMPARE(rig.controller->productId(), quint32(ProductIdKestaD));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Closing the camera window restores the camera and closes the connection,
    // which takes the camera object down.
    void cameraWindowClosed()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        rig.run([](Controller* c) { c->catchCameraGUIClosed(); });
        QVERIFY(rig.recorder.wait("signalCameraDisconnected"));
        QVERIFY(rig.recorder.wait("cameraDestroyed"));
        QTRY_VERIFY_WITH_TIMEOUT(!rig.camera->isSessionOpen(), olpTimeout(2000));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // A structure camera works with auto power off 0 and storage type 2 while
    // connected; closing the camera window gives it back its own values.
    void cameraWindowClosedRestoresSettings()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaA)));
        const auto byteAt = [&rig](int offset) { return int(quint8(rig.camera->settings().at(offset))); };
        QTRY_COMPARE_WITH_TIMEOUT(byteAt(47), 0, olpTimeout(3000));  // auto power off
        QCOMPARE(byteAt(26), 2);                                     // storage type
        rig.run([](Controller* c) { c->catchCameraGUIClosed(); });
        QVERIFY(rig.recorder.wait("signalCameraDisconnected"));
        QCOMPARE(byteAt(47), 2);
        QCOMPARE(byteAt(26), 1);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Finishing the controller thread with a camera connected ends the loop at
    // once, deletes the camera object in its own thread and closes the session.
    void finishWhileConnected()
    {
        Rig rig;
        QVERIFY(rig.plug(emulatedCamera(ProductIdKestaD)));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(rig.finish());
        QVERIFY2(clock.elapsed() < olpTimeout(1000), qPrintable(QString::number(clock.elapsed())));
        QVERIFY(rig.recorder.wait("cameraDestroyed"));
        QVERIFY(!rig.camera->isSessionOpen());
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    void cameraProblemIsReported_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("unplug");
        const QString inUse = QStringLiteral(
            "The camera is in use by another program (a file manager or photo importer). Close it and reconnect the "
            "camera.");
        const QString permission = QStringLiteral(
            "No permission to open the camera: install the udev rule (see the README), then reconnect the camera.");
        const QString ptp = QStringLiteral(
            "The camera is not in PTP mode: set its USB mode to PTP in the camera's menu, then reconnect the camera.");
        const int busy = int(eCameraProblem::InUse);
        const int denied = int(eCameraProblem::NoPermission);
        const int storage = int(eCameraProblem::NotPtpMode);
        QTest::newRow("in use, then free") << "busy" << busy << inUse << false;
        QTest::newRow("in use, then unplugged") << "busy" << busy << inUse << true;
        QTest::newRow("no permission, then granted") << "denied" << denied << permission << false;
        QTest::newRow("no permission, then unplugged") << "denied" << denied << permission << true;
        QTest::newRow("mass storage, then PTP") << "storage" << storage << ptp << false;
        QTest::newRow("mass storage, then unplugged") << "storage" << storage << ptp << true;
    }

    // The no-camera window's line for each cause, sent by the controller in
    // its thread, and gone when the camera opens or is unplugged (catches a
    // camera that silently never opens).
    void cameraProblemIsReported()
    {
        QFETCH(QString, state);
        QFETCH(int, problem);
        QFETCH(QString, text);
        QFETCH(bool, unplug);
        QCOMPARE(OLP_Logic_CameraProblem::text(problem), text);
        EmuCameraPtr emulated = emulatedCamera(ProductIdKestaD);
        emulated->setInterfaceBusy(state == QLatin1String("busy"));
        emulated->setAccessDenied(state == QLatin1String("denied"));
        emulated->setStillImageInterface(state != QLatin1String("storage"));
        Rig rig;
        rig.camera = emulated;
        rig.port->plug(emulated);
        OLP_Commu_UsbPortHub::system()->addPort(rig.port);
        rig.poll();
        QVERIFY(rig.recorder.wait("signalCameraProblem"));
        QCOMPARE(rig.recorder.last("signalCameraProblem").toInt(), problem);
        // Retries after the pause find the same cause and say nothing new.
        QVERIFY(!QTest::qWaitFor(
            [&] {
                rig.poll();
                return rig.recorder.count("signalCameraProblem") > 1;
            },
            200));
        QCOMPARE(rig.recorder.count("signalCameraConnected"), 0);

        if (unplug) {
            emulated->unplug();
        } else {
            emulated->setInterfaceBusy(false);
            emulated->setAccessDenied(false);
            emulated->setStillImageInterface(true);
        }
        QVERIFY(QTest::qWaitFor(
            [&] {
                rig.poll();
                return rig.recorder.count("signalCameraProblem") == 2;
            },
            olpTimeout(5000)));
        QCOMPARE(rig.recorder.last("signalCameraProblem").toInt(), int(eCameraProblem::None));
        if (!unplug) {
            QVERIFY(rig.recorder.wait("signalCameraConnected"));
        }
        QVERIFY(rig.runAndWait([](Controller*) {}));
        QCOMPARE(rig.recorder.count("signalCameraProblem"), 2);
        QCOMPARE(rig.recorder.count("signalCameraConnected"), unplug ? 0 : 1);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // A thumbnail asked for while the last picture of a burst is being
    // transferred waits for it; the camera is kept awake afterwards (catches
    // the busy flag copied before the wait and written back stale).
    void thumbnailDuringTheLastTransfer()
    {
        const quint32 handle = 0x00020001;
        EmuCameraPtr emulated = emulatedCamera(ProductIdKestaD, {{0xD004, 2}});  // one JPG per shot
        OLP_Commu_EmuCapture::Options options = emulated->captureOptions();
        options.enabled = true;
        options.pictureSize = 64 * 1024;
        emulated->setCaptureOptions(options);
        emulated->addObject(handle, QByteArray(4000, 'c'));
        emulated->setThumbnail(handle, 0, QByteArray(900, 't'));
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        Rig rig;
        QVERIFY(rig.plug(emulated));
        QVERIFY(rig.runAndWait([&folder](Controller* c) {
            if (auto* usb = qobject_cast<OLP_Commu_CameraAccess_Linux_PTP*>(c->usbAccess())) {
                OLP_Commu_PtpTransport::Timeouts t = OLP_Test_EmuRig::fastTimeouts();
                t.responseMs = olpTimeout(10000);
                usb->setTimeouts(t);
            }
            c->setFolderSettings(OLP_Logic_FolderSettingsRecord{folder.path(), folder.path(), "Picture", 1});
            c->camera()->slotRebuildImageDB();
        }));
        // The property changes of the connection are read before the hold:
        // a read behind the held answer would keep loadThumb from running.
        QVERIFY(rig.settle());

        // The camera holds its answer to the transfer's acknowledgement: the
        // transfer thread keeps the transfer lock meanwhile.
        emulated->holdNextAnswer(kObjectTransferReady);
        emulated->capture(1);
        QVERIFY(QTest::qWaitFor(
            [&] {
                return emulated->waitingReads(OLP_Commu_EmuCamera::BulkIn) == 1 &&
                       emulated->lastRequest().code == kObjectTransferReady;
            },
            olpTimeout(5000)));
        setDebugFlags(256, true);
        {
            OLP_Test_LogCapture log;
            rig.run([handle](Controller* c) { c->loadThumb(handle, false); });
            QVERIFY(QTest::qWaitFor([&] { return log.contains("loadThumb - waiting for the transfer lock"); },
                                    olpTimeout(5000)));
            emulated->releaseHeldAnswer();
            QVERIFY(rig.recorder.wait("signalThumbReceived"));
        }
        setDebugFlags(256, false);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"Picture00001.JPG"});

        const auto keepAlives = [&emulated] {
            int n = 0;
            for (const OLP_Commu_EmuCamera::Request& r : emulated->releases()) {
                n += r.params.value(0) == 14 ? 1 : 0;
            }
            return n;
        };
        const int before = keepAlives();
        const int alive = rig.recorder.count("signalIsAlive");
        QVERIFY(rig.runAndWait(
            [](Controller* c) { QMetaObject::invokeMethod(c->camera(), "catchKeepAlive", Qt::DirectConnection); }));
        QCOMPARE(keepAlives(), before + 1);
        QVERIFY(rig.recorder.wait("signalIsAlive", alive + 1));
        QCOMPARE(rig.recorder.last("signalIsAlive").toBool(), true);
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Thumbnails from the camera with the rotation read from the picture's Exif
    // entry; a type the camera has no thumbnail of delivers nothing.
    void thumbnails()
    {
        const quint32 handle = 0x00020001;
        QByteArray picture(4000, '\0');
        picture[0] = 'I';
        picture[1] = 'I';
        const QByteArray orientation = QByteArray::fromHex("12010300010000000800");
        picture.replace(40, orientation.size(), orientation);
        const QByteArray preview(2500, 'p');
        EmuCameraPtr emulated = emulatedCamera(ProductIdKestaD);
        emulated->addObject(handle, picture);
        emulated->setThumbnail(handle, 1, preview);
        Rig rig;
        QVERIFY(rig.plug(emulated));
        QVERIFY(rig.runAndWait([](Controller* c) { c->camera()->slotRebuildImageDB(); }));

        rig.run([handle](Controller* c) { c->loadThumb(handle, true); });
        QVERIFY(rig.recorder.wait("signalThumbReceived"));
        QVERIFY(rig.recorder.last("signalThumbReceived").toByteArray() == preview);
        QCOMPARE(rig.recorder.last("signalThumbReceived", 2).toUInt(), handle);
        std::atomic<int> rotation{-1};
        QVERIFY(rig.runAndWait([&rotation](Controller* c) { rotation = c->camera()->imageDBRotation(0); }));
        QCOMPARE(rotation.load(), 270);

        // No small thumbnail: the object info announces 0 bytes.
        OLP_Test_LogCapture log;
        rig.run([handle](Controller* c) { c->loadThumb(handle, false); });
        QVERIFY(rig.runAndWait([](Controller*) {}));
        QCOMPARE(rig.recorder.count("signalThumbReceived"), 1);
        QVERIFY(log.contains("OLP_Logic_Controller::loadThumb - preview size 0 of object 0x00020001 refused"));
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // Closing the camera window or stopping the controller thread while
    // pictures are being transferred (one thread reading, the others waiting
    // on the transfer lock): every picture still arrives whole before the
    // connection closes (catches a device closed under waiting transfers).
    void destroyWhileTransferring_data()
    {
        QTest::addColumn<bool>("stopThread");
        QTest::newRow("camera window closed") << false;
        QTest::newRow("controller thread stopped") << true;
    }
    void destroyWhileTransferring()
    {
        QFETCH(bool, stopThread);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        EmuCameraPtr emulated = emulatedCamera(ProductIdKestaD, {{0xD004, 2}});  // one JPG per shot
        OLP_Commu_EmuCapture::Options options = emulated->captureOptions();
        options.enabled = true;
        options.pictureSize = 3 * 1024 * 1024;
        emulated->setCaptureOptions(options);
        Rig rig;
        QVERIFY(rig.plug(emulated));
        OLP_Logic_FolderSettingsRecord record;
        record.dngFolder = folder.path();
        record.jpgFolder = folder.path();
        record.pictureName = QStringLiteral("Picture");
        record.pictureNumber = 1;
        QVERIFY(rig.runAndWait([record](Controller* c) { c->setFolderSettings(record); }));

        rig.camera->capture(3);
        // Each announcement has reached the camera object and started its thread.
        QVERIFY(rig.recorder.wait("signalPictureName", 3));
        if (stopThread) {
            QVERIFY(rig.finish());
        } else {
            rig.run([](Controller* c) { c->catchCameraGUIClosed(); });
            QVERIFY(rig.recorder.wait("signalCameraDisconnected"));
        }
        QVERIFY(rig.recorder.wait("cameraDestroyed"));

        const QList<OLP_Commu_EmuCapture::Picture> pictures = rig.camera->capturedPictures();
        QCOMPARE(pictures.size(), 3);
        const QStringList files = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{"Picture00001.JPG", "Picture00002.JPG", "Picture00003.JPG"}));
        for (int i = 0; i < files.size(); ++i) {
            QFile file(QDir(folder.path()).filePath(files.at(i)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(file.readAll() == pictures.at(i).bytes(), qPrintable(files.at(i)));
        }
        QCOMPARE(rig.camera->pendingNewObjects(), 0);
        QVERIFY(!rig.camera->isSessionOpen());
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }

    // A picture over 6000000 bytes is read in chunks and arrives byte for byte
    // as the camera holds it; a failed chunk delivers nothing.
    void imageForSharingInChunks_data()
    {
        QTest::addColumn<bool>("failChunk");
        QTest::newRow("whole") << false;
        QTest::newRow("failed chunk") << true;
    }
    void imageForSharingInChunks()
    {
        QFETCH(bool, failChunk);
        const quint32 handle = 0x00020001;  // a JPG
        const quint64 size = 13000001;
        const quint32 seed = 7;
        EmuCameraPtr emulated = emulatedCamera(ProductIdKestaD);
        emulated->addGeneratedObject(handle, size, seed);
        Rig rig;
        QVERIFY(rig.plug(emulated));
        std::atomic<bool> rebuilt{false};
        rig.run([&rebuilt](Controller* c) {
            c->camera()->slotRebuildImageDB();
            rebuilt = c->camera()->imageDBCount() == 1;
        });
        QTRY_VERIFY_WITH_TIMEOUT(rebuilt, olpTimeout(3000));
        if (failChunk) {
            rig.camera->failNextOperations(kGeneralError, 1, kGetPartialObject);
        }
        rig.run([](Controller* c) { c->loadImageForSharing(0, true, false); });
        QVERIFY(rig.recorder.wait("signalImageForSharingReceived"));
        const QByteArray data = rig.recorder.last("signalImageForSharingReceived").toByteArray();
        QCOMPARE(rig.recorder.last("signalImageForSharingReceived", 1).toBool(), false);
        QCOMPARE(rig.camera->requestCount(kGetObject), 0);
        if (failChunk) {
            QVERIFY(data.isEmpty());
            QCOMPARE(rig.camera->requestCount(kGetPartialObject), 1);
        } else {
            QCOMPARE(quint64(data.size()), size);
            QCOMPARE(rig.camera->requestCount(kGetPartialObject), 3);
            int mismatches = 0;
            const quint8* bytes = reinterpret_cast<const quint8*>(data.constData());
            for (quint64 i = 0; i < size && mismatches == 0; ++i) {
                mismatches += bytes[i] != OLP_Commu_EmuObject::patternByte(i, seed) ? 1 : 0;
            }
            QCOMPARE(mismatches, 0);
        }
        QVERIFY(rig.camera->protocolErrors().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_ControllerEmulator)
#include "tst_ControllerEmulator.moc"
