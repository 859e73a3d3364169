// Decoding 2048 x 1536 JPEGs from bytes in memory to RGBA pixels: ours
// against libjpeg-turbo (its default integer IDCT, SIMD) and stb_image.
// ratio: our time over libjpeg-turbo's, the worst of the three images.

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_report.h"
#include "graphics/formats/jpeg_decoder.h"
#include "graphics/formats/rgb_jpeg_sink.h"
#include "tests/support/test_jpeg.h"

namespace {

constexpr int kWidth = 2048;
constexpr int kHeight = 1536;

struct Sample {
    const char* name;
    std::vector<unsigned char> bytes;
};

std::vector<Sample>& samples() {
    static std::vector<Sample> all = [] {
        demo::test::JpegRecipe recipe;
        recipe.width = kWidth;
        recipe.height = kHeight;
        recipe.quality = 90;
        recipe.sampling[0][0] = recipe.sampling[0][1] = 2;
        std::vector<Sample> made;
        made.push_back({"q90_420", demo::test::encodeJpeg(recipe)});
        recipe.quality = 75;
        recipe.sampling[0][0] = recipe.sampling[0][1] = 1;
        made.push_back({"q75_444", demo::test::encodeJpeg(recipe)});
        recipe.quality = 90;
        recipe.components = 1;
        made.push_back({"q90_grey", demo::test::encodeJpeg(recipe)});
        for (const Sample& s : made) std::printf("%s: %zu bytes\n", s.name, s.bytes.size());
        return made;
    }();
    return all;
}

void BM_Ours(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = samples()[static_cast<std::size_t>(state.range(0))].bytes;
    for (auto _ : state) {
        demo::RgbJpegSink sink;
        if (!demo::decodeJpeg(bytes.data(), bytes.size(), sink)) state.SkipWithError("decode failed");
        std::unique_ptr<unsigned char[]> pixels(sink.takePixels());
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_Turbo(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = samples()[static_cast<std::size_t>(state.range(0))].bytes;
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr error;
        cinfo.err = jpeg_std_error(&error);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_EXT_RGBA;
        jpeg_start_decompress(&cinfo);
        std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 4;
        std::unique_ptr<unsigned char[]> pixels(new unsigned char[stride * cinfo.output_height]);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW rows[4];
            for (int i = 0; i < 4; ++i)
                rows[i] = pixels.get() + stride * std::min(cinfo.output_scanline + i, cinfo.output_height - 1);
            jpeg_read_scanlines(&cinfo, rows, 4);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_Stb(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = samples()[static_cast<std::size_t>(state.range(0))].bytes;
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        unsigned char* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                                      &width, &height, &channels, 4);
        if (pixels == nullptr) state.SkipWithError("stb failed");
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    samples();
    // Alternating rounds, best of each: other load on the machine hits every side alike.
    for (int round = 0; round < 3; ++round) {
        for (int image = 0; image < 3; ++image) {
            benchmark::RegisterBenchmark("ours", BM_Ours)->Arg(image)->Unit(benchmark::kMillisecond)->MinTime(0.3);
            benchmark::RegisterBenchmark("turbo", BM_Turbo)->Arg(image)->Unit(benchmark::kMillisecond)->MinTime(0.3);
            benchmark::RegisterBenchmark("stb", BM_Stb)->Arg(image)->Unit(benchmark::kMillisecond)->MinTime(0.3);
        }
    }
    demo::bench::BestTimes best = demo::bench::runBenchmarks();
    double worst = 0;
    for (int image = 0; image < 3; ++image) {
        const char* arg[] = {"/0", "/1", "/2"};
        auto timeOf = [&](const char* name) { return best[std::string(name) + arg[image]]; };
        double ours = timeOf("ours"), turbo = timeOf("turbo"), stb = timeOf("stb");
        if (ours <= 0 || turbo <= 0 || stb <= 0) return 1;
        std::printf("%s: ours %.2f ms, libjpeg-turbo %.2f ms (x%.2f), stb_image %.2f ms (x%.2f)\n",
                    samples()[static_cast<std::size_t>(image)].name, ours, turbo, ours / turbo, stb,
                    ours / stb);
        worst = std::max(worst, ours / turbo);
    }
    demo::bench::printRatio(worst, 2);
    return 0;
}
