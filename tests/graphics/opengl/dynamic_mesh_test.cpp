// Quads drawn from a dynamic mesh on a headless context.

#include "graphics/opengl/dynamic_mesh.h"

#include <gtest/gtest.h>

#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

class DynamicMeshTest : public test::HeadlessGLTest {};

TEST_F(DynamicMeshTest, DrawsCountQuadsWithOptionalColoursAndKeepsItsCapacity) {
    glViewport(0, 0, 40, 4);
    test::loadOrtho(0, 10, 0, 1);  // quad q covers pixels 4q..4q+3
    glDisable(GL_DEPTH_TEST);
    DynamicMesh mesh;
    mesh.resize(10);
    for (int i = 0; i < 40; ++i) {
        const float corner[3] = {float(i / 4 + (i % 4 == 1 || i % 4 == 2)), float(i % 4 >= 2), 0};
        std::copy(corner, corner + 3, mesh.positions.begin() + 3 * i);
    }
    mesh.resize(4);
    mesh.resize(-3);  // ignored
    for (bool coloured : {false, true}) {
        if (coloured) mesh.colours.assign(64, 1.0f);
        glColor4f(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        mesh.draw();
        EXPECT_EQ(coloured, glIsEnabled(GL_COLOR_ARRAY));
        for (int q = 0; q < 10; ++q)
            EXPECT_EQ(q < 4 ? 255 : 0, test::readPixel(4 * q + 2, 2)[0]) << q;
        EXPECT_EQ(coloured ? 255 : 0, test::readPixel(2, 2)[1]);
    }
    mesh.resize(12);
    EXPECT_EQ(12u * 16, mesh.colours.size());
}

}  // namespace
}  // namespace demo
