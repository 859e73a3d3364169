// The parser's rules with the position of the first fault.

#include "platform/vertex_program/vertex_program_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace demo::vp {
namespace {

TEST(VertexProgramParser, ReportsTheFirstFaultOrAccepts) {
    const std::pair<const char*, int> cases[] = {  // the text, the error position or -1
        {"!!VP1.0 MOV o[HPOS], v[OPOS]; END", -1},
        {"!!VP1.0\n# comment\nMOV o[HPOS], c[A0.x - 64].xyzw; END tail ignored", -1},
        {" !!VP1.0 MOV o[HPOS], v[0]; END", 0},                     // header first
        {"!!VP1.0 MOV o[HPOS], v[0];", 26},                         // no END
        {"!!VP1.0 MOV o[COL0], v[3]; END #", 32},                   // HPOS: at the length
        {"!!VP1.0 FOO o[HPOS], v[0]; END", 8},
        {"!!VP1.0 DPH o[HPOS], v[0], v[0]; END", 8},                // 1.1 opcode
        {"!!VP1.1 DPH o[HPOS], v[0], c[1]; SUB R0, -R1, + R2.xxyy; END", -1},
        {"!!VP1.0 MOV o[HPOS], +v[0]; END", 21},                     // '+' needs 1.1
        {"!!VP1.0 MOV o[HPOS], R12; END", 21}, {"!!VP1.0 MOV o[HPOS], v[16]; END", 23},
        {"!!VP1.0 MOV o[HPOS], c[A0.x + 64]; END", 28},  // c[96]: the layer's test
        {"!!VP1.0 ADD o[HPOS], c[0], c[1]; END", 27},               // two c[]
        {"!!VP1.0 ADD o[HPOS], c[1], -c[1].x; END", -1},            // same c[] twice
        {"!!VP1.0 MAD o[HPOS], v[0], v[1], v[0]; END", 27},         // two v[]
        {"!!VP1.0 MOV o[HPOS], o[COL0]; END", 21},                   // o[] write-only
        {"!!VP1.0 MOV c[0], v[0]; END", 12},                         // c[] read-only
        {"!!VP1.0 MOV o[HPOS].yx, v[0]; END", 20},                   // mask order
        {"!!VP1.0 MOV o[HPOS], v[0].xy; END", 25},                   // 1 or 4 letters
        {"!!VP1.0 RCP o[HPOS], v[0]; END", 25},                      // scalar source
        {"!!VP1.0 EXP R0.z, c[2].w; LOG R1, R0.z; MOV o[HPOS], R1; END", -1},
        {"!!VP1.0 ARL A0.y, v[0].x; MOV o[HPOS], v[0]; END", 12}, {"!!VP1.0 MOV A0.x, v[0]; END", 12},
        {"!!VP1.0 ARL A0.x, v[0].x MOV o[HPOS], v[0]; END", 25},
        {"!!VP1.1 OPTION NV_position_invariant; MOV o[COL0], v[3]; END", -1},
        {"!!VP1.1 OPTION NV_position_invariant; MOV o[HPOS], v[0]; END", 44},
        {"!!VP1.1 OPTION NV_position_invariant; ARL A0.x, v[0].x; MOV R0, c[A0.x]; END", -1},
        {"!!VP1.1 OPTION NV_position_invariant; ARL A0.x, v[0].x; MOV o[COL0], c[A0.x - 1]; END", 76},
        {"!!VP1.0 OPTION NV_position_invariant; MOV o[HPOS], v[0]; END", 8},
        {"!!VSP1.0 MUL c[4], v[0], c[5]; END", -1}, {"!!VSP1.0 MOV o[HPOS], v[0]; END", 13},
        {"!!VSP1.0 MUL c[4], v[1], c[5]; END", 21},                  // only v[0]
    };
    for (const auto& [text, position] : cases) {
        ParseResult result = parseVertexProgram(text);
        EXPECT_EQ(result.errorPosition, position) << text << ": " << result.message;
    }
    // 128 instructions; the driver's position transform takes four of a
    // position-invariant program's.
    for (auto [text, line, limit] :
         {std::tuple{std::string("!!VP1.0\n"), "MOV o[HPOS], v[0];\n", 128},
          std::tuple{std::string("!!VP1.1 OPTION NV_position_invariant;\n"), "MOV o[COL0], v[3];\n", 124}}) {
        for (int i = 0; i < limit; ++i) text += line;
        EXPECT_TRUE(parseVertexProgram(text + "END").ok()) << limit;
        EXPECT_EQ(parseVertexProgram(text + line + "END").errorPosition, int(text.size()));
    }
}

}  // namespace
}  // namespace demo::vp
