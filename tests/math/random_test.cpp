#include "math/random.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "math/rand_sequence.h"

namespace demo {
namespace {

// Runs first in this executable: nothing has drawn from the generator yet.
TEST(Random, UnseededFirstDrawEqualsSeed4357) {
    const double unseeded = randomFloat();
    seedRandom(4357);
    EXPECT_EQ(unseeded, randomFloat());
}

TEST(Random, Seed4357FirstWords) {
    seedRandom(defaultRandomSeed);
    const std::uint32_t expected[] = {3510405877u, 4290933890u, 2191955339u, 564929546u, 152112058u};
    for (std::uint32_t word : expected) EXPECT_EQ(word, drawRandomWord());
}

TEST(Random, LowBitOfSeedIsForced) {
    seedRandom(4);
    std::uint32_t a[8];
    for (auto& w : a) w = drawRandomWord();
    seedRandom(5);
    for (auto w : a) EXPECT_EQ(w, drawRandomWord());
}

// The state words streamed into the standard engine must continue our
// sequence exactly: an independent check of the twist and the tempering,
// across several reloads.
TEST(Random, MatchesStandardEngineFromSameState) {
    for (std::uint32_t seed : {1u, 4357u, 0xDEADBEEFu}) {
        seedRandom(seed);
        for (int i = 0; i < 1000; ++i) drawRandomWord();  // somewhere inside a block
        const auto& s = detail::randomState;
        // The standard engine regenerates when its index reaches 624; that is
        // our state right after a reload, so align to the next block first.
        while (s.left != 0) drawRandomWord();
        std::ostringstream words;
        for (int i = 0; i < detail::RandomState::size; ++i) words << s.state[i] << ' ';
        words << detail::RandomState::size;
        std::istringstream in(words.str());
        std::mt19937 reference;
        in >> reference;
        ASSERT_FALSE(in.fail());
        for (int i = 0; i < 10000; ++i) ASSERT_EQ(reference(), drawRandomWord()) << "draw " << i;
    }
}

TEST(Random, ReloadAfter624DrawsDoesNotReseed) {
    seedRandom(77);
    std::uint32_t first[700];
    for (auto& w : first) w = drawRandomWord();
    seedRandom(77);
    for (int i = 0; i < 700; ++i) ASSERT_EQ(first[i], drawRandomWord());
    // The 625th word comes from a regenerated block, not a repeat of the first.
    EXPECT_NE(first[0], first[624]);
}

TEST(RandSequence, SeedOneGivesTheClassicSequence) {
    srand(1);
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(expected, rand());
}

}  // namespace
}  // namespace demo
