// The demoplayer program as a user runs it: options, messages, exit codes,
// and the sample show played headless to its stop time.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// The build tree: this test runs as <build>/tests/<name>.
fs::path buildDir() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path(); }

struct RunResult {
    int exitCode = -1;
    std::string output;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("DEMO_TEST_TMP");
        dir_ = fs::path(tmp != nullptr ? tmp : "/tmp") /
               (std::string("program_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }

    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    // Runs demoplayer headless in the scratch directory; standard output and
    // error together.
    RunResult run(const std::string& arguments, const std::string& environment = "") {
        std::string command = "cd '" + dir_.string() +
                              "' && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " + environment + " '" +
                              (buildDir() / "demoplayer").string() + "' " + arguments + " 2>&1";
        RunResult result;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
        int status = pclose(pipe);
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        return result;
    }

    fs::path dir_;
};

TEST_F(ProgramTest, AnUnknownOptionIsRefused) {
    // "silent" needs two dashes; "nosound" takes any number.
    for (const char* option : {"-bogus", "-silent", "-", "--progress"}) {
        RunResult result = run(option);
        EXPECT_EQ(result.exitCode, 255);
        EXPECT_THAT(result.output, HasSubstr(std::string("Top level:manager/demo_player L57: "
                                                         "Unrecognized option '") + option + "'"));
    }
}

TEST_F(ProgramTest, WithoutProgressDatItSaysHowToMakeIt) {
    writeFile("demo.ini", "end");
    RunResult result = run("");
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_THAT(result.output,
                HasSubstr("Cannot open progress.dat. Use -progress flag to generate file."));
}

TEST_F(ProgramTest, SoundOffOptionsPlayWithoutTheMusic) {
    // With sound on the named music must exist; with sound off it is not
    // even looked for, and the silent timer runs the show.
    writeFile("progress.dat", "");
    writeFile("quiet.ini", "music { file \"absent.ogg\" stoptime 0.2 } end");
    RunResult withSound = run("quiet.ini");
    EXPECT_EQ(withSound.exitCode, 255);
    EXPECT_THAT(withSound.output, HasSubstr("Cannot find absent.ogg."));
    for (const char* option : {"-nosound", "--nosound", "---nosound", "--silent"}) {
        RunResult silent = run(std::string(option) + " quiet.ini");
        EXPECT_EQ(silent.exitCode, 0) << option << ": " << silent.output;
    }
}

TEST_F(ProgramTest, AScriptErrorNamesTheScriptAndLine) {
    writeFile("progress.dat", "");
    writeFile("broken.ini", "music\n{\n    stoptime soon\n}\nend");
    RunResult result = run("-nosound broken.ini");
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_THAT(result.output, HasSubstr("Parse error (broken.ini 3 ): Number was expected here."));
}

TEST_F(ProgramTest, AWindowThatCannotOpenIsReportedAtTheTop) {
    writeFile("progress.dat", "");
    writeFile("demo.ini", "screen end");
    RunResult result = run("-nosound", "SDL_VIDEODRIVER=no-such-driver");
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_THAT(result.output, HasSubstr("Top level:"));
}

TEST_F(ProgramTest, TheSampleShowPlaysToItsStopTime) {
    fs::path sample = buildDir() / "sample";
    fs::copy_file(sample / "data.t", dir_ / "data.t");
    fs::copy_file(sample / "music.ogg", dir_ / "music.ogg");
    auto begin = std::chrono::steady_clock::now();
    RunResult result = run("-progress");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_GE(seconds, 29.5);  // the script stops at 30 s
    EXPECT_GT(fs::file_size(dir_ / "progress.dat"), 0u);
}

}  // namespace
