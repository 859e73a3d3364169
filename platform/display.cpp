#include "platform/display.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/display_keys.h"

namespace demo::platform {
namespace {

void requestContextAttributes() {
    // A compatibility context: the show draws in immediate mode.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// The video subsystem and the GL driver stay up for the life of the process
// once a display has opened: Mesa's driver does not come back cleanly from
// being unloaded and loaded again, and its allocations would look leaked once
// its code is gone. Windows, contexts and display modes are released with
// each display.
bool startVideo() {
    static bool started = false;
    if (started) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_LoadLibrary(nullptr);  // a failure shows when the window is made
    started = true;
    return true;
}

Uint32 pixelFormatForBits(int bits) {
    switch (bits) {
        case 15: return SDL_PIXELFORMAT_RGB555;
        case 16: return SDL_PIXELFORMAT_RGB565;
        case 24: return SDL_PIXELFORMAT_RGB24;
        case 32: return SDL_PIXELFORMAT_RGB888;
        default: return SDL_PIXELFORMAT_UNKNOWN;  // any format
    }
}

// The display's mode closest to the request, if it has the requested size.
bool findMode(const DisplayRequest& request, SDL_DisplayMode& mode) {
    SDL_DisplayMode wanted{};
    wanted.format = pixelFormatForBits(request.colourBits);
    wanted.w = request.width;
    wanted.h = request.height;
    return SDL_GetClosestDisplayMode(0, &wanted, &mode) != nullptr && mode.w == request.width &&
           mode.h == request.height;
}

void translateWindowEvent(const SDL_WindowEvent& event, WindowMessage& message) {
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            message.kind = MessageKind::Size;
            message.width = event.data1;
            message.height = event.data2;
            return;
        case SDL_WINDOWEVENT_MINIMIZED:
            message.kind = MessageKind::Activate;
            message.minimised = true;
            return;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            message.kind = MessageKind::Activate;
            message.minimised = false;
            return;
        case SDL_WINDOWEVENT_CLOSE:
            message.kind = MessageKind::Close;
            return;
        default:
            return;  // stays Other
    }
}

unsigned buttonBit(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 4;
        default: return 0;  // the window procedure leaves these to the default handling
    }
}

void translate(const SDL_Event& event, WindowMessage& message) {
    message = WindowMessage{};
    switch (event.type) {
        case SDL_QUIT:
            message.kind = MessageKind::Quit;
            return;
        case SDL_WINDOWEVENT:
            translateWindowEvent(event.window, message);
            return;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = virtualKeyFromSdl(event.key.keysym.sym);
            if (key == 0) return;  // a key without a virtual-key code
            message.kind = event.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
            message.key = key;
            return;
        }
        case SDL_MOUSEMOTION:
            message.kind = MessageKind::MouseMove;
            message.x = event.motion.x;
            message.y = event.motion.y;
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            message.kind =
                event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::ButtonDown : MessageKind::ButtonUp;
            message.button = buttonBit(event.button.button);
            message.x = event.button.x;
            message.y = event.button.y;
            return;
        }
        case SDL_MOUSEWHEEL: {
            // A sideways-only turn has no vertical notches: nothing to report.
            if (event.wheel.y == 0) return;
            std::int64_t notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            message.kind = MessageKind::Wheel;
            message.wheelDelta = static_cast<int>(
                std::clamp<std::int64_t>(notches * kWheelNotch, INT_MIN, INT_MAX));
            SDL_GetMouseState(&message.x, &message.y);
            return;
        }
        default:
            return;
    }
}

class SdlDisplay : public Display {
public:
    static SdlDisplay* open(const DisplayRequest& request, DisplayFailure& failure);
    ~SdlDisplay() override;

    bool makeCurrent() override;
    void swapBuffers() override;
    bool nextMessage(WindowMessage& message) override;

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    bool fullscreen_ = false;
};

class SdlDisplaySystem : public DisplaySystem {
public:
    Display* open(const DisplayRequest& request, DisplayFailure& failure) override {
        return SdlDisplay::open(request, failure);
    }
};

SdlDisplay* SdlDisplay::open(const DisplayRequest& request, DisplayFailure& failure) {
    failure = DisplayFailure::None;
    if (!startVideo()) {
        failure = DisplayFailure::VideoInit;
        return nullptr;
    }
    // Full screen: the requested size must be a mode of the display.
    SDL_DisplayMode mode{};
    if (request.fullscreen && !findMode(request, mode)) {
        failure = DisplayFailure::FullscreenMode;
        return nullptr;
    }
    auto* display = new SdlDisplay();
    display->fullscreen_ = request.fullscreen;

    requestContextAttributes();
    SDL_Window* window = SDL_CreateWindow(request.title, SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, request.width, request.height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    if (window == nullptr) {
        failure = DisplayFailure::Window;
        delete display;
        return nullptr;
    }
    display->window_ = window;

    if (request.fullscreen && (SDL_SetWindowDisplayMode(window, &mode) != 0 ||
                               SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0)) {
        failure = DisplayFailure::FullscreenMode;
        delete display;
        return nullptr;
    }

    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        failure = DisplayFailure::Context;
        delete display;
        return nullptr;
    }
    display->context_ = context;

    SDL_ShowCursor(request.showCursor ? SDL_ENABLE : SDL_DISABLE);
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    return display;
}

SdlDisplay::~SdlDisplay() {
    SDL_Window* window = window_;
    if (window != nullptr && fullscreen_) SDL_SetWindowFullscreen(window, 0);  // desktop mode
    SDL_ShowCursor(SDL_ENABLE);
    if (context_ != nullptr) {
        if (SDL_GL_GetCurrentContext() == context_) SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context_);
    }
    if (window != nullptr) SDL_DestroyWindow(window);
}

bool SdlDisplay::makeCurrent() { return SDL_GL_MakeCurrent(window_, context_) == 0; }

void SdlDisplay::swapBuffers() { SDL_GL_SwapWindow(window_); }

bool SdlDisplay::nextMessage(WindowMessage& message) {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) return false;
    translate(event, message);
    return true;
}

}  // namespace

DisplaySystem& DisplaySystem::real() {
    static SdlDisplaySystem system;
    return system;
}

}  // namespace demo::platform
