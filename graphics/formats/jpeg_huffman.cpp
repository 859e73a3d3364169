#include "graphics/formats/jpeg_huffman.h"

namespace demo {

bool JpegBitReader::restart() {
    while (!ended_) {  // data left before the marker is dropped
        buffer_ = 0;
        count_ = 0;
        fill();
    }
    buffer_ = 0;
    count_ = 0;
    padding_ = 0;
    while (next_ + 1 < end_ && next_[0] == 0xFF && next_[1] == 0xFF) ++next_;
    if (next_ + 1 >= end_ || next_[0] != 0xFF || next_[1] < 0xD0 || next_[1] > 0xD7) return false;
    next_ += 2;
    ended_ = false;
    return true;
}

bool JpegHuffmanTable::build(const std::uint8_t counts[16], const std::uint8_t* symbols, bool ac) {
    unsigned code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
        delta_[length] = index - static_cast<int>(code);
        for (int i = 0; i < counts[length - 1]; ++i, ++index, ++code) {
            if (code >= (1u << length)) return false;  // overfills the code space
            symbols_[index] = symbols[index];
            if (length <= kFastBits) {
                unsigned first = code << (kFastBits - length);
                for (unsigned j = 0; j < (1u << (kFastBits - length)); ++j)
                    fast_[first + j] = static_cast<std::uint16_t>(length << 8 | symbols[index]);
            }
        }
        maxCode_[length] = code << (16 - length);
        code <<= 1;
    }
    if (!ac) return true;
    for (unsigned i = 0; i < (1u << kFastBits); ++i) {
        unsigned entry = fast_[i];
        if (entry == 0) continue;
        int length = static_cast<int>(entry >> 8);
        int run = static_cast<int>(entry >> 4 & 15);
        int size = static_cast<int>(entry & 15);
        if (size == 0 || length + size > kFastBits) continue;
        unsigned v = (i >> (kFastBits - length - size)) & ((1u << size) - 1);
        fastAc_[i] = extendJpegValue(v, size) * 65536 + run * 256 + length + size;
    }
    return true;
}

}  // namespace demo
