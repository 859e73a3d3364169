// Stream layout of vertex buffers: offsets, strides, group placement, aliases.

#include "graphics/vertex_buffer.h"

#include <gtest/gtest.h>

#include <climits>

#include "manager/exceptions.h"

namespace demo {
namespace {

// Start of the stream in the block and its stride; -1 when not found.
std::pair<long, int> locate(VertexBuffer& buffer, const char* name, bool draw = false) {
    std::uint8_t* at = nullptr;
    int stride = 0, count = 0;
    bool found = draw ? findVertexStream(name, &buffer, &at, &stride, &count)
                      : VertexBuffer::streamPointer(name, &buffer, &at, &stride, &count);
    return found ? std::pair(at - (draw ? buffer.drawData : buffer.data.data()), stride)
                 : std::pair(-1L, -1);
}

TEST(VertexBuffer, StreamsLieWhereTheFormatPutsThem) {
    VertexBuffer one(VertexFormat{{{{"position", 12}, {"normal", 12}, {"tex0", 8}}}}, 10);
    VertexBuffer separate(VertexFormat{{{{"position", 12}}, {{"normal", 12}}}}, 4020);
    VertexBuffer mixed(
        VertexFormat{{{{"tex0", 8}}, {{"position", 12}, {"Color", 4}}, {{"tex1", 8}}}}, 5);
    EXPECT_EQ(locate(one, "normal"), std::pair(0L, 32));  // ordered by name
    EXPECT_EQ(locate(one, "tex0"), std::pair(24L, 32));
    EXPECT_EQ(locate(separate, "normal"), std::pair(48240L, 12));
    EXPECT_EQ(locate(mixed, "position"), std::pair(44L, 16));  // after "Color"
    EXPECT_EQ(locate(mixed, "tex1", true), std::pair(120L, 8));
    EXPECT_EQ(locate(one, "tex1").first, -1);
    EXPECT_EQ(mixed.data, std::vector<std::uint8_t>(160, 0));

    mixed.aliases = {{"tex1", "tex0"}, {"uv", "tex1"}, {"ghost", "absent"}};
    EXPECT_EQ(locate(mixed, "tex1"), locate(mixed, "tex0"));
    EXPECT_EQ(locate(mixed, "uv").first, 120);  // one step: the real tex1
    EXPECT_EQ(locate(mixed, "ghost").first, -1);

    EXPECT_THROW(VertexBuffer(VertexFormat{{{{"a", -4}}}}, 1), ExceptionBase);
    EXPECT_THROW(VertexBuffer(VertexFormat{{{{"a", INT_MAX}}, {{"b", 1}}}}, 1), ExceptionBase);
    EXPECT_THROW(VertexBuffer(VertexFormat{{{{"a", 32}}}}, INT_MAX / 32 + 1), ExceptionBase);
}

}  // namespace
}  // namespace demo
