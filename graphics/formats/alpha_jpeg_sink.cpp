#include "graphics/formats/alpha_jpeg_sink.h"

#include "graphics/formats/jpeg_pixel.h"

namespace demo {

bool AlphaJpegSink::begin(int width, int height, const JpegComponent* components, int,
                          int unitWidth, int unitHeight) {
    if (width != image_.width || height != image_.height || image_.bytesPerPixel != 4 ||
        image_.pixels == nullptr) {
        return refuse("Alpha image size differs from the colour image.");
    }
    return map_.build(components[0], unitWidth, unitHeight);
}

void AlphaJpegSink::write(const JpegComponent* components, int, int x, int y, int unitWidth,
                          int unitHeight) {
    int rows = image_.height - y < unitHeight ? image_.height - y : unitHeight;
    int columns = image_.width - x < unitWidth ? image_.width - x : unitWidth;
    for (int r = 0; r < rows; ++r) {
        const std::int32_t* samples = components[0].blocks + map_.rows[r];
        unsigned char* out =
            image_.pixels + (static_cast<std::size_t>(y + r) * image_.width + x) * 4 + 3;
        for (int c = 0; c < columns; ++c, out += 4)
            *out = static_cast<unsigned char>(clampToByte(lumaLevel(samples[map_.columns[c]])));
    }
}

}  // namespace demo
