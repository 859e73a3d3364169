// The clear effect on a real (headless) OpenGL context.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

#include "effects/clear.h"
#include "manager/ascii_reader.h"
#include "manager/timer_base.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

std::array<int, 4> clearedPixel(Process* clear) {
    clear->run(0.0f);
    return test::readPixel(32, 24);
}

Clear* make(const std::string& name, const std::string& text) {
    AsciiReader reader(name, text);
    return static_cast<Clear*>(ProcessManager::instance()->createFromReader(name, reader));
}

class ClearEffect : public test::HeadlessGLTest {};

TEST_F(ClearEffect, ClearsToItsColourWhichOnlySetColorChanges) {
    initTimerBase();
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
}

}  // namespace
}  // namespace demo
