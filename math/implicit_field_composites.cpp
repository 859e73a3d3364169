#include "math/implicit_field_composites.h"

#include <cmath>

namespace demo {

// --- children ---

FieldBounds& ChildListField::getBounds(FieldBounds& out) const {
    out = emptyBounds;
    FieldBounds box;
    for (const ImplicitField* child : children) growBounds(out, child->getBounds(box));
    return out;
}

void ChildListField::addSeeds(std::vector<Vector3>& seeds) const {
    for (const ImplicitField* child : children) child->addSeeds(seeds);
}

// --- sum ---

float SumField::value(float x, float y, float z) const {
    float sum = bias;
    for (const ImplicitField* child : children) sum += child->value(x, y, z);
    return sum;
}

Vector3& SumField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 sum;
    Vector3 g;
    for (const ImplicitField* child : children) sum += child->gradient(g, x, y, z);
    return out = sum;
}

// --- difference ---

float SubField::value(float x, float y, float z) const { return a->value(x, y, z) - b->value(x, y, z); }

Vector3& SubField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 ga, gb;
    a->gradient(ga, x, y, z);
    b->gradient(gb, x, y, z);
    return out = ga - gb;
}

FieldBounds& SubField::getBounds(FieldBounds& out) const { return a->getBounds(out); }

void SubField::addSeeds(std::vector<Vector3>& seeds) const { a->addSeeds(seeds); }

// --- interpolator ---

void InterpolatorField::setPosition(float p) {
    position = p;
    if (!std::isfinite(p)) p = 0.0f;
    double whole = std::floor(static_cast<double>(p));
    factor = static_cast<float>(p - whole);
    int count = static_cast<int>(children.size());
    if (count == 0) {
        indexI = indexJ = 0;
        return;
    }
    double i = std::fmod(whole, static_cast<double>(count));
    if (i < 0.0) i += count;
    indexI = static_cast<int>(i);
    indexJ = indexI + 1 < count ? indexI + 1 : 0;
}

float InterpolatorField::value(float x, float y, float z) const {
    int count = static_cast<int>(children.size());
    if (indexI >= count || indexJ >= count) return bias;
    return bias + (1.0f - factor) * children[indexI]->value(x, y, z) + factor * children[indexJ]->value(x, y, z);
}

Vector3& InterpolatorField::gradient(Vector3& out, float x, float y, float z) const {
    int count = static_cast<int>(children.size());
    if (indexI >= count || indexJ >= count) return out = {};
    Vector3 gi, gj;
    children[indexI]->gradient(gi, x, y, z);
    children[indexJ]->gradient(gj, x, y, z);
    return out = gi * (1.0f - factor) + gj * factor;
}

// --- mirror symmetry ---

float SymmetryField::value(float x, float y, float z) const {
    Vector3 p{x, y, z};
    if (p.dot(normal) < 0.0f) p = mirror(p);
    return child->value(p.x, p.y, p.z);
}

Vector3& SymmetryField::gradient(Vector3& out, float x, float y, float z) const {
    Vector3 p{x, y, z};
    if (p.dot(normal) >= 0.0f) return child->gradient(out, x, y, z);
    p = mirror(p);
    Vector3 g;
    child->gradient(g, p.x, p.y, p.z);
    return out = mirror(g);
}

FieldBounds& SymmetryField::getBounds(FieldBounds& out) const {
    child->getBounds(out);
    if (isEmpty(out)) return out;
    FieldBounds box = out;
    for (int corner = 0; corner < 8; ++corner) {
        Vector3 p{box[(corner & 1) ? 3 : 0], box[(corner & 2) ? 4 : 1], box[(corner & 4) ? 5 : 2]};
        growBounds(out, mirror(p));
    }
    return out;
}

void SymmetryField::addSeeds(std::vector<Vector3>& seeds) const {
    std::size_t first = seeds.size();
    child->addSeeds(seeds);
    std::size_t last = seeds.size();
    for (std::size_t i = first; i < last; ++i) seeds.push_back(mirror(seeds[i]));
}

}  // namespace demo
