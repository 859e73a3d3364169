// slc: programs run on the vertex-program interpreter
// against the same math in C++, and every limit. The command line compiles,
// and reports errors in its listing, in the whole road of a vertex program.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"
#include "tests/support/scratch_dir.h"
#include "tools/slc/compiler.h"

namespace demo::slc {
namespace {

using vp::Vec4;

// Runs a compiled program: uniforms by name at the registers of its bind
// lines, literals from its const lines, inputs by attribute register.
auto run(const Compilation& c, const std::map<std::string, std::vector<Vec4>>& uniforms,
         const std::map<int, Vec4>& inputs) {
    vp::ParseResult parsed = vp::parseVertexProgram(c.object);
    EXPECT_TRUE(parsed.ok()) << parsed.message << "\n" << c.object;
    vp::VertexMachine m;
    std::istringstream lines(c.object);
    for (std::string line; std::getline(lines, line);) {
        char name[64];
        int reg = 0;
        Vec4 v{};
        if (std::sscanf(line.c_str(), "#pragma bind main.%63s = c %d", name, &reg) == 2) {
            const auto& rows = uniforms.at(name);
            std::copy(rows.begin(), rows.end(), m.parameters.begin() + reg);
        } else if (std::sscanf(line.c_str(), "#const c[%d] = %f %f %f %f", &reg, &v[0], &v[1],
                               &v[2], &v[3]) == 5) {
            m.parameters[reg] = v;
        }
    }
    for (const auto& [reg, v] : inputs) m.attributes[reg] = v;
    vp::execute(parsed.program, m);
    return m.outputs;
}

void expectNear(const Vec4& got, const Vec4& want, const std::string& what) {
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(got[i], want[i], 2e-4f * (1 + std::fabs(want[i]))) << what << "[" << i << "]";
}

float dot3(const float* x, const float* y) { return x[0] * y[0] + x[1] * y[1] + x[2] * y[2]; }

TEST(Slc, ProgramsComputeWhatCppComputes) {
    const std::vector<Vec4> m{{1, 2, 0, 0.5f}, {0, 1, -1, 2}, {0.5f, 0, 3, -1}, {0, 0, 0.25f, 1}};
    const Vec4 p{0.5f, -1, 2, 1}, n{0.3f, 0.4f, 1.2f, 0};
    const char* kEverything = R"(
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
)";
    Compilation c = compile(kEverything, "all.vp", "main");
    ASSERT_TRUE(c.ok) << c.listing;
    const std::vector<Vec4> r = {{0.5f, 1, 0, 0}, {0, 2, 1, 0}, {1, 0, -1, 0}};
    const Vec4 k{1.5f, 2, 4, 0.5f}, uv{0.25f, 0.75f, 0, 1};
    auto out = run(c, {{"M", m}, {"R", r}, {"k", {k}}}, {{0, p}, {2, n}, {8, uv}});
    Vec4 pos{};
    for (int i = 0; i < 16; ++i) pos[i % 4] += p[i / 4] * m[i / 4][i % 4];
    pos[0] -= 2 * m[1][2], pos[1] -= 2 * m[1][3];
    float a[3], d[3];
    for (int i = 0; i < 3; ++i) a[i] = dot3(r[i].data(), n.data()) / k[1];
    a[2] *= 1 / std::sqrt(k[2]), a[0] *= 1 / k[3];
    for (int i = 0; i < 3; ++i) d[i] = a[i] - n[i];
    float cr[3] = {a[1] * n[2] - a[2] * n[1], a[2] * n[0] - a[0] * n[2], a[0] * n[1] - a[1] * n[0]};
    Vec4 tex{};
    for (int i = 0; i < 3; ++i) tex[i] = cr[i] - (a[i] + 0.25f * (n[2 - i] - a[i]));
    tex[3] = std::sqrt(dot3(a, a)) + std::sqrt(k[2]);
    float specular = a[0] > 0 ? std::pow(std::max(a[1], 0.0f), k[2]) : 0;
    Vec4 col{1 + 1, std::max(a[0], 0.0f) + k[1] * p[1], specular + k[2], 1 + p[3]};
    float fog = std::clamp(a[2] - 1.5f, 0.0f, 1.0f) + std::fabs(a[0]) * std::min(k[0], 3.0f) +
                std::sqrt(dot3(d, d));
    col[0] += std::clamp(a[0], -0.5f, k[3]) + (1.75f >= k[0]);
    col[2] += std::clamp(a[2], -0.5f, k[3]) + (1.75f >= k[1]);
    for (int i = 0; i < 3; ++i) pos[i] -= a[i] - 2 * dot3(a, n.data()) * n[i];
    expectNear(out[vp::kHPOS], pos, "position");
    expectNear(out[vp::kTEX0], tex, "texcoord");
    expectNear(out[vp::kCOL1], col, "colour");
    expectNear(out[vp::kFOGC], {fog, 0, 0, 1}, "fog");
    expectNear(out[vp::kBFC0], {n[0], 7, n[2], uv[1] / 2}, "back colour");
}

// Inputs read their conventional registers; an array takes consecutive rows.
TEST(Slc, ConventionalInputRegistersAndUniformArrays) {
    Compilation c = compile(R"(void main(float4 p : POSITION, float w : BLENDWEIGHT,
      float s : PSIZE, float4 i : BLENDINDICES, float t : TESSFACTOR0, float3 g : TANGENT,
      float3 b : BINORMAL, uniform float4 k[3], out float4 o : POSITION) {
    o = p * w + k[2] * s + i * t + k[0] + float4(g, b.y);
})", "s.vp", "main");
    ASSERT_NE(c.object.find("#var float4 main.k[3]\n"), std::string::npos) << c.listing;
    const Vec4 p{1, 2, 3, 1}, i{0.5f, 1, 2, 4}, g{1, 2, 3, 0}, b{0, 5, 0, 0};
    auto out = run(c, {{"k", {{1, 0, 0, 0}, {9, 9, 9, 9}, {0, 1, 0, 2}}}},
                   {{0, p}, {1, {2}}, {6, {3}}, {7, i}, {5, {0.5f}}, {14, g}, {15, b}});
    expectNear(out[vp::kHPOS], {4.25f, 9.5f, 10, 15}, "position");
}

TEST(Slc, ReportsLimitsAndFaultsWithTheirLine) {
    const std::string head = "void main(float4 p : POSITION, out float4 o : POSITION";
    auto body = [&](const std::string& text) { return head + ") {\n" + text + "\n}"; };
    const std::string deep = std::string(200, '(') + "p" + std::string(200, ')');
    std::string uniforms, temps, vectors, many;
    for (int i = 0; i < 129; ++i) many += "o = p * p.x;\n";
    for (int i = 0; i < 24; ++i) uniforms += ", uniform float4x4 m" + std::to_string(i);
    for (int i = 0; i < 13; ++i) temps += "float t" + std::to_string(i) + " = p.x;\n";
    for (int i = 0; i < 5; ++i) vectors += "o = float4(" + std::to_string(i) + ".5, 1, 2, 3);\n";
    const std::tuple<std::string, int, std::string> cases[] = {  // source, line, error
        {body(many), 130, "the program needs more than 128 instructions"},
        {body(temps + "o = p;"), 14, "the program needs more than 12 temporary registers"},
        {head + uniforms + ", uniform float4 u) {\no = p;\n}",
         1, "uniforms need more than 96 constant registers"},
        {head + uniforms.substr(0, uniforms.rfind(',')) + ") {\n" + vectors + "}",
         6, "the program needs more than 96 constant registers"},
        {body("o = p;\no = float4(1e39, 2.0, 3.0, 1.0);"), 3, "a literal out of the float range"},
        {body("o = p * -1e39;"), 2, "a literal out of the float range"},
        {body("if (p.x) o = p;"), 2, "'if': the target has no control flow"},
        {body("o = q;"), 2, "'q' is not declared"},
        {body("o = p.xyzq;"), 2, "bad swizzle '.xyzq'"},
        {body("o.xx = p.xy;"), 2, "a write mask names a component twice"},
        {body("o = p + p.xy;"), 2, "'+' of a 4-vector and a 2-vector"},
        {head + ", uniform float4 u) {\nu = p;\no = p;\n}", 2, "uniform 'u' is read-only"},
        {body("o = p.xy;"), 2, "cannot assign a 2-vector to a 4-vector"},
        {head + ", float4 q : WHATEVER) {\no = p;\n}", 1, "'WHATEVER' is not an input semantic"},
        {head + ", uniform float4 k[2]) {\no = k[2];\n}", 2, "index out of range"},
        {"void main(float4 p : POSITION, out float4 c : COLOR0) {\nc = p;\n}",
         1, "the program never writes a POSITION output"},
        {body("o = p;\n}\nvoid other() {"), 4, "only the entry function 'main' is supported"},
        {body("o = " + deep + ";"), 2, "nesting too deep"},
        {head + ") {\no = p", 2, "expected ';' before the end of the source"},
    };
    for (const auto& [source, line, error] : cases) {
        Compilation result = compile(source, "t.vp", "main");
        EXPECT_EQ(result.listing, "t.vp(" + std::to_string(line) + ") : error: " + error + "\n");
        EXPECT_EQ(result.ok, result.object.size() > 0);
    }
}

// The exit codes the runtime's own road does not reach: 2 for a profile
// other than vp20, 1 for a missing source. (That road compiles, and fails
// to compile, through this program with its listing file.)
TEST(Slc, CommandLineExitCodes) {
    std::filesystem::path tool = test::buildDir() / "tools" / "slc", dir = test::freshScratchDir("slc");
    auto run = [&](const std::string& profile) {
        std::string command = "\"" + tool.string() + "\" " + (dir / "missing.vp").string() + " -o " +
                              (dir / "out.o").string() + " -l " + (dir / "out.lst").string() +
                              " -entry main -q -profile " + profile;
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("fp30"), 2);
    EXPECT_EQ(run("vp20"), 1);
}

}  // namespace
}  // namespace demo::slc
