// The GL state singleton's defaults, read back from the headless context.

#include "graphics/opengl/gl_state.h"

#include <gtest/gtest.h>

#include "graphics/opengl/glh_extensions.h"
#include "manager/exceptions.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// Texturing switched on for the active unit, so the defaults must undo it.
void enableTexturing() {
    for (GLenum cap :
         {GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q}) {
        glEnable(cap);
    }
}

TEST(GLStateOnMesa, DefaultsAreAppliedOnceByTheFirstInstance) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 16, 16));
    // Earlier drawing left all of this on; the window set GL_LEQUAL.
    for (GLenum array :
         {GL_TEXTURE_COORD_ARRAY, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY}) {
        glEnableClientState(array);
    }
    for (GLenum light = GL_LIGHT0; light < GL_LIGHT0 + 8; ++light) glEnable(light);
    probeExtensions();
    ASSERT_NE(probe::glActiveTextureARB, nullptr);
    probe::glActiveTextureARB(GL_TEXTURE0);
    enableTexturing();
    probe::glActiveTextureARB(GL_TEXTURE1);
    enableTexturing();
    glClearStencil(3);
    glFrontFace(GL_CCW);

    GLState* state = GLState::instance();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    struct Expected {
        GLenum name;
        GLint value;
    };
    for (auto [name, value] : {Expected{GL_DEPTH_FUNC, GL_LESS},
                               {GL_SHADE_MODEL, GL_SMOOTH},
                               {GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST},
                               {GL_POLYGON_SMOOTH_HINT, GL_NICEST},
                               {GL_STENCIL_CLEAR_VALUE, 0},
                               {GL_CULL_FACE_MODE, GL_BACK},
                               {GL_FRONT_FACE, GL_CW},
                               {GL_RENDER_MODE, GL_RENDER},
                               {GL_ACTIVE_TEXTURE, GL_TEXTURE0}}) {
        EXPECT_EQ(integer(name), value) << std::hex << name;
    }
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (float channel : clear) EXPECT_EQ(channel, 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);

    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_NORMALIZE}) EXPECT_TRUE(glIsEnabled(cap));
    for (GLenum cap : {GL_TEXTURE_COORD_ARRAY, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY,
                       GL_LIGHT0, GL_LIGHT7, GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_Q}) {
        EXPECT_FALSE(glIsEnabled(cap)) << std::hex << cap;
    }
    probe::glActiveTextureARB(GL_TEXTURE1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
    probe::glActiveTextureARB(GL_TEXTURE0);

    // No range extension on Mesa: a pool without a block.
    ASSERT_NE(state->vertexPool, nullptr);
    EXPECT_EQ(state->vertexPool->base, nullptr);
    EXPECT_EQ(state->vertexPool->allocate("DVAR", 12), nullptr);

    glFrontFace(GL_CCW);
    EXPECT_EQ(GLState::instance(), state);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);  // not applied again

    try {
        loadSlProgram(state, "extrusion.vp", "main");
        ADD_FAILURE() << "loaded without an SL runtime";
    } catch (const ExceptionBase& e) {
        EXPECT_EQ(e.message(), "SL programs are not available");
    }
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
