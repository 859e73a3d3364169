#pragma once

#include "graphics/opengl/render_state.h"
#include "math/matrix.h"

namespace demo {

class Camera;

// Reflection-mapped texture coordinates on one unit, turned by the camera's
// rotation so that the environment stays fixed in the world.
class ReflectionMapState : public RenderState {
  public:
    ReflectionMapState(int unit_, Camera* camera_) : unit(unit_), camera(camera_) {}
    bool queryApply() override { return true; }
    bool queryRestore() override { return true; }
    void apply() override;
    void restore() override;

    // The camera's rotation with its first row negated; the camera is not
    // changed.
    Matrix4 textureMatrix() const;

    int unit;
    Camera* camera;
};

}  // namespace demo
