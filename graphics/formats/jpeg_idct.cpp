#include "graphics/formats/jpeg_idct.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define JPEG_IDCT_AVX2 1
#endif

namespace demo {
namespace {

// Unsigned arithmetic wraps where hostile coefficients overflow; valid data
// never does, and the shifts are taken on the signed value.
using Word = std::uint32_t;

constexpr Word k0_298 = 2446, k0_390 = 3196, k0_541 = 4433, k0_765 = 6270, k0_899 = 7373,
               k1_175 = 9633, k1_501 = 12299, k1_847 = 15137, k1_961 = 16069, k2_053 = 16819,
               k2_562 = 20995, k3_072 = 25172;

// One 8-point pass over in[0], in[stride], ... into out[0], out[stride], ...
template <int Shift>
inline void pass(const Word* in, int inStride, Word* out, int outStride) {
    Word c0 = in[0], c1 = in[inStride], c2 = in[2 * inStride], c3 = in[3 * inStride],
         c4 = in[4 * inStride], c5 = in[5 * inStride], c6 = in[6 * inStride],
         c7 = in[7 * inStride];
    auto put = [&](int i, Word v) {
        out[i * outStride] = static_cast<Word>(static_cast<std::int32_t>(v) >> Shift);
    };
    if ((c1 | c2 | c3 | c4 | c5 | c6 | c7) == 0) {
        // A DC-only column is c0 x 4, a DC-only row c0 >> 5.
        Word dc = Shift == 11 ? c0 * 4u : static_cast<Word>(static_cast<std::int32_t>(c0) >> 5);
        for (int i = 0; i < 8; ++i) out[i * outStride] = dc;
        return;
    }
    Word z1 = (c2 + c6) * k0_541;
    Word t2 = z1 - c6 * k1_847;
    Word t3 = z1 + c2 * k0_765;
    Word t0 = (c0 + c4) * 8192u;
    Word t1 = (c0 - c4) * 8192u;
    Word t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;

    Word a = c7, b = c5, c = c3, d = c1;
    Word y1 = (a + d) * (0u - k0_899);
    Word y2 = (b + c) * (0u - k2_562);
    Word y5 = (a + b + c + d) * k1_175;
    Word y3 = y5 - (a + c) * k1_961;
    Word y4 = y5 - (b + d) * k0_390;
    Word T0 = a * k0_298 + y1 + y3;
    Word T1 = b * k2_053 + y2 + y4;
    Word T2 = c * k3_072 + y2 + y3;
    Word T3 = d * k1_501 + y1 + y4;
    put(0, t10 + T3);
    put(1, t11 + T2);
    put(2, t12 + T1);
    put(3, t13 + T0);
    put(4, t13 - T0);
    put(5, t12 - T1);
    put(6, t11 - T2);
    put(7, t10 - T3);
}

void idctScalar(const std::int32_t* coefficients, std::int32_t* samples) {
    Word in[64], work[64];
    for (int i = 0; i < 64; ++i) in[i] = static_cast<Word>(coefficients[i]);
    for (int column = 0; column < 8; ++column) pass<11>(in + column, 8, work + column, 8);
    Word out[64];
    for (int row = 0; row < 8; ++row) pass<18>(work + row * 8, 1, out + row * 8, 1);
    for (int i = 0; i < 64; ++i) samples[i] = static_cast<std::int32_t>(out[i]);
}

#if JPEG_IDCT_AVX2
// The same passes on eight lanes at once: lane i is column i in the first
// pass and row i in the second; lanes whose AC terms are all zero take the
// DC-only value, as the scalar pass does.
#define JPEG_AVX2 __attribute__((target("avx2")))

JPEG_AVX2 inline __m256i mul(__m256i v, int k) { return _mm256_mullo_epi32(v, _mm256_set1_epi32(k)); }

template <int Shift>
JPEG_AVX2 inline void vectorPass(__m256i* c) {
    __m256i ac = _mm256_or_si256(_mm256_or_si256(_mm256_or_si256(c[1], c[2]), _mm256_or_si256(c[3], c[4])),
                                 _mm256_or_si256(_mm256_or_si256(c[5], c[6]), c[7]));
    __m256i dcOnly = _mm256_cmpeq_epi32(ac, _mm256_setzero_si256());
    __m256i dc = Shift == 11 ? _mm256_slli_epi32(c[0], 2) : _mm256_srai_epi32(c[0], 5);

    __m256i z1 = mul(_mm256_add_epi32(c[2], c[6]), static_cast<int>(k0_541));
    __m256i t2 = _mm256_sub_epi32(z1, mul(c[6], static_cast<int>(k1_847)));
    __m256i t3 = _mm256_add_epi32(z1, mul(c[2], static_cast<int>(k0_765)));
    __m256i t0 = _mm256_slli_epi32(_mm256_add_epi32(c[0], c[4]), 13);
    __m256i t1 = _mm256_slli_epi32(_mm256_sub_epi32(c[0], c[4]), 13);
    __m256i t10 = _mm256_add_epi32(t0, t3), t13 = _mm256_sub_epi32(t0, t3);
    __m256i t11 = _mm256_add_epi32(t1, t2), t12 = _mm256_sub_epi32(t1, t2);

    __m256i a = c[7], b = c[5], cc = c[3], d = c[1];
    __m256i y1 = mul(_mm256_add_epi32(a, d), -static_cast<int>(k0_899));
    __m256i y2 = mul(_mm256_add_epi32(b, cc), -static_cast<int>(k2_562));
    __m256i y5 = mul(_mm256_add_epi32(_mm256_add_epi32(a, b), _mm256_add_epi32(cc, d)), static_cast<int>(k1_175));
    __m256i y3 = _mm256_sub_epi32(y5, mul(_mm256_add_epi32(a, cc), static_cast<int>(k1_961)));
    __m256i y4 = _mm256_sub_epi32(y5, mul(_mm256_add_epi32(b, d), static_cast<int>(k0_390)));
    __m256i T0 = _mm256_add_epi32(mul(a, static_cast<int>(k0_298)), _mm256_add_epi32(y1, y3));
    __m256i T1 = _mm256_add_epi32(mul(b, static_cast<int>(k2_053)), _mm256_add_epi32(y2, y4));
    __m256i T2 = _mm256_add_epi32(mul(cc, static_cast<int>(k3_072)), _mm256_add_epi32(y2, y3));
    __m256i T3 = _mm256_add_epi32(mul(d, static_cast<int>(k1_501)), _mm256_add_epi32(y1, y4));
    __m256i out[8] = {_mm256_add_epi32(t10, T3), _mm256_add_epi32(t11, T2), _mm256_add_epi32(t12, T1),
                      _mm256_add_epi32(t13, T0), _mm256_sub_epi32(t13, T0), _mm256_sub_epi32(t12, T1),
                      _mm256_sub_epi32(t11, T2), _mm256_sub_epi32(t10, T3)};
    for (int i = 0; i < 8; ++i) c[i] = _mm256_blendv_epi8(_mm256_srai_epi32(out[i], Shift), dc, dcOnly);
}

JPEG_AVX2 inline void transpose(__m256i* r) {
    __m256i a0 = _mm256_unpacklo_epi32(r[0], r[1]), a1 = _mm256_unpackhi_epi32(r[0], r[1]);
    __m256i a2 = _mm256_unpacklo_epi32(r[2], r[3]), a3 = _mm256_unpackhi_epi32(r[2], r[3]);
    __m256i a4 = _mm256_unpacklo_epi32(r[4], r[5]), a5 = _mm256_unpackhi_epi32(r[4], r[5]);
    __m256i a6 = _mm256_unpacklo_epi32(r[6], r[7]), a7 = _mm256_unpackhi_epi32(r[6], r[7]);
    __m256i b0 = _mm256_unpacklo_epi64(a0, a2), b1 = _mm256_unpackhi_epi64(a0, a2);
    __m256i b2 = _mm256_unpacklo_epi64(a1, a3), b3 = _mm256_unpackhi_epi64(a1, a3);
    __m256i b4 = _mm256_unpacklo_epi64(a4, a6), b5 = _mm256_unpackhi_epi64(a4, a6);
    __m256i b6 = _mm256_unpacklo_epi64(a5, a7), b7 = _mm256_unpackhi_epi64(a5, a7);
    r[0] = _mm256_permute2x128_si256(b0, b4, 0x20);
    r[1] = _mm256_permute2x128_si256(b1, b5, 0x20);
    r[2] = _mm256_permute2x128_si256(b2, b6, 0x20);
    r[3] = _mm256_permute2x128_si256(b3, b7, 0x20);
    r[4] = _mm256_permute2x128_si256(b0, b4, 0x31);
    r[5] = _mm256_permute2x128_si256(b1, b5, 0x31);
    r[6] = _mm256_permute2x128_si256(b2, b6, 0x31);
    r[7] = _mm256_permute2x128_si256(b3, b7, 0x31);
}

JPEG_AVX2 void idctAvx2(const std::int32_t* coefficients, std::int32_t* samples) {
    __m256i rows[8];
    for (int i = 0; i < 8; ++i)
        rows[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(coefficients + 8 * i));
    vectorPass<11>(rows);
    transpose(rows);
    vectorPass<18>(rows);
    transpose(rows);
    for (int i = 0; i < 8; ++i) _mm256_storeu_si256(reinterpret_cast<__m256i*>(samples + 8 * i), rows[i]);
}

using Idct = void (*)(const std::int32_t*, std::int32_t*);
// Chosen during static initialisation, hence the explicit processor probe.
const Idct chosenIdct = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? idctAvx2 : idctScalar;
}();
#endif

}  // namespace

void idct8x8(const std::int32_t* coefficients, std::int32_t* samples) {
#if JPEG_IDCT_AVX2
    chosenIdct(coefficients, samples);
#else
    idctScalar(coefficients, samples);
#endif
}

void idct8x8Portable(const std::int32_t* coefficients, std::int32_t* samples) {
    idctScalar(coefficients, samples);
}

}  // namespace demo
