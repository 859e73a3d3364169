// The noise texture on Mesa: its hash, the octave sum and contrast shape of
// constant octaves read back from "perlinfinal", the bands it regenerates
// and the state a render leaves.

#include "graphics/opengl/perlin_texture.h"

#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "manager/exceptions.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

class PerlinTextureTest : public test::HeadlessGLTest {
protected:
    static constexpr int kViewport = 128;

    static void SetUpTestSuite() {
        DisplaySettings settings;
        settings.width = settings.height = kViewport;
        try {
            createDisplay(settings, display());
        } catch (const InitGLException& e) {
            FAIL() << e.message();
        }
        probeExtensions();
    }

    // Both slots of every octave filled with one grey and sent to GL.
    static void setOctaves(PerlinTexture& noise, const int (&greys)[4]) {
        for (int octave = 0; octave < 4; ++octave) {
            for (int slot = 0; slot < 2; ++slot) {
                Image& image = *noise.images[octave][slot];
                std::memset(image.pixels, greys[octave], image.byteCount());
                noise.textures[octave][slot]->upload();
            }
        }
    }
    static std::vector<unsigned char> finalTexels(PerlinTexture& noise) {
        std::vector<unsigned char> texels(128 * 128 * 4);
        noise.finalTexture().bind();
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }
};

TEST_F(PerlinTextureTest, TheHashAndItsNeighbourhood) {
    // Worked out by hand in 32-bit wrap-around arithmetic.
    const std::pair<std::uint32_t, float> samples[] = {
        {0, 0.35910451f}, {1, 0.38681347f}, {57, 0.60217199f}, {262, 0.20894999f},
        {0xFFFFFFFFu, 0.95006314f},
    };
    for (const auto& [m, value] : samples) {
        EXPECT_NEAR(PerlinTexture::latticeSample(m), value, 1e-6) << m;
    }
    EXPECT_NEAR(PerlinTexture::smoothNoise(0, 0, 0), 0.50371491f, 1e-6);
}

TEST_F(PerlinTextureTest, ConstantOctavesGiveTheShapedWeightedSum) {
    const struct {
        int greys[4];  // octaves 16, 32, 64, 128
    } cases[] = {
        {{0, 0, 0, 0}},     {{64, 64, 64, 64}},  {{128, 128, 128, 128}}, {{255, 0, 0, 0}},
        {{0, 255, 0, 255}}, {{0, 0, 255, 255}},  {{200, 40, 0, 0}},      {{90, 90, 255, 0}},
    };
    PerlinTexture noise(kViewport, kViewport);
    for (const auto& c : cases) {
        setOctaves(noise, c.greys);
        noise.render();
        double s = (c.greys[0] / 2.0 + c.greys[1] / 4.0 + c.greys[2] / 8.0 + c.greys[3] / 8.0) /
                   255.0;
        double want = std::clamp(4 * (0.3 - s * s), 0.0, 1.0) * 255;
        std::vector<unsigned char> texels = finalTexels(noise);
        for (int texel : {0, 64 * 128 + 64, 128 * 128 - 1}) {
            EXPECT_NEAR(texels[static_cast<std::size_t>(texel) * 4], want, 2)
                << c.greys[0] << " " << c.greys[1] << " " << c.greys[2] << " " << c.greys[3];
        }
    }
}

TEST_F(PerlinTextureTest, BandsRegenerateAtEachOctavesPaceAndStateIsRestored) {
    PerlinTexture noise(kViewport, kViewport);
    // Slot 0 of each octave before the first render swaps them in.
    std::vector<std::vector<unsigned char>> before;
    for (int octave = 0; octave < 4; ++octave) {
        const Image& image = *noise.images[octave][1];
        before.emplace_back(image.pixels, image.pixels + image.byteCount());
    }
    glClearColor(0, 1, 0, 1);
    noise.render();
    EXPECT_EQ(noise.generation, 4);
    const int changedRows[4] = {0, 1, 4, 8};
    for (int octave = 0; octave < 4; ++octave) {
        const Image& image = *noise.images[octave][0];
        int rowBytes = image.width * 4;
        for (int row = 0; row < image.height; ++row) {
            bool same = std::equal(image.pixels + row * rowBytes,
                                   image.pixels + (row + 1) * rowBytes,
                                   before[static_cast<std::size_t>(octave)].begin() + row * rowBytes);
            EXPECT_EQ(same, row >= changedRows[octave]) << "octave " << octave << " row " << row;
        }
    }
    // Octave 32 was the second to swap: generation 2 seeds its band.
    int column = 5;
    EXPECT_EQ(noise.images[1][0]->pixels[column * 4],
              static_cast<unsigned char>(255 * PerlinTexture::smoothNoise(0, column, 64 * 2)));
    EXPECT_FLOAT_EQ(noise.phases[0], 1.0f / 32);
    EXPECT_FLOAT_EQ(noise.phases[3], 1.0f / 16);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    for (GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        probe::glActiveTextureARB(unit);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    }
    GLint active = 0, matrixMode = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(active, GL_TEXTURE0_ARB);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    EXPECT_EQ(test::readPixel(10, 10), (test::Rgba{0, 255, 0, 255}));  // cleared
}

TEST_F(PerlinTextureTest, ASmallViewportIsRefused) {
    try {
        PerlinTexture noise(640, 127);
        FAIL() << "made";
    } catch (const TextureException& e) {
        EXPECT_EQ(e.message(), "noise texture needs a viewport of at least 128 x 128");
    }
}

}  // namespace
}  // namespace demo
