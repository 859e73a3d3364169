#include "math/polygoniser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

#include "math/implicit_field_composites.h"
#include "math/implicit_field_primitives.h"
#include "math/polygonise_driver.h"
#include "tests/math/mesh_check.h"

namespace demo {
namespace {

using test::checkManifold;
using test::weldByPosition;

constexpr double pi = std::numbers::pi;

// A field of strength 4 alone in a sum: its surface is where it reaches 1.
template <class Field>
struct Metaball {
    Field field;
    SumField sum;
    explicit Metaball(const Field& f) : field(f) { sum.children.push_back(&field); }
};
// The sphere of radius 1 / sqrt(2); the torus of major radius 1 and tube 0.4 / sqrt(2).
Metaball<BallField> makeSphere() { return Metaball(BallField{{0.1f, -0.2f, 0.05f}, 1.0f, 4.0f}); }
Metaball<TorusField> makeTorus() { return Metaball(TorusField{{0.03f, 0.02f, -0.01f}, {0, 0, 1}, 1.0f, 0.4f, 4.0f}); }

void expectClosedSurface(const PolygonMesh& mesh, int euler) {
    ASSERT_FALSE(mesh.indices.empty());
    auto report = checkManifold(weldByPosition(mesh));
    EXPECT_TRUE(report.closed && report.consistent && report.fans);
    EXPECT_EQ(report.euler, euler);
}

// Closed, outward-facing manifolds whose area and volume converge to the
// analytic values as the cell shrinks.
TEST(Polygoniser, SphereAndTorusConvergeAsClosedManifolds) {
    auto sphere = makeSphere();
    auto torus = makeTorus();
    const double r = 1.0 / std::sqrt(2.0), a = 0.4 / std::sqrt(2.0);
    const std::tuple<const ImplicitField*, int, double, double, float> surfaces[] = {
        {&sphere.sum, 2, 4 * pi * r * r, 4.0 / 3.0 * pi * r * r * r, 0.2f},
        {&torus.sum, 0, 4 * pi * pi * a, 2 * pi * pi * a * a, 0.1f}};
    for (auto [field, euler, area, volume, coarse] : surfaces) {
        double areaError = 1e9, volumeError = 1e9;
        for (float cell = coarse; cell > coarse / 9; cell *= 0.5f) {
            SCOPED_TRACE(cell);
            PolygonMesh mesh;
            ASSERT_TRUE(polygonizeField(*field, cell, mesh, 0));
            expectClosedSurface(mesh, euler);
            auto [meshArea, meshVolume] = test::meshAreaAndVolume(mesh);
            double e1 = std::fabs(meshArea / area - 1), e2 = std::fabs(meshVolume / volume - 1);
            EXPECT_TRUE(e1 < areaError && e2 < volumeError);
            areaError = e1, volumeError = e2;
            // Triangles face against the gradient, which is stored unchanged.
            for (std::size_t i = 0; i < mesh.indices.size(); i += 3) {
                const int p = mesh.indices[i], q = mesh.indices[i + 1], o = mesh.indices[i + 2];
                Vector3 n = (mesh.vertices[q] - mesh.vertices[p]).cross(mesh.vertices[o] - mesh.vertices[p]);
                // Slivers carry no direction.
                EXPECT_TRUE(n.length() < 1e-7f || n.dot(mesh.normals[p] + mesh.normals[q] + mesh.normals[o]) < 0);
            }
            for (std::size_t v = 0; v < mesh.vertices.size(); v += 97)
                EXPECT_EQ(mesh.normals[v], gradientAt(*field, mesh.vertices[v]));
        }
        EXPECT_TRUE(areaError < 0.01 && volumeError < 0.01);
    }
}

TEST(Polygoniser, SeedsQueueCellsOnceAndRepeatCallsAgree) {
    BallField left{{-1.5f, 0, 0}, 1.0f, 4.0f}, right{{1.5f, 0, 0}, 1.0f, 4.0f};
    SumField sum;
    sum.children = {&left, &right};
    FieldLattice lattice;
    ASSERT_TRUE(fieldLattice(sum, 0.1f, lattice));
    Polygoniser polygoniser;
    auto run = [&](std::vector<Vector3> seeds, PolygonMesh& mesh) {
        return polygoniser.polygonize(lattice.upper, lattice.lower, lattice.nx, lattice.ny, lattice.nz, mesh, 7,
                                      sum, seeds);
    };
    PolygonMesh one, two, both;
    ASSERT_TRUE(run({left.centre}, one));
    const std::size_t cells = polygoniser.cellCount();
    ASSERT_TRUE(run({left.centre, left.centre + Vector3{0.01f, 0, 0}}, two));
    EXPECT_EQ(polygoniser.cellCount(), cells);
    for (int index : one.indices) EXPECT_GE(index, 7);
    // A larger lattice in between must not disturb the next run.
    ASSERT_TRUE(polygoniser.polygonize(lattice.upper * 2, lattice.lower * 2, 60, 70, 80, both, 0, sum,
                                       std::vector<Vector3>{right.centre}));
    ASSERT_TRUE(run({left.centre}, two));
    EXPECT_TRUE(one.vertices == two.vertices && one.normals == two.normals && one.indices == two.indices);

    // Only surfaces that a seed reaches are made.
    ASSERT_TRUE(run({left.centre, right.centre}, both));
    EXPECT_EQ(2 * one.indices.size(), both.indices.size());
    EXPECT_EQ(checkManifold(weldByPosition(both, 7)).euler, 4);
    // No seeds, or one outside (not walked, its cell not crossed): nothing.
    EXPECT_TRUE(run({}, both) && both.vertices.empty() && run({{0, 0, 1.4f}}, both) && both.vertices.empty());
}

TEST(Polygoniser, OutOfLatticeSeedsAndBadLatticesAreSafe) {
    auto sphere = makeSphere();
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    // A lattice that cuts the sphere: the surface runs into its border.
    const Vector3 lower{-1, -1, -1}, upper{0.3f, 1, 1};
    const std::vector<Vector3> outside = {{5, 0, 0}, {nan, 0, 0}, {0, -inf, 0}, upper,
                                          {1e30f, 1e30f, 1e30f}};
    PolygonMesh mesh;
    EXPECT_TRUE(polygonize(upper, lower, 13, 20, 20, mesh, 0, sphere.sum, outside) && mesh.indices.empty());
    // A lattice wholly inside: the walk down leaves it.
    EXPECT_TRUE(polygonize({0.2f, 0.2f, 0.2f}, {-0.1f, -0.1f, -0.1f}, 4, 4, 4, mesh, 0, sphere.sum,
                           std::vector<Vector3>{{0, 0, 0.1f}}) && mesh.indices.empty());
    const std::vector<Vector3> seeds{{0, 0, 0}};
    ASSERT_TRUE(polygonize(upper, lower, 13, 20, 20, mesh, 0, sphere.sum, seeds));
    EXPECT_FALSE(checkManifold(weldByPosition(mesh)).closed);  // open where the lattice ends
    for (const Vector3& p : mesh.vertices) EXPECT_TRUE(p.x >= lower.x && p.x <= upper.x);

    const std::tuple<int, int, int> refused[] = {
        {0, 4, 4}, {4, -3, 4}, {100000, 100000, 100000}, {std::numeric_limits<int>::max(), 1, 1}};
    for (auto [nx, ny, nz] : refused)
        EXPECT_FALSE(polygonize({1, 1, 1}, {-1, -1, -1}, nx, ny, nz, mesh, 0, sphere.sum, seeds));
    EXPECT_TRUE(mesh.indices.empty());
    // Zero and tiny steps: nothing found, nothing read out of place.
    EXPECT_TRUE(polygonize({0, 0, 0}, {0, 0, 0}, 4, 4, 4, mesh, 0, sphere.sum, seeds));
    EXPECT_TRUE(polygonize({1e-40f, 1e-40f, 1e-40f}, {0, 0, 0}, 8, 8, 8, mesh, 0, sphere.sum, seeds));
}

TEST(Polygoniser, CallerArraysStopInsteadOfOverrunning) {
    auto sphere = makeSphere();
    PolygonMesh full;
    ASSERT_TRUE(polygonizeField(sphere.sum, 0.1f, full, 3));
    const int vertices = static_cast<int>(full.vertices.size()), triangles = static_cast<int>(full.indices.size() / 3);
    for (auto [vcap, tcap] :
         {std::pair{vertices, triangles}, {vertices / 2, triangles}, {vertices, triangles - 1}}) {
        const bool fits = vcap == vertices && tcap == triangles;
        std::vector<Vector3> v(vcap), n(vcap + 5);
        std::vector<int> idx(3 * tcap + (fits ? 0 : 2));
        EXPECT_EQ(polygonizeField(sphere.sum, 0.1f, v, n, idx, 3), fits);
        EXPECT_LE(polygonizedVertexCount, vcap);
        EXPECT_LE(polygonizedTriangleCount, tcap);
        EXPECT_TRUE(!fits || (polygonizedVertexCount == vertices && polygonizedTriangleCount == triangles));
        for (int t = 0; t < 3 * polygonizedTriangleCount; ++t) EXPECT_EQ(idx[t], full.indices[t]);  // a prefix
        for (int i = 0; i < polygonizedVertexCount; ++i) EXPECT_EQ(v[i], full.vertices[i]);
    }
}

// A field with a given box and no seeds.
struct BoxOnly : ImplicitField {
    FieldBounds box;
    explicit BoxOnly(FieldBounds b) : box(b) {}
    float value(float, float, float) const override { return -1.0f; }
    Vector3& gradient(Vector3& out, float, float, float) const override { return out = {}; }
    FieldBounds& getBounds(FieldBounds& out) const override { return out = box; }
    void addSeeds(std::vector<Vector3>&) const override {}
};

TEST(PolygoniseDriver, LatticeCountersAndTinyCells) {
    FieldLattice lattice;
    ASSERT_TRUE(fieldLattice(BoxOnly({0, 0, 0, 1.05f, 0, 2.0f}), 0.25f, lattice));
    EXPECT_EQ(std::tuple(lattice.nx, lattice.ny, lattice.nz), std::tuple(5, 1, 9));  // trunc((e + c) / c)
    EXPECT_FLOAT_EQ(lattice.upper.y - lattice.lower.y, 1.0f);  // an extent of 0: one cell, four cells wide
    EXPECT_FLOAT_EQ(lattice.lower.x, -0.5f);
    EXPECT_FLOAT_EQ(lattice.upper.z, 2.5f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float cell : {1e-4f, 0.0f, -1.0f, nan}) EXPECT_FALSE(fieldLattice(BoxOnly({0, 0, 0, 1, 1, 1}), cell, lattice));
    for (FieldBounds box : {FieldBounds{0, 0, nan, 1, 1, 1}, emptyBounds, FieldBounds{0, 0, 0, 3e38f, 1, 1}})
        EXPECT_FALSE(fieldLattice(BoxOnly(box), 1.0f, lattice));

    // The counters describe the last call, refused or empty.
    auto sphere = makeSphere();
    PolygonMesh mesh;
    for (bool refused : {true, false}) {
        ASSERT_TRUE(polygonizeField(sphere.sum, 0.1f, mesh, 0));
        EXPECT_GT(polygonizedTriangleCount, 0);
        // Too many cells, or no seeds.
        EXPECT_NE(refused ? polygonizeField(sphere.sum, 1e-5f, mesh, 0)
                          : polygonizeField(BoxOnly({0, 0, 0, 1, 1, 1}), 0.1f, mesh, 0), refused);
        EXPECT_EQ(polygonizedVertexCount + polygonizedTriangleCount, 0);
    }
    EXPECT_FALSE(polygonizeField(SumField{}, 0.1f, mesh, 0));  // no box

    // About 200 cells on a side of a ball of radius 1e-3: still closed.
    auto tiny = Metaball(BallField{{1e-4f, 0, 0}, 1e-3f, 4.0f});
    ASSERT_TRUE(polygonizeField(tiny.sum, 1e-5f, mesh, 0));
    expectClosedSurface(mesh, 2);
}

}  // namespace
}  // namespace demo
