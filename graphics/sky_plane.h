#pragma once

namespace demo {

class SceneObject;

// Gives the object a new mesh: an n x n grid (n clamped to 1..256) over a
// square of side W = 2 sqrt(b^2 - a^2) centred on the origin in x and y,
// lifted to the paraboloid z = (x^2 + y^2) / b, textured (uScale j / n,
// vScale (1 - i / n)) at row i, column j, with vertex normals. The "tex1"
// stream reads "tex0". With b <= 0, |a| > b or a value that is not finite it
// prints one line and returns false, leaving the object as it was.
bool buildSkyPlaneMesh(SceneObject& object, int n, float a, float b, float uScale, float vScale);
// The same on an object pointer; false for null.
inline bool buildSkyPlaneMesh(SceneObject* object, int n, float a, float b, float uScale,
                              float vScale) {
    return object != nullptr && buildSkyPlaneMesh(*object, n, a, b, uScale, vScale);
}

}  // namespace demo
