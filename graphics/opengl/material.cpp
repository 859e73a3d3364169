#include "graphics/opengl/material.h"

#include "graphics/opengl/active_texture.h"
#include "graphics/opengl/glh_extensions.h"
#include "manager/ascii_reader.h"
#include "manager/parameters.h"

namespace demo {

namespace {

const ParameterEnumValue kColourMaterials[] = {
    {"NONE", 0},
    {"AMBIENT", GL_AMBIENT},
    {"DIFFUSE", GL_DIFFUSE},
    {"SPECULAR", GL_SPECULAR},
    {"EMISSION", GL_EMISSION},
    {"AMBIENT_AND_DIFFUSE", GL_AMBIENT_AND_DIFFUSE},
    {nullptr, 0},
};

const ParameterEnumValue kBlendFactors[] = {
    {"ZERO", GL_ZERO},
    {"ONE", GL_ONE},
    {"SRC_COLOR", GL_SRC_COLOR},
    {"SRC_ALPHA", GL_SRC_ALPHA},
    {"ONE_MINUS_SRC_COLOR", GL_ONE_MINUS_SRC_COLOR},
    {"ONE_MINUS_SRC_ALPHA", GL_ONE_MINUS_SRC_ALPHA},
    {"DST_COLOR", GL_DST_COLOR},
    {"DST_ALPHA", GL_DST_ALPHA},
    {"ONE_MINUS_DST_COLOR", GL_ONE_MINUS_DST_COLOR},
    {"ONE_MINUS_DST_ALPHA", GL_ONE_MINUS_DST_ALPHA},
    {"CONSTANT_COLOR", GL_CONSTANT_COLOR_EXT},
    {"CONSTANT_ALPHA", GL_CONSTANT_ALPHA_EXT},
    {"ONE_MINUS_CONSTANT_COLOR", GL_ONE_MINUS_CONSTANT_COLOR_EXT},
    {"ONE_MINUS_CONSTANT_ALPHA", GL_ONE_MINUS_CONSTANT_ALPHA_EXT},
    {"SRC_ALPHA_SATURATE", GL_SRC_ALPHA_SATURATE},
    {nullptr, 0},
};

const ParameterEnumValue kBlendEquations[] = {
    {"ADD", GL_FUNC_ADD_EXT},
    {"MIN", GL_MIN_EXT},
    {"MAX", GL_MAX_EXT},
    {nullptr, 0},
};

const ParameterEnumValue kAlphaFunctions[] = {
    {"NEVER", GL_NEVER},     {"ALWAYS", GL_ALWAYS},     {"LESS", GL_LESS},
    {"LEQUAL", GL_LEQUAL},   {"EQUAL", GL_EQUAL},       {"GEQUAL", GL_GEQUAL},
    {"GREATER", GL_GREATER}, {"NOTEQUAL", GL_NOTEQUAL}, {nullptr, 0},
};

class UnitEntries : public CustomParameter {
  public:
    explicit UnitEntries(Material& material) : material_(material) {}
    void readParameter(const char*, AsciiReader& reader) override {
        int number = truncateToInt(reader.readNumber());
        // A unit the driver lacks is read and dropped without touching its
        // texture: a declared texture sits at count 0, and taking and giving
        // back a reference would destroy it.
        const bool kept = number >= 0 && number < static_cast<int>(material_.units.size());
        std::unique_ptr<TextureUnitState> unit = TextureUnitState::parse(reader, kept);
        if (!kept) return;
        std::unique_ptr<TextureUnitState>& slot = material_.units[static_cast<std::size_t>(number)];
        // A replaced unit is freed, but its texture keeps the reference it
        // took, for the same reason.
        if (slot != nullptr) slot->texture = nullptr;
        slot = std::move(unit);
    }

  private:
    Material& material_;
};

}  // namespace

Material::Material() {
    probeExtensions();
    units.resize(static_cast<std::size_t>(textureUnitCount()));
}

std::unique_ptr<Material> Material::parse(AsciiReader& reader) {
    auto material = std::make_unique<Material>();
    Material& m = *material;
    bool noLighting = false;
    UnitEntries units(m);
    ParameterDesc table[] = {
        {"nolighting", PARAM_FLAG, &noLighting, nullptr},
        {"ambient", PARAM_VECTOR4, m.ambient, nullptr},
        {"diffuse", PARAM_VECTOR4, m.diffuse, nullptr},
        {"specular", PARAM_VECTOR4, m.specular, nullptr},
        {"emission", PARAM_VECTOR4, m.emission, nullptr},
        {"shininess", PARAM_FLOAT, &m.shininess, nullptr},
        {"separate_specular", PARAM_FLAG, &m.separateSpecular, nullptr},
        {"color_material", PARAM_ENUM_VALUE, &m.colourMaterial, kColourMaterials},
        {"blending", PARAM_FLAG, &m.blending, nullptr},
        {"blend_src", PARAM_ENUM_VALUE, &m.blendSource, kBlendFactors},
        {"blend_dst", PARAM_ENUM_VALUE, &m.blendDestination, kBlendFactors},
        {"blend_color", PARAM_VECTOR4, m.blendColour, nullptr},
        {"blend_equation", PARAM_ENUM_VALUE, &m.blendEquation, kBlendEquations},
        {"alpha_test", PARAM_FLAG, &m.alphaTest, nullptr},
        {"alpha_ref", PARAM_FLOAT, &m.alphaReference, nullptr},
        {"alpha_func", PARAM_ENUM_VALUE, &m.alphaFunction, kAlphaFunctions},
        {"texture", PARAM_CUSTOM, static_cast<CustomParameter*>(&units), nullptr},
        {nullptr, PARAM_END, nullptr, nullptr},
    };
    reader.readParameters(table);
    m.lighting = !noLighting;
    return material;
}

void Material::apply() const {
    if (lighting) {
        glEnable(GL_LIGHTING);
        // Colour tracking is switched off first: while a previous material
        // left it on, the driver would ignore the tracked colours below.
        if (colourMaterial == 0) glDisable(GL_COLOR_MATERIAL);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL,
                      separateSpecular ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);
        if (colourMaterial != 0) {
            glEnable(GL_COLOR_MATERIAL);
            glColorMaterial(GL_FRONT_AND_BACK, static_cast<GLenum>(colourMaterial));
        }
    } else {
        glDisable(GL_LIGHTING);
    }
    if (blending) {
        glEnable(GL_BLEND);
        glBlendFunc(static_cast<GLenum>(blendSource), static_cast<GLenum>(blendDestination));
        if (probe::glBlendColorEXT != nullptr) {
            probe::glBlendColorEXT(blendColour[0], blendColour[1], blendColour[2], blendColour[3]);
        }
        if (probe::glBlendEquationEXT != nullptr) {
            probe::glBlendEquationEXT(static_cast<GLenum>(blendEquation));
        }
    } else {
        glDisable(GL_BLEND);
    }
    if (alphaTest) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(static_cast<GLenum>(alphaFunction), alphaReference);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    for (std::size_t u = 0; u < units.size(); ++u) {
        activeTextureUnit(static_cast<int>(u));
        if (units[u]) {
            units[u]->apply();
        } else {
            disableTextureTargets();
        }
    }
    glColor4d(1, 1, 1, 1);
}

}  // namespace demo
