#pragma once

#include "math/matrix.h"

namespace demo {

// out = b x a for two column-major affine matrices. Their last rows are taken
// to be (0, 0, 0, 1) and never read; out's last row is written as such. `out`
// may alias a or b.
void multiplyAffine(Matrix4& out, const Matrix4& a, const Matrix4& b);

// The same on plain arrays of 16 floats.
inline void multiplyAffine(float* out, const float* a, const float* b) {
    Matrix4 ma, mb, result;
    for (int i = 0; i < 16; ++i) ma[i] = a[i], mb[i] = b[i];
    multiplyAffine(result, ma, mb);
    for (int i = 0; i < 16; ++i) out[i] = result[i];
}

}  // namespace demo
