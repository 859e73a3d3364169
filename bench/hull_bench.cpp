// Our quickhull against qhull's library on 100,000 random points in a ball.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

#include "bench/bench_report.h"
#include "math/convex_hull.h"

#if __has_include(<libqhull_r/qhull_ra.h>)
#include <libqhull_r/qhull_ra.h>
#define HULL_BENCH_HAVE_QHULL 1
#endif

namespace {

using namespace demo;

constexpr int pointCount = 100000;

const std::vector<Vector3>& pointsInBall() {
    static const std::vector<Vector3> points = [] {
        std::mt19937 random(2024);
        std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
        std::vector<Vector3> p;
        while (static_cast<int>(p.size()) < pointCount) {
            Vector3 v{unit(random), unit(random), unit(random)};
            if (v.dot(v) <= 1.0f) p.push_back(v);
        }
        return p;
    }();
    return points;
}

void BM_ConvexHull(benchmark::State& state) {
    const auto& points = pointsInBall();
    std::size_t faces = 0;
    for (auto _ : state) {
        auto hull = computeConvexHull(points);
        faces = hull.size();
        benchmark::DoNotOptimize(hull.data());
    }
    state.counters["faces"] = double(faces);
}
BENCHMARK(BM_ConvexHull)->Unit(benchmark::kMillisecond);

#ifdef HULL_BENCH_HAVE_QHULL
void BM_Qhull(benchmark::State& state) {
    std::vector<coordT> coordinates;
    for (const Vector3& p : pointsInBall()) coordinates.insert(coordinates.end(), {p.x, p.y, p.z});
    int faces = 0;
    for (auto _ : state) {
        qhT context;
        qhT* qh = &context;
        qh_zero(qh, stderr);
        char options[] = "qhull Qt";
        if (qh_new_qhull(qh, 3, pointCount, coordinates.data(), False, options, nullptr, stderr) == 0)
            faces = qh->num_facets;
        qh_freeqhull(qh, !qh_ALL);
        int curlong = 0, totlong = 0;
        qh_memfreeshort(qh, &curlong, &totlong);
    }
    state.counters["faces"] = double(faces);
}
BENCHMARK(BM_Qhull)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    double ours = best["BM_ConvexHull"], reference = best["BM_Qhull"];
    if (reference <= 0) std::printf("qhull's library is not installed: nothing to compare with\n");
    // Our time over qhull's (target: 2 or less).
    demo::bench::printRatio(reference > 0 ? ours / reference : 0.0, 2);
}
