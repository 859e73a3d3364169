#include "graphics/opengl/vertex_grid.h"

#include <GL/gl.h>

#include <climits>
#include <cstddef>
#include <memory>
#include <utility>

#include "manager/exceptions.h"

namespace demo {
namespace {

constexpr const char* kUnit = "graphics/vertex_grid";

// Index lists are drawn with a GLsizei count, so 3 x triangles must fit an int.
void checkTriangleCount(std::size_t triangles) {
    if (triangles > INT_MAX / 3) throw ExceptionBase("Grid size out of range", kUnit, 18);
}

// An array the grid lacks is disabled, so that one left enabled by earlier
// drawing is not read.
void enableIf(GLenum array, bool present) {
    present ? glEnableClientState(array) : glDisableClientState(array);
}

}  // namespace

void VertexGrid::allocate(int vertexCount, std::vector<std::uint32_t> indices,
                          int triangleCount, bool wantNormals, bool wantTexCoords,
                          bool wantColours) {
    if (triangleCount < 0 || static_cast<std::size_t>(triangleCount) > indices.size() / 3) {
        throw ExceptionBase("Grid size out of range", kUnit, 31);
    }
    indices.resize(3 * static_cast<std::size_t>(triangleCount));
    allocate(vertexCount, std::move(indices), wantNormals, wantTexCoords, wantColours);
}

void VertexGrid::allocate(int vertexCount, std::uint32_t* indices, int triangleCount,
                          bool wantNormals, bool wantTexCoords, bool wantColours) {
    std::unique_ptr<std::uint32_t[]> owned(indices);
    if (triangleCount < 0 || (triangleCount > 0 && indices == nullptr)) {
        throw ExceptionBase("Grid size out of range", kUnit, 42);
    }
    checkTriangleCount(static_cast<std::size_t>(triangleCount));
    std::vector<std::uint32_t> list(indices, indices + 3 * static_cast<std::size_t>(triangleCount));
    owned.reset();
    allocate(vertexCount, std::move(list), wantNormals, wantTexCoords, wantColours);
}

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
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    if (!normals.empty()) glNormalPointer(GL_FLOAT, 0, normals.data());
    enableIf(GL_NORMAL_ARRAY, !normals.empty());
    if (!colours.empty()) glColorPointer(3, GL_FLOAT, 0, colours.data());
    enableIf(GL_COLOR_ARRAY, !colours.empty());
    if (!texCoords.empty()) glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    enableIf(GL_TEXTURE_COORD_ARRAY, !texCoords.empty());
    if (triangleCount > 0) {
        glDrawElements(GL_TRIANGLES, 3 * triangleCount, GL_UNSIGNED_INT, indices.data());
    }
}

std::vector<std::uint32_t> VertexGrid::buildGridIndices(int width, int height) {
    std::vector<std::uint32_t> out;
    if (width < 2 || height < 2) return out;
    checkTriangleCount(2 * std::size_t(width - 1) * std::size_t(height - 1));
    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    out.reserve(6 * std::size_t(w - 1) * (h - 1));
    for (std::uint32_t r = 0; r + 1 < h; ++r) {
        for (std::uint32_t v = r * w; v < r * w + w - 1; ++v) {
            out.insert(out.end(), {v, v + 1, v + w, v + w, v + 1, v + w + 1});
        }
    }
    return out;
}

std::vector<std::uint32_t> VertexGrid::buildSphereIndices(int segments, int rings) {
    std::vector<std::uint32_t> out;
    if (segments < 1 || rings < 1) return out;
    if (segments > INT_MAX / rings) throw ExceptionBase("Grid size out of range", kUnit, 82);
    checkTriangleCount(2 * std::size_t(segments) * std::size_t(rings));
    const auto n = static_cast<std::uint32_t>(segments), m = static_cast<std::uint32_t>(rings);
    // Vertex k (1 to n) of ring j is j * n + k; next(k) follows it around the ring.
    auto next = [n](std::uint32_t k) { return k % n + 1; };
    out.reserve(6 * std::size_t(n) * m);
    for (std::uint32_t k = 1; k <= n; ++k) out.insert(out.end(), {0, k, next(k)});
    for (std::uint32_t j = 0; j + 1 < m; ++j) {
        for (std::uint32_t k = 1; k <= n; ++k) {
            std::uint32_t a = j * n + k, c = j * n + next(k);
            out.insert(out.end(), {a, a + n, c + n, a, c + n, c});
        }
    }
    const std::uint32_t last = (m - 1) * n, pole = n * m + 1;
    for (std::uint32_t k = 1; k <= n; ++k) out.insert(out.end(), {last + k, pole, last + next(k)});
    return out;
}

}  // namespace demo
