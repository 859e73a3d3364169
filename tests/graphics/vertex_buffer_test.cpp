// Stream layout of vertex buffers: offsets, strides, group placement, aliases.

#include "graphics/vertex_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "manager/exceptions.h"

namespace demo {
namespace {

struct LayoutCase {
    const char* label;
    VertexFormat format;
    int vertexCount;
    const char* stream;
    bool found;
    std::size_t start;  // bytes from the block's start
    int stride;
};

class VertexLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(VertexLayout, StreamsLieWhereTheFormatPutsThem) {
    const LayoutCase& c = GetParam();
    VertexBuffer buffer(c.format, c.vertexCount);
    std::uint8_t* pointer = nullptr;
    int stride = -1, count = -1;
    ASSERT_EQ(VertexBuffer::streamPointer(c.stream, &buffer, &pointer, &stride, &count), c.found);
    std::uint8_t* drawPointer = nullptr;
    int drawStride = -1, drawCount = -1;
    EXPECT_EQ(findVertexStream(c.stream, &buffer, &drawPointer, &drawStride, &drawCount), c.found);
    if (!c.found) return;
    EXPECT_EQ(pointer - buffer.data.data(), static_cast<std::ptrdiff_t>(c.start));
    EXPECT_EQ(stride, c.stride);
    EXPECT_EQ(count, c.vertexCount);
    EXPECT_EQ(drawPointer, pointer);  // drawData not redirected yet
    EXPECT_EQ(drawStride, stride);
}

const VertexFormat kInterleaved{{{{"position", 12}, {"normal", 12}, {"tex0", 8}}}};
const VertexFormat kSeparate{{{{"position", 12}}, {{"normal", 12}}}};
const VertexFormat kMixed{{{{"tex0", 8}}, {{"position", 12}, {"color", 4}}, {{"tex1", 8}}}};

INSTANTIATE_TEST_SUITE_P(
    Formats, VertexLayout,
    ::testing::Values(
        // One group: ordered by name bytes, normal < position < tex0.
        LayoutCase{"normal", kInterleaved, 10, "normal", true, 0, 32},
        LayoutCase{"position", kInterleaved, 10, "position", true, 12, 32},
        LayoutCase{"tex0", kInterleaved, 10, "tex0", true, 24, 32},
        LayoutCase{"separatePosition", kSeparate, 4020, "position", true, 0, 12},
        LayoutCase{"separateNormal", kSeparate, 4020, "normal", true, 48240, 12},
        // Upper case sorts before lower case.
        LayoutCase{"byteOrder", VertexFormat{{{{"b", 4}, {"B", 8}}}}, 3, "b", true, 8, 12},
        LayoutCase{"mixedColor", kMixed, 5, "color", true, 5 * 8, 16},
        LayoutCase{"mixedPosition", kMixed, 5, "position", true, 5 * 8 + 4, 16},
        LayoutCase{"mixedTex1", kMixed, 5, "tex1", true, 5 * (8 + 16), 8},
        LayoutCase{"missing", kInterleaved, 10, "tex1", false, 0, 0},
        LayoutCase{"noGroups", VertexFormat{}, 10, "position", false, 0, 0},
        LayoutCase{"noVertices", kSeparate, 0, "normal", true, 0, 12}),
    [](const auto& info) { return info.param.label; });

TEST(VertexBuffer, BlockIsZeroedAndSizedByTheFormat) {
    VertexBuffer buffer(kMixed, 7);
    EXPECT_EQ(buffer.bytesPerVertex(), 32);
    ASSERT_EQ(buffer.data.size(), 7u * 32u);
    for (std::uint8_t byte : buffer.data) ASSERT_EQ(byte, 0);
    EXPECT_EQ(buffer.drawData, buffer.data.data());

    int groupBase = -1, offset = -1, groupSize = -1;
    ASSERT_TRUE(VertexBuffer::findStream(&buffer, "tex1", &groupBase, &offset, &groupSize));
    EXPECT_EQ(groupBase, 24);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(groupSize, 8);
}

TEST(VertexBuffer, AliasesResolveOneStepToTheirTarget) {
    VertexBuffer buffer(kMixed, 5);
    buffer.aliases["tex1"] = "tex0";
    buffer.aliases["uv"] = "tex1";       // not followed further to tex0
    buffer.aliases["ghost"] = "absent";  // target missing
    std::uint8_t* tex0 = nullptr;
    std::uint8_t* aliased = nullptr;
    int stride0 = 0, stride = 0, count = 0;
    ASSERT_TRUE(VertexBuffer::streamPointer("tex0", &buffer, &tex0, &stride0, &count));
    ASSERT_TRUE(VertexBuffer::streamPointer("tex1", &buffer, &aliased, &stride, &count));
    EXPECT_EQ(aliased, tex0);
    EXPECT_EQ(stride, stride0);
    ASSERT_TRUE(findVertexStream("uv", &buffer, &aliased, &stride, &count));
    EXPECT_EQ(aliased - buffer.data.data(), 5 * 24);  // the real tex1 stream
    EXPECT_FALSE(VertexBuffer::streamPointer("ghost", &buffer, &aliased, &stride, &count));
}

TEST(VertexBuffer, DrawCopyRedirectsOnlyTheRenderersView) {
    VertexBuffer buffer(kSeparate, 4);
    std::vector<std::uint8_t> fast(buffer.data.size());
    buffer.drawData = fast.data();
    std::uint8_t *filled = nullptr, *drawn = nullptr;
    int stride = 0, count = 0;
    ASSERT_TRUE(VertexBuffer::streamPointer("normal", &buffer, &filled, &stride, &count));
    ASSERT_TRUE(findVertexStream("normal", &buffer, &drawn, &stride, &count));
    EXPECT_EQ(filled, buffer.data.data() + 48);
    EXPECT_EQ(drawn, fast.data() + 48);
}

TEST(VertexBuffer, RefusesSizesThatDoNotFit) {
    const VertexFormat negative{{{{"position", -4}}}};
    const VertexFormat huge{{{{"a", INT_MAX}}, {{"b", 1}}}};
    EXPECT_THROW(VertexBuffer(kInterleaved, -1), ExceptionBase);
    EXPECT_THROW(VertexBuffer(negative, 1), ExceptionBase);
    EXPECT_THROW(VertexBuffer(huge, 1), ExceptionBase);
    EXPECT_THROW(VertexBuffer(kInterleaved, INT_MAX / 32 + 1), ExceptionBase);
    EXPECT_THROW(TriangleIndexArray(-1), ExceptionBase);
}

TEST(TriangleIndexArray, StartsWithZeroIndices) {
    TriangleIndexArray empty(0);
    EXPECT_EQ(empty.count(), 0);
    TriangleIndexArray three(3);
    EXPECT_EQ(three.count(), 3);
    ASSERT_EQ(three.indices.size(), 9u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(three.data()[i], 0u);
}

}  // namespace
}  // namespace demo
