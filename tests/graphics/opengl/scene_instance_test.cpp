#include "graphics/opengl/scene_instance.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/opengl/camera.h"
#include "graphics/opengl/dynamic_glva.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/light.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/scene.h"
#include "graphics/scene_builder_3ds.h"
#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "tests/support/cube_3ds.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using W = test::Writer3DS;
namespace id = chunk3ds;
constexpr int kWidth = 128, kHeight = 96;  // the projection's 4:3

std::unique_ptr<Scene> sceneOf(const test::Bytes& bytes) {
    auto root = readChunkTree3DS(bytes.data(), bytes.size());
    return buildScene3DS(*root, "test.3ds", nullptr);
}

struct Box {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9, cx = 0, cy = 0;
};

// Bounding box and centroid of the pixels that differ from the clear colour.
Box drawnPixels() {
    std::vector<unsigned char> rgba(kWidth * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Box b;
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const unsigned char* p = &rgba[std::size_t(y * kWidth + x) * 4];
            if (p[0] == 0 && p[1] == 0 && p[2] == 255) continue;
            b.x0 = std::min(b.x0, double(x)), b.x1 = std::max(b.x1, x + 1.0);
            b.y0 = std::min(b.y0, double(y)), b.y1 = std::max(b.y1, y + 1.0);
            b.cx += x + 0.5, b.cy += y + 0.5, ++n;
        }
    }
    b.cx /= n, b.cy /= n;
    return b;
}

// The same for the file's cube seen right-handed: gluLookAt with up +z,
// corners through gluProject, the area centroid of their convex hull.
Box projectedCube(const std::array<float, 3>& at) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 4.0 / 3.0, 0.1, 10000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const auto& c = test::kCubeCamera;
    const auto& t = test::kCubeTarget;
    gluLookAt(c[0], c[1], c[2], t[0], t[1], t[2], 0, 0, 1);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<std::pair<double, double>> p;
    Box b;
    for (int i = 0; i < 8; ++i) {
        double x, y, z;
        gluProject(at[0] + (i & 1 ? 1 : -1), at[1] + (i & 2 ? 1 : -1), at[2] + (i & 4 ? 1 : -1), model, projection, viewport, &x, &y, &z);
        p.emplace_back(x, y);
        b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x), b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
    }
    std::sort(p.begin(), p.end());
    auto cross = [](auto o, auto a, auto q) { return (a.first - o.first) * (q.second - o.second) - (a.second - o.second) * (q.first - o.first); };
    std::vector<std::pair<double, double>> hull(16);
    std::size_t k = 0;
    for (int pass = 0; pass < 2; ++pass, std::reverse(p.begin(), p.end())) {
        const std::size_t start = k;
        for (const auto& q : p) {
            while (k >= start + 2 && cross(hull[k - 2], hull[k - 1], q) <= 0) --k;
            hull[k++] = q;
        }
        --k;
    }
    double area = 0;
    for (std::size_t i = 0; i < k; ++i) {
        const auto& a = hull[i];
        const auto& q = hull[(i + 1) % k];
        const double w = a.first * q.second - q.first * a.second;
        area += w, b.cx += (a.first + q.first) * w, b.cy += (a.second + q.second) * w;
    }
    b.cx /= 3 * area, b.cy /= 3 * area;
    return b;
}

class SceneInstanceTest : public test::HeadlessGLTest {};

// Left-handed loading, mirrored projection and camera frame give the same
// picture as the file seen right-handed.
TEST_F(SceneInstanceTest, DrawsWhereTheRightHandedFileIs) {
    const std::array<float, 3> centre{1, 0, 0};
    auto scene = sceneOf(test::cube3DS(centre, {{0, {1, 0, 0}}, {5, {2, 1, 0.5f}}, {10, {3, 2, 1}}}));
    SceneInstance instance(scene.get(), GLState::instance());
    std::unique_ptr<RenderBatch> batch = instance.makeBatchExcept({});  // not compiled: it moves
    instance.classifyObjects();
    glViewport(0, 0, kWidth, kHeight);
    const std::array<float, 3> expected[] = {{1, 0, 0}, {2, 1, 0.5f}, {3, 2, 1}};
    for (int frame : {0, 5, 10}) {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45, 4.0 / 3.0, 0.1, 10000);
        glScalef(1, 1, -1);
        glMatrixMode(GL_MODELVIEW);
        Camera& eye = *instance.cameras.at(0);
        eye.apply(float(frame));
        eye.transform.updateMatrices();
        glLoadMatrixf(eye.transform.inverseMatrix());
        instance.setTime(float(frame));
        instance.applyLights();
        batch->draw();
        const Box drawn = drawnPixels(), want = projectedCube(expected[frame / 5]);
        for (auto [got, wanted] : {std::pair{drawn.x0, want.x0}, {drawn.x1, want.x1}, {drawn.y0, want.y0},
                                   {drawn.y1, want.y1}, {drawn.cx, want.cx}, {drawn.cy, want.cy}}) {
            EXPECT_NEAR(got, wanted, 1.5) << "frame " << frame;
        }
    }
}

TEST_F(SceneInstanceTest, LightsObjectsAndSharedMemory) {
    W objects(id::kObjMesh);
    for (const char* name : {"l8", "b", "a", "c", "l4", "l5", "l6", "l7", "l9"}) objects.add(W(id::kObjBlock).text(name).add(W(id::kLight).vec(0, 0, 1)));
    W tri = W(id::kTriMesh).add(W(id::kVertList).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0)).add(W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0));
    objects.add(W(id::kObjBlock).text("parent").add(tri)).add(W(id::kObjBlock).text("kid").add(tri));
    W node = W(id::kTrackInfo).add(W(id::kTrackObjName).text("parent").u32(0).u16(0xFFFF));
    W kid = W(id::kTrackInfo).add(W(id::kTrackObjName).text("kid").u32(0).u16(0));
    auto scene = sceneOf(W(id::kMain).add(objects).add(W(id::kKeyframer).add(node).add(kid)).bytes());

    SceneInstance instance(scene.get(), GLState::instance());
    EXPECT_EQ(GLenum(GL_LIGHT0 + 1), instance.lights[1]->glLight);  // "b", second by name
    EXPECT_EQ(GLenum(GL_LIGHT0 + 8), instance.lights.back()->glLight);
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    if (maxLights == 8) {
        while (glGetError() != GL_NO_ERROR) {}
        instance.applyLights();  // the ninth is left out
        EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    }
    EXPECT_TRUE(instance.makeObjectBatch("nobody")->commands.empty());

    // Both dynamic: the child, reached twice, takes its memory once.
    static std::vector<unsigned char> block(4096);
    DynamicGLVA pool(VertexMemory{[](int) -> void* { return block.data(); }, [](void*) {}});
    GLState* state = GLState::instance();
    DynamicGLVA* previous = state->vertexPool;
    state->vertexPool = &pool;
    for (SceneObject* o : instance.objects) o->animated = false, o->dynamic = true;
    instance.classifyObjects();
    instance.classifyObjects();
    EXPECT_EQ(2u, instance.dynamicObjects.size());
    VertexBuffer& kidVertices = *instance.findObject("kid")->mesh->vertices;
    EXPECT_EQ(2 * 3 * kidVertices.bytesPerVertex(), pool.used);
    EXPECT_EQ(0, std::memcmp(kidVertices.drawData, kidVertices.data.data(), kidVertices.data.size()));
    state->vertexPool = previous;
}

}  // namespace
}  // namespace demo
