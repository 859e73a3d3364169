#pragma once

#include "graphics/opengl/render_state.h"

namespace demo {

// Sphere-mapped texture coordinates on whatever texture unit is active.
class SphereMapState : public RenderState {
  public:
    bool queryApply() override { return false; }
    bool queryRestore() override { return false; }
    void apply() override;
    void restore() override;
};

}  // namespace demo
