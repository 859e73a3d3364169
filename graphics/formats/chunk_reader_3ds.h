#pragma once
// Reads a 3DS file into a tree of Chunk3DS nodes. Only the chunk kinds in the
// reader's table are decoded; every other chunk is skipped whole.
//
// Each chunk is read within min(its declared end, its parent's end) and the
// next one starts at its declared end, whatever its handler read. Data that
// runs out (a length past the parent, a field past its chunk's end, a text
// without its zero, a count the chunk's bytes cannot hold) is a
// BinaryReaderException whose message is the binary reader's "Unexpected end
// of file." followed by the file (when known), the chunk, its offset and what
// ran out; a length below the header and nesting deeper than
// kMaxDepth3DS are format errors (ExceptionBase). Nothing is allocated for a
// count before it has been checked.

#include <cstddef>
#include <memory>
#include <string>

#include "graphics/formats/chunk_3ds.h"

namespace demo {

class BinaryReader;
class ChunkTreeReader3DS;
struct ChunkSpan3DS;

inline constexpr int kMaxDepth3DS = 64;

// Decodes one chunk kind: its fields and, for containers, its children.
using ChunkHandler3DS = void (*)(ChunkTreeReader3DS&, ChunkSpan3DS&, Chunk3DS&);

struct ChunkRow3DS {
    std::uint32_t id;
    const char* name;  // "CHUNK_" and the kind's name
    ChunkHandler3DS handler;
};

// The known chunk kinds; a row with id 0 ends it.
extern const ChunkRow3DS chunkTable3DS[];

// One chunk at the reader's position, its header's length in `length`. An
// unknown kind is skipped and gives null. A length below 6 counts as 6.
std::unique_ptr<Chunk3DS> readChunk3DS(BinaryReader& reader, std::uint32_t& length);

// The tree of the first chunk in the bytes; null when its id is not a known
// kind. Bytes after that chunk are ignored.
std::unique_ptr<Chunk3DS> readChunkTree3DS(const unsigned char* data, std::size_t size);

// The same over a file of the file system. The file stays cached without the
// reference taken here. Errors name the file.
std::unique_ptr<Chunk3DS> loadChunkFile3DS(const std::string& name);

// "CHUNK_" and the kind's name, or null for an id outside the table.
const char* chunkName3DS(std::uint32_t id);

}  // namespace demo
