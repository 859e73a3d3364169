#pragma once
// Small GLF, BMF and SGI files for the font and image tests; tests make them
// malformed by cutting or editing bytes.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "graphics/formats/bmf_reader.h"

namespace demo::test {

using Bytes = std::vector<unsigned char>;
static_assert(std::endian::native == std::endian::little, "the writers copy host floats");

inline void append(Bytes& out, const void* data, std::size_t count) {
    auto* bytes = static_cast<const unsigned char*>(data);
    out.insert(out.end(), bytes, bytes + count);
}

// Overwrites count bytes at offset with value, most significant byte first.
inline void setBigEndian(Bytes& bytes, std::size_t offset, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes.at(offset + i) = std::uint8_t(value >> 8 * (count - 1 - i));
}

struct GlfSymbol {
    unsigned char code;
    std::vector<float> xy;
    Bytes facets, lineEnds;
};

// A square from (-1, -1) to (1, 1), two counter-clockwise triangles.
inline GlfSymbol square(unsigned char code) {
    return {code, {-1, -1, 1, -1, 1, 1, -1, 1}, {0, 1, 2, 0, 2, 3}, {3}};
}

inline Bytes glfBytes(const std::vector<GlfSymbol>& symbols) {
    Bytes out = {'G', 'L', 'F'};
    out.resize(99);
    out.push_back(std::uint8_t(symbols.size()));
    out.resize(128);
    for (const GlfSymbol& s : symbols) {
        out.insert(out.end(), {s.code, std::uint8_t(s.xy.size() / 2),
                               std::uint8_t(s.facets.size() / 3), std::uint8_t(s.lineEnds.size())});
        append(out, s.xy.data(), 4 * s.xy.size());
        out.insert(out.end(), s.facets.begin(), s.facets.end());
        out.insert(out.end(), s.lineEnds.begin(), s.lineEnds.end());
    }
    return out;
}

// planes: channel after channel, each height rows of width bytes, bottom row
// first. Encoded rows are literal packets of up to 127 bytes.
inline Bytes sgiBytes(int width, int height, int channels, const Bytes& planes, bool encoded) {
    Bytes out(512);  // magic, storage and bytes a channel, dimensions, sizes
    const int fields[] = {474, encoded << 8 | 1, 3, width, height, channels};
    for (int i = 0; i < 6; ++i) setBigEndian(out, 2 * i, fields[i], 2);
    if (!encoded) return append(out, planes.data(), planes.size()), out;
    const std::size_t rows = std::size_t(height) * std::max(channels, 1);  // 0 is read as 1
    out.resize(512 + rows * 8);
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; x += 127) {
            out.push_back(std::uint8_t(0x80 | std::min(127, width - x)));
            append(out, &planes[r * width + x], std::min(127, width - x));
        }
        out.push_back(0);
        setBigEndian(out, 512 + 4 * r, std::uint32_t(start), 4);
        setBigEndian(out, 512 + 4 * (rows + r), std::uint32_t(out.size() - start), 4);
    }
    return out;
}

inline Bytes bmfBytes(const std::array<GlyphRect, 256>& glyphs, const Bytes& sgi) {
    Bytes out = {'B', 'M', 'F'};
    out.resize(99);
    append(out, glyphs.data(), sizeof glyphs);
    return append(out, sgi.data(), sgi.size()), out;
}

}  // namespace demo::test
