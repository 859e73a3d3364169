// Render states and passes on a headless context, read back as GL state and
// pixels.

#include <gtest/gtest.h>

#include <array>

#include "graphics/opengl/camera.h"
#include "graphics/opengl/constant_alpha_state.h"
#include "graphics/opengl/glh_extensions.h"
#include "graphics/opengl/lighting_off_state.h"
#include "graphics/opengl/reflection_map_state.h"
#include "graphics/opengl/sphere_map_state.h"
#include "graphics/opengl/texture_matrix_state.h"
#include "math/multiply_affine.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

using Matrix = std::array<float, 16>;

Matrix textureMatrixOf(int unit) {
    probe::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
    Matrix m{};
    glGetFloatv(GL_TEXTURE_MATRIX, m.data());
    probe::glActiveTextureARB(GL_TEXTURE0_ARB);
    return m;
}

GLint activeUnit() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &unit);
    return unit - GL_TEXTURE0_ARB;
}

Matrix scaled(float s) { return {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1}; }

class RenderStateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::openHeadlessDisplay(display, 16, 16));
        probeExtensions();
        ASSERT_NE(probe::glActiveTextureARB, nullptr);
        ASSERT_NE(probe::glBlendColorEXT, nullptr);
    }
    void TearDown() override { destroyDisplay(display); }
    DisplayPair display;
};

TEST_F(RenderStateTest, ReflectionMapMirrorsTheCameraRotationOnItsUnitOnly) {
    Camera camera("eye", 45, 4.0f / 3.0f);
    camera.transform.setPosition({5, 6, 7});  // the translation is dropped
    const Matrix4 before = camera.transform.objectMatrix;
    ReflectionMapState state(1, &camera);
    probe::glActiveTextureARB(GL_TEXTURE1_ARB);
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(scaled(3).data());
    glMatrixMode(GL_MODELVIEW);
    probe::glActiveTextureARB(GL_TEXTURE0_ARB);

    state.apply();
    EXPECT_EQ(0, activeUnit());
    EXPECT_EQ(textureMatrixOf(1), (Matrix{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(textureMatrixOf(0), scaled(1));
    probe::glActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    GLint mode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(GL_REFLECTION_MAP_ARB, mode);
    probe::glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));

    state.restore();
    EXPECT_EQ(0, activeUnit());
    EXPECT_EQ(textureMatrixOf(1), scaled(3));
    probe::glActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_EQ(camera.transform.objectMatrix, before);  // the camera is untouched
}

TEST_F(RenderStateTest, TextureMatrixLoadsOrMultipliesAndRestores) {
    const Matrix two = scaled(2);
    for (bool multiply : {false, true}) {
        TextureMatrixState state(two.data(), 1, multiply);
        probe::glActiveTextureARB(GL_TEXTURE1_ARB);
        glMatrixMode(GL_TEXTURE);
        glLoadMatrixf(scaled(3).data());
        glMatrixMode(GL_MODELVIEW);
        probe::glActiveTextureARB(GL_TEXTURE0_ARB);
        state.apply();
        EXPECT_EQ(0, activeUnit());
        EXPECT_EQ(textureMatrixOf(1), scaled(multiply ? 6 : 2));
        state.restore();
        EXPECT_EQ(textureMatrixOf(1), scaled(3));
        EXPECT_EQ(0, activeUnit());
    }
}

TEST_F(RenderStateTest, ConstantAlphaBlendsAtItsAlphaWithDepthWritesOffMeanwhile) {
    ConstantAlphaState state(0.5f);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDepthMask(GL_TRUE);
    state.apply();
    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(GL_FALSE, mask);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
    glRectf(-1, -1, 1, 1);
    EXPECT_NEAR(128, test::readPixel(8, 8)[0], 1);
    state.restore();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(GL_TRUE, mask);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glDepthMask(GL_FALSE);
    state.apply();
    state.restore();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(GL_TRUE, mask);
}

TEST_F(RenderStateTest, SphereMapAndLightingOffToggleTheirSwitches) {
    SphereMapState sphere;
    LightingOffState unlit;
    glEnable(GL_LIGHTING);
    sphere.apply();
    unlit.apply();
    GLint mode = 0;
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(GL_SPHERE_MAP, mode);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S) && glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    unlit.restore();
    sphere.restore();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S) || glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    SetIndexPass pass(&sphere, 7);
    EXPECT_TRUE(pass.flag());
    pass.apply();
    EXPECT_EQ(7, sphere.index);
}

TEST(MultiplyAffine, ComputesBTimesAIgnoringTheLastRows) {
    Matrix4 a = scaled(2), b = identityMatrix4();
    a[12] = 1;                                // a: scale 2 then move x by 1
    b[0] = 0, b[1] = 1, b[4] = -1, b[5] = 0;  // b: quarter turn about z
    b[13] = 5;
    a[3] = b[7] = 9;  // last rows are not read
    Matrix4 out;
    multiplyAffine(out, a, b);
    // b x a maps (1, 0, 0) to b(3, 0, 0) = (0, 3 + 5, 0).
    EXPECT_EQ(out, (Matrix4{0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 2, 0, 0, 6, 0, 1}));
}

}  // namespace
}  // namespace demo
