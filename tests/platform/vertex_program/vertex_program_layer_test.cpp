// The layer on Mesa, which lacks the vendor extension: entry points come from
// the platform's lookup, a program with parameters and a tracked
// modelview-projection draws points whose pixels match the interpreter, and
// the extension's errors and queries behave.

#include "platform/vertex_program/vertex_program_layer.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graphics/opengl/glh_extension_catalogue.h"
#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"
#include "tests/support/tex_coord_target.h"
#include "tests/support/vertex_program_suite.h"

namespace demo::vp {
namespace {

constexpr GLenum kVP = GL_VERTEX_PROGRAM_NV, kVSP = GL_VERTEX_STATE_PROGRAM_NV;
using GetIntegerv = void (*)(GLenum, GLint*);

using test::glEntry;

// The entry points are looked up with the suite's context current.
class VertexProgramLayer : public test::VertexProgramSuite {
protected:
    GLenum loadText(GLenum target, GLuint id, const std::string& text) {
        load(target, id, GLsizei(text.size()), reinterpret_cast<const GLubyte*>(text.data()));
        return glGetError();
    }
    GLint errorPosition() {
        GLint position = -2;
        glEntry<GetIntegerv>("glGetIntegerv")(GL_PROGRAM_ERROR_POSITION_NV, &position);
        return position;
    }
    std::vector<float> registerValue(GLuint index) {
        std::vector<float> row(4);
        glEntry<PFNGLGETPROGRAMPARAMETERFVNVPROC>("glGetProgramParameterfvNV")(
            kVP, index, GL_PROGRAM_PARAMETER_NV, row.data());
        return row;
    }

    // Program 1 draws one point (at the origin, or an element of the enabled
    // arrays) into a 1x1 float target; gives its o[TEX0], which a fragment
    // program passes on unclamped.
    Vec4 drawTexCoord(const std::string& program, GLint arrayElement = -1) {
        test::TexCoordTarget target;
        glEnable(kVP);
        EXPECT_EQ(loadText(kVP, 1, program), GL_NO_ERROR) << program << lastLoadMessage();
        bind(kVP, 1);
        glBegin(GL_POINTS);
        arrayElement < 0 ? glVertex4f(0, 0, 0, 1) : glArrayElement(arrayElement);
        glEnd();
        glDisable(kVP);
        return target.read();
    }

    PFNGLLOADPROGRAMNVPROC load = glEntry<PFNGLLOADPROGRAMNVPROC>("glLoadProgramNV");
    PFNGLBINDPROGRAMNVPROC bind = glEntry<PFNGLBINDPROGRAMNVPROC>("glBindProgramNV");
    PFNGLPROGRAMPARAMETER4FNVPROC parameter =
        glEntry<PFNGLPROGRAMPARAMETER4FNVPROC>("glProgramParameter4fNV");
    PFNGLTRACKMATRIXNVPROC track = glEntry<PFNGLTRACKMATRIXNVPROC>("glTrackMatrixNV");
};

TEST_F(VertexProgramLayer, DrawsWhatTheInterpreterComputes) {
    const std::string program = "!!VP1.0\n"
        "DP4 o[HPOS].x, c[0], v[OPOS];\nDP4 o[HPOS].y, c[1], v[OPOS];\n"
        "DP4 o[HPOS].z, c[2], v[OPOS];\nDP4 o[HPOS].w, c[3], v[OPOS];\n"
        "ARL A0.x, v[TEX0].x;\nMUL R0, v[COL0], c[A0.x + 8];\n"
        "DP3 R1.x, v[NRML], c[4];\nMAX R1.x, R1.x, c[5].x;\n"
        "MAD o[COL0].xyz, R0, R1.x, c[6];\nEND\n# text after the end\n";
    track(kVP, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    bind(kVP, 7);  // bound before it is loaded: the load takes effect at once
    ASSERT_EQ(loadText(kVP, 7, program), GL_NO_ERROR) << lastLoadMessage();
    VertexMachine machine;
    const Vec4 c[] = {{0, 0.6f, 0.8f, 0}, {0.2f, 0, 0, 0}, {0.1f, 0.05f, 0, 0},
                      {0, 0, 0, 0},       {1, 0.5f, 0.25f, 1}, {0.25f, 1, 0.5f, 1}};
    for (int i = 0; i < 6; ++i) parameter(kVP, 4 + i, c[i][0], c[i][1], c[i][2], c[i][3]);
    std::copy(c, c + 6, machine.parameters.begin() + 4);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSize, 0, kSize, -1, 1);
    // A quarter turn about z, doubled, moved to (32, 32): points land on pixel
    // centres at window = (32 - 2y, 32 + 2x).
    const GLfloat modelview[] = {0, 2, 0, 0, -2, 0, 0, 0, 0, 0, 1, 0, 32, 32, 0, 1};
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview);
    struct Vertex {
        Vec4 position, colour, normal, selector;
    } v[6];
    for (int i = 0; i < 6; ++i) {
        v[i] = {{0.25f + 3.0f * i - 8, 0.25f - 2.0f * i + 5, 0, 1},
                {0.2f * i, 1 - 0.15f * i, 0.5f, 1},
                {0, std::cos(0.5f * i), std::sin(0.5f * i), 1}, {i % 2 + 0.5f, 0, 0, 1}};
    }
    glClear(GL_COLOR_BUFFER_BIT);
    const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY};
    for (GLenum array : arrays) glEnableClientState(array);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), v[0].position.data());
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), v[0].colour.data());
    glNormalPointer(GL_FLOAT, sizeof(Vertex), v[0].normal.data());
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), v[0].selector.data());
    glEnable(kVP);
    glDrawArrays(GL_POINTS, 0, 6);
    glDisable(kVP);
    for (GLenum array : arrays) glDisableClientState(array);
    ASSERT_EQ(glGetError(), GL_NO_ERROR);

    // The oracle: the same program on the interpreter, with c[0..3] the
    // tracked rows as the layer reads them back.
    for (GLuint i = 0; i < 4; ++i) std::ranges::copy(registerValue(i), machine.parameters[i].begin());
    ParseResult parsed = parseVertexProgram(program);
    for (const Vertex& vertex : v) {
        machine.attributes[0] = vertex.position, machine.attributes[2] = vertex.normal;
        machine.attributes[3] = vertex.colour, machine.attributes[8] = vertex.selector;
        execute(parsed.program, machine);
        const Vec4& h = machine.outputs[kHPOS];
        int x = static_cast<int>(std::floor((h[0] / h[3] * 0.5f + 0.5f) * kSize));
        int y = static_cast<int>(std::floor((h[1] / h[3] * 0.5f + 0.5f) * kSize));
        ASSERT_TRUE(x >= 0 && x < kSize && y >= 0 && y < kSize) << &vertex - v;
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(rgba[k], std::clamp(machine.outputs[kCOL0][k], 0.0f, 1.0f) * 255, 2.0)
                << &vertex - v << " " << k;
    }
}

TEST_F(VertexProgramLayer, ExtensionErrorsQueriesAndStatePrograms) {
    const std::string driver = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string blank = driver.back() == ' ' ? "" : " ";
    EXPECT_EQ(platform::vertexProgramExtensions(),
              driver + blank + "GL_NV_vertex_program GL_NV_vertex_program1_1 ");
    EXPECT_EQ(reinterpret_cast<Proc>(load), layerEntryPoint("glLoadProgramNV"));
    EXPECT_FALSE(listsVertexProgram("GL_NV_vertex_program1_1 GL_NV_vertex_program2"));
    const std::string good = "!!VP1.0 MOV o[HPOS], v[0]; END";
    EXPECT_EQ(loadText(kVP, 1, "!!VP1.0 MOV o[HPOS], c[96]; END"), GL_INVALID_OPERATION);
    EXPECT_EQ(errorPosition(), 23);
    EXPECT_EQ(loadText(kVP, 1, good), GL_NO_ERROR);
    EXPECT_EQ(errorPosition(), -1);
    EXPECT_EQ(loadText(kVSP, 2, good), GL_INVALID_OPERATION);  // header
    EXPECT_EQ(loadText(kVSP, 1, "!!VSP1.0 MOV c[1], v[0]; END"),
              GL_INVALID_OPERATION);  // the name is a vertex program's
    EXPECT_EQ(loadText(GL_TEXTURE_2D, 3, good), GL_INVALID_ENUM);
    EXPECT_EQ(loadText(kVP, 0, good), GL_INVALID_VALUE);

    EXPECT_EQ((track(kVP, 8, GL_MODELVIEW, GL_INVERSE_NV), glGetError()), GL_NO_ERROR);
    EXPECT_EQ((parameter(kVP, 96, 1, 2, 3, 4), glGetError()), GL_INVALID_VALUE);
    EXPECT_EQ((parameter(kVP, 10, 1, 2, 3, 4), glGetError()), GL_INVALID_OPERATION);  // tracked
    EXPECT_EQ((parameter(kVSP, 0, 1, 2, 3, 4), glGetError()), GL_INVALID_ENUM);
    EXPECT_EQ((track(kVP, 6, GL_MODELVIEW, GL_IDENTITY_NV), glGetError()), GL_INVALID_VALUE);
    // Tracked rows read back as the current inverse modelview.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    EXPECT_EQ(registerValue(9), (std::vector<float>{0, 1, 0, -2}));
    glLoadIdentity();

    // A state program runs on the CPU into the parameters.
    ASSERT_EQ(loadText(kVSP, 4, "!!VSP1.0 MAD c[20], v[0], c[21], c[21].w; END"), GL_NO_ERROR);
    parameter(kVP, 21, 2, 3, 4, 10);
    auto execute = glEntry<PFNGLEXECUTEPROGRAMNVPROC>("glExecuteProgramNV");
    const float v[4] = {1, 2, 3, 4};
    execute(kVSP, 4, v);
    EXPECT_EQ((execute(kVSP, 5, v), glGetError()), GL_INVALID_OPERATION);
    EXPECT_EQ(registerValue(20), (std::vector<float>{12, 16, 22, 50}));
    EXPECT_EQ((bind(kVP, 4), glGetError()), GL_INVALID_OPERATION);  // a state program

    // Every catalogue name is the layer's; attributes read back from where they went.
#define DEMO_OFFERED(ext, name, type) \
    EXPECT_TRUE(!std::string(#ext).starts_with("GL_NV_vertex_program") || layerEntryPoint(#name)) \
        << #name;
    DEMO_GL_ENTRY_POINTS(DEMO_OFFERED)
#undef DEMO_OFFERED
    auto set = glEntry<PFNGLVERTEXATTRIB4FNVPROC>("glVertexAttrib4fNV");
    auto get = glEntry<PFNGLGETVERTEXATTRIBFVNVPROC>("glGetVertexAttribfvNV");
    for (GLuint index : {2u, 3u, 6u, 11u}) {  // normal, colour, generic, texture coordinate 3
        std::vector<float> v(4);
        set(index, 0.25f, 0.5f, 0.75f, 1.0f);
        get(index, GL_CURRENT_ATTRIB_NV, v.data());
        EXPECT_EQ(v, (std::vector<float>{0.25f, 0.5f, 0.75f, 1.0f})) << index;
    }
    EXPECT_EQ((get(0, GL_CURRENT_ATTRIB_NV, nullptr), glGetError()), GL_INVALID_OPERATION);
}

// Each opcode on ordinary and special operands, run by the interpreter and
// drawn through the translation into a float target: both must give the
// extension's values. c[0] is the first operand, R1 and R2 (from c[1], c[2])
// the others, R0 the result; a bare opcode runs once per component of c[0].
TEST_F(VertexProgramLayer, EveryOpcodeMatchesTheExtensionOnBothPaths) {
    constexpr float inf = INFINITY, nan = NAN;
    constexpr float big = 0x1p64f, small = 0x1p-64f;
    const float top = std::exp2(127.99609375f);  // 2^(128 - 1/256)
    struct Case {
        std::string instruction;
        Vec4 a, b, c, expected;
    };
    std::vector<Case> cases = {
        {"MOV R0.xz, c[0]; ABS R0.w, c[0].y;", {-0.0f, -inf, inf, nan}, {}, {}, {0, 0, inf, inf}},
        {"ADD R0, c[0], -R1.wzyx;", {inf, inf, nan, -2}, {0.5f, -1, 1, inf}, {}, {nan, inf, nan, -2.5f}},
        {"MUL R0, c[0], R1;", {0, -2, nan, -inf}, {inf, inf, 1, -inf}, {}, {nan, -inf, nan, inf}},
        {"MAD R0, c[0], R1, R2;", {0, inf, 2, -1}, {inf, 1, 3, inf}, {1, -inf, 1, inf}, {nan, nan, 7, nan}},
        {"DP3 R0.xy, c[0], R1; DP3 R0.zw, R2, R1;", {inf, 0, 1, 5}, {0, 1, 1, 5}, {1, -2, 3, 9},
         {nan, nan, 1, 1}},
        {"DP4 R0.xy, c[0], R1; DPH R0.zw, c[0], R1;", {1, 2, -3, 8}, {1, 0.5f, 1, -2}, {}, {-17, -17, -3, -3}},
        {"DPH R0.xy, c[0], R1; SUB R0.zw, c[0], R1;", {1, 2, 3, nan}, {1, 1, 1, -inf}, {},
         {-inf, -inf, 2, nan}},
        {"DST R0, c[0], R1;", {nan, inf, -inf, nan}, {nan, 0, nan, -0.5f}, {}, {1, nan, -inf, -0.5f}},
        {"DST R0, c[0], R1;", {9, 3, 4, 9}, {9, -2, 9, 5}, {}, {1, -6, 4, 5}},
        {"MIN R0.xy, c[0], R1; MAX R0.zw, c[0], R1;", {-inf, inf, -inf, -3}, {0, 2, 0, -inf}, {},
         {-inf, 2, 0, -3}},
        {"SLT R0.xy, c[0], R1; SGE R0.zw, c[0], R1;", {-inf, nan, inf, nan}, {0, 1, inf, 1}, {}, {1, 0, 1, 0}},
        {"SLT R0.xy, c[0], R1; SGE R0.zw, c[0], R1;", {1, 2, 1, 2}, {2, 2, 2, 2}, {}, {1, 0, 0, 1}},
        {"RCP", {0, -0.0f, -inf, nan}, {}, {}, {inf, -inf, 0, nan}},
        {"RCP", {1, -0.25f, 0, 0}, {}, {}, {1, -4, inf, inf}},
        {"RSQ", {0, -inf, -4, nan}, {}, {}, {inf, 0, 0.5f, nan}},
        {"EXP R0, c[0].x;", {inf, 0, 0, 0}, {}, {}, {inf, 0, inf, 1}},
        {"EXP R0, c[0].y;", {0, -inf, 0, 0}, {}, {}, {0, 0, 0, 1}},
        {"EXP R0, c[0].x;", {-1.5f, 0, 0, 0}, {}, {}, {0.25f, 0.5f, 0.35355339f, 1}},
        {"LOG R0, c[0].x;", {0, 0, 0, 0}, {}, {}, {-inf, 1, -inf, 1}},
        {"LOG R0, c[0].x;", {-inf, 0, 0, 0}, {}, {}, {inf, 1, inf, 1}},
        {"LOG R0, c[0].x;", {-12, 0, 0, 0}, {}, {}, {3, 1.5f, 3.5849625f, 1}},
        {"LIT R0, c[0];", {1, 0, 0, 0}, {}, {}, {1, 1, 1, 1}},           // 0^0
        {"LIT R0, c[0];", {1, 0, 0, -2}, {}, {}, {1, 1, inf, 1}},        // 0^-2
        {"LIT R0, c[0];", {1, -1, 0, 3}, {}, {}, {1, 1, 0, 1}},          // 0^3
        {"LIT R0, c[0];", {1, 2, 0, 200}, {}, {}, {1, 1, top, 1}},       // the power clamped
        {"LIT R0, c[0];", {3, 0.5f, 0, -200}, {}, {}, {1, 3, top, 1}},
        {"LIT R0, c[0];", {2, 4, 0, 0.5f}, {}, {}, {1, 2, 2, 1}},
        {"LIT R0, c[0];", {1, inf, 0, 0}, {}, {}, {1, 1, 1, 1}},
        {"LIT R0, c[0];", {-inf, inf, 0, 2}, {}, {}, {1, 0, 0, 1}},
        {"LIT R0, c[0];", {inf, inf, 0, -1}, {}, {}, {1, inf, 0, 1}},
        {"LIT R0, c[0];", {1, -0.0f, 0, -1}, {}, {}, {1, 1, inf, 1}},     // 2^(-1 * log2 -0)
        // The driver's folding must keep the sign of a product of one register's components.
        {"SLT R3, R1, R1; MAD R3, -c[0].y, -c[0].x, R3; RSQ R0.x, R3.x; LOG R0.yzw, R3.x;",
         {1, -2, 0, 0}, {}, {}, {0.70710678f, 1, 1, 1}},
        {"SLT R3, R1, R1; MAD R3, -c[0].y, -c[0].x, R3; ABS R0.x, R3.x; MAX R0.y, R3.x, -R3.x;"
         "RCC R0.z, R3.x; SLT R0.w, R3.x, R1.x;", {1, -2, 0, 0}, {}, {}, {2, 2, -0.5f, 1}},
        // A second factor of -0 keeps its sign on its way into every kind of product.
        {"MUL R3, c[0].x, R1.y; RCP R0.x, R3.x; DP4 R3.x, c[0].xxxx, R1.yyyy; RCP R0.y, R3.x;"
         "DST R3, c[0].x, R1.y; RCP R0.z, R3.y; MAD R3, c[0].x, R1.y, R1.y; RCP R0.w, R3.x;",
         {2, 0, 0, 0}, {0, -0.0f, 0, 0}, {}, {-inf, -inf, -inf, -inf}},
        // R3 starts at +0: -R3.y * 1 is -0, whose negation is +0, whatever the driver can fold.
        {"MUL R3, -R3.y, c[0]; RCP R0.x, -R3.x; LOG R0.yzw, -R0.x;", {1, 0, 0, 0}, {}, {}, {inf, 1, inf, 1}},
        {"RCC", {0, -0.0f, inf, -inf}, {}, {}, {big, -big, small, -small}},
        {"RCC", {0x1p-70f, -0x1p70f, -0.25f, 1}, {}, {}, {big, -small, -4, 1}},
        {"ARL A0.x, c[0].x; MOV R0, c[A0.x + 2];", {-0.5f, 0, 0, 0}, {7, 8, 9, 10}, {}, {7, 8, 9, 10}},
        {"ARL A0.x, c[0].y; MOV R0, c[A0.x - 1];", {0, 3.5f, 0, 0}, {}, {4, 3, 2, 1}, {4, 3, 2, 1}},
        {"MOV R0, c[A0.x + 2];", {}, {}, {4, 3, 2, 1}, {4, 3, 2, 1}},  // A0.x starts at 0
        // Addresses outside c[] read zeros; the interpreter's sum cannot overflow.
        {"ARL A0.x, c[0].y; MOV R0, c[A0.x + 63];", {0, 40, 0, 0}, {}, {}, {0, 0, 0, 0}},
        {"ARL A0.x, c[0].z; MOV R0, c[A0.x - 64];", {0, 0, -3e9f, 0}, {}, {}, {0, 0, 0, 0}},
        {"ARL A0.x, c[0].x; MOV R0.xy, c[A0.x + 1].zwzw; ARL A0.x, c[0].y; MOV R0.zw, c[A0.x];",
         {95, inf, 7, 7}, {}, {}, {0, 0, 0, 0}},  // just past c[], and from an infinite address
    };
    // Relative reads of c[96 + k] and below c[0] read zeros, never what the
    // translation keeps past c[].
    for (auto [base, offset] : {std::pair{96, 1}, {96, 2}, {99, 0}, {0, -1}, {-2, 0}, {1, -5}}) {
        cases.push_back({"ARL A0.x, c[0].x; MOV R0, c[A0.x " + std::string(offset < 0 ? "- " : "+ ") +
                             std::to_string(std::abs(offset)) + "];",
                         {float(base), 5, 5, 5}, {}, {}, {0, 0, 0, 0}});
    }
    // One value carried into both factors of a product by a copy: the driver
    // follows copies, and must not take -a.y * -a.x (here -2) for a square and
    // drop the sign after it. R8 is a zero the driver can see (1 < 1).
    const std::string copies[] = {"MOV R4, c[0];", "MAX R4, c[0], c[0];", "MIN R4, c[0], c[0];",
                                  "MUL R4, c[0], R9.x;", "MOV R5, c[0]; MOV R4, R5;"};
    const std::string products[] = {
        "MUL R3, -R4.y, -c[0].x;", "MAD R3, -R4.y, -c[0].x, R8;", "DST R3, -R4.y, -c[0].x; MOV R3.x, R3.y;",
        "MOV R3, R4; MUL R3, -R3.y, -c[0].x;", "MOV R3, R4; MAD R3, -c[0].x, -R3.y, R8;",
        "DP3 R3.x, -R4.yzzz, -c[0].xzzz;", "DP4 R3.x, -R4.yzzz, -c[0].xzzz;", "DPH R3.x, -R4.yzzz, -c[0].xzzz;"};
    for (const std::string& copy : copies) {
        for (const std::string& product : products) {
            std::string code = "DST R9, R1, R1; SLT R8, R9.x, R9.x; " + copy + ' ' + product;
            cases.push_back({code + " RCC R0.x, R3.x; MAX R0.y, R3.x, -R3.x; ABS R0.z, R3.x; SLT R0.w, R3.x, R8.x;",
                             {1, -2, 0, 0}, {}, {}, {-0.5f, 2, 2, 1}});
            cases.push_back({code + " SGE R0.x, R3.x, R8.x; RSQ R0.y, R3.x; LOG R0.zw, R3.x;", {1, -2, 0, 0}, {},
                             {}, {0, 0.70710678f, 1, 1}});
        }
    }
    auto same = [&](float got, float want) {  // RCC's bounds exactly
        if (std::isnan(want)) return std::isnan(got);
        if (std::isinf(want) || want == 0 || std::fabs(want) == big || std::fabs(want) == small)
            return got == want;
        return std::fabs(got - want) <= 1e-3f * std::fabs(want);
    };
    for (const Case& t : cases) {
        std::string code = t.instruction;
        if (code.find(' ') == std::string::npos) {
            code.clear();
            for (char c : std::string("xyzw")) code += t.instruction + " R0." + c + ", c[0]." + c + "; ";
        }
        std::string text = "!!VP1.1 MOV R1, c[1]; MOV R2, c[2]; " + code +
                           " MOV o[TEX0], R0; MOV o[HPOS], v[0]; END";
        VertexMachine machine;
        const Vec4 operands[] = {t.a, t.b, t.c};
        for (GLuint i = 0; i < 3; ++i) {
            machine.parameters[i] = operands[i];
            parameter(kVP, i, operands[i][0], operands[i][1], operands[i][2], operands[i][3]);
        }
        execute(parseVertexProgram(text).program, machine);
        Vec4 drawn = drawTexCoord(text);
        SCOPED_TRACE(t.instruction + " on " + testing::PrintToString(t.a));
        for (int k = 0; k < 4; ++k) {
            EXPECT_PRED2(same, machine.temporaries[0][k], t.expected[k]) << "interpreter, component " << k;
            EXPECT_PRED2(same, drawn[k], t.expected[k]) << "driver, component " << k;
        }
    }
}

TEST_F(VertexProgramLayer, TracksEachTextureUnitAndKeepsTheLastValues) {
    auto textureMatrix = [](GLenum unit, float x) {
        glActiveTexture(unit);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTranslatef(x, 6, 7);
        glActiveTexture(GL_TEXTURE0);
        glMatrixMode(GL_MODELVIEW);
    };
    auto trackedAt = [get = glEntry<PFNGLGETTRACKMATRIXIVNVPROC>("glGetTrackMatrixivNV")](GLuint at) {
        GLint matrix = 0;
        return get(kVP, at, GL_TRACK_MATRIX_NV, &matrix), matrix;
    };
    textureMatrix(GL_TEXTURE2, 5);
    track(kVP, 4, GL_TEXTURE2, GL_TRANSPOSE_NV);
    const std::string program = "!!VP1.0 MOV o[TEX0], c[7]; MOV o[HPOS], v[0]; END";
    EXPECT_EQ(drawTexCoord(program), (Vec4{5, 6, 7, 1}));  // the transpose's last row
    // Reached relatively too; results not written keep (0, 0, 0, 1).
    parameter(kVP, 0, 7.5f, 0, 0, 0);
    EXPECT_EQ(drawTexCoord("!!VP1.1 OPTION NV_position_invariant; ARL A0.x, c[0].x;"
                           "MOV o[TEX0].yz, c[A0.x]; END"),
              (Vec4{0, 6, 7, 1}));
    // GL_TEXTURE is the active unit's matrix under that unit's name; here the
    // same matrix again, tracked while that relative program is bound.
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    glActiveTexture(GL_TEXTURE2);
    EXPECT_EQ((track(kVP, 8, GL_TEXTURE, GL_TRANSPOSE_NV), glGetError()), GL_NO_ERROR);
    glActiveTexture(GL_TEXTURE0 + units);  // an image unit without a matrix
    EXPECT_EQ((track(kVP, 12, GL_TEXTURE, GL_IDENTITY_NV), glGetError()), GL_INVALID_ENUM);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ((std::vector{trackedAt(4), trackedAt(8), trackedAt(12)}),
              (std::vector<GLint>{GL_TEXTURE2, GL_TEXTURE2, GL_NONE}));
    EXPECT_EQ(drawTexCoord("!!VP1.0 ARL A0.x, c[0].x; MOV o[TEX0].xy, c[A0.x + 4];"
                           "MOV o[TEX0].zw, c[10]; MOV o[HPOS], v[0]; END"),
              (Vec4{5, 6, 1, 0}));  // the second block's rows 3 and 2
    // Turned off, the registers hold what they tracked last.
    track(kVP, 4, GL_NONE, GL_IDENTITY_NV);
    textureMatrix(GL_TEXTURE2, 9);
    EXPECT_EQ(drawTexCoord(program), (Vec4{5, 6, 7, 1}));
    EXPECT_EQ((track(kVP, 4, GL_TEXTURE0 + units, GL_IDENTITY_NV), glGetError()), GL_INVALID_ENUM);
    textureMatrix(GL_TEXTURE2, 0);
}

// Normals, secondary colours and fog coordinates carry only some of an
// attribute's components; arrays of any size keep their layout.
TEST_F(VertexProgramLayer, ConventionalAttributeArraysKeepWhatTheyCan) {
    const float position[] = {0, 0, 0, 1, 0, 0, 0, 1};
    const float values[] = {0.125f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.875f, 1};
    auto pointer = glEntry<PFNGLVERTEXATTRIBPOINTERNVPROC>("glVertexAttribPointerNV");
    pointer(0, 4, GL_FLOAT, 0, position);
    glEnableClientState(GL_VERTEX_ARRAY);
    const struct {
        GLuint index;
        GLint size;
        Vec4 second;  // the second vertex's value
    } cases[] = {
        {2, 3, {0.5f, 0.625f, 0.75f, 1}}, {2, 4, {0.625f, 0.75f, 0.875f, 1}},
        {4, 4, {0.625f, 0.75f, 0.875f, 1}}, {5, 1, {0.25f, 0, 0, 1}}, {5, 3, {0.5f, 0, 0, 1}},
    };
    for (const auto& t : cases) {
        GLenum array = t.index == 2 ? GL_NORMAL_ARRAY : t.index == 4 ? GL_SECONDARY_COLOR_ARRAY : GL_FOG_COORD_ARRAY;
        pointer(t.index, t.size, GL_FLOAT, 0, values);
        glEnableClientState(array);
        std::string read = "!!VP1.0 MOV o[HPOS], v[0]; MOV o[TEX0], v[" + std::to_string(t.index) + "]; END";
        EXPECT_EQ(drawTexCoord(read, 1), t.second) << t.index << " of size " << t.size;
        glDisableClientState(array);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    for (GLuint i : {0u, 2u, 3u})  // a position of one component, the others of two
        EXPECT_EQ((pointer(i, i ? 2 : 1, GL_FLOAT, 0, values), glGetError()), GL_INVALID_VALUE);
}

}  // namespace
}  // namespace demo::vp
