#pragma once
// A show host for tests and fuzzers: a window that draws nothing and a clock
// that reads scripted times, then a time past any stop time.

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "manager/clock.h"
#include "manager/window.h"
#include "player/show_host.h"

namespace demo::test {

// A host that is its own window, which draws nothing. The player owns the
// clock; the host keeps its readings and what befell it.
class TestHost : public ShowHost, public Window {
public:
    Window* openDisplay(const DisplaySettings& opened) override {
        ++displaysOpened;
        settings = opened;
        return this;
    }
    Clock* makeClock(const std::string& file, bool sound) override;
    void endFrame(Window&) override { ++frames; }
    DeviceContext dc() override { return nullptr; }
    void swapBuffers() override {}
    void pumpMessages() override {
        ++pumps;
        if (onPump) onPump(*this);
    }

    std::vector<float> times;  // what the clock reads, frame after frame
    float clockEnd = kClockNoEnd, startedAt = -1.0f;
    int pumps = 0, displaysOpened = 0, frames = 0;
    std::function<void(TestHost&)> onPump;
    DisplaySettings settings;
    std::string musicFile;
    bool soundOn = false, stopped = false;
};

// Reads the host's times in turn, then a time past any stop time.
class ScriptedClock : public Clock {
public:
    explicit ScriptedClock(TestHost& host) : host_(host) {}
    void start(float t) override { host_.startedAt = t; }
    void stop() override { host_.stopped = true; }
    float getTime() override {
        return next_ < host_.times.size() ? host_.times[next_++]
                                          : std::numeric_limits<float>::infinity();
    }
    float getEnd() override { return host_.clockEnd; }

private:
    TestHost& host_;
    std::size_t next_ = 0;
};

inline Clock* TestHost::makeClock(const std::string& file, bool sound) {
    musicFile = file;
    soundOn = sound;
    return new ScriptedClock(*this);
}

}  // namespace demo::test
