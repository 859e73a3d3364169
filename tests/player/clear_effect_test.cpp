// The clear effect on a real (headless) OpenGL context.

#include "effects/clear.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <memory>

#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/process.h"
#include "manager/timer_base.h"
#include "manager/window.h"

namespace demo {
namespace {

class ClearEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        initTimerBase();
        DisplaySettings settings;
        settings.width = 64;
        settings.height = 48;
        try {
            createDisplay(settings, display_);
        } catch (const InitGLException& e) {
            FAIL() << e.message();
        }
    }
    void TearDown() override { destroyDisplay(display_); }

    static std::array<int, 4> centrePixel() {
        glReadBuffer(GL_BACK);
        unsigned char rgba[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(32, 24, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return {rgba[0], rgba[1], rgba[2], rgba[3]};
    }

    static Process* make(const std::string& name, const std::string& text) {
        AsciiReader reader(name, text);
        return ProcessManager::instance()->createFromReader(name, reader);
    }

    DisplayPair display_;
};

TEST_F(ClearEffectTest, ClearsToItsColourAndSetColorChangesIt) {
    Process* clear = make("sky", "clear { color <1 0 0 1> }");
    clear->run(0.0f);
    EXPECT_EQ(centrePixel(), (std::array<int, 4>{255, 0, 0, 255}));

    AsciiReader command("events", "<0 1 0.5 1> }");
    std::unique_ptr<Event> event(clear->type->createEvent("SET_COLOR", clear, command));
    ASSERT_NE(event, nullptr);
    EXPECT_GE(event->kind(), EVENT_EFFECT);
    clear->handleEvent(event.get());
    clear->run(1.0f);
    auto pixel = centrePixel();
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_NEAR(pixel[2], 128, 1);
    EXPECT_EQ(command.nextToken().kind, TOKEN_END);  // the closing brace was read

    // Other events leave the colour alone.
    TypedEvent stop(EVENT_STOP);
    clear->handleEvent(&stop);
    EXPECT_EQ(static_cast<Clear*>(clear)->colour(), (Colour{0.0f, 1.0f, 0.5f, 1.0f}));
    ProcessManager::instance()->release(clear);
}

TEST_F(ClearEffectTest, DefaultsToBlackAndKnowsOnlyItsOwnCommand) {
    Process* clear = make("plain", "clear");
    EXPECT_EQ(static_cast<Clear*>(clear)->colour(), (Colour{0.0f, 0.0f, 0.0f, 1.0f}));
    AsciiReader command("events", "<1 1 1 1> }");
    EXPECT_EQ(clear->type->createEvent("SET_COLOUR", clear, command), nullptr);
    AsciiReader shortColour("events", "<1 1 1> }");
    EXPECT_THROW(clear->type->createEvent("SET_COLOR", clear, shortColour), ParseError);
    ProcessManager::instance()->release(clear);
}

}  // namespace
}  // namespace demo
