#pragma once
// Runs the instruction form on the CPU: vertex state programs execute here,
// and the tests use it as the oracle of what the driver draws.

#include <array>

#include "platform/vertex_program/vertex_program.h"

namespace demo::vp {

using Vec4 = std::array<float, 4>;

struct VertexMachine {
    std::array<Vec4, kAttributes> attributes{};
    std::array<Vec4, kParameters> parameters{};
    // Reset by execute(): temporaries to (0,0,0,0), results to (0,0,0,1).
    std::array<Vec4, kTemporaries> temporaries{};
    std::array<Vec4, kOutputs> outputs{};
    int address = 0;
};

// A state program writes its results into `parameters`.
void execute(const VertexProgram& program, VertexMachine& machine);

// The reciprocal clamped into the range the 1.1 programs promise.
float clampedReciprocal(float x);

}  // namespace demo::vp
