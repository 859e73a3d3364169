#pragma once
// Turns the triangle mesh of a 3DS object block into a scene object's Mesh.

#include <string>
#include <vector>

#include "graphics/formats/chunk_3ds.h"
#include "math/matrix.h"

namespace demo {

class SceneObject;

// The TRIMESH of an OBJBLOCK when it is the block's first child, else null.
const Chunk3DS* triMeshOf3DS(const Chunk3DS& objBlock);

// The arrays of that TRIMESH: its vertices (VERTLIST), texture coordinates
// (MAPLIST) and triangles (FACELIST); each null when absent, and all null
// when the block's first child is not a TRIMESH.
const std::vector<Vector3>* vertexArray3DS(const Chunk3DS& objBlock);
const std::vector<TexCoord3DS>* texCoordArray3DS(const Chunk3DS& objBlock);
const FaceList3DS* triangleArray3DS(const Chunk3DS& objBlock);
FaceList3DS* triangleArray3DS(Chunk3DS& objBlock);

// Gives the object a mesh with "position", "normal" and, when the block has
// texture coordinates, "tex0" streams, and the block's triangles (moved out
// of the chunk). A coordinate list shorter than the vertex list is padded
// with zeros. With toObjectFrame the vertices move from the file's frame
// into the object's by the inverse of its TRMATRIX (kept as they are when
// that matrix is singular); the key-framer tracks then move them back.
// Normals are computed last, in the frame the vertices end up in.
// False, the object untouched, when the block lacks a vertex or face list;
// a face index past the vertex list throws ExceptionBase naming the object.
bool buildMesh3DS(SceneObject& object, Chunk3DS& objBlock, bool toObjectFrame = true);

// The TRMATRIX of the block's TRIMESH as a column-major matrix taking object
// to file coordinates; false, the matrix untouched, without one.
bool readObjectMatrix3DS(const Chunk3DS& objBlock, Matrix4& matrix);

// Angle-weighted vertex normals of the object's mesh (see vertex_normals.h).
bool computeMeshNormals3DS(SceneObject& object);

// The material names of the block's face-material groups, in file order.
std::vector<std::string> faceMaterials3DS(const Chunk3DS& objBlock);

}  // namespace demo
