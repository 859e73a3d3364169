#include "player/scenes_section.h"

#include <gtest/gtest.h>

#include "graphics/opengl/scene_manager.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"

namespace demo {
namespace {

struct NothingCreator : SceneCreator {
    Scene* create(const std::string&, AsciiReader&) override { return nullptr; }
    std::string name() const override { return "Nothing"; }
};

TEST(ScenesSection, ATypeThatMakesNoSceneIsAnErrorAtItsEntry) {
    SceneManager::instance()->addCreator(std::make_unique<NothingCreator>());
    AsciiReader reader("show.ini", "{\n\n  ghost\n  \"Nothing\"\n}");
    try {
        readScenesSection(reader);
        ADD_FAILURE() << "no error";
    } catch (const ParseError& e) {
        EXPECT_EQ("Parse error (show.ini 3 ): ghost: the scene type 'Nothing' made no scene",
                  e.message());
    }
    EXPECT_TRUE(SceneManager::instance()->objects().empty());
}

}  // namespace
}  // namespace demo
