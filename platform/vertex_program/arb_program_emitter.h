#pragma once
// Translates the instruction form of a vertex program into "!!ARBvp1.0"
// text. c[] becomes one parameter array over the environment parameters, with
// the tracked matrices' rows in place, so that relative addressing still
// reaches every register (a matrix tracked twice is bound once, and reads of
// the second block go to the first).

#include <GL/gl.h>

#include <array>
#include <string>

#include "platform/vertex_program/vertex_program.h"

namespace demo::vp {

// What c[4k .. 4k+3] track; GL_NONE for plain parameters.
struct TrackedMatrix {
    GLenum matrix = GL_NONE;
    GLenum transform = 0;  // GL_IDENTITY_NV ... GL_INVERSE_TRANSPOSE_NV
    int textureUnit = 0;   // for GL_TEXTURE and GL_TEXTUREi

    bool operator==(const TrackedMatrix&) const = default;
};
using Tracking = std::array<TrackedMatrix, kParameters / 4>;

// The translation reads (1, 1, 1, 1) from this local parameter of its ARB
// program, which the caller sets after every load.
constexpr GLuint kOneLocalParameter = 0;
// And the registers' starting values (0, 0, 0, 1) from this one.
constexpr GLuint kInitLocalParameter = 1;

std::string emitArbProgram(const VertexProgram& program, const Tracking& tracking);

// The ARB state name of a tracked matrix ("state.matrix.mvp.inverse"); empty
// when it has none.
std::string arbMatrixName(const TrackedMatrix& tracked);

}  // namespace demo::vp
