#pragma once
// Runs a program as a child process and waits for it: an argument vector, no
// shell, standard input from /dev/null, output shared with ours.

#include <optional>
#include <string>
#include <vector>

namespace demo::platform {

// A path with a '/' names the file itself, which must be an executable
// regular file; a bare name is looked up along PATH. Null when not found.
std::optional<std::string> findExecutable(const std::string& name);

struct ChildResult {
    bool started = false;  // false: error holds why
    bool signaled = false;  // killed by signal `signal`
    int exitCode = -1;      // when it exited normally
    int signal = 0;
    std::string error;
};

// Runs the executable file with the arguments (arguments[0] is what the child
// sees as its name) and waits for it to end.
ChildResult runChildProcess(const std::string& executable, const std::vector<std::string>& arguments);

}  // namespace demo::platform
