#include "graphics/opengl/light.h"

#include "graphics/animated_param_steps.h"
#include "graphics/track_controller.h"

namespace demo {

namespace {
Rgba globalAmbient{0.0f, 0.0f, 0.0f, 0.0f};

// NaN counts as below the range.
float unitClamp(float v) { return !(v > 0.0f) ? 0.0f : v > 1.0f ? 1.0f : v; }

Rgba opaque(const Rgb& c) { return {c[0], c[1], c[2], 1.0f}; }

Rgb rgb(const float* c) { return {c[0], c[1], c[2]}; }
}  // namespace

void setGlobalAmbient(float r, float g, float b, float a) {
    globalAmbient = {unitClamp(r), unitClamp(g), unitClamp(b), unitClamp(a)};
}

Light::Light(const std::string& name_, const float* ambient_, const float* diffuse_,
             const float* specular_, const float* attenuation_, bool directional_)
    : Light(name_, rgb(ambient_), rgb(diffuse_), rgb(specular_), rgb(attenuation_),
            directional_) {}

Light::Light(const std::string& name_, const Rgb& ambient_, const Rgb& diffuse_,
             const Rgb& specular_, const Rgb& attenuation_, bool directional_)
    : name(name_),
      attenuation(attenuation_),
      ambient(opaque(ambient_)),
      diffuse(opaque(diffuse_)),
      specular(opaque(specular_)),
      directional(directional_) {
    transform.orientation = {0, 0, 0, 1};
    transform.up = {0, 1, 0};
}

void Light::apply() const {
    glEnable(glLight);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, globalAmbient.data());
    glLightfv(glLight, GL_AMBIENT, ambient.data());
    glLightfv(glLight, GL_DIFFUSE, diffuse.data());
    glLightfv(glLight, GL_SPECULAR, specular.data());
    glLightf(glLight, GL_CONSTANT_ATTENUATION, attenuation[0]);
    glLightf(glLight, GL_LINEAR_ATTENUATION, attenuation[1]);
    glLightf(glLight, GL_QUADRATIC_ATTENUATION, attenuation[2]);
}

void Light::applyPosition() const {
    if (directional) {
        const Matrix3 m = transform.orientationMatrix();
        const GLfloat direction[4] = {-m[6], -m[7], -m[8], 0.0f};
        glLightfv(glLight, GL_POSITION, direction);
    } else {
        const Vector3 p = transform.getPosition();
        const GLfloat position[4] = {p.x, p.y, p.z, 1.0f};
        glLightfv(glLight, GL_POSITION, position);
    }
}

void Light::reset() {
    if (trackController != nullptr) trackController->reset(transform);
    if (target.animated) {
        rewind(target);
        transform.lookAt(target.value(), 0.0f);
    }
}

void Light::advance() {
    if (trackController != nullptr) trackController->advance(transform);
    if (target.animated) transform.lookAt(readAndStep(target), 0.0f);
}

void Light::setTime(float t) {
    if (trackController != nullptr) trackController->setTime(transform, t);
    if (target.animated) {
        setParamTime(target, t);
        transform.lookAt(target.value(), 0.0f);
    }
}

}  // namespace demo
