#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace demo {
namespace {

Vector3 row(const Matrix3& m, int r) { return {m[3 * r], m[3 * r + 1], m[3 * r + 2]}; }
Vector3 rotate(const Matrix3& m, Vector3 v) { return {row(m, 0).dot(v), row(m, 1).dot(v), row(m, 2).dot(v)}; }

void expectNear(Vector3 expected, Vector3 actual, float tolerance = 1e-6f) {
    EXPECT_LT((expected - actual).length(), tolerance) << expected << " vs " << actual;
}

TEST(Quaternion, OutputMatrixAxisAngleProductAndSlerp) {
    EXPECT_EQ(identityMatrix3(), Quaternion(0, 0, 0, 1).toMatrix3());
    EXPECT_EQ(Matrix3{}, Quaternion(0, 0, 0, 0).toMatrix3());
    // The axis length does not matter; a quarter turn about Z takes X to Y.
    const Quaternion q = Quaternion::fromAxisAngle(std::numbers::pi_v<float> / 2, {0, 0, 2});
    expectNear({0, 0, 0.70710677f}, {q.x, q.y, q.z});
    EXPECT_FLOAT_EQ(0.70710677f, q.w);
    expectNear({0, 1, 0}, rotate(q.toMatrix3(), {1, 0, 0}));
    expectNear({0, -1, 0}, rotate(q.conjugate().toMatrix3(), {1, 0, 0}));

    // The matrix of a (x) b is A.B: b acts first. The identity is neutral.
    const Quaternion a = Quaternion::fromAxisAngle(-1.1f, {0, 1, 1}), b = Quaternion::fromAxisAngle(0.7f, {1, 2, 3});
    EXPECT_TRUE(b == Quaternion::multiply(Quaternion{}, b) && b == Quaternion::multiply(b, Quaternion{}));
    const Vector3 v{0.3f, -2, 5};
    expectNear(rotate(a.toMatrix3(), rotate(b.toMatrix3(), v)), rotate(Quaternion::multiply(a, b).toMatrix3(), v), 1e-5f);

    // Slerp: exact start and equal keys, the arc's midpoint.
    EXPECT_TRUE(a == Quaternion::slerp(a, b, 0.0f) && a == Quaternion::slerp(a, a, 0.3f));
    const Quaternion c = Quaternion::fromAxisAngle(0.2f, {0, 1, 0}), d = Quaternion::fromAxisAngle(1.4f, {0, 1, 0});
    EXPECT_NEAR(Quaternion::fromAxisAngle(0.8f, {0, 1, 0}).y, Quaternion::slerp(c, d, 0.5f).y, 1e-6f);
    // Opposite keys have no single arc, but must not give NaN.
    const Quaternion n{0.6f, 0, 0, 0.8f}, neg{-0.6f, 0, 0, -0.8f};
    for (float u : {0.25f, 0.5f, 1.0f}) EXPECT_NEAR(1.0f, std::fabs(Quaternion::slerp(n, neg, u).dot(n)), 1e-6f);
}

TEST(Basis, TieRulesHandednessAndRandomDirections) {
    Matrix3 m;
    buildOrthonormalBasis({0, 0, 5}, 2, m, true);  // |x| = |y| counts as x not smaller: e = Y
    EXPECT_EQ((Matrix3{0, 1, 0, -1, 0, 0, 0, 0, 1}), m);
    buildOrthonormalBasis({0, 0, 5}, 2, m, false);
    expectNear({1, 0, 0}, row(m, 1));
    buildOrthonormalBasis({0, 3, 4}, 0, m, true);  // x smallest: e = X
    expectNear({1, 0, 0}, row(m, 1));

    std::mt19937 gen(3);
    std::uniform_real_distribution<float> d(-10, 10);
    for (int n = 0; n < 6000; ++n) {
        const int k = n % 3;
        buildOrthonormalBasis({d(gen), d(gen), d(gen)}, k, m, true);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(std::fabs(row(m, i).length() - 1) < 1e-5f && std::fabs(row(m, i).dot(row(m, (i + 1) % 3))) < 1e-5f);
        ASSERT_NEAR(1.0f, row(m, (k + 1) % 3).cross(row(m, (k + 2) % 3)).dot(row(m, k)), 1e-5f);
    }
}

TEST(AffineInverse, SingularTranslationAndAGeneralMatrix) {
    Matrix4 m = identityMatrix4(), out;
    m[4] = m[5] = m[6] = 0;  // zero second column
    out.fill(42);
    EXPECT_EQ(-1, invertAffineMatrix(m, out));
    EXPECT_EQ(42, *std::min_element(out.begin(), out.end()));
    m = identityMatrix4();
    m[12] = 1, m[13] = 2, m[14] = 3;
    ASSERT_EQ(0, invertAffineMatrix(m, out));
    // The fourth row is left to the caller.
    EXPECT_EQ(out, (Matrix4{1, 0, 0, 42, 0, 1, 0, 42, 0, 0, 1, 42, -1, -2, -3, 42}));
    m = {2, 1, 0, 0, 0, 3, 1, 0, 1, 0, 4, 0, 5, -6, 7, 1};  // a general 3 x 3 part
    out = identityMatrix4();
    ASSERT_EQ(0, invertAffineMatrix(m, out));
    for (int c = 0; c < 16; ++c) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += m[4 * k + c % 4] * out[4 * (c / 4) + k];
        EXPECT_NEAR(c % 5 == 0 ? 1.0f : 0.0f, sum, 1e-5f) << c;
    }
}

}  // namespace
}  // namespace demo
