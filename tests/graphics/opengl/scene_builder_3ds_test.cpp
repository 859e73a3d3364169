#include "graphics/opengl/scene_builder_3ds.h"

#include <gmock/gmock.h>

#include <cstring>

#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/opengl/camera.h"
#include "graphics/opengl/light.h"
#include "graphics/opengl/scene.h"
#include "graphics/scene_object.h"
#include "graphics/track_controller.h"
#include "graphics/vertex_buffer.h"
#include "manager/exceptions.h"
#include "tests/support/writer_3ds.h"

namespace demo {
namespace {

using W = test::Writer3DS;
using ::testing::Property;
using ::testing::Throws;
namespace id = chunk3ds;

W node(const std::string& name, int parent) {
    return W(id::kTrackInfo).add(W(id::kTrackObjName).text(name).u32(0).u16(std::uint16_t(parent)));
}

// A triangle object; when placed, its matrix puts its origin at (10, 0, 0).
W triangle(const std::string& name, bool placed = false, bool faces = true) {
    W tri(id::kTriMesh);
    tri.add(W(id::kVertList).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0));
    if (faces) tri.add(W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0));
    tri.add(W(id::kMapList).u16(1).f32(0.5f).f32(0.25f));
    if (placed) tri.add(W(id::kTrMatrix).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, 1).vec(10, 0, 0));
    return W(id::kObjBlock).text(name).add(tri);
}

std::unique_ptr<Scene> build(const W& objects, const W& keyframer = W(id::kKeyframer)) {
    test::Bytes bytes = W(id::kMain).add(objects).add(keyframer).bytes();
    auto root = readChunkTree3DS(bytes.data(), bytes.size());
    return buildScene3DS(*root, "test.3ds", nullptr);
}

template <typename T = Vector3>
std::vector<T> stream(const SceneObject& o, const char* name = "position") {
    std::uint8_t* p = nullptr;
    int stride = 0, count = 0;
    VertexBuffer::streamPointer(name, o.mesh->vertices.get(), &p, &stride, &count);
    std::vector<T> out(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) std::memcpy(&out[std::size_t(i)], p + i * stride, sizeof(T));
    return out;
}

TEST(SceneBuilder3DS, ObjectsLightsAndCamerasLeftHanded) {
    W keys(id::kKeyframer);
    keys.add(W(id::kTrackCamera).add(W(id::kTrackObjName).text("cam").u32(0).u16(0xFFFF))
                 .add(test::track(id::kTrackRoll, {{0, {90}}})));
    keys.add(node("moved", -1).add(W(id::kTrackPivot).vec(1, 0, 0))
                 .add(test::track(id::kTrackPos, {})));
    keys.add(node("turned", -1));
    W spot = W(id::kLight).vec(0, 0, 5).add(W(id::kSpotlight).vec(0, 0, 0).f32(1).f32(2))
                 .add(W(id::kRgbF).vec(1, 0.5f, 0));
    W bulb = W(id::kLight).vec(1, 2, 3).add(W(id::kRgbB).u8(255).u8(255).u8(255));
    W cam = W(id::kCamera).vec(0, 0, 0).vec(0, 10, 0).f32(0).f32(35);
    // Its frame is the file's turned a quarter about x.
    W turned = W(id::kObjBlock).text("turned").add(
        W(id::kTriMesh).add(W(id::kVertList).u16(3).vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0))
            .add(W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0))
            .add(W(id::kTrMatrix).vec(1, 0, 0).vec(0, 0, 1).vec(0, -1, 0).vec(0, 0, 0)));
    W objects = W(id::kObjMesh).add(triangle("moved", true)).add(triangle("still", true))
                    .add(turned)
                    .add(W(id::kObjBlock).text("spot").add(spot))
                    .add(W(id::kObjBlock).text("bulb").add(bulb))
                    .add(W(id::kObjBlock).text("cam").add(cam));
    auto scene = build(objects, keys);

    // Negated by the reader, into the object's frame by the matrix's inverse
    // (origin -10), less the pivot (-1); an object without a node stays put.
    SceneObject& moved = *scene->findObject("moved");
    EXPECT_EQ((std::vector<Vector3>{{11, 0, 0}, {10, 0, 0}, {11, -1, 0}}), stream(moved));
    EXPECT_EQ((std::vector<Vector3>{{0, 0, 0}, {-1, 0, 0}, {0, -1, 0}}),
              stream(*scene->findObject("still")));
    EXPECT_EQ((std::vector<std::uint32_t>{1, 0, 2}), moved.mesh->triangles->indices);
    EXPECT_FALSE(moved.trackController->position.animated);  // no keys: absent
    EXPECT_EQ(0.0, stream<double>(moved, "tex0")[1]);  // past the one given pair: zeros
    // Normals are those of the positions in the object's frame, not the file's
    // (0, 0, -1): the tracks turn both back together.
    const SceneObject& t = *scene->findObject("turned");
    EXPECT_EQ((std::vector<Vector3>{{0, 0, 0}, {-1, 0, 0}, {0, 0, 1}}), stream(t));
    for (const Vector3& n : stream(t, "normal")) EXPECT_LT((n - Vector3{0, -1, 0}).length(), 1e-6f);
    auto lights = scene->getLights();  // "bulb": a byte colour alone is black
    EXPECT_TRUE(!lights.at(0)->directional && lights[0]->diffuse == (Rgba{0, 0, 0, 1}));
    EXPECT_TRUE(lights.at(1)->directional && lights[1]->specular == (Rgba{1, 0.5f, 0, 1}));
    Camera& camera = *scene->getCameras().at(0);
    ASSERT_TRUE(camera.roll.path);
    EXPECT_NEAR(-1.5707963f, camera.roll.path->points[0], 1e-6f);
    // It looks down -y, at the negated target.
    EXPECT_NEAR(-1.0f, camera.transform.matrix()[9], 1e-6f);
}

// Nodes root, child, grandchild and second child, after a camera node and
// with a light node among them, which count in the numbering: the second
// child's parent is the root whatever order the objects were placed in.
TEST(SceneBuilder3DS, HierarchyFollowsNodeNumbers) {
    const char* orders[][4] = {{"root", "child", "grand", "second"},
                               {"root", "second", "child", "grand"}};
    for (const auto& order : orders) {
        W objects(id::kObjMesh);
        for (const char* name : order) objects.add(triangle(name));
        W camera = W(id::kTrackCamera).add(W(id::kTrackObjName).text("cam").u32(0).u16(0xFFFF));
        W light = W(id::kTrackLight).add(W(id::kTrackObjName).text("lamp").u32(0).u16(0xFFFF));
        W keys = W(id::kKeyframer).add(camera).add(node("root", -1)).add(light)
                     .add(node("child", 1))
                     .add(node("grand", 3)).add(node("second", 1)).add(node("$$$DUMMY", 5))
                     .add(node("$$$DUMMY", 6)).add(node("$$$DUMMY", 7));
        auto scene = build(objects, keys);
        std::vector<std::string> parents;
        for (const char* name : {"root", "child", "grand", "second", "DUMMY0", "DUMMY2"}) {
            SceneObject* p = scene->findObject(name)->parent;
            parents.push_back(p ? p->name : "none");
        }
        EXPECT_EQ(parents, (std::vector<std::string>{"none", "root", "child", "root", "second",
                                                     "DUMMY1"}));
    }
}

TEST(SceneBuilder3DS, FaultyFilesStaySafe) {
    // Parents in a cycle, and one naming itself: links that close one are dropped.
    auto cycle = build(W(id::kObjMesh).add(triangle("a")).add(triangle("b")).add(triangle("c")),
                       W(id::kKeyframer).add(node("a", 1)).add(node("b", 0)).add(node("c", 2)));
    EXPECT_TRUE(cycle->findObject("a")->parent->parent == nullptr && cycle->findObject("c")->parent == nullptr);
    // Without a face list: no mesh, but its node still animates and parents it.
    testing::internal::CaptureStdout();
    auto bare = build(W(id::kObjMesh).add(triangle("p")).add(triangle("q", false, false)),
                      W(id::kKeyframer).add(node("p", -1)).add(node("q", 0)));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "test.3ds: 3DS object 'q' has no vertex or face list: it is kept without a mesh.\n");
    SceneObject& q = *bare->findObject("q");
    EXPECT_TRUE(!q.mesh && q.trackController && q.parent->name == "p");
    // Two objects of one name both follow the name's first node; the second
    // node of the name claims the second object for the hierarchy.
    auto twins = build(W(id::kObjMesh).add(triangle("twin")).add(triangle("twin")),
                       W(id::kKeyframer)
                           .add(node("twin", -1).add(test::track(id::kTrackPos, {{0, {1, 2, 3}}})))
                           .add(node("twin", 0)));
    SceneObject* older = twins->findObject("twin")->parent;
    ASSERT_TRUE(older);
    for (SceneObject* o : {older, twins->findObject("twin")})
        EXPECT_TRUE(o->trackController->position.path && o->trackController->position.path->points.size() == 1);
    // A singular matrix leaves the vertices as read.
    W flat = W(id::kTriMesh).add(W(id::kVertList).u16(1).vec(1, 2, 3)).add(W(id::kFaceList).u16(0))
                 .add(W(id::kTrMatrix).vec(0, 0, 0).vec(0, 0, 0).vec(0, 0, 0).vec(5, 5, 5));
    auto singular = build(W(id::kObjMesh).add(W(id::kObjBlock).text("s").add(flat)),
                          W(id::kKeyframer).add(node("s", -1)));
    EXPECT_EQ((std::vector<Vector3>{{-1, -2, -3}}), stream(*singular->findObject("s")));
    EXPECT_FALSE(build(W(id::kMaterial)));  // no object section: no scene

    W badFace = W(id::kTriMesh).add(W(id::kVertList).u16(1).vec(1, 2, 3))
                    .add(W(id::kFaceList).u16(1).u16(0).u16(0).u16(3).u16(0));
    EXPECT_THAT([&] { build(W(id::kObjMesh).add(W(id::kObjBlock).text("broken").add(badFace))); },
                Throws<ExceptionBase>(Property(&ExceptionBase::message,
                                               "3DS object 'broken': face 0 uses vertex 3 of 1")));
}

}  // namespace
}  // namespace demo
