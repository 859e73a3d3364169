// Grid and sphere index patterns; a sphere recorded in a display list and
// replayed on the headless context.

#include "graphics/opengl/vertex_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "graphics/opengl/display_list.h"
#include "manager/exceptions.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using Indices = std::vector<std::uint32_t>;

TEST(VertexGrid, IndexPatterns) {
    EXPECT_EQ(VertexGrid::buildGridIndices(3, 2), (Indices{0, 1, 3, 3, 1, 4, 1, 2, 4, 4, 2, 5}));
    EXPECT_EQ(VertexGrid::buildSphereIndices(4, 2),
              (Indices{0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1, 1, 5, 6, 1, 6, 2, 2, 6, 7, 2, 7, 3,
                       3, 7, 8, 3, 8, 4, 4, 8, 5, 4, 5, 1, 5, 9, 6, 6, 9, 7, 7, 9, 8, 8, 9, 5}));
    for (auto [a, b] : {std::pair{1, 5}, {5, 1}, {-3, 4}, {0, 0}}) {
        EXPECT_TRUE(VertexGrid::buildGridIndices(a, b).empty()) << a << "x" << b;
        EXPECT_TRUE(VertexGrid::buildSphereIndices(a - 1, b - 1).empty()) << a << "x" << b;
    }
    VertexGrid grid;
    EXPECT_THROW(grid.allocate(9, VertexGrid::buildSphereIndices(4, 2), 0, 0, 0), ExceptionBase);
}

class VertexGridOnMesa : public test::HeadlessGLTest {};

// Poles on y and rings at equal polar steps: seen along z the outline is a
// regular 18-gon, 2 % short of the disc.
TEST_F(VertexGridOnMesa, SphereInAListCoversItsDisc) {
    const int n = 16, m = 8;
    const double r = 0.8, pi = std::numbers::pi;
    VertexGrid sphere;
    sphere.allocate(n * m + 2, VertexGrid::buildSphereIndices(n, m), false, false, true);
    for (int v = 0; v < n * m + 2; ++v) {  // ring (v - 1) / n; the poles' phi does not matter
        double theta = pi * ((v + n - 1) / n) / (m + 1), phi = 2 * pi * (v - 1) / n;
        float* p = &sphere.positions[3 * v];
        p[0] = float(r * std::sin(theta) * std::cos(phi));
        p[1] = float(r * std::cos(theta));
        p[2] = float(r * std::sin(theta) * std::sin(phi));
        sphere.colours[3 * v] = 1.0f;
    }

    glMatrixMode(GL_PROJECTION);  // the window set a perspective
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    auto coverage = [&](const DisplayList& list) {
        glClear(GL_COLOR_BUFFER_BIT);
        list.call();
        std::vector<unsigned char> red(128 * 128);
        glReadPixels(0, 0, 128, 128, GL_RED, GL_UNSIGNED_BYTE, red.data());
        double covered = std::count_if(red.begin(), red.end(), [](int c) { return c > 128; });
        return covered / (pi * (r * 64) * (r * 64));
    };
    auto list = std::make_unique<DisplayList>();
    EXPECT_EQ(coverage(*list), 0.0);  // never begun: draws nothing
    list->begin(GL_COMPILE);
    glEnableClientState(GL_NORMAL_ARRAY);  // left over from earlier drawing
    sphere.draw();
    glEndList();
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_NEAR(coverage(*list), 1.0, 0.03);
    GLuint name = list->list;
    list->begin(GL_COMPILE);  // recorded again, into the same name: now empty
    glEndList();
    EXPECT_EQ(list->list, name);
    EXPECT_EQ(coverage(*list), 0.0);

    list.reset();
    EXPECT_FALSE(glIsList(name));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace demo
