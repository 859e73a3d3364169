// The parser's rules with the position of the first fault, and golden ARB
// translations.

#include "platform/vertex_program/arb_program_emitter.h"
#include "platform/vertex_program/vertex_program_parser.h"

#include <GL/glext.h>
#include <gtest/gtest.h>

#include <string>

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
        {"!!VP1.0 MOV o[HPOS], R12; END", 21}, {"!!VP1.0 MOV o[HPOS], c[96]; END", 23},
        {"!!VP1.0 MOV o[HPOS], c[A0.x + 64]; END", 28}, {"!!VP1.0 MOV o[HPOS], v[16]; END", 23},
        {"!!VP1.0 ADD o[HPOS], c[0], c[1]; END", 27},               // two c[]
        {"!!VP1.0 ADD o[HPOS], c[1], -c[1].x; END", -1},            // same c[] twice
        {"!!VP1.0 MAD o[HPOS], v[0], v[1], v[0]; END", 27},         // two v[]
        {"!!VP1.0 MOV o[HPOS], o[COL0]; END", 21},                   // o[] write-only
        {"!!VP1.0 MOV c[0], v[0]; END", 12},                         // c[] read-only
        {"!!VP1.0 MOV o[HPOS].yx, v[0]; END", 20},                   // mask order
        {"!!VP1.0 MOV o[HPOS], v[0].xy; END", 25},                   // 1 or 4 letters
        {"!!VP1.0 RCP o[HPOS], v[0]; END", 25},                      // scalar source
        {"!!VP1.0 EXP R0.z, c[2].w; LOG R1, R0.z; MOV o[HPOS], R1; END", -1},
        {"!!VP1.0 ARL A0.y, v[0].x; MOV o[HPOS], v[0]; END", 12},
        {"!!VP1.0 ARL A0.x, v[0].x MOV o[HPOS], v[0]; END", 25},
        {"!!VP1.0 MOV A0.x, v[0]; MOV o[HPOS], v[0]; END", 12},
        {"!!VP1.1 OPTION NV_position_invariant; MOV o[COL0], v[3]; END", -1},
        {"!!VP1.1 OPTION NV_position_invariant; MOV o[HPOS], v[0]; END", 44},
        {"!!VP1.1 OPTION NV_position_invariant; ARL A0.x, v[0].x; MOV R0, c[A0.x]; END", -1},
        {"!!VP1.1 OPTION NV_position_invariant; ARL A0.x, v[0].x; MOV o[COL0], c[A0.x - 1]; END", 76},
        {"!!VP1.0 OPTION NV_position_invariant; MOV o[HPOS], v[0]; END", 8},
        {"!!VSP1.0 MUL c[4], v[0], c[5]; END", -1},
        {"!!VSP1.0 MUL c[4], v[1], c[5]; END", 21},                  // only v[0]
        {"!!VSP1.0 MOV o[HPOS], v[0]; END", 13},
    };
    for (const auto& [text, position] : cases) {
        ParseResult result = parseVertexProgram(text);
        EXPECT_EQ(result.errorPosition, position) << text << ": " << result.message;
    }
    std::string many = "!!VP1.0\n";
    for (int i = 0; i < 128; ++i) many += "MOV o[HPOS], v[0];\n";
    EXPECT_TRUE(parseVertexProgram(many + "END").ok());
    EXPECT_EQ(parseVertexProgram(many + "MOV o[HPOS], v[0];\nEND").errorPosition, 8 + 128 * 19);
    // The driver's position transform takes four of a position-invariant program's.
    many = "!!VP1.1 OPTION NV_position_invariant;\n";
    for (int i = 0; i < 124; ++i) many += "MOV o[COL0], v[3];\n";
    EXPECT_TRUE(parseVertexProgram(many + "END").ok());
    EXPECT_EQ(parseVertexProgram(many + "MOV R0, v[0];\nEND").errorPosition, 38 + 124 * 19);
}

TEST(ArbProgramEmitter, GoldenTranslations) {
    Tracking tracking{};
    tracking[1] = {GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV, 0};
    tracking[3] = {GL_MODELVIEW, GL_INVERSE_TRANSPOSE_NV, 0};
    const std::pair<const char*, const char*> cases[] = {  // VP source, ARB text
        {"!!VP1.0\nDP4 o[HPOS].x, c[4], v[OPOS];\nDP4 o[HPOS].yzw, c[5], v[0];\n"
         "ARL A0.x, v[TEX0].x;\nADD R1.xy, R1.yxzw, c[A0.x + 12];\nMOV o[COL0].xy, R1;\n"
         "MOV o[TEX1], -v[9];\nMOV o[FOGC].x, v[5].w;\nEND\n#var float4 main.pos\n",
         "!!ARBvp1.0\n"
         "PARAM c[96] = { program.env[0..3], state.matrix.mvp.row[0..3], program.env[8..11], "
         "state.matrix.modelview.invtrans.row[0..3], program.env[16..95] };\n"
         "TEMP R1;\nADDRESS A0;\nPARAM init = { 0, 0, 0, 1 };\nMOV R1, init.x;\n"
         "MOV result.color.primary, init;\nMOV result.color.secondary, init;\n"
         "MOV result.fogcoord, init;\nMOV result.texcoord[0], init;\n"
         "MOV result.texcoord[2], init;\nMOV result.texcoord[3], init;\n"
         "MOV result.texcoord[4], init;\nMOV result.texcoord[5], init;\n"
         "MOV result.texcoord[6], init;\nMOV result.texcoord[7], init;\n"
         "DP4 result.position.x, c[4], vertex.position;\n"
         "DP4 result.position.yzw, c[5], vertex.position;\n"
         "ARL A0.x, vertex.texcoord[0].x;\nADD R1.xy, R1.yxzw, c[A0.x + 12];\n"
         "MOV result.color.primary.xy, R1;\nMOV result.texcoord[1], -vertex.texcoord[1];\n"
         "MOV result.fogcoord.x, vertex.fogcoord.w;\nEND\n"},
        {"!!VP1.1 OPTION NV_position_invariant;\nABS R0.y, v[3].z; MOV o[COL0], R0;\n"
         "MOV o[COL1], v[4]; MOV o[BFC0], v[6]; MOV o[PSIZ], v[1];"
         "MOV o[TEX0], v[8]; MOV o[TEX7], v[15]; MOV o[FOGC], v[7];\nEND",
         "!!ARBvp1.0\nOPTION ARB_position_invariant;\nTEMP R0;\n"
         "PARAM init = { 0, 0, 0, 1 };\nMOV R0, init.x;\nMOV result.texcoord[1], init;\n"
         "MOV result.texcoord[2], init;\nMOV result.texcoord[3], init;\n"
         "MOV result.texcoord[4], init;\nMOV result.texcoord[5], init;\n"
         "MOV result.texcoord[6], init;\n"
         "ABS R0.y, vertex.color.primary.z;\nMOV result.color.primary, R0;\n"
         "MOV result.color.secondary, vertex.color.secondary;\n"
         "MOV result.color.back.primary, vertex.attrib[6];\n"
         "MOV result.pointsize, vertex.attrib[1];\n"
         "MOV result.texcoord[0], vertex.texcoord[0];\n"
         "MOV result.texcoord[7], vertex.texcoord[7];\n"
         "MOV result.fogcoord, vertex.attrib[7];\nEND\n"},
    };
    for (const auto& [source, arb] : cases) {
        ParseResult r = parseVertexProgram(source);
        ASSERT_TRUE(r.ok()) << r.message;
        EXPECT_EQ(emitArbProgram(r.program, tracking), arb);
    }
}

}  // namespace
}  // namespace demo::vp
