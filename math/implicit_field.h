#pragma once

#include <array>
#include <limits>
#include <vector>

#include "math/vector3.h"

namespace demo {

// min x, min y, min z, max x, max y, max z.
using FieldBounds = std::array<float, 6>;

// A box that encloses nothing; growing it by a box gives that box.
inline constexpr FieldBounds emptyBounds{
    std::numeric_limits<float>::infinity(),  std::numeric_limits<float>::infinity(),
    std::numeric_limits<float>::infinity(),  -std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};

inline void growBounds(FieldBounds& box, const FieldBounds& other) {
    for (int a = 0; a < 3; ++a) {
        if (other[a] < box[a]) box[a] = other[a];
        if (other[a + 3] > box[a + 3]) box[a + 3] = other[a + 3];
    }
}

inline void growBounds(FieldBounds& box, const Vector3& p) { growBounds(box, {p.x, p.y, p.z, p.x, p.y, p.z}); }

inline bool isEmpty(const FieldBounds& box) {
    return !(box[0] <= box[3] && box[1] <= box[4] && box[2] <= box[5]);
}

// A scalar field whose zero level is a surface: positive inside, zero or
// negative outside. Fields never own each other; whoever builds a tree keeps
// and destroys every node.
class ImplicitField {
public:
    virtual float value(float x, float y, float z) const = 0;
    // Writes the gradient into `out` and returns it.
    virtual Vector3& gradient(Vector3& out, float x, float y, float z) const = 0;
    virtual ~ImplicitField() = default;
    // Writes a box enclosing the surface into `out` and returns it.
    virtual FieldBounds& getBounds(FieldBounds& out) const = 0;
    // Appends points inside the surface, from which the polygoniser starts.
    virtual void addSeeds(std::vector<Vector3>& seeds) const = 0;
};

inline float valueAt(const ImplicitField& field, const Vector3& p) { return field.value(p.x, p.y, p.z); }

inline Vector3 gradientAt(const ImplicitField& field, const Vector3& p) {
    Vector3 g;
    return field.gradient(g, p.x, p.y, p.z);
}

}  // namespace demo
