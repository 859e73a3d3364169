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
#include <iterator>
#include <tuple>

#include "sl-runtime/sl_records.h"
#include "tests/support/scratch_dir.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

class SlCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per test: ctest runs the tests of this file side by side.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = test::freshScratchDir(std::string("sl compiler ") + info->name());
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
        std::ifstream in(dir_ / name);
        return {std::istreambuf_iterator<char>(in), {}};
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
    auto args = [&] { return std::regex_replace(read("args"), std::regex("sltmp_\\w{6}"), "X"); };
    const std::string t = tmp_.string() + "/X|", common = path + "|" + t + "-o|" + t + "-l|" + t;
    EXPECT_EQ(args(), common + "-entry|main|-q|-profile|vp20|");
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"x"}, slProfileDx8ps, nullptr), 0);
    EXPECT_EQ(args(), common + "-q|-profile|dx8ps|");
}

TEST_F(SlCompiler, OutcomesOfFakeCompilers) {
    const std::string canned =
        "#profile vp20\n#program main\n#var float4x4 main.M\n#pragma bind main.M = c 4\n";
    // The compiler's body, the results of sliCompileProgram and slAddProgram, the listing.
    const std::tuple<std::string, int, int, std::string> cases[] = {
        {"printf '" + canned + "' > \"$3\"; echo fine > \"$5\"", 0, 0, "fine\n"},
        {"echo 'line 3: bad' > \"$5\"; exit 3", 3, 1, "line 3: bad\n"},
        {"exit 0", 0, 1, "error: the object text names profile \"\", not \"vp20\"\n"},
        {"rm \"$3\" \"$5\"", 1, 1, "error: the SL compiler wrote no object file\n"},
        {"echo partial > \"$5\"; kill -9 $$", -1, 1,
         "partial\nerror: the SL compiler was killed by signal 9\n"},
    };
    for (const auto& [body, compiled, added, listing] : cases) {
        useCompiler(body);
        std::string object, text;
        EXPECT_EQ(sliCompileProgram(&object, &text, {"src"}, slProfileVp20, nullptr), compiled);
        SlContext context = slCreateContext();
        EXPECT_EQ(slAddProgram(context, "src", slProfileVp20, nullptr), added) << body;
        EXPECT_EQ(slGetLastListing(context), listing) << body;
        EXPECT_EQ(slProgramByName(context, "main") != nullptr, added == 0) << body;
        slDestroyContext(context);
    }
}

TEST_F(SlCompiler, CompilerLookupAndInjectedRunner) {
    std::string plain = (dir_ / "not executable").string();
    std::ofstream(plain) << "#!/bin/sh\n";
    for (const std::string& path : {(dir_ / "missing").string(), plain, dir_.string()}) {
        setenv("SL_COMPILER_EXE", path.c_str(), 1);
        sliForgetCompiler();
        SlContext context = slCreateContext();
        EXPECT_EQ(slAddProgram(context, "src", slProfileVp20, "main"), 1);
        EXPECT_EQ(slGetLastListing(context),
                  "ERROR : SL compiler exe \"" + path + "\" does not exist.\n");
        slDestroyContext(context);
    }
    // A bare name is looked up on PATH.
    useCompiler("echo '#profile vp20' > \"$3\"", "myslc");
    std::string oldPath = std::getenv("PATH");
    setenv("PATH", ("/nowhere::" + dir_.string()).c_str(), 1);
    setenv("SL_COMPILER_EXE", "myslc", 1);
    sliForgetCompiler();
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
    // Without a profile the compiler never runs.
    EXPECT_EQ(sliCompileProgram(&object, &listing, {"src"}, slProfileNone, nullptr), 1);
    sliSetCommandRunner(nullptr);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace demo
