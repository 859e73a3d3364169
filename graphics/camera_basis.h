#pragma once

namespace demo {

class CameraBasisInterface {
  public:
    virtual ~CameraBasisInterface() = default;
};

// The rotation of the current view, handed from the camera effects to the
// billboard code: row 0 is the camera's right axis, row 1 its up axis, row 2
// its depth axis, in world coordinates. Zero until a camera effect writes it.
class CameraBasis : public CameraBasisInterface {
  public:
    static CameraBasis* instance();

    // Takes the rotation of a column-major view matrix: m0 m4 m8, m1 m5 m9,
    // m2 m6 m10.
    void setFromViewMatrix(const float* view);

    float rows[9] = {};
};

}  // namespace demo
