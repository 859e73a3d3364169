#pragma once

#include <memory>
#include <string>

#include "graphics/transform.h"
#include "math/animated_param.h"
#include "math/vector3.h"

namespace demo {

class TrackController;

// A named viewpoint of a scene: a frame, an optional track controller that
// moves it, and the animated target, field of view (degrees) and roll
// (radians) of the key-framer. The frame's inverse matrix is the view.
// Counted by `refCount`: whoever keeps it holds one reference.
class Camera {
  public:
    Camera(const std::string& name, float fieldOfView, float aspect);
    virtual ~Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Loads gluPerspective(fov, 4/3, 0.1, 10000) mirrored in z, shared by all
    // cameras, only when fov differs from the last one (45 at start). A fov
    // outside (0, 180) is ignored: it has no perspective.
    static void setProjection(float fov);

    // Rewinds every track to time 0 and places the camera.
    void reset();
    // Places the camera at the tracks' current time, then steps them.
    void advance();
    // Puts every track at time t and places the camera; the caller rebuilds
    // the frame's matrices.
    void apply(float t);

    std::string name;
    int refCount = 1;
    TrackController* trackController = nullptr;  // not owned
    std::shared_ptr<TrackController> trackOwner;  // keeps it alive when set
    Transform transform;
    AnimatedParam<Vector3> target;
    AnimatedParam<float> fov;
    AnimatedParam<float> roll;
    float aspect;
    float fieldOfView;
};

}  // namespace demo
