// SDL keycodes to virtual-key codes.

#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include "platform/key_codes.h"

namespace demo::platform {
namespace {

TEST(KeyCodes, LettersDigitsAndFunctionKeysRunInOrder) {
    for (int i = 0; i < 26; ++i) EXPECT_EQ(virtualKeyFromSdl(SDLK_a + i), 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(virtualKeyFromSdl(SDLK_0 + i), '0' + i);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F1), 0x70);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F12), 0x7B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F13), 0x7C);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F24), 0x87);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_0), 0x60);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_9), 0x69);
}

TEST(KeyCodes, ControlKeysAndBothSidesOfModifiers) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), 0x20);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RETURN), 0x0D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_ENTER), 0x0D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKSPACE), 0x08);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_TAB), 0x09);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), 0x25);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UP), 0x26);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHT), 0x27);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 0x28);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEUP), 0x21);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_HOME), 0x24);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DELETE), 0x2E);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LSHIFT), 0x10);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RSHIFT), 0x10);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LCTRL), 0x11);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RCTRL), 0x11);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LALT), 0x12);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_PLUS), 0x6B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_MINUS), 0xBD);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFTBRACKET), 0xDB);
}

TEST(KeyCodes, KeysWithoutAVirtualCodeGiveZero) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFromSdl(0xE9), 0);  // a layout's accented letter
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BRIGHTNESSUP), 0);
}

}  // namespace
}  // namespace demo::platform
