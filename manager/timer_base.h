#pragma once
// The timer base: set once by the player before anything loads, read by the
// progress bar, the clock and every timed load.

#include <cstdint>

namespace demo {

extern std::int64_t startCount;  // counter value at the start of the run
extern float secondsPerTick;     // 1 / counter frequency, as a 32-bit float

// Sets startCount and secondsPerTick from the platform counter.
void initTimerBase();

// (counter now - startCount) x secondsPerTick.
double secondsSinceStart();

}  // namespace demo
