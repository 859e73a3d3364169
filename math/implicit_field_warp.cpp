#include "math/implicit_field_warp.h"

#include <cmath>

namespace demo {

SineWarp::SineWarp(const Vector3& k, const Vector3& v) : waveVector(k), amplitude(v - k * v.dot(k)) {}

Vector3& SineWarp::apply(Vector3& out, const Vector3& p) const {
    return out = p + amplitude * std::sin(waveVector.dot(p) + phase);
}

Vector3& SineWarp::inverse(Vector3& out, const Vector3& p) const {
    return out = p - amplitude * std::sin(waveVector.dot(p) + phase);
}

std::array<float, 9>& SineWarp::jacobian(std::array<float, 9>& out, const Vector3& p) const {
    float c = std::cos(waveVector.dot(p) + phase);
    const float a[3] = {amplitude.x, amplitude.y, amplitude.z};
    const float k[3] = {waveVector.x, waveVector.y, waveVector.z};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) out[row * 3 + col] = (row == col ? 1.0f : 0.0f) + k[row] * a[col] * c;
    return out;
}

FieldBounds& SineWarp::extent(FieldBounds& out) const {
    float ax = std::fabs(amplitude.x), ay = std::fabs(amplitude.y), az = std::fabs(amplitude.z);
    return out = {-ax, -ay, -az, ax, ay, az};
}

float WarpedField::value(float x, float y, float z) const {
    Vector3 q;
    warp->apply(q, {x, y, z});
    return child->value(q.x, q.y, q.z);
}

// The chain rule: component a is the sum over b of d apply_b / d p_a times
// the child's gradient component b, which is row a of J times g.
Vector3& WarpedField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 p{x, y, z};
    Vector3 q;
    warp->apply(q, p);
    Vector3 g;
    child->gradient(g, q.x, q.y, q.z);
    std::array<float, 9> j;
    warp->jacobian(j, p);
    return out = {j[0] * g.x + j[1] * g.y + j[2] * g.z, j[3] * g.x + j[4] * g.y + j[5] * g.z,
                  j[6] * g.x + j[7] * g.y + j[8] * g.z};
}

FieldBounds& WarpedField::getBounds(FieldBounds& out) const {
    child->getBounds(out);
    if (isEmpty(out)) return out;
    FieldBounds e;
    warp->extent(e);
    for (int i = 0; i < 6; ++i) out[i] += e[i];
    return out;
}

void WarpedField::addSeeds(std::vector<Vector3>& seeds) const {
    std::size_t first = seeds.size();
    child->addSeeds(seeds);
    for (std::size_t i = first; i < seeds.size(); ++i) {
        Vector3 p = seeds[i];
        warp->inverse(seeds[i], p);
    }
}

}  // namespace demo
