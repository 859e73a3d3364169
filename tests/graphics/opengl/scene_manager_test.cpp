#include "graphics/opengl/scene_manager.h"

#include <gtest/gtest.h>

#include "graphics/scene_object.h"
#include "graphics/track_controller.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/timer_base.h"
#include "tests/support/fake_counter.h"

namespace demo {
namespace {

std::string load(const std::string& description) {
    AsciiReader reader("show.ini", description);
    try {
        Scene* scene = SceneManager::instance()->loadTimed("entry", reader);
        return scene ? scene->name : "no scene";
    } catch (const ExceptionBase& e) {
        return e.sourceFile() + " " + std::to_string(e.sourceLine()) + ": " + e.message();
    }
}

TEST(Scene, CollectionsCountTheirItemsHolders) {
    auto scene = std::make_unique<Scene>("s.3ds");
    SceneObject* first = scene->addObject(std::make_unique<SceneObject>("twin"));
    SceneObject* second = scene->addObject(std::make_unique<SceneObject>("twin"));
    second->addChild(first);  // a displaced item stays while listed
    EXPECT_TRUE(scene->objects.get("twin") == second && scene->objects.get("nobody") == nullptr);
    scene->objects.release(second);
    SceneObject* lone = scene->addObject(std::make_unique<SceneObject>("lone"));
    scene->addObject(std::make_unique<SceneObject>("lone"));
    scene->objects.release(lone);  // displaced and held by nobody: gone, and not again later
    --scene->addLight(std::make_unique<Light>("sun", Rgb{}, Rgb{}, Rgb{}, Rgb{}, false))->refCount;
    scene->lights.collectUnused();  // lowered directly: collected
    EXPECT_TRUE(scene->findObject("twin") == second && scene->getLights().empty());
    Camera* eye = scene->addCamera(std::make_unique<Camera>("eye", 45, 1));
    newTracks(*eye);
    ++eye->refCount, ++first->refCount;
    scene.reset();  // what others hold lives on, tracks included
    eye->reset();
    EXPECT_TRUE(eye->refCount == 1 && first->refCount == 1);
    releaseCounted(eye), releaseCounted(first);
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
    EXPECT_NE(std::string::npos, load("\"Made\" \"none\"").find("Unknown scene type 'Made'"));
    manager->addCreator(std::make_unique<MadeCreator>());  // found by the next create
    const float before = manager->loadSeconds();
    AsciiReader reader("show.ini", "\"Made\" \"same\" \"Made\" \"same\" \"Made\" \"same\"");
    Scene* first = manager->loadTimed("one", reader);
    Scene* second = manager->loadTimed("two", reader);
    EXPECT_EQ(2.0f, manager->loadSeconds() - before);
    EXPECT_EQ("no scene", load("\"Made\" \"none\""));  // and nothing stored
    EXPECT_TRUE(manager->objects().size() == 1 && manager->objects().at("same") == second);
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
