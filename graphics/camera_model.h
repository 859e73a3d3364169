#pragma once

#include <memory>
#include <string>

#include "graphics/transform.h"
#include "math/animated_param.h"
#include "math/vector3.h"

namespace demo {

class TrackController;

// What a scene knows of a camera, without OpenGL: a named frame, an optional
// track controller that moves it, and the animated target, field of view
// (degrees) and roll (radians) of the key-framer. The frame's inverse matrix
// is the view. Counted by `refCount`: whoever keeps it holds one reference.
class CameraModel {
  public:
    CameraModel(const std::string& name, float fieldOfView, float aspect);
    virtual ~CameraModel();
    CameraModel(const CameraModel&) = delete;
    CameraModel& operator=(const CameraModel&) = delete;

    // Rewinds every track to time 0 and places the camera.
    void reset();
    // Places the camera at the tracks' current time, then steps them.
    void advance();
    // Puts every track at time t and places the camera; the caller rebuilds
    // the frame's matrices.
    void apply(float t);

    // A new controller, owned by this camera, that becomes its track
    // controller: the camera's tracks live as long as the camera.
    TrackController* newTrackController();

    std::string name;
    int refCount = 1;
    TrackController* trackController = nullptr;
    Transform transform;
    AnimatedParam<Vector3> target;
    AnimatedParam<float> fov;
    AnimatedParam<float> roll;
    float aspect;
    float fieldOfView;

  protected:
    // Where an animated field of view goes; a model has no projection.
    virtual void useFieldOfView(float) {}

  private:
    std::unique_ptr<TrackController> ownTrack_;
};

}  // namespace demo
