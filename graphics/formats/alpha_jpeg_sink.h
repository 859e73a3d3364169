#pragma once
// Writes the samples of a decoded image's first component, + 128 and
// clamped, into the alpha bytes of an RGBA image of the same size.

#include "graphics/formats/jpeg_sink.h"
#include "graphics/image.h"

namespace demo {

class AlphaJpegSink : public JpegSink {
public:
    explicit AlphaJpegSink(Image& image) : image_(image) {}

    // Refuses, with a message, an image whose size differs from the target's.
    bool begin(int width, int height, const JpegComponent* components, int count, int unitWidth,
               int unitHeight) override;
    void write(const JpegComponent* components, int count, int x, int y, int unitWidth,
               int unitHeight) override;

private:
    Image& image_;
    JpegSampleMap map_;
};

}  // namespace demo
