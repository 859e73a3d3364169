#pragma once

#include <cstdint>
#include <vector>

namespace demo {

// A growable set of textured quads that its owner refills every frame and
// draws with one call (particles, sprites). Quad q uses the vertices 4q..4q+3,
// textured (0, 0), (1, 0), (1, 1), (0, 1).
struct DynamicMesh {
    // Sets `count`; grows the arrays when n exceeds `capacity` (positions and
    // colours then hold stale values). Capacity never shrinks; a negative n is
    // ignored.
    void resize(int n);
    // Draws `count` quads from the client arrays, colours only when present.
    // The client states stay as set.
    void draw() const;
    // Releases every array.
    void free();

    int count = 0;
    int capacity = 0;
    std::vector<float> positions;  // 3 per vertex
    // 4 per vertex, or empty for none. An owner that wants colours sizes it
    // itself once; from then on growth keeps it in step.
    std::vector<float> colours;
    std::vector<float> texcoords;  // 2 per vertex
    std::vector<std::uint32_t> indices;
};

}  // namespace demo
