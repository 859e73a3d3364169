#include "graphics/scene_manager.h"

#include <gtest/gtest.h>

#include <fstream>

#include "graphics/formats/chunk_3ds.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/writer_3ds.h"

namespace demo {
namespace {

using W = test::Writer3DS;

class SceneManagerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const auto dir = test::freshScratchDir("scene_manager");
        test::Bytes cube = W(chunk3ds::kMain).add(W(chunk3ds::kObjMesh)).bytes();
        std::ofstream(dir / "cube.3ds", std::ios::binary).write(reinterpret_cast<const char*>(cube.data()), long(cube.size()));
        std::ofstream(dir / "empty.3ds", std::ios::binary) << "MM";
        std::ofstream(dir / "cube-scene") << "\"3DS\" \"cube.3ds\"";
        FileSystem::instance()->addDirectory(dir.string());
    }

    Scene* load(const std::string& description) {
        AsciiReader reader("show.ini", description);
        return manager->loadTimed("entry", reader);
    }
    std::string errorOf(const std::string& description) {
        try {
            load(description);
        } catch (const ExceptionBase& e) {
            return e.sourceFile() + " " + std::to_string(e.sourceLine()) + ": " + e.message();
        }
        return "loaded";
    }

    SceneManager* manager = SceneManager::instance();
};

struct Plain : SceneCreator {
    Scene* create(const std::string& name, AsciiReader&) override { return new Scene(name); }
    std::string name() const override { return "PLAIN"; }
};

TEST_F(SceneManagerTest, TypesAndFailuresLeaveNothingCached) {
    EXPECT_EQ("graphics/scene 34: Parse error (show.ini 1 ): Unknown scene type '3ds'.",
              errorOf("\"3ds\" \"cube.3ds\""));
    EXPECT_NE(std::string::npos, errorOf("\"3DS\" \"empty.3ds\"").find("empty.3ds: 3DS chunk header"));
    EXPECT_NE(std::string::npos, errorOf("\"3DS\" \"missing.3ds\"").find("Cannot obtain 'missing.3ds'."));
    EXPECT_TRUE(manager->objects().empty());
    manager->addCreator(std::make_unique<Plain>());  // found by the next create
    Scene* plain = load("\"PLAIN\"");
    EXPECT_EQ("entry", plain->name);
    manager->release(plain);
    EXPECT_TRUE(manager->objects().empty());
}

TEST_F(SceneManagerTest, AScenesEveryNameGoesWithIt) {
    Scene* first = load("\"3DS\" \"cube.3ds\"");
    Scene* second = load("\"3DS\" \"cube.3ds\"");  // replaces the first under the file's name
    EXPECT_EQ(second, manager->objects().at("cube.3ds"));
    manager->release(first);
    manager->release(second);

    // Asked for by the description's file: stored under both names.
    Scene* scene = manager->get("cube-scene");
    EXPECT_EQ("cube.3ds", scene->name);
    EXPECT_EQ(2u, manager->objects().size());
    manager->release(scene);
    EXPECT_TRUE(manager->objects().empty());
    scene = manager->get("cube-scene");
    --scene->referenceCount;
    manager->collectUnused();
    EXPECT_TRUE(manager->objects().empty());
}

}  // namespace
}  // namespace demo
