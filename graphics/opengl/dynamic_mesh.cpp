#include "graphics/opengl/dynamic_mesh.h"

#include <GL/gl.h>

namespace demo {

void DynamicMesh::resize(int n) {
    if (n < 0) return;
    count = n;
    if (capacity >= n) return;
    const std::size_t vertices = 4 * static_cast<std::size_t>(n);
    positions.assign(3 * vertices, 0.0f);
    if (!colours.empty()) colours.assign(4 * vertices, 0.0f);
    static constexpr float kCorners[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    texcoords.resize(2 * vertices);
    for (std::size_t i = 0; i < texcoords.size(); ++i) texcoords[i] = kCorners[i % 8];
    indices.resize(vertices);
    for (std::size_t i = 0; i < vertices; ++i) indices[i] = static_cast<std::uint32_t>(i);
    capacity = n;
}

void DynamicMesh::draw() const {
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, texcoords.data());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (!colours.empty()) {
        glColorPointer(4, GL_FLOAT, 0, colours.data());
        glEnableClientState(GL_COLOR_ARRAY);
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDrawElements(GL_QUADS, 4 * count, GL_UNSIGNED_INT, indices.data());
}

void DynamicMesh::free() {
    positions = {};
    colours = {};
    texcoords = {};
    indices = {};
    count = 0;
    capacity = 0;
}

}  // namespace demo
