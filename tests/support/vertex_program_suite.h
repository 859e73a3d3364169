#pragma once
// A suite that draws vertex programs: one headless display for the suite,
// current in each test, which starts with the layer reset and no OpenGL error
// pending.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/display.h"
#include "platform/vertex_program/vertex_program_layer.h"

namespace demo::test {

class VertexProgramSuite : public ::testing::Test {
protected:
    static constexpr int kSize = 64;

    static void SetUpTestSuite() {
        platform::DisplayRequest request;
        request.width = request.height = kSize;
        platform::DisplayFailure failure{};
        display = platform::DisplaySystem::real().open(request, failure);
    }
    static void TearDownTestSuite() {
        delete display;
        display = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(display->makeCurrent());
        vp::resetLayer();
        while (glGetError() != GL_NO_ERROR) {}
    }
    void TearDown() override { vp::resetLayer(); }

    static inline platform::Display* display = nullptr;
};

}  // namespace demo::test
