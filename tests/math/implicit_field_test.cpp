#include "math/implicit_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "math/implicit_field_composites.h"
#include "math/implicit_field_julia.h"
#include "math/implicit_field_primitives.h"
#include "math/implicit_field_warp.h"
#include "math/polygonise_driver.h"
#include "tests/math/mesh_check.h"

namespace demo {
namespace {

// Compares the gradient with central differences at random points of the
// box where the field is away from its support's edge. `scale` is what the
// field's gradient is documented to be divided by.
void expectGradientMatches(const ImplicitField& field, FieldBounds box, double tolerance, double scale = 1.0,
                           double step = 1e-3) {
    std::mt19937 random(42);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int checked = 0;
    for (int attempt = 0; attempt < 4000 && checked < 200; ++attempt) {
        Vector3 p{box[0] + (box[3] - box[0]) * unit(random), box[1] + (box[4] - box[1]) * unit(random),
                  box[2] + (box[5] - box[2]) * unit(random)};
        // Skip points near where the field is cut off to zero: no derivative there.
        bool nearEdge = false;
        double fd[3];
        for (int a = 0; a < 3; ++a) {
            Vector3 dp{a == 0 ? 1.0f : 0.0f, a == 1 ? 1.0f : 0.0f, a == 2 ? 1.0f : 0.0f};
            float s = static_cast<float>(step);
            float plus = valueAt(field, p + dp * s), minus = valueAt(field, p - dp * s);
            float plus2 = valueAt(field, p + dp * (2 * s)), minus2 = valueAt(field, p - dp * (2 * s));
            fd[a] = (double(plus) - minus) / (2 * step);
            double fd2 = (double(plus2) - minus2) / (4 * step);
            if (std::fabs(fd2 - fd[a]) > tolerance) nearEdge = true;
        }
        if (nearEdge || valueAt(field, p) == 0.0f) continue;
        Vector3 g = gradientAt(field, p);
        double got[3] = {g.x * scale, g.y * scale, g.z * scale};
        for (int a = 0; a < 3; ++a)
            ASSERT_NEAR(got[a], fd[a], tolerance * (1 + std::fabs(fd[a]))) << "axis " << a << " at " << p;
        ++checked;
    }
    EXPECT_GE(checked, 50);
}

TEST(ImplicitField, GradientsMatchCentralDifferences) {
    BallField ball{{0.2f, 0.1f, -0.3f}, 1.2f, 1.5f};
    expectGradientMatches(ball, {-1, -1, -1.5f, 1.4f, 1.3f, 0.9f}, 2e-3);
    BoxField box{{0.2f, 0.1f, -0.3f}, 1.0f, 2.0f};
    expectGradientMatches(box, {-0.8f, -0.9f, -1.3f, 1.2f, 1.1f, 0.7f}, 2e-3);
    CylinderField capsule{{-1, 0, 0}, {1, 0.5f, 0.2f}, 0.7f, 1.0f};
    expectGradientMatches(capsule, {-1.8f, -0.8f, -0.8f, 1.8f, 1.3f, 1.0f}, 2e-3);
    TorusField torus{{0.1f, 0, 0}, {0.3f, 1, 0.2f}, 1.0f, 0.4f, 1.0f};
    expectGradientMatches(torus, {-1.4f, -1.4f, -1.4f, 1.5f, 1.4f, 1.4f}, 2e-3);
    // The jack's own gradient is a forward difference with a step of 0.005.
    JackField jack{{0, 0, 0}};
    expectGradientMatches(jack, {-4, -4, -4, 4, 4, 4}, 3e-2);
    // The Julia gradient is the true one divided by 2^(iterations + 1).
    JuliaField julia{{0.2f, -0.1f, 0.3f, -0.4f}, 3};
    expectGradientMatches(julia, {-1.2f, -1.2f, -1.2f, 1.2f, 1.2f, 1.2f}, 2e-3, 16.0, 2e-4);
    JuliaField plain{{0, 0, 0, 0}, 0};
    expectGradientMatches(plain, {-2, -2, -2, 2, 2, 2}, 2e-3, 2.0);

    SumField sum;
    sum.children = {&ball, &capsule, &torus};
    expectGradientMatches(sum, {-2, -2, -2, 2, 2, 2}, 2e-3);
    SubField sub{&ball, &capsule};
    expectGradientMatches(sub, {-1, -1, -1.5f, 1.4f, 1.3f, 0.9f}, 2e-3);
    InterpolatorField morph;
    morph.children = {&ball, &capsule, &torus};
    morph.setPosition(1.3f);
    expectGradientMatches(morph, {-2, -2, -2, 2, 2, 2}, 2e-3);
    SymmetryField mirror{&capsule, Vector3{1, 1, 0}.normalized()};
    expectGradientMatches(mirror, {-2, -2, -2, 2, 2, 2}, 2e-3);
    // A wave vector that is not of unit length, so A is not across k.
    SineWarp warp{{1.5f, 0.5f, 0.2f}, {0.1f, 0.3f, 0.2f}};
    warp.phase = 0.4f;
    WarpedField warped{&ball, &warp};
    expectGradientMatches(warped, {-1.3f, -1.3f, -1.8f, 1.7f, 1.6f, 1.2f}, 2e-3);
}

TEST(ImplicitField, BallProfile) {
    BallField ball{{0, 0, 0}, 1.0f, 1.0f};
    EXPECT_FLOAT_EQ(ball.value(0, 0, 0), 1.0f);
    EXPECT_FLOAT_EQ(ball.value(0.5f, 0, 0), 0.5625f);
    EXPECT_EQ(ball.value(0, 1, 0), 0.0f);
    EXPECT_EQ(ball.value(0, 0, 3), 0.0f);
    EXPECT_EQ(gradientAt(ball, {1, 0, 0}), Vector3{});
    SumField sum;
    sum.children.push_back(&ball);
    EXPECT_FLOAT_EQ(sum.value(0, 0, 0), 0.0f);
    EXPECT_LT(sum.value(0.1f, 0, 0), 0.0f);
    ball.strength = 2.0f;
    float r = std::sqrt(1.0f - 1.0f / std::sqrt(2.0f));
    EXPECT_NEAR(sum.value(r, 0, 0), 0.0f, 1e-5f);
    // Every point at distance R of a capsule gives 0 too.
    CylinderField capsule{{0, 0, 0}, {2, 0, 0}, 1.0f, 1.0f};
    EXPECT_EQ(capsule.value(1, 1, 0), 0.0f);
    EXPECT_EQ(capsule.value(3, 0, 0), 0.0f);
    EXPECT_EQ(gradientAt(capsule, {1, 0, 1}), Vector3{});
}

TEST(ImplicitField, CapsuleWithEqualEndsIsABall) {
    CylinderField capsule{{1, 2, 3}, {1, 2, 3}, 0.5f, 2.0f};
    BallField ball{{1, 2, 3}, 0.5f, 2.0f};
    for (Vector3 p : {Vector3{1, 2, 3}, Vector3{1.2f, 2.1f, 2.9f}, Vector3{1, 2, 3.4f}, Vector3{5, 5, 5}}) {
        EXPECT_FLOAT_EQ(valueAt(capsule, p), valueAt(ball, p));
        EXPECT_EQ(gradientAt(capsule, p), gradientAt(ball, p));
    }
    // Moving one end keeps the other.
    capsule.setEnd({3, 2, 3});
    EXPECT_EQ(capsule.end(), (Vector3{3, 2, 3}));
    capsule.setStart({1, 0, 3});
    EXPECT_NEAR((capsule.end() - Vector3{3, 2, 3}).length(), 0.0f, 1e-6f);
    EXPECT_NEAR(capsule.length, std::sqrt(8.0f), 1e-6f);
}

TEST(ImplicitField, TorusOnItsAxisAndItsSeed) {
    TorusField torus{{0, 0, 0}, {0, 0, 2}, 1.0f, 0.3f, 1.0f};
    EXPECT_EQ(torus.value(0, 0, 0), 0.0f);
    EXPECT_EQ(torus.value(0, 0, 0.1f), 0.0f);
    std::vector<Vector3> seeds;
    torus.addSeeds(seeds);
    ASSERT_EQ(seeds.size(), 1u);
    EXPECT_NEAR(seeds[0].length(), 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(valueAt(torus, seeds[0]), 1.0f);
    torus.setRadii(2.0f, 0.5f);
    EXPECT_FLOAT_EQ(torus.value(0, 2, 0), 1.0f);
    EXPECT_FLOAT_EQ(torus.value(0, 2.25f, 0), 0.5625f);
}

TEST(ImplicitField, InterpolatorPositions) {
    BallField a{{0, 0, 0}, 1, 1}, b{{1, 0, 0}, 1, 1}, c{{2, 0, 0}, 1, 1};
    InterpolatorField morph;
    EXPECT_EQ(morph.value(0, 0, 0), -1.0f);  // no children yet
    morph.setPosition(3.5f);
    EXPECT_EQ(morph.value(0, 0, 0), -1.0f);
    FieldBounds box;
    EXPECT_TRUE(isEmpty(morph.getBounds(box)));
    morph.children = {&a, &b, &c};
    struct Case {
        float p;
        int i, j;
        float t;
    } cases[] = {{2.25f, 2, 0, 0.25f}, {4.25f, 1, 2, 0.25f}, {0, 0, 1, 0}, {-0.75f, 2, 0, 0.25f},
                 {-4.5f, 1, 2, 0.5f},  {3e9f, 0, 1, 0},     {std::nanf(""), 0, 1, 0}};
    for (const Case& k : cases) {
        morph.setPosition(k.p);
        EXPECT_EQ(morph.indexI, k.i) << k.p;
        EXPECT_EQ(morph.indexJ, k.j) << k.p;
        EXPECT_FLOAT_EQ(morph.factor, k.t) << k.p;
    }
    morph.setPosition(1.25f);
    EXPECT_FLOAT_EQ(morph.value(1.25f, 0, 0), -1.0f + 0.75f * 0.87890625f + 0.25f * 0.19140625f);
    EXPECT_EQ(morph.getBounds(box), (FieldBounds{-1, -1, -1, 3, 1, 1}));
}

TEST(ImplicitField, EmptyCompositesHaveNoBoxAndNoSeeds) {
    SumField sum;
    FieldBounds box;
    EXPECT_TRUE(isEmpty(sum.getBounds(box)));
    std::vector<Vector3> seeds;
    sum.addSeeds(seeds);
    EXPECT_TRUE(seeds.empty());
    EXPECT_EQ(sum.value(1, 2, 3), -1.0f);
    SymmetryField mirror{&sum, {1, 0, 0}};
    EXPECT_TRUE(isEmpty(mirror.getBounds(box)));
    SineWarp warp{{1, 0, 0}, {0, 1, 0}};
    WarpedField warped{&sum, &warp};
    EXPECT_TRUE(isEmpty(warped.getBounds(box)));
}

TEST(ImplicitField, CompositeSeedsTouchOnlyTheirOwnChild) {
    BallField a{{-2, 0, 0}, 1, 4}, b{{2, 0.5f, 0}, 1, 4};
    SineWarp warp{{0, 1, 0}, {1, 0, 0}};
    warp.phase = 0.3f;
    WarpedField warped{&b, &warp};
    SymmetryField mirror{&a, {0, 1, 0}};
    SumField sum;
    sum.children = {&a, &warped, &mirror};
    std::vector<Vector3> seeds{{9, 9, 9}};
    sum.addSeeds(seeds);
    ASSERT_EQ(seeds.size(), 5u);
    EXPECT_EQ(seeds[0], (Vector3{9, 9, 9}));
    EXPECT_EQ(seeds[1], a.centre);
    Vector3 moved;
    EXPECT_EQ(seeds[2], warp.inverse(moved, b.centre));
    EXPECT_EQ(seeds[3], a.centre);
    EXPECT_EQ(seeds[4], a.centre);  // on the mirror plane
    // Every field of the sum keeps its surface: all three are polygonised.
    PolygonMesh mesh;
    ASSERT_TRUE(polygonizeField(sum, 0.1f, mesh, 0));
    auto report = test::checkManifold(test::weldByPosition(mesh));
    EXPECT_TRUE(report.closed);
    EXPECT_EQ(report.euler, 4);  // two spheres: a (with its mirror, the same) and warped b
}

TEST(ImplicitField, WarpWithoutAmplitudeIsTheChild) {
    TorusField torus{{0, 0, 0}, {0, 1, 0}, 1.0f, 0.4f, 2.0f};
    SineWarp warp{{1, 0, 0}, {1, 0, 0}};  // v along k: no amplitude left
    warp.phase = 1.0f;
    WarpedField warped{&torus, &warp};
    FieldBounds a, b;
    EXPECT_EQ(warped.getBounds(a), torus.getBounds(b));
    for (Vector3 p : {Vector3{1, 0, 0}, Vector3{0.9f, 0.1f, 0.2f}, Vector3{0, 0, -1.2f}}) {
        EXPECT_EQ(valueAt(warped, p), valueAt(torus, p));
        EXPECT_EQ(gradientAt(warped, p), gradientAt(torus, p));
    }
}

TEST(ImplicitField, MirrorOfAChildBehindThePlane) {
    BallField ball{{0, 0, -3}, 1, 4};
    SymmetryField mirror{&ball, {0, 0, 1}};
    EXPECT_EQ(mirror.value(0, 0, -3), 0.0f);
    EXPECT_EQ(mirror.value(0, 0, 3), 0.0f);
    std::vector<Vector3> seeds;
    mirror.addSeeds(seeds);
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[0], ball.centre);
    EXPECT_EQ(seeds[1], (Vector3{0, 0, 3}));
    FieldBounds box;
    EXPECT_EQ(mirror.getBounds(box), (FieldBounds{-1, -1, -4, 1, 1, 4}));
}

TEST(ImplicitField, JuliaWithoutConstantIsASphere) {
    JuliaField julia{{0, 0, 0, 0}, 1};
    EXPECT_GT(julia.value(1.41f, 0, 0), 0.0f);
    EXPECT_LT(julia.value(0, 1.42f, 0), 0.0f);
    EXPECT_FLOAT_EQ(julia.value(0.5f, 0.5f, 0.5f), 4.0f - std::pow(0.75f, 2.0f));
    std::vector<Vector3> seeds;
    julia.addSeeds(seeds);
    ASSERT_FALSE(seeds.empty());
    for (const Vector3& s : seeds) EXPECT_LT(s.length(), std::sqrt(2.0f) + 1e-5f);
    EXPECT_NEAR(seeds.front().x, -1.4f, 1e-4f);
    // About the lattice points inside the sphere of radius sqrt(2), one per 0.001.
    EXPECT_NEAR(double(seeds.size()), 4.0 / 3.0 * 3.14159 * std::pow(2.0, 1.5) * 1000, 300);
    JuliaField none{{0, 0, 0, 0}, -2};
    EXPECT_FLOAT_EQ(none.value(1, 1, 1), 1.0f);
}

TEST(ImplicitField, JackIsPositiveInsideItsBarsAndPolygonises) {
    JackField jack{{0.5f, 0, 0}};
    EXPECT_FLOAT_EQ(jack.value(0.5f, 0, 0), 1.0f);
    EXPECT_GT(jack.value(2.5f, 0, 0), 0.0f);       // along the x bar
    EXPECT_GT(jack.value(0.5f, 0, -2.5f), 0.0f);   // along the z bar
    EXPECT_LT(jack.value(2.5f, 2.0f, 0), 0.0f);    // between the bars
    EXPECT_LT(jack.value(4.5f, 3.9f, 3.9f), 0.0f); // the box's corner
    PolygonMesh mesh;
    ASSERT_TRUE(polygonizeField(jack, 0.1f, mesh, 0));
    auto report = test::checkManifold(test::weldByPosition(mesh));
    EXPECT_TRUE(report.closed);
    EXPECT_EQ(report.euler, 2);
}

}  // namespace
}  // namespace demo
