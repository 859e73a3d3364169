#include "graphics/opengl/light_set.h"

#include <GL/gl.h>

#include <cstdio>

#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace demo {

namespace {

class LightEntries : public CustomParameter {
  public:
    explicit LightEntries(LightSet& set) : set_(set) {}
    void readParameter(const char*, AsciiReader& reader) override {
        int number = truncateToInt(reader.readNumber());
        std::unique_ptr<LightParams> light = LightParams::parse(reader);
        int slots = static_cast<int>(set_.lights.size());
        if (number < 0 || number >= slots) {
            std::printf("light %d dropped: the driver has %d lights\n", number, slots);
            return;
        }
        set_.lights[static_cast<std::size_t>(number)] = std::move(light);
    }

  private:
    LightSet& set_;
};

}  // namespace

std::unique_ptr<LightParams> LightParams::parse(AsciiReader& reader) {
    auto light = std::make_unique<LightParams>();
    LightParams& l = *light;
    ParameterDesc table[] = {
        {"ambient", PARAM_VECTOR4, l.ambient, nullptr},
        {"diffuse", PARAM_VECTOR4, l.diffuse, nullptr},
        {"specular", PARAM_VECTOR4, l.specular, nullptr},
        {"position", PARAM_VECTOR4, l.position, nullptr},
        {"spot_direction", PARAM_VECTOR3, l.spotDirection, nullptr},
        {"spot_exponent", PARAM_FLOAT, &l.spotExponent, nullptr},
        {"spot_cutoff", PARAM_FLOAT, &l.spotCutoff, nullptr},
        {"attenuation0", PARAM_FLOAT, &l.attenuation[0], nullptr},
        {"attenuation1", PARAM_FLOAT, &l.attenuation[1], nullptr},
        {"attenuation2", PARAM_FLOAT, &l.attenuation[2], nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
    return light;
}

void LightParams::apply(int index) const {
    GLenum light = GL_LIGHT0 + static_cast<GLenum>(index);
    glLightfv(light, GL_AMBIENT, ambient);
    glLightfv(light, GL_DIFFUSE, diffuse);
    glLightfv(light, GL_SPECULAR, specular);
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_SPOT_DIRECTION, spotDirection);
    glLightf(light, GL_SPOT_EXPONENT, spotExponent);
    glLightf(light, GL_SPOT_CUTOFF, spotCutoff);
    glLightf(light, GL_CONSTANT_ATTENUATION, attenuation[0]);
    glLightf(light, GL_LINEAR_ATTENUATION, attenuation[1]);
    glLightf(light, GL_QUADRATIC_ATTENUATION, attenuation[2]);
}

LightSet::LightSet() {
    GLint count = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &count);
    lights.resize(static_cast<std::size_t>(count > 0 ? count : 0));
}

std::unique_ptr<LightSet> LightSet::parse(AsciiReader& reader) {
    auto set = std::make_unique<LightSet>();
    LightEntries entries(*set);
    ParameterDesc table[] = {
        {"light", PARAM_CUSTOM, static_cast<CustomParameter*>(&entries), nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
    return set;
}

void LightSet::apply() const {
    for (std::size_t i = 0; i < lights.size(); ++i) {
        GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
        if (!lights[i]) {
            glDisable(light);
            continue;
        }
        glEnable(light);
        lights[i]->apply(static_cast<int>(i));
    }
}

}  // namespace demo
