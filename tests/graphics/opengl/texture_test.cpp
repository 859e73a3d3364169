// Textures on Mesa: filters, wraps and mipmaps read back from GL, texels
// read back through a 1:1 quad or glGetTexImage, and every refusal.

#include "graphics/opengl/texture.h"

#include <GL/glext.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "manager/exceptions.h"
#include "platform/gl_proc_address.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using test::Rgba;
using test::solidImage;
using test::texParameter;

class TextureTest : public test::HeadlessGLTest {};

TextureParams params(int filter, int flags, int wrap = GL_REPEAT) {
    return TextureParams{filter, flags, wrap, wrap, wrap};
}

TEST_F(TextureTest, FiltersWrapsAndMipmapsPerKind) {
    struct Case {
        int kind;  // 1, 2, 4 (cube), 5 (rectangle)
        int filter, flags, wrap;
        GLint min, mag, wrapS;
        bool mipmaps;
    };
    const Case cases[] = {
        {2, 0, 0, GL_REPEAT, GL_NEAREST, GL_NEAREST, GL_REPEAT, false},
        {2, 0, kTextureMipmap, GL_CLAMP, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, GL_CLAMP, true},
        {2, 1, kTextureMipmap, GL_REPEAT, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, GL_REPEAT, true},
        {2, 2, 0, GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, true},
        {1, 2, 0, GL_CLAMP, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP, true},
        {4, 2, kTextureMipmap, GL_REPEAT, GL_NEAREST, GL_NEAREST, GL_REPEAT, false},
        {5, 2, kTextureMipmap, GL_REPEAT, GL_LINEAR, GL_LINEAR, GL_CLAMP, false},
        // Compression keeps the driver's default filters.
        {2, 0, kTextureCompress, GL_REPEAT, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, true},
    };
    auto image = solidImage(16, 4, {10, 20, 30, 40}), square = solidImage(8, 8, {10, 20, 30, 40});
    Image* faces[6] = {square.get(), square.get(), square.get(),
                       square.get(), square.get(), square.get()};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " filter " << c.filter);
        TextureParams p = params(c.filter, c.flags, c.wrap);
        std::unique_ptr<Texture> texture;
        if (c.kind == 1) texture = std::make_unique<Texture1D>("t", image.get(), p);
        if (c.kind == 2) texture = std::make_unique<Texture2D>("t", image.get(), p);
        if (c.kind == 4) texture = std::make_unique<TextureCube>("t", faces, p);
        if (c.kind == 5) texture = std::make_unique<TextureRectangle>("t", image.get(), p);
        GLenum target = texture->target();
        texture->bind();
        const GLint wrapS = c.kind == 4 ? c.wrapS : texParameter(target, GL_TEXTURE_WRAP_S);
        const bool mipmaps = c.kind <= 2 && texParameter(target, GL_TEXTURE_WIDTH, 1) > 0;
        const int width = c.kind == 1 ? texParameter(target, GL_TEXTURE_WIDTH, 0) : 64;  // one row
        EXPECT_EQ(std::tuple(texParameter(target, GL_TEXTURE_MIN_FILTER),
                             texParameter(target, GL_TEXTURE_MAG_FILTER), wrapS, mipmaps, width),
                  std::tuple(c.min, c.mag, c.wrapS, c.mipmaps, 64));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(TextureTest, NormalMapsKeepThreeUnshearedChannelsOfAnyImage) {
    for (int format : {Image::RGBA, Image::LUMINANCE}) {
        auto source = solidImage(5, 3, {90, 100, 50, 7}, format);
        Texture2D plain("p", source.get(), params(kFilterBilinear, 0));
        EXPECT_GT(texParameter(GL_TEXTURE_2D, GL_TEXTURE_ALPHA_SIZE, 0), 0);  // others keep it
        Texture2D normals("n", source.get(), params(kFilterBilinear, kTextureNormalMap));
        EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_ALPHA_SIZE, 0), 0);
        std::vector<unsigned char> back(5 * 3 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
        Rgba want = format == Image::LUMINANCE ? Rgba{90, 90, 90, 0} : Rgba{90, 100, 50, 0};
        for (std::size_t i = 0; i < back.size(); ++i) ASSERT_EQ(back[i], want[i % 3]) << format;
    }
}

TEST_F(TextureTest, CubeFacesKeepTheirOrderAndAllFourChannels) {
    // Six 2 x 2 faces, no two bytes alike.
    std::vector<std::unique_ptr<Image>> owned;
    Image* faces[6];
    for (int i = 0; i < 6; ++i) {
        faces[i] = owned.emplace_back(std::make_unique<Image>("f", 2, 2, Image::RGBA)).get();
        std::iota(faces[i]->pixels, faces[i]->pixels + 16, static_cast<unsigned char>(i * 40));
    }
    TextureCube cube("c", faces, params(kFilterBilinear, 0));
    // The targets after GL_TEXTURE_CUBE_MAP_POSITIVE_X of +Z, +Y, +X, -Z, -Y, -X.
    const int after[6] = {4, 2, 0, 5, 3, 1};
    for (int i = 0; i < 6; ++i) {
        unsigned char back[16] = {};
        const GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X + after[i];
        glGetTexImage(face, 0, GL_RGBA, GL_UNSIGNED_BYTE, back);
        EXPECT_TRUE(std::equal(back, back + 16, faces[i]->pixels)) << "face " << i;
    }
}

// A 3-D texture with mipmaps, drawn minified, shows its layer's colour.
TEST_F(TextureTest, Texture3DMipmapsServeMinifiedDrawing) {
    auto blue = solidImage(16, 16, {0, 0, 255, 255});
    Texture3D volume("v", {blue.get(), blue.get()}, params(kFilterTrilinear, kTextureMipmap));
    EXPECT_GT(texParameter(GL_TEXTURE_3D, GL_TEXTURE_WIDTH, 4), 0);
    glEnable(GL_TEXTURE_3D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);  // the texel alone, unlit
    test::drawTexturedQuad(4, 4);
    glDisable(GL_TEXTURE_3D);
    test::expectNear(test::readPixel(1, 1), {0, 0, 255}, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The driver's extension string without any of the texture extensions.
const char* strippedGlString(GLenum name) {
    if (name == GL_EXTENSIONS) return "GL_ARB_multitexture";
    return reinterpret_cast<const char*>(glGetString(name));
}
const char* noWindowSystem() { return ""; }

TEST_F(TextureTest, EveryRefusalAndNoGLErrorOtherwise) {
    auto small = solidImage(2, 2, {}), other = solidImage(2, 3, {});
    auto wide = solidImage(16, 8, {}), tall = solidImage(8, 16, {});
    GLint limit = 0, limit3d = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &limit3d);
    auto tooLong = solidImage(limit + 1, 1, {0, 0, 0, 0});
    // Refused before their pixels are read: none are allocated.
    Image huge("huge", limit + 1, limit + 1, Image::RGBA, nullptr);
    Image wide3d("w", limit3d + 1, 1, Image::RGBA, nullptr);
    Image *s = small.get(), *squares[6] = {s, s, s, s, s, s};
    Image* hugeFaces[6] = {&huge, &huge, &huge, &huge, &huge, &huge};
    // Within the side limit, but six faces are more than the driver's memory holds.
    Image big("big", 9000, 9000, Image::RGBA, nullptr);
    Image* bigFaces[6] = {&big, &big, &big, &big, &big, &big};
    const std::vector<Image*> deep(static_cast<std::size_t>(limit3d) + 1, s);
    // Every side at the limit: refused before its layers are copied.
    Image cubeLayer("cl", limit3d, limit3d, Image::RGBA, nullptr);
    const std::vector<Image*> heavy(static_cast<std::size_t>(limit3d), &cubeLayer);
    const std::string at3d = std::to_string(limit3d);
    const std::vector<Image*> unequal = {s, other.get()}, crossed = {wide.get(), tall.get()};
    Image* missing[6] = {s, s, s, s, nullptr, s};
    const TextureParams p = params(kFilterBilinear, 0);
    const std::string over = std::to_string(limit + 1), over3d = std::to_string(limit3d + 1);
    auto failure = [](const std::function<void()>& make) -> std::string {
        try {
            make();
        } catch (const TextureException& e) {
            return (glGetError() == GL_NO_ERROR ? "" : "GL error; ") + e.sourceFile() + ": " +
                   e.message();
        }
        return glGetError() == GL_NO_ERROR ? "no error" : "GL error";
    };
    // Messages up to the driver's limit, which follows.
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { Texture3D("v", unequal, p); }, "3d-texture layers are not all of the same size"},
        {[&] { Texture3D("v", crossed, p); }, "3d-texture layers are not all of the same size"},
        {[&] { Texture3D("v", {}, p); }, "zero 3d-texture layers given"},
        {[&] { Texture3D("v", deep, p); }, "3d texture too large: v (2x2x" + over3d + ";"},
        {[&] { Texture3D("v", {&wide3d}, p); }, "3d texture too large: v (" + over3d + "x1x1;"},
        {[&] { Texture3D("v", heavy, p); },
         "3d texture too large: v (" + at3d + "x" + at3d + "x" + at3d + "; the driver has no memory"},
        {[&] { TextureCube("c", hugeFaces, p); }, "cube texture too large: c (" + over + ";"},
        {[&] { TextureCube("c", missing, p); }, "texture image not found: c"},
        {[&] { TextureCube("c", bigFaces, p); },
         "cube texture too large: c (9000; the driver has no memory for it)"},
        {[&] { Texture2D("t", &huge, p); }, "2d texture too large: t (" + over + "x" + over},
        {[&] { Texture1D("l", tooLong.get(), p); }, "1d texture too long: l (" + over + " texels"},
        // Mipmaps scale the long row down instead.
        {[&] { Texture1D("l", tooLong.get(), params(kFilterTrilinear, 0)); }, ""},
        {[&] { Texture3D("v", {s}, p); }, "3d textures not supported by the driver"},
        {[&] { TextureCube("c", squares, p); }, "cube textures not supported by the driver"},
        {[&] { TextureRectangle("r", s, p); }, "rectangle textures not supported by the driver"},
        {[&] { Texture2D("c", s, params(kFilterBilinear, kTextureCompress)); },
         "compressed textures not supported by the driver"},
    };
    const ExtensionDriver stripped{platform::getProcAddress, strippedGlString, noWindowSystem};
    // A refusal raises no error on the way either, not even one it clears.
    static std::vector<std::string> raised;
    auto callback = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(
        platform::getProcAddress("glDebugMessageCallback"));
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    callback([](GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* text, const void*) {
        if (type == GL_DEBUG_TYPE_ERROR) raised.emplace_back(text);
    }, nullptr);
    glEnable(GL_DEBUG_OUTPUT);
    testing::internal::CaptureStdout();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        if (i == std::size(cases) - 4) {  // the rest on a driver without the extensions
            resetExtensionLoader(), setExtensionDriver(&stripped);
        }
        const auto& [make, message] = cases[i];
        const std::string want =
            message.empty() ? "no error" : "graphics/opengl/texture: " + message;
        EXPECT_EQ(failure(make).substr(0, want.size()), want);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "solid: 1d texture too long\n");
    glDisable(GL_DEBUG_OUTPUT);
    EXPECT_EQ(raised, std::vector<std::string>{});
    resetExtensionLoader();
    setExtensionDriver(nullptr);
    probeExtensions();
}

}  // namespace
}  // namespace demo
