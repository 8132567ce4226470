// Screenshots of the live view and quick view windows for looking at, not a
// test: run it under Xvfb (xvfb-run -a ./olp_liveview_screenshots <folder>).
// It plugs the demo camera's product (an emulated Kesta D) into the whole
// application and writes the live view window in photo live view with the
// focus cross, zoomed with navigator and arrows, with the grey-card field and
// its save button, in video live view with the audio meters, turned to
// portrait, and the quick view of a portrait picture.

#include <QDialog>
#include <QDir>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

#include "OLP_Commu_EmuCapture.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_CameraBase.h"
#include "OLP_GUI_ImageViewer.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

QString g_folder;

OLP_Test_GuiRig* rig()
{
    return OLP_Test_GuiRig::instance();
}

OLP_GUI_Application* app()
{
    return rig()->application();
}

bool liveViewShows(int state)
{
    rig()->camera()->setLiveViewState(state);
    return QTest::qWaitFor(
        [] {
            return app()->liveViewViewer() && !app()->liveViewViewer()->receivedPixmap().isNull() &&
                   app()->liveViewWindow()->isVisible();
        },
        olpTimeout(10000));
}

// A few more frames, so that the window shows what the camera reported last.
bool letFramesPass()
{
    const quint32 sent = rig()->camera()->streamFramesSent();
    const bool passed =
        QTest::qWaitFor([&] { return rig()->camera()->streamFramesSent() > sent + 5; }, olpTimeout(5000));
    QTest::qWait(200);
    return passed;
}

bool save(QWidget* window, const QString& name)
{
    return window && window->grab().save(QDir(g_folder).filePath(name + ".png"));
}

void clickPicture(double x, double y)
{
    OLP_GUI_ImageViewer* viewer = app()->liveViewViewer();
    const QSize size = viewer->scaledPixmap().size() / viewer->scaledPixmap().devicePixelRatioF();
    QTest::mouseClick(viewer, Qt::LeftButton, Qt::NoModifier,
                      QPoint(qRound(x * size.width()), qRound(y * size.height())));
}

QToolButton* liveButton(const char* name)
{
    return app()->liveViewWindow()->findChild<QToolButton*>(QLatin1String(name));
}

}  // namespace

class LiveViewScreenshots : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (rig()->camera()) {
            QVERIFY(rig()->unplug());
        }
    }

    void photoWithCross()
    {
        QVERIFY(rig()->plug(ProductIdKestaD));
        QVERIFY(liveViewShows(2));
        clickPicture(0.3, 0.4);
        QVERIFY(letFramesPass());
        QVERIFY(save(app()->liveViewWindow(), "1_photo_cross"));
    }

    void zoomWithNavigator()
    {
        QVERIFY(rig()->plug(ProductIdKestaD));
        QVERIFY(liveViewShows(2));
        QTest::mouseClick(liveButton("tbnZoom"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([] { return app()->liveViewViewer()->zoomLevel() == 1; }, olpTimeout(5000)));
        QVERIFY(letFramesPass());
        QVERIFY(save(app()->liveViewWindow(), "2_zoom_navigator_arrows"));
    }

    void greyCardField()
    {
        QVERIFY(rig()->plug(ProductIdKestaD));
        QVERIFY(liveViewShows(2));
        QTest::mouseClick(liveButton("tbnGCPip"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([] { return rig()->camera()->liveViewState() == 4; }, olpTimeout(5000)));
        QVERIFY(letFramesPass());
        clickPicture(0.6, 0.5);
        QVERIFY(letFramesPass());
        QVERIFY(save(app()->liveViewWindow(), "3_grey_card_save"));
    }

    void videoWithMeters()
    {
        QVERIFY(rig()->plug(ProductIdKestaD));
        QVERIFY(liveViewShows(3));
        QVERIFY(letFramesPass());
        QVERIFY(save(app()->liveViewWindow(), "4_video_meters"));
    }

    void portrait()
    {
        QVERIFY(rig()->plug(ProductIdKestaD));
        // The camera held upright, turned right: its orientation property.
        rig()->camera()->setPropertyValue(0xD65F, 90);
        QVERIFY(liveViewShows(2));
        QVERIFY(QTest::qWaitFor([] { return app()->liveViewRotationAngle() == 90; }, olpTimeout(5000)));
        QVERIFY(letFramesPass());
        QTest::qWait(500);
        QVERIFY(save(app()->liveViewWindow(), "5_portrait"));
    }

    void quickViewPortrait()
    {
        QVERIFY(rig()->plug(ProductIdKestaD));
        // The emulator's preview of a picture taken with the camera turned right.
        app()->showQuickView(OLP_Commu_EmuCapture::jpegImage(640, 480, 3), QStringLiteral("/p/Picture00012.JPG"), 6);
        QVERIFY(app()->quickViewWindow());
        QVERIFY(QTest::qWaitForWindowExposed(app()->quickViewWindow(), olpTimeout(5000)));
        QTest::qWait(500);
        QVERIFY(save(app()->quickViewWindow(), "6_quick_view_portrait"));
        // And the whole screen, the camera window beside the quick view.
        QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(QDir(g_folder).filePath("7_screen.png")));
    }
};

int main(int argc, char** argv)
{
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QStringLiteral("screenshots");
    QDir().mkpath(g_folder);
    return OLP_Test_GuiRig::exec<LiveViewScreenshots>(argc > 1 ? argc - 1 : argc, argv);
}

#include "olp_liveview_screenshots.moc"
