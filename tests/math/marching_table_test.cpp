#include "math/marching_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace demo {
namespace {

std::vector<std::vector<int>> polygonsOf(int row) {
    std::vector<std::vector<int>> polygons;
    const PolygonRow& r = polygonTable[row];
    for (int at = 0; r[at] != 0; at += r[at] + 1) polygons.emplace_back(r.begin() + at + 1, r.begin() + at + 1 + r[at]);
    return polygons;
}

// Every crossed edge once per row; polygons of 3 to 8 edges, starting at and
// ordered by their lowest edge, each side joining two edges of one face.
TEST(MarchingTable, RowsAreWellFormed) {
    auto faces = [](int e) {
        int corners = (1 << cellEdges[e].a) | (1 << cellEdges[e].b), out = 0;
        const int masks[6] = {0x0f, 0xf0, 0x33, 0xcc, 0x55, 0xaa};
        for (int f = 0; f < 6; ++f) out |= ((masks[f] & corners) == corners) << f;
        return out;
    };
    for (int r = 0; r < 256; ++r) {
        int seen[12] = {}, triangles = 0, lowest = -1;
        for (const auto& polygon : polygonsOf(r)) {
            EXPECT_TRUE(polygon.size() >= 3 && polygon.size() <= 8) << "row " << r;
            triangles += static_cast<int>(polygon.size()) - 2;
            EXPECT_EQ(polygon[0], *std::min_element(polygon.begin(), polygon.end()));
            EXPECT_GT(polygon[0], lowest);
            lowest = polygon[0];
            for (std::size_t i = 0; i < polygon.size(); ++i) {
                ++seen[polygon[i]];
                EXPECT_NE(faces(polygon[i]) & faces(polygon[(i + 1) % polygon.size()]), 0) << "row " << r;
            }
        }
        EXPECT_LE(triangles, 6) << "row " << r;
        for (int e = 0; e < 12; ++e)
            EXPECT_EQ(seen[e], (r >> cellEdges[e].a & 1) != (r >> cellEdges[e].b & 1) ? 1 : 0) << "row " << r;
    }
}

}  // namespace
}  // namespace demo
