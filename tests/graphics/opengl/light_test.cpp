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

TEST_F(LightTest, SendsColoursClampedAmbientPositionAndTurnsToItsTarget) {
    Light point("point", {0.1f, 0.2f, 0.3f}, {1, 0.5f, 0}, {0, 0, 1}, {1, 0.25f, 0.125f}, false);
    point.glLight = GL_LIGHT2;
    auto sends = [&](Vec4 want, int line = __builtin_LINE()) {
        point.applyPosition();
        const Vec4 got = lightVector(GL_POSITION);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(want[i], got[i], 1e-5f) << line;
    };
    point.transform.setPosition({1, 2, 3}), point.apply();
    EXPECT_EQ(lightVector(GL_LIGHT_MODEL_AMBIENT), (Vec4{0, 0, 0, 0}));  // not OpenGL's default
    EXPECT_EQ(lightVector(GL_AMBIENT), (Vec4{0.1f, 0.2f, 0.3f, 1}));
    sends({1, 2, 3, 1});

    point.directional = true;
    point.transform.orientation = Quaternion::fromAxisAngle(1.5707964f, {1, 0, 0});
    sends({0, 1, 0, 0});  // -Z of a frame turned a quarter about +X

    setGlobalAmbient(-0.5f, 0.3f, 1.7f, NAN);
    point.apply();
    EXPECT_EQ(lightVector(GL_LIGHT_MODEL_AMBIENT), (Vec4{0, 0.3f, 1, 0}));

    // Turned towards its target: the direction sent points back at the light.
    ASSERT_TRUE(point.target.setKeys({{1, 2, 8}, {6, 2, 3}}, {0, 1}));
    point.setTime(1), sends({-1, 0, 0, 0});
    point.reset(), sends({0, 0, -1, 0});
    point.advance(), sends({0, 0, -1, 0});  // time 0, then a step on
    point.advance(), sends({-1, 0, 0, 0});
}

}  // namespace
}  // namespace demo
