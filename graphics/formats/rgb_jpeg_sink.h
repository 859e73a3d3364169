#pragma once
// Turns decoded units into RGBA pixels: component id 1 is luminance, 2 Cb,
// 3 Cr, any other id alpha (the last such). Without Cb or Cr the image is
// grey with alpha 127; a colour image without an alpha component gets 255.

#include <cstddef>
#include <memory>

#include "graphics/formats/jpeg_sink.h"

namespace demo {

class RgbJpegSink : public JpegSink {
public:
    static constexpr int kMaxSide = 16384;

    bool begin(int width, int height, const JpegComponent* components, int count, int unitWidth,
               int unitHeight) override;
    void write(const JpegComponent* components, int count, int x, int y, int unitWidth,
               int unitHeight) override;

    bool begun() const { return pixels_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The RGBA buffer (new[]), width x height x 4 bytes; the caller owns it.
    unsigned char* takePixels() { return pixels_.release(); }

private:
    void writeGrey(const JpegComponent* components, int x, int y, int rows, int columns);
    void writeColour(const JpegComponent* components, int x, int y, int rows, int columns);

    std::unique_ptr<unsigned char[]> pixels_;
    int width_ = 0;
    int height_ = 0;
    int luma_ = 0;  // component indexes
    int cb_ = -1;
    int cr_ = -1;
    int alpha_ = -1;
    bool grey_ = true;
    JpegSampleMap maps_[4];
};

}  // namespace demo
