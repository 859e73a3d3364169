// The shared projection and the camera's tracks on a headless context.

#include "graphics/opengl/camera.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "graphics/camera_basis.h"
#include "graphics/track_controller.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

using Matrix = std::array<float, 16>;

Matrix projection() {
    Matrix m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}

void loadProjection(const Matrix& m) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(m.data());
    glMatrixMode(GL_MODELVIEW);
}

// gluPerspective(fov, 4/3, 0.1f, 10000) with its z column negated.
Matrix mirroredPerspective(double fov) {
    const double f = 1.0 / std::tan(fov * std::numbers::pi / 360.0), n = 0.1f, far = 10000.0;
    Matrix m{};
    m[0] = static_cast<float>(f * 3.0 / 4.0);
    m[5] = static_cast<float>(f);
    m[10] = static_cast<float>(-(far + n) / (n - far));
    m[11] = 1.0f;
    m[14] = static_cast<float>(2.0 * far * n / (n - far));
    return m;
}

void expectMatrixNear(const Matrix& expected, const Matrix& actual) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expected[i], actual[i], 1e-5f * (1 + std::fabs(expected[i]))) << i;
}

const Matrix kMarker{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};

TEST(Camera, ProjectionLoadsOnlyForANewUsableFieldOfView) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 64, 32));  // not 4:3 on purpose
    loadProjection(kMarker);
    Camera::setProjection(45);  // the remembered start value
    EXPECT_EQ(kMarker, projection());
    Camera::setProjection(60);
    expectMatrixNear(mirroredPerspective(60), projection());
    loadProjection(kMarker);
    for (float ignored : {60.0f, 0.0f, -10.0f, 180.0f, NAN}) {
        Camera::setProjection(ignored);
        EXPECT_EQ(kMarker, projection()) << ignored;
    }
    Camera::setProjection(45);
    expectMatrixNear(mirroredPerspective(45), projection());

    // A fov path without keys reads 0: ignored, whichever step reads it.
    Camera camera("c", 45, 4.0f / 3.0f);
    camera.fov.animated = true;
    camera.fov.path = std::make_unique<CubicPath<float>>();
    loadProjection(kMarker);
    camera.reset();
    camera.advance();
    camera.apply(3);
    EXPECT_EQ(kMarker, projection());
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_MODELVIEW, mode);
    destroyDisplay(display);
}

TEST(Camera, TracksPlaceTheFrameAndStepAfterReading) {
    Camera camera("c", 45, 4.0f / 3.0f);
    TrackController controller;
    ASSERT_TRUE(controller.position.setKeys({{0, 0, 0}, {0, 0, 10}}, {0, 10}));
    camera.trackController = &controller;
    ASSERT_TRUE(camera.target.setKeys({{0, 0, 5}, {5, 0, 5}}, {0, 10}));
    ASSERT_TRUE(camera.roll.setKeys({0.0f, 1.0f}, {0, 10}));

    camera.apply(10);
    const Quaternion atTen = camera.transform.orientation;
    EXPECT_NEAR(10.0f, camera.transform.getPosition().z, 1e-5f);
    camera.apply(10);
    EXPECT_EQ(atTen, camera.transform.orientation);

    camera.reset();
    const Quaternion atZero = camera.transform.orientation;
    EXPECT_NEAR(0.0f, atZero.x, 1e-6f);  // looking straight down +Z, no roll
    EXPECT_NEAR(0.0f, atZero.z, 1e-6f);
    camera.advance();
    EXPECT_EQ(atZero, camera.transform.orientation);
    EXPECT_EQ(1.0f, camera.target.path->time);
    EXPECT_EQ(1.0f, camera.roll.path->time);
    EXPECT_EQ(1.0f, controller.position.path->time);
}

TEST(Camera, BasisStartsZeroedAndTakesTheViewRotationRowByRow) {
    CameraBasis* basis = CameraBasis::instance();
    EXPECT_EQ(basis, CameraBasis::instance());
    for (float v : basis->rows) EXPECT_EQ(0.0f, v);
    float view[16];
    for (int i = 0; i < 16; ++i) view[i] = static_cast<float>(i);
    basis->setFromViewMatrix(view);
    const float expected[9] = {0, 4, 8, 1, 5, 9, 2, 6, 10};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(expected[i], basis->rows[i]);
}

}  // namespace
}  // namespace demo
