#pragma once

#include "math/vector3.h"

namespace demo {

// Corner offsets of a camera-facing square from the current CameraBasis
// (R its right row, U its up row): -R-U, R-U, R+U, U-R, in the order of a
// DynamicMesh quad's texture coordinates.
void setupBillboardQuad(Vector3 corners[4]);

}  // namespace demo
