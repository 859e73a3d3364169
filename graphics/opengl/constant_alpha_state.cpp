#include "graphics/opengl/constant_alpha_state.h"

#include "graphics/opengl/glh_extensions.h"

namespace demo {

void ConstantAlphaState::apply() {
    glBlendFunc(GL_CONSTANT_ALPHA_EXT, GL_ONE_MINUS_CONSTANT_ALPHA_EXT);
    if (probe::glBlendColorEXT != nullptr) probe::glBlendColorEXT(alpha, alpha, alpha, alpha);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
}

void ConstantAlphaState::restore() {
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
}

}  // namespace demo
