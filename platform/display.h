#pragma once
// The native window with its OpenGL context. It only opens, closes, swaps
// and turns native events into WindowMessage records; everything the show
// sees of the window is decided by the window procedure in manager/window.
// The real display system is SDL2's.

#include "platform/replaceable.h"
#include "platform/window_message.h"

namespace demo::platform {

struct DisplayRequest {
    const char* title = "";
    int width = 0;  // client area
    int height = 0;
    int colourBits = 32;
    bool fullscreen = false;
    bool showCursor = true;
};

enum class DisplayFailure {
    None,
    VideoInit,      // the video subsystem could not start
    FullscreenMode, // no display mode for the requested size
    Window,         // the window (with its pixel format) could not be made
    Context,        // no OpenGL compatibility context
};

class Display {
public:
    // Restores the display mode, deletes the context, closes the window.
    virtual ~Display() = default;

    virtual bool makeCurrent() = 0;
    virtual void swapBuffers() = 0;
    // Takes one native event, if any, and translates it; false when none was
    // waiting. Events without a meaning for the show come out as Other.
    virtual bool nextMessage(WindowMessage& message) = 0;
};

class DisplaySystem {
public:
    virtual ~DisplaySystem() = default;
    // Opens a window; on failure returns null and sets `failure`, having
    // released everything acquired on the way.
    virtual Display* open(const DisplayRequest& request, DisplayFailure& failure) = 0;

    // SDL2's windows and OpenGL contexts.
    static DisplaySystem& real();
};

// The display system in use; tests replace it with replaceDisplaySystem.
inline DisplaySystem& displaySystem() { return Replaceable<DisplaySystem>::current(); }
inline void replaceDisplaySystem(DisplaySystem* fake) { Replaceable<DisplaySystem>::replace(fake); }

}  // namespace demo::platform
