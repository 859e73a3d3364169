// The clear effect on a real (headless) OpenGL context.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

#include "effects/clear.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/timer_base.h"
#include "manager/window.h"

namespace demo {
namespace {

std::array<int, 4> clearedPixel(Process* clear) {
    clear->run(0.0f);
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(32, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

Clear* make(const std::string& name, const std::string& text) {
    AsciiReader reader(name, text);
    return static_cast<Clear*>(ProcessManager::instance()->createFromReader(name, reader));
}

TEST(ClearEffect, ClearsToItsColourWhichOnlySetColorChanges) {
    initTimerBase();
    DisplaySettings settings;
    settings.width = 64;
    settings.height = 48;
    DisplayPair display;
    try {
        createDisplay(settings, display);
    } catch (const InitGLException& e) {
        FAIL() << e.message();
    }
    Clear* plain = make("plain", "clear");
    EXPECT_EQ(plain->colour(), (Colour{0.0f, 0.0f, 0.0f, 1.0f}));
    ProcessManager::instance()->release(plain);

    Clear* clear = make("sky", "clear { color <1 0 0 1> }");
    EXPECT_EQ(clearedPixel(clear), (std::array<int, 4>{255, 0, 0, 255}));
    AsciiReader command("events", "<0 1 0.5 1> }");
    std::unique_ptr<Event> event(clear->type->createEvent("SET_COLOR", clear, command));
    ASSERT_NE(event, nullptr);
    EXPECT_GE(event->kind(), EVENT_EFFECT);
    EXPECT_EQ(command.nextToken().kind, TOKEN_END);  // the closing brace was read
    clear->handleEvent(event.get());
    TypedEvent stop(EVENT_STOP);  // other events leave the colour alone
    clear->handleEvent(&stop);
    std::array<int, 4> pixel = clearedPixel(clear);
    EXPECT_EQ(std::tie(pixel[0], pixel[1], pixel[3]), std::tuple(0, 255, 255));
    EXPECT_NEAR(pixel[2], 128, 1);

    AsciiReader other("events", "<1 1 1 1> }");
    EXPECT_EQ(clear->type->createEvent("SET_COLOUR", clear, other), nullptr);
    AsciiReader shortColour("events", "<1 1 1> }");
    EXPECT_THROW(clear->type->createEvent("SET_COLOR", clear, shortColour), ParseError);
    ProcessManager::instance()->release(clear);
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
