// Drives the demoarc tool built beside the tests (<build>/tools/demoarc).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class DemoArc : public testing::Test {
protected:
    void SetUp() override {
        tool = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "demoarc";
        if (!fs::exists(tool)) GTEST_SKIP() << "demoarc not built at " << tool;
        const char* root = std::getenv("DEMO_TEST_TMP");
        dir = fs::path(root ? root : "/tmp") /
              (std::string("demoarc_") + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "in" / "sub" / "deeper");
    }

    // Exit status; stdout and stderr land in dir/out and dir/err.
    int run(const std::string& args) {
        std::string command = tool.string() + " " + args + " >" + (dir / "out").string() + " 2>" +
                              (dir / "err").string();
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path tool;
    fs::path dir;
};

TEST_F(DemoArc, RoundTripsADirectoryAndRefusesBadArchives) {
    std::mt19937 random(5);
    std::string noise(70000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::map<std::string, std::string> files{
        {"a.txt", "hello\n"}, {"empty", ""}, {"sub/noise.bin", noise}, {"sub/deeper/z.ini", "x = 1"}};
    for (const auto& [name, text] : files) std::ofstream(dir / "in" / name, std::ios::binary) << text;

    for (const char* flag : {"-z ", ""}) {
        fs::path archive = dir / "a.arc";
        ASSERT_EQ(run(std::string("pack ") + flag + archive.string() + " " + (dir / "in").string()), 0);
        ASSERT_EQ(run("list " + archive.string()), 0);
        EXPECT_EQ(slurp(dir / "out"), "a.txt 6\nempty 0\nsub/deeper/z.ini 5\nsub/noise.bin 70000\n");
        for (const auto& [name, text] : files) {
            ASSERT_EQ(run("cat " + archive.string() + " " + name), 0) << name;
            EXPECT_EQ(slurp(dir / "out"), text) << name;
        }
        EXPECT_EQ(run("cat " + archive.string() + " absent"), 1);
    }

    // A bad archive: the system's own message and status 1.
    std::string whole = slurp(dir / "a.arc");
    for (std::size_t length : {std::size_t{3}, whole.size() - 1}) {
        std::ofstream(dir / "cut.arc", std::ios::binary) << whole.substr(0, length);
        EXPECT_EQ(run("list " + (dir / "cut.arc").string()), 1) << length;
        EXPECT_EQ(slurp(dir / "err"), "manager/fileio L126: Data is corrupted\n") << length;
    }
}

}  // namespace
