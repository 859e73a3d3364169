#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/transform.h"

namespace demo {

class DisplayList;
class RenderState;
class Texture;
class TrackController;
class TriangleIndexArray;
class VertexBuffer;

// The geometry of a scene object: vertex streams ("position", "normal",
// "tex0", "tex1" are drawn), triangles, and texture i for texture unit i. The
// mesh owns its vertices and triangles; textures belong to their manager,
// and when `releaseTexture` is set the mesh holds one reference to each,
// given back through it when the mesh goes.
struct Mesh {
    Mesh();
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    void (*releaseTexture)(Texture*) = nullptr;

    std::unique_ptr<VertexBuffer> vertices;
    std::unique_ptr<TriangleIndexArray> triangles;
    std::vector<Texture*> textures;
};

// A named node of a scene. Clones share the transform (when made so), the
// mesh, its display list, the track controller, the children and the render
// states with their source. Children are counted in their `refCount`: the
// scene's collection, every parent and every clone that lists a child holds
// one reference, so neither a clone nor its source is left pointing at a
// freed node, whatever goes first.
class SceneObject {
  public:
    explicit SceneObject(const std::string& name);
    // Gives back its references to its children.
    ~SceneObject();
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Copies every field but `refCount`, which counts this object's own
    // holders (a clone starts with its creator's single reference); shared
    // pieces become shared.
    void assign(const SceneObject& other);
    // A copy with a transform of its own.
    std::unique_ptr<SceneObject> cloneDeep() const;
    // A copy that moves with this object.
    std::unique_ptr<SceneObject> cloneSharingTransform() const;
    // Gives this object its own copy of its current transform.
    void copyTransform();
    // Appends the child, holding a reference to it, and becomes its parent.
    void addChild(SceneObject* child);

    // Sets the tracks' time origin to f and rewinds them, then does the same
    // down the tree; a node without tracks stops the descent below it.
    void setFrame(int f);
    // Steps this node's tracks, if any, and those of every descendant.
    void advanceTree();

    SceneObject* parent = nullptr;       // not held; cleared when it goes first
    std::vector<SceneObject*> children;  // one reference held on each
    std::shared_ptr<Transform> transform;
    TrackController* trackController = nullptr;  // not owned
    std::shared_ptr<TrackController> trackOwner;  // keeps it alive, shared by clones
    float frame = 0.0f;
    std::string name;
    int refCount = 1;
    // Tracks evaluated every frame by the scene instance.
    bool animated = false;
    // Drawn from client arrays every time instead of from a display list.
    bool dynamic = false;
    // The compiled mesh, made the first time the object is queued.
    std::shared_ptr<DisplayList> displayList;
    std::vector<RenderState*> renderStates;  // not owned
    std::shared_ptr<Mesh> mesh;
};

}  // namespace demo
