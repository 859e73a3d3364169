#include "graphics/billboard_quad.h"

#include "graphics/camera_basis.h"

namespace demo {

void setupBillboardQuad(Vector3 corners[4]) {
    const float* rows = CameraBasis::instance()->rows;
    const Vector3 right{rows[0], rows[1], rows[2]};
    const Vector3 up{rows[3], rows[4], rows[5]};
    corners[0] = -right - up;
    corners[1] = right - up;
    corners[2] = right + up;
    corners[3] = up - right;
}

}  // namespace demo
