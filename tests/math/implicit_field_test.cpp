#include "math/implicit_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

#include "math/implicit_field_composites.h"
#include "math/implicit_field_julia.h"
#include "math/implicit_field_primitives.h"
#include "math/implicit_field_warp.h"
#include "math/polygonise_driver.h"

namespace demo {
namespace {

// Central differences at random points of the field's box where the value
// is moderate, skipping points near a support's edge (where two step sizes
// disagree). `scale` is what the gradient is documented to be divided by.
void expectGradientMatches(const ImplicitField& field, double tolerance = 2e-3, double scale = 1.0,
                           float step = 1e-3f) {
    FieldBounds box;
    field.getBounds(box);
    std::mt19937 random(42);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int checked = 0;
    for (int attempt = 0; attempt < 4000 && checked < 200; ++attempt) {
        Vector3 p{box[0] + (box[3] - box[0]) * unit(random), box[1] + (box[4] - box[1]) * unit(random),
                  box[2] + (box[5] - box[2]) * unit(random)};
        bool nearEdge = valueAt(field, p) == 0.0f || std::fabs(valueAt(field, p)) > 10.0f;
        double fd[3];
        for (int a = 0; a < 3; ++a) {
            Vector3 d{a == 0 ? step : 0.0f, a == 1 ? step : 0.0f, a == 2 ? step : 0.0f};
            fd[a] = (double(valueAt(field, p + d)) - valueAt(field, p - d)) / (2.0 * step);
            double wide = (double(valueAt(field, p + d * 2)) - valueAt(field, p - d * 2)) / (4.0 * step);
            nearEdge = nearEdge || std::fabs(wide - fd[a]) > tolerance * (1 + std::fabs(fd[a]));
        }
        if (nearEdge) continue;
        Vector3 g = gradientAt(field, p);
        for (int a = 0; a < 3; ++a)
            ASSERT_NEAR((&g.x)[a] * scale, fd[a], tolerance * (1 + std::fabs(fd[a]))) << "axis " << a << " at " << p;
        ++checked;
    }
    EXPECT_GE(checked, 50);
}

TEST(ImplicitField, GradientsMatchCentralDifferences) {
    BallField ball{{0.2f, 0.1f, -0.3f}, 1.2f, 1.5f};
    BoxField box{{0.2f, 0.1f, -0.3f}, 1.0f, 2.0f};
    CylinderField capsule{{-1, 0, 0}, {1, 0.5f, 0.2f}, 0.7f, 1.0f};
    TorusField torus{{0.1f, 0, 0}, {0.3f, 1, 0.2f}, 1.0f, 0.4f, 1.0f};
    SumField sum;
    sum.children = {&ball, &capsule, &torus};
    SubField sub{&ball, &capsule};
    InterpolatorField morph;
    morph.children = {&ball, &capsule, &torus};
    morph.setPosition(1.3f);
    SymmetryField mirror{&capsule, Vector3{1, 1, 0}.normalized()};
    SineWarp warp{{1.5f, 0.5f, 0.2f}, {0.1f, 0.3f, 0.2f}};  // k not of unit length
    warp.phase = 0.4f;
    WarpedField warped{&ball, &warp};
    for (const ImplicitField* f : std::initializer_list<const ImplicitField*>{
             &ball, &box, &capsule, &torus, &sum, &sub, &morph, &mirror, &warped})
        expectGradientMatches(*f);
    expectGradientMatches(JackField{{0, 0, 0}}, 3e-2);  // its own forward difference, step 0.005
    // The Julia gradient is the true one divided by 2^(iterations + 1).
    expectGradientMatches(JuliaField{{0.2f, -0.1f, 0.3f, -0.4f}, 3}, 2e-3, 16.0, 2e-4f);
    expectGradientMatches(JuliaField{{0, 0, 0, 0}, 0}, 2e-3, 2.0);
}

TEST(ImplicitField, PrimitiveProfiles) {
    BallField ball{{0, 0, 0}, 1.0f, 1.0f};
    SumField sum;
    sum.children.push_back(&ball);
    EXPECT_EQ(std::vector<float>({ball.value(0, 0, 0), ball.value(0.5f, 0, 0), ball.value(0, 1, 0), sum.value(0, 0, 0)}),
              std::vector<float>({1.0f, 0.5625f, 0.0f, 0.0f}));
    EXPECT_EQ(gradientAt(ball, {1, 0, 0}), Vector3{});
    EXPECT_LT(sum.value(0.1f, 0, 0), 0.0f);
    ball.strength = 2.0f;
    EXPECT_NEAR(sum.value(std::sqrt(1.0f - 1.0f / std::sqrt(2.0f)), 0, 0), 0.0f, 1e-5f);

    CylinderField capsule{{0, 0, 0}, {2, 0, 0}, 1.0f, 1.0f};
    EXPECT_EQ(capsule.value(1, 1, 0) + capsule.value(3, 0, 0), 0.0f);
    EXPECT_EQ(gradientAt(capsule, {1, 0, 1}), Vector3{});
    // Equal ends: a ball, not NaN.
    CylinderField point{{1, 2, 3}, {1, 2, 3}, 0.5f, 2.0f};
    BallField same{{1, 2, 3}, 0.5f, 2.0f};
    for (Vector3 p : {Vector3{1, 2, 3}, Vector3{1.2f, 2.1f, 2.9f}})
        EXPECT_TRUE(valueAt(point, p) == valueAt(same, p) && gradientAt(point, p) == gradientAt(same, p));

    TorusField torus{{0, 0, 0}, {0, 0, 2}, 1.0f, 0.3f, 1.0f};
    EXPECT_EQ(torus.value(0, 0, 0.1f), 0.0f);  // on the axis
    std::vector<Vector3> seeds;
    torus.addSeeds(seeds);
    EXPECT_FLOAT_EQ(valueAt(torus, seeds.at(0)), 1.0f);  // on the core circle
}

TEST(ImplicitField, InterpolatorPositions) {
    BallField a{{0, 0, 0}, 1, 1}, b{{1, 0, 0}, 1, 1}, c{{2, 0, 0}, 1, 1};
    InterpolatorField morph;
    morph.setPosition(3.5f);  // no children yet
    EXPECT_EQ(morph.value(0, 0, 0), -1.0f);
    morph.children = {&a, &b, &c};
    const std::tuple<float, int, int, float> cases[] = {
        {2.25f, 2, 0, 0.25f}, {-4.5f, 1, 2, 0.5f}, {3e9f, 0, 1, 0.0f}, {std::nanf(""), 0, 1, 0.0f}};
    for (auto [p, i, j, t] : cases) {
        morph.setPosition(p);
        EXPECT_EQ(std::tuple(morph.indexI, morph.indexJ, morph.factor), std::tuple(i, j, t)) << p;
    }
    morph.setPosition(1.25f);
    EXPECT_FLOAT_EQ(morph.value(1.25f, 0, 0), -1.0f + 0.75f * 0.87890625f + 0.25f * 0.19140625f);
}

TEST(ImplicitField, CompositeBoxesAndSeeds) {
    // Without children: the bias, an empty box and no seeds, also through wrappers.
    SumField empty;
    FieldBounds box;
    std::vector<Vector3> seeds;
    empty.addSeeds(seeds);
    EXPECT_TRUE(seeds.empty() && empty.value(1, 2, 3) == -1.0f);
    SineWarp warp{{0, 1, 0}, {1, 0, 0}};
    warp.phase = 0.3f;
    EXPECT_TRUE(isEmpty(empty.getBounds(box)) && isEmpty(SymmetryField(&empty, {1, 0, 0}).getBounds(box)) &&
                isEmpty(WarpedField(&empty, &warp).getBounds(box)));

    // A child behind the mirror plane has no surface, but its seeds remain.
    BallField behind{{0, 0, -3}, 1, 4};
    SymmetryField mirror{&behind, {0, 0, 1}};
    EXPECT_EQ(mirror.value(0, 0, 3), 0.0f);
    mirror.addSeeds(seeds);
    EXPECT_EQ(seeds, (std::vector<Vector3>{{0, 0, -3}, {0, 0, 3}}));
    EXPECT_EQ(mirror.getBounds(box), (FieldBounds{-1, -1, -4, 1, 1, 4}));

    // A warp moves only the seeds of its own child.
    BallField a{{-2, 0, 0}, 1, 4}, b{{2, 0.5f, 0}, 1, 4};
    WarpedField warped{&b, &warp};
    SymmetryField onPlane{&a, {0, 1, 0}};
    SumField sum;
    sum.children = {&a, &warped, &onPlane};
    seeds = {{9, 9, 9}};
    sum.addSeeds(seeds);
    Vector3 moved;
    EXPECT_EQ(seeds, (std::vector<Vector3>{{9, 9, 9}, a.centre, warp.inverse(moved, b.centre), a.centre, a.centre}));
}

TEST(ImplicitField, JuliaWithoutConstantIsASphereAndTheJack) {
    JuliaField julia{{0, 0, 0, 0}, 1};
    EXPECT_TRUE(julia.value(1.41f, 0, 0) > 0.0f && julia.value(0, 1.42f, 0) < 0.0f);
    EXPECT_FLOAT_EQ(julia.value(0.5f, 0.5f, 0.5f), 4.0f - 0.75f * 0.75f);
    EXPECT_FLOAT_EQ(JuliaField({0, 0, 0, 0}, -2).value(1, 1, 1), 1.0f);
    std::vector<Vector3> seeds;
    julia.addSeeds(seeds);
    // About the lattice points inside the sphere of radius sqrt(2), one per 0.001.
    EXPECT_NEAR(double(seeds.size()), 4.0 / 3.0 * 3.14159 * std::pow(2.0, 1.5) * 1000, 300);

    // The jack is positive inside its bars, so it polygonises from its seed.
    JackField jack{{0.5f, 0, 0}};
    EXPECT_FLOAT_EQ(jack.value(0.5f, 0, 0), 1.0f);
    // Inside along the x and z bars; outside between them and in the box's corner.
    EXPECT_TRUE(jack.value(2.5f, 0, 0) > 0.0f && jack.value(0.5f, 0, -2.5f) > 0.0f);
    EXPECT_TRUE(jack.value(2.5f, 2.0f, 0) < 0.0f && jack.value(4.5f, 3.9f, 3.9f) < 0.0f);
    PolygonMesh mesh;
    ASSERT_TRUE(polygonizeField(jack, 0.1f, mesh, 0));
    EXPECT_GT(mesh.indices.size(), 1000u);
}

}  // namespace
}  // namespace demo
