#include "graphics/opengl/texture_unit_state.h"

#include <GL/glext.h>

#include <string>

#include "graphics/opengl/texture.h"
#include "graphics/opengl/texture_manager.h"
#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace demo {

namespace {

constexpr source::Location kNameNeeded{"graphics/opengl/glmaterial", 191};

const ParameterEnumValue kEnvModes[] = {
    {"REPLACE", GL_REPLACE}, {"BLEND", GL_BLEND}, {"MODULATE", GL_MODULATE},
    {"DECAL", GL_DECAL},     {nullptr, 0},
};

const ParameterEnumValue kGenModes[] = {
    {"OBJECT_LINEAR", GL_OBJECT_LINEAR},
    {"EYE_LINEAR", GL_EYE_LINEAR},
    {"SPHERE_MAP", GL_SPHERE_MAP},
    {"NORMAL_MAP", GL_NORMAL_MAP_ARB},
    {"REFLECTION_MAP", GL_REFLECTION_MAP_ARB},
    {nullptr, 0},
};

// The targets in order of precedence, highest first.
constexpr GLenum kTargets[] = {GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_3D, GL_TEXTURE_RECTANGLE_NV,
                               GL_TEXTURE_2D, GL_TEXTURE_1D};

}  // namespace

void enableTextureTarget(GLenum target) {
    glEnable(target);
    for (GLenum other : kTargets) {
        if (other == target) break;
        glDisable(other);
    }
}

void disableTextureTargets() {
    for (GLenum target : kTargets) glDisable(target);
}

TextureUnitState::~TextureUnitState() {
    if (texture != nullptr) TextureManager::instance()->release(texture);
}

std::unique_ptr<TextureUnitState> TextureUnitState::parse(AsciiReader& reader, bool takeTexture) {
    auto unit = std::make_unique<TextureUnitState>();
    TextureUnitState& u = *unit;
    std::string name;
    ParameterDesc table[] = {
        {"name", PARAM_STRING, &name, nullptr},
        {"env_mode", PARAM_ENUM_VALUE, &u.envMode, kEnvModes},
        {"env_color", PARAM_VECTOR4, u.envColour, nullptr},
        {"genS", PARAM_ENUM_VALUE, &u.genMode[0], kGenModes},
        {"genT", PARAM_ENUM_VALUE, &u.genMode[1], kGenModes},
        {"genR", PARAM_ENUM_VALUE, &u.genMode[2], kGenModes},
        {"genQ", PARAM_ENUM_VALUE, &u.genMode[3], kGenModes},
        {"planeS", PARAM_VECTOR4, u.planes[0], nullptr},
        {"planeT", PARAM_VECTOR4, u.planes[1], nullptr},
        {"planeR", PARAM_VECTOR4, u.planes[2], nullptr},
        {"planeQ", PARAM_VECTOR4, u.planes[3], nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
    if (name.empty()) throw reader.error("Texture name is needed!", kNameNeeded);
    if (takeTexture) u.texture = TextureManager::instance()->get(name);
    return unit;
}

void TextureUnitState::apply() const {
    texture->bind();
    enableTextureTarget(texture->target());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, envColour);
    static const GLenum coordinates[4] = {GL_S, GL_T, GL_R, GL_Q};
    static const GLenum switches[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R,
                                       GL_TEXTURE_GEN_Q};
    for (int i = 0; i < 4; ++i) {
        if (genMode[i] == 0) {
            glDisable(switches[i]);
            continue;
        }
        glEnable(switches[i]);
        glTexGeni(coordinates[i], GL_TEXTURE_GEN_MODE, genMode[i]);
        if (genMode[i] == GL_OBJECT_LINEAR) glTexGenfv(coordinates[i], GL_OBJECT_PLANE, planes[i]);
        if (genMode[i] == GL_EYE_LINEAR) glTexGenfv(coordinates[i], GL_EYE_PLANE, planes[i]);
    }
}

}  // namespace demo
