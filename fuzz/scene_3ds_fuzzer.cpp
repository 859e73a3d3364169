// libFuzzer over the 3DS chunk reader and the scene builder (without
// textures): any input gives a scene, no scene or a format error; never a
// crash, a hang, a huge allocation or a read outside the input or a mesh.

#include <cstddef>
#include <cstdint>

#include "graphics/formats/chunk_reader_3ds.h"
#include "graphics/scene.h"
#include "graphics/scene_builder_3ds.h"
#include "manager/binary_reader.h"
#include "manager/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        std::unique_ptr<demo::Chunk3DS> root = demo::readChunkTree3DS(data, size);
        if (root) demo::buildScene3DS(*root, "fuzz.3ds", nullptr);
    } catch (const demo::ExceptionBase&) {
    }
    try {  // the same bytes as a run of top-level chunks
        demo::BinaryReader in(data, size);
        std::uint32_t length = 0;
        while (in.remaining() > 0) demo::readChunk3DS(in, length);
    } catch (const demo::ExceptionBase&) {
    }
    return 0;
}
