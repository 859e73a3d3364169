#pragma once
// For texture, material and noise tests: one headless context per suite
// with the extensions probed, solid images, GL state reads and a textured
// quad drawn one texel per pixel.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

#include "graphics/image.h"
#include "graphics/opengl/glh_extensions.h"
#include "tests/support/headless_gl.h"

namespace demo::test {

using Rgba = std::array<int, 4>;

inline std::unique_ptr<Image> solidImage(int width, int height, Rgba colour,
                                         int format = Image::RGBA) {
    auto image = std::make_unique<Image>("solid", width, height, format);
    for (std::size_t i = 0; i < image->byteCount(); ++i) {
        image->pixels[i] = static_cast<unsigned char>(colour[i % image->bytesPerPixel]);
    }
    return image;
}

inline void expectNear(Rgba pixel, std::array<int, 3> want, int tolerance) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(pixel[i], want[i], tolerance) << "channel " << i;
}

inline GLint texParameter(GLenum target, GLenum name, GLint level = -1) {
    GLint value = 0;
    if (level < 0) glGetTexParameteriv(target, name, &value);
    if (level >= 0) glGetTexLevelParameteriv(target, level, name, &value);
    return value;
}

// A w x h quad at the bottom left of a frame buffer addressed in pixels,
// with texture coordinates 0..1 and normal +Z, without depth test.
inline void drawTexturedQuad(float w, float h, int viewport = 128) {
    glViewport(0, 0, viewport, viewport);
    loadOrtho(0, viewport, 0, viewport);
    glDisable(GL_DEPTH_TEST);
    glNormal3f(0, 0, 1);
    glBegin(GL_QUADS);
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& c : corners) {
        glTexCoord2f(c[0], c[1]);
        glVertex2f(c[0] * w, c[1] * h);
    }
    glEnd();
}

class HeadlessGLTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(openHeadlessDisplay(display(), 128, 128));
        probeExtensions();
    }
    static void TearDownTestSuite() { destroyDisplay(display()); }
    static DisplayPair& display() {
        static DisplayPair pair;
        return pair;
    }
};

}  // namespace demo::test
