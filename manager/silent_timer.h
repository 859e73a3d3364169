#pragma once
// The clock used when sound is off or no music is named: counter seconds of
// the timer base plus an offset. Built in place as `new SilentTimer` (it reads
// 0.0 and is stopped until started).

#include "manager/clock.h"

namespace demo {

class SilentTimer : public Clock {
public:
    void start(float t) override;
    void stop() override;
    float getTime() override;
    float getEnd() override;

    bool running = false;

private:
    // Running: the offset added to counter seconds; stopped: the held time.
    float value_ = 0.0f;
};

}  // namespace demo
