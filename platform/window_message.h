#pragma once
// The portable record of one window message. The display layer translates
// its native events into these; the window procedure acts on them.

namespace demo::platform {

enum class MessageKind {
    Size,         // width, height: the new client area
    Activate,     // minimised: the window was minimised (else shown or focused)
    Close,        // the user asked to close the window
    Quit,         // the application was asked to end
    KeyDown,      // key: virtual-key code
    KeyUp,        // key
    MouseMove,    // x, y
    ButtonDown,   // button: 1 left, 2 right, 4 middle, 0 any other; x, y
    ButtonUp,     // button; x, y
    Wheel,        // wheelDelta: > 0 away from the user; x, y
    Other,        // anything else, left to the default handling
};

struct WindowMessage {
    MessageKind kind = MessageKind::Other;
    int width = 0;
    int height = 0;
    bool minimised = false;
    int key = 0;
    int x = 0;
    int y = 0;
    unsigned button = 0;
    int wheelDelta = 0;
};

// One wheel notch, as the delta of a Wheel message counts it.
inline constexpr int kWheelNotch = 120;

}  // namespace demo::platform
