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
#include <cstring>
#include <string>
#include <vector>

#include "platform/gl_proc_address.h"
#include "platform/display.h"
#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"

namespace demo::vp {
namespace {

constexpr int kSize = 64;
using GetIntegerv = void (*)(GLenum, GLint*);

template <typename F>
F entry(const char* name) {
    return reinterpret_cast<F>(platform::getProcAddress(name));
}

class VertexProgramLayer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        platform::DisplayRequest request;
        request.width = kSize;
        request.height = kSize;
        platform::DisplayFailure failure{};
        display = platform::DisplaySystem::real().open(request, failure);
    }
    static void TearDownTestSuite() { delete display; }

    void SetUp() override {
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(display->makeCurrent());
        resetLayer();
        while (glGetError() != GL_NO_ERROR) {}
        load = entry<PFNGLLOADPROGRAMNVPROC>("glLoadProgramNV");
        bind = entry<PFNGLBINDPROGRAMNVPROC>("glBindProgramNV");
        parameter = entry<PFNGLPROGRAMPARAMETER4FNVPROC>("glProgramParameter4fNV");
        track = entry<PFNGLTRACKMATRIXNVPROC>("glTrackMatrixNV");
        getInteger = entry<GetIntegerv>("glGetIntegerv");
    }
    void TearDown() override { resetLayer(); }

    GLenum loadText(GLenum target, GLuint id, const std::string& text) {
        load(target, id, static_cast<GLsizei>(text.size()), reinterpret_cast<const GLubyte*>(text.data()));
        return glGetError();
    }
    GLint errorPosition() {
        GLint position = -2;
        getInteger(GL_PROGRAM_ERROR_POSITION_NV, &position);
        return position;
    }

public:
    static platform::Display* display;
    PFNGLLOADPROGRAMNVPROC load = nullptr;
    PFNGLBINDPROGRAMNVPROC bind = nullptr;
    PFNGLPROGRAMPARAMETER4FNVPROC parameter = nullptr;
    PFNGLTRACKMATRIXNVPROC track = nullptr;
    GetIntegerv getInteger = nullptr;
};

platform::Display* VertexProgramLayer::display = nullptr;

TEST_F(VertexProgramLayer, OffersTheExtensionWhereTheDriverLacksIt) {
    const char* driver = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_FALSE(listsVertexProgram(driver));
    std::string seen = platform::vertexProgramExtensions();
    EXPECT_EQ(seen, std::string(driver) + (std::string(driver).back() == ' ' ? "" : " ") +
                        "GL_NV_vertex_program GL_NV_vertex_program1_1 ");
    EXPECT_EQ(reinterpret_cast<void*>(load), reinterpret_cast<void*>(layerEntryPoint("glLoadProgramNV")));
    EXPECT_TRUE(listsVertexProgram("GL_A GL_NV_vertex_program GL_B"));
    EXPECT_FALSE(listsVertexProgram("GL_NV_vertex_program1_1 GL_NV_vertex_program2"));
}

TEST_F(VertexProgramLayer, DrawsWhatTheInterpreterComputes) {
    const std::string program = "!!VP1.0\n"
        "DP4 o[HPOS].x, c[0], v[OPOS];\nDP4 o[HPOS].y, c[1], v[OPOS];\n"
        "DP4 o[HPOS].z, c[2], v[OPOS];\nDP4 o[HPOS].w, c[3], v[OPOS];\n"
        "ARL A0.x, v[TEX0].x;\nMUL R0, v[COL0], c[A0.x + 8];\n"
        "DP3 R1.x, v[NRML], c[4];\nMAX R1.x, R1.x, c[5].x;\n"
        "MAD o[COL0].xyz, R0, R1.x, c[6];\nEND\n# text after the end\n";
    track(GL_VERTEX_PROGRAM_NV, 0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    bind(GL_VERTEX_PROGRAM_NV, 7);  // bound before it is loaded: the load takes effect at once
    ASSERT_EQ(loadText(GL_VERTEX_PROGRAM_NV, 7, program), GL_NO_ERROR) << lastLoadMessage();
    const float params[][4] = {{0, 0.6f, 0.8f, 0}, {0.2f, 0, 0, 0}, {0.1f, 0.05f, 0, 0},
                               {0, 0, 0, 0},       {1, 0.5f, 0.25f, 1}, {0.25f, 1, 0.5f, 1}};
    for (int i = 0; i < 6; ++i) parameter(GL_VERTEX_PROGRAM_NV, 4 + i, params[i][0], params[i][1], params[i][2], params[i][3]);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSize, 0, kSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(32, 32, 0);
    glRotatef(90, 0, 0, 1);
    glScalef(2, 2, 1);
    EXPECT_EQ(errorPosition(), -1);

    // Points land on pixel centres: window = (32 - 2y, 32 + 2x).
    constexpr int kPoints = 6;
    float positions[kPoints][3], colours[kPoints][4], normals[kPoints][3], selectors[kPoints][2];
    for (int i = 0; i < kPoints; ++i) {
        const float p[] = {0.25f + 3.0f * i - 8, 0.25f - 2.0f * i + 5, 0},
                    c[] = {0.2f * i, 1 - 0.15f * i, 0.5f, 1},
                    n[] = {0, std::cos(0.5f * i), std::sin(0.5f * i)}, s[] = {i % 2 + 0.5f, 0};
        std::copy(p, p + 3, positions[i]), std::copy(c, c + 4, colours[i]);
        std::copy(n, n + 3, normals[i]), std::copy(s, s + 2, selectors[i]);
    }
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY,
                             GL_TEXTURE_COORD_ARRAY};
    for (GLenum array : arrays) glEnableClientState(array);
    glVertexPointer(3, GL_FLOAT, 0, positions);
    glColorPointer(4, GL_FLOAT, 0, colours);
    glNormalPointer(GL_FLOAT, 0, normals);
    glTexCoordPointer(2, GL_FLOAT, 0, selectors);
    glEnable(GL_VERTEX_PROGRAM_NV);
    glDrawArrays(GL_POINTS, 0, kPoints);
    glDisable(GL_VERTEX_PROGRAM_NV);
    for (GLenum array : arrays) glDisableClientState(array);
    ASSERT_EQ(glGetError(), GL_NO_ERROR);

    // The oracle: the same program on the interpreter, with c[0..3] = P * MV.
    VertexMachine machine;
    float mv[16], proj[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, proj);
    for (int i = 0; i < 16; ++i) {  // row i / 4, column i % 4
        float& sum = machine.parameters[i / 4][i % 4] = 0;
        for (int k = 0; k < 4; ++k) sum += proj[k * 4 + i / 4] * mv[(i % 4) * 4 + k];
    }
    for (int i = 0; i < 6; ++i) std::copy(params[i], params[i] + 4, machine.parameters[4 + i].begin());
    ParseResult parsed = parseVertexProgram(program);
    for (int i = 0; i < kPoints; ++i) {
        machine.attributes[0] = {positions[i][0], positions[i][1], positions[i][2], 1};
        machine.attributes[2] = {normals[i][0], normals[i][1], normals[i][2], 1};
        machine.attributes[3] = {colours[i][0], colours[i][1], colours[i][2], colours[i][3]};
        machine.attributes[8] = {selectors[i][0], selectors[i][1], 0, 1};
        execute(parsed.program, machine);
        const Vec4& h = machine.outputs[kHPOS];
        int x = static_cast<int>(std::floor((h[0] / h[3] * 0.5f + 0.5f) * kSize));
        int y = static_cast<int>(std::floor((h[1] / h[3] * 0.5f + 0.5f) * kSize));
        ASSERT_TRUE(x >= 0 && x < kSize && y >= 0 && y < kSize) << i;
        unsigned char rgba[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(rgba[k], std::clamp(machine.outputs[kCOL0][k], 0.0f, 1.0f) * 255, 2.0)
                << i << " " << k;
    }
    unsigned char corner[4] = {9, 9, 9, 9};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(corner[0] + corner[1] + corner[2] + corner[3], 0);
}

TEST_F(VertexProgramLayer, ErrorsAndQueries) {
    const std::string good = "!!VP1.0 MOV o[HPOS], v[0]; END";
    EXPECT_EQ(loadText(GL_VERTEX_PROGRAM_NV, 1, "!!VP1.0 MOV o[HPOS], c[96]; END"), GL_INVALID_OPERATION);
    EXPECT_EQ(errorPosition(), 23);
    EXPECT_EQ(loadText(GL_VERTEX_PROGRAM_NV, 1, good), GL_NO_ERROR);
    EXPECT_EQ(errorPosition(), -1);
    EXPECT_EQ(loadText(GL_VERTEX_STATE_PROGRAM_NV, 2, good), GL_INVALID_OPERATION);  // header
    EXPECT_EQ(loadText(GL_VERTEX_STATE_PROGRAM_NV, 1, "!!VSP1.0 MOV c[1], v[0]; END"),
              GL_INVALID_OPERATION);  // the name is a vertex program's
    EXPECT_EQ(loadText(GL_TEXTURE_2D, 3, good), GL_INVALID_ENUM);
    EXPECT_EQ(loadText(GL_VERTEX_PROGRAM_NV, 0, good), GL_INVALID_VALUE);

    track(GL_VERTEX_PROGRAM_NV, 8, GL_MODELVIEW, GL_INVERSE_NV);
    EXPECT_EQ(glGetError(), GL_NO_ERROR);
    const struct {
        void (*call)(VertexProgramLayer&);
        GLenum error;
    } calls[] = {
        {[](VertexProgramLayer& t) { t.parameter(GL_VERTEX_PROGRAM_NV, 96, 1, 2, 3, 4); }, GL_INVALID_VALUE},
        {[](VertexProgramLayer& t) { t.parameter(GL_VERTEX_PROGRAM_NV, 10, 1, 2, 3, 4); }, GL_INVALID_OPERATION},
        {[](VertexProgramLayer& t) { t.parameter(GL_VERTEX_STATE_PROGRAM_NV, 0, 1, 2, 3, 4); }, GL_INVALID_ENUM},
        {[](VertexProgramLayer& t) { t.track(GL_VERTEX_PROGRAM_NV, 6, GL_MODELVIEW, GL_IDENTITY_NV); }, GL_INVALID_VALUE},
        {[](VertexProgramLayer& t) { t.track(GL_VERTEX_PROGRAM_NV, 96, GL_MODELVIEW, GL_IDENTITY_NV); }, GL_INVALID_VALUE},
        {[](VertexProgramLayer& t) { t.track(GL_VERTEX_PROGRAM_NV, 4, GL_COLOR, GL_IDENTITY_NV); }, GL_INVALID_ENUM},
    };
    for (const auto& c : calls) {
        c.call(*this);
        EXPECT_EQ(glGetError(), c.error) << &c - calls;
    }

    // Tracked rows read back as the current inverse modelview.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    auto getParameter = entry<PFNGLGETPROGRAMPARAMETERFVNVPROC>("glGetProgramParameterfvNV");
    float row[4] = {};
    getParameter(GL_VERTEX_PROGRAM_NV, 9, GL_PROGRAM_PARAMETER_NV, row);
    EXPECT_EQ(std::vector<float>(row, row + 4), (std::vector<float>{0, 1, 0, -2}));
    glLoadIdentity();
}

TEST_F(VertexProgramLayer, StateProgramsAndAttributes) {
    ASSERT_EQ(loadText(GL_VERTEX_STATE_PROGRAM_NV, 4, "!!VSP1.0 MAD c[20], v[0], c[21], c[21].w; END"),
              GL_NO_ERROR);
    parameter(GL_VERTEX_PROGRAM_NV, 21, 2, 3, 4, 10);
    auto execute = entry<PFNGLEXECUTEPROGRAMNVPROC>("glExecuteProgramNV");
    const float v[4] = {1, 2, 3, 4};
    execute(GL_VERTEX_STATE_PROGRAM_NV, 4, v);
    execute(GL_VERTEX_STATE_PROGRAM_NV, 5, v);
    EXPECT_EQ(glGetError(), GL_INVALID_OPERATION);
    float result[4] = {};
    entry<PFNGLGETPROGRAMPARAMETERFVNVPROC>("glGetProgramParameterfvNV")(GL_VERTEX_PROGRAM_NV, 20,
                                                                        GL_PROGRAM_PARAMETER_NV, result);
    EXPECT_TRUE(result[0] == 12 && result[3] == 50);
    bind(GL_VERTEX_PROGRAM_NV, 4);  // a state program cannot be bound
    EXPECT_EQ(glGetError(), GL_INVALID_OPERATION);

    entry<PFNGLVERTEXATTRIB4FNVPROC>("glVertexAttrib4fNV")(3, 0.25f, 0.5f, 0.75f, 1);
    entry<PFNGLVERTEXATTRIB2SNVPROC>("glVertexAttrib2sNV")(9, 7, 8);
    float colour[4] = {}, texture[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glActiveTexture(GL_TEXTURE1);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texture);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_TRUE(colour[2] == 0.75f && texture[0] == 7 && texture[3] == 1);
    EXPECT_EQ(glGetError(), GL_NO_ERROR);
}

}  // namespace
}  // namespace demo::vp
