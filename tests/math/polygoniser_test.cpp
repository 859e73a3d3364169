#include "math/polygoniser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "math/implicit_field_composites.h"
#include "math/implicit_field_primitives.h"
#include "math/polygonise_driver.h"
#include "tests/math/mesh_check.h"

namespace demo {
namespace {

using test::checkManifold;
using test::weldByPosition;

constexpr double pi = std::numbers::pi;

// A metaball: one ball of strength 4 in a sum, whose surface is the sphere
// of radius R / sqrt(2).
struct Sphere {
    BallField ball{{0.1f, -0.2f, 0.05f}, 1.0f, 4.0f};
    SumField sum;
    Sphere() { sum.children.push_back(&ball); }
    double radius() const { return 1.0 / std::sqrt(2.0); }
};

struct Torus {
    TorusField ring{{0.03f, 0.02f, -0.01f}, {0, 0, 1}, 1.0f, 0.4f, 4.0f};
    SumField sum;
    Torus() { sum.children.push_back(&ring); }
    double tube() const { return 0.4 / std::sqrt(2.0); }
};

void expectClosedSurface(const PolygonMesh& mesh, int euler) {
    ASSERT_FALSE(mesh.indices.empty());
    auto welded = weldByPosition(mesh);
    auto report = checkManifold(welded);
    EXPECT_TRUE(report.closed);
    EXPECT_TRUE(report.consistent);
    EXPECT_FALSE(report.degenerate);
    EXPECT_TRUE(report.vertexLinksOk);
    EXPECT_EQ(report.euler, euler);
}

TEST(Polygoniser, SphereAndTorusAreClosedManifolds) {
    Sphere sphere;
    Torus torus;
    for (float cell : {0.2f, 0.07f, 0.031f}) {
        PolygonMesh mesh;
        SCOPED_TRACE(cell);
        ASSERT_TRUE(polygonizeField(sphere.sum, cell, mesh, 0));
        expectClosedSurface(mesh, 2);
        ASSERT_TRUE(polygonizeField(torus.sum, cell * 0.5f, mesh, 0));
        expectClosedSurface(mesh, 0);
    }
}

TEST(Polygoniser, AreaAndVolumeConverge) {
    Sphere sphere;
    Torus torus;
    double r = sphere.radius(), a = torus.tube();
    struct Case {
        const ImplicitField* field;
        double area, volume;
        float coarse;
    } cases[] = {
        {&sphere.sum, 4 * pi * r * r, 4.0 / 3.0 * pi * r * r * r, 0.2f},
        {&torus.sum, 4 * pi * pi * 1.0 * a, 2 * pi * pi * 1.0 * a * a, 0.1f},
    };
    for (const Case& c : cases) {
        double previousArea = 1e9, previousVolume = 1e9;
        for (float cell = c.coarse; cell > c.coarse / 9; cell *= 0.5f) {
            PolygonMesh mesh;
            ASSERT_TRUE(polygonizeField(*c.field, cell, mesh, 0));
            double areaError = std::fabs(test::meshArea(mesh) / c.area - 1);
            double volumeError = std::fabs(test::meshVolume(mesh) / c.volume - 1);
            EXPECT_LT(areaError, previousArea) << cell;
            EXPECT_LT(volumeError, previousVolume) << cell;
            previousArea = areaError;
            previousVolume = volumeError;
        }
        EXPECT_LT(previousArea, 0.01);
        EXPECT_LT(previousVolume, 0.01);
    }
}

TEST(Polygoniser, TrianglesFaceAgainstTheGradient) {
    Sphere sphere;
    Torus torus;
    for (const ImplicitField* field : std::vector<const ImplicitField*>{&sphere.sum, &torus.sum}) {
        PolygonMesh mesh;
        ASSERT_TRUE(polygonizeField(*field, 0.05f, mesh, 0));
        int against = 0, total = 0;
        for (std::size_t i = 0; i < mesh.indices.size(); i += 3) {
            int a = mesh.indices[i], b = mesh.indices[i + 1], c = mesh.indices[i + 2];
            Vector3 n = test::triangleNormal(mesh.vertices, a, b, c);
            if (n.length() < 1e-7f) continue;  // slivers carry no direction
            Vector3 g = mesh.normals[a] + mesh.normals[b] + mesh.normals[c];
            ++total;
            if (n.dot(g) < 0) ++against;
        }
        EXPECT_EQ(against, total);
        // The stored normals are the field's gradient at each vertex.
        for (std::size_t v = 0; v < mesh.vertices.size(); v += 97) {
            Vector3 g = gradientAt(*field, mesh.vertices[v]);
            EXPECT_EQ(mesh.normals[v], g);
        }
    }
}

TEST(Polygoniser, DiagonalNeighboursRepeatAVertexAtTheSamePosition) {
    Sphere sphere;
    PolygonMesh mesh;
    ASSERT_TRUE(polygonizeField(sphere.sum, 0.05f, mesh, 0));
    auto welded = weldByPosition(mesh);
    EXPECT_LT(welded.points.size(), mesh.vertices.size());
    // A shared edge vertex is made once per cell chain, never for each cell.
    EXPECT_LT(mesh.vertices.size(), 2 * welded.points.size());
}

TEST(Polygoniser, SeedsQueueEachCellOnceAndRepeatCallsAgree) {
    Sphere sphere;
    FieldLattice lattice;
    ASSERT_TRUE(fieldLattice(sphere.sum, 0.1f, lattice));
    Polygoniser polygoniser;
    auto run = [&](std::vector<Vector3> seeds, PolygonMesh& mesh) {
        return polygoniser.polygonize(lattice.upper, lattice.lower, lattice.nx, lattice.ny, lattice.nz, mesh, 7,
                                      sphere.sum, seeds);
    };
    PolygonMesh one, two, again, none;
    ASSERT_TRUE(run({sphere.ball.centre}, one));
    std::size_t cells = polygoniser.cellCount();
    ASSERT_TRUE(run({sphere.ball.centre, sphere.ball.centre + Vector3{0.01f, 0, 0}}, two));
    EXPECT_EQ(polygoniser.cellCount(), cells);
    EXPECT_EQ(one.vertices, two.vertices);
    EXPECT_EQ(one.indices, two.indices);
    for (int index : one.indices) EXPECT_GE(index, 7);

    // Another lattice in between, larger, must not disturb the next run.
    PolygonMesh other;
    ASSERT_TRUE(polygoniser.polygonize(lattice.upper * 2, lattice.lower * 2, 60, 70, 80, other, 0, sphere.sum,
                                       std::vector<Vector3>{sphere.ball.centre}));
    ASSERT_TRUE(run({sphere.ball.centre}, again));
    EXPECT_EQ(one.vertices, again.vertices);
    EXPECT_EQ(one.normals, again.normals);
    EXPECT_EQ(one.indices, again.indices);

    ASSERT_TRUE(run({}, none));
    EXPECT_TRUE(none.vertices.empty());
    EXPECT_TRUE(none.indices.empty());
    // A seed outside the surface stays where it is; its cell is not crossed.
    ASSERT_TRUE(run({{0.1f, -0.2f, 1.4f}}, none));
    EXPECT_TRUE(none.indices.empty());
}

TEST(Polygoniser, OnlySurfacesReachedFromSeedsAreMade) {
    BallField a{{-1.5f, 0, 0}, 1.0f, 4.0f}, b{{1.5f, 0, 0}, 1.0f, 4.0f};
    SumField sum;
    sum.children = {&a, &b};
    FieldLattice lattice;
    ASSERT_TRUE(fieldLattice(sum, 0.1f, lattice));
    PolygonMesh both, left;
    polygonize(lattice.upper, lattice.lower, lattice.nx, lattice.ny, lattice.nz, both, 0, sum,
               std::vector<Vector3>{a.centre, b.centre});
    polygonize(lattice.upper, lattice.lower, lattice.nx, lattice.ny, lattice.nz, left, 0, sum,
               std::vector<Vector3>{a.centre});
    EXPECT_EQ(2 * left.indices.size(), both.indices.size());
    EXPECT_EQ(checkManifold(weldByPosition(both)).euler, 4);
}

TEST(Polygoniser, SeedsAndNeighboursOutsideTheLatticeAreSkipped) {
    Sphere sphere;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // A lattice that cuts the sphere: the surface runs into its border.
    Vector3 lower{-1, -1, -1}, upper{0.3f, 1, 1};
    std::vector<Vector3> seeds = {{5, 0, 0}, {-5, 0, 0}, {0, 0, -9}, {nan, 0, 0}, {inf, 0, 0}, {0, -inf, 0},
                                  upper, {0.3f, 0, 0}, {1e30f, 1e30f, 1e30f}};
    PolygonMesh mesh;
    EXPECT_TRUE(polygonize(upper, lower, 13, 20, 20, mesh, 0, sphere.sum, seeds));
    EXPECT_TRUE(mesh.indices.empty());
    // The seed is inside but the walk down leaves nothing but inside points:
    // a lattice wholly inside the sphere.
    EXPECT_TRUE(polygonize({0.2f, 0.2f, 0.2f}, {-0.1f, -0.1f, -0.1f}, 4, 4, 4, mesh, 0, sphere.sum,
                           std::vector<Vector3>{{0, 0, 0.1f}}));
    EXPECT_TRUE(mesh.indices.empty());

    ASSERT_TRUE(polygonize(upper, lower, 13, 20, 20, mesh, 0, sphere.sum, std::vector<Vector3>{{0, 0, 0}}));
    ASSERT_FALSE(mesh.indices.empty());
    auto report = checkManifold(weldByPosition(mesh));
    EXPECT_FALSE(report.closed);  // open where the lattice ends
    EXPECT_TRUE(report.consistent);
    for (const Vector3& p : mesh.vertices) {
        EXPECT_GE(p.x, lower.x);
        EXPECT_LE(p.x, upper.x);
    }
}

TEST(Polygoniser, RefusesLatticesItCannotHold) {
    Sphere sphere;
    PolygonMesh mesh;
    std::vector<Vector3> seeds{{0, 0, 0}};
    EXPECT_FALSE(polygonize({1, 1, 1}, {-1, -1, -1}, 0, 4, 4, mesh, 0, sphere.sum, seeds));
    EXPECT_FALSE(polygonize({1, 1, 1}, {-1, -1, -1}, 4, -3, 4, mesh, 0, sphere.sum, seeds));
    EXPECT_FALSE(polygonize({1, 1, 1}, {-1, -1, -1}, 100000, 100000, 100000, mesh, 0, sphere.sum, seeds));
    EXPECT_FALSE(polygonize({1, 1, 1}, {-1, -1, -1}, std::numeric_limits<int>::max(), 1, 1, mesh, 0, sphere.sum,
                            seeds));
    EXPECT_TRUE(mesh.indices.empty());
    // Degenerate steps: nothing found, nothing read out of place.
    EXPECT_TRUE(polygonize({0, 0, 0}, {0, 0, 0}, 4, 4, 4, mesh, 0, sphere.sum, seeds));
    EXPECT_TRUE(polygonize({1e-40f, 1e-40f, 1e-40f}, {0, 0, 0}, 8, 8, 8, mesh, 0, sphere.sum, seeds));
}

TEST(Polygoniser, CallerArraysStopInsteadOfOverrunning) {
    Sphere sphere;
    PolygonMesh full;
    ASSERT_TRUE(polygonizeField(sphere.sum, 0.1f, full, 3));
    const int vertices = static_cast<int>(full.vertices.size());
    const int triangles = static_cast<int>(full.indices.size() / 3);

    std::vector<Vector3> v(vertices), n(vertices);
    std::vector<int> idx(3 * triangles);
    EXPECT_TRUE(polygonizeField(sphere.sum, 0.1f, v, n, idx, 3));
    EXPECT_EQ(polygonizedVertexCount, vertices);
    EXPECT_EQ(polygonizedTriangleCount, triangles);
    EXPECT_EQ(v, full.vertices);
    EXPECT_EQ(idx, full.indices);

    for (auto [vcap, tcap] : {std::pair{vertices / 2, triangles}, std::pair{vertices, triangles / 3},
                              std::pair{0, 0}, std::pair{vertices, triangles - 1}}) {
        std::vector<Vector3> sv(vcap), sn(vcap + 5);
        std::vector<int> si(3 * tcap + 2);
        EXPECT_FALSE(polygonizeField(sphere.sum, 0.1f, sv, sn, si, 3));
        EXPECT_LE(polygonizedVertexCount, vcap);
        EXPECT_LE(polygonizedTriangleCount, tcap);
        for (int t = 0; t < 3 * polygonizedTriangleCount; ++t) {
            EXPECT_GE(si[t], 3);
            EXPECT_LT(si[t], polygonizedVertexCount + 3);
        }
        // What was written is the start of the full mesh.
        for (int i = 0; i < polygonizedVertexCount; ++i) EXPECT_EQ(sv[i], full.vertices[i]);
    }
}

// A field with a given box and no seeds, to check the driver's lattice.
struct BoxOnly : ImplicitField {
    FieldBounds box;
    explicit BoxOnly(FieldBounds b) : box(b) {}
    float value(float, float, float) const override { return -1.0f; }
    Vector3& gradient(Vector3& out, float, float, float) const override { return out = {}; }
    FieldBounds& getBounds(FieldBounds& out) const override { return out = box; }
    void addSeeds(std::vector<Vector3>&) const override {}
};

TEST(PolygoniseDriver, LatticeFromBoundsAndCell) {
    FieldLattice lattice;
    ASSERT_TRUE(fieldLattice(BoxOnly({0, 0, 0, 1.05f, 0, 2.0f}), 0.25f, lattice));
    EXPECT_EQ(lattice.nx, 5);  // trunc((1.05 + 0.25) / 0.25)
    EXPECT_EQ(lattice.ny, 1);  // an extent of 0: one cell, four cells wide
    EXPECT_EQ(lattice.nz, 9);
    EXPECT_FLOAT_EQ(lattice.upper.y - lattice.lower.y, 1.0f);
    EXPECT_FLOAT_EQ(lattice.lower.x, -0.5f);
    EXPECT_FLOAT_EQ(lattice.upper.z, 2.5f);

    // Tiny or meaningless cells and boxes are refused; the counters say empty.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, 0, 1, 1, 1}), 1e-4f, lattice));
    EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, 0, 1, 1, 1}), 0.0f, lattice));
    EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, 0, 1, 1, 1}), -1.0f, lattice));
    EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, 0, 1, 1, 1}), nan, lattice));
    EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, nan, 1, 1, 1}), 0.1f, lattice));
    EXPECT_FALSE(fieldLattice(BoxOnly(emptyBounds), 0.1f, lattice));
    EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, 0, 3e38f, 1, 1}), 1.0f, lattice));

    Sphere sphere;
    PolygonMesh mesh;
    ASSERT_TRUE(polygonizeField(sphere.sum, 0.1f, mesh, 0));
    EXPECT_GT(polygonizedTriangleCount, 0);
    EXPECT_FALSE(polygonizeField(sphere.sum, 1e-5f, mesh, 0));
    EXPECT_EQ(polygonizedVertexCount, 0);
    EXPECT_EQ(polygonizedTriangleCount, 0);
    SumField empty;
    EXPECT_FALSE(polygonizeField(empty, 0.1f, mesh, 0));
    EXPECT_EQ(polygonizedTriangleCount, 0);
    EXPECT_TRUE(polygonizeField(BoxOnly({0, 0, 0, 1, 1, 1}), 0.1f, mesh, 0));
    EXPECT_EQ(polygonizedVertexCount, 0);
}

TEST(PolygoniseDriver, TinyCellsOnASmallField) {
    // A lattice of about 200 cells on a side of a 1e-3 ball: still closed.
    BallField ball{{1e-4f, 0, 0}, 1e-3f, 4.0f};
    SumField sum;
    sum.children.push_back(&ball);
    PolygonMesh mesh;
    ASSERT_TRUE(polygonizeField(sum, 1e-5f, mesh, 0));
    expectClosedSurface(mesh, 2);
}

}  // namespace
}  // namespace demo
