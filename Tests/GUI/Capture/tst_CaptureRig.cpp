// The capture tab as the user meets it: the application with its controller
// thread and the real USB transport over an emulated camera of each settings
// variant (Kesta A: settings structure, Kesta C: second structure layout,
// Pelvo: device properties). A choice in the tab reaches the camera's property
// or settings structure; a change on the camera comes back into the tab and
// is not written back.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_7SegmentApertureWidget.h"
#include "OLP_GUI_7SegmentDigitWidget.h"
#include "OLP_GUI_7SegmentLightBalWidget.h"
#include "OLP_GUI_7SegmentShutTimeWidget.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_Capture.h"
#include "OLP_GUI_VFPelvo_ApertureWidget.h"
#include "OLP_GUI_VFPelvo_ShutTimeWidget.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiActions.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

// Operation codes as the camera sees them.
constexpr quint16 kSetDevicePropValue = 0x1016;
constexpr quint16 kWriteSettings = 0x9001;
constexpr quint16 kRelease = 0x9004;
constexpr int kStageLensAbsolute = 11;

// Where the emulated camera keeps a value: a device property (code), or bytes
// of the settings structure (offset and width, little-endian).
struct Place
{
    quint16 code = 0;
    int offset = -1;
    int width = 1;
};
Place prop(quint16 code)
{
    return Place{code, -1, 4};
}
Place bytes(int offset, int width = 1)
{
    return Place{0, offset, width};
}

}  // namespace

Q_DECLARE_METATYPE(Place)

class tst_CaptureRig : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(rig()->unplug()); }

    void choiceReachesCamera_data();
    void choiceReachesCamera();
    void cameraChangeIsNotWrittenBack_data();
    void cameraChangeIsNotWrittenBack();
    void bulbFromShutterList_data();
    void bulbFromShutterList();
    void colourTemperatureBox_data();
    void colourTemperatureBox();
    void exposureModeFromCamera_data();
    void exposureModeFromCamera();
    void exposureModeClicks_data();
    void exposureModeClicks();
    void driveMode_data();
    void driveMode();
    void intervalEntry_data();
    void intervalEntry();
    void sensitivityAuto_data();
    void sensitivityAuto();
    void listAndValueRules_data();
    void listAndValueRules();
    void focusThroughCamera();
    void focusDistanceFollowsLiveView_data();
    void focusDistanceFollowsLiveView();
    void focusModeClicks_data();
    void focusModeClicks();
    void screenshots_data();
    void screenshots();

private:
    static OLP_Test_GuiRig* rig() { return OLP_Test_GuiRig::instance(); }
    template <class T>
    static T* find(const QString& name)
    {
        return rig()->find<T>(name);
    }
    static qint64 cameraValue(const Place& place);
    static void changeOnCamera(const Place& place, qint64 value);
    // Writes the program made to the camera so far.
    static int cameraWrites();
    // Plugs the camera and, where the product has them, puts it into manual
    // exposure with a click on M, so that aperture and shutter time are free.
    static bool plugManual(quint16 product);
    // What the viewfinder shows for an aperture or shutter time text.
    static bool viewFinderShowsAperture(const QString& text);
    static bool viewFinderShowsShutterTime(const QString& text);
};

// Holds the controller thread while it lives: nothing the GUI asks for is
// done and nothing comes back, so what the window shows is its own doing.
class ControllerHold
{
public:
    ControllerHold()
    {
        auto entered = m_entered;
        auto release = m_release;
        OLP_Test_GuiRig::instance()->run([entered, release](OLP_Logic_Controller*) {
            entered->release();
            release->acquire();
        });
        m_held = QTest::qWaitFor([entered]() { return entered->available() > 0; }, olpTimeout(5000));
    }
    ~ControllerHold() { m_release->release(); }
    bool isHeld() const { return m_held; }

private:
    std::shared_ptr<QSemaphore> m_entered = std::make_shared<QSemaphore>();
    std::shared_ptr<QSemaphore> m_release = std::make_shared<QSemaphore>();
    bool m_held = false;
};

qint64 tst_CaptureRig::cameraValue(const Place& place)
{
    if (place.code != 0) {
        return rig()->camera()->propertyValue(place.code);
    }
    const QByteArray settings = rig()->camera()->settings();
    qint64 value = 0;
    for (int i = place.width - 1; i >= 0; --i) {
        value = (value << 8) | quint8(settings.at(place.offset + i));
    }
    return value;
}

void tst_CaptureRig::changeOnCamera(const Place& place, qint64 value)
{
    if (place.code != 0) {
        QVERIFY(rig()->camera()->setPropertyValue(place.code, value));
        return;
    }
    QByteArray raw;
    for (int i = 0; i < place.width; ++i) {
        raw.append(char(quint8(value >> (8 * i))));
    }
    rig()->camera()->changeSettings(place.offset, raw);
}

int tst_CaptureRig::cameraWrites()
{
    return rig()->camera()->requestCount(kSetDevicePropValue) + rig()->camera()->requestCount(kWriteSettings);
}

bool tst_CaptureRig::plugManual(quint16 product)
{
    if (!rig()->plug(product)) {
        return false;
    }
    auto* manual = find<QToolButton>("btnM");
    QTest::mouseClick(manual, Qt::LeftButton);
    return rig()->settle() && find<QComboBox>("cbbShutterTime")->isEnabled();
}

bool tst_CaptureRig::viewFinderShowsAperture(const QString& text)
{
    if (auto* pelvo = find<QWidget>("wgtAperture")) {
        for (QLabel* label : pelvo->findChildren<QLabel*>()) {
            if (label->text() == OLP_GUI_VFPelvo_ApertureWidget::textOf(text)) {
                return true;
            }
        }
        return false;
    }
    const auto digits = find<QWidget>("wgt7SegAperture")->findChildren<OLP_GUI_7SegmentDigitWidget*>();
    const OLP_GUI_7SegmentApertureWidget::Display shown = OLP_GUI_7SegmentApertureWidget::displayOf(text);
    return digits.size() == 2 && digits.at(0)->character() == shown.first && digits.at(1)->character() == shown.second;
}

bool tst_CaptureRig::viewFinderShowsShutterTime(const QString& text)
{
    if (auto* pelvo = find<QWidget>("wgtShutTime")) {
        for (QLabel* label : pelvo->findChildren<QLabel*>()) {
            if (label->text() == OLP_GUI_VFPelvo_ShutTimeWidget::textOf(text)) {
                return true;
            }
        }
        return false;
    }
    bool left = false;
    const QString display = OLP_GUI_7SegmentShutTimeWidget::displayTextOf(text, &left);
    return find<OLP_GUI_7SegmentShutTimeWidget>("wgt7SegShutTime")->shownDigits() ==
           OLP_GUI_7SegmentShutTimeWidget::digitsOf(display, left);
}

// ---- choices and camera changes ------------------------------------------------

void tst_CaptureRig::choiceReachesCamera_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Place>("place");
    QTest::addColumn<qint64>("raw");
    const quint16 A = ProductIdKestaA, C = ProductIdKestaC, P = ProductIdPelvo;
    // Raw values as each camera keeps them: APEX codes × 256, list indexes of
    // the structure, milli-EV, ISO numbers and kelvin of the properties.
    QTest::newRow("A aperture") << A << "cbbAperture"
                                << "f 8" << bytes(72, 2) << qint64(1536);
    QTest::newRow("A shutter time") << A << "cbbShutterTime"
                                    << "1/250s" << bytes(74, 2) << qint64(2048);
    QTest::newRow("A compensation") << A << "cbbExposCompens"
                                    << "+1 EV" << bytes(4) << qint64(8);
    QTest::newRow("A ISO") << A << "cbbSensitivity"
                           << "320" << bytes(10) << qint64(3);
    QTest::newRow("A white balance") << A << "cbbWhiteBalance"
                                     << "Tungsten" << bytes(18) << qint64(4);
    QTest::newRow("A colour temperature") << A << "cbbWhiteBalTemp"
                                          << "6000 K" << bytes(19) << qint64(35);
    QTest::newRow("A metering") << A << "cbbExposMetering"
                                << "Spot" << bytes(3) << qint64(0);
    QTest::newRow("C shutter time") << C << "cbbShutterTime"
                                    << "1/250s" << bytes(74, 2) << qint64(2048);
    QTest::newRow("C compensation") << C << "cbbExposCompens"
                                    << "+1 EV" << bytes(4) << qint64(12);
    QTest::newRow("C ISO") << C << "cbbSensitivity"
                           << "800" << bytes(69, 2) << qint64(800);
    QTest::newRow("C white balance") << C << "cbbWhiteBalance"
                                     << "Flash" << bytes(18) << qint64(7);
    QTest::newRow("C colour temperature") << C << "cbbWhiteBalTemp"
                                          << "6000 K" << bytes(19) << qint64(35);
    QTest::newRow("C metering") << C << "cbbExposMetering"
                                << "Center-weighted" << bytes(3) << qint64(1);
    QTest::newRow("Pelvo aperture") << P << "cbbAperture"
                                    << "f 8" << prop(0xD60E) << qint64(1536);
    QTest::newRow("Pelvo shutter time") << P << "cbbShutterTime"
                                        << "1/250s" << prop(0xD60C) << qint64(2048);
    QTest::newRow("Pelvo compensation") << P << "cbbExposCompens"
                                        << "+1 EV" << prop(0x5010) << qint64(1000);
    QTest::newRow("Pelvo ISO") << P << "cbbSensitivity"
                               << "800" << prop(0x500F) << qint64(800);
    QTest::newRow("Pelvo white balance") << P << "cbbWhiteBalance"
                                         << "Shadow" << prop(0x5005) << qint64(3);
    QTest::newRow("Pelvo colour temperature") << P << "cbbWhiteBalTemp"
                                              << "6000 K" << prop(0xD014) << qint64(6000);
    QTest::newRow("Pelvo metering") << P << "cbbExposMetering"
                                    << "Spot" << prop(0x500B) << qint64(0);
}

// Catches a choice that never leaves the tab, goes out as the wrong value, or
// reaches the viewfinder only after the camera's echo.
void tst_CaptureRig::choiceReachesCamera()
{
    QFETCH(quint16, product);
    QFETCH(QString, box);
    QFETCH(QString, entry);
    QFETCH(Place, place);
    QFETCH(qint64, raw);
    QVERIFY(plugManual(product));
    if (box == "cbbWhiteBalTemp") {
        QVERIFY(olpChooseEntry(find<QComboBox>("cbbWhiteBalance"), "Color Temperature"));
        QTRY_VERIFY_WITH_TIMEOUT(find<QComboBox>(box)->isEnabled(), olpTimeout(5000));
        QVERIFY(rig()->settle());
    }
    QVERIFY(cameraValue(place) != raw);
    auto* combo = find<QComboBox>(box);
    {
        ControllerHold hold;
        QVERIFY(hold.isHeld());
        QVERIFY(olpChooseEntry(combo, entry));
        if (box == "cbbAperture") {
            QVERIFY(viewFinderShowsAperture(entry));
        } else if (box == "cbbShutterTime") {
            QVERIFY(viewFinderShowsShutterTime(entry));
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(cameraValue(place), raw, olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(combo->currentText(), entry);
    QVERIFY(rig()->camera()->protocolErrors().isEmpty());
}

void tst_CaptureRig::cameraChangeIsNotWrittenBack_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Place>("place");
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("entry");
    const quint16 A = ProductIdKestaA, C = ProductIdKestaC, P = ProductIdPelvo;
    QTest::newRow("A aperture") << A << bytes(72, 2) << qint64(1536) << "cbbAperture"
                                << "f 8";
    QTest::newRow("A white balance") << A << bytes(18) << qint64(4) << "cbbWhiteBalance"
                                     << "Tungsten";
    QTest::newRow("A metering") << A << bytes(3) << qint64(0) << "cbbExposMetering"
                                << "Spot";
    QTest::newRow("C shutter time") << C << bytes(74, 2) << qint64(2048) << "cbbShutterTime"
                                    << "1/250s";
    QTest::newRow("C compensation") << C << bytes(4) << qint64(12) << "cbbExposCompens"
                                    << "+1 EV";
    QTest::newRow("Pelvo shutter time") << P << prop(0xD60C) << qint64(2048) << "cbbShutterTime"
                                        << "1/250s";
    QTest::newRow("Pelvo aperture") << P << prop(0xD60E) << qint64(1536) << "cbbAperture"
                                    << "f 8";
    QTest::newRow("Pelvo compensation") << P << prop(0x5010) << qint64(-1000) << "cbbExposCompens"
                                        << "-1 EV";
}

// Catches a programmatic selection that is taken for a user's choice and sent
// back to the camera (a loop, and a write the camera did not ask for).
void tst_CaptureRig::cameraChangeIsNotWrittenBack()
{
    QFETCH(quint16, product);
    QFETCH(Place, place);
    QFETCH(qint64, raw);
    QFETCH(QString, box);
    QFETCH(QString, entry);
    QVERIFY(plugManual(product));
    auto* combo = find<QComboBox>(box);
    QVERIFY(combo->currentText() != entry);
    const int writes = cameraWrites();
    changeOnCamera(place, raw);
    QTRY_COMPARE_WITH_TIMEOUT(combo->currentText(), entry, olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(cameraWrites(), writes);
    QCOMPARE(cameraValue(place), raw);
}

void tst_CaptureRig::bulbFromShutterList_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Place>("mode");
    QTest::addColumn<qint64>("bulb");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA) << bytes(71) << qint64(4);
    QTest::newRow("KestaC") << quint16(ProductIdKestaC) << bytes(71) << qint64(3);
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo) << prop(0x500E) << qint64(0x200);
}

// "B" is the bulb entry of the shutter list: the camera goes to exposure mode
// 4, the tab checks M (bulb shows as M) and the viewfinder shows the bulb.
void tst_CaptureRig::bulbFromShutterList()
{
    QFETCH(quint16, product);
    QFETCH(Place, mode);
    QFETCH(qint64, bulb);
    QVERIFY(plugManual(product));
    QVERIFY(olpChooseEntry(find<QComboBox>("cbbShutterTime"), "B"));
    QVERIFY(viewFinderShowsShutterTime("B"));
    QTRY_COMPARE_WITH_TIMEOUT(cameraValue(mode), bulb, olpTimeout(5000));
    QVERIFY(rig()->settle());
    QVERIFY(find<QToolButton>("btnM")->isChecked());
    QVERIFY(find<QComboBox>("cbbShutterTime")->isEnabled());
    QCOMPARE(find<QComboBox>("cbbShutterTime")->currentText(), QString("B"));
    QVERIFY(viewFinderShowsShutterTime("B"));
}

void tst_CaptureRig::colourTemperatureBox_data()
{
    QTest::addColumn<quint16>("product");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA);
    QTest::newRow("KestaC") << quint16(ProductIdKestaC);
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo);
}

// The colour temperature box is usable exactly while the white balance is
// "Color Temperature", whoever chose it.
void tst_CaptureRig::colourTemperatureBox()
{
    QFETCH(quint16, product);
    QVERIFY(rig()->plug(product));
    auto* temperature = find<QComboBox>("cbbWhiteBalTemp");
    QVERIFY(!temperature->isEnabled());
    QVERIFY(olpChooseEntry(find<QComboBox>("cbbWhiteBalance"), "Color Temperature"));
    QTRY_VERIFY_WITH_TIMEOUT(temperature->isEnabled(), olpTimeout(5000));
    QVERIFY(olpChooseEntry(find<QComboBox>("cbbWhiteBalance"), "Daylight"));
    QTRY_VERIFY_WITH_TIMEOUT(!temperature->isEnabled(), olpTimeout(5000));
}

// ---- exposure mode -------------------------------------------------------------

void tst_CaptureRig::exposureModeFromCamera_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Place>("place");
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("aperture");
    QTest::addColumn<bool>("shutterTime");
    const quint16 A = ProductIdKestaA, C = ProductIdKestaC, P = ProductIdPelvo;
    QTest::newRow("A 1 T") << A << bytes(71) << qint64(1) << "btnT" << false << true;
    QTest::newRow("A 2 A") << A << bytes(71) << qint64(2) << "btnA" << true << false;
    QTest::newRow("A 3 P") << A << bytes(71) << qint64(3) << "btnP" << false << false;
    QTest::newRow("A 0 M") << A << bytes(71) << qint64(0) << "btnM" << true << true;
    QTest::newRow("A 4 bulb") << A << bytes(71) << qint64(4) << "btnM" << true << true;
    QTest::newRow("C A") << C << bytes(71) << qint64(1) << "btnA" << true << false;
    QTest::newRow("C bulb") << C << bytes(71) << qint64(3) << "btnM" << true << true;
    QTest::newRow("Pelvo T") << P << prop(0x500E) << qint64(4) << "btnT" << false << true;
    QTest::newRow("Pelvo A") << P << prop(0x500E) << qint64(3) << "btnA" << true << false;
    QTest::newRow("Pelvo 5 vendor program") << P << prop(0x500E) << qint64(0x201) << "btnP" << false << false;
    QTest::newRow("Pelvo bulb") << P << prop(0x500E) << qint64(0x200) << "btnM" << true << true;
}

void tst_CaptureRig::exposureModeFromCamera()
{
    QFETCH(quint16, product);
    QFETCH(Place, place);
    QFETCH(qint64, raw);
    QFETCH(QString, checked);
    QFETCH(bool, aperture);
    QFETCH(bool, shutterTime);
    QVERIFY(plugManual(product));
    const int writes = cameraWrites();
    changeOnCamera(place, raw);
    QTRY_VERIFY_WITH_TIMEOUT(find<QToolButton>(checked)->isChecked(), olpTimeout(5000));
    QVERIFY(rig()->settle());
    for (const char* name : {"btnP", "btnM", "btnA", "btnT"}) {
        QCOMPARE(find<QToolButton>(name)->isChecked(), checked == QLatin1String(name));
    }
    QCOMPARE(find<QComboBox>("cbbAperture")->isEnabled(), aperture);
    QCOMPARE(find<QComboBox>("cbbShutterTime")->isEnabled(), shutterTime);
    QCOMPARE(cameraWrites(), writes);

    // No camera reports mode 6; a window told so keeps everything and says so twice.
    OLP_Test_LogCapture log;
    QVERIFY(QMetaObject::invokeMethod(rig()->window(), "setExposureMode", Q_ARG(int, 6)));
    QVERIFY(find<QToolButton>(checked)->isChecked());
    QCOMPARE(find<QComboBox>("cbbShutterTime")->isEnabled(), shutterTime);
    QVERIFY(log.contains("OLP_GUI_ExposureModeWidget::setExposureMode - illegal exposure mode 6"));
    QVERIFY(log.contains("OLP_GUI_Capture::enableExposureControls - illegal exposure mode 6"));
}

void tst_CaptureRig::exposureModeClicks_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Place>("place");
    QTest::addColumn<qint64>("aperturePriority");
    QTest::addColumn<qint64>("manual");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("hidden");
    const QStringList kesta{"P", "M", "A", "T"};
    QTest::newRow("KestaA") << quint16(ProductIdKestaA) << bytes(71) << qint64(2) << qint64(0) << kesta
                            << QStringList();
    QTest::newRow("KestaC") << quint16(ProductIdKestaC) << bytes(71) << qint64(1) << qint64(0) << kesta
                            << QStringList{"btnP", "btnT", "lblAperture", "cbbAperture"};
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo) << prop(0x500E) << qint64(3) << qint64(1)
                           << QStringList{"P", "M", "A", "S"} << QStringList();
}

// A click on A or M reaches the camera; the tab greys out the shutter time at
// once, and M lights the viewfinder's light balance before the camera answers.
void tst_CaptureRig::exposureModeClicks()
{
    QFETCH(quint16, product);
    QFETCH(Place, place);
    QFETCH(qint64, aperturePriority);
    QFETCH(qint64, manual);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, hidden);
    QVERIFY(rig()->plug(product));
    const QStringList buttons{"btnP", "btnM", "btnA", "btnT"};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(find<QToolButton>(buttons.at(i))->text(), captions.at(i));
        QCOMPARE(find<QWidget>(buttons.at(i))->isVisible(), !hidden.contains(buttons.at(i)));
    }
    QCOMPARE(find<QWidget>("cbbAperture")->isVisible(), !hidden.contains("cbbAperture"));
    QCOMPARE(find<QWidget>("lblAperture")->isVisible(), !hidden.contains("lblAperture"));

    QTest::mouseClick(find<QToolButton>("btnA"), Qt::LeftButton);
    QVERIFY(!find<QComboBox>("cbbShutterTime")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(cameraValue(place), aperturePriority, olpTimeout(5000));
    QVERIFY(rig()->settle());
    QVERIFY(find<QToolButton>("btnA")->isChecked());

    auto* lightBalance = find<OLP_GUI_7SegmentLightBalWidget>("wgt7SegLightBal");
    {
        ControllerHold hold;
        QVERIFY(hold.isHeld());
        QTest::mouseClick(find<QToolButton>("btnM"), Qt::LeftButton);
        QVERIFY(find<QComboBox>("cbbShutterTime")->isEnabled());
        // The Pelvo line shows its light balance as one picture with the compensation.
        if (lightBalance) {
            QVERIFY(lightBalance->isActive());
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(cameraValue(place), manual, olpTimeout(5000));
}

// ---- drive mode and interval ---------------------------------------------------

void tst_CaptureRig::driveMode_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Place>("drivePlace");
    QTest::addColumn<qint64>("drive");
    QTest::addColumn<Place>("bracketPlace");
    QTest::addColumn<qint64>("bracketing");
    QTest::addColumn<QString>("shown");
    const quint16 A = ProductIdKestaA, C = ProductIdKestaC, P = ProductIdPelvo;
    QTest::newRow("A bracketing") << A << "Bracketing" << bytes(1) << qint64(0) << bytes(5) << qint64(1)
                                  << "cbbBracketImgNum";
    // The controller runs the Kesta A's series itself: the camera shoots singles.
    QTest::newRow("A interval") << A << "Interval" << bytes(1) << qint64(0) << bytes(5) << qint64(0)
                                << "ledIntervalFrames";
    QTest::newRow("A continuous") << A << "Continuous" << bytes(1) << qint64(1) << bytes(5) << qint64(0) << "cbbEmpty1";
    QTest::newRow("C bracketing") << C << "Bracketing" << bytes(1) << qint64(0) << bytes(5) << qint64(1)
                                  << "cbbBracketImgNum";
    QTest::newRow("C self timer") << C << "Self Timer 2s" << bytes(1) << qint64(2) << bytes(5) << qint64(0)
                                  << "cbbEmpty1";
    // The Pelvo brackets in drive mode 8 of its property; 2 is its own interval.
    QTest::newRow("Pelvo bracketing") << P << "Bracketing" << prop(0x5013) << qint64(8) << prop(0x5013) << qint64(8)
                                      << "cbbBracketImgNum";
    QTest::newRow("Pelvo interval") << P << "Interval" << prop(0x5013) << qint64(2) << prop(0xD005) << qint64(0)
                                    << "ledIntervalFrames";
}

// The drive mode's fields follow the controller's answer, not the choice.
void tst_CaptureRig::driveMode()
{
    QFETCH(quint16, product);
    QFETCH(QString, entry);
    QFETCH(Place, drivePlace);
    QFETCH(qint64, drive);
    QFETCH(Place, bracketPlace);
    QFETCH(qint64, bracketing);
    QFETCH(QString, shown);
    QVERIFY(rig()->plug(product));
    if (entry == "Continuous" || entry == "Self Timer 2s") {
        // Leave the single shots of a camera out of the box first.
        QVERIFY(olpChooseEntry(find<QComboBox>("cbbDriveMode"), "Bracketing"));
        QVERIFY(rig()->settle());
    }
    {
        ControllerHold hold;
        QVERIFY(hold.isHeld());
        QVERIFY(olpChooseEntry(find<QComboBox>("cbbDriveMode"), entry));
        QVERIFY(!find<QWidget>(shown)->isVisible());
    }
    QTRY_VERIFY_WITH_TIMEOUT(find<QWidget>(shown)->isVisible(), olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(cameraValue(drivePlace), drive);
    QCOMPARE(cameraValue(bracketPlace), bracketing);
    const QStringList sets{"cbbBracketImgNum", "ledIntervalFrames", "cbbEmpty1"};
    for (const QString& other : sets) {
        QCOMPARE(find<QWidget>(other)->isVisible(), other == shown);
    }
}

void tst_CaptureRig::intervalEntry_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QString>("field");
    QTest::addColumn<Place>("place");  // code 0 and offset -1: the controller's own series
    QTest::addColumn<QString>("dirtySlot");
    const Place controller{0, -1, 0};
    QTest::newRow("A frames") << quint16(ProductIdKestaA) << "ledIntervalFrames" << controller
                              << "catchIntervalFramesDirtyFired";
    QTest::newRow("A time") << quint16(ProductIdKestaA) << "ledIntervalTime" << controller
                            << "catchIntervalTimeDirtyFired";
    QTest::newRow("Pelvo frames") << quint16(ProductIdPelvo) << "ledIntervalFrames" << prop(0xD000)
                                  << "catchIntervalFramesDirtyFired";
    QTest::newRow("Pelvo time") << quint16(ProductIdPelvo) << "ledIntervalTime" << prop(0xD001)
                                << "catchIntervalTimeDirtyFired";
}

// In the range 1 to 99: "0" is not sent and comes back as the last valid value
// after the dirty timer; "25" reaches the series (the camera's on a Pelvo).
void tst_CaptureRig::intervalEntry()
{
    QFETCH(quint16, product);
    QFETCH(QString, field);
    QFETCH(Place, place);
    QFETCH(QString, dirtySlot);
    QVERIFY(rig()->plug(product));
    const bool frames = field == "ledIntervalFrames";
    QVERIFY(QMetaObject::invokeMethod(rig()->window(), frames ? "setIntervalFramesRange" : "setIntervalTimeRange",
                                      Q_ARG(int, 1), Q_ARG(int, 99)));
    QVERIFY(olpChooseEntry(find<QComboBox>("cbbDriveMode"), "Interval"));
    auto* edit = find<QLineEdit>(field);
    QTRY_VERIFY_WITH_TIMEOUT(edit->isVisible(), olpTimeout(5000));
    QVERIFY(rig()->settle());
    const QString before = edit->text();
    QVERIFY(before.toInt() > 0);
    const auto current = [&]() -> qint64 {
        if (place.code != 0) {
            return cameraValue(place);
        }
        int value = -1;
        rig()->runAndWait(
            [&value, frames](OLP_Logic_Controller* c) { value = frames ? c->intervalFrames() : c->intervalTime(); });
        return value;
    };
    const int writes = cameraWrites();

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "0");
    auto* dirty = find<QTimer>(frames ? "timIntervalFramesDirty" : "timIntervalTimeDirty");
    QVERIFY(dirty->isActive());
    QCOMPARE(dirty->interval(), 3000);
    dirty->stop();
    QVERIFY(QMetaObject::invokeMethod(find<OLP_GUI_Capture>("tabCamera"), dirtySlot.toLatin1().constData()));
    QCOMPARE(edit->text(), before);
    QVERIFY(rig()->settle());
    QCOMPARE(current(), qint64(before.toInt()));
    QCOMPARE(cameraWrites(), writes);

    edit->selectAll();
    QTest::keyClicks(edit, "25");
    QVERIFY(!dirty->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(current(), qint64(25), olpTimeout(5000));
}

// ---- ISO -----------------------------------------------------------------------

void tst_CaptureRig::sensitivityAuto_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Place>("place");
    QTest::addColumn<QString>("fixed");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA) << bytes(10) << "320";
    QTest::newRow("KestaC") << quint16(ProductIdKestaC) << bytes(69, 2) << "800";
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo) << prop(0x500F) << "800";
}

// Automatic ISO set on the camera shows the first entry whatever ISO the
// camera reports; the user's first entry is one request that turns it on.
void tst_CaptureRig::sensitivityAuto()
{
    QFETCH(quint16, product);
    QFETCH(Place, place);
    QFETCH(QString, fixed);
    QVERIFY(rig()->plug(product));
    auto* box = find<QComboBox>("cbbSensitivity");
    QVERIFY(olpChooseEntry(box, fixed));
    QTRY_VERIFY_WITH_TIMEOUT(cameraValue(place) != 0, olpTimeout(5000));
    QVERIFY(rig()->settle());

    changeOnCamera(place, 0);
    QTRY_COMPARE_WITH_TIMEOUT(box->currentIndex(), 0, olpTimeout(5000));
    QVERIFY(rig()->settle());
    OLP_Test_LogCapture log;
    for (const QString& text : {fixed, QString("nonsense")}) {
        QVERIFY(QMetaObject::invokeMethod(rig()->window(), "setSensitivity", Q_ARG(QString, text)));
    }
    QCOMPARE(box->currentIndex(), 0);
    QCOMPARE(log.count("OLP_GUI_Capture::setSensitivity"), 0);

    QVERIFY(olpChooseEntry(box, fixed));
    QTRY_VERIFY_WITH_TIMEOUT(cameraValue(place) != 0, olpTimeout(5000));
    QVERIFY(rig()->settle());
    QSignalSpy sent(rig()->window(), SIGNAL(signalSensitivity(QString)));
    const int writes = cameraWrites();
    QVERIFY(olpChooseEntry(box, box->itemText(0)));
    QTRY_COMPARE_WITH_TIMEOUT(cameraValue(place), qint64(0), olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(sent.count(), 1);
    QCOMPARE(cameraWrites(), writes + 1);
    bool automatic = false;
    QVERIFY(rig()->runAndWait([&automatic](OLP_Logic_Controller* c) { automatic = c->camera()->sensitivityAuto(); }));
    QVERIFY(automatic);
}

// ---- list and value rules through the window -----------------------------------

void tst_CaptureRig::listAndValueRules_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("emptyMessage");
    QTest::addColumn<QString>("illegalMessage");  // empty: selected silently
    QTest::newRow("metering") << "ExposMetering"
                              << "cbbExposMetering"
                              << "empty expos metering list"
                              << "illegal expos metering";
    QTest::newRow("aperture") << "Aperture"
                              << "cbbAperture"
                              << "empty aperture list"
                              << "illegal aperture";
    QTest::newRow("shutter time") << "ShutterTime"
                                  << "cbbShutterTime"
                                  << "empty shutter time list"
                                  << "illegal shutter time";
    QTest::newRow("compensation") << "ExposCompens"
                                  << "cbbExposCompens"
                                  << "empty exposure compensation list"
                                  << "illegal exposure compensation";
    QTest::newRow("ISO") << "Sensitivity"
                         << "cbbSensitivity"
                         << "empty sensitivity list"
                         << "illegal sensitivity";
    QTest::newRow("white balance") << "WhiteBalance"
                                   << "cbbWhiteBalance"
                                   << "empty white balance list"
                                   << "illegal white balance";
    QTest::newRow("colour temperature") << "WhiteBalTemp"
                                        << "cbbWhiteBalTemp"
                                        << "empty white balance temperature list"
                                        << "illegal white balance temperature";
    QTest::newRow("drive mode") << "DriveMode"
                                << "cbbDriveMode"
                                << "empty drive mode list"
                                << "illegal drive mode";
    QTest::newRow("bracketing pictures") << "BracketImgNum"
                                         << "cbbBracketImgNum"
                                         << "empty bracket image numbers list"
                                         << "illegal bracket image numbers";
    QTest::newRow("bracketing step") << "BracketDeltaEV"
                                     << "cbbBracketDeltaEV"
                                     << "empty bracketing Delta EV list"
                                     << "illegal bracketing Delta EV";
    QTest::newRow("interval frames") << "IntervalFrames"
                                     << "cbbIntervalFrames"
                                     << "empty interval frames list"
                                     << "";
    QTest::newRow("interval time") << "IntervalTime"
                                   << "cbbIntervalTime"
                                   << "empty interval time list"
                                   << "";
}

// One rule for the twelve settings: an empty list keeps the entries, an unknown
// text keeps the entry, both say so in the log with the tab's method name;
// neither is sent back to the camera.
void tst_CaptureRig::listAndValueRules()
{
    QFETCH(QString, setting);
    QFETCH(QString, box);
    QFETCH(QString, emptyMessage);
    QFETCH(QString, illegalMessage);
    QVERIFY(rig()->plug(ProductIdKestaA));
    QObject* window = rig()->window();
    auto* combo = find<QComboBox>(box);
    const QStringList entries = [combo]() {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i) {
            list << combo->itemText(i);
        }
        return list;
    }();
    QVERIFY(!entries.isEmpty());
    const QString current = combo->currentText();
    const QByteArray listSlot = ("set" + setting + "List").toLatin1();
    const QByteArray valueSlot = ("set" + setting).toLatin1();
    const int writes = cameraWrites();
    OLP_Test_LogCapture log;

    QVERIFY(QMetaObject::invokeMethod(window, listSlot.constData(), Q_ARG(QStringList, QStringList())));
    QCOMPARE(combo->count(), entries.size());
    QCOMPARE(combo->currentText(), current);
    QVERIFY2(log.contains("OLP_GUI_Capture::" + listSlot + " - " + emptyMessage), qPrintable(log.lines().join('\n')));

    // Exact and case-sensitive: the lower-case form of an entry is unknown too.
    for (const QString& unknown : {entries.last().toLower() + "x", QString("Delta")}) {
        QVERIFY(QMetaObject::invokeMethod(window, valueSlot.constData(), Q_ARG(QString, unknown)));
        QCOMPARE(combo->currentText(), current);
        QCOMPARE(log.contains("OLP_GUI_Capture::" + valueSlot + " - " + illegalMessage + " " + unknown),
                 !illegalMessage.isEmpty());
    }
    QCOMPARE(log.count("OLP_GUI_Capture::" + valueSlot + " - "), illegalMessage.isEmpty() ? 0 : 2);
    QVERIFY(QMetaObject::invokeMethod(window, valueSlot.constData(), Q_ARG(QString, entries.last())));
    QCOMPARE(combo->currentText(), entries.last());
    QVERIFY(rig()->settle());
    QCOMPARE(cameraWrites(), writes);
}

// ---- focus ---------------------------------------------------------------------

// A focus report from the camera moves the slider and asks for nothing; a
// dragged distance reaches the lens as its position in millimetres.
void tst_CaptureRig::focusThroughCamera()
{
    QVERIFY(rig()->plug(ProductIdPelvo));
    auto* slider = find<QSlider>("hslCurrDistance");
    auto* field = find<QLineEdit>("ledCurrDistance");
    QVERIFY(slider->isVisible() && slider->isEnabled());
    const int releases = rig()->camera()->releases().size();
    const int before = slider->value();
    changeOnCamera(prop(0xD62B), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(field->text(), QString("3.00"), olpTimeout(5000));
    QVERIFY(rig()->settle());
    QVERIFY(slider->value() != before);
    QCOMPARE(rig()->camera()->releases().size(), releases);

    QSignalSpy chosen(rig()->window(), SIGNAL(signalFocusDistance(QString)));
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageDown);
    auto* timer = find<QTimer>("timSliderMoved");
    QCOMPARE(timer->interval(), 100);
    timer->stop();
    QVERIFY(QMetaObject::invokeMethod(find<QObject>("wgtFocusDistance"), "catchTimerSliderMovedTimeout"));
    QCOMPARE(chosen.count(), 1);
    const int millimetres = qRound(chosen.at(0).at(0).toString().toDouble() * 1000.0);
    QTRY_VERIFY_WITH_TIMEOUT(rig()->camera()->releases().size() > releases, olpTimeout(5000));
    QVERIFY(rig()->settle());
    const auto last = rig()->camera()->releases().last();
    QCOMPARE(int(last.params.value(0)), kStageLensAbsolute);
    QVERIFY2(qAbs(int(last.params.value(1)) - millimetres) <= 1, qPrintable(QString::number(last.params.value(1))));
    QCOMPARE(int(last.code), int(kRelease));
}

void tst_CaptureRig::focusDistanceFollowsLiveView_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("KestaD photo") << quint16(ProductIdKestaD) << 2 << true;
    QTest::newRow("KestaD video") << quint16(ProductIdKestaD) << 3 << true;
    QTest::newRow("KestaD off") << quint16(ProductIdKestaD) << 0 << false;
    QTest::newRow("Pelvo off") << quint16(ProductIdPelvo) << 0 << true;
}

// Only the Kesta D focuses by hand in live view alone; the product comes from
// the controller through the application.
void tst_CaptureRig::focusDistanceFollowsLiveView()
{
    QFETCH(quint16, product);
    QFETCH(int, state);
    QFETCH(bool, enabled);
    QVERIFY(rig()->plug(product));
    auto* widget = find<QWidget>("wgtFocusDistance");
    QVERIFY(widget->isVisible());
    QSignalSpy modes(rig()->controller(), &OLP_Logic_Controller::signalLiveViewMode);
    // Another state first, so that the camera reports a change.
    rig()->camera()->setLiveViewState(state == 2 ? 3 : 2);
    QVERIFY(rig()->settle());
    rig()->camera()->setLiveViewState(state);
    QTRY_VERIFY_WITH_TIMEOUT(!modes.isEmpty() && modes.last().at(0).toInt() == state, olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(widget->isEnabled(), enabled);
}

void tst_CaptureRig::focusModeClicks_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<Place>("place");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA) << bytes(2);
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo) << prop(0x500A);
}

void tst_CaptureRig::focusModeClicks()
{
    QFETCH(quint16, product);
    QFETCH(Place, place);
    QVERIFY(rig()->plug(product));
    const QList<QPair<QString, int>> clicks{{"btnMF", 2}, {"btnAFC", 1}, {"btnAFS", 0}};
    for (const auto& click : clicks) {
        QTest::mouseClick(find<QToolButton>(click.first), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(cameraValue(place), qint64(click.second), olpTimeout(5000));
        QVERIFY(rig()->settle());
        QVERIFY(find<QToolButton>(click.first)->isChecked());
    }
    OLP_Test_LogCapture log;
    QVERIFY(QMetaObject::invokeMethod(rig()->window(), "setFocusMode", Q_ARG(int, 7)));
    QVERIFY(find<QToolButton>("btnAFS")->isChecked());
    QVERIFY(log.contains("OLP_GUI_FocusModeWidget::setFocusMode - illegal focus mode 7"));
}

// ---- screenshots ---------------------------------------------------------------

void tst_CaptureRig::screenshots_data()
{
    QTest::addColumn<quint16>("product");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA);
    QTest::newRow("KestaC") << quint16(ProductIdKestaC);
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo);
}

// The Camera Settings tab with each set of drive-mode fields and the longest
// white balance: every visible control lies inside the tab and no box cuts
// its text. Under a real display (Xvfb) with OLP_SCREENSHOT_DIR set, the
// window is also saved for looking at.
void tst_CaptureRig::screenshots()
{
    QFETCH(quint16, product);
    // The offscreen platform's default font is 12 pt; a desktop's, which the
    // fixed-width window is laid out for, is 9 pt.
    const QFont font = QApplication::font();
    const auto restoreFont = qScopeGuard([font]() { QApplication::setFont(font); });
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
    }
    QVERIFY(rig()->plug(product));
    auto* tab = find<OLP_GUI_Capture>("tabCamera");
    QVERIFY(tab);
    const QString dir = qEnvironmentVariable("OLP_SCREENSHOT_DIR");
    QVERIFY(olpChooseEntry(find<QComboBox>("cbbWhiteBalance"), "Color Temperature"));
    QTRY_VERIFY_WITH_TIMEOUT(find<QComboBox>("cbbWhiteBalTemp")->isEnabled(), olpTimeout(5000));
    int fieldsTop = -1;
    for (const QString& mode : {QString("Bracketing"), QString("Interval")}) {
        QVERIFY(olpChooseEntry(find<QComboBox>("cbbDriveMode"), mode));
        const QString shown = mode == "Bracketing" ? "cbbBracketImgNum" : "ledIntervalFrames";
        QTRY_VERIFY_WITH_TIMEOUT(find<QWidget>(shown)->isVisible(), olpTimeout(5000));
        QVERIFY(rig()->settle());
        QApplication::processEvents();
        for (QWidget* w : tab->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) {
                QVERIFY2(tab->rect().contains(w->geometry()), qPrintable(w->objectName()));
            }
        }
        // The text of a box ends before its arrow (10 px padding, 15 px arrow).
        for (QComboBox* box : tab->findChildren<QComboBox*>()) {
            if (box->isVisible()) {
                const int needed = box->fontMetrics().horizontalAdvance(box->currentText()) + 10 + 15;
                QVERIFY2(needed <= box->width(),
                         qPrintable(box->objectName() + ": " + box->currentText() + " " + QString::number(needed) +
                                    " > " + QString::number(box->width())));
            }
        }
        const int top = find<QWidget>(shown)->geometry().center().y();
        QVERIFY(fieldsTop < 0 || qAbs(top - fieldsTop) <= 2);
        fieldsTop = top;
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            const QString name = QString("%1/%2_%3.png").arg(dir, QTest::currentDataTag(), mode);
            QVERIFY(rig()->window()->grab().save(name));
        }
    }
}

OLP_TEST_GUI_MAIN(tst_CaptureRig)
#include "tst_CaptureRig.moc"
