#include "math/matrix.h"

#include <cmath>

namespace demo {

void buildOrthonormalBasis(const Vector3& direction, int k, Matrix3& out, bool rightHanded) {
    const Vector3 n = direction.normalized();
    const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);

    // u = e - (n.e) n for the world axis e on which n is smallest. Ties:
    // |x| = |y| counts as x not smaller; |x| = |z| and |z| = |y| pick Z.
    Vector3 u;
    const Vector3 uz{-n.z * n.x, -n.z * n.y, 1.0f - n.z * n.z};
    if (ax < ay) {
        u = ax < az ? Vector3{1.0f - n.x * n.x, -n.y * n.x, -n.z * n.x} : uz;
    } else {
        u = az > ay ? Vector3{-n.y * n.x, 1.0f - n.y * n.y, -n.z * n.y} : uz;
    }
    const float factor = 1.0f / std::sqrt(u.dot(u));
    u = u * factor;
    const Vector3 w = rightHanded ? n.cross(u) : u.cross(n);

    if (k != 0 && k != 1) k = 2;
    const Vector3* rows[3];
    rows[k] = &n;
    rows[(k + 1) % 3] = &u;
    rows[(k + 2) % 3] = &w;
    for (int r = 0; r < 3; ++r) {
        out[3 * r] = rows[r]->x;
        out[3 * r + 1] = rows[r]->y;
        out[3 * r + 2] = rows[r]->z;
    }
}

int invertAffineMatrix(const Matrix4& m, Matrix4& out) {
    const float c0 = m[5] * m[10] - m[9] * m[6];
    const float c1 = m[9] * m[2] - m[10] * m[1];
    const float c2 = m[6] * m[1] - m[5] * m[2];
    const float det = c2 * m[8] + c1 * m[4] + c0 * m[0];
    if (det == 0.0f || std::isnan(det)) return -1;

    const float r = 1.0f / det;
    Matrix4 o = out;
    o[0] = c0 * r;
    o[1] = c1 * r;
    o[2] = c2 * r;
    o[4] = (m[8] * m[6] - m[10] * m[4]) * r;
    o[5] = (m[10] * m[0] - m[8] * m[2]) * r;
    o[6] = (m[2] * m[4] - m[6] * m[0]) * r;
    o[8] = (m[9] * m[4] - m[5] * m[8]) * r;
    o[9] = (m[8] * m[1] - m[9] * m[0]) * r;
    o[10] = (m[5] * m[0] - m[4] * m[1]) * r;
    o[12] = -(o[0] * m[12] + o[4] * m[13] + o[8] * m[14]);
    o[13] = -(o[1] * m[12] + o[5] * m[13] + o[9] * m[14]);
    o[14] = -(o[2] * m[12] + o[6] * m[13] + o[10] * m[14]);
    out = o;  // written last, so m and out may be the same matrix
    return 0;
}

}  // namespace demo
