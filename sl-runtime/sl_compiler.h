#pragma once
// Running the external SL compiler: finding it, its argument vector, the
// temporary source, object and listing files, and reading the results back.

#include <functional>
#include <string>
#include <vector>

#include "sl-runtime/sl_runtime.h"

namespace demo {

// The compiler path: the build-time default ("slc" unless configured), which
// "SL_COMPILER_EXE" in the environment overrides. Settled on first use.
const std::string& sliFindCompiler();
// Forgets the settled path, so the next compile looks again (tests).
void sliForgetCompiler();

// "-profile" and the profile's name, or null for a profile without a name.
const char* sliProfileName(SlProfile profile);

// Runs the compiler's argument vector (argv[0] the configured path) and gives
// its exit code, or -1 when it could not run or was killed; failure lines go to
// *messages.
using SlCommandRunner =
    std::function<int(const std::vector<std::string>& arguments, std::string* messages)>;
// Replaces the runner; an empty function restores the child-process runner.
void sliSetCommandRunner(SlCommandRunner runner);

// Compiles the sources (written one after another) for the profile, with the
// entry when it is not null. The listing is always filled (empty when the
// compiler wrote none, with the runtime's own error lines appended); the object
// text only on success. Returns 0, 1 or the compiler's non-zero exit code.
// No temporary file remains afterwards.
int sliCompileProgram(std::string* object, std::string* listing,
                      const std::vector<std::string>& sources, SlProfile profile,
                      const char* entry);

}  // namespace demo
