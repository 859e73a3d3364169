#include "graphics/formats/glf_reader.h"

#include <cstdio>
#include <cstring>

#include "graphics/formats/file_bytes.h"
#include "manager/binary_reader.h"

namespace demo {

namespace {

constexpr std::size_t kNameLength = 96;
constexpr std::size_t kReservedLength = 28;

float readFloat(BinaryReader& in) {
    std::uint32_t bits = in.read4();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool indicesBelow(const std::vector<std::uint8_t>& indices, unsigned limit) {
    for (std::uint8_t index : indices) {
        if (index >= limit) return false;
    }
    return true;
}

std::unique_ptr<VectorSymbol> readSymbol(BinaryReader& in, std::uint8_t vertexCount,
                                         std::uint8_t facetCount, std::uint8_t lineCount) {
    auto symbol = std::make_unique<VectorSymbol>();
    symbol->vertexCount = vertexCount;
    symbol->facetCount = facetCount;
    symbol->lineCount = lineCount;
    symbol->vertices.resize(2u * vertexCount);
    for (unsigned i = 0; i < vertexCount; ++i) {
        float x = readFloat(in);
        float y = readFloat(in);
        symbol->vertices[2 * i] = x;
        symbol->vertices[2 * i + 1] = y;
        if (x < symbol->minX) symbol->minX = x;
        if (x > symbol->maxX) symbol->maxX = x;
        if (y < symbol->minY) symbol->minY = y;
        if (y > symbol->maxY) symbol->maxY = y;
    }
    symbol->facets.resize(3u * facetCount);
    in.read(symbol->facets.size(), symbol->facets.data());
    symbol->lineEnds.resize(lineCount);
    in.read(symbol->lineEnds.size(), symbol->lineEnds.data());
    return symbol;
}

int fail(VectorFont* font, const char* reason) {
    for (auto& symbol : font->symbols) symbol.reset();
    std::printf("Error reading font file: %s\n", reason);
    return -1;
}

}  // namespace

int parseVectorFont(const unsigned char* data, std::size_t size, VectorFont* font) {
    for (auto& symbol : font->symbols) symbol.reset();
    BinaryReader in(data, size);
    try {
        char magic[3];
        in.read(sizeof magic, magic);
        if (std::memcmp(magic, "GLF", 3) != 0) return fail(font, "incorrect file format");
        in.read(kNameLength, font->name);
        font->name[kNameLength] = '\0';
        font->symbolCount = in.read1();
        in.skip(kReservedLength);
        for (unsigned i = 0; i < font->symbolCount; ++i) {
            std::uint8_t code = in.read1();
            std::uint8_t vertexCount = in.read1();
            std::uint8_t facetCount = in.read1();
            std::uint8_t lineCount = in.read1();
            if (font->symbols[code]) return fail(font, "encountered symbols in font");
            auto symbol = readSymbol(in, vertexCount, facetCount, lineCount);
            // Indices past the vertices would be read out of bounds when drawn.
            if (!indicesBelow(symbol->facets, vertexCount) ||
                !indicesBelow(symbol->lineEnds, vertexCount)) {
                return fail(font, "vertex index out of range");
            }
            font->symbols[code] = std::move(symbol);
        }
    } catch (const BinaryReaderException&) {
        return fail(font, "unexpected end of file");
    }
    return 0;
}

int readVectorFont(const char* fileName, VectorFont* font) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(fileName, bytes)) return -1;
    return parseVectorFont(bytes.data(), bytes.size(), font);
}

}  // namespace demo
