#pragma once
// SDL keycodes to the virtual-key codes the show's processes expect; a part
// of the display unit (display.cpp), nothing else uses it.

#include <cstdint>

namespace demo::platform {

// The virtual-key code of an SDL keycode, or 0 for a key without one.
int virtualKeyFromSdl(std::int32_t sdlKeycode);

}  // namespace demo::platform
