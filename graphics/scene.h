#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace demo {

class Camera;
class Light;
class SceneObject;
class TrackController;

// A loaded scene: named collections of objects, cameras and lights. The scene
// owns every item it was given, and the track controllers that move them, so
// an item displaced from its map by a later one of the same name stays alive
// (its parent may still list it). The maps hold the newest item of each name.
class Scene {
  public:
    explicit Scene(std::string name);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Each enters the item under its name, replacing any entry of the name,
    // and returns it.
    SceneObject* addObject(std::unique_ptr<SceneObject> object);
    Camera* addCamera(std::unique_ptr<Camera> camera);
    Light* addLight(std::unique_ptr<Light> light);
    // A new controller that lives as long as the scene.
    TrackController* addTrackController();

    // The newest item of each name, in ascending byte order of the names.
    std::vector<SceneObject*> getObjects() const;
    std::vector<Camera*> getCameras() const;
    std::vector<Light*> getLights() const;

    SceneObject* findObject(const std::string& name) const;

    std::string name;
    int referenceCount = 1;
    int& refCount = referenceCount;  // the same count under its short name

    // The newest item of each name; entered only through the add functions.
    std::map<std::string, SceneObject*> objects;
    std::map<std::string, Camera*> cameras;
    std::map<std::string, Light*> lights;

  private:
    std::vector<std::unique_ptr<SceneObject>> ownedObjects_;
    std::vector<std::unique_ptr<Camera>> ownedCameras_;
    std::vector<std::unique_ptr<Light>> ownedLights_;
    std::vector<std::unique_ptr<TrackController>> controllers_;
};

}  // namespace demo
