#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <sstream>

#include "math/matrix.h"
#include "math/quaternion.h"
#include "math/vector3.h"

namespace demo {
namespace {

void expectRow(const Matrix3& m, int row, Vector3 v) {
    EXPECT_NEAR(m[3 * row], v.x, 1e-6f) << "row " << row;
    EXPECT_NEAR(m[3 * row + 1], v.y, 1e-6f) << "row " << row;
    EXPECT_NEAR(m[3 * row + 2], v.z, 1e-6f) << "row " << row;
}

Vector3 rotate(const Matrix3& m, Vector3 v) {
    return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
            m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

TEST(Vector3, WritesParenthesisedComponents) {
    std::ostringstream out;
    out << Vector3{1, 2.5f, -3};
    EXPECT_EQ("(1 2.5 -3)", out.str());
}

TEST(Quaternion, MatrixOfIdentityZeroAndRotation) {
    EXPECT_EQ(identityMatrix3(), Quaternion(0, 0, 0, 1).toMatrix3());
    EXPECT_EQ(Matrix3{}, Quaternion(0, 0, 0, 0).toMatrix3());
    // A quarter turn about Z takes X to Y; the conjugate's matrix is the transpose.
    const Quaternion q = Quaternion::fromAxisAngle(std::numbers::pi_v<float> / 2, {0, 0, 1});
    const Matrix3 m = q.toMatrix3();
    const Vector3 y = rotate(m, {1, 0, 0});
    EXPECT_NEAR(0, y.x, 1e-6f);
    EXPECT_NEAR(1, y.y, 1e-6f);
    const Matrix3 t = q.conjugate().toMatrix3();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(m[3 * r + c], t[3 * c + r]);
    // A non-unit quaternion still gives a pure rotation.
    const Matrix3 scaled = Quaternion(q.x * 3, q.y * 3, q.z * 3, q.w * 3).toMatrix3();
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i], scaled[i], 1e-6f);
}

TEST(Quaternion, AxisLengthDoesNotMatter) {
    const Quaternion q = Quaternion::fromAxisAngle(std::numbers::pi_v<float> / 2, {0, 0, 2});
    EXPECT_EQ(0.0f, q.x);
    EXPECT_EQ(0.0f, q.y);
    EXPECT_FLOAT_EQ(0.70710677f, q.z);
    EXPECT_FLOAT_EQ(0.70710677f, q.w);
}

TEST(Quaternion, ProductComposesRotations) {
    const Quaternion id;
    const Quaternion q = Quaternion::fromAxisAngle(0.7f, {1, 2, 3});
    EXPECT_EQ(q, Quaternion::multiply(id, q));
    EXPECT_EQ(q, Quaternion::multiply(q, id));
    // The matrix of a (x) b is A.B: b acts first.
    const Quaternion a = Quaternion::fromAxisAngle(-1.1f, {0, 1, 1});
    const Vector3 v{0.3f, -2, 5};
    const Vector3 viaProduct = rotate(Quaternion::multiply(a, q).toMatrix3(), v);
    const Vector3 inTurn = rotate(a.toMatrix3(), rotate(q.toMatrix3(), v));
    EXPECT_NEAR(viaProduct.x, inTurn.x, 1e-5f);
    EXPECT_NEAR(viaProduct.y, inTurn.y, 1e-5f);
    EXPECT_NEAR(viaProduct.z, inTurn.z, 1e-5f);
}

TEST(Quaternion, SlerpEndsMidpointAndDegenerateKeys) {
    const Quaternion a = Quaternion::fromAxisAngle(0.2f, {0, 1, 0});
    const Quaternion b = Quaternion::fromAxisAngle(1.4f, {0, 1, 0});
    EXPECT_EQ(a, Quaternion::slerp(a, b, 0.0f));
    const Quaternion mid = Quaternion::slerp(a, b, 0.5f);
    const Quaternion expected = Quaternion::fromAxisAngle(0.8f, {0, 1, 0});
    EXPECT_NEAR(expected.y, mid.y, 1e-6f);
    EXPECT_NEAR(expected.w, mid.w, 1e-6f);
    const Quaternion end = Quaternion::slerp(a, b, 1.0f);
    EXPECT_NEAR(b.y, end.y, 1e-6f);
    EXPECT_NEAR(b.w, end.w, 1e-6f);
    // Identical keys (the dot product may round past 1) and opposite keys
    // must not give NaN.
    EXPECT_EQ(a, Quaternion::slerp(a, a, 0.3f));
    const Quaternion n{0.6f, 0.0f, 0.0f, 0.8f};
    const Quaternion neg{-0.6f, -0.0f, -0.0f, -0.8f};
    for (float u : {0.0f, 0.25f, 0.5f, 1.0f}) {
        const Quaternion r = Quaternion::slerp(n, neg, u);
        EXPECT_FALSE(std::isnan(r.x) || std::isnan(r.w));
        EXPECT_NEAR(1.0f, std::fabs(r.dot(n)), 1e-6f);
    }
}

TEST(Basis, TieRulesAndHandedness) {
    Matrix3 m;
    buildOrthonormalBasis({0, 0, 5}, 2, m, true);
    expectRow(m, 2, {0, 0, 1});
    expectRow(m, 0, {0, 1, 0});
    expectRow(m, 1, {-1, 0, 0});
    buildOrthonormalBasis({0, 0, 5}, 2, m, false);
    expectRow(m, 1, {1, 0, 0});
    // |x| < |y| and |x| < |z|: the helper axis is X.
    buildOrthonormalBasis({0, 3, 4}, 0, m, true);
    expectRow(m, 0, {0, 0.6f, 0.8f});
    expectRow(m, 1, {1, 0, 0});
    // Any k other than 0 or 1 counts as 2.
    Matrix3 k7, k2;
    buildOrthonormalBasis({1, -2, 0.5f}, 7, k7, true);
    buildOrthonormalBasis({1, -2, 0.5f}, 2, k2, true);
    EXPECT_EQ(k2, k7);
}

TEST(Basis, OrthonormalForRandomDirections) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<float> d(-10, 10);
    for (int n = 0; n < 2000; ++n) {
        const Vector3 dir{d(gen), d(gen), d(gen)};
        for (int k = 0; k < 3; ++k) {
            Matrix3 m;
            buildOrthonormalBasis(dir, k, m, true);
            const Vector3 r[3] = {{m[0], m[1], m[2]}, {m[3], m[4], m[5]}, {m[6], m[7], m[8]}};
            for (int i = 0; i < 3; ++i) {
                ASSERT_NEAR(1.0f, r[i].length(), 1e-5f);
                ASSERT_NEAR(0.0f, r[i].dot(r[(i + 1) % 3]), 1e-5f);
            }
            // Right-handed: row k+1 x row k+2 is row k.
            const Vector3 c = r[(k + 1) % 3].cross(r[(k + 2) % 3]);
            ASSERT_NEAR(1.0f, c.dot(r[k]), 1e-5f);
        }
    }
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[4 * c + row] += a[4 * k + row] * b[4 * c + k];
    return r;
}

TEST(AffineInverse, SingularAndTranslation) {
    Matrix4 m = identityMatrix4();
    m[4] = m[5] = m[6] = 0;  // zero second column
    Matrix4 out;
    out.fill(42);
    EXPECT_EQ(-1, invertAffineMatrix(m, out));
    for (float v : out) EXPECT_EQ(42, v);

    Matrix4 t = identityMatrix4();
    t[12] = 1, t[13] = 2, t[14] = 3;
    out.fill(42);
    ASSERT_EQ(0, invertAffineMatrix(t, out));
    EXPECT_EQ(-1, out[12]);
    EXPECT_EQ(-2, out[13]);
    EXPECT_EQ(-3, out[14]);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) EXPECT_EQ(c == r ? 1.0f : 0.0f, out[4 * c + r]);
    EXPECT_EQ(42, out[3]);  // left to the caller
    EXPECT_EQ(42, out[15]);
}

TEST(AffineInverse, TimesMatrixIsIdentityOnRandomMatrices) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<float> d(-3, 3);
    for (int n = 0; n < 1000; ++n) {
        Matrix4 m = identityMatrix4();
        for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14}) m[i] = d(gen);
        Matrix4 inv = identityMatrix4();
        if (invertAffineMatrix(m, inv) != 0) continue;
        // Skip near-singular draws whose inverse is ill-conditioned in floats.
        float largest = 0;
        for (float v : inv) largest = std::max(largest, std::fabs(v));
        if (largest > 50) continue;
        const Matrix4 p = multiply(m, inv);
        for (int i = 0; i < 16; ++i) ASSERT_NEAR(identityMatrix4()[i], p[i], 1e-3f) << i;
    }
}

}  // namespace
}  // namespace demo
