#pragma once

#include <cmath>
#include <iosfwd>

namespace demo {

// Three 32-bit floats; a plain value copied freely. Intermediate results may
// be carried wider by the compiler, but every stored result is a float.
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vector3() = default;
    constexpr Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    constexpr Vector3 operator+(const Vector3& b) const { return {x + b.x, y + b.y, z + b.z}; }
    constexpr Vector3 operator-(const Vector3& b) const { return {x - b.x, y - b.y, z - b.z}; }
    constexpr Vector3 operator*(float f) const { return {x * f, y * f, z * f}; }
    constexpr Vector3 operator-() const { return {-x, -y, -z}; }
    constexpr Vector3& operator+=(const Vector3& b) { x += b.x; y += b.y; z += b.z; return *this; }
    constexpr Vector3& operator-=(const Vector3& b) { x -= b.x; y -= b.y; z -= b.z; return *this; }
    constexpr Vector3& operator*=(float f) { x *= f; y *= f; z *= f; return *this; }
    constexpr bool operator==(const Vector3&) const = default;

    constexpr float dot(const Vector3& b) const { return x * b.x + y * b.y + z * b.z; }
    constexpr Vector3 cross(const Vector3& b) const {
        return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x};
    }
    float length() const { return std::sqrt(x * x + y * y + z * z); }

    // No guard against the zero vector: callers normalise non-zero vectors only.
    Vector3 normalized() const { return *this * (1.0f / length()); }
};

constexpr Vector3 operator*(float f, const Vector3& v) { return v * f; }

// Writes "(x y z)" in the stream's current number format.
std::ostream& operator<<(std::ostream& out, const Vector3& v);

}  // namespace demo
