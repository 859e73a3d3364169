#pragma once
// The player's command line: "-nosound" (any number of dashes) or "--silent"
// turn sound off, "-progress" records progress.dat instead of reading it, a
// plain argument names the script; any other dash argument is an error.

#include <string>

namespace demo {

struct ShowOptions {
    std::string script = "demo.ini";
    bool sound = true;
    bool generateProgress = false;
};

// Throws DemoPlayerException "Unrecognized option '<arg>'".
ShowOptions parseCommandLine(int argc, const char* const* argv);

}  // namespace demo
