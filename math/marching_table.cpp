#include "math/marching_table.h"

namespace demo {
namespace {

// The table follows from five rules:
// 1. an edge is crossed when its two corners differ in sign;
// 2. on each face the crossed edges are joined in pairs; a face whose corners
//    alternate cuts off the two corners of one fixed diagonal (the same on
//    opposite faces, so two cells sharing a face always agree);
// 3. the joins close into polygons;
// 4. each polygon's area vector points from the inside corners to the outside
//    ones, and the polygon starts at its lowest edge;
// 5. polygons are listed by their lowest edge.

struct Face {
    int axis;   // the axis the face is normal to
    int side;   // 0 low, 1 high
};

constexpr int coord(int corner, int axis) {
    const CellCorner& c = cellCorners[corner];
    return axis == 0 ? c.di : axis == 1 ? c.dj : c.dk;
}

// Whether a corner of an ambiguous face is one of the two that get cut off.
constexpr bool isCutCorner(int corner, int axis) {
    const CellCorner& c = cellCorners[corner];
    if (axis == 0) return c.dj == c.dk;  // (0,0) and (1,1)
    if (axis == 1) return c.di != c.dk;  // (1,0) and (0,1)
    return c.di != c.dj;                 // (1,0) and (0,1)
}

constexpr bool onFace(int edge, Face f) {
    const CellEdge& e = cellEdges[edge];
    return e.axis != f.axis && coord(e.a, f.axis) == f.side && coord(e.b, f.axis) == f.side;
}

constexpr bool touches(int edge, int corner) {
    return cellEdges[edge].a == corner || cellEdges[edge].b == corner;
}

struct Vec {
    long x = 0, y = 0, z = 0;
};

constexpr Vec cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Twice the midpoint of an edge, to stay in integers.
constexpr Vec midpoint2(int edge) {
    const CellEdge& e = cellEdges[edge];
    return {coord(e.a, 0) + coord(e.b, 0), coord(e.a, 1) + coord(e.b, 1), coord(e.a, 2) + coord(e.b, 2)};
}

constexpr PolygonRow buildRow(int mask) {
    auto inside = [mask](int corner) { return (mask >> corner & 1) != 0; };
    bool crossed[12] = {};
    for (int e = 0; e < 12; ++e) crossed[e] = inside(cellEdges[e].a) != inside(cellEdges[e].b);

    // Each crossed edge lies on two faces and is joined to one partner on each.
    int partner[12][2] = {};
    int partners[12] = {};
    auto join = [&](int a, int b) {
        partner[a][partners[a]++] = b;
        partner[b][partners[b]++] = a;
    };
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = 0; side < 2; ++side) {
            Face f{axis, side};
            int edges[4] = {};
            int n = 0;
            for (int e = 0; e < 12; ++e)
                if (onFace(e, f) && crossed[e]) edges[n++] = e;
            if (n == 2) {
                join(edges[0], edges[1]);
            } else if (n == 4) {
                for (int corner = 0; corner < 8; ++corner) {
                    if (coord(corner, axis) != side || !isCutCorner(corner, axis)) continue;
                    int pair[2] = {};
                    int m = 0;
                    for (int i = 0; i < 4; ++i)
                        if (touches(edges[i], corner)) pair[m++] = edges[i];
                    join(pair[0], pair[1]);
                }
            }
        }
    }

    PolygonRow row{};
    int out = 0;
    bool used[12] = {};
    for (int start = 0; start < 12; ++start) {
        if (!crossed[start] || used[start]) continue;
        int poly[12] = {};
        int n = 0;
        int prev = -1;
        int cur = start;
        while (!used[cur]) {
            used[cur] = true;
            poly[n++] = cur;
            int next = partner[cur][0] == prev ? partner[cur][1] : partner[cur][0];
            prev = cur;
            cur = next;
        }
        Vec area;
        Vec outward;
        for (int i = 0; i < n; ++i) {
            Vec c = cross(midpoint2(poly[i]), midpoint2(poly[(i + 1) % n]));
            area.x += c.x;
            area.y += c.y;
            area.z += c.z;
            const CellEdge& e = cellEdges[poly[i]];
            int in = inside(e.a) ? e.a : e.b;
            int outCorner = in == e.a ? e.b : e.a;
            outward.x += coord(outCorner, 0) - coord(in, 0);
            outward.y += coord(outCorner, 1) - coord(in, 1);
            outward.z += coord(outCorner, 2) - coord(in, 2);
        }
        bool reverse = area.x * outward.x + area.y * outward.y + area.z * outward.z < 0;
        row[out++] = n;
        row[out++] = poly[0];
        for (int i = 1; i < n; ++i) row[out++] = reverse ? poly[n - i] : poly[i];
    }
    row[out] = 0;
    return row;
}

constexpr PolygonTable buildTable() {
    PolygonTable table{};
    for (int mask = 0; mask < 256; ++mask) table[mask] = buildRow(mask);
    return table;
}

}  // namespace

constexpr PolygonTable polygonTable = buildTable();

}  // namespace demo
