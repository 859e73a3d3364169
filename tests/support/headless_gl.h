#pragma once
// For tests that draw: the show's window and OpenGL context opened headless
// (SDL's offscreen driver over Mesa), and pixels read back from it.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "manager/exceptions.h"
#include "manager/window.h"

namespace demo::test {

// Opens the display with default settings at the given size; on failure the
// assertion carries the window's message.
inline ::testing::AssertionResult openHeadlessDisplay(DisplayPair& display, int width, int height) {
    DisplaySettings settings;
    settings.width = width;
    settings.height = height;
    try {
        createDisplay(settings, display);
    } catch (const InitGLException& e) {
        return ::testing::AssertionFailure() << e.message();
    }
    return ::testing::AssertionSuccess();
}

// A flat projection of the given rectangle (z from -1 to 1) and an identity model-view.
inline void loadOrtho(double left, double right, double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The RGBA bytes of one pixel of a colour buffer of the current context.
inline std::array<int, 4> readPixel(int x, int y, GLenum buffer = GL_BACK) {
    glReadBuffer(buffer);
    unsigned char rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

}  // namespace demo::test
