#include "graphics/opengl/vertex_grid.h"

#include <GL/gl.h>

#include <climits>
#include <cstddef>

#include "manager/exceptions.h"

namespace demo {
namespace {

constexpr const char* kUnit = "graphics/vertex_grid";

// Index lists are drawn with a GLsizei count, so 3 x triangles must fit an int.
void checkTriangleCount(std::size_t triangles) {
    if (triangles > INT_MAX / 3) throw ExceptionBase("Grid size out of range", kUnit, 18);
}

// The client array `array` from `values`, or disabled when there are none.
void setArray(GLenum array, const std::vector<float>& values, int components) {
    if (values.empty()) {
        glDisableClientState(array);
        return;
    }
    switch (array) {
        case GL_NORMAL_ARRAY:
            glNormalPointer(GL_FLOAT, 0, values.data());
            break;
        case GL_COLOR_ARRAY:
            glColorPointer(components, GL_FLOAT, 0, values.data());
            break;
        case GL_TEXTURE_COORD_ARRAY:
            glTexCoordPointer(components, GL_FLOAT, 0, values.data());
            break;
        default:
            glVertexPointer(components, GL_FLOAT, 0, values.data());
            break;
    }
    glEnableClientState(array);
}

}  // namespace

void VertexGrid::allocate(int vertexCount, std::vector<std::uint32_t> indices, bool wantNormals,
                          bool wantTexCoords, bool wantColours) {
    if (vertexCount < 0 || vertexCount > INT_MAX / 3) {
        throw ExceptionBase("Grid size out of range", kUnit, 42);
    }
    checkTriangleCount(indices.size() / 3);
    for (std::uint32_t index : indices) {
        if (index >= static_cast<std::uint32_t>(vertexCount)) {
            throw ExceptionBase("Grid index out of range", kUnit, 47);
        }
    }
    auto n = static_cast<std::size_t>(vertexCount);
    this->vertexCount = vertexCount;
    triangleCount = static_cast<int>(indices.size() / 3);
    this->indices = std::move(indices);
    positions.assign(3 * n, 0.0f);
    normals.assign(wantNormals ? 3 * n : 0, 0.0f);
    colours.assign(wantColours ? 3 * n : 0, 0.0f);
    texCoords.assign(wantTexCoords ? 2 * n : 0, 0.0f);
}

void VertexGrid::draw() const {
    setArray(GL_VERTEX_ARRAY, positions, 3);
    setArray(GL_NORMAL_ARRAY, normals, 3);
    setArray(GL_COLOR_ARRAY, colours, 3);
    setArray(GL_TEXTURE_COORD_ARRAY, texCoords, 2);
    if (triangleCount > 0) {
        glDrawElements(GL_TRIANGLES, 3 * triangleCount, GL_UNSIGNED_INT, indices.data());
    }
}

std::vector<std::uint32_t> VertexGrid::buildGridIndices(int width, int height) {
    std::vector<std::uint32_t> out;
    if (width < 2 || height < 2) return out;
    auto w = static_cast<std::size_t>(width);
    auto h = static_cast<std::size_t>(height);
    checkTriangleCount(2 * (w - 1) * (h - 1));
    out.reserve(6 * (w - 1) * (h - 1));
    for (std::size_t r = 0; r + 1 < h; ++r) {
        for (std::size_t c = 0; c + 1 < w; ++c) {
            auto v = static_cast<std::uint32_t>(r * w + c);
            auto below = static_cast<std::uint32_t>(v + w);
            out.insert(out.end(), {v, v + 1, below, below, v + 1, below + 1});
        }
    }
    return out;
}

std::vector<std::uint32_t> VertexGrid::buildSphereIndices(int segments, int rings) {
    std::vector<std::uint32_t> out;
    if (segments < 1 || rings < 1) return out;
    auto n = static_cast<std::size_t>(segments);
    auto m = static_cast<std::size_t>(rings);
    if (n > INT_MAX / m) throw ExceptionBase("Grid size out of range", kUnit, 87);
    checkTriangleCount(2 * n * m);
    out.reserve(6 * n * m);
    auto next = [n](std::size_t k) { return k % n + 1; };  // 1-based successor in a ring
    for (std::size_t k = 1; k <= n; ++k)
        out.insert(out.end(), {0, std::uint32_t(k), std::uint32_t(next(k))});
    for (std::size_t j = 0; j + 1 < m; ++j) {
        for (std::size_t k = 1; k <= n; ++k) {
            auto a = static_cast<std::uint32_t>(j * n + k);
            auto c = static_cast<std::uint32_t>(j * n + next(k));
            auto step = static_cast<std::uint32_t>(n);
            out.insert(out.end(), {a, a + step, c + step, a, c + step, c});
        }
    }
    auto lastRing = static_cast<std::uint32_t>((m - 1) * n + 1);
    auto lastPole = static_cast<std::uint32_t>(n * m + 1);
    for (std::size_t k = 0; k < n; ++k) {
        out.insert(out.end(), {lastRing + std::uint32_t(k), lastPole,
                               static_cast<std::uint32_t>((m - 1) * n + next(k + 1))});
    }
    return out;
}

}  // namespace demo
