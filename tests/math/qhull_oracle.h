#pragma once

// Debian's qhull programs (qhull-bin) as an independent oracle for face and
// triangle counts; -1 when they are not installed.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "math/vector3.h"
#include "tests/support/scratch_dir.h"

namespace demo::test {

// The facet count that `program Qt i` prints first for the given rows.
inline int qhullFacetCount(const std::string& program, int dimension, std::size_t count, const std::string& rows) {
    if (std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) != 0) return -1;
    std::string base = (scratchRoot() / (program + "_" + std::to_string(::getpid()))).string();
    std::ofstream(base + ".in") << dimension << "\n" << count << "\n" << rows;
    int facets = -1;
    if (std::system((program + " Qt i < " + base + ".in > " + base + ".out 2>/dev/null").c_str()) == 0)
        std::ifstream(base + ".out") >> facets;
    std::remove((base + ".in").c_str());
    std::remove((base + ".out").c_str());
    return facets;
}

inline int qconvexFacetCount(const std::vector<Vector3>& points) {
    std::ostringstream rows;
    rows.precision(9);
    for (const Vector3& p : points) rows << p.x << " " << p.y << " " << p.z << "\n";
    return qhullFacetCount("qconvex", 3, points.size(), rows.str());
}

inline int qdelaunayTriangleCount(const std::vector<std::array<float, 2>>& points) {
    std::ostringstream rows;
    rows.precision(9);
    for (const auto& p : points) rows << p[0] << " " << p[1] << "\n";
    return qhullFacetCount("qdelaunay", 2, points.size(), rows.str());
}

}  // namespace demo::test
