#pragma once

#include <cstdint>

namespace demo {

// The process-wide MT19937 generator of the effects. Seeding differs from the
// later reference initialisation: the seed is made odd and the state filled by
// x = x * 69069. Unseeded, the first draw seeds with 4357, so a show plays the
// same every time.

namespace detail {
struct RandomState {
    static constexpr int size = 624;
    std::uint32_t state[size];
    int left = -1;            // words still unread since the last reload; -1 before first use
    std::uint32_t* next = state;
    bool seeded = false;
};
inline RandomState randomState;

constexpr std::uint32_t temper(std::uint32_t y) {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    return y ^ (y >> 18);
}
}  // namespace detail

inline constexpr std::uint32_t defaultRandomSeed = 4357;

// Restarts the sequence; seeds s and s | 1 give the same sequence.
void seedRandom(std::uint32_t seed);

// Regenerates the state (seeding with 4357 if never seeded) and returns the
// first tempered word of the new block.
std::uint32_t nextRandomWord();

// Draws the next word of the sequence.
inline std::uint32_t drawRandomWord() {
    detail::RandomState& s = detail::randomState;
    if (--s.left < 0) return nextRandomWord();
    return detail::temper(*s.next++);
}

// A number in [0, 1) with a step of 2^-32; double, so it can never round to 1.
inline double randomFloat() { return drawRandomWord() * 2.3283064365386963e-10; }

}  // namespace demo
