// Reads a generated 20 MB script of parameter blocks: tokens only, and the
// full parameter-block parse. The reference is a memchr pass over the same
// buffer counting line feeds, the least any reader has to do.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_report.h"
#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace {

using namespace demo;

constexpr std::size_t kScriptBytes = 20u << 20;

const char* const kWraps[] = {"CLAMP", "REPEAT", nullptr};

struct Destinations {
    float speed = 0, color[4] = {}, position[3] = {};
    int count = 0, wrap = 0;
    bool additive = false;
    std::string texture;
    std::vector<float> keys;
    std::vector<std::string> names;
    ParameterDesc table[10] = {
        {"speed", PARAM_FLOAT, &speed, nullptr},
        {"count", PARAM_INT, &count, nullptr},
        {"wrap", PARAM_ENUM_INDEX, &wrap, kWraps},
        {"additive", PARAM_FLAG, &additive, nullptr},
        {"texture", PARAM_STRING, &texture, nullptr},
        {"color", PARAM_VECTOR4, color, nullptr},
        {"position", PARAM_VECTOR3, position, nullptr},
        {"keys", PARAM_FLOAT_LIST, &keys, nullptr},
        {"names", PARAM_STRING_LIST, &names, nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
};

const std::string& script() {
    static const std::string text = [] {
        std::string s;
        s.reserve(kScriptBytes + 512);
        char block[512];
        for (int i = 0; s.size() < kScriptBytes; ++i) {
            int n = std::snprintf(block, sizeof block,
                                  "// effect %d\nfx%d {\n  speed %d.%03d count %d wrap %s %s\n"
                                  "  texture \"tex/layer%d.jpg\" color <0.%d 0.5 1 1>\n"
                                  "  position < %d.5 -%d.25 0 > /* path */ keys { 0 0.5 1.25 %d }\n"
                                  "  names { a%d \"b c\" }\n}\n",
                                  i, i, i % 10, i % 1000, i % 97, i % 2 ? "REPEAT" : "CLAMP",
                                  i % 3 ? "additive" : "", i % 50, i % 10, i % 100, i % 7, i % 13, i);
            s.append(block, static_cast<std::size_t>(n));
        }
        return s;
    }();
    return text;
}

std::size_t referenceScan(const std::string& text) {
    std::size_t lines = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
        ++lines;
        ++p;
    }
    return lines;
}

std::size_t tokenize(const std::string& text) {
    AsciiReader reader("bench.ini", text);
    std::size_t tokens = 0;
    while (reader.nextToken().kind != TOKEN_END) ++tokens;
    return tokens;
}

int parse(const std::string& text) {
    AsciiReader reader("bench.ini", text);
    Destinations d;
    int blocks = 0;
    while (reader.nextToken().kind != TOKEN_END) {
        reader.readParameters(d.table);
        d.keys.clear();
        d.names.clear();
        ++blocks;
    }
    return blocks;
}

void BM_ReferenceMemchr(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(referenceScan(script()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script().size()));
}
BENCHMARK(BM_ReferenceMemchr)->Unit(benchmark::kMillisecond);

void BM_Tokenize(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tokenize(script()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script().size()));
}
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);

void BM_ParseBlocks(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(parse(script()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * script().size()));
}
BENCHMARK(BM_ParseBlocks)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    demo::bench::BestTimes best = demo::bench::runBenchmarks();

    const std::string& text = script();
    double mb = static_cast<double>(text.size()) / (1 << 20);
    // Best times are in milliseconds, the unit every benchmark here reports in.
    double scan = best["BM_ReferenceMemchr"] / 1000;
    double tokens = best["BM_Tokenize"] / 1000;
    double blocks = best["BM_ParseBlocks"] / 1000;
    if (scan <= 0 || tokens <= 0 || blocks <= 0) return 1;
    std::printf("script: %.1f MB, %d blocks\n", mb, parse(text));
    std::printf("memchr line scan: %.0f MB/s\n", mb / scan);
    std::printf("tokenize:         %.0f MB/s\n", mb / tokens);
    std::printf("parameter blocks: %.0f MB/s\n", mb / blocks);
    std::printf("ratio = parameter-block parse time / memchr scan time of the same script "
                "(how many times slower than a plain byte scan; lower is better)\n");
    demo::bench::printRatio(blocks / scan, 1);
    return 0;
}
