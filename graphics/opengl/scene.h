#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/opengl/camera.h"
#include "graphics/opengl/light.h"
#include "graphics/opengl/scene_cache.h"
#include "graphics/scene_object.h"

namespace demo {

// A loaded scene: named collections of objects, cameras and lights. Each
// collection holds a reference to its items and gives it back when the scene
// goes, so an item lives on while anybody else (an instance, a clone, a
// parent) still holds it, and goes with its last holder.
class Scene {
  public:
    explicit Scene(std::string name);
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Each enters the item under its name, replacing any entry of the name,
    // and returns it.
    SceneObject* addObject(std::unique_ptr<SceneObject> object);
    Camera* addCamera(std::unique_ptr<Camera> camera);
    Light* addLight(std::unique_ptr<Light> light);

    // The newest item of each name, in ascending byte order of the names.
    std::vector<SceneObject*> getObjects() const { return objects.values(); }
    std::vector<Camera*> getCameras() const { return cameras.values(); }
    std::vector<Light*> getLights() const { return lights.values(); }

    SceneObject* findObject(const std::string& name) const { return objects.find(name); }

    std::string name;
    int refCount = 1;

    SceneCache<SceneObject> objects;
    SceneCache<Camera> cameras;
    SceneCache<Light> lights;
};

}  // namespace demo
