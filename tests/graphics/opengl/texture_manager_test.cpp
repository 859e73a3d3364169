// The texture block on Mesa: "Default", JPEG images to the frame buffer,
// redefinitions, definitions read from files, and every refusal.

#include "graphics/opengl/texture_manager.h"

#include <GL/glext.h>
#include <gmock/gmock.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/image_cache.h"
#include "manager/ascii_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "tests/support/error_of.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/test_jpeg.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

namespace fs = std::filesystem;
using test::texParameter;

const fs::path kSource = fs::path(__FILE__).parent_path() / "../../..";

class TextureManagerTest : public test::HeadlessGLTest {
  protected:
    static void SetUpTestSuite() {
        HeadlessGLTest::SetUpTestSuite();
        // One folder per process: ctest runs each case as a process of its own, side by side.
        fs::path dir = test::freshScratchDir("texture_manager." + std::to_string(getpid()));
        FileSystem::instance()->addDirectory(dir.string());
        for (const char* file : {"sample/data/sunset.jpg", "tests/data/red.jpg"})
            fs::copy_file(kSource / file, dir / fs::path(file).filename());
        std::ofstream(dir / "wall.tex") << "rectangle { width 3 height 5 }";
        std::ofstream(dir / "odd.png") << "not read";
        for (int i = 1; i <= 6; ++i)
            fs::copy_file(dir / "red.jpg", dir / ("red" + std::to_string(i) + ".jpg"));
        test::JpegRecipe odd, progressive, arithmetic;  // 32 x 24
        progressive.progressive = arithmetic.arithmetic = true;
        for (auto [name, recipe] : {std::pair{"odd.jpg", odd}, {"prog.jpg", progressive},
                                    {"huge.jpg", odd}, {"arith.jpg", arithmetic}}) {
            test::Bytes bytes = test::encodeJpeg(recipe);
            if (name == std::string("huge.jpg")) {  // a header asking for 16384 x 16384
                const unsigned char sof0[] = {0xFF, 0xC0};
                auto sof = std::search(bytes.begin(), bytes.end(), sof0, sof0 + 2) + 5;
                std::fill(sof, sof + 4, 0), sof[0] = sof[2] = 0x40;
            }
            test::writeBytes(dir / name, bytes);
        }
    }
    static Texture* define(const std::string& name, const std::string& text) {
        AsciiReader reader("show.ini", text);
        return TextureManager::instance()->createTimed(name, reader);
    }
    // Draws the texture one texel per pixel with GL_REPLACE over black.
    static void draw(Texture* texture, float width, float height) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        texture->bind();
        test::drawTexturedQuad(width, height);
        glDisable(GL_TEXTURE_2D);
    }
};

TEST_F(TextureManagerTest, JpegImagesReachTheFrameBufferTexelForTexel) {
    Texture* texture = define(
        "sunset", "texture2d { filename \"sunset.jpg\" filter linear wrap clamp t-wrap repeat }");
    // The image is consumed and released.
    EXPECT_TRUE(ImageCache::instance()->objects().empty() && texture->images.empty());
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);
    draw(texture, 64, 64);
    Image* image = ImageCache::instance()->get("sunset.jpg");
    ASSERT_EQ(image->width, 64);
    int mismatches = 0;
    for (int i = 0; i < 64 * 64; ++i) {
        test::Rgba pixel = test::readPixel(i % 64, i / 64);  // image row 0 at the bottom
        mismatches += !std::equal(pixel.begin(), pixel.begin() + 3, image->pixels + i * 4);
    }
    EXPECT_EQ(mismatches, 0);
    ImageCache::instance()->release(image);
    TextureManager::instance()->release(texture);
}

// Whether level 0 of the texture bound to target reads back black, alpha 0 too.
bool readsBlack(GLenum target, int width, int height) {
    std::vector<unsigned char> texels(static_cast<std::size_t>(width * height * 4), 1);
    glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return std::all_of(texels.begin(), texels.end(), [](unsigned char c) { return c == 0; });
}

TEST_F(TextureManagerTest, DefaultBlankRectanglesRedefinitionsAndFiles) {
    // New blocks come filled with 0xA5 (the sanitizer build fills them itself), so pixels
    // that the manager left unset would not read back black.
    mallopt(M_PERTURB, 0x5A);
    TextureManager* manager = TextureManager::instance();
    // "Default" is black, clamped, bilinear and mipmapped; a blank rectangle is black, has its
    // size and is clamped.
    manager->objects().at("Default")->bind();
    EXPECT_TRUE(readsBlack(GL_TEXTURE_2D, 256, 256));
    EXPECT_EQ(std::tuple(texParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S),
                         texParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER),
                         texParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH, 8)),
              std::tuple(GL_CLAMP, GL_LINEAR_MIPMAP_NEAREST, 1));
    Texture* first = define("twice",
                            "rectangle { width 640 height 480 filter trilinear wrap repeat "
                            "compress normalmap depth 9 }");
    const GLenum rect = GL_TEXTURE_RECTANGLE_NV;
    EXPECT_EQ(std::tuple(texParameter(rect, GL_TEXTURE_WIDTH, 0),
                         texParameter(rect, GL_TEXTURE_HEIGHT, 0),
                         texParameter(rect, GL_TEXTURE_WRAP_T), first->flags),
              std::tuple(640, 480, GL_CLAMP, 0));
    // Counts as the textures section leaves them: only users hold references.
    first->referenceCount = 0;
    GLuint firstId = first->handle->id;
    Texture* second = define("twice", "rectangle { width 4 height 4 }");
    EXPECT_TRUE(readsBlack(GL_TEXTURE_RECTANGLE_NV, 4, 4));
    second->referenceCount = 0;
    EXPECT_FALSE(glIsTexture(firstId));  // nobody held it
    Texture* held = manager->get("twice");
    GLuint heldId = second->handle->id;
    define("twice", "rectangle { width 8 height 8 }")->referenceCount = 0;
    EXPECT_TRUE(glIsTexture(heldId));  // still held
    manager->release(held);            // by its last user
    EXPECT_FALSE(glIsTexture(heldId));
    manager->collectUnused();

    Texture* wall = manager->get("wall.tex");  // never declared: read from its file
    EXPECT_EQ(texParameter(GL_TEXTURE_RECTANGLE_NV, GL_TEXTURE_HEIGHT, 0), 5);
    manager->release(wall);
    EXPECT_EQ(manager->objects().size(), 1u);  // "Default"

    // Redeclared as the textures section does, used and let go: still there.
    --define("Default", "rectangle { width 2 height 2 }")->referenceCount;
    manager->release(manager->get("Default")), manager->collectUnused();
    EXPECT_EQ(test::errorOf([&] { manager->release(manager->get("Default")); }), "no error");
}

// Every kind with every filter and flag, then redeclared or released: no
// OpenGL error, and the images go with the textures that kept them.
TEST_F(TextureManagerTest, EveryKindPlaysCleanAndLetsGoOfItsImages) {
    TextureManager* manager = TextureManager::instance();
    GLuint builtIn = manager->objects().at("Default")->handle->id;
    define("Default", "texture2d { filename \"sunset.jpg\" }");  // held, as by a user
    EXPECT_FALSE(glIsTexture(builtIn));  // the built-in one is gone, not leaked
    const char* blocks[] = {
        "texture1d { filename \"odd.jpg\" @ }", "texture2d { filename \"odd.jpg\" @ }",
        "texture3d { filenames { \"odd.jpg\" \"odd.jpg\" \"odd.jpg\" } @ }",
        "cube { filename \"red%d.jpg\" @ }", "rectangle { filename \"odd.jpg\" @ }"};
    for (const char* block : blocks) {
        for (const char* words :
             {"filter linear", "filter bilinear", "filter trilinear", "filter linear mipmap",
              "mipmap compress", "compress normalmap"}) {
            std::string text = block;
            text.replace(text.find('@'), 1, words);
            SCOPED_TRACE(text);
            for (int twice = 0; twice < 2; ++twice) define("kind", text)->referenceCount = 0;
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        }
    }
    manager->collectUnused();
    EXPECT_TRUE(ImageCache::instance()->objects().empty());
}

TEST_F(TextureManagerTest, EveryRefusalSaysWhatIsWrongAndLeavesNothingBehind) {
    const std::pair<const char*, const char*> cases[] = {
        {"texture2d { filename \"x.png\" }", "texture image not found: x.png"},
        {"texture2d { filename \"odd.png\" }",
         "texture image could not be decoded: odd.png (only .jpg and .jpeg images are read)"},
        {"texture2d { filename \"prog.jpg\" }",
         "texture image could not be decoded: prog.jpg "
         "(progressive JPEG; only baseline JPEG is read)"},
        {"texture2d { filename \"arith.jpg\" }",
         "texture image could not be decoded: arith.jpg "
         "(arithmetic-coded JPEG; only baseline JPEG is read)"},
        {"texture2d { filename \"huge.jpg\" }",
         "texture image could not be decoded: huge.jpg (Corrupt JPEG data: "},
        {"texture1d { filter bilinear }", "texture1d without \"filename\""},
        {"texture2d filename \"red.jpg\"",
         "Parse error (show.ini 1 ): Symbol { was expected here. (got STRING:filename)"},
        {"rectangle { width 4 }",
         "rectangle texture without \"filename\" needs \"width\" and \"height\" above 0"},
        {"texture3d { depth 2 }", "zero 3d-texture layers given"},
        {"texture3d { filenames { \"\" } }", "texture image name is empty"},
        {"rectangle { width 1000000 height 1 }",
         "rectangle texture too large: bad (1000000x1; the driver holds 16384)"},
        {"cube { filenames { a b c d e } }",
         "cubemap filename(s) either not defined or invalidly defined"},
        {"cube { filename \"sky%s.jpg\" }", "cubemap texture filename expects \"%d\" in the name"},
        {"cube { filename \"%d%s%d.png\" }", "texture image not found: 1%s%d.png"},
        {"cube { filenames { \"red.jpg\" \"red.jpg\" \"red.jpg\" \"red.jpg\" \"red.jpg\" "
         "\"sunset.jpg\" } }",
         "cubemap faces are not six squares of the same size"},
        {"texture2d { filter cubic }",
         "Parse error (show.ini 1 ): One of the values 'linear' "
         "'bilinear' 'trilinear' was expected here.STRING:cubic"},
        {"texture2d { t-clamp repeat }",
         "Parse error (show.ini 1 ): One of the parameters 'filename' 'filenames' 'width' 'height' "
         "'depth' 'filter' 'wrap' 's-wrap' 't-wrap' 'r-wrap' 'compress' 'mipmap' 'normalmap' was "
         "expected here.STRING:t"},
    };
    testing::internal::CaptureStdout();
    for (const auto& [text, message] : cases) {
        AsciiReader reader("show.ini", text);
        EXPECT_EQ(test::errorOf([&] { TextureManager::instance()->parseTexture(reader, "bad"); })
                      .substr(0, std::strlen(message)),
                  message);
    }
    EXPECT_THAT(testing::internal::GetCapturedStdout(),
                testing::MatchesRegex("prog.jpg: There have to be SOF0 before SOS.\narith.jpg: There "
                                      "have to be SOF0 before SOS.\nhuge.jpg: Corrupt JPEG data: "
                                      "[0-9]+ bytes of image data cannot hold a 16384x16384 image.\n"));
    EXPECT_EQ(TextureManager::instance()->objects().size(), 1u);
    EXPECT_TRUE(ImageCache::instance()->objects().empty());
}

}  // namespace
}  // namespace demo
