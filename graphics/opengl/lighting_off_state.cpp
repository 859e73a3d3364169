#include "graphics/opengl/lighting_off_state.h"

#include <GL/gl.h>

namespace demo {

void LightingOffState::apply() { glDisable(GL_LIGHTING); }
void LightingOffState::restore() { glEnable(GL_LIGHTING); }

}  // namespace demo
