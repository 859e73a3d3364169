#include "graphics/scene_object.h"

#include <gtest/gtest.h>

#include "graphics/scene.h"
#include "graphics/track_controller.h"

namespace demo {
namespace {

// A position track from (0, 0, 0) at time 0 to (10, 0, 0) at time 10.
std::shared_ptr<TrackController> track() {
    auto controller = std::make_shared<TrackController>();
    controller->position.setKeys({{0, 0, 0}, {10, 0, 0}}, {0, 10});
    return controller;
}

float trackTime(const SceneObject& o) { return o.trackController->position.path->time; }

// A child held only by its parent.
SceneObject* adopt(SceneObject& parent, const std::string& name) {
    auto* child = new SceneObject(name);
    parent.addChild(child);
    releaseCounted(child);
    return child;
}

TEST(SceneObject, ClonesShareTheirPiecesAndHoldTheChildren) {
    auto source = std::make_unique<SceneObject>("src");
    SceneObject* kid = adopt(*source, "kid");
    source->mesh = std::make_shared<Mesh>();
    source->trackController = track();
    source->frame = 2;
    source->refCount = 2;
    source->transform->setPosition({5, 0, 0});
    auto deep = source->cloneDeep();
    auto shared = source->cloneSharingTransform();

    shared->transform->setPosition({1, 2, 3});  // moves the source, not the deep clone
    EXPECT_EQ((Vector3{1, 2, 3}), source->transform->getPosition());
    EXPECT_EQ((Vector3{5, 0, 0}), deep->transform->getPosition());
    for (const SceneObject* clone : {deep.get(), shared.get()}) {
        EXPECT_EQ("src", clone->name);
        EXPECT_EQ(2.0f, clone->frame);
        EXPECT_EQ(source->mesh, clone->mesh);
        EXPECT_EQ(source->trackController, clone->trackController);
        EXPECT_EQ(std::vector<SceneObject*>{kid}, clone->children);
        EXPECT_EQ(1, clone->refCount);  // its own holders, not the source's
    }
    EXPECT_EQ(3, kid->refCount);

    // The source goes first: the clones still reach the child, now a root.
    source.reset();
    EXPECT_EQ(nullptr, kid->parent);
    EXPECT_EQ(2, kid->refCount);
    deep->copyTransform();  // the old frame is not freed under the other holder
    deep->transform->setPosition({7, 0, 0});
    EXPECT_EQ((Vector3{1, 2, 3}), shared->transform->getPosition());

    // assign drops the children it had and keeps its own count.
    SceneObject other("other");
    other.refCount = 5;
    SceneObject* orphan = adopt(other, "orphan");
    ++orphan->refCount;
    other.assign(*deep);
    EXPECT_EQ(5, other.refCount);
    EXPECT_EQ(1, orphan->refCount);
    EXPECT_EQ(3, kid->refCount);
    EXPECT_EQ("src", other.name);
    releaseCounted(orphan);
}

TEST(SceneObject, SetFrameStopsAtANodeWithoutTracksAndAdvanceTreeGoesOn) {
    SceneObject root("root");
    SceneObject* mid = adopt(root, "mid");
    SceneObject* leaf = adopt(*mid, "leaf");
    mid->trackController = track();
    leaf->trackController = track();
    leaf->trackController->setTimeStep(0.5f);
    leaf->frame = 1;
    root.setFrame(3);
    EXPECT_EQ(3.0f, root.frame);
    EXPECT_EQ(0.0f, mid->frame);
    EXPECT_EQ(1.0f, leaf->frame);

    mid->setFrame(2);
    EXPECT_EQ(2.0f, leaf->frame);
    root.advanceTree();  // the root has no tracks; its descendants step all the same
    EXPECT_EQ(mid->trackController->position.path->timeStep, trackTime(*mid));
    EXPECT_EQ(0.5f, trackTime(*leaf));

    // A tracked root goes down to its first node without tracks, not past it.
    leaf->trackController.reset();
    SceneObject* below = adopt(*leaf, "below");
    mid->setFrame(6);
    EXPECT_EQ(6.0f, leaf->frame);
    EXPECT_EQ(0.0f, below->frame);
}

TEST(SceneObject, ACloneAnimatesAfterItsSceneIsGone) {
    auto scene = std::make_unique<Scene>("s.3ds");
    SceneObject* a = scene->addObject(std::make_unique<SceneObject>("a"));
    SceneObject* b = scene->addObject(std::make_unique<SceneObject>("b"));
    a->addChild(b);
    a->trackController = track();
    b->trackController = track();
    auto clone = a->cloneDeep();
    scene.reset();
    clone->setFrame(0);
    clone->advanceTree();
    ASSERT_EQ(1u, clone->children.size());
    EXPECT_NEAR(trackTime(*clone->children[0]), trackTime(*clone), 0);
    EXPECT_EQ(1, clone->children[0]->refCount);
}

TEST(Scene, CollectionsCountTheirItemsHolders) {
    auto scene = std::make_unique<Scene>("s.3ds");
    SceneObject* first = scene->addObject(std::make_unique<SceneObject>("twin"));
    SceneObject* second = scene->addObject(std::make_unique<SceneObject>("twin"));
    SceneObject* lone = scene->addObject(std::make_unique<SceneObject>("lone"));
    second->addChild(first);  // a displaced item stays while listed
    EXPECT_EQ(second, scene->objects.get("twin"));
    EXPECT_EQ(nullptr, scene->objects.get("nobody"));
    EXPECT_EQ(2, second->refCount);
    scene->objects.release(second);
    EXPECT_EQ(second, scene->findObject("twin"));
    scene->objects.release(lone);  // the collection's own reference: gone with it
    EXPECT_EQ(nullptr, scene->findObject("lone"));

    CameraModel* eye = scene->addCamera(std::make_unique<CameraModel>("eye", 45, 1));
    LightModel* sun = scene->addLight(std::make_unique<LightModel>("sun", Rgb{}, Rgb{}, Rgb{}, Rgb{1, 0, 0}, false));
    scene->addLight(std::make_unique<LightModel>("moon", Rgb{}, Rgb{}, Rgb{}, Rgb{1, 0, 0}, false));
    eye->newTrackController();
    ++eye->refCount;
    --sun->refCount;  // lowered directly: the next collection takes it
    scene->lights.collectUnused();
    EXPECT_EQ(1u, scene->getLights().size());
    scene->cameras.collectUnused();
    EXPECT_EQ(1u, scene->getCameras().size());

    ++first->refCount;
    scene.reset();  // what others hold lives on, tracks included
    eye->reset();
    EXPECT_EQ(1, eye->refCount);
    EXPECT_EQ(1, first->refCount);
    releaseCounted(eye);
    releaseCounted(first);
}

}  // namespace
}  // namespace demo
