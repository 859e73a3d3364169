// The display on SDL's offscreen driver: native events pushed into its queue
// come out as window messages, keys as virtual-key codes.

#include "platform/display.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>

namespace demo::platform {
namespace {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayRequest request{.width = 64, .height = 48};
        DisplayFailure failure = DisplayFailure::None;
        display.reset(displaySystem().open(request, failure));
        ASSERT_NE(display, nullptr) << static_cast<int>(failure);
    }

    // The message that one pushed event becomes: the last before a quit
    // pushed after it (the window may post events of its own meanwhile).
    WindowMessage translated(SDL_Event event) {
        SDL_Event quit{.type = SDL_QUIT};
        SDL_PushEvent(&event);
        SDL_PushEvent(&quit);
        WindowMessage message, previous;
        for (int polls = 0; polls < 1000 && message.kind != MessageKind::Quit; ++polls) {
            WindowMessage next;
            if (display->nextMessage(next)) previous = std::exchange(message, next);
        }
        EXPECT_EQ(message.kind, MessageKind::Quit);
        return previous;
    }
    WindowMessage key(SDL_Keycode sym) {
        SDL_Event event{.type = SDL_KEYDOWN};
        event.key.keysym.sym = sym;
        return translated(event);
    }
    WindowMessage wheel(int x, int y, bool flipped = false) {
        SDL_Event event{.type = SDL_MOUSEWHEEL};
        event.wheel.x = x;
        event.wheel.y = y;
        event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        return translated(event);
    }

    std::unique_ptr<Display> display;
};

TEST_F(DisplayTest, KeysBecomeVirtualKeyCodes) {
    for (int i = 0; i < 26; ++i) EXPECT_EQ(key(SDLK_a + i).key, 'A' + i);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(key(SDLK_0 + i).key, '0' + i);
    const int expected[][2] = {{SDLK_F12, 0x7B}, {SDLK_F13, 0x7C},  // F13 is apart in SDL
                               {SDLK_KP_9, 0x69}, {SDLK_ESCAPE, 0x1B}, {SDLK_DOWN, 0x28},
                               {SDLK_RSHIFT, 0x10}, {SDLK_RCTRL, 0x11}, {SDLK_KP_ENTER, 0x0D}};
    for (const auto& [sdl, virtualKey] : expected) {
        const WindowMessage message = key(sdl);
        EXPECT_TRUE(message.kind == MessageKind::KeyDown && message.key == virtualKey) << sdl;
    }
    // Keys without a code (a layout's accented letter, brightness) say nothing.
    for (SDL_Keycode none : {SDL_Keycode{SDLK_UNKNOWN}, SDL_Keycode{0xE9}, SDL_Keycode{SDLK_BRIGHTNESSUP}})
        EXPECT_EQ(key(none).kind, MessageKind::Other) << none;
}

TEST_F(DisplayTest, WheelNotchesAreCountedWideAndASidewaysTurnIsNoWheelMessage) {
    EXPECT_EQ(wheel(0, 2).wheelDelta, 240);
    EXPECT_EQ(wheel(0, 1, true).wheelDelta, -120);
    EXPECT_EQ(wheel(0, INT_MAX).wheelDelta, INT_MAX);
    EXPECT_EQ(wheel(0, INT_MIN + 1).wheelDelta, INT_MIN);
    EXPECT_EQ(wheel(3, 0).kind, MessageKind::Other);
}

}  // namespace
}  // namespace demo::platform
