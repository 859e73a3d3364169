#pragma once
// Resolves names, checks and fills in the types of a parsed source, and
// checks the entry function's parameters and their semantics. Throws
// CompileError at the first fault.

#include <string>
#include <string_view>

#include "tools/slc/sl_ast.h"

namespace demo::slc {

// The entry function, checked; the unit's other functions are refused.
const Function& checkUnit(Unit& unit, const std::string& entry);

// The vertex attribute (0-15) an input semantic reads, or -1.
int attributeOfSemantic(std::string_view semantic);
// The result register (demo::vp::Output) an output semantic writes, or -1.
int outputOfSemantic(std::string_view semantic);

}  // namespace demo::slc
