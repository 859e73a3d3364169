// SDL keycodes to virtual-key codes.

#include "platform/key_codes.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

namespace demo::platform {
namespace {

TEST(KeyCodes, RangesSharedCodesAndKeysWithoutOne) {
    for (int i = 0; i < 26; ++i) EXPECT_EQ(virtualKeyFromSdl(SDLK_a + i), 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(virtualKeyFromSdl(SDLK_0 + i), '0' + i);
    const int expected[][2] = {
        {SDLK_F12, 0x7B},       {SDLK_F13, 0x7C},  // SDL numbers F13 apart from F12
        {SDLK_F24, 0x87},       {SDLK_KP_9, 0x69},   {SDLK_ESCAPE, 0x1B}, {SDLK_DOWN, 0x28},
        {SDLK_LSHIFT, 0x10},    {SDLK_RSHIFT, 0x10}, {SDLK_RCTRL, 0x11},  {SDLK_RETURN, 0x0D},
        {SDLK_KP_ENTER, 0x0D},  {SDLK_UNKNOWN, 0},   {0xE9, 0},  // a layout's accented letter
        {SDLK_BRIGHTNESSUP, 0},
    };
    for (const auto& [sdl, virtualKey] : expected)
        EXPECT_EQ(virtualKeyFromSdl(sdl), virtualKey) << sdl;
}

}  // namespace
}  // namespace demo::platform
