// The texture block: parameters, the "Default" texture, definitions from
// the script and from files, and every refusal, on Mesa.

#include "graphics/opengl/texture_manager.h"

#include <GL/glext.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/image_cache.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using test::levelParameter;

const std::filesystem::path kSource = std::filesystem::path(__FILE__).parent_path() / "../../..";
using test::texParameter;

class TextureManagerTest : public test::HeadlessGLTest {
protected:
    static void SetUpTestSuite() {
        HeadlessGLTest::SetUpTestSuite();
        folder() = test::freshScratchDir("texture_manager");
        FileSystem::instance()->addDirectory(folder().string());
    }
    static std::filesystem::path& folder() {
        static std::filesystem::path path;
        return path;
    }
    static void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(folder() / name, std::ios::binary) << text;
    }

    static Texture* define(const std::string& name, const std::string& text) {
        AsciiReader reader("show.ini", text);
        return TextureManager::instance()->createTimed(name, reader);
    }
    // The message of what defining `text` throws.
    static std::string failure(const std::string& text) {
        try {
            AsciiReader reader("show.ini", text);
            TextureManager::instance()->parseTexture(reader, "bad");
        } catch (const ExceptionBase& e) {
            return e.message();
        }
        return "no error";
    }
};

TEST(TextureParamsTest, WordsBecomeFiltersFlagsAndWraps) {
    auto make = [](auto edit) {
        TextureDefinition d;
        edit(d);
        TextureParams p = makeTextureParams(d);
        return std::tuple(p.filter, p.flags, p.wrapS, p.wrapT, p.wrapR);
    };
    using T = std::tuple<int, int, int, int, int>;
    EXPECT_EQ(make([](auto&) {}), T(1, 0, GL_REPEAT, GL_REPEAT, GL_REPEAT));
    EXPECT_EQ(make([](auto& d) { d.filter = 2; }), T(2, kTextureMipmap, GL_REPEAT, GL_REPEAT, GL_REPEAT));
    EXPECT_EQ(make([](auto& d) { d.filter = 0; d.mipmap = true; }),
              T(0, kTextureMipmap, GL_REPEAT, GL_REPEAT, GL_REPEAT));
    EXPECT_EQ(make([](auto& d) { d.wrap = 1; d.tWrap = 0; }), T(1, 0, GL_CLAMP, GL_REPEAT, GL_REPEAT));
    EXPECT_EQ(make([](auto& d) { d.sWrap = 1; d.rWrap = 1; d.compress = d.normalMap = true; }),
              T(1, kTextureCompress | kTextureNormalMap, GL_CLAMP, GL_REPEAT, GL_CLAMP));
}

TEST_F(TextureManagerTest, DefaultIsABlackClampedBilinearMipmappedSquare) {
    Texture* texture = TextureManager::instance()->get("Default");
    texture->bind();
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 256);
    EXPECT_GT(levelParameter(GL_TEXTURE_2D, 8, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_CLAMP);
    std::vector<unsigned char> texels(256 * 256 * 4, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::count(texels.begin(), texels.end(), 0), 256 * 256 * 4);
    EXPECT_TRUE(texture->images.empty());
    TextureManager::instance()->release(texture);
}

TEST_F(TextureManagerTest, BlankRectanglesAreZeroedClampedAndNeverMipmapped) {
    Texture* texture = define("blank", "rectangle { width 640 height 480 depth 9 wrap repeat "
                                       "filter trilinear compress normalmap mipmap }");
    EXPECT_EQ(texture->type(), 5);
    texture->bind();
    EXPECT_EQ(levelParameter(GL_TEXTURE_RECTANGLE_NV, 0, GL_TEXTURE_WIDTH), 640);
    EXPECT_EQ(texParameter(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(texParameter(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(texture->flags, 0);
    std::vector<unsigned char> texels(640 * 480 * 4, 1);
    glGetTexImage(GL_TEXTURE_RECTANGLE_NV, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::count(texels.begin(), texels.end(), 0), 640 * 480 * 4);
    TextureManager::instance()->release(texture);
}

TEST_F(TextureManagerTest, ARedefinedNameReleasesTheEarlierTextureUnlessItIsHeld) {
    TextureManager* manager = TextureManager::instance();
    Texture* first = define("twice", "rectangle { width 2 height 2 }");
    first->referenceCount = 0;  // as the textures section leaves it
    GLuint firstId = first->handle->id;
    Texture* second = define("twice", "rectangle { width 4 height 4 }");
    second->referenceCount = 0;
    EXPECT_FALSE(glIsTexture(firstId));  // nobody held it
    Texture* held = manager->get("twice");
    EXPECT_EQ(held, second);
    Texture* third = define("twice", "rectangle { width 8 height 8 }");
    third->referenceCount = 0;
    EXPECT_EQ(manager->get("twice"), third);
    EXPECT_TRUE(glIsTexture(second->handle->id));  // still held
    GLuint secondId = second->handle->id;
    manager->release(held);  // its last user: gone, the newer one stays
    EXPECT_FALSE(glIsTexture(secondId));
    EXPECT_EQ(manager->objects().at("twice"), third);
    manager->release(third);
    EXPECT_EQ(manager->objects().count("twice"), 0u);
}

TEST_F(TextureManagerTest, AnUndeclaredNameIsReadFromItsFile) {
    writeFile("wall.tex", "rectangle { width 3 height 5 }");
    Texture* texture = TextureManager::instance()->get("wall.tex");
    EXPECT_EQ(texture->name, "wall.tex");
    texture->bind();
    EXPECT_EQ(levelParameter(GL_TEXTURE_RECTANGLE_NV, 0, GL_TEXTURE_HEIGHT), 5);
    TextureManager::instance()->release(texture);
    EXPECT_EQ(TextureManager::instance()->objects().count("wall.tex"), 0u);
}

// Draws the texture one texel per pixel with GL_REPLACE, blended as given.
void drawOneToOne(Texture* texture, int width, int height) {
    test::pixelProjection(64, 64);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    texture->bind();
    test::drawTexturedQuad(static_cast<float>(width), static_cast<float>(height));
    glDisable(GL_TEXTURE_2D);
}

TEST_F(TextureManagerTest, AJpegReachesTheFrameBufferTexelForTexel) {
    std::filesystem::copy_file(kSource / "sample/data/sunset.jpg", folder() / "sunset.jpg",
                               std::filesystem::copy_options::overwrite_existing);
    Texture* texture = define("sunset", "texture2d { filename \"sunset.jpg\" filter linear }");
    EXPECT_TRUE(ImageCache::instance()->objects().empty());  // consumed and released
    EXPECT_TRUE(texture->images.empty());
    drawOneToOne(texture, 64, 64);
    Image* image = ImageCache::instance()->get("sunset.jpg");
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, 64);
    int mismatches = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const unsigned char* p = image->pixels + (y * 64 + x) * 4;
            test::Rgba pixel = test::readPixel(x, y);  // row 0 of the image at the bottom
            mismatches += pixel[0] != p[0] || pixel[1] != p[1] || pixel[2] != p[2];
        }
    }
    EXPECT_EQ(mismatches, 0);
    ImageCache::instance()->release(image);
    TextureManager::instance()->release(texture);
}

TEST_F(TextureManagerTest, ASecondImageGivesTheAlpha) {
    for (const char* name : {"red.jpg", "grey.jpg"}) {
        std::filesystem::copy_file(kSource / "tests/data" / name, folder() / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    Texture* texture = define("masked", "texture2d { filename \"red.jpg+grey.jpg\" }");
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawOneToOne(texture, 8, 8);
    glDisable(GL_BLEND);
    // (200, 40, 60) at half alpha over black.
    test::Rgba pixel = test::readPixel(3, 3);
    EXPECT_NEAR(pixel[0], 100, 3);
    EXPECT_NEAR(pixel[1], 20, 3);
    EXPECT_NEAR(pixel[2], 30, 3);
    TextureManager::instance()->release(texture);
}

TEST_F(TextureManagerTest, EveryRefusalLeavesNothingBehind) {
    const std::pair<const char*, const char*> cases[] = {
        {"texture2d { filename \"x.png\" }", "texture image not found: x.png"},
        {"texture1d", "texture image not found: "},
        {"rectangle { width 4 }", "texture image not found: "},
        {"rectangle { filename \"r.ppm\" width 4 height 4 }", "texture image not found: r.ppm"},
        {"texture3d { depth 2 }", "zero 3d-texture layers given"},
        {"texture3d { filenames { \"a.png\" } }", "texture image not found: a.png"},
        {"cube { filenames { a b c d e } }",
         "cubemap filename(s) either not defined or invalidly defined"},
        {"cube { filename \"sky%s.jpg\" }", "cubemap texture filename expects \"%d\" in the name"},
        {"cube { filename \"%d%d.png\" }", "texture image not found: 1%d.png"},
        {"sphere { }",
         "Parse error (show.ini 1 ): One of the strings 'texture1d' 'texture2d' 'texture3d' "
         "'cube' 'rectangle' was expected here.STRING:sphere"},
        {"texture2d { t-clamp repeat }",
         "Parse error (show.ini 1 ): One of the strings 'wrap' was expected here.STRING:clamp"},
        {"texture2d { filter cubic }",
         "Parse error (show.ini 1 ): One of the values 'linear' 'bilinear' 'trilinear' was "
         "expected here.STRING:filter"},
    };
    std::size_t before = TextureManager::instance()->objects().size();
    for (const auto& [text, message] : cases) EXPECT_EQ(failure(text), message) << text;
    EXPECT_EQ(TextureManager::instance()->objects().size(), before);
    EXPECT_TRUE(ImageCache::instance()->objects().empty());
}

}  // namespace
}  // namespace demo
