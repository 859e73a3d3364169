#include "math/delaunay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "tests/math/qhull_oracle.h"

namespace demo {
namespace {

using Point = std::array<float, 2>;

double cross(const Point& o, const Point& a, const Point& b) {
    return (double(a[0]) - o[0]) * (double(b[1]) - o[1]) - (double(a[1]) - o[1]) * (double(b[0]) - o[0]);
}

// The convex hull in the plane by the monotone chain; counter-clockwise.
std::vector<Point> hull2d(std::vector<Point> p) {
    std::sort(p.begin(), p.end());
    std::vector<Point> h(2 * p.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0) --k;
        h[k++] = p[i];
    }
    for (std::size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], p[i - 1]) <= 0) --k;
        h[k++] = p[i - 1];
    }
    h.resize(k - 1);
    return h;
}

double polygonArea(const std::vector<Point>& h) {
    double area = 0;
    for (std::size_t i = 0; i < h.size(); ++i) area += cross({0, 0}, h[i], h[(i + 1) % h.size()]);
    return area / 2;
}

std::vector<Point> randomPoints(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(-10.0f, 10.0f);
    std::vector<Point> points(n);
    for (auto& p : points) p = {unit(random), unit(random)};
    return points;
}

TEST(Delaunay, RectangleWithItsCentre) {
    std::vector<Point> points{{0, 0}, {4, 0}, {4, 2}, {0, 2}, {2, 1}};
    auto triangles = delaunayTriangulate(points);
    ASSERT_EQ(triangles.size(), 12u);
    for (std::size_t t = 0; t < triangles.size(); t += 3) {
        EXPECT_TRUE(triangles[t] == 4 || triangles[t + 1] == 4 || triangles[t + 2] == 4);
        EXPECT_LT(cross(points[triangles[t]], points[triangles[t + 1]], points[triangles[t + 2]]), 0);
    }
}

TEST(Delaunay, RandomPointsTriangulateTheirHull) {
    for (int n : {10, 200, 3000}) {
        auto points = randomPoints(n, 100 + n);
        auto triangles = delaunayTriangulate(points);
        const int count = static_cast<int>(triangles.size() / 3);
        auto hull = hull2d(points);
        const int h = static_cast<int>(hull.size());
        EXPECT_EQ(count, 2 * n - 2 - h) << n;

        double area = 0;
        std::set<int> used;
        for (std::size_t t = 0; t < triangles.size(); t += 3) {
            const Point &a = points[triangles[t]], &b = points[triangles[t + 1]], &c = points[triangles[t + 2]];
            double signedArea = cross(a, b, c) / 2;
            EXPECT_LT(signedArea, 0);  // clockwise seen from +z
            area += std::fabs(signedArea);
            used.insert(triangles.begin() + t, triangles.begin() + t + 3);
            // Empty circumcircle: no point strictly inside (in-circle test,
            // positive for a point inside a clockwise triangle's circle when negated).
            for (int q = 0; q < n; ++q) {
                if (q == triangles[t] || q == triangles[t + 1] || q == triangles[t + 2]) continue;
                const Point& d = points[q];
                double ax = double(a[0]) - d[0], ay = double(a[1]) - d[1];
                double bx = double(b[0]) - d[0], by = double(b[1]) - d[1];
                double cx = double(c[0]) - d[0], cy = double(c[1]) - d[1];
                double det = (ax * ax + ay * ay) * (bx * cy - cx * by) - (bx * bx + by * by) * (ax * cy - cx * ay) +
                             (cx * cx + cy * cy) * (ax * by - bx * ay);
                ASSERT_GE(det, -1e-6) << "point " << q << " inside a circumcircle";
            }
        }
        EXPECT_NEAR(area, polygonArea(hull), 1e-6 * polygonArea(hull));
        EXPECT_EQ(static_cast<int>(used.size()), n);  // every point is a vertex
        int oracle = test::qdelaunayTriangleCount(points);
        if (oracle >= 0) {
            EXPECT_EQ(count, oracle);
        }
    }
}

TEST(Delaunay, DegenerateSetsGiveNoTriangles) {
    EXPECT_TRUE(delaunayTriangulate(std::vector<Point>{}).empty());
    EXPECT_TRUE(delaunayTriangulate(std::vector<Point>{{0, 0}, {1, 0}, {0, 1}}).empty());
    std::vector<Point> line;
    for (int i = 0; i < 12; ++i) line.push_back({float(i), 2.0f * i + 1});
    EXPECT_TRUE(delaunayTriangulate(line).empty());
}

}  // namespace
}  // namespace demo
