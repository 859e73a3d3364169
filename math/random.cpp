#include "math/random.h"

namespace demo {

namespace {
constexpr int N = detail::RandomState::size;
constexpr int M = 397;
constexpr std::uint32_t matrixA = 0x9908B0DFu;

constexpr std::uint32_t twist(std::uint32_t upper, std::uint32_t lower, std::uint32_t far) {
    const std::uint32_t y = (upper & 0x80000000u) | (lower & 0x7FFFFFFFu);
    return far ^ (y >> 1) ^ ((lower & 1u) ? matrixA : 0u);
}
}  // namespace

void seedRandom(std::uint32_t seed) {
    detail::RandomState& s = detail::randomState;
    std::uint32_t x = seed | 1u;
    s.state[0] = x;
    for (int i = 1; i < N; ++i) {
        x *= 69069u;
        s.state[i] = x;
    }
    s.left = 0;
    s.seeded = true;
}

std::uint32_t nextRandomWord() {
    detail::RandomState& s = detail::randomState;
    if (!s.seeded) seedRandom(defaultRandomSeed);
    s.left = N - 1;
    s.next = s.state + 1;

    // The standard recurrence, regenerated in place in index order.
    std::uint32_t* st = s.state;
    int i = 0;
    for (; i < N - M; ++i) st[i] = twist(st[i], st[i + 1], st[i + M]);
    for (; i < N - 1; ++i) st[i] = twist(st[i], st[i + 1], st[i + M - N]);
    st[N - 1] = twist(st[N - 1], st[0], st[M - 1]);
    return detail::temper(st[0]);
}

}  // namespace demo
