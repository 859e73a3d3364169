#include "graphics/formats/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "graphics/formats/jpeg_idct.h"
#include "graphics/formats/rgb_jpeg_sink.h"
#include "tests/support/test_jpeg.h"

namespace demo {
namespace {

using test::Bytes;
using test::JpegRecipe;

// Every block handed over, kept by component, block row and block column.
struct RecordingSink : JpegSink {
    bool begin(int, int, const JpegComponent*, int, int unitWidth, int unitHeight) override {
        unitW = unitWidth, unitH = unitHeight;
        return true;
    }
    void write(const JpegComponent* components, int count, int x, int y, int, int) override {
        for (int i = 0; i < count; ++i) {
            const JpegComponent& c = components[i];
            for (int b = 0; b < c.h * c.v; ++b) {
                auto& block = blocks[{i, y / unitH * c.v + b / c.h, x / unitW * c.h + b % c.h}];
                block.assign(c.blocks + 64 * b, c.blocks + 64 * b + 64);
            }
        }
    }
    std::map<std::array<int, 3>, std::vector<std::int32_t>> blocks;
    int unitW = 0, unitH = 0;
};

// The inverse DCT exactly as written down, in 64-bit arithmetic wrapped to
// 32 bits before each shift, as the decoder wraps hostile coefficients.
void referenceIdct(std::int32_t* b) {
    auto wrap = [](std::int64_t v) -> std::int64_t { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); };
    auto pass = [&](std::int32_t* p, int stride, int shift) {
        std::int64_t c[8];
        for (int i = 0; i < 8; ++i) c[i] = p[i * stride];
        if (!(c[1] | c[2] | c[3] | c[4] | c[5] | c[6] | c[7])) {
            for (int i = 0; i < 8; ++i) p[i * stride] = shift == 11 ? wrap(c[0] * 4) : c[0] >> 5;
            return;
        }
        std::int64_t z1 = (c[2] + c[6]) * 4433, t2 = z1 - c[6] * 15137, t3 = z1 + c[2] * 6270;
        std::int64_t t0 = (c[0] + c[4]) * 8192, t1 = (c[0] - c[4]) * 8192;
        std::int64_t a = c[7], bb = c[5], cc = c[3], d = c[1];
        std::int64_t y1 = (a + d) * -7373, y2 = (bb + cc) * -20995, y5 = (a + bb + cc + d) * 9633;
        std::int64_t y3 = y5 - (a + cc) * 16069, y4 = y5 - (bb + d) * 3196;
        std::int64_t odd[4] = {a * 2446 + y1 + y3, bb * 16819 + y2 + y4, cc * 25172 + y2 + y3, d * 12299 + y1 + y4};
        std::int64_t even[4] = {t0 + t3, t1 + t2, t1 - t2, t0 - t3};
        for (int i = 0; i < 4; ++i) {
            p[i * stride] = wrap(even[i] + odd[3 - i]) >> shift;
            p[(7 - i) * stride] = wrap(even[i] - odd[3 - i]) >> shift;
        }
    };
    for (int i = 0; i < 8; ++i) pass(b + i, 8, 11);
    for (int i = 0; i < 8; ++i) pass(b + 8 * i, 1, 18);
}

// The plain inverse DCT, the decoder's own where the processor lacks AVX2,
// equals the reference and the vector one, overflowing blocks included.
TEST(JpegDecoder, PlainIdctEqualsTheReferenceAndTheVectorOne) {
    std::mt19937 random(7);
    std::vector<std::array<std::int32_t, 64>> blocks(400);
    for (std::size_t n = 0; n < blocks.size(); ++n)  // up to frequency n % 16 (0: DC only), smaller further up
        for (int k = 0; k < 64; ++k) {
            const int f = k / 8 + k % 8, limit = f > int(n % 16) ? 0 : 1024 >> f / 2;
            blocks[n][k] = std::uniform_int_distribution<int>(-limit, limit)(random);
        }
    for (std::int32_t e : {1023, -1024, INT32_MIN + 3}) {  // flat, checkered, DC only; the last wraps
        std::array<std::int32_t, 64> flat, checkered, dc{e};
        flat.fill(e);
        for (int k = 0; k < 64; ++k) checkered[k] = (k / 8 + k % 8) % 2 ? -1 - e : e;
        blocks.insert(blocks.end(), {flat, checkered, dc});
    }
    blocks.emplace_back();  // overflowing in every pass
    for (int k = 0; k < 64; k += 3) blocks.back()[k] = (k % 2 ? -1 : 1) * (0x40000000 >> (k % 5));
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        std::array<std::int32_t, 64> plain, vector, reference = blocks[n];
        referenceIdct(reference.data());
        idct8x8Portable(blocks[n].data(), plain.data()), idct8x8(blocks[n].data(), vector.data());
        EXPECT_TRUE(plain == vector && plain == reference) << n;
    }
}

// libjpeg reading the bytes, headers read.
struct LibjpegReader {
    explicit LibjpegReader(const Bytes& bytes) {
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
    }
    ~LibjpegReader() { jpeg_destroy_decompress(&info); }
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
};

std::string decodeCapturing(const Bytes& bytes, JpegSink& sink) {
    testing::internal::CaptureStdout();
    decodeJpeg(bytes.data(), bytes.size(), sink);
    return testing::internal::GetCapturedStdout();
}

// Sampling factors (h, v) per component, then any other change.
template <class Change = void (*)(JpegRecipe&)>
JpegRecipe recipe(std::initializer_list<std::pair<int, int>> factors, Change change = [](JpegRecipe&) {}) {
    JpegRecipe s;
    s.components = static_cast<int>(factors.size());
    int i = 0;
    for (auto [h, v] : factors) s.sampling[i][0] = h, s.sampling[i++][1] = v;
    change(s);
    return s;
}
const std::initializer_list<std::pair<int, int>> k420 = {{2, 2}, {1, 1}, {1, 1}};

// libjpeg with its integer IDCT and no fancy upsampling rounds where the
// decoder truncates: within 4 per channel, and about 1 low on average. The
// image cache's tests check the alpha.
void expectPixelsNearLibjpeg(const Bytes& bytes) {
    LibjpegReader reader(bytes);
    jpeg_decompress_struct& cinfo = reader.info;
    cinfo.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&cinfo);
    const std::size_t channels = cinfo.output_components, width = cinfo.output_width;
    Bytes expected(width * cinfo.output_height * channels);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = expected.data() + cinfo.output_scanline * width * channels;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    RgbJpegSink sink;
    EXPECT_EQ(decodeCapturing(bytes, sink), "");
    ASSERT_EQ(std::size_t(sink.width() * sink.height()), expected.size() / channels);
    std::unique_ptr<unsigned char[]> pixels(sink.takePixels());
    int worst = 0;
    double sum = 0;
    for (std::size_t i = 0; i < expected.size() / channels * 3; ++i) {  // pixel i / 3, channel i % 3
        int diff = pixels[i / 3 * 4 + i % 3] - expected[i / 3 * channels + (channels == 1 ? 0 : i % 3)];
        worst = std::max(worst, std::abs(diff));
        sum += diff;
    }
    EXPECT_LE(worst, channels == 1 ? 1 : 4);
    EXPECT_LE(std::abs(sum / (expected.size() / channels * 3.0)), 1.0);
}

// The blocks, and for some the pixels too.
TEST(JpegDecoder, BlocksAndPixelsMatchLibjpeg) {
    const struct { const char* name; JpegRecipe recipe; const char* messages; bool pixels = false; } cases[] = {
        {"4:4:4", recipe({{1, 1}, {1, 1}, {1, 1}}, [](JpegRecipe& s) { s.quality = 75; }), "", true},
        {"4:2:2", recipe({{2, 1}, {1, 1}, {1, 1}}), ""}, {"4:2:0", recipe(k420), ""},
        {"4:4:0", recipe({{1, 2}, {1, 1}, {1, 1}}), "", true},
        {"grey 61x35", recipe({{1, 1}}, [](JpegRecipe& s) { s.width = 61, s.height = 35; }), "", true},
        {"grey 2x2", recipe({{2, 2}}), ""},
        {"16-bit tables", recipe(k420, [](JpegRecipe& s) { s.quantScale = 5; }), ""},
        {"quality 100, optimised", recipe(k420, [](JpegRecipe& s) { s.quality = 100, s.optimize = true; }), ""},
        {"ids 1-4", recipe({{2, 2}, {1, 1}, {1, 1}, {2, 2}}), ""},
        {"no JFIF", recipe(k420, [](JpegRecipe& s) { s.jfif = false; }), ""},
        {"APP1", recipe(k420, [](JpegRecipe& s) { s.app1 = true; }), "camera.jpg: Unidentified segment marker.\n"},
        {"1x1", recipe(k420, [](JpegRecipe& s) { s.width = s.height = 1; }), ""},
        {"173x131", recipe(k420, [](JpegRecipe& s) { s.width = 173, s.height = 131, s.restartInterval = 4; }), "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = test::encodeJpeg(c.recipe);
        if (c.pixels) expectPixelsNearLibjpeg(bytes);
        RecordingSink sink;
        testing::internal::CaptureStdout();
        EXPECT_TRUE(decodeJpeg(bytes.data(), bytes.size(), sink, "camera.jpg"));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.messages);
        LibjpegReader reader(bytes);
        jpeg_decompress_struct& cinfo = reader.info;
        jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
        int mismatches = 0, compared = 0;
        for (int ci = 0; ci < cinfo.num_components; ++ci) {
            const jpeg_component_info& info = cinfo.comp_info[ci];
            for (JDIMENSION row = 0; row < info.height_in_blocks; ++row) {
                JBLOCKARRAY line = (*cinfo.mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                                   arrays[ci], row, 1, FALSE);
                for (JDIMENSION column = 0; column < info.width_in_blocks; ++column, ++compared) {
                    std::int32_t expected[64];
                    for (int k = 0; k < 64; ++k) expected[k] = line[0][column][k] * info.quant_table->quantval[k];
                    referenceIdct(expected);
                    const auto& got = sink.blocks[{ci, static_cast<int>(row), static_cast<int>(column)}];
                    mismatches += got.size() != 64 || !std::equal(got.begin(), got.end(), expected);
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "of " << compared;
    }
}

// The bytes with values written at an offset from the first marker FF code.
Bytes patched(Bytes bytes, unsigned char code, std::size_t offset, std::initializer_list<int> values) {
    std::size_t at = 0;
    while (!(bytes.at(at) == 0xFF && bytes.at(at + 1) == code)) ++at;
    for (int v : values) bytes.at(at++ + offset) = static_cast<unsigned char>(v);
    return bytes;
}

// The bytes after the scan header.
std::size_t scanDataBytes(const Bytes& b) {
    std::size_t at = 0;
    while (!(b.at(at) == 0xFF && b.at(at + 1) == 0xDA)) ++at;
    return b.size() - (at + 2 + (b[at + 2] << 8 | b[at + 3]));
}

TEST(JpegDecoder, ReportsEachProblemOnItsOwnLineAndStopsWhereItMust) {
    const Bytes good = test::encodeJpeg(recipe(k420));
    const Bytes restarts = test::encodeJpeg(recipe(k420, [](JpegRecipe& s) { s.width = 33, s.height = 17, s.restartInterval = 2; }));
    const struct { const char* name; Bytes bytes; std::string output; bool began; } cases[] = {
        {"not a JPEG", {'G', 'I', 'F', '8'}, "This is not jpeg-file.\n", false},
        {"12-bit", patched(good, 0xC0, 4, {12}), "Other than 8 bits/sample precision not supported.\n", true},
        {"end before scan", {0xFF, 0xD8, 0xFF, 0xFE, 0, 3, 0, 0xFF, 0xD9, 0x12, 0x34}, "Unexpected end of JPEG (no image data).\n", false},
        {"APP0 not JFIF", patched(good, 0xE0, 7, {'X'}), "Can read only JFIF-format.\n", true},
        {"progressive", test::encodeJpeg(recipe(k420, [](JpegRecipe& s) { s.progressive = true; })),
         "There have to be SOF0 before SOS.\n", false},
        {"scan count", patched(good, 0xDA, 4, {2}), "Different number of components in SOS and SOF0.\n", true},
        {"scan id", patched(good, 0xDA, 5, {9}), "Different component id in SOS and SOF0.\n", true},
        {"qtable", patched(good, 0xC0, 12, {2}), "Not all qtables defined.\nNot all qtables defined.\n", false},
        {"huffman", patched(good, 0xDA, 6, {0x22}), "Not all huffmans defined.\n", false},
        {"scan table index", patched(good, 0xDA, 6, {0x40}), "Corrupt JPEG data: bad Huffman table index.\n", false},
        {"short length", patched(good, 0xDB, 2, {0, 1}), "Corrupt JPEG data: bad segment length.\n", false},
        {"zero width", patched(good, 0xC0, 7, {0, 0}), "Unsupported JPEG frame: bad size or component count.\n", false},
        {"sampling 0", patched(good, 0xC0, 11, {0x10}), "Unsupported JPEG frame: bad sampling factor or table index.\n", false},
        {"overfull code", patched(good, 0xC4, 5, {3, 1, 2}), "Corrupt JPEG data: bad Huffman table.\n", false},
        {"DC size above 11", patched(good, 0xC4, 21, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12}),
         "Corrupt JPEG data: bad Huffman code.\n", true},
        {"truncated data", Bytes(good.begin(), good.end() - 40), "Corrupt JPEG data: the image data ends too early.\n", true},
        {"missing restart", patched(restarts, 0xD1, 1, {0xD9}), "Corrupt JPEG data: restart marker expected.\n", true},
        {"more than the data holds", patched(good, 0xC0, 5, {0x10, 0, 0x10, 0}),
         "Corrupt JPEG data: " + std::to_string(scanDataBytes(good)) + " bytes of image data cannot hold a 4096x4096 image.\n", false},
        {"too large", test::encodeJpeg(recipe({{1, 1}}, [](JpegRecipe& s) { s.width = 16385, s.height = 8; })),
         "JPEG image too large.\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RgbJpegSink sink;
        EXPECT_EQ(decodeCapturing(c.bytes, sink), c.output);
        EXPECT_EQ(sink.begun(), c.began);
        std::unique_ptr<unsigned char[]> pixels(sink.takePixels());
        EXPECT_TRUE(!c.began || pixels[4 * (sink.width() * sink.height() - 1) + 3] == 255);  // filled black
    }
    testing::internal::CaptureStdout();  // every cut short of the end marker is incomplete
    for (std::size_t length = 0; length + 2 < restarts.size(); ++length) {
        RgbJpegSink sink;
        EXPECT_FALSE(decodeJpeg(restarts.data(), length, sink)) << length;
    }
    testing::internal::GetCapturedStdout();
}

}  // namespace
}  // namespace demo
