#include "manager/binary_reader.h"

#include <cstring>

namespace demo {

void BinaryReader::skip(std::size_t count) {
    need(count, source::kBinarySkipPastEnd);
    position_ += count;
}

void BinaryReader::read(std::size_t count, void* destination) {
    need(count, source::kBinaryBlockPastEnd);
    if (count > 0) std::memcpy(destination, position_, count);
    position_ += count;
}

}  // namespace demo
