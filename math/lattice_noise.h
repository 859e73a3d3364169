#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace demo {

// Smooth 3-D noise of the gradient-plus-value kind: each lattice corner has a
// random constant and gradient, blended with a cubic fade. The lattice repeats
// every 256 units on each axis. Construction reseeds the process-wide rand
// sequence (rand_sequence.h) and draws the tables from it.
class LatticeNoise {
public:
    // Seed 0 seeds from the clock.
    explicit LatticeNoise(std::uint32_t seed);

    float value(float x, float y, float z) const;

    static constexpr int valueCount = 259;  // 256 hashes + 3, a corner reads four from its hash
    static constexpr int permSize = 4096;

private:
    float corner(int i, int j, int k, float dx, float dy, float dz) const;

    std::array<float, valueCount> values{};
    std::vector<std::uint16_t> perm;
};

}  // namespace demo
