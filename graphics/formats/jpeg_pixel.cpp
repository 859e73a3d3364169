#include "graphics/formats/jpeg_pixel.h"

#include <bit>
#include <cstring>

#include "graphics/formats/jpeg_color_tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace demo {
namespace {

// trunc(factor x v) for v in -128..127 as sign(v) x ((2|v| x k) >> 16), the
// form that 16-bit vector lanes compute; equal to the colour tables for
// every v (checked below). The green factors are negative: subtract.
constexpr int kRedFromCr = 45941, kGreenFromCb = 11278, kGreenFromCr = 23400, kBlueFromCb = 58065;

constexpr int term(int v, int k) {
    int magnitude = ((v < 0 ? -v : v) * 2 * k) >> 16;
    return v < 0 ? -magnitude : magnitude;
}

constexpr bool termsMatchTables() {
    for (int v = -128; v < 128; ++v) {
        if (term(v, kRedFromCr) != kJpegColorTables.redFromCr[v + 128] ||
            -term(v, kGreenFromCb) != kJpegColorTables.greenFromCb[v + 128] ||
            -term(v, kGreenFromCr) != kJpegColorTables.greenFromCr[v + 128] ||
            term(v, kBlueFromCb) != kJpegColorTables.blueFromCb[v + 128])
            return false;
    }
    return true;
}
static_assert(termsMatchTables());

inline int clampInt(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

inline void putPixel(unsigned char* out, int r, int g, int b, int a) {
    out[0] = static_cast<unsigned char>(r);
    out[1] = static_cast<unsigned char>(g);
    out[2] = static_cast<unsigned char>(b);
    out[3] = static_cast<unsigned char>(a);
}

inline void colourPixel(int y, int cb, int cr, int a, unsigned char* out) {
    int level = y + 128;
    cb = clampInt(cb, -128, 127);
    cr = clampInt(cr, -128, 127);
    putPixel(out, clampInt(level + term(cr, kRedFromCr), 0, 255),
             clampInt(level - term(cb, kGreenFromCb) - term(cr, kGreenFromCr), 0, 255),
             clampInt(level + term(cb, kBlueFromCb), 0, 255), a);
}

#if defined(__SSE2__)
inline __m128i vectorTerm(__m128i v, int k) {
    __m128i sign = _mm_srai_epi16(v, 15);
    __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(v, sign), sign);
    __m128i product = _mm_mulhi_epu16(_mm_slli_epi16(magnitude, 1), _mm_set1_epi16(static_cast<short>(k)));
    return _mm_sub_epi16(_mm_xor_si128(product, sign), sign);
}

inline __m128i load8(const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Eight pixels from bytes r, g, b, a in the low halves.
inline void store8(unsigned char* out, __m128i r, __m128i g, __m128i b, __m128i a) {
    __m128i rg = _mm_unpacklo_epi8(r, g), ba = _mm_unpacklo_epi8(b, a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(rg, ba));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(rg, ba));
}
#endif

}  // namespace

void greyRowToRgba(const std::int16_t* y, int count, unsigned char* out) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i offset = _mm_set1_epi16(128), alpha = _mm_set1_epi8(127);
    for (; i + 8 <= count; i += 8) {
        __m128i level = _mm_packus_epi16(_mm_adds_epi16(load8(y + i), offset), offset);
        store8(out + 4 * i, level, level, level, alpha);
    }
#endif
    for (; i < count; ++i) {
        int level = clampInt(y[i] + 128, 0, 255);
        putPixel(out + 4 * i, level, level, level, 127);
    }
}

void colourRowToRgba(const std::int16_t* y, const std::int16_t* cb, const std::int16_t* cr,
                     const std::int16_t* alpha, int count, unsigned char* out) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i offset = _mm_set1_epi16(128), low = _mm_set1_epi16(-128), high = _mm_set1_epi16(127);
    for (; i + 8 <= count; i += 8) {
        __m128i level = _mm_adds_epi16(load8(y + i), offset);
        __m128i b = _mm_min_epi16(_mm_max_epi16(load8(cb + i), low), high);
        __m128i r = _mm_min_epi16(_mm_max_epi16(load8(cr + i), low), high);
        __m128i red = _mm_adds_epi16(level, vectorTerm(r, kRedFromCr));
        __m128i green = _mm_subs_epi16(_mm_subs_epi16(level, vectorTerm(b, kGreenFromCb)),
                                       vectorTerm(r, kGreenFromCr));
        __m128i blue = _mm_adds_epi16(level, vectorTerm(b, kBlueFromCb));
        __m128i a = alpha == nullptr ? _mm_set1_epi8(-1)
                                     : _mm_packus_epi16(_mm_adds_epi16(load8(alpha + i), offset), offset);
        store8(out + 4 * i, _mm_packus_epi16(red, red), _mm_packus_epi16(green, green),
               _mm_packus_epi16(blue, blue), a);
    }
#endif
    for (; i < count; ++i) {
        int a = alpha == nullptr ? 255 : clampInt(alpha[i] + 128, 0, 255);
        colourPixel(y[i], cb[i], cr[i], a, out + 4 * i);
    }
}

}  // namespace demo
