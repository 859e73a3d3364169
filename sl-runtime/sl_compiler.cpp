#include "sl-runtime/sl_compiler.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/child_process.h"
#include "platform/temporary_file.h"

#ifndef DEMO_SL_COMPILER_DEFAULT
#define DEMO_SL_COMPILER_DEFAULT "slc"
#endif

namespace demo {
namespace {

std::optional<std::string> compilerPath;

int runChild(const std::vector<std::string>& arguments, std::string* messages) {
    std::optional<std::string> executable = platform::findExecutable(arguments.at(0));
    if (!executable) {
        *messages += "error: the SL compiler \"" + arguments[0] + "\" is not an executable file\n";
        return -1;
    }
    platform::ChildResult result = platform::runChildProcess(*executable, arguments);
    if (!result.started) {
        *messages += "error: the SL compiler could not be run: " + result.error + "\n";
        return -1;
    }
    if (result.signaled) {
        *messages += "error: the SL compiler was killed by signal " + std::to_string(result.signal) + "\n";
        return -1;
    }
    return result.exitCode;
}

SlCommandRunner& runner() {
    static SlCommandRunner current = runChild;
    return current;
}

// The whole file, or null when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The three temporary files of one compilation, removed when it ends.
struct TemporaryFiles {
    std::vector<std::string> names;
    ~TemporaryFiles() {
        for (const std::string& name : names) std::remove(name.c_str());
    }
    bool make(std::string* messages) {
        std::string name;
        if (sliTempFileName(&name) == 0) {
            *messages += "error: no temporary file could be made in \"" +
                         platform::temporaryDirectory() + "\"\n";
            return false;
        }
        names.push_back(std::move(name));
        return true;
    }
};

}  // namespace

const std::string& sliFindCompiler() {
    if (!compilerPath) {
        const char* registry = sliReadRegistryPath(
            "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\SL Toolkit\\Global\\sl\\SL_COMPILER_EXE");
        const char* env = std::getenv("SL_COMPILER_EXE");
        compilerPath = env != nullptr        ? env
                       : registry != nullptr ? registry
                                             : DEMO_SL_COMPILER_DEFAULT;
    }
    return *compilerPath;
}

// Linux has no registry; the build-time default plays its role.
const char* sliReadRegistryPath(const char* /*path*/) { return nullptr; }

int sliCompilerExists(const char* path) {
    return path != nullptr && platform::findExecutable(path) ? 1 : 0;
}

int sliTempFileName(std::string* buffer) {
    std::optional<std::string> name = platform::createTemporaryFile("sltmp_");
    if (!name) return 0;
    *buffer = std::move(*name);
    return 1;
}

int sliRunCommand(const std::vector<std::string>& arguments, std::string* messages) {
    std::string ignored;
    return runner()(arguments, messages != nullptr ? messages : &ignored);
}

int sliReadWholeFile(std::string* out, const char* fileName) {
    std::optional<std::string> text = readWholeFile(fileName);
    if (!text) return 0;
    *out = std::move(*text);
    return 1;
}

const char* sliProfileOption(SlProfile profile) {
    static constexpr const char* kOptions[] = {"-profile vp20", "-profile fp30", "-profile dx8vs",
                                               "-profile dx8ps"};
    return profile >= slProfileVp20 && profile <= slProfileDx8ps ? kOptions[profile] : nullptr;
}

void sliForgetCompiler() { compilerPath.reset(); }

const char* sliProfileName(SlProfile profile) {
    switch (profile) {
        case slProfileVp20: return "vp20";
        case slProfileFp30: return "fp30";
        case slProfileDx8vs: return "dx8vs";
        case slProfileDx8ps: return "dx8ps";
        default: return nullptr;
    }
}

void sliSetCommandRunner(SlCommandRunner replacement) {
    runner() = replacement ? std::move(replacement) : SlCommandRunner(runChild);
}

int sliCompileProgram(std::string* object, std::string* listing,
                      const std::vector<std::string>& sources, SlProfile profile,
                      const char* entry) {
    listing->clear();
    const std::string& compiler = sliFindCompiler();
    const char* profileName = sliProfileName(profile);
    if (profileName == nullptr) {
        *listing += "error: no compiler profile for profile number " + std::to_string(profile) + "\n";
        return slErrorCompile;
    }
    if (sliCompilerExists(compiler.c_str()) == 0) {
        std::fprintf(stderr, "ERROR : SL compiler exe \"%s\" does not exist.\n", compiler.c_str());
        *listing += "ERROR : SL compiler exe \"" + compiler + "\" does not exist.\n";
        return slErrorCompile;
    }
    TemporaryFiles files;
    if (!files.make(listing) || !files.make(listing) || !files.make(listing)) return slErrorCompile;
    const std::string& sourceName = files.names[0];
    const std::string& objectName = files.names[1];
    const std::string& listingName = files.names[2];
    {
        std::ofstream out(sourceName, std::ios::binary);
        for (const std::string& source : sources) out << source;
        if (!out.flush()) {
            *listing += "error: the source could not be written to \"" + sourceName + "\"\n";
            return slErrorCompile;
        }
    }
    std::vector<std::string> arguments = {compiler, sourceName, "-o", objectName, "-l", listingName};
    if (entry != nullptr) {
        arguments.push_back("-entry");
        arguments.push_back(entry);
    }
    arguments.insert(arguments.end(), {"-q", "-profile", profileName});
    std::string messages;
    int code = sliRunCommand(arguments, &messages);
    // A missing listing reads as an empty one.
    if (sliReadWholeFile(listing, listingName.c_str()) == 0) listing->clear();
    *listing += messages;
    if (code != 0) return code;
    if (sliReadWholeFile(object, objectName.c_str()) == 0) {
        *listing += "error: the SL compiler wrote no object file\n";
        return slErrorCompile;
    }
    return slOk;
}

int sliCompileProgram(std::string* object, std::string* listing, const char* const* sources,
                      int count, SlProfile profile, const char* entry) {
    std::vector<std::string> texts;
    for (int i = 0; sources != nullptr && i < count; ++i)
        if (sources[i] != nullptr) texts.emplace_back(sources[i]);
    return sliCompileProgram(object, listing, texts, profile, entry);
}

}  // namespace demo
