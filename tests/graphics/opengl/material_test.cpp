// Lights and materials from script blocks, applied on Mesa and read back
// from GL state or from a lit quad.

#include "graphics/opengl/material.h"

#include <GL/glext.h>

#include <array>
#include <string>

#include "graphics/opengl/light_set.h"
#include "graphics/opengl/texture_manager.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "tests/support/error_of.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

class MaterialTest : public test::HeadlessGLTest {
  protected:
    template <class T>
    static std::unique_ptr<T> parse(const std::string& text) {
        AsciiReader reader("show.ini", text);
        return T::parse(reader);
    }
    static GLint integer(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }
    static float materialValue(GLenum name, int index) {
        std::array<float, 4> colour{};
        glGetMaterialfv(GL_FRONT, name, colour.data());
        return colour[static_cast<std::size_t>(index)];
    }
    static void activeUnit(int unit) { probe::glActiveTextureARB(GL_TEXTURE0_ARB + unit); }
};

TEST_F(MaterialTest, TheEmptyBlockLightsARedQuadWithItsDefaults) {
    auto set = parse<LightSet>("{ light 0 { diffuse <1 0 0 1> position <0 0 1 0> } }");
    auto plain = parse<Material>("{ }");
    ASSERT_EQ(plain->units.size(), 8u);
    glEnable(GL_TEXTURE_2D);
    set->apply();
    plain->apply();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE7_ARB);  // the last unit stays active
    EXPECT_EQ(materialValue(GL_SPECULAR, 0), 0.0f);
    EXPECT_EQ(materialValue(GL_SHININESS, 0), 40.0f);
    for (GLenum off : {GL_BLEND, GL_ALPHA_TEST, GL_COLOR_MATERIAL, GL_LIGHT1}) {
        EXPECT_FALSE(glIsEnabled(off)) << off;
    }
    for (int unit = 0; unit < 8; ++unit) {
        activeUnit(unit);
        for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_RECTANGLE_NV,
                              GL_TEXTURE_CUBE_MAP_ARB}) {
            EXPECT_FALSE(glIsEnabled(target)) << unit << " " << target;
        }
    }
    test::drawTexturedQuad(8, 8);
    test::expectNear(test::readPixel(4, 4), {214, 10, 10}, 2);
}

TEST_F(MaterialTest, LightSlotsEnableWhatIsGivenAndDropTheRest) {
    testing::internal::CaptureStdout();
    auto set = parse<LightSet>(
        "{ light 2 { spot_cutoff 30 attenuation1 0.5 } light 0 { } "
        "light 9 { } light 2 { spot_cutoff 45 spot_direction <1 0 0> } }");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "light 9 dropped: the driver has 8 lights\n");
    glEnable(GL_LIGHT5);
    set->apply();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i), i == 0 || i == 2) << i;
    GLfloat linear = -1, diffuse[4] = {};
    glGetLightfv(GL_LIGHT2, GL_LINEAR_ATTENUATION, &linear);
    glGetLightfv(GL_LIGHT2, GL_DIFFUSE, diffuse);
    // The later entry replaced the whole light; every light starts white.
    EXPECT_TRUE(linear == 0.0f && diffuse[1] == 1.0f);
}

TEST_F(MaterialTest, TextureUnitsBindEnableAndGenerate) {
    auto m = parse<Material>(
        "{ texture 1 { name Default env_mode MODULATE genS SPHERE_MAP genT OBJECT_LINEAR "
        "planeT <0 2 0 1> genR EYE_LINEAR } texture 12 { name Default } }");
    Texture* texture = TextureManager::instance()->get("Default");
    EXPECT_EQ(texture->referenceCount, 3);  // the manager's, unit 1's, ours; unit 12 gave back
    m->apply();
    activeUnit(0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    activeUnit(1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->handle->id));
    GLint genMode = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &genMode);
    EXPECT_EQ(genMode, GL_SPHERE_MAP);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R) && !glIsEnabled(GL_TEXTURE_GEN_Q));
    enableTextureTarget(GL_TEXTURE_1D);  // 2-D would take precedence
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    m.reset();
    EXPECT_EQ(texture->referenceCount, 2);
    TextureManager::instance()->release(texture);

    // A declared texture sits at count 0: a dropped unit must not take and give
    // back a reference (which destroyed it), nor a replaced one give its back.
    AsciiReader declaration("show.ini", "rectangle { width 4 height 4 }");
    --TextureManager::instance()->createTimed("decl", declaration)->referenceCount;
    parse<Material>("{ texture 9 { name decl } texture 0 { name decl } texture 0 { name decl } }");
    EXPECT_EQ(TextureManager::instance()->objects().count("decl"), 1u);
}

TEST_F(MaterialTest, ParseErrorsNameTheScriptLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"{\n texture 0 { env_mode DECAL } }", "(show.ini 2 ): Texture name is needed!"},
        {"{ blend_equation SUBTRACT }",
         "(show.ini 1 ): One of the values 'ADD' 'MIN' 'MAX' was expected "
         "here.STRING:blend_equation"},
        {"{ light 0 { ambient <1 2 3> } }", "(show.ini 1 ): Number was expected here."},
    };
    for (const auto& [text, message] : cases) {
        const std::string block = text;
        EXPECT_EQ(test::errorOf<ParseError>([&] {
                      block.find("light") == std::string::npos ? (void)parse<Material>(block)
                                                               : (void)parse<LightSet>(block);
                  }),
                  std::string("Parse error ") + message);
    }
}

}  // namespace
}  // namespace demo
