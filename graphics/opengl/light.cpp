#include "graphics/opengl/light.h"

namespace demo {

namespace {
Rgba globalAmbient{0.0f, 0.0f, 0.0f, 0.0f};

// NaN counts as below the range.
float unitClamp(float v) { return !(v > 0.0f) ? 0.0f : v > 1.0f ? 1.0f : v; }
}  // namespace

void setGlobalAmbient(float r, float g, float b, float a) {
    globalAmbient = {unitClamp(r), unitClamp(g), unitClamp(b), unitClamp(a)};
}

void applyLight(const LightModel& light) {
    const GLenum number = light.glLight;
    glEnable(number);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, globalAmbient.data());
    glLightfv(number, GL_AMBIENT, light.ambient.data());
    glLightfv(number, GL_DIFFUSE, light.diffuse.data());
    glLightfv(number, GL_SPECULAR, light.specular.data());
    glLightf(number, GL_CONSTANT_ATTENUATION, light.attenuation[0]);
    glLightf(number, GL_LINEAR_ATTENUATION, light.attenuation[1]);
    glLightf(number, GL_QUADRATIC_ATTENUATION, light.attenuation[2]);
}

void applyLightPosition(const LightModel& light) {
    if (light.directional) {
        const Matrix3 m = light.transform.orientationMatrix();
        const GLfloat direction[4] = {-m[6], -m[7], -m[8], 0.0f};
        glLightfv(light.glLight, GL_POSITION, direction);
    } else {
        const Vector3 p = light.transform.getPosition();
        const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
        glLightfv(light.glLight, GL_POSITION, position);
    }
}

}  // namespace demo
