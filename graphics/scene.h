#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/camera_model.h"
#include "graphics/light_model.h"
#include "graphics/scene_cache.h"
#include "graphics/scene_object.h"

namespace demo {

// A loaded scene: named collections of objects, cameras and lights. Each
// collection holds a reference to its items and gives it back when the scene
// goes, so an item lives on while anybody else (an instance, a clone, a
// parent) still holds it, and goes with its last holder.
class Scene {
  public:
    explicit Scene(std::string name);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Each enters the item under its name, replacing any entry of the name,
    // and returns it.
    SceneObject* addObject(std::unique_ptr<SceneObject> object);
    CameraModel* addCamera(std::unique_ptr<CameraModel> camera);
    LightModel* addLight(std::unique_ptr<LightModel> light);

    // The newest item of each name, in ascending byte order of the names.
    std::vector<SceneObject*> getObjects() const { return objects.values(); }
    std::vector<CameraModel*> getCameras() const { return cameras.values(); }
    std::vector<LightModel*> getLights() const { return lights.values(); }

    SceneObject* findObject(const std::string& name) const { return objects.find(name); }

    std::string name;
    int referenceCount = 1;
    int& refCount = referenceCount;  // the same count under its short name

    SceneCache<SceneObject> objects;
    SceneCache<CameraModel> cameras;
    SceneCache<LightModel> lights;
};

}  // namespace demo
