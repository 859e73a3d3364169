// The noise texture on Mesa: its hash, the shaped octave sum of constant
// octaves read back from "perlinfinal", the state a render leaves, and its
// steps run as a queued render pass.

#include "graphics/opengl/perlin_texture.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_command.h"
#include "graphics/opengl/scene_instance.h"
#include "graphics/scene.h"
#include "manager/exceptions.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

class PerlinTextureTest : public test::HeadlessGLTest {};

TEST_F(PerlinTextureTest, TheHashInThirtyTwoBitWrapAround) {
    EXPECT_NEAR(PerlinTexture::latticeSample(0), 0.35910451f, 1e-6);
    EXPECT_NEAR(PerlinTexture::latticeSample(0xFFFFFFFFu), 0.95006314f, 1e-6);  // m = -1
    EXPECT_NEAR(PerlinTexture::smoothNoise(0, 0, 0), 0.50371491f, 1e-6);
    EXPECT_THROW(PerlinTexture(640, 127), TextureException);
}

TEST_F(PerlinTextureTest, ConstantOctavesGiveTheShapedWeightedSum) {
    const int cases[][4] = {
        // greys of octaves 16, 32, 64, 128
        {0, 0, 0, 0},     {64, 64, 64, 64}, {128, 128, 128, 128}, {255, 0, 0, 0},
        {0, 255, 0, 255}, {0, 0, 255, 255}, {200, 40, 0, 0},      {90, 90, 255, 0},
    };
    PerlinTexture noise(128, 128);
    std::vector<unsigned char> texels(128 * 128 * 4);
    for (const auto& greys : cases) {
        for (int octave = 0; octave < 4; ++octave) {
            for (int slot = 0; slot < 2; ++slot) {
                Image& image = *noise.images[octave][slot];
                std::memset(image.pixels, greys[octave], image.byteCount());
                noise.textures[octave][slot]->upload();
            }
        }
        noise.render();
        double s = (greys[0] / 2.0 + greys[1] / 4.0 + greys[2] / 8.0 + greys[3] / 8.0) / 255;
        double want = std::clamp(4 * (0.3 - s * s), 0.0, 1.0) * 255;
        noise.finalTexture().bind();
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (std::size_t texel : {0, 64 * 128 + 64, 128 * 128 - 1}) {
            EXPECT_NEAR(texels[texel * 4], want, 2)
                << greys[0] << " " << greys[1] << " " << greys[2] << " " << greys[3];
        }
    }
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_BLEND));
}

int grey(float sample) { return static_cast<unsigned char>(255 * sample); }

// Regenerated rows carry the generation at the time of their step, raised
// by each octave that swapped before them in the same step.
TEST_F(PerlinTextureTest, AsAQueuedPassItRegeneratesBandsAndSwapsOnItsCadence) {
    PerlinTexture noise(128, 128);
    const Image* fadingIn16 = noise.images[0][1].get();
    Scene scene("empty");
    SceneInstance instance(&scene, GLState::instance());
    instance.queuePass(&noise);
    auto steps = [&](int n) {
        for (int i = 0; i < n; ++i) runRenderCommands(instance.commands, instance.glState);
    };
    auto pixel = [](const Image& image, int row, int column) {
        return int{image.pixels[(row * image.width + column) * 4]};
    };
    const auto seeded = [](int row, int column) { return grey(PerlinTexture::latticeSample(262 + 57 * row + column)); };

    steps(1);  // every octave swaps once
    EXPECT_EQ(4, noise.generation);
    EXPECT_EQ(fadingIn16, noise.images[0][0].get());
    EXPECT_EQ(seeded(3, 5), pixel(*noise.images[0][0], 3, 5));  // 16 * 1/32 rows: none
    const Image& octave32 = *noise.images[1][0];
    const Image& octave128 = *noise.images[3][0];
    for (int column : {0, 17, 31}) {
        EXPECT_EQ(grey(PerlinTexture::smoothNoise(0, column, 128)), pixel(octave32, 0, column));
        EXPECT_EQ(seeded(1, column), pixel(octave32, 1, column));
        EXPECT_EQ(grey(PerlinTexture::smoothNoise(7, column, 256)), pixel(octave128, 7, column));
        EXPECT_EQ(seeded(8, column), pixel(octave128, 8, column));
    }
    steps(31);  // octaves 64 and 128 swapped once more
    EXPECT_EQ(6, noise.generation);
    steps(1);
    EXPECT_EQ(10, noise.generation);

    // The 32-pixel image regenerated over the cycle is re-sent as it fades in.
    std::vector<unsigned char> texels(32 * 32 * 4);
    noise.textures[1][1]->bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const std::pair<int, int> rowAndZ[] = {{0, 128}, {1, 256}, {16, 256}, {17, 384}, {31, 384}};
    for (auto [row, z] : rowAndZ) {
        EXPECT_EQ(grey(PerlinTexture::smoothNoise(row, 9, z)), texels[(row * 32 + 9) * 4]) << row;
    }
}

}  // namespace
}  // namespace demo
