// libFuzzer over the GLF, BMF and SGI readers from memory: any input either
// reads or is refused with a message, never read past its end.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/formats/bmf_reader.h"
#include "graphics/formats/glf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    demo::VectorFont font;
    demo::parseVectorFont(data, size, &font);
    auto bitmap = std::make_unique<demo::BitmapFontFile>();
    demo::SgiImage image;
    if (demo::parseBitmapFont(data, size, *bitmap) == 0) image = std::move(bitmap->image);
    if (image.rgba || demo::decodeSgiImage(data, size, 0, image)) {
        // Touches every output byte, so a short buffer shows.
        auto mask = demo::makeFontMask(image.rgba.get(), image.width, image.height);
        volatile unsigned char last = mask[std::size_t(image.width) * image.height * 4 - 1];
        (void)last;
    }
    return 0;
}
