// Command lists of object trees, run directly and compiled into batches, on a
// headless context read back through pixels and GL state.

#include "graphics/opengl/render_command.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/image.h"
#include "graphics/opengl/display_list.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/glh_extensions.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/opengl/render_state.h"
#include "graphics/opengl/texture.h"
#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "tests/support/headless_gl.h"

namespace demo {
namespace {

using Pixel = std::array<int, 4>;
const Pixel kBlack{0, 0, 0, 255}, kWhite{255, 255, 255, 255}, kGreen{0, 255, 0, 255};
std::string journal;

struct RecordingState : RenderState {
    explicit RecordingState(char name_) : name(name_) {}
    bool queryApply() override { return true; }
    bool queryRestore() override { return true; }
    void apply() override { journal += name; }
    void restore() override { journal += '-', journal += name; }
    char name;
};

// A unit square with its lower left corner at (x, y), in a window from -1 to 1.
void placeSquare(Mesh& mesh, float x, float y) {
    const float p[12] = {x, y, 0, x + 1, y, 0, x + 1, y + 1, 0, x, y + 1, 0};
    std::memcpy(mesh.vertices->data.data(), p, sizeof p);
}

std::shared_ptr<Mesh> squareMesh() {
    auto mesh = std::make_shared<Mesh>();
    mesh->vertices =
        std::make_unique<VertexBuffer>(VertexFormat{{{{"position", 12}}, {{"tex0", 8}}}}, 4);
    placeSquare(*mesh, -1, -1);
    mesh->triangles = std::make_unique<TriangleIndexArray>(2);
    mesh->triangles->indices = {0, 1, 2, 0, 2, 3};
    return mesh;
}

std::unique_ptr<Texture> greenTexture() {
    Image image("green", 1, 1, Image::RGBA, new unsigned char[4]{0, 255, 0, 255});
    auto texture = std::make_unique<Texture2D>("green", &image, TextureParams{});
    texture->images.clear();
    return texture;
}

std::vector<int> opcodes(const RenderCommandList& list) {
    std::vector<int> out;
    for (const RenderCommand& c : list) out.push_back(c.opcode);
    return out;
}

// The centres of the four quarters, bottom left first.
std::array<Pixel, 4> quarters() {
    return {test::readPixel(8, 8), test::readPixel(24, 8), test::readPixel(8, 24),
            test::readPixel(24, 24)};
}

// A root without mesh over a static and a dynamic square.
struct RenderCommandTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(test::openHeadlessDisplay(display, 32, 32));
        context = GLState::instance();
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        test::loadOrtho(-1, 1, -1, 1);
        glClearColor(0, 0, 0, 1);
        root.addChild(&plain);
        root.addChild(&moving);
        plain.mesh = squareMesh();
        moving.mesh = squareMesh();
        moving.dynamic = true;
    }
    void TearDown() override { destroyDisplay(display); }

    DisplayPair display;
    GLState* context = nullptr;
    SceneObject plain{"plain"}, moving{"moving"}, root{"root"};  // the root goes first
};

TEST_F(RenderCommandTest, ObjectsQueueTheirCommandsAroundTheirStates) {
    RecordingState a('A'), b('B');
    root.renderStates = {&a};  // ignored: the root has no mesh
    plain.renderStates = {&a, &b};
    moving.renderStates = {&b};
    RenderCommandList list;
    queueObject(list, root, *context);
    EXPECT_EQ(opcodes(list),
              (std::vector<int>{1, 1, 8, 8, 13, 9, 9, 2, 1, 8, 3, 5, 7, 6, 4, 9, 2, 2}));
    runRenderCommands(list, *context);
    EXPECT_EQ("AB-B-AB-B", journal);
}

TEST_F(RenderCommandTest, CompiledBatchDrawsTheSameFrameAndStaysFrozen) {
    auto green = greenTexture();
    plain.mesh->textures = {green.get()};
    moving.transform->setPosition({1, 0, 0});  // the bottom right quarter
    RenderCommandList list;
    queueObject(list, root, *context);
    glClear(GL_COLOR_BUFFER_BIT);
    runRenderCommands(list, *context);
    EXPECT_EQ(quarters(), (std::array{kGreen, kWhite, kBlack, kBlack}));

    RenderBatch batch(context, list);
    batch.compile();
    const GLuint name = batch.displayList->list;
    batch.compile();  // does nothing
    EXPECT_EQ(name, batch.displayList->list);
    EXPECT_EQ(opcodes(batch.commands), std::vector<int>{13});
    placeSquare(*moving.mesh, -1, 0);  // up into the top right quarter
    placeSquare(*plain.mesh, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    batch.draw();
    EXPECT_EQ(quarters(), (std::array{kGreen, kWhite, kBlack, kBlack}));
    glClear(GL_COLOR_BUFFER_BIT);
    runRenderCommands(list, *context);  // the dynamic object follows its vertices
    EXPECT_EQ(quarters(), (std::array{kGreen, kBlack, kBlack, kWhite}));
}

TEST_F(RenderCommandTest, NoBufferAndSurplusTexturesAreLeftAlone) {
    context->currentVertices = nullptr;
    glEnableClientState(GL_VERTEX_ARRAY);
    for (int op : {render_op::kDisableArrays, render_op::kDrawTriangles, render_op::kCallList, 99})
        executeRenderCommand({nullptr, op}, *context);  // nothing to act on: nothing happens
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));

    auto integer = [](GLenum name) { GLint value = 0; return glGetIntegerv(name, &value), value; };
    const int units = integer(GL_MAX_TEXTURE_UNITS_ARB);
    auto green = greenTexture();
    std::vector<Texture*> textures(units + 1, green.get());
    probe::glActiveTextureARB(GL_TEXTURE1_ARB);
    executeRenderCommand({&textures, render_op::kEnableTextures}, *context);
    EXPECT_EQ(GL_TEXTURE0_ARB, integer(GL_ACTIVE_TEXTURE_ARB));
    probe::glActiveTextureARB(GL_TEXTURE0_ARB + units);  // an image unit past the fixed ones
    EXPECT_EQ(0, integer(GL_TEXTURE_BINDING_2D));
    EXPECT_EQ(GL_NO_ERROR, static_cast<GLenum>(glGetError()));
}

}  // namespace
}  // namespace demo
