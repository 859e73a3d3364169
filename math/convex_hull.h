#pragma once

#include <span>
#include <vector>

#include "math/vector3.h"

namespace demo {

// One outward-facing triangle of a convex hull.
struct HullFace {
    Vector3 normal;       // unit, outward
    double offset = 0.0;  // q is on the plane when normal·q == offset
    int vertex[3] = {};   // point indices, counter-clockwise seen from outside
    // neighbour[i] is the face across the edge opposite vertex[i]:
    // [0] shares (vertex[1], vertex[2]), [1] (vertex[2], vertex[0]), [2] (vertex[0], vertex[1]).
    int neighbour[3] = {};
};

HullFace makeHullFace(int a, int b, int c, int na, int nb, int nc, std::span<const Vector3> points);

// What the last hull build did, for tests and tuning.
struct HullStatistics {
    // Visible faces left over after a point's new faces took their slots:
    // they are removed and the array compacted.
    int surplusFacesRemoved = 0;
};

// The convex hull by incremental quickhull. Fewer than four points, a
// collinear or flat set, or a non-finite coordinate give no faces.
std::vector<HullFace> computeConvexHull(std::span<const Vector3> points, HullStatistics* statistics = nullptr);

}  // namespace demo
