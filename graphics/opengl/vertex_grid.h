#pragma once
// A plain indexed triangle mesh in separate client arrays: positions, and
// optionally normals, colours (r, g, b) and texture coordinates (s, t), drawn
// with one glDrawElements. Index generators build the two patterns of the
// procedural effects: a rectangular grid and a surface with two poles.

#include <cstdint>
#include <vector>

namespace demo {

class VertexGrid {
public:
    VertexGrid() = default;
    virtual ~VertexGrid() = default;
    VertexGrid(const VertexGrid&) = delete;
    VertexGrid& operator=(const VertexGrid&) = delete;

    // Takes the index list over (three per triangle) and makes zeroed
    // arrays for vertexCount vertices: positions always, the others when
    // asked, absent (empty) otherwise. An index that is not below
    // vertexCount, or a negative count, throws ExceptionBase.
    void allocate(int vertexCount, std::vector<std::uint32_t> indices, bool wantNormals,
                  bool wantTexCoords, bool wantColours);
    // The same with the triangle count given: the first 3 x triangleCount
    // indices are used; more than the list holds, or fewer than 0, throws.
    void allocate(int vertexCount, std::vector<std::uint32_t> indices, int triangleCount,
                  bool wantNormals, bool wantTexCoords, bool wantColours);
    // The same from an index array made with new[]: the grid takes it over and
    // frees it, also when the call throws.
    void allocate(int vertexCount, std::uint32_t* indices, int triangleCount, bool wantNormals,
                  bool wantTexCoords, bool wantColours);

    // Sets the client arrays (disabling those the grid lacks) and draws the
    // triangles; the client arrays stay as set.
    void draw() const;

    // height rows of width vertices (index row * width + column), two
    // triangles per cell; empty when width or height is below 2.
    static std::vector<std::uint32_t> buildGridIndices(int width, int height);
    // A pole (index 0), rings of `segments` vertices from index 1 on, and a
    // last pole (segments * rings + 1): 2 * segments * rings triangles;
    // empty for fewer than one segment or ring.
    static std::vector<std::uint32_t> buildSphereIndices(int segments, int rings);

    int vertexCount = 0;
    std::vector<float> positions;  // 3 per vertex
    std::vector<float> normals;    // 3 per vertex, or empty
    std::vector<float> colours;    // 3 per vertex, or empty
    std::vector<float> texCoords;  // 2 per vertex, or empty
    int triangleCount = 0;
    std::vector<std::uint32_t> indices;
};

}  // namespace demo
