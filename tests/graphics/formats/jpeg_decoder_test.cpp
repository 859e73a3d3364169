#include "graphics/formats/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/formats/rgb_jpeg_sink.h"
#include "tests/support/test_jpeg.h"

namespace demo {
namespace {

using test::JpegSpec;
using Bytes = std::vector<unsigned char>;

// Every block the decoder hands over, placed in its component's block grid.
class RecordingSink : public JpegSink {
public:
    struct Plane {
        int h = 0, v = 0, blocksWide = 0;
        std::vector<std::int32_t> samples;
        const std::int32_t* block(int row, int column) const {
            return samples.data() + (static_cast<std::size_t>(row) * blocksWide + column) * 64;
        }
    };

    bool begin(int width, int height, const JpegComponent* components, int count, int unitWidth,
               int unitHeight) override {
        int across = (width + unitWidth - 1) / unitWidth, down = (height + unitHeight - 1) / unitHeight;
        for (int i = 0; i < count; ++i) {
            Plane plane{components[i].h, components[i].v, across * components[i].h, {}};
            plane.samples.resize(static_cast<std::size_t>(plane.blocksWide) * down * plane.v * 64);
            planes.push_back(plane);
        }
        unitW = unitWidth;
        unitH = unitHeight;
        return true;
    }
    void write(const JpegComponent* components, int count, int x, int y, int, int) override {
        for (int i = 0; i < count; ++i) {
            Plane& plane = planes[i];
            for (int b = 0; b < plane.h * plane.v; ++b) {
                int row = y / unitH * plane.v + b / plane.h, column = x / unitW * plane.h + b % plane.h;
                std::copy_n(components[i].blocks + 64 * b, 64,
                            plane.samples.begin() + (static_cast<std::ptrdiff_t>(row) * plane.blocksWide + column) * 64);
            }
        }
        ++units;
    }

    std::vector<Plane> planes;
    int unitW = 0, unitH = 0, units = 0;
};

// The inverse DCT exactly as written down, in 64-bit arithmetic.
void referenceIdct(std::int64_t* b) {
    auto pass = [](std::int64_t* p, int stride, int shift, bool columns) {
        std::int64_t c[8];
        for (int i = 0; i < 8; ++i) c[i] = p[i * stride];
        if (!(c[1] | c[2] | c[3] | c[4] | c[5] | c[6] | c[7])) {
            for (int i = 0; i < 8; ++i) p[i * stride] = columns ? c[0] * 4 : c[0] >> 5;
            return;
        }
        std::int64_t z1 = (c[2] + c[6]) * 4433, t2 = z1 - c[6] * 15137, t3 = z1 + c[2] * 6270;
        std::int64_t t0 = (c[0] + c[4]) * 8192, t1 = (c[0] - c[4]) * 8192;
        std::int64_t t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;
        std::int64_t a = c[7], bb = c[5], cc = c[3], d = c[1];
        std::int64_t y1 = (a + d) * -7373, y2 = (bb + cc) * -20995, y5 = (a + bb + cc + d) * 9633;
        std::int64_t y3 = y5 - (a + cc) * 16069, y4 = y5 - (bb + d) * 3196;
        std::int64_t T0 = a * 2446 + y1 + y3, T1 = bb * 16819 + y2 + y4;
        std::int64_t T2 = cc * 25172 + y2 + y3, T3 = d * 12299 + y1 + y4;
        std::int64_t out[8] = {t10 + T3, t11 + T2, t12 + T1, t13 + T0,
                               t13 - T0, t12 - T1, t11 - T2, t10 - T3};
        for (int i = 0; i < 8; ++i) p[i * stride] = out[i] >> shift;
    };
    for (int i = 0; i < 8; ++i) pass(b + i, 8, 11, true);
    for (int i = 0; i < 8; ++i) pass(b + 8 * i, 1, 18, false);
}

std::string decodeCapturing(const Bytes& bytes, JpegSink& sink, bool* complete = nullptr) {
    testing::internal::CaptureStdout();
    bool done = decodeJpeg(bytes.data(), bytes.size(), sink);
    if (complete != nullptr) *complete = done;
    return testing::internal::GetCapturedStdout();
}

JpegSpec sampled(std::initializer_list<std::pair<int, int>> factors) {
    JpegSpec spec;
    spec.components = static_cast<int>(factors.size());
    int i = 0;
    for (auto [h, v] : factors) {
        spec.sampling[i][0] = h;
        spec.sampling[i][1] = v;
        ++i;
    }
    return spec;
}

JpegSpec with(JpegSpec spec, void (*change)(JpegSpec&)) {
    change(spec);
    return spec;
}

struct ExactCase {
    const char* name;
    JpegSpec spec;
    const char* messages;
};

TEST(JpegDecoder, BlocksEqualLibjpegCoefficientsThroughTheIntegerIdct) {
    const JpegSpec s420 = sampled({{2, 2}, {1, 1}, {1, 1}});
    const ExactCase cases[] = {
        {"4:4:4", sampled({{1, 1}, {1, 1}, {1, 1}}), ""},
        {"4:2:2", sampled({{2, 1}, {1, 1}, {1, 1}}), ""},
        {"4:2:0", s420, ""},
        {"4:4:0", sampled({{1, 2}, {1, 1}, {1, 1}}), ""},
        {"all 2x1", sampled({{2, 1}, {2, 1}, {2, 1}}), ""},
        {"grey 1x1", sampled({{1, 1}}), ""},
        {"grey 2x2", sampled({{2, 2}}), ""},
        {"restart 1", with(s420, [](JpegSpec& s) { s.restartInterval = 1; }), ""},
        {"restart 3", with(s420, [](JpegSpec& s) { s.restartInterval = 3; }), ""},
        {"restart 4 grey", with(sampled({{1, 1}}), [](JpegSpec& s) { s.restartInterval = 4; }), ""},
        {"custom tables", with(s420, [](JpegSpec& s) { s.quantScale = 1; }), ""},
        {"16-bit tables", with(s420, [](JpegSpec& s) { s.quantScale = 5; }), ""},
        {"quality 100", with(s420, [](JpegSpec& s) { s.quality = 100; }), ""},
        {"optimised Huffman", with(s420, [](JpegSpec& s) { s.optimize = true; }), ""},
        {"ids 1-4", sampled({{2, 2}, {1, 1}, {1, 1}, {2, 2}}), ""},
        {"no JFIF", with(s420, [](JpegSpec& s) { s.jfif = false; }), ""},
        {"APP1", with(s420, [](JpegSpec& s) { s.app1 = true; }), "Unidentified segment marker.\n"},
        {"1x1", with(s420, [](JpegSpec& s) { s.width = s.height = 1; }), ""},
        {"17x9", with(s420, [](JpegSpec& s) { s.width = 17; s.height = 9; }), ""},
        {"173x131", with(s420, [](JpegSpec& s) { s.width = 173; s.height = 131; s.restartInterval = 7; }), ""},
    };
    for (const ExactCase& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = test::encodeJpeg(c.spec);
        RecordingSink sink;
        bool complete = false;
        EXPECT_EQ(decodeCapturing(bytes, sink, &complete), c.messages);
        ASSERT_TRUE(complete);

        jpeg_decompress_struct cinfo;
        jpeg_error_mgr error;
        cinfo.err = jpeg_std_error(&error);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
        jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
        ASSERT_EQ(static_cast<int>(sink.planes.size()), cinfo.num_components);
        int mismatches = 0;
        for (int ci = 0; ci < cinfo.num_components; ++ci) {
            const jpeg_component_info& info = cinfo.comp_info[ci];
            for (JDIMENSION row = 0; row < info.height_in_blocks; ++row) {
                JBLOCKARRAY line = (*cinfo.mem->access_virt_barray)(
                    reinterpret_cast<j_common_ptr>(&cinfo), arrays[ci], row, 1, FALSE);
                for (JDIMENSION column = 0; column < info.width_in_blocks; ++column) {
                    std::int64_t expected[64];
                    for (int k = 0; k < 64; ++k)
                        expected[k] = static_cast<std::int64_t>(line[0][column][k]) * info.quant_table->quantval[k];
                    referenceIdct(expected);
                    const std::int32_t* got = sink.planes[ci].block(static_cast<int>(row), static_cast<int>(column));
                    for (int k = 0; k < 64; ++k) mismatches += got[k] != expected[k];
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
    }
}

TEST(JpegDecoder, PixelsMatchLibjpegWithinRounding) {
    const struct {
        const char* name;
        JpegSpec spec;
    } cases[] = {
        {"4:4:4", with(sampled({{1, 1}, {1, 1}, {1, 1}}), [](JpegSpec& s) { s.quality = 75; })},
        {"4:2:2", sampled({{2, 1}, {1, 1}, {1, 1}})},
        {"4:2:0", with(sampled({{2, 2}, {1, 1}, {1, 1}}), [](JpegSpec& s) { s.width = 173; s.height = 131; })},
        {"4:4:0", sampled({{1, 2}, {1, 1}, {1, 1}})},
        {"grey", with(sampled({{1, 1}}), [](JpegSpec& s) { s.width = 61; s.height = 35; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = test::encodeJpeg(c.spec);
        int width = 0, height = 0, channels = 0;
        Bytes expected = test::decodeWithLibjpeg(bytes, width, height, channels);
        RgbJpegSink sink;
        EXPECT_EQ(decodeCapturing(bytes, sink), "");
        ASSERT_EQ(sink.width(), width);
        ASSERT_EQ(sink.height(), height);
        std::unique_ptr<unsigned char[]> pixels(sink.takePixels());
        int worst = 0;
        double sum = 0;  // signed: the truncating IDCT and colour terms run about 1 low
        std::size_t count = static_cast<std::size_t>(width) * height;
        for (std::size_t i = 0; i < count; ++i) {
            for (int ch = 0; ch < 3; ++ch) {
                int diff = pixels[4 * i + ch] - expected[i * channels + (channels == 1 ? 0 : ch)];
                worst = std::max(worst, std::abs(diff));
                sum += diff;
            }
            EXPECT_EQ(pixels[4 * i + 3], channels == 1 ? 127 : 255);
        }
        EXPECT_LE(worst, channels == 1 ? 1 : 4);
        EXPECT_LE(std::abs(sum / (3.0 * count)), 1.0);
    }
}

std::size_t findMarker(const Bytes& bytes, unsigned char code) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == code) return i;
    ADD_FAILURE() << "no marker " << int{code};
    return 0;
}

Bytes patched(Bytes bytes, unsigned char marker, std::size_t offset, std::initializer_list<int> values) {
    std::size_t at = findMarker(bytes, marker) + offset;
    for (int v : values) bytes.at(at++) = static_cast<unsigned char>(v);
    return bytes;
}

TEST(JpegDecoder, ReportsEachProblemOnItsOwnLine) {
    const JpegSpec colour = sampled({{2, 2}, {1, 1}, {1, 1}});
    const Bytes good = test::encodeJpeg(colour);
    const Bytes restarts = test::encodeJpeg(with(colour, [](JpegSpec& s) { s.restartInterval = 1; }));
    Bytes afterRestart = restarts;  // the second restart marker turned into an end of image
    afterRestart[findMarker(Bytes(restarts.begin() + findMarker(restarts, 0xD0) + 2, restarts.end()), 0xD1) +
                 findMarker(restarts, 0xD0) + 3] = 0xD9;
    const struct {
        const char* name;
        Bytes bytes;
        const char* output;
        bool began;
    } cases[] = {
        {"not a JPEG", {'G', 'I', 'F', '8'}, "This is not jpeg-file.\n", false},
        {"empty", {}, "This is not jpeg-file.\n", false},
        {"12-bit", patched(good, 0xC0, 4, {12}), "Other than 8 bits/sample precision not supported.\n", true},
        {"end before scan", {0xFF, 0xD8, 0xFF, 0xD9, 0, 2}, "Unexpected end of JPEG (no image data).\n", false},
        {"no more segments", {0xFF, 0xD8}, "Unexpected end of JPEG (no image data).\n", false},
        {"APP0 not JFIF", patched(good, 0xE0, 7, {'X'}), "Can read only JFIF-format.\n", true},
        {"progressive", test::encodeJpeg(with(colour, [](JpegSpec& s) { s.progressive = true; })),
         "There have to be SOF0 before SOS.\n", false},
        {"arithmetic", test::encodeJpeg(with(colour, [](JpegSpec& s) { s.arithmetic = true; })),
         "There have to be SOF0 before SOS.\n", false},
        {"scan count", patched(good, 0xDA, 4, {2}), "Different number of components in SOS and SOF0.\n", true},
        {"scan id", patched(good, 0xDA, 5, {9}), "Different component id in SOS and SOF0.\n", true},
        {"qtable", patched(good, 0xC0, 12, {2}), "Not all qtables defined.\n", false},
        {"huffman", patched(good, 0xDA, 6, {0x22}), "Not all huffmans defined.\n", false},
        {"scan table index", patched(good, 0xDA, 6, {0x40}), "Corrupt JPEG data: bad Huffman table index.\n", false},
        {"short length", patched(good, 0xDB, 2, {0, 1}), "Corrupt JPEG data: bad segment length.\n", false},
        {"length past end", patched(good, 0xDB, 2, {0xFF, 0xF0}), "Corrupt JPEG data: bad segment length.\n", false},
        {"zero width", patched(good, 0xC0, 7, {0, 0}), "Unsupported JPEG frame: bad size or component count.\n", false},
        {"five components", patched(good, 0xC0, 9, {5}), "Unsupported JPEG frame: bad size or component count.\n", false},
        {"sampling 0", patched(good, 0xC0, 11, {0x10}), "Unsupported JPEG frame: bad sampling factor or table index.\n", false},
        {"sampling 5", patched(good, 0xC0, 11, {0x51}), "Unsupported JPEG frame: bad sampling factor or table index.\n", false},
        {"qtable index 4", patched(good, 0xC0, 12, {4}), "Unsupported JPEG frame: bad sampling factor or table index.\n", false},
        {"overfull Huffman code", patched(good, 0xC4, 5, {3, 1, 2}), "Corrupt JPEG data: bad Huffman table.\n", false},
        {"Huffman counts past payload", patched(good, 0xC4, 20, {200}), "Corrupt JPEG data: bad Huffman table.\n", false},
        {"DC size above 11", patched(good, 0xC4, 21, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12}),
         "Corrupt JPEG data: bad Huffman code.\n", true},
        {"truncated data", Bytes(good.begin(), good.end() - 40), "Corrupt JPEG data: the image data ends too early.\n", true},
        {"missing restart", afterRestart, "Corrupt JPEG data: restart marker expected.\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RgbJpegSink sink;
        EXPECT_EQ(decodeCapturing(c.bytes, sink), c.output);
        EXPECT_EQ(sink.begun(), c.began);
    }
}

TEST(JpegDecoder, SurvivesEveryTruncationAndByteFlip) {
    JpegSpec spec = sampled({{2, 2}, {1, 1}, {1, 1}});
    spec.width = 33;
    spec.height = 17;
    spec.restartInterval = 2;
    const Bytes bytes = test::encodeJpeg(spec);
    testing::internal::CaptureStdout();
    int complete = 0;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        RgbJpegSink sink;
        complete += decodeJpeg(bytes.data(), length, sink);
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        for (unsigned char flip : {0x01, 0x10, 0x80, 0xFF}) {
            Bytes broken = bytes;
            broken[at] ^= flip;
            RgbJpegSink sink;
            decodeJpeg(broken.data(), broken.size(), sink);
        }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_LE(complete, 2);  // only without the final bytes of the end marker
}

}  // namespace
}  // namespace demo
