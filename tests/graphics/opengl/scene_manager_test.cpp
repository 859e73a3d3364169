#include "graphics/opengl/scene_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "graphics/formats/chunk_3ds.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/opengl/scene_instance.h"
#include "graphics/opengl/texture_manager.h"
#include "graphics/scene_object.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "manager/timer_base.h"
#include "tests/support/fake_counter.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/texture_fixture.h"
#include "tests/support/writer_3ds.h"

namespace demo {
namespace {

using W = test::Writer3DS;
namespace id = chunk3ds;

void writeFile(const std::filesystem::path& path, const test::Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

std::string load(const std::string& description) {
    AsciiReader reader("show.ini", description);
    try {
        return SceneManager::instance()->loadTimed("entry", reader)->name;
    } catch (const ExceptionBase& e) {
        return e.sourceFile() + " " + std::to_string(e.sourceLine()) + ": " + e.message();
    }
}

// "Made" "NAME": a scene called NAME holding one object "o"; "none" makes none.
struct MadeCreator : SceneCreator {
    Scene* create(const std::string&, AsciiReader& reader) override {
        const std::string name = reader.readQuotedString();
        if (name == "none") return nullptr;
        auto* scene = new Scene(name);
        scene->addObject(std::make_unique<SceneObject>("o"));
        return scene;
    }
    std::string name() const override { return "Made"; }
};

TEST(SceneManager, FailuresAreNotCachedAndEveryNameGoesWithItsScene) {
    const auto dir = test::freshScratchDir("scene_manager");
    writeFile(dir / "cube.3ds", W(id::kMain).add(W(id::kObjMesh)).bytes());
    std::ofstream(dir / "empty.3ds") << "MM";
    std::ofstream(dir / "cube-scene") << "\"3DS\" \"cube.3ds\"";
    FileSystem::instance()->addDirectory(dir.string());
    SceneManager* manager = SceneManager::instance();

    EXPECT_EQ("graphics/scene 34: Parse error (show.ini 1 ): Unknown scene type '3ds'.",
              load("\"3ds\" \"cube.3ds\""));
    EXPECT_NE(std::string::npos, load("\"3DS\" \"empty.3ds\"").find("empty.3ds: 3DS chunk header"));
    AsciiReader truncated("show.ini", "\"3DS\" \"empty.3ds\"");
    EXPECT_THROW(manager->create("entry", truncated), BinaryReaderException);
    // A creator queued after the first create is found by the next one.
    manager->addCreator(std::make_unique<MadeCreator>());
    EXPECT_EQ("graphics/opengl/scene_manager 20: entry: the scene type 'Made' made no scene",
              load("\"Made\" \"none\""));
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
    // A 3DS file asked for by its own name (any case) is read as one.
    scene = manager->get("CUBE.3ds");
    EXPECT_EQ("CUBE.3ds", scene->name);
    manager->release(scene);
    EXPECT_TRUE(manager->objects().empty());
}

TEST(SceneManager, ASceneOfTheSameNameDisplacesTheFirstAndLoadsAreTimed) {
    test::FakeCounter counter;  // a load takes one second
    counter.step = 1;
    initTimerBase();
    SceneManager* manager = SceneManager::instance();
    manager->addCreator(std::make_unique<MadeCreator>());
    const float before = manager->loadSeconds();
    AsciiReader reader("show.ini", "\"Made\" \"same\" \"Made\" \"same\" \"Made\" \"same\"");
    Scene* first = manager->loadTimed("one", reader);
    Scene* second = manager->loadTimed("two", reader);
    EXPECT_EQ(2.0f, manager->loadSeconds() - before);
    EXPECT_EQ(1u, manager->objects().size());
    EXPECT_EQ(second, manager->objects().at("same"));
    SceneObject* held = first->findObject("o");
    ++held->refCount;
    EXPECT_EQ(1, first->refCount);  // its caller's, so it stays
    manager->release(first);        // no longer listed: only the caller held it
    EXPECT_EQ(1, held->refCount);
    releaseCounted(held);
    ++(held = second->findObject("o"))->refCount;
    --second->refCount;  // nobody holds the second: the third displaces and destroys it
    Scene* third = manager->loadTimed("three", reader);
    EXPECT_EQ(1, held->refCount);
    releaseCounted(held);
    manager->release(third);
    EXPECT_TRUE(manager->objects().empty());
}

class SceneLifetimeTest : public test::HeadlessGLTest {};

// Scenes of one 3DS file, under one name and under two, with everything made
// of them let go in every order: nothing outlives its last holder.
TEST_F(SceneLifetimeTest, ScenesInstancesBatchesAndClonesGoInAnyOrder) {
    const auto dir = test::freshScratchDir("scene_lifetime");
    std::filesystem::copy_file(std::filesystem::path(__FILE__).parent_path() / "../../data/red.jpg", dir / "red.jpg");
    W tri = W(id::kTriMesh).add(W(id::kVertList).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0))
                .add(W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0).add(W(id::kFaceMat).text("paint").u16(1).u16(0)));
    W objects(id::kObjMesh);
    for (int i = 0; i < 3; ++i)  // the later materials of the name replace the earlier
        objects.add(W(id::kMaterial).add(W(id::kMatName).text("paint")).add(W(id::kTexture).add(W(id::kMapFile).text("RED.JPG"))));
    objects.add(W(id::kObjBlock).text("body").add(tri)).add(W(id::kObjBlock).text("arm").add(tri));
    objects.add(W(id::kObjBlock).text("eye").add(W(id::kCamera).vec(0, 0, 5).vec(0, 0, 0).f32(0).f32(35)));
    objects.add(W(id::kObjBlock).text("sun").add(W(id::kLight).vec(0, 0, 5)));
    W keys = W(id::kKeyframer);
    keys.add(W(id::kTrackInfo).add(W(id::kTrackObjName).text("body").u32(0).u16(0xFFFF)).add(test::track(id::kTrackPos, {{0, {1, 0, 0}}})));
    keys.add(W(id::kTrackInfo).add(W(id::kTrackObjName).text("arm").u32(0).u16(0)).add(test::track(id::kTrackPos, {{0, {0, 1, 0}}})));
    keys.add(W(id::kTrackCamera).add(W(id::kTrackObjName).text("eye").u32(0).u16(0xFFFF)).add(test::track(id::kTrackPos, {{0, {0, 0, 4}}})));
    keys.add(W(id::kTrackLight).add(W(id::kTrackObjName).text("sun").u32(0).u16(0xFFFF)).add(test::track(id::kTrackPos, {{0, {0, 0, 6}}})));
    writeFile(dir / "toy.3ds", W(id::kMain).add(objects).add(keys).bytes());
    std::ofstream(dir / "toy-scene") << "\"3DS\" \"toy.3ds\"";
    FileSystem::instance()->addDirectory(dir.string());
    SceneManager* manager = SceneManager::instance();
    const auto& textures = TextureManager::instance()->objects();

    std::array<int, 4> order{0, 1, 2, 3};  // instance, batch, clone, scene
    int round = 0;
    do {
        Scene* scene = nullptr;
        if (round++ % 2 == 0) {
            AsciiReader reader("show.ini", "\"3DS\" \"toy.3ds\"");
            scene = manager->loadTimed("toy", reader);
        } else {
            scene = manager->get("toy-scene");
        }
        ASSERT_EQ(2, textures.at("paint")->referenceCount);  // one for each mesh
        auto instance = std::make_unique<SceneInstance>(scene, GLState::instance());
        auto batch = instance->makeObjectBatch("body");
        batch->compile();
        auto clone = scene->findObject("body")->cloneDeep();
        for (int step : order) {
            if (step == 0) instance->setTime(1), instance.reset();
            if (step == 1) batch->draw(), batch.reset();
            if (step == 2) clone->advanceTree(), clone.reset();
            if (step == 3) manager->release(std::exchange(scene, nullptr));
        }
        EXPECT_TRUE(manager->objects().empty());
        EXPECT_EQ(0u, textures.count("paint"));
    } while (std::next_permutation(order.begin(), order.end()));
}

}  // namespace
}  // namespace demo
