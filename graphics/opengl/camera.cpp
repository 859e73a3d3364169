#include "graphics/opengl/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "graphics/animated_param_steps.h"
#include "graphics/track_controller.h"

namespace demo {

namespace {
float lastFieldOfView = 45.0f;
}

Camera::Camera(const std::string& name_, float fieldOfView_, float aspect_)
    : name(name_), aspect(aspect_), fieldOfView(fieldOfView_) {
    transform.orientation = {0, 0, 0, 1};
    transform.up = {0, 1, 0};
}

void Camera::setProjection(float fov) {
    if (fov == lastFieldOfView || !(fov > 0.0f && fov < 180.0f)) return;
    lastFieldOfView = fov;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, 4.0 / 3.0, 0.1f, 10000.0);
    glScalef(1.0f, 1.0f, -1.0f);
    glMatrixMode(GL_MODELVIEW);
}

void Camera::reset() {
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
        setProjection(fov.value());
    }
}

void Camera::advance() {
    if (trackController != nullptr) trackController->advance(transform);
    if (target.animated) {
        const float r = roll.animated ? readAndStep(roll) : 0.0f;
        transform.lookAt(readAndStep(target), r);
    }
    if (fov.animated) setProjection(readAndStep(fov));
}

void Camera::apply(float t) {
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
        setProjection(fov.value());
    }
}

}  // namespace demo
