#include "graphics/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace demo {
namespace {

constexpr float pi = std::numbers::pi_v<float>;

Vector3 column(const Transform& t, int c) {
    const float* m = t.matrix();
    return {m[4 * c], m[4 * c + 1], m[4 * c + 2]};
}

void expectNear(Vector3 expected, Vector3 actual, float tolerance = 1e-6f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

void expectInverse(const Transform& t, float tolerance) {
    const float* a = t.matrix();
    const float* b = t.inverseMatrix();
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[4 * k + r] * b[4 * c + k];
            ASSERT_NEAR(r == c ? 1.0f : 0.0f, sum, tolerance) << "row " << r << " column " << c;
        }
    }
}

TEST(Transform, PositionConstructorInvertsTheTranslation) {
    const Transform t({1, 2, 3});
    const float* inv = t.inverseMatrix();
    EXPECT_EQ(-1, inv[12]);
    EXPECT_EQ(-2, inv[13]);
    EXPECT_EQ(-3, inv[14]);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) EXPECT_EQ(r == c ? 1.0f : 0.0f, inv[4 * c + r]);
    EXPECT_EQ((Vector3{1, 2, 3}), t.getPosition());
}

TEST(Transform, LocalRotationsAndMoves) {
    Transform t;
    t.rotateYPos(pi / 2);
    t.updateMatrices();
    expectNear({0, 0, -1}, column(t, 0));
    t.moveLocal({0, 0, 1});
    expectNear({1, 0, 0}, t.getPosition());

    // Rotations compose on the right: they turn about the frame's own axes.
    t.rotateXNeg(pi / 2);
    t.updateMatrices();
    expectNear({0, 1, 0}, column(t, 2));

    Transform u;
    const Quaternion start = u.orientation;
    u.rotateYPos(0.8f);
    u.rotateYNeg(0.8f);
    u.rotateZPos(1.3f);
    u.rotateZNeg(1.3f);
    EXPECT_NEAR(start.w, u.orientation.w, 1e-6f);
    EXPECT_NEAR(0, u.orientation.y, 1e-6f);
    EXPECT_NEAR(0, u.orientation.z, 1e-6f);
}

TEST(Transform, MatrixTimesInverseIsIdentityOnRandomFrames) {
    std::mt19937 gen(21);
    std::uniform_real_distribution<float> d(-1, 1);
    std::uniform_real_distribution<float> s(0.2f, 4);
    for (int n = 0; n < 2000; ++n) {
        Transform t({d(gen) * 50, d(gen) * 50, d(gen) * 50});
        t.orientation = Quaternion::fromAxisAngle(d(gen) * pi, {d(gen), d(gen), d(gen) + 2});
        if (n % 2) t.setScale({s(gen), s(gen), d(gen) < 0 ? -s(gen) : s(gen)});
        t.updateMatrices();
        expectInverse(t, 2e-4f);
    }
}

TEST(Transform, LookAtKnownOrientations) {
    Transform t;
    t.up = {0, 1, 0};
    t.lookAt({0, 0, 1}, 0);
    EXPECT_NEAR(0, t.orientation.x, 1e-7f);
    EXPECT_NEAR(0, t.orientation.y, 1e-7f);
    EXPECT_NEAR(0, t.orientation.z, 1e-7f);
    EXPECT_NEAR(1, t.orientation.w, 1e-7f);
    t.lookAt({5, 0, 0}, 0);
    EXPECT_NEAR(0, t.orientation.x, 1e-7f);
    EXPECT_FLOAT_EQ(0.70710677f, t.orientation.y);
    EXPECT_NEAR(0, t.orientation.z, 1e-7f);
    EXPECT_FLOAT_EQ(0.70710677f, t.orientation.w);

    const Transform camera({0, 1, 0}, {1, 1, 1}, {1, 1, -4});
    Transform placed = camera;
    placed.updateMatrices();
    expectNear({0, 0, -1}, column(placed, 2));
}

// Local +Z must go to the view direction and local +Y towards up, from any
// position, for any direction and up, with or without roll.
TEST(Transform, LookAtRandomDirections) {
    std::mt19937 gen(8);
    std::uniform_real_distribution<float> d(-1, 1);
    for (int n = 0; n < 5000; ++n) {
        Transform t({d(gen) * 10, d(gen) * 10, d(gen) * 10});
        t.up = n % 3 ? Vector3{0, 1, 0} : Vector3{d(gen), d(gen), d(gen)};
        const Vector3 target{d(gen) * 10, d(gen) * 10, d(gen) * 10};
        const float roll = n % 4 ? 0.0f : d(gen) * pi;
        t.lookAt(target, roll);
        t.updateMatrices();

        const Vector3 f = (target - t.getPosition()).normalized();
        const Vector3 z = column(t, 2), y = column(t, 1), x = column(t, 0);
        ASSERT_LT(z.cross(f).length(), 1e-5f) << n;
        ASSERT_GT(z.dot(f), 0.0f) << n;
        ASSERT_NEAR(0.0f, y.dot(f), 1e-5f) << n;
        ASSERT_NEAR(1.0f, x.cross(y).dot(z), 1e-5f) << n;
        const Vector3 upInPlane = (t.up - f * f.dot(t.up)).normalized();
        // Roll turns +Y about the view direction by the roll angle.
        ASSERT_NEAR(std::cos(roll), y.dot(upInPlane), 2e-5f) << n << " plane " << (t.up - f * f.dot(t.up)).length() << " up " << t.up.length();
        expectInverse(t, 1e-4f);
    }
}

TEST(Transform, LookAtAlongUpKeepsAValidFrame) {
    for (Vector3 target : {Vector3{0, 7, 0}, Vector3{0, -3, 0}, Vector3{0, 2, 1e-7f}}) {
        Transform t;
        t.up = {0, 1, 0};
        t.lookAt(target, 0.3f);
        t.updateMatrices();
        const Vector3 f = target.normalized();
        EXPECT_NEAR(1.0f, column(t, 2).dot(f), 1e-5f);
        EXPECT_NEAR(0.0f, column(t, 1).dot(f), 1e-5f);
        EXPECT_NEAR(1.0f, column(t, 1).length(), 1e-5f);
        expectInverse(t, 1e-5f);
    }
    // A target at the position leaves the orientation as it was.
    Transform t({1, 2, 3});
    t.rotateYPos(0.5f);
    const Quaternion before = t.orientation;
    t.lookAt({1, 2, 3}, 1.0f);
    EXPECT_EQ(before, t.orientation);
}

}  // namespace
}  // namespace demo
