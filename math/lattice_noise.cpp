#include "math/lattice_noise.h"

#include <cmath>
#include <ctime>
#include <utility>

#include "math/rand_sequence.h"

namespace demo {

LatticeNoise::LatticeNoise(std::uint32_t seed) : perm(permSize) {
    srand(seed != 0 ? seed : static_cast<std::uint32_t>(std::time(nullptr)));
    for (int i = 0; i < permSize; ++i) perm[i] = static_cast<std::uint16_t>(i);
    for (int i = 0; i < permSize; ++i) std::swap(perm[i], perm[rand() & 0xFFF]);
    for (int i = 0; i < valueCount; ++i) values[i] = (rand() & 0xFFFF) * (1.0f / 32768.0f) - 1.0f;
}

float LatticeNoise::corner(int i, int j, int k, float dx, float dy, float dz) const {
    const int a = perm[i & 255];
    const int b = perm[(j & 255) ^ a];
    const int h = perm[(k & 255) ^ b] & 255;
    return 0.5f * values[h] + dx * values[h + 1] + dy * values[h + 2] + dz * values[h + 3];
}

namespace {
// The shifted coordinate is kept in double: stored as a float, x + 10000 would
// quantise the fraction to steps of 1/1024. The cell is the floor, so negative
// coordinates are placed correctly too, and its index is reduced modulo 256
// before the integer conversion, so no finite coordinate overflows.
struct Cell {
    int index;
    float fraction;
};

Cell cellOf(float x) {
    const double shifted = static_cast<double>(x) + 10000.0;
    const double floored = std::floor(shifted);
    return {static_cast<int>(std::fmod(floored, 256.0)), static_cast<float>(shifted - floored)};
}

float fade(float f) { return f * f * (3.0f - 2.0f * f); }
}  // namespace

float LatticeNoise::value(float x, float y, float z) const {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return 0.0f;
    const Cell cx = cellOf(x), cy = cellOf(y), cz = cellOf(z);
    const int ix = cx.index, iy = cy.index, iz = cz.index;
    const float fx = cx.fraction, fy = cy.fraction, fz = cz.fraction;
    const float sx = fade(fx), sy = fade(fy), sz = fade(fz);
    const float gx = fx - 1.0f, gy = fy - 1.0f, gz = fz - 1.0f;

    auto alongX = [&](int j, int k, float dy, float dz) {
        return corner(ix, j, k, fx, dy, dz) * (1.0f - sx) + corner(ix + 1, j, k, gx, dy, dz) * sx;
    };
    const float c00 = alongX(iy, iz, fy, fz);
    const float c10 = alongX(iy + 1, iz, gy, fz);
    const float c01 = alongX(iy, iz + 1, fy, gz);
    const float c11 = alongX(iy + 1, iz + 1, gy, gz);
    return (1.0f - sz) * ((1.0f - sy) * c00 + sy * c10) + sz * ((1.0f - sy) * c01 + sy * c11);
}

}  // namespace demo
