#pragma once
// The object text of a compiled program: "!!VP1.0", the instructions, "END",
// then the directive lines that the runtime reads back: profile, program
// name, bindings, then types, then the packed literals.

#include <string>

#include "tools/slc/code_generator.h"

namespace demo::slc {

std::string writeObject(const Unit& unit, const Function& entry, const GeneratedProgram& generated);

// One instruction in the program text's syntax, without the line feed.
std::string formatInstruction(const vp::Instruction& ins);

// A number the directive reader takes as a float: always with a '.'.
std::string formatFloat(float x);

}  // namespace demo::slc
