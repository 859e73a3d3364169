#include "graphics/formats/jpeg_pixel.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/formats/jpeg_color_tables.h"
#include "graphics/formats/jpeg_idct.h"

namespace demo {
namespace {

int clampInt(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

// Rows of every chroma pair (beyond -128..127 too) at luminance levels from
// far below black to far above white equal the colour tables term by term.
TEST(JpegPixel, ColourRowsEqualTheColourTables) {
    const JpegColorTables& t = kJpegColorTables;
    std::vector<std::int16_t> y(281), cb(281), cr(281), alpha(281);
    std::vector<unsigned char> out(281 * 4);
    int mismatches = 0;
    for (int level : {-32768, -1000, -200, -128, -3, 0, 77, 127, 300, 32767}) {
        for (int b = -140; b <= 140; ++b) {
            for (int i = 0; i < 281; ++i) {
                y[i] = static_cast<std::int16_t>(level);
                cb[i] = static_cast<std::int16_t>(b);
                cr[i] = static_cast<std::int16_t>(i - 140);
                alpha[i] = static_cast<std::int16_t>(level + i);
            }
            colourRowToRgba(y.data(), cb.data(), cr.data(), b % 2 ? alpha.data() : nullptr, 281, out.data());
            for (int i = 0; i < 281; ++i) {
                int u = clampInt(b, -128, 127) + 128, v = clampInt(i - 140, -128, 127) + 128;
                int expected[4] = {clampInt(level + 128 + t.redFromCr[v], 0, 255),
                                   clampInt(level + 128 + t.greenFromCb[u] + t.greenFromCr[v], 0, 255),
                                   clampInt(level + 128 + t.blueFromCb[u], 0, 255),
                                   b % 2 ? clampInt(alpha[i] + 128, 0, 255) : 255};
                for (int c = 0; c < 4; ++c) mismatches += out[4 * i + c] != expected[c];
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(JpegPixel, GreyRowsAndNarrowingSaturate) {
    const std::int32_t samples[11] = {-100000, -129, -128, -1, 0, 1, 126, 127, 128, 40000, 5};
    std::int16_t narrow[22];
    narrowSamples(samples, 11, 1, narrow);
    narrowSamples(samples, 22, 2, narrow);
    const std::int16_t expected[11] = {-32768, -129, -128, -1, 0, 1, 126, 127, 128, 32767, 5};
    for (int i = 0; i < 22; ++i) EXPECT_EQ(narrow[i], expected[i / 2]) << i;
    unsigned char out[22 * 4];
    greyRowToRgba(narrow, 22, out);
    for (int i = 0; i < 22; ++i) {
        int level = clampInt(expected[i / 2] + 128, 0, 255);
        EXPECT_EQ(out[4 * i], level);
        EXPECT_EQ(out[4 * i + 2], level);
        EXPECT_EQ(out[4 * i + 3], 127);
    }
}

// The vector inverse DCT equals the plain one on blocks that overflow as
// well as on ordinary ones, DC-only columns and rows included.
TEST(JpegPixel, VectorIdctEqualsThePlainOne) {
    std::uint32_t state = 12345;
    auto next = [&] { return state = state * 1664525u + 1013904223u; };
    int mismatches = 0;
    for (int round = 0; round < 2000; ++round) {
        std::int32_t block[64] = {};
        int magnitude = round % 4 == 0 ? 1 << 30 : (round % 4 == 1 ? 2048 : 64);
        int filled = round % 5 == 0 ? 1 : static_cast<int>(next() % 64);
        for (int i = 0; i < filled; ++i) {
            std::int32_t value = static_cast<std::int32_t>(next() % (2u * magnitude)) - magnitude;
            block[round % 3 == 0 ? (next() % 8) * 8 : next() % 64] = value;  // column 0 only, or anywhere
        }
        std::int32_t fast[64], plain[64];
        idct8x8(block, fast);
        idct8x8Portable(block, plain);
        for (int i = 0; i < 64; ++i) mismatches += fast[i] != plain[i];
        if (filled == 1 && block[0] != 0) {
            bool dcOnly = true;
            for (int i = 1; i < 64; ++i) dcOnly = dcOnly && block[i] == 0;
            if (dcOnly) {
                idct8x8DcOnly(block[0], fast);
                for (int i = 0; i < 64; ++i) mismatches += fast[i] != plain[i];
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace demo
