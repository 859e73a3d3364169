#include "graphics/formats/jpeg_idct.h"

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

}  // namespace

void idct8x8(const std::int32_t* coefficients, std::int32_t* samples) {
    Word in[64], work[64];
    for (int i = 0; i < 64; ++i) in[i] = static_cast<Word>(coefficients[i]);
    for (int column = 0; column < 8; ++column) pass<11>(in + column, 8, work + column, 8);
    Word out[64];
    for (int row = 0; row < 8; ++row) pass<18>(work + row * 8, 1, out + row * 8, 1);
    for (int i = 0; i < 64; ++i) samples[i] = static_cast<std::int32_t>(out[i]);
}

}  // namespace demo
