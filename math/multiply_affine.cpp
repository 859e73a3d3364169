#include "math/multiply_affine.h"

namespace demo {

void multiplyAffine(Matrix4& out, const Matrix4& a, const Matrix4& b) {
    Matrix4 r{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 3; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k) sum += b[4 * k + row] * a[4 * column + k];
            // a's implicit last row (0, 0, 0, 1) picks b's translation for column 3.
            if (column == 3) sum += b[12 + row];
            r[4 * column + row] = sum;
        }
    }
    r[3] = r[7] = r[11] = 0.0f;
    r[15] = 1.0f;
    out = r;
}

}  // namespace demo
