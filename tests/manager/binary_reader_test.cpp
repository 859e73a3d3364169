#include "manager/binary_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "tests/support/error_of.h"

namespace demo {
namespace {

TEST(BinaryReader, ReadsLittleEndianUpToTheEndAndNoFurther) {
    const unsigned char bytes[] = {0x7F, 0x34, 0x12, 0x01, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x80, 0x3F, 0xAA, 0xBB};
    BinaryReader reader(bytes, sizeof bytes);
    EXPECT_EQ(reader.read1(), 0x7F);
    EXPECT_EQ(reader.read2(), 0x1234);
    EXPECT_EQ(reader.read4(), 1u);
    EXPECT_EQ(reader.read4(), 0x3F800000u);  // the bits of 1.0f
    reader.skip(1);

    // One byte left: each overrun names its own location and leaves the
    // position alone, even for counts that would wrap a pointer sum.
    unsigned char sink[4];
    const std::pair<std::function<void()>, int> overruns[] = {
        {[&] { reader.read2(); }, 29}, {[&] { reader.skip(SIZE_MAX); }, 26},
        {[&] { reader.read(SIZE_MAX, sink); }, 31}};
    for (const auto& [read, line] : overruns) {
        EXPECT_EQ(test::printedErrorOf<BinaryReaderException>(read),
                  "manager/binary_reader L" + std::to_string(line) + ": Unexpected end of file.");
        EXPECT_EQ(reader.remaining(), 1u);
    }
    reader.read(1, sink);  // ends exactly at the end
    EXPECT_EQ(sink[0], 0xBB);
    EXPECT_THROW(reader.read1(), BinaryReaderException);
    EXPECT_THROW(BinaryReader(nullptr, 0).skip(1), BinaryReaderException);
}

}  // namespace
}  // namespace demo
