#pragma once
// BMF bitmap fonts: a little-endian table of 256 glyph rectangles followed by
// an SGI RGB image (big-endian) that holds the glyphs.

#include <array>
#include <cstddef>
#include <memory>

#include "graphics/formats/sgi_image_reader.h"

namespace demo {

// In texture coordinates: (u, v) is the corner drawn at the origin, w and h the size.
struct GlyphRect {
    float u = 0, v = 0, w = 0, h = 0;
};

struct BitmapFontFile {
    std::array<GlyphRect, 256> glyphs;
    SgiImage image;
};

// Where the image starts; its own offsets count from there.
inline constexpr std::size_t kBmfImageOffset = 4195;

// 0, or -1: silently for a file that is not a BMF font, after printing the
// reason on standard output otherwise.
int parseBitmapFont(const unsigned char* data, std::size_t size, BitmapFontFile& font);

// Per pixel: (255, 255, 255, 0) where R, G and B are all 0, else (0, 0, 0, 0).
std::unique_ptr<unsigned char[]> makeFontMask(const unsigned char* rgba, int width, int height);

}  // namespace demo
