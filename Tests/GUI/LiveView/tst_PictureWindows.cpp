// The live view and quick view windows as the photographer meets them: the
// application with its controller thread and an emulated camera on the USB
// hub; live view switched on at the camera opens the window, the user's clicks
// in it reach the camera, pictures the camera takes show in the quick view.

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QImageWriter>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "OLP_Commu_EmuCapture.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_AudioMeterWidget.h"
#include "OLP_GUI_AudioVolumeWidget.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_ImageViewer.h"
#include "OLP_GUI_LiveViewInfoWidget.h"
#include "OLP_GUI_LiveViewNavigatorWidget.h"
#include "OLP_GUI_MultiStateToolButton.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

using App = OLP_GUI_Application;

OLP_Test_GuiRig* rig()
{
    return OLP_Test_GuiRig::instance();
}

App* app()
{
    return rig()->application();
}

template <class T>
T* liveChild(const char* name)
{
    QDialog* window = app()->liveViewWindow();
    return window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
}

bool isShown(const char* name)
{
    QWidget* w = liveChild<QWidget>(name);
    return w && w->isVisible();
}

// Live view switched on at the camera; waits until the window shows frames.
bool startLiveView(int state)
{
    rig()->camera()->setLiveViewState(state);
    return QTest::qWaitFor(
        [] {
            return app()->liveViewViewer() && !app()->liveViewViewer()->receivedPixmap().isNull() &&
                   app()->liveViewWindow()->isVisible();
        },
        olpTimeout(10000));
}

// A click on the viewer's picture at a relative position.
void clickPicture(double x, double y)
{
    OLP_GUI_ImageViewer* viewer = app()->liveViewViewer();
    const QSize size = viewer->scaledPixmap().size() / viewer->scaledPixmap().devicePixelRatioF();
    QTest::mouseClick(viewer, Qt::LeftButton, Qt::NoModifier,
                      QPoint(qRound(x * size.width()), qRound(y * size.height())));
}

// A Kesta D without the orientation property: the level data turns live view.
OLP_Commu_EmuProfile withoutOrientation()
{
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    for (int i = profile.properties.size() - 1; i >= 0; --i) {
        if (profile.properties[i].code == 0xD65F) {
            profile.properties.removeAt(i);
        }
    }
    return profile;
}

// A sensor position the camera reports, within a screen pixel of the expected
// one (a pixel of the default window spans about 10 sensor pixels).
bool near(quint32 actual, quint32 expected)
{
    return qAbs(qint64(actual) - qint64(expected)) <= 12;
}

QImage markedFrame(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    // The top-left quarter-by-quarter block is red, so that where it lands
    // tells how the frame turned.
    for (int y = 0; y < height / 4; ++y) {
        for (int x = 0; x < width / 4; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return image;
}

QByteArray jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

// Which corner of the picture is red: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
int redCorner(const QImage& image)
{
    const int w = image.width(), h = image.height();
    const QPoint corners[] = {
        {w / 16, h / 16}, {w - 1 - w / 16, h / 16}, {w - 1 - w / 16, h - 1 - h / 16}, {w / 16, h - 1 - h / 16}};
    for (int i = 0; i < 4; ++i) {
        if (qRed(image.pixel(corners[i])) > 200 && qGreen(image.pixel(corners[i])) < 60) {
            return i;
        }
    }
    return -1;
}

}  // namespace

class tst_PictureWindows : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void rotationChoice_data();
    void rotationChoice();
    void positionTransform_data();
    void positionTransform();
    void decodeScale_data();
    void decodeScale();

    void liveViewOpensPerMode_data();
    void liveViewOpensPerMode();
    void liveViewClosesAfterASecond();
    void closeTimerKeptByAFrame();
    void rotatedFrame_data();
    void rotatedFrame();
    void rotatedClickAndZoom();
    void zoomCrossAndGreyCard();
    void exposureSimulation_data();
    void exposureSimulation();
    void audioInVideoLiveView();
    void meterPaintsLevel();
    void controlsPerMode_data();
    void controlsPerMode();
    void colourMatchedWindows();
    void windowBehaviour();
    void quickViewFromCamera();
    void quickViewOrientation_data();
    void quickViewOrientation();
    void quickViewWithoutCameraWindow();
    void unplugCloses_data();
    void unplugCloses();
};

void tst_PictureWindows::cleanup()
{
    if (rig()->camera()) {
        QVERIFY(rig()->unplug());
    }
    // No picture window outlives its camera window.
    QTRY_VERIFY_WITH_TIMEOUT(!app()->liveViewWindow() && !app()->quickViewWindow(), olpTimeout(5000));
}

// ---- pure functions ----------------------------------------------------------

void tst_PictureWindows::rotationChoice_data()
{
    QTest::addColumn<bool>("hasOrientation");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("levelAngle");
    QTest::addColumn<int>("rotation");
    QTest::newRow("44 degrees") << true << 44 << 0.0 << 0;
    QTest::newRow("45 degrees") << true << 45 << 0.0 << 90;
    QTest::newRow("135 degrees") << true << 135 << 0.0 << 180;
    QTest::newRow("225 degrees") << true << 225 << 0.0 << 270;
    QTest::newRow("315 degrees") << true << 315 << 0.0 << 0;
    QTest::newRow("-90 degrees") << true << -90 << 0.0 << 270;
    QTest::newRow("orientation wins over level") << true << 0 << 90.0 << 0;
    QTest::newRow("level 90, no orientation") << false << 180 << 90.0 << 270;
    QTest::newRow("level -100, no orientation") << false << 0 << -100.0 << 90;
}

void tst_PictureWindows::rotationChoice()
{
    QFETCH(bool, hasOrientation);
    QFETCH(int, orientation);
    QFETCH(double, levelAngle);
    QFETCH(int, rotation);
    QCOMPARE(App::liveViewRotation(hasOrientation, orientation, levelAngle), rotation);
}

void tst_PictureWindows::positionTransform_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<QPointF>("in");
    QTest::addColumn<QPointF>("out");
    // The user's click on a picture turned by 90 goes back by -90.
    QTest::newRow("-90") << -90 << QPointF(0.25, 0.5) << QPointF(0.5, 0.75);
    QTest::newRow("90") << 90 << QPointF(0.5, 0.75) << QPointF(0.25, 0.5);
    QTest::newRow("180") << 180 << QPointF(0.1, 0.2) << QPointF(0.9, 0.8);
    QTest::newRow("0") << 0 << QPointF(0.3, 0.7) << QPointF(0.3, 0.7);
}

void tst_PictureWindows::positionTransform()
{
    QFETCH(int, angle);
    QFETCH(QPointF, in);
    QFETCH(QPointF, out);
    const QPointF mapped = App::positionTransform(angle).map(in);
    QVERIFY2(qAbs(mapped.x() - out.x()) < 1e-9 && qAbs(mapped.y() - out.y()) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(mapped.x()).arg(mapped.y())));
}

void tst_PictureWindows::decodeScale_data()
{
    QTest::addColumn<QSize>("display");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("nothing told: full size") << QSize() << QSize(1920, 1080);
    QTest::newRow("default window") << QSize(660, 372) << QSize(960, 540);
    QTest::newRow("exactly a half") << QSize(960, 540) << QSize(960, 540);
    QTest::newRow("a pixel more than a half") << QSize(961, 540) << QSize(1920, 1080);
    QTest::newRow("an eighth") << QSize(200, 100) << QSize(240, 135);
    QTest::newRow("a quarter") << QSize(241, 100) << QSize(480, 270);
    QTest::newRow("larger than the frame") << QSize(2560, 1440) << QSize(1920, 1080);
}

void tst_PictureWindows::decodeScale()
{
    QFETCH(QSize, display);
    QFETCH(QSize, decoded);
    static const QByteArray frame = jpeg(markedFrame(1920, 1080));
    const QImage image = OLP_Logic_Camera::decodeLiveViewFrame(frame, display);
    QCOMPARE(image.size(), decoded);
    // Still the same picture: the red block stays top-left.
    QCOMPARE(redCorner(image), 0);
}

// ---- live view at the emulated camera -----------------------------------------------

void tst_PictureWindows::liveViewOpensPerMode_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("title");
    QTest::newRow("photo") << 2 << QStringLiteral("Live View Photo");
    QTest::newRow("video") << 3 << QStringLiteral("Live View Video");
    // The grey-card field switch takes the camera into its grey-card live view.
    QTest::newRow("grey card") << 4 << QStringLiteral("Grey Card Live View");
}

void tst_PictureWindows::liveViewOpensPerMode()
{
    QFETCH(int, state);
    QFETCH(QString, title);
    QVERIFY(rig()->plug(ProductIdKestaD));
    QSignalSpy opened(app(), &App::signalLiveViewGUIOpened);
    QVERIFY(startLiveView(state == 4 ? 2 : state));
    if (state == 4) {
        QTest::mouseClick(liveChild<QToolButton>("tbnGCPip"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig()->camera()->liveViewState(), 4, olpTimeout(5000));
    }
    QCOMPARE(opened.count(), 1);
    QDialog* window = app()->liveViewWindow();
    QCOMPARE(window->objectName(), QStringLiteral("LiveViewDialog"));
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), title, olpTimeout(5000));
    QCOMPARE(window->parentWidget(), static_cast<QWidget*>(rig()->window()));

    // The emulator sends a frame only after the viewer took the last one
    // (plus the one in flight).
    OLP_GUI_ImageViewer* viewer = app()->liveViewViewer();
    int consumed = 0;
    qint64 mostAhead = 0;
    auto camera = rig()->camera();
    const quint32 sentBefore = camera->streamFramesSent();
    const QMetaObject::Connection counter = connect(viewer, &OLP_GUI_ImageViewer::signalPixmapConsumed, this, [&] {
        ++consumed;
        mostAhead = qMax(mostAhead, qint64(camera->streamFramesSent() - sentBefore) - consumed);
    });
    const bool enough = QTest::qWaitFor([&] { return consumed >= 8; }, olpTimeout(10000));
    disconnect(counter);
    QVERIFY(enough);
    QVERIFY2(mostAhead <= 1, qPrintable(QString::number(mostAhead)));

    if (state == 2) {
        // Opening the window brought the camera's exposure simulation list.
        auto* expSim = liveChild<OLP_GUI_MultiStateToolButton>("tbnExpSim");
        QVERIFY(expSim);
        QTRY_COMPARE_WITH_TIMEOUT(expSim->stateCount(), 2, olpTimeout(5000));
        QCOMPARE(expSim->valueOfState(1), 1);
    }
}

void tst_PictureWindows::liveViewClosesAfterASecond()
{
    QVERIFY(rig()->plug(ProductIdKestaD));
    QVERIFY(startLiveView(2));
    auto* lvPhoto = rig()->find<QToolButton>(QStringLiteral("tbnLVPhoto"));
    QVERIFY(lvPhoto);
    QTRY_VERIFY_WITH_TIMEOUT(lvPhoto->isChecked(), olpTimeout(5000));
    QSignalSpy closed(app(), &App::signalLiveViewGUIClosed);
    QElapsedTimer clock;
    clock.start();
    rig()->camera()->setLiveViewState(0);
    // The real timer: the window stays for a second, then goes.
    QVERIFY(QTest::qWaitFor([] { return app()->liveViewCloseTimer()->isActive(); }, olpTimeout(5000)));
    QVERIFY(app()->liveViewWindow());
    QVERIFY(closed.wait(olpTimeout(5000)));
    QVERIFY(clock.elapsed() >= 1000);
    QVERIFY(!app()->liveViewWindow());
    QVERIFY(!lvPhoto->isChecked());
    auto* lvVideo = rig()->find<QToolButton>(QStringLiteral("tbnLVVideo"));
    QVERIFY(lvVideo && !lvVideo->isChecked());
}

void tst_PictureWindows::closeTimerKeptByAFrame()
{
    QVERIFY(rig()->plug(ProductIdKestaD));
    QVERIFY(startLiveView(2));
    QPointer<QDialog> window = app()->liveViewWindow();
    app()->catchLiveViewCloseRequested();
    QVERIFY(app()->liveViewCloseTimer()->isActive());
    app()->showLiveView(markedFrame(300, 200));
    QVERIFY(!app()->liveViewCloseTimer()->isActive());
    QCOMPARE(app()->liveViewWindow(), window.data());
    app()->catchLiveViewCloseRequested();
    app()->catchLiveViewCloseTimedOut();
    QTRY_VERIFY_WITH_TIMEOUT(!window, olpTimeout(5000));
    QVERIFY(!app()->liveViewWindow());
}

void tst_PictureWindows::rotatedFrame_data()
{
    QTest::addColumn<double>("pitch");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<int>("corner");
    // The emulator's level data: the first angle the camera reports, negated,
    // turns the frame. The red top-left block lands in this corner.
    QTest::newRow("level") << 0.0 << 0 << 0;
    QTest::newRow("turned right") << -90.0 << 90 << 1;
    QTest::newRow("upside down") << 180.0 << 180 << 2;
    QTest::newRow("turned left") << 90.0 << 270 << 3;
}

void tst_PictureWindows::rotatedFrame()
{
    QFETCH(double, pitch);
    QFETCH(int, rotation);
    QFETCH(int, corner);
    QVERIFY(rig()->plug(withoutOrientation()));
    rig()->camera()->set3DAxis(pitch, 0.0, 20.0);
    QVERIFY(startLiveView(2));
    QTRY_COMPARE_WITH_TIMEOUT(app()->liveViewRotationAngle(), rotation, olpTimeout(5000));

    QSignalSpy pixmaps(app(), &App::signalLiveViewPixmap);
    app()->showLiveView(markedFrame(600, 400));
    QVERIFY(!pixmaps.isEmpty());
    const QImage shown = pixmaps.first().first().value<QPixmap>().toImage();
    const bool turned = rotation == 90 || rotation == 270;
    QCOMPARE(shown.size(), turned ? QSize(400, 600) : QSize(600, 400));
    QCOMPARE(redCorner(shown), corner);
    // The window takes the turned picture's aspect.
    QTRY_VERIFY_WITH_TIMEOUT(turned == (app()->liveViewViewer()->height() > app()->liveViewViewer()->width()),
                             olpTimeout(5000));
}

void tst_PictureWindows::rotatedClickAndZoom()
{
    QVERIFY(rig()->plug(withoutOrientation()));
    rig()->camera()->set3DAxis(-90.0, 0.0, 20.0);
    QVERIFY(startLiveView(2));
    QTRY_COMPARE_WITH_TIMEOUT(app()->liveViewRotationAngle(), 90, olpTimeout(5000));
    // The camera's cross (centre) comes rotated; a click at (0.25, 0.5) on the
    // turned picture reaches the camera as (0.5, 0.75) of its own frame.
    QTRY_VERIFY_WITH_TIMEOUT(app()->liveViewViewer()->markPosition().x() >= 0, olpTimeout(5000));
    clickPicture(0.25, 0.5);
    auto camera = rig()->camera();
    QTRY_VERIFY2_WITH_TIMEOUT(
        near(camera->liveViewZoomValues().value(14), 3000) && near(camera->liveViewZoomValues().value(15), 3000),
        qPrintable(QStringLiteral("%1, %2")
                       .arg(camera->liveViewZoomValues().value(14))
                       .arg(camera->liveViewZoomValues().value(15))),
        olpTimeout(5000));
    // The cross comes back from the camera turned by 90: (0.5, 0.75) -> (0.25, 0.5).
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(app()->liveViewViewer()->markPosition().x() - 0.25) < 3e-3 &&
                                 qAbs(app()->liveViewViewer()->markPosition().y() - 0.5) < 3e-3,
                             olpTimeout(5000));

    // Zoom rectangles go through T(90) with mapRect.
    QSignalSpy rects(app(), &App::signalLiveZoomRect);
    emit rig()->controller()->signalLiveZoomRect(0.1, 0.2, 0.3, 0.4);
    QVERIFY(rects.wait(olpTimeout(5000)));
    const QRectF expected = App::positionTransform(90).mapRect(QRectF(0.1, 0.2, 0.3, 0.4));
    const QList<QVariant> r = rects.last();
    QVERIFY(qAbs(r[0].toDouble() - expected.x()) < 1e-9 && qAbs(r[1].toDouble() - expected.y()) < 1e-9);
    QVERIFY(qAbs(r[2].toDouble() - 0.4) < 1e-9 && qAbs(r[3].toDouble() - 0.3) < 1e-9);
}

void tst_PictureWindows::zoomCrossAndGreyCard()
{
    QVERIFY(rig()->plug(ProductIdKestaD));
    QVERIFY(startLiveView(2));
    auto camera = rig()->camera();
    OLP_GUI_ImageViewer* viewer = app()->liveViewViewer();

    // Unzoomed, rotation 0: a click moves the camera's cross to that place.
    QTRY_VERIFY_WITH_TIMEOUT(viewer->markPosition().x() >= 0, olpTimeout(5000));
    clickPicture(0.25, 0.5);
    QTRY_VERIFY_WITH_TIMEOUT(near(camera->liveViewZoomValues().value(14), 1500), olpTimeout(5000));
    QVERIFY(near(camera->liveViewZoomValues().value(15), 2000));

    // Zoom: level 1 at the camera, the navigator shows the zoomed part, the
    // Kesta D moves it with arrows.
    QTest::mouseClick(liveChild<QToolButton>("tbnZoom"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(camera->liveViewZoomValues().value(1), 1u, olpTimeout(5000));
    QTRY_COMPARE_WITH_TIMEOUT(viewer->zoomLevel(), 1, olpTimeout(5000));
    auto* navigator = liveChild<OLP_GUI_LiveViewNavigatorWidget>("wgtNavigator");
    QVERIFY(navigator && navigator->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(navigator->zoomRect().width() - 2000.0 / 6000) < 1e-3 &&
                                 qAbs(navigator->zoomRect().height() - 0.375) < 1e-3,
                             olpTimeout(5000));
    QVERIFY(isShown("lblMoveLeft") && isShown("lblMoveUp"));
    QVERIFY(!liveChild<QToolButton>("tbnZoom")->isChecked());

    // Grey card: the field switch starts the measurement and hides autofocus;
    // a click places the field and offers the save button.
    const int operations = camera->greyCardOperations();
    QTest::mouseClick(liveChild<QToolButton>("tbnGCPip"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(camera->greyCardOperations() > operations, olpTimeout(5000));
    QVERIFY(!isShown("tbnAFon"));
    QVERIFY(!isShown("tbnGCSave"));
    QTRY_VERIFY_WITH_TIMEOUT(app()->liveViewViewer() && !app()->liveViewViewer()->scaledPixmap().isNull(),
                             olpTimeout(5000));
    const int beforeClick = camera->greyCardOperations();
    clickPicture(0.5, 0.5);
    QVERIFY(isShown("tbnGCSave"));
    QTRY_VERIFY_WITH_TIMEOUT(camera->greyCardOperations() > beforeClick, olpTimeout(5000));

    const int beforeSave = camera->greyCardOperations();
    QTest::mouseClick(liveChild<QToolButton>("tbnGCSave"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(camera->greyCardOperations() > beforeSave, olpTimeout(5000));
    // The field is no longer active, and live view comes back after the camera
    // left it for the measurement.
    QTRY_VERIFY_WITH_TIMEOUT(camera->liveViewState() == 2, olpTimeout(10000));
    QTRY_VERIFY_WITH_TIMEOUT(app()->liveViewInfoWidget() && !app()->liveViewInfoWidget()->isGCPipActive() &&
                                 !liveChild<QToolButton>("tbnGCPip")->isChecked(),
                             olpTimeout(10000));
}

void tst_PictureWindows::exposureSimulation_data()
{
    QTest::addColumn<int>("product");
    QTest::addColumn<QVector<int>>("values");
    QTest::newRow("Kesta D toggles") << int(ProductIdKestaD) << QVector<int>{0, 1};
    QTest::newRow("Pelvo cycles") << int(ProductIdPelvo) << QVector<int>{0, 2, 3};
}

void tst_PictureWindows::exposureSimulation()
{
    QFETCH(int, product);
    QFETCH(QVector<int>, values);
    QVERIFY(rig()->plug(quint16(product)));
    QVERIFY(startLiveView(2));
    auto* button = liveChild<OLP_GUI_MultiStateToolButton>("tbnExpSim");
    QVERIFY(button && button->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(button->stateCount(), values.size(), olpTimeout(5000));
    QCOMPARE(button->state(), 0);
    auto camera = rig()->camera();
    // States 0, 1, ..., n-1, 0: each click sends the new state's value.
    for (int click = 1; click <= values.size(); ++click) {
        const int state = click % values.size();
        QSignalSpy sent(liveChild<OLP_GUI_LiveViewInfoWidget>("LiveViewInfoWidget"),
                        &OLP_GUI_LiveViewInfoWidget::signalExposureSimulation);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.first().first().toInt(), values[state]);
        QTRY_COMPARE_WITH_TIMEOUT(camera->propertyValue(0xD115), qint64(values[state]), olpTimeout(5000));
        // The camera's answer may pass an older one on its way; the button
        // ends where the camera is.
        QTRY_COMPARE_WITH_TIMEOUT(button->state(), state, olpTimeout(5000));
        QCOMPARE(button->isChecked(), state > 0);
        QCOMPARE(button->property("MappedState").toInt(), values[state]);
    }
}

void tst_PictureWindows::audioInVideoLiveView()
{
    QVERIFY(rig()->plug(ProductIdKestaD));
    QSignalSpy levels(rig()->controller(), &OLP_Logic_Controller::signalLiveAudioLevel);
    QVERIFY(startLiveView(3));
    QVERIFY(levels.wait(olpTimeout(5000)));
    auto* left = liveChild<OLP_GUI_AudioMeterWidget>("wgtAudioMeterL");
    auto* right = liveChild<OLP_GUI_AudioMeterWidget>("wgtAudioMeterR");
    QVERIFY(left && right && left->isVisible() && right->isVisible());
    // The meters show the camera's values (RMS, peak) / 1000.
    const auto showsASentLevel = [&] {
        for (const QList<QVariant>& l : qAsConst(levels)) {
            if (left->level() == l[0].toDouble() && right->level() == l[1].toDouble() &&
                left->peak() == l[2].toDouble() && right->peak() == l[3].toDouble()) {
                return true;
            }
        }
        return false;
    };
    QVERIFY(QTest::qWaitFor(showsASentLevel, olpTimeout(5000)));
    QVERIFY(left->level() > 0.0);

    // Automatic level: the volume widget ignores the mouse.
    auto camera = rig()->camera();
    auto* volume = liveChild<OLP_GUI_AudioVolumeWidget>("wgtAudioVolume");
    QVERIFY(volume && volume->isVisible());
    camera->setPropertyValue(0xD012, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!volume->isManual(), olpTimeout(5000));
    const qint64 before = camera->propertyValue(0xD123);
    QSignalSpy sent(volume, &OLP_GUI_AudioVolumeWidget::signalVolume);
    QTest::mousePress(volume, Qt::LeftButton, Qt::NoModifier, QPoint(volume->width() / 4, volume->height() / 2));
    QTest::mouseRelease(volume, Qt::LeftButton, Qt::NoModifier, QPoint(volume->width() / 4, volume->height() / 2));
    QCOMPARE(sent.count(), 0);

    // Manual level: a press sets the volume and the camera gets qRound(v x 63).
    camera->setPropertyValue(0xD012, 1);
    QTRY_VERIFY_WITH_TIMEOUT(volume->isManual(), olpTimeout(5000));
    const QPoint at(3 + (volume->width() - 6) / 4, volume->height() / 2);
    QTest::mousePress(volume, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(volume, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(sent.count(), 1);
    const double v = sent.first().first().toDouble();
    QVERIFY(qAbs(v - 0.25) < 0.02);
    QTRY_COMPARE_WITH_TIMEOUT(camera->propertyValue(0xD123), qint64(qRound(v * 63)), olpTimeout(5000));
    QVERIFY(before != qRound(v * 63));
}

void tst_PictureWindows::meterPaintsLevel()
{
    // A level of 0.9: green to 80 %, red to 90 %, background after.
    OLP_GUI_AudioMeterWidget meter;
    meter.resize(200, 10);
    meter.setAudioLevel(0.9, 0.0);
    const QImage image = meter.grab().toImage();
    const int y = 5;
    QCOMPARE(image.pixelColor(10, y), QColor(Qt::green));
    QCOMPARE(image.pixelColor(158, y), QColor(Qt::green));
    QCOMPARE(image.pixelColor(162, y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(178, y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(182, y), OLP_GUI_AudioMeterWidget::backgroundColor());
}

void tst_PictureWindows::controlsPerMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("greyCardField");
    QTest::addColumn<QStringList>("shown");
    const QStringList audio = {"wgtAudioMeterL", "wgtAudioMeterR", "wgtAudioVolume", "lblMic", "lblLR"};
    QTest::newRow("video recording") << 1 << false << (QStringList{"lblTimeCode"} + audio);
    QTest::newRow("photo") << 2 << false << QStringList{"tbnZoom", "tbnGCPip", "tbnExpSim", "tbnAFon"};
    QTest::newRow("video") << 3 << false << (QStringList{"tbnZoom", "tbnGCPip", "tbnAFon"} + audio);
    QTest::newRow("grey card") << 4 << true << QStringList{"tbnGCPip"};
    QTest::newRow("none") << 0 << false << QStringList{"tbnAFon"};
}

void tst_PictureWindows::controlsPerMode()
{
    QFETCH(int, mode);
    QFETCH(bool, greyCardField);
    QFETCH(QStringList, shown);
    QWidget top;
    auto* info = new OLP_GUI_LiveViewInfoWidget(&top);
    info->setGCPipIsActive(greyCardField);
    top.show();
    info->setLiveViewMode(mode);
    // The zoom info of each frame arrives after the mode.
    info->setZoomInfo(0, 0, 0.5, 0.5);
    info->setTimeCode(1, 2, 3, 4);
    const QStringList all = {"tbnZoom",        "tbnGCPip",  "tbnExpSim",      "lblTimeCode",
                             "tbnAFon",        "tbnGCSave", "wgtAudioMeterL", "wgtAudioMeterR",
                             "wgtAudioVolume", "lblMic",    "lblLR"};
    for (const QString& name : all) {
        QWidget* w = info->findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        QCOMPARE(name + (w->isVisible() ? " shown" : " hidden"), name + (shown.contains(name) ? " shown" : " hidden"));
    }
    QCOMPARE(info->findChild<QLabel*>(QStringLiteral("lblTimeCode"))->text(), QStringLiteral("01:02:03.04"));
}

void tst_PictureWindows::colourMatchedWindows()
{
    QVERIFY(rig()->plug(ProductIdKestaD));
    QVERIFY(startLiveView(2));
    QImage uniform(600, 400, QImage::Format_RGB32);
    uniform.fill(qRgb(128, 64, 32));
    // The camera keeps streaming; switch it off so that its frames do not
    // replace the test's frame.
    rig()->camera()->setLiveViewState(0);
    QVERIFY(QTest::qWaitFor([] { return app()->liveViewCloseTimer()->isActive(); }, olpTimeout(5000)));
    app()->showLiveView(uniform);
    app()->showQuickView(jpeg(uniform), QStringLiteral("/x/Picture00007.JPG"), 1);
    QVERIFY(app()->quickViewViewer());
    for (OLP_GUI_ImageViewer* viewer : {app()->liveViewViewer(), app()->quickViewViewer()}) {
        QVERIFY(viewer->wantColorMatch());
        const QImage shown = viewer->scaledPixmap().toImage();
        const QColor c = shown.pixelColor(shown.width() / 2, shown.height() / 2);
        QVERIFY2(qAbs(c.red() - 146) <= 3 && qAbs(c.green() - 62) <= 3 && qAbs(c.blue() - 23) <= 3,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue())));
    }
}

void tst_PictureWindows::windowBehaviour()
{
    QVERIFY(rig()->plug(ProductIdKestaD));
    QVERIFY(startLiveView(2));
    QDialog* window = app()->liveViewWindow();
    // Shown without taking the focus from the camera window.
    QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
    QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
    // Escape does not close the live view window.
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QCOMPARE(app()->liveViewWindow(), window);
    QVERIFY(window->isVisible());
    // Still smaller after frames arrived.
    const QRect before = window->geometry();
    window->resize(before.width() - 200, before.height() - 120);
    QTRY_VERIFY_WITH_TIMEOUT(window->width() < before.width() && window->height() < before.height(), olpTimeout(5000));
    const int frames = int(rig()->camera()->streamFramesSent());
    QVERIFY(QTest::qWaitFor([&] { return int(rig()->camera()->streamFramesSent()) > frames + 3; }, olpTimeout(5000)));
    // The window told the camera the size it shows, which is below half the
    // emulator's 1280 x 720 now: frames arrive decoded at half size.
    QTRY_COMPARE_WITH_TIMEOUT(app()->liveViewViewer()->receivedPixmap().size(), QSize(640, 360), olpTimeout(5000));
    QVERIFY(window->width() < before.width());
}

// ---- quick view ----------------------------------------------------------------------

void tst_PictureWindows::quickViewFromCamera()
{
    auto camera = std::make_shared<OLP_Commu_EmuCamera>(ProductIdKestaD);
    OLP_Commu_EmuCapture::Options options = OLP_Commu_EmuCapture::Options::forProduct(ProductIdKestaD);
    options.enabled = true;
    options.pictureSize = 64 * 1024;
    camera->setCaptureOptions(options);
    camera->setPropertyValue(0xD004, 3);  // JPG only
    QVERIFY(rig()->plug(camera));
    auto* quickViewButton = rig()->find<QToolButton>(QStringLiteral("tbnQuickView"));
    QVERIFY(quickViewButton);
    if (!quickViewButton->isChecked()) {
        QTest::mouseClick(quickViewButton, Qt::LeftButton);
    }
    QVERIFY(rig()->settle());
    for (int n = 1; n <= 2; ++n) {
        rig()->controller()->doCaptureBtnPressed();
        rig()->controller()->doCaptureBtnReleased();
        QTRY_VERIFY_WITH_TIMEOUT(
            app()->quickViewWindow() && app()->quickViewWindow()->windowTitle() ==
                                            QStringLiteral("Picture%1 Quick View").arg(n, 5, 10, QLatin1Char('0')),
            olpTimeout(20000));
        QCOMPARE(app()->quickViewWindow()->objectName(), QStringLiteral("QuickViewDialog"));
        QVERIFY(!app()->quickViewViewer()->receivedPixmap().isNull());
        QCOMPARE(rig()->window()->findChildren<QDialog*>(QStringLiteral("QuickViewDialog")).size(), 1);
    }
    // The user closes it: quick view goes off in the controller and the camera window.
    app()->quickViewWindow()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!quickViewButton->isChecked(), olpTimeout(5000));
    QVERIFY(!app()->quickViewWindow());

    // The controller's no-quick-view signal closes a shown one.
    app()->showQuickView(jpeg(markedFrame(60, 40)), QString(), 1);
    QVERIFY(app()->quickViewWindow());
    QCOMPARE(app()->quickViewWindow()->windowTitle(), QStringLiteral("Quick View"));
    emit rig()->controller()->signalNoQuickView();
    QTRY_VERIFY_WITH_TIMEOUT(!app()->quickViewWindow(), olpTimeout(5000));
}

void tst_PictureWindows::quickViewOrientation_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("corner");
    QTest::newRow("1 upright") << 1 << QSize(160, 120) << 0;
    QTest::newRow("3 upside down") << 3 << QSize(160, 120) << 2;
    QTest::newRow("6 turned right") << 6 << QSize(120, 160) << 1;
    QTest::newRow("8 turned left") << 8 << QSize(120, 160) << 3;
    QTest::newRow("9 unknown") << 9 << QSize(160, 120) << 0;
}

void tst_PictureWindows::quickViewOrientation()
{
    QFETCH(int, code);
    QFETCH(QSize, size);
    QFETCH(int, corner);
    QVERIFY(rig()->plug(ProductIdKestaD));
    QSignalSpy pixmaps(app(), &App::signalQuickViewPixmap);
    app()->showQuickView(jpeg(markedFrame(160, 120)), QStringLiteral("/p/Picture00003.JPG"), code);
    QCOMPARE(pixmaps.count(), 1);
    const QImage shown = pixmaps.first().first().value<QPixmap>().toImage();
    QCOMPARE(shown.size(), size);
    QCOMPARE(redCorner(shown), corner);
    QCOMPARE(app()->quickViewWindow()->windowTitle(), QStringLiteral("Picture00003 Quick View"));

    if (code == 6) {
        // A whole 6000 x 4000 picture turned upright.
        QImage big(6000, 4000, QImage::Format_RGB32);
        big.fill(Qt::gray);
        app()->showQuickView(jpeg(big), QString(), 6);
        const QPixmap last = pixmaps.last().first().value<QPixmap>();
        QCOMPARE(last.size(), QSize(4000, 6000));
        auto* window = qobject_cast<QDialog*>(app()->quickViewWindow());
        QTRY_VERIFY_WITH_TIMEOUT(window->height() > window->width(), olpTimeout(5000));
    }
}

void tst_PictureWindows::quickViewWithoutCameraWindow()
{
    // No camera window (on the way out): nothing opens, nothing keeps the
    // application alive.
    QVERIFY(!rig()->window());
    QSignalSpy pixmaps(app(), &App::signalQuickViewPixmap);
    app()->showQuickView(jpeg(markedFrame(60, 40)), QStringLiteral("/p/Picture00001.JPG"), 1);
    app()->showLiveView(markedFrame(60, 40));
    QVERIFY(!app()->quickViewWindow());
    QVERIFY(!app()->liveViewWindow());
    QCOMPARE(pixmaps.count(), 0);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        QVERIFY2(w->objectName() != QLatin1String("QuickViewDialog"), "a parentless quick view");
    }
}

// ---- unplug ----------------------------------------------------------------------------

void tst_PictureWindows::unplugCloses_data()
{
    QTest::addColumn<bool>("liveView");
    QTest::newRow("during live view") << true;
    QTest::newRow("during a quick view") << false;
}

void tst_PictureWindows::unplugCloses()
{
    QFETCH(bool, liveView);
    QVERIFY(rig()->plug(ProductIdKestaD));
    QSignalSpy closed(app(), &App::signalLiveViewGUIClosed);
    if (liveView) {
        QVERIFY(startLiveView(3));
    } else {
        app()->showQuickView(jpeg(markedFrame(160, 120)), QStringLiteral("/p/Picture00001.JPG"), 6);
        QVERIFY(app()->quickViewWindow());
    }
    // Frames and pictures still queued when the camera goes touch nothing.
    QMetaObject::invokeMethod(app(), "showLiveView", Qt::QueuedConnection, Q_ARG(QImage, markedFrame(60, 40)));
    QVERIFY(rig()->unplug());
    QCoreApplication::processEvents();
    QVERIFY(!app()->liveViewWindow());
    QVERIFY(!app()->quickViewWindow());
    // The live view window said goodbye to the controller.
    QVERIFY(!liveView || closed.count() >= 1);
}

OLP_TEST_GUI_MAIN(tst_PictureWindows)
#include "tst_PictureWindows.moc"
