#pragma once

#include <string>

#include "graphics/camera_model.h"

namespace demo {

// A camera whose animated field of view loads the shared projection.
class Camera : public CameraModel {
  public:
    Camera(const std::string& name, float fieldOfView, float aspect);

    // Loads gluPerspective(fov, 4/3, 0.1, 10000) mirrored in z, shared by all
    // cameras, only when fov differs from the last one (45 at start). A fov
    // outside (0, 180) is ignored: it has no perspective.
    static void setProjection(float fov);

  protected:
    void useFieldOfView(float fov) override { setProjection(fov); }
};

}  // namespace demo
