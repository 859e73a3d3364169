#include "math/delaunay.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "tests/math/qhull_oracle.h"

namespace demo {
namespace {

using Point = std::array<float, 2>;

double cross(const Point& o, const Point& a, const Point& b) {
    return (double(a[0]) - o[0]) * (double(b[1]) - o[1]) - (double(a[1]) - o[1]) * (double(b[0]) - o[0]);
}

// Clockwise triangles with empty circumcircles using every point, without
// holes (Euler: 2n - 2 - b triangles for b boundary edges), as many as the
// independent triangulation makes.
TEST(Delaunay, RandomPointsTriangulateTheirHull) {
    for (int n : {10, 200, 3000}) {
        std::mt19937 random(100 + n);
        std::uniform_real_distribution<float> unit(-10.0f, 10.0f);
        std::vector<Point> points(n);
        for (auto& p : points) p = {unit(random), unit(random)};
        auto triangles = delaunayTriangulate(points);
        const int count = static_cast<int>(triangles.size() / 3);
        std::set<int> used(triangles.begin(), triangles.end());
        std::set<std::pair<int, int>> edges;
        for (std::size_t i = 0; i < triangles.size(); ++i)
            edges.insert({triangles[i], triangles[i % 3 == 2 ? i - 2 : i + 1]});
        int boundary = 0;
        for (auto [p, q] : edges) boundary += !edges.count({q, p});
        EXPECT_EQ(static_cast<int>(used.size()), n);
        EXPECT_EQ(count, 2 * n - 2 - boundary) << n;
        for (std::size_t t = 0; t < triangles.size(); t += 3) {
            const Point &a = points[triangles[t]], &b = points[triangles[t + 1]], &c = points[triangles[t + 2]];
            EXPECT_LT(cross(a, b, c), 0);  // clockwise seen from +z
            // The in-circle determinant of a clockwise triangle is negative
            // for a point strictly inside.
            for (const Point& d : points) {
                double ax = double(a[0]) - d[0], ay = double(a[1]) - d[1], bx = double(b[0]) - d[0],
                       by = double(b[1]) - d[1], cx = double(c[0]) - d[0], cy = double(c[1]) - d[1];
                double det = (ax * ax + ay * ay) * (bx * cy - cx * by) - (bx * bx + by * by) * (ax * cy - cx * ay) +
                             (cx * cx + cy * cy) * (ax * by - bx * ay);
                ASSERT_GE(det, -1e-6) << "a point inside a circumcircle";
            }
        }
        int oracle = test::qdelaunayTriangleCount(points);
        if (oracle >= 0) {
            EXPECT_EQ(count, oracle);
        }
    }
}

TEST(Delaunay, DegenerateSetsGiveNoTriangles) {
    std::vector<Point> line;
    for (int i = 0; i < 12; ++i) line.push_back({float(i), 2.0f * i + 1});
    for (const auto& points : {std::vector<Point>{}, std::vector<Point>{{0, 0}, {1, 0}, {0, 1}}, line})
        EXPECT_TRUE(delaunayTriangulate(points).empty());
}

}  // namespace
}  // namespace demo
