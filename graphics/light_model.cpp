#include "graphics/light_model.h"

#include "graphics/animated_param_steps.h"
#include "graphics/track_controller.h"

namespace demo {

namespace {
Rgba opaque(const Rgb& c) { return {c[0], c[1], c[2], 1.0f}; }
Rgb rgb(const float* c) { return {c[0], c[1], c[2]}; }
}  // namespace

LightModel::LightModel(const std::string& name_, const float* ambient_, const float* diffuse_,
                       const float* specular_, const float* attenuation_, bool directional_)
    : LightModel(name_, rgb(ambient_), rgb(diffuse_), rgb(specular_), rgb(attenuation_),
                 directional_) {}

LightModel::LightModel(const std::string& name_, const Rgb& ambient_, const Rgb& diffuse_,
                       const Rgb& specular_, const Rgb& attenuation_, bool directional_)
    : name(name_),
      attenuation(attenuation_),
      ambient(opaque(ambient_)),
      diffuse(opaque(diffuse_)),
      specular(opaque(specular_)),
      directional(directional_) {
    transform.orientation = {0, 0, 0, 1};
    transform.up = {0, 1, 0};
}

LightModel::~LightModel() = default;

TrackController* LightModel::newTrackController() {
    ownTrack_ = std::make_unique<TrackController>();
    trackController = ownTrack_.get();
    return trackController;
}

void LightModel::reset() {
    if (trackController != nullptr) trackController->reset(transform);
    if (target.animated) {
        rewind(target);
        transform.lookAt(target.value(), 0.0f);
    }
}

void LightModel::advance() {
    if (trackController != nullptr) trackController->advance(transform);
    if (target.animated) transform.lookAt(readAndStep(target), 0.0f);
}

void LightModel::setTime(float t) {
    if (trackController != nullptr) trackController->setTime(transform, t);
    if (target.animated) {
        setParamTime(target, t);
        transform.lookAt(target.value(), 0.0f);
    }
}

}  // namespace demo
