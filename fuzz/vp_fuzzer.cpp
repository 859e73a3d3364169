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

namespace {

demo::vp::TrackedMatrix trackedFrom(std::uint8_t which, std::uint8_t how) {
    constexpr GLenum kFixed[] = {GL_NONE, GL_MODELVIEW, GL_PROJECTION, GL_MODELVIEW_PROJECTION_NV,
                                 GL_TEXTURE};
    constexpr int kFixedCount = static_cast<int>(std::size(kFixed));
    int pick = which % (kFixedCount + 16);
    demo::vp::TrackedMatrix t;
    t.transform = GL_IDENTITY_NV + how % 4;  // identity, inverse, transpose, inverse transpose
    if (pick < kFixedCount) {
        t.matrix = kFixed[pick];
        t.textureUnit = which / (kFixedCount + 16) % 8;
    } else if (pick < kFixedCount + 8) {
        t.matrix = GL_TEXTURE0 + (pick - kFixedCount);
        t.textureUnit = pick - kFixedCount;
    } else {
        t.matrix = GL_MATRIX0_NV + (pick - kFixedCount - 8);
    }
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    demo::vp::ParseResult result = demo::vp::parseVertexProgram(text);
    if (!result.ok()) {
        if (result.errorPosition > static_cast<int>(size)) __builtin_trap();
        return 0;
    }
    demo::vp::Tracking tracking{};
    demo::vp::TrackedMatrix tracked{};
    if (size >= 3) {
        tracked = trackedFrom(data[size - 2], data[size - 1]);
        tracking[data[size - 3] % tracking.size()] = tracked;
    }
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
