#pragma once
// The first fault found in a source: the compiler stops there.

#include <string>

namespace demo::slc {

struct CompileError {
    int line = 0;
    std::string text;
};

}  // namespace demo::slc
