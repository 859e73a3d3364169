#pragma once

#include <memory>
#include <string>

namespace demo {

class Scene;

// The scene of a 3DS file read through the file system, named after the
// file. A material's texture map becomes a bilinear, mipmapped, repeating
// 2-D texture of the texture manager under the material's name; a face
// group whose material has no texture gets the manager's texture of that
// name, or "Default". Null when the file holds no 3DS scene; errors of the
// file name it. Needs the OpenGL context.
std::unique_ptr<Scene> loadScene3DS(const std::string& fileName);

}  // namespace demo
