#include "math/rand_sequence.h"

namespace demo {

namespace {
std::uint32_t randState = 1;  // as if seeded with 1
}

void srand(std::uint32_t seed) { randState = seed; }

int rand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7FFFu);
}

}  // namespace demo
