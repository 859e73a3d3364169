#pragma once
// The high-resolution counter behind the timer base and the clock. Tests
// replace it with a counter of their own.

#include <cstdint>

namespace demo::platform {

// Current counter value and its ticks per second.
std::int64_t counterValue();
std::int64_t counterFrequency();

using CounterFunction = std::int64_t (*)();
// Routes counterValue() and counterFrequency() to the given functions;
// null restores the monotonic system clock.
void setCounterSource(CounterFunction value, CounterFunction frequency);

}  // namespace demo::platform
