// Continuation polygonising against a plain sweep of every lattice cell, on
// a sum of eight balls over a 128^3 lattice spanning the field's box.
//
// The speed-up is the lattice's points per surface cell, roughly: the sweep
// evaluates every point, continuation about three field calls per surface
// cell. The headline scene spreads the balls through the volume; a dense
// blob whose surface fills its box is measured too and printed beside it.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_report.h"
#include "platform/large_pages.h"
#include "math/implicit_field_composites.h"
#include "math/implicit_field_primitives.h"
#include "math/marching_table.h"
#include "math/polygoniser.h"

namespace {

using namespace demo;

constexpr int cells = 128;

struct Blobs {
    std::vector<BallField> balls;
    SumField sum;
    Vector3 lower, upper;

    explicit Blobs(float spread) {
        const Vector3 centres[8] = {{-0.55f, -0.50f, -0.40f}, {0.50f, -0.45f, -0.55f}, {-0.45f, 0.55f, -0.50f},
                                    {0.55f, 0.50f, -0.35f},   {-0.50f, -0.40f, 0.55f}, {0.45f, -0.55f, 0.45f},
                                    {-0.40f, 0.45f, 0.50f},   {0.10f, 0.05f, 0.00f}};
        for (const Vector3& c : centres) balls.emplace_back(c * spread, 0.7f, 2.0f);
        for (BallField& b : balls) sum.children.push_back(&b);
        FieldBounds box;
        sum.getBounds(box);
        const float pad = 2.0f * (box[3] - box[0]) / cells;
        lower = {box[0] - pad, box[1] - pad, box[2] - pad};
        upper = {box[3] + pad, box[4] + pad, box[5] + pad};
    }
};

const Blobs& blobs(int scene) {
    static Blobs spread(2.0f), dense(1.0f);
    return scene == 0 ? spread : dense;
}

// The reference: evaluate every lattice point, then classify every cell and
// build the crossed cells' vertices (shared along edges) and triangles.
class Sweep {
public:
    void run(const ImplicitField& field, const Vector3& lower, const Vector3& upper, int n, PolygonMesh& mesh) {
        mesh.vertices.clear();
        mesh.normals.clear();
        mesh.indices.clear();
        const int row = n + 1, layer = row * row;
        const std::size_t points = std::size_t(layer) * row;
        values.resize(points);
        for (auto& r : refs) r.assign(points, -1);
        const float step[3] = {(upper.x - lower.x) / n, (upper.y - lower.y) / n, (upper.z - lower.z) / n};
        for (int k = 0, at = 0; k <= n; ++k)
            for (int j = 0; j <= n; ++j)
                for (int i = 0; i <= n; ++i, ++at)
                    values[at] = field.value(lower.x + i * step[0], lower.y + j * step[1], lower.z + k * step[2]);

        int offset[8];
        for (int c = 0; c < 8; ++c) offset[c] = cellCorners[c].di + cellCorners[c].dj * row + cellCorners[c].dk * layer;
        int ids[12];
        for (int k = 0; k < n; ++k)
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const int addr = i + j * row + k * layer;
                    int type = 0;
                    for (int c = 0; c < 8; ++c)
                        if (values[addr + offset[c]] > 0.0f) type |= 1 << c;
                    if (type == 0 || type == 255) continue;
                    for (int e = 0; e < 12; ++e) {
                        const CellEdge& edge = cellEdges[e];
                        const float u = values[addr + offset[edge.low]], w = values[addr + offset[edge.high]];
                        if ((u > 0.0f) == (w > 0.0f)) continue;
                        int& ref = refs[edge.axis][addr + offset[edge.low]];
                        if (ref < 0) {
                            const CellCorner& o = cellCorners[edge.low];
                            float p[3] = {lower.x + (i + o.di) * step[0], lower.y + (j + o.dj) * step[1],
                                          lower.z + (k + o.dk) * step[2]};
                            p[edge.axis] += step[edge.axis] * (u / (u - w));
                            Vector3 g;
                            field.gradient(g, p[0], p[1], p[2]);
                            ref = static_cast<int>(mesh.vertices.size());
                            mesh.vertices.push_back({p[0], p[1], p[2]});
                            mesh.normals.push_back(g);
                        }
                        ids[e] = ref;
                    }
                    const PolygonRow& r = polygonTable[type];
                    for (int at = 0; r[at] != 0; at += r[at] + 1)
                        for (int m = 2; m < r[at]; ++m) {
                            mesh.indices.push_back(ids[r[at + 1]]);
                            mesh.indices.push_back(ids[r[at + m]]);
                            mesh.indices.push_back(ids[r[at + m + 1]]);
                        }
                }
    }

private:
    std::vector<float> values;
    std::vector<int> refs[3];
};

void BM_Continuation(benchmark::State& state) {
    const Blobs& b = blobs(static_cast<int>(state.range(0)));
    std::vector<Vector3> seeds;
    b.sum.addSeeds(seeds);
    Polygoniser polygoniser;
    PolygonMesh mesh;
    for (auto _ : state) {
        polygoniser.polygonize(b.upper, b.lower, cells, cells, cells, mesh, 0, b.sum, seeds);
        benchmark::DoNotOptimize(mesh.indices.data());
    }
    state.counters["surface_cells"] = double(polygoniser.cellCount());
    state.counters["surface_cells/s"] =
        benchmark::Counter(double(polygoniser.cellCount()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["triangles"] = double(mesh.indices.size() / 3);
}
BENCHMARK(BM_Continuation)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FullSweep(benchmark::State& state) {
    const Blobs& b = blobs(static_cast<int>(state.range(0)));
    Sweep sweep;
    PolygonMesh mesh;
    for (auto _ : state) {
        sweep.run(b.sum, b.lower, b.upper, cells, mesh);
        benchmark::DoNotOptimize(mesh.indices.data());
    }
    state.counters["triangles"] = double(mesh.indices.size() / 3);
}
BENCHMARK(BM_FullSweep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    demo::Polygoniser::adviseWorkMemory = demo::platform::adviseLargePages;  // as the player does
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    auto speedUp = [&best](const char* scene) {
        double ours = best[std::string("BM_Continuation/") + scene];
        double sweep = best[std::string("BM_FullSweep/") + scene];
        return ours > 0 ? sweep / ours : 0.0;
    };
    std::printf("dense blob speed-up: %.2f\n", speedUp("1"));
    // How many times faster continuation is than the sweep (target: 10 or more).
    demo::bench::printRatio(speedUp("0"), 2);
}
