// Bitmap fonts on a headless context: slots, the compiled glyph lists drawn
// and read back as pixels, the mask texture, and what initFonts frees.

#include "graphics/opengl/bitmap_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "graphics/opengl/vector_font.h"
#include "tests/support/font_writers.h"
#include "tests/support/headless_gl.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

constexpr int kSize = 64;

// A 4 x 4 image; texel (x, y), y counted from the file's first row, is
// (40 + 60x, 40 + 60y, 100) but black at (0, 0).
std::array<int, 3> texel(int x, int y) {
    if (x == 0 && y == 0) return {0, 0, 0};
    return {40 + 60 * x, 40 + 60 * y, 100};
}

test::Bytes imageFile() {
    test::Bytes planes(4 * 4 * 3);
    for (int c = 0; c < 3; ++c) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) planes[(c * 4 + y) * 4 + x] = std::uint8_t(texel(x, y)[c]);
        }
    }
    return test::sgiBytes(4, 4, 3, planes, true);
}

class BitmapFontTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(test::openHeadlessDisplay(display_, kSize, kSize));
        auto dir = test::freshScratchDir("bitmap_font");
        std::array<GlyphRect, 256> glyphs{};
        glyphs['A'] = {0.25f, 0.5f, 0.125f, 0.0625f};
        glyphs['B'] = {0.5f, 0.5f, 0.5f, 0.5f};  // the top right quarter
        first_ = (dir / "first.bmf").string();
        test::writeBytes(first_, test::bmfBytes(glyphs, imageFile()));
        glyphs['C'] = {0.0f, 0.0f, 0.25f, 0.75f};
        second_ = (dir / "second.bmf").string();
        test::writeBytes(second_, test::bmfBytes(glyphs, imageFile()));
        test::Bytes cut = test::bmfBytes(glyphs, imageFile());
        cut.resize(cut.size() - 1);
        truncated_ = (dir / "truncated.bmf").string();
        test::writeBytes(truncated_, cut);
    }
    static void TearDownTestSuite() { destroyDisplay(display_); }
    void SetUp() override { initFonts(); }
    void TearDown() override { initFonts(); }

    static inline DisplayPair display_;
    static inline std::string first_, second_, truncated_;
};

TEST_F(BitmapFontTest, LoadsIntoFreeSlotsWithTheirTallestGlyph) {
    EXPECT_EQ(loadBitmapFont(first_.c_str()), 0);
    EXPECT_EQ(loadBitmapFont(second_.c_str()), 1);
    EXPECT_EQ(currentBitmapFont, 1);
    EXPECT_FLOAT_EQ(bitmapFontMaxHeight[0], 0.5f);
    EXPECT_FLOAT_EQ(bitmapFontMaxHeight[1], 0.75f);
    EXPECT_FLOAT_EQ(bitmapFontWidths[0]['B'], 0.5f);
    EXPECT_FLOAT_EQ(bitmapGlyphTable['C'].h, 0.75f);  // the last font's table
    selectBitmapFont(0);
    for (int n : {5, -1, 256}) selectBitmapFont(n);
    EXPECT_EQ(currentBitmapFont, 0);

    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBitmapFont(truncated_.c_str()), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error reading SGI image: unexpected end of file\n");
    EXPECT_EQ(loadBitmapFont("no/such/font.bmf"), -1);
    EXPECT_EQ(bitmapFontUsed[2], 0);

    std::fill_n(bitmapFontUsed + 2, kBitmapFontSlots - 2, 1);  // every slot taken
    EXPECT_EQ(loadBitmapFont(first_.c_str()), -1);
    std::fill_n(bitmapFontUsed + 2, kBitmapFontSlots - 2, 0);
    EXPECT_EQ(currentBitmapFont, 0);

    const GLuint texture = bitmapFontImageTexture[1], mask = bitmapFontMaskTexture[1];
    const GLuint list = bitmapFontListBase[1];
    initFonts();
    EXPECT_FALSE(glIsTexture(texture) || glIsTexture(mask) || glIsList(list + 'C'));
    EXPECT_EQ(bitmapFontWidths[1], nullptr);
    EXPECT_EQ(currentBitmapFont, -1);
}

TEST_F(BitmapFontTest, GlyphListsDrawTheirTexelsAndMoveOn) {
    const int slot = loadBitmapFont(first_.c_str());
    ASSERT_EQ(slot, 0);
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 0.5, 0, 0.5, -1, 1);  // 128 pixels a unit
    glMatrixMode(GL_MODELVIEW);
    for (GLenum state : {GL_CULL_FACE, GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND}) glDisable(state);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, bitmapFontImageTexture[slot]);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    struct Case {
        unsigned char glyph;
        float advance;
        std::array<int, 2> at, outside;  // a pixel inside the glyph and one past it
        std::array<int, 2> texel;        // {-1, -1}: a blend of texels, only not black
    } cases[] = {
        // 16 x 8 pixels between texel centres.
        {'A', 0.126f, {1, 1}, {17, 4}, {-1, -1}},
        {'A', 0.126f, {14, 6}, {7, 9}, {-1, -1}},
        // The whole viewport, 32 pixels a texel; the file's first row is at the bottom.
        {'B', 0.501f, {16, 16}, {-1, -1}, {2, 2}},
        {'B', 0.501f, {48, 16}, {-1, -1}, {3, 2}},
        {'B', 0.501f, {16, 48}, {-1, -1}, {2, 3}},
        {'B', 0.501f, {48, 48}, {-1, -1}, {3, 3}},
    };
    for (const Case& c : cases) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        glCallList(bitmapFontListBase[slot] + c.glyph);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_NEAR(m[12], c.advance, 1e-6) << c.glyph;
        auto pixel = test::readPixel(c.at[0], c.at[1]);
        if (c.texel[0] < 0) {
            EXPECT_GT(pixel[0] + pixel[1] + pixel[2], 150) << c.glyph;
        } else {
            const auto want = texel(c.texel[0], c.texel[1]);
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(pixel[i], want[i], 6) << c.glyph << " " << i;
        }
        if (c.outside[0] >= 0) {
            EXPECT_EQ(test::readPixel(c.outside[0], c.outside[1]), (std::array{0, 0, 0, 255}));
        }
    }
    glDisable(GL_TEXTURE_2D);

    // The mask: black texels white, the rest black.
    unsigned char mask[4 * 4 * 4];
    glBindTexture(GL_TEXTURE_2D, bitmapFontMaskTexture[slot]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, mask);
    EXPECT_EQ((std::array{mask[0], mask[1], mask[2], mask[3]}),
              (std::array<unsigned char, 4>{255, 255, 255, 255}));  // no alpha stored
    EXPECT_EQ(mask[4], 0);
    EXPECT_EQ(std::count(mask, mask + sizeof mask, 255), 4 + 15);  // one white texel, 16 alphas
}

}  // namespace
}  // namespace demo
