#pragma once
// Running the external SL compiler: finding it, its argument vector, the
// temporary source, object and listing files, and reading the results back.

#include <functional>
#include <string>
#include <vector>

#include "sl-runtime/sl_runtime.h"

namespace demo {

// The compiler path: "SL_COMPILER_EXE" from the environment, else the
// registry's value, else the build-time default ("slc" unless configured).
// Settled on first use.
const std::string& sliFindCompiler();
// The value stored under a registry path; null here, where there is none.
const char* sliReadRegistryPath(const char* path);
// 1 when the path names an executable file (a bare name along PATH), else 0.
int sliCompilerExists(const char* path);
// Makes a new empty "sltmp_" file and puts its name in *buffer; 0 on failure.
int sliTempFileName(std::string* buffer);
// Runs an argument vector through the current runner: the exit code, or -1.
int sliRunCommand(const std::vector<std::string>& arguments, std::string* messages = nullptr);
// The whole file into *out: 1, or 0 when it cannot be read (*out unchanged).
int sliReadWholeFile(std::string* out, const char* fileName);
// "-profile vp20" .. "-profile dx8ps" for profiles 0-3, else null.
const char* sliProfileOption(SlProfile profile);
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
int sliCompileProgram(std::string* object, std::string* listing, const char* const* sources,
                      int count, SlProfile profile, const char* entry);

}  // namespace demo
