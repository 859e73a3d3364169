// Vertex-program text: the parser and checker, then the ARB emitter and the
// interpreter on whatever the checker accepts.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/vertex_program/arb_program_emitter.h"
#include "platform/vertex_program/vertex_program_interpreter.h"
#include "platform/vertex_program/vertex_program_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    demo::vp::ParseResult result = demo::vp::parseVertexProgram(text);
    if (!result.ok()) {
        if (result.errorPosition > static_cast<int>(size)) __builtin_trap();
        return 0;
    }
    demo::vp::Tracking tracking{};
    tracking[2] = {GL_MODELVIEW, GL_IDENTITY_NV, 0};
    (void)demo::vp::emitArbProgram(result.program, tracking);
    demo::vp::VertexMachine machine;
    for (int i = 0; i < demo::vp::kParameters; ++i) machine.parameters[i] = {1.5f * i, -2.0f, 0.5f, 1e30f};
    machine.attributes[0] = {0.5f, -0.5f, 70.0f, -1e-30f};
    demo::vp::execute(result.program, machine);
    return 0;
}
