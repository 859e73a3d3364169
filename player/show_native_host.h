#pragma once
// The host of a real run: the native window, the music player or silent
// timer, glFlush and a buffer swap each frame.

#include "player/show_host.h"
#include "manager/window.h"

namespace demo {

class NativeShowHost : public ShowHost {
public:
    NativeShowHost() = default;
    ~NativeShowHost() override;  // closes the window
    NativeShowHost(const NativeShowHost&) = delete;
    NativeShowHost& operator=(const NativeShowHost&) = delete;

    Window* openDisplay(const DisplaySettings& settings) override;
    Clock* makeClock(const std::string& musicFile, bool sound) override;
    void endFrame(Window& window) override;

private:
    DisplayPair display_;
};

}  // namespace demo
