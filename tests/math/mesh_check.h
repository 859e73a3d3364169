#pragma once

// Helpers for checking triangle meshes in tests: welding by position,
// manifold checks, area and volume.

#include <cmath>
#include <cstdint>
#include <cstring>
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
    std::vector<int> remap(mesh.vertices.size());
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
        const Vector3& p = mesh.vertices[v];
        auto [it, added] = ids.try_emplace({p.x, p.y, p.z}, static_cast<int>(out.points.size()));
        if (added) out.points.push_back(p);
        remap[v] = it->second;
    }
    for (int index : mesh.indices) out.triangles.push_back(remap[index - indexBase]);
    return out;
}

struct ManifoldReport {
    bool closed = true;        // every directed edge has its reverse, once
    bool consistent = true;    // no directed edge twice (orientation agrees)
    bool degenerate = false;   // a triangle with a repeated vertex
    bool vertexLinksOk = true; // the triangles round each vertex form one fan
    int euler = 0;
};

inline ManifoldReport checkManifold(const WeldedMesh& mesh) {
    ManifoldReport r;
    std::map<std::pair<int, int>, int> directed;
    const auto& t = mesh.triangles;
    std::size_t faces = t.size() / 3;
    for (std::size_t f = 0; f < faces; ++f) {
        int a = t[3 * f], b = t[3 * f + 1], c = t[3 * f + 2];
        if (a == b || b == c || a == c) r.degenerate = true;
        for (auto e : {std::pair{a, b}, std::pair{b, c}, std::pair{c, a}})
            if (++directed[e] > 1) r.consistent = false;
    }
    for (const auto& [e, n] : directed)
        if (!directed.count({e.second, e.first})) r.closed = false;
    // Around a manifold vertex, "next" (from edge (v, x) to the triangle's
    // third vertex) is a single cycle through all its neighbours.
    std::map<int, std::map<int, int>> next;
    for (std::size_t f = 0; f < faces; ++f) {
        int v[3] = {t[3 * f], t[3 * f + 1], t[3 * f + 2]};
        for (int i = 0; i < 3; ++i) next[v[i]][v[(i + 1) % 3]] = v[(i + 2) % 3];
    }
    for (const auto& [v, ring] : next) {
        int start = ring.begin()->first, at = start;
        std::size_t steps = 0;
        do {
            auto it = ring.find(at);
            if (it == ring.end()) break;
            at = it->second;
            ++steps;
        } while (at != start && steps <= ring.size());
        if (at != start || steps != ring.size()) r.vertexLinksOk = false;
    }
    long edges = static_cast<long>(directed.size()) / 2;
    r.euler = static_cast<int>(static_cast<long>(next.size()) - edges + static_cast<long>(faces));
    return r;
}

inline Vector3 triangleNormal(const std::vector<Vector3>& p, int a, int b, int c) {
    return (p[b] - p[a]).cross(p[c] - p[a]);
}

inline double meshArea(const PolygonMesh& m) {
    double area = 0;
    for (std::size_t i = 0; i + 2 < m.indices.size(); i += 3)
        area += 0.5 * triangleNormal(m.vertices, m.indices[i], m.indices[i + 1], m.indices[i + 2]).length();
    return area;
}

inline double meshVolume(const PolygonMesh& m) {
    double volume = 0;
    for (std::size_t i = 0; i + 2 < m.indices.size(); i += 3) {
        const Vector3& a = m.vertices[m.indices[i]];
        const Vector3& b = m.vertices[m.indices[i + 1]];
        const Vector3& c = m.vertices[m.indices[i + 2]];
        volume += (double(a.x) * (double(b.y) * c.z - double(b.z) * c.y) +
                   double(a.y) * (double(b.z) * c.x - double(b.x) * c.z) +
                   double(a.z) * (double(b.x) * c.y - double(b.y) * c.x)) / 6.0;
    }
    return volume;
}

}  // namespace demo::test
