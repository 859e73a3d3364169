#pragma once
// What the player needs from outside itself: a window with its OpenGL
// context, a clock, and the end of each frame. The native host opens the real
// window and plays the music; tests give the player a window that draws
// nothing and a clock that reads scripted times.

#include <string>

namespace demo {

class Clock;
class Window;
struct DisplaySettings;

class ShowHost {
public:
    virtual ~ShowHost() = default;
    // Opens the window and its context; the host keeps ownership.
    // InitGLException when it cannot.
    virtual Window* openDisplay(const DisplaySettings& settings) = 0;
    // The show's clock, owned by the caller: the music player when a music
    // file is named and sound is on, the silent timer otherwise.
    virtual Clock* makeClock(const std::string& musicFile, bool sound) = 0;
    // Flushes the frame's drawing and shows it.
    virtual void endFrame(Window& window) = 0;
};

}  // namespace demo
