#include "graphics/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace demo {
namespace {

constexpr float pi = std::numbers::pi_v<float>;

Vector3 column(const Transform& t, int c) { return {t.matrix()[4 * c], t.matrix()[4 * c + 1], t.matrix()[4 * c + 2]}; }

void expectNear(Vector3 expected, Vector3 actual, float tolerance = 1e-6f) {
    EXPECT_LT((expected - actual).length(), tolerance) << expected << " vs " << actual;
}

void expectInverse(const Transform& t, float tolerance) {
    for (int c = 0; c < 16; ++c) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += t.matrix()[4 * k + c % 4] * t.inverseMatrix()[4 * (c / 4) + k];
        ASSERT_NEAR(c % 5 == 0 ? 1.0f : 0.0f, sum, tolerance) << "element " << c;
    }
}

TEST(Transform, PositionConstructorLocalRotationsAndMoves) {
    Transform t({1, 2, 3});
    Matrix4 expected = identityMatrix4();
    expected[12] = -1, expected[13] = -2, expected[14] = -3;
    EXPECT_EQ(expected, t.inverse);
    t.setPosition({0, 0, 0});
    EXPECT_EQ(expected, t.inverse);  // only updateMatrices rebuilds it

    t.rotateYPos(pi / 2);
    t.updateMatrices();
    expectNear({0, 0, -1}, column(t, 0));
    t.moveLocal({0, 0, 1});
    expectNear({1, 0, 0}, t.getPosition());
    t.rotateXNeg(pi / 2);  // composed on the right: about the frame's own X
    t.updateMatrices();
    expectNear({0, 1, 0}, column(t, 2));
}

TEST(Transform, LookAtKnownOrientationsAndDegenerateTargets) {
    Transform camera({0, 1, 0}, {1, 1, 1}, {1, 1, -4});
    camera.updateMatrices();
    expectNear({0, 0, -1}, column(camera, 2));

    // Along `up` any perpendicular will do; at the position nothing changes.
    for (Vector3 target : {Vector3{0, 7, 0}, Vector3{0, -3, 0}, Vector3{0, 2, 1e-7f}}) {
        Transform along;
        along.lookAt(target, 0.3f);
        along.updateMatrices();
        EXPECT_NEAR(1.0f, column(along, 2).dot(target.normalized()), 1e-5f);
        expectInverse(along, 1e-5f);
    }
    const Quaternion before = camera.orientation;
    camera.lookAt({1, 1, 1}, 1.0f);
    EXPECT_EQ(before, camera.orientation);
}

// Local +Z goes to the view direction and local +Y towards up (turned by the
// roll), from any position, for any direction and up; the inverse holds also
// for unequal and mirroring scales.
TEST(Transform, LookAtRandomDirectionsAndInverses) {
    std::mt19937 gen(8);
    std::uniform_real_distribution<float> d(-1, 1), s(0.2f, 4);
    for (int n = 0; n < 5000; ++n) {
        Transform t({d(gen) * 10, d(gen) * 10, d(gen) * 10});
        t.up = n % 3 ? Vector3{0, 1, 0} : Vector3{d(gen), d(gen), d(gen)};
        const Vector3 target{d(gen) * 10, d(gen) * 10, d(gen) * 10};
        const float roll = n % 4 ? 0.0f : d(gen) * pi;
        t.lookAt(target, roll);
        t.updateMatrices();
        const Vector3 f = (target - t.getPosition()).normalized();
        const Vector3 z = column(t, 2), y = column(t, 1), x = column(t, 0);
        ASSERT_TRUE(z.cross(f).length() < 1e-5f && z.dot(f) > 0) << n;
        ASSERT_NEAR(1.0f, x.cross(y).dot(z), 1e-5f) << n;
        ASSERT_NEAR(std::cos(roll), y.dot((t.up - f * f.dot(t.up)).normalized()), 2e-5f) << n;
        if (n % 2) {
            t.setScale({s(gen), s(gen), d(gen) < 0 ? -s(gen) : s(gen)});
            t.updateMatrices();
        }
        expectInverse(t, n % 2 ? 2e-4f : 1e-4f);
    }
}

}  // namespace
}  // namespace demo
