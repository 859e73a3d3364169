#include "manager/timer_base.h"

#include "platform/performance_counter.h"

namespace demo {

std::int64_t startCount = 0;
float secondsPerTick = 0.0f;

void initTimerBase() {
    secondsPerTick = static_cast<float>(1.0 / static_cast<double>(platform::performanceCounter().frequency()));
    startCount = platform::performanceCounter().value();
}

double secondsSinceStart() {
    return static_cast<double>(platform::performanceCounter().value() - startCount) * secondsPerTick;
}

}  // namespace demo
