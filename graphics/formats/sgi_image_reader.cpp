#include "graphics/formats/sgi_image_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "graphics/formats/file_bytes.h"

namespace demo {

namespace {

constexpr std::size_t kHeaderSize = 512;

std::uint32_t bigEndian16(const unsigned char* p) { return std::uint32_t{p[0]} << 8 | p[1]; }

std::uint32_t bigEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool fail(const char* reason) {
    std::printf("Error reading SGI image: %s\n", reason);
    return false;
}

// The image after its header: where each channel row lies and how to read it.
class SgiBody {
  public:
    SgiBody(const unsigned char* data, std::size_t size, std::size_t start, bool encoded,
            std::size_t width, std::size_t height, std::size_t channels)
        : data_(data),
          size_(size),
          start_(start),
          encoded_(encoded),
          width_(width),
          height_(height),
          rows_(height * channels) {}

    // Whether the row tables (encoded) or the used channels' rows (verbatim) fit.
    bool fits(std::size_t usedChannels) const {
        std::size_t need = encoded_ ? rows_ * 8 : usedChannels * height_ * width_;
        return start_ <= size_ && kHeaderSize <= size_ - start_ &&
               need <= size_ - start_ - kHeaderSize;
    }

    // Channel z of row y into row (width bytes); false after printing why.
    bool readRow(std::size_t z, std::size_t y, unsigned char* row) const {
        const std::size_t index = z * height_ + y;
        const unsigned char* body = data_ + start_ + kHeaderSize;  // pixels, or the row tables
        if (!encoded_) {
            std::copy_n(body + index * width_, width_, row);
            return true;
        }
        const std::size_t offset = start_ + bigEndian32(body + 4 * index);
        const std::size_t length = bigEndian32(body + 4 * (rows_ + index));
        if (offset > size_ || length > size_ - offset) return fail("unexpected end of file");
        if (!decodeSgiRow(data_ + offset, length, row, width_)) {
            return fail("encoded row does not fill the image width");
        }
        return true;
    }

  private:
    const unsigned char* data_;
    std::size_t size_, start_;
    bool encoded_;
    std::size_t width_, height_, rows_;
};

void toRgba(const std::vector<unsigned char>& rows, std::size_t width, int channels,
            unsigned char* out) {
    const unsigned char* c0 = rows.data();
    const unsigned char* c1 = c0 + width;
    const unsigned char* c2 = c1 + width;
    const unsigned char* c3 = c2 + width;
    for (std::size_t x = 0; x < width; ++x, out += 4) {
        if (channels >= 3) {
            out[0] = c0[x];
            out[1] = c1[x];
            out[2] = c2[x];
            out[3] = channels >= 4 ? c3[x] : 255;
        } else {
            out[0] = out[1] = out[2] = c0[x];
            out[3] = channels == 2 ? c1[x] : 255;
        }
    }
}

}  // namespace

bool decodeSgiRow(const unsigned char* packets, std::size_t length, unsigned char* row,
                  std::size_t width) {
    std::size_t in = 0, out = 0;
    while (in < length) {
        const unsigned char head = packets[in++];
        const std::size_t count = head & 0x7F;
        if (count == 0) break;
        if (count > width - out) return false;
        if (head & 0x80) {
            if (count > length - in) return false;
            std::copy_n(packets + in, count, row + out);
            in += count;
        } else {
            if (in >= length) return false;
            std::fill_n(row + out, count, packets[in++]);
        }
        out += count;
    }
    return out == width;
}

bool decodeSgiImage(const unsigned char* data, std::size_t size, std::size_t start,
                    SgiImage& image) {
    image = SgiImage{};
    if (start > size || size - start < 12) return fail("unexpected end of file");
    const unsigned char* header = data + start;
    const unsigned storage = header[2];
    const unsigned bytesPerChannel = header[3];
    const int width = static_cast<int>(bigEndian16(header + 6));
    const int height = static_cast<int>(bigEndian16(header + 8));
    const int channels = std::max(1, static_cast<int>(bigEndian16(header + 10)));
    if (storage > 1 || bytesPerChannel != 1 || width < 1 || width > kSgiMaxSide || height < 1 ||
        height > kSgiMaxSide) {
        return fail("unsupported header");
    }
    const int used = std::min(channels, 4);
    const SgiBody body(data, size, start, storage == 1, width, height, channels);
    if (!body.fits(used)) return fail("unexpected end of file");

    const std::size_t rowBytes = std::size_t(width) * 4;
    std::unique_ptr<unsigned char[]> rgba(new (std::nothrow) unsigned char[rowBytes * height]);
    if (!rgba) {
        std::fputs("Out of memory!\n", stderr);
        return false;
    }
    std::vector<unsigned char> rows(std::size_t(width) * 4);
    for (int y = 0; y < height; ++y) {
        for (int z = 0; z < used; ++z) {
            if (!body.readRow(z, y, rows.data() + std::size_t(z) * width)) return false;
        }
        toRgba(rows, width, channels, rgba.get() + rowBytes * y);
    }
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.rgba = std::move(rgba);
    return true;
}

unsigned char* readSgiImage(std::FILE* file, int* width, int* height, int* channels) {
    std::vector<unsigned char> bytes;
    readToEnd(file, bytes);
    SgiImage image;
    if (!decodeSgiImage(bytes.data(), bytes.size(), 0, image)) return nullptr;
    *width = image.width;
    *height = image.height;
    *channels = image.channels;
    return image.rgba.release();
}

}  // namespace demo
