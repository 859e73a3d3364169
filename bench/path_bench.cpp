// Evaluating a 1,000-key vector path at 10^6 times, in playing order and at
// random; the ratio is random over in order (the cost of the key search over
// the cached interval).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "bench/bench_report.h"
#include "math/cubic_path.h"

namespace {

constexpr int keyCount = 1000;
constexpr int evaluations = 1000000;

demo::CubicPath<demo::Vector3> makePath() {
    std::mt19937 gen(1);
    std::uniform_real_distribution<float> d(-10, 10);
    std::vector<demo::Vector3> points;
    std::vector<float> times;
    for (int i = 0; i < keyCount; ++i) {
        points.push_back({d(gen), d(gen), d(gen)});
        times.push_back(static_cast<float>(i) * 0.5f);
    }
    demo::CubicPath<demo::Vector3> path;
    path.init(std::move(points), std::move(times));
    return path;
}

std::vector<float> sampleTimes(bool sorted) {
    std::mt19937 gen(2);
    std::uniform_real_distribution<float> d(0, (keyCount - 1) * 0.5f);
    std::vector<float> times(evaluations);
    for (float& t : times) t = d(gen);
    if (sorted) std::sort(times.begin(), times.end());
    return times;
}

void evaluateAll(benchmark::State& state, bool sorted) {
    auto path = makePath();
    const std::vector<float> times = sampleTimes(sorted);
    for (auto _ : state) {
        demo::Vector3 sum;
        for (float t : times) sum += path.evaluate(t);
        benchmark::DoNotOptimize(sum);
    }
}

void inOrder(benchmark::State& state) { evaluateAll(state, true); }
void atRandom(benchmark::State& state) { evaluateAll(state, false); }

BENCHMARK(inOrder)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(atRandom)->Unit(benchmark::kMillisecond)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    // Best times are in milliseconds per pass over all the evaluations.
    const double ordered = best["inOrder"] * 1e6 / evaluations;
    const double random = best["atRandom"] * 1e6 / evaluations;
    std::printf("in order: %.2f ns/evaluation, at random: %.2f ns/evaluation\n", ordered, random);
    demo::bench::printRatio(random / ordered, 3);
}
