#pragma once
// A named block of 8-bit pixels in memory, the source of every texture.
// Rows in file order (row 0 first), pixels left to right, channels R, G, B, A.

#include <cstddef>
#include <string>

namespace demo {

class Image {
public:
    enum Format { RGB = 0, RGBA = 1, LUMINANCE = 2 };

    // Allocates width x height x bytes-per-pixel bytes, not cleared.
    Image(std::string name, int width, int height, int format);
    // Takes ownership of pixels (new[]), which must hold width x height x bpp bytes.
    Image(std::string name, int width, int height, int format, unsigned char* pixels);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    std::size_t byteCount() const;

    std::string name;
    int referenceCount = 1;
    int width = 0;
    int height = 0;
    int format = RGBA;
    unsigned char* pixels = nullptr;
    int bytesPerPixel = 4;
};

}  // namespace demo
