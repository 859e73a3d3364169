// The process-wide MT19937 generator against the standard library's engine,
// in nanoseconds per 32-bit word; the ratio is ours over the standard one.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

#include "bench/bench_report.h"
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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    const double ours = best["ourGenerator"] / wordsPerIteration;
    const double reference = best["standardEngine"] / wordsPerIteration;
    std::printf("ours: %.3f ns/word, std::mt19937: %.3f ns/word\n", ours, reference);
    demo::bench::printRatio(ours / reference, 3);
}
