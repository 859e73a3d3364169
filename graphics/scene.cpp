#include "graphics/scene.h"

namespace demo {

Scene::Scene(std::string name_) : name(std::move(name_)) {}
Scene::~Scene() = default;

SceneObject* Scene::addObject(std::unique_ptr<SceneObject> object) {
    return objects.enter(object.release());
}

CameraModel* Scene::addCamera(std::unique_ptr<CameraModel> camera) {
    return cameras.enter(camera.release());
}

LightModel* Scene::addLight(std::unique_ptr<LightModel> light) {
    return lights.enter(light.release());
}

}  // namespace demo
