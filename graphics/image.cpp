#include "graphics/image.h"

#include <utility>

namespace demo {
namespace {

int bytesPerPixelOf(int format) {
    return format == Image::RGB ? 3 : (format == Image::LUMINANCE ? 1 : 4);
}

}  // namespace

Image::Image(std::string name, int width, int height, int format)
    : name(std::move(name)), width(width), height(height), format(format),
      bytesPerPixel(bytesPerPixelOf(format)) {
    pixels = new unsigned char[byteCount()];
}

Image::Image(std::string name, int width, int height, int format, unsigned char* pixels)
    : name(std::move(name)), width(width), height(height), format(format), pixels(pixels),
      bytesPerPixel(bytesPerPixelOf(format)) {}

Image::~Image() { delete[] pixels; }

std::size_t Image::byteCount() const {
    if (width <= 0 || height <= 0) return 0;
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
           static_cast<std::size_t>(bytesPerPixel);
}

}  // namespace demo
