// GetObject of a 100 MiB object from the emulated camera through the real USB
// camera access (transport, framing, device mutex). Reports the throughput and
// the process's peak memory relative to the object size.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <memory>
#include <vector>

#include "OLP_Commu_CameraAccess_Linux_PTP.h"
#include "OLP_Commu_EmuCamera.h"
#include "OLP_Commu_EmuUsbPort.h"
#include "OLP_Debug.h"

namespace {

constexpr quint32 ObjectSize = 100u * 1024u * 1024u;
constexpr quint32 Handle = 0x12345678;

double peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

void BM_GetObject100MiB(benchmark::State& state)
{
    const double before = peakResidentBytes();
    auto port = std::make_shared<OLP_Commu_EmuUsbPort>();
    auto camera = std::make_shared<OLP_Commu_EmuCamera>(0x0101);
    camera->addGeneratedObject(Handle, ObjectSize, 1);
    port->plug(camera);
    OLP_Commu_CameraAccess_Linux_PTP access(port);
    if (!access.openConnection(camera->vendorId(), camera->productId(), port->deviceIdOf(camera))) {
        state.SkipWithError("the emulated camera did not open");
        return;
    }
    // The caller's buffer, as the picture transfer holds it.
    std::unique_ptr<quint8[]> buffer(new quint8[ObjectSize]);
    for (auto _ : state) {
        quint32 received = 0;
        if (!access.getObject(buffer.get(), ObjectSize, Handle, &received) || received != ObjectSize) {
            state.SkipWithError("GetObject failed");
            break;
        }
        benchmark::DoNotOptimize(buffer.get());
    }
    access.closeConnection();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * ObjectSize);
    const double peak = peakResidentBytes();
    state.counters["peak_MiB"] = peak / (1024.0 * 1024.0);
    state.counters["peak_growth_per_object"] = (peak - before) / ObjectSize;
    state.counters["protocol_errors"] = camera->protocolErrors().size();
}

BENCHMARK(BM_GetObject100MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

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
