#include "math/polygoniser.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <new>

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

// Edges in the order their vertices are made: z edges, then x, then y.
constexpr std::array<int, 12> edgeOrder{5, 11, 0, 8, 7, 4, 6, 2, 3, 10, 1, 9};

// Per corner-sign mask: its crossed edges in vertex order, and the faces
// (bits in `faceSteps` order) that the surface crosses.
struct CellCrossing {
    std::uint8_t edgeCount = 0;
    std::uint8_t edges[12] = {};
    std::uint8_t faces = 0;
};

constexpr std::array<CellCrossing, 256> buildCrossings() {
    std::array<CellCrossing, 256> crossings{};
    for (int mask = 0; mask < 256; ++mask) {
        CellCrossing& c = crossings[mask];
        for (int e : edgeOrder)
            if ((mask >> cellEdges[e].a & 1) != (mask >> cellEdges[e].b & 1)) c.edges[c.edgeCount++] = std::uint8_t(e);
        for (int f = 0; f < 6; ++f) {
            const int side = mask & faceSteps[f].cornerMask;
            if (side != 0 && side != faceSteps[f].cornerMask) c.faces |= std::uint8_t(1 << f);
        }
    }
    return crossings;
}

// Per flag combination: the faces (in `faceSteps` order) already known.
constexpr std::array<int, 64> buildKnownFaces() {
    std::array<int, 64> known{};
    for (int flags = 0; flags < 64; ++flags)
        for (int f = 0; f < 6; ++f)
            if (flags & faceSteps[f].knownFlag) known[flags] |= 1 << f;
    return known;
}

constexpr std::array<int, 256> buildTriangleCounts() {
    std::array<int, 256> counts{};
    for (int mask = 0; mask < 256; ++mask)
        for (int at = 0; polygonTable[mask][at] != 0; at += polygonTable[mask][at] + 1)
            counts[mask] += polygonTable[mask][at] - 2;
    return counts;
}

constexpr std::array<int, 64> knownEdges = buildKnownEdges();
constexpr std::array<int, 256> crossedEdges = buildCrossedEdges();
constexpr std::array<CellCrossing, 256> crossings = buildCrossings();
constexpr std::array<int, 64> knownFaces = buildKnownFaces();
const std::array<int, 256> triangleCounts = buildTriangleCounts();

// Corners in the order they are evaluated: offsets (0,0,0), (1,0,0), (0,1,0), ...
constexpr std::array<int, 8> cornerOrder{3, 7, 1, 5, 2, 6, 0, 4};

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
    return static_cast<int>(t);
}

}  // namespace

void Polygoniser::FreeLattice::operator()(LatticePoint* p) const { std::free(p); }

// Work arrays grow with the lattice and are never cleared otherwise: the run
// stamps tell this call's entries from older ones.
void Polygoniser::startRun(std::int64_t points) {
    if (static_cast<std::int64_t>(latticeSize) < points) {
        lattice.reset();
        latticeSize = 0;
        const std::size_t size = static_cast<std::size_t>(points + points / 5);
        // Whole large pages (measured: about a third faster at 128^3 when
        // the system backs them so).
        constexpr std::size_t page = std::size_t{2} << 20;
        const std::size_t bytes = (size * sizeof(LatticePoint) + page - 1) / page * page;
        void* memory = std::aligned_alloc(page, bytes);
        if (!memory) throw std::bad_alloc();
        if (adviseWorkMemory != nullptr) adviseWorkMemory(memory, bytes);
        lattice.reset(static_cast<LatticePoint*>(memory));
        latticeSize = size;
        std::uninitialized_fill_n(lattice.get(), size, LatticePoint{});
        currentRun = 256;
        return;
    }
    currentRun += 256;
    if (currentRun == 0) {
        for (std::size_t p = 0; p < latticeSize; ++p) lattice[p].status = lattice[p].valueRun = 0;
        currentRun = 256;
    }
}

template <class Sink>
bool Polygoniser::run(const Vector3& upper, const Vector3& lower, int nx, int ny, int nz, Sink& sink,
                      const ImplicitField& field, std::span<const Vector3> seeds) {
    cellsProcessed = 0;
    processing.clear();
    if (nx < 1 || ny < 1 || nz < 1 || nx >= maxLatticePoints || ny >= maxLatticePoints || nz >= maxLatticePoints)
        return false;
    const std::int64_t pointCount = (std::int64_t{nx} + 1) * (std::int64_t{ny} + 1) * (std::int64_t{nz} + 1);
    if (pointCount > maxLatticePoints) return false;
    startRun(pointCount);
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
    LatticePoint* const points = lattice.get();

    // Lattice points are always placed as lower + index * step, so a value or
    // a vertex computed twice from different cells comes out bit for bit the same.
    for (const Vector3& seed : seeds) {
        int i = cellIndex(seed.x, lower.x, xs, nx);
        int j = cellIndex(seed.y, lower.y, ys, ny);
        int k = cellIndex(seed.z, lower.z, zs, nz);
        if (i < 0 || j < 0 || k < 0) continue;
        const float x = lower.x + i * xs, y = lower.y + j * ys;
        auto inside = [&](int kk) {
            LatticePoint& point = points[i + j * rowsize + kk * layersize];
            if (point.valueRun != currentRun) {
                point.value = field.value(x, y, lower.z + kk * zs);
                point.valueRun = currentRun;
            }
            return point.value > 0.0f;
        };
        while (k >= 0 && inside(k)) --k;
        if (k < 0) continue;
        int addr = i + j * rowsize + k * layersize;
        if (points[addr].status < currentRun) {
            processing.push_back({addr, i, j, k});
            points[addr].status = currentRun;
        }
    }

    int ids[12];
    float v[8];
    // On large lattices the walk waits on memory: fetch the records of cells
    // a few places ahead in the queue while this one is worked on.
    constexpr std::size_t lookahead = 16;
    auto prefetch = [&](std::size_t entry) {
        if (entry >= processing.size()) return;
        const LatticePoint* p = points + processing[entry].addr;
        for (const LatticePoint* row : {p, p + rowsize, p + layersize, p + rowsize + layersize}) {
            __builtin_prefetch(row, 1);
            __builtin_prefetch(row + 1, 1);
        }
    };
    for (std::size_t head = 0; head < processing.size(); ++head) {
        prefetch(head + lookahead);
        const auto [addr, i, j, k] = processing[head];
        LatticePoint* const cell = points + addr;
        const int flags = static_cast<int>(cell->status & flagBits);
        const float px[2] = {lower.x + i * xs, lower.x + (i + 1) * xs};
        const float py[2] = {lower.y + j * ys, lower.y + (j + 1) * ys};
        const float pz[2] = {lower.z + k * zs, lower.z + (k + 1) * zs};

        // Corners on known faces were evaluated by the neighbour across them;
        // any other corner evaluated earlier in this run gives the same value.
        // Which corners are missing is gathered without branching, since
        // it changes unpredictably from cell to cell.
        unsigned missing = 0;
        for (int n = 0; n < 8; ++n)
            missing |= unsigned(cell[cornerOffset[cornerOrder[n]]].valueRun != currentRun) << n;
        for (; missing != 0; missing &= missing - 1) {
            const int c = cornerOrder[std::countr_zero(missing)];
            LatticePoint& corner = cell[cornerOffset[c]];
            const CellCorner& o = cellCorners[c];
            corner.value = field.value(px[o.di], py[o.dj], pz[o.dk]);
            corner.valueRun = currentRun;
        }
        int voxeltype = 0;
        for (int c = 0; c < 8; ++c) {
            v[c] = cell[cornerOffset[c]].value;
            voxeltype |= int(v[c] > 0.0f) << c;
        }
        ++cellsProcessed;

        const int crossed = crossedEdges[voxeltype];
        const int fresh = crossed & ~knownEdges[flags];
        if (!sink.reserve(std::popcount(static_cast<unsigned>(fresh)), triangleCounts[voxeltype])) return false;

        const CellCrossing& crossing = crossings[voxeltype];
        for (int n = 0; n < crossing.edgeCount; ++n) {
            const int e = crossing.edges[n];
            const CellEdge& edge = cellEdges[e];
            int& ref = cell[cornerOffset[edge.low]].vertexRef[edge.axis];
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
        for (unsigned faces = crossing.faces & ~knownFaces[flags]; faces != 0; faces &= faces - 1) {
            const FaceStep& f = faceSteps[std::countr_zero(faces)];
            const int n = index[f.axis] + f.direction;
            if (n < 0 || n >= cells[f.axis]) continue;
            const int step = f.direction * strides[f.axis];
            std::uint32_t& status = cell[step].status;
            if (status < currentRun) {
                processing.push_back({addr + step, f.axis == 0 ? n : i, f.axis == 1 ? n : j, f.axis == 2 ? n : k});
                status = currentRun | f.setFlag;
            } else {
                status |= f.setFlag;
            }
        }

        const PolygonRow& row = polygonTable[voxeltype];
        for (int at = 0; row[at] != 0; at += row[at] + 1) {
            const int count = row[at];
            const int first = ids[row[at + 1]];
            for (int m = 2; m < count; ++m) sink.triangle(first, ids[row[at + m]], ids[row[at + m + 1]]);
        }
        cell->status = doneMark;
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
