#include "graphics/formats/chunk_reader_3ds.h"

#include <array>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "manager/binary_reader.h"
#include "manager/exceptions.h"
#include "manager/file_system.h"

namespace demo {
namespace {

static_assert(std::endian::native == std::endian::little, "arrays are copied as stored");
static_assert(sizeof(Vector3) == 12 && sizeof(TexCoord3DS) == 8);

// Fixed source lines per kind of failure, so that messages stay stable.
constexpr const char* kUnit = "graphics/formats/chunk_reader_3ds";
constexpr int kBadHeaderLine = 40;
constexpr int kBadLengthLine = 48;
constexpr int kTooDeepLine = 56;
constexpr int kFieldPastEndLine = 64;
constexpr int kCountTooLargeLine = 72;
constexpr int kTextUnendedLine = 80;

// Data that runs out reads as the binary reader's own message, with the
// chunk and offset after it.
constexpr const char* kEndOfFile = "Unexpected end of file.";

using TreeReader = ChunkTreeReader3DS;
using Span = ChunkSpan3DS;
using Row = ChunkRow3DS;

}  // namespace

// One chunk's data: a reader bounded by the chunk's end and where it starts
// in the file.
struct ChunkSpan3DS {
    BinaryReader in;
    std::size_t base;
    int depth;
    std::uint32_t id;
    std::size_t header;  // the chunk's offset, for messages
    const std::string* file;  // for messages; empty when not known
};

namespace {

std::string hex(std::uint32_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", id);
    return text;
}

std::string inFile(const std::string& file) { return file.empty() ? "" : file + ": "; }

std::string describe(const std::string& file, std::uint32_t id, std::size_t at) {
    const char* name = chunkName3DS(id);
    std::string text = inFile(file) + "3DS chunk ";
    if (name) text += std::string(name) + " (" + hex(id) + ")";
    else text += hex(id);
    return text + " at byte " + std::to_string(at);
}

// Bad values are format errors; data that runs out is the binary reader's.
template <typename E = ExceptionBase>
[[noreturn]] void fail(const Span& s, const std::string& what, int line) {
    const std::string where = describe(*s.file, s.id, s.header) + ": " + what;
    if constexpr (std::is_same_v<E, BinaryReaderException>) {
        throw E(std::string(kEndOfFile) + " " + where, kUnit, line);
    } else {
        throw E(where, kUnit, line);
    }
}

float readFloat(Span& s) { return std::bit_cast<float>(s.in.read4()); }

Vector3 readVector(Span& s) {
    float x = readFloat(s);
    float y = readFloat(s);
    return {x, y, readFloat(s)};
}

Vector3 readNegated(Span& s) { return -readVector(s); }

}  // namespace

class ChunkTreeReader3DS {
public:
    // `origin` is the offset of data[0] in the file, for messages.
    ChunkTreeReader3DS(const unsigned char* data, std::string file, std::size_t origin = 0)
        : data_(data), file_(std::move(file)), origin_(origin) {}

    // Reads the chunk at `at`, which must end by `limit`, appends its node to
    // `siblings` when its kind is known and returns its declared end.
    std::size_t readChunk(std::size_t at, std::size_t limit, int depth,
                          std::vector<Chunk3DS>& siblings);

    // Every chunk from the reader's position to the span's end becomes a child.
    // The list is sized once: regrowing it moved every sibling read so far.
    void readChildren(Span& s, Chunk3DS& node) {
        std::size_t at = s.base + s.in.offset();
        const std::size_t end = at + s.in.remaining();
        node.children.reserve(countKnown(at, end));
        while (at < end) at = readChunk(at, end, s.depth + 1, node.children);
        s.in.skip(s.in.remaining());
    }

    // The next n bytes of the span, checked, for bulk copies.
    const unsigned char* take(Span& s, std::size_t n) {
        const unsigned char* p = data_ + s.base + s.in.offset();
        s.in.skip(n);
        return p;
    }

    std::string readText(Span& s) {
        const char* p = reinterpret_cast<const char*>(data_ + s.base + s.in.offset());
        const void* zero = std::memchr(p, 0, s.in.remaining());
        if (zero == nullptr) {
            fail<BinaryReaderException>(s, "a text has no terminating zero", kTextUnendedLine);
        }
        std::string text(p, static_cast<const char*>(zero));
        s.in.skip(text.size() + 1);
        return text;
    }

private:
    // The chunks of known kinds from `at` to `end`, up to the first bad header
    // (which readChunk then reports).
    std::size_t countKnown(std::size_t at, std::size_t end) const;

    const unsigned char* data_;
    std::string file_;
    std::size_t origin_;
};

namespace {

// Checks that `count` items of at least `itemBytes` each fit in what is left.
void checkCount(const Span& s, std::size_t count, std::size_t itemBytes) {
    if (count > s.in.remaining() / itemBytes) {
        fail<BinaryReaderException>(s, std::to_string(count) + " items of " + std::to_string(itemBytes) +
                    " bytes do not fit in the " + std::to_string(s.in.remaining()) + " bytes left",
             kCountTooLargeLine);
    }
}

template <typename T>
std::vector<T> readArray(TreeReader& r, Span& s, std::size_t count) {
    checkCount(s, count, sizeof(T));
    std::vector<T> items(count);
    if (count > 0) std::memcpy(items.data(), r.take(s, count * sizeof(T)), count * sizeof(T));
    return items;
}

void container(TreeReader& r, Span& s, Chunk3DS& node) { r.readChildren(s, node); }

void objBlock(TreeReader& r, Span& s, Chunk3DS& node) {
    node.payload = r.readText(s);
    r.readChildren(s, node);
}

void light(TreeReader& r, Span& s, Chunk3DS& node) {
    node.payload = readNegated(s);
    r.readChildren(s, node);
}

// Sub-chunks of a spotlight or camera are not decoded; the next chunk
// starts at the declared end all the same.
void spotlight(TreeReader&, Span& s, Chunk3DS& node) {
    Spotlight3DS spot;
    spot.target = readNegated(s);
    spot.hotspot = readFloat(s);
    spot.falloff = readFloat(s);
    node.payload = spot;
}

void camera(TreeReader&, Span& s, Chunk3DS& node) {
    Camera3DS cam;
    cam.position = readNegated(s);
    cam.target = readNegated(s);
    cam.bank = readFloat(s);
    cam.lens = readFloat(s);
    node.payload = cam;
}

void vertList(TreeReader& r, Span& s, Chunk3DS& node) {
    auto vertices = readArray<Vector3>(r, s, s.in.read2());
    for (Vector3& v : vertices) v = -v;
    node.payload = std::move(vertices);
}

void mapList(TreeReader& r, Span& s, Chunk3DS& node) {
    node.payload = readArray<TexCoord3DS>(r, s, s.in.read2());
}

void faceList(TreeReader& r, Span& s, Chunk3DS& node) {
    const std::size_t count = s.in.read2();
    checkCount(s, count, 8);
    const unsigned char* p = r.take(s, count * 8);
    FaceList3DS faces;
    faces.indices.resize(count * 3);
    std::uint32_t* out = faces.indices.data();
    for (std::size_t i = 0; i < count; ++i, p += 8, out += 3) {
        out[0] = static_cast<std::uint32_t>(p[2] | p[3] << 8);  // (a, b, c) -> (b, a, c)
        out[1] = static_cast<std::uint32_t>(p[0] | p[1] << 8);
        out[2] = static_cast<std::uint32_t>(p[4] | p[5] << 8);
    }
    node.payload = std::move(faces);
    r.readChildren(s, node);
}

void faceMat(TreeReader& r, Span& s, Chunk3DS& node) {
    FaceMaterial3DS material;
    material.name = r.readText(s);
    material.faces = readArray<std::uint16_t>(r, s, s.in.read2());
    node.payload = std::move(material);
}

void rgbF(TreeReader&, Span& s, Chunk3DS& node) { node.payload = readVector(s); }

void rgbB(TreeReader&, Span& s, Chunk3DS& node) {
    Rgb3DS c;
    c.r = s.in.read1();
    c.g = s.in.read1();
    c.b = s.in.read1();
    node.payload = c;
}

void word(TreeReader&, Span& s, Chunk3DS& node) { node.payload = s.in.read2(); }
void masterScale(TreeReader&, Span& s, Chunk3DS& node) { node.payload = readFloat(s); }
void text(TreeReader& r, Span& s, Chunk3DS& node) { node.payload = r.readText(s); }

void trMatrix(TreeReader&, Span& s, Chunk3DS& node) {
    ObjectMatrix3DS m;
    for (Vector3& axis : m.axes) axis = readVector(s);
    m.origin = readNegated(s);
    node.payload = m;
}

void trackObjName(TreeReader& r, Span& s, Chunk3DS& node) {
    NodeName3DS n;
    n.name = r.readText(s);
    s.in.skip(4);
    n.parent = static_cast<std::int16_t>(s.in.read2());
    node.payload = std::move(n);
}

void trackPivot(TreeReader&, Span& s, Chunk3DS& node) { node.payload = readNegated(s); }

// The shared track header and key prefix; value(s) reads one key's value.
// Each set spline flag (bits 0-4) is followed by one float, skipped here.
template <typename T, typename ReadValue>
Track3DS<T> readTrack(Span& s, std::size_t valueBytes, ReadValue value) {
    Track3DS<T> track;
    s.in.skip(6);
    track.header = s.in.read4();
    const std::uint32_t keys = s.in.read4();
    checkCount(s, keys, 6 + valueBytes);
    track.times.reserve(keys);
    track.values.reserve(keys);
    for (std::uint32_t k = 0; k < keys; ++k) {
        track.times.push_back(static_cast<float>(s.in.read4()));
        const std::uint16_t flags = s.in.read2();
        for (int bit = 0; bit < 5; ++bit) {
            if (flags & (1u << bit)) s.in.skip(4);
        }
        track.values.push_back(value(s));
    }
    return track;
}

void trackPos(TreeReader&, Span& s, Chunk3DS& node) {
    node.payload = readTrack<Vector3>(s, 12, readNegated);
}

void trackScale(TreeReader&, Span& s, Chunk3DS& node) {
    node.payload = readTrack<Vector3>(s, 12, readVector);
}

void trackRoll(TreeReader&, Span& s, Chunk3DS& node) {
    node.payload = readTrack<float>(s, 4, readFloat);
}

// Each key holds the absolute rotation: the key's own rotation (angle
// reversed for the left-handed frame) applied after the running one. A key
// with a zero axis repeats the previous rotation.
void trackRotate(TreeReader&, Span& s, Chunk3DS& node) {
    Quaternion running;
    node.payload = readTrack<Quaternion>(s, 16, [&running](Span& in) {
        const float angle = readFloat(in);
        const Vector3 axis = readVector(in);
        if (axis.x != 0.0f || axis.y != 0.0f || axis.z != 0.0f) {
            running = Quaternion::multiply(Quaternion::fromAxisAngle(-angle, axis), running);
        }
        return running;
    });
}

}  // namespace

// Lookup stops at the first row of an id, so the second OBJMESH row is never
// used; a row with id 0 ends the table.
const ChunkRow3DS chunkTable3DS[] = {
    {chunk3ds::kMain, "CHUNK_MAIN", container},
    {chunk3ds::kObjMesh, "CHUNK_OBJMESH", container},
    {chunk3ds::kHierarchy, "CHUNK_HIERARCHY", container},
    {chunk3ds::kObjMesh, "CHUNK_OBJMESH", container},
    {chunk3ds::kTriMesh, "CHUNK_TRIMESH", container},
    {chunk3ds::kMaterial, "CHUNK_MATERIAL", container},
    {chunk3ds::kKeyframer, "CHUNK_KEYFRAMER", container},
    {chunk3ds::kAmbient, "CHUNK_AMBIENT", container},
    {chunk3ds::kDiffuse, "CHUNK_DIFFUSE", container},
    {chunk3ds::kSpecular, "CHUNK_SPECULAR", container},
    {chunk3ds::kShininess, "CHUNK_SHININESS", container},
    {chunk3ds::kTexture, "CHUNK_TEXTURE", container},
    {chunk3ds::kTrackInfo, "CHUNK_TRACKINFO", container},
    {chunk3ds::kTrackCamera, "CHUNK_TRACKCAMERA", container},
    {chunk3ds::kTrackCamTgt, "CHUNK_TRACKCAMTGT", container},
    {chunk3ds::kTrackLight, "CHUNK_TRACKLIGHT", container},
    {chunk3ds::kTrackLightTgt, "CHUNK_TRACKLIGHTGT", container},
    {chunk3ds::kTrackSpotL, "CHUNK_TRACKSPOTL", container},
    {chunk3ds::kObjBlock, "CHUNK_OBJBLOCK", objBlock},
    {chunk3ds::kLight, "CHUNK_LIGHT", light},
    {chunk3ds::kSpotlight, "CHUNK_SPOTLIGHT", spotlight},
    {chunk3ds::kCamera, "CHUNK_CAMERA", camera},
    {chunk3ds::kVertList, "CHUNK_VERTLIST", vertList},
    {chunk3ds::kMapList, "CHUNK_MAPLIST", mapList},
    {chunk3ds::kFaceList, "CHUNK_FACELIST", faceList},
    {chunk3ds::kRgbF, "CHUNK_RGBF", rgbF},
    {chunk3ds::kRgbF2, "CHUNK_RGBF2", rgbF},
    {chunk3ds::kRgbB, "CHUNK_RGBB", rgbB},
    {chunk3ds::kRgbB2, "CHUNK_RGBB2", rgbB},
    {chunk3ds::kWord, "CHUNK_WRD", word},
    {chunk3ds::kMasterScale, "CHUNK_MASTERSCALE", masterScale},
    {chunk3ds::kMatName, "CHUNK_MATNAME", text},
    {chunk3ds::kMapFile, "CHUNK_MAPFILE", text},
    {chunk3ds::kFaceMat, "CHUNK_FACEMAT", faceMat},
    {chunk3ds::kTrMatrix, "CHUNK_TRMATRIX", trMatrix},
    {chunk3ds::kObjNumber, "CHUNK_OBJNUMBER", word},
    {chunk3ds::kTrackObjName, "CHUNK_TRACKOBJNAME", trackObjName},
    {chunk3ds::kTrackPos, "CHUNK_TRACKPOS", trackPos},
    {chunk3ds::kTrackRoll, "CHUNK_TRACKROLL", trackRoll},
    {chunk3ds::kTrackPivot, "CHUNK_TRACKPIVOT", trackPivot},
    {chunk3ds::kTrackRotate, "CHUNK_TRACKROTATE", trackRotate},
    {chunk3ds::kTrackScale, "CHUNK_TRACKSCALE", trackScale},
    {0, nullptr, nullptr},
};

namespace {

// Row numbers by id, plus one (0: no row), filled from the table's first row
// of each id: every chunk header is looked up, most near the table's end.
const std::array<std::uint8_t, 0x10000>& rowsById() {
    static const auto rows = [] {
        auto byId = std::make_unique<std::array<std::uint8_t, 0x10000>>();
        byId->fill(0);
        for (std::size_t row = 0; chunkTable3DS[row].id != 0; ++row) {
            std::uint8_t& slot = (*byId)[chunkTable3DS[row].id];
            if (slot == 0) slot = static_cast<std::uint8_t>(row + 1);
        }
        return byId;
    }();
    return *rows;
}

const Row* findRow(std::uint32_t id) {
    if (id > 0xFFFF) return nullptr;
    const std::uint8_t row = rowsById()[id];
    return row == 0 ? nullptr : &chunkTable3DS[row - 1];
}

}  // namespace

std::size_t ChunkTreeReader3DS::readChunk(std::size_t at, std::size_t limit, int depth,
                                         std::vector<Chunk3DS>& siblings) {
    if (limit - at < 6) {
        throw BinaryReaderException(std::string(kEndOfFile) + " " + inFile(file_) +
                                        "3DS chunk header at byte " + std::to_string(origin_ + at) +
                                        ": only " + std::to_string(limit - at) +
                                        " bytes are left for its 6",
                                    kUnit, kBadHeaderLine);
    }
    const unsigned char* h = data_ + at;
    Span s{BinaryReader(h, 6), at, depth, 0, origin_ + at, &file_};
    s.id = s.in.read2();
    const std::uint32_t length = s.in.read4();
    const Row* row = findRow(s.id);
    // An unknown first chunk is not a 3DS file, whatever its length says.
    if (row == nullptr && depth == 0) return limit;
    if (length < 6) fail(s, "length " + std::to_string(length) + " is below its 6-byte header", kBadLengthLine);
    if (length > limit - at) {
        fail<BinaryReaderException>(s, "length " + std::to_string(length) + " runs past the " + std::to_string(limit - at) +
                    " bytes its parent has left",
             kBadLengthLine);
    }
    if (row == nullptr) return at + length;
    if (depth > kMaxDepth3DS) fail(s, "chunks nest deeper than " + std::to_string(kMaxDepth3DS), kTooDeepLine);

    // Built in place: the handler touches only this node's own children.
    Chunk3DS& node = siblings.emplace_back();
    node.id = s.id;
    node.dataLength = length - 6;
    s.in = BinaryReader(h + 6, length - 6);
    s.base = at + 6;
    try {
        row->handler(*this, s, node);
    } catch (const BinaryReaderException& e) {
        siblings.pop_back();
        if (e.sourceFile() == std::string(kUnit)) throw;  // already names its chunk
        fail<BinaryReaderException>(s, "its data ends inside a field", kFieldPastEndLine);
    } catch (...) {
        siblings.pop_back();
        throw;
    }
    return at + length;
}

std::size_t ChunkTreeReader3DS::countKnown(std::size_t at, std::size_t end) const {
    std::size_t known = 0;
    while (end - at >= 6) {
        const unsigned char* h = data_ + at;
        const std::uint32_t id = h[0] | h[1] << 8;
        const std::uint32_t length = std::uint32_t{h[2]} | std::uint32_t{h[3]} << 8 |
                                     std::uint32_t{h[4]} << 16 | std::uint32_t{h[5]} << 24;
        if (length < 6 || length > end - at) break;
        if (findRow(id) != nullptr) ++known;
        at += length;
    }
    return known;
}

const char* chunkName3DS(std::uint32_t id) {
    const Row* row = findRow(id);
    return row ? row->name : nullptr;
}

namespace {

std::unique_ptr<Chunk3DS> readTree(const unsigned char* data, std::size_t size,
                                   const std::string& file) {
    std::vector<Chunk3DS> top;
    TreeReader(data, file).readChunk(0, size, 0, top);
    if (top.empty()) return nullptr;
    return std::make_unique<Chunk3DS>(std::move(top.front()));
}

}  // namespace

std::unique_ptr<Chunk3DS> readChunkTree3DS(const unsigned char* data, std::size_t size) {
    return readTree(data, size, "");
}

std::unique_ptr<Chunk3DS> readChunk3DS(BinaryReader& reader, std::uint32_t& length) {
    const std::uint16_t id = reader.read2();
    length = reader.read4();
    const std::size_t dataLength = length < 6 ? 0 : length - 6;
    if (findRow(id) == nullptr) {
        reader.skip(dataLength);
        return nullptr;
    }
    if (dataLength > reader.remaining()) reader.skip(dataLength);  // throws before allocating
    std::vector<unsigned char> bytes(6 + dataLength);
    const std::size_t size = bytes.size();
    const unsigned char header[6] = {static_cast<unsigned char>(id), static_cast<unsigned char>(id >> 8),
                                     static_cast<unsigned char>(size), static_cast<unsigned char>(size >> 8),
                                     static_cast<unsigned char>(size >> 16),
                                     static_cast<unsigned char>(size >> 24)};
    std::memcpy(bytes.data(), header, sizeof header);
    reader.read(dataLength, bytes.data() + 6);
    std::vector<Chunk3DS> node;
    ChunkTreeReader3DS(bytes.data(), "", reader.offset() - size).readChunk(0, size, 1, node);
    return std::make_unique<Chunk3DS>(std::move(node.front()));
}

std::unique_ptr<Chunk3DS> loadChunkFile3DS(const std::string& name) {
    MemoryFile* file = FileSystem::instance()->get(name);
    --file->referenceCount;  // the file stays cached; nothing else runs meanwhile
    return readTree(file->data, file->size, name);
}

}  // namespace demo
