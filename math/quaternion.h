#pragma once

#include "math/matrix.h"
#include "math/vector3.h"

namespace demo {

// Vector part first, scalar last; the identity is (0, 0, 0, 1).
struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;

    constexpr Quaternion() = default;
    constexpr Quaternion(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    constexpr bool operator==(const Quaternion&) const = default;

    constexpr Quaternion conjugate() const { return {-x, -y, -z, w}; }
    constexpr float dot(const Quaternion& b) const { return x * b.x + y * b.y + z * b.z + w * b.w; }

    // The matrix that rotates a column vector by this quaternion. A zero
    // quaternion gives the zero matrix; a non-unit one is normalised first.
    Matrix3 toMatrix3() const;

    // Hamilton product a (x) b.
    static Quaternion multiply(const Quaternion& a, const Quaternion& b);

    // Rotation by `angle` radians about `axis` (any non-zero length).
    static Quaternion fromAxisAngle(float angle, const Vector3& axis);

    // Spherical linear interpolation from a (u = 0) to b (u = 1) along the
    // great arc between them, without flipping b toward the shorter arc.
    static Quaternion slerp(const Quaternion& a, const Quaternion& b, float u);
};

}  // namespace demo
