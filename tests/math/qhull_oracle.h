#pragma once

// Debian's qhull programs (qhull-bin) as an independent oracle for face and
// triangle counts; -1 when they are not installed.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "math/vector3.h"

namespace demo::test {

// Writes the rows in qhull's input format and returns the facet count that
// `program Qt i` prints first.
inline int qhullFacetCount(const std::string& program, int dimension, const std::vector<std::array<float, 3>>& rows) {
    if (std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) != 0) return -1;
    const char* dir = std::getenv("DEMO_TEST_TMP");
    std::string base = std::string(dir && *dir ? dir : "/tmp") + "/" + program + "_" + std::to_string(::getpid());
    {
        std::ofstream in(base + ".in");
        in.precision(9);
        in << dimension << "\n" << rows.size() << "\n";
        for (const auto& r : rows)
            for (int a = 0; a < dimension; ++a) in << r[a] << (a + 1 < dimension ? " " : "\n");
    }
    int facets = -1;
    if (std::system((program + " Qt i < " + base + ".in > " + base + ".out 2>/dev/null").c_str()) == 0)
        std::ifstream(base + ".out") >> facets;
    std::remove((base + ".in").c_str());
    std::remove((base + ".out").c_str());
    return facets;
}

inline int qconvexFacetCount(const std::vector<Vector3>& points) {
    std::vector<std::array<float, 3>> rows;
    for (const Vector3& p : points) rows.push_back({p.x, p.y, p.z});
    return qhullFacetCount("qconvex", 3, rows);
}

inline int qdelaunayTriangleCount(const std::vector<std::array<float, 2>>& points) {
    std::vector<std::array<float, 3>> rows;
    for (const auto& p : points) rows.push_back({p[0], p[1], 0.0f});
    return qhullFacetCount("qdelaunay", 2, rows);
}

}  // namespace demo::test
