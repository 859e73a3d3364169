#include "graphics/opengl/scene_manager.h"

#include <gtest/gtest.h>

#include "graphics/scene_object.h"
#include "graphics/track_controller.h"
#include "manager/ascii_reader.h"
#include "manager/timer_base.h"
#include "tests/support/error_of.h"
#include "tests/support/fake_counter.h"

namespace demo {
namespace {

TEST(Scene, CollectionsCountTheirItemsHolders) {
    auto scene = std::make_unique<Scene>("s.3ds");
    SceneObject* first = scene->addObject(std::make_unique<SceneObject>("twin"));
    SceneObject* second = scene->addObject(std::make_unique<SceneObject>("twin"));
    second->addChild(first);
    // Its creator lets go: the parent keeps it, and the collection gives nothing back for it later.
    scene->objects.release(first);
    EXPECT_TRUE(scene->objects.get("twin") == second && scene->objects.get("nobody") == nullptr);
    scene->objects.release(second);
    // Displaced and listed by nobody: released to zero it goes now and once (its child counts).
    SceneObject kid("kid");
    SceneObject* lone = scene->addObject(std::make_unique<SceneObject>("lone"));
    scene->addObject(std::make_unique<SceneObject>("lone"));
    lone->addChild(&kid);
    scene->objects.release(lone);
    EXPECT_TRUE(kid.refCount == 1 && kid.parent == nullptr);
    Camera* eye = scene->addCamera(std::make_unique<Camera>("eye", 45, 1));
    newTracks(*eye);
    ++eye->refCount, ++first->refCount, ++second->refCount;
    scene.reset();  // what others hold lives on, tracks included
    eye->reset();
    EXPECT_TRUE(eye->refCount == 1 && first->refCount == 2 && kid.refCount == 1);
    releaseCounted(eye), releaseCounted(second), releaseCounted(first);
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

TEST(SceneManager, NoSceneIsNotCachedAndDisplacedScenesGoWithTheirLastHolder) {
    test::FakeCounter counter;  // a load takes one second
    counter.step = 1;
    initTimerBase();
    SceneManager* manager = SceneManager::instance();
    AsciiReader early("show.ini", "\"Made\" \"none\""), none("show.ini", "\"Made\" \"none\"");
    EXPECT_EQ(test::errorOf([&] { manager->loadTimed("entry", early); }), "Parse error (show.ini 1 ): Unknown scene type 'Made'.");
    manager->addCreator(std::make_unique<MadeCreator>());  // found by the next create
    const float before = manager->loadSeconds();
    AsciiReader reader("show.ini", "\"Made\" \"same\" \"Made\" \"same\" \"Made\" \"same\"");
    Scene* first = manager->loadTimed("one", reader);
    Scene* second = manager->loadTimed("two", reader);
    EXPECT_EQ(2.0f, manager->loadSeconds() - before);
    // No scene stores nothing; the second of a name replaces the first.
    EXPECT_TRUE(manager->loadTimed("entry", none) == nullptr && manager->objects().size() == 1 && manager->objects().at("same") == second);
    // A displaced scene goes when nobody holds it, seen through its object held here.
    SceneObject* held[] = {first->findObject("o"), second->findObject("o")};
    for (SceneObject* o : held) ++o->refCount;
    manager->release(first);  // the caller's reference had kept it
    --second->refCount;
    --manager->loadTimed("three", reader)->refCount;  // destroys the second, held by nobody
    EXPECT_TRUE(held[0]->refCount == 1 && held[1]->refCount == 1);
    for (SceneObject* o : held) releaseCounted(o);
    manager->collectUnused();
    EXPECT_TRUE(manager->objects().empty());
}

}  // namespace
}  // namespace demo
