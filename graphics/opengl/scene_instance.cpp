#include "graphics/opengl/scene_instance.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

#include "graphics/opengl/camera.h"
#include "graphics/opengl/dynamic_glva.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/glh_extensions.h"
#include "graphics/opengl/light.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/opengl/render_state.h"
#include "graphics/opengl/scene.h"
#include "graphics/scene_object.h"
#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"
#include "manager/resource_cache.h"

namespace demo {

SceneInstance::SceneInstance(Scene* scene_, GLState* glState_)
    : scene(scene_),
      glState(glState_),
      objects(scene_->getObjects()),
      cameras(scene_->getCameras()),
      lights(scene_->getLights()) {
    for (SceneObject* o : objects) {
        o->animated = true;
        o->dynamic = false;
    }
    for (SceneObject* o : objects) ++o->refCount;
    for (Camera* camera : cameras) ++camera->refCount;
    for (Light* light : lights) ++light->refCount;
    for (std::size_t i = 0; i < lights.size(); ++i)
        lights[i]->glLight = GL_LIGHT0 + static_cast<GLenum>(i);
    update();
}

SceneInstance::~SceneInstance() {
    for (Piece& piece : pieces_) piece.buffer->drawData = piece.buffer->data.data();
    for (SceneObject* o : objects) releaseCounted(o);
    for (Camera* camera : cameras) releaseCounted(camera);
    for (Light* light : lights) releaseCounted(light);
}

void SceneInstance::update() {
    for (SceneObject* o : objects) {
        if (o->parent != nullptr) continue;
        o->setFrame(0);
        o->advanceTree();
    }
    for (Light* light : lights) {
        light->reset();
        light->advance();
    }
    for (Camera* camera : cameras) {
        camera->reset();
        camera->advance();
    }
}

void SceneInstance::classifyObjects() {
    if (classified_) return;
    classified_ = true;
    for (SceneObject* o : objects) {
        if (o->animated) {
            animatedObjects.push_back(o);
        } else if (o->dynamic) {
            dynamicObjects.push_back(o);
            linkSharedArrays(*o);
            beginVertexRange();
            refreshSharedArrays(*o);
            endVertexRange();
        }
    }
}

void SceneInstance::setTime(float t) {
    for (SceneObject* o : animatedObjects) {
        if (o->trackController) o->trackController->setTime(*o->transform, t - o->frame);
    }
    for (Light* light : lights) light->setTime(t);
    for (SceneObject* o : dynamicObjects) refreshSharedArrays(*o);
}

void SceneInstance::applyLights() {
    GLint maxLights = 8;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    glEnable(GL_LIGHTING);
    const std::size_t usable =
        std::min(lights.size(), static_cast<std::size_t>(std::max(maxLights, 0)));
    for (std::size_t i = 0; i < usable; ++i) {
        lights[i]->apply();
        lights[i]->applyPosition();
    }
}

bool SceneInstance::vertexRangeUsable() const {
    const DynamicGLVA* pool = glState ? glState->vertexPool : nullptr;
    return !dynamicObjects.empty() && pool && pool->base && probe::glVertexArrayRangeNV;
}

void SceneInstance::beginVertexRange() {
    if (!vertexRangeUsable()) return;
    probe::glVertexArrayRangeNV(glState->vertexPool->capacity, glState->vertexPool->base);
    glEnableClientState(GL_VERTEX_ARRAY_RANGE_NV);
}

void SceneInstance::endVertexRange() {
    if (vertexRangeUsable()) glDisableClientState(GL_VERTEX_ARRAY_RANGE_NV);
}

SceneObject* SceneInstance::findObject(const std::string& name) const {
    for (SceneObject* o : objects) {
        if (o->name == name) return o;
    }
    return nullptr;
}

void SceneInstance::queueObject(RenderCommandList& list, SceneObject& object) {
    demo::queueObject(list, object, *glState);
}

RenderCommandList SceneInstance::queueObjects(const std::vector<SceneObject*>& array) {
    RenderCommandList list;
    for (SceneObject* o : array) queueObject(list, *o);
    return list;
}

SceneInstance::Clones SceneInstance::rootClonesExcept(const std::vector<SceneObject*>& objects,
                                                      const std::vector<std::string>& names) {
    Clones roots;
    for (SceneObject* o : objects) {
        if (o->parent == nullptr && std::find(names.begin(), names.end(), o->name) == names.end()) {
            roots.push_back(o->cloneSharingTransform());
        }
    }
    return roots;
}

std::unique_ptr<RenderBatch> SceneInstance::batchOf(const Clones& clones) {
    RenderCommandList list;
    for (const auto& clone : clones) queueObject(list, *clone);
    auto batch = std::make_unique<RenderBatch>(glState, std::move(list));
    batch->holds.assign(clones.begin(), clones.end());
    return batch;
}

void SceneInstance::queueRootsExcept(const std::vector<std::string>& names) {
    for (const auto& clone : rootClonesExcept(objects, names)) {
        queueObject(commands, *clone);
        commandHolds_.push_back(clone);
    }
}

void SceneInstance::appendBatch(const RenderBatch& batch) {
    commands.insert(commands.end(), batch.commands.begin(), batch.commands.end());
    commandHolds_.insert(commandHolds_.end(), batch.holds.begin(), batch.holds.end());
    if (batch.displayList) commandHolds_.push_back(batch.displayList);
}

void SceneInstance::queuePass(RenderPass* pass) {
    pass->flag();
    commands.push_back({pass, render_op::kRunPass});
}

std::unique_ptr<RenderBatch> SceneInstance::finishBatch() {
    auto batch = std::make_unique<RenderBatch>(glState, commands);
    batch->holds = commandHolds_;
    return batch;
}

std::unique_ptr<RenderBatch> SceneInstance::makeObjectBatch(const std::string& name) {
    SceneObject* o = findObject(name);
    if (o == nullptr) return std::make_unique<RenderBatch>(glState, RenderCommandList{});
    return batchOf({o->cloneSharingTransform()});
}

std::unique_ptr<RenderBatch> SceneInstance::makeBatchExcept(const std::vector<std::string>& names) {
    return batchOf(rootClonesExcept(objects, names));
}

void SceneInstance::linkSharedArrays(SceneObject& object) {
    DynamicGLVA* pool = glState ? glState->vertexPool : nullptr;
    VertexBuffer* buffer = object.mesh ? object.mesh->vertices.get() : nullptr;
    if (pool && buffer && buffer->drawData == buffer->data.data()) {
        const int bytes = buffer->bytesPerVertex() * buffer->vertexCount;
        if (VertexArray* piece = pool->allocate("DVAR", bytes)) {
            pieces_.push_back({std::unique_ptr<VertexArray>(piece), buffer});
            buffer->drawData = piece->data;
        }
    }
    for (SceneObject* child : object.children) linkSharedArrays(*child);
}

void SceneInstance::refreshSharedArrays(SceneObject& object) {
    VertexBuffer* buffer = object.mesh ? object.mesh->vertices.get() : nullptr;
    if (buffer && buffer->drawData != buffer->data.data()) {
        std::memcpy(buffer->drawData, buffer->data.data(),
                    static_cast<std::size_t>(buffer->bytesPerVertex()) *
                        static_cast<std::size_t>(buffer->vertexCount));
    }
    for (SceneObject* child : object.children) refreshSharedArrays(*child);
}

}  // namespace demo
