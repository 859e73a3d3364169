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

// The frame a fresh transform gets from lookAt(target, roll).
Matrix3 lookingAt(const Vector3& target, float roll) {
    Transform frame;
    frame.lookAt(target, roll);
    return frame.orientationMatrix();
}

void expectFrame(const Matrix3& want, const Camera& camera, int line = __builtin_LINE()) {
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(want[i], camera.transform.orientationMatrix()[i], 1e-5f) << "line " << line;
}

// The focal factor of the loaded projection, 1 / tan(fov / 2), for a fov in degrees.
float focal() { return projection()[5]; }
float focal(float fov) { return 1 / std::tan(fov * std::numbers::pi_v<float> / 360); }

TEST_F(CameraTest, TracksPlaceTheFrameAndTheBasisOrientsBillboards) {
    Camera camera("c", 45, 4.0f / 3);
    ASSERT_TRUE(camera.target.setKeys({{0, 0, 10}, {10, 0, 0}}, {0, 1}));
    ASSERT_TRUE(camera.roll.setKeys({0.0f, 0.5f}, {0, 1}));
    ASSERT_TRUE(camera.fov.setKeys({50.0f, 70.0f}, {0, 1}));
    const Matrix3 start = lookingAt({0, 0, 10}, 0), end = lookingAt({10, 0, 0}, 0.5f);

    camera.apply(1);
    camera.reset();
    expectFrame(start, camera);
    EXPECT_NEAR(focal(50), focal(), 1e-5f);
    camera.advance();  // the frame of time 0, the tracks then a time step (1) on
    expectFrame(start, camera);
    camera.advance();
    expectFrame(end, camera);
    EXPECT_NEAR(focal(70), focal(), 1e-5f);
    for (int twice = 0; twice < 2; ++twice) {
        camera.apply(0);
        expectFrame(start, camera);
        camera.apply(1);
        expectFrame(end, camera);
    }
    camera.target.animated = false;  // the frame stays as it was left
    camera.apply(0);
    expectFrame(end, camera);

    // The basis takes the view's rotation: the camera's axes in world terms,
    // and a billboard quad spans the right and up axes.
    camera.transform.updateMatrices();
    CameraBasis::instance()->setFromViewMatrix(camera.transform.inverseMatrix());
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(end[i], CameraBasis::instance()->rows[i], 1e-5f) << i;
    const Vector3 right{end[0], end[1], end[2]}, up{end[3], end[4], end[5]};
    Vector3 corners[4];
    setupBillboardQuad(corners);
    const Vector3 want[4] = {-right - up, right - up, right + up, up - right};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(0, (corners[i] - want[i]).length(), 1e-5f) << i;
}

}  // namespace
}  // namespace demo
