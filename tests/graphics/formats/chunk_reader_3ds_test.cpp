#include "graphics/formats/chunk_reader_3ds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "graphics/mesh_builder_3ds.h"
#include "graphics/opengl/scene.h"
#include "graphics/opengl/scene_builder_3ds.h"
#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "manager/binary_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"
#include "tests/support/error_of.h"
#include "tests/support/writer_3ds.h"

namespace demo {
namespace {

using test::Bytes;
using test::errorOf;
using W = test::Writer3DS;
namespace id = chunk3ds;

std::unique_ptr<Chunk3DS> read(const Bytes& b) { return readChunkTree3DS(b.data(), b.size()); }

// Every decoded kind once, with the traps of the format.
Bytes fullScene() {
    W faces = W(id::kFaceList).u16(1).u16(0).u16(1).u16(2).u16(0)
                  .add(W(id::kFaceMat).text("stone").u16(1).u16(0)).add(W(0x4150).u32(1));
    W tri = W(id::kTriMesh).add(W(id::kVertList).u16(3).vec(1, 2, 3).vec(4, 5, 6).vec(7, 8, 9))
                .add(faces);
    // The colour after a spotlight with a sub-chunk must stay the light's.
    W spot = W(id::kSpotlight).vec(1, 1, 1).f32(30).f32(40).add(W(0x4620).u8(1));
    W light = W(id::kObjBlock).text("lamp").add(
        W(id::kLight).vec(1, 2, 3).add(spot).add(W(id::kRgbF).vec(0.5f, 0.6f, 0.7f)));
    // A known chunk inside the camera must not surface as its sibling.
    W cam = W(id::kObjBlock).text("cam").add(
        W(id::kCamera).vec(1, 2, 3).vec(4, 5, 6).f32(7).f32(35).add(W(id::kRgbF).vec(1, 1, 1)));
    W material = W(id::kMaterial).add(W(id::kTexture).add(W(id::kMapFile).text("CWALL02.jpg")));
    // Quarter turns about z; a zero axis repeats the running rotation; then a
    // quarter turn about x, applied after (to the left of) the running one.
    const float quarter = 1.5707964f;
    W rotate = test::track(id::kTrackRotate, {{0, {quarter, 0, 0, 1}}, {10, {quarter, 0, 0, 1}},
                                              {20, {3, 0, 0, 0}}, {30, {quarter, 1, 0, 0}}});
    // Spline flags tension and ease-from each put one float before the value.
    W pos = W(id::kTrackPos).u16(0).u32(0).u32(7).u32(2);
    pos.u32(0x80000000u).u16(0x11).f32(99).f32(99).vec(1, 2, 3).u32(5).u16(0).vec(4, 5, 6);
    W node = W(id::kTrackInfo).add(W(id::kTrackObjName).text("box").u32(0).u16(0xFFFF))
                 .add(W(id::kTrackPivot).vec(1, 2, 3)).add(pos).add(rotate)
                 .add(test::track(id::kTrackScale, {{0, {-1, 2, 3}}}));
    W named = W(id::kObjBlock).text(std::string(300, 'n')).add(tri);
    W objects = W(id::kObjMesh).add(material).add(named).add(light).add(cam).add(
        W(0x1234).add(W(id::kMain)));
    return W(id::kMain).add(objects).add(W(id::kKeyframer).add(node)).bytes();
}

// Vertices, face order, the object matrix and the pivot are checked through
// the builder's results.
TEST(ChunkReader3DS, DecodesEveryKindLeftHanded) {
    auto root = read(fullScene());
    ASSERT_TRUE(root);
    const Chunk3DS& objects = *root->child(id::kObjMesh);
    ASSERT_EQ(4u, objects.children.size());  // the unknown chunk goes with its content
    const Chunk3DS* map = objects.children[0].child(id::kTexture)->child(id::kMapFile);
    EXPECT_EQ("CWALL02.jpg", *map->get<std::string>());
    EXPECT_EQ(std::string(300, 'n'), *objects.children[1].get<std::string>());
    const Chunk3DS& faces = *objects.children[1].child(id::kTriMesh)->child(id::kFaceList);
    // The block's arrays, and none for a block whose first child is a light.
    EXPECT_EQ(faces.get<FaceList3DS>(), triangleArray3DS(objects.children[1]));
    EXPECT_EQ(3u, vertexArray3DS(objects.children[1])->size());
    EXPECT_TRUE(!texCoordArray3DS(objects.children[1]) && !triangleArray3DS(objects.children[2]));
    EXPECT_EQ("stone", faces.child(id::kFaceMat)->get<FaceMaterial3DS>()->name);
    const Chunk3DS& light = *objects.children[2].child(id::kLight);
    EXPECT_EQ((Vector3{-1, -2, -3}), *light.get<Vector3>());
    ASSERT_EQ(2u, light.children.size());
    EXPECT_EQ((Vector3{-1, -1, -1}), light.child(id::kSpotlight)->get<Spotlight3DS>()->target);
    EXPECT_EQ((Vector3{0.5f, 0.6f, 0.7f}), *light.child(id::kRgbF)->get<Vector3>());
    const Chunk3DS& cam = objects.children[3];
    ASSERT_EQ(1u, cam.children.size());
    EXPECT_EQ((Vector3{-4, -5, -6}), cam.child(id::kCamera)->get<Camera3DS>()->target);

    const Chunk3DS& node = *root->child(id::kKeyframer)->child(id::kTrackInfo);
    EXPECT_EQ(-1, node.child(id::kTrackObjName)->get<NodeName3DS>()->parent);
    const auto* p = node.child(id::kTrackPos)->get<Track3DS<Vector3>>();
    EXPECT_EQ((std::vector<float>{2147483648.0f, 5}), p->times);
    EXPECT_EQ((std::vector<Vector3>{{-1, -2, -3}, {-4, -5, -6}}), p->values);
    const auto* scale = node.child(id::kTrackScale)->get<Track3DS<Vector3>>();
    EXPECT_EQ((Vector3{-1, 2, 3}), scale->values.at(0));
    const auto& q = node.child(id::kTrackRotate)->get<Track3DS<Quaternion>>()->values;
    ASSERT_EQ(4u, q.size());
    const float s = std::sqrt(0.5f);
    // Angles reversed.
    const Quaternion expected[] = {{0, 0, -s, s}, {0, 0, -1, 0}, {0, 0, -1, 0}, {0, -s, -s, 0}};
    for (int k = 0; k < 4; ++k) EXPECT_LT(std::fabs(expected[k].dot(q[k]) - 1), 1e-6f) << k;
}

Bytes inMain(const W& child) { return W(id::kMain).add(child).bytes(); }

Bytes nested(int depth) {
    W w(id::kMain);
    for (int i = 0; i < depth; ++i) w = W(id::kMain).add(w);
    return w.bytes();
}

// Every prefix of a file is an error too; byte flips are left to the fuzzer.
// Data that runs out says so first, then where.
TEST(ChunkReader3DS, MalformedFilesAreFormatErrors) {
    for (std::uint32_t length : {3u, 12u, 1000u})  // unknown root: no tree, whatever its length
        EXPECT_FALSE(read(W(0x1234).length(length).add(W(id::kObjMesh)).bytes())) << length;
    EXPECT_NO_THROW(read(nested(kMaxDepth3DS)));
    const Bytes full = fullScene();
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes prefix(full.begin(), full.begin() + n);
        const auto error = errorOf<BinaryReaderException>([&] { read(prefix); });
        EXPECT_TRUE(error.starts_with("Unexpected end of file. 3DS chunk ") &&
                    error.find(" at byte ") != std::string::npos) << n << ": " << error;
    }
    const std::string end = "Unexpected end of file. 3DS chunk ";
    const std::pair<Bytes, std::string> cases[] = {
        {{}, end + "header at byte 0: only 0 bytes are left for its 6"},
        {inMain(W(0x1234).length(5)), "3DS chunk 0x1234 at byte 6: length 5 is below its 6-byte"},
        {inMain(W(id::kObjMesh).length(100)), end + "CHUNK_OBJMESH (0x3D3D) at byte 6: length 100"},
        {inMain(W(id::kTrackPos).u16(0).u32(0).u32(0).u32(0xFFFFFFFF).u32(0)),
         end + "CHUNK_TRACKPOS (0xB020) at byte 6: 4294967295 items"},
        {inMain(W(id::kTrackRoll).u16(0).u32(0).u32(0).u32(1).u32(0).u16(0x1F).f32(1)),
         end + "CHUNK_TRACKROLL (0xB024) at byte 6: its data ends inside a field"},
        {inMain(W(id::kMatName).u8('a')), end + "CHUNK_MATNAME (0xA000) at byte 6: a text has no"},
        {nested(kMaxDepth3DS + 1), "3DS chunk CHUNK_MAIN (0x4D4D) at byte 390: chunks nest deeper"},
    };
    for (const auto& [file, message] : cases) {
        const std::string error = errorOf([&] { read(file); });
        EXPECT_EQ(0u, error.find(message)) << error;
    }
}

// Errors inside a chunk give its offset in the whole run of chunks.
TEST(ChunkReader3DS, OneChunkAtATime) {
    Bytes b = W(0x1234).u32(7).bytes();
    for (const W& next : {W(id::kObjMesh).add(W(id::kMaterial)), W(id::kMatName).u8('a')}) {
        const Bytes more = next.bytes();
        b.insert(b.end(), more.begin(), more.end());
    }
    BinaryReader in(b.data(), b.size());
    std::uint32_t length = 0;
    EXPECT_FALSE(readChunk3DS(in, length));
    EXPECT_EQ(10u, length);
    const std::unique_ptr<Chunk3DS> node = readChunk3DS(in, length);
    ASSERT_TRUE(node);
    EXPECT_EQ(12u, length);
    EXPECT_TRUE(findChild(node.get(), id::kMaterial));
    EXPECT_EQ(0u, errorOf([&] { readChunk3DS(in, length); })
                      .find("Unexpected end of file. 3DS chunk CHUNK_MATNAME (0xA000) at byte 22"));
    EXPECT_THROW(readChunk3DS(in, length), BinaryReaderException);
}

// Files that no one here wrote: each valid one reads and builds meshes with
// finite vertex data and face indices inside them; an empty one is an error.
TEST(ChunkReader3DS, DebianSampleFiles) {
    int files = 0;
    for (const std::string dir : {"/usr/share/assimp/models/3DS", "/usr/share/glmark2/models",
                                  "/usr/share/assimp/models/invalid"}) {
        if (!std::filesystem::is_directory(dir)) continue;
        FileSystem::instance()->addDirectory(dir);
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (!name.ends_with(".3ds") && !name.ends_with(".3DS")) continue;
            ++files;
            if (entry.file_size() == 0) {
                const std::string error = errorOf([&] { loadChunkFile3DS(name); });
                const std::string end = "Unexpected end of file. " + name + ": 3DS chunk header";
                EXPECT_EQ(0u, error.find(end + " at byte 0")) << error;
                continue;
            }
            std::unique_ptr<Chunk3DS> root;
            ASSERT_NO_THROW(root = loadChunkFile3DS(name)) << name;
            auto scene = buildScene3DS(*root, name, nullptr);
            ASSERT_TRUE(scene) << name;
            for (SceneObject* o : scene->getObjects()) {
                if (!o->mesh) continue;
                const VertexBuffer& vertices = *o->mesh->vertices;
                std::vector<float> values(vertices.data.size() / 4);
                std::memcpy(values.data(), vertices.data.data(), 4 * values.size());
                for (float f : values) ASSERT_TRUE(std::isfinite(f)) << name;
                for (auto i : o->mesh->triangles->indices)
                    ASSERT_LT(i, std::uint32_t(vertices.vertexCount)) << name;
            }
        }
    }
    if (files == 0) GTEST_SKIP() << "no sample .3ds files (assimp-testmodels, glmark2-data)";
}

}  // namespace
}  // namespace demo
