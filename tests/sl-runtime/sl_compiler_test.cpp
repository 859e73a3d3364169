// Compiling through fake compilers: small shell scripts that record their
// arguments, write canned files, fail or die. Temporary files go to a folder
// with spaces in its name, which must be empty after every compilation.

#include "sl-runtime/sl_compiler.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/child_process.h"
#include "sl-runtime/sl_records.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

class SlCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test: ctest runs the tests of this file side by side.
        dir_ = test::freshScratchDir(std::string("sl compiler ") +
                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(tmp_ = dir_ / "tmp with spaces");
        setenv("TMPDIR", tmp_.c_str(), 1);
    }
    void TearDown() override {
        EXPECT_TRUE(fs::is_empty(tmp_)) << "temporary files left";
        unsetenv("TMPDIR");
        unsetenv("SL_COMPILER_EXE");
        sliForgetCompiler();
    }
    // A compiler running the shell body; $1 source, $3 object, $5 listing.
    std::string useCompiler(const std::string& body, const std::string& name = "fake slc") {
        std::string path = (dir_ / name).string();
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), 0755);
        setenv("SL_COMPILER_EXE", path.c_str(), 1);
        sliForgetCompiler();
        return path;
    }
    std::string read(const std::string& name) {
        std::ostringstream out;
        out << std::ifstream(dir_ / name).rdbuf();
        return out.str();
    }
    fs::path dir_, tmp_;
};

TEST_F(SlCompiler, ArgumentVectorAndSources) {
    std::string path = useCompiler("printf '%s|' \"$0\" \"$@\" > \"$(dirname \"$0\")/args\"\n"
                                   "cp \"$1\" \"$(dirname \"$0\")/source\"");
    std::string object, listing;
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"first ", "second"}, slProfileVp20, "main"), 0);
    EXPECT_EQ(read("source"), "first second");
    // The temporary names with their unique part blotted out.
    auto args = [&] { return std::regex_replace(read("args"), std::regex("sltmp_\\w{6}"), "sltmp_X"); };
    std::string t = tmp_.string() + "/sltmp_X";
    std::string common = path + "|" + t + "|-o|" + t + "|-l|" + t + "|";
    EXPECT_EQ(args(), common + "-entry|main|-q|-profile|vp20|");
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"x"}, slProfileDx8ps, nullptr), 0);
    EXPECT_EQ(args(), common + "-q|-profile|dx8ps|");
}

TEST_F(SlCompiler, OutcomesOfFakeCompilers) {
    const char* canned = "#profile vp20\n#program main\n#var float4x4 main.M\n#pragma bind main.M = c 4\n";
    struct Case {
        std::string body;
        int compiled;            // sliCompileProgram's result
        int added;               // slAddProgram's result
        const char* listing;     // what the listing holds
    };
    const Case cases[] = {
        {"printf '" + std::string(canned) + "' > \"$3\"; echo fine > \"$5\"", 0, 0, "fine\n"},
        {"echo 'line 3: bad' > \"$5\"; exit 3", 3, 1, "line 3: bad\n"},
        {"exit 0", 0, 1, "error: the object text names profile \"\", not \"vp20\"\n"},
        {"rm \"$3\" \"$5\"", 1, 1, "error: the SL compiler wrote no object file\n"},
        {"echo partial > \"$5\"; kill -9 $$", -1, 1, "partial\nerror: the SL compiler was killed by signal 9\n"},
    };
    for (const Case& c : cases) {
        useCompiler(c.body);
        std::string object, listing;
        EXPECT_EQ(sliCompileProgram(&object, &listing, {"src"}, slProfileVp20, nullptr), c.compiled) << c.body;
        SlContext context = slCreateContext();
        EXPECT_EQ(slAddProgram(context, "src", slProfileVp20, nullptr), c.added) << c.body;
        EXPECT_EQ(slGetLastListing(context), std::string(c.listing)) << c.body;
        SlProgramHandle program = slProgramByName(context, "main");
        EXPECT_EQ(program != nullptr, c.added == 0) << c.body;
        EXPECT_EQ(program != nullptr ? program->objectText : canned, canned);
        slDestroyContext(context);
    }
}

TEST_F(SlCompiler, CompilerThatIsNotThere) {
    std::string plain = (dir_ / "not executable").string();
    std::ofstream(plain) << "#!/bin/sh\n";
    for (const std::string& path : {(dir_ / "missing").string(), plain, dir_.string()}) {
        setenv("SL_COMPILER_EXE", path.c_str(), 1);
        sliForgetCompiler();
        SlContext context = slCreateContext();
        EXPECT_EQ(slAddProgram(context, "src", slProfileVp20, "main"), 1);
        EXPECT_EQ(slGetLastListing(context), "ERROR : SL compiler exe \"" + path + "\" does not exist.\n");
        slDestroyContext(context);
    }
}

TEST_F(SlCompiler, BareNameFromPathAndInjectedRunner) {
    useCompiler("echo '#profile vp20' > \"$3\"", "myslc");
    std::string oldPath = std::getenv("PATH");
    setenv("PATH", ("/nowhere::" + dir_.string()).c_str(), 1);
    setenv("SL_COMPILER_EXE", "myslc", 1);
    sliForgetCompiler();
    EXPECT_EQ(platform::findExecutable("myslc"), (dir_ / "myslc").string());
    std::string object, listing;
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"src"}, slProfileVp20, nullptr), 0);
    EXPECT_EQ(object, "#profile vp20\n");

    int calls = 0;
    sliSetCommandRunner([&](const std::vector<std::string>& arguments, std::string*) {
        ++calls;
        EXPECT_EQ(arguments.at(0), "myslc");  // as configured, not the found path
        return 2;
    });
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"src"}, slProfileVp20, nullptr), 2);
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"src"}, slProfileNone, nullptr), 1);  // never runs
    sliSetCommandRunner(nullptr);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(platform::findExecutable("myslc"), std::nullopt);
}

}  // namespace
}  // namespace demo
