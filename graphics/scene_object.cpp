#include "graphics/scene_object.h"

#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"

namespace demo {

Mesh::Mesh() = default;
Mesh::~Mesh() = default;

SceneObject::SceneObject(const std::string& name_)
    : transform(std::make_shared<Transform>()), name(name_) {
    transform->orientation = {0, 0, 0, 1};
    transform->up = {0, 1, 0};
}

void SceneObject::assign(const SceneObject& other) {
    if (this != &other) *this = other;
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
