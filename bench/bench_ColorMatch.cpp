// Colour matching of one 1920x1080 Format_RGB32 frame (the largest live view
// frame) from the working space to sRGB, as the picture viewer does it:
//
// BM_QImageCopy: QImage::copy() of the frame, the floor of any per-frame work.
// BM_BareTransform: one cmsDoTransform over the whole frame with the same two
//   profiles, formats and flags, without our classes.
// BM_MatchImage: OLP_Color_Match::matchImage(src, dst), transform built once.
// BM_BuildTransform: building the transform (first match after a change).
//
// Every benchmark runs several times; the program prints the medians (wall time,
// then the CPU time of the whole process, thread pool included) and the
// ratios of matchImage to the copy and to the bare transform.

#include <benchmark/benchmark.h>

#include <lcms2.h>
#include <QGuiApplication>
#include <QImage>
#include <QStandardPaths>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "OLP_Color_Factory.h"
#include "OLP_Color_Match.h"
#include "OLP_Color_Profile_Linux.h"

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

// A frame with smooth gradients and fine detail, as a camera picture has.
const QImage& frame()
{
    static const QImage image = [] {
        QImage result(Width, Height, QImage::Format_RGB32);
        for (int y = 0; y < Height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
            for (int x = 0; x < Width; ++x) {
                line[x] = qRgb((x * 255) / Width, (y * 255) / Height, ((x ^ y) * 7) & 0xFF);
            }
        }
        return result;
    }();
    return image;
}

void setPixelCounter(benchmark::State& state)
{
    state.counters["Mpx/s"] =
        benchmark::Counter(double(state.iterations()) * Width * Height / 1e6, benchmark::Counter::kIsRate);
}

void BM_QImageCopy(benchmark::State& state)
{
    const QImage& src = frame();
    for (auto _ : state) {
        QImage copy = src.copy();
        benchmark::DoNotOptimize(copy.constBits());
    }
    setPixelCounter(state);
}
BENCHMARK(BM_QImageCopy)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_BareTransform(benchmark::State& state)
{
    const auto source = createProfile(defaultSourceProfilePath());
    const auto destination = createDefaultMonitorProfile();
    const auto* from = static_cast<const OLP_Color_Profile_Linux*>(source.get());
    const auto* to = static_cast<const OLP_Color_Profile_Linux*>(destination.get());
    cmsHTRANSFORM transform = cmsCreateTransform(from->handle(), TYPE_BGRA_8, to->handle(), TYPE_BGRA_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA | cmsFLAGS_NOCACHE);
    const QImage& src = frame();
    QImage dst(Width, Height, QImage::Format_RGB32);
    for (auto _ : state) {
        cmsDoTransform(transform, src.constBits(), dst.bits(), Width * Height);
        benchmark::DoNotOptimize(dst.constBits());
    }
    cmsDeleteTransform(transform);
    setPixelCounter(state);
}
BENCHMARK(BM_BareTransform)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_MatchImage(benchmark::State& state)
{
    OLP_Color_Match match;
    match.setSourceProfile(defaultSourceProfilePath());
    match.setDestinationProfile(*createDefaultMonitorProfile());
    const QImage& src = frame();
    QImage dst(Width, Height, QImage::Format_RGB32);
    if (!match.matchImage(src, dst)) {
        state.SkipWithError("matchImage failed");
        return;
    }
    for (auto _ : state) {
        match.matchImage(src, dst);
        benchmark::DoNotOptimize(dst.constBits());
    }
    setPixelCounter(state);
}
BENCHMARK(BM_MatchImage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_BuildTransform(benchmark::State& state)
{
    OLP_Color_Match match;
    match.setSourceProfile(defaultSourceProfilePath());
    match.setDestinationProfile(*createDefaultMonitorProfile());
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::gray);
    for (auto _ : state) {
        match.setIntent(0);  // drops the transform
        benchmark::DoNotOptimize(match.matchImage(pixel));
    }
}
BENCHMARK(BM_BuildTransform)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Prints the usual table and keeps the median real time of each benchmark.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuMedians[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;  // real time, milliseconds
    std::map<std::string, double>
        cpuMedians;  // CPU time of the whole process (the bands of a large frame run on the thread pool), milliseconds
};

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=7";
    std::string onlyAggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, &onlyAggregates[0]);
    args.insert(args.begin() + 1, &repetitions[0]);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double megapixels = double(Width) * Height / 1e6;
    // Real time is what a frame costs on an idle machine; on a shared, loaded
    // one the thread's CPU time is the steadier measure, so both are printed.
    for (const auto* table : {&reporter.medians, &reporter.cpuMedians}) {
        const double copy = table->at("BM_QImageCopy");
        const double bare = table->at("BM_BareTransform");
        const double match = table->at("BM_MatchImage");
        const double build = table->at("BM_BuildTransform");
        std::printf("\nMedians of 7 runs (%s), %dx%d Format_RGB32:\n",
                    table == &reporter.medians ? "real time" : "CPU time", Width, Height);
        std::printf("  QImage copy       %8.3f ms  %8.1f Mpx/s\n", copy, megapixels / copy * 1e3);
        std::printf("  bare transform    %8.3f ms  %8.1f Mpx/s\n", bare, megapixels / bare * 1e3);
        std::printf("  matchImage        %8.3f ms  %8.1f Mpx/s\n", match, megapixels / match * 1e3);
        std::printf("  build transform   %8.3f ms\n", build);
        std::printf("  matchImage / copy            %6.2f x (target at most 40)\n", match / copy);
        std::printf("  matchImage / bare transform  %6.3f x (target at most 1.2)\n", match / bare);
    }
    return 0;
}
