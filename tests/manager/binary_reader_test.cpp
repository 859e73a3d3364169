#include "manager/binary_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

namespace demo {
namespace {

std::string failure(void (*read)(BinaryReader&), BinaryReader& reader) {
    try {
        read(reader);
    } catch (const BinaryReaderException& e) {
        std::ostringstream out;
        e.print(out);
        return out.str();
    }
    return "no exception";
}

TEST(BinaryReader, ReadsLittleEndianUpToTheEnd) {
    const unsigned char bytes[] = {0x7F, 0x34, 0x12, 0x01, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x80, 0x3F, 0xAA, 0xBB};
    BinaryReader reader(bytes, sizeof bytes);
    EXPECT_EQ(reader.read1(), 0x7F);
    EXPECT_EQ(reader.read2(), 0x1234);
    EXPECT_EQ(reader.read4(), 1u);
    EXPECT_EQ(reader.read4(), 0x3F800000u);  // the bits of 1.0f
    unsigned char last[2];
    reader.read(2, last);  // ends exactly at the end
    EXPECT_EQ(last[1], 0xBB);
    EXPECT_EQ(reader.remaining(), 0u);
    reader.skip(0);
    reader.read(0, nullptr);
    EXPECT_THROW(reader.read1(), BinaryReaderException);
}

TEST(BinaryReader, OverrunsThrowTheirOwnLocationAndKeepThePosition) {
    const unsigned char bytes[] = {1, 2, 3};
    BinaryReader reader(bytes, sizeof bytes);
    reader.read1();
    EXPECT_EQ(failure([](BinaryReader& r) { r.read4(); }, reader),
              "manager/binary_reader L29: Unexpected end of file.");
    EXPECT_EQ(failure([](BinaryReader& r) { r.skip(3); }, reader),
              "manager/binary_reader L26: Unexpected end of file.");
    EXPECT_EQ(failure([](BinaryReader& r) {
                  unsigned char sink[3];
                  r.read(3, sink);
              }, reader),
              "manager/binary_reader L31: Unexpected end of file.");
    // Counts that would wrap a pointer sum fail cleanly too.
    EXPECT_THROW(reader.skip(SIZE_MAX), BinaryReaderException);
    EXPECT_THROW(reader.read(SIZE_MAX, nullptr), BinaryReaderException);
    EXPECT_EQ(reader.offset(), 1u);
    EXPECT_EQ(reader.read2(), 0x0302);

    BinaryReader empty(nullptr, 0);
    EXPECT_THROW(empty.read1(), BinaryReaderException);
    EXPECT_THROW(empty.read2(), BinaryReaderException);
    EXPECT_THROW(empty.skip(1), BinaryReaderException);
}

}  // namespace
}  // namespace demo
