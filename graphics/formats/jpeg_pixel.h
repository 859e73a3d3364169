#pragma once
// Small helpers the JPEG sinks share.

#include <cstdint>

namespace demo {

inline int clampToByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// A sample as a colour-table index: sample + 128, limited to 0..255.
inline int chromaIndex(std::int32_t sample) {
    return sample < -128 ? 0 : (sample > 127 ? 255 : static_cast<int>(sample) + 128);
}

// A luminance sample + 128, limited so that adding any chroma term cannot
// overflow while every clamped result stays the same.
inline int lumaLevel(std::int32_t sample) {
    return sample < -1024 ? -896 : (sample > 1024 ? 1152 : static_cast<int>(sample) + 128);
}

}  // namespace demo
