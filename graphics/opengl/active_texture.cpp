#include "graphics/opengl/active_texture.h"

namespace demo {

int textureUnitCount() {
    if (probe::glActiveTextureARB == nullptr) return 1;
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    return units < 1 ? 1 : units;
}

}  // namespace demo
