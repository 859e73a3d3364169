#include "math/cubic_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "math/animated_param.h"

namespace demo {
namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

CubicPath<float> floatPath(std::vector<float> points, std::vector<float> times) {
    CubicPath<float> path;
    EXPECT_TRUE(path.init(std::move(points), std::move(times)));
    return path;
}

TEST(CubicPath, Tangents) {
    CubicPath<Vector3> two;
    ASSERT_TRUE(two.init({{0, 0, 0}, {3, 0, 0}}, {0, 1}));
    EXPECT_EQ((std::vector<Vector3>(2, {1.5f, 0, 0})), two.directions);
    EXPECT_EQ((Vector3{1.5f, 0, 0}), two.evaluate(0.5f));
    EXPECT_EQ((std::vector<float>{0.5f, 0.33333334f, 1.0f}), floatPath({0, 1, 3}, {0, 1, 2}).directions);
    EXPECT_EQ(-0.33333334f, floatPath({3, 1, 0}, {0, 1, 2}).directions[1]);
    EXPECT_EQ(0.0f, floatPath({2, 7, 2}, {0, 1, 2}).directions[1]);  // neighbours coincide
    CubicPath<Vector3> bent;  // chord (3, 4, 0) of length 5, shorter side 3
    ASSERT_TRUE(bent.init({{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}, {0, 1, 2}));
    EXPECT_EQ((Vector3{0.6f, 0.8f, 0}), bent.directions[1]);
}

TEST(CubicPath, ClampsEndsHitsKeysAndFewKeys) {
    auto path = floatPath({5, -1, 4, 8}, {1, 2, 4, 7});
    for (float t : {-100.0f, 1.0f, nan, -inf}) EXPECT_EQ(5, path.evaluate(t)) << t;
    for (float t : {7.0f, 1e30f, inf}) EXPECT_EQ(8, path.evaluate(t)) << t;
    EXPECT_TRUE(path.evaluate(2) == -1 && path.evaluate(4) == 4);  // at the keys

    auto one = floatPath({4.5f}, {3}), none = floatPath({}, {});
    EXPECT_TRUE(one.evaluate(-1) == 4.5f && one.evaluate(100) == 4.5f && one.hasTooFewKeys());
    EXPECT_TRUE(none.evaluate(1) == 0.0f && none.isBeforeStart());
}

TEST(CubicPath, RefusesMismatchedOrDescendingTimes) {
    std::vector<float> points{1, 2, 3}, times{0, 1, 2, 3};
    CubicPath<float> path;
    EXPECT_FALSE(path.init(std::move(points), std::move(times)));
    EXPECT_EQ(3u, points.size());  // the caller keeps its arrays
    EXPECT_FALSE(path.init({1, 2, 3}, {0, 2, 1}) || path.init({1, 2}, {0, nan}));
    EXPECT_TRUE(path.value() == 0.0f && !path.cached);

    AnimatedParam<float> param;
    param.constant = 2.5f;
    EXPECT_FALSE(param.setKeys(std::move(points), std::move(times)));
    EXPECT_TRUE(param.path == nullptr && param.value() == 2.5f);
    times.pop_back();
    ASSERT_TRUE(param.setKeys(std::move(points), std::move(times)));
    EXPECT_TRUE(param.animated);
    param.path->time = 2;
    EXPECT_EQ(3, param.value());
}

TEST(CubicPath, LoopWrapsFromTheFirstKeyTime) {
    auto plain = floatPath({10, 20, 15}, {2, 4, 6});
    auto looped = floatPath({10, 20, 15}, {2, 4, 6});
    looped.setLoop(true);
    EXPECT_EQ(5.0f, looped.wrapTime(3));
    for (float t : {0.0f, 4.0f, -4.0f}) EXPECT_EQ(10, looped.evaluate(t)) << t;
    EXPECT_EQ(plain.evaluate(5), looped.evaluate(-1));
    EXPECT_EQ(plain.evaluate(3.5f), looped.evaluate(1.5f + 4 * 1000));
    for (float t : {1e9f, -3e7f, inf, nan}) EXPECT_FALSE(std::isnan(looped.evaluate(t))) << t;
    looped.time = 6;
    EXPECT_FALSE(looped.isAfterEnd());

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
    for (float i = 0, t = 0; i < 300; ++i, t += step(gen)) {
        points.push_back({step(gen), -step(gen), step(gen) * i});
        times.push_back(t);
    }
    CubicPath<Vector3> path, fresh;
    ASSERT_TRUE(path.init(std::vector(points), std::vector(times)));
    const float end = times.back();
    auto check = [&](float at) {
        ASSERT_TRUE(fresh.init(std::vector(points), std::vector(times)));  // lastKey 0 again
        ASSERT_EQ(fresh.evaluate(at), path.evaluate(at)) << "t = " << at;
        ASSERT_TRUE(times[path.lastKey] <= at && at <= times[path.lastKey + 1]) << "t = " << at;
    };
    for (float at = end - 0.01f; at > 0; at -= 0.05f) check(at);
    std::uniform_real_distribution<float> anywhere(0.001f, end - 0.001f);
    for (int i = 0; i < 500; ++i) check(anywhere(gen));
    for (float key : times)
        if (key > 0 && key < end) check(key);
    EXPECT_TRUE(path.findKey(-1) == 0 && path.findKey(nan) == 0 && path.findKey(end + 1) == 298);
}

}  // namespace
}  // namespace demo
