#pragma once

#include "graphics/opengl/render_state.h"

namespace demo {

// Blends a mesh at a constant alpha without writing depth; restore turns
// blending off and depth writes on, whatever they were before.
class ConstantAlphaState : public RenderState {
  public:
    explicit ConstantAlphaState(float alpha_) : alpha(alpha_) {}
    bool queryApply() override { return true; }
    bool queryRestore() override { return true; }
    void apply() override;
    void restore() override;

    float alpha;
};

}  // namespace demo
