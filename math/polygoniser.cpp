#include "math/polygoniser.h"

#include <algorithm>
#include <array>
#include <bit>

#include "math/marching_table.h"

namespace demo {
namespace {

// Flags a processed cell leaves on the neighbour across a crossed face, one
// per face of the neighbour that is now known.
constexpr std::uint32_t lowXKnown = 0x01, lowYKnown = 0x02, lowZKnown = 0x04;
constexpr std::uint32_t highXKnown = 0x08, highYKnown = 0x10, highZKnown = 0x20;
constexpr std::uint32_t flagBits = 0x3f;

struct FaceStep {
    int cornerMask;          // corners of this cell on the face
    std::uint32_t knownFlag; // flag of this cell saying the face is known
    std::uint32_t setFlag;   // flag set on the neighbour across it
    int axis;
    int direction;           // +1 or -1
};

// In the order neighbours are queued: high x, low x, high y, low y, high z, low z.
constexpr std::array<FaceStep, 6> faceSteps{{
    {0xf0, highXKnown, lowXKnown, 0, +1},
    {0x0f, lowXKnown, highXKnown, 0, -1},
    {0x33, highYKnown, lowYKnown, 1, +1},
    {0xcc, lowYKnown, highYKnown, 1, -1},
    {0x55, highZKnown, lowZKnown, 2, +1},
    {0xaa, lowZKnown, highZKnown, 2, -1},
}};

constexpr std::array<int, 64> buildKnownCorners() {
    std::array<int, 64> known{};
    for (int flags = 0; flags < 64; ++flags)
        for (const FaceStep& f : faceSteps)
            if (flags & f.knownFlag) known[flags] |= f.cornerMask;
    return known;
}

constexpr std::array<int, 64> buildKnownEdges() {
    std::array<int, 64> known{};
    for (int flags = 0; flags < 64; ++flags)
        for (const FaceStep& f : faceSteps) {
            if (!(flags & f.knownFlag)) continue;
            for (int e = 0; e < 12; ++e)
                if ((f.cornerMask >> cellEdges[e].a & 1) && (f.cornerMask >> cellEdges[e].b & 1)) known[flags] |= 1 << e;
        }
    return known;
}

constexpr std::array<int, 256> buildCrossedEdges() {
    std::array<int, 256> crossed{};
    for (int mask = 0; mask < 256; ++mask)
        for (int e = 0; e < 12; ++e)
            if ((mask >> cellEdges[e].a & 1) != (mask >> cellEdges[e].b & 1)) crossed[mask] |= 1 << e;
    return crossed;
}

constexpr std::array<int, 256> buildTriangleCounts() {
    std::array<int, 256> counts{};
    for (int mask = 0; mask < 256; ++mask)
        for (int at = 0; polygonTable[mask][at] != 0; at += polygonTable[mask][at] + 1)
            counts[mask] += polygonTable[mask][at] - 2;
    return counts;
}

constexpr std::array<int, 64> knownCorners = buildKnownCorners();
constexpr std::array<int, 64> knownEdges = buildKnownEdges();
constexpr std::array<int, 256> crossedEdges = buildCrossedEdges();
const std::array<int, 256> triangleCounts = buildTriangleCounts();

// Corners in the order they are evaluated: offsets (0,0,0), (1,0,0), (0,1,0), ...
constexpr std::array<int, 8> cornerOrder{3, 7, 1, 5, 2, 6, 0, 4};
// Edges in the order their vertices are made: z edges, then x, then y.
constexpr std::array<int, 12> edgeOrder{5, 11, 0, 8, 7, 4, 6, 2, 3, 10, 1, 9};

// Appends to a growing mesh.
struct GrowingSink {
    PolygonMesh& mesh;
    int indexBase;

    bool reserve(int, int) { return true; }
    void vertex(const Vector3& p, const Vector3& n) {
        mesh.vertices.push_back(p);
        mesh.normals.push_back(n);
    }
    void triangle(int a, int b, int c) {
        mesh.indices.push_back(a + indexBase);
        mesh.indices.push_back(b + indexBase);
        mesh.indices.push_back(c + indexBase);
    }
    int vertexCount() const { return static_cast<int>(mesh.vertices.size()); }
};

// Writes into caller arrays of fixed capacity.
struct SpanSink {
    std::span<Vector3> vertices;
    std::span<Vector3> normals;
    std::span<int> indices;
    int indexBase;
    std::size_t vertexAt = 0;
    std::size_t indexAt = 0;

    bool reserve(int newVertices, int newTriangles) {
        std::size_t vertexRoom = std::min(vertices.size(), normals.size()) - vertexAt;
        return static_cast<std::size_t>(newVertices) <= vertexRoom &&
               static_cast<std::size_t>(newTriangles) * 3 <= indices.size() - indexAt;
    }
    void vertex(const Vector3& p, const Vector3& n) {
        vertices[vertexAt] = p;
        normals[vertexAt++] = n;
    }
    void triangle(int a, int b, int c) {
        indices[indexAt++] = a + indexBase;
        indices[indexAt++] = b + indexBase;
        indices[indexAt++] = c + indexBase;
    }
    int vertexCount() const { return static_cast<int>(vertexAt); }
};

// Lattice index of a coordinate, or -1 outside [0, cells).
int cellIndex(float coordinate, float lower, float step, int cells) {
    float t = (coordinate - lower) * (1.0f / step);
    if (!(t >= 0.0f) || !(t < static_cast<float>(cells))) return -1;
    int i = static_cast<int>(t);
    return i < cells ? i : -1;
}

}  // namespace

bool Polygoniser::startRun(std::int64_t points) {
    if (static_cast<std::int64_t>(updateStatus.size()) < points) {
        std::size_t size = static_cast<std::size_t>(points + points / 5);
        cornerValues.resize(size);
        xVertexRef.resize(size);
        yVertexRef.resize(size);
        zVertexRef.resize(size);
        updateStatus.assign(size, 0);
        currentRun = 256;
        return true;
    }
    currentRun += 256;
    if (currentRun == 0) {
        std::fill(updateStatus.begin(), updateStatus.end(), 0u);
        currentRun = 256;
    }
    return true;
}

template <class Sink>
bool Polygoniser::run(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz, Sink& sink,
                      const ImplicitField& field, std::span<const Vector3> seeds) {
    cellsProcessed = 0;
    processing.clear();
    if (nx < 1 || ny < 1 || nz < 1 || nx >= maxLatticePoints || ny >= maxLatticePoints || nz >= maxLatticePoints)
        return false;
    const std::int64_t points = (std::int64_t{nx} + 1) * (std::int64_t{ny} + 1) * (std::int64_t{nz} + 1);
    if (points > maxLatticePoints) return false;
    startRun(points);
    const std::uint32_t doneMark = currentRun + 255;

    const float xs = (upper.x - lower.x) / nx;
    const float ys = (upper.y - lower.y) / ny;
    const float zs = (upper.z - lower.z) / nz;
    const int rowsize = nx + 1;
    const int layersize = (nx + 1) * (ny + 1);
    const int cells[3] = {nx, ny, nz};
    const int strides[3] = {1, rowsize, layersize};
    const float steps[3] = {xs, ys, zs};

    int cornerOffset[8];
    for (int c = 0; c < 8; ++c)
        cornerOffset[c] = cellCorners[c].di + cellCorners[c].dj * rowsize + cellCorners[c].dk * layersize;
    int* refs[3] = {xVertexRef.data(), yVertexRef.data(), zVertexRef.data()};
    float* values = cornerValues.data();
    std::uint32_t* status = updateStatus.data();

    // Lattice points are always placed as lower + index * step, so a value or
    // a vertex computed twice from different cells comes out bit for bit the same.
    for (const Vector3& seed : seeds) {
        int i = cellIndex(seed.x, lower.x, xs, nx);
        int j = cellIndex(seed.y, lower.y, ys, ny);
        int k = cellIndex(seed.z, lower.z, zs, nz);
        if (i < 0 || j < 0 || k < 0) continue;
        const float x = lower.x + i * xs, y = lower.y + j * ys;
        while (k >= 0 && field.value(x, y, lower.z + k * zs) > 0.0f) --k;
        if (k < 0) continue;
        int addr = i + j * rowsize + k * layersize;
        if (status[addr] < currentRun) {
            processing.push_back(addr);
            status[addr] = currentRun;
        }
    }

    int ids[12];
    float v[8];
    for (std::size_t head = 0; head < processing.size(); ++head) {
        const int addr = processing[head];
        const int k = addr / layersize;
        const int j = (addr - k * layersize) / rowsize;
        const int i = addr - k * layersize - j * rowsize;
        const int flags = static_cast<int>(status[addr] & flagBits);
        const float px[2] = {lower.x + i * xs, lower.x + (i + 1) * xs};
        const float py[2] = {lower.y + j * ys, lower.y + (j + 1) * ys};
        const float pz[2] = {lower.z + k * zs, lower.z + (k + 1) * zs};

        const int known = knownCorners[flags];
        int voxeltype = 0;
        for (int c : cornerOrder) {
            const int at = addr + cornerOffset[c];
            if (known >> c & 1) {
                v[c] = values[at];
            } else {
                const CellCorner& o = cellCorners[c];
                v[c] = values[at] = field.value(px[o.di], py[o.dj], pz[o.dk]);
            }
            if (v[c] > 0.0f) voxeltype |= 1 << c;
        }
        ++cellsProcessed;

        const int crossed = crossedEdges[voxeltype];
        const int fresh = crossed & ~knownEdges[flags];
        if (!sink.reserve(std::popcount(static_cast<unsigned>(fresh)), triangleCounts[voxeltype])) return false;

        for (int e : edgeOrder) {
            if (!(crossed >> e & 1)) continue;
            const CellEdge& edge = cellEdges[e];
            int& ref = refs[edge.axis][addr + cornerOffset[edge.low]];
            if (fresh >> e & 1) {
                const CellCorner& o = cellCorners[edge.low];
                float p[3] = {px[o.di], py[o.dj], pz[o.dk]};
                const float u = v[edge.low], w = v[edge.high];
                p[edge.axis] += steps[edge.axis] * (u / (u - w));
                Vector3 g;
                field.gradient(g, p[0], p[1], p[2]);
                ref = sink.vertexCount();
                sink.vertex({p[0], p[1], p[2]}, g);
            }
            ids[e] = ref;
        }

        const int index[3] = {i, j, k};
        for (const FaceStep& f : faceSteps) {
            if (flags & f.knownFlag) continue;
            const int side = voxeltype & f.cornerMask;
            if (side == 0 || side == f.cornerMask) continue;
            const int n = index[f.axis] + f.direction;
            if (n < 0 || n >= cells[f.axis]) continue;
            const int raddr = addr + f.direction * strides[f.axis];
            if (status[raddr] < currentRun) {
                processing.push_back(raddr);
                status[raddr] = currentRun | f.setFlag;
            } else {
                status[raddr] |= f.setFlag;
            }
        }

        const PolygonRow& row = polygonTable[voxeltype];
        for (int at = 0; row[at] != 0; at += row[at] + 1) {
            const int count = row[at];
            const int first = ids[row[at + 1]];
            for (int m = 2; m < count; ++m) sink.triangle(first, ids[row[at + m]], ids[row[at + m + 1]]);
        }
        status[addr] = doneMark;
    }
    return true;
}

bool Polygoniser::polygonize(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz, PolygonMesh& mesh,
                             int indexBase, const ImplicitField& field, std::span<const Vector3> seeds) {
    mesh.vertices.clear();
    mesh.normals.clear();
    mesh.indices.clear();
    GrowingSink sink{mesh, indexBase};
    return run(upper, lower, nx, ny, nz, sink, field, seeds);
}

bool Polygoniser::polygonize(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz,
                             std::span<Vector3> vertices, std::span<Vector3> normals, std::span<int> indices,
                             int indexBase, int& vertexCount, int& triangleCount, const ImplicitField& field,
                             std::span<const Vector3> seeds) {
    SpanSink sink{vertices, normals, indices, indexBase};
    bool complete = run(upper, lower, nx, ny, nz, sink, field, seeds);
    vertexCount = static_cast<int>(sink.vertexAt);
    triangleCount = static_cast<int>(sink.indexAt / 3);
    return complete;
}

Polygoniser& sharedPolygoniser() {
    static Polygoniser polygoniser;
    return polygoniser;
}

}  // namespace demo
