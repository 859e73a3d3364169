// The process-wide MT19937 generator against the standard library's engine,
// in nanoseconds per 32-bit word; the ratio is ours over the standard one.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "math/random.h"

namespace {

constexpr int wordsPerIteration = 1 << 16;

void ourGenerator(benchmark::State& state) {
    demo::seedRandom(4357);
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (int i = 0; i < wordsPerIteration; ++i) sum += demo::drawRandomWord();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * wordsPerIteration);
}

void standardEngine(benchmark::State& state) {
    std::mt19937 engine(4357);
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (int i = 0; i < wordsPerIteration; ++i) sum += engine();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * wordsPerIteration);
}

BENCHMARK(ourGenerator)->Repetitions(5);
BENCHMARK(standardEngine)->Repetitions(5);

// Keeps the best nanoseconds per word of each benchmark over its repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> best;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const double ns = run.GetAdjustedRealTime() / wordsPerIteration;
            auto [it, fresh] = best.emplace(run.benchmark_name().substr(0, run.benchmark_name().find('/')), ns);
            if (!fresh && ns < it->second) it->second = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.best["ourGenerator"];
    const double reference = reporter.best["standardEngine"];
    std::printf("ours: %.3f ns/word, std::mt19937: %.3f ns/word\n", ours, reference);
    std::printf("ratio: %.3f\n", ours / reference);
}
