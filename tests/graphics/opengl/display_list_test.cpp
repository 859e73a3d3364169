// Display lists on the headless context: named once, replayed, deleted.

#include "graphics/opengl/display_list.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "tests/support/headless_gl.h"

namespace demo {
namespace {

void drawFullQuad(float red) {
    glColor3f(red, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
}

int redAfterCall(const DisplayList& list) {
    glClear(GL_COLOR_BUFFER_BIT);
    list.call();
    return test::readPixel(8, 8)[0];
}

TEST(DisplayListOnMesa, RecordsIntoOneNameAndDeletesIt) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 16, 16));
    glMatrixMode(GL_PROJECTION);  // the window set a perspective
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    auto list = std::make_unique<DisplayList>();
    EXPECT_EQ(redAfterCall(*list), 0);  // never begun: nothing
    EXPECT_FALSE(list->valid);

    list->begin(GL_COMPILE);
    drawFullQuad(1.0f);
    glEndList();
    GLuint name = list->list;
    EXPECT_TRUE(glIsList(name));
    EXPECT_EQ(redAfterCall(*list), 255);

    list->begin(GL_COMPILE);  // recorded again under the same name
    drawFullQuad(0.5f);
    glEndList();
    EXPECT_EQ(list->list, name);
    EXPECT_NEAR(redAfterCall(*list), 128, 1);

    list.reset();
    EXPECT_FALSE(glIsList(name));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
