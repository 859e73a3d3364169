#pragma once
// The parser of the compiler's object text: its directive lines give the
// program's profile and name and its parameters' types, bindings and
// constants. Every statement is one line; a line that fits no statement is
// skipped and counted.

#include <string>
#include <string_view>

#include "sl-runtime/sl_records.h"

namespace demo {

struct SlParseOutcome {
    int result = 0;  // 0 accepted, 1 rejected: no directive line at all
    int errors = 0;  // lines that fit no statement, or carried a refused value
};

// Fills the program's parameter list, profile and name from the object text.
// Refused values (an array size below 1, a negative register, unit or
// constant index) skip their line with an error line appended to *diagnostics.
SlParseOutcome sliParseProgramOutput(SlProgram* program, std::string_view objectText,
                                     std::string* diagnostics);

}  // namespace demo
