#include "manager/silent_timer.h"

#include "manager/timer_base.h"

namespace demo {

void SilentTimer::start(float t) {
    float now = static_cast<float>(secondsSinceStart());
    running = true;
    value_ = t - now;
}

void SilentTimer::stop() {
    value_ = getTime();
    running = false;
}

float SilentTimer::getTime() {
    if (!running) return value_;
    return static_cast<float>(secondsSinceStart()) + value_;
}

float SilentTimer::getEnd() { return kClockNoEnd; }

}  // namespace demo
