#include "graphics/scene_object.h"

#include <gtest/gtest.h>

#include "graphics/track_controller.h"
#include "manager/resource_cache.h"

namespace demo {
namespace {

float trackTime(const SceneObject& o) { return o.trackController->position.path->time; }

// A child held only by its parent, with tracks when asked.
SceneObject* adopt(SceneObject& parent, const std::string& name, bool tracked = false) {
    auto* child = new SceneObject(name);
    parent.addChild(child);
    releaseCounted(child);
    if (tracked) newTracks(*child).position.setKeys({{0, 0, 0}, {10, 0, 0}}, {0, 10});
    return child;
}

TEST(SceneObject, ClonesShareTheirPiecesAndHoldTheChildren) {
    auto source = std::make_unique<SceneObject>("src");
    SceneObject* kid = adopt(*source, "kid");
    source->mesh = std::make_shared<Mesh>();
    newTracks(*source);
    source->frame = source->refCount = 2;
    source->transform->setPosition({5, 0, 0});
    auto deep = source->cloneDeep();
    auto shared = source->cloneSharingTransform();
    shared->transform->setPosition({1, 2, 3});  // moves the source, not the deep clone
    EXPECT_TRUE(source->transform->getPosition() == Vector3(1, 2, 3) && deep->transform->getPosition() == Vector3(5, 0, 0));
    for (const SceneObject* clone : {deep.get(), shared.get()}) {
        EXPECT_TRUE(clone->name == "src" && clone->frame == 2.0f && clone->mesh == source->mesh);
        // Its own single reference: a copied count would leak it, or free it under its other holders.
        EXPECT_TRUE(clone->trackController == source->trackController && clone->children == source->children && clone->refCount == 1);
    }
    source.reset();  // the clones still reach the child, now a root
    EXPECT_TRUE(kid->parent == nullptr && kid->refCount == 2);

    SceneObject other("other");  // assign drops the children it had, keeps its count
    SceneObject* orphan = adopt(other, "orphan");
    ++orphan->refCount;
    other.refCount = 5;
    other.assign(*deep);
    EXPECT_TRUE(other.refCount == 5 && orphan->refCount == 1 && kid->refCount == 3);
    releaseCounted(orphan);
    SceneObject* only = adopt(other, "only");  // held by `other` alone, and copied into it
    adopt(*only, "below");
    other.assign(*only);
    EXPECT_TRUE(other.name == "only" && other.children.at(0)->name == "below" && other.children[0]->refCount == 1 && kid->refCount == 2);
}

TEST(SceneObject, SetFrameStopsAtANodeWithoutTracksAndAdvanceTreeGoesOn) {
    SceneObject root("root");
    SceneObject* mid = adopt(root, "mid", true);
    SceneObject* leaf = adopt(*mid, "leaf", true);
    SceneObject* below = adopt(*adopt(*leaf, "bare"), "below", true);
    leaf->trackController->setTimeStep(0.5f);
    root.setFrame(3);
    EXPECT_TRUE(root.frame == 3.0f && mid->frame == 0.0f);
    mid->setFrame(2);
    EXPECT_TRUE(leaf->frame == 2.0f && leaf->children[0]->frame == 2.0f && below->frame == 0.0f);
    root.advanceTree();  // no tracks at the root nor at "bare": the others step all the same
    EXPECT_TRUE(trackTime(*mid) == 1.0f && trackTime(*leaf) == 0.5f && trackTime(*below) == 1.0f);
}

}  // namespace
}  // namespace demo
