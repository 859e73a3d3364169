#include "math/convex_hull.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

#include "tests/math/qhull_oracle.h"

namespace demo {
namespace {

std::vector<Vector3> pointsOnSphere(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> normal;
    std::vector<Vector3> points;
    while (static_cast<int>(points.size()) < n) {
        Vector3 v{normal(random), normal(random), normal(random)};
        if (v.length() > 1e-3f) points.push_back(v.normalized());
    }
    return points;
}

std::vector<Vector3> pointsInBall(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<Vector3> points;
    while (static_cast<int>(points.size()) < n) {
        Vector3 v{unit(random), unit(random), unit(random)};
        if (v.dot(v) <= 1.0f) points.push_back(v);
    }
    return points;
}

// Checks that the faces form a closed, consistently oriented convex surface
// whose neighbour indices name the faces across each edge. Returns the set
// of points used as vertices.
void checkHull(const std::vector<HullFace>& faces, const std::vector<Vector3>& points, double tolerance,
               std::set<int>& used) {
    std::map<std::pair<int, int>, int> owner;
    for (int f = 0; f < static_cast<int>(faces.size()); ++f)
        for (int i = 0; i < 3; ++i) {
            auto [it, added] = owner.emplace(std::pair{faces[f].vertex[i], faces[f].vertex[(i + 1) % 3]}, f);
            EXPECT_TRUE(added) << "directed edge twice";
        }
    for (int f = 0; f < static_cast<int>(faces.size()); ++f) {
        const HullFace& face = faces[f];
        for (int i = 0; i < 3; ++i) {
            used.insert(face.vertex[i]);
            int a = face.vertex[(i + 1) % 3], b = face.vertex[(i + 2) % 3];
            auto across = owner.find({b, a});
            ASSERT_NE(across, owner.end()) << "edge in one face only";
            EXPECT_EQ(face.neighbour[i], across->second);
            // Symmetric: this face is a neighbour of its neighbour.
            const HullFace& g = faces[face.neighbour[i]];
            EXPECT_TRUE(g.neighbour[0] == f || g.neighbour[1] == f || g.neighbour[2] == f);
        }
        EXPECT_NEAR(face.normal.length(), 1.0f, 1e-5f);
        for (const Vector3& q : points)
            ASSERT_LE(face.normal.dot(q) - face.offset, tolerance) << "a point outside face " << f;
    }
}

std::set<int> expectValidHull(const std::vector<HullFace>& faces, const std::vector<Vector3>& points,
                              double tolerance = 1e-5) {
    std::set<int> used;
    checkHull(faces, points, tolerance, used);
    return used;
}

TEST(ConvexHull, Tetrahedron) {
    std::vector<Vector3> points{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.1f, 0.1f, 0.1f}};
    auto faces = computeConvexHull(points);
    ASSERT_EQ(faces.size(), 4u);
    auto used = expectValidHull(faces, points, 0.0);
    EXPECT_EQ(used, (std::set<int>{0, 1, 2, 3}));  // the interior point is on no face
}

TEST(ConvexHull, CubeCorners) {
    std::vector<Vector3> points;
    for (int c = 0; c < 8; ++c) points.push_back({float(c & 1), float(c >> 1 & 1), float(c >> 2 & 1)});
    auto faces = computeConvexHull(points);
    EXPECT_EQ(faces.size(), 12u);
    EXPECT_EQ(expectValidHull(faces, points).size(), 8u);
}

TEST(ConvexHull, PointsOnASphere) {
    for (int n : {20, 300, 2000}) {
        auto points = pointsOnSphere(n, 7 + n);
        auto faces = computeConvexHull(points);
        EXPECT_EQ(static_cast<int>(faces.size()), 2 * n - 4) << n;
        EXPECT_EQ(static_cast<int>(expectValidHull(faces, points).size()), n);
        int oracle = test::qconvexFacetCount(points);
        if (oracle >= 0) {
            EXPECT_EQ(static_cast<int>(faces.size()), oracle);
        }
    }
}

TEST(ConvexHull, InteriorPointsAreOnNoFace) {
    auto points = pointsInBall(3000, 11);
    // Points well inside can never be hull vertices.
    auto faces = computeConvexHull(points);
    auto used = expectValidHull(faces, points);
    for (int v : used) EXPECT_GT(points[v].length(), 0.5f);
    EXPECT_EQ(static_cast<int>(faces.size()), 2 * static_cast<int>(used.size()) - 4);
    int oracle = test::qconvexFacetCount(points);
    if (oracle < 0) GTEST_SKIP() << "qconvex is not installed; counts not compared";
    EXPECT_EQ(static_cast<int>(faces.size()), oracle);
}

TEST(ConvexHull, SurplusVisibleFacesAreRemovedOnRandomInput) {
    // Whenever the eye point sees a patch with more than one inner vertex,
    // more faces go than come; that happens all the time on ordinary input.
    for (unsigned seed : {1u, 2u, 3u}) {
        auto points = pointsInBall(20000, seed);
        HullStatistics stats;
        auto faces = computeConvexHull(points, &stats);
        EXPECT_GT(stats.surplusFacesRemoved, 0);
        EXPECT_GT(stats.pointsAdded, 4);
        auto used = expectValidHull(faces, points);
        EXPECT_EQ(faces.size(), 2 * used.size() - 4);
    }
}

TEST(ConvexHull, DegenerateSetsGiveNoFaces) {
    EXPECT_TRUE(computeConvexHull(std::vector<Vector3>{}).empty());
    EXPECT_TRUE(computeConvexHull(std::vector<Vector3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).empty());
    std::vector<Vector3> line, flat, same(10, Vector3{1, 2, 3});
    for (int i = 0; i < 10; ++i) {
        line.push_back(Vector3{1, 2, 3} * float(i));
        flat.push_back({float(i % 3), float(i / 3), 0.0f});
    }
    EXPECT_TRUE(computeConvexHull(line).empty());
    EXPECT_TRUE(computeConvexHull(flat).empty());
    EXPECT_TRUE(computeConvexHull(same).empty());
    // Flat, but tilted: not aligned with any axis.
    std::vector<Vector3> tilted;
    for (int i = 0; i < 20; ++i) tilted.push_back({float(i % 5), float(i / 5), float(i % 5) + float(i / 5)});
    EXPECT_TRUE(computeConvexHull(tilted).empty());
    auto points = pointsOnSphere(10, 3);
    points[4].y = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(computeConvexHull(points).empty());
    // Repeated points are dropped, not doubled.
    auto repeated = pointsOnSphere(50, 5);
    repeated.insert(repeated.end(), repeated.begin(), repeated.end());
    auto faces = computeConvexHull(repeated);
    EXPECT_EQ(faces.size(), 96u);
    expectValidHull(faces, repeated);
}

}  // namespace
}  // namespace demo
