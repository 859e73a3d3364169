#pragma once
// Turns a checked entry function into vertex-program instructions: uniforms
// take c[] registers in declaration order (a matrix one per row), literals are
// packed into the registers after them, and the target's limits (128
// instructions, 12 temporaries, 96 constant registers, one c[] and one v[]
// per instruction) are kept or reported as CompileError.

#include <array>
#include <vector>

#include "platform/vertex_program/vertex_program.h"
#include "tools/slc/sl_ast.h"

namespace demo::slc {

struct UniformSlot {
    int symbol = -1;
    int reg = 0;
};

struct GeneratedProgram {
    vp::VertexProgram program;
    std::vector<UniformSlot> uniforms;
    int constantBase = 0;  // c[] of the first packed literal register
    std::vector<std::array<float, 4>> constants;
};

GeneratedProgram generateProgram(const Unit& unit, const Function& entry);

}  // namespace demo::slc
