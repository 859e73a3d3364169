#pragma once

#include "math/implicit_field.h"
#include "math/quaternion.h"

namespace demo {

// A quaternion Julia set: 4 - |q|² after iterating q <- q² + c from
// q = (x, y, z, 0).
class JuliaField : public ImplicitField {
public:
    // c = (x, y, z, w) is stored as c0 = w (added to the real part), c1 = x,
    // c2 = y, c3 = z.
    JuliaField(const Quaternion& c, int iterations);

    float value(float x, float y, float z) const override;
    // The true gradient divided by 2^(iterations + 1), which keeps it finite.
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    // Every point of a 0.1 lattice over [-2, 2)³ where the value is positive.
    void addSeeds(std::vector<Vector3>& seeds) const override;

    float c[4];
    int iterations;
};

}  // namespace demo
