#include "graphics/opengl/scene.h"

namespace demo {

Scene::Scene(std::string name_) : name(std::move(name_)) {}

SceneObject* Scene::addObject(std::unique_ptr<SceneObject> object) {
    return objects.enter(object.release());
}

Camera* Scene::addCamera(std::unique_ptr<Camera> camera) { return cameras.enter(camera.release()); }

Light* Scene::addLight(std::unique_ptr<Light> light) { return lights.enter(light.release()); }

}  // namespace demo
