#pragma once

#include <GL/gl.h>

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

// The scene-wide ambient colour, sent with every Light::apply; each component
// is clamped to 0..1. It is (0, 0, 0, 0) until first set.
void setGlobalAmbient(float r, float g, float b, float a);

// A named OpenGL light of a scene: a frame that places it, optional key-frame
// animation of the frame and of a target it turns towards, colours and
// attenuation. `directional` makes it shine along the frame's -Z axis from
// infinitely far. Counted by `refCount`: whoever keeps it holds one reference.
class Light {
  public:
    Light(const std::string& name, const Rgb& ambient, const Rgb& diffuse, const Rgb& specular,
          const Rgb& attenuation, bool directional);
    // The same from plain arrays of three floats each.
    Light(const std::string& name, const float* ambient, const float* diffuse,
          const float* specular, const float* attenuation, bool directional);
    virtual ~Light() = default;
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // Enables the light and sends the ambient model colour, the colours and
    // the attenuation; no spot parameters.
    void apply() const;
    // Sends the position (or the direction, w = 0), which OpenGL transforms by
    // the current model-view matrix.
    void applyPosition() const;

    void reset();
    void advance();
    void setTime(float t);

    std::string name;
    int refCount = 1;
    Transform transform;
    TrackController* trackController = nullptr;  // not owned
    std::shared_ptr<TrackController> trackOwner;  // keeps it alive when set
    Rgb attenuation;
    Rgba ambient;
    Rgba diffuse;
    Rgba specular;
    GLenum glLight = 0;
    bool directional;
    AnimatedParam<Vector3> target;
};

}  // namespace demo
