// The textures section on a headless context: the guide's example loads
// every kind without holding it, and a refused entry names its line.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/opengl/texture_manager.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/progress_bar.h"
#include "player/demo_player.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/show_test_host.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

// Loads the script; the message of what it throws, or "no error".
std::string load(const std::string& script) {
    std::ofstream("show.ini", std::ios::trunc) << script;
    FileSystem::instance()->collectUnused();
    test::TestHost host;  // draws nothing; the suite's context is current
    return test::errorOf([&] { DemoPlayer(host, {}).load("show.ini"); });
}

class TexturesSectionTest : public test::HeadlessGLTest {};

TEST_F(TexturesSectionTest, TheGuidesExampleLoadsAndRefusalsNameTheirLine) {
    const fs::path source = fs::path(__FILE__).parent_path() / "../..";
    fs::path previous = fs::current_path();
    fs::current_path(test::freshScratchDir("textures_section"));
    std::ofstream("progress.dat");
    ProgressBar::instance()->reset();
    for (const char* name :
         {"sunset.jpg", "sky1.jpg", "sky2.jpg", "sky3.jpg", "sky4.jpg", "sky5.jpg", "sky6.jpg"}) {
        fs::copy_file(source / "sample/data/sunset.jpg", name);
    }
    std::ifstream in(source / "docs/show-script.md");
    std::string guide((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t open = guide.find("```\n", guide.find("Textures example:")) + 4;
    EXPECT_EQ(load(guide.substr(open, guide.find("```", open) - open) + "end"), "no error");
    const std::pair<const char*, int> declared[] = {{"sunset", 2}, {"sweep", 1}, {"tiles", 2},
        {"sky", 4}, {"steps", 3}, {"bumps", 2}, {"glass", 2}, {"screen", 5}};
    const auto& textures = TextureManager::instance()->objects();
    for (const auto& [name, type] : declared) {
        ASSERT_EQ(textures.count(name), 1u) << name;
        EXPECT_EQ(textures.at(name)->type(), type) << name;
        EXPECT_EQ(textures.at(name)->referenceCount, 0) << name;  // only users hold them
    }
    TextureManager::instance()->collectUnused();

    // The line of the entry's name, though the entry ends two lines later.
    EXPECT_EQ(load("textures {\n\n b cube {\n filename \"sky.jpg\"\n } } end"),
              "Parse error (show.ini 3 ): cubemap texture filename expects \"%d\" in the name");
    EXPECT_EQ(TextureManager::instance()->objects().size(), 1u);  // "Default" only
    fs::current_path(previous);
}

}  // namespace
}  // namespace demo
