#include "graphics/opengl/scene_instance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/opengl/dynamic_glva.h"
#include "graphics/opengl/gl_state.h"
#include "graphics/opengl/render_batch.h"
#include "graphics/opengl/render_state.h"
#include "graphics/opengl/scene.h"
#include "graphics/opengl/scene_builder_3ds.h"
#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"
#include "tests/support/texture_fixture.h"
#include "tests/support/writer_3ds.h"

namespace demo {
namespace {

using W = test::Writer3DS;
namespace id = chunk3ds;

class SceneInstanceTest : public test::HeadlessGLTest {};

// Lights l8, b, a, c, l4 ... l9 in that file order, "parent" over "kid" and a
// root "stray"; the two, the light l8 and the camera "eye" have tracks.
std::unique_ptr<Scene> testScene() {
    W objects(id::kObjMesh), keys(id::kKeyframer);
    for (const char* name : {"l8", "b", "a", "c", "l4", "l5", "l6", "l7", "l9"})
        objects.add(W(id::kObjBlock).text(name).add(W(id::kLight).vec(0, 0, 1)));
    W tri = W(id::kTriMesh).add(W(id::kVertList).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0))
                .add(W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0));
    for (const char* name : {"parent", "kid", "stray"}) objects.add(W(id::kObjBlock).text(name).add(tri));
    objects.add(W(id::kObjBlock).text("eye").add(W(id::kCamera).vec(0, 0, 5).vec(0, 0, 0).f32(0).f32(35)));
    for (auto [node, name, parent] : {std::tuple{id::kTrackInfo, "parent", 0xFFFF}, {id::kTrackInfo, "kid", 0},
                                      {id::kTrackCamera, "eye", 0xFFFF}, {id::kTrackLight, "l8", 0xFFFF}})
        keys.add(W(std::uint16_t(node)).add(W(id::kTrackObjName).text(name).u32(0).u16(std::uint16_t(parent)))
                     .add(test::track(id::kTrackPos, {{0, {0, 0, 0}}, {10, {0, 0, 0}}})));
    const test::Bytes bytes = W(id::kMain).add(objects).add(keys).bytes();
    return buildScene3DS(*readChunkTree3DS(bytes.data(), bytes.size()), "test.3ds", nullptr);
}

float trackTime(TrackController* controller) { return controller->position.path->time; }

struct CountingPass : RenderPass {
    bool flag() override { return ++flags, true; }
    void apply() override {}
    int flags = 0;
};

TEST_F(SceneInstanceTest, LightsTracksClonesBatchesAndSharedMemory) {
    auto scene = testScene();
    SceneObject* a = scene->findObject("parent");
    SceneObject* b = scene->findObject("kid");
    ASSERT_TRUE(scene->cameras.find("eye")->fov.setKeys({60.0f}, {0}));
    auto instance = std::make_unique<SceneInstance>(scene.get(), GLState::instance());
    EXPECT_EQ(GLenum(GL_LIGHT0 + 1), instance->lights[1]->glLight);  // "b", second by name
    while (glGetError() != GL_NO_ERROR) {}
    instance->applyLights();  // the ninth is numbered but left out: Mesa has 8
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
    EXPECT_TRUE(instance->makeObjectBatch("nobody")->commands.empty());
    GLfloat projection[16];  // the camera's field of view, loaded when rewound
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(1 / std::tan(0.5235988f), projection[5], 1e-5f);
    TrackController* light = scene->lights.find("l8")->trackController;
    TrackController* camera = instance->cameras[0]->trackController;
    // Rewound, then one step on: the child too, and the light and camera.
    for (TrackController* t : {a->trackController, b->trackController, light, camera})
        EXPECT_EQ(1.0f, trackTime(t));

    instance->queueRootsExcept({"stray"});
    std::vector<int> ops;
    for (const RenderCommand& c : instance->commands) ops.push_back(c.opcode);
    EXPECT_EQ((std::vector<int>{1, 13, 1, 13, 2, 2}), ops);
    // The root's transform shared with its clone, whose display list is its own, not a's.
    EXPECT_TRUE(a->transform.get() == instance->commands.front().argument && a->displayList == nullptr && b->displayList != nullptr);
    CountingPass pass;
    instance->queuePass(&pass);
    EXPECT_TRUE(pass.flags == 1 && instance->commands.back().argument == &pass && instance->commands.back().opcode == 10);
    auto first = instance->finishBatch();
    auto second = instance->finishBatch();  // the commands stay for the next one
    EXPECT_TRUE(second->commands.size() == 7 && instance->commands.size() == 7);
    instance->commands.clear();
    instance->appendBatch(*first);
    instance->appendBatch(*second);
    EXPECT_EQ(14u, instance->commands.size());

    a->frame = 2;
    b->frame = 4;  // not animated itself: only its root's frame counts
    for (SceneObject* o : instance->objects) o->animated = o == a;
    instance->classifyObjects();
    instance->setTime(5);
    EXPECT_TRUE(trackTime(a->trackController) == 3.0f && trackTime(b->trackController) == 1.0f);
    EXPECT_TRUE(trackTime(light) == 5.0f && trackTime(camera) == 1.0f);  // cameras: the effects'

    // Both dynamic, in a new instance: the child, reached twice, takes its memory once.
    instance = std::make_unique<SceneInstance>(scene.get(), GLState::instance());
    static std::vector<unsigned char> block(4096);
    DynamicGLVA pool(VertexMemory{[](int) -> void* { return block.data(); }, [](void*) {}});
    DynamicGLVA* previous = std::exchange(instance->glState->vertexPool, &pool);
    for (SceneObject* o : instance->objects) o->animated = false, o->dynamic = o->name != "stray";
    instance->classifyObjects();
    instance->classifyObjects();
    const VertexBuffer& kid = *b->mesh->vertices;
    EXPECT_TRUE(instance->dynamicObjects.size() == 2 && pool.used == 2 * 3 * kid.bytesPerVertex());
    EXPECT_EQ(0, std::memcmp(kid.drawData, kid.data.data(), kid.data.size()));
    instance.reset();  // its meshes draw from their own memory again
    EXPECT_EQ(kid.data.data(), kid.drawData);
    GLState::instance()->vertexPool = previous;
}

}  // namespace
}  // namespace demo
