// libFuzzer over the 3DS chunk reader: any input gives a tree whose arrays
// agree with their counts, or a format error; never a crash or a read
// outside the input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/formats/chunk_reader_3ds.h"
#include "manager/exceptions.h"

namespace {

template <typename T>
void checkTrack(const demo::Chunk3DS& c) {
    if (const auto* t = c.get<demo::Track3DS<T>>(); t && t->times.size() != t->values.size()) std::abort();
}

void walk(const demo::Chunk3DS& c, int depth) {
    if (depth > demo::kMaxDepth3DS) std::abort();
    if (const auto* f = c.get<demo::FaceList3DS>(); f && f->indices.size() % 3 != 0) std::abort();
    checkTrack<demo::Vector3>(c);
    checkTrack<float>(c);
    checkTrack<demo::Quaternion>(c);
    for (const demo::Chunk3DS& child : c.children) walk(child, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        if (auto root = demo::readChunkTree3DS(data, size)) walk(*root, 0);
    } catch (const demo::ExceptionBase&) {
    }
    return 0;
}
