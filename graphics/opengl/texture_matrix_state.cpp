#include "graphics/opengl/texture_matrix_state.h"

#include "graphics/opengl/active_texture.h"

namespace demo {

void TextureMatrixState::apply() {
    activeTextureUnit(unit);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    if (multiply) {
        glMultMatrixf(matrix);
    } else {
        glLoadMatrixf(matrix);
    }
    glMatrixMode(GL_MODELVIEW);
    activeTextureUnit(0);
}

void TextureMatrixState::restore() {
    activeTextureUnit(unit);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    activeTextureUnit(0);
}

}  // namespace demo
