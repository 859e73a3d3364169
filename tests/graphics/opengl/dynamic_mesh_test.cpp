// Quads drawn from a dynamic mesh on a headless context; billboard corners.

#include "graphics/opengl/dynamic_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "graphics/billboard_quad.h"
#include "graphics/camera_basis.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

// Quad q covers x in [q, q + 1] of a 10 x 1 view, 4 pixels per unit.
void placeQuads(DynamicMesh& mesh, int quads) {
    for (int q = 0; q < quads; ++q) {
        const float corners[12] = {float(q), 0, 0, q + 1.0f, 0, 0, q + 1.0f, 1, 0, float(q), 1, 0};
        std::copy(corners, corners + 12, mesh.positions.begin() + 12 * q);
    }
}

int litQuads() {
    int lit = 0;
    for (int q = 0; q < 10; ++q) lit += test::readPixel(4 * q + 2, 2)[1] > 0 ? 1 : 0;
    return lit;
}

TEST(DynamicMesh, DrawsCountQuadsWithOptionalColoursAndKeepsItsCapacity) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 40, 4));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 10, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    DynamicMesh mesh;
    mesh.resize(10);
    placeQuads(mesh, 10);
    mesh.resize(4);
    EXPECT_EQ(10, mesh.capacity);
    ASSERT_EQ(40u, mesh.indices.size());
    EXPECT_EQ(39u, mesh.indices[39]);
    EXPECT_EQ((std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1}),
              std::vector<float>(mesh.texcoords.begin() + 72, mesh.texcoords.end()));
    glEnableClientState(GL_NORMAL_ARRAY);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.draw();
    EXPECT_EQ(4, litQuads());
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));

    mesh.colours.assign(16 * 4, 0.0f);
    for (std::size_t v = 0; v < 16; ++v) mesh.colours[4 * v + 1] = mesh.colours[4 * v + 3] = 1;
    glColor4f(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.draw();
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_EQ((std::array<int, 4>{0, 255, 0, 255}), test::readPixel(2, 2));

    mesh.resize(-3);  // ignored
    EXPECT_EQ(4, mesh.count);
    mesh.resize(12);
    EXPECT_EQ(12u * 16, mesh.colours.size());
    EXPECT_EQ(12u * 12, mesh.positions.size());
    mesh.free();
    EXPECT_TRUE(mesh.positions.empty() && mesh.colours.empty() && mesh.indices.empty());
    glDisableClientState(GL_COLOR_ARRAY);
    destroyDisplay(display);
}

TEST(BillboardQuad, CornersSpanRightAndUpOfTheCameraBasis) {
    const float view[16] = {0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    CameraBasis::instance()->setFromViewMatrix(view);  // right (0, 1, 0), up (0, 0, 1)
    Vector3 corners[4];
    setupBillboardQuad(corners);
    EXPECT_EQ(corners[0], (Vector3{0, -1, -1}));
    EXPECT_EQ(corners[1], (Vector3{0, 1, -1}));
    EXPECT_EQ(corners[2], (Vector3{0, 1, 1}));
    EXPECT_EQ(corners[3], (Vector3{0, -1, 1}));
}

}  // namespace
}  // namespace demo
