// What a light sends to OpenGL, read back with glGetLightfv.

#include "graphics/opengl/light.h"

#include <gtest/gtest.h>

#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using Vec4 = std::array<float, 4>;

Vec4 lightVector(GLenum name) {
    Vec4 v{};
    if (name == GL_LIGHT_MODEL_AMBIENT) glGetFloatv(name, v.data());
    if (name != GL_LIGHT_MODEL_AMBIENT) glGetLightfv(GL_LIGHT2, name, v.data());
    return v;
}

class LightTest : public test::HeadlessGLTest {};

TEST_F(LightTest, SendsColoursAmbientAndPositionUnderAnIdentityModelview) {
    Light point("point", {0.1f, 0.2f, 0.3f}, {1, 0.5f, 0}, {0, 0, 1}, {1, 0.25f, 0.125f}, false);
    point.glLight = GL_LIGHT2;
    point.transform.setPosition({1, 2, 3});
    point.apply();
    point.applyPosition();
    EXPECT_EQ(lightVector(GL_LIGHT_MODEL_AMBIENT), (Vec4{0, 0, 0, 0}));  // not OpenGL's default
    EXPECT_EQ(lightVector(GL_AMBIENT), (Vec4{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(lightVector(GL_POSITION), (Vec4{1, 2, 3, 1}));

    point.directional = true;
    point.transform.orientation = Quaternion::fromAxisAngle(1.5707964f, {1, 0, 0});
    point.applyPosition();  // -Z of a frame turned a quarter about +X
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR((Vec4{0, 1, 0, 0})[i], lightVector(GL_POSITION)[i], 1e-6f);
}

TEST_F(LightTest, AmbientIsClampedAndTheTargetTrackTurnsTheLight) {
    Light sun("sun", {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {1, 0, 0}, true);
    sun.glLight = GL_LIGHT2;
    setGlobalAmbient(-0.5f, 0.3f, 1.7f, NAN);
    sun.apply();
    EXPECT_EQ(lightVector(GL_LIGHT_MODEL_AMBIENT), (Vec4{0, 0.3f, 1, 0}));
    setGlobalAmbient(0, 0, 0, 0);

    // Shining towards its target: the direction sent points back at the light.
    ASSERT_TRUE(sun.target.setKeys({{0, 0, 5}, {5, 0, 0}}, {0, 1}));
    auto sends = [&](Vec4 want) {
        sun.applyPosition();
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(want[i], lightVector(GL_POSITION)[i], 1e-5f) << i;
    };
    sun.setTime(1);
    sends({-1, 0, 0, 0});
    sun.reset();
    sends({0, 0, -1, 0});
    sun.advance();  // time 0, then a step on
    sends({0, 0, -1, 0});
    sun.advance();
    sends({-1, 0, 0, 0});
    sun.setTime(0);
    sends({0, 0, -1, 0});
}

}  // namespace
}  // namespace demo
