#include "math/cubic_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include "math/animated_param.h"

namespace demo {
namespace {

CubicPath<float> floatPath(std::vector<float> points, std::vector<float> times) {
    CubicPath<float> path;
    EXPECT_TRUE(path.init(std::move(points), std::move(times)));
    return path;
}

TEST(CubicPath, TangentsOfTwoKeysAndTheirMidpoint) {
    CubicPath<Vector3> path;
    ASSERT_TRUE(path.init({{0, 0, 0}, {3, 0, 0}}, {0, 1}));
    EXPECT_EQ((Vector3{1.5f, 0, 0}), path.directions[0]);
    EXPECT_EQ((Vector3{1.5f, 0, 0}), path.directions[1]);
    EXPECT_EQ((Vector3{1.5f, 0, 0}), path.evaluate(0.5f));
}

TEST(CubicPath, InteriorTangentIsAThirdOfTheShorterSideAlongTheChord) {
    const auto rising = floatPath({0, 1, 3}, {0, 1, 2});
    EXPECT_EQ(0.5f, rising.directions[0]);
    EXPECT_EQ(0.33333334f, rising.directions[1]);
    EXPECT_EQ(1.0f, rising.directions[2]);
    const auto falling = floatPath({3, 1, 0}, {0, 1, 2});
    EXPECT_EQ(-0.33333334f, falling.directions[1]);
    const auto back = floatPath({2, 7, 2}, {0, 1, 2});  // neighbours coincide
    EXPECT_EQ(0.0f, back.directions[1]);

    CubicPath<Vector3> bent;
    ASSERT_TRUE(bent.init({{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, {0, 1, 2}));
    // Chord (3, 4, 0) has length 5; the shorter side is 3.
    EXPECT_FLOAT_EQ(0.6f, bent.directions[1].x);
    EXPECT_FLOAT_EQ(0.8f, bent.directions[1].y);
}

TEST(CubicPath, ClampsOutsideKeysAndHitsKeysExactly) {
    auto path = floatPath({5, -1, 4, 8}, {1, 2, 4, 7});
    EXPECT_EQ(5, path.evaluate(-100));
    EXPECT_EQ(5, path.evaluate(1));
    EXPECT_EQ(8, path.evaluate(7));
    EXPECT_EQ(8, path.evaluate(1e30f));
    EXPECT_EQ(-1, path.evaluate(2));
    EXPECT_EQ(4, path.evaluate(4));
    EXPECT_EQ(5, path.evaluate(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(5, path.evaluate(-std::numeric_limits<float>::infinity()));
}

TEST(CubicPath, OneKeyIsConstantAndNoKeysIsZero) {
    auto one = floatPath({4.5f}, {3});
    EXPECT_EQ(4.5f, one.evaluate(-1));
    EXPECT_EQ(4.5f, one.evaluate(100));

    CubicPath<Vector3> none;
    ASSERT_TRUE(none.init({}, {}));
    EXPECT_TRUE(none.initialized);
    EXPECT_EQ(Vector3{}, none.evaluate(1));
    EXPECT_TRUE(none.hasTooFewKeys());
    EXPECT_TRUE(none.isBeforeStart());
}

TEST(CubicPath, RefusesMismatchedOrDescendingTimes) {
    std::vector<float> points{1, 2, 3}, times{0, 1, 2, 3};
    CubicPath<float> path;
    EXPECT_FALSE(path.init(std::move(points), std::move(times)));
    EXPECT_FALSE(path.initialized);
    EXPECT_EQ(3u, points.size());  // the caller keeps its arrays
    EXPECT_EQ(4u, times.size());
    EXPECT_FALSE(path.init({1, 2, 3}, {0, 2, 1}));
    EXPECT_FALSE(path.init({1, 2}, {0, std::numeric_limits<float>::quiet_NaN()}));
    EXPECT_EQ(0.0f, path.value());
}

TEST(CubicPath, LoopWrapsFromTheFirstKeyTime) {
    auto plain = floatPath({10, 20, 15}, {2, 4, 6});
    auto looped = floatPath({10, 20, 15}, {2, 4, 6});
    looped.setLoop(true);
    EXPECT_EQ(2.0f, looped.wrapTime(0));
    EXPECT_EQ(5.0f, looped.wrapTime(3));
    EXPECT_EQ(10, looped.evaluate(0));
    EXPECT_EQ(10, looped.evaluate(4));
    EXPECT_EQ(plain.evaluate(5), looped.evaluate(-1));
    EXPECT_EQ(plain.evaluate(3.5f), looped.evaluate(1.5f + 4 * 1000));
    for (float t : {1e9f, -3e7f, std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(std::isnan(looped.evaluate(t))) << t;
    }

    auto flat = floatPath({7, 9}, {3, 3});
    flat.setLoop(true);
    EXPECT_EQ(3.0f, flat.wrapTime(12.5f));
    EXPECT_EQ(7, flat.evaluate(12.5f));
}

// Seeks from any previous interval must land where a fresh search lands.
TEST(CubicPath, SeeksForwardsBackwardsAndFar) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> step(0.1f, 2.0f);
    std::vector<Vector3> points;
    std::vector<float> times;
    float t = 0;
    for (int i = 0; i < 300; ++i) {
        points.push_back({step(gen), -step(gen), step(gen) * i});
        times.push_back(t);
        t += step(gen);
    }
    CubicPath<Vector3> path;
    ASSERT_TRUE(path.init(std::vector(points), std::vector(times)));
    const float end = times.back();
    auto check = [&](float at) {
        CubicPath<Vector3> fresh;
        ASSERT_TRUE(fresh.init(std::vector(points), std::vector(times)));
        ASSERT_EQ(fresh.evaluate(at), path.evaluate(at)) << "t = " << at;
        ASSERT_LE(times[path.lastKey], at);
        ASSERT_LE(at, times[path.lastKey + 1]);
    };
    for (float at = 0.01f; at < end; at += 0.05f) check(at);  // forwards
    for (float at = end - 0.01f; at > 0; at -= 0.05f) check(at);  // backwards
    std::uniform_real_distribution<float> anywhere(0.001f, end - 0.001f);
    for (int i = 0; i < 500; ++i) check(anywhere(gen));  // far
    for (float key : times) {
        if (key > 0 && key < end) check(key);
    }
}

TEST(CubicPath, DumpText) {
    CubicPath<Vector3> empty;
    std::ostringstream out;
    empty.dump(out);
    EXPECT_EQ("  CubicPath: \n    lastKey <0>\n", out.str());

    CubicPath<Vector3> path;
    ASSERT_TRUE(path.init({{0, 0, 0}, {3, 0, 0}}, {0, 1}));
    out.str("");
    path.dump(out);
    EXPECT_EQ(
        "  CubicPath: [initialized]\n"
        "    lastKey <0>\n"
        "    points <2>\n"
        "      #0: (0 0 0)\n"
        "      #1: (3 0 0)\n"
        "    times <2>\n"
        "      #0: 0\n"
        "      #1: 1\n"
        "    directions <2>\n"
        "      #0: (1.5 0 0)\n"
        "      #1: (1.5 0 0)\n",
        out.str());

    auto floats = floatPath({0, 1, 3}, {0, 0.5f, 2});
    floats.evaluate(1);
    out.str("");
    floats.dump(out);
    EXPECT_EQ(
        "  CubicPath: [initialized]\n"
        "    lastKey <1>\n"
        "    points <3>\n"
        "      #0: 0\n"
        "      #1: 1\n"
        "      #2: 3\n"
        "    times <3>\n"
        "      #0: 0\n"
        "      #1: 0.5\n"
        "      #2: 2\n"
        "    directions <3>\n"
        "      #0: 0.5\n"
        "      #1: 0.333333\n"
        "      #2: 1\n",
        out.str());
}

TEST(AnimatedParam, ConstantOrPath) {
    AnimatedParam<float> param;
    param.constant = 2.5f;
    EXPECT_EQ(2.5f, param.value());

    std::vector<float> points{1, 2, 3}, times{0, 1, 2, 3};
    EXPECT_FALSE(param.setKeys(std::move(points), std::move(times)));
    EXPECT_FALSE(param.animated);
    EXPECT_EQ(nullptr, param.path);
    EXPECT_EQ(3u, points.size());

    times.pop_back();
    ASSERT_TRUE(param.setKeys(std::move(points), std::move(times)));
    EXPECT_TRUE(param.animated);
    param.path->time = 2;
    param.path->cached = false;
    EXPECT_EQ(3, param.value());
}

}  // namespace
}  // namespace demo
