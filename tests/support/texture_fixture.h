#pragma once
// For texture, material and noise tests: one headless context per test
// suite with the extensions probed, solid images, and a textured quad drawn
// one texel per pixel.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "graphics/image.h"
#include "graphics/opengl/glh_extensions.h"
#include "tests/support/headless_gl.h"

namespace demo::test {

using Rgba = std::array<int, 4>;

inline std::unique_ptr<Image> solidImage(const std::string& name, int width, int height,
                                         Rgba colour, int format = Image::RGBA) {
    auto image = std::make_unique<Image>(name, width, height, format);
    for (std::size_t i = 0; i < image->byteCount(); ++i) {
        image->pixels[i] = static_cast<unsigned char>(colour[i % image->bytesPerPixel]);
    }
    return image;
}

inline GLint texParameter(GLenum target, GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(target, name, &value);
    return value;
}

inline GLint levelParameter(GLenum target, GLint level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, level, name, &value);
    return value;
}

// Pixel coordinates: (0, 0) is the bottom-left pixel of the frame buffer.
inline void pixelProjection(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A w x h quad at the origin with texture coordinates 0..1 (texel row 0 at
// the bottom), on the bound 2-D texture.
inline void drawTexturedQuad(float w, float h) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(w, 0);
    glTexCoord2f(1, 1);
    glVertex2f(w, h);
    glTexCoord2f(0, 1);
    glVertex2f(0, h);
    glEnd();
}

class HeadlessGLTest : public ::testing::Test {
protected:
    static constexpr int kSize = 64;

    static void SetUpTestSuite() {
        ASSERT_TRUE(openHeadlessDisplay(display(), kSize, kSize));
        probeExtensions();
    }
    static void TearDownTestSuite() { destroyDisplay(display()); }
    void SetUp() override {
        if (display().context == nullptr) GTEST_SKIP() << "no headless context";
    }

    static DisplayPair& display() {
        static DisplayPair pair;
        return pair;
    }
};

}  // namespace demo::test
