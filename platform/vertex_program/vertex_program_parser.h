#pragma once
// Reads "!!VP1.0", "!!VP1.1" and "!!VSP1.0" program text into the
// instruction form and checks the target's rules. Text after END is ignored.

#include <string>
#include <string_view>

#include "platform/vertex_program/vertex_program.h"

namespace demo::vp {

struct ParseResult {
    VertexProgram program;
    int errorPosition = -1;  // byte offset of the first fault; -1 when accepted
    std::string message;

    bool ok() const { return errorPosition < 0; }
};

ParseResult parseVertexProgram(std::string_view text);

}  // namespace demo::vp
