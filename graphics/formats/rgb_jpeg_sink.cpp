#include "graphics/formats/rgb_jpeg_sink.h"

#include <cstdio>
#include <cstring>

#include "graphics/formats/jpeg_color_tables.h"
#include "graphics/formats/jpeg_pixel.h"

namespace demo {

bool RgbJpegSink::begin(int width, int height, const JpegComponent* components, int count,
                        int unitWidth, int unitHeight) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || count < 1) {
        std::puts("JPEG image too large.");
        return false;
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
    }
    // Without a component of id 1 the first one serves as a grey image.
    grey_ = luma < 0 || cb_ < 0 || cr_ < 0;
    luma_ = luma < 0 ? 0 : luma;
    width_ = width;
    height_ = height;
    std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    pixels_ = std::make_unique<unsigned char[]>(pixelCount * 4);
    // Units that never arrive (a decode that stops early) stay black.
    const unsigned char fill[4] = {0, 0, 0, static_cast<unsigned char>(grey_ ? 127 : 255)};
    for (std::size_t i = 0; i < pixelCount; ++i) std::memcpy(pixels_.get() + 4 * i, fill, 4);
    return true;
}

void RgbJpegSink::write(const JpegComponent* components, int, int x, int y, int unitWidth,
                        int unitHeight) {
    int rows = height_ - y < unitHeight ? height_ - y : unitHeight;
    int columns = width_ - x < unitWidth ? width_ - x : unitWidth;
    if (grey_) {
        writeGrey(components, x, y, rows, columns);
    } else {
        writeColour(components, x, y, rows, columns);
    }
}

void RgbJpegSink::writeGrey(const JpegComponent* components, int x, int y, int rows,
                            int columns) {
    const JpegSampleMap& map = maps_[luma_];
    for (int r = 0; r < rows; ++r) {
        const std::int32_t* samples = components[luma_].blocks + map.rows[r];
        unsigned char* out = pixels_.get() + (static_cast<std::size_t>(y + r) * width_ + x) * 4;
        for (int c = 0; c < columns; ++c, out += 4) {
            unsigned char level = static_cast<unsigned char>(clampToByte(lumaLevel(samples[map.columns[c]])));
            out[0] = out[1] = out[2] = level;
            out[3] = 127;
        }
    }
}

void RgbJpegSink::writeColour(const JpegComponent* components, int x, int y, int rows,
                              int columns) {
    const JpegColorTables& t = kJpegColorTables;
    const JpegSampleMap& lumaMap = maps_[luma_];
    const JpegSampleMap& cbMap = maps_[cb_];
    const JpegSampleMap& crMap = maps_[cr_];
    for (int r = 0; r < rows; ++r) {
        const std::int32_t* lumaRow = components[luma_].blocks + lumaMap.rows[r];
        const std::int32_t* cbRow = components[cb_].blocks + cbMap.rows[r];
        const std::int32_t* crRow = components[cr_].blocks + crMap.rows[r];
        const std::int32_t* alphaRow =
            alpha_ < 0 ? nullptr : components[alpha_].blocks + maps_[alpha_].rows[r];
        unsigned char* out = pixels_.get() + (static_cast<std::size_t>(y + r) * width_ + x) * 4;
        for (int c = 0; c < columns; ++c, out += 4) {
            int level = lumaLevel(lumaRow[lumaMap.columns[c]]);
            int cb = chromaIndex(cbRow[cbMap.columns[c]]);
            int cr = chromaIndex(crRow[crMap.columns[c]]);
            out[0] = static_cast<unsigned char>(clampToByte(level + t.redFromCr[cr]));
            out[1] = static_cast<unsigned char>(clampToByte(level + t.greenFromCb[cb] + t.greenFromCr[cr]));
            out[2] = static_cast<unsigned char>(clampToByte(level + t.blueFromCb[cb]));
            if (alphaRow != nullptr)
                out[3] = static_cast<unsigned char>(clampToByte(lumaLevel(alphaRow[maps_[alpha_].columns[c]])));
        }
    }
}

}  // namespace demo
