#include "graphics/mesh_builder_3ds.h"

#include <cstring>

#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"
#include "graphics/vertex_normals.h"
#include "manager/exceptions.h"
#include "math/matrix.h"

namespace demo {

namespace {

constexpr const char* kUnit = "graphics/mesh_builder_3ds";
constexpr int kBadFaceLine = 40;

// The payload of the TRIMESH's first child of that id, when it is a T.
template <typename T>
const T* triMeshArray(const Chunk3DS& objBlock, std::uint32_t id) {
    const Chunk3DS* tri = triMeshOf3DS(objBlock);
    const Chunk3DS* chunk = tri ? tri->child(id) : nullptr;
    return chunk ? chunk->get<T>() : nullptr;
}

void checkFaces(const SceneObject& object, const FaceList3DS& faces, std::size_t vertexCount) {
    for (std::size_t i = 0; i < faces.indices.size(); ++i) {
        if (faces.indices[i] >= vertexCount) {
            throw ExceptionBase("3DS object '" + object.name + "': face " + std::to_string(i / 3) +
                                    " uses vertex " + std::to_string(faces.indices[i]) + " of " +
                                    std::to_string(vertexCount),
                                kUnit, kBadFaceLine);
        }
    }
}

// p_world = X p.x + Y p.y + Z p.z + origin, column-major for OpenGL.
Matrix4 objectMatrix(const ObjectMatrix3DS& m) {
    Matrix4 out = identityMatrix4();
    for (int axis = 0; axis < 3; ++axis) {
        out[4 * axis] = m.axes[axis].x;
        out[4 * axis + 1] = m.axes[axis].y;
        out[4 * axis + 2] = m.axes[axis].z;
    }
    out[12] = m.origin.x;
    out[13] = m.origin.y;
    out[14] = m.origin.z;
    return out;
}

void moveToObjectFrame(const Chunk3DS& objBlock, std::uint8_t* position, int stride, std::size_t count) {
    Matrix4 matrix = identityMatrix4();
    if (!readObjectMatrix3DS(objBlock, matrix)) return;
    Matrix4 inv = identityMatrix4();
    if (invertAffineMatrix(matrix, inv) != 0) return;
    for (std::size_t i = 0; i < count; ++i, position += stride) {
        float p[3];
        std::memcpy(p, position, sizeof p);
        const float q[3] = {inv[0] * p[0] + inv[4] * p[1] + inv[8] * p[2] + inv[12],
                            inv[1] * p[0] + inv[5] * p[1] + inv[9] * p[2] + inv[13],
                            inv[2] * p[0] + inv[6] * p[1] + inv[10] * p[2] + inv[14]};
        std::memcpy(position, q, sizeof q);
    }
}

}  // namespace

bool readObjectMatrix3DS(const Chunk3DS& objBlock, Matrix4& matrix) {
    const Chunk3DS* tri = triMeshOf3DS(objBlock);
    const Chunk3DS* chunk = tri ? tri->child(chunk3ds::kTrMatrix) : nullptr;
    const ObjectMatrix3DS* m = chunk ? chunk->get<ObjectMatrix3DS>() : nullptr;
    if (m == nullptr) return false;
    matrix = objectMatrix(*m);
    return true;
}

bool computeMeshNormals3DS(SceneObject& object) { return computeVertexNormals(object); }

const Chunk3DS* triMeshOf3DS(const Chunk3DS& objBlock) {
    if (objBlock.children.empty() || objBlock.children.front().id != chunk3ds::kTriMesh) return nullptr;
    return &objBlock.children.front();
}

const std::vector<Vector3>* vertexArray3DS(const Chunk3DS& objBlock) {
    return triMeshArray<std::vector<Vector3>>(objBlock, chunk3ds::kVertList);
}

const std::vector<TexCoord3DS>* texCoordArray3DS(const Chunk3DS& objBlock) {
    return triMeshArray<std::vector<TexCoord3DS>>(objBlock, chunk3ds::kMapList);
}

const FaceList3DS* triangleArray3DS(const Chunk3DS& objBlock) {
    return triMeshArray<FaceList3DS>(objBlock, chunk3ds::kFaceList);
}

FaceList3DS* triangleArray3DS(Chunk3DS& objBlock) {
    return const_cast<FaceList3DS*>(triangleArray3DS(static_cast<const Chunk3DS&>(objBlock)));
}

bool buildMesh3DS(SceneObject& object, Chunk3DS& objBlock, bool toObjectFrame) {
    const std::vector<Vector3>* vertices = vertexArray3DS(objBlock);
    FaceList3DS* faces = triangleArray3DS(objBlock);
    if (vertices == nullptr || faces == nullptr) return false;
    checkFaces(object, *faces, vertices->size());

    const std::vector<TexCoord3DS>* coords = texCoordArray3DS(objBlock);
    const bool textured = coords != nullptr && !coords->empty();

    // Made once: building the format's maps cost more than a small mesh.
    static const VertexFormat plain{{{"position", 12}, {"normal", 12}}};
    static const VertexFormat withTexture{{{"position", 12}, {"normal", 12}, {"tex0", 8}}};
    const int count = static_cast<int>(vertices->size());
    auto buffer = std::make_unique<VertexBuffer>(textured ? withTexture : plain, count);
    std::uint8_t* position = nullptr;
    int stride = 0, n = 0;
    VertexBuffer::streamPointer("position", buffer.get(), &position, &stride, &n);
    for (int i = 0; i < count; ++i) std::memcpy(position + std::size_t(stride) * i, &(*vertices)[i], 12);
    if (textured) {
        std::uint8_t* tex = nullptr;
        int texStride = 0;
        VertexBuffer::streamPointer("tex0", buffer.get(), &tex, &texStride, &n);
        const int given = std::min(count, static_cast<int>(coords->size()));
        for (int i = 0; i < given; ++i) {
            std::memcpy(tex + std::size_t(texStride) * i, &(*coords)[i], 8);
        }
    }
    if (toObjectFrame) moveToObjectFrame(objBlock, position, stride, vertices->size());

    auto mesh = std::make_shared<Mesh>();
    mesh->vertices = std::move(buffer);
    mesh->triangles = std::make_unique<TriangleIndexArray>(0);
    mesh->triangles->triangleCount = static_cast<int>(faces->faceCount());
    mesh->triangles->indices = std::move(faces->indices);
    faces->indices.clear();
    object.mesh = std::move(mesh);
    // Normals come after the move into the object frame: computed from the
    // file's positions they would stay in the world frame while the positions
    // are rotated, and the key-framer's rotation would then light them wrongly.
    computeMeshNormals3DS(object);
    return true;
}

std::vector<std::string> faceMaterials3DS(const Chunk3DS& objBlock) {
    std::vector<std::string> names;
    const Chunk3DS* tri = triMeshOf3DS(objBlock);
    const Chunk3DS* faceList = tri ? tri->child(chunk3ds::kFaceList) : nullptr;
    if (faceList == nullptr) return names;
    for (const Chunk3DS& c : faceList->children) {
        if (const auto* group = c.get<FaceMaterial3DS>()) names.push_back(group->name);
    }
    return names;
}

}  // namespace demo
