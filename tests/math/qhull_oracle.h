#pragma once

// Runs Debian's qhull programs (qhull-bin) as an independent oracle for face
// and triangle counts. Returns -1 when they are not installed.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "math/vector3.h"

namespace demo::test {

inline std::string scratchDirectory() {
    const char* dir = std::getenv("DEMO_TEST_TMP");
    return dir && *dir ? dir : "/tmp";
}

inline bool haveProgram(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// Writes the points in qhull's input format and returns the first number
// that `program options i` prints: the count of (triangulated) facets.
template <class WriteRows>
int qhullFacetCount(const char* program, int dimension, std::size_t count, WriteRows rows) {
    if (!haveProgram(program)) return -1;
    std::string base = scratchDirectory() + "/" + program + "_" + std::to_string(::getpid());
    {
        std::ofstream in(base + ".in");
        in.precision(9);
        in << dimension << "\n" << count << "\n";
        rows(in);
    }
    std::string command = std::string(program) + " Qt i < " + base + ".in > " + base + ".out 2>/dev/null";
    if (std::system(command.c_str()) != 0) return -1;
    std::ifstream out(base + ".out");
    int facets = -1;
    out >> facets;
    std::remove((base + ".in").c_str());
    std::remove((base + ".out").c_str());
    return facets;
}

inline int qconvexFacetCount(const std::vector<Vector3>& points) {
    return qhullFacetCount("qconvex", 3, points.size(), [&](std::ostream& out) {
        for (const Vector3& p : points) out << p.x << " " << p.y << " " << p.z << "\n";
    });
}

inline int qdelaunayTriangleCount(const std::vector<std::array<float, 2>>& points) {
    return qhullFacetCount("qdelaunay", 2, points.size(), [&](std::ostream& out) {
        for (const auto& p : points) out << p[0] << " " << p[1] << "\n";
    });
}

}  // namespace demo::test
