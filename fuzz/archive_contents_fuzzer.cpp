// libFuzzer over the directory of a compressed archive: the input is the
// unpacked image, packed as the builder packs and then mounted, so every
// mutation reaches the directory reader instead of breaking the deflate
// stream. Loads with every member inside the image, or is "Data is corrupted".

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "manager/archive_builder.h"
#include "manager/archive_source.h"
#include "manager/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> image(data, data + size);
    try {
        demo::ArchiveSource source(demo::packArchiveImage(image, true));
        for (const auto& [name, entry] : source.directory()) {
            std::unique_ptr<demo::MemoryFile> member(source.open(name));
            if (!member || member->size != entry.size) std::abort();
            if (entry.offset + std::uint64_t{entry.size} > size) std::abort();
            if (member->size > 0 && member->data[member->size - 1] != data[entry.offset + entry.size - 1]) {
                std::abort();
            }
        }
    } catch (const demo::ExceptionBase&) {
    }
    return 0;
}
