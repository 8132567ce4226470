// A burst of five 80 MB DNGs from the emulated camera to disk through the
// camera object, its transfer threads, the USB camera access and the PTP
// transport, against a plain copy of the same files to the same disk in the
// same run. Each iteration does both, one after the other. Reports both
// rates, their ratio and the process's peak memory per picture; once for a
// camera with GetPartialObject (the picture read and written in parts) and
// once for one without (the whole picture in memory).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>
#include <vector>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"

namespace {

constexpr quint64 PictureSize = 80ull * 1000 * 1000;
constexpr int Burst = 5;

// Runs the event loop (the camera object's queued requests) until done() or the time-out.
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

double peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// cp: each file read and written again in the same folder, in large chunks.
qint64 plainCopy(const QStringList& sources, const QString& folder)
{
    std::vector<char> chunk(8 * 1024 * 1024);
    qint64 total = 0;
    for (const QString& source : sources) {
        QFile in(source);
        QFile out(folder + QStringLiteral("/copy-") + QFileInfo(source).fileName());
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            return -1;
        }
        for (;;) {
            const qint64 n = in.read(chunk.data(), qint64(chunk.size()));
            if (n <= 0) {
                break;
            }
            if (out.write(chunk.data(), n) != n) {
                return -1;
            }
            total += n;
        }
    }
    return total;
}

void BM_TransferBurstVsPlainCopy(benchmark::State& state)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    // The same disk for both: one folder for the pictures, one for the copies.
    QTemporaryDir disk(QDir::currentPath() + QStringLiteral("/bench_Transfer-XXXXXX"));
    const QString pictures = disk.path() + QStringLiteral("/pictures");
    const QString copies = disk.path() + QStringLiteral("/copies");

    auto port = std::make_shared<OLP_Commu_EmuUsbPort>();
    // Argument 1: the camera offers GetPartialObject and the picture comes in
    // parts; 0: one GetObject of the whole picture.
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(EmuWire::ProductKestaD);
    if (state.range(0) == 0) {
        profile.missingOperations << EmuWire::GetPartialObject;
    }
    auto emu = std::make_shared<OLP_Commu_EmuCamera>(profile);
    emu->setPropertyValue(0xD004, 0);  // DNG only
    OLP_Commu_EmuCapture::Options options = emu->captureOptions();
    options.enabled = true;
    options.pictureSize = PictureSize;
    options.continuousShots = Burst;
    emu->setCaptureOptions(options);
    port->plug(emu);
    OLP_Commu_CameraAccess_Linux_PTP access(port);
    if (!access.openConnection(emu->vendorId(), emu->productId(), port->deviceIdOf(emu))) {
        state.SkipWithError("the emulated camera did not open");
        return;
    }
    auto camera = std::make_unique<OLP_Logic_Camera>(&access);
    QObject::connect(&access, &OLP_Commu_CameraAccess_Base::signalTransferRequest, camera.get(),
                     &OLP_Logic_Camera::transferRequest, Qt::QueuedConnection);
    // The property changes of the set-up are read before the first picture.
    waitFor([&] { return emu->pendingEvents() == 0 && access.pendingPropertyCodes().isEmpty(); }, 10000);
    QCoreApplication::processEvents();

    const double before = peakResidentBytes();
    double transferSeconds = 0;
    double copySeconds = 0;
    qint64 transferBytes = 0;
    qint64 copyBytes = 0;
    int acknowledged = 0;
    for (auto _ : state) {
        QDir(pictures).removeRecursively();
        QDir(copies).removeRecursively();
        QDir().mkpath(pictures);
        QDir().mkpath(copies);
        camera->setFolderSettings(OLP_Logic_FolderSettingsRecord{pictures, pictures, QStringLiteral("Picture"), 1});

        QElapsedTimer clock;
        clock.start();
        camera->releaseCam(12);
        acknowledged += Burst;
        const bool done =
            waitFor([&] { return emu->requestCount(EmuWire::ObjectTransferReady) >= acknowledged; }, 600000);
        camera->waitForTransferThreads(600000);
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        QStringList written;
        for (const QString& name : QDir(pictures).entryList(QDir::Files, QDir::Name)) {
            written << pictures + QLatin1Char('/') + name;
            transferBytes += QFileInfo(pictures + QLatin1Char('/') + name).size();
        }
        if (!done || written.size() != Burst) {
            state.SkipWithError("the burst did not arrive");
            break;
        }
        transferSeconds += seconds;

        clock.restart();
        const qint64 copied = plainCopy(written, copies);
        copySeconds += clock.nsecsElapsed() / 1e9;
        if (copied < 0) {
            state.SkipWithError("the plain copy failed");
            break;
        }
        copyBytes += copied;
    }
    camera.reset();
    access.closeConnection();

    const double transferRate = transferBytes / 1e6 / transferSeconds;
    const double copyRate = copyBytes / 1e6 / copySeconds;
    const double peak = peakResidentBytes();
    state.SetBytesProcessed(transferBytes);
    state.counters["transfer_MBps"] = transferRate;
    state.counters["plain_copy_MBps"] = copyRate;
    state.counters["ratio"] = transferRate / copyRate;
    state.counters["peak_MiB"] = peak / (1024.0 * 1024.0);
    state.counters["peak_growth_per_picture"] = (peak - before) / double(PictureSize);
    state.counters["protocol_errors"] = emu->protocolErrors().size();
}

BENCHMARK(BM_TransferBurstVsPlainCopy)
    ->ArgName("partial_object")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

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
