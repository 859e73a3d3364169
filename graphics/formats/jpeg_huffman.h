#pragma once
// Huffman tables of the JPEG decoder, decoded through a 9-bit lookahead
// table with a canonical-code search for longer codes, and the bit reader
// of the entropy-coded data.

#include <cstddef>
#include <cstdint>

namespace demo {

class JpegBitReader {
public:
    JpegBitReader(const unsigned char* data, const unsigned char* end) : next_(data), end_(end) {}

    // Keeps at least 57 bits buffered; past a marker or the end of the
    // data the buffer fills with zero bits, counted as padding.
    void fill() {
        if (count_ > 56) return;
        if (!ended_ && end_ - next_ >= 8) {  // eight bytes at once when none is 0xFF
            std::uint64_t word = 0;
            for (int i = 0; i < 8; ++i) word = word << 8 | next_[i];
            std::uint64_t inverted = ~word;
            if (((inverted - 0x0101010101010101u) & ~inverted & 0x8080808080808080u) == 0) {
                int bytes = (64 - count_) / 8;
                buffer_ |= word >> (64 - 8 * bytes) << (64 - count_ - 8 * bytes);
                next_ += bytes;
                count_ += 8 * bytes;
                return;
            }
        }
        while (count_ <= 56) {
            unsigned byte = 0;
            if (!ended_) {
                if (next_ >= end_) {
                    ended_ = true;
                } else if (*next_ != 0xFF) {
                    byte = *next_++;
                } else if (next_ + 1 < end_ && next_[1] == 0) {
                    byte = 0xFF;  // a stuffed zero follows every data byte 0xFF
                    next_ += 2;
                } else {
                    ended_ = true;  // a marker: the data stops here
                }
            }
            if (ended_) padding_ += 8;
            buffer_ |= static_cast<std::uint64_t>(byte) << (56 - count_);
            count_ += 8;
        }
    }
    // n from 1 to 32; needs n bits buffered.
    unsigned peek(int n) const { return static_cast<unsigned>(buffer_ >> (64 - n)); }
    void skip(int n) {
        buffer_ <<= n;
        count_ -= n;
    }
    unsigned get(int n) {
        unsigned value = peek(n);
        skip(n);
        return value;
    }
    // The next n bits (0 to 16), refilling first.
    unsigned readBits(int n) {
        if (n <= 0) return 0;
        fill();
        return get(n);
    }
    int buffered() const { return count_; }
    // True when more bits were taken than the data holds.
    bool overrun() const { return count_ < padding_; }
    // Drops the rest of the current byte (and any bytes up to the next
    // marker) and steps over a restart marker FF D0-D7, after any fill
    // bytes FF. False when no restart marker is there.
    bool restart();

private:
    const unsigned char* next_;
    const unsigned char* end_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
    int padding_ = 0;
    bool ended_ = false;
};

class JpegHuffmanTable {
public:
    static constexpr int kFastBits = 11;

    // counts[l] codes of length l + 1; false when they overfill the code space.
    bool build(const std::uint8_t counts[16], const std::uint8_t* symbols, bool ac);

    // The next symbol, or -1 for a code that the table does not hold.
    // Needs 16 bits buffered.
    int decode(JpegBitReader& bits) const {
        unsigned entry = fast_[bits.peek(kFastBits)];
        if (entry != 0) {
            bits.skip(static_cast<int>(entry >> 8));
            return static_cast<int>(entry & 0xFF);
        }
        return decodeLong(bits);
    }

    // AC symbols whose code and extra bits fit in kFastBits bits:
    // value << 16 | run << 8 | bits taken; 0 when not in the table.
    std::int32_t fastAc(unsigned lookahead) const { return fastAc_[lookahead]; }

private:
    int decodeLong(JpegBitReader& bits) const {
        unsigned lookahead = bits.peek(16);
        for (int length = kFastBits + 1; length <= 16; ++length) {
            if (lookahead < maxCode_[length]) {
                bits.skip(length);
                return symbols_[static_cast<int>(lookahead >> (16 - length)) + delta_[length]];
            }
        }
        return -1;
    }

    std::uint16_t fast_[1 << kFastBits] = {};
    std::int32_t fastAc_[1 << kFastBits] = {};
    std::uint32_t maxCode_[17] = {};  // 16-bit lookaheads below this have a code of length l
    int delta_[17] = {};              // symbol index minus code, per length
    std::uint8_t symbols_[256] = {};
};

// The value of a JPEG magnitude category: s bits v, sign-extended.
inline int extendJpegValue(unsigned v, int s) {
    int value = static_cast<int>(v);
    return value < (1 << (s - 1)) ? value - (1 << s) + 1 : value;
}

}  // namespace demo
