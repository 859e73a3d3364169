#pragma once

#include "graphics/opengl/render_state.h"

namespace demo {

// Loads (or multiplies in) a texture matrix on one unit around a mesh. The
// matrix belongs to the creator and is read at each apply.
class TextureMatrixState : public RenderState {
  public:
    TextureMatrixState(const float* matrix_, int unit_, bool multiply_)
        : matrix(matrix_), unit(unit_), multiply(multiply_) {}
    bool queryApply() override { return true; }
    bool queryRestore() override { return false; }
    void apply() override;
    void restore() override;

    const float* matrix;
    int unit;
    bool multiply;
};

}  // namespace demo
