#include "graphics/opengl/perlin_texture.h"

#include <GL/glext.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "graphics/opengl/glh_extensions.h"

namespace demo {

namespace {

constexpr int kViewportTooSmallLine = 52;
constexpr int kUnsupportedLine = 58;

int octaveSize(int octave) { return 16 << octave; }

void setCombine(GLenum function) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, static_cast<GLint>(function));
}

void setSource(int index, GLenum source, GLenum operand) {
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB + static_cast<GLenum>(index),
              static_cast<GLint>(source));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB + static_cast<GLenum>(index),
              static_cast<GLint>(operand));
}

void useUnit(int unit, Texture2D& texture) {
    probe::glActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
    glEnable(GL_TEXTURE_2D);
    texture.bind();
}

}  // namespace

float PerlinTexture::latticeSample(std::uint32_t m) {
    std::uint32_t h = (m << 13) ^ m;
    std::uint32_t v = (h * (h * h * 15731u + 789221u) - 771171059u) & 0x7FFFFFFFu;
    return static_cast<float>(1.0 - static_cast<double>(v) / 2147483648.0);
}

float PerlinTexture::smoothNoise(int row, int column, int z) {
    // Signed lattice indices wrap like the unsigned ones: same bits.
    std::uint32_t m = 57u * static_cast<std::uint32_t>(row) + static_cast<std::uint32_t>(column) +
                      131u * static_cast<std::uint32_t>(z);
    auto at = [m](int offset) { return latticeSample(m + static_cast<std::uint32_t>(offset)); };
    return at(0) / 4 + (at(-1) + at(1) + at(-57) + at(57)) / 8 +
           (at(-58) + at(-56) + at(56) + at(58)) / 16;
}

PerlinTexture::PerlinTexture(int viewportWidth, int viewportHeight)
    : viewportWidth_(viewportWidth), viewportHeight_(viewportHeight) {
    if (viewportWidth < kFinalSize || viewportHeight < kFinalSize) {
        throwTextureException("noise texture needs a viewport of at least 128 x 128",
                              kViewportTooSmallLine);
    }
    probeExtensions();
    if (probe::glActiveTextureARB == nullptr || probe::glMultiTexCoord2fARB == nullptr ||
        probe::glBlendColorEXT == nullptr || !extensionListed("GL_ARB_texture_env_combine")) {
        throwTextureException("noise textures not supported by the driver", kUnsupportedLine);
    }
    const TextureParams params{kFilterBilinear, 0, GL_REPEAT, GL_REPEAT, GL_REPEAT};
    for (int octave = 0; octave < kOctaves; ++octave) {
        int size = octaveSize(octave);
        for (int slot = 0; slot < 2; ++slot) {
            std::string name = "perlin" + std::to_string(size) + "-" + std::to_string(slot);
            auto image = std::make_unique<Image>(name, size, size, Image::RGBA);
            std::uint32_t seed = slot == 0 ? 0 : 262;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    auto value = static_cast<unsigned char>(
                        latticeSample(seed + 57u * static_cast<std::uint32_t>(y) +
                                      static_cast<std::uint32_t>(x)) *
                        255);
                    unsigned char* pixel = image->pixels + (y * size + x) * 4;
                    pixel[0] = pixel[1] = pixel[2] = value;
                    pixel[3] = 255;
                }
            }
            textures[octave][slot] = std::make_unique<Texture2D>(name, image.get(), params);
            images[octave][slot] = std::move(image);
        }
    }
    Image blank("perlinfinal", kFinalSize, kFinalSize, Image::RGBA);
    std::memset(blank.pixels, 0, blank.byteCount());
    final_ = std::make_unique<Texture2D>("perlinfinal", &blank, params);
    final_->images.clear();  // the blank image goes now
}

PerlinTexture::~PerlinTexture() = default;

void PerlinTexture::render() {
    step();
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewportWidth_, 0, viewportHeight_, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    sumOctaves();
    shapeContrast();
    restoreState();
    for (int octave = 0; octave < kOctaves; ++octave) {
        float next = phases[octave] + speeds[octave];
        phases[octave] = next - std::floor(next);
    }
}

// Swaps an octave whose cross-fade starts over, sends the image that was
// regenerated while hidden, and regenerates the next band of the one now
// fading out.
void PerlinTexture::step() {
    for (int octave = 0; octave < kOctaves; ++octave) {
        if (phases[octave] == 0.0f) {
            std::swap(images[octave][0], images[octave][1]);
            std::swap(textures[octave][0], textures[octave][1]);
            textures[octave][1]->upload();
            ++generation;
        }
        int size = octaveSize(octave);
        int rows = static_cast<int>(static_cast<float>(size) * speeds[octave]);
        int first = static_cast<int>(static_cast<float>(size) * phases[octave]);
        Image& image = *images[octave][0];
        for (int row = first; row < first + rows && row < size; ++row) {
            for (int column = 0; column < size; ++column) {
                auto value =
                    static_cast<unsigned char>(255 * smoothNoise(row, column, 64 * generation));
                unsigned char* pixel = image.pixels + (row * size + column) * 4;
                pixel[0] = pixel[1] = pixel[2] = value;
            }
        }
    }
}

void PerlinTexture::drawCorner() {
    const float corners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    glBegin(GL_QUADS);
    for (const auto& c : corners) {
        probe::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, c[0], c[1]);
        probe::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, c[0], c[1]);
        glVertex2f(c[0] * kFinalSize, c[1] * kFinalSize);
    }
    glEnd();
}

// 1/2 octave 16 + 1/4 octave 32 + 1/8 octave 64 + 1/8 octave 128, each
// octave its two slots mixed by its phase.
void PerlinTexture::sumOctaves() {
    for (int octave = kOctaves - 1; octave >= 0; --octave) {
        if (octave != kOctaves - 1) {
            probe::glBlendColorEXT(0.5f, 0.5f, 0.5f, 0.5f);
            glEnable(GL_BLEND);
            glBlendFunc(GL_CONSTANT_COLOR_EXT, GL_ONE_MINUS_CONSTANT_COLOR_EXT);
        }
        glColor4f(1, 1, 1, phases[octave]);
        useUnit(0, *textures[octave][0]);
        setCombine(GL_REPLACE);
        setSource(0, GL_TEXTURE, GL_SRC_COLOR);
        useUnit(1, *textures[octave][1]);
        setCombine(GL_INTERPOLATE_ARB);
        setSource(0, GL_PREVIOUS_ARB, GL_SRC_COLOR);
        setSource(1, GL_TEXTURE, GL_SRC_COLOR);
        setSource(2, GL_PRIMARY_COLOR_ARB, GL_ONE_MINUS_SRC_ALPHA);
        probe::glActiveTextureARB(GL_TEXTURE0_ARB);
        drawCorner();
    }
    final_->bind();
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, kFinalSize, kFinalSize, 0);
}

// 4 x (0.3 - t^2), clamped: white where the sum is low, black where high.
void PerlinTexture::shapeContrast() {
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 0.3f);
    useUnit(0, *final_);
    setCombine(GL_MODULATE);
    setSource(0, GL_TEXTURE, GL_SRC_COLOR);
    setSource(1, GL_TEXTURE, GL_SRC_COLOR);
    useUnit(1, *final_);
    setCombine(GL_SUBTRACT_ARB);
    setSource(0, GL_PRIMARY_COLOR_ARB, GL_SRC_ALPHA);
    setSource(1, GL_PREVIOUS_ARB, GL_SRC_COLOR);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 4.0f);
    probe::glActiveTextureARB(GL_TEXTURE0_ARB);
    drawCorner();
    final_->bind();
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, kFinalSize, kFinalSize, 0);
}

void PerlinTexture::restoreState() {
    for (int unit = 1; unit >= 0; --unit) {
        probe::glActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
        glDisable(GL_TEXTURE_2D);
        glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 1.0f);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
}

}  // namespace demo
