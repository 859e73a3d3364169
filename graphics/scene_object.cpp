#include "graphics/scene_object.h"

#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"
#include "manager/resource_cache.h"

namespace demo {

Mesh::Mesh() = default;

Mesh::~Mesh() {
    if (releaseTexture == nullptr) return;
    for (Texture* texture : textures) releaseTexture(texture);
}

SceneObject::SceneObject(const std::string& name_)
    : transform(std::make_shared<Transform>()), name(name_) {
    transform->orientation = {0, 0, 0, 1};
    transform->up = {0, 1, 0};
}

SceneObject::~SceneObject() {
    for (SceneObject* child : children) {
        if (child->parent == this) child->parent = nullptr;
        releaseCounted(child);
    }
}

void SceneObject::assign(const SceneObject& other) {
    if (this == &other) return;
    // Released last: `other` may be held only through one of them.
    std::vector<SceneObject*> previous = std::move(children);
    for (SceneObject* child : other.children) ++child->refCount;
    parent = other.parent;
    children = other.children;
    transform = other.transform;
    trackController = other.trackController;
    trackOwner = other.trackOwner;
    frame = other.frame;
    name = other.name;
    animated = other.animated;
    dynamic = other.dynamic;
    displayList = other.displayList;
    renderStates = other.renderStates;
    mesh = other.mesh;
    for (SceneObject* child : previous) releaseCounted(child);
}

std::unique_ptr<SceneObject> SceneObject::cloneDeep() const {
    auto clone = cloneSharingTransform();
    clone->copyTransform();
    return clone;
}

std::unique_ptr<SceneObject> SceneObject::cloneSharingTransform() const {
    auto clone = std::make_unique<SceneObject>(name);
    clone->assign(*this);
    return clone;
}

void SceneObject::copyTransform() { transform = std::make_shared<Transform>(*transform); }

void SceneObject::addChild(SceneObject* child) {
    child->parent = this;
    ++child->refCount;
    children.push_back(child);
}

void SceneObject::setFrame(int f) {
    frame = static_cast<float>(f);
    if (trackController == nullptr) return;
    trackController->reset(*transform);
    for (SceneObject* child : children) child->setFrame(f);
}

void SceneObject::advanceTree() {
    if (trackController != nullptr) trackController->advance(*transform);
    for (SceneObject* child : children) child->advanceTree();
}

}  // namespace demo
