// The noise texture on Mesa: its hash, the shaped octave sum of constant
// octaves read back from "perlinfinal" and the state a render leaves.

#include "graphics/opengl/perlin_texture.h"

#include <GL/glext.h>

#include <algorithm>
#include <cstring>
#include <vector>

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

}  // namespace
}  // namespace demo
