#include "math/implicit_field_primitives.h"

#include <cmath>

namespace demo {
namespace {

FieldBounds cubeAround(const Vector3& c, float r) {
    return {c.x - r, c.y - r, c.z - r, c.x + r, c.y + r, c.z + r};
}

}  // namespace

CentredField::CentredField(const Vector3& centre, float radius, float strength)
    : centre(centre),
      radius(radius),
      radiusSquared(radius * radius),
      inverseRadiusSquared(1.0f / (radius * radius)),
      strength(strength) {}

FieldBounds& CentredField::getBounds(FieldBounds& out) const { return out = cubeAround(centre, radius); }

void CentredField::addSeeds(std::vector<Vector3>& seeds) const { seeds.push_back(centre); }

// --- ball ---

// Near a surface the support test goes either way at random, so it is a
// select rather than a branch; the result is the same.
float BallField::value(float x, float y, float z) const {
    Vector3 d{x - centre.x, y - centre.y, z - centre.z};
    float d2 = d.dot(d);
    float f = d2 * inverseRadiusSquared - 1.0f;
    float v = strength * f * f;
    return d2 < radiusSquared ? v : 0.0f;
}

Vector3& BallField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 d{x - centre.x, y - centre.y, z - centre.z};
    float d2 = d.dot(d);
    float f = 4.0f * strength * inverseRadiusSquared * (d2 * inverseRadiusSquared - 1.0f);
    f = d2 < radiusSquared ? f : 0.0f;
    return out = d * f;
}

// --- box ---

float BoxField::value(float x, float y, float z) const {
    float qx = (x - centre.x) * (x - centre.x);
    float qy = (y - centre.y) * (y - centre.y);
    float qz = (z - centre.z) * (z - centre.z);
    if (qx >= radiusSquared || qy >= radiusSquared || qz >= radiusSquared) return 0.0f;
    float fx = qx * inverseRadiusSquared - 1.0f;
    float fy = qy * inverseRadiusSquared - 1.0f;
    float fz = qz * inverseRadiusSquared - 1.0f;
    return strength * (fx * fx + fy * fy + fz * fz);
}

// The true derivative of the value: 4 s / R², as for the ball.
Vector3& BoxField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 d{x - centre.x, y - centre.y, z - centre.z};
    float qx = d.x * d.x, qy = d.y * d.y, qz = d.z * d.z;
    if (qx >= radiusSquared || qy >= radiusSquared || qz >= radiusSquared) return out = {};
    float f = 4.0f * strength * inverseRadiusSquared;
    return out = {f * (qx * inverseRadiusSquared - 1.0f) * d.x, f * (qy * inverseRadiusSquared - 1.0f) * d.y,
                  f * (qz * inverseRadiusSquared - 1.0f) * d.z};
}

// --- capsule ---

CylinderField::CylinderField(const Vector3& startPoint, const Vector3& endPoint, float radius, float strength)
    : radius(radius),
      radiusSquared(radius * radius),
      inverseRadiusSquared(1.0f / (radius * radius)),
      strength(strength) {
    setEnds(startPoint, endPoint);
}

void CylinderField::setEnds(const Vector3& startPoint, const Vector3& endPoint) {
    start = startPoint;
    Vector3 axis = endPoint - startPoint;
    length = axis.length();
    // Coinciding ends leave a zero direction, which makes the capsule a ball
    // around the start instead of a field of NaN.
    if (length > 0.0f && std::isfinite(1.0f / length)) {
        direction = axis * (1.0f / length);
    } else {
        direction = {};
        length = 0.0f;
    }
}

void CylinderField::setStart(const Vector3& p) { setEnds(p, end()); }

void CylinderField::setEnd(const Vector3& p) { setEnds(start, p); }

Vector3 CylinderField::offsetFromSegment(float x, float y, float z) const {
    Vector3 e{x - start.x, y - start.y, z - start.z};
    float h = e.dot(direction);
    if (h <= length) {
        if (h > 0.0f) e -= direction * h;
    } else {
        e -= direction * length;
    }
    return e;
}

float CylinderField::value(float x, float y, float z) const {
    Vector3 e = offsetFromSegment(x, y, z);
    float e2 = e.dot(e);
    if (e2 >= radiusSquared) return 0.0f;
    float f = e2 * inverseRadiusSquared - 1.0f;
    return strength * f * f;
}

Vector3& CylinderField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 e = offsetFromSegment(x, y, z);
    float e2 = e.dot(e);
    if (e2 >= radiusSquared) return out = {};
    return out = e * (4.0f * strength * inverseRadiusSquared * (e2 * inverseRadiusSquared - 1.0f));
}

FieldBounds& CylinderField::getBounds(FieldBounds& out) const {
    Vector3 b = end();
    out = {std::fmin(start.x, b.x) - radius, std::fmin(start.y, b.y) - radius, std::fmin(start.z, b.z) - radius,
           std::fmax(start.x, b.x) + radius, std::fmax(start.y, b.y) + radius, std::fmax(start.z, b.z) + radius};
    return out;
}

void CylinderField::addSeeds(std::vector<Vector3>& seeds) const {
    seeds.push_back(start);
    seeds.push_back(end());
}

// --- torus ---

TorusField::TorusField(const Vector3& centre, const Vector3& axis, float majorRadius, float minorRadius,
                       float strength)
    : centre(centre), axis(axis.normalized()), majorRadius(majorRadius), minorRadius(minorRadius), strength(strength) {
    updateRadii();
}

void TorusField::updateRadii() {
    float outer = majorRadius + minorRadius;
    outerRadiusSquared = outer * outer;
    minorSquared = minorRadius * minorRadius;
    inverseMinorSquared = 1.0f / minorSquared;
}

void TorusField::setAxis(const Vector3& v) { axis = v.normalized(); }

void TorusField::setMajorRadius(float rm) { setRadii(rm, minorRadius); }

void TorusField::setMinorRadius(float r) { setRadii(majorRadius, r); }

void TorusField::setRadii(float rm, float r) {
    majorRadius = rm;
    minorRadius = r;
    updateRadii();
}

bool TorusField::offsetFromCore(float x, float y, float z, Vector3& e, float& e2) const {
    Vector3 d{x - centre.x, y - centre.y, z - centre.z};
    float h = d.dot(axis);
    if (std::fabs(h) >= minorRadius) return false;
    Vector3 q = d - axis * h;
    float rho2 = q.dot(q);
    if (rho2 >= outerRadiusSquared || rho2 < 1e-6f) return false;
    e = d - q * (majorRadius / std::sqrt(rho2));
    e2 = e.dot(e);
    return e2 < minorSquared;
}

float TorusField::value(float x, float y, float z) const {
    Vector3 e;
    float e2;
    if (!offsetFromCore(x, y, z, e, e2)) return 0.0f;
    float f = e2 * inverseMinorSquared - 1.0f;
    return strength * f * f;
}

Vector3& TorusField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 e;
    float e2;
    if (!offsetFromCore(x, y, z, e, e2)) return out = {};
    return out = e * (4.0f * strength * inverseMinorSquared * (e2 * inverseMinorSquared - 1.0f));
}

FieldBounds& TorusField::getBounds(FieldBounds& out) const {
    return out = cubeAround(centre, majorRadius + minorRadius);
}

void TorusField::addSeeds(std::vector<Vector3>& seeds) const {
    const Vector3& n = axis;
    float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    Vector3 w0 = (ax < ay && ax < az) ? Vector3{1, 0, 0} : (az <= ay ? Vector3{0, 0, 1} : Vector3{0, 1, 0});
    Vector3 w = n.cross(w0);
    seeds.push_back(centre + w * (majorRadius / w.length()));
}

// --- jack ---

float JackField::value(float x, float y, float z) const {
    float dx = x - centre.x, dy = y - centre.y, dz = z - centre.z;
    float X = dx * dx, Y = dy * dy, Z = dz * dz;
    const float k = 16.0f / 9.0f;
    float ax = 4.0f / 3.0f * dx, ay = 4.0f / 3.0f * dy;
    float t[7] = {
        X / 9.0f + 4.0f * Y + 4.0f * Z,
        Y / 9.0f + 4.0f * X + 4.0f * Z,
        Z / 9.0f + 4.0f * X + 4.0f * Y,
        (ax - 4.0f) * (ax - 4.0f) + (Y + Z) * k,
        (ax + 4.0f) * (ax + 4.0f) + (Y + Z) * k,
        (ay - 4.0f) * (ay - 4.0f) + (X + Z) * k,
        (ay + 4.0f) * (ay + 4.0f) + (X + Z) * k,
    };
    float sum = 0.0f;
    for (float ti : t) {
        float t2 = ti * ti;
        float t4 = t2 * t2;
        // On a bar's axis the blend is dominated by that bar: the value's limit.
        if (t4 == 0.0f) return 1.0f;
        sum += 1.0f / t4;
    }
    return 1.0f - std::pow(sum, -0.25f);
}

Vector3& JackField::gradient(Vector3& out, float x, float y, float z) const {
    float v = value(x, y, z);
    out = {(value(x + 0.005f, y, z) - v) * 200.0f, (value(x, y + 0.005f, z) - v) * 200.0f,
           (value(x, y, z + 0.005f) - v) * 200.0f};
    return out;
}

FieldBounds& JackField::getBounds(FieldBounds& out) const { return out = cubeAround(centre, 4.0f); }

void JackField::addSeeds(std::vector<Vector3>& seeds) const { seeds.push_back(centre); }

}  // namespace demo
