// The live view window under load: 1920x1080 frames at 30 frames per second
// (0x5025 = 30000) from the emulated camera through the whole application
// (controller thread, USB transport, camera object, GUI thread, viewer with
// scaling and colour match). For the default window (660 x 446) and for a
// window filling the screen, with colour matching on and off, and with the
// frames decoded at full size (the baseline) or at the JPEG scale the window
// asks for: frames per second shown and the process CPU time per frame
// (all threads), medians of several runs, and the share of one core.
//
// Not a test. Run offscreen (QT_QPA_PLATFORM=offscreen) or under Xvfb with a
// 1920x1200 screen: xvfb-run -a -s "-screen 0 1920x1200x24" ./bench_LiveViewWindow
// Arguments: [seconds per run] [runs].

#include <time.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QtTest>
#include <algorithm>
#include <cstdio>

#include "OLP_Commu_EmuLiveView.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_ImageViewer.h"
#include "OLP_Logic_Controller.h"
#include "OLP_Test_GuiRig.h"
#include "OLP_Test_Support.h"

namespace {

double g_seconds = 4.0;
int g_runs = 3;

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0.0 : v[v.size() / 2];
}

OLP_Test_GuiRig* rig()
{
    return OLP_Test_GuiRig::instance();
}

}  // namespace

class LiveViewWindowBench : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
        OLP_Commu_EmuLiveView::addTo(&profile, 1920, 1080);
        OLP_Commu_EmuLiveView::frames(1920, 1080);  // encoded before the measurement
        auto camera = std::make_shared<OLP_Commu_EmuCamera>(profile);
        camera->setPropertyValue(OLP_Commu_EmuLiveView::PropertyFrameRate, 30000);
        QVERIFY(rig()->plug(camera));
        camera->setLiveViewState(2);
        QVERIFY(QTest::qWaitFor([] { return app()->liveViewViewer() && app()->liveViewWindow()->isVisible(); },
                                olpTimeout(10000)));
        // The bench sets the decode size itself.
        QObject::disconnect(app(), &OLP_GUI_Application::signalLiveViewDisplaySize, nullptr, nullptr);
        std::printf("platform %s, screen %dx%d, 1920x1080 frames at 30 fps, %d runs of %.1f s, medians\n",
                    qPrintable(QGuiApplication::platformName()), QGuiApplication::primaryScreen()->size().width(),
                    QGuiApplication::primaryScreen()->size().height(), g_runs, g_seconds);
        std::printf("%-12s %-6s %-8s %9s %12s %8s %12s\n", "window", "match", "decode", "fps", "cpu ms/frame", "cores",
                    "decoded");
    }

    void measure_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<bool>("match");
        QTest::addColumn<bool>("scaledDecode");
        for (bool full : {false, true}) {
            for (bool match : {true, false}) {
                for (bool scaled : {false, true}) {
                    QTest::newRow(qPrintable(
                        QStringLiteral("%1 %2 %3")
                            .arg(full ? "screen" : "default", match ? "match" : "nomatch", scaled ? "scaled" : "full")))
                        << full << match << scaled;
                }
            }
        }
    }

    void measure()
    {
        QFETCH(bool, full);
        QFETCH(bool, match);
        QFETCH(bool, scaledDecode);
        QDialog* window = app()->liveViewWindow();
        OLP_GUI_ImageViewer* viewer = app()->liveViewViewer();
        QVERIFY(window && viewer);
        if (full) {
            window->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        } else {
            window->resize(660, 446);
        }
        viewer->setWantColorMatch(match);
        QTest::qWait(500);
        QSize decode;
        if (scaledDecode) {
            decode = QSize(1920, 1080)
                         .scaled(viewer->contentsRect().size() * viewer->devicePixelRatioF(), Qt::KeepAspectRatio);
        }
        QVERIFY(rig()->runAndWait([decode](OLP_Logic_Controller* c) { c->setLiveViewDisplaySize(decode); }));
        QTest::qWait(1000);  // warm up

        QVector<double> fps, cpu;
        for (int run = 0; run < g_runs; ++run) {
            int frames = 0;
            const QMetaObject::Connection counter =
                connect(viewer, &OLP_GUI_ImageViewer::signalPixmapConsumed, this, [&frames] { ++frames; });
            QElapsedTimer clock;
            clock.start();
            const double cpu0 = processCpuSeconds();
            QTest::qWait(int(g_seconds * 1000));
            const double cpuUsed = processCpuSeconds() - cpu0;
            const double elapsed = clock.nsecsElapsed() / 1e9;
            disconnect(counter);
            fps.append(frames / elapsed);
            cpu.append(frames > 0 ? cpuUsed * 1000.0 / frames : 0.0);
        }
        const double f = median(fps);
        const double c = median(cpu);
        const QSize decoded = viewer->receivedPixmap().size();
        std::printf("%-12s %-6s %-8s %9.1f %12.2f %8.3f %5dx%-5d\n",
                    full ? qPrintable(QStringLiteral("%1x%2").arg(window->width()).arg(window->height())) : "660x446",
                    match ? "on" : "off", scaledDecode ? "scaled" : "full", f, c, f * c / 1000.0, decoded.width(),
                    decoded.height());
        std::fflush(stdout);
    }

private:
    static OLP_GUI_Application* app() { return rig()->application(); }
};

int main(int argc, char** argv)
{
    if (argc > 1) {
        g_seconds = QString::fromLocal8Bit(argv[1]).toDouble();
    }
    if (argc > 2) {
        g_runs = QString::fromLocal8Bit(argv[2]).toInt();
    }
    int qtArgc = 1;
    return OLP_Test_GuiRig::exec<LiveViewWindowBench>(qtArgc, argv);
}

#include "bench_LiveViewWindow.moc"
