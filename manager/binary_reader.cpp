#include "manager/binary_reader.h"

#include <cstring>

namespace demo {

void BinaryReader::skip(std::size_t count) {
    if (count > remaining()) {
        throw BinaryReaderException("Unexpected end of file.", source::kBinarySkipPastEnd.unit,
                                    source::kBinarySkipPastEnd.line);
    }
    position_ += count;
}

void BinaryReader::read(std::size_t count, void* destination) {
    if (count > remaining()) {
        throw BinaryReaderException("Unexpected end of file.", source::kBinaryBlockPastEnd.unit,
                                    source::kBinaryBlockPastEnd.line);
    }
    if (count > 0) std::memcpy(destination, position_, count);
    position_ += count;
}

}  // namespace demo
