#pragma once

#include "math/implicit_field.h"

namespace demo {

// A field that vanishes farther than R from its centre on any axis: the box
// centre ± R encloses it and the centre is its seed.
class CentredField : public ImplicitField {
public:
    CentredField(const Vector3& centre, float radius, float strength);

    FieldBounds& getBounds(FieldBounds& out) const override;
    void addSeeds(std::vector<Vector3>& seeds) const override;

    Vector3 centre;
    float radius;
    float radiusSquared;
    float inverseRadiusSquared;
    float strength;
};

// s (d²/R² - 1)² inside the ball of radius R, 0 outside.
class BallField : public CentredField {
public:
    using CentredField::CentredField;

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
};

// A rounded cube of half-size R: s times the sum of (d_a²/R² - 1)² over the
// axes inside the cube, 0 outside it.
class BoxField : public CentredField {
public:
    using CentredField::CentredField;

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
};

// A capsule: the ball profile around the segment from `start` along
// `direction` for `length`. Equal ends make it a ball.
class CylinderField : public ImplicitField {
public:
    CylinderField(const Vector3& start, const Vector3& end, float radius, float strength);

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    void addSeeds(std::vector<Vector3>& seeds) const override;

    // Moves the start and keeps the end.
    void setStart(const Vector3& p);
    // Moves the end and keeps the start.
    void setEnd(const Vector3& p);
    void setEnds(const Vector3& startPoint, const Vector3& endPoint);
    Vector3 end() const { return start + direction * length; }

    Vector3 start;
    Vector3 direction;  // unit, or zero when the ends coincide
    float length = 0.0f;
    float radius;
    float radiusSquared;
    float inverseRadiusSquared;
    float strength;

private:
    // Vector from the nearest point of the segment to p.
    Vector3 offsetFromSegment(float x, float y, float z) const;
};

// A ring of radius `majorRadius` around `axis` through `centre`, thickened
// by `minorRadius` with the ball profile.
class TorusField : public ImplicitField {
public:
    TorusField(const Vector3& centre, const Vector3& axis, float majorRadius, float minorRadius,
               float strength);

    float value(float x, float y, float z) const override;
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    void addSeeds(std::vector<Vector3>& seeds) const override;

    void setAxis(const Vector3& v);
    void setMajorRadius(float rm);
    void setMinorRadius(float r);
    void setRadii(float rm, float r);

    Vector3 centre;
    Vector3 axis;
    float majorRadius;
    float minorRadius;
    float outerRadiusSquared;  // (Rm + r)²
    float strength;
    float inverseMinorSquared;  // 1/r²

private:
    void updateRadii();
    // Vector from the nearest point of the core circle, or false when p is
    // outside the support (or on the axis, where that point is undefined).
    bool offsetFromCore(float x, float y, float z, Vector3& e, float& e2) const;
    float minorSquared = 0.0f;
};

// Three crossing bars with balls at the ends of the x and y bars. Positive
// inside the bars, like every other field, so the polygoniser finds its
// surface from its seed.
class JackField : public ImplicitField {
public:
    explicit JackField(const Vector3& centre) : centre(centre) {}

    float value(float x, float y, float z) const override;
    // Forward differences of the value with a step of 0.005.
    Vector3& gradient(Vector3& out, float x, float y, float z) const override;
    FieldBounds& getBounds(FieldBounds& out) const override;
    void addSeeds(std::vector<Vector3>& seeds) const override;

    Vector3 centre;
};

}  // namespace demo
