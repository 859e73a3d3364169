#include "player/show_options.h"

#include <string_view>

#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

namespace {

constexpr int kUnrecognizedOptionLine = 57;

bool isNoSound(std::string_view arg) {
    std::size_t dashes = arg.find_first_not_of('-');
    return dashes != 0 && dashes != std::string_view::npos && arg.substr(dashes) == "nosound";
}

}  // namespace

ShowOptions parseCommandLine(int argc, const char* const* argv) {
    ShowOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (isNoSound(arg) || arg == "--silent") {
            options.sound = false;
        } else if (arg == "-progress") {
            options.generateProgress = true;
        } else if (!arg.empty() && arg[0] == '-') {
            throw DemoPlayerException("Unrecognized option '" + std::string(arg) + "'",
                                      source::kDemoPlayer, kUnrecognizedOptionLine);
        } else {
            options.script = arg;
        }
    }
    return options;
}

}  // namespace demo
