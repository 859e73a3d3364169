#pragma once
// The show's one window with its OpenGL context. The window procedure is a
// portable function over WindowMessage records, so its behaviour does not
// depend on the native layer (platform/display), which only translates
// events and owns the native window.

#include <functional>

#include "platform/window_message.h"

namespace demo {

namespace platform {
class Display;
}

// The demo player's screen settings block. The window reads width, height,
// colour bits (low byte), fullscreen and show cursor.
struct DisplaySettings {
    int reserved[2] = {0, 0};
    int width = 640;
    int height = 480;
    int colourBits = 32;
    int reservedValue = 8;
    bool doubleBuffer = true;
    bool fullscreen = false;
    bool showCursor = true;
};

// Implemented by the demo player; called from the window procedure.
class InputListener {
public:
    virtual ~InputListener() = default;
    virtual void key(bool down, int virtualKey) = 0;
    virtual void mouseMove(unsigned buttons, int x, int y) = 0;
    virtual void mouseButtons(unsigned buttons, int x, int y) = 0;
};

// Mouse-button mask bits; the wheel bits are only ever reported, never stored.
inline constexpr unsigned kMouseLeft = 1;
inline constexpr unsigned kMouseRight = 2;
inline constexpr unsigned kMouseMiddle = 4;
inline constexpr unsigned kWheelAway = 8;
inline constexpr unsigned kWheelToward = 0x10;

inline constexpr int kVirtualKeyEscape = 0x1B;

using DeviceContext = void*;

class Window {
public:
    virtual ~Window() = default;
    virtual bool isActive() { return active_; }
    virtual void setActive(bool active) { active_ = active; }
    virtual bool isDone() { return done_; }
    virtual void setDone(bool done) { done_ = done; }
    virtual void setFullscreen(bool fullscreen) { fullscreen_ = fullscreen; }
    // 256 entries, one per virtual-key code, true while the key is down.
    virtual bool* keys() { return keys_; }
    virtual void pumpMessages() {}
    virtual DeviceContext dc() = 0;
    virtual void swapBuffers() = 0;
    virtual InputListener* listener() { return listener_; }
    virtual void setListener(InputListener* listener) { listener_ = listener; }
    // The mask the window procedure changes in place.
    virtual unsigned* mouseButtons() { return &mouseButtons_; }

    bool fullscreen() const { return fullscreen_; }
    int width() const { return width_; }
    int height() const { return height_; }

protected:
    bool active_ = true;
    bool done_ = false;
    bool fullscreen_ = false;
    int width_ = 0;
    int height_ = 0;
    bool keys_[256] = {};
    InputListener* listener_ = nullptr;
    unsigned mouseButtons_ = 0;
};

// Windows by native handle, for the window procedure.
using WindowHandle = const void*;
void registerWindow(WindowHandle handle, Window* window);
void unregisterWindow(WindowHandle handle);
Window* findWindow(WindowHandle handle);

enum class MessageResult {
    Handled,
    Default,  // left to the native layer's default handling
};

// A quit request for the thread's message loop: it is taken as a Quit message
// once no other message is waiting.
void postQuitMessage();
// Takes a pending quit request; true if there was one.
bool takePostedQuit();

// Acts on one message for the window registered under `handle` (if any).
MessageResult windowProcedure(WindowHandle handle, const platform::WindowMessage& message);

// One turn of the message pump: takes at most one message from `next` (or,
// when none is waiting, a posted quit) and handles it; a quit ends the show.
// With nothing waiting, ESC held while the window is active ends it too.
void pumpOneMessage(Window& window, WindowHandle handle,
                    const std::function<bool(platform::WindowMessage&)>& next);

// The window over the native display. Throws InitGLException when it cannot
// be opened, having released what it acquired.
class GLWindow : public Window {
public:
    explicit GLWindow(const DisplaySettings& settings);
    ~GLWindow() override;

    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    void pumpMessages() override;
    DeviceContext dc() override;
    void swapBuffers() override;

private:
    platform::Display* display_ = nullptr;
};

class GLContext {
public:
    virtual ~GLContext() = default;
    virtual void makeCurrent(Window* window) = 0;
};

// Selects the rendering context that the window owns.
class WGLContext : public GLContext {
public:
    void makeCurrent(Window* window) override;
};

struct DisplayPair {
    GLContext* context = nullptr;
    GLWindow* window = nullptr;
};

// Opens the window, makes its context current, sets the projection and the
// start state, and lets the progress bar draw into it. Throws InitGLException.
void createDisplay(const DisplaySettings& settings, DisplayPair& display);
// Deletes what createDisplay made and clears the pair.
void destroyDisplay(DisplayPair& display);

// Viewport and projection for a client area: 45 degree perspective, then a
// mirror of z that makes the coordinate system left-handed.
void resize(int width, int height);

// The fixed start state of the context; returns true.
bool initGL();

// The messages of InitGLException.
inline constexpr const char* kFailedRegisterClass = "Failed to register window class";
inline constexpr const char* kFailedFullscreen = "Failed to set fullscreen mode";
inline constexpr const char* kFailedCreateWindow = "Failed to create window";
inline constexpr const char* kFailedDeviceContext = "Unable to create a device context";
inline constexpr const char* kFailedPixelFormat = "Unable to find suitable pixel format";
inline constexpr const char* kFailedSetPixelFormat = "Unable to set the requested pixel format";
inline constexpr const char* kFailedCreateContext = "Failed to create a GL rendering context.";

}  // namespace demo
