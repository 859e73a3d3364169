// libFuzzer over JPEG decoding into RGBA pixels and into the alpha of an
// image ("a+b" names): any input decodes, stops with a message, or is
// refused, without reading or writing outside its buffers. The input's
// bytes also feed both inverse DCTs as coefficients: the decoder takes the
// vectorised one wherever the processor has it, and they must agree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "graphics/formats/alpha_jpeg_sink.h"
#include "graphics/formats/jpeg_decoder.h"
#include "graphics/formats/jpeg_idct.h"
#include "graphics/formats/rgb_jpeg_sink.h"
#include "graphics/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // 64 coefficients from the front of the input, shifted right by the last
    // byte: from the small values of real data to hostile full-range ones.
    std::int32_t in[64], vectorised[64], plain[64];
    if (size >= sizeof in) {
        std::memcpy(in, data, sizeof in);
        for (std::int32_t& c : in) c >>= data[size - 1] & 31;
        demo::idct8x8(in, vectorised), demo::idct8x8Portable(in, plain);
        if (std::memcmp(vectorised, plain, sizeof plain) != 0) std::abort();
    }
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
