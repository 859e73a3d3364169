#include "graphics/opengl/scene.h"

#include <gtest/gtest.h>

#include "graphics/track_controller.h"

namespace demo {
namespace {

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
    eye->trackController = std::make_shared<TrackController>();
    ++eye->refCount, ++first->refCount;
    scene.reset();  // what others hold lives on, tracks included
    eye->reset();
    EXPECT_TRUE(eye->refCount == 1 && first->refCount == 1);
    releaseCounted(eye), releaseCounted(first);
}

}  // namespace
}  // namespace demo
