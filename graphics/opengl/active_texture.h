#pragma once
// Texture-unit selection through the probed multitexture entry points. Without
// the extension there is only unit 0, so a missing entry point does nothing.

#include "graphics/opengl/glh_extensions.h"

namespace demo {

inline void activeTextureUnit(int unit) {
    if (probe::glActiveTextureARB != nullptr) probe::glActiveTextureARB(GL_TEXTURE0_ARB + unit);
}

inline void clientActiveTextureUnit(int unit) {
    if (probe::glClientActiveTextureARB != nullptr) {
        probe::glClientActiveTextureARB(GL_TEXTURE0_ARB + unit);
    }
}

// Texture units the driver offers: 1 without the multitexture extension.
int textureUnitCount();

}  // namespace demo
