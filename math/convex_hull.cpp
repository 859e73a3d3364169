#include "math/convex_hull.h"

#include <algorithm>
#include <cmath>

namespace demo {
namespace {

struct OutsideSet {
    std::vector<int> points;
    int furthest = -1;
    double distance = -1.0;

    void reset() {
        points.clear();
        furthest = -1;
        distance = -1.0;
    }
    void add(int point, double d) {
        points.push_back(point);
        if (d > distance) {
            distance = d;
            furthest = point;
        }
    }
};

double dot(const Vector3& n, double x, double y, double z) { return n.x * x + n.y * y + n.z * z; }

// A face's plane in double precision; the face's float normal is rounded
// from it only for the caller.
struct Plane {
    double n[3] = {};
    double offset = 0.0;

    double distance(const Vector3& q) const { return n[0] * q.x + n[1] * q.y + n[2] * q.z - offset; }
};

// The plane through c with edge vectors a - c and b - c, normal (a - c) x (b - c).
Plane planeThrough(const Vector3& a, const Vector3& b, const Vector3& c) {
    double ux = double(a.x) - c.x, uy = double(a.y) - c.y, uz = double(a.z) - c.z;
    double vx = double(b.x) - c.x, vy = double(b.y) - c.y, vz = double(b.z) - c.z;
    double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    Plane plane;
    if (length > 0.0) {
        plane.n[0] = nx / length, plane.n[1] = ny / length, plane.n[2] = nz / length;
        plane.offset = plane.n[0] * c.x + plane.n[1] * c.y + plane.n[2] * c.z;
    }
    return plane;
}

Vector3 roundedNormal(const Plane& plane) {
    return {float(plane.n[0]), float(plane.n[1]), float(plane.n[2])};
}

class HullBuilder {
public:
    HullBuilder(std::span<const Vector3> points, HullStatistics& statistics) : p(points), stats(statistics) {}

    std::vector<HullFace> build() {
        if (!buildInitialSimplex()) return {};
        while (!pending.empty()) {
            int f = pending.back();
            pending.pop_back();
            if (f >= 0 && f < static_cast<int>(faces.size()) && !outside[f].points.empty())
                growHull(outside[f].furthest, f);
        }
        for (std::size_t f = 0; f < faces.size(); ++f) {
            HullFace& face = faces[f];
            face.normal = roundedNormal(planes[f]);
            const Vector3& a = p[face.vertex[0]];
            face.offset = dot(face.normal, a.x, a.y, a.z);
        }
        return std::move(faces);
    }

private:
    // A point this close to a face's plane counts as on it, so that repeated
    // points and rounding never make faces without area.
    bool isOutside(double distance) const { return distance > onPlane; }

    void setFace(int f, int a, int b, int c, int na, int nb, int nc) {
        HullFace& face = faces[f];
        face.vertex[0] = a, face.vertex[1] = b, face.vertex[2] = c;
        face.neighbour[0] = na, face.neighbour[1] = nb, face.neighbour[2] = nc;
        planes[f] = planeThrough(p[a], p[b], p[c]);
    }

    bool buildInitialSimplex() {
        const int n = static_cast<int>(p.size());
        if (n < 4) return false;
        for (const Vector3& q : p)
            if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) return false;

        int iMin = 0, iMax = 0;
        double lo[3] = {p[0].x, p[0].y, p[0].z}, hi[3] = {lo[0], lo[1], lo[2]};
        for (int k = 1; k < n; ++k) {
            if (p[k].x < p[iMin].x) iMin = k;
            else if (p[k].x > p[iMax].x) iMax = k;
            const double c[3] = {p[k].x, p[k].y, p[k].z};
            for (int a = 0; a < 3; ++a) lo[a] = std::min(lo[a], c[a]), hi[a] = std::max(hi[a], c[a]);
        }
        // Below this the set counts as collinear or flat: faces would have no direction.
        const double size = std::sqrt((hi[0] - lo[0]) * (hi[0] - lo[0]) + (hi[1] - lo[1]) * (hi[1] - lo[1]) +
                                      (hi[2] - lo[2]) * (hi[2] - lo[2]));
        const double tolerance = 1e-6 * size;
        if (iMin == iMax || !(size > 0.0)) return false;
        double reach = 0.0;
        for (int a = 0; a < 3; ++a) reach = std::max({reach, std::fabs(lo[a]), std::fabs(hi[a])});
        onPlane = 1e-11 * reach;

        const Vector3 origin = p[iMin];
        auto sub = [&origin](const Vector3& q, double out[3]) {
            out[0] = double(q.x) - origin.x, out[1] = double(q.y) - origin.y, out[2] = double(q.z) - origin.z;
        };
        double e[3];
        sub(p[iMax], e);
        double el = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        for (double& c : e) c /= el;

        int iLine = 0;
        double best = -1.0;
        for (int k = 0; k < n; ++k) {
            double v[3];
            sub(p[k], v);
            double along = v[0] * e[0] + v[1] * e[1] + v[2] * e[2];
            double d2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2] - along * along;
            if (d2 > best) best = d2, iLine = k;
        }
        if (!(std::sqrt(std::max(best, 0.0)) > tolerance)) return false;

        double l[3];
        sub(p[iLine], l);
        double nrm[3] = {e[1] * l[2] - e[2] * l[1], e[2] * l[0] - e[0] * l[2], e[0] * l[1] - e[1] * l[0]};
        double nl = std::sqrt(nrm[0] * nrm[0] + nrm[1] * nrm[1] + nrm[2] * nrm[2]);
        for (double& c : nrm) c /= nl;
        int iPlane = 0;
        best = -1.0;
        for (int k = 0; k < n; ++k) {
            double v[3];
            sub(p[k], v);
            double d = std::fabs(v[0] * nrm[0] + v[1] * nrm[1] + v[2] * nrm[2]);
            if (d > best) best = d, iPlane = k;
        }
        if (!(best > tolerance)) return false;
        double v[3];
        sub(p[iPlane], v);
        if (v[0] * nrm[0] + v[1] * nrm[1] + v[2] * nrm[2] > 0) std::swap(iLine, iPlane);

        const int c = iLine, d = iPlane;
        faces.assign(4, HullFace{});
        planes.assign(4, Plane{});
        setFace(0, iMin, iMax, c, 2, 3, 1);
        setFace(1, iMax, iMin, d, 3, 2, 0);
        setFace(2, c, iMax, d, 1, 3, 0);
        setFace(3, iMin, c, d, 2, 1, 0);
        outside.assign(4, OutsideSet{});
        for (int k = 0; k < n; ++k) {
            if (k == iMin || k == iMax || k == c || k == d) continue;
            for (int f = 0; f < 4; ++f) {
                double dist = planes[f].distance(p[k]);
                if (isOutside(dist)) {
                    outside[f].add(k, dist);
                    break;
                }
            }
        }
        for (int f = 0; f < 4; ++f)
            if (!outside[f].points.empty()) pending.push_back(f);
        return true;
    }

    struct Edge {
        int start;   // the edge runs from here to the next entry's start
        int across;  // the face on the other side, -1 for the closing entry
    };

    void growHull(int eye, int f) {
        const Vector3& e = p[eye];
        ++stamp;
        if (mark.size() < faces.size()) mark.resize(faces.size() + faces.size() / 2 + 16, 0);
        visible.assign(1, f);
        mark[f] = stamp;

        const HullFace& first = faces[f];
        edges.assign({{first.vertex[0], first.neighbour[2]},
                      {first.vertex[1], first.neighbour[0]},
                      {first.vertex[2], first.neighbour[1]},
                      {first.vertex[0], -1}});
        // Depth first over the faces the eye sees, splitting each edge into the
        // two far edges of the face across it.
        for (std::size_t at = 0; edges[at].across >= 0;) {
            const int g = edges[at].across;
            const HullFace& face = faces[g];
            if (mark[g] == stamp || !(planes[g].distance(e) > 0.0)) {
                ++at;
                continue;
            }
            mark[g] = stamp;
            visible.push_back(g);
            int j = 0;
            while (face.vertex[j] != edges[at].start) ++j;
            edges[at] = {edges[at].start, face.neighbour[(j + 2) % 3]};
            edges.insert(edges.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                         Edge{face.vertex[(j + 1) % 3], face.neighbour[j]});
        }
        horizon.clear();
        for (const Edge& edge : edges)
            if (edge.across >= 0 && mark[edge.across] != stamp) horizon.push_back(edge);
        const int h = static_cast<int>(horizon.size());

        gathered.clear();
        for (int v : visible) gathered.insert(gathered.end(), outside[v].points.begin(), outside[v].points.end());

        slots.assign(visible.begin(), visible.begin() + std::min<std::size_t>(visible.size(), h));
        while (static_cast<int>(slots.size()) < h) {
            slots.push_back(static_cast<int>(faces.size()));
            faces.emplace_back();
            planes.emplace_back();
            outside.emplace_back();
        }
        for (int k = 0; k < h; ++k) {
            const int a = horizon[k].start, b = horizon[(k + 1) % h].start, g = horizon[k].across;
            setFace(slots[k], a, b, eye, slots[(k + 1) % h], slots[(k + h - 1) % h], g);
            HullFace& other = faces[g];
            int i = 0;
            while (other.vertex[i] != a) ++i;
            other.neighbour[(i + 1) % 3] = slots[k];
            outside[slots[k]].reset();
        }
        for (int q : gathered) {
            if (q == eye) continue;
            const double x = double(p[q].x) - e.x, y = double(p[q].y) - e.y, z = double(p[q].z) - e.z;
            for (int s : slots) {
                const double* n = planes[s].n;
                double dist = n[0] * x + n[1] * y + n[2] * z;
                if (isOutside(dist)) {
                    outside[s].add(q, dist);
                    break;
                }
            }
        }
        for (int s : slots)
            if (!outside[s].points.empty()) pending.push_back(s);

        if (static_cast<int>(visible.size()) > h) removeSurplus(h);
    }

    // The visible faces that got no new face are removed by moving the last
    // face of the array into each of their slots, highest slot first, so the
    // face moved is never one still to be removed.
    void removeSurplus(int h) {
        surplus.assign(visible.begin() + h, visible.end());
        std::sort(surplus.begin(), surplus.end(), std::greater<int>());
        for (int s : surplus) {
            const int last = static_cast<int>(faces.size()) - 1;
            if (s != last) {
                faces[s] = faces[last];
                planes[s] = planes[last];
                outside[s] = std::move(outside[last]);
                for (int nb : faces[s].neighbour) {
                    HullFace& other = faces[nb];
                    for (int& back : other.neighbour)
                        if (back == last) back = s;
                }
                if (!outside[s].points.empty()) pending.push_back(s);
            }
            faces.pop_back();
            planes.pop_back();
            outside.pop_back();
            ++stats.surplusFacesRemoved;
        }
    }

    std::span<const Vector3> p;
    HullStatistics& stats;
    std::vector<HullFace> faces;
    std::vector<Plane> planes;  // parallel to faces
    std::vector<OutsideSet> outside;
    double onPlane = 0.0;
    std::vector<int> pending;
    std::vector<unsigned> mark;
    unsigned stamp = 0;
    std::vector<int> visible, slots, gathered, surplus;
    std::vector<Edge> edges, horizon;
};

}  // namespace

HullFace makeHullFace(int a, int b, int c, int na, int nb, int nc, std::span<const Vector3> points) {
    HullFace f;
    f.vertex[0] = a, f.vertex[1] = b, f.vertex[2] = c;
    f.neighbour[0] = na, f.neighbour[1] = nb, f.neighbour[2] = nc;
    f.normal = roundedNormal(planeThrough(points[a], points[b], points[c]));
    f.offset = dot(f.normal, points[a].x, points[a].y, points[a].z);
    return f;
}

std::vector<HullFace> computeConvexHull(std::span<const Vector3> points, HullStatistics* statistics) {
    HullStatistics local;
    HullStatistics& stats = statistics ? *statistics : local;
    stats = {};
    return HullBuilder(points, stats).build();
}

}  // namespace demo
