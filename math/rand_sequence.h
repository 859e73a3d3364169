#pragma once

#include <cstdint>

namespace demo {

// The process-wide srand/rand sequence. It is our own, never the C library's,
// so tables built from it are the same on every platform: each step sets
// state = state * 214013 + 2531011 and yields bits 16..30, 0..32767.
// Everything in the system that wants this sequence calls these.
void srand(std::uint32_t seed);
int rand();

}  // namespace demo
