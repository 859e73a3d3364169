#pragma once
// The parser of the compiler's object text: its directive lines give the
// program's profile and name and its parameters' types, bindings and
// constants. Every statement is one line; a line that fits no statement is
// skipped and counted.

#include <string>
#include <string_view>
#include <vector>

#include "sl-runtime/sl_records.h"

namespace demo {

struct SlParseOutcome {
    int result = 0;  // 0 accepted, 1 rejected: no directive line at all
    int errors = 0;  // lines that fit no statement, or carried a refused value
};

// Fills the program's parameter list, profile and name from the object text.
// Refused values (an array size below 1, a negative texture unit, a register
// or constant index outside c[0..95]) skip their line with an error line appended to *diagnostics.
SlParseOutcome sliParseProgramOutput(SlProgram* program, std::string_view objectText,
                                     std::string* diagnostics);
// The same into a bare list: the parse target when it owns the list, else a
// list alone. 0 accepted, 1 rejected.
int sliParseProgramOutput(SlList* paramList, const char* objectText);

// The context and program that sliParse fills (sliAddProgram sets them).
void sliSetParseTarget(SlContextData* context, SlProgram* program);
// The text that sliLex and sliParse read, from its start.
void sliSetScanInput(const char* text);
// The next token code of the scan input's directive lines, or -1 at its end.
int sliLex();
// Parses the scan input into the parse target: 0 accepted, 1 rejected.
int sliParse();
// The words with the separator between them.
std::string sliJoinStrings(const std::vector<std::string>& words, std::string_view separator);

}  // namespace demo
