#pragma once
// For tests of vertex programs on the driver: while it lives, a 1x1 float
// framebuffer is bound, with a fragment program that passes
// fragment.texcoord[0] on unclamped, so one point drawn into it gives the
// vertex program's o[TEX0] as floats.

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/gl_proc_address.h"

namespace demo::test {

template <typename F>
F glEntry(const char* name) {
    return reinterpret_cast<F>(platform::getProcAddress(name));
}

class TexCoordTarget {
public:
    TexCoordTarget() {
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, nullptr);
        glEntry<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers")(1, &framebuffer_);
        glEntry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, framebuffer_);
        glEntry<PFNGLFRAMEBUFFERTEXTURE2DPROC>("glFramebufferTexture2D")(
            GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
        const std::string passOn = "!!ARBfp1.0\nMOV result.color, fragment.texcoord[0];\nEND\n";
        glEntry<PFNGLGENPROGRAMSARBPROC>("glGenProgramsARB")(1, &fragment_);
        glEntry<PFNGLBINDPROGRAMARBPROC>("glBindProgramARB")(GL_FRAGMENT_PROGRAM_ARB, fragment_);
        glEntry<PFNGLPROGRAMSTRINGARBPROC>("glProgramStringARB")(
            GL_FRAGMENT_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(passOn.size()), passOn.data());
        glGetIntegerv(GL_VIEWPORT, viewport_.data());
        glViewport(0, 0, 1, 1);
        glEnable(GL_FRAGMENT_PROGRAM_ARB);
        glClearColor(-5, -5, -5, -5);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    ~TexCoordTarget() {
        glDisable(GL_FRAGMENT_PROGRAM_ARB);
        glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
        glEntry<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer")(GL_FRAMEBUFFER, 0);
        glEntry<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers")(1, &framebuffer_);
        glEntry<PFNGLDELETEPROGRAMSARBPROC>("glDeleteProgramsARB")(1, &fragment_);
        glDeleteTextures(1, &texture_);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    TexCoordTarget(const TexCoordTarget&) = delete;
    TexCoordTarget& operator=(const TexCoordTarget&) = delete;

    std::array<float, 4> read() const {
        std::array<float, 4> drawn{};
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_FLOAT, drawn.data());
        return drawn;
    }

private:
    GLuint texture_ = 0, framebuffer_ = 0, fragment_ = 0;
    std::array<GLint, 4> viewport_{};
};

}  // namespace demo::test
