#pragma once
// An animated 128 x 128 noise texture, "perlinfinal": four octaves of value
// noise (16, 32, 64 and 128 pixels), each a pair of images that cross-fade
// while the hidden one is regenerated a band of rows per step. The octaves
// are summed and contrast-shaped with texture combiners in the lower-left
// corner of the frame buffer, which is cleared afterwards. Each render()
// is one animation step; flag() and apply() are the render-pass slots.

#include <cstdint>
#include <memory>

#include "graphics/image.h"
#include "graphics/opengl/render_state.h"
#include "graphics/opengl/texture.h"

namespace demo {

class PerlinTexture : public RenderPass {
  public:
    static constexpr int kOctaves = 4;
    static constexpr int kFinalSize = 128;

    // TextureException when the viewport is smaller than 128 x 128 or the
    // driver lacks multitexture, combiners or a blend colour.
    PerlinTexture(int viewportWidth, int viewportHeight);
    ~PerlinTexture() override;
    PerlinTexture(const PerlinTexture&) = delete;
    PerlinTexture& operator=(const PerlinTexture&) = delete;

    bool flag() override { return true; }
    void apply() override { render(); }
    void render();

    Texture2D& finalTexture() { return *final_; }

    // The lattice hash of m, in (0, 1].
    static float latticeSample(std::uint32_t m);
    // The weighted 3 x 3 neighbourhood of lattice point 57 row + column + 131 z.
    static float smoothNoise(int row, int column, int z);

    // Octave i (size 16 << i), slot 0 shown fading out, slot 1 fading in.
    std::unique_ptr<Image> images[kOctaves][2];
    std::unique_ptr<Texture2D> textures[kOctaves][2];
    float phases[kOctaves] = {0, 0, 0, 0};
    const float speeds[kOctaves] = {1.0f / 32, 1.0f / 32, 1.0f / 16, 1.0f / 16};
    int generation = 0;

  private:
    void step();
    void sumOctaves();
    void shapeContrast();
    void drawCorner();
    void restoreState();

    int viewportWidth_;
    int viewportHeight_;
    std::unique_ptr<Texture2D> final_;
};

}  // namespace demo
