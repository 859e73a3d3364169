#pragma once

#include <vector>

#include "math/implicit_field.h"

namespace demo {

// A field over a list of children, offset by a bias: its box covers every
// child's box and its seeds are every child's, in order. Without children:
// an empty box and no seeds.
class ChildListField : public ImplicitField {
public:
    FieldBounds& getBounds(FieldBounds& out) const override;
    void addSeeds(std::vector<Vector3>& seeds) const override;

    std::vector<ImplicitField*> children;  // not owned
    float bias = -1.0f;
};

// bias + the sum of the children: with the bias of -1 the surface lies where
// the children sum to 1; without children the value is the bias everywhere.
class SumField : public ChildListField {
public:
    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
};

// A - B, with A's box and seeds.
class SubField : public ImplicitField {
public:
    SubField(ImplicitField* a, ImplicitField* b) : a(a), b(b) {}

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    void addSeeds(std::vector<Vector3>& seeds) const override;

    ImplicitField* a;  // not owned
    ImplicitField* b;  // not owned
};

// Morphs between neighbouring children as its position advances:
// bias + (1 - t) child i + t child j.
class InterpolatorField : public ChildListField {
public:
    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;

    // i = floor(p) modulo the child count (Euclidean, so negative positions
    // count backwards), j = the next child cyclically, t = p - floor(p).
    void setPosition(float p);

    float position = 0.0f;
    float factor = 0.0f;
    int indexI = 0;
    int indexJ = 0;
};

// The child's positive half-space side mirrored across the plane through
// the origin with unit normal m.
class SymmetryField : public ImplicitField {
public:
    SymmetryField(ImplicitField* child, const Vector3& normal) : child(child), normal(normal) {}

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    // The child's seeds, then their mirror images.
    void addSeeds(std::vector<Vector3>& seeds) const override;

    ImplicitField* child;  // not owned
    Vector3 normal;

private:
    Vector3 mirror(const Vector3& p) const { return p - normal * (2.0f * p.dot(normal)); }
};

}  // namespace demo
