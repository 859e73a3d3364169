#pragma once
// The native window with its OpenGL context, over SDL2. It only opens, closes,
// swaps and turns native events into WindowMessage records; everything the
// show sees of the window is decided by the window procedure in
// manager/window.

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

class SdlDisplay {
public:
    // Opens the window; on failure returns null and sets `failure`, having
    // released everything acquired on the way.
    static SdlDisplay* open(const DisplayRequest& request, DisplayFailure& failure);
    // Restores the display mode, deletes the context, closes the window.
    ~SdlDisplay();

    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    bool makeCurrent();
    void swapBuffers();
    // Takes one native event, if any, and translates it; false when none was
    // waiting. Events without a meaning for the show come out as Other.
    bool nextMessage(WindowMessage& message);

private:
    SdlDisplay() = default;

    void* window_ = nullptr;   // SDL_Window*
    void* context_ = nullptr;  // SDL_GLContext
    bool fullscreen_ = false;
};

}  // namespace demo::platform
