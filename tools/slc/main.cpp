// slc: compiles one vertex-language source for the vp20 profile.
//   slc <source> [-o <object>] [-l <listing>] [-entry <name>] [-profile vp20] [-q]
// Exit codes: 0 compiled, 1 an error (in the listing), 2 a profile other
// than vp20. Without -o the object goes to standard output, without -l the
// listing to standard error.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/slc/compiler.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

// The listing goes to its file, or to standard error when there is none.
int finish(const std::string& listingPath, const std::string& listing, int code) {
    if (listingPath.empty()) {
        std::cerr << listing;
    } else if (!writeFile(listingPath, listing)) {
        std::cerr << "slc: cannot write the listing " << listingPath << "\n" << listing;
        return code == 0 ? 1 : code;
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, object, listing, entry = "main", profile = "vp20";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "-o") {
            ok = value(object);
        } else if (arg == "-l") {
            ok = value(listing);
        } else if (arg == "-entry") {
            ok = value(entry);
        } else if (arg == "-profile") {
            ok = value(profile);
        } else if (arg == "-q") {
        } else if (!arg.empty() && arg[0] != '-' && source.empty()) {
            source = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            std::cerr << "usage: slc <source> [-o object] [-l listing] [-entry name] [-profile vp20] [-q]\n";
            return finish(listing, "slc: bad argument '" + arg + "'\n", 1);
        }
    }
    if (profile != "vp20") return finish(listing, "slc: profile '" + profile + "' is not supported; only vp20\n", 2);
    if (source.empty()) return finish(listing, "slc: no source file\n", 1);
    std::ifstream in(source, std::ios::binary);
    if (!in) return finish(listing, source + "(0) : error: cannot open the source\n", 1);
    std::stringstream text;
    text << in.rdbuf();
    demo::slc::Compilation result = demo::slc::compile(text.str(), source, entry);
    if (!result.ok) return finish(listing, result.listing, 1);
    if (object.empty()) {
        std::cout << result.object;
    } else if (!writeFile(object, result.object)) {
        return finish(listing, "slc: cannot write the object " + object + "\n", 1);
    }
    return finish(listing, result.listing, 0);
}
