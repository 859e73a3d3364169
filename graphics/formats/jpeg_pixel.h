#pragma once
// The pixel arithmetic of the JPEG sinks, on whole rows. Samples are
// narrowed to 16 bits with saturation, which changes no clamped result.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace demo {

inline int clampToByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// A luminance sample + 128, limited so that adding any chroma term cannot
// overflow while every clamped result stays the same.
inline int lumaLevel(std::int32_t sample) {
    return sample < -1024 ? -896 : (sample > 1024 ? 1152 : static_cast<int>(sample) + 128);
}

// out[i] = in[i / stretch] saturated to 16 bits, for i < count; stretch 1 or 2.
inline void narrowSamples(const std::int32_t* in, int count, int stretch, std::int16_t* out) {
    int i = 0;
#if defined(__SSE2__)
    if (stretch == 1) {
        for (; i + 8 <= count; i += 8) {
            __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packs_epi32(low, high));
        }
    } else {
        for (; i + 8 <= count; i += 8) {
            __m128i narrow = _mm_packs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i / 2)),
                                             _mm_setzero_si128());
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi16(narrow, narrow));
        }
    }
#endif
    for (; i < count; ++i) {
        std::int32_t v = in[i / stretch];
        out[i] = static_cast<std::int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
    }
}

// A whole row of a unit: h blocks of 8 samples from in (blocks 64 apart),
// each sample stretch times (1 or 2) into out.
inline void narrowUnitRow(const std::int32_t* in, int h, int stretch, std::int16_t* out) {
#if defined(__SSE2__)
    for (int b = 0; b < h; ++b, in += 64) {
        __m128i narrow = _mm_packs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4)));
        if (stretch == 1) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), narrow);
            out += 8;
        } else {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(narrow, narrow));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi16(narrow, narrow));
            out += 16;
        }
    }
#else
    for (int b = 0; b < h; ++b) narrowSamples(in + 64 * b, 8 * stretch, stretch, out + 8 * stretch * b);
#endif
}

// count pixels of 4 bytes: R = G = B = clamp(y + 128), A = 127.
void greyRowToRgba(const std::int16_t* y, int count, unsigned char* out);

// count pixels of 4 bytes from luminance and chroma samples through the
// colour tables (chroma limited to -128..127 first, luminance not limited
// before the chroma terms are added); A = clamp(alpha + 128), or 255
// without alpha.
void colourRowToRgba(const std::int16_t* y, const std::int16_t* cb, const std::int16_t* cr,
                     const std::int16_t* alpha, int count, unsigned char* out);

}  // namespace demo
