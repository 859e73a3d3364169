#pragma once

#include <GL/gl.h>

#include <string>

#include "graphics/light_model.h"

namespace demo {

// The scene-wide ambient colour, sent with every light; each component is
// clamped to 0..1. It is (0, 0, 0, 0) until first set.
void setGlobalAmbient(float r, float g, float b, float a);

// Enables the light and sends the ambient model colour, the colours and the
// attenuation; no spot parameters.
void applyLight(const LightModel& light);
// Sends the position (or the direction, w = 0), which OpenGL transforms by
// the current model-view matrix.
void applyLightPosition(const LightModel& light);

// A light that sends itself to OpenGL.
class Light : public LightModel {
  public:
    using LightModel::LightModel;

    void apply() const { applyLight(*this); }
    void applyPosition() const { applyLightPosition(*this); }
};

}  // namespace demo
