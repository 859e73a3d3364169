#pragma once

// Mesh checks for tests: welding by position, manifold checks, area and volume.

#include <map>
#include <tuple>
#include <vector>

#include "math/polygoniser.h"

namespace demo::test {

struct WeldedMesh {
    std::vector<Vector3> points;
    std::vector<int> triangles;  // three welded ids per triangle
};

inline WeldedMesh weldByPosition(const PolygonMesh& mesh, int indexBase = 0) {
    WeldedMesh out;
    std::map<std::tuple<float, float, float>, int> ids;
    std::vector<int> remap;
    for (const Vector3& p : mesh.vertices) {
        auto [it, added] = ids.try_emplace({p.x, p.y, p.z}, static_cast<int>(out.points.size()));
        if (added) out.points.push_back(p);
        remap.push_back(it->second);
    }
    for (int index : mesh.indices) out.triangles.push_back(remap[index - indexBase]);
    return out;
}

struct ManifoldReport {
    bool closed = true;      // every directed edge has its reverse
    bool consistent = true;  // no directed edge twice
    bool fans = true;        // the triangles round each vertex form one fan
    int euler = 0;
};

inline ManifoldReport checkManifold(const WeldedMesh& mesh) {
    ManifoldReport r;
    std::map<std::pair<int, int>, int> directed;
    std::map<int, std::map<int, int>> next;  // round vertex v: edge (v, x) to the third vertex
    const auto& t = mesh.triangles;
    for (std::size_t f = 0; f < t.size(); f += 3)
        for (std::size_t k = 0; k < 3; ++k) {
            int a = t[f + k], b = t[f + (k + 1) % 3];
            if (++directed[{a, b}] > 1) r.consistent = false;
            next[a][b] = t[f + (k + 2) % 3];
        }
    for (const auto& [e, n] : directed)
        if (!directed.count({e.second, e.first})) r.closed = false;
    for (const auto& [v, ring] : next) {
        int at = ring.begin()->first;
        std::size_t steps = 0;
        do {
            auto it = ring.find(at);
            if (it == ring.end()) break;
            at = it->second;
        } while (++steps < ring.size() && at != ring.begin()->first);
        if (steps != ring.size() || at != ring.begin()->first) r.fans = false;
    }
    r.euler = static_cast<int>(next.size()) - static_cast<int>(directed.size() / 2) + static_cast<int>(t.size() / 3);
    return r;
}

// Area and enclosed volume.
inline std::pair<double, double> meshAreaAndVolume(const PolygonMesh& m) {
    double area = 0, volume = 0;
    for (std::size_t i = 0; i < m.indices.size(); i += 3) {
        const Vector3 &a = m.vertices[m.indices[i]], &b = m.vertices[m.indices[i + 1]], &c = m.vertices[m.indices[i + 2]];
        area += 0.5 * (b - a).cross(c - a).length();
        volume += a.dot(b.cross(c)) / 6.0;
    }
    return {area, volume};
}

}  // namespace demo::test
