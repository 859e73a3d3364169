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

std::vector<int> prefix(int row, int count) {
    return std::vector<int>(polygonTable[row].begin(), polygonTable[row].begin() + count);
}

TEST(MarchingTable, TellingRows) {
    EXPECT_EQ(prefix(0, 1), (std::vector<int>{0}));
    EXPECT_EQ(prefix(1, 5), (std::vector<int>{3, 0, 2, 1, 0}));
    EXPECT_EQ(prefix(3, 6), (std::vector<int>{4, 1, 3, 4, 2, 0}));
    EXPECT_EQ(prefix(6, 8), (std::vector<int>{6, 0, 1, 6, 5, 3, 4, 0}));
    EXPECT_EQ(prefix(9, 9), (std::vector<int>{3, 0, 2, 1, 3, 3, 5, 7, 0}));
    EXPECT_EQ(prefix(22, 12), (std::vector<int>{3, 0, 1, 2, 6, 3, 4, 8, 9, 6, 5, 0}));
    EXPECT_EQ(prefix(105, 16), (std::vector<int>{3, 0, 2, 1, 6, 3, 5, 6, 9, 8, 4, 3, 7, 10, 11, 0}));
    EXPECT_EQ(prefix(254, 5), (std::vector<int>{3, 0, 1, 2, 0}));
    EXPECT_EQ(prefix(255, 1), (std::vector<int>{0}));
}

TEST(MarchingTable, ComplementRowIsTheRowReversed) {
    for (int r = 0; r < 256; ++r) {
        auto polygons = polygonsOf(r);
        auto complement = polygonsOf(255 - r);
        ASSERT_EQ(polygons.size(), complement.size()) << "row " << r;
        for (std::size_t p = 0; p < polygons.size(); ++p) {
            std::vector<int> reversed{polygons[p][0]};
            reversed.insert(reversed.end(), polygons[p].rbegin(), polygons[p].rend() - 1);
            EXPECT_EQ(complement[p], reversed) << "row " << r << " polygon " << p;
        }
    }
}

TEST(MarchingTable, EveryCrossedEdgeOnceAndPolygonsWellFormed) {
    for (int r = 0; r < 256; ++r) {
        int seen[12] = {};
        int triangles = 0;
        int lowest = -1;
        for (const auto& polygon : polygonsOf(r)) {
            EXPECT_GE(polygon.size(), 3u);
            EXPECT_LE(polygon.size(), 8u);
            triangles += static_cast<int>(polygon.size()) - 2;
            // Polygons start at their lowest edge and come in order of it.
            EXPECT_EQ(polygon[0], *std::min_element(polygon.begin(), polygon.end()));
            EXPECT_GT(polygon[0], lowest);
            lowest = polygon[0];
            for (int e : polygon) ++seen[e];
        }
        EXPECT_LE(triangles, 6) << "row " << r;
        for (int e = 0; e < 12; ++e) {
            bool crossed = (r >> cellEdges[e].a & 1) != (r >> cellEdges[e].b & 1);
            EXPECT_EQ(seen[e], crossed ? 1 : 0) << "row " << r << " edge " << e;
        }
    }
}

TEST(MarchingTable, ConsecutiveEdgesShareAFace) {
    // Two edges joined by a side of a polygon lie on one face of the cube.
    auto faceMask = [](int e) {
        int corners = (1 << cellEdges[e].a) | (1 << cellEdges[e].b);
        int faces = 0;
        const int masks[6] = {0x0f, 0xf0, 0x33, 0xcc, 0x55, 0xaa};
        for (int f = 0; f < 6; ++f)
            if ((masks[f] & corners) == corners) faces |= 1 << f;
        return faces;
    };
    for (int r = 0; r < 256; ++r)
        for (const auto& polygon : polygonsOf(r))
            for (std::size_t i = 0; i < polygon.size(); ++i)
                EXPECT_NE(faceMask(polygon[i]) & faceMask(polygon[(i + 1) % polygon.size()]), 0) << "row " << r;
}

}  // namespace
}  // namespace demo
