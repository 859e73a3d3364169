#include "math/polygonise_driver.h"

#include <cmath>
#include <vector>

namespace demo {

int polygonizedVertexCount = 0;
int polygonizedTriangleCount = 0;

bool fieldLattice(const ImplicitField& field, float cell, FieldLattice& out) {
    if (!(cell > 0.0f) || !std::isfinite(cell)) return false;
    FieldBounds box;
    field.getBounds(box);
    if (isEmpty(box)) return false;
    for (float b : box)
        if (!std::isfinite(b)) return false;

    const float pad = 2.0f * cell;
    const float inverse = 1.0f / cell;
    int counts[3];
    for (int a = 0; a < 3; ++a) {
        float n = std::trunc((box[a + 3] - box[a] + cell) * inverse);
        // A tiny cell can ask for more cells than a lattice may have.
        if (!(n < static_cast<float>(maxLatticePoints))) return false;
        counts[a] = n < 1.0f ? 1 : static_cast<int>(n);
    }
    if ((std::int64_t{counts[0]} + 1) * (std::int64_t{counts[1]} + 1) * (std::int64_t{counts[2]} + 1) >
        maxLatticePoints)
        return false;
    out.lower = {box[0] - pad, box[1] - pad, box[2] - pad};
    out.upper = {box[3] + pad, box[4] + pad, box[5] + pad};
    out.nx = counts[0];
    out.ny = counts[1];
    out.nz = counts[2];
    return true;
}

bool polygonizeField(const ImplicitField& field, float cell, PolygonMesh& mesh, int indexBase) {
    bool complete = false;
    FieldLattice lattice;
    if (fieldLattice(field, cell, lattice)) {
        std::vector<Vector3> seeds;
        field.addSeeds(seeds);
        complete = polygonize(lattice.upper, lattice.lower, lattice.nx, lattice.ny, lattice.nz, mesh, indexBase,
                              field, seeds);
    } else {
        mesh.vertices.clear();
        mesh.normals.clear();
        mesh.indices.clear();
    }
    polygonizedVertexCount = static_cast<int>(mesh.vertices.size());
    polygonizedTriangleCount = static_cast<int>(mesh.indices.size() / 3);
    return complete;
}

bool polygonizeField(const ImplicitField& field, float cell, std::span<Vector3> vertices,
                     std::span<Vector3> normals, std::span<int> indices, int indexBase) {
    polygonizedVertexCount = 0;
    polygonizedTriangleCount = 0;
    FieldLattice lattice;
    if (!fieldLattice(field, cell, lattice)) return false;
    std::vector<Vector3> seeds;
    field.addSeeds(seeds);
    return polygonize(lattice.upper, lattice.lower, lattice.nx, lattice.ny, lattice.nz, vertices, normals, indices,
                      indexBase, polygonizedVertexCount, polygonizedTriangleCount, field, seeds);
}

}  // namespace demo
