// slc's temporaries: programs with many locals and long chains compile within
// the 12 registers and give values worked out in the test, both on the
// interpreter and through the translation on Mesa; a destination that is
// also a source is read before it is written on both paths.

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_layer.h"
#include "platform/vertex_program/vertex_program_parser.h"
#include "tests/support/slc_object_rows.h"
#include "tests/support/tex_coord_target.h"
#include "tests/support/vertex_program_suite.h"
#include "tools/slc/compiler.h"

namespace demo::slc {
namespace {

using vp::Vec4;
using Registers = std::map<int, Vec4>;  // c[] rows or v[] registers by index

using test::glEntry;

class SlcRegisters : public test::VertexProgramSuite {
protected:
    // o[TEX0] of a vertex program text on the interpreter and drawn through
    // the translation into a float target, as {interpreter, driver}.
    std::pair<Vec4, Vec4> runBoth(const std::string& text, const Registers& c, const Registers& v) {
        vp::ParseResult parsed = vp::parseVertexProgram(text);
        EXPECT_TRUE(parsed.ok()) << parsed.message << "\n" << text;
        vp::VertexMachine m;
        auto parameter = glEntry<PFNGLPROGRAMPARAMETER4FVNVPROC>("glProgramParameter4fvNV");
        for (const auto& [i, row] : c) parameter(GL_VERTEX_PROGRAM_NV, i, (m.parameters[i] = row).data());
        for (const auto& [i, value] : v) m.attributes[i] = value;
        vp::execute(parsed.program, m);

        test::TexCoordTarget target;
        glEntry<PFNGLLOADPROGRAMNVPROC>("glLoadProgramNV")(GL_VERTEX_PROGRAM_NV, 1, GLsizei(text.size()),
                                                            reinterpret_cast<const GLubyte*>(text.data()));
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << text << vp::lastLoadMessage();
        glEntry<PFNGLBINDPROGRAMNVPROC>("glBindProgramNV")(GL_VERTEX_PROGRAM_NV, 1);
        glEnable(GL_VERTEX_PROGRAM_NV);
        auto attribute = glEntry<PFNGLVERTEXATTRIB4FVNVPROC>("glVertexAttrib4fvNV");
        for (const auto& [i, value] : v) {
            if (i != 0) attribute(i, value.data());
        }
        glBegin(GL_POINTS);
        attribute(0, v.count(0) ? v.at(0).data() : Vec4{0, 0, 0, 1}.data());
        glEnd();
        glDisable(GL_VERTEX_PROGRAM_NV);
        return {m.outputs[vp::kTEX0], target.read()};
    }

    // A source compiled by slc, run on both with the given uniforms.
    std::pair<Vec4, Vec4> compileAndRun(const std::string& source, const test::Uniforms& uniforms, const Registers& v) {
        Compilation c = compile(source, "s.vp", "main");
        EXPECT_TRUE(c.ok) << c.listing << source;
        return runBoth(c.object, test::slcObjectRows(c.object, uniforms), v);
    }

    static void expectBoth(const std::pair<Vec4, Vec4>& got, const Vec4& want, const std::string& what) {
        for (int i = 0; i < 4; ++i) {
            float tolerance = 2e-4f * (1 + std::fabs(want[i]));
            EXPECT_NEAR(got.first[i], want[i], tolerance) << what << "\ninterpreter [" << i << "]";
            EXPECT_NEAR(got.second[i], want[i], tolerance) << what << "\ndriver [" << i << "]";
        }
    }

};

// Each opcode writing a register it reads, under a reordered source and a
// partial mask, must give what it gives into another register.
TEST_F(SlcRegisters, EveryOpcodeReadsItsSourcesBeforeWriting) {
    const char* cases[] = {
        "MOV R0.xy, R0.yxzw", "ADD R0.yw, R0.wzyx, -R1", "MUL R0.xz, R0.zwxy, R0",
        "MAD R0, R0.yzwx, R1, R0", "MIN R0.zw, R0.wzyx, R0", "MAX R0.xy, R0.yxwz, R1",
        "SLT R0.xw, R0.wxyz, R0", "SGE R0.yz, R0.zyxw, R0", "DP3 R0.y, R0, R0.zxyw",
        "DP4 R0.xz, R0.wzyx, R0", "DST R0.yw, R0, R0.wzyx", "DST R0.xz, R1, R0",
        "LIT R0.xzw, R0.yxzw", "LIT R0.y, R0.wxzy", "RCP R0.xw, R0.w", "RSQ R0.yz, R0.y",
        "EXP R0, R0.z", "LOG R0.yw, R0.w", "RCC R0.xz, R0.x", "DPH R0.zw, R0, R0.wzyx",
        "SUB R0.yz, R0.zyxw, R0", "ABS R0.xw, -R0.wzyx"};
    const Registers c = {{0, {0.5f, 2, 3, 1.5f}}, {1, {-1, 0.25f, 4, 2}}};
    for (std::string ins : cases) {
        std::string head = "!!VP1.1 MOV R0, c[0]; MOV R1, c[1]; ";
        std::string tail = " MOV o[TEX0], R0; MOV o[HPOS], v[0]; END";
        std::string apart = ins;
        apart.replace(apart.find("R0"), 2, "R3");  // the destination
        auto aliased = runBoth(head + ins + ";" + tail, c, {});
        auto separate = runBoth(head + "MOV R3, R0; " + apart + "; MOV R0, R3;" + tail, c, {});
        EXPECT_EQ(aliased.first, separate.first) << ins << " on the interpreter";
        expectBoth(aliased, separate.first, ins);
    }
}


Vec4 operator+(Vec4 a, const Vec4& b) {
    for (int i = 0; i < 4; ++i) a[i] += b[i];
    return a;
}
Vec4 operator*(Vec4 a, const Vec4& b) {
    for (int i = 0; i < 4; ++i) a[i] *= b[i];
    return a;
}
Vec4 all(float x) { return {x, x, x, x}; }
float dot3(const Vec4& a, const Vec4& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec4 normalize3(const Vec4& a) { return a * all(1 / std::sqrt(dot3(a, a))); }

// Three lights, Blinn-Phong: eleven locals, each half vector read once. The
// expected colour is the same formula in floats.
TEST_F(SlcRegisters, ThreeLightShaderOnBothPaths) {
    const std::string source = R"(
void main(float4 p : POSITION, float3 nrm : NORMAL, uniform float4x4 mvp, uniform float3 eye,
          uniform float3 lp0, uniform float3 lp1, uniform float3 lp2, uniform float4 d0,
          uniform float4 d1, uniform float4 d2, uniform float4 ambient, uniform float4 specular,
          uniform float shininess, out float4 oPos : POSITION, out float4 oColor : TEXCOORD0) {
    oPos = mul(mvp, p);
    float3 n = normalize(nrm);
    float3 v = normalize(eye - p.xyz);
    float3 s0 = normalize(lp0 - p.xyz);
    float3 s1 = normalize(lp1 - p.xyz);
    float3 s2 = normalize(lp2 - p.xyz);
    float3 h0 = normalize(s0 + v);
    float3 h1 = normalize(s1 + v);
    float3 h2 = normalize(s2 + v);
    float4 l0 = lit(dot(n, s0), dot(n, h0), shininess);
    float4 l1 = lit(dot(n, s1), dot(n, h1), shininess);
    float4 l2 = lit(dot(n, s2), dot(n, h2), shininess);
    oColor = ambient + d0 * l0.y + d1 * l1.y + d2 * l2.y + specular * (l0.z + l1.z + l2.z);
}
)";
    const Vec4 p{0.3f, -0.2f, 0.1f, 1}, eye{0, 0, 5, 0}, d[3] = {{0.5f, 0.2f, 0.1f, 1}, {0.1f, 0.6f, 0.2f, 0.5f}, {0.2f, 0.1f, 0.7f, 0.25f}},
               lights[3] = {{2, 3, 4, 0}, {-3, 2, 1, 0}, {0, -4, 2, 0}}, ambient{0.1f, 0.1f, 0.15f, 0}, specular{0.9f, 0.8f, 0.7f, 0};
    const float shininess = 16;
    for (const Vec4& nrm : {Vec4{0.2f, 0.9f, 0.4f, 0}, Vec4{-0.5f, -0.5f, 0.7f, 0}}) {
        Vec4 n = normalize3(nrm), v = normalize3(eye + p * all(-1)), colour = ambient;
        float highlights = 0;
        for (int i = 0; i < 3; ++i) {
            Vec4 s = normalize3(lights[i] + p * all(-1)), h = normalize3(s + v);
            float diffuse = dot3(n, s);
            colour = colour + d[i] * all(std::max(diffuse, 0.0f));
            highlights += diffuse > 0 ? std::pow(std::max(dot3(n, h), 0.0f), shininess) : 0;
        }
        colour = colour + specular * all(highlights);
        auto got = compileAndRun(source, {{"mvp", {{}, {}, {}, {0, 0, 0, 1}}}, {"eye", {eye}}, {"lp0", {lights[0]}},
                                          {"lp1", {lights[1]}}, {"lp2", {lights[2]}}, {"d0", {d[0]}}, {"d1", {d[1]}},
                                          {"d2", {d[2]}}, {"ambient", {ambient}}, {"specular", {specular}},
                                          {"shininess", {all(shininess)}}},
                                 {{0, p}, {2, nrm}});
        expectBoth(got, colour, "normal " + testing::PrintToString(nrm));
    }
}

// Chains of every kind with ten locals live across them, which leaves two
// temporaries for the chain. Each is built as text and as its value together.
TEST_F(SlcRegisters, LongChainsWithTenLocalsLive) {
    const Vec4 p{0.5f, -0.75f, 1.25f, 0.9f}, k[3] = {{1.01f, 0.98f, 1.02f, 0.99f}, {0.5f, 0.25f, -0.5f, 2}, {0.3f, 0.2f, 0.1f, -0.1f}};
    Vec4 a[10];
    std::string head = "void main(float4 p : POSITION, uniform float4 k[3], out float4 oPos : POSITION,"
                       " out float4 o : TEXCOORD0) {\noPos = float4(0, 0, 0, 1);\n", last = "r";
    for (int i = 0; i < 10; ++i) {
        a[i] = p + all(float(i));
        head += "float4 a" + std::to_string(i) + " = p + " + std::to_string(i) + ";\n";
        last += " + a" + std::to_string(i);
    }
    using Link = std::function<void(int, std::string&, Vec4&)>;  // link i, on the chain so far
    auto name = [](int i) { return "a" + std::to_string(i % 10); };
    auto kth = [](int i) { return "k[" + std::to_string(i % 3) + "]"; };
    const std::pair<const char*, Link> chains[] = {
        {"sum of locals, inputs and uniforms", [&](int i, std::string& t, Vec4& x) {
             const std::string terms[] = {name(i), "p", kth(i)};
             const Vec4 values[] = {a[i % 10], p, k[i % 3]};
             t += " + " + terms[i % 3], x = x + values[i % 3];
         }},
        {"right-leaning sum", [&](int i, std::string& t, Vec4& x) {
             t = (i % 2 ? name(i) : kth(i)) + " + (" + t + ")", x = (i % 2 ? a[i % 10] : k[i % 3]) + x;
         }},
        {"product", [&](int i, std::string& t, Vec4& x) {
             t += i % 2 ? " * k[0]" : " * k[1].wzyx * 0.5", x = x * (i % 2 ? k[0] : Vec4{1, -0.25f, 0.125f, 0.25f});
         }},
        {"MAD chain", [&](int i, std::string& t, Vec4& x) {
             t += " + " + name(i) + " * " + kth(i), x = x + a[i % 10] * k[i % 3];
         }},
        {"right-leaning product of computed factors", [&](int i, std::string& t, Vec4& x) {
             t = "(" + name(i) + " * 0.001 + p) * (" + t + ")", x = (a[i % 10] * all(0.001f) + p) * x;
         }},
        {"Horner", [&](int i, std::string& t, Vec4& x) {
             t = "(" + t + ") * p + " + std::to_string(i % 4) + ".5", x = x * p + all(i % 4 + 0.5f);
         }},
        {"right-leaning Horner", [&](int i, std::string& t, Vec4& x) {
             t = kth(i) + " + p * (" + t + ")", x = k[i % 3] + p * x;
         }},
        {"nested parentheses", [&](int i, std::string& t, Vec4& x) {
             t = "(" + name(i) + " * 0.125 - " + t + " * " + kth(i) + ")",
             x = a[i % 10] * all(0.125f) + (x * k[i % 3]) * all(-1);
         }},
        {"nested calls", [&](int i, std::string& t, Vec4& x) {
             if (i % 2 == 0) {
                 t = "normalize(" + t + ")", x = x * all(1 / std::sqrt(dot3(x, x) + x[3] * x[3]));
                 return;
             }
             t = "max(" + t + ", " + kth(i) + ") + " + name(i);
             for (int c = 0; c < 4; ++c) x[c] = std::max(x[c], k[i % 3][c]) + a[i % 10][c];
         }},
    };
    for (const auto& [kind, link] : chains) {
        std::string text = "p";
        Vec4 value = p;
        for (int i = 1; i < 40; ++i) link(i, text, value);
        Vec4 sum = value;
        for (const Vec4& local : a) sum = sum + local;
        auto got = compileAndRun(head + "float4 r = " + text + ";\no = " + last + ";\n}\n",
                                 {{"k", {k[0], k[1], k[2]}}}, {{0, p}});
        expectBoth(got, sum, kind);
    }
    // A fifteen-term sum, and products beside ten live locals.
    auto got = compileAndRun(head + "float4 r = p + p + p + p + p + p + p + p + p + p + p + p + p + p + p;\n"
                                    "r = a1 * a2 + k[1] * a3 + a9 + r;\no = " + last + ";\n}\n",
                             {{"k", {k[0], k[1], k[2]}}}, {{0, p}});
    Vec4 sum = a[1] * a[2] + k[1] * a[3] + a[9] + p * all(15);
    for (const Vec4& local : a) sum = sum + local;
    expectBoth(got, sum, "fifteen terms");
}

}  // namespace
}  // namespace demo::slc
