// libFuzzer over JPEG decoding into RGBA pixels and into the alpha of an
// image ("a+b" names): any input decodes, stops with a message, or is
// refused, without reading or writing outside its buffers. The input's
// bytes also feed both inverse DCTs as coefficients: the decoder takes the
// vectorised one wherever the processor has it, and they must agree.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "graphics/formats/alpha_jpeg_sink.h"
#include "graphics/formats/jpeg_decoder.h"
#include "graphics/formats/jpeg_idct.h"
#include "graphics/formats/rgb_jpeg_sink.h"
#include "graphics/image.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::freopen("/dev/null", "w", stdout);  // the decoder's messages
    return 0;
}

// A block of 16-bit coefficients (the range of real data), then one of
// 32-bit ones (hostile tables), from the front of the input.
static void compareInverseDcts(const std::uint8_t* data, std::size_t size) {
    std::int32_t in[64], vectorised[64], plain[64];
    for (std::size_t bytes = 2; bytes <= 4 && size >= 64 * bytes; bytes += 2) {
        for (int i = 0; i < 64; ++i) {
            std::int16_t narrow;
            std::memcpy(&narrow, data + 2 * i, 2);
            in[i] = narrow;
            if (bytes == 4) std::memcpy(&in[i], data + 4 * i, 4);
        }
        demo::idct8x8(in, vectorised);
        demo::idct8x8Portable(in, plain);
        if (std::memcmp(vectorised, plain, sizeof plain) != 0) std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    compareInverseDcts(data, size);
    demo::RgbJpegSink sink;
    demo::decodeJpeg(data, size, sink);
    if (!sink.begun()) return 0;
    demo::Image image("fuzz.jpg", sink.width(), sink.height(), demo::Image::RGBA, sink.takePixels());
    unsigned sum = 0;
    for (std::size_t i = 0; i < image.byteCount(); ++i) sum += image.pixels[i];
    // The same file as a mask fits; a mask of another size is refused.
    demo::AlphaJpegSink alpha(image);
    demo::decodeJpeg(data, size, alpha);
    demo::Image other("other.jpg", 16, 16, demo::Image::RGBA);
    demo::AlphaJpegSink refused(other);
    demo::decodeJpeg(data, size, refused);
    volatile unsigned keep = sum + image.pixels[3];
    (void)keep;
    return 0;
}
