#include "graphics/formats/chunk_3ds.h"

namespace demo {

const Chunk3DS* Chunk3DS::child(std::uint32_t childId) const {
    for (const Chunk3DS& c : children) {
        if (c.id == childId) return &c;
    }
    return nullptr;
}

Chunk3DS* Chunk3DS::child(std::uint32_t childId) {
    return const_cast<Chunk3DS*>(static_cast<const Chunk3DS*>(this)->child(childId));
}

}  // namespace demo
