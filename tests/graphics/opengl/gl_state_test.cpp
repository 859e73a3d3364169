// The GL state singleton's defaults, read back from the headless context.

#include "graphics/opengl/gl_state.h"

#include <gtest/gtest.h>

#include "graphics/opengl/glh_extensions.h"
#include "manager/exceptions.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

class GLStateOnMesa : public test::HeadlessGLTest {};

TEST_F(GLStateOnMesa, DefaultsAreAppliedOnceByTheFirstInstance) {
    // Earlier drawing left these on, on both texture units.
    const GLenum dirty[] = {GL_COLOR_ARRAY, GL_LIGHT7, GL_TEXTURE_2D, GL_TEXTURE_GEN_Q};
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE1}) {
        probe::glActiveTextureARB(unit);
        for (GLenum cap : dirty) cap == GL_COLOR_ARRAY ? glEnableClientState(cap) : glEnable(cap);
    }
    GLState* state = GLState::instance();
    // Values a fresh context lacks, or that the window or earlier drawing changed.
    const std::pair<GLenum, GLint> values[] = {{GL_DEPTH_FUNC, GL_LESS}, {GL_FRONT_FACE, GL_CW},
        {GL_ACTIVE_TEXTURE, GL_TEXTURE0}, {GL_POLYGON_SMOOTH_HINT, GL_NICEST}};
    for (auto [name, value] : values) EXPECT_EQ(integer(name), value) << std::hex << name;
    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_NORMALIZE}) EXPECT_TRUE(glIsEnabled(cap));
    for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE0}) {
        probe::glActiveTextureARB(unit);
        for (GLenum cap : dirty) EXPECT_FALSE(glIsEnabled(cap)) << std::hex << unit << " " << cap;
    }
    EXPECT_EQ(state->vertexPool->capacity, 0);  // no range extension on Mesa
    EXPECT_NE(state->slContext, nullptr);

    glFrontFace(GL_CCW);
    EXPECT_EQ(GLState::instance(), state);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);  // not applied again
    EXPECT_THROW(loadSlProgram(state, "extrusion.vp", "main"), ExceptionBase);
}

}  // namespace
}  // namespace demo
