#include "graphics/formats/bmf_reader.h"

#include <cstdio>
#include <cstring>

#include "manager/binary_reader.h"

namespace demo {

namespace {

constexpr std::size_t kGlyphTableOffset = 99;  // after the magic and the 96-byte name

float readFloat(BinaryReader& in) {
    std::uint32_t bits = in.read4();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

int parseBitmapFont(const unsigned char* data, std::size_t size, BitmapFontFile& font) {
    if (size >= 3 && std::memcmp(data, "BMF", 3) != 0) return -1;
    if (size < kBmfImageOffset) {
        std::printf("Error reading font file: unexpected end of file\n");
        return -1;
    }
    BinaryReader in(data + kGlyphTableOffset, kBmfImageOffset - kGlyphTableOffset);
    for (GlyphRect& glyph : font.glyphs) {
        glyph.u = readFloat(in);
        glyph.v = readFloat(in);
        glyph.w = readFloat(in);
        glyph.h = readFloat(in);
    }
    return decodeSgiImage(data, size, kBmfImageOffset, font.image) ? 0 : -1;
}

std::unique_ptr<unsigned char[]> makeFontMask(const unsigned char* rgba, int width, int height) {
    const std::size_t bytes = std::size_t(width) * height * 4;
    auto mask = std::make_unique<unsigned char[]>(bytes);
    for (std::size_t i = 0; i < bytes; i += 4) {
        const bool black = rgba[i] == 0 && rgba[i + 1] == 0 && rgba[i + 2] == 0;
        const unsigned char value = black ? 255 : 0;
        mask[i] = mask[i + 1] = mask[i + 2] = value;
        mask[i + 3] = 0;
    }
    return mask;
}

}  // namespace demo
