#pragma once

#include "math/vector3.h"

namespace demo {

class SceneObject;

// False when two of a triangle's three edge vectors are equal or one is zero.
bool hasDistinctEdges(const Vector3& e1, const Vector3& e2, const Vector3& e3);

// Smooth unit normals for the object's mesh: each triangle adds its unit face
// normal to its corners' normals, weighted by the corner angle. A triangle
// without distinct edges adds nothing. A degenerate one (an area that is
// rounding noise against its edges, a non-finite face normal, or a corner
// angle of 0 or pi) adds to no corner and is redrawn as a copy of the first
// triangle. Normals that nothing touched stay zero. False, nothing written,
// without a mesh with "position" and "normal" streams.
bool computeVertexNormals(SceneObject& object);
// The same on an object pointer; false for null.
inline bool computeVertexNormals(SceneObject* object) {
    return object != nullptr && computeVertexNormals(*object);
}

}  // namespace demo
