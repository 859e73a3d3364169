#include "math/implicit_field_julia.h"

namespace demo {

JuliaField::JuliaField(const Quaternion& q, int iterations) : c{q.w, q.x, q.y, q.z}, iterations(iterations) {}

float JuliaField::value(float x, float y, float z) const {
    float q0 = x, q1 = y, q2 = z, q3 = 0.0f;
    for (int n = 0; n < iterations; ++n) {
        float r = q0 * q0 - q1 * q1 - q2 * q2 - q3 * q3 + c[0];
        float twice = 2.0f * q0;
        q1 = twice * q1 + c[1];
        q2 = twice * q2 + c[2];
        q3 = twice * q3 + c[3];
        q0 = r;
    }
    return 4.0f - (q0 * q0 + q1 * q1 + q2 * q2 + q3 * q3);
}

Vector3& JuliaField::gradient(Vector3& out, float x, float y, float z) const {
    float q[4] = {x, y, z, 0.0f};
    float d[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    for (int n = 0; n < iterations; ++n) {
        for (auto& D : d) {
            float d0 = q[0] * D[0] - q[1] * D[1] - q[2] * D[2] - q[3] * D[3];
            float d1 = q[0] * D[1] + D[0] * q[1];
            float d2 = q[0] * D[2] + D[0] * q[2];
            float d3 = q[0] * D[3] + D[0] * q[3];
            D[0] = d0, D[1] = d1, D[2] = d2, D[3] = d3;
        }
        float r = q[0] * q[0] - q[1] * q[1] - q[2] * q[2] - q[3] * q[3] + c[0];
        float twice = 2.0f * q[0];
        q[1] = twice * q[1] + c[1];
        q[2] = twice * q[2] + c[2];
        q[3] = twice * q[3] + c[3];
        q[0] = r;
    }
    auto dot = [&q](const float* D) { return q[0] * D[0] + q[1] * D[1] + q[2] * D[2] + q[3] * D[3]; };
    return out = {-dot(d[0]), -dot(d[1]), -dot(d[2])};
}

FieldBounds& JuliaField::getBounds(FieldBounds& out) const { return out = {-3.1f, -3.1f, -3.1f, 3.1f, 3.1f, 3.1f}; }

void JuliaField::addSeeds(std::vector<Vector3>& seeds) const {
    for (float x = -2.0f; x < 2.0; x += 0.1f)
        for (float y = -2.0f; y < 2.0; y += 0.1f)
            for (float z = -2.0f; z < 2.0; z += 0.1f)
                if (value(x, y, z) > 0.0f) seeds.push_back({x, y, z});
}

}  // namespace demo
