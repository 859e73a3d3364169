#pragma once
// A script material block as fixed-function state: colours, lighting
// model, blending, alpha test and the state of each texture unit. There is
// no restore: OpenGL stays as the last applied material left it.

#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>
#include <vector>

#include "graphics/opengl/texture_unit_state.h"

namespace demo {

class AsciiReader;

class Material {
  public:
    // As many empty unit slots as the driver has texture units.
    Material();

    // Keys: nolighting, ambient, diffuse, specular, emission, shininess,
    // separate_specular, color_material, blending, blend_src, blend_dst,
    // blend_color, blend_equation, alpha_test, alpha_ref, alpha_func and
    // "texture N { ... }". Unit numbers beyond the driver's are dropped.
    static std::unique_ptr<Material> parse(AsciiReader& reader);

    // Sets everything; leaves the last texture unit active.
    void apply() const;

    bool lighting = true;
    GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
    GLfloat specular[4] = {0, 0, 0, 1};
    GLfloat emission[4] = {0, 0, 0, 0};
    GLfloat shininess = 40;
    bool separateSpecular = false;
    GLint colourMaterial = 0;  // 0: none
    bool blending = false;
    GLint blendSource = GL_ONE;
    GLint blendDestination = GL_ONE;
    GLfloat blendColour[4] = {0, 0, 0, 0};
    GLint blendEquation = GL_FUNC_ADD_EXT;
    bool alphaTest = false;
    GLfloat alphaReference = 0;
    GLint alphaFunction = GL_ALWAYS;
    std::vector<std::unique_ptr<TextureUnitState>> units;
};

}  // namespace demo
