#include "graphics/formats/rgb_jpeg_sink.h"

#include <cstring>

#include "graphics/formats/jpeg_pixel.h"

namespace demo {

bool RgbJpegSink::begin(int width, int height, const JpegComponent* components, int count,
                        int unitWidth, int unitHeight) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || count < 1 || count > 4) {
        return refuse("JPEG image too large.");
    }
    int luma = -1;
    cb_ = cr_ = alpha_ = -1;
    for (int i = 0; i < count; ++i) {
        switch (components[i].id) {
            case 1: luma = i; break;
            case 2: cb_ = i; break;
            case 3: cr_ = i; break;
            default: alpha_ = i; break;
        }
        if (!maps_[i].build(components[i], unitWidth, unitHeight)) return false;
        int samples = 8 * components[i].h;
        int stretch = unitWidth % samples == 0 ? unitWidth / samples : 0;
        stretch_[i] = stretch == 1 || stretch == 2 ? stretch : 0;
    }
    // Without a component of id 1 the first one serves as a grey image.
    grey_ = luma < 0 || cb_ < 0 || cr_ < 0;
    luma_ = luma < 0 ? 0 : luma;
    width_ = width;
    height_ = height;
    unitWidth_ = unitWidth;
    unitHeight_ = unitHeight;
    bandsDone_ = 0;
    bandWidth_ = static_cast<std::size_t>((width + unitWidth - 1) / unitWidth) * unitWidth;
    std::size_t plane = bandWidth_ * static_cast<std::size_t>(unitHeight);
    band_.reset(new std::int16_t[plane * 4]);
    for (int i = 0; i < 4; ++i) planes_[i] = band_.get() + plane * i;
    pixels_.reset(new unsigned char[static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4]);
    return true;
}

void RgbJpegSink::collect(const JpegComponent& component, int index, int x, int rows, int columns) {
    const JpegSampleMap& map = maps_[index];
    int stretch = stretch_[index];
    for (int r = 0; r < rows; ++r) {
        const std::int32_t* samples = component.blocks + map.rows[r];
        std::int16_t* out = planes_[index] + bandWidth_ * static_cast<std::size_t>(r) + x;
        if (stretch == 0) {
            for (int c = 0; c < columns; ++c) {
                std::int32_t v = samples[map.columns[c]];
                out[c] = static_cast<std::int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
            }
            continue;
        }
        if (columns == unitWidth_) {
            narrowUnitRow(samples, component.h, stretch, out);
            continue;
        }
        int span = 8 * stretch;  // pixels of one block
        for (int c = 0, block = 0; c < columns; c += span, ++block)
            narrowSamples(samples + 64 * block, columns - c < span ? columns - c : span, stretch, out + c);
    }
}

void RgbJpegSink::write(const JpegComponent* components, int count, int x, int y, int unitWidth,
                        int unitHeight) {
    int rows = height_ - y < unitHeight ? height_ - y : unitHeight;
    int columns = width_ - x < unitWidth ? width_ - x : unitWidth;
    for (int i = 0; i < count; ++i) {
        if (i == luma_ || (!grey_ && (i == cb_ || i == cr_ || i == alpha_)))
            collect(components[i], i, x, rows, columns);
    }
    if (x + unitWidth >= width_) convertBand(y, rows);
}

void RgbJpegSink::convertBand(int y, int rows) {
    for (int r = 0; r < rows; ++r) {
        unsigned char* out = pixels_.get() + static_cast<std::size_t>(y + r) * width_ * 4;
        std::size_t at = bandWidth_ * static_cast<std::size_t>(r);
        if (grey_) {
            greyRowToRgba(planes_[luma_] + at, width_, out);
        } else {
            colourRowToRgba(planes_[luma_] + at, planes_[cb_] + at, planes_[cr_] + at,
                            alpha_ < 0 ? nullptr : planes_[alpha_] + at, width_, out);
        }
    }
    ++bandsDone_;
}

unsigned char* RgbJpegSink::takePixels() {
    if (!pixels_) return nullptr;
    std::size_t done = static_cast<std::size_t>(bandsDone_) * unitHeight_;
    if (done < static_cast<std::size_t>(height_)) {
        const unsigned char fill[4] = {0, 0, 0, static_cast<unsigned char>(grey_ ? 127 : 255)};
        std::size_t from = done * width_, to = static_cast<std::size_t>(height_) * width_;
        for (std::size_t i = from; i < to; ++i) std::memcpy(pixels_.get() + 4 * i, fill, 4);
    }
    bandsDone_ = (height_ + unitHeight_ - 1) / unitHeight_;
    return pixels_.release();
}

}  // namespace demo
