// Drives the demoarc tool built beside the tests (<build>/tools/demoarc).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DemoArc, RoundTripsADirectoryAndRefusesBadArchives) {
    fs::path tool = demo::test::buildDir() / "tools" / "demoarc";
    if (!fs::exists(tool)) GTEST_SKIP() << "demoarc not built at " << tool;
    fs::path dir = demo::test::freshScratchDir("demoarc");
    fs::create_directories(dir / "in/sub/deeper");
    // The exit status; standard output and error land in dir/out and dir/err.
    const std::string redirect = " >" + (dir / "out").string() + " 2>" + (dir / "err").string();
    auto run = [&](const std::string& args) {
        int status = std::system((tool.string() + " " + args + redirect).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    std::string noise;
    for (int i = 0; i < 70000; ++i) noise += static_cast<char>(i * 7919 % 251);
    std::map<std::string, std::string> files{{"a.txt", "hello\n"}, {"empty", ""},
        {"sub/noise.bin", noise}, {"sub/deeper/z.ini", "x = 1"}};
    for (const auto& [name, text] : files)
        std::ofstream(dir / "in" / name, std::ios::binary) << text;

    const std::string archive = (dir / "a.arc").string();
    for (const char* flag : {"", "-z "}) {
        ASSERT_EQ(run(std::string("pack ") + flag + archive + " " + (dir / "in").string()), 0);
        ASSERT_EQ(run("list " + archive), 0);
        EXPECT_EQ(slurp(dir / "out"),
                  "a.txt 6\nempty 0\nsub/deeper/z.ini 5\nsub/noise.bin 70000\n");
        for (const auto& [name, text] : files) {
            ASSERT_EQ(run("cat " + archive + " " + name), 0) << name;
            EXPECT_EQ(slurp(dir / "out"), text) << name;
        }
        EXPECT_EQ(run("cat " + archive + " absent"), 1);
    }

    // A bad archive: the system's own message and status 1.
    std::string whole = slurp(archive);
    for (std::size_t length : {std::size_t{3}, whole.size() / 2, whole.size() - 1}) {
        std::ofstream(dir / "cut.arc", std::ios::binary) << whole.substr(0, length);
        EXPECT_EQ(run("list " + (dir / "cut.arc").string()), 1) << length;
        EXPECT_EQ(slurp(dir / "err"), "manager/fileio L126: Data is corrupted\n") << length;
    }
}

}  // namespace
