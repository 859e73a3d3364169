#pragma once

#include <array>

#include "math/implicit_field.h"

namespace demo {

// The space warp p -> p + A sin(k·p + phase).
class SineWarp {
public:
    // A is v without its component along k.
    SineWarp(const Vector3& k, const Vector3& v);
    virtual ~SineWarp() = default;

    virtual Vector3& apply(Vector3& out, const Vector3& p) const;
    // p - A sin(k·p + phase): undoes `apply` to first order in A.
    virtual Vector3& inverse(Vector3& out, const Vector3& p) const;
    // Row after row, J[a][b] = d apply_b / d p_a = delta_ab + k_a A_b cos(k·p + phase).
    virtual std::array<float, 9>& jacobian(std::array<float, 9>& out, const Vector3& p) const;
    // How far `apply` moves a point: (-|A|, +|A|) per axis.
    virtual FieldBounds& extent(FieldBounds& out) const;

    Vector3 waveVector;
    Vector3 amplitude;
    float phase = 0.0f;
};

// A field seen through a warp: its value at p is the child's at apply(p).
class WarpedField : public ImplicitField {
public:
    WarpedField(ImplicitField* child, SineWarp* warp) : child(child), warp(warp) {}

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    // The child's seeds, each moved by the warp's inverse; seeds already in
    // the list belong to other fields and are left alone.
    void addSeeds(std::vector<Vector3>& seeds) const override;

    ImplicitField* child;  // not owned
    SineWarp* warp;        // not owned
};

}  // namespace demo
