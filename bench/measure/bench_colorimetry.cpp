// Throughput of the two per-reading computations the pages run on every measurement: the
// Tcp/Duv conversion and the dominant wavelength. Targets: at least 1,000,000 conversions
// and 200,000 wavelength evaluations per second; the last line prints both rates.
#include "ktcolorimetry.h"
#include "locuswave.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Sample
{
    double X, Y, Z, x, y;
};

// Colours a display shows: mixtures of sRGB-like primaries at varied levels, so both the
// Planckian search and the locus search see the whole diagram.
const std::vector<Sample> &samples()
{
    static const std::vector<Sample> s = [] {
        std::vector<Sample> out;
        std::mt19937 gen(42);
        std::uniform_real_distribution<double> pick(0.0, 1.0);
        for (int i = 0; i < 4096; ++i) {
            const double r = pick(gen), g = pick(gen), b = pick(gen);
            const double X = 41.24 * r + 35.76 * g + 18.05 * b + 0.01;
            const double Y = 21.26 * r + 71.52 * g + 7.22 * b + 0.01;
            const double Z = 1.93 * r + 11.92 * g + 95.05 * b + 0.01;
            out.push_back({X, Y, Z, X / (X + Y + Z), Y / (X + Y + Z)});
        }
        return out;
    }();
    return s;
}

double tcpRate = 0;
double waveRate = 0;

void BM_TcpDuv(benchmark::State &state)
{
    const auto &s = samples();
    KtColorimetry::calcTcpDuv(1, 1, 1); // build the table outside the timing
    size_t i = 0;
    for (auto _ : state) {
        const Sample &c = s[i++ & 4095];
        benchmark::DoNotOptimize(KtColorimetry::calcTcpDuv(c.X, c.Y, c.Z));
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DominantWave(benchmark::State &state)
{
    const auto &s = samples();
    locusSetWhitePoint(0.3127, 0.3290);
    size_t i = 0;
    for (auto _ : state) {
        const Sample &c = s[i++ & 4095];
        double wave = 0, purity = 0;
        locusDominantWave(c.x, c.y, &wave, &purity);
        benchmark::DoNotOptimize(wave);
        benchmark::DoNotOptimize(purity);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_TcpDuv);
BENCHMARK(BM_DominantWave);

// Keeps the rate of each run so the summary line can print it.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto it = run.counters.find("per_s");
            if (it == run.counters.end())
                continue;
            if (run.benchmark_name().find("TcpDuv") != std::string::npos)
                tcpRate = it->second.value;
            else
                waveRate = it->second.value;
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("Tcp/Duv conversions per second: %.0f (target 1000000); dominant-wavelength evaluations per "
                "second: %.0f (target 200000)\n",
                tcpRate, waveRate);
    return 0;
}
