// The textures section on a headless context: the guide's example loads
// every kind, and refused entries stop loading at their script line.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/opengl/texture_manager.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/progress_bar.h"
#include "player/demo_player.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/show_test_host.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = fs::path(__FILE__).parent_path() / "../..";

// The code block that follows the first line containing `marker`.
std::string codeBlockAfter(const std::string& text, const std::string& marker) {
    std::size_t open = text.find("```\n", text.find(marker));
    if (open == std::string::npos) return "";
    std::size_t close = text.find("```", open + 4);
    return close == std::string::npos ? "" : text.substr(open + 4, close - open - 4);
}

class TexturesSectionTest : public test::HeadlessGLTest {
protected:
    void SetUp() override {
        HeadlessGLTest::SetUp();
        fs::path dir = test::freshScratchDir("textures_section");
        previous_ = fs::current_path();
        fs::current_path(dir);
        std::ofstream("progress.dat");
        fs::copy_file(kSource / "sample/data/sunset.jpg", "sunset.jpg");
        for (int i = 1; i <= 6; ++i) {
            fs::copy_file("sunset.jpg", "sky" + std::to_string(i) + ".jpg");
        }
        ProgressBar::instance()->reset();
        FileSystem::instance()->collectUnused();
    }
    void TearDown() override {
        fs::current_path(previous_);
        TextureManager::instance()->collectUnused();
    }

    // Loads the script; the message of what it throws, or "loaded".
    std::string load(const std::string& script) {
        std::ofstream("show.ini", std::ios::trunc) << script;
        FileSystem::instance()->collectUnused();
        test::TestHost host;  // draws nothing; the suite's context is current
        try {
            DemoPlayer(host, {}).load("show.ini");
        } catch (const ExceptionBase& e) {
            return e.message();
        }
        return "loaded";
    }

    fs::path previous_;
};

TEST_F(TexturesSectionTest, TheGuidesExampleDeclaresEveryKindWithoutHoldingThem) {
    std::ifstream in(kSource / "docs/show-script.md");
    std::string guide((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string example = codeBlockAfter(guide, "Textures example:");
    ASSERT_NE(example.find("textures"), std::string::npos);
    ASSERT_EQ(load(example + "end"), "loaded");

    const std::pair<const char*, int> declared[] = {
        {"sunset", 2}, {"sweep", 1}, {"tiles", 2}, {"sky", 4},
        {"steps", 3},  {"bumps", 2}, {"glass", 2}, {"screen", 5},
    };
    const auto& textures = TextureManager::instance()->objects();
    for (const auto& [name, type] : declared) {
        ASSERT_EQ(textures.count(name), 1u) << name;
        EXPECT_EQ(textures.at(name)->type(), type) << name;
        EXPECT_EQ(textures.at(name)->referenceCount, 0) << name;
    }
    Texture* tiles = textures.at("tiles");
    tiles->bind();
    EXPECT_EQ(test::texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(test::texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(test::texParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    textures.at("sweep")->bind();
    EXPECT_EQ(test::levelParameter(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH), 64 * 64);
}

TEST_F(TexturesSectionTest, RefusedEntriesAreParseErrorsAtTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"textures {\n a texture2d { filename \"a.png\" } } end",
         "Parse error (show.ini 2 ): texture image not found: a.png"},
        {"textures {\n\n b cube { filename \"sky.jpg\" } } end",
         "Parse error (show.ini 3 ): cubemap texture filename expects \"%d\" in the name"},
        {"textures { c cube { filenames { \"sky1.jpg\" \"sky2.jpg\" \"sky3.jpg\" \"sky4.jpg\" "
         "\"sky5.jpg\" \"sky7.jpg\" } } } end",
         "Parse error (show.ini 1 ): texture image not found: sky7.jpg"},
        {"textures { d sphere } end",
         "Parse error (show.ini 1 ): One of the strings 'texture1d' 'texture2d' 'texture3d' "
         "'cube' 'rectangle' was expected here.STRING:sphere"},
        {"textures { } end", "loaded"},
    };
    for (const auto& [script, message] : cases) EXPECT_EQ(load(script), message) << script;
    EXPECT_EQ(TextureManager::instance()->objects().size(), 1u);  // "Default" only
}

}  // namespace
}  // namespace demo
