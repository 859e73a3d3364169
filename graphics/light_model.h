#pragma once

#include <array>
#include <memory>
#include <string>

#include "graphics/transform.h"
#include "math/animated_param.h"
#include "math/vector3.h"

namespace demo {

class TrackController;

using Rgb = std::array<float, 3>;
using Rgba = std::array<float, 4>;

// What a scene knows of a light, without OpenGL: a named frame that places
// it, optional key-frame animation of the frame and of a target it turns
// towards, colours, attenuation and the OpenGL light number it is sent as.
// `directional` makes it shine along the frame's -Z axis from infinitely far.
// Counted by `refCount`: whoever keeps it holds one reference.
class LightModel {
  public:
    LightModel(const std::string& name, const Rgb& ambient, const Rgb& diffuse, const Rgb& specular,
               const Rgb& attenuation, bool directional);
    // The same from plain arrays of three floats each.
    LightModel(const std::string& name, const float* ambient, const float* diffuse,
               const float* specular, const float* attenuation, bool directional);
    virtual ~LightModel();
    LightModel(const LightModel&) = delete;
    LightModel& operator=(const LightModel&) = delete;

    void reset();
    void advance();
    void setTime(float t);

    // A new controller, owned by this light, that becomes its track
    // controller: the light's tracks live as long as the light.
    TrackController* newTrackController();

    std::string name;
    int refCount = 1;
    Transform transform;
    TrackController* trackController = nullptr;
    Rgb attenuation;
    Rgba ambient;
    Rgba diffuse;
    Rgba specular;
    unsigned int glLight = 0;  // GL_LIGHT0 + i
    bool directional;
    AnimatedParam<Vector3> target;

  private:
    std::unique_ptr<TrackController> ownTrack_;
};

}  // namespace demo
