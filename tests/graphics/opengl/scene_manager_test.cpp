#include "graphics/opengl/scene_manager.h"

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

std::string load(const std::string& description) {
    AsciiReader reader("show.ini", description);
    try {
        return SceneManager::instance()->loadTimed("entry", reader)->name;
    } catch (const ExceptionBase& e) {
        return e.sourceFile() + " " + std::to_string(e.sourceLine()) + ": " + e.message();
    }
}

TEST(SceneManager, FailuresAreNotCachedAndEveryNameGoesWithItsScene) {
    const auto dir = test::freshScratchDir("scene_manager");
    using W = test::Writer3DS;
    const test::Bytes cube = W(chunk3ds::kMain).add(W(chunk3ds::kObjMesh)).bytes();
    std::ofstream(dir / "cube.3ds").write(reinterpret_cast<const char*>(cube.data()), cube.size());
    std::ofstream(dir / "empty.3ds") << "MM";
    std::ofstream(dir / "cube-scene") << "\"3DS\" \"cube.3ds\"";
    FileSystem::instance()->addDirectory(dir.string());
    SceneManager* manager = SceneManager::instance();

    EXPECT_EQ("graphics/scene 34: Parse error (show.ini 1 ): Unknown scene type '3ds'.",
              load("\"3ds\" \"cube.3ds\""));
    EXPECT_NE(std::string::npos, load("\"3DS\" \"empty.3ds\"").find("empty.3ds: 3DS chunk header"));
    AsciiReader truncated("show.ini", "\"3DS\" \"empty.3ds\"");
    EXPECT_THROW(manager->create("entry", truncated), BinaryReaderException);
    EXPECT_TRUE(manager->objects().empty());

    // Asked for by a description's file: under that name and the scene's own.
    Scene* scene = manager->get("cube-scene");
    EXPECT_EQ("cube.3ds", scene->name);
    EXPECT_EQ(2u, manager->objects().size());
    manager->release(scene);
    EXPECT_TRUE(manager->objects().empty());
    --manager->createByName("cube-scene")->refCount;
    manager->collectUnused();
    EXPECT_TRUE(manager->objects().empty());
}

}  // namespace
}  // namespace demo
