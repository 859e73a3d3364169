#pragma once
// Writes 3DS bytes for tests and benchmarks: a chunk is its id,
// then its own fields and child chunks in the order added. Its length is
// computed unless overridden, so malformed files are one call away.

#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace demo::test {

using Bytes = std::vector<unsigned char>;

class Writer3DS {
public:
    explicit Writer3DS(std::uint16_t id) : id_(id) {}

    Writer3DS& u8(std::uint8_t v) { body_.push_back(v); return *this; }
    Writer3DS& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    Writer3DS& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Writer3DS& f32(float v) { return u32(std::bit_cast<std::uint32_t>(v)); }
    Writer3DS& vec(float x, float y, float z) { return f32(x).f32(y).f32(z); }
    Writer3DS& text(const std::string& s) {
        body_.insert(body_.end(), s.begin(), s.end());
        return u8(0);
    }
    Writer3DS& add(const Writer3DS& child) {
        Bytes b = child.bytes();
        body_.insert(body_.end(), b.begin(), b.end());
        return *this;
    }
    Writer3DS& length(std::uint32_t declared) { length_ = declared; return *this; }

    Bytes bytes() const {
        Writer3DS header(0);
        header.u16(id_).u32(length_.value_or(static_cast<std::uint32_t>(body_.size() + 6)));
        Bytes out = header.body_;
        out.insert(out.end(), body_.begin(), body_.end());
        return out;
    }

private:
    std::uint16_t id_;
    std::optional<std::uint32_t> length_;
    Bytes body_;
};

// A track chunk with spline flags 0; each key is a frame and its floats.
inline Writer3DS track(std::uint16_t id, const std::vector<std::pair<std::uint32_t, std::vector<float>>>& keys) {
    Writer3DS t(id);
    t.u16(0).u32(0).u32(0).u32(static_cast<std::uint32_t>(keys.size()));
    for (auto& [frame, values] : keys) {
        t.u32(frame).u16(0);
        for (float v : values) t.f32(v);
    }
    return t;
}

}  // namespace demo::test
