// Vertex-program text: the parser and checker, then the ARB emitter and the
// interpreter on whatever the checker accepts. The last three bytes (after
// END, which the parser ignores) choose a tracked block, its matrix and its
// transform.

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>
#include <cstdint>
#include <string>
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
    // An accepted program is longer than three bytes. None, modelview,
    // projection, both, the active texture unit; then GL_TEXTURE0..7 and
    // GL_MATRIX0..7_NV.
    constexpr GLenum kFixed[] = {GL_NONE, GL_MODELVIEW, GL_PROJECTION, GL_MODELVIEW_PROJECTION_NV, GL_TEXTURE};
    int pick = data[size - 2] % 21, how = data[size - 1];
    demo::vp::TrackedMatrix tracked;
    tracked.matrix = pick < 5 ? kFixed[pick] : pick < 13 ? GL_TEXTURE0 + pick - 5 : GL_MATRIX0_NV + pick - 13;
    tracked.transform = GL_IDENTITY_NV + how % 4;
    tracked.textureUnit = pick >= 5 && pick < 13 ? pick - 5 : how / 4 % 8;
    tracking[data[size - 3] % tracking.size()] = tracked;
    // Every tracked matrix has its state name in the translation.
    std::string name = demo::vp::arbMatrixName(tracked);
    if (name.empty() != (tracked.matrix == GL_NONE)) __builtin_trap();
    std::string arb = demo::vp::emitArbProgram(result.program, tracking);
    if (!name.empty() && arb.find("c[96]") != std::string::npos && arb.find(name + ".row") == std::string::npos)
        __builtin_trap();
    demo::vp::VertexMachine machine;
    for (int i = 0; i < demo::vp::kParameters; ++i) machine.parameters[i] = {1.5f * i, -2.0f, 0.5f, 1e30f};
    machine.attributes[0] = {0.5f, -0.5f, 70.0f, -1e-30f};
    demo::vp::execute(result.program, machine);
    return 0;
}
