// Live view: the camera object's poll (GetStreamData through the USB camera
// access and its PTP transport), the packet check and the JPEG decode, for
// 1280x720 and 1920x1080 frames from the emulated camera. The emulator encodes
// its test-pattern frames once before the measurement, so the figures are the
// program's own path (transport, parse, decode), not the emulator's encoder.
//
// BM_LiveViewPoll: back-to-back polls, no pacing: the highest frame rate and
//   the process CPU time per frame.
// BM_LiveViewSustained30fps: the camera's frame timer at 30 frames per second
//   for a few seconds: frames per second reached and the share of one core
//   used meanwhile (counters fps, cpu_ms_per_frame, cores).
// BM_Decode / BM_Parse: the decode and the packet check alone.

#include <benchmark/benchmark.h>
#include <time.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuLiveView.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_LiveViewPacket.h"

namespace {

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// One emulated camera streaming live view of the given size to a camera object.
struct LiveViewRig
{
    LiveViewRig(int width, int height, qint64 frameRate)
    {
        OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
        OLP_Commu_EmuLiveView::addTo(&profile, width, height);
        OLP_Commu_EmuLiveView::frames(width, height);  // encode outside the measurement
        port = std::make_shared<OLP_Commu_EmuUsbPort>();
        camera = std::make_shared<OLP_Commu_EmuCamera>(profile);
        camera->setPropertyValue(OLP_Commu_EmuLiveView::PropertyFrameRate, frameRate);
        port->plug(camera);
        access = std::make_unique<OLP_Commu_CameraAccess_Linux_PTP>(port);
    }

    bool start()
    {
        if (!access->openConnection(camera->vendorId(), camera->productId(), port->deviceIdOf(camera))) {
            return false;
        }
        object = std::make_unique<OLP_Logic_Camera>(access.get());
        QObject::connect(object.get(), &OLP_Logic_Camera::signalLiveView, object.get(), [this](const QImage& image) {
            ++frames;
            if (image.isNull()) {
                ++nullFrames;
            }
        });
        object->setLiveViewPhoto(true);
        QElapsedTimer waited;
        waited.start();
        while (frames == 0 && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return frames > 0;
    }

    ~LiveViewRig()
    {
        object.reset();
        if (access) {
            access->closeConnection();
        }
    }

    std::shared_ptr<OLP_Commu_EmuUsbPort> port;
    std::shared_ptr<OLP_Commu_EmuCamera> camera;
    std::unique_ptr<OLP_Commu_CameraAccess_Linux_PTP> access;
    std::unique_ptr<OLP_Logic_Camera> object;
    qint64 frames = 0;
    qint64 nullFrames = 0;
};

void BM_LiveViewPoll(benchmark::State& state)
{
    LiveViewRig rig(int(state.range(0)), int(state.range(1)), 30000);
    if (!rig.start()) {
        state.SkipWithError("live view did not start");
        return;
    }
    const qint64 before = rig.frames;
    for (auto _ : state) {
        QMetaObject::invokeMethod(rig.object.get(), "catchLiveViewTimerFired", Qt::DirectConnection);
    }
    const qint64 delivered = rig.frames - before;
    if (delivered != qint64(state.iterations()) || rig.nullFrames != 0) {
        state.SkipWithError("a poll delivered no picture");
    }
    state.counters["fps"] = benchmark::Counter(double(delivered), benchmark::Counter::kIsRate);
    state.counters["packet_KiB"] =
        double(OLP_Commu_EmuLiveView::frames(int(state.range(0)), int(state.range(1)))->at(0).size()) / 1024.0;
}

void BM_LiveViewSustained30fps(benchmark::State& state)
{
    LiveViewRig rig(int(state.range(0)), int(state.range(1)), 30000);
    if (!rig.start()) {
        state.SkipWithError("live view did not start");
        return;
    }
    for (auto _ : state) {
        const qint64 before = rig.frames;
        const double cpuBefore = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const double seconds = wall.elapsed() / 1000.0;
        const double cpu = processCpuSeconds() - cpuBefore;
        const double frames = double(rig.frames - before);
        state.counters["fps"] = frames / seconds;
        state.counters["cpu_ms_per_frame"] = frames > 0 ? cpu * 1000.0 / frames : 0.0;
        state.counters["cores"] = cpu / seconds;
        state.SetIterationTime(seconds);
    }
    if (rig.nullFrames != 0) {
        state.SkipWithError("a frame did not decode");
    }
}

void BM_Decode(benchmark::State& state)
{
    const QByteArray jpeg = OLP_Commu_EmuLiveView::frames(int(state.range(0)), int(state.range(1)))->at(3);
    for (auto _ : state) {
        QImage image = QImage::fromData(reinterpret_cast<const uchar*>(jpeg.constData()), jpeg.size());
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_Parse(benchmark::State& state)
{
    OLP_Commu_EmuLiveView emulator(int(state.range(0)), int(state.range(1)));
    emulator.control(0x901B, {2});  // video live view: every tag
    const QByteArray bytes = emulator.nextPacket(30000, 400);
    for (auto _ : state) {
        OLP_Logic_LiveViewPacket packet;
        benchmark::DoNotOptimize(
            packet.parse(reinterpret_cast<const quint8*>(bytes.constData()), quint64(bytes.size())));
    }
}

BENCHMARK(BM_LiveViewPoll)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->MinTime(3.0);
BENCHMARK(BM_LiveViewSustained30fps)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_Decode)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    initApplicationIdentity();
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
