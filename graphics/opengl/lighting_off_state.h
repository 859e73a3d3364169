#pragma once

#include "graphics/opengl/render_state.h"

namespace demo {

// Draws a mesh unlit; lighting is switched back on afterwards.
class LightingOffState : public RenderState {
  public:
    bool queryApply() override { return false; }
    bool queryRestore() override { return false; }
    void apply() override;
    void restore() override;
};

}  // namespace demo
