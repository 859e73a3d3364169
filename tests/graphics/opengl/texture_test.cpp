// Textures on Mesa: filters, wraps and mipmaps read back from GL, pixels
// read back through a 1:1 quad or glGetTexImage, and every refusal.

#include "graphics/opengl/texture.h"

#include <GL/glext.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "manager/exceptions.h"
#include "platform/gl_proc_address.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using test::levelParameter;
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
        {2, 1, 0, GL_REPEAT, GL_LINEAR, GL_LINEAR, GL_REPEAT, false},
        {2, 1, kTextureMipmap, GL_REPEAT, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR, GL_REPEAT, true},
        {2, 2, 0, GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_REPEAT, true},
        {1, 2, 0, GL_CLAMP, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, GL_CLAMP, true},
        {1, 0, 0, GL_REPEAT, GL_NEAREST, GL_NEAREST, GL_REPEAT, false},
        {4, 2, kTextureMipmap, GL_REPEAT, GL_NEAREST, GL_NEAREST, GL_REPEAT, false},
        {4, 1, 0, GL_REPEAT, GL_LINEAR, GL_LINEAR, GL_REPEAT, false},
        {5, 2, kTextureMipmap, GL_REPEAT, GL_LINEAR, GL_LINEAR, GL_CLAMP, false},
    };
    auto image = solidImage("i", 8, 8, {10, 20, 30, 40});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " filter " << c.filter);
        TextureParams p = params(c.filter, c.flags, c.wrap);
        Image* faces[6] = {image.get(), image.get(), image.get(),
                           image.get(), image.get(), image.get()};
        std::unique_ptr<Texture> texture;
        switch (c.kind) {
            case 1: texture = std::make_unique<Texture1D>("t", image.get(), p); break;
            case 2: texture = std::make_unique<Texture2D>("t", image.get(), p); break;
            case 4: texture = std::make_unique<TextureCube>("t", faces, p); break;
            default: texture = std::make_unique<TextureRectangle>("t", image.get(), p); break;
        }
        EXPECT_EQ(texture->type(), c.kind);
        GLenum target = texture->target();
        texture->bind();
        EXPECT_EQ(texParameter(target, GL_TEXTURE_MIN_FILTER), c.min);
        EXPECT_EQ(texParameter(target, GL_TEXTURE_MAG_FILTER), c.mag);
        if (c.kind != 4) {
            EXPECT_EQ(texParameter(target, GL_TEXTURE_WRAP_S), c.wrapS);
        }
        if (c.kind == 1 || c.kind == 2) {
            EXPECT_EQ(levelParameter(target, 1, GL_TEXTURE_WIDTH) > 0, c.mipmaps);
        }
        if (c.kind == 5) {
            EXPECT_EQ(texture->filter, kFilterBilinear);
            EXPECT_EQ(texture->flags & kTextureMipmap, 0);
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(TextureTest, TwoDimensionalTexelsReachTheFrameBufferOneToOne) {
    // Every texel distinct; image row 0 lands on the bottom frame-buffer row.
    auto image = std::make_unique<Image>("p", 4, 3, Image::RGB);
    for (std::size_t i = 0; i < image->byteCount(); ++i) {
        image->pixels[i] = static_cast<unsigned char>(i * 7);
    }
    Texture2D texture("p", image.get(), params(kFilterNearest, 0));
    // The upload leaves a white, non-shiny material behind.
    GLfloat diffuse[4] = {}, shininess = -1;
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(diffuse[1], 1.0f);
    EXPECT_EQ(shininess, 0.0f);

    test::pixelProjection(kSize, kSize);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    texture.bind();
    test::drawTexturedQuad(4, 3);
    glDisable(GL_TEXTURE_2D);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const unsigned char* texel = image->pixels + (y * 4 + x) * 3;
            EXPECT_EQ(test::readPixel(x, y), (Rgba{texel[0], texel[1], texel[2], 255}))
                << x << "," << y;
        }
    }
}

TEST_F(TextureTest, NormalMapsKeepThreeChannelsOfAnyImage) {
    // RGBA, RGB and luminance sources all arrive unsheared as RGB.
    const std::pair<int, Rgba> sources[] = {
        {Image::RGBA, {200, 100, 50, 7}},
        {Image::RGB, {10, 20, 30, 0}},
        {Image::LUMINANCE, {90, 0, 0, 0}},
    };
    for (const auto& [format, colour] : sources) {
        auto image = solidImage("n", 5, 3, colour, format);
        Texture2D texture("n", image.get(), params(kFilterBilinear, kTextureNormalMap));
        texture.bind();
        EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 0);
        std::vector<unsigned char> back(5 * 3 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
        Rgba want = format == Image::LUMINANCE ? Rgba{90, 90, 90, 0} : colour;
        for (std::size_t i = 0; i < back.size(); ++i) {
            ASSERT_EQ(back[i], want[i % 3]) << "format " << format << " byte " << i;
        }
    }
}

TEST_F(TextureTest, CubeFacesGoToTheirTargetsInOrder) {
    const GLenum targets[6] = {
        GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_POSITIVE_Y,
        GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z,
        GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
    };
    std::vector<std::unique_ptr<Image>> owned;
    Image* faces[6];
    for (int i = 0; i < 6; ++i) {
        owned.push_back(solidImage("f", 4, 4, {i * 40, 255 - i * 40, i, 255}));
        faces[i] = owned.back().get();
    }
    TextureCube cube("c", faces, params(kFilterBilinear, 0));
    cube.bind();
    for (int i = 0; i < 6; ++i) {
        unsigned char rgba[4 * 4 * 4];
        glGetTexImage(targets[i], 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        EXPECT_EQ((Rgba{rgba[20], rgba[21], rgba[22], rgba[23]}),
                  (Rgba{i * 40, 255 - i * 40, i, 255}))
            << "face " << i;
    }
}

TEST_F(TextureTest, LayersOneDimensionalLengthAndNamesOfTheOtherKinds) {
    // A 16 x 4 image is one row of 64 texels.
    auto strip = solidImage("s", 16, 4, {1, 2, 3, 4});
    Texture1D line("s", strip.get(), params(kFilterBilinear, 0));
    line.bind();
    EXPECT_EQ(levelParameter(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH), 64);

    auto a = solidImage("a", 2, 2, {255, 0, 0, 255});
    auto b = solidImage("b", 2, 2, {0, 0, 255, 255});
    Texture3D volume("v", {a.get(), b.get(), a.get()}, params(kFilterBilinear, 0, GL_CLAMP));
    volume.bind();
    EXPECT_EQ(levelParameter(GL_TEXTURE_3D, 0, GL_TEXTURE_DEPTH), 3);
    EXPECT_EQ(texParameter(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R), GL_CLAMP);
    unsigned char texels[2 * 2 * 3 * 4];
    glGetTexImage(GL_TEXTURE_3D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(texels[16 + 2], 255);  // layer 1 is blue
    EXPECT_EQ(texels[32], 255);      // layer 2 red again

    // Binding twice makes one name, which the texture deletes with itself.
    GLuint id = 0;
    {
        Texture2D twice("t", a.get(), params(kFilterBilinear, 0));
        id = twice.handle->id;
        twice.bind();
        twice.bind();
        EXPECT_EQ(twice.handle->id, id);
        EXPECT_TRUE(glIsTexture(id));
    }
    EXPECT_FALSE(glIsTexture(id));
}

TEST_F(TextureTest, CompressedUploadKeepsTheDefaultFiltersAndTheTexels) {
    auto image = solidImage("c", 16, 16, {255, 255, 255, 255});
    Texture2D texture("c", image.get(), params(kFilterNearest, kTextureCompress));
    texture.bind();
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    unsigned char texels[16 * 16 * 4];
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(texels[4 * 77 + 1], 255);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The driver's extension string without any of the texture extensions.
const char* strippedGlString(GLenum name) {
    if (name == GL_EXTENSIONS) return "GL_ARB_multitexture";
    return reinterpret_cast<const char*>(glGetString(name));
}
const char* noWindowSystem() { return ""; }

std::string failureOf(const std::function<void()>& make) {
    try {
        make();
    } catch (const TextureException& e) {
        EXPECT_EQ(e.sourceFile(), "graphics/opengl/texture");
        return e.message();
    }
    return "no error";
}

TEST_F(TextureTest, EveryRefusal) {
    auto small = solidImage("s", 2, 2, {0, 0, 0, 0});
    auto other = solidImage("o", 2, 3, {0, 0, 0, 0});
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    auto tooLong = solidImage("l", limit + 1, 1, {0, 0, 0, 0});
    Image* oddFaces[6] = {small.get(), small.get(), other.get(),
                          small.get(), small.get(), small.get()};
    Image* missingFace[6] = {small.get(), small.get(), small.get(),
                             small.get(), nullptr, small.get()};
    Image* squareFaces[6] = {small.get(), small.get(), small.get(),
                             small.get(), small.get(), small.get()};
    const TextureParams p = params(kFilterBilinear, 0);
    const std::pair<std::function<void()>, std::string> supported[] = {
        {[&] { Texture3D("v", {small.get(), other.get()}, p); },
         "3d-texture layers are not all of the same size"},
        {[&] { Texture3D("v", {}, p); }, "zero 3d-texture layers given"},
        {[&] { TextureCube("c", oddFaces, p); },
         "cubemap faces are not six squares of the same size"},
        {[&] { TextureCube("c", missingFace, p); }, "texture image not found: c"},
        {[&] { Texture1D("l", tooLong.get(), p); }, "1d texture too long"},
    };
    for (const auto& [make, message] : supported) EXPECT_EQ(failureOf(make), message);
    // With mipmaps the long row is scaled down instead.
    EXPECT_EQ(failureOf([&] { Texture1D("l", tooLong.get(), params(kFilterTrilinear, 0)); }),
              "no error");

    const ExtensionDriver stripped{platform::getProcAddress, strippedGlString, noWindowSystem};
    resetExtensionLoader();
    setExtensionDriver(&stripped);
    const std::pair<std::function<void()>, std::string> unsupported[] = {
        {[&] { Texture3D("v", {small.get()}, p); }, "3d textures not supported by the driver"},
        {[&] { TextureCube("c", squareFaces, p); }, "cube textures not supported by the driver"},
        {[&] { TextureRectangle("r", small.get(), p); },
         "rectangle textures not supported by the driver"},
        {[&] { Texture2D("c", small.get(), params(kFilterBilinear, kTextureCompress)); },
         "compressed textures not supported by the driver"},
    };
    for (const auto& [make, message] : unsupported) EXPECT_EQ(failureOf(make), message);
    resetExtensionLoader();
    setExtensionDriver(nullptr);
    probeExtensions();
}

}  // namespace
}  // namespace demo
