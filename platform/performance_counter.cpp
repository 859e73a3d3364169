#include "platform/performance_counter.h"

#include <time.h>

namespace demo::platform {
namespace {

class MonotonicCounter : public PerformanceCounter {
public:
    std::int64_t value() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    std::int64_t frequency() override { return 1000000000; }
};

}  // namespace

PerformanceCounter& PerformanceCounter::real() {
    static MonotonicCounter counter;
    return counter;
}

}  // namespace demo::platform
