// Lights and materials from script blocks, applied on Mesa and read back
// from GL state or from a lit quad.

#include "graphics/opengl/material.h"

#include <GL/glext.h>
#include <gmock/gmock.h>

#include <array>
#include <string>

#include "graphics/opengl/light_set.h"
#include "graphics/opengl/texture_manager.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

class MaterialTest : public test::HeadlessGLTest {
protected:
    static std::unique_ptr<Material> material(const std::string& text) {
        AsciiReader reader("show.ini", text);
        return Material::parse(reader);
    }
    static std::unique_ptr<LightSet> lights(const std::string& text) {
        AsciiReader reader("show.ini", text);
        return LightSet::parse(reader);
    }
    static GLint integer(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }
    static std::array<float, 4> materialColour(GLenum name) {
        std::array<float, 4> colour{};
        glGetMaterialfv(GL_FRONT, name, colour.data());
        return colour;
    }
    static void activeUnit(int unit) { probe::glActiveTextureARB(GL_TEXTURE0_ARB + unit); }
};

TEST_F(MaterialTest, TheEmptyBlockLightsARedQuadWithItsDefaults) {
    auto set = lights("{ light 0 { diffuse <1 0 0 1> position <0 0 1 0> } }");
    auto plain = material("{ }");
    ASSERT_EQ(plain->units.size(), 8u);
    test::pixelProjection(kSize, kSize);
    glDisable(GL_DEPTH_TEST);
    set->apply();
    plain->apply();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE7_ARB);  // the last unit stays active
    EXPECT_EQ(materialColour(GL_DIFFUSE), (std::array<float, 4>{0.8f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(materialColour(GL_SPECULAR), (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(materialColour(GL_SHININESS)[0], 40.0f);
    for (GLenum off : {GL_BLEND, GL_ALPHA_TEST, GL_COLOR_MATERIAL, GL_LIGHT1}) {
        EXPECT_FALSE(glIsEnabled(off)) << off;
    }
    for (int unit = 0; unit < 8; ++unit) {
        activeUnit(unit);
        for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D,
                              GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_CUBE_MAP_ARB}) {
            EXPECT_FALSE(glIsEnabled(target)) << unit << " " << target;
        }
    }
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex2f(0, 0);
    glVertex2f(8, 0);
    glVertex2f(8, 8);
    glVertex2f(0, 8);
    glEnd();
    test::Rgba pixel = test::readPixel(4, 4);
    EXPECT_NEAR(pixel[0], 214, 2);
    EXPECT_NEAR(pixel[1], 10, 2);
    EXPECT_NEAR(pixel[2], 10, 2);
}

TEST_F(MaterialTest, LightSlotsEnableWhatIsGivenAndDropTheRest) {
    testing::internal::CaptureStdout();
    auto set = lights(
        "{ light 2 { spot_cutoff 30 attenuation1 0.5 spot_direction <1 0 0> } light 0 { } "
        "light 9 { } light 2 { spot_cutoff 45 } }");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "light 9 dropped: the driver has 8 lights\n");
    glEnable(GL_LIGHT5);
    set->apply();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i), i == 0 || i == 2) << i;
    GLfloat cutoff = 0, diffuse[4] = {}, linear = -1;
    glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, &cutoff);
    glGetLightfv(GL_LIGHT2, GL_LINEAR_ATTENUATION, &linear);
    glGetLightfv(GL_LIGHT2, GL_DIFFUSE, diffuse);
    EXPECT_EQ(cutoff, 45.0f);  // the later entry replaced the whole light
    EXPECT_EQ(linear, 0.0f);
    EXPECT_EQ(diffuse[1], 1.0f);  // every light starts white
}

TEST_F(MaterialTest, BlendingAlphaAndColourWordsReachGL) {
    struct Case {
        const char* block;
        GLint src, dst, equation, alphaFunc, colourMaterial;
    };
    const Case cases[] = {
        {"{ blending blend_src SRC_ALPHA blend_dst ONE_MINUS_SRC_ALPHA alpha_test alpha_func "
         "GREATER alpha_ref 0.5 color_material DIFFUSE }",
         GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_FUNC_ADD, GL_GREATER, GL_DIFFUSE},
        {"{ blending blend_src DST_COLOR blend_dst ONE_MINUS_CONSTANT_ALPHA blend_equation MAX "
         "alpha_test alpha_func NOTEQUAL color_material AMBIENT_AND_DIFFUSE "
         "blend_color <0.5 0.25 0 1> }",
         GL_DST_COLOR, GL_ONE_MINUS_CONSTANT_ALPHA, GL_MAX, GL_NOTEQUAL, GL_AMBIENT_AND_DIFFUSE},
    };
    for (const Case& c : cases) {
        material(c.block)->apply();
        EXPECT_TRUE(glIsEnabled(GL_BLEND) && glIsEnabled(GL_ALPHA_TEST)) << c.block;
        EXPECT_EQ(integer(GL_BLEND_SRC), c.src);
        EXPECT_EQ(integer(GL_BLEND_DST), c.dst);
        EXPECT_EQ(integer(GL_BLEND_EQUATION_EXT), c.equation);
        EXPECT_EQ(integer(GL_ALPHA_TEST_FUNC), c.alphaFunc);
        EXPECT_EQ(integer(GL_COLOR_MATERIAL_PARAMETER), c.colourMaterial);
    }
    GLfloat blendColour[4] = {};
    glGetFloatv(GL_BLEND_COLOR_EXT, blendColour);
    EXPECT_EQ(blendColour[1], 0.25f);

    // "nolighting" turns lighting off and leaves the colours alone.
    material("{ diffuse <0.1 0.2 0.3 1> }")->apply();
    material("{ nolighting diffuse <1 1 1 1> separate_specular }")->apply();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(materialColour(GL_DIFFUSE)[2], 0.3f);
}

TEST_F(MaterialTest, TextureUnitsBindEnableAndGenerate) {
    auto m = material(
        "{ texture 1 { name Default env_mode MODULATE env_color <0 1 0 1> genS SPHERE_MAP "
        "genT OBJECT_LINEAR planeT <0 2 0 1> genR EYE_LINEAR planeR <0 0 3 0> } "
        "texture 12 { name Default } }");
    Texture* texture = TextureManager::instance()->get("Default");
    EXPECT_EQ(texture->referenceCount, 3);  // the manager's, unit 1's and ours; unit 12 gave its back
    m->apply();
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE7_ARB);
    activeUnit(0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    activeUnit(1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->handle->id));
    GLint mode = 0, genMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &genMode);
    EXPECT_EQ(genMode, GL_SPHERE_MAP);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S) && glIsEnabled(GL_TEXTURE_GEN_R));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_Q));
    GLfloat plane[4] = {};
    glGetTexGenfv(GL_T, GL_OBJECT_PLANE, plane);
    EXPECT_EQ(plane[1], 2.0f);
    // Enabling 1-D leaves 2-D, which takes precedence, off.
    enableTextureTarget(GL_TEXTURE_1D);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    m.reset();
    EXPECT_EQ(texture->referenceCount, 2);
    TextureManager::instance()->release(texture);
}

TEST_F(MaterialTest, ParseErrorsNameTheScriptLine) {
    auto failure = [](const std::string& text) -> std::string {
        try {
            if (text.find("light") != std::string::npos) {
                lights(text);
            } else {
                material(text);
            }
        } catch (const ParseError& e) {
            return e.message();
        }
        return "no error";
    };
    const std::pair<const char*, const char*> cases[] = {
        {"{\n texture 0 { env_mode DECAL } }", "Parse error (show.ini 2 ): Texture name is needed!"},
        {"{ blend_src SOURCE }",
         "Parse error (show.ini 1 ): One of the values 'ZERO' 'ONE' 'SRC_COLOR' 'SRC_ALPHA' "
         "'ONE_MINUS_SRC_COLOR' 'ONE_MINUS_SRC_ALPHA' 'DST_COLOR' 'DST_ALPHA' "
         "'ONE_MINUS_DST_COLOR' 'ONE_MINUS_DST_ALPHA' 'CONSTANT_COLOR' 'CONSTANT_ALPHA' "
         "'ONE_MINUS_CONSTANT_COLOR' 'ONE_MINUS_CONSTANT_ALPHA' 'SRC_ALPHA_SATURATE' was "
         "expected here.STRING:blend_src"},
        {"{ blend_equation SUBTRACT }",
         "Parse error (show.ini 1 ): One of the values 'ADD' 'MIN' 'MAX' was expected "
         "here.STRING:blend_equation"},
        {"{ alpha_func SOMETIMES }",
         "Parse error (show.ini 1 ): One of the values 'NEVER' 'ALWAYS' 'LESS' 'LEQUAL' 'EQUAL' "
         "'GEQUAL' 'GREATER' 'NOTEQUAL' was expected here.STRING:alpha_func"},
        {"{ color_material ALL }",
         "Parse error (show.ini 1 ): One of the values 'NONE' 'AMBIENT' 'DIFFUSE' 'SPECULAR' "
         "'EMISSION' 'AMBIENT_AND_DIFFUSE' was expected here.STRING:color_material"},
        {"{ texture 0 { name Default genQ CUBE } }",
         "Parse error (show.ini 1 ): One of the values 'OBJECT_LINEAR' 'EYE_LINEAR' "
         "'SPHERE_MAP' 'NORMAL_MAP' 'REFLECTION_MAP' was expected here.STRING:genQ"},
        {"{ texture { name Default } }", "Parse error (show.ini 1 ): Number was expected here."},
        {"{ shininess high }", "Parse error (show.ini 1 ): Number was expected here."},
        {"{ light 0 { ambient <1 2 3> } }", "Parse error (show.ini 1 ): Number was expected here."},
        {"{ light 1 { spot_exponent } }", "Parse error (show.ini 1 ): Number was expected here."},
    };
    for (const auto& [text, message] : cases) EXPECT_EQ(failure(text), message) << text;
}

}  // namespace
}  // namespace demo
