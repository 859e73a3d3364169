#include "manager/window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <map>

#include "manager/exceptions.h"
#include "manager/progress_bar_draw.h"
#include "platform/display.h"

namespace demo {

using platform::MessageKind;
using platform::WindowMessage;

namespace {

constexpr const char* kTitle = "DemoWindow";

bool quitPosted = false;  // single-threaded: the window lives on the main thread

std::map<WindowHandle, Window*>& registry() {
    static std::map<WindowHandle, Window*> windows;
    return windows;
}

void setButton(Window& window, unsigned bit, bool down) {
    unsigned& mask = *window.mouseButtons();
    mask = down ? (mask | bit) : (mask & ~bit);
}

}  // namespace

void registerWindow(WindowHandle handle, Window* window) { registry()[handle] = window; }

void unregisterWindow(WindowHandle handle) { registry().erase(handle); }

Window* findWindow(WindowHandle handle) {
    auto found = registry().find(handle);
    return found == registry().end() ? nullptr : found->second;
}

void postQuitMessage() { quitPosted = true; }

bool takePostedQuit() {
    bool posted = quitPosted;
    quitPosted = false;
    return posted;
}

MessageResult windowProcedure(WindowHandle handle, const WindowMessage& message) {
    Window* window = findWindow(handle);
    InputListener* listener = window != nullptr ? window->listener() : nullptr;

    switch (message.kind) {
        case MessageKind::Size:
            resize(message.width, message.height);
            return MessageResult::Handled;
        case MessageKind::Activate:
            if (window != nullptr) window->setActive(!message.minimised);
            return MessageResult::Handled;
        case MessageKind::Close:
            postQuitMessage();
            return MessageResult::Handled;
        case MessageKind::KeyDown:
            if (window != nullptr) {
                if (message.key == kVirtualKeyEscape) window->setDone(true);
                if (listener != nullptr) listener->key(true, message.key);
                if (message.key >= 0 && message.key < 256) window->keys()[message.key] = true;
            }
            return MessageResult::Handled;
        case MessageKind::KeyUp:
            if (window != nullptr) {
                if (listener != nullptr) listener->key(false, message.key);
                if (message.key >= 0 && message.key < 256) window->keys()[message.key] = false;
            }
            return MessageResult::Handled;
        case MessageKind::MouseMove:
            if (listener != nullptr) {
                listener->mouseMove(*window->mouseButtons(), message.x, message.y);
            }
            return MessageResult::Handled;
        case MessageKind::ButtonDown:
        case MessageKind::ButtonUp:
            if (message.button != kMouseLeft && message.button != kMouseRight &&
                message.button != kMouseMiddle) {
                return MessageResult::Default;
            }
            if (window != nullptr) {
                setButton(*window, message.button, message.kind == MessageKind::ButtonDown);
                if (listener != nullptr) {
                    listener->mouseButtons(*window->mouseButtons(), message.x, message.y);
                }
            }
            return MessageResult::Handled;
        case MessageKind::Wheel:
            // The wheel is reported as a momentary bit; the stored mask keeps
            // only real buttons.
            if (listener != nullptr) {
                unsigned bit = message.wheelDelta > 0 ? kWheelAway : kWheelToward;
                listener->mouseButtons(*window->mouseButtons() | bit, message.x, message.y);
            }
            return MessageResult::Default;
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
    }
    return MessageResult::Default;
}

void pumpOneMessage(Window& window, WindowHandle handle,
                    const std::function<bool(WindowMessage&)>& next) {
    WindowMessage message;
    bool taken = next(message);
    if (!taken && takePostedQuit()) {
        message = WindowMessage{};
        message.kind = MessageKind::Quit;
        taken = true;
    }
    if (taken) {
        if (message.kind == MessageKind::Quit) {
            window.setDone(true);
        } else {
            windowProcedure(handle, message);
        }
        return;
    }
    if (window.isActive() && window.keys()[kVirtualKeyEscape]) window.setDone(true);
}

GLWindow::GLWindow(const DisplaySettings& settings) {
    width_ = settings.width;
    height_ = settings.height;
    fullscreen_ = settings.fullscreen;

    platform::DisplayRequest request;
    request.title = kTitle;
    request.width = settings.width;
    request.height = settings.height;
    request.colourBits = settings.colourBits & 0xFF;
    request.fullscreen = settings.fullscreen;
    request.showCursor = settings.showCursor;

    platform::DisplayFailure failure = platform::DisplayFailure::None;
    display_ = platform::displaySystem().open(request, failure);
    if (display_ == nullptr) {
        switch (failure) {
            case platform::DisplayFailure::VideoInit: throw InitGLException(kFailedRegisterClass);
            case platform::DisplayFailure::FullscreenMode: throw InitGLException(kFailedFullscreen);
            case platform::DisplayFailure::Window: throw InitGLException(kFailedCreateWindow);
            case platform::DisplayFailure::Context:
            case platform::DisplayFailure::None: throw InitGLException(kFailedCreateContext);
        }
    }
    registerWindow(display_, this);
}

GLWindow::~GLWindow() {
    detachProgressBar(this);
    unregisterWindow(display_);
    delete display_;
}

void GLWindow::pumpMessages() {
    pumpOneMessage(*this, display_,
                   [this](WindowMessage& message) { return display_->nextMessage(message); });
}

DeviceContext GLWindow::dc() { return display_; }

void GLWindow::swapBuffers() { display_->swapBuffers(); }

void WGLContext::makeCurrent(Window* window) {
    if (window == nullptr) return;
    auto* display = static_cast<platform::Display*>(window->dc());
    if (display != nullptr) display->makeCurrent();
}

void createDisplay(const DisplaySettings& settings, DisplayPair& display) {
    auto* window = new GLWindow(settings);
    auto* context = new WGLContext();
    display.window = window;
    display.context = context;
    context->makeCurrent(window);
    resize(settings.width, settings.height);
    initGL();
    attachProgressBar(window);
}

void destroyDisplay(DisplayPair& display) {
    delete display.context;
    delete display.window;
    display = DisplayPair{};
}

void resize(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 10000.0);
    glScalef(1.0f, 1.0f, -1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool initGL() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return true;
}

}  // namespace demo
