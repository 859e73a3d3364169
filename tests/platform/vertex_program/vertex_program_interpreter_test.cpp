// The interpreter against results worked out by hand: every opcode, the
// initial register values and relative addressing (state programs run
// through the layer's tests).

#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace demo::vp {
namespace {

// Runs "!!VP1.1 <body> MOV o[HPOS], v[0]; END" with v[3] = (1, -2, 3, 4),
// c[1] = (2, 0.5, -1, 0.25) and c[2] = (0.5, 4, -2, 8); gives o[COL0].
Vec4 run(const std::string& body) {
    ParseResult r = parseVertexProgram("!!VP1.1 " + body + " MOV o[HPOS], v[0]; END");
    EXPECT_TRUE(r.ok()) << body << ": " << r.message;
    VertexMachine m;
    m.attributes[3] = {1, -2, 3, 4};
    m.parameters[1] = {2, 0.5f, -1, 0.25f};
    m.parameters[2] = {0.5f, 4, -2, 8};
    execute(r.program, m);
    return m.outputs[kCOL0];
}

TEST(VertexProgramInterpreter, Opcodes) {
    const std::pair<const char*, Vec4> cases[] = {  // the body, then o[COL0]
        {"", {0, 0, 0, 1}},  // results start at (0,0,0,1)
        {"MOV o[COL0].yw, R5;", {0, 0, 0, 0}},  // temporaries at zero
        {"MUL o[COL0], v[3], c[1];", {2, -1, -3, 1}},
        {"ADD o[COL0], v[3], -c[1].wzyx;", {0.75f, -1, 2.5f, 2}},
        {"MAD o[COL0], v[3], c[1], v[3];", {3, -3, 0, 5}},
        {"SUB o[COL0].xz, v[3], c[1];", {-1, 0, 4, 1}},
        {"DP3 o[COL0], v[3], c[1];", {-2, -2, -2, -2}},
        {"DP4 o[COL0], v[3], c[1];", {-1, -1, -1, -1}},
        {"DPH o[COL0], v[3], c[1];", {-1.75f, -1.75f, -1.75f, -1.75f}},
        {"DST o[COL0], v[3], c[1];", {1, -1, 3, 0.25f}},
        {"MIN o[COL0], v[3], c[1];", {1, -2, -1, 0.25f}},
        {"MAX o[COL0], v[3], c[1];", {2, 0.5f, 3, 4}}, {"SLT o[COL0], v[3], c[1];", {1, 1, 0, 0}},
        {"SGE o[COL0], v[3], c[1].xxzz;", {0, 0, 1, 1}}, {"ABS o[COL0], v[3];", {1, 2, 3, 4}},
        {"RCP o[COL0], c[1].w;", {4, 4, 4, 4}}, {"RSQ o[COL0], c[2].y;", {0.5f, 0.5f, 0.5f, 0.5f}},
        {"RSQ o[COL0], -c[2].y;", {0.5f, 0.5f, 0.5f, 0.5f}},  // of the magnitude
        {"EXP o[COL0], c[2].z;", {0.25f, 0, 0.25f, 1}}, {"LOG o[COL0], c[2].w;", {3, 1, 3, 1}},
        {"LIT o[COL0], c[2].yxzy;", {1, 4, 0.0625f, 1}},   // 0.5^4
        {"LIT o[COL0], -c[2].yxzy;", {1, 0, 0, 1}},          // x <= 0: no specular
        {"ARL A0.x, v[3].w; MOV o[COL0], c[A0.x - 3];", {2, 0.5f, -1, 0.25f}},
        {"ARL A0.x, c[2].x; MOV o[COL0], c[A0.x + 2];", {0.5f, 4, -2, 8}},  // floor(0.5)
        {"ARL A0.x, v[3].y; MOV o[COL0], c[A0.x];", {0, 0, 0, 0}},          // before c[0]
        {"RCC o[COL0], R5.x;", {0x1p64f, 0x1p64f, 0x1p64f, 0x1p64f}},
        {"RCC o[COL0].xy, -c[1].w;", {-4, -4, 0, 1}},  // clamped only near 0 and infinity
    };
    for (const auto& [body, expected] : cases) {
        Vec4 got = run(body);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], expected[i], 1e-5f) << body << " " << i;
    }
}

}  // namespace
}  // namespace demo::vp
