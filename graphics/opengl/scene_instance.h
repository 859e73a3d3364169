#pragma once
// One effect's working view of a loaded scene: it numbers the lights,
// rewinds the animation, sorts the objects into those whose tracks run every
// frame and those whose vertices go to fast vertex memory every frame, turns
// object trees into render batches, and each frame moves everything to the
// show time. Set-up: construct, queue and make batches, set the objects'
// `animated` and `dynamic` flags, then classifyObjects. Each frame: setTime,
// beginVertexRange, applyLights, draw the batches, endVertexRange.

#include <memory>
#include <string>
#include <vector>

#include "graphics/opengl/render_command.h"

namespace demo {

class Camera;
class Light;
class RenderBatch;
class RenderPass;
class Scene;
class SceneObject;
struct VertexArray;
class VertexBuffer;

// The instance holds a reference to every object, camera and light it lists,
// and its batches hold the clones they draw, so that the instance, its
// batches, their clones and the scene can go in any order.
class SceneInstance {
  public:
    // Every object starts animated and not dynamic; light i gets GL_LIGHT0 + i.
    SceneInstance(Scene* scene, GLState* glState);
    // Gives back its references; meshes it moved to fast memory draw from
    // their own again.
    ~SceneInstance();
    SceneInstance(const SceneInstance&) = delete;
    SceneInstance& operator=(const SceneInstance&) = delete;

    // Rewinds every root's tree, light and camera to time 0.
    void update();
    // Only the first call does anything.
    void classifyObjects();
    // Root tracks at t less the object's frame, lights at t; dynamic meshes
    // are copied to their fast memory. Cameras are the camera effects'.
    void setTime(float t);
    // Lights past the driver's GL_MAX_LIGHTS are numbered but not applied.
    void applyLights();
    // Make the range of fast vertex memory current around the draws, when
    // there are dynamic objects and the pool has memory.
    void beginVertexRange();
    void endVertexRange();

    SceneObject* findObject(const std::string& name) const;
    void queueObject(RenderCommandList& list, SceneObject& object);
    RenderCommandList queueObjects(const std::vector<SceneObject*>& objects);
    // Every root not named, each through a clone sharing its transform.
    void queueRootsExcept(const std::vector<std::string>& names);
    void appendBatch(const RenderBatch& batch);
    void queuePass(RenderPass* pass);
    // A batch of `commands`, which stay as they are.
    std::unique_ptr<RenderBatch> finishBatch();
    // An empty batch when no object has the name.
    std::unique_ptr<RenderBatch> makeObjectBatch(const std::string& name);
    std::unique_ptr<RenderBatch> makeBatchExcept(const std::vector<std::string>& names);

    // Point the mesh's drawing at fast memory (once per buffer) and copy it
    // there, for the object and its descendants.
    void linkSharedArrays(SceneObject& object);
    void refreshSharedArrays(SceneObject& object);

    Scene* scene;
    GLState* glState;
    std::vector<SceneObject*> animatedObjects;
    std::vector<SceneObject*> dynamicObjects;
    std::vector<SceneObject*> objects;
    std::vector<Camera*> cameras;
    std::vector<Light*> lights;
    RenderCommandList commands;

  private:
    using Clones = std::vector<std::shared_ptr<SceneObject>>;
    static Clones rootClonesExcept(const std::vector<SceneObject*>& objects,
                                   const std::vector<std::string>& names);
    std::unique_ptr<RenderBatch> batchOf(const Clones& clones);
    bool vertexRangeUsable() const;

    // What `commands` point at beyond the scene: clones queued into it and
    // what appended batches hold; every batch of `commands` holds them too.
    std::vector<std::shared_ptr<const void>> commandHolds_;
    struct Piece {
        std::unique_ptr<VertexArray> memory;  // of the pool's block
        VertexBuffer* buffer;                 // drawn from it
    };
    std::vector<Piece> pieces_;
    bool classified_ = false;
};

}  // namespace demo
