#pragma once
// Little-endian reads out of a block of memory (normally a MemoryFile's data)
// that stop with BinaryReaderException rather than pass the end. The reader
// does not own the block. A failed read leaves the position unchanged.

#include <cstddef>
#include <cstdint>

#include "manager/exceptions.h"
#include "manager/source_location.h"

namespace demo {

class BinaryReader {
public:
    BinaryReader(const unsigned char* data, std::size_t size)
        : start_(data), position_(data), end_(data + size) {}

    std::uint8_t read1() {
        need(1, source::kBinaryReadPastEnd);
        return *position_++;
    }

    std::uint16_t read2() {
        need(2, source::kBinaryReadPastEnd);
        auto value = static_cast<std::uint16_t>(position_[0] | position_[1] << 8);
        position_ += 2;
        return value;
    }

    // Used as an unsigned integer or as the bits of a 32-bit float.
    std::uint32_t read4() {
        need(4, source::kBinaryReadPastEnd);
        std::uint32_t value = std::uint32_t{position_[0]} | std::uint32_t{position_[1]} << 8 |
                              std::uint32_t{position_[2]} << 16 | std::uint32_t{position_[3]} << 24;
        position_ += 4;
        return value;
    }

    void skip(std::size_t count);
    void read(std::size_t count, void* destination);

    std::size_t offset() const { return static_cast<std::size_t>(position_ - start_); }
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - position_); }

private:
    // Compared as a remaining length so that no pointer is formed past end;
    // `where` tells which kind of read ran out.
    void need(std::size_t count, source::Location where) const {
        if (count > remaining()) {
            throw BinaryReaderException("Unexpected end of file.", where.unit, where.line);
        }
    }

    const unsigned char* start_;
    const unsigned char* position_;
    const unsigned char* end_;
};

}  // namespace demo
