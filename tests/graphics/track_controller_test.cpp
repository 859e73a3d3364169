#include "graphics/track_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace demo {
namespace {

constexpr float pi = std::numbers::pi_v<float>;

Quaternion turnY(float angle) { return Quaternion::fromAxisAngle(angle, {0, 1, 0}); }

// Rotation keys at the given times, with the key-number path built the way
// the scene builder does.
void setRotation(TrackController& c, std::vector<Quaternion> keys, std::vector<float> times) {
    std::vector<float> numbers;
    for (std::size_t i = 0; i < keys.size(); ++i) numbers.push_back(static_cast<float>(i));
    c.rotationKeys = std::move(keys);
    ASSERT_TRUE(c.rotationIndex.setKeys(std::move(numbers), std::move(times)));
}

void expectQuaternion(const Quaternion& expected, const Quaternion& actual) {
    EXPECT_NEAR(expected.x, actual.x, 1e-6f);
    EXPECT_NEAR(expected.y, actual.y, 1e-6f);
    EXPECT_NEAR(expected.z, actual.z, 1e-6f);
    EXPECT_NEAR(expected.w, actual.w, 1e-6f);
}

TEST(TrackController, NoKeysLeavesTheFrameButRebuildsMatrices) {
    TrackController c;
    Transform t({1, 2, 3});
    t.orientation = turnY(0.5f);
    t.setScale({2, 2, 2});
    c.setTime(t, 10);
    EXPECT_EQ((Vector3{1, 2, 3}), t.getPosition());
    EXPECT_EQ(turnY(0.5f), t.orientation);
    EXPECT_EQ(2, t.scale[0]);
    EXPECT_NEAR(2 * std::cos(0.5f), t.matrix()[0], 1e-6f);  // rebuilt from orientation and scale

    // Tracks set with zero keys count as absent too.
    ASSERT_TRUE(c.position.setKeys({}, {}));
    ASSERT_TRUE(c.scale.setKeys({}, {}));
    ASSERT_TRUE(c.rotationIndex.setKeys({}, {}));
    c.setTime(t, 3);
    EXPECT_EQ((Vector3{1, 2, 3}), t.getPosition());
    EXPECT_EQ(2, t.scale[0]);
    EXPECT_EQ(turnY(0.5f), t.orientation);
}

TEST(TrackController, PositionAndScaleFollowTheirPaths) {
    TrackController c;
    ASSERT_TRUE(c.position.setKeys({{0, 0, 0}, {3, 0, 0}}, {0, 10}));
    ASSERT_TRUE(c.scale.setKeys({{1, 1, 1}, {0, 3, 0}}, {0, 10}));
    Transform t;
    c.setTime(t, 5);
    EXPECT_EQ((Vector3{1.5f, 0, 0}), t.getPosition());
    c.setTime(t, 10);
    EXPECT_EQ(1, t.scale[0]);  // a zero scale component becomes 1
    EXPECT_EQ(3, t.scale[1]);
    EXPECT_EQ(3, t.matrix()[12]);
    EXPECT_EQ(-3, t.inverseMatrix()[12]);

    // A constant track (animated without a path) writes its constant.
    TrackController constant;
    constant.position.animated = true;
    constant.position.constant = {7, 8, 9};
    constant.reset(t);
    EXPECT_EQ((Vector3{7, 8, 9}), t.getPosition());
}

TEST(TrackController, RotationClampsAndInterpolatesBetweenKeys) {
    TrackController c;
    setRotation(c, {turnY(0), turnY(1), turnY(2)}, {10, 20, 30});
    Transform t;
    c.setTime(t, 0);
    expectQuaternion(turnY(0), t.orientation);
    c.setTime(t, 10);
    expectQuaternion(turnY(0), t.orientation);
    c.setTime(t, 20);
    expectQuaternion(turnY(1), t.orientation);
    c.setTime(t, 99);
    expectQuaternion(turnY(2), t.orientation);
    c.setTime(t, 15);
    // The key number follows the cubic path of 0, 1, 2 (tangents 0.5 and
    // 1/3): at 15 it is 0.375 * 0.5 + 0.375 * (2 / 3) + 0.125 = 0.5625.
    expectQuaternion(turnY(0.5625f), t.orientation);
}

// Looping wraps the index path; at the wrap point and with more index keys
// than rotations nothing is read past the keys and nothing becomes NaN.
TEST(TrackController, LoopingStaysInsideTheKeys) {
    TrackController c;
    setRotation(c, {turnY(0), turnY(1)}, {0, 10});
    c.setLoop(true);
    Transform t;
    c.setTime(t, 25);
    expectQuaternion(turnY(0.5f), t.orientation);
    for (float time = -20; time < 40; time += 0.37f) {
        c.setTime(t, time);
        ASSERT_FALSE(std::isnan(t.orientation.w)) << time;
    }

    TrackController extra;
    extra.rotationKeys = {turnY(0), turnY(1)};
    ASSERT_TRUE(extra.rotationIndex.setKeys({0, 1, 2, 3}, {0, 1, 2, 3}));
    extra.setTime(t, 2.5f);
    EXPECT_EQ(turnY(1), t.orientation);
}

TEST(TrackController, OppositeKeysDoNotGiveNaN) {
    TrackController c;
    const Quaternion a = turnY(0.4f);
    setRotation(c, {a, {-a.x, -a.y, -a.z, -a.w}}, {0, 1});
    Transform t;
    for (float time : {0.1f, 0.5f, 0.9f}) {
        c.setTime(t, time);
        EXPECT_FALSE(std::isnan(t.orientation.x) || std::isnan(t.orientation.w));
        EXPECT_NEAR(1.0f, std::fabs(t.orientation.dot(a)), 1e-6f);
    }
}

TEST(TrackController, AdvanceStepsEachTrackAndResetRewinds) {
    TrackController c;
    ASSERT_TRUE(c.position.setKeys({{0, 0, 0}, {10, 0, 0}}, {0, 10}));
    setRotation(c, {turnY(0), turnY(pi / 2)}, {0, 10});
    Transform t;
    c.reset(t);
    EXPECT_EQ(0, t.getPosition().x);
    c.advance(t);
    c.advance(t);
    EXPECT_EQ(2, c.position.path->time);
    EXPECT_EQ(2, c.rotationIndex.path->time);
    c.setTimeStep(0);
    const Vector3 frozen = t.getPosition();
    c.advance(t);
    EXPECT_EQ(frozen, t.getPosition());
    c.setTimeStep(2.5f);
    c.advance(t);
    EXPECT_EQ(4.5f, c.position.path->time);
    c.reset(t);
    EXPECT_EQ(0, c.position.path->time);
    EXPECT_EQ(0, t.getPosition().x);
    expectQuaternion(turnY(0), t.orientation);
}

}  // namespace
}  // namespace demo
