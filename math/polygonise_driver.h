#pragma once

#include <span>

#include "math/implicit_field.h"
#include "math/polygoniser.h"

namespace demo {

// Vertex and triangle counts of the last mesh `polygonizeField` made,
// whichever caller made it.
extern int polygonizedVertexCount;
extern int polygonizedTriangleCount;

// The lattice of `polygonizeField`: the field's box padded by two cells on
// every side, with trunc((extent + cell) / cell) cells per axis (at least one).
struct FieldLattice {
    Vector3 lower;
    Vector3 upper;
    int nx = 0, ny = 0, nz = 0;
};

// False when the field has an empty or non-finite box, the cell size is not
// a positive finite number, or the lattice would exceed `maxLatticePoints`.
bool fieldLattice(const ImplicitField& field, float cell, FieldLattice& out);

// Polygonises a whole field from its own seeds with the shared polygoniser.
// Returns false when the lattice is refused (the mesh is then empty) or, for
// caller arrays, when the mesh did not fit; the counters hold what was made.
bool polygonizeField(const ImplicitField& field, float cell, PolygonMesh& mesh, int indexBase);
bool polygonizeField(const ImplicitField& field, float cell, std::span<Vector3> vertices,
                     std::span<Vector3> normals, std::span<int> indices, int indexBase);

}  // namespace demo
