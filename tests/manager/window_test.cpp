// The window procedure's table and the message pump, without a display; then
// the real window, headless, and the state createDisplay leaves.

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "manager/exceptions.h"
#include "manager/window.h"

namespace demo {
namespace {

using platform::MessageKind;
using platform::WindowMessage;

struct RecordingListener : InputListener {
    std::vector<std::string> calls;
    void key(bool down, int virtualKey) override {
        calls.push_back(std::string(down ? "down " : "up ") + std::to_string(virtualKey));
    }
    void mouseMove(unsigned buttons, int x, int y) override {
        calls.push_back("move " + std::to_string(buttons) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
    void mouseButtons(unsigned buttons, int x, int y) override {
        calls.push_back("buttons " + std::to_string(buttons) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
};

struct BareWindow : Window {
    DeviceContext dc() override { return nullptr; }
    void swapBuffers() override {}
};

WindowMessage message(MessageKind kind) {
    WindowMessage m;
    m.kind = kind;
    return m;
}
WindowMessage keyMessage(MessageKind kind, int key) {
    WindowMessage m = message(kind);
    m.key = key;
    return m;
}
WindowMessage mouseMessage(MessageKind kind, unsigned button, int x, int y) {
    WindowMessage m = message(kind);
    m.button = button;
    m.x = x;
    m.y = y;
    return m;
}
WindowMessage wheelMessage(int delta) {
    WindowMessage m = message(MessageKind::Wheel);
    m.wheelDelta = delta;
    m.x = 5;
    m.y = -6;
    return m;
}

class WindowProcedureTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerWindow(handle, &window);
        window.setListener(&listener);
        platform::takePostedQuit();
    }
    void TearDown() override { unregisterWindow(handle); }

    MessageResult send(const WindowMessage& m) { return windowProcedure(handle, m); }

    // Pumps once from `queue`.
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
    EXPECT_EQ(send(keyMessage(MessageKind::KeyDown, 'A')), MessageResult::Handled);
    EXPECT_TRUE(window.keys()['A']);
    send(keyMessage(MessageKind::KeyUp, 'A'));
    EXPECT_FALSE(window.keys()['A']);

    // Codes of 256 and more reach the listener only.
    send(keyMessage(MessageKind::KeyDown, 256));
    send(keyMessage(MessageKind::KeyUp, 300));
    EXPECT_EQ(listener.calls,
              (std::vector<std::string>{"down 65", "up 65", "down 256", "up 300"}));
    EXPECT_FALSE(window.isDone());

    // ESC ends the show at once and is still reported.
    send(keyMessage(MessageKind::KeyDown, kVirtualKeyEscape));
    EXPECT_TRUE(window.isDone());
    EXPECT_EQ(listener.calls.back(), "down 27");
    EXPECT_TRUE(window.keys()[kVirtualKeyEscape]);
}

TEST_F(WindowProcedureTest, ButtonMasksAndWheelBits) {
    send(mouseMessage(MessageKind::ButtonDown, kMouseLeft, 10, 20));
    send(mouseMessage(MessageKind::ButtonDown, kMouseRight, 11, 21));
    send(mouseMessage(MessageKind::ButtonUp, kMouseLeft, 12, 22));
    send(mouseMessage(MessageKind::ButtonDown, kMouseMiddle, -3, -4));
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"buttons 1 10,20", "buttons 3 11,21",
                                                        "buttons 2 12,22", "buttons 6 -3,-4"}));
    listener.calls.clear();

    // The wheel is reported momentarily and left to the default handling.
    EXPECT_EQ(send(wheelMessage(120)), MessageResult::Default);
    send(wheelMessage(-120));
    send(wheelMessage(0));
    send(mouseMessage(MessageKind::MouseMove, 0, 7, 8));
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"buttons 14 5,-6", "buttons 22 5,-6",
                                                        "buttons 22 5,-6", "move 6 7,8"}));
    EXPECT_EQ(*window.mouseButtons(), kMouseRight | kMouseMiddle);
}

TEST_F(WindowProcedureTest, WithoutWindowOrListenerNothingIsTouched) {
    window.setListener(nullptr);
    send(mouseMessage(MessageKind::ButtonDown, kMouseLeft, 1, 1));
    EXPECT_EQ(*window.mouseButtons(), kMouseLeft);  // the mask changes without a listener
    EXPECT_EQ(send(wheelMessage(120)), MessageResult::Default);

    int otherToken = 0;
    EXPECT_EQ(windowProcedure(&otherToken, keyMessage(MessageKind::KeyDown, kVirtualKeyEscape)),
              MessageResult::Handled);
    EXPECT_EQ(windowProcedure(&otherToken, message(MessageKind::MouseMove)),
              MessageResult::Handled);
    EXPECT_FALSE(window.isDone());
    EXPECT_EQ(send(message(MessageKind::Other)), MessageResult::Default);
}

TEST_F(WindowProcedureTest, ActivationFollowsMinimising) {
    WindowMessage minimised = message(MessageKind::Activate);
    minimised.minimised = true;
    send(minimised);
    EXPECT_FALSE(window.isActive());
    send(message(MessageKind::Activate));
    EXPECT_TRUE(window.isActive());
}

TEST_F(WindowProcedureTest, OneMessagePerPumpThenTheIdleEscapeTest) {
    window.keys()[kVirtualKeyEscape] = true;  // held, its key-down long taken
    for (int i = 0; i < 10; ++i) queue.push_back(message(MessageKind::Other));
    for (int i = 0; i < 10; ++i) {
        pump();
        EXPECT_FALSE(window.isDone()) << "pump " << i;
    }
    EXPECT_TRUE(queue.empty());
    window.setActive(false);
    pump();
    EXPECT_FALSE(window.isDone());  // only while active
    window.setActive(true);
    pump();
    EXPECT_TRUE(window.isDone());
}

TEST_F(WindowProcedureTest, CloseIsAQuitOnTheNextIdlePump) {
    queue.push_back(message(MessageKind::Close));
    queue.push_back(keyMessage(MessageKind::KeyDown, 'Q'));
    pump();
    EXPECT_FALSE(window.isDone());
    pump();  // waiting messages come before the quit
    EXPECT_FALSE(window.isDone());
    pump();
    EXPECT_TRUE(window.isDone());

    window.setDone(false);
    queue.push_back(message(MessageKind::Quit));
    pump();
    EXPECT_TRUE(window.isDone());
    EXPECT_EQ(listener.calls, (std::vector<std::string>{"down 81"}));
}

// Headless, on SDL's offscreen driver with Mesa.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplaySettings settings;
        settings.width = 320;
        settings.height = 240;
        try {
            createDisplay(settings, display);
        } catch (const InitGLException& e) {
            FAIL() << e.message();
        }
    }
    void TearDown() override { destroyDisplay(display); }

    DisplayPair display;
};

void expectPerspective(double aspect) {
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const double f = 1.0 / std::tan(45.0 * M_PI / 360.0);
    EXPECT_NEAR(projection[0], f / aspect, 1e-4);
    EXPECT_NEAR(projection[5], f, 1e-4);
    // The mirrored z column: gluPerspective's third column, negated.
    EXPECT_NEAR(projection[10], (10000.0 + 0.1) / (10000.0 - 0.1), 1e-4);
    EXPECT_NEAR(projection[11], 1.0, 1e-6);
}

TEST_F(DisplayTest, CreateDisplayGivesTheStartState) {
    ASSERT_NE(display.window, nullptr);
    ASSERT_NE(display.context, nullptr);
    EXPECT_EQ(display.window->width(), 320);
    EXPECT_EQ(display.window->height(), 240);
    EXPECT_FALSE(display.window->fullscreen());
    EXPECT_TRUE(display.window->isActive());
    EXPECT_EQ(findWindow(display.window->dc()), display.window);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    expectPerspective(320.0 / 240.0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    GLint shade = 0, depthFunc = 0, hint = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(shade, GL_SMOOTH);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    EXPECT_EQ(hint, GL_NICEST);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);

    // Depth and stencil as asked (the offscreen surface is single-buffered).
    GLint depthBits = 0, stencilBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    EXPECT_GE(depthBits, 24);
    EXPECT_GE(stencilBits, 8);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DisplayTest, SizeMessageOfHeightZeroKeepsOneRow) {
    WindowMessage size;
    size.kind = MessageKind::Size;
    size.width = 200;
    size.height = 0;
    EXPECT_EQ(windowProcedure(display.window->dc(), size), MessageResult::Handled);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    expectPerspective(200.0);
    resize(320, 240);
}

TEST_F(DisplayTest, PumpingAnIdleWindowEndsNothing) {
    for (int i = 0; i < 20; ++i) display.window->pumpMessages();
    EXPECT_FALSE(display.window->isDone());
    display.window->swapBuffers();
}

TEST(DisplayLifecycle, TheWindowOpensAgainAfterItIsDestroyed) {
    for (int round = 0; round < 2; ++round) {
        DisplayPair display;
        DisplaySettings settings;
        settings.width = 64;
        settings.height = 48;
        settings.showCursor = false;
        createDisplay(settings, display);
        EXPECT_NE(display.window, nullptr);
        WindowHandle handle = display.window->dc();
        destroyDisplay(display);
        EXPECT_EQ(display.window, nullptr);
        EXPECT_EQ(findWindow(handle), nullptr);
    }
}

TEST(DisplayLifecycle, FullScreenOpensAndAFailedOpenLeavesNothingBehind) {
    DisplayPair display;
    DisplaySettings settings;
    settings.width = 320;
    settings.height = 240;
    settings.fullscreen = true;
    createDisplay(settings, display);
    EXPECT_TRUE(display.window->fullscreen());
    destroyDisplay(display);

    settings.fullscreen = false;
    settings.width = settings.height = 1 << 20;  // beyond any surface
    try {
        createDisplay(settings, display);
        FAIL() << "opened a window of a million pixels square";
    } catch (const InitGLException& e) {
        EXPECT_STREQ(e.message(), kFailedCreateWindow);
    }
    EXPECT_EQ(display.window, nullptr);

    settings.width = 32;
    settings.height = 32;
    createDisplay(settings, display);
    EXPECT_NE(display.window, nullptr);
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
