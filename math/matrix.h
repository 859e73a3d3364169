#pragma once

#include <array>

#include "math/vector3.h"

namespace demo {

// 3x3 matrices are stored row after row, for column vectors (v' = M v).
using Matrix3 = std::array<float, 9>;
// 4x4 matrices are column-major as OpenGL takes them; 12, 13, 14 is the translation.
using Matrix4 = std::array<float, 16>;

constexpr Matrix3 identityMatrix3() { return {1, 0, 0, 0, 1, 0, 0, 0, 1}; }
constexpr Matrix4 identityMatrix4() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

// Writes three orthonormal rows: row k is the normalised direction, the next
// row (cyclically) a unit vector perpendicular to it taken from the world axis
// least aligned with it, the last their cross product (n x u when rightHanded,
// u x n otherwise). Any k other than 0 or 1 counts as 2.
void buildOrthonormalBasis(const Vector3& direction, int k, Matrix3& out, bool rightHanded);

// Inverts an affine matrix. Returns 0 on success, -1 when the 3x3 part is
// singular, leaving `out` untouched. Elements 3, 7, 11, 15 of `out` are never
// written: the caller supplies them.
int invertAffineMatrix(const Matrix4& m, Matrix4& out);

}  // namespace demo
