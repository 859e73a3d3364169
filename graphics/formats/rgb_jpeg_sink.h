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
    // The RGBA buffer (new[]), width x height x 4 bytes, which the caller
    // then owns. Rows of units that did not all arrive (a decode that
    // stopped) are black.
    unsigned char* takePixels();

private:
    // Samples of one unit, upsampled, into the band's plane for the component.
    void collect(const JpegComponent& component, int index, int x, int rows, int columns);
    void convertBand(int y, int rows);

    std::unique_ptr<unsigned char[]> pixels_;
    int width_ = 0;
    int height_ = 0;
    int unitWidth_ = 8;
    int unitHeight_ = 8;
    int bandsDone_ = 0;
    int luma_ = 0;  // component indexes
    int cb_ = -1;
    int cr_ = -1;
    int alpha_ = -1;
    bool grey_ = true;
    JpegSampleMap maps_[4];
    int stretch_[4] = {};  // unit width over the component's samples: 1, 2 or 0 (other)
    // One row of units, converted when its last unit arrives: per component,
    // unitHeight rows of bandWidth_ narrowed, upsampled samples.
    std::unique_ptr<std::int16_t[]> band_;
    std::size_t bandWidth_ = 0;
    std::int16_t* planes_[4] = {};
};

}  // namespace demo
