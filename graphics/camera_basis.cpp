#include "graphics/camera_basis.h"

namespace demo {

CameraBasis* CameraBasis::instance() {
    static CameraBasis* basis = nullptr;
    if (basis == nullptr) basis = new CameraBasis;
    return basis;
}

void CameraBasis::setFromViewMatrix(const float* view) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) rows[3 * row + column] = view[4 * column + row];
    }
}

}  // namespace demo
