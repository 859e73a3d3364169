// The window procedure's table and the message pump without a display, then
// the real window opened headless.

#include "manager/window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "manager/exceptions.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

using platform::MessageKind;
using platform::WindowMessage;
using Calls = std::vector<std::string>;

struct RecordingListener : InputListener {
    Calls calls;
    void key(bool down, int code) override { calls.push_back((down ? "down " : "up ") + std::to_string(code)); }
    void mouseMove(unsigned buttons, int x, int y) override { record("move", buttons, x, y); }
    void mouseButtons(unsigned buttons, int x, int y) override { record("buttons", buttons, x, y); }
    void record(const char* what, unsigned buttons, int x, int y) {
        calls.push_back(std::string(what) + " " + std::to_string(buttons) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
};

struct BareWindow : Window {
    DeviceContext dc() override { return nullptr; }
    void swapBuffers() override {}
};

WindowMessage message(MessageKind kind, int key = 0, unsigned button = 0, int x = 0, int y = 0, int wheelDelta = 0) {
    return {.kind = kind, .key = key, .x = x, .y = y, .button = button, .wheelDelta = wheelDelta};
}
WindowMessage wheel(int delta) { return message(MessageKind::Wheel, 0, 0, 5, -6, delta); }

class WindowProcedureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registerWindow(handle, &window);
        window.setListener(&listener);
        takePostedQuit();
    }
    void TearDown() override { unregisterWindow(handle); }

    MessageResult send(const WindowMessage& m) { return windowProcedure(handle, m); }

    void pump() {
        pumpOneMessage(window, handle, [this](WindowMessage& m) {
            if (queue.empty()) return false;
            m = queue.front();
            queue.pop_front();
            return true;
        });
    }

    int token = 0;
    WindowHandle handle = &token;
    BareWindow window;
    RecordingListener listener;
    std::deque<WindowMessage> queue;
};

TEST_F(WindowProcedureTest, KeysReachListenerAndTable) {
    EXPECT_EQ(send(message(MessageKind::KeyDown, 'A')), MessageResult::Handled);
    EXPECT_TRUE(window.keys()['A']);
    send(message(MessageKind::KeyUp, 'A'));
    EXPECT_FALSE(window.keys()['A']);
    // Codes of 256 and more reach the listener only.
    send(message(MessageKind::KeyDown, 256));
    send(message(MessageKind::KeyUp, 300));
    EXPECT_FALSE(window.isDone());

    // ESC ends the show at once and is still reported.
    send(message(MessageKind::KeyDown, kVirtualKeyEscape));
    EXPECT_TRUE(window.isDone() && window.keys()[kVirtualKeyEscape]);
    EXPECT_EQ(listener.calls, (Calls{"down 65", "up 65", "down 256", "up 300", "down 27"}));
}

TEST_F(WindowProcedureTest, ButtonMasksAndWheelBits) {
    send(message(MessageKind::ButtonDown, 0, kMouseLeft, 10, 20));
    send(message(MessageKind::ButtonDown, 0, kMouseRight, 11, 21));
    send(message(MessageKind::ButtonUp, 0, kMouseLeft, 12, 22));
    send(message(MessageKind::ButtonDown, 0, kMouseMiddle, -3, -4));
    // The wheel is reported momentarily and left to the default handling.
    EXPECT_EQ(send(wheel(120)), MessageResult::Default);
    send(wheel(-120));
    send(wheel(0));
    send(message(MessageKind::MouseMove, 0, 0, 7, 8));
    EXPECT_EQ(listener.calls,
              (Calls{"buttons 1 10,20", "buttons 3 11,21", "buttons 2 12,22", "buttons 6 -3,-4",
                     "buttons 14 5,-6", "buttons 22 5,-6", "buttons 22 5,-6", "move 6 7,8"}));
    EXPECT_EQ(*window.mouseButtons(), kMouseRight | kMouseMiddle);
}

TEST_F(WindowProcedureTest, ActivationAndMessagesWithoutListenerOrWindow) {
    send({.kind = MessageKind::Activate, .minimised = true});
    EXPECT_FALSE(window.isActive());
    send(message(MessageKind::Activate));
    EXPECT_TRUE(window.isActive());

    window.setListener(nullptr);
    send(message(MessageKind::ButtonDown, 0, kMouseLeft, 1, 1));
    EXPECT_EQ(*window.mouseButtons(), kMouseLeft);  // the mask changes without a listener
    EXPECT_EQ(send(message(MessageKind::Other)), MessageResult::Default);

    int other = 0;  // no window under this handle: handled, nothing touched
    for (MessageKind kind : {MessageKind::KeyDown, MessageKind::MouseMove})
        EXPECT_EQ(windowProcedure(&other, message(kind, kVirtualKeyEscape)), MessageResult::Handled);
    EXPECT_FALSE(window.isDone());
}

TEST_F(WindowProcedureTest, OneMessagePerPumpQuitLastThenTheIdleEscapeTest) {
    // A close posts a quit, taken only once no other message waits.
    queue.push_back(message(MessageKind::Close));
    queue.push_back(message(MessageKind::KeyDown, 'Q'));
    pump();
    pump();
    EXPECT_FALSE(window.isDone());
    pump();
    EXPECT_TRUE(window.isDone());
    EXPECT_EQ(listener.calls, (Calls{"down 81"}));

    window.setDone(false);
    window.keys()[kVirtualKeyEscape] = true;  // held, its key-down long taken
    queue.assign(10, message(MessageKind::Other));
    for (int i = 0; i < 10; ++i) pump();
    EXPECT_TRUE(queue.empty() && !window.isDone());
    window.setActive(false);
    pump();
    EXPECT_FALSE(window.isDone());  // only while active
    window.setActive(true);
    pump();
    EXPECT_TRUE(window.isDone());
}

GLint glInteger(GLenum name, int index = 0) {
    GLint values[4] = {};
    glGetIntegerv(name, values);
    return values[index];
}

void expectPerspective(double aspect) {
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(45.0 * M_PI / 360.0);
    EXPECT_NEAR(m[0], f / aspect, 1e-4);
    EXPECT_NEAR(m[5], f, 1e-4);
    // The mirrored z column: gluPerspective's third column, negated.
    EXPECT_NEAR(m[10], (10000.0 + 0.1) / (10000.0 - 0.1), 1e-4);
    EXPECT_NEAR(m[11], 1.0, 1e-6);
}

TEST(Display, CreateDisplayGivesTheStartState) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 320, 240));
    EXPECT_EQ(glInteger(GL_VIEWPORT, 2) * 1000 + glInteger(GL_VIEWPORT, 3), 320240);
    expectPerspective(320.0 / 240.0);

    // A size of height 0 keeps one row, and the aspect is width / 1.
    WindowMessage size{.kind = MessageKind::Size, .width = 200, .height = 0};
    EXPECT_EQ(windowProcedure(display.window->dc(), size), MessageResult::Handled);
    EXPECT_EQ(glInteger(GL_VIEWPORT, 3), 1);
    expectPerspective(200.0);
    destroyDisplay(display);
}

TEST(Display, OpensFullScreenAndAgainAfterAFailedOpen) {
    DisplayPair display;
    DisplaySettings settings{.width = 320, .height = 240, .fullscreen = true, .showCursor = false};
    createDisplay(settings, display);
    EXPECT_TRUE(display.window->fullscreen());
    WindowHandle handle = display.window->dc();
    destroyDisplay(display);
    EXPECT_TRUE(display.window == nullptr && findWindow(handle) == nullptr);

    ::testing::AssertionResult opened = test::openHeadlessDisplay(display, 1 << 20, 1 << 20);
    EXPECT_STREQ(opened ? "opened" : opened.message(), kFailedCreateWindow);
    EXPECT_EQ(display.window, nullptr);
    ASSERT_TRUE(test::openHeadlessDisplay(display, 32, 32));
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
