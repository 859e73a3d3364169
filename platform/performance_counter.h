#pragma once
// The high-resolution counter behind the timer base and the clock.

#include <cstdint>

#include "platform/replaceable.h"

namespace demo::platform {

class PerformanceCounter {
public:
    virtual ~PerformanceCounter() = default;
    // The current counter value and its ticks per second.
    virtual std::int64_t value() = 0;
    virtual std::int64_t frequency() = 0;

    // The monotonic system clock in nanoseconds.
    static PerformanceCounter& real();
};

// The counter in use; tests replace it with replacePerformanceCounter.
inline PerformanceCounter& performanceCounter() { return Replaceable<PerformanceCounter>::current(); }
inline void replacePerformanceCounter(PerformanceCounter* fake) {
    Replaceable<PerformanceCounter>::replace(fake);
}

}  // namespace demo::platform
