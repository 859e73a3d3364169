#include "graphics/vertex_normals.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/scene_object.h"
#include "graphics/vertex_buffer.h"

namespace demo {

namespace {

// One stream of a vertex buffer, read and written through memcpy since
// interleaved streams need not be aligned for floats.
struct Stream {
    std::uint8_t* base = nullptr;
    int stride = 0;
    int count = 0;

    Vector3 get(std::uint32_t i) const {
        Vector3 v;
        std::memcpy(&v, base + static_cast<std::size_t>(stride) * i, sizeof v);
        return v;
    }
    void set(std::uint32_t i, const Vector3& v) const {
        std::memcpy(base + static_cast<std::size_t>(stride) * i, &v, sizeof v);
    }
};

bool findStream(VertexBuffer* buffer, const char* name, Stream& s) {
    return VertexBuffer::streamPointer(name, buffer, &s.base, &s.stride, &s.count);
}

// Twice the area over the longest edge squared, below which a triangle is
// taken as flat.
constexpr float kFlatSine = 1e-5f;
// Rounding a corner to a float moves it off a line by up to about FLT_EPSILON
// times its distance from the origin: a triangle no higher than a few such
// steps is flat too, however long its edges.
constexpr float kRoundingSteps = 16.0f;

float cosine(const Vector3& a, const Vector3& b) { return a.dot(b) / (a.length() * b.length()); }

}  // namespace

bool hasDistinctEdges(const Vector3& e1, const Vector3& e2, const Vector3& e3) {
    const Vector3 zero{};
    return !(e1 == e2 || e1 == e3 || e2 == e3 || e1 == zero || e2 == zero || e3 == zero);
}

bool computeVertexNormals(SceneObject& object) {
    Mesh* mesh = object.mesh.get();
    if (mesh == nullptr || !mesh->vertices || !mesh->triangles) return false;
    Stream positions, normals;
    if (!findStream(mesh->vertices.get(), "position", positions) ||
        !findStream(mesh->vertices.get(), "normal", normals)) {
        return false;
    }
    for (int i = 0; i < normals.count; ++i) normals.set(i, {});

    const int triangles = mesh->triangles->count();
    std::uint32_t* indices = mesh->triangles->data();
    std::array<std::uint32_t, 3> first{0, 0, 0};
    if (triangles > 0) first = {indices[0], indices[1], indices[2]};
    const auto vertexCount = static_cast<std::uint32_t>(positions.count);

    for (int t = 0; t < triangles; ++t) {
        std::uint32_t* corner = indices + 3 * static_cast<std::size_t>(t);
        if (corner[0] >= vertexCount || corner[1] >= vertexCount || corner[2] >= vertexCount)
            continue;
        const Vector3 p0 = positions.get(corner[0]), p1 = positions.get(corner[1]),
                      p2 = positions.get(corner[2]);
        const Vector3 e1 = p1 - p0, e2 = p2 - p0, e3 = p2 - p1;
        if (!hasDistinctEdges(e1, e2, e3)) continue;

        // Collinear points off the grid leave a cross product of rounding
        // noise, whose direction means nothing: tiny against the edges is flat.
        const Vector3 cross = e1.cross(e2);
        const float length = cross.length();
        const float longest = std::max({e1.length(), e2.length(), e3.length()});
        const float reach = std::max({p0.length(), p1.length(), p2.length()});
        const float flatHeight = std::max(kFlatSine * longest, kRoundingSteps * FLT_EPSILON * reach);
        bool degenerate = !(length / longest > flatHeight) || !std::isfinite(length);
        // All three corners are checked before any adds: a triangle that is
        // degenerate at one corner adds to none.
        const float cosines[3] = {cosine(e1, e2), cosine(-e1, e3), cosine(e2, e3)};
        for (float c : cosines) degenerate = degenerate || !(c > -1.0f && c < 1.0f);
        if (!degenerate) {
            const Vector3 face = cross * (1.0f / length);
            for (int k = 0; k < 3; ++k)
                normals.set(corner[k], normals.get(corner[k]) + face * std::acos(cosines[k]));
        }
        if (degenerate) std::copy(first.begin(), first.end(), corner);
    }

    for (int i = 0; i < normals.count; ++i) {
        const Vector3 sum = normals.get(i);
        const float length = sum.length();
        normals.set(i, length > 0.0f && std::isfinite(length) ? sum * (1.0f / length) : Vector3{});
    }
    return true;
}

}  // namespace demo
