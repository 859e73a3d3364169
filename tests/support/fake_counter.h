#pragma once
// A performance counter that moves only when a test says, in place of the
// real one while it lives.

#include <cstdint>

#include "platform/performance_counter.h"

namespace demo::test {

class FakeCounter : public platform::PerformanceCounter {
public:
    explicit FakeCounter(std::int64_t ticksPerSecond = 1) : perSecond(ticksPerSecond) {
        platform::replacePerformanceCounter(this);
    }
    ~FakeCounter() override { platform::replacePerformanceCounter(nullptr); }
    FakeCounter(const FakeCounter&) = delete;
    FakeCounter& operator=(const FakeCounter&) = delete;

    // Each reading returns ticks, then adds step.
    std::int64_t value() override {
        std::int64_t now = ticks;
        ticks += step;
        return now;
    }
    std::int64_t frequency() override { return perSecond; }

    std::int64_t ticks = 0;
    std::int64_t step = 0;
    std::int64_t perSecond;
};

}  // namespace demo::test
