// The shared projection, read back from a headless context.

#include "graphics/opengl/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using Matrix = std::array<float, 16>;
const Matrix kMarker{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};

Matrix projection() {
    Matrix m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}

class CameraTest : public test::HeadlessGLTest {};  // a square window, not 4:3

TEST_F(CameraTest, ProjectionLoadsOnlyForANewUsableFieldOfView) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(kMarker.data());
    for (float ignored : {45.0f, -10.0f, 180.0f, NAN}) Camera::setProjection(ignored);
    EXPECT_EQ(kMarker, projection());  // 45 is the remembered start value
    Camera::setProjection(60);
    // gluPerspective(60, 4/3, 0.1f, 10000) with its z column negated.
    const float f = 1 / std::tan(std::numbers::pi_v<float> / 6), n = 0.1f, far = 10000;
    const Matrix expected{f * 0.75f, 0, 0, 0, 0, f, 0, 0, 0, 0, (far + n) / (far - n), 1,
                          0, 0, -2 * far * n / (far - n), 0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(expected[i], projection()[i], 1e-5f) << i;
}

}  // namespace
}  // namespace demo
