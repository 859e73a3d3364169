// BMF bitmap fonts from bytes: the little-endian glyph table, the image after
// it, the mask, and hostile files.

#include "graphics/formats/bmf_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/font_writers.h"

namespace demo {
namespace {

using test::Bytes;

std::array<GlyphRect, 256> someGlyphs() {
    std::array<GlyphRect, 256> glyphs{};
    glyphs['A'] = {0.25f, 0.5f, 0.125f, 0.0625f};
    glyphs[255] = {1.0f, -2.0f, 3.5f, 1e-3f};
    return glyphs;
}

int parse(const Bytes& bytes, BitmapFontFile& font, std::string& message) {
    testing::internal::CaptureStdout();
    int result = parseBitmapFont(bytes.data(), bytes.size(), font);
    message = testing::internal::GetCapturedStdout();
    return result;
}

TEST(BmfReader, ReadsTheGlyphTableAndTheImageAfterIt) {
    // Encoded rows: their starts count from the image, not from the font file.
    Bytes file = test::bmfBytes(someGlyphs(), test::sgiBytes(2, 2, 1, {0, 200, 5, 6}, true));
    BitmapFontFile font;
    std::string message;
    ASSERT_EQ(parse(file, font, message), 0) << message;
    EXPECT_EQ(message, "");
    for (int c : {int('A'), 255, 0}) {
        const GlyphRect& got = font.glyphs[c];
        const GlyphRect want = someGlyphs()[c];
        EXPECT_EQ((std::array{got.u, got.v, got.w, got.h}),
                  (std::array{want.u, want.v, want.w, want.h}));
    }
    ASSERT_EQ(font.image.width, 2);
    const Bytes rgba(font.image.rgba.get(), font.image.rgba.get() + 16);
    EXPECT_EQ(rgba, (Bytes{0, 0, 0, 255, 200, 200, 200, 255, 5, 5, 5, 255, 6, 6, 6, 255}));

    auto mask = makeFontMask(font.image.rgba.get(), 2, 1);
    EXPECT_EQ(Bytes(mask.get(), mask.get() + 8), (Bytes{255, 255, 255, 0, 0, 0, 0, 0}));
}

TEST(BmfReader, RefusesOtherFilesSilentlyAndEveryTruncationWithAMessage) {
    Bytes whole = test::bmfBytes(someGlyphs(), test::sgiBytes(3, 2, 2, Bytes(12, 9), true));
    BitmapFontFile font;
    std::string message;
    Bytes glf = whole;
    glf[0] = 'G', glf[1] = 'L';
    EXPECT_EQ(parse(glf, font, message), -1);
    EXPECT_EQ(message, "");
    for (std::size_t size = 0; size < whole.size(); ++size) {
        Bytes cut(whole.begin(), whole.begin() + size);
        ASSERT_EQ(parse(cut, font, message), -1) << size;
        ASSERT_NE(message.find("unexpected end of file"), std::string::npos) << size;
    }
}

}  // namespace
}  // namespace demo
