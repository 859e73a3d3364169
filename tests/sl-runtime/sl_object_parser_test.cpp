// Object texts of every directive form, and what the parser makes of them.

#include "sl-runtime/sl_object_parser.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace demo {
namespace {

// The parameters in list order, then the program's name and profile, the
// error count and the result when they are not those of an empty text.
std::string parse(const std::string& text, std::string* diagnostics = nullptr) {
    SlProgram* program = sliNewProgram(nullptr);
    std::string messages;
    SlParseOutcome outcome = sliParseProgramOutput(program, text, &messages);
    std::ostringstream out, tail;
    for (const SlListNode* n = program->ParamList->Head; n != nullptr; n = n->next) {
        const SlParameter& p = *n->parameter;
        out << p.Name << " k" << p.kind << " b" << p.binding << " t" << p.type << " n"
            << p.arraySize;
        if (p.registerIndex >= 0) out << " r" << p.registerIndex;
        if (p.texUnit >= 0) out << " u" << p.texUnit;
        if (p.kind == slConstParam)
            out << " (" << p.values[0] << "," << p.values[1] << "," << p.values[2] << ","
                << p.values[3] << ")";
        out << "; ";
    }
    tail << "program " << program->name.value_or("-") << " " << program->Profile << " errors "
         << outcome.errors << " result " << outcome.result;
    if (tail.str() != "program - 5 errors 0 result 0") out << tail.str();
    if (diagnostics != nullptr) *diagnostics = messages;
    sliFreeProgram(program);
    return out.str();
}

TEST(SlObjectParser, DirectiveForms) {
    const std::string name(10000, 'n');  // names and lines of any length
    const std::pair<std::string, std::string> cases[] = {
        {"!!VP1.0\nMOV o[HPOS], v[OPOS];\nEND\n", "program - 5 errors 0 result 1"},
        {"#profile vp20\n#program main\n#program other\n", "program other 0 errors 0 result 0"},
        {"//profile fp30", "program - 1 errors 0 result 0"},  // last line without a line feed
        {"#pragma bind main.pos = ATTR0\n", "main.pos k2 b8 t40 n0; "},
        {"#pragma bind main.tex = texunit 2\n", "main.tex k3 b2 t40 n0 u2; "},
        {"#pragma bind x = *** NO BINDING SPECIFIED ***\n", "x k2 b25 t40 n0; "},
        {"#pragma bind x = const 1 -2 3\n", ""},
        {"#var float4x4 main.M\n#pragma bind main.M = c 4\n", "main.M k1 b24 t39 n1 r4; "},
        {"#var half2x3 main.M[2][5]\n#pragma bind main.M = c[4]\n", "main.M k1 b24 t10 n2 r4; "},
        {"#pragma bind a = TEX0\n#pragma bind b = TEX1\n#pragma bind a = TEX2\n",
         "a k2 b2 t40 n0; b k2 b1 t40 n0; "},
        {"#const c 7 = 0.5 2\n", "$C[7]$ k0 b24 t23 n1 r7 (0.5,2,0,1); "},
        {"#const c[1] = -.5 2.e1 1.5e-1\n", "$C[1]$ k0 b24 t23 n1 r1 (-0.5,20,0.15,1); "},
        {"#var float2 a\n#type float4 a [3]\n#type float3 nobody\n", "a k1 b25 t23 n3; "},
        {"#var float4 main.f()[3]\n#var float4 main.g()\n#var const float4 main.k\n",
         "main.f k1 b25 t23 n3; main.g k1 b25 t23 n1; main.k k1 b25 t23 n1; "},
        {"#\tvar\tfloat4 c.x\r\n#var float4 color\n", "c.x k1 b25 t23 n1; color k1 b25 t23 n1; "},
        {"#var uniform float4 u\n", "u k1 b25 t40 n1; "},
        {"#vars float4 x\n#vendor 1.5 : ,\n", ""},  // other-lines: keywords match whole words only
        {"#var float4 " + name + "\n#program " + name,
         name + " k1 b25 t23 n1; program " + name + " 5 errors 0 result 0"},
        {"#" + std::string(100000, '-') + "\n", ""},
        // Lines that fit no statement change nothing.
        {"#const c[7] = 1 2 3 4 5\n", "program - 5 errors 1 result 0"},
        {"#var float 4 x\n#var float4 c\n#pragma bind p = ATTR0 x\n#program\n#\n#program a b\n",
         "program - 5 errors 6 result 0"},
        {"#var float4 x[2](\n#var const float4 x[2]\n#type float4\n#pragma bind p = c\n",
         "program - 5 errors 4 result 0"},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(parse(text), want) << text.substr(0, 80);
}

TEST(SlObjectParser, RefusedValuesSkipTheirLineWithAMessage) {
    for (const char* line : {"#var float4 a[0]\n", "#type float4 a[-3]\n", "#var float4 a()[0]\n",
                             "#const c[-1] = 1\n", "#pragma bind a = c[-2]\n",
                             "#pragma bind a = texunit -1\n", "#const c[96] = 1\n",
                             "#const c[99999999999] = 1\n", "#pragma bind a = c 99999999999\n"}) {
        std::string messages;
        EXPECT_EQ(parse(std::string("#var float4 a\n") + line, &messages),
                  "a k1 b25 t23 n1; program - 5 errors 1 result 0") << line;
        EXPECT_NE(messages.find("error: object text line 2: "), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace demo
