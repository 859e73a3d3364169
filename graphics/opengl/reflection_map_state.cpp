#include "graphics/opengl/reflection_map_state.h"

#include "graphics/opengl/active_texture.h"
#include "graphics/opengl/camera.h"
#include "math/multiply_affine.h"

namespace demo {

Matrix4 ReflectionMapState::textureMatrix() const {
    Transform frame(camera->transform);
    frame.updateMatrices();
    Matrix4 rotation = frame.objectMatrix;
    rotation[12] = rotation[13] = rotation[14] = 0.0f;
    rotation[3] = rotation[7] = rotation[11] = 0.0f;
    rotation[15] = 1.0f;
    Matrix4 mirror = identityMatrix4();
    mirror[0] = -1.0f;
    Matrix4 out;
    multiplyAffine(out, rotation, mirror);
    return out;
}

void ReflectionMapState::apply() {
    const Matrix4 t = textureMatrix();
    activeTextureUnit(unit);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadMatrixf(t.data());
    glMatrixMode(GL_MODELVIEW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    for (GLenum coord : {GL_S, GL_T, GL_R})
        glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP_ARB);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    activeTextureUnit(0);
}

void ReflectionMapState::restore() {
    activeTextureUnit(unit);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    activeTextureUnit(0);
}

}  // namespace demo
