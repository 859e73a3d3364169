#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/formats/chunk_3ds.h"

namespace demo {

class Scene;
class Texture;

// The scene of a 3DS file read through the file system, named after the
// file. A material's texture map becomes a bilinear, mipmapped, repeating
// 2-D texture of the texture manager under the material's name; a face
// group whose material has no texture gets the manager's texture of that
// name, or "Default". The manager keeps a material's texture without a
// reference of its own: each mesh holds one on each of its textures and
// gives it back when it goes, so the last one frees a material's texture.
// Null when the file holds no 3DS scene; errors of the file name it. Needs
// the OpenGL context.
std::unique_ptr<Scene> buildScene3DS(const std::string& fileName);

// A MATERIAL chunk's texture map entered in the texture manager as above.
void buildMaterial3DS(const Chunk3DS& material);

// Appends the texture of each face-material group of the OBJBLOCK, in file
// order, as above, with one reference each for the caller to release; true
// when there was at least one group.
bool collectFaceTextures3DS(const Chunk3DS& objBlock, std::vector<Texture*>& textures);

}  // namespace demo
