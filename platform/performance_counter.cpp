#include "platform/performance_counter.h"

#include <time.h>

namespace demo::platform {
namespace {

std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t nanosecondFrequency() { return 1000000000; }

CounterFunction valueSource = monotonicNanoseconds;
CounterFunction frequencySource = nanosecondFrequency;

}  // namespace

std::int64_t counterValue() { return valueSource(); }
std::int64_t counterFrequency() { return frequencySource(); }

void setCounterSource(CounterFunction value, CounterFunction frequency) {
    valueSource = value ? value : monotonicNanoseconds;
    frequencySource = frequency ? frequency : nanosecondFrequency;
}

}  // namespace demo::platform
