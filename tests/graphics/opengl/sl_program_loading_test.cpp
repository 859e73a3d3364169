// The whole road of a vertex program on Mesa: slc compiles a ".vp" file of
// the file system, loadSlProgram loads it, the binding binds, enables and
// sets the state matrix and a colour, and the drawn pixels show the result.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "graphics/opengl/gl_state.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "sl-runtime/opengl/sl_gl.h"
#include "sl-runtime/sl_compiler.h"
#include "sl-runtime/sl_records.h"
#include "tests/support/error_of.h"
#include "tests/support/headless_gl.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

TEST(SlProgramLoading, CompilesLoadsBindsAndDraws) {
    DisplayPair display;
    ASSERT_TRUE(test::openHeadlessDisplay(display, 32, 32));
    auto dir = test::freshScratchDir("sl_program_loading");
    std::ofstream(dir / "tint.vp") << R"(// scaled colour
void main(float4 position : POSITION, uniform float4x4 ModelViewProj, uniform float4 Colour,
          out float4 oPosition : POSITION, out float4 oColour : COLOR0) {
    oPosition = mul(ModelViewProj, position);
    oColour = Colour * 0.5 + float4(0.25, 0.0, 0.0, 0.5);
}
)";
    std::ofstream(dir / "broken.vp") << "void main(out float4 o : POSITION) {\n  o = missing;\n}\n";
    FileSystem::instance()->addDirectory(dir.string());
    GLState* state = GLState::instance();

    SlProgramHandle program = loadSlProgram(state, "tint.vp", "main");
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->glProgramId, 1);
    auto failure = [&](const char* file, const char* name) {
        return test::errorOf([&] { loadSlProgram(state, file, name); });
    };
    const std::string broken = failure("broken.vp", "main");
    EXPECT_TRUE(broken.find("\"broken.vp\" does not compile") != std::string::npos &&
                broken.find("(2) : error: 'missing' is not declared") != std::string::npos) << broken;
    EXPECT_NE(failure("tint.vp", "other"), "no error");
    // Compiled, but refused by OpenGL: an exception, not a handle without id.
    sliSetCommandRunner([](const std::vector<std::string>& arguments, std::string*) {
        std::ofstream(arguments.at(3)) << "!!VP1.0\nMOV o[HPOS], c[99];\nEND\n#profile vp20\n#program main\n";
        return 0;
    });
    EXPECT_NE(failure("tint.vp", "main").find("\"tint.vp\" is refused by OpenGL:\n"
                                              "error: OpenGL refused the program at position "),
              std::string::npos);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));  // raised by the refused load
    sliSetCommandRunner(nullptr);
    EXPECT_EQ(loadSlProgram(state, "tint.vp", "main")->glProgramId, 5);  // ids 2 to 4 were spent

    test::loadOrtho(0, 32, 0, 32);
    glTranslatef(8, 8, 0);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_EQ(slGLBindProgram(program), slOk);
    ASSERT_EQ(slGLEnableProfile(slProfileVp20), slOk);
    EXPECT_EQ(slGLSetStateMatrixParameter(program, slGetParameterByName(program, "main.ModelViewProj"), 3, 0), slOk);
    EXPECT_EQ(slGLSetParameter4f(program, slGetParameterByName(program, "main.Colour"), 1, 0.5f, 1, 1), slOk);
    glRectf(0, 0, 16, 16);
    slGLDisableProfile(slProfileVp20);
    ASSERT_EQ(glGetError(), GL_NO_ERROR);
    auto inside = test::readPixel(16, 16);
    auto outside = test::readPixel(4, 4);
    const int want[4] = {191, 64, 128, 255};  // (0.75, 0.25, 0.5, 1)
    for (int k : {0, 1, 2, 3}) EXPECT_TRUE(std::abs(inside[k] - want[k]) <= 2 && !outside[k]) << k;
    destroyDisplay(display);
}

}  // namespace
}  // namespace demo
