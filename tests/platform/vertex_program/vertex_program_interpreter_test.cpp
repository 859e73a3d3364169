// What only the interpreter promises: a relative address outside c[] reads
// zeros instead of memory (each opcode's values are checked against the
// driver in the layer's tests).

#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace demo::vp {
namespace {

TEST(VertexProgramInterpreter, AddressesOutsideTheRegistersReadZeros) {
    const std::pair<const char*, Vec4> cases[] = {  // the body, then o[COL0]
        {"ARL A0.x, v[3].y; MOV o[COL0], c[A0.x];", {0, 0, 0, 0}},         // c[-2]
        {"ARL A0.x, v[3].w; MOV o[COL0], c[A0.x + 63];", {0, 0, 0, 0}},    // c[99]
        {"ARL A0.x, c[95].x; MOV o[COL0], c[A0.x + 63];", {0, 0, 0, 0}},   // huge
    };
    for (const auto& [body, expected] : cases) {
        ParseResult r = parseVertexProgram(std::string("!!VP1.1 ") + body + " MOV o[HPOS], v[0]; END");
        ASSERT_TRUE(r.ok()) << body << ": " << r.message;
        VertexMachine m;
        m.attributes[3] = {1, -2, 3, 4};
        m.parameters[95] = {3e9f, 0, 0, 0};
        execute(r.program, m);
        EXPECT_EQ(m.outputs[kCOL0], expected) << body;
    }
}

}  // namespace
}  // namespace demo::vp
