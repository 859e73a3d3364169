// The shared projection, read back from a headless context; the tracks that
// place a camera; the view rotation handed on to billboards.

#include "graphics/opengl/camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graphics/billboard_quad.h"
#include "graphics/camera_basis.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using Matrix = std::array<float, 16>;

Matrix projection() {
    Matrix m{};
    glGetFloatv(GL_PROJECTION_MATRIX, m.data());
    return m;
}

// gluPerspective(fov, 4/3, 0.1f, 10000) with its z column negated.
Matrix perspective(float fov) {
    const float f = 1 / std::tan(fov * std::numbers::pi_v<float> / 360), n = 0.1f, far = 10000;
    return {f * 0.75f, 0, 0, 0, 0, f, 0, 0, 0, 0, (far + n) / (far - n), 1,
            0, 0, -2 * far * n / (far - n), 0};
}

class CameraTest : public test::HeadlessGLTest {};  // a square window, not 4:3

TEST_F(CameraTest, ProjectionAndTracksPlaceTheViewAndTheBasisOrientsBillboards) {
    const Matrix marker{2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(marker.data());
    for (float ignored : {45.0f, -10.0f, 180.0f, NAN}) Camera::setProjection(ignored);
    EXPECT_EQ(marker, projection());  // 45 is the remembered start value

    // Each step, then the frame lookAt(target, roll) gives and the field of view.
    Camera camera("c", 45, 4.0f / 3);
    ASSERT_TRUE(camera.target.setKeys({{0, 0, 10}, {10, 0, 0}}, {0, 1}) &&
                camera.roll.setKeys({0.0f, 0.5f}, {0, 1}) &&
                camera.fov.setKeys({50.0f, 70.0f}, {0, 1}));
    const std::tuple<void (*)(Camera&), Vector3, float, float> steps[] = {
        {[](Camera& c) { c.apply(1), c.reset(); }, {0, 0, 10}, 0, 50},
        {[](Camera& c) { c.advance(); }, {0, 0, 10}, 0, 50},  // time 0, then a step (1) on
        {[](Camera& c) { c.advance(); }, {10, 0, 0}, 0.5f, 70},
        {[](Camera& c) { c.apply(0); }, {0, 0, 10}, 0, 50},
        {[](Camera& c) { c.apply(1), c.apply(1); }, {10, 0, 0}, 0.5f, 70},
        {[](Camera& c) { c.target.animated = false, c.apply(0); }, {10, 0, 0}, 0.5f, 50}};
    for (const auto& e : steps) {
        const auto& [step, target, roll, fov] = e;
        step(camera);
        Transform frame;
        frame.lookAt(target, roll);
        EXPECT_NEAR(1, frame.orientation.dot(camera.transform.orientation), 1e-6f) << &e - steps;
        const Matrix want = perspective(fov), got = projection();
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(want[i], got[i], 1e-5f) << &e - steps;
    }

    // The basis takes the view's rotation, the camera's axes in world terms;
    // a billboard quad spans the right and up axes.
    camera.transform.updateMatrices();
    CameraBasis::instance()->setFromViewMatrix(camera.transform.inverseMatrix());
    const Matrix3 a = camera.transform.orientationMatrix();
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(a[i], CameraBasis::instance()->rows[i], 1e-5f) << i;
    const Vector3 right{a[0], a[1], a[2]}, up{a[3], a[4], a[5]};
    const Vector3 want[4] = {-right - up, right - up, right + up, up - right};
    Vector3 corners[4];
    setupBillboardQuad(corners);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(0, (corners[i] - want[i]).length(), 1e-5f) << i;
}

}  // namespace
}  // namespace demo
