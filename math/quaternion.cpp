#include "math/quaternion.h"

#include <algorithm>
#include <cmath>

namespace demo {

Matrix3 Quaternion::toMatrix3() const {
    const float xx = x * x, yy = y * y, zz = z * z, ww = w * w;
    const float n = xx + yy + zz + ww;
    if (n == 0.0f) return Matrix3{};
    // Dividing by the squared norm makes any non-zero quaternion a pure
    // rotation; for unit quaternions the factor is 1.
    const float r = 1.0f / n;
    const float xy = x * y, xz = x * z, yz = y * z, wx = w * x, wy = w * y, wz = w * z;
    return {
        (ww + xx - yy - zz) * r, 2.0f * (xy - wz) * r,      2.0f * (xz + wy) * r,
        2.0f * (xy + wz) * r,    (ww - xx + yy - zz) * r,   2.0f * (yz - wx) * r,
        2.0f * (xz - wy) * r,    2.0f * (yz + wx) * r,      (ww - xx - yy + zz) * r,
    };
}

Quaternion Quaternion::multiply(const Quaternion& a, const Quaternion& b) {
    return {
        a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
        a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
        a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
        a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
    };
}

Quaternion Quaternion::fromAxisAngle(float angle, const Vector3& axis) {
    const float h = angle * 0.5f;
    const float s = std::sin(h);
    const Vector3 n = axis.normalized();
    return {n.x * s, n.y * s, n.z * s, std::cos(h)};
}

Quaternion Quaternion::slerp(const Quaternion& a, const Quaternion& b, float u) {
    // sin(theta) / sin(theta) need not round to 1: the start and equal keys are exact.
    if (u == 0.0f || a == b) return a;
    // Rounding can carry the dot product of unit quaternions past +-1.
    const float theta = std::acos(std::clamp(a.dot(b), -1.0f, 1.0f));
    if (!(theta > 0.0f)) return a;
    const float sine = std::sin(theta);
    // Opposite quaternions are the same rotation and have no single arc
    // between them: take whichever end is nearer.
    if (sine < 1e-6f) return u < 0.5f ? a : b;
    const float s = 1.0f / sine;
    const float wa = std::sin((1.0f - u) * theta) * s;
    const float wb = std::sin(u * theta) * s;
    return {wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z, wa * a.w + wb * b.w};
}

}  // namespace demo
