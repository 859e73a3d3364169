// Render states on a headless context, read back as GL state and pixels.

#include <gtest/gtest.h>

#include "graphics/opengl/camera.h"
#include "graphics/opengl/constant_alpha_state.h"
#include "graphics/opengl/glh_extensions.h"
#include "graphics/opengl/lighting_off_state.h"
#include "graphics/opengl/reflection_map_state.h"
#include "graphics/opengl/sphere_map_state.h"
#include "graphics/opengl/texture_matrix_state.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

Matrix4 scaled(float s) { return {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1}; }

// The texture matrix of unit 1 (loaded first when given); unit 0 stays active.
Matrix4 unitOneMatrix(const Matrix4* load = nullptr) {
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(GL_TEXTURE0_ARB, active);
    probe::glActiveTextureARB(GL_TEXTURE1_ARB);
    if (load != nullptr) glLoadMatrixf(load->data());
    Matrix4 m{};
    glGetFloatv(GL_TEXTURE_MATRIX, m.data());
    probe::glActiveTextureARB(GL_TEXTURE0_ARB);
    return m;
}

class RenderStateTest : public test::HeadlessGLTest {};

TEST_F(RenderStateTest, TextureMatricesOnTheirUnitConstantAlphaSphereMapAndUnlit) {
    // A turned and rolled camera: the mirror goes before its rotation
    // (the first row negated), not after it (the first column).
    Camera camera("eye", 45, 4.0f / 3);
    camera.transform.setPosition({5, 6, 7});  // the translation is dropped
    camera.transform.lookAt({6, 7, 9}, 0.4f);
    const Matrix3 a = camera.transform.orientationMatrix();  // row j: local axis j
    const Matrix4 mirror{-a[0], a[1], a[2], 0, -a[3], a[4], a[5], 0,
                         -a[6], a[7], a[8], 0, 0,     0,    0,    1};
    ReflectionMapState reflection(1, &camera);
    const Matrix4 two = scaled(2), three = scaled(3);
    TextureMatrixState load(two.data(), 1, false), multiply(two.data(), 1, true);
    for (auto [state, applied] : {std::pair<RenderState*, Matrix4>{&reflection, mirror},
                                  {&load, two}, {&multiply, scaled(6)}}) {
        glMatrixMode(GL_TEXTURE);
        unitOneMatrix(&three);
        glMatrixMode(GL_MODELVIEW);
        state->apply();
        const Matrix4 got = unitOneMatrix();
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(applied[i], got[i], 1e-6f) << i;
        state->restore();
        EXPECT_EQ(three, unitOneMatrix());
    }

    ConstantAlphaState half(0.5f);
    glDisable(GL_DEPTH_TEST);
    test::loadOrtho(-1, 1, -1, 1);
    GLboolean mask[2];
    glClear(GL_COLOR_BUFFER_BIT);  // to the window's black
    half.apply();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask[0]);
    glRectf(-1, -1, 1, 1);
    EXPECT_NEAR(128, test::readPixel(8, 8)[0], 1);
    half.restore();
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask[1]);
    EXPECT_TRUE(mask[0] == GL_FALSE && mask[1] == GL_TRUE);

    SphereMapState sphere;
    LightingOffState unlit;
    GLint mode[2] = {};  // of S and T
    glEnable(GL_LIGHTING);
    sphere.apply(), unlit.apply();
    for (GLenum c : {GL_S, GL_T}) glGetTexGeniv(c, GL_TEXTURE_GEN_MODE, &mode[c - GL_S]);
    EXPECT_TRUE(mode[0] == GL_SPHERE_MAP && mode[1] == GL_SPHERE_MAP && !glIsEnabled(GL_LIGHTING)
                && glIsEnabled(GL_TEXTURE_GEN_S) && glIsEnabled(GL_TEXTURE_GEN_T));
    unlit.restore(), sphere.restore();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && !glIsEnabled(GL_TEXTURE_GEN_S) &&
                !glIsEnabled(GL_TEXTURE_GEN_T));
}

}  // namespace
}  // namespace demo
