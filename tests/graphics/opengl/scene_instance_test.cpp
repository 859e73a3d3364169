#include "graphics/opengl/scene_instance.h"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/opengl/dynamic_glva.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/light.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/scene.h"
#include "graphics/scene_builder_3ds.h"
#include "graphics/track_controller.h"
#include "graphics/opengl/render_state.h"
#include "tests/support/headless_gl.h"
#include "tests/support/writer_3ds.h"
#include "tests/support/texture_fixture.h"

namespace demo {
namespace {

using W = test::Writer3DS;
namespace id = chunk3ds;

class SceneInstanceTest : public test::HeadlessGLTest {};

TEST_F(SceneInstanceTest, LightsObjectsAndSharedMemory) {
    W objects(id::kObjMesh);
    for (const char* name : {"l8", "b", "a", "c", "l4", "l5", "l6", "l7", "l9"})
        objects.add(W(id::kObjBlock).text(name).add(W(id::kLight).vec(0, 0, 1)));
    W tri = W(id::kTriMesh).add(W(id::kVertList).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0))
                .add(W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0));
    for (const char* name : {"parent", "kid"}) objects.add(W(id::kObjBlock).text(name).add(tri));
    W keys = W(id::kKeyframer)
                 .add(W(id::kTrackInfo).add(W(id::kTrackObjName).text("parent").u32(0).u16(0xFFFF)))
                 .add(W(id::kTrackInfo).add(W(id::kTrackObjName).text("kid").u32(0).u16(0)));
    const test::Bytes bytes = W(id::kMain).add(objects).add(keys).bytes();
    auto scene = buildScene3DS(*readChunkTree3DS(bytes.data(), bytes.size()), "test.3ds", nullptr);
    SceneInstance instance(scene.get(), GLState::instance());
    EXPECT_EQ(GLenum(GL_LIGHT0 + 1), instance.lights[1]->glLight);  // "b", second by name
    while (glGetError() != GL_NO_ERROR) {}
    instance.applyLights();  // the ninth is numbered but left out: Mesa has 8
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_TRUE(instance.makeObjectBatch("nobody")->commands.empty());

    // Both dynamic: the child, reached twice, takes its memory once.
    static std::vector<unsigned char> block(4096);
    DynamicGLVA pool(VertexMemory{[](int) -> void* { return block.data(); }, [](void*) {}});
    DynamicGLVA* previous = std::exchange(instance.glState->vertexPool, &pool);
    for (SceneObject* o : instance.objects) o->animated = false, o->dynamic = true;
    instance.classifyObjects();
    instance.classifyObjects();
    const VertexBuffer& kid = *instance.findObject("kid")->mesh->vertices;
    EXPECT_EQ(2u, instance.dynamicObjects.size());
    EXPECT_EQ(2 * 3 * kid.bytesPerVertex(), pool.used);
    EXPECT_EQ(0, std::memcmp(kid.drawData, kid.data.data(), kid.data.size()));
    instance.glState->vertexPool = previous;
}

// A square over the whole viewport, drawn white.
void giveSquare(SceneObject& o) {
    o.mesh = std::make_shared<Mesh>();
    o.mesh->vertices = std::make_unique<VertexBuffer>(VertexFormat{{{{"position", 12}}}}, 4);
    const float corners[12] = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    std::memcpy(o.mesh->vertices->data.data(), corners, sizeof corners);
    o.mesh->triangles = std::make_unique<TriangleIndexArray>(2);
    o.mesh->triangles->indices = {0, 1, 2, 0, 2, 3};
}

// Keys that keep the square in place.
std::shared_ptr<TrackController> track() {
    auto controller = std::make_shared<TrackController>();
    controller->position.setKeys({{0, 0, 0}, {0, 0, 0}}, {0, 10});
    return controller;
}

// Roots "a" (a square, tracked) over "b" (a square, tracked) and "c"; a
// tracked light and camera.
std::unique_ptr<Scene> threeObjects() {
    auto scene = std::make_unique<Scene>("three.3ds");
    SceneObject* a = scene->addObject(std::make_unique<SceneObject>("a"));
    SceneObject* b = scene->addObject(std::make_unique<SceneObject>("b"));
    scene->addObject(std::make_unique<SceneObject>("c"));
    a->addChild(b);
    giveSquare(*a);
    giveSquare(*b);
    a->trackController = track();
    b->trackController = track();
    LightModel* light = scene->addLight(std::make_unique<LightModel>("sun", Rgb{1, 1, 1}, Rgb{}, Rgb{}, Rgb{1, 0, 0}, false));
    light->newTrackController()->position.setKeys({{0, 0, 0}, {1, 0, 0}}, {0, 10});
    CameraModel* camera = scene->addCamera(std::make_unique<CameraModel>("eye", 45, 1));
    camera->newTrackController()->position.setKeys({{0, 0, 0}, {1, 0, 0}}, {0, 10});
    return scene;
}

float trackTime(TrackController* controller) { return controller->position.path->time; }

struct CountingPass : RenderPass {
    bool flag() override { return ++flags, true; }
    void apply() override {}
    int flags = 0;
};

TEST_F(SceneInstanceTest, QueuesClonesAndBatchesKeepTheirCommands) {
    auto scene = threeObjects();
    SceneObject* a = scene->findObject("a");
    SceneObject* b = scene->findObject("b");
    SceneInstance instance(scene.get(), GLState::instance());
    // Rewound, then one step on: the child too, and the light and camera.
    for (TrackController* t : {a->trackController.get(), b->trackController.get(),
                               instance.lights[0]->trackController, instance.cameras[0]->trackController})
        EXPECT_EQ(1.0f, trackTime(t));

    instance.queueRootsExcept({"c"});
    std::vector<int> ops;
    for (const RenderCommand& c : instance.commands) ops.push_back(c.opcode);
    EXPECT_EQ((std::vector<int>{1, 13, 1, 13, 2, 2}), ops);
    EXPECT_EQ(a->transform.get(), instance.commands.front().argument);  // shared with the clone
    EXPECT_EQ(nullptr, a->displayList);  // compiled into the clone, not into a
    EXPECT_NE(nullptr, b->displayList);

    CountingPass pass;
    instance.queuePass(&pass);
    EXPECT_EQ(1, pass.flags);
    EXPECT_EQ(&pass, instance.commands.back().argument);
    EXPECT_EQ(10, instance.commands.back().opcode);
    auto first = instance.finishBatch();
    auto second = instance.finishBatch();  // the commands stay for the next one
    EXPECT_EQ(7u, second->commands.size());
    EXPECT_EQ(7u, instance.commands.size());
    instance.commands.clear();
    instance.appendBatch(*first);
    instance.appendBatch(*second);
    EXPECT_EQ(14u, instance.commands.size());
    EXPECT_EQ(first->commands.front().argument, instance.commands.front().argument);

    a->frame = 2;
    b->frame = 4;  // not animated by itself: its root's tracks carry it
    instance.animatedObjects.clear();
    a->animated = true;
    for (SceneObject* o : instance.objects) o->animated = o == a;
    instance.classifyObjects();
    instance.setTime(5);
    EXPECT_EQ(3.0f, trackTime(a->trackController.get()));
    EXPECT_EQ(1.0f, trackTime(b->trackController.get()));
    EXPECT_EQ(5.0f, trackTime(instance.lights[0]->trackController));
    EXPECT_EQ(1.0f, trackTime(instance.cameras[0]->trackController));  // the effects' to move
}

// Drawn into a cleared frame: whether the centre turned white.
bool drawsWhite(RenderBatch& batch) {
    glViewport(0, 0, 128, 128);
    test::loadOrtho(-1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColor3f(1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    batch.draw();
    return test::readPixel(64, 64)[0] == 255;
}

TEST_F(SceneInstanceTest, BatchesDrawAfterTheirInstanceAndSceneAreGone) {
    auto scene = threeObjects();
    auto instance = std::make_unique<SceneInstance>(scene.get(), GLState::instance());
    auto object = instance->makeObjectBatch("a");
    auto roots = instance->makeBatchExcept({});
    instance->queueRootsExcept({"a"});
    auto finished = instance->finishBatch();
    roots->compile();
    instance.reset();
    EXPECT_TRUE(drawsWhite(*object));
    scene.reset();
    EXPECT_TRUE(drawsWhite(*object));
    EXPECT_TRUE(drawsWhite(*roots));
    EXPECT_FALSE(drawsWhite(*finished));  // "c" alone: nothing to draw
}

}  // namespace
}  // namespace demo
