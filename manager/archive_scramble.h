#pragma once
// The scramble of data-archive bodies, shared by the reader and the builder so
// that both use the same parameters. Two steps, each its own inverse:
//  - a byte-pair swap over the start of the body (bytes 1..256, pairs 1-2,
//    3-4, ...);
//  - XOR of little-endian 32-bit words with two running keys: round k XORs the
//    word at p = k * S with A and, when it lies wholly inside the body, the
//    word at p + D with B; the keys then advance by their addends.
// The builder XORs then swaps; the reader swaps then XORs.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace demo::archive {

// An archive file starts with a flag byte (1: the body is deflated) and the
// little-endian 32-bit size of the unpacked image; the scrambled body follows.
inline constexpr std::size_t kHeaderSize = 5;

inline constexpr std::size_t kWordDistance = 24;  // D: bytes between a round's two words
inline constexpr std::size_t kStride = 64;        // S: bytes between rounds (> D + 4)
inline constexpr std::uint32_t kKeyA = 0x5A17C3E9u;
inline constexpr std::uint32_t kKeyB = 0x2D8B6F41u;
inline constexpr std::uint32_t kAddA = 0x9E3779B9u;
inline constexpr std::uint32_t kAddB = 0x7F4A7C15u;
inline constexpr std::size_t kSwapLimit = 256;  // pairs start at bytes 1, 3, ..., 255

static_assert(kWordDistance > 4 && kStride > kWordDistance + 4, "rounds must not overlap");

inline std::uint32_t loadLittle32(const unsigned char* p) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    if constexpr (std::endian::native == std::endian::big) {
        value = (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
    }
    return value;
}

inline void storeLittle32(unsigned char* p, std::uint32_t value) {
    if constexpr (std::endian::native == std::endian::big) {
        value = (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
    }
    std::memcpy(p, &value, 4);
}

inline void swapPairs(unsigned char* body, std::size_t length) {
    for (std::size_t i = 1; i < kSwapLimit && i + 1 < length; i += 2) {
        std::swap(body[i], body[i + 1]);
    }
}

inline void xorWords(unsigned char* body, std::size_t length) {
    std::uint32_t a = kKeyA;
    std::uint32_t b = kKeyB;
    for (std::size_t p = 0; p + 4 < length; p += kStride) {
        storeLittle32(body + p, loadLittle32(body + p) ^ a);
        if (p + kWordDistance + 4 <= length) {
            unsigned char* second = body + p + kWordDistance;
            storeLittle32(second, loadLittle32(second) ^ b);
        }
        a += kAddA;
        b += kAddB;
    }
}

inline void scramble(unsigned char* body, std::size_t length) {
    xorWords(body, length);
    swapPairs(body, length);
}

inline void unscramble(unsigned char* body, std::size_t length) {
    swapPairs(body, length);
    xorWords(body, length);
}

}  // namespace demo::archive
