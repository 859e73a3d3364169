// Bitmap fonts on a headless context: slots, a glyph's list drawn and read
// back as pixels, and what initFonts frees.

#include "graphics/opengl/bitmap_font.h"

#include <gtest/gtest.h>


#include "graphics/opengl/vector_font.h"
#include "tests/support/font_writers.h"
#include "tests/support/texture_fixture.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

// Texel (x, y) of a 4 x 4 image, y counted from the file's first row.
std::array<int, 3> texel(int x, int y) { return {40 + 60 * x, 40 + 60 * y, 100}; }

class BitmapFont : public test::HeadlessGLTest {};

TEST_F(BitmapFont, LoadsDrawsAndFreesGlyphs) {
    test::Bytes planes(48);
    for (int i = 0; i < 48; ++i) planes[i] = std::uint8_t(texel(i % 4, i / 4 % 4)[i / 16]);
    std::array<GlyphRect, 256> glyphs{};
    glyphs['B'] = {0.5f, 0.5f, 0.5f, 0.5f};  // the top right quarter
    glyphs['C'].h = 0.75f;
    const auto path = test::freshScratchDir("bitmap_font") / "a.bmf";
    test::writeBytes(path, test::bmfBytes(glyphs, test::sgiBytes(4, 4, 3, planes, true)));
    for (int slot : {0, 1}) EXPECT_EQ(loadBitmapFont(path.c_str()), slot);
    EXPECT_EQ(bitmapFontMaxHeight[1], 0.75f);
    selectBitmapFont(0);
    for (int n : {5, -1, 256}) selectBitmapFont(n);
    EXPECT_EQ(currentBitmapFont, 0);

    // The glyph fills the viewport at 32 pixels a texel; the file's first row is at the bottom.
    glViewport(0, 0, 64, 64);
    test::loadOrtho(0, 0.5, 0, 0.5);
    for (GLenum state : {GL_CULL_FACE, GL_DEPTH_TEST, GL_LIGHTING, GL_BLEND}) glDisable(state);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, bitmapFontImageTexture[0]);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glCallList(bitmapFontListBase[0] + 'B');
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], 0.501f, 1e-6);  // width and gap
    for (auto [x, y] : {std::pair{16, 16}, {48, 16}, {16, 48}, {48, 48}}) {
        auto want = texel(2 + x / 32, 2 + y / 32);
        for (int i : {0, 1, 2}) EXPECT_NEAR(test::readPixel(x, y)[i], want[i], 6) << x << "," << y;
    }
    glDisable(GL_TEXTURE_2D);

    const GLuint texture = bitmapFontImageTexture[1], list = bitmapFontListBase[1];
    initFonts();
    EXPECT_FALSE(glIsTexture(texture) || glIsList(list + 'C'));
    EXPECT_EQ((std::array{currentBitmapFont, int(bitmapFontUsed[1])}), (std::array{-1, 0}));
}

}  // namespace
}  // namespace demo
