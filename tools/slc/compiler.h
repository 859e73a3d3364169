#pragma once
// The whole compilation of one source in memory: front end (tokens, syntax
// tree, checks) then code generation and the object text. Runs no process
// and touches no file, so that tests and the fuzzer drive it directly.

#include <string>
#include <string_view>

#include "tools/slc/sl_ast.h"

namespace demo::slc {

struct FrontEnd {
    Unit unit;
    int entry = -1;  // index into unit.functions
};

// Throws CompileError at the first fault.
FrontEnd runFrontEnd(std::string_view source, const std::string& entry);

struct Compilation {
    bool ok = false;
    std::string object;   // empty on failure
    std::string listing;  // "file(line) : error: text" lines, or a summary
    int instructions = 0;
};

Compilation compile(std::string_view source, const std::string& fileName, const std::string& entry);

}  // namespace demo::slc
