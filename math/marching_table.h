#pragma once

#include <array>
#include <cstdint>

namespace demo {

// Corner n of a cell has the lattice offsets (di, dj, dk) with
// n = 4*di + 2*(1 - dj) + (1 - dk); bit n of a cell's `voxeltype` is set when
// that corner is inside the surface.
struct CellCorner {
    int di, dj, dk;
};
inline constexpr std::array<CellCorner, 8> cellCorners{{
    {0, 1, 1}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}, {1, 1, 1}, {1, 1, 0}, {1, 0, 1}, {1, 0, 0},
}};

// The twelve edges, numbered by the lexicographic order of their corner pairs.
// `axis` is the direction of the edge (0 x, 1 y, 2 z); `low` and `high` are
// the corners at its lower and upper end along that axis.
struct CellEdge {
    int a, b;
    int axis;
    int low, high;
};
inline constexpr std::array<CellEdge, 12> cellEdges{{
    {0, 1, 2, 1, 0}, {0, 2, 1, 2, 0}, {0, 4, 0, 0, 4}, {1, 3, 1, 3, 1},
    {1, 5, 0, 1, 5}, {2, 3, 2, 3, 2}, {2, 6, 0, 2, 6}, {3, 7, 0, 3, 7},
    {4, 5, 2, 5, 4}, {4, 6, 1, 6, 4}, {5, 7, 1, 7, 5}, {6, 7, 2, 7, 6},
}};

// One row per corner-sign mask: a run of polygons, each its vertex count
// followed by that many edge numbers, ended by a count of 0. Polygons face
// outwards (counter-clockwise seen from the outside corners).
using PolygonRow = std::array<std::int32_t, 16>;
using PolygonTable = std::array<PolygonRow, 256>;

// Generated at compile time from the joining rules in marching_table.cpp.
extern const PolygonTable polygonTable;

}  // namespace demo
