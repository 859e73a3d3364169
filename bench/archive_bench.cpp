// Mounting a compressed archive of about 50 MB of mixed members, against
// zlib's uncompress of the same compressed body: the difference is reading
// the file, unscrambling and the directory.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "bench/bench_report.h"
#include "manager/archive_builder.h"
#include "manager/archive_scramble.h"
#include "manager/archive_source.h"

namespace {

constexpr std::size_t kTotalBytes = 50u << 20;

std::vector<unsigned char> text(std::mt19937& random, std::size_t size) {
    static const char* words[] = {"texture", "scene", "camera", "start", "stop", "{", "}", "=",
                                  "0.5",     "1.0",   "fade",   "tunnel", "\n", "  ", "blend_src"};
    std::vector<unsigned char> out;
    while (out.size() < size) {
        const char* word = words[random() % std::size(words)];
        out.insert(out.end(), word, word + std::strlen(word));
        out.push_back(' ');
    }
    out.resize(size);
    return out;
}

std::vector<unsigned char> noise(std::mt19937& random, std::size_t size) {
    std::vector<unsigned char> out(size);
    for (unsigned char& b : out) b = static_cast<unsigned char>(random());
    return out;
}

std::vector<unsigned char> mesh(std::mt19937& random, std::size_t size) {
    std::vector<unsigned char> out(size - size % 4);
    float phase = static_cast<float>(random() % 100);
    for (std::size_t i = 0; i < out.size(); i += 4) {
        float value = std::sin(phase + static_cast<float>(i) * 0.001f);
        std::memcpy(out.data() + i, &value, 4);
    }
    return out;
}

struct Fixture {
    std::string path;
    std::vector<unsigned char> body;  // the compressed body, unscrambled
    std::uint32_t unpackedSize = 0;

    Fixture() {
        std::mt19937 random(1);
        std::vector<demo::ArchiveMember> members;
        std::size_t total = 0;
        for (int i = 0; total < kTotalBytes; ++i) {
            std::size_t size = 1000 + random() % 400000;
            demo::ArchiveMember member;
            member.name = "data/member_" + std::to_string(i) + (i % 3 == 0 ? ".ini" : ".bin");
            member.data = i % 3 == 0 ? text(random, size) : i % 3 == 1 ? mesh(random, size) : noise(random, size / 4);
            total += member.data.size();
            members.push_back(std::move(member));
        }
        std::vector<unsigned char> file = demo::buildArchive(members, true);
        const char* dir = std::getenv("DEMO_TEST_TMP");
        path = (std::filesystem::path(dir ? dir : "/tmp") / "archive_bench.m").string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        unpackedSize = demo::archive::loadLittle32(file.data() + 1);
        body.assign(file.begin() + demo::archive::kHeaderSize, file.end());
        demo::archive::unscramble(body.data(), body.size());
        std::printf("archive: %zu members, %u bytes unpacked, %zu packed\n", members.size(),
                    unpackedSize, body.size());
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void BM_MountArchive(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        demo::ArchiveSource source(f.path);
        benchmark::DoNotOptimize(source.directory().size());
    }
}

void BM_ZlibUncompress(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> image(new unsigned char[f.unpackedSize]);
        uLongf size = f.unpackedSize;
        if (uncompress(image.get(), &size, f.body.data(), f.body.size()) != Z_OK) {
            state.SkipWithError("uncompress failed");
        }
        benchmark::DoNotOptimize(image.get());
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    fixture();
    // Alternating rounds, best of each: other load on the machine hits both
    // sides alike.
    for (int round = 0; round < 4; ++round) {
        benchmark::RegisterBenchmark("mount", BM_MountArchive)->Unit(benchmark::kMillisecond)->MinTime(0.5);
        benchmark::RegisterBenchmark("uncompress", BM_ZlibUncompress)->Unit(benchmark::kMillisecond)->MinTime(0.5);
    }
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    std::remove(fixture().path.c_str());
    double mount = best["mount"];
    double reference = best["uncompress"];
    if (mount <= 0 || reference <= 0) return 1;
    demo::bench::printRatio(mount / reference, 3);
    return 0;
}
