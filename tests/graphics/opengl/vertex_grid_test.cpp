// Grid and sphere index patterns, and drawing a grid on the headless context.

#include "graphics/opengl/vertex_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "manager/exceptions.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

using Indices = std::vector<std::uint32_t>;

struct PatternCase {
    const char* label;
    bool sphere;
    int a, b;  // width and height, or segments and rings
    Indices expected;
};

class IndexPattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(IndexPattern, BuildsTheTrianglesInOrder) {
    const PatternCase& c = GetParam();
    Indices built = c.sphere ? VertexGrid::buildSphereIndices(c.a, c.b)
                             : VertexGrid::buildGridIndices(c.a, c.b);
    EXPECT_EQ(built, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, IndexPattern,
    ::testing::Values(
        PatternCase{"grid3x2", false, 3, 2, {0, 1, 3, 3, 1, 4, 1, 2, 4, 4, 2, 5}},
        PatternCase{"grid2x3", false, 2, 3, {0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5}},
        PatternCase{"gridOneWide", false, 1, 5, {}}, PatternCase{"gridOneHigh", false, 5, 1, {}},
        PatternCase{"gridNegative", false, -3, 4, {}},
        PatternCase{"sphere4x2", true, 4, 2, {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1, 1, 5, 6, 1,
                                              6, 2, 2, 6, 7, 2, 7, 3, 3, 7, 8, 3, 8, 4, 4, 8,
                                              5, 4, 5, 1, 5, 9, 6, 6, 9, 7, 7, 9, 8, 8, 9, 5}},
        PatternCase{
            "sphereOneRing", true, 3, 1, {0, 1, 2, 0, 2, 3, 0, 3, 1, 1, 4, 2, 2, 4, 3, 3, 4, 1}},
        PatternCase{"sphereOneSegment", true, 1, 2, {0, 1, 1, 1, 2, 2, 1, 2, 1, 2, 3, 2}},
        PatternCase{"sphereNoSegments", true, 0, 3, {}},
        PatternCase{"sphereNoRings", true, 4, 0, {}}),
    [](const auto& info) { return info.param.label; });

TEST(VertexGrid, AllocateChecksIndicesAndMakesTheAskedArrays) {
    VertexGrid grid;
    grid.allocate(6, VertexGrid::buildGridIndices(3, 2), true, false, true);
    EXPECT_EQ(grid.triangleCount, 4);
    EXPECT_EQ(grid.positions.size(), 18u);
    EXPECT_EQ(grid.normals.size(), 18u);
    EXPECT_EQ(grid.colours.size(), 18u);
    EXPECT_TRUE(grid.texCoords.empty());

    grid.allocate(10, VertexGrid::buildSphereIndices(4, 2), false, true, false);
    EXPECT_EQ(grid.triangleCount, 16);
    EXPECT_TRUE(grid.normals.empty());
    EXPECT_EQ(grid.texCoords.size(), 20u);

    EXPECT_THROW(grid.allocate(9, VertexGrid::buildSphereIndices(4, 2), false, false, false),
                 ExceptionBase);
    EXPECT_THROW(grid.allocate(-1, {}, false, false, false), ExceptionBase);
    EXPECT_THROW(VertexGrid::buildSphereIndices(1 << 16, 1 << 16), ExceptionBase);
}

// A sphere of radius 0.8 with its poles on y, rings at equal polar steps:
// seen along z its outline is a regular 18-gon.
TEST(VertexGridOnMesa, SphereCoversItsDiscAndSkipsMissingArrays) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 128, 128));
    const int n = 16, m = 8;
    const float r = 0.8f;
    VertexGrid sphere;
    sphere.allocate(n * m + 2, VertexGrid::buildSphereIndices(n, m), false, false, true);
    auto put = [&](int v, float x, float y, float z) {
        sphere.positions[3 * v] = x;
        sphere.positions[3 * v + 1] = y;
        sphere.positions[3 * v + 2] = z;
        sphere.colours[3 * v] = 1.0f;
    };
    put(0, 0, r, 0);
    put(n * m + 1, 0, -r, 0);
    for (int j = 0; j < m; ++j) {
        double theta = std::numbers::pi * (j + 1) / (m + 1);
        for (int k = 0; k < n; ++k) {
            double phi = 2 * std::numbers::pi * k / n;
            put(1 + j * n + k, float(r * std::sin(theta) * std::cos(phi)),
                float(r * std::cos(theta)), float(r * std::sin(theta) * std::sin(phi)));
        }
    }
    glEnableClientState(GL_NORMAL_ARRAY);  // left over from earlier drawing
    glMatrixMode(GL_PROJECTION);           // the window set a perspective
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    sphere.draw();
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    std::vector<unsigned char> pixels(128 * 128 * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 128, 128, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int covered = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) covered += pixels[i] > 128 ? 1 : 0;
    double disc = std::numbers::pi * (r * 64) * (r * 64);
    EXPECT_NEAR(covered / disc, 1.0, 0.03);
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
