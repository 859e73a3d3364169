#pragma once
// Small GLF, BMF and SGI files for the font and image tests, and the byte
// edits that make them malformed.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/formats/bmf_reader.h"

namespace demo::test {

using Bytes = std::vector<unsigned char>;

inline void putLittleEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(value >> shift));
}

inline void putFloat(Bytes& out, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putLittleEndian32(out, bits);
}

// Overwrites count bytes at offset with value, most significant byte first.
inline void setBigEndian(Bytes& bytes, std::size_t offset, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes.at(offset + i) = std::uint8_t(value >> 8 * (count - 1 - i));
}

struct GlfSymbol {
    unsigned char code;
    std::vector<float> vertices;        // x, y pairs
    std::vector<unsigned char> facets;  // three vertex indices per triangle
    std::vector<unsigned char> lineEnds;
};

// A square from (-half, -half) to (half, half), two counter-clockwise triangles.
inline GlfSymbol squareSymbol(unsigned char code, float half = 1.0f) {
    return {code, {-half, -half, half, -half, half, half, -half, half}, {0, 1, 2, 0, 2, 3}, {3}};
}

inline Bytes glfBytes(const std::vector<GlfSymbol>& symbols, const std::string& name = "test") {
    Bytes out = {'G', 'L', 'F'};
    std::string padded = name;
    padded.resize(96, '\0');
    out.insert(out.end(), padded.begin(), padded.end());
    out.push_back(std::uint8_t(symbols.size()));
    out.resize(128, 0);
    for (const GlfSymbol& s : symbols) {
        out.insert(out.end(), {s.code, std::uint8_t(s.vertices.size() / 2),
                               std::uint8_t(s.facets.size() / 3), std::uint8_t(s.lineEnds.size())});
        for (float v : s.vertices) putFloat(out, v);
        out.insert(out.end(), s.facets.begin(), s.facets.end());
        out.insert(out.end(), s.lineEnds.begin(), s.lineEnds.end());
    }
    return out;
}

// An SGI image; planes holds channel after channel, each height rows of width
// bytes, bottom row first. Encoded rows are literal packets of up to 127 bytes.
inline Bytes sgiBytes(int width, int height, int channels, const Bytes& planes, bool encoded) {
    Bytes out(512, 0);
    setBigEndian(out, 0, 474, 2);
    out[2] = encoded ? 1 : 0;
    out[3] = 1;
    setBigEndian(out, 4, 3, 2);
    setBigEndian(out, 6, width, 2);
    setBigEndian(out, 8, height, 2);
    setBigEndian(out, 10, channels, 2);
    if (!encoded) {
        out.insert(out.end(), planes.begin(), planes.end());
        return out;
    }
    const std::size_t rows = std::size_t(height) * std::max(channels, 1);  // 0 is read as 1
    out.resize(512 + rows * 8, 0);
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t start = out.size();
        for (std::size_t x = 0; x < std::size_t(width); x += 127) {
            const std::size_t n = std::min<std::size_t>(127, width - x);
            out.push_back(std::uint8_t(0x80 | n));
            auto row = planes.begin() + r * width + x;
            out.insert(out.end(), row, row + n);
        }
        out.push_back(0);
        setBigEndian(out, 512 + 4 * r, std::uint32_t(start), 4);
        setBigEndian(out, 512 + 4 * (rows + r), std::uint32_t(out.size() - start), 4);
    }
    return out;
}

inline Bytes bmfBytes(const std::array<GlyphRect, 256>& glyphs, const Bytes& sgi) {
    Bytes out = {'B', 'M', 'F'};
    out.resize(99, 0);
    for (const GlyphRect& g : glyphs) {
        for (float v : {g.u, g.v, g.w, g.h}) putFloat(out, v);
    }
    out.insert(out.end(), sgi.begin(), sgi.end());
    return out;
}

inline void writeBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace demo::test
