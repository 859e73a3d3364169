#include "graphics/opengl/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace demo {

namespace {
float lastFieldOfView = 45.0f;
}

Camera::Camera(const std::string& name_, float fieldOfView_, float aspect_)
    : CameraModel(name_, fieldOfView_, aspect_) {}

void Camera::setProjection(float fov) {
    if (fov == lastFieldOfView || !(fov > 0.0f && fov < 180.0f)) return;
    lastFieldOfView = fov;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, 4.0 / 3.0, 0.1f, 10000.0);
    glScalef(1.0f, 1.0f, -1.0f);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace demo
