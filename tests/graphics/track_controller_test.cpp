#include "graphics/track_controller.h"

#include <gtest/gtest.h>

#include <cmath>

namespace demo {
namespace {

Quaternion turnY(float angle) { return Quaternion::fromAxisAngle(angle, {0, 1, 0}); }

bool near(const Quaternion& a, const Quaternion& b) { return a.dot(b) > 1.0f - 1e-6f; }

// Rotation keys with the key-number path built the way the scene builder does.
void setRotation(TrackController& c, std::vector<Quaternion> keys, std::vector<float> times) {
    std::vector<float> numbers;
    for (std::size_t i = 0; i < keys.size(); ++i) numbers.push_back(static_cast<float>(i));
    c.rotationKeys = std::move(keys);
    ASSERT_TRUE(c.rotationIndex.setKeys(std::move(numbers), std::move(times)));
}

TEST(TrackController, AbsentOrEmptyTracksLeaveTheFrameButRebuildMatrices) {
    TrackController c;
    Transform t({1, 2, 3});
    t.orientation = turnY(0.5f);
    t.setScale({2, 2, 2});
    for (int round = 0; round < 2; ++round) {
        c.setTime(t, 10);
        EXPECT_TRUE(t.getPosition() == Vector3(1, 2, 3) && t.orientation == turnY(0.5f));
        EXPECT_NEAR(2 * std::cos(0.5f), t.matrix()[0], 1e-6f);
        // Tracks given zero keys count as absent too.
        ASSERT_TRUE(c.position.setKeys({}, {}) && c.scale.setKeys({}, {}) && c.rotationIndex.setKeys({}, {}));
    }
}

TEST(TrackController, RotationClampsAndInterpolatesBetweenKeys) {
    TrackController c;
    setRotation(c, {turnY(0), turnY(1), turnY(2)}, {10, 20, 30});
    Transform t;
    // The key number follows the cubic path of 0, 1, 2 (tangents 0.5 and 1/3):
    // at 15 it is 0.375 * 0.5 + 0.375 * (2 / 3) + 0.125 = 0.5625.
    const std::pair<float, float> cases[] = {{0, 0}, {10, 0}, {15, 0.5625f}, {20, 1}, {99, 2}};
    for (auto [time, angle] : cases) {
        c.setTime(t, time);
        EXPECT_TRUE(near(turnY(angle), t.orientation)) << time;
    }
}

// Looping, or more index keys than rotations: no NaN, no read past the keys.
TEST(TrackController, LoopingAndDegenerateKeysStayFinite) {
    TrackController c;
    setRotation(c, {turnY(0), turnY(1)}, {0, 10});
    c.setLoop(true);
    Transform t;
    c.setTime(t, 25);
    EXPECT_TRUE(near(turnY(0.5f), t.orientation));
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

TEST(TrackController, PositionAndScaleFollowTheirPathsThroughAdvanceAndReset) {
    TrackController c;
    ASSERT_TRUE(c.position.setKeys({{0, 0, 0}, {10, 0, 0}}, {0, 10}));
    ASSERT_TRUE(c.scale.setKeys({{1, 1, 1}, {0, 3, 0}}, {0, 10}));
    setRotation(c, {turnY(0), turnY(1.5f)}, {0, 10});
    Transform t;
    c.setTime(t, 5);
    EXPECT_EQ((Vector3{5, 0, 0}), t.getPosition());
    c.setTime(t, 10);
    EXPECT_TRUE(t.scale[0] == 1 && t.scale[1] == 3 && t.scale[2] == 1);  // zero scale components become 1
    c.reset(t);
    for (int i = 0; i < 2; ++i) c.advance(t);
    c.setTimeStep(0);
    c.advance(t);
    EXPECT_FLOAT_EQ(2.48f, t.getPosition().x);  // frozen at time 2
    c.setTimeStep(2.5f);
    c.advance(t);
    EXPECT_TRUE(c.position.path->time == 4.5f && c.rotationIndex.path->time == 4.5f && c.scale.path->time == 4.5f);
    c.reset(t);
    EXPECT_TRUE(t.getPosition().x == 0 && near(turnY(0), t.orientation));

    TrackController constant;  // animated without a path: the constant
    constant.position.animated = true;
    constant.position.constant = {7, 8, 9};
    constant.reset(t);
    EXPECT_EQ((Vector3{7, 8, 9}), t.getPosition());
}

}  // namespace
}  // namespace demo
