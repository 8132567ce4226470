// The camera window as the user meets it: the application with its
// controller thread finds an emulated camera on the USB hub, opens the window,
// and the window shows what the camera reports and sends what the user does
// back through the controller to the camera.

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_CameraKesta2.h"
#include "OLP_GUI_LabelImage.h"
#include "OLP_GUI_LoadIndicatorWidget.h"
#include "OLP_GUI_Settings.h"
#include "OLP_GUI_ViewFinderKesta.h"
#include "OLP_GUI_ViewFinderPelvo.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Logic_ConverterExposCompens.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

using Offsets = OLP_Commu_EmuSettingsStruct;
using Camera = OLP_Commu_EmuCamera;
using CameraChange = std::function<void(Camera&)>;
using WindowStep = std::function<void(OLP_GUI_CameraKesta2*, QLineEdit*)>;
using Emit = std::function<void(OLP_Logic_Controller*)>;
using CameraState = std::function<bool(Camera&)>;

Q_DECLARE_METATYPE(CameraChange)
Q_DECLARE_METATYPE(QList<CameraChange>)
Q_DECLARE_METATYPE(WindowStep)
Q_DECLARE_METATYPE(QList<WindowStep>)
Q_DECLARE_METATYPE(Emit)
Q_DECLARE_METATYPE(QList<Emit>)
Q_DECLARE_METATYPE(CameraState)

namespace {

const QString kRoot = QStringLiteral(":/OLP_GUI/images/");

OLP_Test_GuiRig* rig()
{
    return OLP_Test_GuiRig::instance();
}

OLP_GUI_CameraKesta2* window()
{
    return qobject_cast<OLP_GUI_CameraKesta2*>(rig()->window());
}

// The image (relative to the image root) or, with a "text:" prefix, the text
// of the label at a path of object names in the window.
QString shownAt(const QString& what)
{
    const bool text = what.startsWith(QLatin1String("text:"));
    QObject* node = rig()->window();
    for (const QString& name : what.mid(text ? 5 : 0).split(QLatin1Char('/'))) {
        node = node ? node->findChild<QObject*>(name) : nullptr;
    }
    auto* label = qobject_cast<QLabel*>(node);
    if (!label) {
        return QStringLiteral("<no label %1>").arg(what);
    }
    return text ? label->text() : OLP_GUI_LabelImage::shownPath(label).remove(0, kRoot.size());
}

CameraChange structByte(int offset, int value)
{
    return [offset, value](Camera& c) { c.changeSettings(offset, QByteArray(1, char(value))); };
}

CameraChange structWord(int offset, int value)
{
    return [offset, value](Camera& c) {
        QByteArray bytes(2, '\0');
        bytes[0] = char(value & 0xFF);
        bytes[1] = char((value >> 8) & 0xFF);
        c.changeSettings(offset, bytes);
    };
}

CameraChange devProp(quint16 code, qint64 value)
{
    return [code, value](Camera& c) { c.setPropertyValue(code, value); };
}

// Every image a label of the window shows that is not in the resources.
QSet<QString> missingImages()
{
    QSet<QString> missing;
    const QList<QLabel*> labels = rig()->window()->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        const QString path = OLP_GUI_LabelImage::shownPath(label);
        if (!path.isEmpty() && !QFile::exists(path)) {
            missing.insert(path);
        }
    }
    return missing;
}

// How many receivers a signal of an object has; QObject keeps the count to
// itself and its subclasses.
struct ReceiverCount : QObject
{
    static int of(const QObject* object, const char* signal)
    {
        const auto receivers = &ReceiverCount::receivers;
        return (object->*receivers)(signal);
    }
};

// The images one label shows, in order, as the drawing helper records them.
class ImageLog : public QObject
{
public:
    explicit ImageLog(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    QStringList images;
    std::function<void()> onChange;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_label && event->type() == QEvent::DynamicPropertyChange &&
            static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == OLP_GUI_LabelImage::kPathProperty) {
            images << OLP_GUI_LabelImage::shownPath(m_label).remove(0, kRoot.size());
            if (onChange) {
                onChange();
            }
        }
        return false;
    }

private:
    QLabel* m_label;
};

void sendKey(QWidget* target, QEvent::Type type, bool autoRepeat)
{
    QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(target, &event);
}

// The widget with the keyboard focus (the shutter button when nothing else has it).
QWidget* focused()
{
    QWidget* widget = QApplication::focusWidget();
    return widget ? widget : rig()->find<QWidget>("pbnCapture");
}

}  // namespace

class tst_CameraWindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(rig()->unplug()); }

    void opening_data();
    void opening();
    void toolButtonsFollowTheCamera_data();
    void toolButtonsFollowTheCamera();
    void batteryLevel_data();
    void batteryLevel();
    void batterySource();
    void viewFinderFromCamera_data();
    void viewFinderFromCamera();
    void powerSwitch_data();
    void powerSwitch();
    void minimalModePerProduct();
    void spaceBar_data();
    void spaceBar();
    void burst();
    void reconnectionsAddNoConnections();
    void savedPosition_data();
    void savedPosition();
    void everyImageExists_data();
    void everyImageExists();
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

// The window a camera gets: its title, its viewfinder layout, and the buttons
// of the features the camera has.
void tst_CameraWindow::opening()
{
    QFETCH(quint16, product);
    QFETCH(bool, pelvo);
    QFETCH(bool, keyLock);
    QFETCH(bool, liveView);
    QFETCH(bool, video);
    QFETCH(bool, mirrorUp);
    QVERIFY(rig()->plug(product));
    OLP_GUI_CameraBase* w = rig()->window();
    QCOMPARE(w->windowTitle(), rig()->controller()->productName());
    QVERIFY(!w->windowTitle().isEmpty());
    QCOMPARE(w->findChild<OLP_GUI_ViewFinderPelvo*>() != nullptr, pelvo);
    QCOMPARE(w->findChild<OLP_GUI_ViewFinderKesta*>() != nullptr, !pelvo);
    if (!pelvo) {
        QCOMPARE(rig()->find<QWidget>("wgt3DAxisData")->isVisibleTo(w), rig()->controller()->has3DAxisData());
    }
    QCOMPARE(rig()->find<QToolButton>("tbnKeyLock")->isVisibleTo(w), keyLock);
    QCOMPARE(rig()->find<QToolButton>("tbnMirrorUp")->isVisibleTo(w), mirrorUp);
    QCOMPARE(rig()->find<QToolButton>("tbnLVPhoto")->isVisibleTo(w), liveView);
    QCOMPARE(rig()->find<QToolButton>("tbnLVVideo")->isVisibleTo(w), liveView && video);
    QCOMPARE(rig()->find<QWidget>("pbnVideoCapt")->isVisibleTo(w), video);
    auto* tabs = rig()->find<QTabWidget>("tabWidget");
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->widget(0)->objectName(), QStringLiteral("tabCamera"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Camera Settings"));
    QCOMPARE(tabs->widget(1)->objectName(), QStringLiteral("tabFile"));
    QCOMPARE(tabs->tabText(1), QStringLiteral(" File Settings"));
    QCOMPARE(w->width(), 360);
    QVERIFY(rig()->camera()->protocolErrors().isEmpty());
}

void tst_CameraWindow::toolButtonsFollowTheCamera_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QString>("button");
    QTest::addColumn<CameraChange>("switchOn");
    QTest::addColumn<CameraState>("isOn");
    QTest::addColumn<quint16>("writeOperation");
    const int flags = Offsets::factoryState(ProductIdKestaA).at(Offsets::Flags);
    QTest::newRow("KestaA key lock") << quint16(ProductIdKestaA) << "tbnKeyLock"
                                     << structByte(Offsets::Flags, flags | 1) << CameraState([](Camera& c) {
                                            return (c.settings().at(Offsets::Flags) & 1) != 0;
                                        })
                                     << EmuWire::WriteSettings;
    QTest::newRow("KestaA mirror-up") << quint16(ProductIdKestaA) << "tbnMirrorUp" << structByte(Offsets::MirrorUp, 1)
                                      << CameraState([](Camera& c) { return c.settings().at(Offsets::MirrorUp) != 0; })
                                      << EmuWire::WriteSettings;
    QTest::newRow("KestaD key lock") << quint16(ProductIdKestaD) << "tbnKeyLock" << devProp(0xD02D, 1)
                                     << CameraState([](Camera& c) { return c.propertyValue(0xD02D) != 0; })
                                     << EmuWire::SetDevicePropValue;
    QTest::newRow("KestaD mirror-up") << quint16(ProductIdKestaD) << "tbnMirrorUp" << devProp(0xD00A, 1)
                                      << CameraState([](Camera& c) { return c.propertyValue(0xD00A) != 0; })
                                      << EmuWire::SetDevicePropValue;
}

// Catches a button that writes the camera's own change back to it (only a
// click may change the camera), and a click that does not reach the camera.
void tst_CameraWindow::toolButtonsFollowTheCamera()
{
    QFETCH(quint16, product);
    QFETCH(QString, button);
    QFETCH(CameraChange, switchOn);
    QFETCH(CameraState, isOn);
    QFETCH(quint16, writeOperation);
    QVERIFY(rig()->plug(product));
    Camera& camera = *rig()->camera();
    auto* tool = rig()->find<QToolButton>(button);
    QVERIFY(!tool->isChecked());
    const int writes = camera.requestCount(writeOperation);
    switchOn(camera);
    QTRY_VERIFY_WITH_TIMEOUT(tool->isChecked(), olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(camera.requestCount(writeOperation), writes);
    QVERIFY(isOn(camera));

    QTest::mouseClick(tool, Qt::LeftButton);
    QVERIFY(!tool->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(!isOn(camera), olpTimeout(5000));
    QVERIFY(rig()->settle());
    QVERIFY(!tool->isChecked());
    QVERIFY(camera.protocolErrors().isEmpty());
}

void tst_CameraWindow::batteryLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("image");
    QTest::newRow("25") << 25 << "BatteryEmpty.png";
    QTest::newRow("26") << 26 << "Battery10perCent.png";
    QTest::newRow("40") << 40 << "Battery25perCent.png";
    QTest::newRow("62") << 62 << "Battery50perCent.png";
    QTest::newRow("87") << 87 << "Battery75perCent.png";
    QTest::newRow("88") << 88 << "Battery100perCent.png";
    QTest::newRow("100") << 100 << "Battery100perCent.png";
    QTest::newRow("101") << 101 << "BatteryEmpty.png";
}

// The battery symbol for the level the camera reports, edges included.
void tst_CameraWindow::batteryLevel()
{
    QFETCH(int, level);
    QFETCH(QString, image);
    QVERIFY(rig()->plug(ProductIdKestaA));
    QCOMPARE(shownAt("symBattInt"), QStringLiteral("Battery75perCent.png"));  // the camera's 85 %
    rig()->camera()->changeSettings(Offsets::BatteryIntern, QByteArray(1, char(level)));
    QTRY_COMPARE_WITH_TIMEOUT(shownAt("symBattInt"), image, olpTimeout(5000));
}

// Mains power shows on the internal symbol and hides the external one; going
// back to the battery keeps the mains image until the next level arrives; a
// grip shows both.
void tst_CameraWindow::batterySource()
{
    QVERIFY(rig()->plug(ProductIdKestaA));
    Camera& camera = *rig()->camera();
    auto* intern = rig()->find<QLabel>("symBattInt");
    auto* extern_ = rig()->find<QLabel>("symBattExt");
    QVERIFY(intern->isVisibleTo(window()));
    QVERIFY(!extern_->isVisibleTo(window()));

    camera.changeSettings(Offsets::BatterySource, QByteArray(1, char(0)));
    QTRY_COMPARE_WITH_TIMEOUT(shownAt("symBattInt"), QStringLiteral("BatteryAC.png"), olpTimeout(5000));
    QVERIFY(window()->isOnExternalPower());
    QVERIFY(intern->isVisibleTo(window()));
    QVERIFY(!extern_->isVisibleTo(window()));

    camera.changeSettings(Offsets::BatterySource, QByteArray(1, char(1)));
    QTRY_VERIFY_WITH_TIMEOUT(!window()->isOnExternalPower(), olpTimeout(5000));
    QVERIFY(rig()->settle());
    QCOMPARE(shownAt("symBattInt"), QStringLiteral("BatteryAC.png"));

    camera.changeSettings(Offsets::BatteryIntern, QByteArray(1, char(50)));
    QTRY_COMPARE_WITH_TIMEOUT(shownAt("symBattInt"), QStringLiteral("Battery50perCent.png"), olpTimeout(5000));

    camera.changeSettings(Offsets::BatteryExtern, QByteArray(1, char(40)));
    QTRY_VERIFY_WITH_TIMEOUT(extern_->isVisibleTo(window()), olpTimeout(5000));
    QVERIFY(rig()->find<QLabel>("lblBattExt")->isVisibleTo(window()));
    QVERIFY(intern->isVisibleTo(window()));
    QTRY_COMPARE_WITH_TIMEOUT(shownAt("symBattExt"), QStringLiteral("Battery25perCent.png"), olpTimeout(5000));
}

void tst_CameraWindow::viewFinderFromCamera_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QList<CameraChange>>("changes");
    QTest::addColumn<QStringList>("expected");  // pairs of label path and image (or "text:" path and text)
    const QString digit = QStringLiteral("7Segment/Digit_%1.png");
    const QString ap = QStringLiteral("wgt7SegAperture/wgtDigit%1/lblDigit");
    const QString st = QStringLiteral("wgt7SegShutTime/wgtDigit%1/lblDigit");
    // Settings structure, first layout: manual mode, f 8, 1/250 s, spot metering.
    QTest::newRow("structure") << quint16(ProductIdKestaA)
                               << QList<CameraChange>{structByte(71, 0), structWord(72, 1536), structWord(74, 2048),
                                                      structByte(Offsets::Metering, 0)}
                               << QStringList{"wgt7SegExpMode/lblImage",
                                              "7Segment/A-m.png",
                                              ap.arg(1),
                                              digit.arg(8),
                                              ap.arg(2),
                                              digit.arg(0),
                                              "wgt7SegAperture/lblDot",
                                              "7Segment/Digit_dot_on.png",
                                              st.arg(1),
                                              digit.arg("null"),
                                              st.arg(2),
                                              digit.arg(2),
                                              st.arg(3),
                                              digit.arg(5),
                                              st.arg(4),
                                              digit.arg(0),
                                              "wgt7SegExpMeter/lblImage",
                                              "ExposMetering/ExposMetering_spot.png",
                                              "wgt7SegLightBal/lblLightBal",
                                              "LightBal/LightBal-(-0.5).png"};
    // Second layout: manual mode, 1/1000 s, centre-weighted; no aperture.
    QTest::newRow("structure M") << quint16(ProductIdKestaC)
                                 << QList<CameraChange>{structByte(71, 0), structWord(74, 2560),
                                                        structByte(Offsets::Metering, 1)}
                                 << QStringList{"wgt7SegExpMode/lblImage",
                                                "7Segment/A-m.png",
                                                st.arg(1),
                                                digit.arg(1),
                                                st.arg(2),
                                                digit.arg(0),
                                                st.arg(3),
                                                digit.arg(0),
                                                st.arg(4),
                                                digit.arg(0),
                                                "wgt7SegExpMeter/lblImage",
                                                "ExposMetering/ExposMetering_centerWeighted.png"};
    // Device properties: shutter priority, f 16, 1/15 s, centre-weighted; the level.
    QTest::newRow("device properties") << quint16(ProductIdKestaD)
                                       << QList<CameraChange>{devProp(0x500E, 4), devProp(0xD60E, 2048),
                                                              devProp(0xD60C, 1024), devProp(0x500B, 1),
                                                              [](Camera& c) { c.set3DAxis(3.0, 0.0, 25.0); }}
                                       << QStringList{"wgt7SegExpMode/lblImage",
                                                      "7Segment/A-T.png",
                                                      ap.arg(1),
                                                      digit.arg(1),
                                                      ap.arg(2),
                                                      digit.arg(6),
                                                      "wgt7SegAperture/lblDot",
                                                      "7Segment/Digit_dot_off.png",
                                                      st.arg(1),
                                                      digit.arg("null"),
                                                      st.arg(2),
                                                      digit.arg("null"),
                                                      st.arg(3),
                                                      digit.arg(1),
                                                      st.arg(4),
                                                      digit.arg(5),
                                                      "wgt7SegExpMeter/lblImage",
                                                      "ExposMetering/ExposMetering_centerWeighted.png",
                                                      "wgt7SegLightBal/lblLightBal",
                                                      "LightBal/LightBal-inactive.png",
                                                      "wgt3DAxisData/lblHorizontal",
                                                      "3DAxis/3DAxis_Horizontal_2.png",
                                                      "wgt3DAxisData/lblVertical",
                                                      "3DAxis/3DAxis_Vertikal_4.png"};
    // The Pelvo's own line: aperture priority, f 11, 2 minutes.
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo)
                           << QList<CameraChange>{devProp(0x500E, 3), devProp(0xD60E, 1792), devProp(0xD60C, -1792)}
                           << QStringList{"wgtExpMode/lblExpMode",
                                          "ViewFinderPelvo/expMode/VFPelvo_expMode_A.png",
                                          "text:wgtAperture/lblAperture",
                                          "11",
                                          "text:wgtShutTime/lblShutTime",
                                          "2",
                                          "wgtShutTime/lblUnit",
                                          "ViewFinderPelvo/expSim/VFPelvo_m_expSim_off.png",
                                          "wgtLightBalExpCompens/lblLightBal",
                                          "ViewFinderPelvo/LightBal/VFPelvo_LightBal_inact_(333).png"};
}

// What the camera reports reaches the viewfinder line, for each way a camera
// keeps its settings.
void tst_CameraWindow::viewFinderFromCamera()
{
    QFETCH(quint16, product);
    QFETCH(QList<CameraChange>, changes);
    QFETCH(QStringList, expected);
    QVERIFY(rig()->plug(product));
    for (const CameraChange& change : changes) {
        change(*rig()->camera());
    }
    for (int i = 0; i + 1 < expected.size(); i += 2) {
        QTRY_COMPARE_WITH_TIMEOUT(shownAt(expected.at(i)), expected.at(i + 1), olpTimeout(5000));
    }
    QVERIFY(rig()->camera()->protocolErrors().isEmpty());
}

void tst_CameraWindow::powerSwitch_data()
{
    QTest::addColumn<QList<Emit>>("steps");
    QTest::addColumn<int>("property");
    auto has = [](bool on) { return Emit([on](OLP_Logic_Controller* c) { emit c->signalHasPowerSwitch(on); }); };
    auto position = [](int p) { return Emit([p](OLP_Logic_Controller* c) { emit c->signalPowerSwitch(p); }); };
    QTest::newRow("no switch") << QList<Emit>{has(false), position(2)} << 0;
    QTest::newRow("off") << QList<Emit>{has(true), position(1)} << 1;
    QTest::newRow("single") << QList<Emit>{has(true), position(2)} << 2;
    QTest::newRow("continuous") << QList<Emit>{has(true), position(3)} << 3;
    QTest::newRow("unknown position") << QList<Emit>{has(true), position(4)} << 0;
    QTest::newRow("switch lost") << QList<Emit>{has(true), position(3), has(false)} << 0;
}

// The shutter button's look follows the camera's switch only when there is
// one; the style sheet reads the property.
void tst_CameraWindow::powerSwitch()
{
    QFETCH(QList<Emit>, steps);
    QFETCH(int, property);
    QVERIFY(rig()->plug(ProductIdKestaC));
    for (const Emit& step : steps) {
        QVERIFY(rig()->runAndWait(step));
    }
    QVERIFY(rig()->settle());
    QCOMPARE(rig()->find<QWidget>("pbnCapture")->property("PowerSwitch").toInt(), property);
}

// Minimal mode hides the tabs and shrinks the window to 140 pixels; the choice
// belongs to the product.
void tst_CameraWindow::minimalModePerProduct()
{
    QVERIFY(rig()->plug(ProductIdKestaA));
    QCOMPARE(window()->height(), 490);
    QTest::mouseClick(rig()->find<QToolButton>("tbnMinGUI"), Qt::LeftButton);
    QCOMPARE(window()->height(), 140);
    QVERIFY(!rig()->find<QWidget>("tabWidget")->isVisibleTo(window()));
    QVERIFY(window()->isVisible());
    QVERIFY(rig()->unplug());

    QVERIFY(rig()->plug(ProductIdKestaC));
    QCOMPARE(window()->height(), 490);
    QVERIFY(rig()->find<QWidget>("tabWidget")->isVisibleTo(window()));
    QVERIFY(!rig()->find<QToolButton>("tbnMinGUI")->isChecked());
    QVERIFY(rig()->unplug());

    QVERIFY(rig()->plug(ProductIdKestaA));
    QCOMPARE(window()->height(), 140);
    QVERIFY(rig()->find<QToolButton>("tbnMinGUI")->isChecked());
    QTest::mouseClick(rig()->find<QToolButton>("tbnMinGUI"), Qt::LeftButton);
    QCOMPARE(window()->height(), 490);
    QVERIFY(!OLP_GUI_Settings::instance()->isMinimalControlGUI());
}

void tst_CameraWindow::spaceBar_data()
{
    QTest::addColumn<QList<WindowStep>>("steps");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("released");
    QTest::addColumn<bool>("shooting");  // continuous shooting still runs at the end
    QTest::addColumn<QString>("typed");
    const WindowStep press = [](OLP_GUI_CameraKesta2*, QLineEdit*) { sendKey(focused(), QEvent::KeyPress, false); };
    const WindowStep release = [](OLP_GUI_CameraKesta2*, QLineEdit*) { sendKey(focused(), QEvent::KeyRelease, false); };
    const WindowStep repeat = [](OLP_GUI_CameraKesta2*, QLineEdit*) {
        for (int i = 0; i < 5; ++i) {
            sendKey(focused(), QEvent::KeyRelease, true);
            sendKey(focused(), QEvent::KeyPress, true);
        }
    };
    const WindowStep intoEdit = [](OLP_GUI_CameraKesta2*, QLineEdit* edit) {
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
    };
    // What the application receives when the user turns to another program.
    const WindowStep inactive = [](OLP_GUI_CameraKesta2*, QLineEdit*) {
        QApplicationStateChangeEvent event(Qt::ApplicationInactive);
        QApplication::sendEvent(qApp, &event);
    };
    QTest::newRow("shutter button") << QList<WindowStep>{press} << 1 << 0 << true << "";
    QTest::newRow("press and release") << QList<WindowStep>{press, release} << 1 << 1 << false << "";
    QTest::newRow("held key repeats") << QList<WindowStep>{press, repeat, release} << 1 << 1 << false << "";
    QTest::newRow("held key repeating") << QList<WindowStep>{press, repeat} << 1 << 0 << true << "";
    QTest::newRow("text field") << QList<WindowStep>{intoEdit, press, release} << 0 << 0 << false << " ";
    QTest::newRow("focus moved into a text field")
        << QList<WindowStep>{press, intoEdit, release} << 1 << 1 << false << "";
    QTest::newRow("application inactive") << QList<WindowStep>{press, inactive} << 1 << 1 << false << "";
    QTest::newRow("application inactive, then the key")
        << QList<WindowStep>{press, inactive, release} << 1 << 1 << false << "";
}

// The space bar as the shutter button of a camera in continuous drive: the
// camera shoots while the key is held. Catches a burst from a repeating key,
// a shutter held after the key was let go elsewhere, and a shutter held while
// the application is in the background.
void tst_CameraWindow::spaceBar()
{
    QFETCH(QList<WindowStep>, steps);
    QFETCH(int, pressed);
    QFETCH(int, released);
    QFETCH(bool, shooting);
    QFETCH(QString, typed);
    QVERIFY(rig()->plug(ProductIdKestaD));
    QVERIFY(rig()->runAndWait([](OLP_Logic_Controller* c) { c->setDriveMode(1); }));
    QVERIFY(rig()->settle());
    OLP_GUI_CameraKesta2* w = window();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w, olpTimeout(5000)));
    auto* capture = rig()->find<QWidget>("pbnCapture");
    capture->setFocus();
    QTRY_VERIFY(capture->hasFocus());
    // A text field of the window (the tabs have theirs).
    auto* edit = new QLineEdit(rig()->find<QWidget>("tabFile"));
    edit->setObjectName(QStringLiteral("ledSpaceBarTest"));
    edit->show();

    Camera& camera = *rig()->camera();
    const int releasesBefore = camera.releases().size();
    QSignalSpy pressSpy(w, &OLP_GUI_CameraBase::signalCaptureBtnPressed);
    QSignalSpy releaseSpy(w, &OLP_GUI_CameraBase::signalCaptureBtnReleased);
    for (const WindowStep& step : steps) {
        step(w, edit);
    }
    QVERIFY(rig()->settle());
    QCOMPARE(pressSpy.size(), pressed);
    QCOMPARE(releaseSpy.size(), released);
    QCOMPARE(camera.isContinuousOpen(), shooting);
    // One release operation per press and per let-go reaches the camera.
    QCOMPARE(camera.releases().size() - releasesBefore, pressed + released);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(w->isSpacePressed(), shooting);
    if (shooting) {
        sendKey(focused(), QEvent::KeyRelease, false);
        QTRY_VERIFY_WITH_TIMEOUT(!camera.isContinuousOpen(), olpTimeout(5000));
    }
    QVERIFY(camera.protocolErrors().isEmpty());
}

// Three pictures of one burst: the counter shows how many are still to come,
// the indicator runs while they load and rests afterwards.
void tst_CameraWindow::burst()
{
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(ProductIdKestaD);
    OLP_Logic_FolderSettingsRecord folders;
    folders.dngFolder = rig()->homePath() + QStringLiteral("/dng");
    folders.jpgFolder = rig()->homePath() + QStringLiteral("/jpg");
    folders.pictureName = QStringLiteral("Burst");
    QVERIFY(QDir().mkpath(folders.dngFolder) && QDir().mkpath(folders.jpgFolder));
    settings->setFolderSettings(folders);
    QVERIFY(rig()->plug(ProductIdKestaD));
    Camera& camera = *rig()->camera();
    OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options::forProduct(camera.productId());
    options.enabled = true;
    options.pictureSize = 16 * 1024;
    camera.setCaptureOptions(options);
    camera.setPropertyValue(0xD004, 2);  // JPG only: one file per picture
    QVERIFY(rig()->settle());

    auto* indicator = rig()->find<OLP_GUI_LoadIndicatorWidget>("wgtLoadIndicator");
    QVERIFY(indicator);
    ImageLog tens(rig()->findObject("wgtLoadCounter")->findChild<QWidget*>("wgtDigit1")->findChild<QLabel*>());
    ImageLog ones(rig()->findObject("wgtLoadCounter")->findChild<QWidget*>("wgtDigit2")->findChild<QLabel*>());
    QStringList counter;    // what the two digits show after each update
    QList<bool> animating;  // whether the indicator runs at that moment
    ones.onChange = [&] {
        auto name = [](const QStringList& images) {
            return images.isEmpty() ? QString() : images.last().section('/', -1).remove(".png");
        };
        counter << name(tens.images) + "," + name(ones.images);
        animating << indicator->isLoading();
    };

    camera.capture(3);
    QTRY_COMPARE_WITH_TIMEOUT(counter.value(counter.size() - 1), QStringLiteral("grey_eight,grey_eight"),
                              olpTimeout(10000));
    QTRY_VERIFY_WITH_TIMEOUT(!indicator->isLoading(), olpTimeout(5000));
    QCOMPARE(counter, (QStringList{"0,3", "0,2", "0,1", "grey_eight,grey_eight"}));
    QCOMPARE(animating, (QList<bool>{true, true, true, false}));
    QCOMPARE(indicator->frame(), 0);
    QCOMPARE(shownAt("wgtLoadIndicator"), QStringLiteral("LoadEffect/LoadEffectDefault.png"));
    QCOMPARE(QDir(folders.jpgFolder).entryList(QDir::Files).size(), 3);

    // A frame step of the running indicator, and more pictures than two digits hold.
    QVERIFY(rig()->runAndWait([](OLP_Logic_Controller* c) {
        emit c->signalLoading(true);
        emit c->signalRemainingToLoad(150);
    }));
    QVERIFY(rig()->settle());
    QVERIFY(indicator->isLoading());
    QVERIFY(QMetaObject::invokeMethod(indicator, "catchLoadImageTimer"));
    QCOMPARE(shownAt("wgtLoadIndicator"), QStringLiteral("LoadEffect/LoadEffect1.png"));
    QCOMPARE(counter.last(), QStringLiteral("9,9"));
    QVERIFY(camera.protocolErrors().isEmpty());
}

// The application's four folder connections are made by every window; a
// reconnection must not add another copy each time (the settings would be
// written once more per reconnection).
void tst_CameraWindow::reconnectionsAddNoConnections()
{
    const OLP_Logic_Controller* controller = rig()->controller();
    const char* const folderSignals[] = {SIGNAL(signalDngPath(QString)), SIGNAL(signalJpgPath(QString)),
                                         SIGNAL(signalPictureName(QString)), SIGNAL(signalPictureIndex(int))};
    QVERIFY(rig()->plug(ProductIdKestaB));
    QVector<int> first;
    for (const char* signal : folderSignals) {
        first << ReceiverCount::of(controller, signal);
        QVERIFY(first.last() > 0);
    }
    for (int round = 0; round < 3; ++round) {
        QVERIFY(rig()->unplug());
        QVERIFY(rig()->plug(ProductIdKestaB));
    }
    QVector<int> later;
    for (const char* signal : folderSignals) {
        later << ReceiverCount::of(controller, signal);
    }
    QCOMPARE(later, first);
}

void tst_CameraWindow::savedPosition_data()
{
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<bool>("applied");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QTest::newRow("on the screen") << QRect(screen.left() + 40, screen.top() + 80, 360, 490) << true;
    // Kept as it is, not pulled into the screen: the title bar is still reachable.
    QTest::newRow("partly beyond the right edge") << QRect(screen.right() - 100, screen.top() + 60, 360, 490) << true;
    QTest::newRow("on a screen that is gone") << QRect(screen.right() + 2000, screen.top() + 60, 360, 490) << false;
    QTest::newRow("title bar above the screen") << QRect(screen.left() + 40, screen.top() + 10, 360, 490) << false;
}

// Catches a window restored where its title bar cannot be reached (after a
// monitor was removed): it then opens at its default position instead.
void tst_CameraWindow::savedPosition()
{
    QFETCH(QRect, saved);
    QFETCH(bool, applied);
    OLP_GUI_Settings::instance()->setLastProductId(ProductIdKestaE);
    OLP_GUI_Settings::instance()->setWindowPosition(QStringLiteral("WinCamera"), saved);
    QVERIFY(rig()->plug(ProductIdKestaE));
    // Within the few pixels a window frame may add.
    QCOMPARE((window()->geometry().topLeft() - saved.topLeft()).manhattanLength() <= 4, applied);
}

void tst_CameraWindow::everyImageExists_data()
{
    QTest::addColumn<quint16>("product");
    QTest::newRow("KestaA") << quint16(ProductIdKestaA);
    QTest::newRow("KestaB") << quint16(ProductIdKestaB);
    QTest::newRow("KestaC") << quint16(ProductIdKestaC);
    QTest::newRow("KestaD") << quint16(ProductIdKestaD);
    QTest::newRow("Pelvo") << quint16(ProductIdPelvo);
    QTest::newRow("KestaE") << quint16(ProductIdKestaE);
}

// Every image the window can show for the values of these cameras is in the
// resources: a missing one would leave a blank label.
void tst_CameraWindow::everyImageExists()
{
    QFETCH(quint16, product);
    QVERIFY(rig()->plug(product));
    OLP_GUI_CameraKesta2* w = window();
    OLP_GUI_ViewFinderBase* v = w->viewFinder();
    QSet<QString> missing = missingImages();
    auto check = [&] { missing.unite(missingImages()); };

    // The texts of the camera's own lists.
    auto lists = std::make_shared<QList<QStringList>>();
    QObject receiver;
    const OLP_Logic_Controller* c = rig()->controller();
    connect(c, &OLP_Logic_Controller::signalApertureList, &receiver, [lists](const QStringList& l) { *lists << l; });
    connect(c, &OLP_Logic_Controller::signalShutterTimeList, &receiver, [lists](const QStringList& l) { *lists << l; });
    QVERIFY(rig()->runAndWait([](OLP_Logic_Controller* controller) {
        controller->emitApertureList();
        controller->emitShutterTimeList();
    }));
    QVERIFY(rig()->settle());
    QCOMPARE(lists->size(), 2);
    for (const QString& text : lists->at(0)) {
        v->setAperture(text);
        check();
    }
    for (const QString& text : lists->at(1)) {
        v->setShutterTime(text);
        check();
    }
    for (int mode = -1; mode <= 6; ++mode) {
        w->setExposureMode(mode);
        w->setExposMetering(mode);
        w->setExposureSimulation(mode);
        check();
    }
    for (const int step : {333, 500}) {
        w->setExposCompensStep(step);
        OLP_Logic_ConverterExposCompens converter(product);
        converter.setStepSize(step);
        const QStringList texts = converter.list();
        for (const QString& text : texts) {
            w->setExposCompens(int(converter.valueOf(text)));
            check();
        }
        for (const bool active : {true, false}) {
            v->setLightBalIsActive(active);
            for (int balance = -12; balance <= 12; ++balance) {
                w->setLightBalance(balance);
                check();
            }
        }
    }
    for (int value = -3; value <= 3; ++value) {
        w->setFocusConfirmation(value);
        w->setFlashStatus(value);
        w->setFlashXSymbol(value > 0);
        w->setPowerSwitch(value);
        check();
    }
    w->setFocusConfirmBadSig(true);
    w->setNoFocusConfirmation();
    check();
    for (double angle = -20.0; angle <= 20.0; angle += 0.25) {
        w->set3DAxisAngles(angle, -angle);
        w->set3DAxisAngles(angle, angle);
        check();
    }
    for (int n = -1; n <= 120; ++n) {
        w->setRemainingToLoad(n);
        w->setBatteryLevelIntern(n);
        w->setBatteryLevelExtern(n);
        w->setBulbCounter(n);
        w->setSelfTimerCounter(n % 12);
        check();
    }
    w->setBatteryInfo(3);
    w->setLoading(true);
    auto* indicator = rig()->find<OLP_GUI_LoadIndicatorWidget>("wgtLoadIndicator");
    for (int frame = 0; frame < 6; ++frame) {
        QVERIFY(QMetaObject::invokeMethod(indicator, "catchLoadImageTimer"));
        check();
    }
    QCOMPARE(missing, QSet<QString>());
}

OLP_TEST_GUI_MAIN(tst_CameraWindow)
#include "tst_CameraWindow.moc"
