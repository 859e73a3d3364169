#include "math/convex_hull.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <set>

#include "tests/math/qhull_oracle.h"

namespace demo {
namespace {

// Random points on the unit sphere, or (inBall) uniform in the unit ball.
std::vector<Vector3> randomPoints(int n, unsigned seed, bool inBall) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<Vector3> points;
    while (static_cast<int>(points.size()) < n) {
        Vector3 v{unit(random), unit(random), unit(random)};
        float d = v.length();
        if (d <= 1.0f && d > 1e-3f) points.push_back(inBall ? v : v * (1.0f / d));
    }
    return points;
}

// A closed, consistently oriented convex surface whose neighbours name the
// faces across each edge, symmetrically. Returns the points used as vertices.
std::set<int> expectValidHull(const std::vector<HullFace>& faces, const std::vector<Vector3>& points,
                              double tolerance = 1e-5) {
    std::set<int> used;
    std::map<std::pair<int, int>, int> owner;
    for (int f = 0; f < static_cast<int>(faces.size()); ++f)
        for (int i = 0; i < 3; ++i) {
            used.insert(faces[f].vertex[i]);
            EXPECT_TRUE(owner.emplace(std::pair{faces[f].vertex[i], faces[f].vertex[(i + 1) % 3]}, f).second);
        }
    for (int f = 0; f < static_cast<int>(faces.size()); ++f) {
        const HullFace& face = faces[f];
        for (int i = 0; i < 3; ++i) {
            auto across = owner.find({face.vertex[(i + 2) % 3], face.vertex[(i + 1) % 3]});
            EXPECT_TRUE(across != owner.end() && face.neighbour[i] == across->second) << "face " << f;
            const int* back = faces[face.neighbour[i]].neighbour;
            EXPECT_TRUE(back[0] == f || back[1] == f || back[2] == f);
        }
        EXPECT_NEAR(face.normal.length(), 1.0f, 1e-5f);
        int outside = 0;
        for (const Vector3& q : points) outside += face.normal.dot(q) - face.offset > tolerance;
        EXPECT_EQ(outside, 0) << "face " << f;
    }
    return used;
}

// On a sphere every point is on the hull. In a ball, points well inside are
// on no face, and the eye point often sees the faces round an inner vertex:
// surplus visible faces are removed on ordinary input.
TEST(ConvexHull, PointsOnASphereAndInABall) {
    for (auto [n, inBall] : {std::pair{20, false}, {300, false}, {2000, false}, {3000, true}, {20000, true}}) {
        auto points = randomPoints(n, 7 + n, inBall);
        HullStatistics stats;
        auto faces = computeConvexHull(points, &stats);
        auto used = expectValidHull(faces, points);
        EXPECT_EQ(faces.size(), 2 * used.size() - 4) << n;
        EXPECT_TRUE(inBall ? stats.surplusFacesRemoved > 0 : used.size() == std::size_t(n)) << n;
        for (int v : used) EXPECT_GT(points[v].length(), inBall ? 0.5f : 0.99f);
        int oracle = test::qconvexFacetCount(points);
        if (oracle >= 0) {
            EXPECT_EQ(static_cast<int>(faces.size()), oracle);
        }
    }
}

TEST(ConvexHull, DegenerateSetsGiveNoFaces) {
    std::vector<Vector3> line, flat, same(10, Vector3{1, 2, 3});
    for (int i = 0; i < 20; ++i) {
        line.push_back(Vector3{1, 2, 3} * float(i));
        flat.push_back({float(i % 3), float(i / 3), 0.0f});
    }
    auto withNan = randomPoints(10, 3, false);
    withNan[4].y = std::numeric_limits<float>::quiet_NaN();
    for (const auto& points : {std::vector<Vector3>{}, std::vector<Vector3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, line,
                               flat, same, withNan})
        EXPECT_TRUE(computeConvexHull(points).empty()) << points.size() << " points";
    // Repeated points are dropped, not doubled.
    auto repeated = randomPoints(50, 5, false);
    repeated.insert(repeated.end(), repeated.begin(), repeated.end());
    auto faces = computeConvexHull(repeated);
    EXPECT_EQ(faces.size(), 96u);
    expectValidHull(faces, repeated);
}

}  // namespace
}  // namespace demo
