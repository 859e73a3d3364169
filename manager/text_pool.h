#pragma once
// Interned texts that live for the rest of the program, for parameters that
// keep a plain character pointer (PARAM_TEXT). Equal texts share one copy.

#include <cstddef>
#include <string_view>

namespace demo {

// A NUL-terminated copy of `text` that is never freed.
const char* internText(std::string_view text);

// Number of distinct texts interned so far.
std::size_t internedTextCount();

}  // namespace demo
