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
#include "graphics/opengl/scene.h"
#include "graphics/opengl/scene_instance.h"
#include "graphics/opengl/sphere_map_state.h"
#include "manager/exceptions.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

class PerlinTextureTest : public test::HeadlessGLTest {};

int grey(float sample) { return static_cast<unsigned char>(255 * sample); }
int seeded(int row, int column) {
    return grey(PerlinTexture::latticeSample(262 + 57 * row + column));
}

// Regenerated rows carry the generation of their step, raised by each octave
// that swapped before them in it.
TEST_F(PerlinTextureTest, QueuedStepsRegenerateBandsSwapOnCadenceAndShapeTheOctaveSum) {
    EXPECT_NEAR(PerlinTexture::latticeSample(0), 0.35910451f, 1e-6);
    EXPECT_NEAR(PerlinTexture::latticeSample(0xFFFFFFFFu), 0.95006314f, 1e-6);  // m = -1
    EXPECT_NEAR(PerlinTexture::smoothNoise(0, 0, 0), 0.50371491f, 1e-6);
    EXPECT_THROW(PerlinTexture(640, 127), TextureException);
    PerlinTexture noise(128, 128);
    Scene scene("empty");
    SceneInstance instance(&scene, GLState::instance());
    SphereMapState state;  // a pass of another kind in the same list sets its index
    SetIndexPass index(&state, 7);
    instance.queuePass(&noise), instance.queuePass(&index);
    auto steps = [&](int n) {
        while (n-- > 0) runRenderCommands(instance.commands, instance.glState);
    };
    auto at = [&](int octave, int row) {  // column 9 of the image fading out
        return int{noise.images[octave][0]->pixels[(row * (16 << octave) + 9) * 4]};
    };
    steps(1);  // every octave swaps: slot 0 holds the image seeded 262
    EXPECT_TRUE(noise.generation == 4 && state.index == 7);
    EXPECT_EQ(seeded(0, 9), at(0, 0));  // 16 x 1/32 rows: none
    EXPECT_EQ(grey(PerlinTexture::smoothNoise(0, 9, 128)), at(1, 0));
    EXPECT_EQ(seeded(1, 9), at(1, 1));
    EXPECT_EQ(grey(PerlinTexture::smoothNoise(7, 9, 256)), at(3, 7));
    EXPECT_EQ(seeded(8, 9), at(3, 8));
    steps(31);  // octaves 64 and 128 swapped once more
    EXPECT_EQ(6, noise.generation);
    steps(1);
    EXPECT_EQ(10, noise.generation);
    // The 32-pixel image regenerated over the cycle is re-sent as it fades in.
    std::vector<unsigned char> texels(128 * 128 * 4);
    noise.textures[1][1]->bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    for (auto [row, z] : {std::pair{0, 128}, {1, 256}, {16, 256}, {17, 384}, {31, 384}})
        EXPECT_EQ(grey(PerlinTexture::smoothNoise(row, 9, z)), texels[(row * 32 + 9) * 4]) << row;

    const int cases[][4] = {{0, 0, 0, 0}, {64, 64, 64, 64}, {128, 128, 128, 128}, {255, 0, 0, 0},
                            {0, 255, 0, 255}, {0, 0, 255, 255}, {200, 40, 0, 0}, {90, 90, 255, 0}};
    for (const auto& greys : cases) {  // of octaves 16, 32, 64 and 128, in both slots
        for (int i = 0; i < 8; ++i) {  // octave i / 2, slot i % 2
            Image& image = *noise.images[i / 2][i % 2];
            std::memset(image.pixels, greys[i / 2], image.byteCount());
            noise.textures[i / 2][i % 2]->upload();
        }
        noise.render();
        double s = (greys[0] / 2.0 + greys[1] / 4.0 + greys[2] / 8.0 + greys[3] / 8.0) / 255;
        double want = std::clamp(4 * (0.3 - s * s), 0.0, 1.0) * 255;
        noise.finalTexture().bind();
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (std::size_t texel : {0, 64 * 128 + 64, 128 * 128 - 1})
            EXPECT_NEAR(texels[texel * 4], want, 2) << "case " << &greys - cases;
    }
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_BLEND));
}

}  // namespace
}  // namespace demo
