#include "graphics/transform.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace demo {

Transform::Transform() = default;

Transform::Transform(const Vector3& position) {
    Transform::setPosition(position);
    rebuildInverse();
}

Transform::Transform(const Vector3& upDirection, const Vector3& position, const Vector3& target)
    : Transform(position) {
    up = upDirection;
    lookAt(target, 0.0f);
}

void Transform::serialize() { std::cout << "Serializing " << 4 << " bytes.\n"; }
void Transform::deserialize() { std::cout << "Deserializing " << 4 << " bytes.\n"; }

void Transform::setPosition(const Vector3& position) {
    objectMatrix[12] = position.x;
    objectMatrix[13] = position.y;
    objectMatrix[14] = position.z;
}

void Transform::setScale(const Vector3& s) {
    scale[0] = s.x == 0.0f ? 1.0f : s.x;
    scale[1] = s.y == 0.0f ? 1.0f : s.y;
    scale[2] = s.z == 0.0f ? 1.0f : s.z;
}

void Transform::turn(float angle, const Vector3& axis) {
    orientation = Quaternion::multiply(orientation, Quaternion::fromAxisAngle(angle, axis));
}

void Transform::rotateYPos(float angle) { turn(angle, {0, 1, 0}); }
void Transform::rotateYNeg(float angle) { turn(-angle, {0, 1, 0}); }
void Transform::rotateXNeg(float angle) { turn(-angle, {1, 0, 0}); }
void Transform::rotateZPos(float angle) { turn(angle, {0, 0, 1}); }
void Transform::rotateZNeg(float angle) { turn(-angle, {0, 0, 1}); }

void Transform::moveLocal(const Vector3& v) {
    const Matrix3 m = orientationMatrix();
    const Vector3 delta{m[0] * v.x + m[3] * v.y + m[6] * v.z,
                        m[1] * v.x + m[4] * v.y + m[7] * v.z,
                        m[2] * v.x + m[5] * v.y + m[8] * v.z};
    setPosition(getPosition() + delta);
}

namespace {
float rootOrZero(float v) { return std::sqrt(std::max(v, 0.0f)); }

// The half-angle solution of one pair of quaternion components.
void solvePair(float a, float b, float& first, float& second) {
    const float c = (std::sqrt(a * a + b * b) + a) * 0.5f;
    first = rootOrZero(c);
    if (c > 0.00001f) {
        second = b / (2.0f * first);
    } else {
        second = rootOrZero(c - a);
        if (b < 0.0f) second = -second;
    }
}

// The quaternion of the rotation whose columns are the local axes x, y, z,
// taken from the largest of w, x, y, z so that no component is found by
// dividing by a small one.
Quaternion fromAxes(const Vector3& x, const Vector3& y, const Vector3& z) {
    const float m00 = x.x, m11 = y.y, m22 = z.z;
    const float trace = m00 + m11 + m22;
    if (trace > 0.0f) {
        const float s = std::sqrt(trace + 1.0f) * 2.0f;
        return {(y.z - z.y) / s, (z.x - x.z) / s, (x.y - y.x) / s, 0.25f * s};
    }
    if (m00 > m11 && m00 > m22) {
        const float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
        return {0.25f * s, (y.x + x.y) / s, (z.x + x.z) / s, (y.z - z.y) / s};
    }
    if (m11 > m22) {
        const float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
        return {(y.x + x.y) / s, 0.25f * s, (z.y + y.z) / s, (z.x - x.z) / s};
    }
    const float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
    return {(z.x + x.z) / s, (z.y + y.z) / s, 0.25f * s, (x.y - y.x) / s};
}
}  // namespace

void Transform::lookAt(const Vector3& target, float roll) {
    const Vector3 toTarget = target - getPosition();
    const float distance = toTarget.length();
    if (!(distance > 0.0f) || !std::isfinite(distance)) return;
    const Vector3 f = toTarget.normalized();

    Vector3 raw = up - f * f.dot(up);
    const float rawLength = raw.length();
    Vector3 u;
    if (!(rawLength > 1e-6f * up.length())) {
        // Up along the view direction: any perpendicular keeps a valid frame.
        Matrix3 basis;
        buildOrthonormalBasis(f, 2, basis, true);
        u = {basis[0], basis[1], basis[2]};
    } else {
        u = raw.normalized();
        // Nearly parallel: the subtraction cancelled, so orthogonalise once more.
        if (rawLength < 0.1f * up.length()) u = (u - f * f.dot(u)).normalized();
    }

    float x, y, z, w;
    const float a = (u.y - f.z) * 0.5f, b = (u.z + f.y) * 0.5f;
    solvePair(a, b, y, z);
    solvePair(u.y - a, u.z - b, w, x);

    // The two pairs are solved up to sign each; make them agree.
    float r, s;
    if (std::fabs(u.x) > std::fabs(f.x)) {
        r = u.x;
        s = 2.0f * (y * x - w * z);
    } else {
        r = f.x;
        s = 2.0f * (w * y + z * x);
    }
    if (std::fabs(r + s) < std::fabs(s - r)) {
        x = -x;
        w = -w;
    }
    // The half-angle pairs lose up to a milliradian where a pair nears zero
    // (its sum and difference cancel); the same rotation taken from the axes
    // is exact to rounding. The pairs still choose between q and -q.
    Quaternion exact = fromAxes(u.cross(f), u, f);
    if (exact.dot({x, y, z, w}) < 0.0f) exact = {-exact.x, -exact.y, -exact.z, -exact.w};
    orientation = exact;
    rotateZPos(roll);
}

Matrix3 Transform::orientationMatrix() const { return orientation.conjugate().toMatrix3(); }

void Transform::updateMatrices() {
    const Matrix3 m = orientationMatrix();
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) objectMatrix[4 * j + i] = m[3 * j + i] * scale[j];
    }
    rebuildInverse();
}

void Transform::rebuildInverse() {
    // objectMatrix column i is local axis i times scale i, so the inverse's
    // row i is that column divided by scale i squared: exact for any scale.
    const Vector3 t = getPosition();
    for (int i = 0; i < 3; ++i) {
        const float k = 1.0f / (scale[i] * scale[i]);
        for (int j = 0; j < 3; ++j) inverse[4 * j + i] = objectMatrix[4 * i + j] * k;
        inverse[12 + i] = -(objectMatrix[4 * i] * t.x + objectMatrix[4 * i + 1] * t.y +
                            objectMatrix[4 * i + 2] * t.z) * k;
    }
    inverse[3] = inverse[7] = inverse[11] = 0.0f;
    inverse[15] = 1.0f;
}

}  // namespace demo
