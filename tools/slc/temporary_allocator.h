#pragma once
// Maps the code generator's values onto the target's 12 temporaries. The
// generator numbers every value, local and copy apart (0 to count - 1); once
// the code is complete, their live ranges are known exactly, the code being
// straight-line.

#include <vector>

#include "platform/vertex_program/vertex_program.h"

namespace demo::slc {

// Renumbers the temporaries of code onto the target's. lines[i] is the source
// line of instruction i, for the CompileError when more values are live at
// once than there are temporaries.
void assignTemporaries(std::vector<vp::Instruction>& code, int count, const std::vector<int>& lines);

}  // namespace demo::slc
