// A burst of five 80 MB DNGs from the emulated camera to disk through the
// camera object, its transfer threads, the USB camera access and the PTP
// transport, against the disk's own limit measured in the same run: the same
// bytes written from memory to the same folder, in the same parts, with the
// same flush and rename (the transfer's own file writer), from a thread
// started for each picture as in the transfer. Each iteration
// writes from memory, transfers a burst and writes from memory again, and
// gives one ratio of the transfer's rate to the mean of the two; the ratio's
// minimum, median and maximum over the iterations are reported with the rates
// and the process's peak memory per picture during a first, uncounted burst. Once for a camera with
// GetPartialObject (the picture read and written in parts, the next part read
// while the last is written) and once for one without (the whole picture in
// memory, then written).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_TransferThread.h"

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

// Each phase starts without the dirty pages of the one before: its writes
// land in the page cache, not behind another phase's writeback.
void settleDisk(const QString& folder)
{
    QDir(folder).removeRecursively();
    ::sync();
    QDir().mkpath(folder);
}

double peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// The disk's limit for the same work: each picture's bytes, already in
// memory, written to a new file in the folder by the transfer's own writer,
// in the transfer's parts (or with one write), flushed once and renamed. As
// in the transfer, a thread started for the picture writes it: where the
// system places a new thread decides how fast the kernel finds page-cache
// memory (on this machine writes on one core were several times slower than
// on the other, for either side), so both sides get the same placement.
qint64 writeFromMemory(const std::vector<QByteArray>& pictures, const QString& folder, bool inParts)
{
    qint64 total = 0;
    int number = 0;
    for (const QByteArray& picture : pictures) {
        const QString path = folder + QStringLiteral("/Memory%1.DNG").arg(++number, 5, 10, QLatin1Char('0'));
        const quint32 size = quint32(picture.size());
        const auto fill = [&picture, size, inParts](QFile& file) {
            quint32 offset = 0;
            while (offset < size) {
                const quint32 n = inParts ? OLP_Logic_TransferThread::partSize(offset, size) : size;
                if (file.write(picture.constData() + offset, n) != qint64(n)) {
                    return OLP_Logic_TransferThread::FileFailed;
                }
                offset += n;
            }
            return OLP_Logic_TransferThread::Filled;
        };
        QString written;
        std::thread writer([&] {
            QString error;
            written = OLP_Logic_TransferThread::writeNewFile(path, QStringLiteral("DNG"), fill, &error);
        });
        writer.join();
        if (written.isEmpty()) {
            return -1;
        }
        total += picture.size();
    }
    return total;
}

void BM_TransferBurstVsWriteFromMemory(benchmark::State& state)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    // The same disk for both: one folder for the pictures, one for the bytes from memory.
    QTemporaryDir disk(QDir::currentPath() + QStringLiteral("/bench_Transfer-XXXXXX"));
    const QString pictures = disk.path() + QStringLiteral("/pictures");
    const QString memory = disk.path() + QStringLiteral("/memory");

    auto port = std::make_shared<OLP_Commu_EmuUsbPort>();
    // Argument 1: the camera offers GetPartialObject and the picture comes in
    // parts; 0: one GetObject of the whole picture.
    const bool inParts = state.range(0) != 0;
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(EmuWire::ProductKestaD);
    if (!inParts) {
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

    // One burst to disk, timed; false when it did not arrive whole.
    const auto burstToDisk = [&](double* seconds, qint64* bytes) {
        settleDisk(pictures);
        camera->setFolderSettings(OLP_Logic_FolderSettingsRecord{pictures, pictures, QStringLiteral("Picture"), 1});
        QElapsedTimer clock;
        clock.start();
        // The event loop sleeps until a picture is done: a thread that polls
        // would take turns on the cores the transfer's reader and writer use.
        int done = 0;
        QEventLoop loop;
        QTimer::singleShot(600000, &loop, &QEventLoop::quit);
        const QMetaObject::Connection counting = QObject::connect(
            camera.get(), &OLP_Logic_Camera::signalDngTransferDone, &loop,
            [&] {
                if (++done == Burst) {
                    loop.quit();
                }
            },
            Qt::QueuedConnection);
        camera->releaseCam(12);
        loop.exec();
        QObject::disconnect(counting);
        camera->waitForTransferThreads(600000);
        *seconds = clock.nsecsElapsed() / 1e9;
        *bytes = 0;
        const QStringList written = QDir(pictures).entryList(QDir::Files, QDir::Name);
        for (const QString& name : written) {
            *bytes += QFileInfo(pictures + QLatin1Char('/') + name).size();
        }
        settleDisk(pictures);
        return done == Burst && written.size() == Burst;
    };
    // The bytes of the last burst, kept from one run to the next so that no
    // run pays for new memory.
    std::vector<QByteArray> burst;
    const auto keepLastBurst = [&] {
        const QList<OLP_Commu_EmuCapture::Picture> taken = emu->capturedPictures();
        burst.resize(Burst);
        for (int i = 0; i < Burst; ++i) {
            const OLP_Commu_EmuCapture::Picture& picture = taken.at(taken.size() - Burst + i);
            burst[size_t(i)].resize(int(picture.object->size()));
            picture.object->copyTo(0, reinterpret_cast<quint8*>(burst[size_t(i)].data()), picture.object->size());
        }
    };
    // The same bytes from memory, timed.
    const auto memoryToDisk = [&](double* seconds) {
        settleDisk(memory);
        QElapsedTimer clock;
        clock.start();
        const qint64 bytes = writeFromMemory(burst, memory, inParts);
        *seconds = clock.nsecsElapsed() / 1e9;
        settleDisk(memory);
        return bytes;
    };

    // A first burst, not counted: threads, page cache and the bytes to compare with.
    const double before = peakResidentBytes();
    double seconds = 0;
    qint64 bytes = 0;
    if (!burstToDisk(&seconds, &bytes)) {
        state.SkipWithError("the burst did not arrive");
        return;
    }
    const double transferPeak = peakResidentBytes();
    keepLastBurst();

    double transferSeconds = 0;
    double memorySeconds = 0;
    qint64 transferBytes = 0;
    qint64 memoryBytes = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        // The disk's limit is taken before and after the burst, so that a
        // disk that changes its pace within the run affects both alike.
        double memoryBefore = 0;
        double memoryAfter = 0;
        const qint64 fromMemory = memoryToDisk(&memoryBefore);
        const bool arrived = burstToDisk(&seconds, &bytes);
        memoryToDisk(&memoryAfter);
        if (!arrived || fromMemory < 0) {
            state.SkipWithError(arrived ? "writing from memory failed" : "the burst did not arrive");
            break;
        }
        state.SetIterationTime(seconds);
        keepLastBurst();
        const double memoryTime = (memoryBefore + memoryAfter) / 2;
        transferSeconds += seconds;
        transferBytes += bytes;
        memorySeconds += memoryTime;
        memoryBytes += fromMemory;
        ratios.push_back((bytes / seconds) / (fromMemory / memoryTime));
        if (qEnvironmentVariableIsSet("OLP_BENCH_VERBOSE")) {
            fprintf(stderr, "burst %.3f s, memory %.3f / %.3f s, ratio %.2f\n", seconds, memoryBefore, memoryAfter,
                    ratios.back());
        }
    }
    camera.reset();
    access.closeConnection();
    if (ratios.empty()) {
        return;
    }

    std::sort(ratios.begin(), ratios.end());
    const double median = ratios.size() % 2 == 1 ? ratios[ratios.size() / 2]
                                                 : (ratios[ratios.size() / 2 - 1] + ratios[ratios.size() / 2]) / 2;
    state.SetBytesProcessed(transferBytes);
    state.counters["transfer_MBps"] = transferBytes / 1e6 / transferSeconds;
    state.counters["memory_write_MBps"] = memoryBytes / 1e6 / memorySeconds;
    state.counters["ratio_min"] = ratios.front();
    state.counters["ratio_median"] = median;
    state.counters["ratio_max"] = ratios.back();
    state.counters["runs"] = double(ratios.size());
    state.counters["transfer_peak_MiB"] = transferPeak / (1024.0 * 1024.0);
    state.counters["peak_growth_per_picture"] = (transferPeak - before) / double(PictureSize);
    state.counters["protocol_errors"] = emu->protocolErrors().size();
}

BENCHMARK(BM_TransferBurstVsWriteFromMemory)
    ->ArgName("partial_object")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(9);

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
