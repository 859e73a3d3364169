// slc: programs run on the vertex-program interpreter against values worked
// out beforehand, and every limit. The command line compiles,
// and reports errors in its listing, in the whole road of a vertex program.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/slc_object_rows.h"
#include "tools/slc/compiler.h"

namespace demo::slc {
namespace {

using vp::Vec4;

// Runs a compiled program: uniforms by name at the registers of its bind
// lines, literals from its const lines, inputs by attribute register.
auto run(const Compilation& c, const test::Uniforms& uniforms, const std::map<int, Vec4>& inputs) {
    vp::ParseResult parsed = vp::parseVertexProgram(c.object);
    EXPECT_TRUE(parsed.ok()) << parsed.message << "\n" << c.listing << c.object;
    vp::VertexMachine m;
    for (const auto& [reg, row] : test::slcObjectRows(c.object, uniforms)) m.parameters[reg] = row;
    for (const auto& [reg, v] : inputs) m.attributes[reg] = v;
    vp::execute(parsed.program, m);
    return m.outputs;
}

void expectNear(const Vec4& got, const Vec4& want, const std::string& what) {
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got[i], want[i], 2e-4f * (1 + std::fabs(want[i]))) << what << "[" << i << "]";
}

const std::string kHead = "void main(float4 p : POSITION, out float4 o : POSITION";

// Every function in one program.
TEST(Slc, OneProgramOfEveryFunction) {
    Compilation c = compile(R"(
void main(float4 pos : POSITION, float3 nrm : NORMAL, float2 uv : TEXCOORD0,
          uniform float4x4 M, uniform float3x3 R, uniform half4 k,
          out float4 oPos : HPOS, out float4 oTex : TEXCOORD0, out float4 oCol : COLOR1,
          out float oFog : FOG, out float4 oBack : BCOL0) {
    oPos = mul(pos, M);
    oPos.xy += M[1].zw * -2;
    float3 a = mul(R, nrm) / k.y;
    a.zx *= float2(rsqrt(k.z), rcp(k.w));
    oTex.xyz = cross(a, nrm) - lerp(a, nrm.zyx, 0.25);
    oTex.w = length(a) + sqrt(k.z);
    oCol = lit(a.x, a.y, k.z) + dst(k, pos);
    oFog = saturate(a.z - 1.5) + abs(-a.x) * min(k.x, 3.0) + distance(a, nrm);
    oCol.xz += clamp(a.xz, -0.5, k.w) + step(k.xy, 1.75);
    oPos.xyz -= reflect(a, nrm);
    nrm.y = 7;
    oBack = float4(nrm, uv.y / 2);
}
)", "all.vp", "main");
    auto out = run(c, {{"M", {{1, 2, 0, 0.5f}, {0, 1, -1, 2}, {0.5f, 0, 3, -1}, {0, 0, 0.25f, 1}}},
                       {"R", {{0.5f, 1, 0}, {0, 2, 1}, {1, 0, -1}}}, {"k", {{1.5f, 2, 4, 0.5f}}}},
                   {{0, {0.5f, -1, 2, 1}}, {2, {0.3f, 0.4f, 1.2f, 0}}, {8, {0.25f, 0.75f, 0, 1}}});
    // The same math worked out in floats: a = (0.55, 1, -0.225).
    expectNear(out[vp::kHPOS], {3.127f, -4.764f, 8.183f, -2.75f}, "position");
    expectNear(out[vp::kTEX0], {0.5775f, -1.5775f, 0.01375f, 3.163239f}, "texcoord");
    expectNear(out[vp::kCOL1], {3.5f, -1.45f, 4.775f, 2}, "colour");
    expectNear(out[vp::kFOGC], {2.3912456f, 0, 0, 1}, "fog");
    expectNear(out[vp::kBFC0], {0.3f, 7, 1.2f, 0.375f}, "back colour");
}

// One statement at a time against values worked out by hand. Inputs read
// their conventional registers and the array k takes consecutive rows. LIT,
// DST, the dot products and the reciprocals mix or pick their source
// components, so a reordered write mask must move their results, not reorder
// their sources.
TEST(Slc, StatementsGiveHandWorkedValues) {
    std::string head = kHead + ", uniform float4 k[3], float w : BLENDWEIGHT, float s : PSIZE,"
        " float t : TESSFACTOR0, float4 i : BLENDINDICES, float3 g : TANGENT, float3 b : BINORMAL";
    // The instruction counts are the fewest the compiler has reached: they must not grow.
    const std::tuple<std::string, Vec4, Vec4, int> cases[] = {  // statement, p, o, instructions
        {"o = p*w + k[2]*s + i*t + k[0] + float4(g, b.y);", {1, 2, 3, 1}, {4.25f, 9.5f, 10, 15}, 9},
        {"o.yxzw = dst(p, p);", {2, 3, 5, 7}, {9, 1, 5, 7}, 2},
        {"o.wzyx = lit(p.x, p.y, p.z);", {0.5f, 2, 3, 7}, {1, 8, 0.5f, 1}, 5},
        {"o.wzyx = rsqrt(p);", {4, 16, 0.25f, 1}, {1, 2, 0.25f, 0.5f}, 4},
        {"o.zwxy = float4(dot(p.xyz, p.xyz), dot(p, p), rcp(p.x), length(p.xy));", {2, 3, 5, 7},
         {0.5f, std::sqrt(13.0f), 38, 87}, 7},
        // Ten temporaries held: the copies of a second c[] leave room for the rest.
        {"float4 a0 = p, a1 = p, a2 = p, a3 = p, a4 = p, a5 = p, a6 = p, a7 = p, a8 = p, a9 = p;"
         "o = float4(cross(k[0].xyz, float3(1, 2, 3)), a9.w);", {1, 2, 3, 1}, {0, -3, 2, 1}, 15},
        // An input given a value that reads it beside other inputs is copied once.
        {"w = (w + s) * w + t; o = p * w;", {1, 2, 3, 1}, {10.5f, 21, 31.5f, 10.5f}, 4},
    };
    for (const auto& [statement, p, o, instructions] : cases) {
        Compilation c = compile(head + ") {\n" + statement + "\n}", "m.vp", "main");
        EXPECT_NE(c.object.find("#var float4 main.k[3]\n"), std::string::npos) << c.listing;
        auto out = run(c, {{"k", {{1, 0, 0, 0}, {9, 9, 9, 9}, {0, 1, 0, 2}}}},
                       {{0, p}, {1, {2}}, {5, {0.5f}}, {6, {3}}, {7, {0.5f, 1, 2, 4}},
                        {14, {1, 2, 3, 0}}, {15, {0, 5, 0, 0}}});
        expectNear(out[vp::kHPOS], o, statement);
        EXPECT_NE(c.listing.find("'main': " + std::to_string(instructions) + " instructions"), std::string::npos) << c.listing;
    }
}

TEST(Slc, ReportsLimitsAndFaultsWithTheirLine) {
    auto body = [&](const std::string& text) { return kHead + ") {\n" + text + "\n}"; };
    std::string uniforms, temps, sum = "p.w", vectors, many;
    for (int i = 0; i < 129; ++i) many += "o = p * p.x;\n";
    for (int i = 0; i < 24; ++i) uniforms += ", uniform float4x4 m" + std::to_string(i);
    for (int i = 0; i < 13; ++i) {  // all live at once when the last is set
        temps += "float4 t" + std::to_string(i) + " = p * " + std::to_string(i) + ";\n";
        sum += " + t" + std::to_string(i);
    }
    for (int i = 0; i < 5; ++i) vectors += "o = float4(" + std::to_string(i) + ".5, 1, 2, 3);\n";
    const std::tuple<std::string, int, std::string> cases[] = {  // source, line, error
        {body(many), 130, "the program needs more than 128 instructions"},
        {body(temps + "o = " + sum + ";"), 14, "the program needs more than 12 temporary registers"},
        {kHead + uniforms + ", uniform float4 u) {\no = p;\n}",
         1, "uniforms need more than 96 constant registers"},
        {kHead + uniforms.substr(0, uniforms.rfind(',')) + ") {\n" + vectors + "}",
         6, "the program needs more than 96 constant registers"},
        {body("o = p;\no = float4(1e39, 2.0, 3.0, 1.0);"), 3, "a literal out of the float range"},
        {body("o = p * -1e39;"), 2, "a literal out of the float range"},
        {body("if (p.x) o = p;"), 2, "'if': the target has no control flow"},
        {body("o = p.xyzq;"), 2, "bad swizzle '.xyzq'"},
        {body("o.xx = p.xy;"), 2, "a write mask names a component twice"},
        {body("o = p + p.xy;"), 2, "'+' of a 4-vector and a 2-vector"},
        {kHead + ", uniform float4 u) {\nu = p;\no = p;\n}", 2, "uniform 'u' is read-only"},
        {body("o = p.xy;"), 2, "cannot assign a 2-vector to a 4-vector"},
        {kHead + ", float4 q : WHATEVER) {\no = p;\n}", 1, "'WHATEVER' is not an input semantic"},
        {kHead + ", uniform float4 k[2]) {\no = k[2];\n}", 2, "index out of range"},
        {"void main(out float c : FOG) {c = 1;}", 1, "the program never writes a POSITION output"},
        {body("o = p;\n}\nvoid other() {"), 4, "only the entry function 'main' is supported"},
        {body("o = " + std::string(200, '(') + "p;"), 2, "nesting too deep"},
        {kHead + ") {\no = p", 2, "expected ';' before the end of the source"},
    };
    for (const auto& [source, line, error] : cases)
        EXPECT_EQ(compile(source, "t.vp", "main").listing,
                  "t.vp(" + std::to_string(line) + ") : error: " + error + "\n");
}

// The exit codes the runtime's own road does not reach: 2 for a profile
// other than vp20, 1 for a missing source. (That road compiles, and fails
// to compile, through this program with its listing file.) An expression too
// deep for the compiler's recursion is refused in the listing, not by a crash.
TEST(Slc, CommandLineExitCodes) {
    std::filesystem::path tool = test::buildDir() / "tools" / "slc", dir = test::freshScratchDir("slc");
    auto run = [&](const std::string& source, const std::string& profile) {
        std::string command = "cd \"" + dir.string() + "\" && \"" + tool.string() + "\" " + source +
                              " -o out.o -l out.lst -entry main -q -profile " + profile;
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("missing.vp", "fp30"), 2);
    EXPECT_EQ(run("missing.vp", "vp20"), 1);
    for (std::string link : {" + p", " * p", ".x", "[0]"}) {
        std::string chain;
        for (int i = 0; i < 40000; ++i) chain += link;
        std::ofstream(dir / "long.vp") << kHead << ") {\no = p.x" << chain << ";\n}\n";
        EXPECT_EQ(run("long.vp", "vp20"), 1) << link;
        std::string listing;
        std::getline(std::ifstream(dir / "out.lst"), listing);
        EXPECT_EQ(listing, "long.vp(2) : error: expression too deep") << link;
    }
}

}  // namespace
}  // namespace demo::slc
