// libFuzzer over JPEG decoding into RGBA pixels and into the alpha of an
// image ("a+b" names): any input decodes, stops with a message, or is
// refused, without reading or writing outside its buffers.

#include <cstddef>
#include <cstdint>

#include "graphics/formats/alpha_jpeg_sink.h"
#include "graphics/formats/jpeg_decoder.h"
#include "graphics/formats/rgb_jpeg_sink.h"
#include "graphics/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    demo::RgbJpegSink sink;
    demo::decodeJpeg(data, size, sink);
    if (!sink.begun()) return 0;
    demo::Image image("fuzz.jpg", sink.width(), sink.height(), demo::Image::RGBA, sink.takePixels());
    // The same file as a mask fits, its alpha reaching every pixel; a mask of
    // another size is refused.
    demo::AlphaJpegSink alpha(image);
    demo::decodeJpeg(data, size, alpha);
    demo::Image other("other.jpg", 16, 16, demo::Image::RGBA);
    demo::AlphaJpegSink refused(other);
    demo::decodeJpeg(data, size, refused);
    return 0;
}
