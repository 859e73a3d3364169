#include "graphics/vertex_buffer.h"

#include <cstddef>
#include <limits>

#include "manager/exceptions.h"

namespace demo {
namespace {

constexpr const char* kUnit = "graphics/vertex_buffer";
constexpr std::int64_t kMaxBytes = std::numeric_limits<int>::max();

[[noreturn]] void sizeOutOfRange(const char* what, int line) {
    throw ExceptionBase(std::string(what) + " size out of range", kUnit, line);
}

// Bytes per vertex of the format, checked to fit an int; -1 when it does not
// or a stream size is negative.
std::int64_t checkedBytesPerVertex(const VertexFormat& format) {
    std::int64_t total = 0;
    for (const StreamGroup& group : format) {
        for (const auto& [name, size] : group) {
            if (size < 0) return -1;
            total += size;
            if (total > kMaxBytes) return -1;
        }
    }
    return total;
}

bool locate(const std::string& name, VertexBuffer* buffer, std::uint8_t* base,
            std::uint8_t** pointer, int* stride, int* count) {
    auto alias = buffer->aliases.find(name);
    const std::string& target = alias == buffer->aliases.end() ? name : alias->second;
    int groupBase = 0, offset = 0, groupSize = 0;
    if (!VertexBuffer::findStream(buffer, target, &groupBase, &offset, &groupSize)) return false;
    auto count64 = static_cast<std::size_t>(buffer->vertexCount);
    *pointer =
        base + count64 * static_cast<std::size_t>(groupBase) + static_cast<std::size_t>(offset);
    *stride = groupSize;
    *count = buffer->vertexCount;
    return true;
}

}  // namespace

int VertexFormat::streamOffset(const StreamGroup& group, const std::string& name) {
    int offset = 0;
    for (const auto& [streamName, size] : group) {
        if (streamName == name) return offset;
        offset += size;
    }
    return -1;
}

int VertexFormat::groupSize(const StreamGroup& group) {
    int size = 0;
    for (const auto& stream : group) size += stream.second;
    return size;
}

VertexBuffer::VertexBuffer(const VertexFormat& format, int vertexCount)
    : groups(format), drawData(nullptr), vertexCount(vertexCount) {
    std::int64_t perVertex = checkedBytesPerVertex(format);
    if (perVertex < 0 || vertexCount < 0) sizeOutOfRange("Vertex buffer", 68);
    // Offsets handed out are ints, so the whole block must fit one.
    if (perVertex != 0 && vertexCount > kMaxBytes / perVertex) sizeOutOfRange("Vertex buffer", 70);
    data.assign(static_cast<std::size_t>(perVertex) * static_cast<std::size_t>(vertexCount), 0);
    drawData = data.data();
}

int VertexBuffer::bytesPerVertex() const {
    int total = 0;
    for (const StreamGroup& group : groups) total += VertexFormat::groupSize(group);
    return total;
}

bool VertexBuffer::findStream(const VertexBuffer* buffer, const std::string& name, int* groupBase,
                              int* offset, int* groupSize) {
    *groupBase = 0;
    for (const StreamGroup& group : buffer->groups) {
        *offset = VertexFormat::streamOffset(group, name);
        *groupSize = VertexFormat::groupSize(group);
        if (*offset != -1) return true;
        *groupBase += *groupSize;
    }
    return false;
}

bool VertexBuffer::streamPointer(const std::string& name, VertexBuffer* buffer,
                                 std::uint8_t** pointer, int* stride, int* count) {
    return locate(name, buffer, buffer->data.data(), pointer, stride, count);
}

bool findVertexStream(const std::string& name, VertexBuffer* buffer, std::uint8_t** pointer,
                      int* stride, int* count) {
    return locate(name, buffer, buffer->drawData, pointer, stride, count);
}

TriangleIndexArray::TriangleIndexArray(int n) : triangleCount(n) {
    if (n < 0 || static_cast<std::size_t>(n) > kMaxBytes / 3) sizeOutOfRange("Triangle list", 106);
    indices.assign(static_cast<std::size_t>(n) * 3, 0);
}

}  // namespace demo
