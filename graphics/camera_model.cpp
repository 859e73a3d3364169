#include "graphics/camera_model.h"

#include "graphics/animated_param_steps.h"
#include "graphics/track_controller.h"

namespace demo {

CameraModel::CameraModel(const std::string& name_, float fieldOfView_, float aspect_)
    : name(name_), aspect(aspect_), fieldOfView(fieldOfView_) {
    transform.orientation = {0, 0, 0, 1};
    transform.up = {0, 1, 0};
}

CameraModel::~CameraModel() = default;

TrackController* CameraModel::newTrackController() {
    ownTrack_ = std::make_unique<TrackController>();
    trackController = ownTrack_.get();
    return trackController;
}

void CameraModel::reset() {
    if (trackController != nullptr) trackController->reset(transform);
    if (target.animated) {
        rewind(target);
        float r = 0.0f;
        if (roll.animated) {
            rewind(roll);
            r = roll.value();
        }
        transform.lookAt(target.value(), r);
    }
    if (fov.animated) {
        rewind(fov);
        useFieldOfView(fov.value());
    }
}

void CameraModel::advance() {
    if (trackController != nullptr) trackController->advance(transform);
    if (target.animated) {
        const float r = roll.animated ? readAndStep(roll) : 0.0f;
        transform.lookAt(readAndStep(target), r);
    }
    if (fov.animated) useFieldOfView(readAndStep(fov));
}

void CameraModel::apply(float t) {
    if (trackController != nullptr) trackController->setTime(transform, t);
    if (target.animated) {
        setParamTime(target, t);
        float r = 0.0f;
        if (roll.animated) {
            setParamTime(roll, t);
            r = roll.value();
        }
        transform.lookAt(target.value(), r);
    }
    if (fov.animated) {
        setParamTime(fov, t);
        useFieldOfView(fov.value());
    }
}

}  // namespace demo
