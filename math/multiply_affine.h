#pragma once

#include "math/matrix.h"

namespace demo {

// out = b x a for two column-major affine matrices. Their last rows are taken
// to be (0, 0, 0, 1) and never read; out's last row is written as such. `out`
// may alias a or b.
void multiplyAffine(Matrix4& out, const Matrix4& a, const Matrix4& b);

}  // namespace demo
