#pragma once
// Per-vertex data of one mesh in named streams ("position", "normal",
// "tex0", ...). Streams are grouped: the streams of one group are interleaved
// vertex by vertex, ordered by the byte order of their names, and the groups
// lie one after another in one block. Producers fill streams through
// streamPointer; the renderer finds them through findVertexStream, which
// reads from drawData (the same block, or fast vertex memory that the scene
// instance copies it to).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace demo {

// Stream name -> size in bytes; the map's order is the order in a vertex.
using StreamGroup = std::map<std::string, int>;

// The ordered list of stream groups.
struct VertexFormat : std::vector<StreamGroup> {
    using std::vector<StreamGroup>::vector;

    // Bytes before `name` in its group, or -1 when the group lacks it.
    static int streamOffset(const StreamGroup& group, const std::string& name);
    // The sum of the group's stream sizes: the stride of its streams.
    static int groupSize(const StreamGroup& group);
};

class VertexBuffer {
public:
    // Zero-filled memory for vertexCount vertices. A negative count or stream
    // size, or a block that does not fit 32-bit offsets, throws ExceptionBase.
    VertexBuffer(const VertexFormat& format, int vertexCount);
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;

    int bytesPerVertex() const;

    // Finds the group that holds `name`: the group's start in bytes per
    // vertex before it (*groupBase), the stream's offset within a vertex of
    // it and the group's size. False when no group holds the stream.
    static bool findStream(const VertexBuffer* buffer, const std::string& name, int* groupBase,
                           int* offset, int* groupSize);

    // The first element of stream `name` (after one alias step) in `data`,
    // its stride and the vertex count. False, outputs untouched, when the
    // stream does not exist.
    static bool streamPointer(const std::string& name, VertexBuffer* buffer, std::uint8_t** pointer,
                              int* stride, int* count);

    VertexFormat groups;
    // A lookup of a key looks up its value instead; one step, not chained.
    std::map<std::string, std::string> aliases;
    std::vector<std::uint8_t> data;
    std::uint8_t* drawData;
    int vertexCount;
};

// As VertexBuffer::streamPointer, but pointing into drawData.
bool findVertexStream(const std::string& name, VertexBuffer* buffer, std::uint8_t** pointer,
                      int* stride, int* count);

// The triangle list of a mesh: three vertex indices per triangle.
class TriangleIndexArray {
public:
    // n triangles, every index 0. A negative n throws ExceptionBase.
    explicit TriangleIndexArray(int n);
    virtual ~TriangleIndexArray() = default;

    virtual int count() const { return triangleCount; }
    virtual std::uint32_t* data() { return indices.data(); }

    int triangleCount;
    std::vector<std::uint32_t> indices;
};

}  // namespace demo
