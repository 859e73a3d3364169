// What a light sends to OpenGL, read back with glGetLightfv.

#include "graphics/opengl/light.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/headless_gl.h"

namespace demo {
namespace {

using Vec4 = std::array<float, 4>;

Vec4 lightVector(GLenum light, GLenum name) {
    Vec4 v{};
    glGetLightfv(light, name, v.data());
    return v;
}

Vec4 modelAmbient() {
    Vec4 v{};
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v.data());
    return v;
}

TEST(Light, SendsColoursAmbientAndPositionUnderAnIdentityModelview) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 16, 16));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    Light point("point", {0.1f, 0.2f, 0.3f}, {1, 0.5f, 0}, {0, 0, 1}, {1, 0.25f, 0.125f}, false);
    point.glLight = GL_LIGHT2;
    point.transform.setPosition({1, 2, 3});
    EXPECT_EQ(modelAmbient(), (Vec4{0.2f, 0.2f, 0.2f, 1.0f}));  // OpenGL's default
    point.apply();
    point.applyPosition();
    EXPECT_EQ(modelAmbient(), (Vec4{0, 0, 0, 0}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_EQ(lightVector(GL_LIGHT2, GL_AMBIENT), (Vec4{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(lightVector(GL_LIGHT2, GL_DIFFUSE), (Vec4{1, 0.5f, 0, 1}));
    EXPECT_EQ(lightVector(GL_LIGHT2, GL_SPECULAR), (Vec4{0, 0, 1, 1}));
    EXPECT_EQ(lightVector(GL_LIGHT2, GL_POSITION), (Vec4{1, 2, 3, 1}));
    float quadratic = 0;
    glGetLightfv(GL_LIGHT2, GL_QUADRATIC_ATTENUATION, &quadratic);
    EXPECT_EQ(0.125f, quadratic);

    setGlobalAmbient(-0.5f, 0.3f, 1.7f, 1);
    point.apply();
    EXPECT_EQ(modelAmbient(), (Vec4{0, 0.3f, 1, 1}));

    struct Case {
        Quaternion orientation;
        Vec4 expected;
    };
    const float half = 0.70710677f;
    for (const Case& c : {Case{{0, 0, 0, 1}, {0, 0, -1, 0}},
                          Case{{0, half, 0, half}, {-1, 0, 0, 0}},  // a quarter turn about +Y
                          Case{{half, 0, 0, half}, {0, 1, 0, 0}}}) {
        Light sun("sun", {0, 0, 0}, {1, 1, 1}, {1, 1, 1}, {1, 0, 0}, true);
        sun.glLight = GL_LIGHT0;
        sun.transform.orientation = c.orientation;
        sun.applyPosition();
        const Vec4 got = lightVector(GL_LIGHT0, GL_POSITION);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(c.expected[i], got[i], 1e-6f) << i;
    }
    destroyDisplay(display);
}

TEST(Light, TargetTurnsTheFrameAtEachTimeStep) {
    Light spot("spot", {0, 0, 0}, {1, 1, 1}, {1, 1, 1}, {1, 0, 0}, false);
    ASSERT_TRUE(spot.target.setKeys({{0, 0, 5}, {5, 0, 0}}, {0, 1}));
    spot.setTime(1);
    const Quaternion atOne = spot.transform.orientation;
    spot.reset();
    EXPECT_EQ((Quaternion{0, 0, 0, 1}), spot.transform.orientation);
    spot.advance();  // reads time 0, then moves on to 1
    EXPECT_EQ((Quaternion{0, 0, 0, 1}), spot.transform.orientation);
    spot.advance();
    EXPECT_EQ(atOne, spot.transform.orientation);
}

}  // namespace
}  // namespace demo
