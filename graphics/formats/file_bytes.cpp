#include "graphics/formats/file_bytes.h"

#include <cstdint>

#include "manager/memory_file.h"
#include "manager/path_lookup.h"

namespace demo {

bool readFileBytes(const char* fileName, std::vector<unsigned char>& bytes) {
    bytes.clear();
    if (fileName == nullptr) return false;
    std::uint64_t length = 0;
    std::FILE* file = openRegularFile(findPathIgnoringCase(fileName), length);
    if (file == nullptr) return false;
    readToEnd(file, bytes);
    std::fclose(file);
    return true;
}

void readToEnd(std::FILE* file, std::vector<unsigned char>& bytes) {
    // Read to the end rather than trust a length: the file may change under us.
    unsigned char chunk[1 << 16];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
}

}  // namespace demo
