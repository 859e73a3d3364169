#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "math/implicit_field.h"
#include "math/vector3.h"

namespace demo {

// A triangle mesh: positions, the field's gradient at each position (not
// normalised, so it points into the surface) and three indices per triangle,
// counter-clockwise seen from outside.
struct PolygonMesh {
    std::vector<Vector3> vertices;
    std::vector<Vector3> normals;
    std::vector<int> indices;
};

// Lattices above this many points (256^3) are refused: the work arrays take
// 24 bytes per point.
inline constexpr std::int64_t maxLatticePoints = std::int64_t{1} << 24;

// Marching cubes by continuation: from each seed, walk down in z to a cell
// the surface crosses, then follow the surface cell by cell, breadth first,
// visiting only crossed cells. A cell inherits the corner values and edge
// vertices of the face neighbours processed before it; a cell that touches
// an earlier one only along an edge makes its own copy of that edge's vertex.
//
// The lattice has nx, ny, nz cells between `lower` and `upper`. Seeds and
// neighbours outside it are skipped, so an open surface ends at the border.
// Work arrays grow with the lattice and are kept between calls; one object
// runs one call at a time.
class Polygoniser {
public:
    // Replaces the mesh; every index has indexBase added. False when the
    // lattice is refused (fewer than one cell on an axis, or too many points).
    bool polygonize(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz, PolygonMesh& mesh,
                    int indexBase, const ImplicitField& field, std::span<const Vector3> seeds);

    // Writes into caller arrays from their first element. Stops before the
    // first cell whose vertices or triangles would not fit, keeping what was
    // written consistent; returns false then, or when the lattice is refused.
    bool polygonize(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz,
                    std::span<Vector3> vertices, std::span<Vector3> normals, std::span<int> indices,
                    int indexBase, int& vertexCount, int& triangleCount, const ImplicitField& field,
                    std::span<const Vector3> seeds);

    // Cells the last call processed.
    std::size_t cellCount() const { return cellsProcessed; }

    // Called on each new work array before it is first touched, when set:
    // the program asks the system for large pages there (a cell's corners
    // lie whole layers apart in memory, and large pages keep the walk from
    // missing the address translation cache at every step).
    static inline void (*adviseWorkMemory)(void* memory, std::size_t bytes) = nullptr;

private:
    template <class Sink>
    bool run(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz, Sink& sink,
             const ImplicitField& field, std::span<const Vector3> seeds);
    void startRun(std::int64_t points);

    // Everything kept per lattice address, together so that a cell's visit
    // touches few cache lines: the field value last evaluated there and the
    // run that evaluated it (each point is evaluated once per run), the ids
    // of the vertices on the edges that start there (+x, +y, +z), and the
    // cell's status (the run stamp, a multiple of 256, with the flags of its
    // known faces in the low bits; stamp + 255 once done).
    struct LatticePoint {
        float value;
        std::uint32_t valueRun;
        int vertexRef[3];
        std::uint32_t status;
    };
    struct QueuedCell {
        int addr, i, j, k;
    };
    struct FreeLattice {
        void operator()(LatticePoint* p) const;
    };
    std::unique_ptr<LatticePoint[], FreeLattice> lattice;
    std::size_t latticeSize = 0;
    std::uint32_t currentRun = 0;
    std::vector<QueuedCell> processing;
    std::size_t cellsProcessed = 0;
};

// The program-wide polygoniser: one call at a time, from one thread.
Polygoniser& sharedPolygoniser();

inline bool polygonize(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz, PolygonMesh& mesh,
                       int indexBase, const ImplicitField& field, std::span<const Vector3> seeds) {
    return sharedPolygoniser().polygonize(upper, lower, nx, ny, nz, mesh, indexBase, field, seeds);
}

inline bool polygonize(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz,
                       std::span<Vector3> vertices, std::span<Vector3> normals, std::span<int> indices,
                       int indexBase, int& vertexCount, int& triangleCount, const ImplicitField& field,
                       std::span<const Vector3> seeds) {
    return sharedPolygoniser().polygonize(upper, lower, nx, ny, nz, vertices, normals, indices, indexBase,
                                          vertexCount, triangleCount, field, seeds);
}

}  // namespace demo
