#include "math/lattice_noise.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace demo {
namespace {

TEST(LatticeNoise, SeedDecidesAndPeriodIs256OnEachAxis) {
    const LatticeNoise noise(7), same(7), other(8);
    std::mt19937 gen(1);
    std::uniform_int_distribution<int> sixtyFourths(-64 * 300, 64 * 300);
    int differ = 0;
    for (int i = 0; i < 2000; ++i) {
        const float x = sixtyFourths(gen) / 64.0f, y = sixtyFourths(gen) / 64.0f, z = sixtyFourths(gen) / 64.0f;
        const float v = noise.value(x, y, z);
        ASSERT_EQ(v, same.value(x, y, z));
        differ += v != other.value(x, y, z);
        ASSERT_EQ(v, noise.value(x + 256, y, z));
        ASSERT_EQ(v, noise.value(x, y - 256, z));
        ASSERT_EQ(v, noise.value(x, y, z + 512));
    }
    EXPECT_GT(differ, 1000);
}

// Floored cells also below the shift, nothing but finite values, and frozen samples.
TEST(LatticeNoise, FiniteEverywhereAndFrozenSamples) {
    const LatticeNoise noise(1234);
    for (float v : {-1e30f, -20000.5f, -10000.25f, 1e30f, 3.4e38f}) EXPECT_TRUE(std::isfinite(noise.value(v, 0.5f, 0.25f))) << v;
    EXPECT_EQ(noise.value(-20000.5f, 1, 2), noise.value(-20000.5f + 256 * 10, 1, 2));
    EXPECT_EQ(0.0f, noise.value(std::nanf(""), 0, 0));
    for (auto [x, y, z, v] : {std::array{0.0f, 0.0f, 0.0f, -0.495407104f}, {0.5f, 0.25f, 0.75f, -0.0720720738f},
                              {-3.3f, 17.8f, 100.1f, -0.125290424f}, {123.456f, -78.9f, 0.001f, -0.41512531f},
                              {-12000.75f, 5.5f, -0.5f, -0.461353064f}})
        EXPECT_FLOAT_EQ(v, noise.value(x, y, z));
}

}  // namespace
}  // namespace demo
