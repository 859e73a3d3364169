// The demoplayer program as a user runs it: options, messages, exit codes,
// and the end of the sample show played headless to its stop time.

#include <gmock/gmock.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using demo::test::buildDir;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = demo::test::freshScratchDir(
            std::string("program_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    // Runs demoplayer in the scratch directory; its exit code, and standard
    // output and error together.
    int run(const std::string& arguments, std::string& output,
            const std::string& environment = "") {
        std::string command = "cd '" + dir_.string() + "' && " + environment + " '" +
                              (buildDir() / "demoplayer").string() + "' " + arguments + " 2>&1";
        std::FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return -1;
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
        int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
};

TEST_F(ProgramTest, OptionsAndErrorsGiveTheirMessagesAndExitCodes) {
    writeFile("demo.ini", "screen end");
    writeFile("quiet.ini", "music { file \"absent.ogg\" stoptime 0.2 } end");
    auto check = [&](const std::string& arguments, int exitCode, const std::string& says,
                     const std::string& environment = "") {
        std::string output;
        EXPECT_EQ(run(arguments, output, environment), exitCode) << arguments << ": " << output;
        EXPECT_THAT(output, HasSubstr(says)) << arguments;
    };
    check("", 255, "Cannot open progress.dat. Use -progress flag to generate file.");
    writeFile("progress.dat", "");
    // "silent" needs two dashes; "nosound" takes any number.
    for (std::string option : {"-bogus", "-silent", "-", "--progress"}) {
        check(option, 255,
              "Top level:manager/demo_player L57: Unrecognized option '" + option + "'");
    }
    // With sound on the named music must exist; the silent timer needs none.
    check("quiet.ini", 255, "Cannot find absent.ogg.");
    for (const char* option : {"-nosound", "---nosound", "--silent"})
        check(option + std::string(" quiet.ini"), 0, "");
    check("-nosound", 255, "Top level:", "SDL_VIDEODRIVER=no-such-driver");
}

TEST_F(ProgramTest, TheSampleShowPlaysItsLastSecondsToItsStopTime) {
    fs::path sample = buildDir() / "sample";
    fs::copy_file(sample / "data.t", dir_ / "data.t");
    fs::copy_file(sample / "music.ogg", dir_ / "music.ogg");
    // The sample's own script, from 27 s to its stop at 30 s: the music
    // seeks, and the packed "flash" loads from data.t.
    std::ifstream in(fs::path(__FILE__).parent_path() / "../../sample/data/demo.ini");
    std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t start = script.find("starttime 0");
    ASSERT_NE(start, std::string::npos);
    writeFile("short.ini", script.replace(start, 11, "starttime 27"));
    auto begin = std::chrono::steady_clock::now();
    std::string output;
    EXPECT_EQ(run("-progress short.ini", output), 0) << output;
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_GE(seconds, 2.9);
    EXPECT_LT(seconds, 20.0);
    EXPECT_GT(fs::file_size(dir_ / "progress.dat"), 0u);
}

}  // namespace
