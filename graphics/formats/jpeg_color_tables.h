#pragma once
// YCbCr to RGB terms for chroma samples -128..127 (index sample + 128), each
// the factor times the sample truncated toward zero.

#include <array>
#include <cstdint>

namespace demo {

struct JpegColorTables {
    std::array<std::int32_t, 256> redFromCr;
    std::array<std::int32_t, 256> greenFromCb;
    std::array<std::int32_t, 256> greenFromCr;
    std::array<std::int32_t, 256> blueFromCb;
};

constexpr JpegColorTables makeJpegColorTables() {
    JpegColorTables tables{};
    for (int v = -128; v < 128; ++v) {
        tables.redFromCr[v + 128] = static_cast<std::int32_t>(1.402 * v);
        tables.greenFromCb[v + 128] = static_cast<std::int32_t>(-0.34414 * v);
        tables.greenFromCr[v + 128] = static_cast<std::int32_t>(-0.71414 * v);
        tables.blueFromCb[v + 128] = static_cast<std::int32_t>(1.772 * v);
    }
    return tables;
}

inline constexpr JpegColorTables kJpegColorTables = makeJpegColorTables();

}  // namespace demo
