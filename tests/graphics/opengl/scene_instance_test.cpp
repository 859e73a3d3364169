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

}  // namespace
}  // namespace demo
