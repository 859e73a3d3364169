// SDL keycodes to virtual-key codes.

#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include "platform/key_codes.h"

namespace demo::platform {
namespace {

TEST(KeyCodes, RangesRunInOrder) {
    for (int i = 0; i < 26; ++i) EXPECT_EQ(virtualKeyFromSdl(SDLK_a + i), 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(virtualKeyFromSdl(SDLK_0 + i), '0' + i);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F12), 0x7B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F13), 0x7C);  // SDL numbers F13 apart from F12
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F24), 0x87);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_9), 0x69);
}

TEST(KeyCodes, BothSidesOfAModifierAndBothReturnsShareACode) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LSHIFT), virtualKeyFromSdl(SDLK_RSHIFT));
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RCTRL), 0x11);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_ENTER), virtualKeyFromSdl(SDLK_RETURN));
    EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 0x28);
}

TEST(KeyCodes, KeysWithoutAVirtualCodeGiveZero) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFromSdl(0xE9), 0);  // a layout's accented letter
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BRIGHTNESSUP), 0);
}

}  // namespace
}  // namespace demo::platform
