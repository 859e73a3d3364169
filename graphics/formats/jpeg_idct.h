#pragma once
// The integer inverse DCT of 8 x 8 sample blocks (13-bit fixed-point
// constants, columns then rows, no rounding, no clamping, no level shift).

#include <cstdint>

namespace demo {

// coefficients: 64 dequantised coefficients in natural (row-major) order.
// samples: 64 samples centred at 0. May be the same array.
// Vectorised where the processor allows; idct8x8Portable is the plain
// version with the same results.
void idct8x8(const std::int32_t* coefficients, std::int32_t* samples);
void idct8x8Portable(const std::int32_t* coefficients, std::int32_t* samples);

// The same result for a block whose only non-zero coefficient is the DC.
inline void idct8x8DcOnly(std::int32_t dc, std::int32_t* samples) {
    // Columns give dc * 4, rows shift that right by 5 (wrapping as the full path does).
    std::int32_t value = static_cast<std::int32_t>(static_cast<std::uint32_t>(dc) * 4u) >> 5;
    for (int i = 0; i < 64; ++i) samples[i] = value;
}

}  // namespace demo
