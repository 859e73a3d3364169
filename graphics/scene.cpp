#include "graphics/scene.h"

#include "graphics/opengl/camera.h"
#include "graphics/opengl/light.h"
#include "graphics/scene_object.h"
#include "graphics/track_controller.h"

namespace demo {

namespace {

template <typename T>
T* enter(std::map<std::string, T*>& map, std::vector<std::unique_ptr<T>>& owned,
         std::unique_ptr<T> item) {
    T* raw = item.get();
    owned.push_back(std::move(item));
    map[raw->name] = raw;
    return raw;
}

template <typename T>
std::vector<T*> values(const std::map<std::string, T*>& map) {
    std::vector<T*> out;
    out.reserve(map.size());
    for (const auto& entry : map) out.push_back(entry.second);
    return out;
}

}  // namespace

Scene::Scene(std::string name_) : name(std::move(name_)) {}
Scene::~Scene() = default;

SceneObject* Scene::addObject(std::unique_ptr<SceneObject> object) {
    return enter(objects, ownedObjects_, std::move(object));
}

Camera* Scene::addCamera(std::unique_ptr<Camera> camera) {
    return enter(cameras, ownedCameras_, std::move(camera));
}

Light* Scene::addLight(std::unique_ptr<Light> light) {
    return enter(lights, ownedLights_, std::move(light));
}

TrackController* Scene::addTrackController() {
    controllers_.push_back(std::make_unique<TrackController>());
    return controllers_.back().get();
}

std::vector<SceneObject*> Scene::getObjects() const { return values(objects); }
std::vector<Camera*> Scene::getCameras() const { return values(cameras); }
std::vector<Light*> Scene::getLights() const { return values(lights); }

SceneObject* Scene::findObject(const std::string& objectName) const {
    auto found = objects.find(objectName);
    return found == objects.end() ? nullptr : found->second;
}

}  // namespace demo
