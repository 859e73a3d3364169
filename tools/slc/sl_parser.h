#pragma once
// Builds the syntax tree of a source from its tokens. Throws CompileError at
// the first construct the language does not have.

#include <optional>
#include <string_view>

#include "tools/slc/sl_ast.h"

namespace demo::slc {

Unit parseUnit(std::string_view source);

// "float", "float3", "half4x4" ...; nothing for other words.
std::optional<Type> typeFromName(std::string_view name);

}  // namespace demo::slc
