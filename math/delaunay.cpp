#include "math/delaunay.h"

#include "math/convex_hull.h"

namespace demo {

std::vector<int> delaunayTriangulate(std::span<const std::array<float, 2>> points) {
    std::vector<int> triangles;
    if (points.empty()) return triangles;
    const float scale = 1.0f / static_cast<float>(points.size());
    float sx = 0.0f, sy = 0.0f;
    for (const auto& q : points) sx += q[0], sy += q[1];
    const float cx = scale * sx, cy = scale * sy;

    // The height is taken about the centroid so that it stays small; x and y
    // keep the given coordinates.
    std::vector<Vector3> lifted;
    lifted.reserve(points.size());
    for (const auto& q : points) {
        float dx = q[0] - cx, dy = q[1] - cy;
        lifted.push_back({q[0], q[1], dx * dx + dy * dy});
    }
    for (const HullFace& f : computeConvexHull(lifted))
        if (f.normal.z < 0.0f) triangles.insert(triangles.end(), f.vertex, f.vertex + 3);
    return triangles;
}

}  // namespace demo
