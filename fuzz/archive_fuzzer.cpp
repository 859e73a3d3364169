// libFuzzer over archive loading and member reads: any input either loads,
// with every member readable inside the image, or is "Data is corrupted".

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "manager/archive_source.h"
#include "manager/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        demo::ArchiveSource source(std::vector<unsigned char>(data, data + size));
        unsigned sum = 0;
        for (const auto& [name, entry] : source.directory()) {
            std::unique_ptr<demo::MemoryFile> member(source.open(name));
            if (!member || member->owns || member->size != entry.size) std::abort();
            for (std::uint32_t i = 0; i < member->size; ++i) sum += member->data[i];
        }
        volatile unsigned keep = sum;
        (void)keep;
    } catch (const demo::ExceptionBase&) {
    }
    return 0;
}
