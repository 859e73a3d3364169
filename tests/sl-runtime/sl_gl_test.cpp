// The SL OpenGL binding on Mesa, through the platform's vertex-program layer:
// return codes, row and column uploads of state matrices, refused registers
// and inverses, and constants restored on bind. Programs come from object
// text, without the compiler.

#include "sl-runtime/opengl/sl_gl.h"

#include <GL/glext.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

#include "platform/display.h"
#include "platform/gl_proc_address.h"
#include "platform/vertex_program/vertex_program_layer.h"
#include "sl-runtime/sl_object_parser.h"
#include "sl-runtime/sl_records.h"

namespace demo {
namespace {

class SlGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        platform::DisplayRequest request;
        request.width = request.height = 16;
        platform::DisplayFailure failure{};
        display = platform::DisplaySystem::real().open(request, failure);
    }
    static void TearDownTestSuite() { delete display; }

    void SetUp() override {
        ASSERT_NE(display, nullptr);
        display->makeCurrent();
        vp::resetLayer();
        slGLForget();
        context = new SlContextData;
    }
    void TearDown() override {
        for (SlProgram* p : programs) sliFreeProgram(p);
        delete context;
    }

    // A program whose object text is the given body plus its directives.
    SlProgram* program(const std::string& body, const std::string& directives) {
        SlProgram* p = sliNewProgram(context);
        p->objectText = "!!VP1.0\n" + body + "END\n#profile vp20\n#program main\n" + directives;
        sliParseProgramOutput(p, p->objectText, &p->listing);
        programs.push_back(p);
        return p;
    }
    auto parameter(SlProgram* p, const char* name) { return slGetParameterByName(p, name); }

    std::array<float, 4> registerValue(int index) {
        std::array<float, 4> v{};
        auto get = platform::getProcAddress("glGetProgramParameterfvNV");
        reinterpret_cast<PFNGLGETPROGRAMPARAMETERFVNVPROC>(get)(GL_VERTEX_PROGRAM_NV, index,
                                                                GL_PROGRAM_PARAMETER_NV, v.data());
        return v;
    }

    static inline platform::Display* display = nullptr;
    SlContextData* context = nullptr;
    std::vector<SlProgram*> programs;
};


const std::string kBody = "DP4 o[HPOS].x, c[0], v[0];\n";
const std::string kMatrix = "#pragma bind main.M = c 4\n#var float4x4 main.M\n";

TEST_F(SlGL, ReturnCodes) {
    SlProgram* p = program(kBody, kMatrix + "#pragma bind main.v = c 1\n#var float4 main.v\n");
    EXPECT_EQ(slGLEnableProfile(slProfileDx8vs), slErrorProfile);
    EXPECT_EQ(slGLBindProgram(p), slErrorBind);  // never loaded
    EXPECT_EQ(slGLSetParameter4f(p, parameter(p, "main.v"), 1, 2, 3, 4), slErrorNotLoaded);
    EXPECT_EQ(slGLSetStateMatrixParameter(p, parameter(p, "main.M"), 4, 0), slErrorMatrixSelector);
    EXPECT_EQ(slGLSetStateMatrixParameter(p, parameter(p, "main.v"), 0, 0), slErrorNotMatrix4);

    SlProgram* bad = program("MOV o[HPOS], c[99];\n", "");
    EXPECT_EQ(slGLLoadProgram(bad, 3), slErrorLoad);
    EXPECT_EQ(slGLLoadProgram(p, 4), slOk);
    EXPECT_EQ(slGLBindProgram(p), slOk);
    EXPECT_EQ(slGLSetParameter4f(p, parameter(p, "main.v"), 1, 2, 3, 4), slOk);
    EXPECT_EQ(registerValue(1), (std::array<float, 4>{1, 2, 3, 4}));

    p->Profile = slProfileNone;  // no table row: refused, not indexed
    EXPECT_EQ(slGLLoadProgram(p, 4), slErrorProfile);
    for (SlProfile unsupported : {slProfileFp30, slProfileDx8vs, slProfileDx8ps}) {
        p->Profile = unsupported;  // the dx8 rows are empty: never reached
        EXPECT_EQ(slGLBindProgram(p), slErrorUnsupported);
        EXPECT_EQ(slGLSetParameter4f(p, parameter(p, "main.v"), 1, 2, 3, 4), slErrorUnsupported);
    }

    EXPECT_TRUE(slGLListsVertexProgram("GL_A GL_NV_vertex_program"));  // the last name counts
    EXPECT_FALSE(slGLListsVertexProgram("GL_NV_vertex_program1_1 GL_NV_vertex_program2 "));
}

TEST_F(SlGL, StateMatrixUploads) {
    SlProgram* p = program(kBody, kMatrix + "#pragma bind main.L = c 94\n#var float4x4 main.L\n"
                                            "#pragma bind main.N = *** NO BINDING SPECIFIED ***\n"
                                            "#var float4x4 main.N\n");
    ASSERT_EQ(slGLLoadProgram(p, 1), slOk);
    const float projection[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 5, 1, 6, 0, 1};  // column-major
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(2, 3, 4);
    glTranslatef(0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    SlParameterHandle m = parameter(p, "main.M");
    const struct {
        int matrix, transform;
        float rows[4][4];
    } cases[] = {
        {0, 0, {{1, 0, 0, 1}, {0, 1, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 1}}},   // modelview
        {2, 0, {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 4}, {0, 0, 0, 1}}},   // texture
        {3, 0, {{2, 0, 0, 3}, {0, 3, 0, 12}, {0, 0, 4, 12}, {0, 0, 5, 16}}},  // projection x modelview
        {1, 1, {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 5}, {1, 6, 0, 1}}},  // columns of the projection
        {1, 2, {{0.5f, 0, 0.625f, -0.5f}, {0, 1.0f / 3, 2.5f, -2}, {0, 0, 0.25f, 0},
                {0, 0, -1.25f, 1}}},  // its inverse
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slGLSetStateMatrixParameter(p, m, c.matrix, c.transform), slOk);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(registerValue(4 + i / 4)[i % 4], c.rows[i / 4][i % 4], 1e-6)
                << c.matrix << "/" << c.transform << " " << i;
    }
    // A singular inverse uploads nothing; registers past c[95] or none refuse.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(1, 0, 1);
    EXPECT_EQ(slGLSetStateMatrixParameter(p, m, 1, 2), slErrorSingular);
    EXPECT_NEAR(registerValue(4)[0], 0.5f, 1e-6);
    EXPECT_EQ(slGLSetStateMatrixParameter(p, parameter(p, "main.L"), 1, 0), slErrorRegister);
    EXPECT_EQ(registerValue(94)[0], 0);
    EXPECT_EQ(slGLSetStateMatrixParameter(p, parameter(p, "main.N"), 1, 0), slErrorRegister);
    // Indexes near the int limit are refused too, without an OpenGL error.
    for (int index : {INT_MAX - 1, INT_MAX}) {
        SlParameter* far = sliNewAttribParameter("main.F", index);
        sliSetParameterType(far, "float4x4", 1);
        sliInsertParameter(p->ParamList, far);
        EXPECT_EQ(slGLSetStateMatrixParameter(p, parameter(p, "main.F"), 1, 0), slErrorRegister);
        EXPECT_EQ(slGLSetParameter4f(p, parameter(p, "main.F"), 1, 2, 3, 4), slErrorRegister);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Matrices that are not square go up a row per register, whichever way the
// array is laid out.
TEST_F(SlGL, NonSquareMatrixUploads) {
    SlProgram* p = program(kBody, "#pragma bind main.W = c 20\n#var float2x3 main.W\n"
                                  "#pragma bind main.T = c 30\n#var float3x2 main.T\n");
    ASSERT_EQ(slGLLoadProgram(p, 1), slOk);
    const double rowMajor[6] = {1, 2, 3, 4, 5, 6};
    using Row = std::array<float, 4>;
    EXPECT_EQ(sliSetMatrixRows(p, parameter(p, "main.W"), rowMajor), slOk);
    EXPECT_EQ(sliSetMatrixColumns(p, parameter(p, "main.T"), rowMajor), slOk);
    EXPECT_EQ((std::array{registerValue(20), registerValue(21), registerValue(22)}),
              (std::array{Row{1, 2, 3, 0}, Row{4, 5, 6, 0}, Row{0, 0, 0, 0}}));
    EXPECT_EQ((std::array{registerValue(30), registerValue(31), registerValue(32)}),
              (std::array{Row{1, 4, 0, 0}, Row{2, 5, 0, 0}, Row{3, 6, 0, 0}}));
}

TEST_F(SlGL, BindRestoresTheProgramsConstants) {
    SlProgram* a = program(kBody, "#const c[10] = 1.0 2.0 3.0 4.0\n");
    SlProgram* b = program(kBody, "#const c[10] = 9.0 8.0 7.0 6.0\n");
    ASSERT_EQ(slGLLoadProgram(a, 1), slOk);
    ASSERT_EQ(slGLLoadProgram(b, 2), slOk);
    ASSERT_EQ(slGLBindProgram(a), slOk);
    ASSERT_EQ(slGLBindProgram(b), slOk);
    EXPECT_EQ(registerValue(10), (std::array<float, 4>{9, 8, 7, 6}));
    ASSERT_EQ(slGLBindProgram(a), slOk);
    EXPECT_EQ(registerValue(10), (std::array<float, 4>{1, 2, 3, 4}));
    // A constant past c[95] is reported; the others are still restored.
    sliInsertParameter(b->ParamList, sliNewConstParameter(INT_MAX, 1, 1, 1, 1));
    EXPECT_EQ(slGLBindProgram(b), slErrorRegister);
    EXPECT_EQ(registerValue(10), (std::array<float, 4>{9, 8, 7, 6}));
}

// The fp30 row calls its entry points without a driver for it; every listed one
// resolves, the attribute calls to the vertex-program ones.
TEST_F(SlGL, Fp30RowAndEntryPoints) {
    const SlGLProfileOps* fp30 = slGLProfileOps(slProfileFp30);
    ASSERT_TRUE(fp30->setParameter4f && fp30->setParameter4d && fp30->setParameter4fv &&
                fp30->setParameter4dv && fp30->setMatrixRow4f && fp30->setMatrixRow4d);
    SlProgram* p = program(kBody, "#pragma bind main.v = c 1\n");
    const double d[4] = {1, 2, 3, 4};
    EXPECT_EQ(fp30->setParameter4dv(p, parameter(p, "main.v"), d), slErrorNotLoaded);
    p->glProgramId = 1;
    EXPECT_EQ(fp30->setParameter4f(p, parameter(p, "main.v"), 1, 2, 3, 4), slOk);  // the call is made
    EXPECT_EQ(fp30->setMatrixRow4d(p, parameter(p, "main.v"), 0, 1, 2, 3, 4), slErrorProfile);
    EXPECT_EQ(fp30->afterBind(p), slOk);

    for (const char* name : {"glClientActiveTextureARB", "glProgramLocalParameter4dvNV",
                             "glVertexAttrib1sNV", "glVertexAttrib4ubvNV", "glVertexAttribPointerNV"})
        EXPECT_NE(slGLEntryPoint(name), nullptr) << name;
    EXPECT_EQ(slGLEntryPoint("glProgramParameters4fvNV"), nullptr);  // not on the list
    EXPECT_EQ(slGLEntryPoint("glVertexAttrib4fNV"), vp::layerEntryPoint("glVertexAttrib4fNV"));
}

}  // namespace
}  // namespace demo
