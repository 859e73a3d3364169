#pragma once
// GLF vector fonts: per character a set of 2D triangles around the origin.
// All multi-byte values are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace demo {

struct VectorSymbol {
    std::uint8_t vertexCount = 0;
    std::uint8_t facetCount = 0;
    std::uint8_t lineCount = 0;
    std::vector<float> vertices;         // x, y of each vertex
    std::vector<std::uint8_t> facets;    // three vertex indices per triangle
    std::vector<std::uint8_t> lineEnds;  // last vertex of each outline loop
    // A symbol without vertices keeps these starting bounds.
    float minX = 10.0f, maxX = -10.0f, minY = 10.0f, maxY = -10.0f;
};

struct VectorFont {
    char name[97] = {};
    std::uint8_t symbolCount = 0;
    std::array<std::unique_ptr<VectorSymbol>, 256> symbols;  // by unsigned character code
};

// Fills font from a GLF file's bytes: 0, or -1 after printing the reason on
// standard output. A failed parse leaves the font without symbols.
int parseVectorFont(const unsigned char* data, std::size_t size, VectorFont* font);

// The same for a file opened by path: -1 without a message when it cannot be opened.
int readVectorFont(const char* fileName, VectorFont* font);

}  // namespace demo
