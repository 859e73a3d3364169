// Reading .3ds files into chunk trees and building their scenes' meshes
// (vertex buffers, normals, object frames; no textures) against assimp's
// importer (no post-processing), both from bytes in memory: each Debian
// sample file, a generated file of 1,000,000 faces and generated files of
// 100 and 1000 one-triangle objects, each with a key-framer node. The ratio
// is ours over assimp's on the file where we fare worst.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_report.h"
#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/opengl/scene.h"
#include "graphics/opengl/scene_builder_3ds.h"
#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "tests/support/writer_3ds.h"

#if __has_include(<assimp/Importer.hpp>)
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#define SCENE_BENCH_HAVE_ASSIMP 1
#endif

namespace {

using demo::test::Bytes;
using W = demo::test::Writer3DS;

// 16 grids of 251 x 126 vertices, 62,500 faces each.
Bytes millionFaces() {
    constexpr int columns = 251, rows = 126;
    W objects(0x3D3D);
    for (int object = 0; object < 16; ++object) {
        W vertices(0x4110), faces(0x4120);
        vertices.u16(columns * rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) vertices.vec(float(c), float(r), float(object));
        }
        faces.u16((columns - 1) * (rows - 1) * 2);
        for (int r = 0; r + 1 < rows; ++r) {
            for (int c = 0; c + 1 < columns; ++c) {
                const auto v = std::uint16_t(r * columns + c);
                faces.u16(v).u16(std::uint16_t(v + 1)).u16(std::uint16_t(v + columns)).u16(0);
                faces.u16(std::uint16_t(v + 1)).u16(std::uint16_t(v + columns + 1)).u16(std::uint16_t(v + columns)).u16(0);
            }
        }
        objects.add(W(0x4000).text("grid" + std::to_string(object)).add(W(0x4100).add(vertices).add(faces)));
    }
    return W(0x4D4D).add(objects).bytes();
}

// Many small objects: the cost is per object and per node, not per face.
// Each object is placed by its matrix and animated by a key-framer node whose
// parent is the node before it, so the hierarchy is a chain.
Bytes oneTriangleObjects(int count) {
    W objects(0x3D3D), keyframer(0xB000);
    for (int i = 0; i < count; ++i) {
        const std::string name = "tri" + std::to_string(i);
        const float x = float(i);
        W tri(0x4100);
        tri.add(W(0x4110).u16(3).vec(x, 0, 0).vec(x + 1, 0, 0).vec(x, 1, 0));
        tri.add(W(0x4120).u16(1).u16(0).u16(1).u16(2).u16(0));
        tri.add(W(0x4160).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(x, 0, 0));
        objects.add(W(0x4000).text(name).add(tri));
        W node(0xB002);
        node.add(W(0xB010).text(name).u16(0).u16(0).u16(std::uint16_t(i - 1)));
        node.add(W(0xB013).vec(0, 0, 0));
        node.add(demo::test::track(0xB020, {{0, {x, 0, 0}}}));
        node.add(demo::test::track(0xB021, {{0, {0, 0, 0, 1}}}));
        node.add(demo::test::track(0xB022, {{0, {1, 1, 1}}}));
        keyframer.add(node);
    }
    return W(0x4D4D).add(objects).add(keyframer).bytes();
}

std::map<std::string, Bytes> sampleFiles() {
    std::map<std::string, Bytes> files;
    for (const char* dir : {"/usr/share/assimp/models/3DS", "/usr/share/glmark2/models"}) {
        if (!std::filesystem::is_directory(dir)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::string ext = entry.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
            if (ext != ".3ds") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().filename().string()] = Bytes(std::istreambuf_iterator<char>(in), {});
        }
    }
    files["generated-1M-faces.3ds"] = millionFaces();
    files["generated-100-objects.3ds"] = oneTriangleObjects(100);
    files["generated-1000-objects.3ds"] = oneTriangleObjects(1000);
    return files;
}

std::size_t countFaces(const demo::Scene& scene) {
    std::size_t n = 0;
    for (const demo::SceneObject* o : scene.getObjects()) {
        if (o->mesh) n += static_cast<std::size_t>(o->mesh->triangles->count());
    }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto files = sampleFiles();
    for (const auto& [name, bytes] : files) {
        const Bytes* data = &bytes;
        benchmark::RegisterBenchmark(("Ours/" + name).c_str(), [data](benchmark::State& state) {
            std::size_t faces = 0;
            for (auto _ : state) {
                auto root = demo::readChunkTree3DS(data->data(), data->size());
                auto scene = demo::buildScene3DS(*root, "bench.3ds", nullptr);
                faces = countFaces(*scene);
            }
            state.counters["faces"] = double(faces);
        })->Unit(benchmark::kMicrosecond);
#ifdef SCENE_BENCH_HAVE_ASSIMP
        benchmark::RegisterBenchmark(("Assimp/" + name).c_str(), [data](benchmark::State& state) {
            std::size_t faces = 0;
            for (auto _ : state) {
                Assimp::Importer importer;
                const aiScene* scene = importer.ReadFileFromMemory(data->data(), data->size(), 0, "3ds");
                if (scene == nullptr) {
                    state.SkipWithError(importer.GetErrorString());
                    return;
                }
                faces = 0;
                for (unsigned m = 0; m < scene->mNumMeshes; ++m) faces += scene->mMeshes[m]->mNumFaces;
            }
            state.counters["faces"] = double(faces);
        })->Unit(benchmark::kMicrosecond);
#endif
    }
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    double worst = 0;
    std::string worstFile;
    for (const auto& [name, bytes] : files) {
        const auto reference = best.find("Assimp/" + name);
        if (reference == best.end() || reference->second <= 0) continue;
        const double ratio = best["Ours/" + name] / reference->second;
        if (ratio > worst) worst = ratio, worstFile = name;
    }
    if (worstFile.empty()) std::printf("assimp's importer is not installed: nothing to compare with\n");
    else std::printf("worst file: %s\n", worstFile.c_str());
    // Our time over assimp's on the worst file (target: below 1).
    demo::bench::printRatio(worst, 3);
}
