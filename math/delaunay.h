#pragma once

#include <array>
#include <span>
#include <vector>

namespace demo {

// The Delaunay triangulation of 2D points: the lower convex hull of the
// points lifted onto a paraboloid. Three point indices per triangle, in the
// order of the lower hull's faces: clockwise in the x-y plane seen from +z.
// Fewer than four points, or collinear points, give no triangles.
std::vector<int> delaunayTriangulate(std::span<const std::array<float, 2>> points);

}  // namespace demo
