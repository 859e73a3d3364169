// libFuzzer over the 3DS chunk reader: any input gives a tree or a format
// error; never a crash, a hang, a huge allocation or a read outside the input.

#include <cstddef>
#include <cstdint>

#include "graphics/formats/chunk_reader_3ds.h"
#include "manager/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        demo::readChunkTree3DS(data, size);
    } catch (const demo::ExceptionBase&) {
    }
    return 0;
}
