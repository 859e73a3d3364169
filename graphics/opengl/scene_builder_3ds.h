#pragma once
// Builds a Scene from a 3DS chunk tree: mesh objects, lights, cameras, the
// key-framer's dummies, tracks and hierarchy. Textures come through a hook so
// that the geometry can be built (and checked) without OpenGL.

#include <memory>
#include <string>

#include "graphics/formats/chunk_3ds.h"

namespace demo {

class Scene;
class SceneObject;
class Texture;

class SceneTextures3DS {
  public:
    virtual ~SceneTextures3DS() = default;
    // A material with a texture map; mapFile is already lower-cased.
    virtual void material(const std::string& materialName, const std::string& mapFile) = 0;
    // The texture of a face-material group.
    virtual Texture* faceTexture(const std::string& materialName) = 0;
    // How a mesh gives back a texture that faceTexture handed it, when it
    // handed a reference; the mesh does so when it goes.
    using Release = void (*)(Texture*);
    virtual Release textureRelease() const { return nullptr; }
};

// The scene named `name`, or null when the root has no OBJMESH chunk. Face
// lists and the key arrays of object nodes are moved out of the tree, so
// build a tree once. A null `textures` gives meshes without
// textures. A mesh object without vertex or face list keeps its place,
// tracks and hierarchy without a mesh, and one line says so; a bad face
// index throws ExceptionBase naming the object.
std::unique_ptr<Scene> buildScene3DS(Chunk3DS& root, const std::string& name,
                                     SceneTextures3DS* textures);

// Registers the MATERIAL's texture map, its file name lower-cased, under the
// material's name; nothing without a map file name.
void buildMaterial3DS(const Chunk3DS& material, SceneTextures3DS& textures);

// The node's first position, rotation and scale tracks become the keys of the
// object's track controller (none without one), and its pivot is taken off
// the mesh's positions.
void fillTracks3DS(SceneObject& object, const Chunk3DS& node);

// The first key-framer node with that id whose TRACKOBJNAME is `name`.
const Chunk3DS* findKeyframerNode(const Chunk3DS& root, std::uint32_t nodeId,
                                  const std::string& name);

}  // namespace demo
